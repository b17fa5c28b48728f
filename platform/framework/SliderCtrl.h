#pragma once

// CSliderCtrl: a slider (trackbar) over QSlider; TBS_VERT makes it vertical. Moves reach the
// parent as WM_HSCROLL (WM_VSCROLL when vertical) with the scroll code and position; letting
// go of the mouse sends NM_RELEASEDCAPTURE.

#include "platform/framework/Wnd.h"

class CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)

public:
    BOOL Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID);

    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetPos(int nPos);
    int GetPos() const;
    void SetTicFreq(int nFreq);
    int SetPageSize(int nSize);
    int SetLineSize(int nSize);
};
