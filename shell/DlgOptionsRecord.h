#pragma once

// CDlgOptionsRecord: the store of recording settings, kept in the registry.

#include "shell/DlgOptionsBase.h"
#include "shell/DlgOptionsBaseTab_Record.h"
#include "shell/DlgOptionsBaseTab_RecordData.h"

class CDlgOptionsRecord : public CDlgOptionsBase {
    DECLARE_DYNAMIC(CDlgOptionsRecord)

public:
    explicit CDlgOptionsRecord(CWnd* pParentWnd = nullptr);

    CDlgOptionsBaseTab_Record m_recordValue;
    CDlgOptionsBaseTab_Record m_recordEdit;
    CDlgOptionsBaseTab_RecordData m_recordDataValue;
    CDlgOptionsBaseTab_RecordData m_recordDataEdit;
};
