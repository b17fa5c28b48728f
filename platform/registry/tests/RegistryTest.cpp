#include "platform/registry/Registry.h"

#include "platform/registry/Hive.h"
#include "platform/registry/RegText.h"
#include "platform/registry/tests/RegTestSupport.h"
#include "testsupport/IsolatedTest.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <memory>
#include <vector>

namespace {

QByteArray Dword(DWORD v) {
    QByteArray bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(static_cast<char>((v >> shift) & 0xFF));
    return bytes;
}

const BYTE* Data(const QByteArray& bytes) {
    return reinterpret_cast<const BYTE*>(bytes.constData());
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Walks a hive through the functions, in the same form as Dump() of a hive in memory.
void DumpKey(HKEY key, const QString& path, QStringList* lines) {
    if (!path.isEmpty())
        lines->append(path);
    QString name;
    DWORD type = 0;
    DWORD size = 0;
    for (DWORD i = 0; RegEnumValue(key, i, &name, &type, nullptr, &size) == ERROR_SUCCESS; ++i) {
        QByteArray data(static_cast<qsizetype>(size), '\0');
        EXPECT_EQ(RegEnumValue(key, i, &name, &type, reinterpret_cast<BYTE*>(data.data()), &size),
                  ERROR_SUCCESS);
        lines->append(QStringLiteral("%1|%2|%3|%4")
                          .arg(path, name)
                          .arg(type)
                          .arg(QString::fromLatin1(data.toHex())));
    }
    for (DWORD i = 0; RegEnumKeyEx(key, i, &name) == ERROR_SUCCESS; ++i) {
        HKEY child = nullptr;
        ASSERT_EQ(RegOpenKeyEx(key, name, 0, KEY_READ, &child), ERROR_SUCCESS);
        DumpKey(child, path.isEmpty() ? name : path + '\\' + name, lines);
        RegCloseKey(child);
    }
}

QStringList DumpKey(HKEY root) {
    QStringList lines;
    DumpKey(root, QString(), &lines);
    return lines;
}

}  // namespace

class RegistryTest : public IsolatedTest {
protected:
    QString HiveFile(const char* root) const {
        return RegistryDir() + '/' + QLatin1String(root) + ".reg";
    }
    // The hive as a process that starts now reads it from its file.
    QStringList OnDisk(const char* root) const {
        CHive reader(HiveFile(root), QLatin1String(root));
        return Dump(*reader.Root());
    }
};

// One scripted session on HKEY_CURRENT_USER; each step opens (or creates) its key with full
// access, makes one call and closes the key again.
TEST_F(RegistryTest, FunctionsFollowTheWin32Rules) {
    enum class Op {
        Create,
        Open,
        Set,
        Query,
        DeleteValue,
        DeleteKey,
        DeleteTree,
        EnumKey,
        EnumValue
    };
    constexpr DWORD kSizeOnly = 0xFFFFFFFF;  // query with no buffer: type and size only
    struct Step {
        Op op;
        const char* key;
        const char* name;  // value name; subkey for deletes; expected name for enumerations
        long result;
        QByteArray data = {};  // written, or expected back
        DWORD type = REG_BINARY;
        DWORD buffer = 64;  // bytes offered to a query
        DWORD index = 0;
        DWORD disposition = 0;
    };
    const char* options = "Software\\Tolvar\\Vidra OS\\Options";
    const char* value = "AppBehave : bPR_StartMax";
    const std::vector<Step> steps = {
        {Op::Open, "Software\\Tolvar", "", ERROR_FILE_NOT_FOUND},
        {Op::Create, options, "", ERROR_SUCCESS, {}, 0, 0, 0, REG_CREATED_NEW_KEY},
        {Op::Open, "Software\\Tolvar", "", ERROR_SUCCESS},
        {Op::Create,
         "software\\TOLVAR\\vidra os\\options",
         "",
         ERROR_SUCCESS,
         {},
         0,
         0,
         0,
         REG_OPENED_EXISTING_KEY},
        {Op::EnumKey, "Software\\Tolvar", "Vidra OS", ERROR_SUCCESS},
        {Op::EnumKey, "Software\\Tolvar", "", ERROR_NO_MORE_ITEMS, {}, 0, 0, 1},
        {Op::Query, options, value, ERROR_FILE_NOT_FOUND},
        {Op::Query, "Software\\Missing", value, ERROR_FILE_NOT_FOUND},
        {Op::Set, options, value, ERROR_SUCCESS, Dword(1), REG_DWORD},
        {Op::Query, options, "appbehave : bpr_startmax", ERROR_SUCCESS, Dword(1), REG_DWORD},
        {Op::Query, options, value, ERROR_SUCCESS, Dword(1), REG_DWORD, 4},
        {Op::Query, options, value, ERROR_MORE_DATA, Dword(1), REG_DWORD, 3},
        {Op::Query, options, value, ERROR_SUCCESS, Dword(1), REG_DWORD, kSizeOnly},
        {Op::Query, options, "AppBehave:bPR_StartMax", ERROR_FILE_NOT_FOUND},
        // Names that differ only in case are one value, which keeps its first spelling and place.
        {Op::Set, options, "Zeta", ERROR_SUCCESS, "zz", REG_BINARY},
        {Op::Set, options, "APPBEHAVE : BPR_STARTMAX", ERROR_SUCCESS, Dword(2), REG_DWORD},
        {Op::Set, options, "", ERROR_SUCCESS, "default", REG_SZ},
        {Op::Set, options, "Alpha", ERROR_SUCCESS, {}, REG_NONE},
        {Op::EnumValue, options, value, ERROR_SUCCESS, Dword(2), REG_DWORD, 64, 0},
        {Op::EnumValue, options, "Zeta", ERROR_SUCCESS, "zz", REG_BINARY, 64, 1},
        {Op::EnumValue, options, "", ERROR_MORE_DATA, "default", REG_SZ, 6, 2},
        {Op::EnumValue, options, "Alpha", ERROR_SUCCESS, {}, REG_NONE, 64, 3},
        {Op::EnumValue, options, "", ERROR_NO_MORE_ITEMS, {}, 0, 64, 4},
        {Op::DeleteValue, options, "zeta", ERROR_SUCCESS},
        {Op::DeleteValue, options, "Zeta", ERROR_FILE_NOT_FOUND},
        {Op::EnumValue, options, "", ERROR_MORE_DATA, "default", REG_SZ, 0, 1},
        {Op::Create,
         "Software\\Tolvar\\Vidra OS\\Record Options",
         "",
         ERROR_SUCCESS,
         {},
         0,
         0,
         0,
         REG_CREATED_NEW_KEY},
        {Op::EnumKey, "Software\\Tolvar\\Vidra OS", "Options", ERROR_SUCCESS, {}, 0, 0, 0},
        {Op::EnumKey, "Software\\Tolvar\\Vidra OS", "Record Options", ERROR_SUCCESS, {}, 0, 0, 1},
        {Op::DeleteKey, "Software\\Tolvar", "Vidra OS", ERROR_ACCESS_DENIED},
        {Op::DeleteKey, "Software\\Tolvar", "vidra os\\record options", ERROR_SUCCESS},
        {Op::DeleteKey, "Software\\Tolvar", "Vidra OS\\Record Options", ERROR_FILE_NOT_FOUND},
        {Op::DeleteKey, "Software\\Tolvar", "", ERROR_INVALID_PARAMETER},
        {Op::DeleteTree, "Software", "Nothing", ERROR_FILE_NOT_FOUND},
        {Op::Create, "Software\\Kept", "", ERROR_SUCCESS, {}, 0, 0, 0, REG_CREATED_NEW_KEY},
        {Op::Set, "Software\\Kept", "v", ERROR_SUCCESS, "1", REG_BINARY},
        {Op::DeleteTree, "Software", "TOLVAR", ERROR_SUCCESS},
        {Op::Open, options, "", ERROR_FILE_NOT_FOUND},
        {Op::EnumKey, "Software", "Kept", ERROR_SUCCESS},
        {Op::EnumKey, "Software", "", ERROR_NO_MORE_ITEMS, {}, 0, 0, 1},
        {Op::Set, "Software", "bad\nname", ERROR_INVALID_PARAMETER, "1"},
        {Op::Create, "Software\\bad\rkey", "", ERROR_INVALID_PARAMETER},
        {Op::Open, "Software\\bad\rkey", "", ERROR_FILE_NOT_FOUND},
    };

    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        SCOPED_TRACE(testing::Message() << "step " << i << " (" << s.key << " | " << s.name << ")");
        HKEY key = nullptr;
        DWORD disposition = 0;
        long result =
            s.op == Op::Create
                ? RegCreateKeyEx(HKEY_CURRENT_USER, s.key, KEY_ALL_ACCESS, &key, &disposition)
                : RegOpenKeyEx(HKEY_CURRENT_USER, s.key, 0, KEY_ALL_ACCESS, &key);
        if (s.disposition != 0) {
            EXPECT_EQ(disposition, s.disposition);
        }
        if (result == ERROR_SUCCESS) {
            QByteArray buffer(64, '\x55');
            auto* bytes = reinterpret_cast<BYTE*>(buffer.data());
            DWORD type = 0xDEAD;
            DWORD size = s.buffer;
            QString name;
            switch (s.op) {
                case Op::Create:
                case Op::Open:
                    break;
                case Op::Set:
                    result = RegSetValueEx(key, s.name, s.type, Data(s.data),
                                           static_cast<DWORD>(s.data.size()));
                    break;
                case Op::Query:
                case Op::EnumValue:
                    result = s.op == Op::Query
                                 ? RegQueryValueEx(key, s.name, &type,
                                                   s.buffer == kSizeOnly ? nullptr : bytes, &size)
                                 : RegEnumValue(key, s.index, &name, &type, bytes, &size);
                    if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
                        EXPECT_EQ(type, s.type);
                        EXPECT_EQ(size, static_cast<DWORD>(s.data.size()));
                        if (s.op == Op::EnumValue) {
                            EXPECT_EQ(name, QString(s.name));
                        }
                    }
                    if (result == ERROR_SUCCESS && s.buffer != kSizeOnly) {
                        EXPECT_EQ(buffer.left(s.data.size()), s.data);
                    }
                    if (result == ERROR_MORE_DATA) {
                        EXPECT_EQ(buffer, QByteArray(64, '\x55')) << "nothing written";
                    }
                    break;
                case Op::DeleteValue:
                    result = RegDeleteValue(key, s.name);
                    break;
                case Op::DeleteKey:
                    result = RegDeleteKey(key, s.name);
                    break;
                case Op::DeleteTree:
                    result = RegDeleteTree(key, s.name);
                    break;
                case Op::EnumKey:
                    result = RegEnumKeyEx(key, s.index, &name);
                    if (result == ERROR_SUCCESS) {
                        EXPECT_EQ(name, QString(s.name));
                    }
                    break;
            }
            EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        }
        EXPECT_EQ(result, s.result);
    }

    // Everything, order included, went to the file.
    const QStringList expected = {"Software", "Software\\Kept", "Software\\Kept|v|3|31"};
    EXPECT_EQ(DumpKey(HKEY_CURRENT_USER), expected);
    EXPECT_EQ(OnDisk("HKEY_CURRENT_USER"), expected);
}

