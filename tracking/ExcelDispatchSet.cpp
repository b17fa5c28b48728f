#include "tracking/ExcelDispatchSet.h"

#include "platform/excel/ExcelCellName.h"

namespace {

QString Row(const char* column, int row) {
    return QString::fromLatin1(column) + QString::number(row);
}

}  // namespace

bool CExcelDispatchSet::FillTrackingSheet(const SheetTexts& texts, int points) {
    m_sheet = m_book.AddSheet(QStringLiteral("Sheet1"));
    if (m_sheet == 0)
        return false;
    const int s = m_sheet;
    const auto heading = [&](int row, const char* text, bool ruled) {
        m_book.SetText(s, Row("A", row), QString::fromLatin1(text));
        m_book.SetBold(s, Row("A", row), Row("A", row), true);
        m_book.Merge(s, Row("A", row), Row("J", row));
        if (ruled)
            m_book.SetDoubleBottomBorder(s, Row("A", row), Row("J", row));
    };
    heading(1, "Motion Analysis Data Sheet", false);
    m_book.SetFontSize(s, "A1", "A1", 16);
    heading(7, "Test Data", true);
    m_book.SetText(s, "A9", "Date:");
    m_book.SetText(s, "B9", texts.date);
    m_book.SetText(s, "A10", "Time:");
    m_book.SetText(s, "B10", texts.time);
    m_book.SetNumberFormat(s, "B10", "B10", "h:mm:ss AM/PM");
    m_book.SetText(s, "A11", "File Name:");
    m_book.SetText(s, "B11", texts.fileName);
    heading(13, "Calibration", true);
    m_book.SetText(s, "A15", "Calibration:");
    m_book.SetText(s, "B15", texts.calibrationValue);
    m_book.SetText(s, "C15", texts.calibrationText);
    m_book.SetText(s, "A16", "Tilt:");
    m_book.SetText(s, "B16", texts.tilt);
    m_book.SetText(s, "C16", "Degrees");
    m_book.SetText(s, "A17", "Export Units:");
    m_book.SetText(s, "B17", texts.unitsText);
    heading(21, "Tracking Data", true);
    m_book.SetText(s, "A23", "Frame");
    m_book.SetText(s, "B23", "Time");
    for (int p = 1; p <= points; ++p) {
        const int first = 2 * p + 1;  // point 1 starts at column C
        const QString head = ExcelCellName(first, 23);
        m_book.SetText(s, head, QStringLiteral("Track Point %1").arg(p));
        m_book.Merge(s, head, ExcelCellName(first + 1, 23));
        m_book.SetText(s, ExcelCellName(first, 24), "x");
        m_book.SetText(s, ExcelCellName(first + 1, 24), "y");
    }
    return true;
}

bool CExcelDispatchSet::WriteDataBlock(int sheet, const double* table, int rows, int columns,
                                       int firstRow) {
    if (rows <= 0 || columns <= 0 || !table)
        return m_book.SetText(sheet, ExcelCellName(1, firstRow), "<No Data>");
    return PutArrayIntoRange(sheet, ExcelCellName(1, firstRow),
                             ExcelCellName(columns, firstRow + rows - 1), table, rows, columns);
}

bool CExcelDispatchSet::PutArrayIntoRange(int sheet, const QString& first, const QString& last,
                                          const double* table, int rows, int columns) {
    return m_book.PutBlock(sheet, first, last, table, rows, columns);
}
