#include "devices/ConvertFilesPage.h"

#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/WinApp.h"
#include "shell/VidraApp.h"

IMPLEMENT_DYNAMIC(CConvertFilesPage, CWizardPage)

// clang-format off
BEGIN_MESSAGE_MAP(CConvertFilesPage, CWizardPage)
    ON_BN_CLICKED(CConvertFilesPage::kBrowseSource, OnBrowseSource)
    ON_BN_CLICKED(CConvertFilesPage::kBrowseDestination, OnBrowseDestination)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr const char* kDescriptionText =
    "This wizard loads Vidra 2.0 video and data files and creates a playgrp file.\r\n\r\nThe "
    "Vidra 2.0 video and data files are not modified or copied.  A new playgrp file is created "
    "that references the Vidra 2.0 video and data files.  This playgrp file simplifies loading "
    "of both the video and data files into this application.\r\n\r\nNOTE: A playgrp file is not "
    "required to load Vidra 2.0 files.  The individual video and data files can be opened "
    "directly without using a playgrp file.";

// The play-group extension as the application's play-group type reports it.
QString PlayGroupExtension() {
    QString extension = QStringLiteral(".avi");
    auto* app = dynamic_cast<CVidraApp*>(AfxGetApp());
    if (CDocTemplate* group = app ? app->GetTemplateByKey(QStringLiteral("DT:Meas2")) : nullptr) {
        QString reported;
        if (group->GetDocString(reported, CDocTemplate::filterExt) && !reported.isEmpty())
            extension = reported;
    }
    return extension;
}

}  // namespace

CConvertFilesPage::CConvertFilesPage() : CWizardPage(IDD) {}

void CConvertFilesPage::DoDataExchange(CDataExchange* pDX) {
    CWizardPage::DoDataExchange(pDX);
    DDX_Text(pDX, kSource, m_source);
    DDX_Text(pDX, kDestination, m_destination);
    DDX_Text(pDX, kDescription, m_description);
}

BOOL CConvertFilesPage::OnInitDialog() {
    m_description = QString::fromLatin1(kDescriptionText);
    m_source.clear();
    m_destination.clear();
    CWizardPage::OnInitDialog();
    WrapText(kDescription);
    return TRUE;
}

void CConvertFilesPage::OnBrowseSource() {
    UpdateData(TRUE);
    const QString extension = QStringLiteral(".avi");
    CFileDialog dialog(TRUE, extension, QString(), OFN_HIDEREADONLY,
                       QStringLiteral("Video Files (*%1)|*%1||").arg(extension), this);
    dialog.m_ofn.lpstrTitle =
        QStringLiteral("Select Video to Load (will also load data if present)");
    if (dialog.DoModal() != IDOK)
        return;
    m_source = dialog.GetPathName();
    UpdateData(FALSE);
}

void CConvertFilesPage::OnBrowseDestination() {
    UpdateData(TRUE);
    const QString extension = PlayGroupExtension();
    CFileDialog dialog(FALSE, extension, QString(), OFN_HIDEREADONLY,
                       QStringLiteral("Play Group Files (*%1)|*%1||").arg(extension), this);
    if (dialog.DoModal() != IDOK)
        return;
    m_destination = dialog.GetPathName();
    UpdateData(FALSE);
}

int CConvertFilesPage::OnWizardFinish() {
    UpdateData(TRUE);
    if (m_source.isEmpty()) {
        Message(QStringLiteral("No source file has been selected.  Please select a source file."),
                MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    if (m_destination.isEmpty()) {
        Message(QStringLiteral(
                    "No destination file has been selected.  Please select a destination file."),
                MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    return 1;
}
