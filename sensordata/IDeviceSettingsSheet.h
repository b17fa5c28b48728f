#pragma once

// IDeviceSettingsSheet: the settings sheet of one device as the live sensor documents keep it:
// the device's option pages, bound to the device link of the window that shows the device,
// read from and written to its settings file. The device layer's sheet stands behind it; the
// program installs the factory that makes one.

#include "devices/core/DeviceId.h"
#include "platform/wintypes/WinError.h"

#include <QString>

#include <functional>
#include <memory>

class CArchive;
class CDeviceLink;

class IDeviceSettingsSheet {
public:
    virtual ~IDeviceSettingsSheet() = default;

    // 0 when the file could be read; its values go to the bound device (or the one bound next).
    virtual HRESULT Load(const QString& path) = 0;
    // Takes the bound device's present values, then writes the file (through a temporary
    // file): 0 on success.
    virtual HRESULT Save(const QString& path) = 0;
    // The link stays the caller's and must outlive the binding (null unbinds).
    virtual void Bind(CDeviceLink* link) = 0;
    virtual CDeviceLink* GetLink() const = 0;
    // The device the settings were made for.
    virtual CDeviceId GetDeviceId() const = 0;
    virtual void SetDeviceId(const CDeviceId& id) = 0;
    // The acquisition page alone, in the sheet's own byte layout; what is loaded goes to the
    // bound device.
    virtual void SerializeAcquisition(CArchive& ar) = 0;

    using Factory = std::function<std::unique_ptr<IDeviceSettingsSheet>()>;
    static void SetFactory(Factory factory);
    // A new sheet; null until the program installed a factory.
    static std::unique_ptr<IDeviceSettingsSheet> Create();
};
