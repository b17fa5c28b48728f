#pragma once

// CMDIClientWnd: the window object of an MDI frame's client area (a QMdiArea). It answers the
// MDI messages sent to the client: WM_MDIACTIVATE (wParam: the child frame's handle) brings
// that child forward, WM_MDIDESTROY closes it.

#include "platform/framework/Wnd.h"

class CMDIFrameWnd;

class CMDIClientWnd : public CWnd {
    DECLARE_DYNAMIC(CMDIClientWnd)
    DECLARE_MESSAGE_MAP()

public:
    explicit CMDIClientWnd(CMDIFrameWnd* frame) : m_frame(frame) {}

protected:
    LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnMDIDestroy(WPARAM wParam, LPARAM lParam);

private:
    CMDIFrameWnd* m_frame;
};
