#include "groups/MeasurementFormFrame.h"

#include "groups/FrameParentingView.h"
#include "groups/GeneralDoc.h"
#include "groups/GroupSettings.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/MessageMap.h"
#include "views/PlaybackView.h"

// The play-control page keeps a guarded pointer to a widget.
#include <QWidget>

IMPLEMENT_DYNCREATE(CMeasurementFormFrame, CViewChildedFrame)

BEGIN_MESSAGE_MAP(CMeasurementFormFrame, CViewChildedFrame)
ON_WM_CREATE()
ON_WM_ACTIVATE()
ON_WM_DESTROY()
ON_COMMAND(ID_TOGGLE_PLAY_CONTROLS, OnPlayControlsCommand)
ON_COMMAND(ID_VIEW_PLAY_CONTROLS, OnPlayControlsCommand)
ON_UPDATE_COMMAND_UI(ID_VIEW_PLAY_CONTROLS, OnUpdatePlayControls)
ON_UPDATE_COMMAND_UI(ID_FILE_CLOSE, OnUpdateFileClose)
END_MESSAGE_MAP()

namespace {

// Dialog frame, system menu and sizing border: what a bare frame lacks.
constexpr DWORD kBareFrameStyles = 0x4C0000;
constexpr UINT kToolBarId = 0xE800;
constexpr DWORD kFlatButtons = 0x0800;
constexpr DWORD kBorderBottom = 0x0200;
constexpr UINT kControlPanelStyle = 0x50401452;
constexpr UINT kControlPanelBarId = 0xE811;

CMeasurementFormFrame::CalibrationPanelFactory& CalibrationPanelFactoryRef() {
    static CMeasurementFormFrame::CalibrationPanelFactory s_factory;
    return s_factory;
}

}  // namespace

int CMeasurementFormFrame::s_frameCount = 0;

void CMeasurementFormFrame::SetCalibrationPanelFactory(CalibrationPanelFactory factory) {
    CalibrationPanelFactoryRef() = std::move(factory);
}

CMeasurementFormFrame::CMeasurementFormFrame() = default;

CMeasurementFormFrame::~CMeasurementFormFrame() {
    --s_frameCount;
}

BOOL CMeasurementFormFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                                      CCreateContext* pContext) {
    if (m_bBareFrame)
        dwDefaultStyle &= ~kBareFrameStyles;
    return CViewChildedFrame::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
}

BOOL CMeasurementFormFrame::CreateToolBar(CToolBar& bar, UINT nIDResource) {
    const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | kBorderBottom | CBRS_TOOLTIPS |
                        CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    return bar.CreateEx(this, kFlatButtons, style, kToolBarId) && bar.LoadToolBar(nIDResource);
}

int CMeasurementFormFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CViewChildedFrame::OnCreate(lpCreateStruct) == -1)
        return -1;
    for (DWORD side : {CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT, CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM})
        EnableDocking(side);
    if (GroupFlagSetting(QStringLiteral("View:PlayProjTBinProj")))
        CreateToolBar(m_groupToolBar, kGroupToolBarResource);
    if (GroupFlagSetting(QStringLiteral("View:VideoViewTBinProj")))
        CreateToolBar(m_viewToolBar, kViewToolBarResource);
    CreateControlPanel();
    if (m_bMaximize)
        ShowWindow(SW_SHOWMAXIMIZED);
    m_serial = ++s_frameCount;
    return 0;
}

