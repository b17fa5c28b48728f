#include "platform/framework/Edit.h"

#include <QPlainTextEdit>

#include "platform/framework/ControlWidgets.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

namespace {

QLineEdit* LineEdit(const CWnd* wnd) {
    return dynamic_cast<QLineEdit*>(wnd->GetQWidget());
}

}  // namespace

BOOL CEdit::Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID) {
    return CreateControlWindow(*this, DlgControl::Edit, QString(), dwStyle, rect, pParentWnd, nID);
}

void CEdit::SetSel(int nStartChar, int nEndChar) {
    QLineEdit* edit = LineEdit(this);
    if (!edit)
        return;
    const int length = static_cast<int>(edit->text().size());
    const int start = std::clamp(nStartChar, 0, length);
    const int end = nEndChar < 0 ? length : std::clamp(nEndChar, start, length);
    edit->setSelection(start, end - start);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    QLineEdit* edit = LineEdit(this);
    if (!edit || !edit->hasSelectedText()) {
        nStartChar = nEndChar = edit ? edit->cursorPosition() : 0;
        return;
    }
    nStartChar = edit->selectionStart();
    nEndChar = edit->selectionEnd();
}

void CEdit::ReplaceSel(const QString& text) {
    if (QLineEdit* edit = LineEdit(this))
        edit->insert(text);
}

BOOL CEdit::SetReadOnly(BOOL bReadOnly) {
    if (auto* editor = qobject_cast<QPlainTextEdit*>(GetQWidget())) {
        editor->setReadOnly(bReadOnly != FALSE);
        return TRUE;
    }
    QLineEdit* edit = LineEdit(this);
    if (!edit)
        return FALSE;
    edit->setReadOnly(bReadOnly != FALSE);
    return TRUE;
}

void CEdit::SetLimitText(UINT nMax) {
    if (QLineEdit* edit = LineEdit(this))
        edit->setMaxLength(nMax == 0 ? 32767 : static_cast<int>(std::min<UINT>(nMax, 0x7FFFFFFF)));
}
