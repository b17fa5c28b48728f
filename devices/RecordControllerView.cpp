#include "devices/RecordControllerView.h"

#include "devices/AutoDownloadWnd.h"
#include "devices/CamFrmSimple.h"
#include "devices/DeviceMemoryGuard.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/RecordControllerDoc.h"
#include "devices/RecordControllerFrame.h"
#include "devices/core/Device.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroup.h"
#include "groups/ChildWindowList.h"
#include "platform/framework/ActionCmdUI.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/Menu.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/WinApp.h"
#include "sensordata/DataQNSensorFrameVCF.h"
#include "shell/DlgSystemConfiguration.h"
#include "shell/VidraFrameWnd.h"
#include "shell/ViewChildedFrame.h"
#include "views/panels/ControlPanelBar.h"

IMPLEMENT_DYNCREATE(CRecordControllerView, CFrameParentingView)

BEGIN_MESSAGE_MAP(CRecordControllerView, CFrameParentingView)
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_TIMER()
ON_MESSAGE(CRecordControllerView::kPollMessage, OnPoll)
ON_COMMAND(CRecordControllerView::kArrangeWindows, OnArrangeWindows)
ON_COMMAND(CRecordControllerView::kAutoArrangeWindows, OnAutoArrangeWindows)
ON_UPDATE_COMMAND_UI(CRecordControllerView::kAutoArrangeWindows, OnUpdateAutoArrangeWindows)
ON_COMMAND(CRecordControllerView::kArrangeIfAuto, OnArrangeIfAuto)
ON_COMMAND(CRecordControllerView::kAddDevice, OnAddDevice)
ON_COMMAND(CRecordControllerView::kOpenCamera, OnOpenCamera)
ON_COMMAND(CRecordControllerView::kOpenDataCard, OnOpenDataCard)
ON_COMMAND(CRecordControllerView::kOneStepSaveOptions, OnOneStepSaveOptions)
ON_COMMAND_RANGE(CRecordControllerView::kQuickDeviceFirst, CRecordControllerView::kQuickDeviceLast,
                 OnQuickDevice)
ON_COMMAND(CRecordControllerView::kNoAction, OnNoAction)
ON_COMMAND(CRecordControllerView::kNewEmbeddedWindow, OnNewEmbeddedWindow)
ON_COMMAND(CRecordControllerView::kNewPanelWindow, OnNewPanelWindow)
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

namespace {

void Inform(const QString& text, const QString& caption) {
    MessageBoxPrompt prompt;
    prompt.text = text;
    prompt.caption = caption;
    prompt.type = MB_OK | MB_ICONINFORMATION;
    AfxPrompter().MessageBox(prompt);
}

}  // namespace

CRecordControllerView::CRecordControllerView() {
    // The controller arranges its device windows itself.
    m_bLayOutOnSize = FALSE;
}

CRecordControllerView::~CRecordControllerView() = default;

CRecordControllerDoc* CRecordControllerView::GetControllerDocument() const {
    return dynamic_cast<CRecordControllerDoc*>(GetDocument());
}

CRecordGroup* CRecordControllerView::GetRecordGroup() const {
    CRecordControllerDoc* doc = GetControllerDocument();
    return doc ? doc->GetRecordGroup() : nullptr;
}

int CRecordControllerView::GetRecordGroupState() const {
    const CRecordGroup* group = GetRecordGroup();
    return group ? group->GetState() : CRecordGroup::kUnknown;
}

IRecordGroupListener* CRecordControllerView::GetGroupListener() {
    return GetControllerDocument();
}

void CRecordControllerView::OnDraw(CDC* pDC) {
    CFrameParentingView::OnDraw(pDC);
}

void CRecordControllerView::OnInitialUpdate() {
    if (m_initialUpdateDone)
        return;
    m_initialUpdateDone = TRUE;
    CFrameParentingView::OnInitialUpdate();
    Invalidate();
    if (CRecordGroup* group = GetRecordGroup())
        group->SetOwner(this);
    if (CRecordControllerDoc* doc = GetControllerDocument())
        doc->ReloadDeviceSet();
    SetTimer(kPollTimer, kPollMs);
    if (m_maximizeParent)
        if (CWnd* parent = GetParent())
            parent->ShowWindow(SW_SHOWMAXIMIZED);
}

