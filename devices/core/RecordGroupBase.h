#pragma once

// CRecordGroupBase: the devices a record group drives together, by handle, in group order (the
// first is the master). As a device manager it also hands devices out by handle.

#include "devices/core/DeviceManager.h"

#include <vector>

class CRecordGroupBase : public CDeviceManager {
public:
    // Appends the device; a handle already in the group keeps its place. Its position.
    virtual int AddDevice(int handle);
    // Takes the device out of the group: 0, or 1 when it was not in it.
    virtual int RemoveDevice(int handle);

    int GetDeviceCount() const { return static_cast<int>(m_handles.size()); }
    // -1 outside the group.
    int GetDeviceHandle(int index) const;
    // The open device at that position; null outside the group or when it has been closed.
    CDevice* GetDeviceAt(int index);
    // The position of the device in the group, -1 when it is not in it.
    int FindDevice(int handle) const;
    int GetLastAddedHandle() const { return m_lastAdded; }

private:
    std::vector<int> m_handles;
    int m_lastAdded = -1;
};
