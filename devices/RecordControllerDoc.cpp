#include "devices/RecordControllerDoc.h"

#include "devices/AutoDownloadWnd.h"
#include "devices/AutoRecordDlg.h"
#include "devices/CamDoc.h"
#include "devices/CamView.h"
#include "devices/ConnectionAssistantDlg.h"
#include "devices/DeviceMemoryGuard.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/DeviceSetFiles.h"
#include "devices/DlgCameraOptions.h"
#include "devices/RecordControllerView.h"
#include "devices/ToolWindowTitler.h"
#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "frames/FileNames.h"
#include "frames/IDataPlayView.h"
#include "frames/Notifier.h"
#include "frames/RecordFrameAdapter.h"
#include "groups/ChildWindowList.h"
#include "groups/GeneralDoc.h"
#include "groups/GroupSettings.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/PlayGroupAdapter.h"
#include "platform/framework/Archive.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/WinApp.h"
#include "sensordata/DataSensorView.h"
#include "shell/DlgSystemConfiguration.h"
#include "shell/VidraApp.h"
#include "shell/VidraFrameWnd.h"
#include "shell/ViewChildedFrame.h"
#include "views/RegionToolWnd.h"
#include "views/VidView.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CRecordControllerDoc, CDocument)

namespace {

constexpr const char* kCameraTemplate = "DT:Cam2";
constexpr const char* kSensorTemplate = "DT:PmoSensVCF";

CView* FirstViewOf(CDocument* doc) {
    POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr;
    return pos ? doc->GetNextView(pos) : nullptr;
}

// The path under which a device window is opened for a device the user chose.
QString DevicePath(const CDeviceId& id) {
    return QString::fromLatin1(CCamDoc::kDeviceMarker) + QStringLiteral("__") + id.ToString();
}

}  // namespace

BEGIN_MESSAGE_MAP(CRecordControllerDoc, CDocument)
ON_COMMAND(CRecordControllerDoc::kRecordOptionsCommand, OnRecordOptions)
ON_COMMAND(CRecordControllerDoc::kConnectionsCommand, OnConnections)
ON_COMMAND(CRecordControllerDoc::kDevicePlaybackCommand, OnDevicePlayback)
ON_UPDATE_COMMAND_UI(CRecordControllerDoc::kDevicePlaybackCommand, OnUpdateDevicePlayback)
ON_COMMAND(CRecordControllerDoc::kAutoRecordCommand, OnAutoRecord)
END_MESSAGE_MAP()

CRecordControllerDoc::CRecordControllerDoc()
    : m_interfaceObject(std::make_unique<CNotifier>()),
      m_frameAdapter(std::make_unique<CRecordFrameAdapter>(this)),
      m_regionTool(std::make_unique<CRegionToolWnd>()),
      m_titler(std::make_unique<CToolWindowTitler>(this)) {
    m_titler->SetOwner(m_regionTool.get());
    m_recordOptions.LoadAllFromRegistry();
    m_download = std::make_unique<CAutoDownloadWnd>(&m_group);
    m_download->SetDocumentsInUse([this] {
        std::vector<CDocument*> documents{this};
        for (CViewChildedFrame* frame : DeviceFrames())
            if (CView* view = frame->GetActiveView())
                documents.push_back(view->GetDocument());
        return documents;
    });
    m_download->LoadOptionFile();
    m_download->LoadSettings();
}

CRecordControllerDoc::~CRecordControllerDoc() {
    m_group.SetStateListener(nullptr);
    m_group.SetRecordingCompleteHandler(nullptr);
    m_download.reset();
    m_group.SetRecordOptions(nullptr);
}

bool CRecordControllerDoc::IsLaunchPath(const QString& path) {
    return path.contains(QLatin1String(kLaunchMarker));
}

bool CRecordControllerDoc::HasControllerExtension(const QString& path) {
    QString filter =
        CMeasurementFormDoc::TemplateFilterExtension(QString::fromLatin1(kTemplateKey));
    if (filter.isEmpty())
        filter = QStringLiteral(".recc");
    return CMeasurementFormDoc::FilterContainsExtension(filter, GetFileExtension(path));
}

void CRecordControllerDoc::BindGroup() {
    m_group.SetStateListener(this);
    m_group.SetRecordOptions(&m_recordOptions);
    m_group.SetRecordingCompleteHandler(m_download.get());
}

BOOL CRecordControllerDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return FALSE;
    SetTitle(QStringLiteral("Record Group"));
    BindGroup();
    return TRUE;
}

