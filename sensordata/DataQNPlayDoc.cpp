#include "sensordata/DataQNPlayDoc.h"

#include "sensordata/QnVidraData.h"

IMPLEMENT_DYNCREATE(CDataQNPlayDoc, CDocument)

CDataQNPlayDoc::CDataQNPlayDoc() {
    IDispatch* server = nullptr;
    if (SUCCEEDED(
            CQnVidraData::CreateByProgId(QString::fromLatin1(CQnVidraData::kProgId), &server)))
        m_server.AttachDispatch(server);
}

CDataQNPlayDoc::~CDataQNPlayDoc() {
    m_server.ReleaseDispatch();
}

CSensorDataSet* CDataQNPlayDoc::GetServerData() const {
    auto* server = dynamic_cast<CQnVidraData*>(m_server.GetDispatch());
    return server ? &server->GetDataSet() : nullptr;
}

LONG CDataQNPlayDoc::CallServer(DISPID member, const QString& path) const {
    if (!m_server.GetDispatch())
        return -1;
    try {
        return m_server.InvokeLong(member, {CComVariant(path)});
    } catch (const COleDispatchException&) {
        return -1;
    }
}

BOOL CDataQNPlayDoc::OnOpenDocument(const QString& pathName) {
    if (CallServer(CQnVidraData::kDispOpen, pathName) != 0) {
        ReportSaveLoadException(pathName, QString(), FALSE);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    UpdateAllViews(nullptr);
    return TRUE;
}

BOOL CDataQNPlayDoc::OnSaveDocument(const QString& pathName) {
    if (CallServer(CQnVidraData::kDispSave, pathName) != 0)
        return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}
