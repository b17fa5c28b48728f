#include "platform/framework/MDIClientWnd.h"

#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/MDIFrameWnd.h"

IMPLEMENT_DYNAMIC(CMDIClientWnd, CWnd)

BEGIN_MESSAGE_MAP(CMDIClientWnd, CWnd)
ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivate)
ON_MESSAGE(WM_MDIDESTROY, OnMDIDestroy)
END_MESSAGE_MAP()

void CMDIClientWnd::OnMDIChildCreated(CMDIChildWnd*) {}

void CMDIClientWnd::OnMDIChildDestroying(CMDIChildWnd*) {}

LRESULT CMDIClientWnd::OnMDIActivate(WPARAM wParam, LPARAM) {
    if (CWnd* child = CWnd::FromHandle(reinterpret_cast<HWND>(wParam)))
        m_frame->MDIActivate(child);
    return 0;
}

LRESULT CMDIClientWnd::OnMDIDestroy(WPARAM wParam, LPARAM) {
    if (CWnd* child = CWnd::FromHandle(reinterpret_cast<HWND>(wParam)))
        child->DestroyWindow();
    return 0;
}
