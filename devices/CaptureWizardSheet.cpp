#include "devices/CaptureWizardSheet.h"

#include "frames/FileInUse.h"
#include "frames/FileNames.h"
#include "platform/framework/Shell.h"

#include <QSaveFile>

IMPLEMENT_DYNAMIC(CCaptureWizardSheet, CWizardSheet)

CCaptureWizardSheet::CCaptureWizardSheet(CWnd* pParentWnd)
    : CWizardSheet(pParentWnd),
      m_calibrationSaved(m_projectDestination),
      m_saveVideos(m_projectDestination),
      m_captureSummary(m_projectDestination, m_saveVideos) {
    const auto frames = [this](int camera, CFrameImage* image) {
        return m_cameraChoice.GetCameraFrame(camera, image);
    };
    m_livePreview.SetFrameReader(frames);
    m_projectDestination.SetFrameReader(frames);
}

CCaptureWizardSheet::~CCaptureWizardSheet() = default;

BOOL CCaptureWizardSheet::OnInitDialog() {
    CWizardSheet::OnInitDialog();
    SetWindowText(QStringLiteral("Trakora 3-D Capture Wizard"));
    SetHeading(QStringLiteral("Capture Wizard for Trakora 3-D"),
               QStringLiteral("Capture calibration and measurement images for use in Trakora "
                              "3-D."));
    CWizardPage* const pages[kPageCount] = {
        &m_cameraChoice, &m_livePreview,  &m_projectDestination, &m_calibrationSaved,
        &m_captureEvent, &m_resumeChoice, &m_saveVideos,         &m_captureSummary};
    for (CWizardPage* page : pages)
        AddPage(page);
    ShowOnlyPage(m_resume ? kResumeChoice : kCameraChoice);
    return TRUE;
}

QByteArray CCaptureWizardSheet::ProjectFileText(const QString& folder, const QString& title,
                                                const QString& image1, const QString& image2,
                                                const QStringList& videos) {
    QStringList paths = {image1, image2};
    paths += videos;
    paths << folder + QLatin1Char('/') + title + QStringLiteral(".m3d");
    QByteArray text;
    for (qsizetype i = 0; i < paths.size(); ++i)
        text += QStringLiteral("%1: %2\n")
                    .arg(QString::number(i), MakeRelativePath(folder, paths[i]))
                    .toUtf8();
    return text;
}

BOOL CCaptureWizardSheet::WriteProjectFile() {
    const CProjectDestinationPage& destination = m_projectDestination;
    QSaveFile file(destination.GetProjectPath());
    if (!file.open(QIODevice::WriteOnly))
        return FALSE;
    const QByteArray text =
        ProjectFileText(destination.GetProjectFolder(), destination.GetProjectTitle(),
                        destination.GetCalibrationImage(0), destination.GetCalibrationImage(1),
                        m_saveVideos.GetSavedVideos());
    return file.write(text) == text.size() && file.commit();
}

void CCaptureWizardSheet::OnOK() {
    // Enter reaches Finish even while the page keeps the button disabled.
    if (!IsButtonEnabled(kFinish))
        return;
    if (!m_resume) {
        if (!m_captureEvent.OnWizardFinish())
            return;
        Message(QStringLiteral("After you have captured your measurement images, run this "
                               "wizard\nagain to complete the process of generating a Trakora "
                               "3-D project."),
                MB_OK | MB_ICONINFORMATION);
        m_resume = TRUE;
        EndDialog(IDOK);
        return;
    }
    if (!m_captureSummary.OnWizardFinish())
        return;
    if (!CheckWriteDestination(m_projectDestination.GetProjectPath()))
        return;
    if (!WriteProjectFile()) {
        Message(QStringLiteral("Error opening project file for writing.  Unable to continue."),
                MB_OK | MB_ICONSTOP);
        return;
    }
    m_resume = FALSE;
    Message(QStringLiteral("Trakora Project file has been saved successfully."),
            MB_OK | MB_ICONINFORMATION);
    const QString project = m_projectDestination.GetProjectPath();
    if (m_captureSummary.GetOpenProject() && !AfxShellOpen(project))
        Message(QStringLiteral("Unable to open file using Trakora.  Please make sure that Trakora "
                               "is installed properly\nor try opening the file [%1] manually.")
                    .arg(project),
                MB_OK | MB_ICONWARNING);
    EndDialog(IDOK);
}
