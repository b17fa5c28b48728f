#pragma once

// CButton: a push button, check box, radio button, group box or owner-drawn button (by its
// BS_ style) over a QAbstractButton or QGroupBox. An owner-drawn button is painted by
// DrawItem when its parent does not draw it (WM_DRAWITEM).

#include "platform/framework/DrawItem.h"
#include "platform/framework/Wnd.h"

// WM_COMMAND notification codes of buttons.
inline constexpr WORD BN_CLICKED = 0;
inline constexpr WORD BN_DOUBLECLICKED = 5;

inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;
inline constexpr int BST_INDETERMINATE = 2;

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)

public:
    BOOL Create(const QString& caption, DWORD dwStyle, const CRect& rect, CWnd* pParentWnd,
                UINT nID);

    int GetCheck() const;
    void SetCheck(int nCheck);

    // Draws the owner-drawn button into lpDrawItemStruct->pDC; the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
