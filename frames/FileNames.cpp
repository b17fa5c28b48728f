#include "frames/FileNames.h"

#include "platform/framework/IPrompter.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>

namespace {

bool IsSeparator(QChar c) {
    return c == '\\' || c == '/';
}

int LastSeparator(const QString& path) {
    for (int i = path.size() - 1; i >= 0; --i) {
        if (IsSeparator(path[i]))
            return i;
    }
    return -1;
}

// Index of the extension's '.', or -1: only a '.' inside the last component that does not
// start it counts.
int ExtensionDot(const QString& path) {
    const int componentStart = LastSeparator(path) + 1;
    const int dot = path.lastIndexOf('.');
    return dot > componentStart ? dot : -1;
}

QString WithoutExtension(const QString& path) {
    const int dot = ExtensionDot(path);
    return dot < 0 ? path : path.left(dot);
}

QString WithoutTrailingDigits(QString text) {
    while (!text.isEmpty() && text.back().isDigit())
        text.chop(1);
    return text;
}

QString WithoutTrailing(QString text, QChar c) {
    if (text.endsWith(c))
        text.chop(1);
    return text;
}

QString ToSlashes(QString path) {
    return path.replace('\\', '/');
}

QString DriveOf(const QString& path) {
    if (path.size() >= 2 && path[1] == ':')
        return path[0].toUpper();
    return {};  // No drive letters here: every absolute path lies on the one root.
}

QString WithUpperDrive(const QString& path) {
    if (path.size() >= 2 && path[1] == ':')
        return path[0].toUpper() + path.mid(1);
    return path;
}

// Components of a normalised path; the root of an absolute path is the empty first component,
// a doubled separator counts once.
QStringList Components(const QString& path) {
    QStringList parts = path.split('/');
    QStringList result;
    for (int i = 0; i < parts.size(); ++i) {
        if (!parts[i].isEmpty() || i == 0)
            result.append(parts[i]);
    }
    return result;
}

FreeSpaceQuery& FreeSpace() {
    static FreeSpaceQuery s_query;
    return s_query;
}

int64_t SystemFreeSpace(const QString& folder) {
    // The folder to be written may not exist yet: ask the nearest existing ancestor's volume.
    QString probe = folder.isEmpty() ? QDir::currentPath() : QDir::cleanPath(folder);
    while (!QFileInfo::exists(probe)) {
        const QString parent = QFileInfo(probe).path();
        if (parent == probe)
            return -1;
        probe = parent;
    }
    const QStorageInfo storage(probe);
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

}  // namespace

QString GetFileExtension(const QString& path) {
    const int dot = ExtensionDot(path);
    return dot < 0 ? QString() : path.mid(dot + 1);
}

QString GetFileNameFromPath(const QString& path) {
    const int sep = LastSeparator(path);
    return sep <= 0 ? path : path.mid(sep + 1);
}

QString GetFolderFromPath(const QString& path) {
    const int sep = LastSeparator(path);
    return sep <= 0 ? QString() : path.left(sep);
}

QString GetDirectoryPart(const QString& path) {
    const int sep = LastSeparator(path);
    return sep < 0 ? path : path.left(sep);
}

QString GetFileTitle(const QString& path, bool keepFolder) {
    QString title = WithoutExtension(path);
    if (!keepFolder) {
        const int sep = LastSeparator(title);
        if (sep > 0)
            title = title.mid(sep + 1);
    }
    return title;
}

QString StripSyncNameTag(const QString& path, bool keepFolder) {
    QString title = GetFileTitle(path, keepFolder);
    // The tag belongs to the file name: braces in a folder name are left alone.
    const int nameStart = std::max(LastSeparator(title) + 1, 1);
    const int close = title.lastIndexOf('}');
    if (close >= nameStart)
        title.truncate(close);
    const int open = title.lastIndexOf('{');
    if (open >= nameStart)
        title.truncate(open);
    return title;
}

bool StringsEqual(const QString& a, const QString& b) {
    return a == b;
}

QString GetSequenceBaseName(const QString& path, bool keepUnderscore) {
    QString title = GetFileTitle(path, true);
    if (title.contains('*')) {
        if (!title.endsWith('*'))
            return title;
        title.chop(1);
    } else {
        title = WithoutTrailingDigits(title);
    }
    return keepUnderscore ? title : WithoutTrailing(title, '_');
}

QString GetDigitlessBaseName(const QString& path) {
    return WithoutTrailingDigits(WithoutExtension(path));
}

QString GetNumberlessBaseName(const QString& path) {
    const QString name = WithoutExtension(path);
    const QString digitless = WithoutTrailingDigits(name);
    const QString base = WithoutTrailing(WithoutTrailing(digitless, '-'), '_');
    return base != digitless ? base : name;
}

QString GetConfigStem(const QString& path) {
    return WithoutTrailing(WithoutTrailing(WithoutExtension(path), '*'), '_');
}

QString ChangeFileExtension(const QString& path, const QString& extension) {
    const QString title = GetFileTitle(path, true);
    return extension.startsWith('.') ? title + extension : title + '.' + extension;
}

QString ReplaceExtension(const QString& path, const QString& extension) {
    return WithoutExtension(path) + '.' + extension;
}

QString MakeRelativePath(const QString& baseFolder, const QString& filePath) {
    QString base = WithUpperDrive(ToSlashes(baseFolder));
    while (base.size() > 1 && base.endsWith('/') && !base.endsWith(":/"))
        base.chop(1);
    const QString file = WithUpperDrive(ToSlashes(filePath));
    const QString folder = GetFolderFromPath(file);
    const QString name = GetFileNameFromPath(file);
    if (base == folder)
        return name;
    if (DriveOf(base) != DriveOf(file))
        return filePath;

    const QStringList baseParts = Components(base);
    const QStringList folderParts = Components(folder);
    qsizetype common = 0;
    while (common < baseParts.size() && common < folderParts.size() &&
           baseParts[common] == folderParts[common])
        ++common;
    if (common == 0)
        return filePath;

    QString result;
    for (qsizetype i = common; i < baseParts.size(); ++i)
        result += "../";
    for (qsizetype i = common; i < folderParts.size(); ++i)
        result += folderParts[i] + '/';
    return result + name;
}

QString ResolveRelativePath(const QString& storedPath) {
    // A drive prefix that starts a later component ("/D:/") is a whole path stored as such;
    // a ':' elsewhere in a name is not a drive.
    QString path = ToSlashes(storedPath);
    for (int i = path.size() - 1; i >= 2; --i) {
        if (path[i] == ':' && path[i - 1].isLetter() && path[i - 2] == '/' &&
            (i + 1 == path.size() || path[i + 1] == '/')) {
            path = path.mid(i - 1);
            break;
        }
    }
    // Each round removes one folder and the "../" after it; the text only shrinks.
    for (;;) {
        const int up = path.indexOf("/../");
        if (up < 0)
            break;
        const int parentSep = path.lastIndexOf('/', up - 1);
        if (up == 0 || parentSep < 0)
            break;
        path = path.left(parentSep + 1) + path.mid(up + 4);
    }
    return path;
}

void SetFreeSpaceQuery(FreeSpaceQuery query) {
    FreeSpace() = std::move(query);
}

int CheckDiskSpace(int64_t neededKiB, const QString& folderOrPath, bool showMessage) {
    QString folder = ToSlashes(folderOrPath);
    if (!folder.isEmpty() && !folder.endsWith('/')) {
        folder = GetFolderFromPath(folder);
        if (!folder.isEmpty())
            folder += '/';
    }
    const int64_t freeBytes = FreeSpace() ? FreeSpace()(folder) : SystemFreeSpace(folder);
    if (freeBytes >= 0 && neededKiB < (freeBytes >> 10))
        return 1;
    if (showMessage)
        AfxMessageBox("Insufficient Disk Space.", MB_ICONEXCLAMATION);
    return 0;
}
