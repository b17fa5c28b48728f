#pragma once

// CPlayButtonIcons: gives the transport buttons of a control-panel page (2001-2005, 2009,
// 2010) their pictures in place of their captions, which stay as the buttons' tips.

class CWnd;

class CPlayButtonIcons {
public:
    // The page's buttons that exist get the icon of their command; one without an icon keeps
    // its caption.
    static void Apply(CWnd* page);
};
