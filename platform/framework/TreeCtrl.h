#pragma once

// CTreeCtrl: a tree of text items with item data over QTreeWidget. An item is named by an
// HTREEITEM that stays valid until the item is deleted. A change of the selected item sends
// TVN_SELCHANGED (NMTREEVIEW with the old and new item), also when the program selects.

#include "platform/framework/Wnd.h"

struct TREEITEM__;
using HTREEITEM = TREEITEM__*;

inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFE));

inline constexpr UINT TVE_COLLAPSE = 0x0001;
inline constexpr UINT TVE_EXPAND = 0x0002;
inline constexpr UINT TVE_TOGGLE = 0x0003;

inline constexpr int TVSIL_NORMAL = 0;

class CImageList;

struct TVITEM {
    HTREEITEM hItem = nullptr;
    uintptr_t lParam = 0;
};

struct NMTREEVIEW {
    NMHDR hdr;
    UINT action = 0;
    TVITEM itemOld;
    TVITEM itemNew;
};
using LPNMTREEVIEW = NMTREEVIEW*;

class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)

public:
    BOOL Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID);

    // Under hParent (TVI_ROOT for the top), after hInsertAfter (TVI_FIRST, TVI_LAST or a
    // sibling). nullptr when hParent or hInsertAfter names no item.
    HTREEITEM InsertItem(const QString& text, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST);
    // Deletes the item with its children.
    BOOL DeleteItem(HTREEITEM hItem);
    BOOL DeleteAllItems();
    UINT GetCount() const;
    QString GetItemText(HTREEITEM hItem) const;
    BOOL SetItemText(HTREEITEM hItem, const QString& text);
    BOOL SetItemData(HTREEITEM hItem, uintptr_t data);
    uintptr_t GetItemData(HTREEITEM hItem) const;
    HTREEITEM GetRootItem() const;
    HTREEITEM GetChildItem(HTREEITEM hItem) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const;
    HTREEITEM GetParentItem(HTREEITEM hItem) const;
    HTREEITEM GetSelectedItem() const;
    BOOL SelectItem(HTREEITEM hItem);
    BOOL Expand(HTREEITEM hItem, UINT nCode);

    // The images the items show by index (not owned; it must outlive the tree or be replaced).
    // Returns the list it replaces.
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    CImageList* GetImageList(int nImageListType) const;
    // The item shows image nImage of the list, and nSelectedImage while it is selected.
    BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
    // Both 0 for an item that was never given one.
    BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;

private:
    void ShowItemImage(HTREEITEM hItem);

    CImageList* m_imageList = nullptr;
};
