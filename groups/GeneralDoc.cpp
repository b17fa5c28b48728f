#include "groups/GeneralDoc.h"

#include "devices/core/Device.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroup.h"
#include "frames/FileNames.h"
#include "groups/ChildWindowList.h"
#include "groups/FrameParentingView.h"
#include "groups/GeneralFrame.h"
#include "groups/GeneralView.h"
#include "groups/GroupSettings.h"
#include "groups/IProjectPlayGroup.h"
#include "groups/IProjectRecordGroup.h"
#include "groups/IProjectRecordState.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/PlayGroupAdapter.h"
#include "platform/com/ISettingsStore.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/MDIFrameWnd.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/WinApp.h"
#include "shell/PlaceholderDoc.h"
#include "shell/VidraApp.h"
#include "shell/VidraFrameWnd.h"
#include "shell/ViewChildedFrame.h"
#include "views/VidView.h"
#include "views/panels/ControlPanelBar.h"

IMPLEMENT_DYNCREATE(CGeneralDoc, CDocument)

// clang-format off
BEGIN_MESSAGE_MAP(CGeneralDoc, CDocument)
    ON_COMMAND(ID_FILE_SAVE, SaveAll)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateSavePlayGroup)
    ON_COMMAND(ID_FILE_SAVE_AS, SaveAllAs)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS, OnUpdateSavePlayGroup)
    ON_COMMAND(ID_SAVE_RECORD_CONFIGURATION, SaveAll)
    ON_UPDATE_COMMAND_UI(ID_SAVE_RECORD_CONFIGURATION, OnUpdateSaveRecordGroup)
    ON_COMMAND(ID_SAVE_RECORD_CONFIGURATION_AS, SaveAllAs)
    ON_UPDATE_COMMAND_UI(ID_SAVE_RECORD_CONFIGURATION_AS, OnUpdateSaveRecordGroup)
END_MESSAGE_MAP()
// clang-format on

namespace {

CProjectGroupKinds& Kinds() {
    static CProjectGroupKinds kinds;
    return kinds;
}

bool HasPlaceholder(const QString& path, const char* placeholder) {
    return path.indexOf(QLatin1String(placeholder), 1) >= 1;
}

}  // namespace

int CGeneralDoc::s_projectCount = 0;

CGeneralDoc::CGeneralDoc() : m_projectNumber(++s_projectCount) {
    CVidraFrameWnd::SetProjectMessageHandler(&CGeneralDoc::HandleProjectMessage);
    CVidraFrameWnd::SetHostedFramesCloser(&CGeneralDoc::CloseHostedFrames);
}

BOOL CGeneralDoc::CloseHostedFrames(CView* view) {
    auto* parenting = dynamic_cast<CFrameParentingView*>(view);
    if (!parenting)
        return FALSE;
    parenting->CloseChildFrames();
    return TRUE;
}

LRESULT CGeneralDoc::HandleProjectMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    auto* mainFrame = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    CMDIChildWnd* active = mainFrame ? mainFrame->MDIGetActive() : nullptr;
    auto* project = active ? dynamic_cast<CGeneralDoc*>(active->GetActiveDocument()) : nullptr;
    CFrameParentingView* view = project ? project->GetProjectView() : nullptr;
    return view ? view->SendMessage(message, wParam, lParam) : 0;
}

void CGeneralDoc::SetGroupKinds(const CProjectGroupKinds& kinds) {
    Kinds() = kinds;
}

const CProjectGroupKinds& CGeneralDoc::GetGroupKinds() {
    return Kinds();
}

BOOL CGeneralDoc::IsOfKind(const CObject* object, const CRuntimeClass* kind) {
    return object && kind && object->IsKindOf(kind);
}

BOOL CGeneralDoc::OnOpenDocument(const QString& pathName) {
    m_strOpenPath = pathName;
    return OnNewDocument();
}

