#include "devices/RecordControllerFrame2.h"

#include "platform/framework/CmdUI.h"
#include "platform/framework/MessageMap.h"

IMPLEMENT_DYNCREATE(CRecordControllerFrame2, CMeasurementFormFrame)
IMPLEMENT_DYNCREATE(CRecordControllerView2, CMeasurementView)

namespace {

constexpr UINT kToggleSideBar = 32774;
constexpr UINT kToggleButtonBar = 32795;
constexpr UINT kBarStyle = WS_CHILD | WS_VISIBLE | CBRS_TOOLTIPS | CBRS_FLYBY;
constexpr UINT kSideBarId = 0xE812;
constexpr UINT kButtonBarId = 0xE813;

}  // namespace

BEGIN_MESSAGE_MAP(CRecordControllerFrame2, CMeasurementFormFrame)
ON_WM_CREATE()
ON_COMMAND(kToggleSideBar, OnToggleSideBar)
ON_UPDATE_COMMAND_UI(kToggleSideBar, OnUpdateSideBar)
ON_COMMAND(kToggleButtonBar, OnToggleButtonBar)
ON_UPDATE_COMMAND_UI(kToggleButtonBar, OnUpdateButtonBar)
END_MESSAGE_MAP()

int CRecordControllerFrame2::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CMeasurementFormFrame::OnCreate(lpCreateStruct) == -1)
        return -1;
    EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    if (m_sideBar.Create(this, kSideBarTemplate, kBarStyle | CBRS_LEFT, kSideBarId)) {
        m_sideBar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
        DockControlBar(&m_sideBar);
        m_sideBar.AttachTabControl(TRUE);
    }
    EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
    if (m_buttonBar.Create(this, kButtonBarTemplate, kBarStyle | CBRS_BOTTOM, kButtonBarId)) {
        m_buttonBar.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
        DockControlBar(&m_buttonBar);
        m_buttonBar.AttachTabControl(TRUE);
    }
    return 0;
}

void CRecordControllerFrame2::Toggle(CControlPanelBar& bar) {
    if (bar.GetSafeHwnd())
        ShowControlBar(&bar, !bar.IsVisible(), FALSE);
}

void CRecordControllerFrame2::OnToggleSideBar() {
    Toggle(m_sideBar);
}

void CRecordControllerFrame2::OnUpdateSideBar(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_sideBar.GetSafeHwnd() && m_sideBar.IsVisible() ? 1 : 0);
}

void CRecordControllerFrame2::OnToggleButtonBar() {
    Toggle(m_buttonBar);
}

void CRecordControllerFrame2::OnUpdateButtonBar(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_buttonBar.GetSafeHwnd() && m_buttonBar.IsVisible() ? 1 : 0);
}
