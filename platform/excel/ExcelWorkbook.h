#pragma once

// CExcelWorkbook: a spreadsheet workbook built up in memory (sheets, text and number cells,
// blocks of numbers, fonts, number formats, double bottom borders and merged ranges) and
// written as one .xlsx file. Cells and ranges are named as the spreadsheet names them ("B10",
// "A1".."J1"); sheets are counted from 1. Formats may be set before or after a cell's value.

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <variant>
#include <vector>

struct CExcelFormat {
    bool bold = false;
    double size = 0;  // 0: the workbook's default size
    bool doubleBottomBorder = false;
    QString numberFormat;
    bool operator==(const CExcelFormat&) const = default;
};

class CExcelWorkbook {
public:
    CExcelWorkbook();
    ~CExcelWorkbook();
    CExcelWorkbook(const CExcelWorkbook&) = delete;
    CExcelWorkbook& operator=(const CExcelWorkbook&) = delete;

    // Appends a sheet and returns its number; an empty name gives "Sheet<n>". 0 for a name the
    // spreadsheet refuses (longer than 31, one of []:*?/\ or a name already used).
    int AddSheet(const QString& name = QString());
    int GetSheetCount() const { return static_cast<int>(m_sheets.size()); }
    QString GetSheetName(int sheet) const;

    // Each returns false, changing nothing, for a sheet that does not exist or a cell name that
    // is not one.
    bool SetText(int sheet, const QString& cell, const QString& text);
    bool SetNumber(int sheet, const QString& cell, double value);
    bool SetBold(int sheet, const QString& first, const QString& last, bool bold);
    bool SetFontSize(int sheet, const QString& first, const QString& last, double size);
    bool SetNumberFormat(int sheet, const QString& first, const QString& last,
                         const QString& format);
    bool SetDoubleBottomBorder(int sheet, const QString& first, const QString& last);
    // The range shows as one cell holding its first cell's value.
    bool Merge(int sheet, const QString& first, const QString& last);
    // values holds rows x columns numbers, row after row, for the range first..last, which must
    // be exactly that size.
    bool PutBlock(int sheet, const QString& first, const QString& last, const double* values,
                  int rows, int columns);

    // Writes the workbook under a temporary name beside path, then renames it to path. False,
    // with path untouched and error set, when anything fails.
    bool Save(const QString& path, QString* error) const;

private:
    struct Range {
        int firstRow, firstColumn, lastRow, lastColumn;  // from 0
    };
    struct Block {
        Range range;
        std::vector<double> values;
    };
    struct Sheet {
        QString name;
        std::map<std::pair<int, int>, std::variant<QString, double>> cells;
        std::map<std::pair<int, int>, CExcelFormat> formats;
        std::vector<Block> blocks;
        std::vector<Range> merges;
    };
    struct Writer;

    Sheet* Find(int sheet);
    static bool ParseRange(const QString& first, const QString& last, Range* out);
    bool Format(int sheet, const QString& first, const QString& last,
                const std::function<void(CExcelFormat&)>& change);

    std::vector<std::unique_ptr<Sheet>> m_sheets;
};
