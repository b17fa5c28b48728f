#pragma once

// IMovieView: what the frame-change adapter and the movie adapters ask of the video view that
// they serve. The video view implements it; this layer never sees the view's class. The names
// carry a "Movie" prefix so that they never collide with the view's own operations.

#include "frames/FrameSourcePtr.h"
#include "frames/lutparams/LutParamSet.h"

// A playback view's frame-changed callback: fn(context, current frame).
using FrameChangedFn = void (*)(void* context, int frame);

class IMovieView {
public:
    // The playback view's set-current-frame: reads and shows frame (force: even when it is
    // current already) and tells the view's listeners.
    virtual void MovieSetCurrentFrame(int frame, int force) = 0;
    // The view's own set-frame operation: moves the view to frame the way its play bar does,
    // so that whatever follows the view follows it too.
    virtual void MovieSetFrame(int frame) = 0;
    virtual int MovieGetCurrentFrame() = 0;
    // The playback view's source kind (1: a device's latest recording).
    virtual int MovieGetSourceKind() = 0;
    // A copy of the view's counted frame source (empty when it shows none).
    virtual CFrameSourcePtr MovieGetFrameSource() = 0;
    // The in and out points: the enabled flag, with the frame written when frame is not null.
    virtual int MovieGetInPoint(int* frame) = 0;
    virtual int MovieGetOutPoint(int* frame) = 0;
    // The view's two display parameter sets (grey values, then the one carrying the colour
    // mode), copied out and in; setting them shows the current frame again through them.
    virtual void MovieGetDisplayLuts(CLutParamSet* colour, CLutParamSet* bw) = 0;
    virtual void MovieSetDisplayLuts(const CLutParamSet& colour, const CLutParamSet& bw) = 0;

    // What a play group's frame-window adapter does to a new video member.
    // The video view's SetFrameSource: shows the source from now on.
    virtual void MovieSetFrameSource(const CFrameSourcePtr& source) = 0;
    // Makes the view a group member of that type (3 video) and source kind; the member index
    // and parameter stay as they are.
    virtual void MovieSetGroupMember(int memberType, int sourceKind) = 0;
    // The playback view's frame-changed callback, its notification (the callback with the
    // current frame) and its frame count.
    virtual void MovieSetFrameChangedCallback(FrameChangedFn fn, void* context) = 0;
    virtual void MovieNotifyFrameChanged() = 0;
    virtual void MovieSetFrameCount(int count) = 0;

protected:
    ~IMovieView() = default;
};
