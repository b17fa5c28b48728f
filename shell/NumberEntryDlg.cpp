#include "shell/NumberEntryDlg.h"

#include "platform/framework/Edit.h"
#include "platform/framework/IPrompter.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CNumberEntryDlg, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CNumberEntryDlg, CDialog)
    ON_NOTIFY(UDN_DELTAPOS, CNumberEntryDlg::kSpinId, OnDeltaPos)
END_MESSAGE_MAP()
// clang-format on

CNumberEntryDlg::CNumberEntryDlg(CWnd* pParentWnd) : CDialog(IDD_NUMBER_ENTRY, pParentWnd) {}

void CNumberEntryDlg::SetParameters(const QString& title, const QString& prompt, int minimum,
                                    int maximum, int value, int step) {
    m_nMin = std::min(minimum, maximum);
    m_nMax = std::max(minimum, maximum);
    // The middle without overflow at the ends of the int range.
    m_nValue = value < m_nMin || value > m_nMax
                   ? static_cast<int>((static_cast<long long>(m_nMin) + m_nMax) / 2)
                   : value;
    m_nStep = step;
    m_strTitle = title;
    m_strPrompt = prompt;
}

BOOL CNumberEntryDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    SetDlgItemText(kPromptId, m_strPrompt);
    SetDlgItemText(kValueId, QString::number(m_nValue));
    if (CWnd* edit = GetDlgItem(kValueId)) {
        edit->EnableWindow(TRUE);
        if (auto* box = dynamic_cast<CEdit*>(edit))
            box->SetReadOnly(FALSE);
    }
    // An upper end below the lower one makes the up arrow report a negative delta.
    if (GetDlgItem(kSpinId) && (m_spin.GetSafeHwnd() || m_spin.SubclassDlgItem(kSpinId, this)))
        m_spin.SetRange32(1, 0);
    return TRUE;
}

void CNumberEntryDlg::OnDeltaPos(NMHDR* pNMHDR, LRESULT* pResult) {
    const auto* updown = reinterpret_cast<NMUPDOWN*>(pNMHDR);
    bool ok = false;
    const int typed = GetDlgItemText(kValueId).trimmed().toInt(&ok);
    if (ok)
        m_nValue = typed;
    const long long stepped = updown->iDelta < 1 ? static_cast<long long>(m_nValue) + m_nStep
                                                 : static_cast<long long>(m_nValue) - m_nStep;
    m_nValue = static_cast<int>(std::clamp<long long>(stepped, m_nMin, m_nMax));
    SetDlgItemText(kValueId, QString::number(m_nValue));
    *pResult = 0;
}

void CNumberEntryDlg::OnOK() {
    bool ok = false;
    const QString text = GetDlgItemText(kValueId).trimmed();
    const long long typed = text.toLongLong(&ok);
    if (!ok) {
        AfxMessageBox(QStringLiteral("Please enter a number."), MB_ICONEXCLAMATION);
        return;
    }
    if (typed < m_nMin) {
        AfxMessageBox(
            QStringLiteral("The minimum value is %1.  Please enter a valid value.").arg(m_nMin));
        return;
    }
    if (typed > m_nMax) {
        AfxMessageBox(
            QStringLiteral("The maximum value is %1.  Please enter a valid value.").arg(m_nMax));
        return;
    }
    m_nValue = static_cast<int>(typed);
    EndDialog(IDOK);
}
