#include "platform/media/OpenFileRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <mutex>

namespace {

std::mutex s_mutex;

// Never destroyed: a reader held by a static object lets go of its file at exit, after the
// statics made later than it are gone.
QHash<QString, int>& Holders() {
    static auto* holders = new QHash<QString, int>;
    return *holders;
}

QString Key(const QString& path) {
    return QDir::cleanPath(QFileInfo(QString(path).replace('\\', '/')).absoluteFilePath());
}

void AddKey(const QString& key) {
    ++Holders()[key];
}

void RemoveKey(const QString& key) {
    auto it = Holders().find(key);
    if (it == Holders().end())
        return;
    if (--it.value() <= 0)
        Holders().erase(it);
}

}  // namespace

void COpenFileRegistry::Add(const QString& path) {
    const QString key = Key(path);
    std::lock_guard lock(s_mutex);
    AddKey(key);
}

void COpenFileRegistry::Remove(const QString& path) {
    const QString key = Key(path);
    std::lock_guard lock(s_mutex);
    RemoveKey(key);
}

void COpenFileRegistry::Add(const QStringList& paths) {
    QStringList keys;
    keys.reserve(paths.size());
    for (const QString& path : paths)
        keys.push_back(Key(path));
    std::lock_guard lock(s_mutex);
    for (const QString& key : keys)
        AddKey(key);
}

void COpenFileRegistry::Remove(const QStringList& paths) {
    QStringList keys;
    keys.reserve(paths.size());
    for (const QString& path : paths)
        keys.push_back(Key(path));
    std::lock_guard lock(s_mutex);
    for (const QString& key : keys)
        RemoveKey(key);
}

bool COpenFileRegistry::IsOpen(const QString& path) {
    const QString key = Key(path);
    std::lock_guard lock(s_mutex);
    return Holders().contains(key);
}

COpenFileEntry::COpenFileEntry(const QString& path) : m_path(path) {
    COpenFileRegistry::Add(m_path);
    // Never waits: a file another process holds exclusively is still read, only unlocked.
    m_lockFd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (m_lockFd >= 0 && ::flock(m_lockFd, LOCK_SH | LOCK_NB) != 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
    }
}

COpenFileEntry::~COpenFileEntry() {
    if (m_lockFd >= 0)
        ::close(m_lockFd);
    COpenFileRegistry::Remove(m_path);
}
