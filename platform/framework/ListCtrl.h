#pragma once

// CListCtrl: a report list (rows of cells under a header of columns) over QTreeWidget. Each row
// keeps a pointer-sized item data. The parent hears clicks (NM_CLICK, NM_DBLCLK, NM_RCLICK),
// selection changes (LVN_ITEMCHANGED) and column clicks (LVN_COLUMNCLICK); the header's divider
// drags and double clicks go to the list itself (HDN_BEGINTRACK, HDN_DIVIDERDBLCLICK, from
// control id 0), and a non-zero result refuses them. With LVS_OWNERDRAWFIXED every row is drawn
// by DrawItem unless the parent draws it (WM_DRAWITEM).

#include "platform/framework/DrawItem.h"
#include "platform/framework/Wnd.h"

inline constexpr DWORD LVS_REPORT = 0x0001;
inline constexpr DWORD LVS_SINGLESEL = 0x0004;
inline constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
inline constexpr DWORD LVS_OWNERDRAWFIXED = 0x0400;
inline constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;

inline constexpr int LVCFMT_LEFT = 0x0000;
inline constexpr int LVCFMT_RIGHT = 0x0001;
inline constexpr int LVCFMT_CENTER = 0x0002;

inline constexpr UINT LVIS_FOCUSED = 0x0001;
inline constexpr UINT LVIS_SELECTED = 0x0002;
inline constexpr UINT LVIF_STATE = 0x0008;

inline constexpr int LVNI_ALL = 0x0000;
inline constexpr int LVNI_FOCUSED = 0x0001;
inline constexpr int LVNI_SELECTED = 0x0002;

// NM_CLICK, NM_DBLCLK, NM_RCLICK: the row and column under the mouse (-1 below the rows).
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    CPoint ptAction;
};

// LVN_ITEMCHANGED (state changes) and LVN_COLUMNCLICK (iSubItem is the column).
struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    CPoint ptAction;
    uintptr_t lParam = 0;
};
using LPNMLISTVIEW = NMLISTVIEW*;

// HDN_BEGINTRACK, HDN_DIVIDERDBLCLICK: the column whose right divider is meant.
struct NMHEADER {
    NMHDR hdr;
    int iItem = -1;
    int iButton = 0;
};
using LPNMHEADER = NMHEADER*;

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)

public:
    BOOL Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID);

    // Returns the new column's index, or -1.
    int InsertColumn(int nCol, const QString& heading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    BOOL DeleteColumn(int nCol);
    int GetColumnCount() const;
    int GetColumnWidth(int nCol) const;
    BOOL SetColumnWidth(int nCol, int cx);

    // Returns the new row's index, or -1.
    int InsertItem(int nItem, const QString& text);
    BOOL SetItemText(int nItem, int nSubItem, const QString& text);
    QString GetItemText(int nItem, int nSubItem) const;
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    BOOL SetItemData(int nItem, uintptr_t data);
    uintptr_t GetItemData(int nItem) const;

    // The next row after nItem (-1 starts at the top) with the LVNI_ state, or -1.
    int GetNextItem(int nItem, int nFlags) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const;
    UINT GetSelectedCount() const;
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
    int GetTopIndex() const;
    // Whole rows that fit in the visible area.
    int GetCountPerPage() const;
    // The row's rectangle in the list's client co-ordinates; FALSE for no row.
    BOOL GetItemRect(int nItem, CRect* rect) const;
    // The header window (its notifications arrive with control id 0).
    CWnd* GetHeaderCtrl() const;

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
