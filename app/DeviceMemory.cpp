#include "app/DeviceMemory.h"

#include "devices/core/Device.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sources/DeviceDataSets.h"
#include "devices/sources/DeviceFrameSources.h"
#include "sensordata/model/SensorDataSet.h"

bool CDeviceMemory::FindDevice(const CDeviceId& id, int* handle, QString* name) {
    CDevice* device = OpenDevices::FindOpenDeviceById(id);
    if (!device)
        return false;
    if (handle)
        device->GetHandle(handle);
    if (name) {
        CDeviceDescriptor descriptor;
        *name = device->GetDescriptor(&descriptor) == 0 ? descriptor.m_name : QString();
    }
    return true;
}

CFrameSourcePtr CDeviceMemory::GetLatestRecording(const CDeviceId& id) {
    return DeviceFrameSources::GetLatestRecording(OpenDevices::FindOpenDeviceById(id));
}

CSharedRef<CSensorDataSet> CDeviceMemory::CopyMemory(const CDeviceId& id) {
    return DeviceDataSets::CopyMemory(OpenDevices::FindOpenDeviceById(id));
}

CDeviceMemory& CDeviceMemory::Instance() {
    static CDeviceMemory s_memory;
    return s_memory;
}
