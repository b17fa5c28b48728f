#include "shell/DlgSnapkeepOptions.h"

IMPLEMENT_DYNAMIC(CDlgSnapkeepOptions, CDlgOptionsBase)

CDlgSnapkeepOptions::CDlgSnapkeepOptions(CWnd* pParentWnd) : CDlgOptionsBase(30065, pParentWnd) {
    AddPage(&m_snapkeepValue, &m_snapkeepEdit, 30063, "Snap Keep", FALSE, TRUE);
    AddPage(&m_snapkeepAdvValue, &m_snapkeepAdvEdit, 30064, "Snap Keep Advanced", FALSE, TRUE);
    SetTitle("Program Options");
    m_optionFileName = "snapkeep";
    m_optionFileExt = "mpqsf";
}
