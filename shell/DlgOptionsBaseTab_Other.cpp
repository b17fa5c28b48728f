#include "shell/DlgOptionsBaseTab_Other.h"

namespace {

constexpr OptionField kOtherFields[] = {
    {"Other:PGRelativeDefault", 1, nullptr, nullptr},
    {"Track:UpdatePlyControlWhile", 0, nullptr, nullptr},
};

constexpr OptionControl kOtherControls[] = {
    {0, 2151, OptionControl::kCheck},
    {1, 2118, OptionControl::kCheck},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Other, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Other::CDlgOptionsBaseTab_Other(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30076, kOtherFields, nullptr, pParentWnd) {
    SetControls(kOtherControls);
}

void CDlgOptionsBaseTab_Other::RestoreDefaults() {
    Int(1) = 1;
}
