#pragma once

#include "shell/OptionFieldsPage.h"

// Automatic recording and download ("ADL:" keys); kept in an option file.
class CDlgOptionsBaseTab_AutoDown : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_AutoDown)
public:
    explicit CDlgOptionsBaseTab_AutoDown(CWnd* pParentWnd = nullptr);
    void Serialize(CArchive& ar) override;
};
