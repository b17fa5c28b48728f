#include "tracking/AnalysisExport.h"

#include "platform/excel/tests/XlsxReader.h"
#include "testsupport/IsolatedTest.h"
#include "tracking/AnalysisSettings.h"
#include "tracking/IRecordingInfoSource.h"
#include "tracking/TrackFeatureSet.h"
#include "tracking/tests/FakeRecording.h"

#include <QDesktopServices>
#include <QFile>
#include <QObject>
#include <QUrl>

#include <clocale>
#include <string>

namespace {

constexpr int kFrames = 5;
constexpr int kTrigger = 2;

class FakeRecording : public CFakeRecording, public IRecordingInfoSource {
public:
    FakeRecording() : CFakeRecording(640, 480, kFrames) {}
    int GetTriggerFrameIndex() override { return kTrigger; }
    double GetFrameRate() override { return rate; }
    QString GetFileName() override { return QStringLiteral("/data/run_0001.raw"); }

    double rate = 1000.0;
};

// Takes the files the export hands to the desktop instead of starting a program.
class OpenedFiles : public QObject {
    Q_OBJECT
public:
    OpenedFiles() { QDesktopServices::setUrlHandler("file", this, "Open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler("file"); }
    QStringList paths;
public slots:
    void Open(const QUrl& url) { paths << url.toLocalFile(); }
};

class AnalysisExportTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        Prepare(2);
        exporter.SetRecordingInfo(&recording);
        exporter.SetFeatureSet(&set);
        exporter.SetSettings(&settings);
        exporter.SetNow([] { return QDateTime(QDate(2007, 3, 9), QTime(14, 5, 9, 123)); });
    }

    void Prepare(int features) {
        set.SetFrameSource(&recording);
        set.SetPositionSource(&recording);
        set.SetFeatureLimits(20, 1);
        set.SetFeatureCountForRecording(features);
        set.GetIndexValues().SetAt(CTrackFeatureSet::kToolKey, 1);
        set.SetToolEnabled(true);
        set.SetAutoNextFeature(false);
        set.SetWrapFeatures(false);
    }

    void SetPoint(int frame, int feature, double x, double y) {
        recording.current = frame;
        recording.pickX = x;
        recording.pickY = y;
        set.SetSelectedFeature(feature, false);
        ASSERT_EQ(set.SetFeatureHere(), S_OK);
    }

    // Frame 0 (number -2) holds both features, frame 1 none, frame 3 only the first and
    // frame 4 only the second.
    void TrackSomeFrames() {
        SetPoint(0, 0, 10.0, 5.0);
        SetPoint(0, 1, 20.5, 7.5);
        SetPoint(3, 0, 30.0, 9.0);
        SetPoint(4, 1, 1.2, 3.4);
    }

