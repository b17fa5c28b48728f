#pragma once

// IPlayGroup (id 12): what record control and projects may ask of a play group without
// knowing its document: close its playbacks and place a device recording's window.

#include "frames/IIdUnknown.h"

class IPlayGroup {
public:
    static constexpr int kId = kIdPlayGroup;

    // Closes every playback window of the group. E_POINTER when the group is gone.
    virtual HRESULT CloseAllPlaybacks() = 0;
    // Closes the visible playbacks that show a device's latest recording. E_POINTER when the
    // group is gone.
    virtual HRESULT CloseLatestRecordingPlaybacks() = 0;
    // Restores the frame of the playback carrying deviceHandle and moves it to the rectangle
    // (z-order kept). S_OK also when no playback carries it; E_FAIL when the group is gone.
    virtual HRESULT PlaceMemberWindow(int ignored, int deviceHandle, int left, int top, int right,
                                      int bottom) = 0;

protected:
    ~IPlayGroup() = default;
};
