#pragma once

// CExcelBlockWriter: writes rectangular blocks of numbers into one sheet of a workbook, a
// whole column of samples at a time rather than cell by cell.

#include <QString>

class CExcelWorkbook;

class CExcelBlockWriter {
public:
    // Both borrowed; sheet counts from 1.
    CExcelBlockWriter(CExcelWorkbook& book, int sheet) : m_book(book), m_sheet(sheet) {}

    // values holds rows x columns numbers, row after row, for the range first..last.
    bool WriteBlock(const QString& first, const QString& last, const double* values, int rows,
                    int columns);
    // count numbers down column (1 = A) from firstRow on; "<No Data>" in the first cell when
    // there are none.
    bool WriteColumn(int column, int firstRow, const double* values, int count);

private:
    CExcelWorkbook& m_book;
    int m_sheet;
};
