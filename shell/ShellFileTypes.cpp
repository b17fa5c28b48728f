#include "shell/ShellFileTypes.h"

#include "platform/framework/DocTemplate.h"
#include "platform/registry/Registry.h"
#include "shell/ExtensionList.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <algorithm>
#include <utility>

namespace {

constexpr const char* kDesktopEntryName = "reelmark.desktop";
constexpr const char* kMimePackageName = "reelmark.xml";
constexpr const char* kShellNewValue = "NullFile";

bool SetString(const QString& keyPath, const QString& valueName, const QString& value) {
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CLASSES_ROOT, keyPath, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    const long rc = RegSetString(key, valueName, value);
    return RegCloseKey(key) == ERROR_SUCCESS && rc == ERROR_SUCCESS;
}

// The value, or a null text when the key or the value does not exist.
QString ReadString(const QString& keyPath, const QString& valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return QString();
    QString value;
    const long rc = RegQueryString(key, valueName, &value);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? (value.isNull() ? QStringLiteral("") : value) : QString();
}

bool KeyExists(const QString& keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool RemoveValue(const QString& keyPath, const QString& valueName) {
    HKEY key = nullptr;
    const long open = RegOpenKeyEx(HKEY_CLASSES_ROOT, keyPath, 0, KEY_ALL_ACCESS, &key);
    if (open == ERROR_FILE_NOT_FOUND)
        return true;
    if (open != ERROR_SUCCESS)
        return false;
    const long rc = RegDeleteValue(key, valueName);
    return RegCloseKey(key) == ERROR_SUCCESS && (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND);
}

// Deletes keyPath and then its parents, up to `levels` keys in all, while each is empty.
bool PruneEmptyKeys(QString keyPath, int levels) {
    for (; levels > 0 && !keyPath.isEmpty(); --levels) {
        HKEY key = nullptr;
        const long open = RegOpenKeyEx(HKEY_CLASSES_ROOT, keyPath, 0, KEY_READ, &key);
        if (open == ERROR_SUCCESS) {
            QString name;
            const bool empty =
                RegEnumKeyEx(key, 0, &name) == ERROR_NO_MORE_ITEMS &&
                RegEnumValue(key, 0, &name, nullptr, nullptr, nullptr) == ERROR_NO_MORE_ITEMS;
            RegCloseKey(key);
            if (!empty)
                return true;
            if (RegDeleteKey(HKEY_CLASSES_ROOT, keyPath) != ERROR_SUCCESS)
                return false;
        } else if (open != ERROR_FILE_NOT_FOUND) {
            return false;
        }
        const qsizetype separator = keyPath.lastIndexOf(QLatin1Char('\\'));
        keyPath = separator < 0 ? QString() : keyPath.left(separator);
    }
    return true;
}

// A shared-mime-info type name of our own for a registry file type id.
QString MimeTypeOf(const QString& typeId) {
    QString name;
    for (const QChar c : typeId.toLower())
        name += c.isLetterOrNumber() && c.unicode() < 128 ? c : QLatin1Char('-');
    return QStringLiteral("application/x-reelmark-") + name;
}

// A string value of a desktop entry: its escapes for backslash and line breaks.
QString DesktopString(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

// The program path as the first word of an Exec line: quoted, with the characters that keep
// a meaning inside quotes escaped, and "%" doubled as field codes require.
QString ExecProgram(const QString& path) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

bool WriteFile(const QString& path, const QByteArray& content) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(content);
    return file.commit();
}

bool RemoveFile(const QString& path) {
    return !QFile::exists(path) || QFile::remove(path);
}

// Removes the folders from `folder` up to, not including, `stop`, while each is empty.
void PruneEmptyFolders(QString folder, const QString& stop) {
    const QString end = QDir::cleanPath(stop);
    for (folder = QDir::cleanPath(folder); folder != end && folder.startsWith(end + '/');
         folder = QFileInfo(folder).path()) {
        if (!QDir().rmdir(folder))
            return;
    }
}

}  // namespace

CShellFileTypes::CShellFileTypes(std::vector<CDocTemplate*> templates, QString programPath)
    : m_templates(std::move(templates)), m_programPath(std::move(programPath)) {}

QString CShellFileTypes::DataHome() {
    const QString own = qEnvironmentVariable("XDG_DATA_HOME");
    if (!own.isEmpty() && QDir::isAbsolutePath(own))
        return QDir::cleanPath(own);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QString CShellFileTypes::DesktopEntryPath() {
    return DataHome() + QStringLiteral("/applications/") + QLatin1String(kDesktopEntryName);
}

QString CShellFileTypes::MimePackagePath() {
    return DataHome() + QStringLiteral("/mime/packages/") + QLatin1String(kMimePackageName);
}

std::vector<CShellFileTypes::FileType> CShellFileTypes::Types() const {
    std::vector<FileType> types;
    int index = 0;
    for (CDocTemplate* docTemplate : m_templates) {
        FileType type;
        QString filterExt;
        QString newName;
        type.iconIndex = index++;
        if (!docTemplate || !docTemplate->GetDocString(type.id, CDocTemplate::regFileTypeId) ||
            !docTemplate->GetDocString(type.name, CDocTemplate::regFileTypeName))
            continue;
        // Templates that share a document string (one document, several frames) are one
        // type.
        const bool known = std::any_of(types.begin(), types.end(), [&](const FileType& other) {
            return other.id.compare(type.id, Qt::CaseInsensitive) == 0;
        });
        if (known)
            continue;
        docTemplate->GetDocString(filterExt, CDocTemplate::filterExt);
        type.extensions = CExtensionList(filterExt).Extensions();
        type.makesNewFiles = docTemplate->GetDocString(newName, CDocTemplate::fileNewName);
        type.mimeType = MimeTypeOf(type.id);
        types.push_back(type);
    }
    return types;
}

QString CShellFileTypes::OpenCommand() const {
    return QLatin1Char('"') + m_programPath + QStringLiteral("\" \"%1\"");
}

QString CShellFileTypes::IconEntry(const FileType& type) const {
    return m_programPath + QLatin1Char(',') + QString::number(type.iconIndex);
}

bool CShellFileTypes::RegisterType(const FileType& type) const {
    if (!SetString(type.id, QString(), type.name) ||
        !SetString(type.id + QStringLiteral("\\DefaultIcon"), QString(), IconEntry(type)) ||
        !SetString(type.id + QStringLiteral("\\shell\\open\\command"), QString(), OpenCommand()))
        return false;
    for (const QString& extension : type.extensions) {
        const QString key = QLatin1Char('.') + extension;
        if (!SetString(key, QString(), type.id))
            return false;
        if (type.makesNewFiles && !SetString(key + QStringLiteral("\\ShellNew"),
                                             QLatin1String(kShellNewValue), QString()))
            return false;
    }
    return true;
}

bool CShellFileTypes::UnregisterType(const FileType& type) const {
    bool ok = true;
    for (const QString& extension : type.extensions) {
        const QString key = QLatin1Char('.') + extension;
        // An extension that another program has taken since is left to it.
        if (ReadString(key, QString()) != type.id)
            continue;
        if (type.makesNewFiles) {
            ok = RemoveValue(key + QStringLiteral("\\ShellNew"), QLatin1String(kShellNewValue)) &&
                 PruneEmptyKeys(key + QStringLiteral("\\ShellNew"), 1) && ok;
        }
        ok = RemoveValue(key, QString()) && PruneEmptyKeys(key, 1) && ok;
    }
    if (!KeyExists(type.id))
        return ok;
    const QString command = type.id + QStringLiteral("\\shell\\open\\command");
    ok = RemoveValue(command, QString()) && PruneEmptyKeys(command, 3) && ok;
    const QString icon = type.id + QStringLiteral("\\DefaultIcon");
    ok = RemoveValue(icon, QString()) && PruneEmptyKeys(icon, 1) && ok;
    ok = RemoveValue(type.id, QString()) && PruneEmptyKeys(type.id, 1) && ok;
    return ok;
}

bool CShellFileTypes::WriteDesktopFiles(const std::vector<FileType>& types) const {
    QStringList mimeTypes;
    for (const FileType& type : types)
        mimeTypes << type.mimeType;
    QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=Reelmark\n");
    entry += QStringLiteral("Exec=") + DesktopString(ExecProgram(m_programPath)) +
             QStringLiteral(" %f\n");
    entry += QStringLiteral("Terminal=false\n");
    if (!mimeTypes.isEmpty())
        entry +=
            QStringLiteral("MimeType=") + mimeTypes.join(QLatin1Char(';')) + QStringLiteral(";\n");
    bool ok = WriteFile(DesktopEntryPath(), entry.toUtf8());

    if (types.empty())
        return RemoveFile(MimePackagePath()) && ok;
    QByteArray package;
    QXmlStreamWriter xml(&package);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("mime-info"));
    xml.writeDefaultNamespace(
        QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    for (const FileType& type : types) {
        xml.writeStartElement(QStringLiteral("mime-type"));
        xml.writeAttribute(QStringLiteral("type"), type.mimeType);
        xml.writeTextElement(QStringLiteral("comment"), type.name);
        for (const QString& extension : type.extensions) {
            xml.writeEmptyElement(QStringLiteral("glob"));
            xml.writeAttribute(QStringLiteral("pattern"), QStringLiteral("*.") + extension);
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return WriteFile(MimePackagePath(), package) && ok;
}

bool CShellFileTypes::RemoveDesktopFiles() const {
    const bool ok = RemoveFile(DesktopEntryPath()) && RemoveFile(MimePackagePath());
    const QString home = DataHome();
    PruneEmptyFolders(QFileInfo(DesktopEntryPath()).path(), home);
    PruneEmptyFolders(QFileInfo(MimePackagePath()).path(), home);
    return ok;
}

bool CShellFileTypes::Register() {
    const std::vector<FileType> types = Types();
    bool ok = true;
    for (const FileType& type : types)
        ok = RegisterType(type) && ok;
    return WriteDesktopFiles(types) && ok;
}

bool CShellFileTypes::Unregister() {
    bool ok = true;
    for (const FileType& type : Types())
        ok = UnregisterType(type) && ok;
    return RemoveDesktopFiles() && ok;
}
