#pragma once

// CRecordFrameAdapter: the record controller's frame-window adapter: the windows it shows,
// finds and closes are embedded in the controller beside the device windows.

#include "frames/FrameWindowAdapter.h"

class CRecordFrameAdapter : public CFrameWindowAdapter {
public:
    using CFrameWindowAdapter::CFrameWindowAdapter;
};
