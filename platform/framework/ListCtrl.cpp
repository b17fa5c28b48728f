#include "platform/framework/ListCtrl.h"

#include "platform/framework/ControlWidgets.h"

#include <QHeaderView>

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {

RmListView* View(const CWnd* wnd) {
    return dynamic_cast<RmListView*>(wnd->GetQWidget());
}

QTreeWidgetItem* Row(const RmListView* view, int nItem) {
    return view && nItem >= 0 && nItem < view->topLevelItemCount() ? view->topLevelItem(nItem)
                                                                   : nullptr;
}

Qt::Alignment Alignment(int nFormat) {
    switch (nFormat & 0x3) {
        case LVCFMT_RIGHT:
            return Qt::AlignRight | Qt::AlignVCenter;
        case LVCFMT_CENTER:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

}  // namespace

BOOL CListCtrl::Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID) {
    return CreateControlWindow(*this, DlgControl::ListView, QString(), dwStyle, rect, pParentWnd,
                               nID);
}

int CListCtrl::InsertColumn(int nCol, const QString& heading, int nFormat, int nWidth) {
    RmListView* view = View(this);
    if (!view || nCol < 0)
        return -1;
    const int count = view->columnCount();
    const int column = std::min(nCol, count);
    QTreeWidgetItem* header = view->headerItem();
    view->setColumnCount(count + 1);
    // The cells right of the new column move one place right.
    for (int c = count; c > column; --c) {
        header->setText(c, header->text(c - 1));
        header->setTextAlignment(c, Qt::Alignment(header->textAlignment(c - 1)));
        view->setColumnWidth(c, view->columnWidth(c - 1));
        for (int r = 0; r < view->topLevelItemCount(); ++r) {
            QTreeWidgetItem* row = view->topLevelItem(r);
            row->setText(c, row->text(c - 1));
            row->setTextAlignment(c, Qt::Alignment(row->textAlignment(c - 1)));
        }
    }
    header->setText(column, heading);
    header->setTextAlignment(column, Alignment(nFormat));
    for (int r = 0; r < view->topLevelItemCount(); ++r) {
        view->topLevelItem(r)->setText(column, QString());
        view->topLevelItem(r)->setTextAlignment(column, Alignment(nFormat));
    }
    view->setColumnWidth(column, nWidth >= 0 ? nWidth : view->header()->defaultSectionSize());
    view->setProperty("rmAlign" + QByteArray::number(column), nFormat);
    return column;
}

BOOL CListCtrl::DeleteColumn(int nCol) {
    RmListView* view = View(this);
    const int count = view ? view->columnCount() : 0;
    if (nCol < 0 || nCol >= count)
        return FALSE;
    QTreeWidgetItem* header = view->headerItem();
    for (int c = nCol; c + 1 < count; ++c) {
        header->setText(c, header->text(c + 1));
        view->setColumnWidth(c, view->columnWidth(c + 1));
        for (int r = 0; r < view->topLevelItemCount(); ++r)
            view->topLevelItem(r)->setText(c, view->topLevelItem(r)->text(c + 1));
    }
    view->setColumnCount(count - 1);
    return TRUE;
}

int CListCtrl::GetColumnCount() const {
    RmListView* view = View(this);
    return view ? view->columnCount() : 0;
}

int CListCtrl::GetColumnWidth(int nCol) const {
    RmListView* view = View(this);
    return view && nCol >= 0 && nCol < view->columnCount() ? view->columnWidth(nCol) : 0;
}

BOOL CListCtrl::SetColumnWidth(int nCol, int cx) {
    RmListView* view = View(this);
    if (!view || nCol < 0 || nCol >= view->columnCount())
        return FALSE;
    view->setColumnWidth(nCol, cx);
    return TRUE;
}

int CListCtrl::InsertItem(int nItem, const QString& text) {
    RmListView* view = View(this);
    if (!view || nItem < 0)
        return -1;
    const int row = std::min(nItem, view->topLevelItemCount());
    auto* item = new QTreeWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setText(0, text);
    for (int c = 0; c < view->columnCount(); ++c)
        item->setTextAlignment(
            c, Alignment(view->property("rmAlign" + QByteArray::number(c)).toInt()));
    view->insertTopLevelItem(row, item);
    return row;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, const QString& text) {
    RmListView* view = View(this);
    QTreeWidgetItem* row = Row(view, nItem);
    if (!row || nSubItem < 0 || nSubItem >= std::max(1, view->columnCount()))
        return FALSE;
    row->setText(nSubItem, text);
    return TRUE;
}

QString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    QTreeWidgetItem* row = Row(View(this), nItem);
    return row && nSubItem >= 0 ? row->text(nSubItem) : QString();
}

