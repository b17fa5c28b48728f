#include "platform/excel/ExcelWorkbook.h"

#include "platform/excel/ExcelCellName.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cmath>
#include <cstdio>

namespace {

bool ValidSheetName(const QString& name) {
    if (name.isEmpty() || name.size() > 31 || name.startsWith('\'') || name.endsWith('\''))
        return false;
    for (QChar c : name) {
        if (QStringLiteral("[]:*?/\\").contains(c))
            return false;
    }
    return true;
}

}  // namespace

CExcelWorkbook::CExcelWorkbook() = default;
CExcelWorkbook::~CExcelWorkbook() = default;

int CExcelWorkbook::AddSheet(const QString& name) {
    const QString chosen =
        name.isEmpty() ? QStringLiteral("Sheet%1").arg(m_sheets.size() + 1) : name;
    if (!ValidSheetName(chosen))
        return 0;
    for (const auto& sheet : m_sheets) {
        if (sheet->name.compare(chosen, Qt::CaseInsensitive) == 0)
            return 0;
    }
    auto sheet = std::make_unique<Sheet>();
    sheet->name = chosen;
    m_sheets.push_back(std::move(sheet));
    return GetSheetCount();
}

QString CExcelWorkbook::GetSheetName(int sheet) const {
    if (sheet < 1 || sheet > GetSheetCount())
        return QString();
    return m_sheets[sheet - 1]->name;
}

CExcelWorkbook::Sheet* CExcelWorkbook::Find(int sheet) {
    if (sheet < 1 || sheet > GetSheetCount())
        return nullptr;
    return m_sheets[sheet - 1].get();
}

bool CExcelWorkbook::ParseRange(const QString& first, const QString& last, Range* out) {
    int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    if (!ParseExcelCellName(first, &c1, &r1) || !ParseExcelCellName(last, &c2, &r2))
        return false;
    *out = {std::min(r1, r2) - 1, std::min(c1, c2) - 1, std::max(r1, r2) - 1, std::max(c1, c2) - 1};
    return true;
}

bool CExcelWorkbook::SetText(int sheet, const QString& cell, const QString& text) {
    Sheet* target = Find(sheet);
    int column = 0, row = 0;
    if (!target || !ParseExcelCellName(cell, &column, &row))
        return false;
    target->cells[{row - 1, column - 1}] = text;
    return true;
}

bool CExcelWorkbook::SetNumber(int sheet, const QString& cell, double value) {
    Sheet* target = Find(sheet);
    int column = 0, row = 0;
    if (!target || !ParseExcelCellName(cell, &column, &row))
        return false;
    target->cells[{row - 1, column - 1}] = value;
    return true;
}

bool CExcelWorkbook::Format(int sheet, const QString& first, const QString& last,
                            const std::function<void(CExcelFormat&)>& change) {
    Sheet* target = Find(sheet);
    Range range;
    if (!target || !ParseRange(first, last, &range))
        return false;
    for (int r = range.firstRow; r <= range.lastRow; ++r) {
        for (int c = range.firstColumn; c <= range.lastColumn; ++c)
            change(target->formats[{r, c}]);
    }
    return true;
}

bool CExcelWorkbook::SetBold(int sheet, const QString& first, const QString& last, bool bold) {
    return Format(sheet, first, last, [bold](CExcelFormat& f) { f.bold = bold; });
}

bool CExcelWorkbook::SetFontSize(int sheet, const QString& first, const QString& last,
                                 double size) {
    if (!(size > 0 && size <= 409))
        return false;
    return Format(sheet, first, last, [size](CExcelFormat& f) { f.size = size; });
}

bool CExcelWorkbook::SetNumberFormat(int sheet, const QString& first, const QString& last,
                                     const QString& format) {
    return Format(sheet, first, last, [&format](CExcelFormat& f) { f.numberFormat = format; });
}

bool CExcelWorkbook::SetDoubleBottomBorder(int sheet, const QString& first, const QString& last) {
    return Format(sheet, first, last, [](CExcelFormat& f) { f.doubleBottomBorder = true; });
}

bool CExcelWorkbook::Merge(int sheet, const QString& first, const QString& last) {
    Sheet* target = Find(sheet);
    Range range;
    if (!target || !ParseRange(first, last, &range))
        return false;
    if (range.firstRow == range.lastRow && range.firstColumn == range.lastColumn)
        return false;
    for (const Range& other : target->merges) {
        const bool apart = range.lastRow < other.firstRow || other.lastRow < range.firstRow ||
                           range.lastColumn < other.firstColumn ||
                           other.lastColumn < range.firstColumn;
        if (!apart)
            return false;
    }
    target->merges.push_back(range);
    return true;
}

bool CExcelWorkbook::PutBlock(int sheet, const QString& first, const QString& last,
                              const double* values, int rows, int columns) {
    Sheet* target = Find(sheet);
    Range range;
    if (!target || !values || rows < 1 || columns < 1 || !ParseRange(first, last, &range))
        return false;
    if (range.lastRow - range.firstRow + 1 != rows ||
        range.lastColumn - range.firstColumn + 1 != columns)
        return false;
    Block block{range, std::vector<double>(values, values + static_cast<size_t>(rows) * columns)};
    // Single cells written before under the block give way to it.
    for (auto it = target->cells.lower_bound({range.firstRow, 0});
         it != target->cells.end() && it->first.first <= range.lastRow;) {
        const int c = it->first.second;
        if (c >= range.firstColumn && c <= range.lastColumn)
            it = target->cells.erase(it);
        else
            ++it;
    }
    target->blocks.push_back(std::move(block));
    return true;
}

