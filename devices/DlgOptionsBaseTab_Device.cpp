#include "devices/DlgOptionsBaseTab_Device.h"

#include "platform/framework/Archive.h"

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Device, CDlgOptionsBaseTab)

CDlgOptionsBaseTab_Device::CDlgOptionsBaseTab_Device(CWnd* pParentWnd)
    : CDlgOptionsBaseTab(0, pParentWnd) {}

void CDlgOptionsBaseTab_Device::CopyFrom(const CDlgOptionsBaseTab& page) {
    if (const auto* device = dynamic_cast<const CDlgOptionsBaseTab_Device*>(&page))
        m_descriptor = device->m_descriptor;
}

VARIANT CDlgOptionsBaseTab_Device::GetValue(const QString&, int) {
    return VARIANT{};
}

BOOL CDlgOptionsBaseTab_Device::SetValue(const QString&, const VARIANT&, int) {
    return FALSE;
}

void CDlgOptionsBaseTab_Device::Serialize(CArchive& ar) {
    CDeviceDescriptor& d = m_descriptor;
    if (ar.IsStoring()) {
        ar << kSchema << d.m_type << d.m_subtype << d.m_index << d.m_flags;
        ar << d.m_model << d.m_name << d.m_driver;
        return;
    }
    int schema = 0;
    ar >> schema;
    if (schema != kSchema)
        return;
    ar >> d.m_type >> d.m_subtype >> d.m_index >> d.m_flags;
    ar >> d.m_model >> d.m_name >> d.m_driver;
}
