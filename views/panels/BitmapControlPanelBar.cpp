#include "views/panels/BitmapControlPanelBar.h"

#include <QColor>
#include <QTabBar>

IMPLEMENT_DYNAMIC(CBitmapControlPanelBar, CControlPanelBar)

COLORREF CBitmapControlPanelBar::TabTextColour(int colourCode) {
    switch (colourCode) {
        case 0:
            return RGB(255, 0, 0);
        case 1:
            return RGB(0, 0, 255);
        case 2:
            return RGB(0, 200, 0);
        default:
            return RGB(0, 0, 0);
    }
}

void CBitmapControlPanelBar::OnTabAdded(int tab) {
    auto* tabs = qobject_cast<QTabBar*>(m_tabCtrl.GetQWidget());
    if (!tabs)
        return;
    const COLORREF colour = TabTextColour(GetTabColourCode(tab));
    tabs->setTabTextColor(tab, QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour)));
}
