#pragma once

// IPlayDataGatherer: what the play-group view keeps to carry tracked points between the track
// data of its active video and that video's measurement points. The tracking layer above makes
// it through the view's factory, which the program installs.

#include "platform/wintypes/WinError.h"

class IPlayDataGatherer {
public:
    virtual ~IPlayDataGatherer() = default;
    // Moves the track points to where the measurement points of the active video now are;
    // E_FAIL when the active video has no track data.
    virtual HRESULT PushMeasurementPointsToTracks() = 0;
    // Adds a measurement point for every tracked point of the shown features; changed
    // (optional) tells whether one was added.
    virtual HRESULT PullTrackPoints(bool* changed) = 0;
};