// One save: the library's workbook and the formats made for it.
struct CExcelWorkbook::Writer {
    lxw_workbook* book = nullptr;
    std::vector<std::pair<CExcelFormat, lxw_format*>> formats;

    lxw_format* FormatOf(const Sheet& sheet, int row, int column) {
        const auto found = sheet.formats.find({row, column});
        if (found == sheet.formats.end() || found->second == CExcelFormat())
            return nullptr;
        for (const auto& [format, made] : formats) {
            if (format == found->second)
                return made;
        }
        lxw_format* made = workbook_add_format(book);
        const CExcelFormat& f = found->second;
        if (f.bold)
            format_set_bold(made);
        if (f.size > 0)
            format_set_font_size(made, f.size);
        if (f.doubleBottomBorder)
            format_set_bottom(made, LXW_BORDER_DOUBLE);
        if (!f.numberFormat.isEmpty())
            format_set_num_format(made, f.numberFormat.toUtf8().constData());
        formats.emplace_back(f, made);
        return made;
    }

    static lxw_error Number(lxw_worksheet* ws, int row, int column, double value,
                            lxw_format* format) {
        // The file format has no place for an infinity or a NaN: such a cell stays empty.
        if (!std::isfinite(value))
            return worksheet_write_blank(ws, row, column, format);
        return worksheet_write_number(ws, row, column, value, format);
    }

    lxw_error WriteSheet(const Sheet& sheet) {
        lxw_worksheet* ws = workbook_add_worksheet(book, sheet.name.toUtf8().constData());
        if (!ws)
            return LXW_ERROR_MEMORY_MALLOC_FAILED;
        lxw_error result = LXW_NO_ERROR;
        const auto keep = [&result](lxw_error e) {
            if (result == LXW_NO_ERROR && e != LXW_NO_ERROR)
                result = e;
        };
        for (const Range& m : sheet.merges)
            keep(worksheet_merge_range(ws, m.firstRow, m.firstColumn, m.lastRow, m.lastColumn, "",
                                       FormatOf(sheet, m.firstRow, m.firstColumn)));
        for (const Block& b : sheet.blocks) {
            const int columns = b.range.lastColumn - b.range.firstColumn + 1;
            for (int r = b.range.firstRow; r <= b.range.lastRow; ++r) {
                for (int c = b.range.firstColumn; c <= b.range.lastColumn; ++c) {
                    const double v = b.values[static_cast<size_t>(r - b.range.firstRow) * columns +
                                              (c - b.range.firstColumn)];
                    keep(Number(ws, r, c, v, FormatOf(sheet, r, c)));
                }
            }
        }
        for (const auto& [at, value] : sheet.cells) {
            lxw_format* format = FormatOf(sheet, at.first, at.second);
            if (const auto* text = std::get_if<QString>(&value)) {
                const QByteArray utf8 = text->toUtf8();
                keep(utf8.isEmpty() ? worksheet_write_blank(ws, at.first, at.second, format)
                                    : worksheet_write_string(ws, at.first, at.second,
                                                             utf8.constData(), format));
            } else {
                keep(Number(ws, at.first, at.second, std::get<double>(value), format));
            }
        }
        // Formats of cells that hold nothing yet still show (a border under an empty cell).
        for (const auto& [at, format] : sheet.formats) {
            if (sheet.cells.count(at))
                continue;
            bool inBlock = false;
            for (const Block& b : sheet.blocks)
                inBlock = inBlock ||
                          (at.first >= b.range.firstRow && at.first <= b.range.lastRow &&
                           at.second >= b.range.firstColumn && at.second <= b.range.lastColumn);
            bool inMerge = false;
            for (const Range& m : sheet.merges)
                inMerge = inMerge || (at.first >= m.firstRow && at.first <= m.lastRow &&
                                      at.second >= m.firstColumn && at.second <= m.lastColumn);
            if (!inBlock && !inMerge && !(format == CExcelFormat()))
                keep(worksheet_write_blank(ws, at.first, at.second,
                                           FormatOf(sheet, at.first, at.second)));
        }
        return result;
    }
};

bool CExcelWorkbook::Save(const QString& path, QString* error) const {
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QFileInfo target(path);
    if (target.fileName().isEmpty() || target.isDir())
        return fail(QStringLiteral("The workbook path names no file."));
    if (m_sheets.empty())
        return fail(QStringLiteral("The workbook has no sheet."));
    QString temporary;
    {
        QTemporaryFile reserve(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
        reserve.setAutoRemove(false);
        if (!reserve.open())
            return fail(
                QStringLiteral("Cannot write in the folder %1.").arg(target.absolutePath()));
        temporary = reserve.fileName();
    }
    Writer writer;
    writer.book = workbook_new(QFile::encodeName(temporary).constData());
    if (!writer.book) {
        QFile::remove(temporary);
        return fail(QStringLiteral("Cannot create the workbook file."));
    }
    lxw_error result = LXW_NO_ERROR;
    for (const auto& sheet : m_sheets) {
        result = writer.WriteSheet(*sheet);
        if (result != LXW_NO_ERROR)
            break;
    }
    const lxw_error closed = workbook_close(writer.book);
    if (result == LXW_NO_ERROR)
        result = closed;
    if (result != LXW_NO_ERROR) {
        QFile::remove(temporary);
        return fail(QString::fromUtf8(lxw_strerror(result)));
    }
    const QFileDevice::Permissions permissions =
        target.exists() ? QFile::permissions(path)
                        : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(temporary, permissions);
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temporary);
        return fail(QStringLiteral("Cannot replace %1.").arg(path));
    }
    return true;
}