BOOL CRecordControllerDoc::OnOpenDocument(const QString& pathName) {
    m_launchPath.clear();
    if (IsLaunchPath(pathName)) {
        m_launchPath = pathName;
        return OnNewDocument();
    }
    if (!HasControllerExtension(pathName) || !CDocument::OnOpenDocument(pathName))
        return FALSE;
    BindGroup();
    return TRUE;
}

void CRecordControllerDoc::Serialize(CArchive& ar) {
    // The devices live in their own files; this one only marks the controller.
    if (ar.IsStoring())
        ar << kFileMarker1 << kFileMarker2;
}

void CRecordControllerDoc::SetPathName(const QString& pathName, BOOL bAddToMRU) {
    if (IsLaunchPath(pathName))
        return;
    CDocument::SetPathName(pathName, bAddToMRU);
}

void CRecordControllerDoc::StorePathName(const QString& path) {
    // The configuration handed over replaces the device the controller was launched for: the
    // next reload reads its device files.
    m_launchPath.clear();
    m_strPathName = path;
}

std::vector<CViewChildedFrame*> CRecordControllerDoc::DeviceFrames() const {
    std::vector<CViewChildedFrame*> frames;
    CRecordControllerView* view = GetControllerView();
    if (!view)
        return frames;
    // Creation order: the order in which the devices were added, whichever window is on top.
    CChildWindowList list(view);
    list.CollectFiltered(nullptr, FALSE, FALSE, FALSE);
    for (int i = 0; i < list.GetCount(); ++i) {
        CViewChildedFrame* frame = list.GetFrame(i);
        if (frame && DeviceKindOfView(frame->GetActiveView()) != 0)
            frames.push_back(frame);
    }
    return frames;
}

BOOL CRecordControllerDoc::OnSaveDocument(const QString& pathName) {
    const bool devicesSaved =
        CDeviceSetFiles(pathName, CDeviceSetFiles::kDeviceSets).SaveDocuments(DeviceFrames());
    // A device that could not be saved stops neither the others nor the controller file.
    const BOOL controllerSaved = CDocument::OnSaveDocument(pathName);
    return devicesSaved && controllerSaved;
}

int CRecordControllerDoc::LoadDeviceSet() {
    return LoadDeviceSet(m_launchPath.isEmpty() ? GetPathName() : m_launchPath);
}

int CRecordControllerDoc::LoadDeviceSet(const QString& path) {
    if (path.isEmpty())
        return 0;
    if (IsLaunchPath(path)) {
        CDeviceId id;
        const int text = path.indexOf(QLatin1Char('#'), path.indexOf(QLatin1String(kLaunchMarker)));
        if (text >= 0)
            id.FromString(path.mid(text));
        const int added = !id.IsNone() && AddDevice(id) ? 1 : 0;
        SetTitle(QStringLiteral("New Record Controller"));
        m_strPathName.clear();
        return added;
    }
    int added = 0;
    for (const QString& file : CDeviceSetFiles(path, CDeviceSetFiles::kDeviceSets).FindExisting()) {
        // The file says which device it belongs to; the window of that kind reads it again.
        CDlgCameraOptions sheet;
        if (sheet.Load(file) != S_OK)
            continue;
        const CDeviceId id = sheet.GetDeviceSettings();
        if (!DriverLoader::OpenById(id))
            continue;
        if (AdoptDeviceWindow(OpenDeviceWindow(id, file)))
            ++added;
    }
    return added;
}

CView* CRecordControllerDoc::AddDevice(const CDeviceId& id) {
    // A device the driver cannot open gets no window.
    if (id.IsNone() || !DriverLoader::OpenById(id))
        return nullptr;
    return AdoptDeviceWindow(OpenDeviceWindow(id, DevicePath(id)));
}

CView* CRecordControllerDoc::AdoptDeviceWindow(CView* view) {
    CDevice* device = DeviceOfView(view);
    CFrameWnd* frame = view ? view->GetParentFrame() : nullptr;
    int handle = -1;
    if (device)
        device->GetHandle(&handle);
    // A device another window has attached gets no second window.
    const bool refused = device && frame && m_group.AddDevice(handle) < 0;
    if (!device || !frame || refused) {
        if (CDocument* doc = view ? view->GetDocument() : nullptr)
            doc->OnCloseDocument();
        if (refused)
            AfxMessageBox(QString::fromLatin1(CDeviceSelectionDlg::kDeviceInUse),
                          MB_OK | MB_ICONWARNING);
        return nullptr;
    }
    CDeviceDescriptor descriptor;
    device->GetDescriptor(&descriptor);
    frame->SetWindowText(descriptor.m_name);
    view->GetDocument()->SetTitle(descriptor.m_name);
    view->ShowWindow(SW_SHOW);
    frame->ShowWindow(SW_SHOW);
    m_group.NotifyListeners();
    if (CRecordControllerView* host = GetControllerView()) {
        ShowController(host);
        host->ActivateDeviceFrame(frame);
    }
    return view;
}

