#include "shell/DlgOptionsBaseTab_RecordData.h"

namespace {

constexpr OptionField kRecordDataFields[] = {
    {"RecordData:SystemMemPercent", 3, "RecordData:SystemMemPercent",
     "RecordData:SystemMemPercent"},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_RecordData, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_RecordData::CDlgOptionsBaseTab_RecordData(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30051, kRecordDataFields, kRecordOptionsKey, pParentWnd) {}

void CDlgOptionsBaseTab_RecordData::RestoreDefaults() {
    Int(0) = 3;
}
