#pragma once

// CIconListCtrl: a report list whose cells may show, instead of their text, a colour swatch
// ("fooColor <colour>"), a marker ("fooShape <shape> <colour> <half size> <pen width>") or a
// bitmap resource ("fooIcon <resource> <width> <height>"); other cells show their text, cut
// with "..." to fit. Columns whose bit is set in the fixed mask cannot be resized.

#include "platform/framework/ListCtrl.h"
#include "platform/wintypes/ColorRef.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class CIconListCtrl : public CListCtrl {
public:
    enum class CellKind { Text, Color, Shape, Icon };
    struct Cell {
        CellKind kind = CellKind::Text;
        std::vector<int> values;
    };

    // Counts the columns that were inserted.
    int InsertColumn(int nCol, const QString& heading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    int GetInsertedColumns() const { return m_columns; }
    // Columns 0 to 31 only; others are ignored.
    void SetFixedColumn(int column, bool fixed);
    // Tells the user that memory ran out.
    static void ReportMemoryError();

    // What a cell's text asks to show; malformed numbers make it plain text.
    static Cell ParseCell(const QString& text);
    // The text, or the longest start of it followed by "..." whose width fits.
    static QString FitText(const QString& text, int width,
                           const std::function<int(const QString&)>& measure);
    // Draws one cell into r.
    void DrawCell(CDC* dc, const CRect& r, const QString& text) const;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    int m_columns = 0;
    uint32_t m_fixedMask = 0;
};
