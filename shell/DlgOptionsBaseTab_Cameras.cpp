#include "shell/DlgOptionsBaseTab_Cameras.h"

namespace {

constexpr OptionField kCamerasFields[] = {
    {"Cameras:CheckKRM", 1, "Cameras : KRM", "Cameras : KRM"},
    {"Cameras:CheckFASTEC", 1, "Cameras : FASTEC", "Cameras : FASTEC"},
    {"Cameras:CheckFC", 1, "Cameras : FC", "Cameras : FC"},
    {"Cameras:CheckHG", 1, "Cameras : HG", "Cameras : HG"},
    {"Cameras:CheckIDT", 1, "Cameras : IDT", "Cameras : IDT"},
    {"Cameras:CheckORVEX", 1, "Cameras : ORVEX", "Cameras : ORVEX"},
    {"Cameras:OpenPlaybackFASTEC", 1, "Cameras : OpenPBFastec", "Cameras : OpenPBFastec"},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Cameras, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Cameras::CDlgOptionsBaseTab_Cameras(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30107, kCamerasFields, kProgramOptionsKey, pParentWnd) {}
