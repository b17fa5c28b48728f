#pragma once

// CDlgDeviceOptions: the settings sheet of one device, as kept in its option files: the store's
// schema, then the "Device" page, the "Camera" page and the "Acquisition" page. The same bytes make
// a camera's ".devset" and ".camset" files and the per-device defaults
// "DT<type>DST<subtype>DID<index>.devdflt" in the program folder.

#include "devices/DlgOptionsBaseTab_Acquisition.h"
#include "devices/DlgOptionsBaseTab_Camera.h"
#include "devices/DlgOptionsBaseTab_Device.h"
#include "shell/DlgOptionsBase.h"

class CDlgDeviceOptions : public CDlgOptionsBase {
    DECLARE_DYNAMIC(CDlgDeviceOptions)

public:
    explicit CDlgDeviceOptions(CWnd* pParentWnd = nullptr);

    // The defaults file name of a device (without folder): "DT%dDST%dDID%d.devdflt".
    static QString DefaultsFileName(const CDeviceId& id);
    // Loads the device's defaults file from the program folder: 0, or E_FAIL when it is
    // missing or unreadable.
    HRESULT LoadDefaultsFile(const CDeviceId& id);
    // Writes the defaults file of the device the "Device" page names.
    HRESULT SaveDefaultsFile();
    // A copy of the device settings loaded (the name is the one stored in the file).
    CDeviceDescriptor GetDeviceSettings() const { return m_deviceValue.m_descriptor; }

    CDlgOptionsBaseTab_Device m_deviceValue;
    CDlgOptionsBaseTab_Device m_deviceEdit;
    CDlgOptionsBaseTab_Camera m_cameraValue;
    CDlgOptionsBaseTab_Camera m_cameraEdit;
    CDlgOptionsBaseTab_Acquisition m_acquisitionValue;
    CDlgOptionsBaseTab_Acquisition m_acquisitionEdit;
};