TEST_F(RegistryTest, ReadOnlyHandleRefusesEveryChange) {
    HKEY writable = nullptr;
    ASSERT_EQ(
        RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tolvar\\Sub", KEY_ALL_ACCESS, &writable),
        ERROR_SUCCESS);
    ASSERT_EQ(RegSetDword(writable, "v", 5), ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(writable), ERROR_SUCCESS);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tolvar", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    HKEY sub = nullptr;
    ASSERT_EQ(RegOpenKeyEx(key, "Sub", 0, KEY_READ, &sub), ERROR_SUCCESS);
    DWORD number = 0;
    EXPECT_EQ(RegQueryDword(sub, "v", &number), ERROR_SUCCESS);
    EXPECT_EQ(number, 5u);
    EXPECT_EQ(RegSetDword(sub, "v", 6), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegSetDword(sub, "new", 6), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegSetString(sub, "s", "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValue(sub, "v"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKey(key, "Sub"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTree(key, "Sub"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTree(sub, ""), ERROR_ACCESS_DENIED);
    HKEY created = nullptr;
    EXPECT_EQ(RegCreateKeyEx(key, "New", KEY_ALL_ACCESS, &created), ERROR_ACCESS_DENIED);
    EXPECT_EQ(created, nullptr);
    // Opening what exists through RegCreateKeyEx needs no right to create.
    EXPECT_EQ(RegCreateKeyEx(key, "Sub", KEY_READ, &created), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(created), ERROR_SUCCESS);
    // A write-only handle cannot read.
    HKEY writeOnly = nullptr;
    ASSERT_EQ(RegOpenKeyEx(key, "Sub", 0, KEY_WRITE, &writeOnly), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryDword(writeOnly, "v", &number), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegSetDword(writeOnly, "v", 7), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(writeOnly), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryDword(sub, "v", &number), ERROR_SUCCESS);
    EXPECT_EQ(number, 7u);
    EXPECT_EQ(RegCloseKey(sub), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(OnDisk("HKEY_LOCAL_MACHINE"),
              QStringList({"Software", "Software\\Tolvar", "Software\\Tolvar\\Sub",
                           "Software\\Tolvar\\Sub|v|4|07000000"}));
}

TEST_F(RegistryTest, StaleHandles) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Gone\\Child", KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTree(HKEY_CURRENT_USER, "Gone"), ERROR_SUCCESS);
    DWORD number = 0;
    EXPECT_EQ(RegSetDword(key, "v", 1), ERROR_KEY_DELETED);
    EXPECT_EQ(RegQueryDword(key, "v", &number), ERROR_KEY_DELETED);
    HKEY child = nullptr;
    EXPECT_EQ(RegCreateKeyEx(key, "More", KEY_ALL_ACCESS, &child), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryDword(nullptr, "v", &number), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyEx(nullptr, "x", 0, KEY_READ, &child), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(RegSetDword(HKEY_CURRENT_USER, "still usable", 1), ERROR_SUCCESS);
}

TEST_F(RegistryTest, EightBytesUnderDwordRoundTripThroughTheFile) {
    const QByteArray time = QByteArray::fromHex("8877665544332211");
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tolvar\\Vidra OS\\Options",
                             KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(key, "LastUpdateCheck", REG_DWORD, Data(time), 8), ERROR_SUCCESS);
    ASSERT_EQ(RegSetDword(key, "Update : nUpdateInterval", 30), ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    const QByteArray text = ReadAll(HiveFile("HKEY_LOCAL_MACHINE"));
    EXPECT_TRUE(text.contains("\n\"LastUpdateCheck\"=hex(4):88,77,66,55,44,33,22,11\n"))
        << text.constData();
    EXPECT_TRUE(text.contains("\n\"Update : nUpdateInterval\"=dword:0000001e\n"))
        << text.constData();

    CHive reread(HiveFile("HKEY_LOCAL_MACHINE"), "HKEY_LOCAL_MACHINE");
    const CRegNode* options = reread.Root()->Find({"Software", "Tolvar", "Vidra OS", "Options"});
    ASSERT_NE(options, nullptr);
    const RegValue* value = options->FindValue("LastUpdateCheck");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, REG_DWORD);
    EXPECT_EQ(value->data, time);

    // Read through the functions: 4-byte readers are told the real size.
    ASSERT_EQ(
        RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tolvar\\Vidra OS\\Options", 0, KEY_READ, &key),
        ERROR_SUCCESS);
    DWORD number = 0;
    EXPECT_EQ(RegQueryDword(key, "LastUpdateCheck", &number), ERROR_MORE_DATA);
    BYTE buffer[8] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueEx(key, "lastupdatecheck", &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer), 8), time);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, StringsAndDwordConveniences) {
    const QString text = QStringLiteral("C:\\Daten\\\"Ä\" – 𝄞");
    ASSERT_EQ(RegSetString(HKEY_CURRENT_USER, "Path", text), ERROR_SUCCESS);
    ASSERT_EQ(RegSetString(HKEY_CURRENT_USER, "Empty", QString()), ERROR_SUCCESS);
    ASSERT_EQ(RegSetDword(HKEY_CURRENT_USER, "Number", 0xFFFFFFFE), ERROR_SUCCESS);
    const BYTE two[2] = {1, 2};
    ASSERT_EQ(RegSetValueEx(HKEY_CURRENT_USER, "Two", REG_DWORD, two, 2), ERROR_SUCCESS);

    QString back;
    EXPECT_EQ(RegQueryString(HKEY_CURRENT_USER, "path", &back), ERROR_SUCCESS);
    EXPECT_EQ(back, text);
    EXPECT_EQ(RegQueryString(HKEY_CURRENT_USER, "Empty", &back), ERROR_SUCCESS);
    EXPECT_EQ(back, QString());
    EXPECT_EQ(RegQueryString(HKEY_CURRENT_USER, "Number", &back), ERROR_INVALID_DATA);
    EXPECT_EQ(RegQueryString(HKEY_CURRENT_USER, "Missing", &back), ERROR_FILE_NOT_FOUND);
    DWORD number = 0;
    EXPECT_EQ(RegQueryDword(HKEY_CURRENT_USER, "Number", &number), ERROR_SUCCESS);
    EXPECT_EQ(number, 0xFFFFFFFEu);
    EXPECT_EQ(RegQueryDword(HKEY_CURRENT_USER, "Two", &number), ERROR_INVALID_DATA);
    EXPECT_EQ(RegQueryDword(HKEY_CURRENT_USER, "Path", &number), ERROR_MORE_DATA);

    const QByteArray file = ReadAll(HiveFile("HKEY_CURRENT_USER"));
    EXPECT_TRUE(
        file.contains(QStringLiteral("\"Path\"=\"C:\\\\Daten\\\\\\\"Ä\\\" – 𝄞\"\n").toUtf8()))
        << file.constData();
    EXPECT_TRUE(file.contains("\"Empty\"=\"\"\n")) << file.constData();
}

