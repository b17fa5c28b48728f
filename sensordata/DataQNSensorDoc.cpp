#include "sensordata/DataQNSensorDoc.h"

#include "platform/framework/Archive.h"
#include "platform/framework/ArchiveException.h"
#include "sensordata/DataSensorDoc.h"
#include "sensordata/IDeviceSettingsSheet.h"

#include <QDir>

IMPLEMENT_DYNCREATE(CDataQNSensorDoc, CDocument)

CDataQNSensorDoc::CDataQNSensorDoc() : m_sheet(IDeviceSettingsSheet::Create()) {}

CDataQNSensorDoc::~CDataQNSensorDoc() = default;

QString CDataQNSensorDoc::DefaultsPath(const CDeviceId& id) {
    return QDir::current().filePath(
        QStringLiteral("S%1ST%2N%3.sensdflt").arg(id.m_type).arg(id.m_subtype).arg(id.m_index));
}

BOOL CDataQNSensorDoc::OnOpenDocument(const QString& pathName) {
    m_id = CDataSensorDoc::DeviceIdOfPath(pathName);
    if (m_sheet)
        m_sheet->SetDeviceId(m_id);
    return CDocument::OnOpenDocument(DefaultsPath(m_id));
}

BOOL CDataQNSensorDoc::OnSaveDocument(const QString& pathName) {
    const bool devicePath = !CDataSensorDoc::DeviceIdOfPath(pathName).IsNone();
    return CDocument::OnSaveDocument(devicePath ? DefaultsPath(m_id) : pathName);
}

void CDataQNSensorDoc::SetPathName(const QString& pathName, BOOL bAddToMRU) {
    CDocument::SetPathName(pathName,
                           bAddToMRU && CDataSensorDoc::DeviceIdOfPath(pathName).IsNone());
}

void CDataQNSensorDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << kSchema << m_id.ToString();
        if (m_sheet)
            m_sheet->SerializeAcquisition(ar);
        return;
    }
    int schema = 0;
    QString idText;
    ar >> schema;
    if (schema != kSchema)
        throw CArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    ar >> idText;
    CDeviceId stored;
    stored.FromString(idText);
    if (stored != m_id)
        throw CArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    if (m_sheet)
        m_sheet->SerializeAcquisition(ar);
}