void CGeneralDoc::SetPathName(const QString& pathName, BOOL bAddToMRU) {
    if (HasPlaceholder(pathName, kEmptyRecordGroupPlaceholder) ||
        HasPlaceholder(pathName, kEmptyPlayGroupPlaceholder) ||
        !CMeasurementFormDoc::IsPlayGroupPath(pathName))
        return;
    CDocument::SetPathName(pathName, bAddToMRU);
}

CFrameParentingView* CGeneralDoc::GetProjectView() const {
    POSITION pos = GetFirstViewPosition();
    return pos ? dynamic_cast<CFrameParentingView*>(GetNextView(pos)) : nullptr;
}

CView* CGeneralDoc::FindPlayGroupView() const {
    CFrameParentingView* view = GetProjectView();
    const CRuntimeClass* kind = Kinds().playGroupView;
    return view && kind ? view->FindChildViewOfClass(kind) : nullptr;
}

CView* CGeneralDoc::FindRecordGroupView() const {
    CFrameParentingView* view = GetProjectView();
    const CRuntimeClass* kind = Kinds().recordControllerView;
    return view && kind ? view->FindChildViewOfClass(kind) : nullptr;
}

BOOL CGeneralDoc::CreateGroup(const char* key, LPARAM hint, const QString& path,
                              CDocument** ppGroup) {
    CFrameParentingView* projectView = GetProjectView();
    if (ppGroup)
        *ppGroup = nullptr;
    CVidraApp* app = AfxGetVidraApp();
    if (!projectView || !app)
        return FALSE;
    // The creation parameters are 32-bit numbers here and cannot carry the project's view and
    // document: none are passed.
    CDocument* group = app->CreateDocumentByKey(QString::fromLatin1(key), path, FALSE, 0, 0, 0, 0);
    if (!group)
        return FALSE;
    POSITION pos = group->GetFirstViewPosition();
    CView* groupView = pos ? group->GetNextView(pos) : nullptr;
    if (!groupView) {
        group->OnCloseDocument();
        return FALSE;
    }
    auto* frame = dynamic_cast<CViewChildedFrame*>(groupView->GetParent());
    if (!frame) {
        // A group that cannot be hosted would stay behind as an invisible window.
        group->OnCloseDocument();
        return FALSE;
    }
    // The group lives in the project before its first update: a group opened from a path
    // reads its members then, and they join the project beside it.
    CViewChildedFrame::AttachToParentView(projectView, frame);
    groupView->OnInitialUpdate();
    frame->ShowWindow(SW_SHOW);
    frame->SetMenu(nullptr);
    groupView->ShowWindow(SW_SHOW);
    projectView->SetFocus();
    CRect client;
    projectView->GetClientRect(&client);
    projectView->SendMessage(WM_SIZE, SIZE_RESTORED,
                             static_cast<LPARAM>(MAKELONG(client.Width(), client.Height())));

    if (ppGroup)
        *ppGroup = group;
    group->UpdateAllViews(nullptr, hint);
    // The project decides which groups to show.
    frame->ShowWindow(SW_HIDE);
    groupView->ShowWindow(SW_HIDE);
    if (auto* projectFrame = dynamic_cast<CGeneralFrame*>(projectView->GetParentFrame()))
        projectFrame->AttachGroupPages(frame);
    return TRUE;
}

BOOL CGeneralDoc::CreatePlayGroup(const QString& path, CDocument** ppGroup) {
    return CreateGroup("DT:Meas2", kPlayGroupHint, path, ppGroup);
}

BOOL CGeneralDoc::CreateRecordGroup(const QString& path, CDocument** ppGroup) {
    return CreateGroup("DT:Rec", kRecordGroupHint, path, ppGroup);
}

