#include "devices/RecordDialogBar.h"

IMPLEMENT_DYNAMIC(CRecordDialogBar, CDlgBarLayout)

BOOL CRecordDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID) {
    if (!CDlgBarLayout::Create(pParentWnd, nIDTemplate, nStyle, nID))
        return FALSE;
    return InitialUpdate() > 0;
}

BOOL CRecordDialogBar::InitialUpdate() {
    return TRUE;
}
