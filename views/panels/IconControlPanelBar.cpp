#include "views/panels/IconControlPanelBar.h"

IMPLEMENT_DYNAMIC(CIconControlPanelBar, CControlPanelBar)

void CIconControlPanelBar::ShowTabPage(int tab, int page) {
    if (tab == 0 || tab == 1) {
        COwnerDrawButton& shown = m_tabButtons[tab];
        COwnerDrawButton& other = m_tabButtons[1 - tab];
        shown.SetCheck(1);
        shown.SetFlatFocus(TRUE);
        other.SetCheck(0);
        other.SetFlatFocus(FALSE);
    }
    CControlPanelBar::ShowTabPage(tab, page);
}

void CIconControlPanelBar::AttachTabControl(BOOL show) {
    CControlPanelBar::AttachTabControl(show);
    const struct {
        int id;
        UINT icon;
    } buttons[] = {{kFirstTabButton, kFirstTabIcon}, {kSecondTabButton, kSecondTabIcon}};
    for (int i = 0; i < 2; ++i) {
        COwnerDrawButton& button = m_tabButtons[i];
        CWnd* item = GetDlgItem(buttons[i].id);
        if (button.GetSafeHwnd() || !item)
            continue;
        // The template's button gives its place and caption to the one that draws itself.
        CRect rect;
        item->GetWindowRect(&rect);
        ScreenToClient(&rect);
        const QString caption = item->GetWindowText();
        const DWORD visible = item->GetQWidget()->isHidden() ? 0 : WS_VISIBLE;
        item->ShowWindow(SW_HIDE);
        item->SetDlgCtrlID(0);
        if (button.Create(caption, BS_AUTOCHECKBOX | visible, rect, this,
                          static_cast<UINT>(buttons[i].id)))
            button.SetIconFromResource(buttons[i].icon, 0);
    }
}
