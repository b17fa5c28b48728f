#pragma once

// CFrameSourcePtr: the counted holder through which views, play groups, tracking and devices
// share one frame source; the last holder deletes it. The count is atomic (see CSharedRef).

#include "frames/FrameSource.h"
#include "frames/SharedRef.h"

class CFrameSourcePtr : public CSharedRef<CFrameSource> {
public:
    explicit CFrameSourcePtr(CFrameSource* source = nullptr) : CSharedRef(source) {}
    // True when this is the only holder, or nothing is held.
    bool IsUnique() const { return UseCount() <= 1; }
};
