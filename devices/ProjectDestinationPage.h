#pragma once

// CProjectDestinationPage: the capture wizard's third page. The user names the project file;
// Next captures one calibration image from each camera into the project's folder, named after
// the project.

#include "devices/WizardPage.h"

#include <QString>

#include <functional>

class CFrameImage;

class CProjectDestinationPage : public CWizardPage {
    DECLARE_DYNAMIC(CProjectDestinationPage)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT IDD = 30092;
    enum Control : int {
        kMessage = 2193,
        kNextHint = 2194,
        kProjectPath = 2190,
        kBrowse = 2192,
    };
    // Fills the image with the current frame of camera 0 or 1: TRUE, or FALSE when there is none.
    using FrameReader = std::function<BOOL(int camera, CFrameImage* image)>;

    CProjectDestinationPage();

    void SetFrameReader(FrameReader reader) { m_reader = std::move(reader); }

    // Derives the folder and title from the project path and saves each camera's current frame
    // as a BMP file there; an empty path or a frame that cannot be saved is told and keeps the
    // page.
    int OnWizardNext() override;
    int OnWizardFinish() override { return 0; }
    int UpdateNextButton(CWnd* button) override { return Enable(button); }
    int UpdateBackButton(CWnd* button) override { return Enable(button); }
    int UpdateFinishButton(CWnd* button) override { return Disable(button); }
    int UpdateCancelButton(CWnd* button) override { return Enable(button); }

    // "Browse...": the save dialog of the project file.
    void OnBrowse();

    const QString& GetProjectPath() const { return m_projectPath; }
    const QString& GetProjectFolder() const { return m_projectFolder; }
    const QString& GetProjectTitle() const { return m_projectTitle; }
    const QString& GetCalibrationImage(int camera) const { return m_images[camera]; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    FrameReader m_reader;
    QString m_projectPath;
    QString m_projectFolder;
    QString m_projectTitle;
    QString m_images[2];
};
