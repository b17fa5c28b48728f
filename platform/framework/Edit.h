#pragma once

// CEdit: a single-line edit field over QLineEdit. Changes send EN_CHANGE (also when the program
// sets the text), focus changes EN_SETFOCUS and EN_KILLFOCUS.

#include "platform/framework/Wnd.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)

public:
    BOOL Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID);

    // Selects characters nStartChar up to nEndChar (excluded); -1 as end means to the end.
    void SetSel(int nStartChar, int nEndChar);
    void GetSel(int& nStartChar, int& nEndChar) const;
    void ReplaceSel(const QString& text);
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    void SetLimitText(UINT nMax);
};