void CRecordControllerDoc::ShowController(CRecordControllerView* host) {
    // A project keeps a new controller out of sight; once it holds a device the user works in
    // it, so it shows and comes in front of the project's other windows as a click would bring
    // it.
    CFrameWnd* own = host->GetParentFrame();
    if (!own)
        return;
    CWnd* project = own->GetParent();
    if (own->IsWindowVisible())
        return;
    own->ShowWindow(SW_SHOW);
    host->ShowWindow(SW_SHOW);
    if (!project)
        return;
    CRect client;
    project->GetClientRect(&client);
    project->SendMessage(WM_SIZE, SIZE_RESTORED,
                         static_cast<LPARAM>(MAKELONG(client.Width(), client.Height())));
    project->SendMessage(WM_CHILDED_ACTIVATED, reinterpret_cast<WPARAM>(own->GetSafeHwnd()),
                         kChildedActivatedByMouse);
}

CView* CRecordControllerDoc::OpenDeviceWindow(const CDeviceId& id, const QString& path) {
    if (id.m_type == kDeviceTypeCamera)
        return OpenDeviceVideoWindow(path);
    if (id.m_type == kDeviceTypeDataCard)
        return OpenVideoWindow(QString::fromLatin1(kSensorTemplate), path);
    return nullptr;
}

CView* CRecordControllerDoc::OpenDeviceVideoWindow(const QString& path) {
    return OpenVideoWindow(QString::fromLatin1(kCameraTemplate), path);
}

CView* CRecordControllerDoc::OpenVideoWindow(const QString& templateKey, const QString& path) {
    CRecordControllerView* host = GetControllerView();
    CVidraApp* app = AfxGetVidraApp();
    CDocTemplate* docTemplate = app ? app->GetTemplateByKey(templateKey) : nullptr;
    if (!host || !docTemplate)
        return nullptr;
    CDocument* doc = docTemplate->OpenDocumentFile(path, FALSE);
    CView* view = FirstViewOf(doc);
    auto* frame = view ? dynamic_cast<CViewChildedFrame*>(view->GetParentFrame()) : nullptr;
    if (!frame) {
        if (doc)
            doc->OnCloseDocument();
        return nullptr;
    }
    CViewChildedFrame::AttachToParentView(host, frame);
    frame->SetMenu(nullptr);
    // Derived sources of the controller's videos (zoom regions, measured levels) open their
    // windows in the controller too.
    if (auto* video = dynamic_cast<CVidView*>(view))
        video->SetToolContext(
            reinterpret_cast<intptr_t>(static_cast<IFrameWindowAdapter*>(m_frameAdapter.get())));
    host->TileDeviceFrames();
    return view;
}

CWnd* CRecordControllerDoc::GetMemberFrameParent() {
    return GetControllerView();
}

CFrameWnd* CRecordControllerDoc::ParentNewVideoFrame() {
    return ShowNewWindow(OpenVideoWindow(QStringLiteral("DT:Vid"), QString()));
}

CFrameWnd* CRecordControllerDoc::ParentNewDataFrame() {
    return ShowNewWindow(OpenVideoWindow(QStringLiteral("DT:PmoPlayVCF"), QString()));
}

CFrameWnd* CRecordControllerDoc::ShowNewWindow(CView* view) {
    CFrameWnd* frame = view ? view->GetParentFrame() : nullptr;
    if (!frame)
        return nullptr;
    view->ShowWindow(SW_SHOW);
    frame->ShowWindow(SW_SHOW);
    return frame;
}

void CRecordControllerDoc::CloseDeviceWindows() {
    for (CViewChildedFrame* frame : DeviceFrames())
        frame->SendMessage(WM_CLOSE, 0, 0);
}

