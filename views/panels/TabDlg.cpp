#include "views/panels/TabDlg.h"

#include "platform/wintypes/CLocale.h"

#include <QWidget>

#include <cstdlib>

IMPLEMENT_DYNAMIC(CTabDlg, CDlgLayout)

namespace {

const QString kNotAvailable = QStringLiteral("NA");

CWnd* PageItem(CWnd* page, int nID) {
    if (!page || !page->GetSafeHwnd())
        return nullptr;
    return page->GetDlgItem(nID);
}

}  // namespace

CTabDlg::CTabDlg(UINT nIDTemplate, CWnd* pParentWnd)
    : CDlgLayout(nIDTemplate, pParentWnd), m_nPageTemplate(nIDTemplate) {}

BOOL CTabDlg::Create(CWnd* pHostWnd) {
    m_pHostWnd = pHostWnd;
    return CDialog::Create(m_nPageTemplate, pHostWnd);
}

void CTabDlg::UpdatePage() {}

void CTabDlg::PlaceInHost(int left, int right, int top, int bottom) {
    if (!m_pHostWnd || !m_pHostWnd->GetSafeHwnd() || !GetSafeHwnd())
        return;
    CRect host;
    m_pHostWnd->GetClientRect(&host);
    CRect page;
    GetClientRect(&page);
    const int d = (host.right - page.right) / 2;
    const int x = d + left;
    const int y = page.top + top;
    const int width = (host.right - d + right) - x;
    const int height = (page.bottom + bottom) - y;
    MoveWindow(x, y, width, height, TRUE);
}

void CTabDlg::CenterInHost(int left, int right, int top, int /*bottom*/) {
    if (!m_pHostWnd || !m_pHostWnd->GetSafeHwnd() || !GetSafeHwnd())
        return;
    CRect host;
    m_pHostWnd->GetClientRect(&host);
    CRect page;
    GetClientRect(&page);
    const int dx = (host.right - page.right) / 2;
    const int dy = std::abs((host.bottom - page.bottom) / 2);
    const int x = dx + left;
    const int y = dy + top;
    const int width = (host.right - dx + right) - x;
    // The page keeps its height less the top offset; taking the centring offset off it too
    // would leave a page centred by more than its own height with none.
    const int height = page.bottom - top;
    MoveWindow(x, y, width, height, TRUE);
}

void CTabDlg::SetFieldInt(CWnd* page, int nID, int value, bool valid) {
    CWnd* item = PageItem(page, nID);
    if (!item)
        return;
    const QString text = item->GetWindowText();
    if (!valid) {
        if (text != kNotAvailable)
            item->SetWindowText(kNotAvailable);
        return;
    }
    BOOL translated = FALSE;
    const int shown = static_cast<int>(page->GetDlgItemInt(nID, &translated, TRUE));
    if (translated && shown == value && !text.isEmpty())
        return;
    item->SetWindowText(QString::number(value));
}

void CTabDlg::SetFieldDouble(CWnd* page, int nID, double value, const char* format, bool valid) {
    CWnd* item = PageItem(page, nID);
    if (!item)
        return;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    const QString formatted = QFormatC(format, value);
#pragma GCC diagnostic pop
    if (formatted != item->GetWindowText())
        item->SetWindowText(valid ? formatted : kNotAvailable);
}

void CTabDlg::SetFieldTextIfChanged(CWnd* page, int nID, const QString& text, bool valid) {
    CWnd* item = PageItem(page, nID);
    if (item && text != item->GetWindowText())
        item->SetWindowText(valid ? text : kNotAvailable);
}

void CTabDlg::SetCheckIfChanged(CWnd* page, int nID, bool checked) {
    if (!PageItem(page, nID))
        return;
    if ((page->IsDlgButtonChecked(nID) != 0) != checked)
        page->CheckDlgButton(nID, checked ? 1 : 0);
}

void CTabDlg::EnableItem(CWnd* page, int nID, bool enable) {
    CWnd* item = PageItem(page, nID);
    if (item && (item->IsWindowEnabled() != FALSE) != enable)
        item->EnableWindow(enable ? TRUE : FALSE);
}

void CTabDlg::ShowItem(CWnd* page, int nID, int show) {
    CWnd* item = PageItem(page, nID);
    if (!item || !item->GetQWidget())
        return;
    // The item's own flag: a page that is itself hidden still keeps its items' states.
    const bool visible = !item->GetQWidget()->isHidden();
    if (visible != (show != 0))
        item->ShowWindow(show);
}

void CTabDlg::AddItemTip(int nID, const QString& text) {
    CWnd* item = GetSafeHwnd() ? GetDlgItem(nID) : nullptr;
    if (!item)
        return;
    if (!m_itemTips.GetSafeHwnd())
        m_itemTips.Create(this);
    m_itemTips.AddTool(item, text);
}
