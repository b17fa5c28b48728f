#pragma once

// CDlgSnapkeepOptions: the store of the one-step save settings, kept in "snapkeep.mpqsf".

#include "shell/DlgOptionsBase.h"
#include "shell/DlgOptionsBaseTab_Snapkeep.h"
#include "shell/DlgOptionsBaseTab_SnapkeepAdv.h"

class CDlgSnapkeepOptions : public CDlgOptionsBase {
    DECLARE_DYNAMIC(CDlgSnapkeepOptions)

public:
    explicit CDlgSnapkeepOptions(CWnd* pParentWnd = nullptr);

    CDlgOptionsBaseTab_Snapkeep m_snapkeepValue;
    CDlgOptionsBaseTab_Snapkeep m_snapkeepEdit;
    CDlgOptionsBaseTab_SnapkeepAdv m_snapkeepAdvValue;
    CDlgOptionsBaseTab_SnapkeepAdv m_snapkeepAdvEdit;
};
