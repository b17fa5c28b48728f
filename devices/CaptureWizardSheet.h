#pragma once

// CCaptureWizardSheet: the 3-D capture wizard. Its first pass opens two cameras, shows them
// live, and captures one calibration image from each into the project's folder; the user then
// records the event. Run again, it resumes: it saves the play group's recordings beside the
// images and writes the project file ".m3d" that lists them all for Trakora. One sheet serves
// the whole run of the program, so the pages keep what the first pass chose.

#include "devices/CalibrationSavedPage.h"
#include "devices/CameraChoicePage.h"
#include "devices/CaptureEventPage.h"
#include "devices/CaptureSummaryPage.h"
#include "devices/LivePreviewPage.h"
#include "devices/ProjectDestinationPage.h"
#include "devices/ResumeChoicePage.h"
#include "devices/SaveVideosPage.h"
#include "devices/WizardSheet.h"

#include <QByteArray>
#include <QStringList>

class CCaptureWizardSheet : public CWizardSheet {
    DECLARE_DYNAMIC(CCaptureWizardSheet)

public:
    enum PageIndex : int {
        kCameraChoice,
        kLivePreview,
        kProjectDestination,
        kCalibrationSaved,
        kCaptureEvent,
        kResumeChoice,
        kSaveVideos,
        kCaptureSummary,
        kPageCount
    };

    explicit CCaptureWizardSheet(CWnd* pParentWnd = nullptr);
    ~CCaptureWizardSheet() override;

    // Set once the first pass is done: the next run starts at the resume choice.
    BOOL GetResumeFlag() const { return m_resume; }
    void SetResumeFlag(BOOL resume) { m_resume = resume; }

    CCameraChoicePage& GetCameraChoicePage() { return m_cameraChoice; }
    CLivePreviewPage& GetLivePreviewPage() { return m_livePreview; }
    CProjectDestinationPage& GetProjectDestinationPage() { return m_projectDestination; }
    CSaveVideosPage& GetSaveVideosPage() { return m_saveVideos; }
    CCaptureSummaryPage& GetCaptureSummaryPage() { return m_captureSummary; }

    // The project file's text: calibration images 0 and 1, the videos from 2 on and last the
    // project file itself, each "index: path" with the path relative to the folder.
    static QByteArray ProjectFileText(const QString& folder, const QString& title,
                                      const QString& image1, const QString& image2,
                                      const QStringList& videos);

    // Finish: the first pass closes after its message; the second writes the project file
    // and, when asked, opens it with the desktop's handler. A project file that cannot be
    // written is told and keeps the wizard open.
    void OnOK() override;

protected:
    BOOL OnInitDialog() override;

private:
    BOOL WriteProjectFile();

    CCameraChoicePage m_cameraChoice;
    CLivePreviewPage m_livePreview;
    CProjectDestinationPage m_projectDestination;
    CCalibrationSavedPage m_calibrationSaved;
    CCaptureEventPage m_captureEvent;
    CResumeChoicePage m_resumeChoice;
    CSaveVideosPage m_saveVideos;
    CCaptureSummaryPage m_captureSummary;
    BOOL m_resume = FALSE;
};
