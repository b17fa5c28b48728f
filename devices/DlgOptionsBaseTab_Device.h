#pragma once

// CDlgOptionsBaseTab_Device: the "Device" page of a device settings sheet: which device the
// settings were made for (type, subtype, index, flags) and its model, name and driver. Kept in
// the sheet's option file only; it answers no named key.

#include "devices/core/DeviceId.h"
#include "shell/DlgOptionsBaseTab.h"

class CDlgOptionsBaseTab_Device : public CDlgOptionsBaseTab {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Device)

public:
    static constexpr int kSchema = 1;

    explicit CDlgOptionsBaseTab_Device(CWnd* pParentWnd = nullptr);

    void LoadFromRegistry() override {}
    void SaveToRegistry() override {}
    void CopyFrom(const CDlgOptionsBaseTab& page) override;
    VARIANT GetValue(const QString& key, int index) override;
    BOOL SetValue(const QString& key, const VARIANT& value, int index) override;
    // The schema, the four numbers, then model, name and driver as counted strings. Loading
    // stops at a schema it does not know, keeping the fields from there on.
    void Serialize(CArchive& ar) override;

    CDeviceDescriptor m_descriptor;
};
