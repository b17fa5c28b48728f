#pragma once

// CFrameSourceAdapter: the trackers' way into a recording's frame source: it moves the source to
// a frame and hands that frame over as a bitmap.
//
// Moves tell no frame-change listener: during a run the views follow the run's finished frames,
// not every tracker's read. The frame last read is kept, so the trackers of a feature set that
// read the same frame one after another cost one decode.

#include "tracking/ITrackerFrameSource.h"

#include "frames/Dib.h"
#include "frames/FrameImage.h"
#include "frames/FrameSourcePtr.h"

#include <QString>

class CFrameSourceAdapter : public ITrackerFrameSource {
public:
    // Shares source (an empty holder: every move fails).
    explicit CFrameSourceAdapter(const CFrameSourcePtr& source) : m_source(source) {}

    // False outside the open recording's frames or when the frame cannot be read.
    bool GoToFrame(int index) override;
    // 8-bit frames come as their pixel values under a grey colour table (the trackers work on
    // the values), all others as 24-bit bitmaps. Null when the last move failed.
    const CDib* GetFrame() override;

private:
    // Copies the frame image into the bitmap, reusing it while size and depth stay.
    bool ConvertFrame();

    CFrameSourcePtr m_source;
    CFrameImage m_image;
    CDib m_dib;
    int m_frame = -1;  // the frame m_dib holds, -1 after a failed move
    QString m_framePath;
};
