#pragma once

// ITrackerFrameSource: what a tracker needs of the recording it tracks in: moving to a frame
// and the current frame as a bitmap. CFrameSourceAdapter provides it over a recording's frame
// source (whose own frames are frame images, not bitmaps).

class CDib;

class ITrackerFrameSource {
public:
    virtual ~ITrackerFrameSource() = default;

    // Moves to frame index; false when the recording has no such frame or cannot read it.
    virtual bool GoToFrame(int index) = 0;
    // The current frame, owned by the source and valid until the next move; null on failure.
    virtual const CDib* GetFrame() = 0;
};
