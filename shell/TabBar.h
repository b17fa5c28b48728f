#pragma once

// CTabBar: the bar above the MDI client with one tab per MDI child window, in creation order.
// A tab keeps its window's handle; clicking it activates that window, and on idle the tabs
// take their windows' titles and the active window's tab is selected.

#include "platform/framework/ControlBar.h"
#include "platform/framework/TabCtrl.h"

struct NMHDR;

class CTabBar : public CControlBar {
    DECLARE_DYNAMIC(CTabBar)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTabCtrlId = 2010;

    // Makes the bar a child of the frame pParentWnd with its tab control; the frame places
    // it (see CMDITabFrameWnd).
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) override;

    // Appends a tab for an MDI child frame (its text comes with the next refresh); other
    // windows get none.
    void AddTab(HWND hWndChild);
    // Deletes the first tab of the window.
    void RemoveTab(HWND hWndChild);
    // Gives each tab its window's title and selects the active child's tab.
    void Refresh();

    CTabCtrl& GetTabCtrl() { return m_tabCtrl; }
    // The window a tab stands for, or null.
    HWND GetTabWindow(int nTab) const;

    // The full width and the height of one row of tabs with a small border.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // Refreshes while the frame is visible and not minimised.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnSelChange(NMHDR* pNMHDR, LRESULT* pResult);

private:
    int FindTab(HWND hWnd) const;
    void EnsureShown();

    CTabCtrl m_tabCtrl;
};
