#pragma once

// The process-wide data-device registry: the device parts of the open data devices, in the
// order they registered, and the current data-device handle that the live data views set while
// they are active. The sensor record page finds its device here. User-interface thread only.

class CDevice;
class CDeviceId;

// The device side registers each data device once and removes it before it goes.
void RegisterDataDevice(CDevice* device);
void UnregisterDataDevice(CDevice* device);

// Stores the handle (-1: none) and returns the previous one.
int SetCurrentDataDevice(int handle);
int GetCurrentDataDevice();
// The index of the first registered device with that handle, or -1; the out id receives its
// identity, or the default id when none matches.
int FindDataDevice(int handle, CDeviceId* id);
// The device with that handle (a negative handle: the current one), or null; the out index
// receives FindDataDevice's answer.
CDevice* GetDataDevice(int handle, CDeviceId* id = nullptr, int* index = nullptr);
// GetDataDevice with no outputs; the context is ignored. The get-device function of the sensor
// record page's callback link, which asks with -1 and so always finds the current device.
CDevice* GetDataDeviceCallback(void* context, int handle);
