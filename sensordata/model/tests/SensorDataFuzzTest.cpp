// Damaged and hostile data files: every truncation and thousands of byte mutations of both
// formats either fail with the held data unchanged or give data that meets the invariants.
// The fuzz targets' entries replay their seeds here too.

#include "SensorDataFixture.h"

#include "sensordata/model/DataInvariants.h"

#include <QDir>
#include <QDirIterator>

#include <sys/resource.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>

namespace {

// Answers every message box of the readers; the texts are checked elsewhere.
class QuietPrompter : public IPrompter {
public:
    QuietPrompter() : m_previous(AfxSetPrompter(this)) {}
    ~QuietPrompter() override { AfxSetPrompter(m_previous); }
    int MessageBox(const MessageBoxPrompt&) override { return IDOK; }
    FileDialogAnswer FileDialog(const FileDialogPrompt&) override { return {}; }
    std::optional<QString> BrowseForFolder(const FolderPrompt&) override { return {}; }
    std::optional<COLORREF> ChooseColor(const ColorPrompt&) override { return {}; }

private:
    IPrompter* m_previous;
};

class SensorDataFuzzTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_quiet.emplace();
    }
    void TearDown() override {
        m_quiet.reset();
        IsolatedTest::TearDown();
    }

    // Opens bytes under name into a set holding the usual recording.
    void Check(const QByteArray& bytes, const QString& name, const std::string& what) {
        WriteAll(WorkPath(name), bytes);
        CSensorDataSet set;
        FillTwoChannels(*set.GetData());
        const QByteArray before = Snapshot(set, WorkPath("before.mdat"));
        const HRESULT hr = set.Open(WorkPath(name));
        if (hr == S_OK) {
            const CVidraData& d = *set.GetData();
            ASSERT_TRUE(MeetsDataInvariants(d)) << what;
            ASSERT_LE(d.m_channels.size() * size_t(d.m_nTotalScans), size_t(bytes.size())) << what;
            ++m_accepted;
        } else {
            ASSERT_EQ(hr, E_FAIL) << what;
            ASSERT_EQ(Snapshot(set, WorkPath("after.mdat")), before) << what;
            ++m_refused;
        }
    }

    QByteArray Fixture(bool text) {
        CSensorDataSet set;
        FillTwoChannels(*set.GetData());
        const QString path = WorkPath(text ? "fixture.au2" : "fixture.mdat");
        EXPECT_EQ(text ? set.ExportText(path) : set.Save(path), S_OK);
        return ReadAll(path);
    }

    void Mutate(bool text, int rounds) {
        const QByteArray fixture = Fixture(text);
        const QString name = text ? "m.au2" : "m.mdat";
        for (int size = 0; size < fixture.size(); ++size)
            Check(fixture.left(size), name, "truncated to " + std::to_string(size));
        std::mt19937 random(text ? 41u : 14u);
        const char hostile[] = {'\0', '\x7F', '\x80', '\xFF', '\t', '\n', '.', ':', '9', '-'};
        for (int i = 0; i < rounds; ++i) {
            QByteArray b = fixture;
            const int edits = 1 + int(random() % 4);
            for (int e = 0; e < edits; ++e) {
                const int at = int(random() % uint32_t(b.size()));
                b[at] = (random() % 2) ? char(random()) : hostile[random() % sizeof hostile];
            }
            Check(b, name, "mutation " + std::to_string(i));
        }
    }

    std::optional<QuietPrompter> m_quiet;
    int m_accepted = 0;
    int m_refused = 0;
};

TEST_F(SensorDataFuzzTest, BinaryTruncationsAndMutations) {
    Mutate(false, 3000);
    // Every truncation is refused; some mutations (in samples or labels) are valid files.
    EXPECT_GT(m_refused, 1240);
    EXPECT_GT(m_accepted, 0);
}

TEST_F(SensorDataFuzzTest, TextTruncationsAndMutations) {
    Mutate(true, 3000);
    EXPECT_GT(m_refused, 0);
    EXPECT_GT(m_accepted, 0);
}

