#include "shell/DlgOptionsBaseTab_General.h"

namespace {

enum GeneralField {
    kOpenInExisting,
    kOpenPGInExisting,
    kFlattenTo2,
    kOpenDevPlayInExisting,
    kKeepOneOpen,
    kDockPanelToPR,
    kRemoveMaxMinClose,
    kStartMax,
    kStartWith,
    kAlwaysMax,
    kOpenSimilarlyNamed,
    kPrompt4CloseFromDevice,
    kGroupManager,
    kGroupContents,
    kUpdatePlayWhileTracking,
};

constexpr OptionField kGeneralFields[] = {
    {"AppBehave:bOpenInExisting", 1, nullptr, nullptr},
    {"AppBehave:bOpenPGInExisting", 0, nullptr, nullptr},
    {"AppBehave:bFlatten_to_2", 1, nullptr, nullptr},
    {"AppBehave:bOpenDevPlayInExisting", 1, nullptr, nullptr},
    {"AppBehave:bPR_KeepOneOpen", 1, nullptr, "AppBehave : bPR_KeepOneOpen"},
    {"AppBehave:bPR_DockPanelToPR", 1, nullptr, nullptr},
    {"AppBehave:bPR_RemoveMaxMinClose", 1, nullptr, nullptr},
    {"AppBehave:bPR_StartMax", 1, "AppBehave : bPR_StartMax", "AppBehave : bPR_StartMax"},
    {"AppBehave:bPR_StartWith", 1, nullptr, nullptr},
    {"AppBehave:bPR_AlwaysMax", 0, nullptr, nullptr},
    {"AppBehave:bOpenSimilarlyNamed", 1, "AppBehave : bOpenSimilarlyNamed",
     "AppBehave : bOpenSimilarlyNamed"},
    {"AppBehave:bPrompt4CloseFromDevice", 1, nullptr, nullptr},
    {"AppBehave:bGroupManager", 0, nullptr, nullptr},
    {"AppBehave:bGroupContents", 0, nullptr, nullptr},
    {nullptr, 1, nullptr, nullptr},  // update the play controller while tracking
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_General, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_General::CDlgOptionsBaseTab_General(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30099, kGeneralFields, kProgramOptionsKey, pParentWnd) {}

void CDlgOptionsBaseTab_General::LoadFromRegistry() {
    CDlgOptionsBaseTab_Fields::LoadFromRegistry();
    ApplyBasicInterface();
}

void CDlgOptionsBaseTab_General::UpdateControls() {
    ApplyBasicInterface();
}

void CDlgOptionsBaseTab_General::ApplyBasicInterface() {
    Int(kFlattenTo2) = 1;
    if (GetSafeHwnd())
        if (CWnd* startMax = GetDlgItem(2113))
            startMax->EnableWindow(FALSE);
    Int(kOpenPGInExisting) = Int(kFlattenTo2);
    Int(kRemoveMaxMinClose) = Int(kFlattenTo2);
    Int(kGroupManager) = 0;
    Int(kGroupContents) = 0;
    Int(kPrompt4CloseFromDevice) = 0;
    if (GetSafeHwnd()) {
        for (int id : {2268, 2269, 2216})
            if (CWnd* control = GetDlgItem(id))
                control->EnableWindow(FALSE);
    }
}

void CDlgOptionsBaseTab_General::RestoreDefaults() {
    Int(kUpdatePlayWhileTracking) = 1;
    Int(kPrompt4CloseFromDevice) = 1;
}
