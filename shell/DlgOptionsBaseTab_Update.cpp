#include "shell/DlgOptionsBaseTab_Update.h"

namespace {

constexpr OptionField kUpdateFields[] = {
    {"Update:bUpdateCheck", 1, "Update : bUpdateCheck", "Update : bUpdateCheck"},
    {"Update:nUpdateInterval", 30, "Update : nUpdateInterval", "Update : nUpdateInterval"},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Update, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Update::CDlgOptionsBaseTab_Update(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30113, kUpdateFields, kProgramOptionsKey, pParentWnd) {}

void CDlgOptionsBaseTab_Update::RestoreDefaults() {
    Int(0) = 1;
    Int(1) = 30;
}
