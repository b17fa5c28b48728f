#include "shell/DlgOptionsBaseTab_AutoDown.h"

#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/MessageMap.h"

#include <climits>

namespace {

enum AutoDownField {
    kMode,
    kReset,
    kResetCount,
    kDelayedRearm,
    kRearmTime,
    kSelfTrigger,
    kSelfTriggerTime,
    kStartCount
};

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

using Page = CDlgOptionsBaseTab_AutoDown;
constexpr OptionControl kAutoDownControls[] = {
    {kReset, Page::kInfiniteResetId, OptionControl::kRadio},
    {kResetCount, Page::kResetCountId, OptionControl::kNumber, 0, INT_MAX},
    {kDelayedRearm, 2172, OptionControl::kCheck},
    {kRearmTime, 1003, OptionControl::kNumber, -1, 3000000},
    {kSelfTrigger, 2173, OptionControl::kCheck},
    {kSelfTriggerTime, Page::kSelfTriggerTimeId, OptionControl::kNumber, -1, 3000000},
    {kStartCount, Page::kStartCountId, OptionControl::kNumber, 0, INT_MAX},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_AutoDown, CDlgOptionsBaseTab_Fields)

BEGIN_MESSAGE_MAP(CDlgOptionsBaseTab_AutoDown, CDlgOptionsBaseTab_Fields)
ON_BN_CLICKED(CDlgOptionsBaseTab_AutoDown::kBasicModeId, OnChoiceClicked)
ON_BN_CLICKED(CDlgOptionsBaseTab_AutoDown::kInfiniteResetId, OnChoiceClicked)
ON_BN_CLICKED(CDlgOptionsBaseTab_AutoDown::kFiniteResetId, OnChoiceClicked)
ON_EN_CHANGE(CDlgOptionsBaseTab_AutoDown::kResetCountId, OnResetCountChanged)
ON_EN_CHANGE(CDlgOptionsBaseTab_AutoDown::kStartCountId, OnStartCountChanged)
ON_EN_CHANGE(CDlgOptionsBaseTab_AutoDown::kSelfTriggerTimeId, OnSelfTriggerTimeChanged)
ON_MESSAGE(CDlgOptionsBaseTab_AutoDown::kShowValuesMessage, OnShowValues)
END_MESSAGE_MAP()

CDlgOptionsBaseTab_AutoDown::CDlgOptionsBaseTab_AutoDown(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30081, kAutoDownFields, nullptr, pParentWnd) {
    SetControls(kAutoDownControls);
}

void CDlgOptionsBaseTab_AutoDown::Serialize(CArchive& ar) {
    SerializeInts(ar, kAutoDownFileFields);
}

void CDlgOptionsBaseTab_AutoDown::DoDataExchange(CDataExchange* pDX) {
    CDlgOptionsBaseTab_Fields::DoDataExchange(pDX);
    if (!GetDlgItem(kBasicModeId))
        return;
    if (!pDX->m_bSaveAndValidate)
        CheckDlgButton(kBasicModeId, Int(kMode) == 0 ? 1 : 0);
    else if (IsDlgButtonChecked(kBasicModeId))
        Int(kMode) = 0;
}

void CDlgOptionsBaseTab_AutoDown::OnChoiceClicked() {
    UpdateData(TRUE);
}

void CDlgOptionsBaseTab_AutoDown::OnResetCountChanged() {
    TakeNumber(kResetCountId);
}

void CDlgOptionsBaseTab_AutoDown::OnStartCountChanged() {
    TakeNumber(kStartCountId);
}

void CDlgOptionsBaseTab_AutoDown::OnSelfTriggerTimeChanged() {
    TakeNumber(kSelfTriggerTimeId);
}

void CDlgOptionsBaseTab_AutoDown::TakeNumber(int nID) {
    for (const OptionControl& control : kAutoDownControls) {
        if (control.id != nID)
            continue;
        bool ok = false;
        const int value = GetDlgItemText(control.id).trimmed().toInt(&ok);
        if (ok && value >= control.minimum && value <= control.maximum)
            Int(control.field) = value;
    }
}

LRESULT CDlgOptionsBaseTab_AutoDown::OnShowValues(WPARAM, LPARAM) {
    UpdateData(FALSE);
    UpdateControls();
    return 0;
}
