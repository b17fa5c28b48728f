#pragma once

// The process-wide list of open devices with one owner flag each. Devices enter it through the
// driver loader (or a factory of a higher layer) and leave it once: closed by index or id, or
// all together when the last device manager goes.

#include "devices/core/DeviceId.h"

class CDevice;
class QWidget;

namespace OpenDevices {

// Adds an opened device (the list takes it over): its index.
int Add(CDevice* device, int ownerFlag = 0);
int GetCount();
CDevice* GetAt(int index);
// The list index of the device with that id (handle out), -1 when it is not open.
int FindById(const CDeviceId& id, int* handle = nullptr);
// The list index of the device with that handle (id out), -1 when it is not open.
int FindByHandle(int handle, CDeviceId* id = nullptr);
CDevice* FindOpenDeviceByHandle(int handle);
CDevice* FindOpenDeviceById(const CDeviceId& id);
// Owner flags: -1 for a device that is not open; the setters return 0, or 1 when absent.
int GetOwnerFlagById(const CDeviceId& id);
int GetOwnerFlagByHandle(int handle);
int SetOwnerFlagById(const CDeviceId& id, int flag);
int SetOwnerFlagByHandle(int handle, int flag);
// The descriptor of the device at index: 0, or 1 outside the list.
int GetDescriptorAt(int index, CDeviceDescriptor* descriptor);
// Removes the device from the list and destroys it: 0, or 1 outside the list / not open.
int CloseAt(int index);
int CloseById(const CDeviceId& id);
// Destroys every open device once and empties the list.
void DestroyAll();
// The open device with that id, attached to window; null when it is not open.
CDevice* OpenDevice(const CDeviceId& id, QWidget* window);

// Default handle for links that ask with a negative handle (-1 at start): the previous one.
int SetDefaultDeviceHandle(int handle);
int GetDefaultDeviceHandle();

// Test fixtures: forgets every device without destroying it, and the default handle.
void ResetForTests();

}  // namespace OpenDevices
