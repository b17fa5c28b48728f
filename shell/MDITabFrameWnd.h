#pragma once

// CMDITabFrameWnd: the MDI frame layer that shows the tab bar above the MDI client and takes
// over the client with its own client object, which keeps the tabs in step with the child
// windows.

#include "platform/framework/MDIFrameWnd.h"
#include "shell/MDIClientBackground.h"
#include "shell/TabBar.h"

class CMDITabFrameWnd : public CMDIFrameWnd {
    DECLARE_DYNAMIC(CMDITabFrameWnd)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTabBarId = 2009;

    CMDITabFrameWnd();

    CTabBar& GetTabBar() { return m_wndTabBar; }
    CMDIClientBackground& GetClientObject() { return m_wndMDIClient; }

protected:
    // The frame's creation, then the tab bar and the client object; a failure of either
    // fails the creation.
    int OnCreate(LPCREATESTRUCT lpCreateStruct);

private:
    // Puts the bar in a column above the MDI client, so it sits right over the child windows
    // whatever toolbars the frame docks.
    void PlaceTabBar();

    CTabBar m_wndTabBar;
    CMDIClientBackground m_wndMDIClient;
};