void CGeneralDoc::InitializeProject() {
    const bool openSimilarlyNamed =
        GroupFlagSetting(QStringLiteral("AppBehave:bOpenSimilarlyNamed"));
    SetTitle(QStringLiteral("Project Window %1").arg(m_projectNumber));
    if (m_strOpenPath.isEmpty())
        return;

    CDocument* group = nullptr;
    if (HasPlaceholder(m_strOpenPath, kEmptyRecordGroupPlaceholder) &&
        CreateRecordGroup(QString(), &group)) {
        ListenToRecordGroup(group);
        if (CreatePlayGroup(QString(), &group))
            SetTitle(group->GetTitle());
        return;
    }
    if (HasPlaceholder(m_strOpenPath, kEmptyPlayGroupPlaceholder) &&
        CreatePlayGroup(QString(), &group)) {
        SetTitle(group->GetTitle());
        return;
    }
    // A file is tried as a record configuration first. While the record group is a window
    // kind the program does not have, that try could only tell the user so on every file.
    if (!CPlaceholderDoc::IsPlaceholderKind(QStringLiteral("DT:Rec")) &&
        CreateRecordGroup(m_strOpenPath, &group)) {
        ListenToRecordGroup(group);
        return;
    }
    if (!CreatePlayGroup(QString(), &group))
        return;
    // Only a group file becomes the group's path; a group made for a recording stays untitled
    // until the user saves it under a name of its own. The path is the group's before its
    // members join: it is the one synchronisation key they all share.
    if (CMeasurementFormDoc::IsPlayGroupPath(m_strOpenPath))
        group->SetPathName(m_strOpenPath);
    if (auto* playGroup = dynamic_cast<IProjectPlayGroup*>(group)) {
        m_openFailed = !playGroup->AddPlaybackFromFile(m_strOpenPath, 0, 0, nullptr, nullptr);
        if (openSimilarlyNamed)
            playGroup->OpenFileWithSimilarlyNamed(m_strOpenPath);
    }
    group->SetTitle(GetFileTitle(m_strOpenPath, false));
    // Opening is no change of the user's: closing right away asks nothing.
    group->SetModifiedFlag(FALSE);
    SetTitle(group->GetTitle());
}

BOOL CGeneralDoc::OpenPlayGroupFile(const QString& path, CDocument** ppGroup) {
    if (!GetProjectView())
        return FALSE;
    CView* groupView = FindPlayGroupView();
    CDocument* group = groupView ? groupView->GetDocument() : nullptr;
    if (!group) {
        CreatePlayGroup(path, ppGroup);
        return TRUE;
    }
    if (ppGroup)
        *ppGroup = group;
    if (auto* playGroup = dynamic_cast<IProjectPlayGroup*>(group)) {
        playGroup->SetPendingPath(path);
        playGroup->LoadPlayGroup(0);
    }
    return TRUE;
}

BOOL CGeneralDoc::OpenRecordConfiguration(const QString& path, CDocument** ppGroup) {
    if (!GetProjectView())
        return FALSE;
    CView* groupView = FindRecordGroupView();
    CDocument* group = groupView ? groupView->GetDocument() : nullptr;
    if (!group) {
        CreateRecordGroup(path, ppGroup);
        return TRUE;
    }
    if (ppGroup)
        *ppGroup = group;
    if (auto* recordGroup = dynamic_cast<IProjectRecordGroup*>(group)) {
        recordGroup->StoreConfigurationPath(path);
        recordGroup->ReloadDeviceSet();
    }
    return TRUE;
}

void CGeneralDoc::OnCloseDocument() {
    // The record group may outlast the project for a moment while its windows close: it must
    // not report to a project that is gone.
    CView* groupView = FindRecordGroupView();
    auto* recordGroup =
        groupView ? dynamic_cast<IProjectRecordGroup*>(groupView->GetDocument()) : nullptr;
    CRecordGroup* devices = recordGroup ? recordGroup->GetRecordGroup() : nullptr;
    if (devices && devices->GetStateListener() == this)
        devices->SetStateListener(ControllerListener());
    CDocument::OnCloseDocument();
}

void CGeneralDoc::ListenToRecordGroup(CDocument* group) {
    auto* recordGroup = dynamic_cast<IProjectRecordGroup*>(group);
    if (CRecordGroup* devices = recordGroup ? recordGroup->GetRecordGroup() : nullptr)
        devices->SetStateListener(this);
}

