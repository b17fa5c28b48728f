#include "shell/DlgOptionsRecord.h"

IMPLEMENT_DYNAMIC(CDlgOptionsRecord, CDlgOptionsBase)

CDlgOptionsRecord::CDlgOptionsRecord(CWnd* pParentWnd) : CDlgOptionsBase(186, pParentWnd) {
    AddPage(&m_recordValue, &m_recordEdit, 30044, "Record", FALSE, TRUE);
    AddPage(&m_recordDataValue, &m_recordDataEdit, 30051, "Data", FALSE, TRUE);
    SetTitle("Program Options");
}
