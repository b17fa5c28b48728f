#include "sensordata/model/SafeSave.h"

#include "platform/framework/Exception.h"
#include "platform/framework/File.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <exception>

bool SaveThroughTemporary(const QString& path, const std::function<bool(CFile&)>& write) {
    const QFileInfo target(path);
    if (target.fileName().isEmpty() || target.isDir())
        return false;
    QString temporary;
    {
        QTemporaryFile reserve(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
        reserve.setAutoRemove(false);
        if (!reserve.open())
            return false;
        temporary = reserve.fileName();
    }
    // A new file gets the usual permissions, a replaced one keeps its own (the reserved name was
    // made for the owner only).
    const QFileDevice::Permissions permissions =
        target.exists() ? QFile::permissions(path)
                        : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ReadGroup | QFileDevice::ReadOther;
    bool written = false;
    try {
        CFile file;
        if (file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) {
            written = write(file);
            file.Close();
        }
    } catch (const CException&) {
        written = false;
    } catch (const std::exception&) {
        written = false;
    }
    if (written) {
        QFile::setPermissions(temporary, permissions);
        written = std::rename(QFile::encodeName(temporary).constData(),
                              QFile::encodeName(path).constData()) == 0;
    }
    if (!written)
        QFile::remove(temporary);
    return written;
}
