#pragma once

// Spreadsheet cell names: column 1 is "A", 26 "Z", 27 "AA"; a cell is its column's letters
// followed by its row number (both counted from 1).

#include <QString>

// Empty for a column below 1.
QString ExcelColumnName(int column);
QString ExcelCellName(int column, int row);
// "B10" -> column 2, row 10. False for anything else than letters followed by a row above 0.
bool ParseExcelCellName(const QString& name, int* column, int* row);
