#include "views/IconListCtrl.h"

#include "platform/framework/DC.h"
#include "platform/framework/GdiConstants.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/SysColor.h"
#include "platform/wintypes/WinMessages.h"
#include "views/DrawMarker.h"

#include <QPainter>
#include <QStringList>

namespace {

constexpr int kMaskedColumns = 32;
constexpr int kTextMargin = 4;

}  // namespace

int CIconListCtrl::InsertColumn(int nCol, const QString& heading, int nFormat, int nWidth) {
    const int index = CListCtrl::InsertColumn(nCol, heading, nFormat, nWidth);
    if (index >= 0)
        ++m_columns;
    return index;
}

void CIconListCtrl::SetFixedColumn(int column, bool fixed) {
    if (column < 0 || column >= kMaskedColumns)
        return;
    const uint32_t bit = 1u << column;
    m_fixedMask = fixed ? (m_fixedMask | bit) : (m_fixedMask & ~bit);
}

void CIconListCtrl::ReportMemoryError() {
    MessageBoxPrompt prompt;
    prompt.text = QStringLiteral("Memory Error");
    prompt.type = MB_OK | MB_ICONEXCLAMATION;
    AfxPrompter().MessageBox(prompt);
}

CIconListCtrl::Cell CIconListCtrl::ParseCell(const QString& text) {
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    Cell cell;
    if (words.isEmpty())
        return cell;
    struct Kind {
        const char* word;
        CellKind kind;
        int count;
    };
    const Kind kinds[] = {{"fooColor", CellKind::Color, 1},
                          {"fooShape", CellKind::Shape, 4},
                          {"fooIcon", CellKind::Icon, 3}};
    for (const Kind& k : kinds) {
        if (words[0] != QLatin1String(k.word))
            continue;
        if (words.size() < k.count + 1)
            return cell;
        std::vector<int> values;
        for (int i = 1; i <= k.count; ++i) {
            bool ok = false;
            values.push_back(words[i].toInt(&ok));
            if (!ok)
                return cell;
        }
        cell.kind = k.kind;
        cell.values = std::move(values);
        return cell;
    }
    return cell;
}

QString CIconListCtrl::FitText(const QString& text, int width,
                               const std::function<int(const QString&)>& measure) {
    if (measure(text) <= width)
        return text;
    QString kept = text;
    while (!kept.isEmpty() && measure(kept + QStringLiteral("...")) > width)
        kept.chop(1);
    return kept + QStringLiteral("...");
}

void CIconListCtrl::DrawCell(CDC* dc, const CRect& r, const QString& text) const {
    const Cell cell = ParseCell(text);
    const CPoint centre = r.CenterPoint();
    switch (cell.kind) {
        case CellKind::Color:
            dc->FillSolidRect(CRect(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2),
                              static_cast<COLORREF>(cell.values[0]));
            return;
        case CellKind::Shape: {
            const auto colour = static_cast<COLORREF>(cell.values[1]);
            DrawMarker(dc, centre.x, centre.y, GetRValue(colour), GetGValue(colour),
                       GetBValue(colour), cell.values[0], cell.values[2], cell.values[3]);
            return;
        }
        case CellKind::Icon: {
            const QImage bitmap = CResourceChain::LoadBitmap(static_cast<UINT>(cell.values[0]));
            QPainter* painter = dc->GetPainter();
            if (bitmap.isNull() || !painter)
                return;
            const int w = cell.values[1] > 0 ? cell.values[1] : bitmap.width();
            const int h = cell.values[2] > 0 ? cell.values[2] : bitmap.height();
            painter->save();
            painter->setClipRect(QRect(r.left, r.top, r.Width(), r.Height()));
            painter->drawImage(QRect(centre.x - w / 2, centre.y - h / 2, w, h), bitmap);
            painter->restore();
            return;
        }
        case CellKind::Text:
            break;
    }
    const QString shown = FitText(text, r.Width() - kTextMargin,
                                  [dc](const QString& s) { return dc->GetTextExtent(s).cx; });
    CRect place(r.left + 2, r.top, r.right - 2, r.bottom);
    dc->DrawText(shown, &place, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void CIconListCtrl::DrawItem(LPDRAWITEMSTRUCT item) {
    if (!item || !item->pDC)
        return;
    CDC* dc = item->pDC;
    const bool selected = item->itemState & ODS_SELECTED;
    dc->FillSolidRect(item->rcItem, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    dc->SetTextColor(GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    dc->SetBkMode(TRANSPARENT);
    const int row = static_cast<int>(item->itemID);
    int left = item->rcItem.left;
    for (int column = 0; column < GetColumnCount(); ++column) {
        const int width = GetColumnWidth(column);
        DrawCell(dc, CRect(left, item->rcItem.top, left + width, item->rcItem.bottom),
                 GetItemText(row, column));
        left += width;
    }
    if (item->itemState & ODS_FOCUS)
        dc->DrawFocusRect(item->rcItem);
}

BOOL CIconListCtrl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_NOTIFY && lParam) {
        const auto* header = reinterpret_cast<const NMHEADER*>(lParam);
        const UINT code = header->hdr.code;
        if ((code == HDN_BEGINTRACK || code == HDN_DIVIDERDBLCLICK) && header->iItem >= 0 &&
            header->iItem < kMaskedColumns && (m_fixedMask & (1u << header->iItem))) {
            if (pResult)
                *pResult = 1;
            return TRUE;
        }
    }
    return CListCtrl::OnWndMsg(message, wParam, lParam, pResult);
}
