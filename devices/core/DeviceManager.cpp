#include "devices/core/DeviceManager.h"

#include "devices/core/OpenDeviceList.h"

namespace {
int s_instances = 0;
}

CDeviceManager::CDeviceManager() {
    ++s_instances;
}

CDeviceManager::~CDeviceManager() {
    if (--s_instances == 0)
        OpenDevices::DestroyAll();
}

CDevice* CDeviceManager::GetDevice(int handle, int useDefault) {
    if (handle < 0 && useDefault)
        handle = OpenDevices::GetDefaultDeviceHandle();
    return OpenDevices::FindOpenDeviceByHandle(handle);
}

int CDeviceManager::GetInstanceCount() {
    return s_instances;
}
