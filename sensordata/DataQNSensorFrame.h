#pragma once

// CDataQNSensorFrame: the plain window frame of a live sensor window of the second family, a
// window of its own in the main window.

#include "platform/framework/MDIChildWnd.h"

class CDataQNSensorFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CDataQNSensorFrame)
};
