#pragma once

// CComboBox: a drop-down list, drop-down or simple combo box over QComboBox; each entry keeps a
// pointer-sized item data. Choosing an entry sends CBN_SELCHANGE (not SetCurSel), opening
// and closing the list CBN_DROPDOWN and CBN_CLOSEUP. With CBS_OWNERDRAWFIXED the entries and
// the closed box are drawn by DrawItem unless the parent draws them (WM_DRAWITEM).

#include "platform/framework/DrawItem.h"
#include "platform/framework/Wnd.h"

inline constexpr int CB_ERR = -1;

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)

public:
    BOOL Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID);

    // Appends (in sorted place with CBS_SORT); returns the index or CB_ERR.
    int AddString(const QString& text);
    // At nIndex (-1 appends); returns the index or CB_ERR.
    int InsertString(int nIndex, const QString& text);
    // Returns the remaining count or CB_ERR.
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    // Returns the index or CB_ERR (nSelect -1 clears the selection).
    int SetCurSel(int nSelect);
    QString GetLBText(int nIndex) const;
    void GetLBText(int nIndex, QString& text) const { text = GetLBText(nIndex); }
    int SetItemData(int nIndex, uintptr_t data);
    uintptr_t GetItemData(int nIndex) const;
    // The first entry after nStartAfter equal to text ignoring case, or CB_ERR.
    int FindStringExact(int nStartAfter, const QString& text) const;
    BOOL GetDroppedState() const;
    void ShowDropDown(BOOL bShowIt = TRUE);

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
