#include "shell/DlgOptionsBaseTab_General.h"

#include "platform/framework/Button.h"
#include "platform/framework/MessageMap.h"

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

constexpr UINT kRemoveMaxMinCloseId = 2116;

// Every field is a check box on the page, in the order of the fields.
constexpr OptionControl kGeneralControls[] = {
    {kOpenInExisting, 2109, OptionControl::kCheck},
    {kOpenPGInExisting, 2203, OptionControl::kCheck},
    {kFlattenTo2, 2110, OptionControl::kCheck},
    {kOpenDevPlayInExisting, 2111, OptionControl::kCheck},
    {kKeepOneOpen, 2115, OptionControl::kCheck},
    {kDockPanelToPR, 2117, OptionControl::kCheck},
    {kRemoveMaxMinClose, kRemoveMaxMinCloseId, OptionControl::kCheck},
    {kStartMax, 2113, OptionControl::kCheck},
    {kStartWith, 2112, OptionControl::kCheck},
    {kAlwaysMax, 2114, OptionControl::kCheck},
    {kOpenSimilarlyNamed, 2143, OptionControl::kCheck},
    {kPrompt4CloseFromDevice, 2216, OptionControl::kCheck},
    {kGroupManager, 2268, OptionControl::kCheck},
    {kGroupContents, 2269, OptionControl::kCheck},
    {kUpdatePlayWhileTracking, 2118, OptionControl::kCheck},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_General, CDlgOptionsBaseTab_Fields)

BEGIN_MESSAGE_MAP(CDlgOptionsBaseTab_General, CDlgOptionsBaseTab_Fields)
ON_BN_CLICKED(kRemoveMaxMinCloseId, OnRemoveMaxMinClose)
END_MESSAGE_MAP()

CDlgOptionsBaseTab_General::CDlgOptionsBaseTab_General(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30099, kGeneralFields, kProgramOptionsKey, pParentWnd) {
    SetControls(kGeneralControls);
}

void CDlgOptionsBaseTab_General::OnRemoveMaxMinClose() {
    UpdateData(TRUE);
    ApplyBasicInterface();
    UpdateData(FALSE);
}

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
