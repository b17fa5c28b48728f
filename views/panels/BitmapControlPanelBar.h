#pragma once

// CBitmapControlPanelBar: the project frame's control panel, whose tabs write their names in
// the colour their code names: 0 red, 1 blue, 2 green, any other black.

#include "views/panels/ControlPanelBar.h"

#include "platform/wintypes/ColorRef.h"

class CBitmapControlPanelBar : public CControlPanelBar {
    DECLARE_DYNAMIC(CBitmapControlPanelBar)

public:
    static COLORREF TabTextColour(int colourCode);

protected:
    void OnTabAdded(int tab) override;
};
