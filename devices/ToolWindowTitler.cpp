#include "devices/ToolWindowTitler.h"

#include "devices/RecordControllerDoc.h"
#include "platform/framework/FrameWnd.h"
#include "views/RegionToolWnd.h"
#include "views/VidView.h"

HRESULT CToolWindowTitler::SetOwner(CRegionToolWnd* owner) {
    m_owner = owner;
    return S_OK;
}

CVidView* CToolWindowTitler::OpenWindow(const char* title, std::weak_ptr<bool>* alive) {
    auto* view =
        dynamic_cast<CVidView*>(m_document->OpenVideoWindow(QStringLiteral("DT:Vid"), QString()));
    CFrameWnd* frame = CRecordControllerDoc::ShowNewWindow(view);
    if (!frame)
        return nullptr;
    frame->SetWindowText(QString::fromLatin1(title));
    view->GetDocument()->SetTitle(QString::fromLatin1(title));
    *alive = frame->GetLifeToken();
    return view;
}

HRESULT CToolWindowTitler::OpenToolWindows() {
    if (!m_owner || !m_document)
        return E_FAIL;
    m_settings = OpenWindow(kSettingsTitle, &m_settingsAlive);
    m_zoom = OpenWindow(kZoomTitle, &m_zoomAlive);
    if (!m_settings || !m_zoom)
        return E_FAIL;
    CFrameSourcePtr source;
    m_owner->GetSource(&source);
    m_zoom->SetFrameSource(source);
    return S_OK;
}
