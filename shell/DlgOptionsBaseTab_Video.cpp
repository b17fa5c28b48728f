#include "shell/DlgOptionsBaseTab_Video.h"

namespace {

constexpr OptionField kVideoFields[] = {
    {"Video:ZoomMode", 0, "Video : ZoomMode", "Video : ZoomMode"},
    {"Video:ShowReticle", 1, "Video : ShowReticle", "Video : ShowReticle"},
    {"Video:ShowRulers", 0, "Video : ShowRulers", "Video : ShowRulers"},
    {"Video:ShowInfo", 0, "Video : ShowInfo", "Video : ShowInfo"},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Video, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Video::CDlgOptionsBaseTab_Video(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30114, kVideoFields, kProgramOptionsKey, pParentWnd) {}

QStringList CDlgOptionsBaseTab_Video::ZoomModeItems() {
    return {"No Smoothing", "Bilinear Smoothing", "Bicubic Smoothing", "High Quality Bilinear",
            "High Quality Bicubic"};
}
