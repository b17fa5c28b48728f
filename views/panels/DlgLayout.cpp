#include "views/panels/DlgLayout.h"

#include <QWidget>

IMPLEMENT_DYNAMIC(CDlgLayout, CDialog)

CDlgLayout::CDlgLayout(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

CDlgLayout::~CDlgLayout() {
    RemoveAllDialogs();
}

CDialog* CDlgLayout::GetActiveDialog() {
    return m_layouts.GetActive();
}

int CDlgLayout::GetActiveIndex() {
    return m_layouts.GetActiveIndex();
}

BOOL CDlgLayout::SelectDialog(int index) {
    CDialog* dialog = m_layouts.GetAt(index);
    return dialog ? SetActiveDialog(dialog) : FALSE;
}

BOOL CDlgLayout::SetActiveDialog(CDialog* dialog) {
    if (!dialog || !dialog->GetSafeHwnd()) {
        m_layouts.SetActive(nullptr);
        return FALSE;
    }
    m_layouts.SetActive(dialog);
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
    return m_layouts.Add(nIDTemplate, this);
}

void CDlgLayout::RemoveAllDialogs() {
    m_layouts.RemoveAll();
}
