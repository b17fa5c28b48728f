#include "shell/DlgOptionsBaseTab_Record.h"

namespace {

constexpr OptionField kRecordFields[] = {
    {"Record:UseLiveVideo", 1, "Record:UseLiveVideo", "Record:UseLiveVideo"},
    {"Record:UseLiveData", 1, "Record:UseLiveData", "Record:UseLiveData"},
    {"Record:FirstDeviceSlave", 0, "Record:FirstDeviceSlave", "Record:FirstDeviceSlave"},
    {"Record:SyncRecord", 1, "Record:SyncRecord", "Record:SyncRecord"},
    {"Record:RecordBusyDlg", 1, "Record:RecordBusyDlg", "Record:RecordBusyDlg"},
};

constexpr OptionControl kRecordControls[] = {
    {0, 1415, OptionControl::kCheck}, {1, 1299, OptionControl::kCheck},
    {2, 1300, OptionControl::kCheck}, {3, 1301, OptionControl::kCheck},
    {4, 2150, OptionControl::kCheck},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Record, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Record::CDlgOptionsBaseTab_Record(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30044, kRecordFields, kRecordOptionsKey, pParentWnd) {
    SetControls(kRecordControls);
}
