#include "shell/DlgTextInput.h"

#include "platform/framework/DataExchange.h"

IMPLEMENT_DYNAMIC(CDlgTextInput, CDialog)

CDlgTextInput::CDlgTextInput(CWnd* pParentWnd) : CDialog(IDD_TEXT_INPUT, pParentWnd) {}

void CDlgTextInput::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, kTextId, m_strText);
}

BOOL CDlgTextInput::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    SetDlgItemText(kPromptId, m_strPrompt);
    return TRUE;
}
