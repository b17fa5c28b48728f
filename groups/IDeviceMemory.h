#pragma once

// IDeviceMemory: how a play group reaches what an open device holds without knowing the device
// layer: a camera's latest recording as a frame source, a data card's memory as a data set. The
// program installs it (CMeasurementFormDoc::SetDeviceMemory); without it no device is found.

#include "devices/core/DeviceId.h"
#include "frames/FrameSourcePtr.h"
#include "frames/SharedRef.h"

#include <QString>

class CSensorDataSet;

class IDeviceMemory {
public:
    // Whether a device with that identity is open; its handle and its name (empty when the
    // device gives no descriptor) go to the outputs that are given.
    virtual bool FindDevice(const CDeviceId& id, int* handle, QString* name) = 0;
    // The frame source of the recording the camera holds, shared with the camera, which keeps
    // its memory while the source is in use. Empty for no camera or no recording.
    virtual CFrameSourcePtr GetLatestRecording(const CDeviceId& id) = 0;
    // The recording the data card holds, copied into a new data set. Empty for no card or no
    // recording.
    virtual CSharedRef<CSensorDataSet> CopyMemory(const CDeviceId& id) = 0;

protected:
    ~IDeviceMemory() = default;
};
