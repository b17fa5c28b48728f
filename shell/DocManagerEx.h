#pragma once

// CDocManagerEx: the program's document manager. Its templates' filter-extension fields may
// list several extensions (".mdat;.au2;.vidatqn"); opening, the file dialog and the shell
// registration all take every one of them.

#include "platform/framework/DocManager.h"

class CDocManagerEx : public CDocManager {
public:
    // Registers the document types with the desktop (see CShellFileTypes); the compatibility
    // entries of other shells (print, DDE) have no use here.
    void RegisterShellFileTypes(BOOL bCompat) override;
    void UnregisterShellFileTypes() override;
    // The same, telling whether everything was written or removed.
    bool WriteShellFileTypes();
    bool RemoveShellFileTypes();
    BOOL DoPromptFileName(QString& fileName, const QString& title, DWORD lFlags, BOOL bOpen,
                          CDocTemplate* pTemplate) override;
    // A document already open under that path comes forward; otherwise the first template
    // with the path's extension among its extensions opens it, and a path no template claims
    // goes the base manager's way.
    CDocument* OpenDocumentFile(const QString& fileName) override;

    // The executable the shell's open command starts; the running program unless set.
    void SetProgramPath(const QString& path) { m_programPath = path; }
    QString GetProgramPath() const;

private:
    QString m_programPath;
};
