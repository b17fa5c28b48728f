#include "shell/DlgDeviceInformation.h"

IMPLEMENT_DYNAMIC(CDlgDeviceInformation, CDialog)

CDlgDeviceInformation::CDlgDeviceInformation(CWnd* pParentWnd)
    : CDialog(IDD_DEVICE_INFORMATION, pParentWnd) {}

BOOL CDlgDeviceInformation::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(kTextId, m_strText);
    return TRUE;
}
