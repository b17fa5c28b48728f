#pragma once

// ITrackFrameSource: what a feature set needs of the recording it belongs to: the image size,
// the frame count, the current frame, moving to a frame, the display settings the frame is
// shown with, and the trackers' own way into the frames.

#include "platform/wintypes/WinError.h"

class CLutParamSet;
class ITrackerFrameSource;

class ITrackFrameSource {
public:
    virtual HRESULT GetSize(int* width, int* height) = 0;
    virtual HRESULT GetFrameCount(int* count) = 0;
    virtual HRESULT GetCurrentFrame(int* frame) = 0;
    // Shows the frame in the recording's view.
    virtual HRESULT GoToFrame(int frame) = 0;
    // The colour and grey display settings of the view.
    virtual HRESULT GetDisplaySettings(CLutParamSet* colour, CLutParamSet* grey) = 0;
    virtual HRESULT ApplyDisplaySettings(const CLutParamSet& colour, const CLutParamSet& grey) = 0;
    // Borrowed; null when the recording cannot be read for tracking.
    virtual ITrackerFrameSource* GetTrackerSource() = 0;

protected:
    ~ITrackFrameSource() = default;
};

// ITrackFeatureHost: the play group's side of a feature set: told when the user's feature
// selection moves.
class ITrackFeatureHost {
public:
    virtual void OnFeatureSelected(int feature) = 0;

protected:
    ~ITrackFeatureHost() = default;
};
