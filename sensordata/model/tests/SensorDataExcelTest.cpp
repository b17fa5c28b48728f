#include "sensordata/model/SensorDataExcel.h"

#include "platform/excel/ExcelWorkbook.h"
#include "platform/excel/tests/XlsxReader.h"
#include "sensordata/model/tests/SensorDataFixture.h"

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

namespace {

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

class SensorDataExcelTest : public IsolatedTest {
protected:
    OpenedFiles opened;
};

TEST_F(SensorDataExcelTest, SheetHoldsPropertiesChannelsAndScaledScans) {
    CSensorDataSet set;
    FillTwoChannels(*set.GetData());
    set.GetData()->m_factors[5] = 0.5f;
    Prompter().AnswerFileDialog({WorkPath("data.xlsx")});
    EXPECT_EQ(set.ExportToExcel("Drop test", 0), S_OK);
    ASSERT_EQ(Prompter().FilePrompts().size(), 1u);
    EXPECT_EQ(Prompter().FilePrompts()[0].fileName, "Drop test.xlsx");
    EXPECT_EQ(opened.paths, QStringList({WorkPath("data.xlsx")}));

    XlsxReader reader;
    ASSERT_TRUE(reader.Open(WorkPath("data.xlsx")));
    EXPECT_EQ(reader.SheetNames(), QStringList({"Data 1"}));
    auto cells = reader.Cells(1);
    const struct {
        const char* cell;
        const char* value;
    } expected[] = {
        {"A1", "Name:"},
        {"B1", "Drop test"},
        {"A3", "Properties"},
        {"A5", "Scan Rate:"},
        {"B5", "1000"},
        {"A6", "Scans Per Frame:"},
        {"B6", "10"},
        {"A7", "Total Scans:"},
        {"B7", "3"},
        {"A8", "Number of Channels:"},
        {"B8", "2"},
        {"A9", "Scaled:"},
        {"B9", "Yes"},
        {"A11", "Scale Factor:"},
        {"B11", "2"},
        {"C11", "0.5"},
        {"A12", "Offset:"},
        {"B12", "0.5"},
        {"A13", "Label:"},
        {"B13", "Force"},
        {"C13", "Accel"},
        {"A14", "Units:"},
        {"B14", "N"},
        {"C14", "g"},
        {"A16", "Index"},
        {"B16", "Time"},
        {"C16", "Ch. 2 (Volts)"},
        {"D16", "Ch. 5 (Volts)"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(cells[e.cell].value, e.value) << e.cell;
    EXPECT_TRUE(cells["A3"].bold);
    EXPECT_EQ(cells["J3"].bottomBorder, "double");
    EXPECT_TRUE(reader.Merges(1).contains("A3:J3"));
    // Index s - ZP, time in seconds, samples x factor + offset.
    const double rows[3][4] = {
        {-1, -0.001, 1.5, -0.5}, {0, 0, 3.0, -1.75e-4}, {1, 0.001, -3.5, 6172.839}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            const QString cell = QString(QChar('A' + c)) + QString::number(17 + r);
            EXPECT_FALSE(cells[cell].isText) << cell.toStdString();
            EXPECT_NEAR(cells[cell].value.toDouble(), rows[r][c], 1e-3) << cell.toStdString();
        }
    }
    EXPECT_FALSE(cells.count("A20"));
}

TEST_F(SensorDataExcelTest, FailedSaveIsSaidAndOpensNothing) {
    CSensorDataSet set;
    FillTwoChannels(*set.GetData());
    const QString target = WorkPath("missing/data.xlsx");
    Prompter().AnswerFileDialog({target});
    Prompter().ExpectMessageBox("Could not save the workbook " + target +
                                    ".\nCannot write in the folder " + WorkPath("missing") + ".",
                                IDOK);
    EXPECT_EQ(set.ExportToExcel("Drop test", 0), S_OK);
    EXPECT_TRUE(opened.paths.isEmpty());
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(SensorDataExcelTest, UnitsFlagAndEmptyData) {
    CVidraData data;
    FillTwoChannels(data);
    data.m_channels = {{}, {}};
    CExcelWorkbook book;
    ASSERT_TRUE(BuildSensorDataWorkbook(book, data, "empty", 1));
    ASSERT_TRUE(book.Save(WorkPath("empty.xlsx"), nullptr));
    XlsxReader reader;
    ASSERT_TRUE(reader.Open(WorkPath("empty.xlsx")));
    auto cells = reader.Cells(1);
    EXPECT_EQ(cells["C16"].value, "Ch. 2 (units)");
    for (const char* cell : {"A17", "B17", "C17", "D17"})
        EXPECT_EQ(cells[cell].value, "<No Data>") << cell;
}

TEST_F(SensorDataExcelTest, SixtyFiveThousandScansASheet) {
    CVidraData data;
    FillTwoChannels(data);
    data.m_onFlags[5] = 0;
    data.m_channels.resize(1);
    for (int scans : {kScansPerSheet - 1, kScansPerSheet, kScansPerSheet + 1}) {
        data.m_channels[0].assign(size_t(scans), 1.0f);
        data.m_nTotalScans = scans;
        // The split is announced from 65000 scans on; the cancelled save writes nothing.
        if (scans >= kScansPerSheet)
            Prompter().ExpectMessageBox(
                "Data exceeds 65000 points, export will be split across multiple sheets.", IDOK);
        Prompter().AnswerFileDialog({});
        ExportSensorDataToExcel(data, "big", 0);

        CExcelWorkbook book;
        ASSERT_TRUE(BuildSensorDataWorkbook(book, data, "big", 0));
        const int sheets = scans > kScansPerSheet ? 2 : 1;
        EXPECT_EQ(book.GetSheetCount(), sheets) << scans;
        if (scans != kScansPerSheet + 1)
            continue;
        ASSERT_TRUE(book.Save(WorkPath("big.xlsx"), nullptr));
        XlsxReader reader;
        ASSERT_TRUE(reader.Open(WorkPath("big.xlsx")));
        EXPECT_EQ(reader.SheetNames(), QStringList({"Data 1", "Data 2"}));
        auto first = reader.Cells(1);
        EXPECT_EQ(first["A65016"].value.toDouble(), kScansPerSheet - 2);  // last of sheet 1
        EXPECT_FALSE(first.count("A65017"));
        auto second = reader.Cells(2);
        EXPECT_EQ(second["B1"].value, "big");
        EXPECT_EQ(second["A17"].value.toDouble(), kScansPerSheet - 1);  // scan 65000 - ZP
        EXPECT_EQ(second["C17"].value.toDouble(), 2.5);
        EXPECT_FALSE(second.count("A18"));
    }
    EXPECT_TRUE(opened.paths.isEmpty());
}

}  // namespace

#include "SensorDataExcelTest.moc"