void CMeasurementFormFrame::CreateControlPanel() {
    if (!m_controlPanelBar.Create(this, kControlPanelBarTemplate, kControlPanelStyle,
                                  kControlPanelBarId))
        return;
    m_controlPanelBar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    DockControlBar(&m_controlPanelBar);
    m_controlPanelBar.AttachTabControl(TRUE);
    if (m_playbackTab.Create(&m_controlPanelBar))
        m_controlPanelBar.AddPage(&m_playbackTab, QStringLiteral("Playback"), 0);
    if (m_playControlTab.Create(&m_controlPanelBar, GetActiveView()))
        m_playControlTabIndex =
            m_controlPanelBar.AddPage(&m_playControlTab, QStringLiteral("Play Control"), 0);
    m_lutDialog.SetViewFinder([this] { return GetActivePlaybackView(); });
    if (m_lutDialog.Create(&m_controlPanelBar))
        m_controlPanelBar.AddPage(&m_lutDialog, QStringLiteral("Image Process"), 0);
    if (const CalibrationPanelFactory& factory = CalibrationPanelFactoryRef()) {
        m_calibrationPanel.reset(factory());
        if (m_calibrationPanel && m_calibrationPanel->CreatePage(&m_controlPanelBar)) {
            m_calibrationBar = &m_controlPanelBar;
            m_calibrationTabIndex = m_controlPanelBar.AddPage(m_calibrationPanel->GetPage(),
                                                              QStringLiteral("Calibration"), 0);
        }
    }
    if (m_analysisTab.Create(&m_controlPanelBar))
        m_analysisTabIndex =
            m_controlPanelBar.AddPage(&m_analysisTab, QStringLiteral("Analysis"), 0);
    BindPages();
    m_controlPanelBar.SelectTab(0, 0);
}

void CMeasurementFormFrame::AttachCalibrationToActiveVideo() {
    if (!m_calibrationPanel)
        return;
    IVideoAnalysis* analysis = nullptr;
    auto* doc = dynamic_cast<CMeasurementFormDoc*>(GetActiveDocument());
    CPlaybackView* active = GetActivePlaybackView();
    if (doc && active && active->GetSourceType() == CPlaybackView::kVideoMember) {
        const int index = doc->FindVideoBySourceId(CMeasurementView::SourceIdOf(active));
        if (index >= 0 && index < doc->GetVideoAnalysisCount())
            analysis = doc->GetVideoAnalysis(index);
    }
    // With the group's own frame or a data window in front (the user at the panel itself),
    // the panel stays on the video it has; a video that goes takes itself off the panel.
    if (analysis)
        m_calibrationPanel->AttachAnalysis(analysis);
}

BOOL CMeasurementFormFrame::ShowCalibrationPanel() {
    if (!m_calibrationBar || m_calibrationTabIndex < 0 || !m_calibrationBar->GetSafeHwnd())
        return FALSE;
    AttachCalibrationToActiveVideo();
    if (CFrameWnd* holder = m_calibrationBar->GetParentFrame())
        holder->ShowControlBar(m_calibrationBar, TRUE, FALSE);
    m_calibrationBar->SelectTab(m_calibrationTabIndex, 0);
    return TRUE;
}

void CMeasurementFormFrame::RefreshLutDialog() {
    if (m_lutDialog.GetSafeHwnd())
        m_lutDialog.LoadFromView();
}

void CMeasurementFormFrame::BindPages() {
    auto* owner = dynamic_cast<IPlaybackSourceOwner*>(GetActiveView());
    m_playbackTab.SetOwnerLink(owner);
    m_playControlTab.SetOwnerLink(owner);
    // The group's play control shows its position, frame and rate on the play-control page.
    if (auto* view = dynamic_cast<CMeasurementView*>(GetActiveView());
        view && m_playControlTab.GetSafeHwnd()) {
        CPlayControlWnd& playControl = view->GetPlayControl();
        playControl.SetPlayBar(&m_playControlTab);
        if (playControl.GetSafeHwnd())
            playControl.ResetRange();
    }
}

void CMeasurementFormFrame::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CViewChildedFrame::OnActivate(nState, pWndOther, bMinimized);
    if (!m_bFirstActivation && GetParent()) {
        m_playControlTab.SetOwner(GetActiveView());
        m_bFirstActivation = TRUE;
    }
}