    QByteArray ExportText() {
        ScriptedPrompter& prompter = Prompter();
        prompter.AnswerFileDialog({WorkPath("out.txt")});
        EXPECT_EQ(exporter.Export(CAnalysisExport::kTextFile, -1, false, false), S_OK);
        QFile file(WorkPath("out.txt"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    FakeRecording recording;
    CTrackFeatureSet set;
    CAnalysisSettings settings;
    CAnalysisExport exporter;
    OpenedFiles opened;
};

const char kGolden[] =
    "# Date         : 2007-03-09\n"
    "# Time         : 14:05:09.123000\n"
    "# File Name    : /data/run_0001.raw\n"
    "#\n"
    "# Calibration  : 1 Pixel / Pixel\n"
    "# Tilt         : 0\n"
    "# Units        : Pixels\n"
    "#\n"
    "#\n"
    "#   Frame   Time            Point 1                         Point 2                       \n"
    "#                           x               y               x               y             \n"
    "       -2, -2.000000e-03,  1.000000e+01,  5.000000e+00,  2.050000e+01,  7.500000e+00\n"
    "        1,  1.000000e-03,  3.000000e+01,  9.000000e+00,  0.000000e+00,  0.000000e+00\n"
    "        2,  2.000000e-03,  0.000000e+00,  0.000000e+00,  1.200000e+00,  3.400000e+00\n";

TEST_F(AnalysisExportTest, TextExportMatchesTheGoldenFileInAnyLocale) {
    TrackSomeFrames();
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        const std::string old = std::setlocale(LC_ALL, nullptr);
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr)
            << locale << " is missing; test.sh generates it";
        const QByteArray text = ExportText();
        std::setlocale(LC_ALL, old.c_str());
        EXPECT_EQ(text.toStdString(), std::string(kGolden)) << locale;
    }
    const auto& prompts = Prompter().FilePrompts();
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_FALSE(prompts[0].open);
    EXPECT_EQ(prompts[0].title, "Export Analysis to Text File");
    EXPECT_EQ(prompts[0].fileName, "run.txt");
    EXPECT_EQ(prompts[0].filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||");
    EXPECT_EQ(opened.paths, QStringList({WorkPath("out.txt"), WorkPath("out.txt")}));
}

TEST_F(AnalysisExportTest, EmptySetsWriteTheHeaderAloneAndFailuresAreSaid) {
    // No frame holds tracking data: the header and column heads only.
    QByteArray text = ExportText();
    EXPECT_TRUE(text.endsWith("y             \n"));
    EXPECT_EQ(text.count('\n'), 11);

    // A cancelled dialog writes nothing; a folder that is not there is said.
    Prompter().AnswerFileDialog({});
    EXPECT_EQ(exporter.Export(CAnalysisExport::kTextFile, -1, false, false), S_OK);
    Prompter().AnswerFileDialog({WorkPath("missing/out.txt")});
    Prompter().ExpectMessageBox("Could not create export file.", IDOK);
    EXPECT_EQ(exporter.Export(CAnalysisExport::kTextFile, -1, false, false), S_OK);
    EXPECT_EQ(opened.paths.size(), 1);

    CAnalysisExport bare;
    EXPECT_EQ(bare.Export(CAnalysisExport::kTextFile, -1, false, false), E_FAIL);
}

TEST_F(AnalysisExportTest, RateNotAboveZeroCountsOneFramePerSecond) {
    TrackSomeFrames();
    for (double rate : {0.0, -5.0}) {
        recording.rate = rate;
        const QByteArray text = ExportText();
        EXPECT_TRUE(text.contains("       -2, -2.000000e+00, ")) << rate;
        EXPECT_TRUE(text.contains("        2,  2.000000e+00, ")) << rate;
    }
}

TEST_F(AnalysisExportTest, CalibratedExportUsesTheCoordinateSystemAndUnits) {
    // Origin (10, 20), x axis to the right, y flipped; 100 pixels are 10 mm.
    CCalibrationData c;
    c.SetType(1);
    c.SetOrigin(10, 20);
    c.SetPositiveX(110, 20);
    c.SetCoordNature(1);
    c.SetDistance(10);
    c.SetUnits(3);
    c.SetFirstPoint(0, 0);
    c.SetSecondPoint(100, 0);
    ASSERT_EQ(settings.SetCalibration(&c), S_OK);
    SetPoint(2, 0, 60.0, 45.0);  // (50, 25) from the origin, 25 below it

    const struct {
        int units;
        bool apply, convert;
        double x, y;
        const char* unitsText;
    } cases[] = {
        {4, true, true, 0.5, -0.25, "Centimeter"},
        {3, true, false, 50.0, -25.0, "Millimeter"},
        {3, false, true, 6.0, 4.5, "Millimeter"},
        {-1, false, false, 60.0, 45.0, "Pixels"},
    };
    for (const auto& k : cases) {
        std::vector<double> table;
        int rows = 0, columns = 0;
        ASSERT_EQ(exporter.GetCalculator().GetTable(kTrigger, 100.0, {k.apply, k.convert, k.units},
                                                    &table, &rows, &columns),
                  S_OK);
        ASSERT_EQ(rows, 1);
        ASSERT_EQ(columns, 6);
        EXPECT_EQ(table[0], 0);
        EXPECT_EQ(table[1], 0);
        EXPECT_NEAR(table[2], k.x, 1e-9) << k.units;
        EXPECT_NEAR(table[3], k.y, 1e-9) << k.units;
        EXPECT_EQ(table[4], 0);  // the second feature has no point there
        const CAnalysisExport::Header header = exporter.MakeHeader(k.units, k.apply);
        EXPECT_EQ(header.calibrationValue, "10.000000");
        EXPECT_EQ(header.calibrationText, "Pixels / Millimeter");
        EXPECT_EQ(header.unitsText, k.unitsText);
        EXPECT_EQ(header.tilt, k.apply ? "0.000000" : "0");
    }
}

TEST(FileTimeTextTest, PadsDateClockAndMicroseconds) {
    // 2007-03-09 04:05:06 UTC plus 7 microseconds and 3 hundred-nanosecond ticks.
    const uint64_t seconds = 1173413106ull;
    FILETIME t = FILETIME::FromTicks(kFileTimeUnixEpoch + seconds * 10000000ull + 73);
    QString date, clock;
    FileTimeText(t, &date, &clock);
    EXPECT_EQ(date, "2007-03-09");
    EXPECT_EQ(clock, "04:05:06.000007");
}

// The tracking sheet as the spreadsheet reads it back.
class TrackingSheetTest : public AnalysisExportTest {
protected:
    std::map<QString, XlsxCell> ExportSheet(int features, bool track, XlsxReader* reader) {
        set.SetFeatureCountForRecording(features);
        if (track) {
            for (int i = 0; i < features; ++i)
                SetPoint(3, i, 10.0 + i, 100.0 - i);
        }
        Prompter().AnswerFileDialog({WorkPath("sheet.xlsx")});
        EXPECT_EQ(exporter.Export(CAnalysisExport::kWorkbook, -1, false, false), S_OK);
        EXPECT_TRUE(reader->Open(WorkPath("sheet.xlsx")));
        return reader->Cells(1);
    }
};

TEST_F(TrackingSheetTest, HeadingsBlocksAndThirteenPoints) {
    XlsxReader reader;
    auto cells = ExportSheet(13, true, &reader);
    const struct {
        const char* cell;
        const char* text;
        bool bold;
        bool ruled;
    } heads[] = {{"A1", "Motion Analysis Data Sheet", true, false},
                 {"A7", "Test Data", true, true},
                 {"A13", "Calibration", true, true},
                 {"A21", "Tracking Data", true, true}};
    for (const auto& h : heads) {
        EXPECT_EQ(cells[h.cell].value, h.text);
        EXPECT_EQ(cells[h.cell].bold, h.bold) << h.cell;
        EXPECT_EQ(cells[h.cell].bottomBorder, h.ruled ? "double" : "") << h.cell;
    }
    EXPECT_EQ(cells["A1"].size, 16);
    EXPECT_EQ(cells["J21"].bottomBorder, "double");
    const QStringList merges = reader.Merges(1);
    for (const char* range :
         {"A1:J1", "A7:J7", "A13:J13", "A21:J21", "C23:D23", "Y23:Z23", "AA23:AB23"})
        EXPECT_TRUE(merges.contains(range)) << range;
    EXPECT_EQ(merges.size(), 4 + 13);
    const struct {
        const char* cell;
        const char* text;
    } texts[] = {{"A9", "Date:"},
                 {"B9", "2007-03-09"},
                 {"A10", "Time:"},
                 {"B10", "14:05:09.123000"},
                 {"A11", "File Name:"},
                 {"B11", "/data/run_0001.raw"},
                 {"A15", "Calibration:"},
                 {"B15", "1"},
                 {"C15", "Pixel / Pixel"},
                 {"A16", "Tilt:"},
                 {"B16", "0"},
                 {"C16", "Degrees"},
                 {"A17", "Export Units:"},
                 {"B17", "Pixels"},
                 {"A23", "Frame"},
                 {"B23", "Time"},
                 {"C23", "Track Point 1"},
                 {"Y23", "Track Point 12"},
                 {"AA23", "Track Point 13"},
                 {"AA24", "x"},
                 {"AB24", "y"}};
    for (const auto& t : texts)
        EXPECT_EQ(cells[t.cell].value, t.text) << t.cell;
    EXPECT_EQ(cells["B10"].numberFormat, "h:mm:ss AM/PM");
    // One data row: frame 3 is number 1 at 1 ms, then every point.
    EXPECT_EQ(cells["A25"].value.toDouble(), 1);
    EXPECT_EQ(cells["B25"].value.toDouble(), 0.001);
    EXPECT_EQ(cells["C25"].value.toDouble(), 10.0);
    EXPECT_EQ(cells["D25"].value.toDouble(), 100.0);
    EXPECT_EQ(cells["AA25"].value.toDouble(), 22.0);
    EXPECT_EQ(cells["AB25"].value.toDouble(), 88.0);
    EXPECT_FALSE(cells["AB25"].isText);
    EXPECT_FALSE(cells.count("AC25"));
    EXPECT_FALSE(cells.count("A26"));
    EXPECT_EQ(opened.paths, QStringList({WorkPath("sheet.xlsx")}));
    const auto& prompts = Prompter().FilePrompts();
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].fileName, "run.xlsx");
}

TEST_F(TrackingSheetTest, TwelvePointsEndAtColumnZ) {
    XlsxReader reader;
    auto cells = ExportSheet(12, true, &reader);
    EXPECT_EQ(cells["Z25"].value.toDouble(), 89.0);
    EXPECT_FALSE(cells.count("AA25"));
    EXPECT_FALSE(cells.count("AA23"));
}

TEST_F(TrackingSheetTest, NoTrackedFrameSaysNoData) {
    XlsxReader reader;
    auto cells = ExportSheet(2, false, &reader);
    EXPECT_EQ(cells["A25"].value, "<No Data>");
    EXPECT_EQ(cells["E23"].value, "Track Point 2");
}

TEST_F(TrackingSheetTest, TemplateIsReplacedByANewWorkbookAndSaidSo) {
    Prompter().AnswerFileDialog({WorkPath("template.xlt")});
    Prompter().ExpectMessageBox(
        "The template workbook cannot be read here; the tracking sheet "
        "is written to a new workbook instead.",
        IDOK);
    Prompter().AnswerFileDialog({WorkPath("from-template.xlsx")});
    EXPECT_EQ(exporter.Export(CAnalysisExport::kWorkbookFromTemplate, -1, false, false), S_OK);
    XlsxReader reader;
    ASSERT_TRUE(reader.Open(WorkPath("from-template.xlsx")));
    EXPECT_EQ(reader.Cells(1)["A1"].value, "Motion Analysis Data Sheet");
    const auto& prompts = Prompter().FilePrompts();
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_TRUE(prompts[0].open);
    EXPECT_EQ(prompts[0].title, "Select Excel File to Use As Template");
    EXPECT_EQ(prompts[0].filter, "Excel Files (*.xls;*.xlt;*.xlw)|*.xls;*.xlt;*.xlw||");

    // A cancelled template dialog takes a new workbook without a word; a cancelled save
    // writes nothing.
    Prompter().AnswerFileDialog({});
    Prompter().AnswerFileDialog({});
    EXPECT_EQ(exporter.Export(CAnalysisExport::kWorkbookFromTemplate, -1, false, false), S_OK);
    EXPECT_EQ(opened.paths, QStringList({WorkPath("from-template.xlsx")}));
}

}  // namespace

#include "AnalysisExportTest.moc"