BOOL CRecordControllerDoc::SaveModified() {
    if (!CDocument::SaveModified())
        return FALSE;
    std::vector<CDevice*> devices;
    for (int i = 0; i < m_group.GetDeviceCount(); ++i)
        devices.push_back(m_group.GetDeviceAt(i));
    return DeviceMemoryGuard::MayDropRecordings(devices) ? TRUE : FALSE;
}

void CRecordControllerDoc::OnCloseDocument() {
    CloseDeviceWindows();
    while (m_group.GetDeviceCount() > 0)
        m_group.RemoveDevice(m_group.GetDeviceHandle(0));
    CDocument::OnCloseDocument();
}

BOOL CRecordControllerDoc::IsRecording() const {
    return m_group.GetState() == CRecordGroup::kRecord;
}

HRESULT CRecordControllerDoc::AddPlayback(int deviceHandle) {
    return OpenDevicePlayback(deviceHandle) ? S_OK : E_FAIL;
}

HRESULT CRecordControllerDoc::OnStateChanged(int, int) {
    UpdateAllViews(nullptr);
    return S_OK;
}

HRESULT CRecordControllerDoc::OnRecordingEnded(int) {
    UpdateAllViews(nullptr);
    return S_OK;
}

HRESULT CRecordControllerDoc::OnGroupChanged() {
    UpdateAllViews(nullptr);
    return S_OK;
}

CRecordControllerView* CRecordControllerDoc::GetControllerView() const {
    for (POSITION pos = GetFirstViewPosition(); pos;)
        if (auto* view = dynamic_cast<CRecordControllerView*>(GetNextView(pos)))
            return view;
    return nullptr;
}

int CRecordControllerDoc::DeviceKindOfView(const CView* view) {
    if (dynamic_cast<const CCamView*>(view))
        return kDeviceTypeCamera;
    if (dynamic_cast<const CDataSensorView*>(view))
        return kDeviceTypeDataCard;
    return 0;
}

CDevice* CRecordControllerDoc::DeviceOfView(CView* view) {
    if (auto* camera = dynamic_cast<CCamView*>(view))
        return camera->GetDevice();
    if (auto* sensor = dynamic_cast<CDataSensorView*>(view))
        return sensor->GetDevice();
    return nullptr;
}

void CRecordControllerDoc::ShowRecordOptions() {
    // The dialog edits its own pages; OK alone commits them to the values the group reads.
    m_recordOptions.SetTitle(QStringLiteral("Record Options"));
    if (m_recordOptions.DoModal() == IDOK)
        m_recordOptions.SaveAllToRegistry();
}

void CRecordControllerDoc::OnRecordOptions() {
    ShowRecordOptions();
}

void CRecordControllerDoc::ShowConnections() {
    if (OpenDevices::GetCount() == 0) {
        MessageBoxPrompt prompt;
        prompt.text = QStringLiteral(
            "No devices are currently open to show connections.  Please open a device first.");
        prompt.caption = QString::fromLatin1(kMainTitle);
        prompt.type = MB_OK | MB_ICONWARNING;
        AfxPrompter().MessageBox(prompt);
        return;
    }
    CConnectionAssistantDlg dialog(AfxGetMainWnd());
    // Devices of type 1, then data cards, then cameras.
    for (int type = 1; type <= kDeviceTypeCamera; ++type) {
        for (int i = 0; i < OpenDevices::GetCount(); ++i) {
            CDevice* device = OpenDevices::GetAt(i);
            CDeviceDescriptor descriptor;
            if (!device || device->GetDescriptor(&descriptor) != 0 || descriptor.m_type != type)
                continue;
            CConnectionAssistantDlg::Row row;
            row.kind = type - 1;
            row.subtype = type == kDeviceTypeCamera ? descriptor.m_subtype : 0;
            row.label = descriptor.m_name;
            dialog.m_rows.push_back(row);
        }
    }
    auto* mainFrame = dynamic_cast<CVidraFrameWnd*>(AfxGetMainWnd());
    const QString option = QStringLiteral("Auto Show Connect Asst");
    const int disabled = mainFrame && mainFrame->GetSystemConfiguration().GetFlag(option) ? 0 : 1;
    dialog.m_disable = disabled;
    dialog.DoModal();
    if (mainFrame && dialog.m_disable != disabled) {
        CDlgSystemConfiguration& config = mainFrame->GetSystemConfiguration();
        config.SetFlag(option, dialog.m_disable ? 0 : 1);
        config.Save();
    }
}

void CRecordControllerDoc::OnConnections() {
    ShowConnections();
}

