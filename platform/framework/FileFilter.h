#pragma once

// CFileFilter: a file-type filter in the framework's form, pairs of description and patterns
// separated by '|' and ended by "||" ("Text Files (*.txt)|*.txt;*.log|All Files (*.*)|*.*||"),
// read into entries for Qt's file dialog. Names are matched against the patterns without
// regard to case, on the last path component only.

#include <QString>
#include <QStringList>

#include <vector>

class CFileFilter {
public:
    struct Entry {
        QString description;
        QStringList patterns;
    };

    explicit CFileFilter(const QString& filter);

    const std::vector<Entry>& Entries() const { return m_entries; }
    // One Qt name filter per entry: the description without its own pattern list, followed by
    // the patterns in parentheses.
    QStringList QtNameFilters() const;
    // Whether the file name matches a pattern of the entry at the 1-based index, or of any
    // entry for index 0. "*.*" matches every name.
    bool Matches(const QString& path, int index) const;

private:
    std::vector<Entry> m_entries;
};