TEST_F(RegistryTest, ChangesAreWrittenOnCloseFlushOrAtOnceThroughARoot) {
    const QString file = HiveFile("HKEY_CURRENT_USER");
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Tolvar", KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetDword(key, "a", 1), ERROR_SUCCESS);
    EXPECT_FALSE(QFile::exists(file)) << "written before the handle was closed";
    ASSERT_EQ(RegFlushKey(key), ERROR_SUCCESS);
    EXPECT_EQ(OnDisk("HKEY_CURRENT_USER"),
              QStringList({"Software", "Software\\Tolvar", "Software\\Tolvar|a|4|01000000"}));

    ASSERT_EQ(RegSetDword(key, "b", 2), ERROR_SUCCESS);
    EXPECT_EQ(OnDisk("HKEY_CURRENT_USER").size(), 3);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(OnDisk("HKEY_CURRENT_USER").size(), 4);

    ASSERT_EQ(RegSetDword(HKEY_CURRENT_USER, "root", 3), ERROR_SUCCESS);
    EXPECT_TRUE(OnDisk("HKEY_CURRENT_USER").contains("|root|4|03000000"));
    ASSERT_EQ(RegDeleteTree(HKEY_CURRENT_USER, "Software"), ERROR_SUCCESS);
    EXPECT_EQ(OnDisk("HKEY_CURRENT_USER"), QStringList({"|root|4|03000000"}));
    EXPECT_FALSE(QFile::exists(file + ".lock"));
    EXPECT_FALSE(QFile::exists(HiveFile("HKEY_LOCAL_MACHINE")));
}

