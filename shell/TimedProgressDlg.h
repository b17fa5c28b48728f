#pragma once

// CTimedProgressDlg: a progress dialog that advances itself on a timer, for operations that
// cannot report how far they are.

#include "shell/ProgressDlg.h"

inline constexpr UINT IDD_TIMED_PROGRESS = 30109;

class CTimedProgressDlg : public CProgressDlg {
    DECLARE_DYNAMIC(CTimedProgressDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT_PTR kTimerId = 12;

    CTimedProgressDlg();

    // Restarts from 0, advancing by step every period milliseconds.
    void StartTimer(UINT nPeriod, int nStep);
    int GetCurrentPos() const { return m_nPos; }

    // One tick: the position advances by the step, wrapping to 0 above 100.
    void OnTimer(UINT_PTR nIDEvent);

private:
    UINT m_nPeriod = 0;
    int m_nStep = 10;
    int m_nPos = 0;
};
