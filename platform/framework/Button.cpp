#include "platform/framework/Button.h"

#include "platform/framework/ControlWidgets.h"

#include <QCheckBox>

IMPLEMENT_DYNAMIC(CButton, CWnd)

BOOL CButton::Create(const QString& caption, DWORD dwStyle, const CRect& rect, CWnd* pParentWnd,
                     UINT nID) {
    return CreateControlWindow(*this, DlgControl::Button, caption, dwStyle, rect, pParentWnd, nID);
}

int CButton::GetCheck() const {
    if (auto* box = dynamic_cast<QCheckBox*>(GetQWidget())) {
        return box->checkState() == Qt::PartiallyChecked ? BST_INDETERMINATE
               : box->checkState() == Qt::Checked        ? BST_CHECKED
                                                         : BST_UNCHECKED;
    }
    auto* button = dynamic_cast<QAbstractButton*>(GetQWidget());
    return button && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int nCheck) {
    if (auto* box = dynamic_cast<QCheckBox*>(GetQWidget())) {
        box->setCheckState(nCheck == BST_INDETERMINATE ? Qt::PartiallyChecked
                           : nCheck == BST_CHECKED     ? Qt::Checked
                                                       : Qt::Unchecked);
    } else if (auto* button = dynamic_cast<QAbstractButton*>(GetQWidget());
               button && button->isCheckable()) {
        button->setChecked(nCheck == BST_CHECKED);
    }
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
