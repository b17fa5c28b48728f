#pragma once

// Reads back an .xlsx file the way a test checks it: the zip entries, and for a sheet its cells
// (shared strings resolved), merged ranges and each cell's font, bottom border and number
// format from the styles part.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>

struct XlsxCell {
    QString value;  // the text, or the number as the file writes it
    bool isText = false;
    bool bold = false;
    double size = 0;
    QString bottomBorder;  // "double", "thin", ... or empty
    QString numberFormat;
};

class XlsxReader {
public:
    // False when the file is no zip archive this reader understands.
    bool Open(const QString& path);
    // Empty (and found false) for an entry that is not there.
    QByteArray Entry(const QString& name, bool* found = nullptr) const;
    // Sheet names in workbook order.
    QStringList SheetNames() const;
    // Sheet n (from 1): cells keyed by name ("B10") and merged ranges ("A1:J1").
    std::map<QString, XlsxCell> Cells(int sheet) const;
    QStringList Merges(int sheet) const;

private:
    std::map<QString, QByteArray> m_entries;
};
