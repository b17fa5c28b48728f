#pragma once

// CDlgOptionsAutoDown: the store of automatic recording and download, kept in "adlsnapkeep.mpqsf".

#include "shell/DlgOptionsBase.h"
#include "shell/DlgOptionsBaseTab_AutoDown.h"
#include "shell/DlgOptionsBaseTab_Snapkeep.h"

class CDlgOptionsAutoDown : public CDlgOptionsBase {
    DECLARE_DYNAMIC(CDlgOptionsAutoDown)

public:
    explicit CDlgOptionsAutoDown(CWnd* pParentWnd = nullptr);

    CDlgOptionsBaseTab_Snapkeep m_snapkeepValue;
    CDlgOptionsBaseTab_Snapkeep m_snapkeepEdit;
    CDlgOptionsBaseTab_AutoDown m_autoDownValue;
    CDlgOptionsBaseTab_AutoDown m_autoDownEdit;
};