void CMeasurementFormFrame::ActivateFrame(int nCmdShow) {
    m_playControlTab.SetOwner(GetActiveView());
    const bool barCommand = nCmdShow <= -1 && nCmdShow >= -4;
    // -1 is also the framework's plain activation: a frame standing alone (or one without its
    // bar) is shown as usual. Hosted in a project it is the project's word on the bar alone:
    // raising the group's frame would put it in front of the member the user clicked.
    const bool hosted = GetParent() != nullptr;
    if (!barCommand || (nCmdShow == -1 && (!hosted || !m_controlPanelBar.GetSafeHwnd()))) {
        CViewChildedFrame::ActivateFrame(nCmdShow);
        if (nCmdShow != -1 || !m_controlPanelBar.GetSafeHwnd())
            return;
    }
    if (!m_controlPanelBar.GetSafeHwnd())
        return;
    switch (nCmdShow) {
        case -1:
            ShowControlBar(&m_controlPanelBar, m_bShowBar, TRUE);
            break;
        case -2:
        case -3:
            ShowControlBar(&m_controlPanelBar, FALSE, TRUE);
            break;
        default:
            // Bars stay docked in their frame here: none floats.
            break;
    }
}

BOOL CMeasurementFormFrame::IsInsideRecordController() const {
    auto* host = dynamic_cast<CFrameParentingView*>(GetParent());
    const CRuntimeClass* recordView = CGeneralDoc::GetGroupKinds().recordControllerView;
    if (!host || !recordView)
        return FALSE;
    CFrameWnd* saved = host->SetChildFrameCursor(nullptr);
    CView* found = host->FindChildViewOfClass(recordView);
    host->SetChildFrameCursor(saved);
    return found != nullptr;
}

void CMeasurementFormFrame::AttachToControlPanel(CControlPanelBar* bar) {
    if (!bar || !bar->GetSafeHwnd())
        return;
    const BOOL insideRecordController = IsInsideRecordController();
    if (!m_playControlTab.GetSafeHwnd()) {
        m_playControlTab.Create(bar, GetActiveView());
    } else {
        // The page leaves the group's own panel for the project's.
        if (m_playControlTabIndex >= 0)
            m_controlPanelBar.SetTabPage(nullptr, m_playControlTabIndex, 0);
        m_playControlTab.SetParent(bar);
    }
    m_projectBar = bar;
    if (CFrameWnd* barFrame = bar->GetParentFrame())
        m_projectBarLife = barFrame->GetLifeToken();
    if (m_playControlTab.GetSafeHwnd()) {
        if (insideRecordController)
            m_playControlTab.ShowWindow(SW_HIDE);
        else
            m_projectTabs[0] = bar->AddPage(&m_playControlTab, QStringLiteral("Playback"), 0);
    }
    AttachCalibrationPage(bar, insideRecordController);
    BindPages();
    if (!m_measurePalette.GetSafeHwnd() && m_measurePalette.Create(IDD_MEASURE, bar)) {
        m_measurePalette.ShowWindow(SW_SHOW);
        if (insideRecordController) {
            m_measurePalette.ShowWindow(SW_HIDE);
            bar->SelectTab(0, 0);
        } else {
            m_projectTabs[1] = bar->AddPage(&m_measurePalette, QStringLiteral("Measurement"), 0);
        }
    }
    AttachAnalysisPage(bar, insideRecordController);
    bar->SelectTab(0, 0);
}

void CMeasurementFormFrame::AttachAnalysisPage(CControlPanelBar* bar, BOOL hidden) {
    if (!m_analysisTab.GetSafeHwnd() || m_projectTabs[2] >= 0)
        return;
    // The page leaves the group's own panel for the project's, as the play-control page does.
    if (m_analysisTabIndex >= 0)
        m_controlPanelBar.SetTabPage(nullptr, m_analysisTabIndex, 0);
    m_analysisTab.SetParent(bar);
    if (hidden)
        m_analysisTab.ShowWindow(SW_HIDE);
    else
        m_projectTabs[2] = bar->AddPage(&m_analysisTab, QStringLiteral("Analysis"), 0);
}

