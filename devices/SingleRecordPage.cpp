#include "devices/SingleRecordPage.h"

#include "devices/IDeviceViewFinder.h"

#include <QWidget>

IMPLEMENT_DYNAMIC(CSingleRecordPage, CRecordControlPageEx)

CSingleRecordPage::Layout CSingleRecordPage::LayoutFor(const Places& places, bool singleRecordTab) {
    Layout layout;
    layout.subPage = places.subPage;
    layout.deviceList = places.deviceList;
    layout.showSubPage = singleRecordTab;
    layout.showDeviceList = singleRecordTab;
    // Under the device list with it, at the top of the page without it.
    layout.recordTab = singleRecordTab
                           ? places.buttons[0]
                           : CRect(places.reference.TopLeft(), places.buttons[1].Size());
    return layout;
}

CSingleRecordPage::CSingleRecordPage(CWnd* pParentWnd)
    : CRecordControlPageEx(kSingleRecordPageTemplate, pParentWnd) {}

CSingleRecordPage::~CSingleRecordPage() = default;

void CSingleRecordPage::SetDeviceProvider(CDeviceManager* provider) {
    CRecordControlPageEx::SetDeviceProvider(provider);
    m_dataLink.SetProvider(provider);
    m_recordTab.GetLink().SetProvider(provider);
}

void CSingleRecordPage::SetTargetProvider(IDeviceCommandTargetProvider* provider) {
    CRecordControlPageEx::SetTargetProvider(provider);
    m_dataLink.SetCommandTargetProvider(provider);
    m_recordTab.SetGroupProvider(provider);
    m_devicesTab.SetProvider(provider);
}

void CSingleRecordPage::SetViewFinder(IDeviceViewFinder* finder) {
    CRecordControlPageEx::SetViewFinder(finder);
    m_dataLink.SetViewFinder(finder);
    m_recordTab.GetLink().SetViewFinder(finder);
}

void CSingleRecordPage::ShowCameraControls(bool show) {
    for (int id : kCameraControls)
        ShowItem(this, id, show ? SW_SHOW : SW_HIDE);
}

CRect CSingleRecordPage::ItemRect(int id) const {
    CRect rect;
    if (CWnd* item = GetDlgItem(id)) {
        item->GetWindowRect(&rect);
        ScreenToClient(&rect);
    }
    return rect;
}

void CSingleRecordPage::MoveItem(int id, const CRect& rect) {
    if (CWnd* item = GetDlgItem(id))
        item->MoveWindow(rect, TRUE);
}

BOOL CSingleRecordPage::OnInitDialog() {
    CRecordControlPageEx::OnInitDialog();
    m_layoutCaptured = 1;
    m_places.reference = ItemRect(kReference);
    m_places.subPage = ItemRect(kSubPageHost);
    m_places.deviceList = ItemRect(kDeviceListHost);
    m_places.buttons = {ItemRect(kButtonsPlace), ItemRect(kButtonsPlace)};
    if (CWnd* host = GetDlgItem(kRecordTabHost)) {
        if (m_recordTab.Create(host)) {
            m_recordTab.ShowWindow(SW_SHOW);
            host->ShowWindow(SW_SHOW);
        }
    }
    OnDeviceUpdate();
    return TRUE;
}

void CSingleRecordPage::OnDeviceUpdate() {
    CRecordControlPageEx::OnDeviceUpdate();
    if (!GetSafeHwnd() || !m_layoutCaptured)
        return;
    int kind = IDeviceViewFinder::kOtherView;
    if (IDeviceViewFinder* finder = GetViewFinder())
        finder->GetActiveDeviceView(&kind, nullptr);
    EnableItem(this, kFrameRate, true);
    const bool on = SingleRecordTabOn();
    const Layout layout = LayoutFor(m_places, on);
    if (on) {
        if (CWnd* host = GetDlgItem(kDeviceListHost);
            host && !m_devicesTab.GetSafeHwnd() && m_devicesTab.Create(host))
            m_devicesTab.CenterInHost(0, 0, 0, 0);
        if (m_devicesTab.GetSafeHwnd())
            m_devicesTab.ShowWindow(SW_SHOW);
        const bool deviceKind =
            kind == IDeviceViewFinder::kCameraView || kind == IDeviceViewFinder::kDataView;
        if (deviceKind && kind != m_subPageKind &&
            MakeSubPage(kind == IDeviceViewFinder::kCameraView ? 1 : 2))
            m_subPageKind = kind;
    }
    MoveItem(kSubPageHost, layout.subPage);
    MoveItem(kDeviceListHost, layout.deviceList);
    MoveItem(kRecordTabHost, layout.recordTab);
    ShowItem(this, kSubPageHost, layout.showSubPage ? SW_SHOW : SW_HIDE);
    ShowItem(this, kDeviceListHost, layout.showDeviceList ? SW_SHOW : SW_HIDE);
    if (GetSubPage() && GetSubPage()->GetSafeHwnd())
        GetSubPage()->ShowWindow(layout.showSubPage ? SW_SHOW : SW_HIDE);
    if (m_devicesTab.GetSafeHwnd())
        m_devicesTab.ShowWindow(layout.showDeviceList ? SW_SHOW : SW_HIDE);
    ShowItem(this, kRecordTabHost, SW_SHOW);
    // Alone, the record buttons are all the page shows; the rest comes back with the setting.
    if (!on && m_hiddenAlone.empty()) {
        for (CWnd* child = GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
            QWidget* widget = child->GetQWidget();
            if (child->GetDlgCtrlID() == kRecordTabHost || !widget || widget->isHidden())
                continue;
            widget->hide();
            m_hiddenAlone.emplace_back(widget);
        }
    } else if (on) {
        for (const QPointer<QWidget>& widget : m_hiddenAlone) {
            if (widget)
                widget->show();
        }
        m_hiddenAlone.clear();
    }
    if (on)
        ShowCameraControls(kind == IDeviceViewFinder::kCameraView);
}
