#include "shell/DlgOptionsBaseTab_Cameras.h"

namespace {

using Keys = CDlgOptionsBaseTab_Cameras;
constexpr OptionField kCamerasFields[] = {
    {Keys::kFamilyCheckKeys[0], 1, "Cameras : KRM", "Cameras : KRM"},
    {Keys::kFamilyCheckKeys[1], 1, "Cameras : FASTEC", "Cameras : FASTEC"},
    {Keys::kFamilyCheckKeys[2], 1, "Cameras : FC", "Cameras : FC"},
    {Keys::kFamilyCheckKeys[3], 1, "Cameras : HG", "Cameras : HG"},
    {Keys::kFamilyCheckKeys[4], 1, "Cameras : IDT", "Cameras : IDT"},
    {Keys::kFamilyCheckKeys[5], 1, "Cameras : ORVEX", "Cameras : ORVEX"},
    {Keys::kOpenPlaybackKey, 1, "Cameras : OpenPBFastec", "Cameras : OpenPBFastec"},
};

// The six family switches; whether a playback opens with its camera has no control.
constexpr OptionControl kCamerasControls[] = {
    {0, 2208, OptionControl::kCheck}, {1, 2209, OptionControl::kCheck},
    {2, 2213, OptionControl::kCheck}, {3, 2211, OptionControl::kCheck},
    {4, 2212, OptionControl::kCheck}, {5, 2210, OptionControl::kCheck},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Cameras, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Cameras::CDlgOptionsBaseTab_Cameras(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30107, kCamerasFields, kProgramOptionsKey, pParentWnd) {
    SetControls(kCamerasControls);
}
