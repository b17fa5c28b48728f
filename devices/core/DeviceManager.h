#pragma once

// CDeviceManager: the provider through which device links reach their devices. The instances
// are counted process-wide; when the last one goes, every open device is destroyed. The
// application keeps one for its whole run, so closing a window never takes devices with it.

class CDevice;

class CDeviceManager {
public:
    CDeviceManager();
    virtual ~CDeviceManager();
    CDeviceManager(const CDeviceManager&) = delete;
    CDeviceManager& operator=(const CDeviceManager&) = delete;

    // The open device with that handle, or null; a negative handle with useDefault asks for the
    // default device handle.
    virtual CDevice* GetDevice(int handle, int useDefault);

    static int GetInstanceCount();
};
