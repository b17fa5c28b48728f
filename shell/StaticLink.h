#pragma once

// CStaticLink: a static text that works as a link. Clicking it opens its target (or its own
// text when it has no target) with the desktop's handler; it is drawn underlined, blue until
// opened and purple after, with the hand cursor over it.

#include "platform/framework/Static.h"
#include "platform/wintypes/ColorRef.h"

#include <QString>

class CStaticLink : public CStatic {
    DECLARE_DYNAMIC(CStaticLink)
    DECLARE_MESSAGE_MAP()

public:
    CStaticLink() = default;

    QString m_link;     // what a click opens; empty: the window text
    QString m_message;  // shown before the link opens, when not empty

    BOOL IsVisited() const { return m_bVisited; }
    COLORREF GetTextColor() const { return m_bVisited ? m_colorVisited : m_colorUnvisited; }

    // Opens the target as a click does.
    void OnClicked();

protected:
    void PreSubclassWindow() override;
    void OnLButtonUp(UINT nFlags, CPoint point);

private:
    // Underlined font, the colour of the visited state and the hand cursor.
    void Decorate();

    COLORREF m_colorUnvisited = RGB(0, 0, 255);
    COLORREF m_colorVisited = RGB(128, 0, 128);
    BOOL m_bVisited = FALSE;
};
