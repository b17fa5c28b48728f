#include "shell/DlgWindowList.h"

#include "platform/framework/DataExchange.h"

IMPLEMENT_DYNAMIC(CDlgWindowList, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CDlgWindowList, CDialog)
    ON_LBN_DBLCLK(IDC_WINDOW_LIST, OnDoubleClick)
END_MESSAGE_MAP()
// clang-format on

CDlgWindowList::CDlgWindowList(const QStringList& names, int current, CWnd* pParentWnd)
    : CDialog(IDD_WINDOW_LIST, pParentWnd), m_names(names), m_current(current) {}

void CDlgWindowList::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WINDOW_LIST, m_list);
}

BOOL CDlgWindowList::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const QString& name : m_names)
        m_list.AddString(name);
    m_list.SetCurSel(m_current);
    return TRUE;
}

INT_PTR CDlgWindowList::DoModal() {
    m_chosen = kNoChoice;
    return CDialog::DoModal() == IDOK ? m_chosen : kNoChoice;
}

void CDlgWindowList::OnOK() {
    const int selected = m_list.GetCurSel();
    m_chosen = selected >= 0 ? selected : kNoChoice;
    EndDialog(IDOK);
}

void CDlgWindowList::OnCancel() {
    m_chosen = kNoChoice;
    EndDialog(IDCANCEL);
}

void CDlgWindowList::OnDoubleClick() {
    OnOK();
}
