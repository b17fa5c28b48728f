#include "frames/CfgFileInfo.h"
#include "frames/EvtInfo.h"
#include "frames/SideFileReaders.h"
#include "platform/framework/Archive.h"
#include "platform/framework/IPrompter.h"
#include "platform/wintypes/WinMessages.h"

#include "testsupport/IsolatedTest.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray Le32(int32_t v) {
    QByteArray b(4, 0);
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return b;
}

QByteArray LeDouble(double v) {
    const auto u = std::bit_cast<uint64_t>(v);
    QByteArray b(8, 0);
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
    return b;
}

CCfgFileInfo Sample() {
    CCfgFileInfo r;
    r.m_name = QString::fromUtf8("Take 1 at 20\u00B0");
    r.m_rate = 5000;
    r.m_reserved1 = 7;
    r.m_firstFrame = -250;
    r.m_exposureNs = 20000;
    r.m_framesPerBatch = 100;
    r.m_reserved2 = -1;
    r.m_batchOffset = 3;
    r.m_cycle = 9;
    for (int i = 0; i < CCfgFileInfo::kFurtherWords; ++i)
        r.m_further[i] = 11 + i;
    r.m_rateHz = 4999.5;
    r.m_hasTimeStamp = 1;
    r.m_year = 2024;
    r.m_month = 2;
    r.m_day = 29;
    r.m_msOfDay = 45296789;
    r.m_refFrame = -250;
    return r;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

bool SameRecord(const CCfgFileInfo& a, const CCfgFileInfo& b) {
    return a.m_name == b.m_name && a.m_rate == b.m_rate && a.m_reserved1 == b.m_reserved1 &&
           a.m_firstFrame == b.m_firstFrame && a.m_exposureNs == b.m_exposureNs &&
           a.m_framesPerBatch == b.m_framesPerBatch && a.m_reserved2 == b.m_reserved2 &&
           a.m_batchOffset == b.m_batchOffset && a.m_cycle == b.m_cycle &&
           std::equal(a.m_further, a.m_further + 5, b.m_further) && a.m_rateHz == b.m_rateHz &&
           a.m_hasTimeStamp == b.m_hasTimeStamp && a.m_year == b.m_year && a.m_month == b.m_month &&
           a.m_day == b.m_day && a.m_msOfDay == b.m_msOfDay && a.m_refFrame == b.m_refFrame;
}

QByteArray SampleBytes() {
    QByteArray expected;
    expected += char(13);
    expected += QByteArray("Take 1 at 20") + char(0xB0);  // the degree sign is one byte
    for (int v : {5000, 7, -250, 20000, 100, -1, 3, 9, 11, 12, 13, 14, 15})
        expected += Le32(v);
    expected += LeDouble(4999.5);
    for (int v : {1, 2024, 2, 29, 45296789, -250})
        expected += Le32(v);
    return expected;
}

}  // namespace

class SideFilesTest : public IsolatedTest {};

TEST_F(SideFilesTest, CfgGoldenBytesAndRoundTrip) {
    const QString path = WorkPath("take.cfg");
    const CCfgFileInfo sample = Sample();
    ASSERT_EQ(sample.Save(path), 1);
    EXPECT_EQ(ReadAll(path), SampleBytes());
    EXPECT_FALSE(QFile::exists(path + ".saving"));

    CCfgFileInfo loaded;
    EXPECT_EQ(loaded.Load(path, nullptr, false), 1);
    EXPECT_TRUE(SameRecord(loaded, sample));

    CCfgFileInfo other;
    CCfgFileInfo into;
    ASSERT_EQ(other.Save(path, &sample), 1);  // a record passed explicitly is the one saved
    EXPECT_EQ(ReadAll(path), SampleBytes());
    EXPECT_EQ(other.Load(path, &into, false), 1);
    EXPECT_EQ(into.m_rate, 5000);
    EXPECT_EQ(other.m_rate, -1);
}

