#include "sensordata/DataQNPlayView.h"

#include "platform/framework/MessageMap.h"
#include "sensordata/DataQNPlayDoc.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"

#include <QWidget>

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(CDataQNPlayView, CPlaybackView)

BEGIN_MESSAGE_MAP(CDataQNPlayView, CPlaybackView)
ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

constexpr LONG kCursorMode = 1;

}  // namespace

CDataQNPlayDoc* CDataQNPlayView::GetPlayDocument() const {
    return dynamic_cast<CDataQNPlayDoc*>(GetDocument());
}

CSensorDataSet* CDataQNPlayView::ServerData() const {
    const CDataQNPlayDoc* doc = GetPlayDocument();
    return doc ? doc->GetServerData() : nullptr;
}

void CDataQNPlayView::SetCurrentFrame(int frame, int force) {
    CPlaybackView::SetCurrentFrame(frame, force);
    m_graph.SetCursorIndex(GetCurrentFrame());
}

int CDataQNPlayView::GetFirstFrameNumber(int* first) const {
    const CSensorDataSet* data = ServerData();
    if (!data)
        return FALSE;
    if (first)
        *first = data->GetZeroPoint();
    return TRUE;
}

double CDataQNPlayView::GetFrameRate() const {
    const CSensorDataSet* data = ServerData();
    const double rate = data ? data->GetScanRate() : 0.0;
    return rate > 0.0 ? rate : 1.0;
}

int CDataQNPlayView::GetFrameCount() const {
    const CSensorDataSet* data = ServerData();
    return data ? std::max(data->GetData()->m_nTotalScans, 0) : 0;
}

void CDataQNPlayView::OnInitialUpdate() {
    if (m_graph.IsEmpty()) {
        CRect client;
        GetClientRect(&client);
        m_graph.Create(GetQWidget(), QRect(0, 0, client.Width(), client.Height()), kGraphControlId);
    }
    CPlaybackView::OnInitialUpdate();
}

void CDataQNPlayView::OnUpdate(CView*, LPARAM, CObject*) {
    m_graph.Clear();
    const CSensorDataSet* set = ServerData();
    if (!set)
        return;
    const CVidraData& data = *set->GetData();
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
    m_graph.SetXCaption(QStringLiteral("Time (seconds)"));
    m_graph.SetMouseMode(kCursorMode);
    SetCurrentFrame(std::min(GetCurrentFrame(), std::max(GetFrameCount() - 1, 0)), 1);
}

void CDataQNPlayView::OnDraw(CDC*) {}

void CDataQNPlayView::OnSize(UINT, int cx, int cy) {
    Default();
    if (QWidget* graph = m_graph.GetWidget())
        graph->setGeometry(0, 0, cx, cy);
}
