#include "devices/CaptureEventPage.h"

IMPLEMENT_DYNAMIC(CCaptureEventPage, CWizardPage)

CCaptureEventPage::CCaptureEventPage() : CWizardPage(IDD) {}

BOOL CCaptureEventPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    WrapText(kMessage);
    SetDlgItemText(
        kMessage,
        QStringLiteral(
            "Configure the cameras and capture your event.\r\n\r\nMake sure that the cameras are "
            "not moved in any way, otherwise the resulting calibration and measurement will be "
            "unusable.  If either camera has moved in any way, you must start the process over "
            "and new calibration images must be acquired.\r\n\r\nAfter you have captured your "
            "event, set the range of frames that you wish to save for each video and then re-run "
            "this wizard to complete the process.\r\n\r\nClick on Finish to temporarily close "
            "this wizard and capture your event."));
    return TRUE;
}
