#pragma once

// CTabCtrl: a row of tabs over QTabBar. A tab chosen by the user sends TCN_SELCHANGING (a
// non-zero result keeps the current tab) and then TCN_SELCHANGE; SetCurSel sends neither. The
// pages shown under the tabs belong to the parent, which switches them on TCN_SELCHANGE.

#include "platform/framework/Wnd.h"

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)

public:
    BOOL Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID);

    // Returns the index of the new tab, or -1.
    int InsertItem(int nItem, const QString& text);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    int GetCurSel() const;
    // Returns the previous selection, or -1 when nItem is no tab.
    int SetCurSel(int nItem);
    QString GetItemText(int nItem) const;
    BOOL SetItemText(int nItem, const QString& text);
    // The value the program keeps with a tab (0 until set); FALSE or 0 for no such tab.
    BOOL SetItemData(int nItem, LPARAM data);
    LPARAM GetItemData(int nItem) const;
    // bLarger FALSE: the window rectangle to the page area below the tabs; TRUE: the reverse.
    void AdjustRect(BOOL bLarger, CRect* rect) const;
};
