#pragma once

// CExcelDispatchSet: the workbook of one tracking export: the tracking sheet (title,
// recording and calibration blocks, the column heads of every track point) and the data block
// under it, handed to the user when the export is done.

#include "platform/excel/ExcelWorkbook.h"

#include <QString>

class CExcelDispatchSet {
public:
    // The data rows start on this sheet row.
    static constexpr int kFirstDataRow = 25;

    struct SheetTexts {
        QString templatePath;
        QString date;
        QString time;
        QString fileName;
        QString calibrationValue;
        QString calibrationText;
        QString unitsText;
        QString tilt;
    };

    // Fills sheet 1 of a new workbook; false when the sheet could not be made.
    bool FillTrackingSheet(const SheetTexts& texts, int points);
    // Puts rows x columns numbers (row after row) at column A from firstRow on, or "<No Data>"
    // in A<firstRow> when there are no rows.
    bool WriteDataBlock(int sheet, const double* table, int rows, int columns, int firstRow);
    bool PutArrayIntoRange(int sheet, const QString& first, const QString& last,
                           const double* table, int rows, int columns);
    int GetSheet() const { return m_sheet; }
    const CExcelWorkbook& GetWorkbook() const { return m_book; }

private:
    CExcelWorkbook m_book;
    int m_sheet = 0;
};
