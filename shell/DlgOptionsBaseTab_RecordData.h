#pragma once

#include "shell/OptionFieldsPage.h"

// Memory given to recording ("RecordData:" key).
class CDlgOptionsBaseTab_RecordData : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_RecordData)
public:
    explicit CDlgOptionsBaseTab_RecordData(CWnd* pParentWnd = nullptr);
    void RestoreDefaults() override;
};
