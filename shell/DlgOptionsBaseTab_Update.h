#pragma once

#include "shell/OptionFieldsPage.h"

// The update check ("Update:" keys).
class CDlgOptionsBaseTab_Update : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Update)
public:
    explicit CDlgOptionsBaseTab_Update(CWnd* pParentWnd = nullptr);
    void RestoreDefaults();
};
