#pragma once

// CChildFrame: the plain child frame of a "DT:Orig" document.

#include "platform/framework/MDIChildWnd.h"

class CChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CChildFrame)
};
