#include "frames/TriggerDataChannel.h"

#include "frames/VideoTriggerSettings.h"
#include "sensordata/model/SensorDataSet.h"

#include <vector>

CTriggerDataChannel::CTriggerDataChannel(IDerivedSourceOwner* owner)
    : CDataChannel(owner), m_trigger(std::make_unique<CVideoTriggerSettings>()) {
    m_trigger->SetOuter(static_cast<IIdUnknown*>(this));
    m_trigger->Reset();
    m_trigger->SetDirections(1, 1);
    m_trigger->SetBaseline(10, 10.0, 10.0);
    InitHistory(m_data->GetScanCount());
    m_trigger->Reset();
}

CTriggerDataChannel::~CTriggerDataChannel() {
    m_trigger.reset();
}

HRESULT CTriggerDataChannel::QueryInterfaceById(int id, void** out) {
    if (id == kIdTriggerSettings || id == kIdMessagePoster) {
        HRESULT result = E_FAIL;
        if (AnswerCommonQuery(id, out, &result))
            return result;
        // The record's outer is this channel, so its own query would come back here.
        if (id == kIdTriggerSettings)
            *out = static_cast<IVideoTriggerSettings*>(m_trigger.get());
        else
            *out = m_trigger->GetPoster();
        return S_OK;
    }
    return CDataChannel::QueryInterfaceById(id, out);
}

HRESULT CTriggerDataChannel::ClearHistory() {
    CDataChannel::ClearHistory();
    m_trigger->Reset();
    return S_OK;
}

HRESULT CTriggerDataChannel::AddValue(double value) {
    m_trigger->AddSample(value);
    int ready = 0;
    m_trigger->IsBaselineReady(&ready);
    double upper = value;
    double lower = value;
    if (ready)
        m_trigger->GetLimits(&upper, &lower);
    const std::vector<float> values = {static_cast<float>(upper), static_cast<float>(value),
                                       static_cast<float>(lower)};
    m_data->SetLastScan(&values);
    return S_OK;
}
