// The ".au2" text file: its exact layout, reading it back, files it must refuse, and the
// prompted and checked exports.

#include "SensorDataFixture.h"

#include "platform/framework/FileDialog.h"
#include "platform/wintypes/Cp1252.h"
#include "sensordata/model/DiskSpace.h"

#include <QDir>

#include <cmath>

namespace {

class SensorDataTextTest : public IsolatedTest {
protected:
    void TearDown() override {
        SetDiskSpaceQuery(nullptr);
        IsolatedTest::TearDown();
    }

    QByteArray Exported() {
        CSensorDataSet set;
        FillTwoChannels(*set.GetData());
        EXPECT_EQ(set.ExportText(WorkPath("two.au2")), S_OK);
        return ReadAll(WorkPath("two.au2"));
    }
};

TEST_F(SensorDataTextTest, ExportLayout) {
    const QByteArray text = Exported();
    EXPECT_EQ(text.size(), 468);
    const QList<QByteArray> lines = text.split('\n');
    ASSERT_EQ(lines.size(), 15);  // 11 header lines, 3 rows, and nothing after the last LF.
    EXPECT_EQ(lines[0], "Scan Rate:  1000");
    EXPECT_EQ(lines[1], "Scans Per Frame:  10");
    EXPECT_EQ(lines[2], "Total Scans:  3");
    EXPECT_EQ(lines[3], "ZP: 1 \t TP: 2 ");
    EXPECT_EQ(lines[4], "Number of Channels:  2");
    EXPECT_EQ(lines[5], "Scaled:  Yes");
    EXPECT_EQ(lines[6], "Scale Factor:     \t2.000000e+00\t1.000000e+00\t");
    EXPECT_EQ(lines[7], "Offset:           \t5.000000e-01\t0.000000e+00\t");
    EXPECT_EQ(lines[8], "Label:            \tForce           \tAccel           \t");
    EXPECT_EQ(lines[9], "Units:            \tN         \tg         \t");
    EXPECT_EQ(lines[10], "Index      Time   \tCh.02  \tCh.05  \t");
    EXPECT_EQ(lines[11], "-1     \t-0.0010000\t1.500000e+00\t-1.000000e+00\t");
    EXPECT_EQ(lines[13], "1      \t0.0010000\t-3.500000e+00\t1.234568e+04\t");
    EXPECT_EQ(lines[14], "");
}

TEST_F(SensorDataTextTest, ReadsBackRawSamplesFromLfAndCrLf) {
    const QByteArray text = Exported();
    QByteArray crlf = text;
    crlf.replace("\n", "\r\n");
    for (const QByteArray& bytes : {text, crlf}) {
        WriteAll(WorkPath("in.AU2"), bytes);
        CSensorDataSet set;
        set.GetData()->m_onFlags[9] = 1;  // Held before; the file decides.
        set.GetData()->m_channels.assign(1, {});
        ASSERT_EQ(set.Open(WorkPath("in.AU2")), S_OK);
        const CVidraData& d = *set.GetData();
        std::vector<int> on;
        for (int c = 0; c < 64; ++c)
            if (d.m_onFlags[c])
                on.push_back(c);
        EXPECT_EQ(on, (std::vector<int>{2, 5}));
        EXPECT_EQ(d.m_nScanRate, 1000);
        EXPECT_EQ(d.m_nScansPerFrame, 10);
        EXPECT_EQ(d.m_nZP, 1);
        EXPECT_EQ(d.m_nTP, 2);
        EXPECT_EQ(d.m_nScaled, 0);
        EXPECT_EQ(d.m_factors[2], 2.0f);
        EXPECT_EQ(d.m_offsets[2], 0.5f);
        EXPECT_EQ(d.m_labels[5], "Accel");
        EXPECT_EQ(d.m_units[2], "N");
        CVidraData expected;
        FillTwoChannels(expected);
        ASSERT_EQ(d.m_channels.size(), 2u);
        for (size_t k = 0; k < 2; ++k)
            for (size_t s = 0; s < 3; ++s)
                EXPECT_NEAR(d.m_channels[k][s], expected.m_channels[k][s],
                            std::fabs(expected.m_channels[k][s]) * 2e-6 + 1e-9)
                    << k << " " << s;
    }
}

TEST_F(SensorDataTextTest, ReaderCases) {
    const QByteArray header = "Scan Rate:  50\nScans Per Frame:  2\nTotal Scans:  2\n";
    const QByteArray channels =
        "Number of Channels:  2\nScaled:  Yes\n"
        "Scale Factor:     \t0.000000e+00\t4.000000e+00\t\n"
        "Offset:           \t1.0\t2.0\t\n"
        "Label:            \t\tMy Force        \t\n"
        "Units:            \tV  \t\t\n"
        "Index      Time   \tCh.07  \tCh.63  \t\n";
    const QByteArray rows = "-100   \t-2.0\t5.0\t10.0\t\n-99\t-1.98\t7.0\t18.0\t\n";
    WriteAll(WorkPath("nozp.au2"), header + channels + rows);
    CSensorDataSet set;
    ASSERT_EQ(set.Open(WorkPath("nozp.au2")), S_OK);
    const CVidraData& d = *set.GetData();
    EXPECT_EQ(d.m_nZP, 100);  // From the first row when the file names none.
    EXPECT_EQ(d.m_nFrameCount, 1);
    // Factor 0 reads as zeros; the other channel back to raw (value - offset) / factor.
    EXPECT_EQ(d.m_channels[0], (std::vector<float>{0.0f, 0.0f}));
    EXPECT_EQ(d.m_channels[1], (std::vector<float>{2.0f, 4.0f}));
    // Fields are split at tabs: an empty label keeps its place, a label with blanks gives
    // its first word.
    EXPECT_EQ(d.m_labels[7], "");
    EXPECT_EQ(d.m_labels[63], "My");
    EXPECT_EQ(d.m_units[7], "V");
    EXPECT_EQ(d.m_units[63], "");

    // Labels that are not UTF-8 are Windows-1252.
    QByteArray latin = header + "ZP: 0 \t TP: 0 \n" + channels + rows;
    latin.replace("My Force", UnicodeToCp1252(QString::fromUtf8("\u00b0C Force")));
    WriteAll(WorkPath("latin.au2"), latin);
    ASSERT_EQ(set.Open(WorkPath("latin.au2")), S_OK);
    EXPECT_EQ(d.m_labels[63], QString::fromUtf8("\u00b0C"));
    EXPECT_EQ(d.m_nZP, 0);

    // A set without stored channels writes the header and no rows.
    CSensorDataSet empty;
    ASSERT_EQ(empty.ExportText(WorkPath("empty.au2")), S_OK);
    const QByteArray text = ReadAll(WorkPath("empty.au2"));
    EXPECT_EQ(text.count('\n'), 11);
    EXPECT_TRUE(text.endsWith("Index      Time   \t\n"));
}

TEST_F(SensorDataTextTest, RefusedFilesChangeNothing) {
    const QByteArray good = Exported();
    auto replaced = [&](const char* from, const char* to) {
        QByteArray b = good;
        b.replace(from, to);
        return b;
    };
    struct Case {
        const char* name;
        QByteArray bytes;
        int badRow;  // The scan whose row is reported, or -1 for a silent refusal.
    } cases[] = {
        {"channel 64", replaced("Ch.05", "Ch.64"), -1},
        {"negative channel", replaced("Ch.05", "Ch.-5"), -1},
        {"duplicate channel", replaced("Ch.05", "Ch.02"), -1},
        {"65 channels", replaced("Channels:  2", "Channels:  65"), -1},
        {"one channel number missing", replaced("\tCh.05  \t", "\t"), -1},
        {"not a data file", replaced("Scan Rate", "Rate"), -1},
        {"no rate", replaced("Scan Rate:  1000", "Scan Rate:  x"), -1},
        {"more scans than lines", replaced("Total Scans:  3", "Total Scans:  2000000000"), -1},
        {"negative scans", replaced("Total Scans:  3", "Total Scans:  -3"), -1},
        {"bad value", replaced("1.234568e+04", "x"), 2},
        {"bad index", replaced("-1     \t-0.0010000", "a\tb"), 0},
        {"short file", good.left(good.size() - 30), 2},
    };
    for (const Case& c : cases) {
        WriteAll(WorkPath("bad.au2"), c.bytes);
        CSensorDataSet set;
        FillTwoChannels(*set.GetData());
        set.GetData()->m_labels[7] = "kept";
        const QByteArray before = Snapshot(set, WorkPath("before.mdat"));
        if (c.badRow >= 0)
            Prompter().ExpectMessageBox(QString("Error reading scan %1").arg(c.badRow), IDOK);
        const size_t prompts = Prompter().Prompts().size();
        // The binary attempt that follows fails too.
        EXPECT_EQ(set.Open(WorkPath("bad.au2")), E_FAIL) << c.name;
        EXPECT_EQ(Snapshot(set, WorkPath("after.mdat")), before) << c.name;
        if (c.badRow >= 0) {
            ASSERT_EQ(Prompter().Prompts().size(), prompts + 1) << c.name;
            EXPECT_EQ(Prompter().Prompts().back().caption, "Read Error") << c.name;
        }
    }
}

TEST_F(SensorDataTextTest, BinaryDataUnderTheTextExtensionStillOpens) {
    CSensorDataSet set;
    FillTwoChannels(*set.GetData());
    ASSERT_EQ(set.Save(WorkPath("binary.au2")), S_OK);
    CSensorDataSet back;
    ASSERT_EQ(back.Open(WorkPath("binary.au2")), S_OK);
    EXPECT_EQ(back.GetScanCount(), 3);
}

TEST_F(SensorDataTextTest, FullDiskCreatesNoFile) {
    CSensorDataSet set;
    set.Init(4, 100000, 1, 1000.0, 0);
    QString asked;
    // (10 x 4 + 18) x 100000 / 1012 = 5731 kB are needed.
    SetDiskSpaceQuery([&asked](const QString& folder) {
        asked = folder;
        return int64_t{5731} * 1024;
    });
    Prompter().ExpectMessageBox("Insufficient Disk Space.", IDOK);
    EXPECT_EQ(set.ExportText(WorkPath("full.au2")), E_FAIL);
    EXPECT_EQ(Prompter().Prompts().back().caption, "Error");
    EXPECT_EQ(Prompter().Prompts().back().type, UINT(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(asked, WorkDir());
    EXPECT_TRUE(QDir(WorkDir()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    // One kilobyte more is enough.
    SetDiskSpaceQuery([](const QString&) { return int64_t{5732} * 1024; });
    EXPECT_EQ(set.ExportText(WorkPath("full.au2")), S_OK);
    EXPECT_TRUE(QFile::exists(WorkPath("full.au2")));
}

TEST_F(SensorDataTextTest, FolderOfPathAndCheck) {
    EXPECT_EQ(FolderOfPath("a/b\\c.au2"), "a/b");
    EXPECT_EQ(FolderOfPath("a\\b/c.au2"), "a\\b");
    EXPECT_EQ(FolderOfPath("c.au2"), "");
    EXPECT_EQ(FolderOfPath("/c.au2"), "/");
    // Large needs are 64-bit: far beyond 4 GB still compares.
    SetDiskSpaceQuery([](const QString&) { return int64_t{1} << 40; });
    EXPECT_TRUE(CheckDiskSpaceKb((int64_t{1} << 30) - 1, "x", false));
    EXPECT_FALSE(CheckDiskSpaceKb(int64_t{1} << 30, "x", false));
}

TEST_F(SensorDataTextTest, PromptedExportAndWorkbook) {
    CSensorDataSet set;
    FillTwoChannels(*set.GetData());
    Prompter().AnswerFileDialog({});
    EXPECT_EQ(set.ExportTextPrompt(), E_FAIL);
    ASSERT_EQ(Prompter().FilePrompts().size(), 1u);
    const FileDialogPrompt& asked = Prompter().FilePrompts().front();
    EXPECT_FALSE(asked.open);
    EXPECT_EQ(asked.title, "Save Data");
    EXPECT_EQ(asked.defaultExt, "dat");
    EXPECT_EQ(asked.filter, "Text File (*.au2)|*.au2| All Files (*.*)|*.*||");
    EXPECT_TRUE(asked.flags & OFN_HIDEREADONLY);

    Prompter().AnswerFileDialog({WorkPath("chosen.au2")});
    EXPECT_EQ(set.ExportTextPrompt(), S_OK);
    EXPECT_EQ(ReadAll(WorkPath("chosen.au2")).size(), 468);
    // The export's own failure is the prompted export's result.
    Prompter().AnswerFileDialog({WorkPath("missing/chosen.au2")});
    Prompter().ExpectMessageBox("Could not save data file.", IDOK);
    EXPECT_EQ(set.ExportTextPrompt(), E_FAIL);

    // A workbook whose save is cancelled writes nothing.
    Prompter().AnswerFileDialog({});
    EXPECT_EQ(set.ExportToExcel("name", 0), S_OK);
    EXPECT_EQ(QDir(WorkDir()).entryList(QDir::Files | QDir::Hidden), QStringList({"chosen.au2"}));
}

}  // namespace
