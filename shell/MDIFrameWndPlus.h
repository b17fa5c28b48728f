#pragma once

// CMDIFrameWndPlus: the MDI tab frame with a walk over the MDI child frames from the top of
// the Z order, for the finders that look for windows of a kind.

#include "shell/MDITabFrameWnd.h"

class CMDIChildWnd;

class CMDIFrameWndPlus : public CMDITabFrameWnd {
    DECLARE_DYNAMIC(CMDIFrameWndPlus)

public:
    // The child frame after the one returned last (the topmost when the walk starts), or
    // null at the end, after which the next call starts again from the top. A walk whose
    // last child has gone meanwhile ends.
    CMDIChildWnd* GetNextMDIChild();
    // The number of child frames; the walk starts again from the top afterwards.
    int GetMDIChildCount();

private:
    HWND m_hChildCursor = nullptr;
};