IRecordGroupListener* CGeneralDoc::ControllerListener() const {
    auto* controller = dynamic_cast<IProjectRecordState*>(FindRecordGroupView());
    return controller ? controller->GetGroupListener() : nullptr;
}

HRESULT CGeneralDoc::AddPlayback(int deviceHandle) {
    CFrameParentingView* projectView = GetProjectView();
    if (!projectView)
        return E_FAIL;
    // A device that is not open holds nothing to play.
    CDevice* device = OpenDevices::FindOpenDeviceByHandle(deviceHandle);
    if (!device)
        return S_OK;
    CView* recordView = FindRecordGroupView();
    CView* deviceView = nullptr;
    if (auto* controller = dynamic_cast<IProjectRecordState*>(recordView)) {
        int type = 0;
        device->GetType(&type);
        deviceView = controller->FindDeviceWindow(deviceHandle, type);
    }
    CFrameWnd* deviceFrame = deviceView ? deviceView->GetParentFrame() : nullptr;
    CWnd* deviceHost = deviceFrame ? deviceFrame->GetParent() : nullptr;
    CRect place;
    if (deviceHost) {
        deviceFrame->GetWindowRect(&place);
        deviceHost->ScreenToClient(&place);
    }

    CView* groupView = FindPlayGroupView();
    CDocument* group = groupView ? groupView->GetDocument() : nullptr;
    if (!group)
        CreatePlayGroup(QString(), &group);
    auto* playGroup = dynamic_cast<IProjectPlayGroup*>(group);
    CView* playback = nullptr;
    if (playGroup)
        playGroup->AddPlaybackFromFile(CMeasurementFormDoc::DeviceMarkerPath(device->GetId()), 0, 0,
                                       nullptr, &playback);
    if (!playback)
        return S_OK;
    if (auto* form = dynamic_cast<CMeasurementFormDoc*>(group)) {
        int type = CMeasurementFormDoc::kTypeNone;
        form->GetLastAdded(&type, nullptr, nullptr, nullptr, nullptr);
        if (type == CMeasurementFormDoc::kTypeNone) {
            // The device gave nothing to show: no empty window stays behind.
            if (CFrameWnd* frame = playback->GetParentFrame())
                frame->SendMessage(WM_CLOSE);
            return S_OK;
        }
        CPlayGroupAdapter* adapter = form->GetPlayGroupAdapter();
        if (auto* recordGroup = recordView
                                    ? dynamic_cast<IProjectRecordGroup*>(recordView->GetDocument())
                                    : nullptr)
            recordGroup->LinkInterfaceObject(adapter);
        // The playback takes the place of the device's window.
        if (deviceHost)
            adapter->PlaceMemberWindow(0, deviceHandle, place.left, place.top, place.right,
                                       place.bottom);
    }
    auto* camera =
        IsOfKind(deviceView, Kinds().cameraView) ? dynamic_cast<CVidView*>(deviceView) : nullptr;
    if (auto* video = dynamic_cast<CVidView*>(playback); camera && video) {
        CLutParamSet colour;
        CLutParamSet blackAndWhite;
        camera->GetDisplayLuts(&colour, &blackAndWhite);
        video->SetDisplayLuts(colour, blackAndWhite);
    }
    if (dynamic_cast<CGeneralView*>(projectView))
        if (auto* projectFrame = dynamic_cast<CGeneralFrame*>(projectView->GetParentFrame())) {
            if (projectFrame->GetControlPanelBar().GetSafeHwnd())
                projectFrame->GetControlPanelBar().SelectTabByName(QStringLiteral("Playback"));
            projectFrame->ReloadImageProcessPage();
        }
    UpdateAllViews(nullptr, kPlayGroupHint);
    return S_OK;
}

HRESULT CGeneralDoc::OnStateChanged(int, int) {
    return S_OK;
}

