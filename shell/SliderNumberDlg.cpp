#include "shell/SliderNumberDlg.h"

#include "platform/framework/DataExchange.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSliderNumberDlg, CDialog)

BEGIN_MESSAGE_MAP(CSliderNumberDlg, CDialog)
ON_EN_CHANGE(CSliderNumberDlg::kValueId, OnValueChanged)
ON_WM_HSCROLL()
END_MESSAGE_MAP()

CSliderNumberDlg::CSliderNumberDlg(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd) {}

void CSliderNumberDlg::SetParameters(const QString& title, const QString& prompt, int minimum,
                                     int maximum, int value, int flag) {
    m_title = title;
    m_prompt = prompt;
    m_minimum = std::min(minimum, maximum);
    m_maximum = std::max(minimum, maximum);
    m_flag = flag;
    m_value =
        value < m_minimum || value > m_maximum ? m_minimum + (m_maximum - m_minimum) / 2 : value;
}

void CSliderNumberDlg::SetValue(int value) {
    m_value = std::clamp(value, m_minimum, m_maximum);
}

void CSliderNumberDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kSliderId, m_slider);
    DDX_Text(pDX, kValueId, m_value);
    DDV_MinMaxInt(pDX, m_value, m_minimum, m_maximum);
}

BOOL CSliderNumberDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(m_title);
    SetDlgItemText(kPromptId, m_prompt);
    m_slider.SetRange(m_minimum, m_maximum);
    m_slider.SetLineSize(1);
    m_slider.SetPos(m_value);
    return TRUE;
}

void CSliderNumberDlg::OnValueChanged() {
    bool ok = false;
    const int typed = GetDlgItemText(kValueId).toInt(&ok);
    if (ok && m_slider.GetSafeHwnd())
        m_slider.SetPos(std::clamp(typed, m_minimum, m_maximum));
}

void CSliderNumberDlg::OnHScroll(UINT, UINT, CWnd*) {
    if (m_slider.GetSafeHwnd())
        SetDlgItemText(kValueId, QString::number(m_slider.GetPos()));
}

void CSliderNumberDlg::OnOK() {
    if (!UpdateData(TRUE))
        return;
    CDialog::OnOK();
}