void CRecordControllerView::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kPollTimer)
        SendMessage(kPollMessage, 0, 0);
    else
        Default();
}

LRESULT CRecordControllerView::OnPoll(WPARAM, LPARAM) {
    // A recording that has ended reaches the group's listeners and the automatic download.
    if (CRecordGroup* group = GetRecordGroup())
        group->GetMasterRecordState();
    return 1;
}

void CRecordControllerView::OnDestroy() {
    KillTimer(kPollTimer);
    if (CRecordGroup* group = GetRecordGroup(); group && group->GetOwner() == this)
        group->SetOwner(nullptr);
    CFrameParentingView::OnDestroy();
    if (CRecordGroup* group = GetRecordGroup())
        while (group->GetDeviceCount() > 0)
            group->RemoveDevice(group->GetDeviceHandle(0));
}

void CRecordControllerView::OnSize(UINT nType, int cx, int cy) {
    CFrameParentingView::OnSize(nType, cx, cy);
    if (m_autoArrange)
        ArrangeDeviceFrames();
}

void CRecordControllerView::ArrangeDeviceFrames() {
    const CRuntimeClass* hosted = RUNTIME_CLASS(CViewChildedFrame);
    ArrangeChildFrames(hosted, hosted, FALSE, TRUE);
}

void CRecordControllerView::TileDeviceFrames() {
    if (m_autoArrange)
        ArrangeDeviceFrames();
}

void CRecordControllerView::ActivateDeviceFrame(CWnd* pFrame) {
    if (!pFrame)
        return;
    pFrame->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    OnChildFrameActivate(reinterpret_cast<WPARAM>(pFrame->GetSafeHwnd()), 0);
}

void CRecordControllerView::OnArrangeWindows() {
    ArrangeDeviceFrames();
}

void CRecordControllerView::OnAutoArrangeWindows() {
    m_autoArrange = !m_autoArrange;
    if (m_autoArrange)
        ArrangeDeviceFrames();
}

void CRecordControllerView::OnUpdateAutoArrangeWindows(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_autoArrange ? 1 : 0);
}

void CRecordControllerView::OnArrangeIfAuto() {
    TileDeviceFrames();
}

void CRecordControllerView::AddDeviceOfKind(int kind) {
    CRecordControllerDoc* doc = GetControllerDocument();
    if (!doc)
        return;
    CDeviceSelectionDlg dialog(AfxGetMainWnd());
    dialog.SetDeviceKind(kind);
    if (dialog.DoModal() != IDOK)
        return;
    CDeviceId id;
    dialog.GetDeviceId(&id);
    if (!doc->AddDevice(id))
        return;
    auto* mainFrame = dynamic_cast<CVidraFrameWnd*>(AfxGetMainWnd());
    if (mainFrame &&
        mainFrame->GetSystemConfiguration().GetFlag(QStringLiteral("Auto Show Connect Asst")))
        doc->ShowConnections();
}

void CRecordControllerView::OnAddDevice() {
    AddDeviceOfKind(0);
}

void CRecordControllerView::OnOpenCamera() {
    AddDeviceOfKind(kDeviceTypeCamera);
}

void CRecordControllerView::OnOpenDataCard() {
    AddDeviceOfKind(kDeviceTypeDataCard);
}

void CRecordControllerView::OnOneStepSaveOptions() {
    CRecordControllerDoc* doc = GetControllerDocument();
    if (CAutoDownloadWnd* download = doc ? doc->GetAutoDownload() : nullptr)
        download->EditOptions();
}

int CRecordControllerView::QuickDeviceIndex(UINT nID) {
    if (nID < kQuickDeviceFirst || nID > kQuickDeviceLast)
        return -1;
    return static_cast<int>(nID >= kQuickDeviceSecondRow ? nID - kQuickDeviceSecondRow
                                                         : nID - kQuickDeviceFirst);
}

