#pragma once

// IDeviceSelection: how the main window asks the user for a live camera or a video file and,
// for a camera, which device. The device layer above provides it; the application installs it.

#include "devices/core/DeviceId.h"

class IDeviceSelection {
public:
    virtual ~IDeviceSelection() = default;
    // The session type: 0 "Live Camera", 1 "Video from File", negative for Cancel.
    virtual int ChooseSession() = 0;
    // Runs the Device Selection dialog: IDOK with the chosen device in *id, else IDCANCEL.
    virtual int ChooseDevice(CDeviceId* id) = 0;

    // The installed selection (null until the application installs one).
    static IDeviceSelection* Get();
    static void Install(IDeviceSelection* selection);
};
