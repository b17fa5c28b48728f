#pragma once

// CDeviceMemory: the play groups' way to the memory of the open devices: a camera's latest
// recording as the device hands it out, a data card's memory copied into a new data set.

#include "groups/IDeviceMemory.h"

class CDevice;

class CDeviceMemory : public IDeviceMemory {
public:
    bool FindDevice(const CDeviceId& id, int* handle, QString* name) override;
    CFrameSourcePtr GetLatestRecording(const CDeviceId& id) override;
    CSharedRef<CSensorDataSet> CopyMemory(const CDeviceId& id) override;

    // The one the program installs.
    static CDeviceMemory& Instance();
};
