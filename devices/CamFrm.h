#pragma once

// CCamFrm: the frame of a stand-alone camera window, a child of the main window.

#include "platform/framework/MDIChildWnd.h"

class CCamFrm : public CMDIChildWnd {
    DECLARE_DYNCREATE(CCamFrm)
};
