#include "sensordata/PageHostDlg.h"

#include <QWidget>

IMPLEMENT_DYNAMIC(CPageHostDlg, CDialog)

CPageHostDlg::CPageHostDlg(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

CPageHostDlg::~CPageHostDlg() = default;

CDialog* CPageHostDlg::AddPage(UINT nIDTemplate) {
    auto page = std::make_unique<CDialog>(nIDTemplate, this);
    if (!GetSafeHwnd() || !page->Create(nIDTemplate, this))
        return nullptr;
    page->ShowWindow(SW_HIDE);
    m_pages.push_back(std::move(page));
    return m_pages.back().get();
}

void CPageHostDlg::ShowPage(CDialog* page) {
    if (page && !page->GetSafeHwnd())
        page = nullptr;
    if (m_pCurrentPage && m_pCurrentPage != page && m_pCurrentPage->GetSafeHwnd())
        m_pCurrentPage->ShowWindow(SW_HIDE);
    m_pCurrentPage = page;
    if (!page || !GetSafeHwnd())
        return;
    CRect pageRect;
    page->GetWindowRect(&pageRect);
    SetWindowPos(nullptr, 0, 0, pageRect.Width(), pageRect.Height(), SWP_NOMOVE | SWP_NOZORDER);
    page->MoveWindow(0, 0, pageRect.Width(), pageRect.Height());
    // The host's own controls with a page control's id go where that control is; the page's
    // nested dialogs keep theirs.
    for (QWidget* child : page->GetQWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        CWnd* control = CWnd::FromWidgetPermanent(child);
        const int id = control ? control->GetDlgCtrlID() : 0;
        if (!control || id <= 0 || dynamic_cast<CDialog*>(control))
            continue;
        CWnd* own = GetDlgItem(id);
        if (!own || own == control || own->GetParent() != this)
            continue;
        CRect rect;
        control->GetWindowRect(&rect);
        ScreenToClient(&rect);
        own->MoveWindow(rect);
    }
    page->ShowWindow(SW_SHOW);
}

CDialog* CPageHostDlg::GetCurrentPage() const {
    return m_pCurrentPage && m_pCurrentPage->GetSafeHwnd() ? m_pCurrentPage : nullptr;
}

int CPageHostDlg::GetCurrentPageIndex() const {
    const CDialog* current = GetCurrentPage();
    if (!current)
        return -1;
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i]->GetSafeHwnd() == current->GetSafeHwnd())
            return static_cast<int>(i);
    }
    return -1;
}

CDialog* CPageHostDlg::GetPage(int index) const {
    if (index < 0 || index >= static_cast<int>(m_pages.size()))
        return nullptr;
    return m_pages[static_cast<size_t>(index)].get();
}
