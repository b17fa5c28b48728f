#include "groups/GeneralView.h"

#include "devices/core/RecordGroup.h"
#include "groups/GeneralDoc.h"
#include "groups/GeneralFrame.h"
#include "groups/GroupSettings.h"
#include "groups/IDataFrame.h"
#include "groups/IProjectRecordGroup.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/MessageMap.h"
#include "shell/VidraFrameWnd.h"
#include "shell/ViewChildedFrame.h"
#include "views/PlaybackView.h"

IMPLEMENT_DYNCREATE(CGeneralView, CFrameParentingView)

BEGIN_MESSAGE_MAP(CGeneralView, CFrameParentingView)
ON_WM_SIZE()
ON_COMMAND(ID_WINDOW_CASCADE_CHILDREN, OnCascade)
ON_COMMAND(ID_WINDOW_TILE_CHILDREN_HORZ, OnTileHorizontally)
ON_COMMAND(ID_WINDOW_TILE_CHILDREN_VERT, OnTileVertically)
ON_COMMAND(ID_WINDOW_ARRANGE_GROUPS, OnArrangeGroups)
ON_COMMAND(ID_WINDOW_AUTO_ARRANGE, OnAutoArrange)
ON_UPDATE_COMMAND_UI(ID_WINDOW_AUTO_ARRANGE, OnUpdateAutoArrange)
ON_COMMAND(ID_ARRANGE_IF_AUTO, OnArrangeIfAuto)
ON_COMMAND(ID_ADD_PLAY_GROUP, OnAddPlayGroup)
ON_COMMAND(kAddPlayGroupButton, OnAddPlayGroup)
ON_COMMAND(kAddVideoOrDeviceButton, OnAddVideoOrDevice)
ON_COMMAND(kReloadImageProcessButton, OnReloadImageProcess)
ON_UPDATE_COMMAND_UI(kSecondTabButton, OnUpdatePlayButton)
ON_UPDATE_COMMAND_UI(kFirstTabButton, OnUpdateRecordButton)
ON_MESSAGE(kProjectViewQuery, OnAnswerOne)
ON_COMMAND(ID_ZERO_BRACKET_SAVE_REARM, OnZeroBracketSaveRearm)
ON_COMMAND(ID_CLOSE_PLAYBACKS_REARM, OnClosePlaybacksRearm)
END_MESSAGE_MAP()

namespace {

bool IsPlayControlId(UINT nID) {
    return nID == 1311 || nID == 1317 || (nID >= 2001 && nID <= 2007) ||
           (nID >= 2009 && nID <= 2011) || nID == 2013;
}

bool IsOfKind(const CObject* object, const CRuntimeClass* kind) {
    return object && kind && object->IsKindOf(kind);
}

CFrameWnd* FrameOf(CView* view) {
    return view ? view->GetParentFrame() : nullptr;
}

}  // namespace

CGeneralView::CGeneralView()
    : m_bStartMaximized(GroupFlagSetting(QStringLiteral("AppBehave:bPR_StartMax"))),
      m_bDockPanels(GroupFlagSetting(QStringLiteral("AppBehave:bPR_DockPanelToPR"))) {
    // A project keeps its groups where the user left them.
    m_bLayOutOnSize = FALSE;
}

CGeneralFrame* CGeneralView::GetProjectFrame() const {
    return dynamic_cast<CGeneralFrame*>(GetParentFrame());
}

CView* CGeneralView::PlayGroupView() const {
    auto* project = dynamic_cast<CGeneralDoc*>(GetDocument());
    return project ? project->FindPlayGroupView() : nullptr;
}

CView* CGeneralView::RecordGroupView() const {
    auto* project = dynamic_cast<CGeneralDoc*>(GetDocument());
    return project ? project->FindRecordGroupView() : nullptr;
}

