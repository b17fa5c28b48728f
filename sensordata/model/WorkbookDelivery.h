#pragma once

// Hands a finished workbook to the user: asks where to save it (proposing name.xlsx), writes
// it there through a temporary file and opens it with the desktop's spreadsheet program. A
// failed save says why and opens nothing.

#include <QString>

class CExcelWorkbook;

// The saved path; empty when the user cancelled or the save failed.
QString DeliverWorkbook(const CExcelWorkbook& book, const QString& proposedName);