void CRecordControllerView::OnQuickDevice(UINT nID) {
    CRecordControllerDoc* doc = GetControllerDocument();
    const int index = QuickDeviceIndex(nID);
    // A button beyond the open devices names none.
    CDevice* device =
        index >= 0 && index < OpenDevices::GetCount() ? OpenDevices::GetAt(index) : nullptr;
    if (doc && device)
        doc->AddDevice(device->GetId());
}

void CRecordControllerView::RefreshGroup() {
    CRecordGroup* group = GetRecordGroup();
    if (!group)
        return;
    for (int i = group->GetDeviceCount() - 1; i >= 0; --i)
        if (!group->GetDeviceAt(i))
            group->RemoveDevice(group->GetDeviceHandle(i));
    if (group->GetDeviceCount() == 0 || OpenDevices::GetCount() == 0)
        group->GoIdle();
}

BOOL CRecordControllerView::CanCloseChildFrame(CWnd* pFrame) {
    CDevice* device = nullptr;
    if (auto* frame = dynamic_cast<CViewChildedFrame*>(pFrame)) {
        SetFocus();
        device = CRecordControllerDoc::DeviceOfView(frame->GetActiveView());
    }
    CRecordGroup* group = GetRecordGroup();
    if (!group)
        return TRUE;
    for (int i = 0; i < group->GetDeviceCount(); ++i) {
        CDevice* member = group->GetDeviceAt(i);
        if (member && !member->MayOverwriteMemory()) {
            Inform(QStringLiteral("Please close all open playbacks from device memory."),
                   QStringLiteral("Unable to Free Memory"));
            return FALSE;
        }
    }
    if (group->GetState() == CRecordGroup::kRecord) {
        Inform(QStringLiteral("Please complete the recording before closing."),
               QStringLiteral("Unable to Close Device"));
        return FALSE;
    }
    if (device && !DeviceMemoryGuard::MayDropRecordings({device}))
        return FALSE;
    if (device) {
        int handle = -1;
        device->GetHandle(&handle);
        group->RemoveDevice(handle);
    }
    RefreshGroup();
    return TRUE;
}

LRESULT CRecordControllerView::OnChildFrameClose(WPARAM wParam, LPARAM) {
    return CanCloseChildFrame(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))) ? 1 : 0;
}

LRESULT CRecordControllerView::OnChildFrameActivate(WPARAM wParam, LPARAM lParam) {
    return OnChildFrameActivated(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), lParam);
}

LRESULT CRecordControllerView::OnChildFrameActivated(CWnd* pFrame, LPARAM lParam) {
    const LRESULT result = CFrameParentingView::OnChildFrameActivate(
        reinterpret_cast<WPARAM>(pFrame ? pFrame->GetSafeHwnd() : nullptr), lParam);
    auto* controller = dynamic_cast<CRecordControllerFrame*>(GetParentFrame());
    CControlPanelBar* bar = controller ? controller->GetRecordControlPanel() : nullptr;
    if (!m_singleRecord || !bar || !pFrame)
        return result;
    // The record page first, then the device's own page of the third tab.
    if (dynamic_cast<CDataQNSensorFrameVCF*>(pFrame)) {
        bar->SelectTab(0, 0);
        bar->SelectTab(2, 1);
    } else if (dynamic_cast<CCamFrmSimple*>(pFrame)) {
        bar->SelectTab(0, 0);
        bar->SelectTab(2, 0);
    }
    return result;
}

CView* CRecordControllerView::FindDeviceWindow(int handle, int kind) {
    CChildWindowList list(this);
    list.CollectPlain(FALSE);
    for (int i = 0; i < list.GetCount(); ++i) {
        CViewChildedFrame* frame = list.GetFrame(i);
        CView* view = frame ? frame->GetActiveView() : nullptr;
        if (!view || CRecordControllerDoc::DeviceKindOfView(view) != kind)
            continue;
        CDevice* device = CRecordControllerDoc::DeviceOfView(view);
        int type = 0;
        int deviceHandle = -1;
        if (device && device->GetType(&type) == 0 && type == kind &&
            device->GetHandle(&deviceHandle) == 0 && deviceHandle == handle)
            return view;
    }
    return nullptr;
}

