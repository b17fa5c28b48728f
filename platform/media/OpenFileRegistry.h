#pragma once

// COpenFileRegistry: the files that the program's readers hold open in this process, so that a
// save can refuse to overwrite a recording that is still being read. Each reader registers its
// path while it holds the file; a path opened twice stays registered until both let go. A file
// is known by its name and by its identity (device and inode) as it was when registered, so a
// hard link or another spelling of a held file counts as held too.
// Safe to use from any thread.

#include <QString>
#include <QStringList>

class COpenFileRegistry {
public:
    // Counts one more holder of path (compared by its absolute, cleaned form).
    static void Add(const QString& path);
    // Drops one holder; a path nobody holds any longer leaves the registry.
    static void Remove(const QString& path);
    // The same for each of paths, under one lock.
    static void Add(const QStringList& paths);
    static void Remove(const QStringList& paths);
    // True while at least one reader holds path, or the file path names is one a reader holds.
    static bool IsOpen(const QString& path);
    // Every path held now, in absolute, cleaned form.
    static QStringList HeldPaths();
};

// Registers a path for the lifetime of the object, and holds a shared advisory lock on the file
// meanwhile, so that other processes that probe for one see it in use too.
class COpenFileEntry {
public:
    explicit COpenFileEntry(const QString& path);
    ~COpenFileEntry();
    COpenFileEntry(const COpenFileEntry&) = delete;
    COpenFileEntry& operator=(const COpenFileEntry&) = delete;

private:
    QString m_path;
    int m_lockFd = -1;
};

// Registers a set of paths (a numbered sequence's files) for the lifetime of the object.
class COpenFileEntries {
public:
    explicit COpenFileEntries(const QStringList& paths) : m_paths(paths) {
        COpenFileRegistry::Add(m_paths);
    }
    ~COpenFileEntries() { COpenFileRegistry::Remove(m_paths); }
    COpenFileEntries(const COpenFileEntries&) = delete;
    COpenFileEntries& operator=(const COpenFileEntries&) = delete;

private:
    QStringList m_paths;
};
