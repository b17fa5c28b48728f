#include "groups/LutColorAdjustDlg2.h"

#include "groups/GeneralView.h"
#include "groups/MeasurementView.h"
#include "platform/framework/FrameWnd.h"
#include "views/VidView.h"

IMPLEMENT_DYNAMIC(CLutColorAdjustDlg2, CLutColorAdjustDlg)

CLutColorAdjustDlg2::CLutColorAdjustDlg2() : CLutColorAdjustDlg(kTemplateId) {}

CVidView* CLutColorAdjustDlg2::FindVideoView() {
    auto* project = m_frame ? dynamic_cast<CGeneralView*>(m_frame->GetActiveView()) : nullptr;
    CWnd* child = project ? project->GetFirstChildView() : nullptr;
    // A play group inside the project: its active member is the project's video.
    if (auto* group = dynamic_cast<CMeasurementView*>(child))
        return AsVideoView(group->GetActivePlaybackView());
    return AsVideoView(dynamic_cast<CPlaybackView*>(child));
}
