#include "shell/ProgressDlg.h"

#include "platform/framework/DataExchange.h"
#include "shell/MainFrame.h"

#include <QCoreApplication>

IMPLEMENT_DYNAMIC(CProgressDlg, CDialog)

BEGIN_MESSAGE_MAP(CProgressDlg, CDialog)
END_MESSAGE_MAP()

CProgressDlg::CProgressDlg(UINT nIDTemplate) : CDialog(nIDTemplate) {}

CProgressDlg::~CProgressDlg() {
    if (m_holdsCloseBlock)
        CMainFrame::AdjustCloseBlockCount(FALSE);
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CProgressDlg::Create(CWnd* pParentWnd) {
    if (!CDialog::Create(m_nIDTemplate, pParentWnd))
        return FALSE;
    if (!m_holdsCloseBlock) {
        CMainFrame::AdjustCloseBlockCount(TRUE);
        m_holdsCloseBlock = true;
    }
    return TRUE;
}

void CProgressDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_BAR, m_progress);
    DDX_Text(pDX, IDC_PROGRESS_TEXT, m_strText);
}

BOOL CProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    m_progress.SetRange32(m_nLower, m_nUpper);
    m_bCancelled = FALSE;
    return TRUE;
}

void CProgressDlg::OnCancel() {
    m_bCancelled = TRUE;
    CDialog::OnCancel();
}

BOOL CProgressDlg::SetPos(int nPos) {
    if (m_progress.GetSafeHwnd())
        m_progress.SetPos(nPos);
    QCoreApplication::processEvents();
    return !m_bCancelled;
}

BOOL CProgressDlg::SetPos(CProgressDlg* pDlg, int nPos) {
    return pDlg ? pDlg->SetPos(nPos) : FALSE;
}
