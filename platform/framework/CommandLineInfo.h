#pragma once

// CCommandLineInfo: what the program's command line asks for, filled by
// CWinApp::ParseCommandLine one argument at a time. The framework's switches ("Embedding",
// "Automation", "Unregister", "Unregserver") are recognised in '/' or '-' form in any case and
// are never taken for file names.

#include "platform/wintypes/WinTypes.h"

#include <QString>
#include <QStringList>

class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, AppUnregister, FileNothing = -1 } m_nShellCommand = FileNew;

    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    QString m_strFileName;
    // Every file named, in order; m_strFileName is the first.
    QStringList m_fileNames;

    virtual ~CCommandLineInfo() = default;

    // One argument: pszParam without its '/' or '-' when bFlag, bLast for the final one.
    virtual void ParseParam(const QString& pszParam, BOOL bFlag, BOOL bLast);

    // Whether an argument is a switch. An argument starting with '-' always is; one starting
    // with '/' only when it names a known switch, because absolute paths start with '/' here.
    static bool IsFlag(const QString& argument);
};
