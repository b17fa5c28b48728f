#include "sensordata/model/ExcelBlockWriter.h"

#include "platform/excel/ExcelCellName.h"
#include "platform/excel/ExcelWorkbook.h"

bool CExcelBlockWriter::WriteBlock(const QString& first, const QString& last, const double* values,
                                   int rows, int columns) {
    return m_book.PutBlock(m_sheet, first, last, values, rows, columns);
}

bool CExcelBlockWriter::WriteColumn(int column, int firstRow, const double* values, int count) {
    if (count <= 0 || !values)
        return m_book.SetText(m_sheet, ExcelCellName(column, firstRow), "<No Data>");
    return WriteBlock(ExcelCellName(column, firstRow), ExcelCellName(column, firstRow + count - 1),
                      values, count, 1);
}