BOOL CListCtrl::DeleteItem(int nItem) {
    QTreeWidgetItem* row = Row(View(this), nItem);
    if (!row)
        return FALSE;
    delete row;
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
    RmListView* view = View(this);
    if (!view)
        return FALSE;
    while (view->topLevelItemCount() > 0)
        delete view->takeTopLevelItem(view->topLevelItemCount() - 1);
    return TRUE;
}

int CListCtrl::GetItemCount() const {
    RmListView* view = View(this);
    return view ? view->topLevelItemCount() : 0;
}

BOOL CListCtrl::SetItemData(int nItem, uintptr_t data) {
    QTreeWidgetItem* row = Row(View(this), nItem);
    if (!row)
        return FALSE;
    row->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(data));
    return TRUE;
}

uintptr_t CListCtrl::GetItemData(int nItem) const {
    QTreeWidgetItem* row = Row(View(this), nItem);
    return row ? static_cast<uintptr_t>(row->data(0, Qt::UserRole).value<qulonglong>()) : 0;
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const {
    RmListView* view = View(this);
    if (!view)
        return -1;
    for (int r = std::max(nItem + 1, 0); r < view->topLevelItemCount(); ++r) {
        const UINT state = GetItemState(r, LVIS_SELECTED | LVIS_FOCUSED);
        if ((nFlags & LVNI_SELECTED) && !(state & LVIS_SELECTED))
            continue;
        if ((nFlags & LVNI_FOCUSED) && !(state & LVIS_FOCUSED))
            continue;
        return r;
    }
    return -1;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    RmListView* view = View(this);
    QTreeWidgetItem* row = Row(view, nItem);
    if (!row)
        return FALSE;
    if (nMask & LVIS_SELECTED)
        row->setSelected((nState & LVIS_SELECTED) != 0);
    if ((nMask & LVIS_FOCUSED) && (nState & LVIS_FOCUSED))
        view->selectionModel()->setCurrentIndex(view->indexFromItem(row),
                                                QItemSelectionModel::NoUpdate);
    return TRUE;
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
    RmListView* view = View(this);
    QTreeWidgetItem* row = Row(view, nItem);
    if (!row)
        return 0;
    UINT state = 0;
    if (row->isSelected())
        state |= LVIS_SELECTED;
    if (view->currentItem() == row)
        state |= LVIS_FOCUSED;
    return state & nMask;
}

UINT CListCtrl::GetSelectedCount() const {
    RmListView* view = View(this);
    return view ? static_cast<UINT>(view->selectedItems().size()) : 0;
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL) {
    RmListView* view = View(this);
    QTreeWidgetItem* row = Row(view, nItem);
    if (!row)
        return FALSE;
    view->scrollToItem(row);
    return TRUE;
}

int CListCtrl::GetTopIndex() const {
    RmListView* view = View(this);
    if (!view)
        return 0;
    const QModelIndex top = view->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

int CListCtrl::GetCountPerPage() const {
    RmListView* view = View(this);
    if (!view)
        return 0;
    const int rowHeight = view->topLevelItemCount() > 0
                              ? view->visualItemRect(view->topLevelItem(0)).height()
                              : view->fontMetrics().height() + 2;
    return rowHeight > 0 ? view->viewport()->height() / rowHeight : 0;
}

BOOL CListCtrl::GetItemRect(int nItem, CRect* rect) const {
    RmListView* view = View(this);
    QTreeWidgetItem* row = Row(view, nItem);
    if (!row)
        return FALSE;
    const QRect r = view->visualItemRect(row).translated(view->viewport()->pos());
    rect->SetRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    return TRUE;
}

CWnd* CListCtrl::GetHeaderCtrl() const {
    RmListView* view = View(this);
    return view ? CWnd::FromWidget(view->header()) : nullptr;
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
