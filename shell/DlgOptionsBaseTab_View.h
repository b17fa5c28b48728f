#pragma once

#include "shell/OptionFieldsPage.h"

// Toolbars and window titles ("View:" keys); kept for the run only.
class CDlgOptionsBaseTab_View : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_View)
public:
    explicit CDlgOptionsBaseTab_View(CWnd* pParentWnd = nullptr);
};
