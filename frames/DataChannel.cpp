#include "frames/DataChannel.h"

#include "frames/IDerivedSourceOwner.h"
#include "platform/framework/DC.h"
#include "sensordata/model/SensorDataSet.h"

#include <vector>

namespace {

constexpr int kDefaultScans = 100;
constexpr double kHistoryRate = 10.0;

}  // namespace

CDataChannel::CDataChannel(IDerivedSourceOwner* owner)
    : m_data(new CSensorDataSet), m_owner(owner) {
    m_data->Init(1, kDefaultScans, 1, kHistoryRate, 0);
}

CDataChannel::~CDataChannel() = default;

HRESULT CDataChannel::QueryInterfaceById(int id, void** out) {
    HRESULT result = E_FAIL;
    if (AnswerCommonQuery(id, out, &result))
        return result;
    if (id == kIdDataChannel) {
        *out = static_cast<IDataChannel*>(this);
        return S_OK;
    }
    return E_FAIL;
}

HRESULT CDataChannel::GetSource(CFrameSourcePtr* out) {
    if (!out)
        return E_POINTER;
    *out = m_source;
    return S_OK;
}

HRESULT CDataChannel::GetData(CSensorDataRef* out) {
    if (!out)
        return E_POINTER;
    *out = m_data;
    return S_OK;
}

void CDataChannel::InitHistory(int scans) {
    m_data->Init(ChannelCount(), scans < 1 ? kDefaultScans : scans, 1, kHistoryRate, 0);
}

HRESULT CDataChannel::SetHistoryLength(int scans) {
    InitHistory(scans);
    return S_OK;
}

HRESULT CDataChannel::ClearHistory() {
    // A data set without a stored channel reports -1 scans: the default length then.
    InitHistory(m_data->GetScanCount());
    return S_OK;
}

HRESULT CDataChannel::AddValue(double value) {
    const std::vector<float> values = {static_cast<float>(value)};
    m_data->SetLastScan(&values);
    return S_OK;
}

HRESULT CDataChannel::Open(const QString& title) {
    if (!m_source.IsEmpty()) {
        int listeners = 0;
        if (INotifier* notifier = m_source->GetNotifier())
            notifier->GetCount(&listeners);
        if (listeners > 0)
            return S_OK;
    }
    if (!m_owner)
        return E_POINTER;
    m_owner->OpenFor(static_cast<IIdUnknown*>(this), title);
    return S_OK;
}

HRESULT CDataChannel::Draw(CDC* dc, const CRect& area) {
    if (!dc)
        return E_FAIL;
    CPen pen(PS_SOLID, 3, RGB(255, 0, 0));
    CPen* previous = dc->SelectObject(&pen);
    const int left = 5;
    const int right = 20;
    const int top = area.bottom - 25;
    const int bottom = area.bottom - 5;
    const int mid = (top + bottom) / 2;
    dc->MoveTo(left, top);
    dc->LineTo(left, bottom);
    dc->MoveTo(right, top);
    dc->LineTo(right, bottom);
    dc->MoveTo(right, mid);
    dc->LineTo(left, mid);
    dc->SelectObject(previous);
    return S_OK;
}
