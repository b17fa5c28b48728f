#pragma once

// CPlaceholderFrame: the child frame of a window kind whose subsystem is not built yet.

#include "platform/framework/MDIChildWnd.h"

class CPlaceholderFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CPlaceholderFrame)
};
