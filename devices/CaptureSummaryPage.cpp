#include "devices/CaptureSummaryPage.h"

#include "devices/ProjectDestinationPage.h"
#include "devices/SaveVideosPage.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"

IMPLEMENT_DYNAMIC(CCaptureSummaryPage, CWizardPage)

// clang-format off
BEGIN_MESSAGE_MAP(CCaptureSummaryPage, CWizardPage)
    ON_BN_CLICKED(CCaptureSummaryPage::kOpenProject, OnOpenProjectClicked)
END_MESSAGE_MAP()
// clang-format on

CCaptureSummaryPage::CCaptureSummaryPage(const CProjectDestinationPage& destination,
                                         const CSaveVideosPage& videos)
    : CWizardPage(IDD), m_destination(destination), m_videos(videos) {}

void CCaptureSummaryPage::DoDataExchange(CDataExchange* pDX) {
    CWizardPage::DoDataExchange(pDX);
    DDX_Check(pDX, kOpenProject, m_openProject);
}

BOOL CCaptureSummaryPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    WrapText(kMessage);
    SetDlgItemText(kMessage, QStringLiteral("FINAL CLOSING MESSAGE HERE"));
    return TRUE;
}

void CCaptureSummaryPage::OnShowPage(BOOL show) {
    if (!show)
        return;
    QString text =
        QStringLiteral("Successfully saved all open recordings.\r\n\r\n\r\n\r\n") +
        QStringLiteral("3-D Capture Wizard Summary:\r\n\r\n\tTrakora Project File:\t") +
        m_destination.GetProjectPath() + QStringLiteral("\r\n\r\n\tCalibration Image 1:\t") +
        m_destination.GetCalibrationImage(0) + QStringLiteral("\r\n\tCalibration Image 2:\t") +
        m_destination.GetCalibrationImage(1) + QStringLiteral("\r\n\r\n");
    const QStringList& videos = m_videos.GetSavedVideos();
    for (qsizetype i = 0; i < videos.size(); ++i)
        text += QStringLiteral("\tMeasurement Video %1:\t%2\r\n")
                    .arg(QString::number(i + 1), videos[i]);
    text += QStringLiteral(
        "\r\nClick on Finish to write the Trakora 3-D Project file and close the 3-D Capture "
        "Wizard.");
    SetDlgItemText(kMessage, text);
}
