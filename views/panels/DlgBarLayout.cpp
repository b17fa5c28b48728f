#include "views/panels/DlgBarLayout.h"

#include "views/panels/DlgLayout.h"

IMPLEMENT_DYNAMIC(CDlgBarLayout, CDialogBar)

CDlgBarLayout::~CDlgBarLayout() {
    RemoveAllDialogs();
}

CDialog* CDlgBarLayout::GetActiveDialog() {
    if (m_pActiveDialog && !m_pActiveDialog->GetSafeHwnd())
        m_pActiveDialog = nullptr;
    return m_pActiveDialog;
}

int CDlgBarLayout::GetActiveIndex() {
    CDialog* active = GetActiveDialog();
    if (!active)
        return -1;
    for (size_t i = 0; i < m_dialogs.size(); ++i) {
        if (m_dialogs[i]->GetSafeHwnd() == active->GetSafeHwnd())
            return static_cast<int>(i);
    }
    return -1;
}

BOOL CDlgBarLayout::SelectDialog(int index) {
    if (index < 0 || index >= GetDialogCount())
        return FALSE;
    return SetActiveDialog(m_dialogs[static_cast<size_t>(index)]);
}

BOOL CDlgBarLayout::SetActiveDialog(CDialog* dialog) {
    if (!dialog || !dialog->GetSafeHwnd()) {
        m_pActiveDialog = nullptr;
        return FALSE;
    }
    m_pActiveDialog = dialog;
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
    if (!GetSafeHwnd())
        return -1;
    auto* dialog = new CDialog(nIDTemplate, this);
    if (!dialog->Create(nIDTemplate, this)) {
        delete dialog;
        return -1;
    }
    dialog->ShowWindow(SW_HIDE);
    m_dialogs.push_back(dialog);
    return GetDialogCount() - 1;
}

void CDlgBarLayout::RemoveAllDialogs() {
    for (CDialog* dialog : m_dialogs)
        delete dialog;
    m_dialogs.clear();
    m_pActiveDialog = nullptr;
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