void CGeneralView::OnInitialUpdate() {
    CFrameParentingView::OnInitialUpdate();
    auto* project = dynamic_cast<CGeneralDoc*>(GetDocument());
    if (project)
        project->InitializeProject();
    CGeneralFrame* frame = GetProjectFrame();
    if (frame)
        frame->ShowImageProcessPage(&frame->GetControlPanelBar());
    if (frame) {
        // The groups were made hidden; their frames show them, their tools follow the mode.
        for (CView* group : {RecordGroupView(), PlayGroupView()}) {
            if (CFrameWnd* groupFrame = FrameOf(group)) {
                groupFrame->ShowWindow(SW_SHOW);
                group->ShowWindow(SW_SHOW);
            }
        }
        if (frame->GetControlPanelBar().GetTabCount() > 0)
            frame->GetControlPanelBar().SelectTab(0, 0);
    }
    CFrameWnd* parent = GetParentFrame();
    if (!parent)
        return;
    parent->ActivateFrame(SW_SHOWNORMAL);
    parent->ActivateFrame(m_bStartMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

void CGeneralView::OnUpdate(CView*, LPARAM lHint, CObject*) {
    if (CGeneralFrame* frame = GetProjectFrame())
        frame->SetGroupMode(static_cast<int>(lHint));
    if (auto* project = dynamic_cast<CGeneralDoc*>(GetDocument()))
        project->UpdateProjectTitle();
}

void CGeneralView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    ShowGroupFramesForMode(bActivate);
    CFrameParentingView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CGeneralView::OnDraw(CDC*) {}

BOOL CGeneralView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    BOOL handled = FALSE;
    if (!IsPlayControlId(nID)) {
        handled = CFrameParentingView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
        if (handled)
            return handled;
    }
    for (CView* group : {PlayGroupView(), RecordGroupView()}) {
        if (CFrameWnd* frame = FrameOf(group);
            frame && frame->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    return handled;
}

LRESULT CGeneralView::OnChildFrameClose(WPARAM wParam, LPARAM lParam) {
    // A playback of the play group is the group's to close: the record controller guards its
    // devices' memory and recording, and a playback of a device's memory has to close before
    // that memory can be freed.
    const CPlaybackView* playback =
        CMeasurementFormDoc::PlaybackOfFrame(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
    CView* playGroup = PlayGroupView();
    const bool playMember = playback && playGroup && playback->GetGroupDocument() &&
                            playback->GetGroupDocument() == playGroup->GetDocument();
    if (auto* record = dynamic_cast<CFrameParentingView*>(RecordGroupView());
        !playMember && record && record->GetSafeHwnd() &&
        record->OnChildFrameClose(wParam, lParam) != 1)
        return 0;
    if (auto* play = dynamic_cast<CFrameParentingView*>(PlayGroupView()))
        play->OnChildFrameClose(wParam, lParam);
    return 1;
}

int CGeneralView::GroupModeOfFrame(CFrameWnd* frame) {
    // A window activated inside a group reaches the project as its group's frame: the view the
    // user works in is the one on top inside it.
    CView* view = frame ? frame->GetActiveView() : nullptr;
    while (auto* host = dynamic_cast<CFrameParentingView*>(view)) {
        CFrameWnd* saved = host->SetChildFrameCursor(nullptr);
        CFrameWnd* top = host->GetNextChildFrame();
        host->SetChildFrameCursor(saved);
        frame = top;
        view = top ? top->GetActiveView() : nullptr;
    }
    const CProjectGroupKinds& kinds = CGeneralDoc::GetGroupKinds();
    int mode = -1;
    if (IsOfKind(view, kinds.playbackView))
        mode = kPlayGroupMode;
    if (IsOfKind(frame, kinds.dataPlayFrame)) {
        const auto* data = dynamic_cast<const IDataFrame*>(frame);
        mode = data && data->GetFrameMode() == 1 ? kRecordGroupMode : kPlayGroupMode;
    }
    if (IsOfKind(frame, kinds.sensorDataFrame) || IsOfKind(view, kinds.sensorDataView) ||
        IsOfKind(view, kinds.cameraView))
        mode = kRecordGroupMode;
    return mode;
}

LRESULT CGeneralView::OnChildFrameActivate(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CFrameParentingView::OnChildFrameActivate(wParam, lParam);
    auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
    const int mode = GroupModeOfFrame(frame);
    if (mode >= 0) {
        if (CGeneralFrame* projectFrame = GetProjectFrame())
            projectFrame->SetGroupMode(mode);
        if (auto* project = dynamic_cast<CGeneralDoc*>(GetDocument()))
            project->UpdateProjectTitle();
    }
    CWnd* top = GetFirstChildView();
    const HWND topWindow = top ? top->GetSafeHwnd() : nullptr;
    if (topWindow != m_lastTopWindow) {
        m_lastTopWindow = topWindow;
        if (CGeneralFrame* projectFrame = GetProjectFrame())
            projectFrame->ReloadImageProcessPage();
    }
    return result;
}

void CGeneralView::ShowGroupFramesForMode(BOOL bActivating) {
    CFrameWnd* play = FrameOf(PlayGroupView());
    CFrameWnd* record = FrameOf(RecordGroupView());
    if (!bActivating) {
        const int code = m_bDockPanels ? kGroupToolsHideDocked : kGroupToolsHideFloating;
        for (CFrameWnd* frame : {record, play}) {
            if (frame)
                frame->ActivateFrame(code);
        }
        return;
    }
    CGeneralFrame* projectFrame = GetProjectFrame();
    const int mode = projectFrame ? projectFrame->GetGroupMode() : -1;
    if (mode != kRecordGroupMode && mode != kPlayGroupMode)
        return;
    if (record)
        record->ActivateFrame(mode == kRecordGroupMode ? kGroupToolsShow : kGroupToolsHide);
    if (play)
        play->ActivateFrame(mode == kPlayGroupMode ? kGroupToolsShow : kGroupToolsHide);
}

void CGeneralView::ArrangeGroups() {
    // The data windows make a band of their own below the groups. Without a data window kind
    // every hosted frame stands in the one band (and none in the other).
    if (const CRuntimeClass* data = CGeneralDoc::GetGroupKinds().dataFrame) {
        ArrangeChildFrames(data, data, TRUE, FALSE);
        return;
    }
    const CRuntimeClass* hosted = RUNTIME_CLASS(CViewChildedFrame);
    ArrangeChildFrames(hosted, hosted, FALSE, TRUE);
}

void CGeneralView::OnSize(UINT nType, int cx, int cy) {
    CFrameParentingView::OnSize(nType, cx, cy);
    if (m_bAutoArrange)
        ArrangeGroups();
}

void CGeneralView::OnCascade() {
    CascadeChildFrames();
}

void CGeneralView::OnTileHorizontally() {
    TileChildFramesHorizontally();
}

void CGeneralView::OnTileVertically() {
    TileChildFramesVertically();
}

void CGeneralView::OnArrangeGroups() {
    ArrangeGroups();
}

void CGeneralView::OnReloadImageProcess() {
    if (CGeneralFrame* frame = GetProjectFrame())
        frame->ReloadImageProcessPage();
}

void CGeneralView::OnAutoArrange() {
    m_bAutoArrange = !m_bAutoArrange;
    if (m_bAutoArrange)
        ArrangeGroups();
}

void CGeneralView::OnUpdateAutoArrange(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_bAutoArrange ? 1 : 0);
}

void CGeneralView::OnArrangeIfAuto() {
    if (m_bAutoArrange)
        ArrangeGroups();
}

void CGeneralView::OnAddPlayGroup() {
    auto* project = dynamic_cast<CGeneralDoc*>(GetDocument());
    if (project)
        project->CreatePlayGroup(QString(), nullptr);
}

void CGeneralView::OnAddVideoOrDevice() {
    auto* project = dynamic_cast<CGeneralDoc*>(GetDocument());
    if (!project)
        return;
    const QString answer = CVidraFrameWnd::AddVideoOrDevice();
    if (answer.isEmpty())
        return;
    CDocument* group = nullptr;
    const bool recordGroup = project->CreateRecordGroup(answer, &group) && group;
    if (recordGroup)
        project->ListenToRecordGroup(group);
    if (recordGroup || (project->CreatePlayGroup(answer, &group) && group)) {
        project->SetTitle(group->GetTitle());
        // The group was made hidden; as the groups a project starts with, its frame shows it.
        POSITION pos = group->GetFirstViewPosition();
        if (CView* view = pos ? group->GetNextView(pos) : nullptr)
            if (CFrameWnd* groupFrame = FrameOf(view)) {
                groupFrame->ShowWindow(SW_SHOW);
                view->ShowWindow(SW_SHOW);
            }
    }
}

void CGeneralView::OnUpdatePlayButton(CCmdUI* pCmdUI) {
    pCmdUI->Enable(PlayGroupView() != nullptr);
}

void CGeneralView::OnUpdateRecordButton(CCmdUI* pCmdUI) {
    pCmdUI->Enable(RecordGroupView() != nullptr);
}

LRESULT CGeneralView::OnAnswerOne(WPARAM, LPARAM) {
    return 1;
}

void CGeneralView::CloseGroupPlaybacksAndRearm() {
    auto* groupView = dynamic_cast<CMeasurementView*>(PlayGroupView());
    if (auto* group =
            groupView ? dynamic_cast<CMeasurementFormDoc*>(groupView->GetDocument()) : nullptr) {
        group->CloseAllPlaybacks();
        groupView->GetPlayControl().Clear();
    }
    if (CGeneralFrame* frame = GetProjectFrame())
        frame->SetGroupMode(kRecordGroupMode);
    if (auto* project = dynamic_cast<CGeneralDoc*>(GetDocument()))
        project->UpdateProjectTitle();
    // The devices record again, ready for the next event.
    CView* recordView = RecordGroupView();
    auto* recordGroup =
        recordView ? dynamic_cast<IProjectRecordGroup*>(recordView->GetDocument()) : nullptr;
    if (CRecordGroup* devices = recordGroup ? recordGroup->GetRecordGroup() : nullptr)
        devices->RecordAllDevices();
}

void CGeneralView::OnZeroBracketSaveRearm() {
    const bool recordAfterSave = GroupFlagSetting(QStringLiteral("AppBehave:bRecordAfterSave"));
    if (auto* groupView = dynamic_cast<CMeasurementView*>(PlayGroupView()))
        groupView->OnZero();
    if (recordAfterSave)
        CloseGroupPlaybacksAndRearm();
}

void CGeneralView::OnClosePlaybacksRearm() {
    if (GroupFlagSetting(QStringLiteral("AppBehave:bRecordAfterSave")))
        CloseGroupPlaybacksAndRearm();
}
