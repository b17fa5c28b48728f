#pragma once

#include "shell/OptionFieldsPage.h"

// Project naming and tracking ("Other:" and "Track:" keys).
class CDlgOptionsBaseTab_Other : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Other)
public:
    explicit CDlgOptionsBaseTab_Other(CWnd* pParentWnd = nullptr);
    void RestoreDefaults() override;
};
