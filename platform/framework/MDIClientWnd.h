#pragma once

// CMDIClientWnd: the window object of an MDI frame's client area (a QMdiArea). It answers the
// MDI messages sent to the client: WM_MDIACTIVATE (wParam: the child frame's handle) brings
// that child forward, WM_MDIDESTROY closes it. A derived client object (see
// CMDIFrameWnd::SubclassMDIClient) hears of every child frame made and destroyed.

#include "platform/framework/Wnd.h"

class CMDIChildWnd;
class CMDIFrameWnd;

class CMDIClientWnd : public CWnd {
    DECLARE_DYNAMIC(CMDIClientWnd)
    DECLARE_MESSAGE_MAP()

public:
    explicit CMDIClientWnd(CMDIFrameWnd* frame) : m_frame(frame) {}

    // The child's window was made in the client (its views exist).
    virtual void OnMDIChildCreated(CMDIChildWnd* pChild);
    // The child's window is about to go; called before the child's own WM_DESTROY handling.
    virtual void OnMDIChildDestroying(CMDIChildWnd* pChild);

protected:
    LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnMDIDestroy(WPARAM wParam, LPARAM lParam);

private:
    CMDIFrameWnd* m_frame;
};
