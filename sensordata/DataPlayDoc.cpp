#include "sensordata/DataPlayDoc.h"

#include "sensordata/model/SensorDataSet.h"

IMPLEMENT_DYNCREATE(CDataPlayDoc, CDocument)

CDataPlayDoc::CDataPlayDoc() : m_data(new CSensorDataSet) {}

CDataPlayDoc::~CDataPlayDoc() = default;

BOOL CDataPlayDoc::OnOpenDocument(const QString& pathName) {
    if (m_data.IsEmpty())
        return FALSE;
    if (FAILED(m_data->Open(pathName))) {
        ReportSaveLoadException(pathName, QString(), FALSE);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    UpdateAllViews(nullptr, kHintNewData);
    return TRUE;
}

BOOL CDataPlayDoc::OnSaveDocument(const QString& pathName) {
    if (m_data.IsEmpty() || FAILED(m_data->Save(pathName)))
        return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDataPlayDoc::SetDataSet(const CSharedRef<CSensorDataSet>& data, int newData) {
    m_data = data;
    UpdateAllViews(nullptr, newData ? kHintNewData : kHintDataChanged);
}
