#include "devices/DlgCameraOptions.h"

#include "devices/core/Device.h"
#include "devices/core/DeviceLink.h"

IMPLEMENT_DYNAMIC(CDlgCameraOptions, CDlgDeviceOptions)

CDlgCameraOptions::CDlgCameraOptions(CWnd* pParentWnd) : CDlgDeviceOptions(pParentWnd) {}

void CDlgCameraOptions::Bind(CDeviceLink* link) {
    m_link = link;
    // Values loaded before there was a device go to it now.
    if (m_applyOnBind && link && link->GetDevice()) {
        ApplyToDevice();
        m_applyOnBind = false;
    }
    ReadFromDevice();
}

HRESULT CDlgCameraOptions::Load(const QString& path) {
    const HRESULT hr = LoadFromFile(path);
    if (FAILED(hr))
        return hr;
    if (m_link && m_link->GetDevice())
        ApplyToDevice();
    else
        m_applyOnBind = true;
    return hr;
}

HRESULT CDlgCameraOptions::Save(const QString& path) {
    ReadFromDevice();
    return SaveToFile(path);
}

void CDlgCameraOptions::Commit() {
    m_deviceValue.CopyFrom(m_deviceEdit);
    m_cameraValue.CopyFrom(m_cameraEdit);
    m_acquisitionValue.CopyFrom(m_acquisitionEdit);
}

void CDlgCameraOptions::ReadFromDevice() {
    CDevice* device = m_link ? m_link->GetDevice() : nullptr;
    if (!device)
        return;
    device->GetDescriptor(&m_deviceValue.m_descriptor);
    m_cameraValue.ReadFrom(*device);
    m_acquisitionValue.ReadFrom(*device);
    m_deviceEdit.CopyFrom(m_deviceValue);
    m_cameraEdit.CopyFrom(m_cameraValue);
    m_acquisitionEdit.CopyFrom(m_acquisitionValue);
}

void CDlgCameraOptions::ApplyToDevice() {
    CDevice* device = m_link ? m_link->GetDevice() : nullptr;
    if (!device)
        return;
    m_cameraValue.ApplyTo(*device);
    m_acquisitionValue.ApplyTo(*device);
}
