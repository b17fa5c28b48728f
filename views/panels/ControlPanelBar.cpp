#include "views/panels/ControlPanelBar.h"

#include "platform/framework/Dialog.h"
#include "platform/framework/FrameWnd.h"

IMPLEMENT_DYNAMIC(CControlPanelBar, CDialogBar)

BEGIN_MESSAGE_MAP(CControlPanelBar, CDialogBar)
ON_NOTIFY(TCN_SELCHANGE, kControlPanelTabId, OnTabSelChange)
END_MESSAGE_MAP()

void CControlPanelBar::ShowTabPage(int tab, int page) {
    for (size_t t = 0; t < m_pages.size(); ++t) {
        for (size_t p = 0; p < m_pages[t].size(); ++p) {
            CDialog* dialog = m_pages[t][p];
            if (!dialog || !dialog->GetSafeHwnd())
                continue;
            if (static_cast<int>(t) == tab && static_cast<int>(p) == page) {
                dialog->SetWindowPos(nullptr, kControlPanelPageX, kControlPanelPageY, 0, 0,
                                     SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
            } else {
                dialog->ShowWindow(SW_HIDE);
            }
        }
    }
}

void CControlPanelBar::AttachTabControl(BOOL show) {
    if (!m_tabCtrl.GetSafeHwnd())
        m_tabCtrl.SubclassDlgItem(kControlPanelTabId, this);
    if (show && m_tabCtrl.GetSafeHwnd())
        m_tabCtrl.ShowWindow(SW_SHOW);
}

int CControlPanelBar::AddPage(CDialog* page, const QString& text, int colourCode) {
    if (!m_tabCtrl.GetSafeHwnd())
        return -1;
    const int tab = m_tabCtrl.InsertItem(m_tabCtrl.GetItemCount(), text);
    if (tab < 0)
        return -1;
    if (m_colourCodes.size() <= static_cast<size_t>(tab))
        m_colourCodes.resize(static_cast<size_t>(tab) + 1, -1);
    m_colourCodes[static_cast<size_t>(tab)] = colourCode;
    OnTabAdded(tab);
    SetTabPage(page, tab, 0);
    return tab;
}

void CControlPanelBar::SetTabPage(CDialog* page, int tab, int index) {
    if (tab < 0 || index < 0)
        return;
    const auto t = static_cast<size_t>(tab);
    const auto i = static_cast<size_t>(index);
    if (m_pages.size() <= t)
        m_pages.resize(t + 1);
    if (m_pages[t].size() <= i)
        m_pages[t].resize(i + 1, nullptr);
    m_pages[t][i] = page;
    if (m_currentPages.size() <= t)
        m_currentPages.resize(t + 1, 0);
    m_currentPages[t] = index;
}

void CControlPanelBar::SetCurrentPage(int tab, int index) {
    if (tab < 0 || tab >= GetTabCount())
        return;
    if (m_currentPages.size() <= static_cast<size_t>(tab))
        m_currentPages.resize(static_cast<size_t>(tab) + 1, 0);
    m_currentPages[static_cast<size_t>(tab)] = index;
    if (GetCurTab() == tab)
        SelectTab(tab, index);
}

int CControlPanelBar::GetCurTab() const {
    return m_tabCtrl.GetSafeHwnd() ? m_tabCtrl.GetCurSel() : -1;
}

void CControlPanelBar::SelectTab(int tab, int page) {
    if (m_tabCtrl.GetSafeHwnd())
        m_tabCtrl.SetCurSel(tab);
    ShowTabPage(tab, page);
}

BOOL CControlPanelBar::SelectTabByName(const QString& name) {
    if (!m_tabCtrl.GetSafeHwnd())
        return TRUE;
    const int count = m_tabCtrl.GetItemCount();
    for (int tab = 0; tab < count; ++tab) {
        if (m_tabCtrl.GetItemText(tab).left(255) == name) {
            if (tab != 0)
                SelectTab(tab, 0);
            break;
        }
    }
    return TRUE;
}

CDialog* CControlPanelBar::GetTabPage(int tab, int page) const {
    if (tab < 0 || tab >= GetTabCount() || page < 0)
        return nullptr;
    const auto& pages = m_pages[static_cast<size_t>(tab)];
    return static_cast<size_t>(page) < pages.size() ? pages[static_cast<size_t>(page)] : nullptr;
}

int CControlPanelBar::GetCurrentPage(int tab) const {
    if (tab < 0 || static_cast<size_t>(tab) >= m_currentPages.size())
        return 0;
    return m_currentPages[static_cast<size_t>(tab)];
}

int CControlPanelBar::GetTabColourCode(int tab) const {
    if (tab < 0 || static_cast<size_t>(tab) >= m_colourCodes.size())
        return -1;
    return m_colourCodes[static_cast<size_t>(tab)];
}

void CControlPanelBar::OnTabSelChange(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    const int tab = GetCurTab();
    ShowTabPage(tab, GetCurrentPage(tab));
    CWnd* target = GetDockingFrame();
    if (!target)
        target = GetParent();
    if (target)
        target->PostMessage(kControlPanelTabChanged, static_cast<WPARAM>(tab), 0);
}
