#pragma once

// CDataSensorDoc: the document of a live sensor window of the first family: its path and the
// settings sheet of the device it shows. The path is a device settings file (".devset"), or a
// device path that names the device by the text form of its id after a marker ("sensorXXX"
// when the user chose the device, "deviceXXX__" when a record controller opened it).

#include "devices/core/DeviceId.h"
#include "platform/framework/Document.h"

#include <memory>

class CDevice;
class IDeviceSettingsSheet;

class CDataSensorDoc : public CDocument {
    DECLARE_DYNCREATE(CDataSensorDoc)

public:
    static constexpr const char* kSensorMarker = "sensorXXX";
    static constexpr const char* kDeviceMarker = "deviceXXX";

    CDataSensorDoc();
    ~CDataSensorDoc() override;

    // Keeps the path. A device path names the device; a file path succeeds when the settings
    // sheet reads it. FALSE without a sheet.
    BOOL OnOpenDocument(const QString& pathName) override;
    // Takes the device's present settings and writes them to the path: FALSE without a sheet
    // or when the file could not be written.
    BOOL OnSaveDocument(const QString& pathName) override;
    // A device path names no file: it never enters the recent-file list.
    void SetPathName(const QString& pathName, BOOL bAddToMRU = TRUE) override;

    IDeviceSettingsSheet* GetDeviceSettings() const { return m_sheet.get(); }
    // The device of the settings' link, or null.
    CDevice* GetDevice() const;
    // The device the settings were made for.
    CDeviceId GetDeviceId() const;
    const QString& GetPath() const { return m_path; }
    // Whether the document belongs to a device rather than to a file of the user's: its path
    // holds "deviceXXX" or "devset".
    bool IsPlaceholder() const;

    // The id named by a device path (after either marker); the default id for any other path.
    static CDeviceId DeviceIdOfPath(const QString& path);

private:
    QString m_path;
    std::unique_ptr<IDeviceSettingsSheet> m_sheet;
};
