#pragma once

// CSpinButtonCtrl: an up-down control. An arrow first proposes its change to the parent as
// UDN_DELTAPOS (NMUPDOWN with the position and a delta of +1 or -1 towards the upper or lower
// end of the range); a non-zero result refuses it. The default range runs from 100 (lower) to
// 0 (upper), so there the up arrow proposes -1. With UDS_SETBUDDYINT the position is shown in
// the buddy (with UDS_AUTOBUDDY the control before it in the template).

#include "platform/framework/Wnd.h"

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)

public:
    BOOL Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID);

    void SetRange(short nLower, short nUpper) { SetRange32(nLower, nUpper); }
    void SetRange32(int nLower, int nUpper);
    void GetRange32(int& nLower, int& nUpper) const;
    // Returns the previous position; the position is kept inside the range.
    int SetPos(int nPos);
    // The buddy's number with UDS_SETBUDDYINT when it holds one, else the position.
    int GetPos() const;
    CWnd* SetBuddy(CWnd* pWndBuddy);
    CWnd* GetBuddy() const;
};
