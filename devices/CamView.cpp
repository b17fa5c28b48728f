#include "devices/CamView.h"

#include "devices/CamDoc.h"
#include "devices/CamFrm.h"
#include "devices/CamFrmSimple.h"
#include "devices/ICameraDialogs.h"
#include "devices/core/Device.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/DeviceVideoStream.h"
#include "devices/core/OpenDeviceList.h"
#include "frames/FrameSource.h"
#include "frames/IColorAdjustment.h"
#include "platform/com/SafeArray.h"
#include "platform/framework/ActionCmdUI.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/Menu.h"
#include "views/StreamWnd.h"

#include <QMdiSubWindow>

#include <functional>

IMPLEMENT_DYNCREATE(CCamView, CCXView)

BEGIN_MESSAGE_MAP(CCamView, CCXView)
ON_WM_CONTEXTMENU()
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
ON_COMMAND(CCamView::kChangeCameraName, OnChangeCameraName)
ON_COMMAND(CCamView::kReduceLiveResolution, OnReduceLiveResolution)
ON_UPDATE_COMMAND_UI(CCamView::kReduceLiveResolution, OnUpdateReduceLiveResolution)
ON_COMMAND(CCamView::kForceSoftwareTrigger, OnForceSoftwareTrigger)
ON_COMMAND(CCamView::kCameraColorAdjustment, OnCameraColorAdjustment)
ON_UPDATE_COMMAND_UI(CCamView::kCameraColorAdjustment, OnUpdateCameraColorAdjustment)
ON_COMMAND(CCamView::kCameraSettings, OnCameraSettings)
ON_COMMAND(CCamView::kSetActiveArea, OnSetActiveArea)
ON_UPDATE_COMMAND_UI(CCamView::kSetActiveArea, OnUpdateSetActiveArea)
ON_UPDATE_COMMAND_UI(CCamView::kCameraSettings, OnUpdateCameraSettings)
ON_COMMAND(CCamView::kCameraInformation, OnCameraInformation)
ON_COMMAND(CCamView::kCameraReset, OnCameraReset)
ON_COMMAND(CCamView::kCameraSelfTest, OnCameraSelfTest)
END_MESSAGE_MAP()

CCamView::CCamView() : m_link(*this) {
    m_link.SetProvider(&m_manager);
}

CCamView::~CCamView() = default;

CCamDoc* CCamView::GetCamDocument() const {
    return dynamic_cast<CCamDoc*>(GetDocument());
}

void CCamView::CCamLink::OnDeviceClosed() {
    if (CWnd* parent = m_view.GetParentFrame())
        parent->PostMessage(WM_CLOSE, 0, 0);
}

void CCamView::CCamLink::OnDeviceRefresh() {
    if (CCamDoc* doc = m_view.GetCamDocument()) {
        doc->GetSettingsSheet()->Commit();
        doc->GetSettingsSheet()->ReadFromDevice();
    }
}

void CCamView::CCamLink::OnDeviceUpdate() {
    CDevice* device = GetDevice();
    CCamDoc* doc = m_view.GetCamDocument();
    if (!device || !doc)
        return;
    CDeviceDescriptor descriptor;
    device->GetDescriptor(&descriptor);
    doc->SetTitle(descriptor.m_name);
    if (CWnd* parent = m_view.GetParent())
        parent->SetWindowText(descriptor.m_name);
    m_view.FollowDeviceFormat();
}

int CCamView::SendDeviceCommand(int code) {
    CDevice* device = GetDevice();
    int subtype = -1;
    if (device)
        device->GetSubtype(&subtype);
    VARIANT codeValue{};
    codeValue.vt = VT_I4;
    codeValue.lVal = code;
    VARIANT values{};
    values.vt = VT_ARRAY | VT_R8;
    values.parray = SafeArrayCreateVector(VT_R8, 0, 1);
    VARIANT status{};
    VARIANT result{};
    const int answer =
        m_link.SendCommand(m_link.GetHandle(), subtype, codeValue, values, &status, &result);
    VariantClear(&values);
    VariantClear(&status);
    VariantClear(&result);
    return answer;
}

