#pragma once

// CMDIClientBackground: the main frame's MDI client object. It hands every MDI child frame
// made or destroyed to the tab bar and tiles the background bitmap over the client; without
// the bitmap the client keeps its default background.

#include "platform/framework/MDIClientWnd.h"

#include <QImage>

class CTabBar;

class CMDIClientBackground : public CMDIClientWnd {
    DECLARE_DYNAMIC(CMDIClientBackground)

public:
    static constexpr UINT kBackgroundBitmapId = 347;

    // Loads the background bitmap; pTabBar (not owned) may be null.
    CMDIClientBackground(CMDIFrameWnd* frame, CTabBar* pTabBar);

    void OnMDIChildCreated(CMDIChildWnd* pChild) override;
    void OnMDIChildDestroying(CMDIChildWnd* pChild) override;

    // Sets the client's background once it has the client window: the bitmap tiled from the
    // top-left corner when it is at least 1 x 1.
    void ApplyBackground();
    int GetBackgroundWidth() const { return m_width; }
    int GetBackgroundHeight() const { return m_height; }

private:
    CTabBar* m_pTabBar;
    QImage m_background;
    int m_width = 0;
    int m_height = 0;
};
