#include "devices/RecordControllerFrame2.h"

#include "devices/CamView.h"
#include "devices/RecordControllerDoc2.h"
#include "devices/core/Device.h"
#include "devices/core/RecordGroup.h"
#include "groups/ChildWindowList.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/CreateContext.h"
#include "platform/framework/MessageMap.h"
#include "shell/ViewChildedFrame.h"

IMPLEMENT_DYNCREATE(CRecordControllerFrame2, CMeasurementFormFrame)
IMPLEMENT_DYNCREATE(CRecordControllerView2, CMeasurementView)

namespace {

constexpr UINT kBarStyle = WS_CHILD | WS_VISIBLE | CBRS_TOOLTIPS | CBRS_FLYBY;
constexpr UINT kSideBarId = 0xE812;
constexpr UINT kButtonBarId = 0xE813;

}  // namespace

BEGIN_MESSAGE_MAP(CRecordControllerFrame2, CMeasurementFormFrame)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_COMMAND(CRecordControllerFrame2::kToggleSideBar, OnToggleSideBar)
ON_UPDATE_COMMAND_UI(CRecordControllerFrame2::kToggleSideBar, OnUpdateSideBar)
ON_COMMAND(CRecordControllerFrame2::kToggleButtonBar, OnToggleButtonBar)
ON_UPDATE_COMMAND_UI(CRecordControllerFrame2::kToggleButtonBar, OnUpdateButtonBar)
END_MESSAGE_MAP()

CRecordControllerFrame2::CRecordControllerFrame2() = default;

CRecordControllerFrame2::~CRecordControllerFrame2() = default;

int CRecordControllerFrame2::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CMeasurementFormFrame::OnCreate(lpCreateStruct) == -1)
        return -1;
    EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    if (m_sideBar.Create(this, kSideBarTemplate, kBarStyle | CBRS_LEFT, kSideBarId)) {
        m_sideBar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
        DockControlBar(&m_sideBar);
        m_sideBar.AttachTabControl(TRUE);
        // The frame's view is not active yet: the group comes from the document it is made for.
        auto* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
        auto* doc =
            context ? dynamic_cast<CRecordControllerDoc2*>(context->m_pCurrentDoc) : nullptr;
        m_recordPanel.SetDeviceProvider(doc ? doc->GetRecordGroup() : GetRecordGroup());
        m_recordPanel.SetTargetProvider(this);
        m_recordPanel.SetViewFinder(this);
        if (m_recordPanel.Create(&m_sideBar)) {
            m_recordPanel.ShowWindow(SW_SHOW);
            m_recordPanel.CenterInHost(0, 0, 0, 0);
        }
    }
    EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
    if (m_buttonBar.Create(this, kButtonBarTemplate, kBarStyle | CBRS_BOTTOM, kButtonBarId)) {
        m_buttonBar.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
        DockControlBar(&m_buttonBar);
        m_buttonBar.AttachTabControl(TRUE);
        if (m_recordTab.Create(&m_buttonBar)) {
            m_recordTab.ShowWindow(SW_SHOW);
            m_recordTab.CenterInHost(0, 0, 0, 0);
            m_recordTab.SetGroupProvider(this);
        }
    }
    return 0;
}

void CRecordControllerFrame2::OnDestroy() {
    m_recordTab.SetGroupProvider(nullptr);
    CMeasurementFormFrame::OnDestroy();
}

CRecordControllerDoc2* CRecordControllerFrame2::GetControllerDocument() {
    CView* view = GetActiveView();
    return view ? dynamic_cast<CRecordControllerDoc2*>(view->GetDocument()) : nullptr;
}

CRecordGroup* CRecordControllerFrame2::GetRecordGroup() {
    CRecordControllerDoc2* doc = GetControllerDocument();
    return doc ? doc->GetRecordGroup() : nullptr;
}

IDeviceCommandTarget* CRecordControllerFrame2::GetCommandTarget() {
    return GetRecordGroup();
}

CView* CRecordControllerFrame2::GetActiveDeviceView(int* kind, CDevice** device) {
    if (kind)
        *kind = kOtherView;
    if (device)
        *device = nullptr;
    CRecordControllerDoc2* doc = GetControllerDocument();
    auto* container = doc ? dynamic_cast<CView*>(doc->GetMemberFrameParent()) : nullptr;
    if (!container)
        return nullptr;
    // The camera window in front.
    CChildWindowList list(container);
    list.CollectPlain(TRUE);
    for (int i = 0; i < list.GetCount(); ++i) {
        CViewChildedFrame* frame = list.GetFrame(i);
        auto* camera = frame ? dynamic_cast<CCamView*>(frame->GetActiveView()) : nullptr;
        if (!camera)
            continue;
        if (kind)
            *kind = kCameraView;
        if (device)
            *device = camera->GetDevice();
        return camera;
    }
    return nullptr;
}

CView* CRecordControllerFrame2::FindDeviceWindow(int handle, int kind) {
    CRecordControllerDoc2* doc = GetControllerDocument();
    if (!doc || kind != kCameraView)
        return nullptr;
    for (CViewChildedFrame* frame : doc->CameraFrames()) {
        auto* camera = dynamic_cast<CCamView*>(frame->GetActiveView());
        int cameraHandle = -1;
        if (camera && camera->GetDevice() && camera->GetDevice()->GetHandle(&cameraHandle) == 0 &&
            cameraHandle == handle)
            return camera;
    }
    return nullptr;
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
