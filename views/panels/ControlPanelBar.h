#pragma once

// CControlPanelBar: the docking "Generic Control Panel" bar: a dialog bar whose tab control
// (item 1004) switches between tab pages. Each tab holds one or more pages (modeless child
// dialogs: tab pages, tool palettes), one of them shown; the bar only points at its pages, their
// frame owns them. A tab change is reported to the
// bar's frame with kControlPanelTabChanged (wParam: the new tab).

#include "platform/framework/DialogBar.h"
#include "platform/framework/TabCtrl.h"

#include <QString>

#include <vector>

class CDialog;

inline constexpr UINT kControlPanelBarTemplate = 140;
inline constexpr int kControlPanelTabId = 1004;
inline constexpr UINT kControlPanelTabChanged = 1724;
// Where a shown page stands in the bar's client area.
inline constexpr int kControlPanelPageX = 24;
inline constexpr int kControlPanelPageY = 7;

class CControlPanelBar : public CDialogBar {
    DECLARE_DYNAMIC(CControlPanelBar)
    DECLARE_MESSAGE_MAP()

public:
    // Shows page (tab, page) at its place in the bar and hides every other page.
    virtual void ShowTabPage(int tab, int page);
    // Takes item 1004 as the bar's tab control and shows it when show is set.
    virtual void AttachTabControl(BOOL show);

    // Adds a tab with the text and colour code whose page 0 (and current page) is page;
    // returns the new tab's index, or -1 without a tab control.
    int AddPage(CDialog* page, const QString& text, int colourCode);
    // Files page as page index of tab, growing the table as needed, and makes it that tab's
    // current page.
    void SetTabPage(CDialog* page, int tab, int index);
    // Records the tab's current page; shown at once when the tab is the selected one.
    void SetCurrentPage(int tab, int index);
    // The selected tab, -1 without a tab control.
    int GetCurTab() const;
    void SelectTab(int tab, int page);
    // Selects the first tab named name and shows its page 0; tab 0 is left as it is. Always
    // TRUE.
    BOOL SelectTabByName(const QString& name);

    CTabCtrl& GetTabCtrl() { return m_tabCtrl; }
    int GetTabCount() const { return static_cast<int>(m_pages.size()); }
    CDialog* GetTabPage(int tab, int page) const;
    // The tab's current page, 0 for a tab beyond the recorded ones.
    int GetCurrentPage(int tab) const;
    // The colour code given with the tab, -1 for no tab.
    int GetTabColourCode(int tab) const;

protected:
    void OnTabSelChange(NMHDR* pNMHDR, LRESULT* pResult);
    // A tab was added with its colour code; the bars that draw their tabs themselves follow.
    virtual void OnTabAdded(int) {}

    CTabCtrl m_tabCtrl;
    std::vector<std::vector<CDialog*>> m_pages;
    std::vector<int> m_currentPages;
    std::vector<int> m_colourCodes;
};
