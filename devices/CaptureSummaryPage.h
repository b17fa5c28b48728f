#pragma once

// CCaptureSummaryPage: the capture wizard's last page: what the project will hold, and whether
// it opens in Trakora once written.

#include "devices/WizardPage.h"

class CProjectDestinationPage;
class CSaveVideosPage;

class CCaptureSummaryPage : public CWizardPage {
    DECLARE_DYNAMIC(CCaptureSummaryPage)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT IDD = 30097;
    enum Control : int {
        kMessage = 2193,
        kOpenProject = 2202,
    };

    // Both pages hold what the summary names; they outlive this page.
    CCaptureSummaryPage(const CProjectDestinationPage& destination, const CSaveVideosPage& videos);

    int OnWizardNext() override { return 0; }
    int UpdateBackButton(CWnd* button) override { return Enable(button); }
    int UpdateFinishButton(CWnd* button) override { return Enable(button); }
    int UpdateCancelButton(CWnd* button) override { return Enable(button); }
    void OnShowPage(BOOL show) override;

    BOOL GetOpenProject() const { return m_openProject != 0; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOpenProjectClicked() { UpdateData(TRUE); }

private:
    const CProjectDestinationPage& m_destination;
    const CSaveVideosPage& m_videos;
    int m_openProject = 0;
};
