#include "platform/framework/FileFilter.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

QString LastComponent(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    return path.mid(slash + 1);
}

bool MatchesPattern(const QString& name, const QString& pattern) {
    if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*"))
        return true;
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern),
                                QRegularExpression::CaseInsensitiveOption);
    return re.match(name).hasMatch();
}

}  // namespace

CFileFilter::CFileFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty())
            break;
        Entry entry;
        entry.description = parts[i];
        for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            if (!pattern.isEmpty())
                entry.patterns << pattern;
        }
        if (!entry.patterns.isEmpty())
            m_entries.push_back(entry);
    }
}

QStringList CFileFilter::QtNameFilters() const {
    QStringList filters;
    static const QRegularExpression trailingList(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (const Entry& e : m_entries) {
        QString description = e.description;
        description.remove(trailingList);
        description = description.trimmed();
        const QString patterns = e.patterns.join(' ');
        filters << (description.isEmpty() ? patterns : description) + " (" + patterns + ")";
    }
    return filters;
}

bool CFileFilter::Matches(const QString& path, int index) const {
    const QString name = LastComponent(path);
    for (int i = 0; i < static_cast<int>(m_entries.size()); ++i) {
        if (index != 0 && index != i + 1)
            continue;
        for (const QString& pattern : m_entries[static_cast<size_t>(i)].patterns) {
            if (MatchesPattern(name, pattern))
                return true;
        }
    }
    return false;
}
