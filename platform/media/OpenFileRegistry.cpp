#include "platform/media/OpenFileRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <mutex>

namespace {

std::mutex s_mutex;

QHash<QString, int>& Holders() {
    static QHash<QString, int> holders;
    return holders;
}

QString Key(const QString& path) {
    return QDir::cleanPath(QFileInfo(QString(path).replace('\\', '/')).absoluteFilePath());
}

}  // namespace

void COpenFileRegistry::Add(const QString& path) {
    const QString key = Key(path);
    std::lock_guard lock(s_mutex);
    ++Holders()[key];
}

void COpenFileRegistry::Remove(const QString& path) {
    const QString key = Key(path);
    std::lock_guard lock(s_mutex);
    auto it = Holders().find(key);
    if (it == Holders().end())
        return;
    if (--it.value() <= 0)
        Holders().erase(it);
}

bool COpenFileRegistry::IsOpen(const QString& path) {
    const QString key = Key(path);
    std::lock_guard lock(s_mutex);
    return Holders().contains(key);
}
