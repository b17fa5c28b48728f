#include "platform/framework/CommandLineInfo.h"

#include <QStringList>

namespace {

const QStringList kKnownSwitches = {"Embedding", "Automation", "Unregister", "Unregserver"};

bool IsKnownSwitch(const QString& name) {
    return kKnownSwitches.contains(name, Qt::CaseInsensitive);
}

}  // namespace

bool CCommandLineInfo::IsFlag(const QString& argument) {
    if (argument.size() < 2)
        return false;
    if (argument.front() == '-')
        return true;
    return argument.front() == '/' && IsKnownSwitch(argument.mid(1));
}

void CCommandLineInfo::ParseParam(const QString& pszParam, BOOL bFlag, BOOL bLast) {
    if (bFlag) {
        if (pszParam.compare("Embedding", Qt::CaseInsensitive) == 0) {
            m_bRunEmbedded = TRUE;
            m_bShowSplash = FALSE;
        } else if (pszParam.compare("Automation", Qt::CaseInsensitive) == 0) {
            m_bRunAutomated = TRUE;
            m_bShowSplash = FALSE;
        } else if (pszParam.compare("Unregister", Qt::CaseInsensitive) == 0 ||
                   pszParam.compare("Unregserver", Qt::CaseInsensitive) == 0) {
            m_nShellCommand = AppUnregister;
        }
    } else {
        if (m_strFileName.isEmpty())
            m_strFileName = pszParam;
        m_fileNames.append(pszParam);
    }
    if (bLast && m_nShellCommand == FileNew && !m_strFileName.isEmpty())
        m_nShellCommand = FileOpen;
}
