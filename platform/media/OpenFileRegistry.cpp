#include "platform/media/OpenFileRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace {

using Identity = std::pair<uint64_t, uint64_t>;  // device, inode

struct Holder {
    int count = 0;
    std::optional<Identity> identity;  // as the file was when first registered
};

std::mutex s_mutex;

// Never destroyed: a reader held by a static object lets go of its file at exit, after the
// statics made later than it are gone.
QHash<QString, Holder>& Holders() {
    static auto* holders = new QHash<QString, Holder>;
    return *holders;
}

QHash<Identity, int>& Identities() {
    static auto* identities = new QHash<Identity, int>;
    return *identities;
}

QString Key(const QString& path) {
    return QDir::cleanPath(QFileInfo(QString(path).replace('\\', '/')).absoluteFilePath());
}

std::optional<Identity> IdentityOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return Identity{uint64_t(info.st_dev), uint64_t(info.st_ino)};
}

struct Entry {
    QString key;
    std::optional<Identity> identity;
};

Entry MakeEntry(const QString& path) {
    Entry entry{Key(path), {}};
    entry.identity = IdentityOf(entry.key);
    return entry;
}

void AddEntry(const Entry& entry) {
    Holder& holder = Holders()[entry.key];
    if (holder.count++ == 0 && entry.identity) {
        holder.identity = entry.identity;
        ++Identities()[*entry.identity];
    }
}

void RemoveKey(const QString& key) {
    auto it = Holders().find(key);
    if (it == Holders().end())
        return;
    if (--it->count > 0)
        return;
    if (it->identity) {
        auto id = Identities().find(*it->identity);
        if (id != Identities().end() && --id.value() <= 0)
            Identities().erase(id);
    }
    Holders().erase(it);
}

}  // namespace

void COpenFileRegistry::Add(const QString& path) {
    const Entry entry = MakeEntry(path);
    std::lock_guard lock(s_mutex);
    AddEntry(entry);
}

void COpenFileRegistry::Remove(const QString& path) {
    const QString key = Key(path);
    std::lock_guard lock(s_mutex);
    RemoveKey(key);
}

void COpenFileRegistry::Add(const QStringList& paths) {
    std::vector<Entry> entries;
    entries.reserve(size_t(paths.size()));
    for (const QString& path : paths)
        entries.push_back(MakeEntry(path));
    std::lock_guard lock(s_mutex);
    for (const Entry& entry : entries)
        AddEntry(entry);
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
    const Entry entry = MakeEntry(path);
    std::lock_guard lock(s_mutex);
    return Holders().contains(entry.key) ||
           (entry.identity && Identities().contains(*entry.identity));
}

QStringList COpenFileRegistry::HeldPaths() {
    std::lock_guard lock(s_mutex);
    return Holders().keys();
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
