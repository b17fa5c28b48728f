#include "shell/DlgOptionsBaseTab_Record.h"

namespace {

constexpr OptionField kRecordFields[] = {
    {"Record:UseLiveVideo", 1, "Record:UseLiveVideo", "Record:UseLiveVideo"},
    {"Record:UseLiveData", 1, "Record:UseLiveData", "Record:UseLiveData"},
    {"Record:FirstDeviceSlave", 0, "Record:FirstDeviceSlave", "Record:FirstDeviceSlave"},
    {"Record:SyncRecord", 1, "Record:SyncRecord", "Record:SyncRecord"},
    {"Record:RecordBusyDlg", 1, "Record:RecordBusyDlg", "Record:RecordBusyDlg"},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Record, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Record::CDlgOptionsBaseTab_Record(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30044, kRecordFields, kRecordOptionsKey, pParentWnd) {}
