#pragma once

// CDataQNPlayFrame: the plain window frame of a data playback of the second family, a window
// of its own in the main window.

#include "platform/framework/MDIChildWnd.h"

class CDataQNPlayFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CDataQNPlayFrame)
};
