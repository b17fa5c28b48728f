#include "shell/DlgOptionsAutoDown.h"

IMPLEMENT_DYNAMIC(CDlgOptionsAutoDown, CDlgOptionsBase)

CDlgOptionsAutoDown::CDlgOptionsAutoDown(CWnd* pParentWnd) : CDlgOptionsBase(30078, pParentWnd) {
    AddPage(&m_snapkeepValue, &m_snapkeepEdit, 30079, "File Save", FALSE, TRUE);
    AddPage(&m_autoDownValue, &m_autoDownEdit, 30081, "ADL ", FALSE, FALSE);
    SetTitle("Auto-Record Control Panel");
    m_optionFileName = "adlsnapkeep";
    m_optionFileExt = "mpqsf";
}
