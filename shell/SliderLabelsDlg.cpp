#include "shell/SliderLabelsDlg.h"

#include "platform/com/ComObject.h"
#include "platform/controls/SlideControl.h"
#include "platform/framework/Edit.h"
#include "platform/framework/IPrompter.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CSliderLabelsDlg, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CSliderLabelsDlg, CDialog)
    ON_EN_CHANGE(CSliderLabelsDlg::kValueId, OnValueChanged)
END_MESSAGE_MAP()
// clang-format on

CSliderLabelsDlg::CSliderLabelsDlg(CWnd* pParentWnd) : CDialog(IDD_SLIDER_LABELS, pParentWnd) {}

CSliderLabelsDlg::~CSliderLabelsDlg() = default;

void CSliderLabelsDlg::SetParameters(const QString& title, const QString& prompt, int minimum,
                                     int maximum, int value, int flag) {
    m_title = title;
    m_prompt = prompt;
    m_minimum = std::min(minimum, maximum);
    m_maximum = std::max(minimum, maximum);
    m_flag = flag;
    m_value = value < m_minimum || value > m_maximum
                  ? static_cast<int>((static_cast<long long>(m_minimum) + m_maximum) / 2)
                  : value;
}

void CSliderLabelsDlg::SetValue(int value) {
    m_value = std::clamp(value, m_minimum, m_maximum);
}

void CSliderLabelsDlg::SetLabels(const QString& firstCaption, const QString& secondCaption,
                                 const QString& firstUnit, const QString& secondUnit) {
    m_labels = {firstCaption, secondCaption, firstUnit, secondUnit};
}

void CSliderLabelsDlg::SetModes(int firstMode, int secondMode) {
    m_modes = {firstMode, secondMode};
}

QString CSliderLabelsDlg::QuantityText(int which) const {
    const int mode = m_modes[static_cast<size_t>(which == 0 ? 0 : 1)];
    return m_formatter ? m_formatter(m_value, mode) : QString::number(m_value);
}

BOOL CSliderLabelsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(m_title);
    SetDlgItemText(kPromptId, m_prompt);
    SetDlgItemText(kFirstCaptionId, m_labels[0]);
    SetDlgItemText(kSecondCaptionId, m_labels[1]);
    SetDlgItemText(kFirstUnitId, m_labels[2]);
    SetDlgItemText(kSecondUnitId, m_labels[3]);
    if (GetDlgItem(kSlideId) && !m_slide.GetSafeHwnd())
        m_slide.SubclassDlgItem(kSlideId, this);
    m_slide.SetRange(m_minimum, m_maximum);
    m_slide.SetStep(1);
    m_slide.SetPointerValue(1, m_value);
    m_slideEvents.Connect(m_slide, [this](DISPID event, int, double value) {
        if (event == CSlideControl::kEventValueChanged ||
            event == CSlideControl::kEventValueChanging)
            OnSlideMoved(value);
    });
    m_syncing = true;
    SetDlgItemText(kValueId, QString::number(m_value));
    m_syncing = false;
    ShowQuantities();
    return TRUE;
}

void CSliderLabelsDlg::OnSlideMoved(double value) {
    if (!std::isfinite(value))
        return;
    m_value = std::clamp(
        static_cast<int>(std::lround(std::clamp(value, double(m_minimum), double(m_maximum)))),
        m_minimum, m_maximum);
    m_syncing = true;
    SetDlgItemText(kValueId, QString::number(m_value));
    m_syncing = false;
    ShowQuantities();
}

void CSliderLabelsDlg::OnValueChanged() {
    if (m_syncing)
        return;
    bool ok = false;
    const int typed = GetDlgItemText(kValueId).trimmed().toInt(&ok);
    if (!ok)
        return;
    m_value = std::clamp(typed, m_minimum, m_maximum);
    m_slide.SetPointerValue(1, m_value);
    ShowQuantities();
}

void CSliderLabelsDlg::ShowQuantities() {
    SetDlgItemText(kFirstValueId, QuantityText(0));
    SetDlgItemText(kSecondValueId, QuantityText(1));
}

void CSliderLabelsDlg::OnOK() {
    bool ok = false;
    const long long typed = GetDlgItemText(kValueId).trimmed().toLongLong(&ok);
    if (!ok || typed < m_minimum || typed > m_maximum) {
        AfxMessageBox(QStringLiteral("Please enter an integer between %1 and %2.")
                          .arg(m_minimum)
                          .arg(m_maximum),
                      MB_ICONEXCLAMATION);
        return;
    }
    m_value = static_cast<int>(typed);
    EndDialog(IDOK);
}
