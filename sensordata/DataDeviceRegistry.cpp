#include "sensordata/DataDeviceRegistry.h"

#include "devices/core/Device.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<CDevice*>& Devices() {
    static std::vector<CDevice*> devices;
    return devices;
}

int s_currentHandle = -1;

}  // namespace

void RegisterDataDevice(CDevice* device) {
    std::vector<CDevice*>& devices = Devices();
    if (device && std::find(devices.begin(), devices.end(), device) == devices.end())
        devices.push_back(device);
}

void UnregisterDataDevice(CDevice* device) {
    std::erase(Devices(), device);
}

int SetCurrentDataDevice(int handle) {
    const int previous = s_currentHandle;
    s_currentHandle = handle;
    return previous;
}

int GetCurrentDataDevice() {
    return s_currentHandle;
}

int FindDataDevice(int handle, CDeviceId* id) {
    const std::vector<CDevice*>& devices = Devices();
    const size_t count = devices.size();
    // The bound is checked again at every step: the array may shrink during the walk.
    for (size_t i = 0; i < count && i < devices.size(); ++i) {
        CDevice* device = devices[i];
        int deviceHandle = -1;
        if (!device || device->GetHandle(&deviceHandle) != 0 || deviceHandle != handle)
            continue;
        if (id)
            *id = device->GetId();
        return static_cast<int>(i);
    }
    if (id)
        *id = CDeviceId();
    return -1;
}

CDevice* GetDataDevice(int handle, CDeviceId* id, int* index) {
    if (handle < 0)
        handle = s_currentHandle;
    const int found = FindDataDevice(handle, id);
    if (index)
        *index = found;
    return found >= 0 ? Devices()[static_cast<size_t>(found)] : nullptr;
}

CDevice* GetDataDeviceCallback(void*, int handle) {
    return GetDataDevice(handle);
}
