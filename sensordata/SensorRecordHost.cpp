#include "sensordata/SensorRecordHost.h"

#include "platform/framework/ResourceModuleScope.h"
#include "platform/wintypes/WinError.h"
#include "sensordata/AcquisitionSettingsDlg.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/DataDeviceRegistry.h"
#include "sensordata/SensorResourceRef.h"
#include "sensorres/SensorResourceIds.h"

CSensorRecordHost::CSensorRecordHost() : m_resource(std::make_unique<CSensorResourceRef>()) {}

CSensorRecordHost::~CSensorRecordHost() {
    m_page.reset();
    m_resource.reset();
}

int CSensorRecordHost::Create(CWnd* parent, int mode) {
    static constexpr UINT kTemplates[] = {SensorRes::kSensorRecordMode0Template,
                                          SensorRes::kSensorRecordMode1Template,
                                          SensorRes::kSensorRecordMode2Template};
    if (mode < 0 || mode > 2 || m_page)
        return 0;
    auto page = std::make_unique<CSensorRecordDlg>(parent);
    page->GetLink().SetSendCommand(&SendRequest, this);
    page->GetLink().SetGetDevice(&GetDataDeviceCallback, this);
    page->SetSettingsHandler(&OpenAcquisitionSettings, this);
    page->SetRecordCallback(m_pfnStartRecord, m_pStartRecordContext);
    BOOL made = FALSE;
    {
        CResourceModuleScope scope(SensorRes::kModuleName);
        made = page->Create(kTemplates[mode], parent);
    }
    if (!made)
        return 0;
    page->ShowWindow(SW_SHOW);
    m_page = std::move(page);
    return 0;
}

void CSensorRecordHost::SetRequestHandler(CDeviceCallbackLink::SendCommandFunction handler,
                                          void* context) {
    m_requestHandler = handler;
    m_requestContext = context;
}

void CSensorRecordHost::SetRecordCallback(CSensorRecordDlg::StartRecordCallback callback,
                                          void* context) {
    m_pfnStartRecord = callback;
    m_pStartRecordContext = context;
    if (m_page)
        m_page->SetRecordCallback(callback, context);
}

void CSensorRecordHost::SetSensorAvailable(bool available) {
    if (!m_page)
        return;
    m_page->SetSensorAvailable(available);
    m_page->Refresh();
}

int CSensorRecordHost::SendRequest(void* context, int code, const VARIANT& values, VARIANT* status,
                                   VARIANT* result) {
    auto* host = static_cast<CSensorRecordHost*>(context);
    if (!host->m_requestHandler)
        return E_FAIL;
    return host->m_requestHandler(host->m_requestContext, code, values, status, result);
}

void CSensorRecordHost::OpenAcquisitionSettings(void*, CDataAcqWnd* device) {
    if (!device)
        return;
    CAcquisitionSettingsDlg dialog(device->GetSafeHwnd() ? device : nullptr);
    dialog.SetAcqSettings(&device->GetAcqSettings());
    dialog.SetFormatSettings(&device->GetFormatSettings());
    {
        CResourceModuleScope scope(SensorRes::kModuleName);
        dialog.DoModal();
    }
    device->ReapplyParams();
}
