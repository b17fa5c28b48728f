#include "devices/CalibrationSavedPage.h"

#include "devices/ProjectDestinationPage.h"

IMPLEMENT_DYNAMIC(CCalibrationSavedPage, CWizardPage)

CCalibrationSavedPage::CCalibrationSavedPage(const CProjectDestinationPage& destination)
    : CWizardPage(IDD), m_destination(destination) {}

BOOL CCalibrationSavedPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    WrapText(kMessage);
    return TRUE;
}

void CCalibrationSavedPage::OnShowPage(BOOL show) {
    if (!show)
        return;
    SetDlgItemText(
        kMessage,
        QStringLiteral("Calibration images have been captured and saved to file.\r\n\r\n"
                       "\tCalibration Image 1:\t%1\r\n\tCalibration Image 2:\t%2\r\n"
                       "\r\nClick on Next to continue.")
            .arg(m_destination.GetCalibrationImage(0), m_destination.GetCalibrationImage(1)));
}