TEST_F(SideFilesTest, CfgShortAndDamagedFiles) {
    const QString path = WorkPath("take.cfg");
    const QByteArray full = SampleBytes();
    const int afterWords = 1 + 13 + 13 * 4;

    // Ends after the thirteenth word: rate and time stamp keep their initial values.
    WriteAll(path, full.left(afterWords));
    CCfgFileInfo shortRecord;
    EXPECT_EQ(shortRecord.Load(path, nullptr, false), 1);
    EXPECT_EQ(shortRecord.m_exposureNs, 20000);
    EXPECT_EQ(shortRecord.m_further[4], 15);
    EXPECT_EQ(shortRecord.m_rateHz, -1.0);
    EXPECT_EQ(shortRecord.m_year, 0);

    // Damage: a cut word, a cut double, a cut time stamp, a name longer than the file.
    QByteArray hugeName = full;
    hugeName[0] = char(0xFF);
    hugeName.insert(1, QByteArray("\xF0\xFF", 2));
    const QByteArray damaged[] = {full.left(afterWords - 2), full.left(afterWords + 5),
                                  full.left(full.size() - 4), hugeName, QByteArray()};
    for (const QByteArray& bytes : damaged) {
        WriteAll(path, bytes);
        CCfgFileInfo record = Sample();
        record.m_exposureNs = 1;
        record.m_rate = 1;
        EXPECT_EQ(record.Load(path, nullptr, false), 0) << bytes.size();
        EXPECT_EQ(record.m_rate, 1) << "nothing half-loaded";
        EXPECT_EQ(record.m_exposureNs, 1);
    }
}

TEST_F(SideFilesTest, CfgSaveFailures) {
    const CCfgFileInfo sample = Sample();
    Prompter().ExpectMessageBox("Could not save configuration file.", IDOK);
    Prompter().ExpectMessageBox("Could not save configuration file.", IDOK);
    EXPECT_EQ(sample.Save(WorkPath("missing/take.cfg")), 0);
    // The target name is taken by a folder: the temporary file is written but cannot replace it.
    ASSERT_TRUE(QDir(WorkDir()).mkpath("busy.cfg/inside"));
    EXPECT_EQ(sample.Save(WorkPath("busy.cfg")), 0);
    EXPECT_FALSE(QFile::exists(WorkPath("busy.cfg.saving")));
    ASSERT_EQ(Prompter().Prompts().size(), 2u);
    EXPECT_EQ(Prompter().Prompts()[1].type, MB_ICONEXCLAMATION);
}

TEST_F(SideFilesTest, AcquisitionIniFile) {
    struct Case {
        const char* text;
        int result;
        int rate;
        int exposure;
        int first;
    };
    const Case cases[] = {
        {"[Acquisition]\nRate=500\n", 1, 500, 1, -1},
        {"[Acquisition]\r\nRate = 2000\r\nExposureNs=\"50000\"\r\nStartIdx=120\r\n", 1, 2000, 50000,
         -120},
        {"[other]\nRate=9\n[ACQUISITION]\nrate=250\nstartidx=-5\n", 1, 250, 1, 5},
        {"[Acquisition]\nRate=500\nStartIdx=\n", 0, 500, 1, 77},  // values read before stay
        {"[Acquisition]\nRate=\n", 0, -1, -1, 77},
        {"; comment\n[Acquisition]\n;Rate=3\nRate=12abc\nExposureNs=99999999999\n", 1, 12,
         2147483647, -1},
        {"", 1, 1, 1, -1},
    };
    for (const auto& c : cases) {
        const QString path = WorkPath("_config.xsv");
        WriteAll(path, c.text);
        CCfgFileInfo record;
        record.m_firstFrame = 77;
        EXPECT_EQ(ReadAcquisitionIniFile(path, &record), c.result) << c.text;
        EXPECT_EQ(record.m_rate, c.rate) << c.text;
        EXPECT_EQ(record.m_exposureNs, c.exposure) << c.text;
        EXPECT_EQ(record.m_firstFrame, c.first) << c.text;
    }
    CCfgFileInfo record;
    EXPECT_EQ(ReadAcquisitionIniFile(WorkPath("none.xsv"), &record), 0);
}

