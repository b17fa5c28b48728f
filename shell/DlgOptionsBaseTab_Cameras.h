#pragma once

#include "shell/OptionFieldsPage.h"

// Camera families the device search includes ("Cameras:" keys).
class CDlgOptionsBaseTab_Cameras : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Cameras)
public:
    explicit CDlgOptionsBaseTab_Cameras(CWnd* pParentWnd = nullptr);
};
