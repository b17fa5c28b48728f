#pragma once

// CCalibrationSavedPage: the capture wizard's fourth page; it names the two calibration images
// just written.

#include "devices/WizardPage.h"

class CProjectDestinationPage;

class CCalibrationSavedPage : public CWizardPage {
    DECLARE_DYNAMIC(CCalibrationSavedPage)

public:
    static constexpr UINT IDD = 30093;
    static constexpr int kMessage = 2193;

    // destination holds the image paths; it outlives this page.
    explicit CCalibrationSavedPage(const CProjectDestinationPage& destination);

    int UpdateNextButton(CWnd* button) override { return Enable(button); }
    int UpdateBackButton(CWnd* button) override { return Enable(button); }
    int UpdateFinishButton(CWnd* button) override { return Disable(button); }
    int UpdateCancelButton(CWnd* button) override { return Enable(button); }
    void OnShowPage(BOOL show) override;

protected:
    BOOL OnInitDialog() override;

private:
    const CProjectDestinationPage& m_destination;
};
