#include "devices/core/OpenDeviceList.h"

#include "devices/core/Device.h"

#include <vector>

namespace {

struct List {
    std::vector<CDevice*> devices;
    std::vector<int> ownerFlags;
    int defaultHandle = -1;
};

List& TheList() {
    static List list;
    return list;
}

bool Valid(int index) {
    return index >= 0 && index < static_cast<int>(TheList().devices.size());
}

}  // namespace

namespace OpenDevices {

int Add(CDevice* device, int ownerFlag) {
    List& list = TheList();
    list.devices.push_back(device);
    list.ownerFlags.push_back(ownerFlag);
    return static_cast<int>(list.devices.size()) - 1;
}

int GetCount() {
    return static_cast<int>(TheList().devices.size());
}

CDevice* GetAt(int index) {
    return Valid(index) ? TheList().devices[index] : nullptr;
}

int FindById(const CDeviceId& id, int* handle) {
    const List& list = TheList();
    for (size_t i = 0; i < list.devices.size(); ++i) {
        if (list.devices[i]->GetId() == id) {
            if (handle)
                list.devices[i]->GetHandle(handle);
            return static_cast<int>(i);
        }
    }
    return -1;
}

int FindByHandle(int handle, CDeviceId* id) {
    const List& list = TheList();
    for (size_t i = 0; i < list.devices.size(); ++i) {
        int own = 0;
        list.devices[i]->GetHandle(&own);
        if (own == handle) {
            if (id)
                *id = list.devices[i]->GetId();
            return static_cast<int>(i);
        }
    }
    return -1;
}

CDevice* FindOpenDeviceByHandle(int handle) {
    return GetAt(FindByHandle(handle));
}

CDevice* FindOpenDeviceById(const CDeviceId& id) {
    return GetAt(FindById(id));
}

int GetOwnerFlagById(const CDeviceId& id) {
    const int index = FindById(id);
    return Valid(index) ? TheList().ownerFlags[index] : -1;
}

int GetOwnerFlagByHandle(int handle) {
    const int index = FindByHandle(handle);
    return Valid(index) ? TheList().ownerFlags[index] : -1;
}

int SetOwnerFlagById(const CDeviceId& id, int flag) {
    const int index = FindById(id);
    if (!Valid(index))
        return 1;
    TheList().ownerFlags[index] = flag;
    return 0;
}

int SetOwnerFlagByHandle(int handle, int flag) {
    const int index = FindByHandle(handle);
    if (!Valid(index))
        return 1;
    TheList().ownerFlags[index] = flag;
    return 0;
}

int GetDescriptorAt(int index, CDeviceDescriptor* descriptor) {
    if (!Valid(index))
        return 1;
    return TheList().devices[index]->GetDescriptor(descriptor);
}

int CloseAt(int index) {
    if (!Valid(index))
        return 1;
    List& list = TheList();
    CDevice* device = list.devices[index];
    list.devices.erase(list.devices.begin() + index);
    list.ownerFlags.erase(list.ownerFlags.begin() + index);
    device->Destroy(1);
    return 0;
}

int CloseById(const CDeviceId& id) {
    return CloseAt(FindById(id));
}

void DestroyAll() {
    List& list = TheList();
    // Taken out first, so that a device whose destruction asks the list sees it empty.
    std::vector<CDevice*> devices;
    devices.swap(list.devices);
    list.ownerFlags.clear();
    for (CDevice* device : devices)
        device->Destroy(1);
}

CDevice* OpenDevice(const CDeviceId& id, QWidget* window) {
    CDevice* device = FindOpenDeviceById(id);
    if (device)
        device->AttachWindow(window);
    return device;
}

int SetDefaultDeviceHandle(int handle) {
    const int previous = TheList().defaultHandle;
    TheList().defaultHandle = handle;
    return previous;
}

int GetDefaultDeviceHandle() {
    return TheList().defaultHandle;
}

void ResetForTests() {
    List& list = TheList();
    list.devices.clear();
    list.ownerFlags.clear();
    list.defaultHandle = -1;
}

}  // namespace OpenDevices
