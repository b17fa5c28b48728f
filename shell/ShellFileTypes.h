#pragma once

// CShellFileTypes: makes the program's document types known to the desktop and forgets them
// again. In the program's registry, under HKEY_CLASSES_ROOT, each template with a file type id
// and name gets its type key (the name, "DefaultIcon", "shell\open\command") and every one of
// its extensions points at the type id ("ShellNew" beside them when the template makes new
// files). For the freedesktop desktop a ".desktop" entry for the program and a shared-mime-info
// package with the types go under $XDG_DATA_HOME (~/.local/share when unset). Removal takes
// away exactly what registration wrote: values that changed hands since, and keys or folders
// that hold anything else, stay.

#include <QString>
#include <QStringList>

#include <vector>

class CDocTemplate;

class CShellFileTypes {
public:
    // The templates stay the caller's; programPath is the executable the commands start.
    CShellFileTypes(std::vector<CDocTemplate*> templates, QString programPath);

    // Writes every type. A template whose registry writes fail is skipped and the others are
    // still written; false when anything failed.
    bool Register();
    // Removes what Register writes; false when something that was ours could not be removed.
    bool Unregister();

    // The folder of the desktop's data files: $XDG_DATA_HOME when it is an absolute path,
    // else ~/.local/share.
    static QString DataHome();
    // The files Register writes below DataHome.
    static QString DesktopEntryPath();
    static QString MimePackagePath();

private:
    struct FileType {
        QString id;
        QString name;
        QString mimeType;
        QStringList extensions;  // lower case, without dots
        bool makesNewFiles = false;
        int iconIndex = 0;
    };

    std::vector<FileType> Types() const;
    bool RegisterType(const FileType& type) const;
    bool UnregisterType(const FileType& type) const;
    bool WriteDesktopFiles(const std::vector<FileType>& types) const;
    bool RemoveDesktopFiles() const;
    QString OpenCommand() const;
    QString IconEntry(const FileType& type) const;

    std::vector<CDocTemplate*> m_templates;
    QString m_programPath;
};
