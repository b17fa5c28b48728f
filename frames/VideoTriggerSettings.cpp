#include "frames/VideoTriggerSettings.h"

#include "frames/MessagePoster.h"

CVideoTriggerSettings::CVideoTriggerSettings() : m_poster(std::make_unique<CMessagePoster>()) {
    m_poster->SetOuter(static_cast<IIdUnknown*>(this));
}

CVideoTriggerSettings::~CVideoTriggerSettings() = default;

HRESULT CVideoTriggerSettings::QueryInterfaceById(int id, void** out) {
    HRESULT result = E_FAIL;
    if (AnswerCommonQuery(id, out, &result))
        return result;
    if (id == kIdMessagePoster) {
        *out = static_cast<IMessagePoster*>(m_poster.get());
        return S_OK;
    }
    if (id == kIdTriggerSettings) {
        *out = static_cast<IVideoTriggerSettings*>(this);
        return S_OK;
    }
    return E_FAIL;
}

IMessagePoster* CVideoTriggerSettings::GetPoster() const {
    return m_poster.get();
}

HRESULT CVideoTriggerSettings::SetEnabled(int enabled) {
    m_enabled = enabled;
    return S_OK;
}

HRESULT CVideoTriggerSettings::Reset() {
    m_sum = 0.0;
    m_baselineReady = 0;
    m_samplesTaken = 0;
    m_triggered = 0;
    return S_OK;
}

HRESULT CVideoTriggerSettings::SetDirections(int above, int below) {
    m_triggerAbove = above;
    m_triggerBelow = below;
    return S_OK;
}

HRESULT CVideoTriggerSettings::GetDirections(int* above, int* below) {
    if (above)
        *above = m_triggerAbove;
    if (below)
        *below = m_triggerBelow;
    return S_OK;
}

HRESULT CVideoTriggerSettings::SetBaseline(int frames, double aboveOffset, double belowOffset) {
    m_baselineFrames = frames;
    m_aboveOffset = aboveOffset;
    m_belowOffset = belowOffset;
    return S_OK;
}

HRESULT CVideoTriggerSettings::GetBaseline(int* frames, double* aboveOffset, double* belowOffset) {
    if (frames)
        *frames = m_baselineFrames;
    if (aboveOffset)
        *aboveOffset = m_aboveOffset;
    if (belowOffset)
        *belowOffset = m_belowOffset;
    return S_OK;
}

HRESULT CVideoTriggerSettings::AddSample(double value) {
    if (!m_baselineReady) {
        m_sum += value;
        ++m_samplesTaken;
    }
    if (m_samplesTaken > m_baselineFrames) {
        m_baselineReady = 1;
        m_baselineMean = m_sum / m_samplesTaken;
        m_upperLimit = m_baselineMean + m_aboveOffset;
        m_lowerLimit = m_baselineMean - m_belowOffset;
    }
    if (!m_enabled || !m_baselineReady || m_triggered)
        return S_OK;
    // The latch is tested again before the second direction: with negative offsets the limits
    // cross and one value may lie beyond both, which is still one trigger.
    if (m_triggerAbove && value > m_upperLimit)
        Trigger();
    if (!m_triggered && m_triggerBelow && value < m_lowerLimit)
        Trigger();
    return S_OK;
}

void CVideoTriggerSettings::Trigger() {
    m_triggered = 1;
    m_poster->PostMessage(kMsgVideoTriggered, 0, 0);
}

HRESULT CVideoTriggerSettings::IsTriggered(int* triggered) {
    if (triggered)
        *triggered = m_triggered;
    return S_OK;
}

HRESULT CVideoTriggerSettings::IsBaselineReady(int* ready) {
    if (ready)
        *ready = m_baselineReady;
    return S_OK;
}

HRESULT CVideoTriggerSettings::GetBaselineMean(double* mean) {
    if (mean)
        *mean = m_baselineMean;
    return S_OK;
}

HRESULT CVideoTriggerSettings::GetLimits(double* upper, double* lower) {
    if (upper)
        *upper = m_upperLimit;
    if (lower)
        *lower = m_lowerLimit;
    return S_OK;
}
