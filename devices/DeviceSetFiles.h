#pragma once

// The numbered settings files that keep a record controller's devices beside the controller's
// own file: "<base>_dev1.devset", "<base>_dev2.devset" ... for the first generation of
// controllers, "<base>_cam0.camset", "<base>_cam1.camset" ... for the second, where base is the
// controller's path without its extension. Loading reads them in number order up to the first
// one that is missing.

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class CViewChildedFrame;

class CDocument;

class CDeviceSetFiles {
public:
    enum Naming {
        kDeviceSets,  // "_dev%d.devset" from 1
        kCameraSets,  // "_cam%d.camset" from 0
    };

    CDeviceSetFiles(const QString& controllerPath, Naming naming);

    // The path without the extension of its last component.
    QString GetBase() const { return m_base; }
    // The file of the device at position (0 is the first device).
    QString GetFile(int position) const;
    // The files that exist, in order, up to the first missing number.
    QStringList FindExisting() const;

    // Saves every device through save(position, file) in order, each one tried even after one
    // has failed; true only when all succeeded. After a full success the numbered files beyond
    // the devices just saved are removed, so that the next load finds exactly these devices.
    using SaveFn = std::function<bool(int position, const QString& file)>;
    bool SaveAll(int count, const SaveFn& save) const;
    // SaveAll for the documents of device windows, in the order of frames; a document tells the
    // user itself when its file cannot be written.
    bool SaveDocuments(const std::vector<CViewChildedFrame*>& frames) const;

private:
    // Every numbered file of this controller in the folder, by number.
    void RemoveBeyond(int count) const;
    QString Prefix() const;
    QString Suffix() const;
    int FirstNumber() const { return m_naming == kDeviceSets ? 1 : 0; }

    QString m_base;
    Naming m_naming;
};
