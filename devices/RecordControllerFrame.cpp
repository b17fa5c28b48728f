#include "devices/RecordControllerFrame.h"

#include "devices/AutoDownloadWnd.h"
#include "devices/CamFrmSimple.h"
#include "devices/CamView.h"
#include "devices/DataSetLink.h"
#include "devices/RecordControllerDoc.h"
#include "devices/RecordControllerView.h"
#include "devices/core/Device.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroup.h"
#include "groups/GroupSettings.h"
#include "platform/com/Variant.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/ResourceChain.h"
#include "sensordata/DataPlayView.h"
#include "shell/VidraApp.h"
#include "views/panels/ControlPanelBar.h"

IMPLEMENT_DYNCREATE(CRecordControllerFrame, CViewChildedFrame)

BEGIN_MESSAGE_MAP(CRecordControllerFrame, CViewChildedFrame)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_COMMAND(CRecordControllerFrame::kToggleControlBar, OnToggleControlBar)
ON_UPDATE_COMMAND_UI(CRecordControllerFrame::kToggleControlBar, OnUpdateControlBar)
ON_COMMAND(CRecordControllerFrame::kToggleControlPanel, OnToggleControlPanel)
ON_UPDATE_COMMAND_UI(CRecordControllerFrame::kToggleControlPanel, OnUpdateControlPanel)
ON_COMMAND(CRecordControllerFrame::kTogglePlayControls, OnTogglePlayControls)
ON_UPDATE_COMMAND_UI(ID_FILE_CLOSE, OnUpdateAlwaysEnabled)
ON_UPDATE_COMMAND_UI(CRecordControllerFrame::kSpacerPane, OnUpdateAlwaysEnabled)
ON_UPDATE_COMMAND_UI(CRecordControllerFrame::kModePane, OnUpdateModePane)
ON_UPDATE_COMMAND_UI(CRecordControllerFrame::kStatePane, OnUpdateStatePane)
END_MESSAGE_MAP()

namespace {

constexpr UINT kToolBarId = 0xE800;
constexpr UINT kStatusBarId = 0xE801;
constexpr DWORD kFlatButtons = 0x0800;
constexpr DWORD kStatusToolTips = 0x0800;

}  // namespace

int CRecordControllerFrame::s_frameCount = 0;

CRecordControllerFrame::CRecordControllerFrame() = default;

CRecordControllerFrame::~CRecordControllerFrame() {
    if (m_instance > 0)
        --s_frameCount;
}

CRecordControllerDoc* CRecordControllerFrame::GetControllerDocument() {
    CView* view = GetActiveView();
    return view ? dynamic_cast<CRecordControllerDoc*>(view->GetDocument()) : nullptr;
}

CRecordGroup* CRecordControllerFrame::GetRecordGroup() {
    CRecordControllerDoc* doc = GetControllerDocument();
    return doc ? doc->GetRecordGroup() : nullptr;
}

CRecordControllerView* CRecordControllerFrame::GetControllerView() {
    return dynamic_cast<CRecordControllerView*>(GetActiveView());
}

int CRecordControllerFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CViewChildedFrame::OnCreate(lpCreateStruct) == -1)
        return -1;
    EnableDocking(CBRS_ALIGN_ANY);
    const DWORD toolStyle =
        WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    if (GroupFlagSetting(QStringLiteral("View:RecProjTBinProj")) &&
        m_recordToolBar.CreateEx(this, kFlatButtons, toolStyle, kToolBarId))
        m_recordToolBar.LoadToolBar(kRecordToolBar);
    if (GroupFlagSetting(QStringLiteral("View:VideoViewTBinProj")) &&
        m_viewToolBar.CreateEx(this, kFlatButtons, toolStyle, kToolBarId))
        m_viewToolBar.LoadToolBar(kViewToolBar);
    SetupPlayControls(1, TRUE);
    // The bar that View/Control Bar shows and hides, with the group's record buttons; it starts
    // hidden.
    if (m_controlBar.Create(this, CRecordDialogBar::kTemplate, CBRS_TOP, kControlBarId)) {
        m_controlBar.EnableDocking(CBRS_ALIGN_TOP);
        DockControlBar(&m_controlBar);
        CreateRecordTab(m_controlBar, m_controlBarTab);
        ShowControlBar(&m_controlBar, FALSE, FALSE);
    }
    m_busy.Create(kBusyTemplate, nullptr);
    m_busy.ShowWindow(SW_HIDE);
    static const UINT indicators[] = {kModePane, kSpacerPane, kStatePane};
    if (m_statusBar.CreateEx(this, kStatusToolTips, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                             kStatusBarId) &&
        m_statusBar.SetIndicators(indicators, 3)) {
        const int widths[] = {400, 100, 400};
        for (int i = 0; i < 3; ++i) {
            UINT id = 0;
            UINT style = 0;
            int width = 0;
            m_statusBar.GetPaneInfo(i, id, style, width);
            m_statusBar.SetPaneInfo(i, id, style, widths[i]);
            QString text;
            if (LoadString(id, text))
                m_statusBar.SetPaneText(i, text);
        }
    }
    if (m_maximizeOnCreate)
        ShowWindow(SW_SHOWMAXIMIZED);
    m_instance = ++s_frameCount;
    return 0;
}

CWnd* CRecordControllerFrame::FindDockSite() {
    DWORD params[4] = {};
    CVidraApp* app = AfxGetVidraApp();
    if (app && app->GetPendingCreateParams(&params[0], &params[1], &params[2], &params[3])) {
        // The parameters are 32-bit numbers here and carry no window: the frame docks itself.
    }
    return this;
}

