#include "shell/TimedProgressDlg.h"

IMPLEMENT_DYNAMIC(CTimedProgressDlg, CProgressDlg)

BEGIN_MESSAGE_MAP(CTimedProgressDlg, CProgressDlg)
ON_WM_TIMER()
END_MESSAGE_MAP()

CTimedProgressDlg::CTimedProgressDlg() : CProgressDlg(IDD_TIMED_PROGRESS) {}

void CTimedProgressDlg::StartTimer(UINT nPeriod, int nStep) {
    m_nPeriod = nPeriod;
    m_nStep = nStep;
    m_nPos = 0;
    SetTimer(kTimerId, nPeriod);
}

void CTimedProgressDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kTimerId) {
        CProgressDlg::OnTimer(nIDEvent);
        return;
    }
    m_nPos += m_nStep;
    if (m_nPos > 100)
        m_nPos = 0;
    SetPos(m_nPos);
    CProgressDlg::OnTimer(nIDEvent);
}
