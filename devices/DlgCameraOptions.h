#pragma once

// CDlgCameraOptions: the settings sheet of a camera document, bound to the device the document
// shows. Loading a file gives the device the file's values; saving first takes the device's
// present values, so the file holds what the camera does now.

#include "devices/DlgDeviceOptions.h"

class CDeviceLink;

class CDlgCameraOptions : public CDlgDeviceOptions {
    DECLARE_DYNAMIC(CDlgCameraOptions)

public:
    explicit CDlgCameraOptions(CWnd* pParentWnd = nullptr);

    // The link stays the caller's and must outlive the binding (null unbinds). Binding gives the
    // device the values of a file loaded while unbound, then takes the device's identity and
    // present values into the pages.
    void Bind(CDeviceLink* link);
    CDeviceLink* GetLink() const { return m_link; }

    // 0 when the file could be opened; missing or short pages keep what they had. The values
    // read are given to the bound device (or to the device bound next).
    HRESULT Load(const QString& path);
    // 0 when the file was written (temporary file, then renamed over path).
    HRESULT Save(const QString& path);
    // The edit pages' values become the live ones (after an edit dialog).
    void Commit();
    // Takes the bound device's identity and values into the value pages.
    void ReadFromDevice();
    // Gives the bound device the value pages' values.
    void ApplyToDevice();

private:
    CDeviceLink* m_link = nullptr;
    bool m_applyOnBind = false;
};
