#include "platform/framework/ListBox.h"

#include "platform/framework/ControlWidgets.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CListBox, CWnd)

namespace {

RmListBox* List(const CWnd* wnd) {
    return dynamic_cast<RmListBox*>(wnd->GetQWidget());
}

bool ValidIndex(const QListWidget* list, int index) {
    return list && index >= 0 && index < list->count();
}

}  // namespace

BOOL CListBox::Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID) {
    return CreateControlWindow(*this, DlgControl::ListBox, QString(), dwStyle, rect, pParentWnd,
                               nID);
}

int CListBox::AddString(const QString& text) {
    RmListBox* list = List(this);
    if (!list)
        return LB_ERR;
    auto* item = new QListWidgetItem(text);
    list->addItem(item);
    return list->row(item);
}

int CListBox::InsertString(int nIndex, const QString& text) {
    RmListBox* list = List(this);
    if (!list || nIndex > list->count())
        return LB_ERR;
    const int index = nIndex < 0 ? list->count() : nIndex;
    list->insertItem(index, text);
    return index;
}

int CListBox::DeleteString(UINT nIndex) {
    RmListBox* list = List(this);
    if (!ValidIndex(list, static_cast<int>(nIndex)))
        return LB_ERR;
    list->m_quiet = true;
    delete list->takeItem(static_cast<int>(nIndex));
    list->m_quiet = false;
    return list->count();
}

void CListBox::ResetContent() {
    if (RmListBox* list = List(this)) {
        list->m_quiet = true;
        list->clear();
        list->m_quiet = false;
    }
}

int CListBox::GetCount() const {
    RmListBox* list = List(this);
    return list ? list->count() : LB_ERR;
}

int CListBox::GetCurSel() const {
    RmListBox* list = List(this);
    return list ? list->currentRow() : LB_ERR;
}

int CListBox::SetCurSel(int nSelect) {
    RmListBox* list = List(this);
    if (!list)
        return LB_ERR;
    list->m_quiet = true;
    list->setCurrentRow(ValidIndex(list, nSelect) ? nSelect : -1);
    list->m_quiet = false;
    return ValidIndex(list, nSelect) ? nSelect : LB_ERR;
}

QString CListBox::GetText(int nIndex) const {
    RmListBox* list = List(this);
    return ValidIndex(list, nIndex) ? list->item(nIndex)->text() : QString();
}

int CListBox::SetItemData(int nIndex, uintptr_t data) {
    RmListBox* list = List(this);
    if (!ValidIndex(list, nIndex))
        return LB_ERR;
    list->item(nIndex)->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(data));
    return 0;
}

int CListBox::GetSelCount() const {
    return GetSelItems(0, nullptr);
}

int CListBox::GetSelItems(int maxItems, int* items) const {
    RmListBox* list = List(this);
    if (!list)
        return LB_ERR;
    int count = 0;
    for (int i = 0; i < list->count(); ++i) {
        if (!list->item(i)->isSelected())
            continue;
        if (items && count < maxItems)
            items[count] = i;
        ++count;
    }
    return items ? std::min(count, maxItems) : count;
}

int CListBox::SetSel(int nIndex, BOOL bSelect) {
    RmListBox* list = List(this);
    if (!ValidIndex(list, nIndex))
        return LB_ERR;
    list->m_quiet = true;
    list->item(nIndex)->setSelected(bSelect != FALSE);
    list->m_quiet = false;
    return 0;
}

uintptr_t CListBox::GetItemData(int nIndex) const {
    RmListBox* list = List(this);
    if (!ValidIndex(list, nIndex))
        return static_cast<uintptr_t>(LB_ERR);
    return static_cast<uintptr_t>(list->item(nIndex)->data(Qt::UserRole).value<qulonglong>());
}
