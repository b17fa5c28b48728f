#include "shell/TabBar.h"

#include "platform/framework/FrameWnd.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/MDIFrameWnd.h"

#include <QWidget>

IMPLEMENT_DYNAMIC(CTabBar, CControlBar)

BEGIN_MESSAGE_MAP(CTabBar, CControlBar)
ON_WM_SIZE()
ON_NOTIFY(TCN_SELCHANGE, CTabBar::kTabCtrlId, OnSelChange)
END_MESSAGE_MAP()

namespace {

// Border lines above and below the row of tabs.
constexpr int kBorderLines = 5;

CMDIChildWnd* MDIChildOf(HWND hWnd) {
    return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(hWnd));
}

}  // namespace

BOOL CTabBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    if (!pParentWnd || !pParentWnd->IsFrameWnd())
        return FALSE;
    m_dwStyle = dwStyle & ~(WS_CHILD | WS_VISIBLE);
    if (!CWnd::Create(nullptr, QString(), (dwStyle & ~WS_VISIBLE) | WS_CHILD, CRect(0, 0, 0, 0),
                      pParentWnd, nID))
        return FALSE;
    if (!m_tabCtrl.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, kTabCtrlId)) {
        DestroyWindow();
        return FALSE;
    }
    AttachToFrame(pParentWnd);
    const CSize size = CalcFixedLayout(TRUE, TRUE);
    GetQWidget()->setFixedHeight(static_cast<int>(size.cy));
    GetQWidget()->setVisible((dwStyle & WS_VISIBLE) != 0);
    return TRUE;
}

CSize CTabBar::CalcFixedLayout(BOOL, BOOL) {
    const QWidget* tabs = m_tabCtrl.GetQWidget();
    const int rowHeight = tabs ? tabs->sizeHint().height() : 0;
    return CSize(32767, rowHeight + kBorderLines);
}

void CTabBar::OnSize(UINT, int cx, int cy) {
    if (!m_tabCtrl.GetSafeHwnd())
        return;
    m_tabCtrl.SetWindowPos(&wndTop, 0, kBorderLines / 2, cx, cy - kBorderLines, 0);
}

HWND CTabBar::GetTabWindow(int nTab) const {
    return reinterpret_cast<HWND>(m_tabCtrl.GetItemData(nTab));
}

int CTabBar::FindTab(HWND hWnd) const {
    for (int i = 0; i < m_tabCtrl.GetItemCount(); ++i) {
        if (GetTabWindow(i) == hWnd)
            return i;
    }
    return -1;
}

void CTabBar::EnsureShown() {
    if (m_pDockSite && !IsVisible())
        m_pDockSite->ShowControlBar(this, TRUE, FALSE);
}

void CTabBar::AddTab(HWND hWndChild) {
    if (!GetSafeHwnd())
        return;
    if (MDIChildOf(hWndChild)) {
        const int tab = m_tabCtrl.InsertItem(m_tabCtrl.GetItemCount(), QString());
        m_tabCtrl.SetItemData(tab, reinterpret_cast<LPARAM>(hWndChild));
    }
    EnsureShown();
}

void CTabBar::RemoveTab(HWND hWndChild) {
    if (!GetSafeHwnd())
        return;
    const int tab = FindTab(hWndChild);
    if (tab >= 0)
        m_tabCtrl.DeleteItem(tab);
    EnsureShown();
}

void CTabBar::Refresh() {
    if (!GetSafeHwnd())
        return;
    for (int i = 0; i < m_tabCtrl.GetItemCount(); ++i) {
        CMDIChildWnd* child = MDIChildOf(GetTabWindow(i));
        if (!child)
            continue;
        const QString title = child->GetWindowText();
        if (title != m_tabCtrl.GetItemText(i))
            m_tabCtrl.SetItemText(i, title);
    }
    if (auto* frame = dynamic_cast<CMDIFrameWnd*>(m_pDockSite)) {
        if (CMDIChildWnd* active = frame->MDIGetActive()) {
            const int tab = FindTab(active->GetSafeHwnd());
            if (tab >= 0 && tab != m_tabCtrl.GetCurSel())
                m_tabCtrl.SetCurSel(tab);
        }
    }
    EnsureShown();
}

void CTabBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL) {
    if (pTarget && pTarget->IsWindowVisible() && !pTarget->IsIconic())
        Refresh();
}

void CTabBar::OnSelChange(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    const HWND child = GetTabWindow(m_tabCtrl.GetCurSel());
    auto* frame = dynamic_cast<CMDIFrameWnd*>(m_pDockSite);
    if (CWnd* client = frame ? frame->GetMDIClient() : nullptr; client && child)
        client->SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child));
}
