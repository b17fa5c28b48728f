#pragma once

// CDlgProgramOptions: the store of Program Options, the first store the main window asks.

#include "shell/DlgOptionsBase.h"
#include "shell/DlgOptionsBaseTab_Application.h"
#include "shell/DlgOptionsBaseTab_Cameras.h"
#include "shell/DlgOptionsBaseTab_Connections.h"
#include "shell/DlgOptionsBaseTab_General.h"
#include "shell/DlgOptionsBaseTab_Other.h"
#include "shell/DlgOptionsBaseTab_ReccCP.h"
#include "shell/DlgOptionsBaseTab_Update.h"
#include "shell/DlgOptionsBaseTab_Video.h"
#include "shell/DlgOptionsBaseTab_View.h"

class CDlgProgramOptions : public CDlgOptionsBase {
    DECLARE_DYNAMIC(CDlgProgramOptions)

public:
    explicit CDlgProgramOptions(CWnd* pParentWnd = nullptr);

    CDlgOptionsBaseTab_View m_viewValue;
    CDlgOptionsBaseTab_View m_viewEdit;
    CDlgOptionsBaseTab_General m_generalValue;
    CDlgOptionsBaseTab_General m_generalEdit;
    CDlgOptionsBaseTab_ReccCP m_reccCPValue;
    CDlgOptionsBaseTab_ReccCP m_reccCPEdit;
    CDlgOptionsBaseTab_Other m_otherValue;
    CDlgOptionsBaseTab_Other m_otherEdit;
    CDlgOptionsBaseTab_Application m_applicationValue;
    CDlgOptionsBaseTab_Application m_applicationEdit;
    CDlgOptionsBaseTab_Cameras m_camerasValue;
    CDlgOptionsBaseTab_Cameras m_camerasEdit;
    CDlgOptionsBaseTab_Connections m_connectionsValue;
    CDlgOptionsBaseTab_Connections m_connectionsEdit;
    CDlgOptionsBaseTab_Video m_videoValue;
    CDlgOptionsBaseTab_Video m_videoEdit;
    CDlgOptionsBaseTab_Update m_updateValue;
    CDlgOptionsBaseTab_Update m_updateEdit;
};