HRESULT CGeneralDoc::OnRecordingEnded(int state) {
    if (!GetProjectView())
        return E_FAIL;
    if (IRecordGroupListener* controller = ControllerListener())
        controller->OnRecordingEnded(state);
    return S_OK;
}

HRESULT CGeneralDoc::OnBeforeLive() {
    if (!GetProjectView())
        return E_FAIL;
    if (IRecordGroupListener* controller = ControllerListener())
        controller->OnBeforeLive();
    return S_OK;
}

HRESULT CGeneralDoc::OnGroupChanged() {
    if (!GetProjectView())
        return E_FAIL;
    if (IRecordGroupListener* controller = ControllerListener())
        controller->OnGroupChanged();
    return S_OK;
}

void CGeneralDoc::UpdateProjectTitle() {
    CFrameParentingView* view = GetProjectView();
    if (!view)
        return;
    CChildWindowList list(view);
    list.CollectFiltered(nullptr, FALSE, TRUE, FALSE);
    CViewChildedFrame* first = list.GetFrame(0);
    const CProjectGroupKinds& kinds = Kinds();
    CView* groupView = first ? first->GetActiveView() : nullptr;
    CDocument* group = groupView ? groupView->GetDocument() : nullptr;
    const bool isGroup =
        IsOfKind(first, kinds.playGroupFrame) || IsOfKind(first, kinds.recordControllerFrame);
    SetTitle(isGroup && group ? group->GetTitle() : QString());
}

CView* CGeneralDoc::TopMostView() const {
    CView* top = nullptr;
    for (CFrameParentingView* host = GetProjectView(); host;
         host = dynamic_cast<CFrameParentingView*>(top)) {
        CChildWindowList list(host);
        list.CollectPlain(TRUE);
        CViewChildedFrame* frame = list.GetFrame(0);
        CView* view = frame ? frame->GetActiveView() : nullptr;
        if (!view)
            break;
        top = view;
    }
    return top;
}

CView* CGeneralDoc::SaveTarget() const {
    const CView* top = TopMostView();
    const CProjectGroupKinds& kinds = Kinds();
    CView* target = nullptr;
    if (IsOfKind(top, kinds.playbackView))
        target = FindPlayGroupView();
    // A camera view is a playback view as well: the record group owns it.
    if (IsOfKind(top, kinds.cameraView) || IsOfKind(top, kinds.sensorDataView))
        target = FindRecordGroupView();
    return target;
}

void CGeneralDoc::SaveAll() {
    if (!GetProjectView())
        return;
    CView* target = SaveTarget();
    if (!target) {
        AfxMessageBox(QStringLiteral("No open files to save."), MB_ICONINFORMATION);
        return;
    }
    if (CDocument* group = target->GetSafeHwnd() ? target->GetDocument() : nullptr)
        group->DoFileSave();
}

void CGeneralDoc::SaveAllAs() {
    if (!GetProjectView())
        return;
    CView* target = SaveTarget();
    CDocument* group = target && target->GetSafeHwnd() ? target->GetDocument() : nullptr;
    if (!group || !group->DoSave(QString(), TRUE))
        return;
    // The group saved under a file of its own kind: that file is the project's too.
    const QString path = group->GetPathName();
    CDocument::SetPathName(path);
    SetTitle(GetFileTitle(path, false));
}

void CGeneralDoc::OnUpdateSavePlayGroup(CCmdUI* pCmdUI) {
    if (!IsOfKind(TopMostView(), Kinds().playbackView) || !FindPlayGroupView())
        pCmdUI->Enable(FALSE);
}

void CGeneralDoc::OnUpdateSaveRecordGroup(CCmdUI* pCmdUI) {
    const CView* top = TopMostView();
    const bool deviceOnTop =
        IsOfKind(top, Kinds().cameraView) || IsOfKind(top, Kinds().sensorDataView);
    if (!deviceOnTop || !FindRecordGroupView())
        pCmdUI->Enable(FALSE);
}
