#include "frames/ProfileString.h"

#include <QFile>
#include <QStringList>

std::optional<QString> ReadProfileString(const QString& path, const QString& section,
                                         const QString& key, const QString& defaultValue,
                                         int maxChars) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // INI files of other programs come in the Windows code page; values here are numbers.
    const QString text = QString::fromLatin1(file.readAll());
    const auto cut = [maxChars](QString value) {
        if (maxChars <= 0)
            return QString();
        if (value.size() > maxChars - 1)
            value.truncate(maxChars - 1);
        return value;
    };

    bool inSection = false;
    bool sectionSeen = false;
    for (QString line : text.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[')) {
            const int close = line.indexOf(']');
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            if (inSection)
                break;  // only the first section of that name is searched
            inSection = !sectionSeen && name.compare(section, Qt::CaseInsensitive) == 0;
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection)
            continue;
        const int equals = line.indexOf('=');
        const QString name = (equals < 0 ? line : line.left(equals)).trimmed();
        if (name.compare(key, Qt::CaseInsensitive) != 0)
            continue;
        QString value = equals < 0 ? QString() : line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                                  (value.front() == '\'' && value.back() == '\'')))
            value = value.mid(1, value.size() - 2);
        return cut(value);
    }
    return cut(defaultValue);
}
