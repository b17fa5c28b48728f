#pragma once

// CIconControlPanelBar: a control panel bar with two icon buttons beside its tabs, 2028 for
// tab 0 and 1005 for tab 1, that show which of the two tabs is up: the button of the shown
// tab is checked and keeps its focus look flat.

#include "views/panels/ControlPanelBar.h"
#include "views/panels/OwnerDrawButton.h"

inline constexpr int kFirstTabButton = 2028;
inline constexpr int kSecondTabButton = 1005;
inline constexpr UINT kFirstTabIcon = 196;
inline constexpr UINT kSecondTabIcon = 197;

class CIconControlPanelBar : public CControlPanelBar {
    DECLARE_DYNAMIC(CIconControlPanelBar)

public:
    // Marks the button of tab 0 or 1, then shows the page.
    void ShowTabPage(int tab, int page) override;
    // Also puts the owner-drawn icon buttons in place of the bar's items 2028 and 1005.
    void AttachTabControl(BOOL show) override;

    // The icon button of tab 0 or 1.
    COwnerDrawButton& GetTabButton(int tab) { return m_tabButtons[tab == 0 ? 0 : 1]; }

protected:
    COwnerDrawButton m_tabButtons[2];
};
