#include "shell/DlgProgramOptions.h"

IMPLEMENT_DYNAMIC(CDlgProgramOptions, CDlgOptionsBase)

CDlgProgramOptions::CDlgProgramOptions(CWnd* pParentWnd) : CDlgOptionsBase(186, pParentWnd) {
    AddPage(&m_viewValue, &m_viewEdit, 30056, "View Settings", FALSE, FALSE);
    AddPage(&m_generalValue, &m_generalEdit, 30099, "General Settings", FALSE, TRUE);
    AddPage(&m_reccCPValue, &m_reccCPEdit, 30068, "Record Control Panel", FALSE, FALSE);
    AddPage(&m_otherValue, &m_otherEdit, 30076, "General Options", FALSE, FALSE);
    AddPage(&m_applicationValue, &m_applicationEdit, 30061, "Application", FALSE, FALSE);
    AddPage(&m_camerasValue, &m_camerasEdit, 30107, "Scanning", FALSE, FALSE);
    AddPage(&m_connectionsValue, &m_connectionsEdit, 30110, "Connections", FALSE, FALSE);
    AddPage(&m_videoValue, &m_videoEdit, 30114, "Video", FALSE, TRUE);
    AddPage(&m_updateValue, &m_updateEdit, 30113, "Update", FALSE, TRUE);
    SetTitle("Program Options");
}
