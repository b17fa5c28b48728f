#include "sensordata/DataSensorDoc.h"

#include "devices/core/DeviceLink.h"
#include "sensordata/IDeviceSettingsSheet.h"

IMPLEMENT_DYNCREATE(CDataSensorDoc, CDocument)

CDataSensorDoc::CDataSensorDoc() : m_sheet(IDeviceSettingsSheet::Create()) {}

CDataSensorDoc::~CDataSensorDoc() = default;

CDeviceId CDataSensorDoc::DeviceIdOfPath(const QString& path) {
    for (const char* marker : {kSensorMarker, kDeviceMarker}) {
        const qsizetype at = path.indexOf(QLatin1String(marker));
        if (at >= 0) {
            CDeviceId id;
            id.FromString(path.mid(at + qsizetype(qstrlen(marker))));
            return id;
        }
    }
    return CDeviceId();
}

BOOL CDataSensorDoc::OnOpenDocument(const QString& pathName) {
    m_path = pathName;
    if (!m_sheet)
        return FALSE;
    const CDeviceId id = DeviceIdOfPath(pathName);
    if (!id.IsNone()) {
        m_sheet->SetDeviceId(id);
        return TRUE;
    }
    return m_sheet->Load(pathName) == S_OK;
}

BOOL CDataSensorDoc::OnSaveDocument(const QString& pathName) {
    if (!m_sheet || m_sheet->Save(pathName) != S_OK)
        return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDataSensorDoc::SetPathName(const QString& pathName, BOOL bAddToMRU) {
    CDocument::SetPathName(pathName, bAddToMRU && DeviceIdOfPath(pathName).IsNone());
}

CDevice* CDataSensorDoc::GetDevice() const {
    CDeviceLink* link = m_sheet ? m_sheet->GetLink() : nullptr;
    return link ? link->GetDevice() : nullptr;
}

CDeviceId CDataSensorDoc::GetDeviceId() const {
    return m_sheet ? m_sheet->GetDeviceId() : CDeviceId();
}

bool CDataSensorDoc::IsPlaceholder() const {
    return m_path.contains(QLatin1String(kDeviceMarker)) ||
           m_path.contains(QLatin1String("devset"));
}
