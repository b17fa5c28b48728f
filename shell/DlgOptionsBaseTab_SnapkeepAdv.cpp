#include "shell/DlgOptionsBaseTab_SnapkeepAdv.h"

namespace {

constexpr OptionField kSnapkeepAdvFields[] = {
    {"SK:nSameNameHandling", 0, nullptr, nullptr},
    {"SK:bZeroAtCurrentLocation", 0, nullptr, nullptr},
    {"SK:bPresentSaveDlg4Verify", 1, nullptr, nullptr},
    {"SK:bEnableSnapkeepFromFile", 1, nullptr, nullptr},
    {"SK:nAutoOpenOption", 0, nullptr, nullptr},
};

constexpr OptionControl kSnapkeepAdvControls[] = {
    {0, 2091, OptionControl::kRadio}, {1, 2095, OptionControl::kCheck},
    {2, 2097, OptionControl::kCheck}, {3, 2096, OptionControl::kCheck},
    {4, 2098, OptionControl::kRadio},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_SnapkeepAdv, CDlgOptionsBaseTab_Fields)

CDlgOptionsBaseTab_SnapkeepAdv::CDlgOptionsBaseTab_SnapkeepAdv(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30064, kSnapkeepAdvFields, nullptr, pParentWnd) {
    SetControls(kSnapkeepAdvControls);
}

void CDlgOptionsBaseTab_SnapkeepAdv::Serialize(CArchive& ar) {
    SerializeInts(ar, static_cast<int>(m_ints.size()));
}

void CDlgOptionsBaseTab_SnapkeepAdv::RestoreDefaults() {
    for (size_t i = 0; i < m_fields.size(); ++i)
        m_ints[i] = m_fields[i].defaultValue;
}
