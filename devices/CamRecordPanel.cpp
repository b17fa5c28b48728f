#include "devices/CamRecordPanel.h"

#include "devices/CamView.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/IPrompter.h"

namespace {

constexpr UINT kControlPanelStyle = 0x50401452;

}  // namespace

CCamRecordPanel::CCamRecordPanel() {
    m_group.SetOwner(this);
    m_group.SetStateListener(this);
    m_devicesTab.SetProvider(this);
    m_triggerAdjustTab.SetGroupProvider(this);
    m_triggerAdjustTab.SetViewFinder(this);
    m_videoTriggerTab.SetViewFinder(this);
    m_recordPage.SetDeviceProvider(&m_group);
    m_recordPage.SetTargetProvider(this);
    m_recordPage.SetViewFinder(this);
    // The group hears that a recording has ended only when asked.
    m_poll.setInterval(kPollPeriodMs);
    QObject::connect(&m_poll, &QTimer::timeout, [this] { m_group.GetMasterRecordState(); });
}

CCamRecordPanel::~CCamRecordPanel() {
    m_poll.stop();
    m_group.SetStateListener(nullptr);
    m_group.SetOwner(nullptr);
}

BOOL CCamRecordPanel::Create(CFrameWnd* frame) {
    m_frame = frame;
    if (!frame || !m_bar.Create(frame, kControlPanelBarTemplate, kControlPanelStyle, kBarId))
        return FALSE;
    m_bar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    frame->EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    frame->DockControlBar(&m_bar, AFX_IDW_DOCKBAR_RIGHT);
    m_bar.AttachTabControl(TRUE);
    const std::pair<CTabDlg*, const char*> pages[] = {{&m_recordPage, "Record"},
                                                      {&m_triggerAdjustTab, "Trigger Adjust"},
                                                      {&m_videoTriggerTab, "Smart Trigger"},
                                                      {&m_devicesTab, "Devices"},
                                                      {&m_dataTriggerTab, "Data Trigger"},
                                                      {&m_analysisTab, "Analysis"}};
    for (const auto& [page, name] : pages) {
        if (page->Create(&m_bar))
            m_bar.AddPage(page, QString::fromLatin1(name), 0);
    }
    m_bar.SelectTab(0, 0);
    m_poll.start();
    return TRUE;
}

bool CCamRecordPanel::AttachCamera(CCamView* view) {
    CDevice* device = view ? view->GetDevice() : nullptr;
    if (!device)
        return false;
    int handle = -1;
    device->GetHandle(&handle);
    if (m_group.AddDevice(handle) < 0)
        return false;
    m_group.NotifyListeners();
    return true;
}

CCamView* CCamRecordPanel::GetCameraView() const {
    return m_frame ? dynamic_cast<CCamView*>(m_frame->GetActiveView()) : nullptr;
}

CView* CCamRecordPanel::GetActiveDeviceView(int* kind, CDevice** device) {
    CCamView* view = GetCameraView();
    if (kind)
        *kind = view ? kCameraView : kOtherView;
    if (device)
        *device = view ? view->GetDevice() : nullptr;
    return view;
}

CView* CCamRecordPanel::FindDeviceWindow(int handle, int kind) {
    CCamView* view = GetCameraView();
    if (!view || kind != kCameraView || view->GetLink().GetHandle() != handle)
        return nullptr;
    return view;
}

CCamView* CCamRecordPanel::FindCameraViewForDataView(CView*) {
    // The window holds no data playback.
    return nullptr;
}

void CCamRecordPanel::AddDeviceOfKind(int kind) {
    CDeviceSelectionDlg dialog(m_frame);
    dialog.SetDeviceKind(kind);
    if (dialog.DoModal() != IDOK)
        return;
    CDeviceId id;
    dialog.GetDeviceId(&id);
    if (id.IsNone())
        return;
    CDevice* device = DriverLoader::OpenById(id);
    if (!device) {
        AfxMessageBox(QStringLiteral("The device could not be opened."), MB_OK | MB_ICONWARNING);
        return;
    }
    int handle = -1;
    device->GetHandle(&handle);
    if (m_group.AddDevice(handle) < 0) {
        AfxMessageBox(QString::fromLatin1(CDeviceSelectionDlg::kDeviceInUse),
                      MB_OK | MB_ICONWARNING);
        return;
    }
    NotifyDeviceLinks();
    m_group.NotifyListeners();
}

HRESULT CCamRecordPanel::OnStateChanged(int, int) {
    m_group.NotifyListeners();
    return S_OK;
}
