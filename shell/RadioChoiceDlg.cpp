#include "shell/RadioChoiceDlg.h"

#include "platform/framework/DataExchange.h"

IMPLEMENT_DYNAMIC(CRadioChoiceDlg, CDialog)

CRadioChoiceDlg::CRadioChoiceDlg(CWnd* pParentWnd) : CDialog(IDD_RADIO_CHOICE, pParentWnd) {}

void CRadioChoiceDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, kFirstRadioId, m_nChoice);
}
