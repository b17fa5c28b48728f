#include "shell/DlgOptionsBaseTab_Video.h"

namespace {

constexpr OptionField kVideoFields[] = {
    {"Video:ZoomMode", 0, "Video : ZoomMode", "Video : ZoomMode"},
    {"Video:ShowReticle", 1, "Video : ShowReticle", "Video : ShowReticle"},
    {"Video:ShowRulers", 0, "Video : ShowRulers", "Video : ShowRulers"},
    {"Video:ShowInfo", 0, "Video : ShowInfo", "Video : ShowInfo"},
};

constexpr int kZoomModeListId = 2257;

constexpr OptionControl kVideoControls[] = {
    {0, kZoomModeListId, OptionControl::kListIndex},
    {1, 2258, OptionControl::kCheck},
    {2, 2259, OptionControl::kCheck},
    {3, 2260, OptionControl::kCheck},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Video, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Video::CDlgOptionsBaseTab_Video(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30114, kVideoFields, kProgramOptionsKey, pParentWnd) {
    SetControls(kVideoControls);
}

BOOL CDlgOptionsBaseTab_Video::OnInitDialog() {
    if (!m_zoomModeList.GetSafeHwnd() && m_zoomModeList.SubclassDlgItem(kZoomModeListId, this)) {
        for (const QString& item : ZoomModeItems())
            m_zoomModeList.AddString(item);
    }
    return CDlgOptionsBaseTab_Fields::OnInitDialog();
}

QStringList CDlgOptionsBaseTab_Video::ZoomModeItems() {
    return {"No Smoothing", "Bilinear Smoothing", "Bicubic Smoothing", "High Quality Bilinear",
            "High Quality Bicubic"};
}
