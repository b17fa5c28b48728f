#include "app/SensorSettingsSheet.h"

#include "devices/core/DeviceLink.h"
#include "platform/framework/Archive.h"

bool CSensorSettingsSheet::HasDevice() const {
    return m_sheet.GetLink() && m_sheet.GetLink()->GetDevice();
}

HRESULT CSensorSettingsSheet::Load(const QString& path) {
    return m_sheet.Load(path);
}

HRESULT CSensorSettingsSheet::Save(const QString& path) {
    return m_sheet.Save(path);
}

void CSensorSettingsSheet::Bind(CDeviceLink* link) {
    // Binding reads the device's present values into the pages: pending ones are kept aside.
    const CAcqSettings pending = m_sheet.m_acquisitionValue.m_settings;
    m_sheet.Bind(link);
    if (m_acquisitionPending && HasDevice()) {
        m_sheet.m_acquisitionValue.m_settings = pending;
        m_sheet.m_acquisitionEdit.CopyFrom(m_sheet.m_acquisitionValue);
        m_sheet.ApplyToDevice();
        m_acquisitionPending = false;
    }
}

CDeviceId CSensorSettingsSheet::GetDeviceId() const {
    return m_sheet.GetDeviceSettings();
}

void CSensorSettingsSheet::SetDeviceId(const CDeviceId& id) {
    static_cast<CDeviceId&>(m_sheet.m_deviceValue.m_descriptor) = id;
    m_sheet.m_deviceEdit.CopyFrom(m_sheet.m_deviceValue);
}

void CSensorSettingsSheet::SerializeAcquisition(CArchive& ar) {
    if (ar.IsStoring()) {
        m_sheet.ReadFromDevice();
        m_sheet.m_acquisitionValue.Serialize(ar);
        return;
    }
    m_sheet.m_acquisitionValue.Serialize(ar);
    m_sheet.m_acquisitionEdit.CopyFrom(m_sheet.m_acquisitionValue);
    if (HasDevice())
        m_sheet.ApplyToDevice();
    else
        m_acquisitionPending = true;
}
