#include "shell/DlgOptionsBaseTab_ReccCP.h"

namespace {

constexpr OptionField kReccCPFields[] = {
    {"ReccCP:SingleRecordTab", 1, nullptr, nullptr},
    {"ReccCP:DisplayNonIntRecRates", 0, nullptr, nullptr},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_ReccCP, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_ReccCP::CDlgOptionsBaseTab_ReccCP(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30068, kReccCPFields, nullptr, pParentWnd) {}

void CDlgOptionsBaseTab_ReccCP::RestoreDefaults() {
    Int(0) = 1;
    Int(1) = 0;
}
