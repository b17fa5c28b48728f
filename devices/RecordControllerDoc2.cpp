#include "devices/RecordControllerDoc2.h"

#include "devices/CamDoc.h"
#include "devices/CamView.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/DeviceSetFiles.h"
#include "devices/RecordControllerDoc.h"
#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "groups/ChildWindowList.h"
#include "groups/FrameParentingView.h"
#include "platform/framework/Archive.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/View.h"
#include "platform/framework/WinApp.h"
#include "shell/VidraApp.h"
#include "shell/ViewChildedFrame.h"

IMPLEMENT_DYNCREATE(CRecordControllerDoc2, CMeasurementFormDoc)

BEGIN_MESSAGE_MAP(CRecordControllerDoc2, CMeasurementFormDoc)
ON_COMMAND(CRecordControllerDoc2::kAddDeviceCommand, OnAddDevice)
ON_UPDATE_COMMAND_UI(CRecordControllerDoc2::kAddDeviceCommand, OnUpdateAddDevice)
END_MESSAGE_MAP()

CRecordControllerDoc2::CRecordControllerDoc2() = default;

CRecordControllerDoc2::~CRecordControllerDoc2() {
    while (m_group.GetDeviceCount() > 0)
        m_group.RemoveDevice(m_group.GetDeviceHandle(0));
}

BOOL CRecordControllerDoc2::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return FALSE;
    SetTitle(QStringLiteral("Empty Record Controller"));
    return TRUE;
}

BOOL CRecordControllerDoc2::OnOpenDocument(const QString& pathName) {
    m_launchName.clear();
    if (CRecordControllerDoc::IsLaunchPath(pathName)) {
        m_launchName = pathName;
        return OnNewDocument();
    }
    if (!CRecordControllerDoc::HasControllerExtension(pathName))
        return FALSE;
    return CDocument::OnOpenDocument(pathName);
}

void CRecordControllerDoc2::SetPathName(const QString& pathName, BOOL bAddToMRU) {
    if (CRecordControllerDoc::IsLaunchPath(pathName))
        return;
    CDocument::SetPathName(pathName,
                           CRecordControllerDoc::IsLaunchPath(m_launchName) ? FALSE : bAddToMRU);
}

BOOL CRecordControllerDoc2::DoSave(const QString& pathName, BOOL bReplace) {
    return CDocument::DoSave(pathName, bReplace);
}

BOOL CRecordControllerDoc2::DoFileSave() {
    return CDocument::DoFileSave();
}

void CRecordControllerDoc2::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        ar << CRecordControllerDoc::kFileMarker1 << CRecordControllerDoc::kFileMarker2;
}

std::vector<CViewChildedFrame*> CRecordControllerDoc2::CameraFrames() const {
    std::vector<CViewChildedFrame*> frames;
    auto* container = dynamic_cast<CView*>(GetContainer());
    if (!container)
        return frames;
    CChildWindowList list(container);
    list.CollectFiltered(nullptr, FALSE, FALSE, FALSE);
    for (int i = 0; i < list.GetCount(); ++i) {
        CViewChildedFrame* frame = list.GetFrame(i);
        if (frame && dynamic_cast<CCamView*>(frame->GetActiveView()))
            frames.push_back(frame);
    }
    return frames;
}

BOOL CRecordControllerDoc2::OnSaveDocument(const QString& pathName) {
    const bool camerasSaved =
        CDeviceSetFiles(pathName, CDeviceSetFiles::kCameraSets).SaveDocuments(CameraFrames());
    // A camera that could not be saved stops neither the others nor the controller file.
    const BOOL controllerSaved = CDocument::OnSaveDocument(pathName);
    return camerasSaved && controllerSaved;
}

CView* CRecordControllerDoc2::AddDevice(const CDeviceId& id) {
    auto* container = dynamic_cast<CView*>(GetContainer());
    CVidraApp* app = AfxGetVidraApp();
    CDocTemplate* cameras = app ? app->GetTemplateByKey(QStringLiteral("DT:Cam2")) : nullptr;
    if (id.m_type != kDeviceTypeCamera || !container || !cameras || !DriverLoader::OpenById(id))
        return nullptr;
    CDocument* doc = cameras->OpenDocumentFile(
        QString::fromLatin1(CCamDoc::kDeviceMarker) + QStringLiteral("__") + id.ToString(), FALSE);
    POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr;
    auto* view = pos ? dynamic_cast<CCamView*>(doc->GetNextView(pos)) : nullptr;
    auto* frame = view ? dynamic_cast<CViewChildedFrame*>(view->GetParentFrame()) : nullptr;
    CDevice* device = view ? view->GetDevice() : nullptr;
    int handle = -1;
    if (device)
        device->GetHandle(&handle);
    // A camera another window has attached gets no second window.
    const bool refused = frame && device && m_group.AddDevice(handle) < 0;
    if (!frame || !device || refused) {
        if (doc)
            doc->OnCloseDocument();
        if (refused)
            AfxMessageBox(QString::fromLatin1(CDeviceSelectionDlg::kDeviceInUse),
                          MB_OK | MB_ICONWARNING);
        return nullptr;
    }
    CViewChildedFrame::AttachToParentView(container, frame);
    frame->SetMenu(nullptr);
    CDeviceDescriptor descriptor;
    device->GetDescriptor(&descriptor);
    frame->SetWindowText(descriptor.m_name);
    doc->SetTitle(descriptor.m_name);
    view->ShowWindow(SW_SHOW);
    frame->ShowWindow(SW_SHOW);
    m_group.NotifyListeners();
    // The camera windows share the controller's client area side by side.
    if (auto* host = dynamic_cast<CFrameParentingView*>(container)) {
        const CRuntimeClass* hosted = RUNTIME_CLASS(CViewChildedFrame);
        host->ArrangeChildFrames(hosted, hosted, FALSE, TRUE);
    }
    frame->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return view;
}

void CRecordControllerDoc2::OnAddDevice() {
    CDeviceSelectionDlg dialog(AfxGetMainWnd());
    dialog.SetDeviceKind(kDeviceTypeCamera);
    if (dialog.DoModal() != IDOK)
        return;
    CDeviceId id;
    dialog.GetDeviceId(&id);
    AddDevice(id);
}

void CRecordControllerDoc2::OnUpdateAddDevice(CCmdUI* pCmdUI) {
    // The controller takes cameras itself, whether or not a first-generation one is open.
    pCmdUI->Enable(TRUE);
}

void CRecordControllerDoc2::OnCloseDocument() {
    m_group.GoIdle();
    while (m_group.GetDeviceCount() > 0)
        m_group.RemoveDevice(m_group.GetDeviceHandle(0));
    CMeasurementFormDoc::OnCloseDocument();
}
