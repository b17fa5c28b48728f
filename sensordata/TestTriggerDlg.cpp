#include "sensordata/TestTriggerDlg.h"

#include "platform/framework/Button.h"
#include "sensordata/DataAcqWnd.h"
#include "sensorres/SensorResourceIds.h"

#include <QSlider>

#include <algorithm>

IMPLEMENT_DYNAMIC(CTestTriggerDlg, CDialog)

BEGIN_MESSAGE_MAP(CTestTriggerDlg, CDialog)
ON_BN_CLICKED(CTestTriggerDlg::kToggle, OnToggle)
ON_WM_HSCROLL()
END_MESSAGE_MAP()

CTestTriggerDlg::CTestTriggerDlg(CWnd* pParent)
    : CDialog(SensorRes::kTestTriggerTemplate, pParent) {}

BOOL CTestTriggerDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (CWnd* output = GetDlgItem(kOutput)) {
        if (auto* slider = qobject_cast<QSlider*>(output->GetQWidget())) {
            slider->setRange(kMinStep, kMaxStep);
            slider->setValue(0);
        }
    }
    return TRUE;
}

void CTestTriggerDlg::OnToggle() {
    IDriverDevice* driver = m_pOwner ? m_pOwner->Driver() : nullptr;
    if (driver && driver->SetDio6(m_nDio6 ? 0 : 1) == 0)
        m_nDio6 = m_nDio6 ? 0 : 1;
}

void CTestTriggerDlg::SetOutputStep(int step) {
    IDriverDevice* driver = m_pOwner ? m_pOwner->Driver() : nullptr;
    if (driver)
        driver->SetDac0(std::clamp(step, kMinStep, kMaxStep) / 10.0);
}

void CTestTriggerDlg::OnHScroll(UINT code, UINT, CWnd* bar) {
    if (!bar || bar->GetDlgCtrlID() != kOutput || code == SB_ENDSCROLL)
        return;
    if (auto* slider = qobject_cast<QSlider*>(bar->GetQWidget()))
        SetOutputStep(slider->value());
}

// OK only hides the window: it is kept for the next show.
void CTestTriggerDlg::OnOK() {
    ShowWindow(SW_HIDE);
}
