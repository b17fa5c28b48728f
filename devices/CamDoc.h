#pragma once

// CCamDoc: the document of a camera window: the settings sheet of the device it shows. Its
// path is a settings file (".devset", ".camset") or a device path "deviceXXX__#type#subtype#index#"
// that names the device without a file.

#include "devices/DlgCameraOptions.h"
#include "platform/framework/Document.h"

#include <memory>

class CCamDoc : public CDocument {
    DECLARE_DYNCREATE(CCamDoc)

public:
    // The marker of a device path.
    static constexpr const char* kDeviceMarker = "deviceXXX";

    CCamDoc();
    ~CCamDoc() override;

    // Keeps the path; a device path takes its id, a file path succeeds when the sheet loads it.
    BOOL OnOpenDocument(const QString& pathName) override;
    // Commits the sheet's edit pages and saves the sheet to the path.
    BOOL OnSaveDocument(const QString& pathName) override;
    // The base question, then the one for a recording the camera's memory holds unsaved
    // (DeviceMemoryGuard).
    BOOL SaveModified() override;
    // Paths of device documents ("deviceXXX", "devset") never enter the recent-file list.
    void SetPathName(const QString& pathName, BOOL bAddToMRU = TRUE) override;
    static bool IsDevicePath(const QString& path);

    // The device the sheet was made for.
    CDeviceId GetDeviceId() const;
    CDlgCameraOptions* GetSettingsSheet() const { return m_sheet.get(); }
    const QString& GetPath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<CDlgCameraOptions> m_sheet;
};
