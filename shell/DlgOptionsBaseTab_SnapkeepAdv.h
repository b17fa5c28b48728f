#pragma once

#include "shell/OptionFieldsPage.h"

// The one-step save's naming and re-opening ("SK:" keys); kept in an option file.
class CDlgOptionsBaseTab_SnapkeepAdv : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_SnapkeepAdv)
public:
    explicit CDlgOptionsBaseTab_SnapkeepAdv(CWnd* pParentWnd = nullptr);
    void Serialize(CArchive& ar) override;
    void RestoreDefaults() override;
};
