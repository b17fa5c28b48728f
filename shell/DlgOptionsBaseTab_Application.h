#pragma once

#include "shell/OptionFieldsPage.h"

// Saving behaviour ("AppBehave:" keys of saving).
class CDlgOptionsBaseTab_Application : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Application)
public:
    explicit CDlgOptionsBaseTab_Application(CWnd* pParentWnd = nullptr);
    void RestoreDefaults() override;
};