TEST_F(RegistryTest, FolderFollowsTheEnvironment) {
    ASSERT_EQ(RegSetDword(HKEY_CLASSES_ROOT, "first", 1), ERROR_SUCCESS);
    const QByteArray first = qgetenv("REELMARK_REGISTRY_DIR");
    const QString second = WorkPath("second");
    qputenv("REELMARK_REGISTRY_DIR", second.toUtf8());
    DWORD number = 0;
    EXPECT_EQ(RegQueryDword(HKEY_CLASSES_ROOT, "first", &number), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(RegSetDword(HKEY_CLASSES_ROOT, "second", 2), ERROR_SUCCESS);
    EXPECT_TRUE(QFile::exists(second + "/HKEY_CLASSES_ROOT.reg"));

    // Without the variable: the user's configuration folder.
    const bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qunsetenv("REELMARK_REGISTRY_DIR");
    qputenv("XDG_CONFIG_HOME", WorkDir().toUtf8());
    EXPECT_EQ(RegSetDword(HKEY_CLASSES_ROOT, "third", 3), ERROR_SUCCESS);
    EXPECT_TRUE(QFile::exists(WorkPath("Tolvar/registry/HKEY_CLASSES_ROOT.reg")));
    if (hadConfig)
        qputenv("XDG_CONFIG_HOME", config);
    else
        qunsetenv("XDG_CONFIG_HOME");

    qputenv("REELMARK_REGISTRY_DIR", first);
    EXPECT_EQ(RegQueryDword(HKEY_CLASSES_ROOT, "first", &number), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryDword(HKEY_CLASSES_ROOT, "second", &number), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, DamagedHiveLoadsItsReadablePart) {
    const QByteArray damaged =
        "; written by hand\n"
        "[HKEY_CURRENT_USER\\Software\\Good]\n"
        "\"Kept\"=dword:0000002a\n"
        "\"Broken\"=dword:2a\n"
        "this line means nothing\n"
        "\"AlsoKept\"=\"yes\"\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Wrong]\n"
        "\"Lost\"=dword:00000001\n"
        "[HKEY_CURRENT_USER\\Software\\Later]\n"
        "\"Blob\"=hex:01,02,\\\n"
        "  03\n"
        "\"Cut\"=hex:01,02";
    {
        QFile file(HiveFile("HKEY_CURRENT_USER"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    WarningCatcher warnings;
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_SUCCESS);
    QStringList expected = {
        "Software",
        "Software\\Good",
        "Software\\Good|Kept|4|2a000000",
        "Software\\Good|AlsoKept|1|7900650073000000",
        "Software\\Later",
        "Software\\Later|Blob|3|010203",
    };
    EXPECT_EQ(DumpKey(HKEY_CURRENT_USER), expected);
    ASSERT_EQ(warnings.Warnings().size(), 1);
    EXPECT_TRUE(warnings.Warnings().first().contains("HKEY_CURRENT_USER.reg"))
        << warnings.Warnings().first().toStdString();
    EXPECT_EQ(ReadAll(HiveFile("HKEY_CURRENT_USER") + ".damaged"), damaged);

    // Writing keeps the readable part, leaves the damaged copy alone and reports nothing new.
    ASSERT_EQ(RegSetDword(HKEY_CURRENT_USER, "Added", 1), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(warnings.Warnings().size(), 1);
    expected.prepend("|Added|4|01000000");
    EXPECT_EQ(OnDisk("HKEY_CURRENT_USER"), expected);
    EXPECT_EQ(ReadAll(HiveFile("HKEY_CURRENT_USER") + ".damaged"), damaged);
    CRegNode rewritten("HKEY_CURRENT_USER");
    EXPECT_EQ(
        CRegText::Read(ReadAll(HiveFile("HKEY_CURRENT_USER")), "HKEY_CURRENT_USER", &rewritten)
            .problems,
        0);
}

class RegistryProcessTest : public RegistryTest {
protected:
    // Starts the writer process: COUNT values PREFIX0.. into KEY of HKEY_CURRENT_USER.
    std::unique_ptr<QProcess> StartWriter(const QString& key, const QString& prefix, int count) {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(RM_REGISTRY_WRITER, {key, prefix, QString::number(count)});
        EXPECT_TRUE(process->waitForStarted(10000));
        return process;
    }
    static void Finish(QProcess& process) {
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
    }
};

TEST_F(RegistryProcessTest, WriterBetweenOpenAndCloseKeepsBothValues) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Shared", KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetDword(key, "mine", 7), ERROR_SUCCESS);

    auto writer = StartWriter("Software\\Shared", "theirs", 1);
    Finish(*writer);

    // Opening a key shows what the other process wrote, next to this process's unsaved value.
    HKEY again = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Shared", 0, KEY_READ, &again),
              ERROR_SUCCESS);
    DWORD number = 99;
    EXPECT_EQ(RegQueryDword(again, "theirs0", &number), ERROR_SUCCESS);
    EXPECT_EQ(number, 0u);
    EXPECT_EQ(RegQueryDword(again, "mine", &number), ERROR_SUCCESS);
    EXPECT_EQ(number, 7u);
    EXPECT_EQ(RegCloseKey(again), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    EXPECT_EQ(OnDisk("HKEY_CURRENT_USER"),
              QStringList({"Software", "Software\\Shared", "Software\\Shared|theirs0|4|00000000",
                           "Software\\Shared|mine|4|07000000"}));
}

TEST_F(RegistryProcessTest, ConcurrentWritersLoseNothing) {
    constexpr int kCount = 15;
    std::vector<std::unique_ptr<QProcess>> writers;
    for (const char* prefix : {"p", "q", "r"})
        writers.push_back(StartWriter("Software\\Shared", prefix, kCount));
    for (int i = 0; i < kCount; ++i) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Shared", KEY_ALL_ACCESS, &key),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetDword(key, QStringLiteral("s%1").arg(i), static_cast<DWORD>(i)),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
    for (auto& writer : writers)
        Finish(*writer);

    CHive reader(HiveFile("HKEY_CURRENT_USER"), "HKEY_CURRENT_USER");
    const CRegNode* shared = reader.Root()->Find({"Software", "Shared"});
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->Values().size(), 4u * kCount);
    for (const char* prefix : {"p", "q", "r", "s"}) {
        for (int i = 0; i < kCount; ++i) {
            const RegValue* value = shared->FindValue(QStringLiteral("%1%2").arg(prefix).arg(i));
            ASSERT_NE(value, nullptr) << prefix << i;
            EXPECT_EQ(value->data, Dword(static_cast<DWORD>(i))) << prefix << i;
        }
    }
}
