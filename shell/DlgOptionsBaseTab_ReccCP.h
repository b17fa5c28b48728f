#pragma once

#include "shell/OptionFieldsPage.h"

// The record control panel ("ReccCP:" keys).
class CDlgOptionsBaseTab_ReccCP : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_ReccCP)
public:
    explicit CDlgOptionsBaseTab_ReccCP(CWnd* pParentWnd = nullptr);
    void RestoreDefaults() override;
};
