#include "devices/SaveVideosPage.h"

#include "devices/ProjectDestinationPage.h"
#include "frames/FileNames.h"
#include "groups/GeneralView.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "platform/framework/WinApp.h"
#include "shell/VidraFrameWnd.h"

IMPLEMENT_DYNAMIC(CSaveVideosPage, CWizardPage)

namespace {

// The group save lists its data files too; the project lists measurement videos only.
bool IsDataFile(const QString& path) {
    const QString extension = GetFileExtension(path);
    for (const char* data : {"mdat", "au2", "vidatqn"}) {
        if (extension.compare(QLatin1String(data), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

}  // namespace

CSaveVideosPage::CSaveVideosPage(const CProjectDestinationPage& destination)
    : CWizardPage(IDD), m_destination(destination) {}

BOOL CSaveVideosPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    WrapText(kMessage);
    SetDlgItemText(
        kMessage, QStringLiteral("Click on Next to save currently open recording playback views."));
    return TRUE;
}

int CSaveVideosPage::OnWizardNext() {
    auto* main = dynamic_cast<CVidraFrameWnd*>(AfxGetMainWnd());
    auto* project =
        main ? dynamic_cast<CGeneralView*>(main->FindViewOfClass(RUNTIME_CLASS(CGeneralView)))
             : nullptr;
    auto* group = project ? dynamic_cast<CMeasurementView*>(
                                project->FindChildViewOfClass(RUNTIME_CLASS(CMeasurementView)))
                          : nullptr;
    CMeasurementFormDoc* document = group ? group->GetGroupDoc() : nullptr;
    if (!document)
        return 1;
    // Going back and saving again lists the files of the new save only.
    m_videos.clear();
    if (document->SaveGroupToFolder(m_destination.GetProjectFolder(),
                                    m_destination.GetProjectTitle(), &m_videos) != TRUE)
        return 0;
    m_videos.removeIf(IsDataFile);
    return 1;
}
