#include "shell/DlgOptionsBaseTab_Update.h"

namespace {

constexpr OptionField kUpdateFields[] = {
    {"Update:bUpdateCheck", 1, "Update : bUpdateCheck", "Update : bUpdateCheck"},
    {"Update:nUpdateInterval", 30, "Update : nUpdateInterval", "Update : nUpdateInterval"},
};

constexpr OptionControl kUpdateControls[] = {
    {0, 2254, OptionControl::kCheck},
    {1, 2256, OptionControl::kNumber, 1, 100},
};

constexpr int kIntervalSpinId = 2013;

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Update, CDlgOptionsBaseTab_Fields)

CDlgOptionsBaseTab_Update::CDlgOptionsBaseTab_Update(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30113, kUpdateFields, kProgramOptionsKey, pParentWnd) {
    SetControls(kUpdateControls);
}

BOOL CDlgOptionsBaseTab_Update::OnInitDialog() {
    if (m_intervalSpin.GetSafeHwnd() || m_intervalSpin.SubclassDlgItem(kIntervalSpinId, this))
        m_intervalSpin.SetRange32(1, 100);
    return CDlgOptionsBaseTab_Fields::OnInitDialog();
}

void CDlgOptionsBaseTab_Update::RestoreDefaults() {
    Int(0) = 1;
    Int(1) = 30;
}
