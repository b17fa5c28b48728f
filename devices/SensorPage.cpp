#include "devices/SensorPage.h"

#include "devices/IDeviceViewFinder.h"
#include "devices/core/Device.h"
#include "devices/core/OpenDeviceList.h"
#include "platform/com/ComVariant.h"
#include "platform/framework/MessageMap.h"
#include "platform/wintypes/WinError.h"

IMPLEMENT_DYNAMIC(CSensorPage, CTabDlg)

BEGIN_MESSAGE_MAP(CSensorPage, CTabDlg)
ON_WM_CREATE()
END_MESSAGE_MAP()

CSensorPage::CSensorPage(CWnd* pParentWnd) : CTabDlg(kTemplate, pParentWnd) {}

CSensorPage::~CSensorPage() = default;

int CSensorPage::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTabDlg::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_recordHost.Create(this, m_mode == 1 ? 1 : 2);
    m_recordHost.SetRequestHandler(&SendRecordRequest, this);
    return 0;
}

int CSensorPage::SendRecordRequest(void* context, int code, const VARIANT& values, VARIANT* status,
                                   VARIANT* result) {
    auto* page = static_cast<CSensorPage*>(context);
    int sensorHandle = -1;
    CSensorRecordDlg* window = page ? page->m_recordHost.GetPage() : nullptr;
    if (CDevice* sensor = window ? window->GetLink().GetDevice() : nullptr)
        sensor->GetHandle(&sensorHandle);
    return RecordCallback(context, sensorHandle, code, values, status, result);
}

HRESULT CSensorPage::RecordCallback(void* context, int sensorHandle, int code,
                                    const VARIANT& values, VARIANT* status, VARIANT* result) {
    auto* page = static_cast<CSensorPage*>(context);
    if (!page || OpenDevices::GetCount() == 0)
        return E_FAIL;
    int handle = -1;
    int secondId = -1;
    bool found = false;
    for (int i = 0; i < OpenDevices::GetCount(); ++i) {
        CDevice* device = OpenDevices::GetAt(i);
        int type = 0;
        int linked = -1;
        if (!device || device->GetType(&type) != 0 || type != kDeviceTypeDataCard ||
            device->GetLinkedDataHandle(&linked) != 0 || linked != sensorHandle)
            continue;
        device->GetHandle(&handle);
        device->GetSecondDeviceId(&secondId);
        found = true;
    }
    if (!found)
        return E_FAIL;
    CComVariant command(static_cast<LONG>(code));
    return page->m_link.SendCommand(handle, secondId, command, values, status, result);
}

void CSensorPage::OnDeviceUpdate() {
    CDevice* viewDevice = nullptr;
    int kind = 0;
    if (m_viewFinder)
        m_viewFinder->GetActiveDeviceView(&kind, &viewDevice);
    const bool sensorView = kind == IDeviceViewFinder::kDataSensorView && viewDevice;
    CDevice* current = m_link.GetDevice();
    if (GetSafeHwnd())
        m_recordHost.SetSensorAvailable(sensorView && current);
}
