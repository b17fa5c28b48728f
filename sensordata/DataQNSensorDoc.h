#pragma once

// CDataQNSensorDoc: the document of a live sensor window of the second family. Its path names
// the device by the text form of its id (after "sensorXXX"); its defaults come from the
// per-sensor defaults file "S<type>ST<subtype>N<index>.sensdflt" in the current folder, which
// is its archive: schema 1, the device id's text form, then the acquisition page of the
// device's settings sheet. A missing or damaged defaults file fails the open, reported as a
// failed open.

#include "devices/core/DeviceId.h"
#include "platform/framework/Document.h"

#include <memory>

class IDeviceSettingsSheet;

class CDataQNSensorDoc : public CDocument {
    DECLARE_DYNCREATE(CDataQNSensorDoc)

public:
    static constexpr int kSchema = 1;

    CDataQNSensorDoc();
    ~CDataQNSensorDoc() override;

    // The device of the path, then its defaults file through the framework's open.
    BOOL OnOpenDocument(const QString& pathName) override;
    // A device path saves the defaults file of the device; any other path is written as named.
    BOOL OnSaveDocument(const QString& pathName) override;
    // A device path names no file: it never enters the recent-file list.
    void SetPathName(const QString& pathName, BOOL bAddToMRU = TRUE) override;
    // Schema, device id and acquisition page. Loading throws a CArchiveException (bad schema)
    // for another schema or a file made for another device.
    void Serialize(CArchive& ar) override;

    const CDeviceId& GetDeviceId() const { return m_id; }
    IDeviceSettingsSheet* GetDeviceSettings() const { return m_sheet.get(); }
    // "S%dST%dN%d.sensdflt" of the id in the current folder.
    static QString DefaultsPath(const CDeviceId& id);

private:
    CDeviceId m_id;
    std::unique_ptr<IDeviceSettingsSheet> m_sheet;
};
