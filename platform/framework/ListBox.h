#pragma once

// CListBox: a list of text entries with item data over QListWidget. With LBS_NOTIFY a change of
// selection by the user sends LBN_SELCHANGE and a double click LBN_DBLCLK. With LBS_EXTENDEDSEL
// the user selects several entries (Shift and Ctrl clicks); the current entry is then one of them.

#include "platform/framework/Wnd.h"

inline constexpr int LB_ERR = -1;
inline constexpr DWORD LBS_EXTENDEDSEL = 0x0800;

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)

public:
    BOOL Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID);

    int AddString(const QString& text);
    int InsertString(int nIndex, const QString& text);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    QString GetText(int nIndex) const;
    void GetText(int nIndex, QString& text) const { text = GetText(nIndex); }
    int SetItemData(int nIndex, uintptr_t data);
    uintptr_t GetItemData(int nIndex) const;
    // The selected entries, in list order: how many, and up to maxItems of their indices.
    int GetSelCount() const;
    int GetSelItems(int maxItems, int* items) const;
    // Selects or deselects one entry, leaving the others as they are: 0, or LB_ERR.
    int SetSel(int nIndex, BOOL bSelect = TRUE);
};
