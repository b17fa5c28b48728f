#pragma once

// CDlgDeviceInformation: "Device Information" (template 401): a device's information text in
// the read-only edit 1003.

#include "platform/framework/Dialog.h"

#include <QString>

inline constexpr UINT IDD_DEVICE_INFORMATION = 401;

class CDlgDeviceInformation : public CDialog {
    DECLARE_DYNAMIC(CDlgDeviceInformation)

public:
    static constexpr int kTextId = 1003;

    explicit CDlgDeviceInformation(CWnd* pParentWnd = nullptr);

    QString m_strText;

protected:
    BOOL OnInitDialog() override;
};
