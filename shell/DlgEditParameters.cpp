#include "shell/DlgEditParameters.h"

#include "platform/framework/DataExchange.h"
#include "platform/framework/IPrompter.h"

IMPLEMENT_DYNAMIC(CDlgEditParameters, CDialog)

CDlgEditParameters::CDlgEditParameters(CWnd* pParentWnd)
    : CDialog(IDD_EDIT_PARAMETERS, pParentWnd) {}

void CDlgEditParameters::SetValues(int rate, int shutter, int zeroFrame) {
    m_nRate = m_nInitialRate = rate;
    m_nShutter = m_nInitialShutter = shutter;
    m_nZeroFrame = m_nInitialZeroFrame = zeroFrame;
}

void CDlgEditParameters::GetValues(int* rate, int* shutter, int* zeroFrame) const {
    *rate = m_nRate;
    *shutter = m_nShutter;
    *zeroFrame = m_nZeroFrame;
}

void CDlgEditParameters::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, kRateId, m_nRate);
    DDX_Text(pDX, kShutterId, m_nShutter);
    DDX_Text(pDX, kZeroFrameId, m_nZeroFrame);
}

BOOL CDlgEditParameters::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(QStringLiteral("Edit Recorded Parameters"));
    return TRUE;
}

void CDlgEditParameters::OnOK() {
    if (!UpdateData(TRUE))
        return;
    if (m_nRate < 0) {
        AfxMessageBox(QStringLiteral("Invalid rate enterred.  Rate must be greater than zero."));
        return;
    }
    if (m_nShutter < 0) {
        AfxMessageBox(QStringLiteral(
            "Invalid shutter speed enterred.  Shutter speed must be greater than zero."));
        return;
    }
    EndDialog(IDOK);
}

void CDlgEditParameters::OnCancel() {
    m_nRate = m_nInitialRate;
    m_nShutter = m_nInitialShutter;
    m_nZeroFrame = m_nInitialZeroFrame;
    CDialog::OnCancel();
}
