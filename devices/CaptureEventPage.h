#pragma once

// CCaptureEventPage: the capture wizard's fifth page. It tells the user how to record the
// event; Finish closes the wizard until the recordings are made.

#include "devices/WizardPage.h"

class CCaptureEventPage : public CWizardPage {
    DECLARE_DYNAMIC(CCaptureEventPage)

public:
    static constexpr UINT IDD = 30094;
    static constexpr int kMessage = 2193;

    CCaptureEventPage();

    int OnWizardNext() override { return 0; }
    int UpdateBackButton(CWnd* button) override { return Enable(button); }
    int UpdateFinishButton(CWnd* button) override { return Enable(button); }
    int UpdateCancelButton(CWnd* button) override { return Enable(button); }

protected:
    BOOL OnInitDialog() override;
};
