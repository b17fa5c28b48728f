#pragma once

// CRecentFileList: the most-recently-used file list, newest first, kept in the application's
// profile as values "File1", "File2" ... of one section.

#include "platform/wintypes/WinTypes.h"

#include <QString>
#include <QStringList>

class CWnd;
class QMenu;

class CRecentFileList {
public:
    // Entries are stored under section as entryFormat with %d replaced by the 1-based number.
    CRecentFileList(const QString& section, const QString& entryFormat, int nSize);
    virtual ~CRecentFileList() = default;

    int GetSize() const { return m_nSize; }
    // The paths held, newest first (at most GetSize()).
    const QStringList& GetPaths() const { return m_paths; }
    QString operator[](int index) const {
        return index >= 0 && index < m_paths.size() ? m_paths[index] : QString();
    }

    // Puts the path first; an entry naming the same file moves up instead of being repeated,
    // and the oldest entry falls off a full list. Relative paths are made absolute.
    virtual void Add(const QString& path);
    virtual void Remove(int index);

    // Shows the list in menu where it holds the ID_FILE_MRU_FILE1 item: that item and those
    // after it become "&1 path", "&2 path" ... sending their commands to owner; an empty
    // list leaves the first item disabled with the text "Recent File".
    void UpdateMenu(QMenu* menu, CWnd* owner) const;

    // Through the application's profile; entries past the list's end are removed on writing.
    virtual void ReadList();
    virtual void WriteList();

private:
    QString EntryName(int index) const;

    QString m_section;
    QString m_entryFormat;
    int m_nSize;
    QStringList m_paths;
};
