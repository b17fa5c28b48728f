#include "devices/DeviceSetFiles.h"

#include "frames/FileNames.h"
#include "platform/framework/Document.h"
#include "platform/framework/View.h"
#include "shell/ViewChildedFrame.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

CDeviceSetFiles::CDeviceSetFiles(const QString& controllerPath, Naming naming)
    : m_base(GetFileTitle(controllerPath, true)), m_naming(naming) {}

QString CDeviceSetFiles::Prefix() const {
    return m_naming == kDeviceSets ? QStringLiteral("_dev") : QStringLiteral("_cam");
}

QString CDeviceSetFiles::Suffix() const {
    return m_naming == kDeviceSets ? QStringLiteral(".devset") : QStringLiteral(".camset");
}

QString CDeviceSetFiles::GetFile(int position) const {
    return m_base + Prefix() + QString::number(position + FirstNumber()) + Suffix();
}

QStringList CDeviceSetFiles::FindExisting() const {
    QStringList files;
    for (int position = 0;; ++position) {
        const QString file = GetFile(position);
        if (!QFileInfo(file).isFile())
            break;
        files.append(file);
    }
    return files;
}

bool CDeviceSetFiles::SaveAll(int count, const SaveFn& save) const {
    bool allSaved = true;
    for (int position = 0; position < count; ++position) {
        if (!save(position, GetFile(position)))
            allSaved = false;
    }
    if (allSaved)
        RemoveBeyond(count);
    return allSaved;
}

bool CDeviceSetFiles::SaveDocuments(const std::vector<CViewChildedFrame*>& frames) const {
    return SaveAll(static_cast<int>(frames.size()), [&](int position, const QString& file) {
        CView* view = frames[static_cast<size_t>(position)]->GetActiveView();
        CDocument* doc = view ? view->GetDocument() : nullptr;
        return doc && doc->OnSaveDocument(file);
    });
}

void CDeviceSetFiles::RemoveBeyond(int count) const {
    const QFileInfo baseInfo(m_base);
    const QString stem = baseInfo.fileName() + Prefix();
    const QString suffix = Suffix();
    const QDir folder = baseInfo.dir();
    // The base name is matched as it is spelt, never as a pattern: a controller named "rig?"
    // must not reach the files of "rigA".
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
        if (name.size() <= stem.size() + suffix.size() || !name.startsWith(stem) ||
            !name.endsWith(suffix))
            continue;
        // Only "<stem><number><suffix>" with the number as this controller writes it.
        const QString digits = name.mid(stem.size(), name.size() - stem.size() - suffix.size());
        bool converted = false;
        const int number = digits.toInt(&converted);
        if (converted && number >= 0 && QString::number(number) == digits &&
            number - FirstNumber() >= count)
            QFile::remove(folder.filePath(name));
    }
}
