#pragma once

// IControlPanelPages: a group frame whose pages can move into the control panel of the project
// that hosts it. The play-group frame implements it.

class CControlPanelBar;

class IControlPanelPages {
public:
    // Puts the frame's pages into bar; the frame keeps owning them.
    virtual void AttachToControlPanel(CControlPanelBar* bar) = 0;

protected:
    ~IControlPanelPages() = default;
};
