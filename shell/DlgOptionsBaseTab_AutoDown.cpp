#include "shell/DlgOptionsBaseTab_AutoDown.h"

namespace {

// The eight keyed fields are the file's, in this order; the last field has no key.
constexpr OptionField kAutoDownFields[] = {
    {"ADL:ADLmode", 0, nullptr, nullptr},
    {"ADL:nReset_Infinite_Finite", 0, nullptr, nullptr},
    {"ADL:nResetMaxCount", 0, nullptr, nullptr},
    {"ADL:bDelayedRearm", 0, nullptr, nullptr},
    {"ADL:nDelayedTimeRearm", 0, nullptr, nullptr},
    {"ADL:bSelfTrigger", 0, nullptr, nullptr},
    {"ADL:nDelayedTimeSelfTrigger", 0, nullptr, nullptr},
    {"ADL:nStartCount", 0, nullptr, nullptr},
    {nullptr, 0, nullptr, nullptr},
};

constexpr int kAutoDownFileFields = 8;

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_AutoDown, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_AutoDown::CDlgOptionsBaseTab_AutoDown(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30081, kAutoDownFields, nullptr, pParentWnd) {}

void CDlgOptionsBaseTab_AutoDown::Serialize(CArchive& ar) {
    SerializeInts(ar, kAutoDownFileFields);
}