TEST_F(SideFilesTest, AlternativesInOrder) {
    const QString cfg = WorkPath("take.cfg");
    // A configuration file without exposure does not count: the alternatives are tried.
    CCfgFileInfo noExposure = Sample();
    noExposure.m_exposureNs = -1;
    ASSERT_EQ(noExposure.Save(cfg), 1);

    WriteAll(WorkPath("_config.xsv"), "[Acquisition]\nRate=500\n");
    CCfgFileInfo fromIni;
    EXPECT_EQ(fromIni.Load(cfg), 1);
    EXPECT_EQ(fromIni.m_rate, 500);
    EXPECT_EQ(fromIni.m_name, "") << "the failed .cfg load left nothing behind";

    WriteAll(WorkPath("take.cih"),
             "#Camera header\nRecord Rate(fps) : 2000\nShutter Speed(s) : 1/4000\n"
             "Start Frame : -100\n");
    CCfgFileInfo fromCih;
    EXPECT_EQ(fromCih.Load(cfg), 1);
    EXPECT_EQ(fromCih.m_rate, 2000);
    EXPECT_EQ(fromCih.m_exposureNs, 250000);
    EXPECT_EQ(fromCih.m_firstFrame, -100);

    {
        CFile file(WorkPath("take.evt"), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        CEvtInfo info;
        info.m_rate = 1000;
        info.m_exposureNs = 900;
        info.m_firstFrame = -3;
        info.Serialize(ar);
        ar.Close();
    }
    CCfgFileInfo fromEvt;
    EXPECT_EQ(fromEvt.Load(cfg), 1);
    EXPECT_EQ(fromEvt.m_rate, 1000);
    EXPECT_EQ(fromEvt.m_firstFrame, -3);

    CCfgFileInfo noAlternatives;
    EXPECT_EQ(noAlternatives.Load(cfg, nullptr, false), 0);
}

TEST_F(SideFilesTest, TolerantSideFileReaders) {
    // Bad or hostile .evt and .cih content never fails loudly: the reader answers 0.
    WriteAll(WorkPath("a.evt"), QByteArray("\x01\x02", 2));
    WriteAll(WorkPath("a.cih"), "Record Rate(fps) : lots\nShutter Speed(s) : 1/0\n");
    WriteAll(WorkPath("b.cih"), "Record Rate : 99999999999\n");
    WriteAll(WorkPath("c.cih"), "Record Rate(fps) : 500\nShutter Speed(us) : 20\n");
    CCfgFileInfo record;
    EXPECT_EQ(ReadEventFile(WorkPath("a.evt"), &record), 0);
    EXPECT_EQ(ReadEventFile(WorkPath("none.evt"), &record), 0);
    EXPECT_EQ(ReadCameraHeaderFile(WorkPath("a.cih"), &record, true), 0);
    EXPECT_EQ(ReadCameraHeaderFile(WorkPath("b.cih"), &record, true), 0);
    EXPECT_EQ(record.m_rate, -1);
    EXPECT_EQ(ReadCameraHeaderFile(WorkPath("c.cih"), &record, true), 1);
    EXPECT_EQ(record.m_exposureNs, 20000);
    EXPECT_TRUE(Prompter().Prompts().empty()) << "quiet readers say nothing";

    // Not quiet: both failures are reported under the program's name.
    Prompter().ExpectMessageBox("Could not open file for reading.", IDOK);
    Prompter().ExpectMessageBox("Nothing read from file, possibly badly formatted.", IDOK);
    EXPECT_EQ(ReadCameraHeaderFile(WorkPath("none.cih"), &record, false), 0);
    EXPECT_EQ(ReadCameraHeaderFile(WorkPath("a.cih"), &record, false), 0);
    ASSERT_EQ(Prompter().Prompts().size(), 2u);
    EXPECT_EQ(Prompter().Prompts()[0].caption, AfxGetAppTitle());
}
