#include "devices/RecordControllerDoc2.h"

#include "devices/CamView.h"
#include "devices/DeviceSetFiles.h"
#include "devices/RecordControllerDoc.h"
#include "groups/ChildWindowList.h"
#include "platform/framework/Archive.h"
#include "platform/framework/View.h"
#include "shell/ViewChildedFrame.h"

IMPLEMENT_DYNCREATE(CRecordControllerDoc2, CMeasurementFormDoc)

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
    if (CRecordControllerDoc::IsLaunchPath(m_launchName) ||
        CRecordControllerDoc::IsLaunchPath(pathName))
        return;
    CDocument::SetPathName(pathName, bAddToMRU);
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
    const std::vector<CViewChildedFrame*> frames = CameraFrames();
    const CDeviceSetFiles files(pathName, CDeviceSetFiles::kCameraSets);
    const bool camerasSaved =
        files.SaveAll(static_cast<int>(frames.size()), [&](int position, const QString& file) {
            CView* view = frames[static_cast<size_t>(position)]->GetActiveView();
            CDocument* doc = view ? view->GetDocument() : nullptr;
            // The device's document tells the user itself when its file cannot be written.
            return doc && doc->OnSaveDocument(file);
        });
    // A camera that could not be saved stops neither the others nor the controller file.
    const BOOL controllerSaved = CDocument::OnSaveDocument(pathName);
    return camerasSaved && controllerSaved;
}

void CRecordControllerDoc2::OnCloseDocument() {
    m_group.GoIdle();
    while (m_group.GetDeviceCount() > 0)
        m_group.RemoveDevice(m_group.GetDeviceHandle(0));
    CMeasurementFormDoc::OnCloseDocument();
}
