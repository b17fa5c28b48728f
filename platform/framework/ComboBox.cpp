#include "platform/framework/ComboBox.h"

#include "platform/framework/ControlWidgets.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {

QComboBox* Combo(const CWnd* wnd) {
    return dynamic_cast<QComboBox*>(wnd->GetQWidget());
}

bool ValidIndex(const QComboBox* combo, int index) {
    return combo && index >= 0 && index < combo->count();
}

}  // namespace

BOOL CComboBox::Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID) {
    return CreateControlWindow(*this, DlgControl::ComboBox, QString(), dwStyle, rect, pParentWnd,
                               nID);
}

int CComboBox::AddString(const QString& text) {
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    int index = combo->count();
    if (ControlStyle(combo) & CBS_SORT) {
        index = 0;
        while (index < combo->count() &&
               QString::compare(combo->itemText(index), text, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    combo->insertItem(index, text);
    return index;
}

int CComboBox::InsertString(int nIndex, const QString& text) {
    QComboBox* combo = Combo(this);
    if (!combo || nIndex > combo->count())
        return CB_ERR;
    const int index = nIndex < 0 ? combo->count() : nIndex;
    combo->insertItem(index, text);
    return index;
}

int CComboBox::DeleteString(UINT nIndex) {
    QComboBox* combo = Combo(this);
    if (!ValidIndex(combo, static_cast<int>(nIndex)))
        return CB_ERR;
    combo->removeItem(static_cast<int>(nIndex));
    return combo->count();
}

void CComboBox::ResetContent() {
    if (QComboBox* combo = Combo(this))
        combo->clear();
}

int CComboBox::GetCount() const {
    QComboBox* combo = Combo(this);
    return combo ? combo->count() : CB_ERR;
}

int CComboBox::GetCurSel() const {
    QComboBox* combo = Combo(this);
    return combo ? combo->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect) {
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    if (!ValidIndex(combo, nSelect)) {
        combo->setCurrentIndex(-1);
        return CB_ERR;
    }
    combo->setCurrentIndex(nSelect);
    return nSelect;
}

QString CComboBox::GetLBText(int nIndex) const {
    QComboBox* combo = Combo(this);
    return ValidIndex(combo, nIndex) ? combo->itemText(nIndex) : QString();
}

int CComboBox::SetItemData(int nIndex, uintptr_t data) {
    QComboBox* combo = Combo(this);
    if (!ValidIndex(combo, nIndex))
        return CB_ERR;
    combo->setItemData(nIndex, QVariant::fromValue<qulonglong>(data), Qt::UserRole);
    return 0;
}

uintptr_t CComboBox::GetItemData(int nIndex) const {
    QComboBox* combo = Combo(this);
    if (!ValidIndex(combo, nIndex))
        return static_cast<uintptr_t>(CB_ERR);
    return static_cast<uintptr_t>(combo->itemData(nIndex, Qt::UserRole).value<qulonglong>());
}

int CComboBox::FindStringExact(int nStartAfter, const QString& text) const {
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    const int count = combo->count();
    // The search starts after nStartAfter and wraps round to it.
    for (int step = 1; step <= count; ++step) {
        const int index = ((nStartAfter < 0 ? -1 : nStartAfter) + step) % count;
        if (QString::compare(combo->itemText(index), text, Qt::CaseInsensitive) == 0)
            return index;
    }
    return CB_ERR;
}

BOOL CComboBox::GetDroppedState() const {
    auto* combo = dynamic_cast<RmComboBox*>(GetQWidget());
    return combo && combo->IsDropped() ? TRUE : FALSE;
}

void CComboBox::ShowDropDown(BOOL bShowIt) {
    if (QComboBox* combo = Combo(this)) {
        if (bShowIt)
            combo->showPopup();
        else
            combo->hidePopup();
    }
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
