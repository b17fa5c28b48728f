#pragma once

#include "platform/framework/SpinButtonCtrl.h"
#include "shell/OptionFieldsPage.h"

// The update check ("Update:" keys).
class CDlgOptionsBaseTab_Update : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Update)
public:
    explicit CDlgOptionsBaseTab_Update(CWnd* pParentWnd = nullptr);
    void RestoreDefaults() override;

    // The interval's spin offers 1 to 100 days.
    BOOL OnInitDialog() override;

protected:
    CSpinButtonCtrl m_intervalSpin;
};
