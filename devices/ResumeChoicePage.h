#pragma once

// CResumeChoicePage: where the capture wizard starts again after its first pass: go on to
// save the recordings, or start over.

#include "devices/WizardPage.h"

class CResumeChoicePage : public CWizardPage {
    DECLARE_DYNAMIC(CResumeChoicePage)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT IDD = 30095;
    enum Control : int {
        kMessage = 2193,
        kRestart = 1002,
        kContinue = 1006,
    };

    CResumeChoicePage();

    int OnWizardNext() override { return 0; }
    int OnWizardBack() override { return 0; }
    int OnWizardFinish() override { return 0; }
    int UpdateNextButton(CWnd* button) override { return Disable(button); }
    int UpdateBackButton(CWnd* button) override { return Disable(button); }
    int UpdateFinishButton(CWnd* button) override { return Disable(button); }
    int UpdateCancelButton(CWnd* button) override { return Enable(button); }

    // "Restart 3-D Capture Wizard" and "Continue and Save Videos".
    void OnRestart();
    void OnContinue();

protected:
    BOOL OnInitDialog() override;
};