bool CRecordControllerDoc::HoldsRecording(CDevice* device) {
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    int frames = 0;
    return driver && device->GetMode() == kModeStopped && driver->GetRecordedFrames(&frames) == 0 &&
           frames > 0;
}

bool CRecordControllerDoc::IsGroupDevice(CDevice* device) const {
    int handle = -1;
    return device && device->GetHandle(&handle) == 0 && m_group.FindDevice(handle) >= 0;
}

CDevice* CRecordControllerDoc::FindPlaybackDevice() {
    CRecordControllerView* host = GetControllerView();
    CDevice* front = host ? DeviceOfView(dynamic_cast<CView*>(host->GetFirstChildView())) : nullptr;
    if (IsGroupDevice(front) && HoldsRecording(front))
        return front;
    for (int i = 0; i < m_group.GetDeviceCount(); ++i) {
        CDevice* device = m_group.GetDeviceAt(i);
        if (HoldsRecording(device))
            return device;
    }
    return nullptr;
}

CMeasurementFormDoc* CRecordControllerDoc::ProjectPlayGroup() const {
    CRecordControllerView* host = GetControllerView();
    auto* frame = host ? dynamic_cast<CViewChildedFrame*>(host->GetParentFrame()) : nullptr;
    auto* projectView = frame ? dynamic_cast<CView*>(frame->GetParentView()) : nullptr;
    auto* project = projectView ? dynamic_cast<CGeneralDoc*>(projectView->GetDocument()) : nullptr;
    CView* groupView = project ? project->FindPlayGroupView() : nullptr;
    return groupView ? dynamic_cast<CMeasurementFormDoc*>(groupView->GetDocument()) : nullptr;
}

CMeasurementFormDoc* CRecordControllerDoc::PlaybackGroup() const {
    CVidraApp* app = AfxGetVidraApp();
    if (!app)
        return nullptr;
    if (GroupIntegerSetting(QStringLiteral("AppBehave:bOpenDevPlayInExisting"), 1) != 0) {
        if (CMeasurementFormDoc* group = ProjectPlayGroup())
            return group;
        if (CDocTemplate* groups = app->GetTemplateByKey(QStringLiteral("DT:Meas2")))
            for (POSITION pos = groups->GetFirstDocPosition(); pos;)
                if (auto* group = dynamic_cast<CMeasurementFormDoc*>(groups->GetNextDoc(pos));
                    group && group->GetFirstViewPosition())
                    return group;
    }
    CDocument* project = app->CreateDocumentByKey(
        QStringLiteral("DT:Gen"), QStringLiteral("__") + kEmptyPlayGroupPlaceholder, TRUE);
    auto* general = dynamic_cast<CGeneralDoc*>(project);
    CView* groupView = general ? general->FindPlayGroupView() : nullptr;
    return groupView ? dynamic_cast<CMeasurementFormDoc*>(groupView->GetDocument()) : nullptr;
}

CView* CRecordControllerDoc::OpenDevicePlayback(int deviceHandle) {
    CDevice* device = OpenDevices::FindOpenDeviceByHandle(deviceHandle);
    if (!IsGroupDevice(device))
        return nullptr;
    CMeasurementFormDoc* group = PlaybackGroup();
    if (!group)
        return nullptr;
    CView* view = nullptr;
    group->AddPlaybackFromFile(CMeasurementFormDoc::DeviceMarkerPath(device->GetId()), 0, 0,
                               nullptr, &view);
    int type = 0;
    group->GetLastAdded(&type, nullptr, nullptr, nullptr, nullptr);
    if (!view || type == CMeasurementFormDoc::kTypeNone) {
        // The device gave nothing to show: no empty window stays behind.
        if (CFrameWnd* frame = view ? view->GetParentFrame() : nullptr)
            frame->SendMessage(WM_CLOSE);
        return nullptr;
    }
    // Beside the controller the playback takes the place of the device's window.
    CRecordControllerView* host = GetControllerView();
    if (host && group == ProjectPlayGroup())
        for (CViewChildedFrame* frame : DeviceFrames())
            if (DeviceOfView(frame->GetActiveView()) == device) {
                CRect rect;
                frame->GetWindowRect(&rect);
                frame->GetParent()->ScreenToClient(&rect);
                group->GetPlayGroupAdapter()->PlaceMemberWindow(0, deviceHandle, rect.left,
                                                                rect.top, rect.right, rect.bottom);
            }
    group->UpdateAllViews(nullptr);
    IIdUnknown* listener = nullptr;
    if (auto* video = dynamic_cast<CVidView*>(view))
        video->GetFrameChangeAdapter(&listener);
    else if (auto* data = dynamic_cast<IDataPlayView*>(view))
        listener = data->DataGetFrameChangeAdapter();
    if (listener)
        LinkInterfaceObject(listener);
    return view;
}

