#include "devices/ResumeChoicePage.h"

#include "devices/CaptureWizardSheet.h"
#include "platform/framework/Button.h"

IMPLEMENT_DYNAMIC(CResumeChoicePage, CWizardPage)

// clang-format off
BEGIN_MESSAGE_MAP(CResumeChoicePage, CWizardPage)
    ON_BN_CLICKED(CResumeChoicePage::kRestart, OnRestart)
    ON_BN_CLICKED(CResumeChoicePage::kContinue, OnContinue)
END_MESSAGE_MAP()
// clang-format on

CResumeChoicePage::CResumeChoicePage() : CWizardPage(IDD) {}

BOOL CResumeChoicePage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    WrapText(kMessage);
    SetDlgItemText(kMessage,
                   QStringLiteral("To complete the previous 3-D Capture Wizard click on Continue "
                                  "and Save Videos.\r\n\r\nTo restart the 3-D Capture Wizard from "
                                  "the beginning, click on Restart 3-D Capture Wizard."));
    return TRUE;
}

void CResumeChoicePage::OnRestart() {
    if (auto* sheet = dynamic_cast<CCaptureWizardSheet*>(GetSheet())) {
        sheet->SetResumeFlag(FALSE);
        sheet->ShowOnlyPage(CCaptureWizardSheet::kCameraChoice);
    }
}

void CResumeChoicePage::OnContinue() {
    if (auto* sheet = dynamic_cast<CCaptureWizardSheet*>(GetSheet())) {
        sheet->SetResumeFlag(TRUE);
        sheet->ShowOnlyPage(CCaptureWizardSheet::kSaveVideos);
    }
}
