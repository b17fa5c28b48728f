#pragma once

// CExtensionList: the extensions of a template's filter-extension string (".avi;.raw"), and
// the one rule by which a path's extension is matched against them: the text after the last
// "." of the last path component ('\' and '/' both separate components), compared whole and
// without regard to case.

#include <QString>
#include <QStringList>

class CExtensionList {
public:
    // Entries are split at ";"; a leading "*" or "." of an entry is dropped, empty entries are
    // skipped.
    explicit CExtensionList(const QString& filterExtensions);

    // Lower case, without their dots, in the order given.
    const QStringList& Extensions() const { return m_extensions; }
    bool IsEmpty() const { return m_extensions.isEmpty(); }
    // Whether the path's extension is one of the list. A name without a "." has no extension
    // and matches nothing.
    bool Matches(const QString& path) const;

    // The last path component of path.
    static QString FileNameOf(const QString& path);
    // The extension of the last path component, lower case, without its dot; empty when the
    // component holds no ".".
    static QString ExtensionOf(const QString& path);

private:
    QStringList m_extensions;
};