void CRecordControllerView::BuildContextMenu(CMenu& menu) {
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, kAddDevice, QStringLiteral("Add Device..."));
    menu.AppendMenu(MF_STRING, kOpenCamera, QStringLiteral("Open Camera..."));
    menu.AppendMenu(MF_STRING, kOpenDataCard, QStringLiteral("Open Data Card..."));
    menu.AppendMenu(MF_SEPARATOR, 0, QString());
    menu.AppendMenu(MF_STRING, kArrangeWindows, QStringLiteral("Arrange Windows"));
    menu.AppendMenu(MF_STRING, kAutoArrangeWindows, QStringLiteral("Auto-Arrange Windows"));
    menu.AppendMenu(MF_STRING, kArrangeIfAuto, QStringLiteral("Rearrange If Auto-Arranged"));
    menu.AppendMenu(MF_SEPARATOR, 0, QString());
    menu.AppendMenu(MF_STRING, kNewEmbeddedWindow, QStringLiteral("New Window"));
    menu.AppendMenu(MF_STRING, kNewPanelWindow, QStringLiteral("New Panel Window"));
}

void CRecordControllerView::OnContextMenu(CWnd*, CPoint point) {
    if (point.x == -1 && point.y == -1) {
        point = CPoint(0, 0);
        ClientToScreen(&point);
    }
    CMenu menu;
    BuildContextMenu(menu);
    CActionCmdUI::UpdateBeforeShow(menu.GetQMenu(), this);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CRecordControllerView::OnNewEmbeddedWindow() {
    CWinApp* app = AfxGetApp();
    POSITION pos = app ? app->GetFirstDocTemplatePosition() : nullptr;
    CDocTemplate* first = pos ? app->GetNextDocTemplate(pos) : nullptr;
    if (!first)
        return;
    // While a window of another kind lives in it, the controller's own title bar offers no
    // system menu and no buttons.
    if (auto* own = dynamic_cast<CViewChildedFrame*>(GetParent()))
        own->SetSystemMenu(FALSE);
    // A new window of that kind, in its own frame as the template makes it...
    CDocument* doc = first->OpenDocumentFile(QString(), TRUE);
    POSITION viewPos = doc ? doc->GetFirstViewPosition() : nullptr;
    CView* view = viewPos ? doc->GetNextView(viewPos) : nullptr;
    CFrameWnd* frame = view ? view->GetParentFrame() : nullptr;
    if (!frame)
        return;
    // ...moves into this view as a plain child window: no title bar, border or menu.
    if (auto* child = dynamic_cast<CMDIChildWnd*>(frame))
        child->LeaveMDIClient(this);
    else
        frame->SetParent(this);
    frame->ShowWindow(SW_SHOW);
    frame->SetMenu(nullptr);
    CRect client;
    GetClientRect(&client);
    frame->MoveWindow(CRect(0, 0, client.Width() / 2, client.Height() / 2), TRUE);
}

void CRecordControllerView::OnNewPanelWindow() {
    if (CRecordControllerDoc* doc = GetControllerDocument())
        for (CViewChildedFrame* frame : doc->DeviceFrames())
            if (CView* view = frame->GetActiveView())
                view->GetDocument()->UpdateAllViews(nullptr);
    CRect client;
    GetClientRect(&client);
    auto* panel = new CViewChildedFrame;
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX;
    if (!panel->Create(nullptr, QStringLiteral("Panel"), style,
                       CRect(0, 0, client.Width() / 2, client.Height() / 2), this, 0)) {
        delete panel;
        return;
    }
    CViewChildedFrame::AttachToParentView(this, panel);
    panel->ShowWindow(SW_SHOW);
}
