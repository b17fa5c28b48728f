#pragma once

// CSensorSettingsSheet: the settings sheet the live sensor documents keep: the device layer's
// settings sheet of one device (its "Device", "Camera" and "Acquisition" pages), bound to the
// link of the window that shows the device. An acquisition page read before the device is
// bound goes to the device once it is.

#include "devices/DlgCameraOptions.h"
#include "sensordata/IDeviceSettingsSheet.h"

class CSensorSettingsSheet : public IDeviceSettingsSheet {
public:
    HRESULT Load(const QString& path) override;
    HRESULT Save(const QString& path) override;
    void Bind(CDeviceLink* link) override;
    CDeviceLink* GetLink() const override { return m_sheet.GetLink(); }
    CDeviceId GetDeviceId() const override;
    void SetDeviceId(const CDeviceId& id) override;
    void SerializeAcquisition(CArchive& ar) override;

    CDlgCameraOptions& GetSheet() { return m_sheet; }

private:
    bool HasDevice() const;

    CDlgCameraOptions m_sheet;
    // Acquisition settings read while no device was bound.
    bool m_acquisitionPending = false;
};
