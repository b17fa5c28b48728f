#include "shell/DlgOptionsBaseTab_ReccCP.h"

namespace {

constexpr OptionField kReccCPFields[] = {
    {"ReccCP:SingleRecordTab", 1, nullptr, nullptr},
    {"ReccCP:DisplayNonIntRecRates", 0, nullptr, nullptr},
};

constexpr OptionControl kReccCPControls[] = {
    {0, 2108, OptionControl::kCheck},
    {1, 2176, OptionControl::kCheck},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_ReccCP, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_ReccCP::CDlgOptionsBaseTab_ReccCP(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30068, kReccCPFields, nullptr, pParentWnd) {
    SetControls(kReccCPControls);
}

void CDlgOptionsBaseTab_ReccCP::RestoreDefaults() {
    Int(0) = 1;
    Int(1) = 0;
}
