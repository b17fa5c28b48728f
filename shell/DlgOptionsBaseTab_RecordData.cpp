#include "shell/DlgOptionsBaseTab_RecordData.h"

namespace {

constexpr OptionField kRecordDataFields[] = {
    {"RecordData:SystemMemPercent", 3, "RecordData:SystemMemPercent",
     "RecordData:SystemMemPercent"},
};

constexpr OptionControl kRecordDataControls[] = {
    {0, 2036, OptionControl::kNumber, 1, 10},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_RecordData, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_RecordData::CDlgOptionsBaseTab_RecordData(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30051, kRecordDataFields, kRecordOptionsKey, pParentWnd) {
    SetControls(kRecordDataControls);
}

void CDlgOptionsBaseTab_RecordData::RestoreDefaults() {
    Int(0) = 3;
}