void CCamView::OnInitialUpdate() {
    CCXView::OnInitialUpdate();
    CCamDoc* doc = GetCamDocument();
    if (!doc)
        return;
    CDevice* device = OpenDevices::OpenDevice(doc->GetDeviceId(), GetQWidget());
    if (!device)
        return;
    int handle = -1;
    device->GetHandle(&handle);
    m_link.SetHandle(handle);
    doc->GetSettingsSheet()->Bind(&m_link);
    ShowWindow(SW_SHOW);
    // A stand-alone camera window opens at a size that shows the live video.
    if (auto* frame = dynamic_cast<CCamFrm*>(GetParentFrame()))
        if (QWidget* window = frame->GetSubWindow())
            window->resize(kStandAloneWidth, kStandAloneHeight);
    PlayDevice(*device);
    m_link.OnDeviceUpdate();
}

void CCamView::PlayDevice(CDevice& device) {
    CDeviceVideoStream* stream = device.CreateLiveStream();
    if (!stream)
        return;
    CDeviceDescriptor descriptor;
    device.GetDescriptor(&descriptor);
    CFrameSourcePtr source(new CFrameSource);
    const int opened = source->OpenStream(stream, descriptor.m_name);
    stream->Release();
    if (!opened)
        return;
    double rate = 0;
    device.GetRecordRate(&rate);
    PlayLive(source, rate);
}

void CCamView::FollowDeviceFormat() {
    CDevice* device = GetDevice();
    CFrameSourcePtr source = GetFrameSource();
    DriverImageFormat format;
    if (!device || source.IsEmpty() || device->GetImageFormat(&format) != 0)
        return;
    int width = 0;
    int height = 0;
    source->GetImageSize(&width, &height);
    if (width != format.width || height != format.height)
        PlayDevice(*device);
}

void CCamView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    CCXView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    OpenDevices::SetDefaultDeviceHandle(bActivate ? m_link.GetHandle() : -1);
    NotifyDeviceLinks();
}

LRESULT CCamView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kDeviceCommandMessage) {
        SendDeviceCommand(kCommandFromMessage);
        return 0;
    }
    // The colour window draws over this view: it goes first.
    if (message == WM_DESTROY)
        m_colourDialog.reset();
    const LRESULT result = CCXView::WindowProc(message, wParam, lParam);
    if (message == WM_DESTROY)
        SendDeviceCommand(kCommandOnDestroy);
    return result;
}

bool CCamView::FeatureUsable(int index) const {
    CDevice* device = GetDevice();
    int usable = 0;
    return device && device->IsFeatureUsable(index, &usable) == 0 && usable;
}

void CCamView::BuildContextMenu(CMenu& menu, CMenu& view, CMenu& cameraView, CMenu& override) {
    view.CreatePopupMenu();
    if (CStreamWnd* stream = GetStreamWnd())
        stream->AppendViewMenu(&view);
    override.CreatePopupMenu();
    override.AppendMenu(MF_STRING, kForceSoftwareTrigger,
                        QStringLiteral("Force Software Trigger post Synchronized Data Recording"));
    cameraView.CreatePopupMenu();
    cameraView.AppendMenu(MF_STRING, kReduceLiveResolution,
                          QStringLiteral("Reduce Live Resolution"));
    cameraView.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(&override),
                          QStringLiteral("Camera Override"));
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, kChangeCameraName, QStringLiteral("Change Camera Name"));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(&view), QStringLiteral("View"));
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(&cameraView),
                    QStringLiteral("Camera View"));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, kCameraColorAdjustment, QStringLiteral("Camera Color Adjustment"));
    menu.AppendMenu(MF_STRING, kCameraInformation, QStringLiteral("Camera Information"));
    menu.AppendMenu(MF_STRING, kCameraSettings, QStringLiteral("Camera Settings"));
    menu.AppendMenu(MF_STRING, kCameraReset, QStringLiteral("Camera Reset"));
    menu.AppendMenu(MF_STRING, kSetActiveArea, QStringLiteral("Set Active Area..."));
}

