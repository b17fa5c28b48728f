#include "shell/DlgFormatSelection.h"

#include "platform/framework/DataExchange.h"

IMPLEMENT_DYNAMIC(CDlgFormatSelection, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CDlgFormatSelection, CDialog)
    ON_CBN_SELCHANGE(CDlgFormatSelection::kFormatComboId, OnSelChange)
END_MESSAGE_MAP()
// clang-format on

CDlgFormatSelection::CDlgFormatSelection(CWnd* pParentWnd)
    : CDialog(IDD_FORMAT_SELECTION, pParentWnd) {}

int CDlgFormatSelection::IndexOfFormat(const QString& format) {
    const QString lower = format.toLower();
    int index = 0;
    if (lower.contains(QLatin1String("bmp")))
        index = 1;
    if (lower.contains(QLatin1String("jpg")))
        index = 2;
    if (lower.contains(QLatin1String("tif")))
        index = 3;
    return index;
}

void CDlgFormatSelection::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kFormatComboId, m_combo);
}

BOOL CDlgFormatSelection::OnInitDialog() {
    CDialog::OnInitDialog();
    m_combo.ResetContent();
    for (const char* item : {"AVI", "BMP", "JPG", "TIF"})
        m_combo.AddString(QString::fromLatin1(item));
    m_combo.SetCurSel(IndexOfFormat(m_strFormat));
    return TRUE;
}

void CDlgFormatSelection::OnSelChange() {
    const int selected = m_combo.GetCurSel();
    if (selected >= 0)
        m_strFormat = m_combo.GetLBText(selected);
}
