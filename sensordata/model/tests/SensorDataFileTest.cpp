// The binary data file: its exact layout, old markers, validation of damaged files and saving
// through a temporary name.

#include "SensorDataFixture.h"

#include "platform/media/OpenFileRegistry.h"

#include <QDir>

#include <clocale>
#include <cstring>

namespace {

class SensorDataFileTest : public IsolatedTest {};

// Where the version marker sits in a file the writer made: before spare word, total scans,
// second origin, its extra word and the 64 colours.
int MarkerOffset(const QByteArray& file) {
    return static_cast<int>(file.size()) - 4 * (3 + 2 + 64);
}

TEST_F(SensorDataFileTest, FreshSetWritesTheEmptyLayout) {
    CSensorDataSet set;
    const QByteArray file = Snapshot(set, WorkPath("fresh.mdat"));
    ASSERT_EQ(file.size(), 1206);
    EXPECT_EQ(file.left(6), QByteArray("\x01\x00\x00\x00\x00\x00", 6));
    // The factors are all 1.0 and the empty labels one zero byte each after the count 64.
    EXPECT_EQ(Le32At(file, 286), 0x3F800000);
    EXPECT_EQ(file.mid(798, 2), QByteArray("\x40\x00", 2));
    EXPECT_EQ(file.mid(800, 64), QByteArray(64, '\0'));
    const int marker = MarkerOffset(file);
    EXPECT_EQ(marker, 930);
    EXPECT_EQ(Le32At(file, marker), -3);
    const int32_t cycle[6] = {0x00FF00, 0x0000FF, 0x00FFFF, 0xFFFF00, 0xFF00FF, 0xFF0000};
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(Le32At(file, 950 + 4 * i), cycle[i % 6]) << i;
}

TEST_F(SensorDataFileTest, TwoChannelsLayoutAndRoundTrip) {
    CSensorDataSet set;
    FillTwoChannels(*set.GetData());
    set.GetData()->m_labels[5].clear();
    set.GetData()->m_units[5].clear();
    set.GetData()->m_nSecondOrigin = -7;
    set.GetData()->m_colors[3] = 0x123456;
    const QByteArray file = Snapshot(set, WorkPath("two.mdat"));
    ASSERT_EQ(file.size(), 1240);
    EXPECT_EQ(file.mid(6, 2), QByteArray("\x03\x00", 2));
    float first = 0;
    std::memcpy(&first, file.constData() + 8, 4);
    EXPECT_EQ(first, 0.5f);
    EXPECT_EQ(file.mid(20, 2), QByteArray("\x03\x00", 2));

    set.GetData()->m_labels[5] = "Accel";
    const QByteArray expected = Snapshot(set, WorkPath("two.mdat"));
    CSensorDataSet back;
    ASSERT_EQ(back.Open(WorkPath("two.mdat")), S_OK);
    EXPECT_EQ(Snapshot(back, WorkPath("back.mdat")), expected);
    EXPECT_EQ(back.GetScanCount(), 3);
    EXPECT_EQ(back.GetActiveChannelCount(), 2);
    EXPECT_EQ(back.GetData()->m_labels[5], "Accel");
    EXPECT_NE(back.GetDataId(), set.GetDataId());
}

TEST_F(SensorDataFileTest, OlderMarkersKeepWhatTheFileLacks) {
    CSensorDataSet source;
    FillTwoChannels(*source.GetData());
    source.GetData()->m_nSecondOrigin = 40;
    source.GetData()->m_nSecondOriginExtra = 41;
    const QByteArray full = Snapshot(source, WorkPath("full.mdat"));
    const int marker = MarkerOffset(full);

    struct Case {
        int32_t marker;
        int keep;  // Bytes after the marker that the file still holds.
        int32_t secondOrigin;
        int32_t color3;
    } cases[] = {
        {-1, 12, 7, 0x111111},        {0, 12, 7, 0x111111},         {-2, 20, 40, 0x111111},
        {-3, 20 + 256, 40, 0xFFFF00}, {-9, 20 + 256, 40, 0xFFFF00},
    };
    for (const Case& c : cases) {
        QByteArray file = full.left(marker + c.keep);
        SetLe32At(file, marker, c.marker);
        WriteAll(WorkPath("old.mdat"), file);
        CSensorDataSet set;
        set.GetData()->m_nSecondOrigin = 7;
        set.GetData()->m_colors[3] = 0x111111;
        ASSERT_EQ(set.Open(WorkPath("old.mdat")), S_OK) << c.marker;
        EXPECT_EQ(set.GetSecondOrigin(), c.secondOrigin) << c.marker;
        EXPECT_EQ(set.GetData()->m_colors[3], c.color3) << c.marker;
        EXPECT_EQ(set.GetScanCount(), 3);
        EXPECT_EQ(set.GetData()->m_labels[2], "Force");
    }
}

TEST_F(SensorDataFileTest, DamagedFilesFailAndChangeNothing) {
    CSensorDataSet source;
    FillTwoChannels(*source.GetData());
    const QByteArray good = Snapshot(source, WorkPath("good.mdat"));
    const int labelCount = 6 + 2 * 14 + 256 + 24 + 512;

    struct Case {
        const char* name;
        QByteArray bytes;
    };
    auto patched = [&](int at, int32_t value) {
        QByteArray b = good;
        SetLe32At(b, at, value);
        return b;
    };
    auto patched16 = [&](int at, uint16_t value) {
        QByteArray b = good;
        b[at] = char(value & 0xFF);
        b[at + 1] = char(value >> 8);
        return b;
    };
    const Case cases[] = {
        {"leading count 0", patched16(0, 0)},
        {"65 stored arrays", patched(2, 65)},
        {"negative stored arrays", patched(2, -1)},
        {"fewer arrays than on channels", patched(2, 1)},
        {"channel longer than the file", patched16(6, 0xFFFE)},
        {"huge 32-bit count",
         [&] {
             QByteArray b = good.left(6);
             b += QByteArray("\xFF\xFF\xFF\xFF\xFF\x7F", 6);
             return b + good.mid(8);
         }()},
        {"third channel on", patched(34 + 4 * 3, 1)},
        {"arrays shorter than total scans", patched(MarkerOffset(good) + 8, 4)},
        {"negative total scans", patched(MarkerOffset(good) + 8, -1)},
        {"65 labels", patched16(labelCount, 65)},
        {"truncated header", good.left(300)},
        {"truncated colours", good.left(good.size() - 1)},
        {"empty", QByteArray()},
    };
    for (const Case& c : cases) {
        WriteAll(WorkPath("bad.mdat"), c.bytes);
        CSensorDataSet set;
        FillTwoChannels(*set.GetData());
        set.GetData()->m_labels[7] = "kept";
        const QByteArray before = Snapshot(set, WorkPath("before.mdat"));
        EXPECT_EQ(set.Open(WorkPath("bad.mdat")), E_FAIL) << c.name;
        EXPECT_EQ(Snapshot(set, WorkPath("after.mdat")), before) << c.name;
    }
    // Fewer than 64 labels are padded with empty ones.
    QByteArray shortLabels = good.left(labelCount);
    // 64 labels take the count, 62 empty ones, "Force" and "Accel": 76 bytes.
    shortLabels += QByteArray(
                       "\x01\x00\x05"
                       "Force",
                       8) +
                   good.mid(labelCount + 76);
    WriteAll(WorkPath("short.mdat"), shortLabels);
    CSensorDataSet padded;
    ASSERT_EQ(padded.Open(WorkPath("short.mdat")), S_OK);
    EXPECT_EQ(padded.GetData()->m_labels.size(), 64u);
    EXPECT_EQ(padded.GetData()->m_labels[0], "Force");
    EXPECT_EQ(padded.GetData()->m_labels[2], "");
}

TEST_F(SensorDataFileTest, FailedSaveShowsTheMessageAndKeepsWhatWasThere) {
    CSensorDataSet set;
    FillTwoChannels(*set.GetData());
    ASSERT_TRUE(QDir().mkpath(WorkPath("taken/inside")));
    const QString missing = WorkPath("no/such/folder/x.mdat");
    for (const QString& path : {WorkPath("taken"), missing}) {
        Prompter().ExpectMessageBox("Could not save data file.", IDOK);
        EXPECT_EQ(set.Save(path), E_FAIL);
        ASSERT_FALSE(Prompter().Prompts().empty());
        EXPECT_EQ(Prompter().Prompts().back().caption, "Write Error");
        EXPECT_EQ(Prompter().Prompts().back().type, UINT(MB_OK | MB_ICONEXCLAMATION));
    }
    EXPECT_TRUE(QDir(WorkPath("taken/inside")).exists());
    // Nothing but what was there before is left in the folder.
    EXPECT_EQ(QDir(WorkDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"taken"});

    // A save over an existing file replaces it whole.
    WriteAll(WorkPath("old.mdat"), QByteArray(5000, 'x'));
    ASSERT_EQ(set.Save(WorkPath("old.mdat")), S_OK);
    EXPECT_EQ(ReadAll(WorkPath("old.mdat")), Snapshot(set, WorkPath("new.mdat")));
}

TEST_F(SensorDataFileTest, SaveRangeWritesTheCopiedScans) {
    CSensorDataSet set;
    set.Init(2, 100, 4, 250.0, 30);
    for (int k = 0; k < 2; ++k)
        for (int s = 0; s < 100; ++s)
            set.GetData()->m_channels[size_t(k)][size_t(s)] = float(k * 1000 + s);
    ASSERT_EQ(set.SaveRange(WorkPath("range.mdat"), 1, 10, 20), S_OK);
    CSensorDataSet back;
    ASSERT_EQ(back.Open(WorkPath("range.mdat")), S_OK);
    EXPECT_EQ(back.GetScanCount(), 10);
    EXPECT_EQ(back.GetZeroPoint(), 20);
    EXPECT_EQ(back.GetData()->m_channels[1].front(), 1010.0f);
    EXPECT_EQ(back.GetData()->m_channels[1].back(), 1019.0f);
    // A part that runs to the end of the data keeps its final scan.
    ASSERT_EQ(set.SaveRange(WorkPath("tail.mdat"), 1, 90, 100), S_OK);
    ASSERT_EQ(back.Open(WorkPath("tail.mdat")), S_OK);
    EXPECT_EQ(back.GetScanCount(), 10);
    EXPECT_EQ(back.GetData()->m_channels[1].back(), 1099.0f);
    // useRange below 1 saves everything.
    ASSERT_EQ(set.SaveRange(WorkPath("all.mdat"), 0, 10, 20), S_OK);
    ASSERT_EQ(back.Open(WorkPath("all.mdat")), S_OK);
    EXPECT_EQ(back.GetScanCount(), 100);
}

// A data file read, binary or text, stays registered as open while its set holds it, so the
// program's writers refuse it; a failed read, a later read of another file and the set's end
// let it go.
TEST_F(SensorDataFileTest, AReadFileIsHeldOpenUntilTheSetLetsItGo) {
    CSensorDataSet source;
    FillTwoChannels(*source.GetData());
    ASSERT_EQ(source.Save(WorkPath("a.mdat")), S_OK);
    ASSERT_EQ(source.ExportText(WorkPath("b.au2")), S_OK);
    WriteAll(WorkPath("bad.mdat"), "not data");
    EXPECT_FALSE(COpenFileRegistry::IsOpen(WorkPath("a.mdat"))) << "a save holds nothing";
    for (const QString& name : {QStringLiteral("a.mdat"), QStringLiteral("b.au2")}) {
        {
            CSensorDataSet set;
            ASSERT_EQ(set.Open(WorkPath(name)), S_OK) << name.toStdString();
            EXPECT_TRUE(COpenFileRegistry::IsOpen(WorkPath(name))) << name.toStdString();
            EXPECT_EQ(set.Open(WorkPath("bad.mdat")), E_FAIL);
            EXPECT_TRUE(COpenFileRegistry::IsOpen(WorkPath(name))) << name.toStdString();
            EXPECT_FALSE(COpenFileRegistry::IsOpen(WorkPath("bad.mdat")));
            ASSERT_EQ(set.Open(WorkPath(name == "a.mdat" ? "b.au2" : "a.mdat")), S_OK);
            EXPECT_FALSE(COpenFileRegistry::IsOpen(WorkPath(name))) << name.toStdString();
        }
        EXPECT_FALSE(COpenFileRegistry::IsOpen(WorkPath("a.mdat")));
        EXPECT_FALSE(COpenFileRegistry::IsOpen(WorkPath("b.au2")));
    }
}

TEST_F(SensorDataFileTest, SameBytesInACommaLocale) {
    CSensorDataSet set;
    FillTwoChannels(*set.GetData());
    const QByteArray binary = Snapshot(set, WorkPath("c.mdat"));
    ASSERT_EQ(set.ExportText(WorkPath("c.au2")), S_OK);
    const QByteArray text = ReadAll(WorkPath("c.au2"));

    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    const bool comma = std::string(probe) == "1,5";
    EXPECT_EQ(Snapshot(set, WorkPath("de.mdat")), binary);
    EXPECT_EQ(set.ExportText(WorkPath("de.au2")), S_OK);
    EXPECT_EQ(ReadAll(WorkPath("de.au2")), text);
    CSensorDataSet back;
    EXPECT_EQ(back.Open(WorkPath("de.au2")), S_OK);
    EXPECT_EQ(back.GetData()->m_channels[0][1], 1.25f);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_TRUE(comma) << "the locale did not change the decimal point";
}

}  // namespace
