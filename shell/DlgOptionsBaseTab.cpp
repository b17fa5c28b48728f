#include "shell/DlgOptionsBaseTab.h"

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab, CDialog)

CDlgOptionsBaseTab::CDlgOptionsBaseTab(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd) {}

void CDlgOptionsBaseTab::UpdateControls() {}
