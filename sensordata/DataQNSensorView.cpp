#include "sensordata/DataQNSensorView.h"

#include "devices/core/DriverLoader.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/WinApp.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/DataQNSensorDoc.h"
#include "sensordata/IDeviceSettingsSheet.h"
#include "sensordata/model/VidraData.h"

#include <QWidget>

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(CDataQNSensorView, CMView)

BEGIN_MESSAGE_MAP(CDataQNSensorView, CMView)
ON_WM_SIZE()
ON_WM_TIMER()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CDataQNSensorView::CDataQNSensorView() {
    m_link.SetProvider(&m_manager);
}

CDataQNSensorView::~CDataQNSensorView() = default;

CDataQNSensorDoc* CDataQNSensorView::GetSensorDocument() const {
    return dynamic_cast<CDataQNSensorDoc*>(GetDocument());
}

CDataAcqWnd* CDataQNSensorView::GetCard() const {
    return dynamic_cast<CDataAcqWnd*>(m_link.GetDevice());
}

void CDataQNSensorView::OnInitialUpdate() {
    CMView::OnInitialUpdate();
    CRect client;
    GetClientRect(&client);
    if (!m_sensor.GetSafeHwnd())
        m_sensor.CreateIn(this, CRect(0, 0, client.Width(), kStateHeight), kSensorControlId);
    if (m_graph.IsEmpty())
        m_graph.Create(GetQWidget(),
                       QRect(0, kStateHeight, client.Width(), client.Height() - kStateHeight),
                       kGraphControlId);
    CDataQNSensorDoc* doc = GetSensorDocument();
    CDevice* device = doc ? DriverLoader::OpenById(doc->GetDeviceId()) : nullptr;
    int handle = -1;
    if (device)
        device->GetHandle(&handle);
    m_link.SetHandle(handle);
    if (IDeviceSettingsSheet* sheet = doc ? doc->GetDeviceSettings() : nullptr)
        sheet->Bind(&m_link);
    // The acquisition runs on the card's window, which stays hidden: this view shows the data.
    if (CDataAcqWnd* card = GetCard();
        card && card->CreateHidden(AfxGetMainWnd()) && !card->IsAcquiring())
        card->StartAcquisition();
    m_graph.SetXCaption(QStringLiteral("Time (seconds)"));
    Redraw();
    SetTimer(kRedrawTimer, kRedrawMs);
}

void CDataQNSensorView::Redraw() {
    CDataAcqWnd* card = GetCard();
    m_sensor.ShowDevice(card);
    if (!card || m_graph.IsEmpty())
        return;
    const CVidraData& data = card->GetLiveData();
    std::vector<float> x(data.GetPlottedScans());
    data.GetTimeAxis(x);
    LONG plot = 0;
    for (int c = 0; c < CVidraData::kChannelSlots; ++c) {
        const std::vector<float>* samples = data.ChannelSamples(c);
        if (!samples)
            continue;
        std::vector<float> y(*samples);
        y.resize(x.size(), 0.0f);
        m_graph.PlotXY(++plot, x, y, static_cast<COLORREF>(data.m_colors[c]));
    }
}

void CDataQNSensorView::OnDraw(CDC*) {}

void CDataQNSensorView::LayOut(int cx, int cy) {
    if (m_sensor.GetSafeHwnd())
        m_sensor.MoveWindow(0, 0, cx, kStateHeight);
    if (QWidget* graph = m_graph.GetWidget())
        graph->setGeometry(0, kStateHeight, cx, std::max(0, cy - kStateHeight));
}

void CDataQNSensorView::OnSize(UINT, int cx, int cy) {
    Default();
    LayOut(cx, cy);
}

void CDataQNSensorView::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kRedrawTimer)
        Redraw();
}

void CDataQNSensorView::OnDestroy() {
    KillTimer(kRedrawTimer);
    if (CDataQNSensorDoc* doc = GetSensorDocument())
        if (IDeviceSettingsSheet* sheet = doc->GetDeviceSettings();
            sheet && sheet->GetLink() == &m_link)
            sheet->Bind(nullptr);
    CMView::OnDestroy();
}
