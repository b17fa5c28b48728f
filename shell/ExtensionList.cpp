#include "shell/ExtensionList.h"

#include <algorithm>

CExtensionList::CExtensionList(const QString& filterExtensions) {
    for (QString entry : filterExtensions.split(QLatin1Char(';'))) {
        entry = entry.trimmed();
        if (entry.startsWith(QLatin1Char('*')))
            entry.remove(0, 1);
        if (entry.startsWith(QLatin1Char('.')))
            entry.remove(0, 1);
        if (!entry.isEmpty())
            m_extensions << entry.toLower();
    }
}

bool CExtensionList::Matches(const QString& path) const {
    const QString extension = ExtensionOf(path);
    return !extension.isEmpty() && m_extensions.contains(extension);
}

QString CExtensionList::FileNameOf(const QString& path) {
    const qsizetype separator =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(separator + 1);
}

QString CExtensionList::ExtensionOf(const QString& path) {
    const QString name = FileNameOf(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1).toLower();
}