TEST_F(SensorDataFuzzTest, HugeCounts) {
    const QByteArray fixture = Fixture(false);
    const QByteArray text = Fixture(true);
    struct Case {
        const char* name;
        QByteArray bytes;
        QString file;
    } cases[] = {
        {"all channels 0xFFFFFFFF",
         QByteArray("\x01\x00\x40\x00\x00\x00\xFF\xFF\xFF\xFF\xFF\xFF", 12), "h.mdat"},
        {"leading 32-bit count", QByteArray("\xFF\xFF\xFF\xFF\xFF\xFF", 6) + fixture.mid(2),
         "h.mdat"},
        {"string of 4 GB", fixture.left(826 + 2) + QByteArray("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7),
         "h.mdat"},
        {"total scans at the limit",
         QByteArray(text).replace("Total Scans:  3", "Total Scans:  2147483647"), "h.au2"},
        {"64 channels, few rows", QByteArray(text).replace("Channels:  2", "Channels:  64"),
         "h.au2"},
    };
    for (const Case& c : cases)
        Check(c.bytes, c.file, c.name);
    EXPECT_EQ(m_accepted, 0);
}

// A file of no stored channel, every on flag 0, no labels or units and marker -1 that claims
// 2^31-1 scans: 814 bytes.
QByteArray NoChannelsClaimingScans(int32_t totalScans) {
    QByteArray b("\x01\x00", 2);
    b += QByteArray(4 + 256 + 24, '\0');
    for (int i = 0; i < CVidraData::kChannelSlots; ++i)
        b += QByteArray("\x00\x00\x80\x3F", 4);
    b += QByteArray(256 + 2 + 2, '\0');
    for (const int32_t v : {-1, 0, totalScans}) {
        const QByteArray at(4, '\0');
        b += at;
        SetLe32At(b, int(b.size()) - 4, v);
    }
    return b;
}

long PeakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST_F(SensorDataFuzzTest, ScansThatNoStoredArrayHoldsAreRefused) {
    const QByteArray hostile = NoChannelsClaimingScans(0x7FFFFFFF);
    ASSERT_EQ(hostile.size(), 814);
    const long peakBefore = PeakResidentKb();
    for (int size = 0; size <= hostile.size(); ++size)
        Check(hostile.left(size), "h.mdat", "truncated to " + std::to_string(size));
    EXPECT_EQ(m_accepted, 0);
    EXPECT_LT(PeakResidentKb() - peakBefore, 100 * 1024);

    // What the program writes for a set without channels opens again, holding no scan; one
    // scan claimed is already refused.
    CSensorDataSet none;
    none.GetData()->m_nTotalScans = 5;
    none.GetData()->m_nFrameCount = 5;
    ASSERT_EQ(none.Save(WorkPath("none.mdat")), S_OK);
    CSensorDataSet again;
    ASSERT_EQ(again.Open(WorkPath("none.mdat")), S_OK);
    EXPECT_EQ(again.GetData()->m_nTotalScans, 0);
    m_accepted = 0;
    Check(NoChannelsClaimingScans(0), "h.mdat", "no scans claimed");
    EXPECT_EQ(m_accepted, 1);
    Check(NoChannelsClaimingScans(1), "h.mdat", "one scan claimed");
    EXPECT_EQ(m_accepted, 1);
}

TEST_F(SensorDataFuzzTest, FuzzSeedsReplay) {
    int replayed = 0;
    for (const char* kind : {"mdat", "au2"}) {
        QDirIterator it(QString(RM_FUZZ_SEEDS_DIR "/") + kind, QDir::Files);
        while (it.hasNext()) {
            const QByteArray bytes = ReadAll(it.next());
            Check(bytes, QString("seed.") + kind, it.fileName().toStdString());
            ++replayed;
        }
    }
    EXPECT_GE(replayed, 4);
}

// Writes the seeds with the program's own writers: run with --gtest_also_run_disabled_tests
// and RM_WRITE_SEEDS set to the testdata/fuzz folder.
TEST_F(SensorDataFuzzTest, DISABLED_WriteSeeds) {
    const QString out = qEnvironmentVariable("RM_WRITE_SEEDS");
    ASSERT_FALSE(out.isEmpty());
    CSensorDataSet two;
    FillTwoChannels(*two.GetData());
    CSensorDataSet fresh;
    CSensorDataSet ranged;
    ranged.Init(3, 8, 2, 500.0, 4);
    ASSERT_EQ(two.Save(out + "/mdat/two-channels.mdat"), S_OK);
    ASSERT_EQ(fresh.Save(out + "/mdat/fresh.mdat"), S_OK);
    ASSERT_EQ(ranged.Save(out + "/mdat/three-channels.mdat"), S_OK);
    ASSERT_EQ(two.ExportText(out + "/au2/two-channels.au2"), S_OK);
    ASSERT_EQ(fresh.ExportText(out + "/au2/no-channels.au2"), S_OK);
    ASSERT_EQ(ranged.ExportText(out + "/au2/three-channels.au2"), S_OK);
}

}  // namespace
