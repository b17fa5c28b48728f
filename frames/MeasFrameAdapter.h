#pragma once

// CMeasFrameAdapter: the play group's frame-window adapter: its windows are the group's
// members, hosted beside the group's frame.

#include "frames/FrameWindowAdapter.h"

class CMeasFrameAdapter : public CFrameWindowAdapter {
public:
    using CFrameWindowAdapter::CFrameWindowAdapter;
};