void CRecordControllerFrame::SetupPlayControls(int mode, BOOL findDockSite) {
    if (findDockSite)
        m_dockSite = dynamic_cast<CFrameWnd*>(FindDockSite());
    CFrameWnd* site = m_dockSite ? m_dockSite : this;
    if (m_playBar.GetSafeHwnd()) {
        site->ShowControlBar(&m_playBar, FALSE, FALSE);
        if (m_playBarTab.GetSafeHwnd())
            m_playBarTab.DestroyWindow();
        m_playBar.DestroyWindow();
    }
    int state = mode == -1 ? m_playControlState + 1 : mode;
    if (state > 1 || state < 0)
        state = 0;
    m_playControlState = state;
    if (state != 0)
        return;
    if (!m_playBar.Create(site, CRecordDialogBar::kTemplate, CBRS_BOTTOM, kPlayBarId))
        return;
    m_playBar.SetBarStyle(CBRS_ALIGN_BOTTOM | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_playBar.EnableDocking(CBRS_ALIGN_BOTTOM);
    site->DockControlBar(&m_playBar);
    CreateRecordTab(m_playBar, m_playBarTab);
    site->ShowControlBar(&m_playBar, TRUE, FALSE);
}

void CRecordControllerFrame::CreateRecordTab(CRecordDialogBar& bar, CRecordTab& tab) {
    CWnd* host = bar.GetDlgItem(CRecordDialogBar::kPageItem);
    if (!host || !tab.Create(host))
        return;
    tab.ShowWindow(SW_SHOW);
    tab.SetGroupProvider(this);
    tab.Refresh();
}

void CRecordControllerFrame::OnTogglePlayControls() {
    SetupPlayControls(-1, FALSE);
}

void CRecordControllerFrame::ActivateFrame(int nCmdShow) {
    CRecordDialogBar* barB = GetPlayControlBar();
    const bool hasBarA = m_controlBar.GetSafeHwnd() != nullptr;
    // -1 is also the framework's plain activation: a frame standing alone is shown as usual.
    if (nCmdShow == kShowBars && !GetParent()) {
        CViewChildedFrame::ActivateFrame(nCmdShow);
        return;
    }
    // Bars stay docked in their frame here: none floats, so "when floating" never applies.
    switch (nCmdShow) {
        case kShowBars:
            if (hasBarA)
                ShowControlBar(&m_controlBar, m_maximizeOnCreate, TRUE);
            if (barB)
                ShowControlBar(barB, TRUE, TRUE);
            break;
        case kHideDocked:
            if (hasBarA)
                ShowControlBar(&m_controlBar, FALSE, TRUE);
            break;
        case kHideBoth:
            if (hasBarA)
                ShowControlBar(&m_controlBar, FALSE, TRUE);
            if (barB)
                ShowControlBar(barB, FALSE, TRUE);
            break;
        case kHideFloating:
            break;
        default:
            CViewChildedFrame::ActivateFrame(nCmdShow);
            break;
    }
}

void CRecordControllerFrame::AttachToControlPanel(CControlPanelBar* bar) {
    // Null: the panel goes away before this frame does.
    if (!bar || !bar->GetSafeHwnd()) {
        m_controlPanel = nullptr;
        return;
    }
    if (bar != m_controlPanel)
        SetupRecordPages(bar);
}

void CRecordControllerFrame::SetupRecordPages(CControlPanelBar* bar) {
    m_controlPanel = bar;
    // The pages are made once, in the first panel the frame is given.
    if (m_recordPage.GetSafeHwnd())
        return;
    m_recordPage.SetDeviceProvider(GetRecordGroup());
    m_recordPage.SetTargetProvider(this);
    m_recordPage.SetViewFinder(this);
    if (m_recordPage.Create(bar))
        bar->AddPage(&m_recordPage, QStringLiteral("Record"), 0);
    m_smartTriggerPage.SetViewFinder(this);
    if (m_smartTriggerPage.Create(bar))
        bar->AddPage(&m_smartTriggerPage, QStringLiteral("Smart Trigger"), 0);
    m_autoRecordPage.SetOptionsProvider(this);
    if (m_autoRecordPage.Create(bar))
        bar->AddPage(&m_autoRecordPage, QStringLiteral("Auto-Record"), 0);
    bar->SelectTabByName(QStringLiteral("Record"));
}

IAutoDownloadOptions* CRecordControllerFrame::GetAutoDownloadOptions() {
    CRecordControllerDoc* doc = GetControllerDocument();
    return doc ? doc->GetAutoDownload() : nullptr;
}

IDeviceCommandTarget* CRecordControllerFrame::GetCommandTarget() {
    return GetRecordGroup();
}

CView* CRecordControllerFrame::FindDeviceWindow(int handle, int kind) {
    CRecordControllerView* view = GetControllerView();
    return view ? view->FindDeviceWindow(handle, kind) : nullptr;
}

CCamView* CRecordControllerFrame::FindCameraViewForDataView(CView* dataView) {
    auto* playback = dynamic_cast<CDataPlayView*>(dataView);
    const CSensorDataSet* dataSet = playback ? playback->GetDataSet().Get() : nullptr;
    CRecordControllerDoc* doc = GetControllerDocument();
    if (!dataSet || !doc)
        return nullptr;
    for (CViewChildedFrame* frame : doc->DeviceFrames()) {
        auto* camera = dynamic_cast<CCamFrmSimple*>(frame)
                           ? dynamic_cast<CCamView*>(frame->GetActiveView())
                           : nullptr;
        CDevice* device = camera ? camera->GetDevice() : nullptr;
        for (int i = 0; device && i < device->GetLinkedDataCount(); ++i) {
            const auto* link = dynamic_cast<const CDataSetLink*>(device->GetLinkedDataObject(i));
            if (link && link->GetDataSet().Get() == dataSet)
                return camera;
        }
    }
    return nullptr;
}

CView* CRecordControllerFrame::GetActiveDeviceView(int* kind, CDevice** device) {
    if (kind)
        *kind = 0;
    if (device)
        *device = nullptr;
    CRecordControllerView* host = GetControllerView();
    CWnd* first = host ? host->GetFirstChildView() : nullptr;
    auto* view = dynamic_cast<CView*>(first);
    const int found = CRecordControllerDoc::DeviceKindOfView(view);
    if (!view || found == 0)
        return nullptr;
    if (kind)
        *kind = found;
    if (device)
        *device = CRecordControllerDoc::DeviceOfView(view);
    return view;
}

void CRecordControllerFrame::OnClose() {
    CRecordGroup* group = GetRecordGroup();
    if (group && group->GetState() == CRecordGroup::kRecord) {
        MessageBoxPrompt prompt;
        prompt.text = QStringLiteral("Please complete the recording before closing.");
        prompt.caption = QStringLiteral("Unable to Close");
        prompt.type = MB_OK | MB_ICONINFORMATION;
        AfxPrompter().MessageBox(prompt);
        return;
    }
    CViewChildedFrame::OnClose();
}

void CRecordControllerFrame::OnDestroy() {
    m_busy.SetRecordGroup(nullptr);
    m_autoRecordPage.SetOptionsProvider(nullptr);
    if (m_busy.GetSafeHwnd())
        m_busy.DestroyWindow();
    // A bar docked elsewhere (in the frame that holds this one) comes back first, so that it
    // goes with this frame and the other frame neither keeps it nor lists it.
    m_controlBar.ReturnToFrame(this);
    m_playBar.ReturnToFrame(this);
    CViewChildedFrame::OnDestroy();
}

void CRecordControllerFrame::OnToggleControlBar() {
    if (m_controlBar.GetSafeHwnd())
        ShowControlBar(&m_controlBar, !m_controlBar.IsVisible(), FALSE);
}

void CRecordControllerFrame::OnUpdateControlBar(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_controlBar.GetSafeHwnd() && m_controlBar.IsVisible() ? 1 : 0);
}

