#pragma once

#include "platform/registry/RegNode.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// One hive file: its keys in memory, the changes this process made since it last wrote the file,
// and the locked merge that writes them without losing what other processes wrote meanwhile.
//
// Saving takes the lock file "<file>.lock", reads the file again, applies this process's changes
// on top, in the order they were made, and replaces the file atomically. A damaged file loads
// its readable part, is kept as "<file>.damaged", and the first problem with the file is reported
// on stderr (once per process). One thread only.
class CHive {
public:
    CHive(QString filePath, QString rootName);

    const QString& FilePath() const { return m_path; }

    // The root key, read from the file on first use.
    CRegNode* Root();
    // Reads the file again when another process has replaced it since this one last read or
    // wrote it; this process's unsaved changes are applied again on top.
    void Refresh();

    // Changes, applied in memory at once and kept for the next Save. Paths are below the root.
    void CreateKey(const QStringList& path);
    void SetValue(const QStringList& path, const QString& name, DWORD type, const QByteArray& data);
    void DeleteValue(const QStringList& path, const QString& name);
    // Without `withSubkeys` a key that has subkeys by the time the change is merged stays.
    void DeleteKey(const QStringList& path, bool withSubkeys);
    // Removes every value and subkey of the key, keeping the key.
    void ClearKey(const QStringList& path);

    bool HasUnsavedChanges() const { return !m_changes.empty(); }
    // Merges and writes the unsaved changes. Returns a Win32 error (ERROR_CANTREAD when the file
    // exists but cannot be read, ERROR_CANTWRITE when the lock or the write fails); on failure
    // the changes stay unsaved and the file is untouched.
    long Save();

private:
    enum class ChangeKind { CreateKey, SetValue, DeleteValue, DeleteKey, DeleteTree, ClearKey };
    struct Change {
        ChangeKind kind;
        QStringList path;
        QString name;
        DWORD type = 0;
        QByteArray data;
    };
    // Which version of the file was last read or written (the file is replaced, never
    // rewritten in place, so a new version has a new inode).
    struct Stamp {
        bool exists = false;
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = 0;
        long long modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };

    static Stamp StampOf(const QString& path);
    static void Apply(CRegNode* root, const Change& change);
    void Record(Change change);
    // Reads the file into `root`; false when it exists but cannot be read.
    bool ReadFile(CRegNode* root, Stamp* stamp);
    void ReportProblem(const QString& text);

    QString m_path;
    QString m_rootName;
    std::unique_ptr<CRegNode> m_root;
    bool m_loaded = false;
    Stamp m_stamp;
    std::vector<Change> m_changes;
    bool m_reported = false;
};
