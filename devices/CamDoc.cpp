#include "devices/CamDoc.h"

#include "devices/DeviceMemoryGuard.h"
#include "devices/core/OpenDeviceList.h"

IMPLEMENT_DYNCREATE(CCamDoc, CDocument)

CCamDoc::CCamDoc() : m_sheet(std::make_unique<CDlgCameraOptions>()) {}

CCamDoc::~CCamDoc() = default;

bool CCamDoc::IsDevicePath(const QString& path) {
    return path.contains(QLatin1String(kDeviceMarker)) || path.contains(QLatin1String("devset"));
}

BOOL CCamDoc::OnOpenDocument(const QString& pathName) {
    m_path = pathName;
    const int marker = pathName.indexOf(QLatin1String(kDeviceMarker));
    if (marker >= 0) {
        CDeviceId id;
        id.FromString(pathName.mid(marker + int(qstrlen(kDeviceMarker))));
        if (id.IsNone())
            return FALSE;
        static_cast<CDeviceId&>(m_sheet->m_deviceValue.m_descriptor) = id;
        return TRUE;
    }
    return m_sheet->Load(pathName) == S_OK;
}

BOOL CCamDoc::OnSaveDocument(const QString& pathName) {
    if (!m_sheet)
        return FALSE;
    m_sheet->Commit();
    return m_sheet->Save(pathName) == S_OK;
}

BOOL CCamDoc::SaveModified() {
    if (!CDocument::SaveModified())
        return FALSE;
    CDevice* device = m_sheet ? OpenDevices::FindOpenDeviceById(GetDeviceId()) : nullptr;
    return DeviceMemoryGuard::MayDropRecordings({device}) ? TRUE : FALSE;
}

void CCamDoc::SetPathName(const QString& pathName, BOOL bAddToMRU) {
    CDocument::SetPathName(pathName, bAddToMRU && !IsDevicePath(pathName));
}

CDeviceId CCamDoc::GetDeviceId() const {
    return m_sheet->GetDeviceSettings();
}
