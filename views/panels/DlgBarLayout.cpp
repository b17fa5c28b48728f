#include "views/panels/DlgBarLayout.h"

#include "views/panels/DlgLayout.h"

IMPLEMENT_DYNAMIC(CDlgBarLayout, CDialogBar)

CDlgBarLayout::~CDlgBarLayout() {
    RemoveAllDialogs();
}

CDialog* CDlgBarLayout::GetActiveDialog() {
    return m_layouts.GetActive();
}

int CDlgBarLayout::GetActiveIndex() {
    return m_layouts.GetActiveIndex();
}

BOOL CDlgBarLayout::SelectDialog(int index) {
    CDialog* dialog = m_layouts.GetAt(index);
    return dialog ? SetActiveDialog(dialog) : FALSE;
}

BOOL CDlgBarLayout::SetActiveDialog(CDialog* dialog) {
    if (!dialog || !dialog->GetSafeHwnd()) {
        m_layouts.SetActive(nullptr);
        return FALSE;
    }
    m_layouts.SetActive(dialog);
    if (!GetQWidget())
        return FALSE;
    CRect layoutRect;
    dialog->GetWindowRect(&layoutRect);
    SetWindowPos(nullptr, 0, 0, layoutRect.Width(), layoutRect.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CDlgLayout::ArrangeAfter(this, dialog, FALSE);
    return TRUE;
}

int CDlgBarLayout::AddDialog(UINT nIDTemplate) {
    return m_layouts.Add(nIDTemplate, this);
}

void CDlgBarLayout::RemoveAllDialogs() {
    m_layouts.RemoveAll();
}

CSize CDlgBarLayout::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    if (!GetSafeHwnd() || !IsVisible())
        return CSize(0, 0);
    CRect client;
    if (CDialog* active = GetActiveDialog())
        active->GetClientRect(&client);
    else
        GetClientRect(&client);
    // 32767 asks the frame for all the width it has.
    const int width = bStretch && bHorz ? 32767 : client.Width();
    return CSize(width, client.Height());
}