void CRecordControllerDoc::OnDevicePlayback() {
    CDevice* device = FindPlaybackDevice();
    if (!device)
        return;
    int handle = -1;
    device->GetHandle(&handle);
    // In a project the project listens to the group and the playback joins its play group.
    m_group.PlayBackDevice(handle);
}

void CRecordControllerDoc::OnUpdateDevicePlayback(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FindPlaybackDevice() != nullptr);
}

HRESULT CRecordControllerDoc::LinkInterfaceObject(IIdUnknown* object) {
    INotifier* own = QueryId<INotifier>(m_interfaceObject.get());
    if (!own)
        return E_FAIL;
    INotifier* other = object ? QueryId<INotifier>(object) : nullptr;
    if (!other)
        return E_POINTER;
    // The same object linked again (a second playback in one play group) is told once.
    int count = 0;
    for (int i = 0; own->GetCount(&count) == S_OK && i < count; ++i) {
        IIdUnknown* item = nullptr;
        int cookie = 0;
        if (own->GetItem(i, &item, &cookie) == S_OK && item && QueryId<INotifier>(item) == other)
            return S_OK;
    }
    return own->Connect(other);
}

CRecordControllerDoc* CRecordControllerDoc::OfEmbeddedView(CView* view) {
    auto* frame = view ? dynamic_cast<CViewChildedFrame*>(view->GetParentFrame()) : nullptr;
    auto* host = frame ? dynamic_cast<CRecordControllerView*>(frame->GetParentView()) : nullptr;
    return host ? host->GetControllerDocument() : nullptr;
}

HRESULT CRecordControllerDoc::ShowVideoTriggerRegion(CVidView* camera, const CRect& region) {
    const CFrameSourcePtr picture = camera ? camera->GetFrameSource() : CFrameSourcePtr();
    if (picture.IsEmpty())
        return E_FAIL;
    if (picture.Get() != m_regionPicture.Get()) {
        m_regionTool->CreateRegionSource(picture);
        m_regionPicture = picture;
    }
    m_regionTool->SetRect(region.left, region.top, region.right, region.bottom);
    CVidView* settings = m_titler->GetSettingsView();
    CVidView* zoom = m_titler->GetZoomView();
    if (!settings || !zoom) {
        // One of the pair was closed: both open again, the other one closes first.
        for (CVidView* left : {settings, zoom})
            if (CFrameWnd* frame = left ? left->GetParentFrame() : nullptr)
                frame->SendMessage(WM_CLOSE);
        m_regionTool->SetHost(nullptr);
        if (m_titler->OpenToolWindows() != S_OK)
            return E_FAIL;
        settings = m_titler->GetSettingsView();
        zoom = m_titler->GetZoomView();
    }
    if (settings->GetFrameSource().Get() != picture.Get())
        settings->SetFrameSource(picture);
    m_regionTool->SetHost(settings);
    m_regionTool->SetListener(&settings->GetOverlayHost());
    CFrameSourcePtr cutOut;
    m_regionTool->GetSource(&cutOut);
    if (zoom->GetFrameSource().Get() != cutOut.Get())
        zoom->SetFrameSource(cutOut);
    // Both show the frame the camera shows now, the new region with it.
    for (CVidView* view : {settings, zoom}) {
        view->SetCurrentFrame(0, 1);
        view->Invalidate(FALSE);
    }
    return S_OK;
}

INT_PTR CRecordControllerDoc::RunAutoRecord() {
    if (m_group.GetDeviceCount() == 0) {
        AfxMessageBox(QStringLiteral("No devices are currently open to record.  Please open a "
                                     "camera or a data card first."),
                      MB_OK | MB_ICONINFORMATION);
        return -1;
    }
    // The Auto-Record Control Panel may have changed the options since the controller opened.
    m_download->LoadOptionFile();
    m_download->LoadSettings();
    CAutoRecordDlg dialog(AfxGetMainWnd());
    dialog.SetController(m_download.get());
    return dialog.DoModal();
}

void CRecordControllerDoc::OnAutoRecord() {
    RunAutoRecord();
}