void CMeasurementFormFrame::AttachCalibrationPage(CControlPanelBar* bar, BOOL hidden) {
    CTabDlg* page = m_calibrationPanel ? m_calibrationPanel->GetPage() : nullptr;
    if (!page || !page->GetSafeHwnd() || m_calibrationBar == bar)
        return;
    // The page leaves the bar it was in for the project's, as the play-control page does.
    if (m_calibrationBar && m_calibrationTabIndex >= 0)
        m_calibrationBar->SetTabPage(nullptr, m_calibrationTabIndex, 0);
    page->SetParent(bar);
    m_calibrationBar = nullptr;
    m_calibrationTabIndex = -1;
    if (hidden) {
        page->ShowWindow(SW_HIDE);
        return;
    }
    m_calibrationBar = bar;
    m_calibrationTabIndex = bar->AddPage(page, QStringLiteral("Calibration"), 0);
}

IPlayGroupMembers* CMeasurementFormFrame::GetGroupMembers() const {
    return dynamic_cast<CMeasurementView*>(GetActiveView());
}

CPlaybackView* CMeasurementFormFrame::GetActivePlaybackView() const {
    auto* view = dynamic_cast<CMeasurementView*>(GetActiveView());
    return view ? view->GetActivePlaybackView() : nullptr;
}

void CMeasurementFormFrame::OnPlayControlsCommand() {}

void CMeasurementFormFrame::OnUpdatePlayControls(CCmdUI*) {}

void CMeasurementFormFrame::OnUpdateFileClose(CCmdUI* pCmdUI) {
    auto* groupView = dynamic_cast<CMeasurementView*>(GetActiveView());
    CWnd* current = nullptr;
    if (groupView) {
        auto* host = dynamic_cast<CFrameParentingView*>(GetParent());
        current = host ? host->GetFirstChildView() : groupView->GetFirstChildView();
    }
    pCmdUI->Enable(current && current != groupView);
}

void CMeasurementFormFrame::OnDestroy() {
    // Pages moved into a project's control panel go with this frame, not with the panel, and
    // the panel, when it stays, no longer shows them.
    const bool projectBarLives =
        m_projectBar && !m_projectBarLife.expired() && m_projectBar->GetSafeHwnd();
    if (projectBarLives) {
        for (int tab : m_projectTabs) {
            if (tab >= 0)
                m_projectBar->SetTabPage(nullptr, tab, 0);
        }
    }
    if (m_controlPanelBar.GetSafeHwnd())
        m_controlPanelBar.SetParent(this);
    if (auto* view = dynamic_cast<CMeasurementView*>(GetActiveView());
        view && view->GetPlayControl().GetPlayBar() == &m_playControlTab)
        view->GetPlayControl().SetPlayBar(nullptr);
    if (m_playControlTab.GetSafeHwnd())
        m_playControlTab.SetParent(this);
    if (m_measurePalette.GetSafeHwnd())
        m_measurePalette.SetParent(this);
    if (m_analysisTab.GetSafeHwnd())
        m_analysisTab.SetParent(this);
    if (CTabDlg* page = m_calibrationPanel ? m_calibrationPanel->GetPage() : nullptr;
        page && page->GetSafeHwnd()) {
        // A project's bar that stays must not show the page of a group that is gone.
        if (projectBarLives && m_calibrationBar == m_projectBar && m_calibrationTabIndex >= 0)
            m_calibrationBar->SetTabPage(nullptr, m_calibrationTabIndex, 0);
        page->SetParent(this);
    }
    m_projectBar = nullptr;
    m_calibrationBar = nullptr;
    CViewChildedFrame::OnDestroy();
}
