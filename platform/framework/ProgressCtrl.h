#pragma once

// CProgressCtrl: a progress bar over QProgressBar; range 0 to 100 until set.

#include "platform/framework/Wnd.h"

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)

public:
    BOOL Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID);

    void SetRange32(int nLower, int nUpper);
    void SetRange(short nLower, short nUpper) { SetRange32(nLower, nUpper); }
    void GetRange(int& nLower, int& nUpper) const;
    // Each returns the previous position; the position stays inside the range.
    int SetPos(int nPos);
    int OffsetPos(int nPos);
    // Past the upper end the bar starts again from the lower end.
    int StepIt();
    int GetPos() const;
    // Returns the previous step (10 until set).
    int SetStep(int nStep);
};
