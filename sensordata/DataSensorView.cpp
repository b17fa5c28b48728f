#include "sensordata/DataSensorView.h"

#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/Menu.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/WinApp.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/DataDeviceRegistry.h"
#include "sensordata/DataDisplayDlg.h"
#include "sensordata/DataSensorDoc.h"
#include "sensordata/IDeviceSettingsSheet.h"
#include "sensordata/SensorPanel.h"
#include "shell/DlgDeviceInformation.h"
#include "shell/DlgTextInput.h"

IMPLEMENT_DYNCREATE(CDataSensorView, CMView)

BEGIN_MESSAGE_MAP(CDataSensorView, CMView)
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_CONTEXTMENU()
ON_COMMAND(CDataSensorView::kChangeDeviceName, OnChangeDeviceName)
ON_COMMAND(CDataSensorView::kDeviceInformation, OnDeviceInformation)
ON_COMMAND(CDataSensorView::kShowTestTrigger, OnShowTestTrigger)
END_MESSAGE_MAP()

class CDataSensorView::LiveSource : public ISensorDataSource {
public:
    explicit LiveSource(CDataSensorView& view) : m_view(view) {}
    CFormatSettingsDlg* GetFormatSettings() override {
        CDataAcqWnd* card = m_view.GetCard();
        return card ? &card->GetFormatSettings() : nullptr;
    }
    CVidraData* GetData() override {
        CDataAcqWnd* card = m_view.GetCard();
        return card ? &card->GetLiveData() : nullptr;
    }
    void SetDataDisplay(CDataDisplayDlg* display) override {
        if (CDataAcqWnd* card = m_view.GetCard())
            card->SetDataDisplay(display);
    }

private:
    CDataSensorView& m_view;
};

CDataSensorView::CDataSensorView() : m_link(*this) {
    m_link.SetProvider(&m_manager);
    m_panelHost.SetDataSource(std::make_unique<LiveSource>(*this));
}

CDataSensorView::~CDataSensorView() = default;

CDataSensorDoc* CDataSensorView::GetSensorDocument() const {
    return dynamic_cast<CDataSensorDoc*>(GetDocument());
}

CDevice* CDataSensorView::GetDevice() const {
    CDevice* device = m_link.GetDevice();
    int type = 0;
    return device && device->GetType(&type) == 0 && type == kDeviceTypeDataCard ? device : nullptr;
}

CDataAcqWnd* CDataSensorView::GetCard() const {
    return dynamic_cast<CDataAcqWnd*>(GetDevice());
}

void CDataSensorView::CSensorLink::OnDeviceClosed() {
    if (CWnd* frame = m_view.GetParentFrame())
        frame->PostMessage(WM_CLOSE, 0, 0);
}

void CDataSensorView::CSensorLink::OnDeviceUpdate() {
    CDevice* device = m_view.GetDevice();
    if (!device)
        return;
    CDeviceDescriptor descriptor;
    device->GetDescriptor(&descriptor);
    if (CDataSensorDoc* doc = m_view.GetSensorDocument())
        doc->SetTitle(descriptor.m_name);
    if (CFrameWnd* frame = m_view.GetParentFrame())
        frame->SetWindowText(descriptor.m_name);
}

void CDataSensorView::BuildContextMenu(CMenu& menu) {
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, kChangeDeviceName, QStringLiteral("Change Device Name"));
    menu.AppendMenu(MF_STRING, kDeviceInformation, QStringLiteral("Device Information"));
    menu.AppendMenu(MF_STRING, kShowTestTrigger, QStringLiteral("Show Test Trigger Dialog"));
}

void CDataSensorView::OnInitialUpdate() {
    CMView::OnInitialUpdate();
    CDataSensorDoc* doc = GetSensorDocument();
    if (!doc)
        return;
    CDevice* device = DriverLoader::OpenById(doc->GetDeviceId());
    int handle = -1;
    if (device)
        device->GetHandle(&handle);
    m_link.SetHandle(handle);
    if (IDeviceSettingsSheet* sheet = doc->GetDeviceSettings())
        sheet->Bind(&m_link);
    CDataAcqWnd* card = GetCard();
    // The acquisition runs on the card's window, which stays hidden: this view shows the data.
    if (card && card->CreateHidden(AfxGetMainWnd())) {
        m_panelHost.Attach(this);
        // A right-click on the display shows the device's commands.
        if (CDataDisplayDlg* display = m_panelHost.GetDataDisplay())
            display->SetContextMenuTarget(this);
        CRect client;
        GetClientRect(&client);
        m_panelHost.Resize(client.Width(), client.Height());
        if (!card->IsAcquiring())
            card->StartAcquisition();
    }
    m_link.OnDeviceUpdate();
}

void CDataSensorView::OnDraw(CDC*) {}

void CDataSensorView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    CMView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    int handle = -1;
    if (CDevice* device = bActivate ? GetDevice() : nullptr) {
        // A data card without a linked data device is its own.
        if (device->GetLinkedDataHandle(&handle) != 0)
            device->GetHandle(&handle);
    }
    SetCurrentDataDevice(handle);
}

BOOL CDataSensorView::OnCmdMsg(UINT nID, int nCode, void* pExtra,
                               AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CDataDisplayDlg* display = m_panelHost.GetDataDisplay();
        display && display->CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CMView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDataSensorView::OnSize(UINT, int cx, int cy) {
    Default();
    m_panelHost.Resize(cx, cy);
}

void CDataSensorView::ReleaseCardDisplay() {
    CDataAcqWnd* card = GetCard();
    CDataDisplayDlg* mine = m_panelHost.GetDataDisplay();
    if (card && mine && card->GetDataDisplay() == mine)
        card->SetDataDisplay(card->GetPanelHost().GetDataDisplay());
}

void CDataSensorView::OnDestroy() {
    ReleaseCardDisplay();
    if (CDataSensorDoc* doc = GetSensorDocument())
        if (IDeviceSettingsSheet* sheet = doc->GetDeviceSettings();
            sheet && sheet->GetLink() == &m_link)
            sheet->Bind(nullptr);
    CMView::OnDestroy();
}

void CDataSensorView::OnContextMenu(CWnd*, CPoint point) {
    if (point.x == -1 && point.y == -1) {
        point = CPoint(0, 0);
        ClientToScreen(&point);
    }
    CMenu menu;
    BuildContextMenu(menu);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CDataSensorView::OnChangeDeviceName() {
    CDevice* device = GetDevice();
    if (!device)
        return;
    CDeviceDescriptor descriptor;
    device->GetDescriptor(&descriptor);
    CDlgTextInput dialog(this);
    dialog.SetPrompt(QStringLiteral("Device Name"),
                     QStringLiteral("Please enter the device name."));
    dialog.SetText(descriptor.m_name);
    if (dialog.DoModal() != IDOK || device->SetName(dialog.GetText()) != 0)
        return;
    // Every window of the device shows its new name.
    NotifyDeviceLinks();
}

void CDataSensorView::OnDeviceInformation() {
    if (CDevice* device = GetDevice()) {
        CDlgDeviceInformation dialog(this);
        dialog.m_strText = device->GetInfoText();
        dialog.DoModal();
    }
}

void CDataSensorView::OnShowTestTrigger() {
    if (CDataAcqWnd* card = GetCard())
        card->GetDisplayLink().ShowTestTrigger();
}
