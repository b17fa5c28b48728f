#include "devices/RecordingBusyDlg.h"

#include "devices/core/RecordGroup.h"
#include "platform/framework/MessageMap.h"

IMPLEMENT_DYNAMIC(CRecordingBusyDlg, CDialog)

BEGIN_MESSAGE_MAP(CRecordingBusyDlg, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

CRecordingBusyDlg::CRecordingBusyDlg(CWnd* pParentWnd) : CDialog(kTemplate, pParentWnd) {}

void CRecordingBusyDlg::ShowText(const QString& text, BOOL blink) {
    if (text == m_text)
        return;
    CWnd* item = GetSafeHwnd() ? GetDlgItem(kTextId) : nullptr;
    if (item)
        item->SetWindowText(text);
    m_text = text;
    m_blinkPhase = 0;
    if (item)
        item->ShowWindow(SW_SHOW);
    StopTimer();
    if (blink)
        StartTimer();
}

void CRecordingBusyDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kBlinkTimer) {
        Default();
        return;
    }
    StopTimer();
    m_blinkPhase = m_blinkPhase ? 0 : 1;
    if (!GetSafeHwnd())
        return;
    if (CWnd* item = GetDlgItem(kTextId))
        item->ShowWindow(m_blinkPhase ? SW_SHOW : SW_HIDE);
    if (m_group && m_group->GetState() == CRecordGroup::kRecord)
        StartTimer();
    else
        ShowWindow(SW_HIDE);
}

void CRecordingBusyDlg::StartTimer() {
    m_timerRunning = SetTimer(kBlinkTimer, kBlinkMs) != 0;
}

void CRecordingBusyDlg::StopTimer() {
    if (GetSafeHwnd())
        KillTimer(kBlinkTimer);
    m_timerRunning = false;
}
