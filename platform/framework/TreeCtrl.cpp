#include "platform/framework/TreeCtrl.h"

#include "platform/framework/ControlWidgets.h"
#include "platform/framework/ImageList.h"

#include <QIcon>
#include <QPixmap>

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace {

RmTreeView* Tree(const CWnd* wnd) {
    return dynamic_cast<RmTreeView*>(wnd->GetQWidget());
}

constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kSelectedImageRole = Qt::UserRole + 2;

HTREEITEM Handle(QTreeWidgetItem* item) {
    return reinterpret_cast<HTREEITEM>(item);
}

// The item of a handle, when it still belongs to this tree.
QTreeWidgetItem* ItemOf(const RmTreeView* tree, HTREEITEM hItem) {
    auto* item = reinterpret_cast<QTreeWidgetItem*>(hItem);
    if (!tree || !hItem || hItem == TVI_ROOT || hItem == TVI_FIRST || hItem == TVI_LAST)
        return nullptr;
    for (QTreeWidgetItemIterator it(const_cast<RmTreeView*>(tree)); *it; ++it) {
        if (*it == item)
            return item;
    }
    return nullptr;
}

}  // namespace

BOOL CTreeCtrl::Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID) {
    return CreateControlWindow(*this, DlgControl::TreeView, QString(), dwStyle, rect, pParentWnd,
                               nID);
}

HTREEITEM CTreeCtrl::InsertItem(const QString& text, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    RmTreeView* tree = Tree(this);
    if (!tree)
        return nullptr;
    QTreeWidgetItem* parent = nullptr;
    if (hParent != TVI_ROOT && hParent != nullptr) {
        parent = ItemOf(tree, hParent);
        if (!parent)
            return nullptr;
    }
    const int count = parent ? parent->childCount() : tree->topLevelItemCount();
    int index = count;
    if (hInsertAfter == TVI_FIRST) {
        index = 0;
    } else if (hInsertAfter != TVI_LAST && hInsertAfter != nullptr) {
        QTreeWidgetItem* after = ItemOf(tree, hInsertAfter);
        if (!after || after->parent() != parent)
            return nullptr;
        index = (parent ? parent->indexOfChild(after) : tree->indexOfTopLevelItem(after)) + 1;
    }
    auto* item = new QTreeWidgetItem(QStringList{text});
    if (parent)
        parent->insertChild(index, item);
    else
        tree->insertTopLevelItem(index, item);
    return Handle(item);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem) {
    RmTreeView* tree = Tree(this);
    QTreeWidgetItem* item = ItemOf(tree, hItem);
    if (!item)
        return FALSE;
    delete item;
    return TRUE;
}

BOOL CTreeCtrl::DeleteAllItems() {
    RmTreeView* tree = Tree(this);
    if (!tree)
        return FALSE;
    tree->clear();
    return TRUE;
}

UINT CTreeCtrl::GetCount() const {
    UINT count = 0;
    if (RmTreeView* tree = Tree(this)) {
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            ++count;
    }
    return count;
}

QString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    QTreeWidgetItem* item = ItemOf(Tree(this), hItem);
    return item ? item->text(0) : QString();
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, const QString& text) {
    QTreeWidgetItem* item = ItemOf(Tree(this), hItem);
    if (!item)
        return FALSE;
    item->setText(0, text);
    return TRUE;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, uintptr_t data) {
    QTreeWidgetItem* item = ItemOf(Tree(this), hItem);
    if (!item)
        return FALSE;
    item->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(data));
    return TRUE;
}

uintptr_t CTreeCtrl::GetItemData(HTREEITEM hItem) const {
    QTreeWidgetItem* item = ItemOf(Tree(this), hItem);
    return item ? static_cast<uintptr_t>(item->data(0, Qt::UserRole).value<qulonglong>()) : 0;
}

HTREEITEM CTreeCtrl::GetRootItem() const {
    RmTreeView* tree = Tree(this);
    return tree && tree->topLevelItemCount() > 0 ? Handle(tree->topLevelItem(0)) : nullptr;
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const {
    QTreeWidgetItem* item = ItemOf(Tree(this), hItem);
    return item && item->childCount() > 0 ? Handle(item->child(0)) : nullptr;
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const {
    RmTreeView* tree = Tree(this);
    QTreeWidgetItem* item = ItemOf(tree, hItem);
    if (!item)
        return nullptr;
    QTreeWidgetItem* parent = item->parent();
    const int next = (parent ? parent->indexOfChild(item) : tree->indexOfTopLevelItem(item)) + 1;
    const int count = parent ? parent->childCount() : tree->topLevelItemCount();
    if (next >= count)
        return nullptr;
    return Handle(parent ? parent->child(next) : tree->topLevelItem(next));
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM hItem) const {
    QTreeWidgetItem* item = ItemOf(Tree(this), hItem);
    return item ? Handle(item->parent()) : nullptr;
}

HTREEITEM CTreeCtrl::GetSelectedItem() const {
    RmTreeView* tree = Tree(this);
    return tree ? Handle(tree->currentItem()) : nullptr;
}

BOOL CTreeCtrl::SelectItem(HTREEITEM hItem) {
    RmTreeView* tree = Tree(this);
    if (!tree)
        return FALSE;
    QTreeWidgetItem* item = hItem ? ItemOf(tree, hItem) : nullptr;
    if (hItem && !item)
        return FALSE;
    tree->setCurrentItem(item);
    return TRUE;
}

BOOL CTreeCtrl::Expand(HTREEITEM hItem, UINT nCode) {
    QTreeWidgetItem* item = ItemOf(Tree(this), hItem);
    if (!item)
        return FALSE;
    const bool expand = nCode == TVE_EXPAND || (nCode == TVE_TOGGLE && !item->isExpanded());
    item->setExpanded(expand);
    return TRUE;
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    if (nImageListType != TVSIL_NORMAL)
        return nullptr;
    CImageList* previous = m_imageList;
    m_imageList = pImageList;
    if (RmTreeView* tree = Tree(this)) {
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            ShowItemImage(Handle(*it));
    }
    return previous;
}

CImageList* CTreeCtrl::GetImageList(int nImageListType) const {
    return nImageListType == TVSIL_NORMAL ? m_imageList : nullptr;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage) {
    QTreeWidgetItem* item = ItemOf(Tree(this), hItem);
    if (!item)
        return FALSE;
    item->setData(0, kImageRole, nImage);
    item->setData(0, kSelectedImageRole, nSelectedImage);
    ShowItemImage(hItem);
    return TRUE;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const {
    QTreeWidgetItem* item = ItemOf(Tree(this), hItem);
    if (!item)
        return FALSE;
    nImage = item->data(0, kImageRole).toInt();
    nSelectedImage = item->data(0, kSelectedImageRole).toInt();
    return TRUE;
}

void CTreeCtrl::ShowItemImage(HTREEITEM hItem) {
    QTreeWidgetItem* item = ItemOf(Tree(this), hItem);
    if (!item)
        return;
    QIcon icon;
    if (m_imageList) {
        const QImage normal = m_imageList->GetImage(item->data(0, kImageRole).toInt());
        const QImage selected = m_imageList->GetImage(item->data(0, kSelectedImageRole).toInt());
        if (!normal.isNull())
            icon.addPixmap(QPixmap::fromImage(normal), QIcon::Normal);
        if (!selected.isNull())
            icon.addPixmap(QPixmap::fromImage(selected), QIcon::Selected);
    }
    item->setIcon(0, icon);
}