void CCamView::OnContextMenu(CWnd*, CPoint point) {
    if (point.x == -1 && point.y == -1) {
        point = CPoint(0, 0);
        ClientToScreen(&point);
    }
    CMenu menu;
    CMenu view;
    CMenu cameraView;
    CMenu override;
    BuildContextMenu(menu, view, cameraView, override);
    const std::function<void(CMenu&)> updateSubMenus = [&](CMenu& parent) {
        for (int i = 0; i < parent.GetMenuItemCount(); ++i) {
            if (CMenu* sub = parent.GetSubMenu(i)) {
                CActionCmdUI::UpdateBeforeShow(sub->GetQMenu(), this);
                updateSubMenus(*sub);
            }
        }
    };
    updateSubMenus(menu);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CCamView::OnFileClose() {
    if (auto* frame = dynamic_cast<CCamFrmSimple*>(GetParentFrame()))
        frame->CloseFrame();
}

void CCamView::OnChangeCameraName() {
    CDevice* device = GetDevice();
    if (!device)
        return;
    CDeviceDescriptor descriptor;
    device->GetDescriptor(&descriptor);
    const std::optional<QString> name = ICameraDialogs::Get().AskText(
        QStringLiteral("Device Name"), QStringLiteral("Please enter the device name."),
        descriptor.m_name, this);
    if (!name || device->SetName(*name) != 0)
        return;
    NotifyDeviceLinks();
    SendDeviceCommand(kCommandRenamed);
}

void CCamView::OnReduceLiveResolution() {
    CDevice* device = GetDevice();
    if (!device)
        return;
    int on = 0;
    device->GetFeatureOn(CDevice::kFeatureReducedLive, &on);
    device->SetFeatureOn(CDevice::kFeatureReducedLive, on ? 0 : 1);
    int width = 0;
    int height = 0;
    if (device->GetResolution(&width, &height) == 0)
        device->SetResolution(width, height);
    FollowDeviceFormat();
}

void CCamView::OnUpdateReduceLiveResolution(CCmdUI* pCmdUI) {
    CDevice* device = GetDevice();
    int active = 0;
    if (device)
        device->IsFeatureActive(CDevice::kFeatureReducedLive, &active);
    pCmdUI->Enable(FeatureUsable(CDevice::kFeatureReducedLive));
    pCmdUI->SetCheck(active ? 1 : 0);
}

void CCamView::OnForceSoftwareTrigger() {
    if (CDevice* device = GetDevice())
        device->Trigger();
}

void CCamView::OnCameraColorAdjustment() {
    if (!GetDevice())
        return;
    if (!m_colourDialog)
        m_colourDialog = ICameraDialogs::Get().MakeColourAdjustment(m_link, this);
    if (m_colourDialog)
        m_colourDialog->ShowFor(1, this);
}

void CCamView::OnUpdateCameraColorAdjustment(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FeatureUsable(CDevice::kFeatureColourAdjustment));
}

void CCamView::OnCameraSettings() {
    CDevice* device = GetDevice();
    if (!device || !ICameraDialogs::Get().ShowCameraSettings(*device, this))
        return;
    // Every window of the device shows its new settings, this one at its new size.
    NotifyDeviceLinks();
}

void CCamView::OnSetActiveArea() {
    if (CDevice* device = GetDevice())
        ICameraDialogs::Get().ShowActiveArea(*device, this);
    FollowDeviceFormat();
}

// Only a camera tells its active area.
void CCamView::OnUpdateSetActiveArea(CCmdUI* pCmdUI) {
    CDevice* device = GetDevice();
    int w = 0, h = 0, mw = 0, mh = 0, ws = 0, hs = 0, os = 0;
    pCmdUI->Enable(device && device->GetActiveAreaLimits(&w, &h, &mw, &mh, &ws, &hs, &os) == 0);
}

void CCamView::OnUpdateCameraSettings(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FeatureUsable(CDevice::kFeatureCameraSettings));
}

void CCamView::OnCameraInformation() {
    if (CDevice* device = GetDevice())
        ICameraDialogs::Get().ShowDeviceInformation(device->GetInfoText(), this);
}

void CCamView::OnCameraReset() {
    if (CDevice* device = GetDevice())
        device->Reset();
}

void CCamView::OnCameraSelfTest() {
    if (CDevice* device = GetDevice())
        device->SelfTest();
}
