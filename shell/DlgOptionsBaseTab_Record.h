#pragma once

#include "shell/OptionFieldsPage.h"

// Live display and synchronisation while recording ("Record:" keys).
class CDlgOptionsBaseTab_Record : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Record)
public:
    explicit CDlgOptionsBaseTab_Record(CWnd* pParentWnd = nullptr);
};
