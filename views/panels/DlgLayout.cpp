#include "views/panels/DlgLayout.h"

#include <QWidget>

IMPLEMENT_DYNAMIC(CDlgLayout, CDialog)

CDlgLayout::CDlgLayout(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

CDlgLayout::~CDlgLayout() {
    RemoveAllDialogs();
}

CDialog* CDlgLayout::GetActiveDialog() {
    if (m_pActiveDialog && !m_pActiveDialog->GetSafeHwnd())
        m_pActiveDialog = nullptr;
    return m_pActiveDialog;
}

int CDlgLayout::GetActiveIndex() {
    CDialog* active = GetActiveDialog();
    if (!active)
        return -1;
    for (size_t i = 0; i < m_dialogs.size(); ++i) {
        if (m_dialogs[i]->GetSafeHwnd() == active->GetSafeHwnd())
            return static_cast<int>(i);
    }
    return -1;
}

BOOL CDlgLayout::SelectDialog(int index) {
    if (index < 0 || index >= GetDialogCount())
        return FALSE;
    return SetActiveDialog(m_dialogs[static_cast<size_t>(index)]);
}

BOOL CDlgLayout::SetActiveDialog(CDialog* dialog) {
    if (!dialog || !dialog->GetSafeHwnd()) {
        m_pActiveDialog = nullptr;
        return FALSE;
    }
    m_pActiveDialog = dialog;
    if (!GetQWidget())
        return FALSE;
    CRect layoutRect;
    dialog->GetWindowRect(&layoutRect);
    SetWindowPos(nullptr, 0, 0, layoutRect.Width(), layoutRect.Height(), SWP_NOMOVE | SWP_NOZORDER);
    ArrangeAfter(this, dialog, TRUE);
    return TRUE;
}

void CDlgLayout::ArrangeAfter(CWnd* hostWnd, CDialog* dialog, BOOL bCopyText) {
    QWidget* host = hostWnd->GetQWidget();
    if (!host || !dialog)
        return;
    for (QWidget* widget : host->findChildren<QWidget*>()) {
        // Controls of a dialog inside the host (the layouts themselves, embedded pages) are
        // that dialog's business.
        bool insideDialog = false;
        for (QWidget* up = widget->parentWidget(); up && up != host; up = up->parentWidget()) {
            CWnd* owner = CWnd::FromWidgetPermanent(up);
            if (owner && owner->IsKindOf(RUNTIME_CLASS(CDialog))) {
                insideDialog = true;
                break;
            }
        }
        CWnd* control = insideDialog ? nullptr : CWnd::FromWidget(widget);
        const int id = control ? control->GetDlgCtrlID() : 0;
        CWnd* model = id ? dialog->GetDlgItem(id) : nullptr;
        if (!model || !model->GetQWidget() || model == control)
            continue;
        CRect rect;
        model->GetWindowRect(&rect);
        dialog->ScreenToClient(&rect);
        control->MoveWindow(rect);
        // The layout is hidden, so its controls' own visibility flag is what counts.
        control->ShowWindow(model->GetQWidget()->isHidden() ? SW_HIDE : SW_SHOW);
        if (bCopyText)
            control->SetWindowText(model->GetWindowText());
    }
}

int CDlgLayout::AddDialog(UINT nIDTemplate) {
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

void CDlgLayout::RemoveAllDialogs() {
    for (CDialog* dialog : m_dialogs)
        delete dialog;
    m_dialogs.clear();
    m_pActiveDialog = nullptr;
}
