#include "platform/registry/Hive.h"

#include "platform/registry/RegText.h"
#include "platform/wintypes/WinError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <sys/stat.h>

namespace {

// Long enough for another process to finish a save; the lock of a process that died is taken
// over at once (QLockFile checks whether its owner still runs).
constexpr int kLockWaitMs = 10000;

}  // namespace

CHive::CHive(QString filePath, QString rootName)
    : m_path(std::move(filePath)),
      m_rootName(std::move(rootName)),
      m_root(std::make_unique<CRegNode>(m_rootName)) {}

CRegNode* CHive::Root() {
    if (!m_loaded) {
        m_loaded = true;
        ReadFile(m_root.get(), &m_stamp);
    }
    return m_root.get();
}

void CHive::Refresh() {
    if (!m_loaded || StampOf(m_path) == m_stamp)
        return;
    auto fresh = std::make_unique<CRegNode>(m_rootName);
    Stamp stamp;
    if (!ReadFile(fresh.get(), &stamp))
        return;
    for (const Change& change : m_changes)
        Apply(fresh.get(), change);
    m_root = std::move(fresh);
    m_stamp = stamp;
}

void CHive::CreateKey(const QStringList& path) {
    Record({ChangeKind::CreateKey, path});
}

void CHive::SetValue(const QStringList& path, const QString& name, DWORD type,
                     const QByteArray& data) {
    Record({ChangeKind::SetValue, path, name, type, data});
}

void CHive::DeleteValue(const QStringList& path, const QString& name) {
    Record({ChangeKind::DeleteValue, path, name});
}

void CHive::DeleteKey(const QStringList& path, bool withSubkeys) {
    Record({withSubkeys ? ChangeKind::DeleteTree : ChangeKind::DeleteKey, path});
}

void CHive::ClearKey(const QStringList& path) {
    Record({ChangeKind::ClearKey, path});
}

void CHive::Record(Change change) {
    Apply(Root(), change);
    m_changes.push_back(std::move(change));
}

void CHive::Apply(CRegNode* root, const Change& change) {
    switch (change.kind) {
        case ChangeKind::CreateKey:
            root->Ensure(change.path);
            break;
        case ChangeKind::SetValue:
            // Another process may have deleted the key since; the later write wins.
            root->Ensure(change.path)->SetValue(change.name, change.type, change.data);
            break;
        case ChangeKind::DeleteValue:
            if (CRegNode* node = root->Find(change.path))
                node->RemoveValue(change.name);
            break;
        case ChangeKind::DeleteKey:
        case ChangeKind::DeleteTree: {
            if (change.path.isEmpty())
                break;
            CRegNode* parent = root->Find(change.path.mid(0, change.path.size() - 1));
            CRegNode* node = parent ? parent->FindChild(change.path.last()) : nullptr;
            if (node && (change.kind == ChangeKind::DeleteTree || node->Children().empty()))
                parent->RemoveChild(change.path.last());
            break;
        }
        case ChangeKind::ClearKey:
            if (CRegNode* node = root->Find(change.path))
                node->Clear();
            break;
    }
}

long CHive::Save() {
    if (m_changes.empty())
        return ERROR_SUCCESS;
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return ERROR_CANTWRITE;
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs))
        return ERROR_CANTWRITE;

    auto fresh = std::make_unique<CRegNode>(m_rootName);
    Stamp stamp;
    if (!ReadFile(fresh.get(), &stamp))
        return ERROR_CANTREAD;
    for (const Change& change : m_changes)
        Apply(fresh.get(), change);

    QSaveFile file(m_path);
    const QByteArray text = CRegText::Write(*fresh, m_rootName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return ERROR_CANTWRITE;
    m_root = std::move(fresh);
    m_changes.clear();
    m_stamp = StampOf(m_path);
    return ERROR_SUCCESS;
}

CHive::Stamp CHive::StampOf(const QString& path) {
    struct stat info {};
    Stamp stamp;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedNs =
        static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    return stamp;
}

bool CHive::ReadFile(CRegNode* root, Stamp* stamp) {
    *stamp = StampOf(m_path);
    if (!stamp->exists)
        return true;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReportProblem(QStringLiteral("Registry file %1 cannot be read (%2); it is left as it is.")
                          .arg(m_path, file.errorString()));
        return false;
    }
    const QByteArray text = file.readAll();
    const CRegText::Damage damage = CRegText::Read(text, m_rootName, root);
    if (damage.problems == 0)
        return true;
    // Every damaged version is kept (a later save drops its unreadable lines); the user hears of
    // it once.
    const QString copyPath = m_path + QStringLiteral(".damaged");
    QSaveFile copy(copyPath);
    const bool kept =
        copy.open(QIODevice::WriteOnly) && copy.write(text) == text.size() && copy.commit();
    ReportProblem(QStringLiteral("Registry file %1 is damaged (%2 unreadable entries, the first "
                                 "in line %3: %4). Its readable part is used; %5.")
                      .arg(m_path)
                      .arg(damage.problems)
                      .arg(damage.firstLine)
                      .arg(damage.firstReason,
                           kept ? QStringLiteral("the damaged file was kept as %1").arg(copyPath)
                                : QStringLiteral("no copy of it could be kept")));
    return true;
}

void CHive::ReportProblem(const QString& text) {
    if (m_reported)
        return;
    m_reported = true;
    qWarning("%s", qUtf8Printable(text));
}