void CRecordControllerFrame::OnToggleControlPanel() {
    if (m_controlPanel && m_controlPanel->GetSafeHwnd())
        if (CFrameWnd* site = m_controlPanel->GetParentFrame())
            site->ShowControlBar(m_controlPanel, !m_controlPanel->IsVisible(), FALSE);
}

void CRecordControllerFrame::OnUpdateControlPanel(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(
        m_controlPanel && m_controlPanel->GetSafeHwnd() && m_controlPanel->IsVisible() ? 1 : 0);
}

void CRecordControllerFrame::OnUpdateAlwaysEnabled(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
}

QString CRecordControllerFrame::ModeText() {
    CDevice* device = nullptr;
    GetActiveDeviceView(nullptr, &device);
    return QStringLiteral("Mode - ") + (device ? device->GetModeText() : QString());
}

QString CRecordControllerFrame::StateText() {
    CRecordGroup* group = GetRecordGroup();
    return group ? group->GetStateText() : QStringLiteral("Unknown");
}

void CRecordControllerFrame::OnUpdateModePane(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetText(ModeText());
}

void CRecordControllerFrame::OnUpdateStatePane(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    m_lastStatus = StateText();
    pCmdUI->SetText(m_lastStatus);
    UpdateBusyBox();
}

bool CRecordControllerFrame::BusyBoxWanted() {
    CRecordControllerDoc* doc = GetControllerDocument();
    if (!doc)
        return false;
    VARIANT value;
    if (FAILED(doc->GetRecordOptions().GetSetting(QStringLiteral("Record:RecordBusyDlg"), &value,
                                                  -1)) ||
        value.vt == VT_EMPTY)
        return true;
    VARIANT number;
    const bool read = SUCCEEDED(VariantChangeType(&number, &value, 0, VT_I4));
    VariantClear(&value);
    return !read || number.lVal != 0;
}

void CRecordControllerFrame::UpdateBusyBox() {
    CRecordGroup* group = GetRecordGroup();
    if (!m_busy.GetSafeHwnd() || !group || !BusyBoxWanted())
        return;
    m_busy.SetRecordGroup(group);
    const bool recording =
        group->GetState() == CRecordGroup::kRecord && OpenDevices::GetCount() > 0;
    if (!recording) {
        m_busy.ShowWindow(SW_HIDE);
        return;
    }
    m_busy.ShowText(group->GetStateText(), TRUE);
    if (!m_busy.IsWindowVisible())
        m_busy.ShowWindow(SW_SHOWNOACTIVATE);
}
