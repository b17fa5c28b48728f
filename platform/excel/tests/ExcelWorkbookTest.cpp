#include "platform/excel/ExcelCellName.h"
#include "platform/excel/ExcelWorkbook.h"
#include "platform/excel/tests/XlsxReader.h"
#include "testsupport/IsolatedTest.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class ExcelWorkbookTest : public IsolatedTest {};

TEST(ExcelCellNameTest, ColumnsAndCellsRoundTrip) {
    const struct {
        int column;
        const char* name;
    } cases[] = {{1, "A"},   {26, "Z"},   {27, "AA"},   {28, "AB"},    {52, "AZ"},
                 {53, "BA"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ExcelColumnName(c.column), c.name);
        int column = 0, row = 0;
        ASSERT_TRUE(ParseExcelCellName(ExcelCellName(c.column, 25), &column, &row)) << c.name;
        EXPECT_EQ(column, c.column);
        EXPECT_EQ(row, 25);
    }
    EXPECT_EQ(ExcelColumnName(0), "");
    for (const char* bad : {"", "A", "7", "A0", "A-1", "1A", "XFE1", "A1048577", "A 1", "A1B"})
        EXPECT_FALSE(ParseExcelCellName(bad, nullptr, nullptr)) << bad;
}

TEST_F(ExcelWorkbookTest, WritesCellsFormatsMergesBlocksAndSheets) {
    CExcelWorkbook book;
    ASSERT_EQ(book.AddSheet("Data 1"), 1);
    ASSERT_EQ(book.AddSheet("Data 2"), 2);
    EXPECT_EQ(book.AddSheet("data 1"), 0);  // the spreadsheet ignores case in sheet names
    EXPECT_EQ(book.AddSheet("a/b"), 0);
    EXPECT_FALSE(book.SetText(3, "A1", "no sheet"));
    EXPECT_FALSE(book.SetText(1, "1A", "no cell"));

    // Formats set before and after the value both hold.
    ASSERT_TRUE(book.SetBold(1, "A1", "A1", true));
    ASSERT_TRUE(book.SetText(1, "A1", "Heading"));
    ASSERT_TRUE(book.SetFontSize(1, "A1", "A1", 16));
    ASSERT_TRUE(book.Merge(1, "A1", "J1"));
    EXPECT_FALSE(book.Merge(1, "C1", "D2"));  // overlaps A1:J1
    ASSERT_TRUE(book.SetText(1, "B10", "12:30:00.000001"));
    ASSERT_TRUE(book.SetNumberFormat(1, "B10", "B10", "h:mm:ss AM/PM"));
    ASSERT_TRUE(book.SetDoubleBottomBorder(1, "A7", "J7"));
    ASSERT_TRUE(book.SetNumber(1, "C3", 2.5));
    const double block[] = {1, 2, 3, -4.25, std::numeric_limits<double>::infinity(), 6};
    EXPECT_FALSE(book.PutBlock(2, "A5", "C5", block, 2, 3));  // the range is not 2 x 3
    ASSERT_TRUE(book.PutBlock(2, "A5", "C6", block, 2, 3));
    ASSERT_TRUE(book.SetText(2, "Z1",
                             QString::fromUtf8("Gr\xc3\xbc\xc3\x9f"
                                               "e <&>")));

    QString error;
    const QString path = WorkPath("book.xlsx");
    ASSERT_TRUE(book.Save(path, &error)) << error.toStdString();

    XlsxReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_EQ(reader.SheetNames(), QStringList({"Data 1", "Data 2"}));
    auto one = reader.Cells(1);
    EXPECT_EQ(one["A1"].value, "Heading");
    EXPECT_TRUE(one["A1"].bold);
    EXPECT_EQ(one["A1"].size, 16);
    EXPECT_EQ(reader.Merges(1), QStringList({"A1:J1"}));
    EXPECT_EQ(one["B10"].numberFormat, "h:mm:ss AM/PM");
    for (const char* cell : {"A7", "E7", "J7"})
        EXPECT_EQ(one[cell].bottomBorder, "double") << cell;
    EXPECT_EQ(one["A8"].bottomBorder, "");
    EXPECT_EQ(one["C3"].value.toDouble(), 2.5);
    EXPECT_FALSE(one["C3"].isText);
    auto two = reader.Cells(2);
    EXPECT_EQ(two["A5"].value, "1");
    EXPECT_EQ(two["A6"].value.toDouble(), -4.25);
    EXPECT_EQ(two["B6"].value, "");  // an infinity has no place in the file
    EXPECT_EQ(two["C6"].value, "6");
    EXPECT_EQ(two["Z1"].value, QString::fromUtf8("Gr\xc3\xbc\xc3\x9f"
                                                 "e <&>"));
    // Nothing but the workbook is left in the folder.
    EXPECT_EQ(QDir(WorkDir()).entryList(QDir::Files | QDir::Hidden), QStringList({"book.xlsx"}));
}

TEST_F(ExcelWorkbookTest, FailedSaveLeavesTheTargetAlone) {
    CExcelWorkbook empty;
    QString error;
    EXPECT_FALSE(empty.Save(WorkPath("none.xlsx"), &error));
    EXPECT_FALSE(error.isEmpty());

    CExcelWorkbook book;
    ASSERT_EQ(book.AddSheet(), 1);
    EXPECT_EQ(book.GetSheetName(1), "Sheet1");
    error.clear();
    EXPECT_FALSE(book.Save(WorkPath("missing/book.xlsx"), &error));
    EXPECT_FALSE(error.isEmpty());

    // Replacing a file the user named keeps its old content until the new one is complete.
    QFile old(WorkPath("old.xlsx"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    ASSERT_TRUE(book.SetText(1, "A1", "new"));
    ASSERT_TRUE(book.Save(old.fileName(), &error));
    XlsxReader reader;
    ASSERT_TRUE(reader.Open(old.fileName()));
    EXPECT_EQ(reader.Cells(1)["A1"].value, "new");
}

}  // namespace
