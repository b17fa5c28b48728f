#include "platform/registry/Hive.h"

#include "platform/registry/Registry.h"
#include "platform/registry/tests/RegTestSupport.h"
#include "testsupport/IsolatedTest.h"

#include <QFile>

#include <functional>

namespace {

const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");

QByteArray Dword(DWORD v) {
    QByteArray bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(static_cast<char>((v >> shift) & 0xFF));
    return bytes;
}

}  // namespace

class HiveTest : public IsolatedTest {
protected:
    QString HivePath() const { return WorkPath("HKEY_CURRENT_USER.reg"); }

    // The file as a process that starts now would read it.
    QStringList OnDisk() const {
        CHive reader(HivePath(), kRoot);
        return Dump(*reader.Root());
    }
};

// Two hive objects on one file stand for two processes: each has read the file, changed its own
// copy, and saves; the one that saves second merges only its own changes into what it finds.
TEST_F(HiveTest, SecondSaverKeepsTheFirstSaversChanges) {
    using Action = std::function<void(CHive&)>;
    struct Case {
        const char* what;
        Action first;
        Action second;
        QStringList expected;
    };
    const QStringList k = {"K"};
    const Case cases[] = {
        {"different values",
         [&](CHive& h) { h.SetValue(k, "a", REG_DWORD, Dword(10)); },
         [&](CHive& h) { h.SetValue(k, "b", REG_DWORD, Dword(20)); },
         {"K", "K|old|4|01000000", "K|gone|4|02000000", "K|a|4|0a000000", "K|b|4|14000000"}},
        {"the same value: the later save wins",
         [&](CHive& h) { h.SetValue(k, "OLD", REG_DWORD, Dword(10)); },
         [&](CHive& h) { h.SetValue(k, "old", REG_DWORD, Dword(20)); },
         {"K", "K|old|4|14000000", "K|gone|4|02000000"}},
        {"a deleted value stays deleted when the other process did not touch it",
         [&](CHive& h) { h.DeleteValue(k, "gone"); },
         [&](CHive& h) { h.SetValue(k, "b", REG_DWORD, Dword(20)); },
         {"K", "K|old|4|01000000", "K|b|4|14000000"}},
        {"a deleted key comes back only with the value set in it afterwards",
         [&](CHive& h) { h.DeleteKey(k, true); },
         [&](CHive& h) { h.SetValue(k, "b", REG_DWORD, Dword(20)); },
         {"K", "K|b|4|14000000"}},
        {"a key that got a subkey meanwhile is not deleted as a leaf",
         [&](CHive& h) {
             h.CreateKey({"K", "Sub"});
         },
         [&](CHive& h) { h.DeleteKey(k, false); },
         {"K", "K|old|4|01000000", "K|gone|4|02000000", "K\\Sub"}},
        {"a tree deletion takes what the other process added",
         [&](CHive& h) {
             h.CreateKey({"K", "Sub"});
         },
         [&](CHive& h) { h.DeleteKey(k, true); },
         {}},
        {"emptying a key",
         [&](CHive& h) { h.SetValue({"Other"}, "x", REG_DWORD, Dword(1)); },
         [&](CHive& h) { h.ClearKey(k); },
         {"K", "Other", "Other|x|4|01000000"}},
    };
    for (const Case& c : cases) {
        QFile::remove(HivePath());
        {
            CHive setup(HivePath(), kRoot);
            setup.SetValue(k, "old", REG_DWORD, Dword(1));
            setup.SetValue(k, "gone", REG_DWORD, Dword(2));
            ASSERT_EQ(setup.Save(), ERROR_SUCCESS);
        }
        CHive one(HivePath(), kRoot);
        CHive two(HivePath(), kRoot);
        one.Root();
        two.Root();
        c.first(one);
        c.second(two);
        EXPECT_EQ(one.Save(), ERROR_SUCCESS) << c.what;
        EXPECT_EQ(two.Save(), ERROR_SUCCESS) << c.what;
        EXPECT_FALSE(two.HasUnsavedChanges()) << c.what;
        EXPECT_EQ(OnDisk(), c.expected) << c.what;
        EXPECT_EQ(Dump(*two.Root()), c.expected) << c.what << " (the saver's own view)";
    }
}

TEST_F(HiveTest, RefreshShowsOtherWritersAndKeepsUnsavedChanges) {
    CHive mine(HivePath(), kRoot);
    mine.SetValue({"K"}, "mine", REG_DWORD, Dword(1));
    {
        CHive other(HivePath(), kRoot);
        other.SetValue({"K"}, "theirs", REG_DWORD, Dword(2));
        ASSERT_EQ(other.Save(), ERROR_SUCCESS);
    }
    EXPECT_EQ(Dump(*mine.Root()), QStringList({"K", "K|mine|4|01000000"}));
    mine.Refresh();
    const QStringList both = {"K", "K|theirs|4|02000000", "K|mine|4|01000000"};
    EXPECT_EQ(Dump(*mine.Root()), both);
    EXPECT_TRUE(mine.HasUnsavedChanges());
    ASSERT_EQ(mine.Save(), ERROR_SUCCESS);
    EXPECT_EQ(OnDisk(), both);
}

TEST_F(HiveTest, FailedSaveKeepsChangesAndTheFile) {
    // The folder of the hive file is a plain file, so nothing can be written there.
    QFile blocker(WorkPath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    CHive hive(WorkPath("blocked/HKEY_CURRENT_USER.reg"), kRoot);
    hive.SetValue({"K"}, "v", REG_DWORD, Dword(1));
    EXPECT_EQ(hive.Save(), ERROR_CANTWRITE);
    EXPECT_TRUE(hive.HasUnsavedChanges());
    EXPECT_EQ(Dump(*hive.Root()), QStringList({"K", "K|v|4|01000000"}));
}
