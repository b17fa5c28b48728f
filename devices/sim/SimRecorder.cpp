#include "devices/sim/SimRecorder.h"

#include <algorithm>

void CSimRecorder::Poll() {
    Advance();
    if (m_mode == kModeArmed)
        m_clock.RequestPoll(static_cast<int64_t>(1e9 / m_rate) + 1);
}

int CSimRecorder::SetMode(int mode) {
    if (int refused = m_script.Enter("SetMode"))
        return refused;
    Advance();
    switch (mode) {
        case kModeLive:
        case kModeIdle:
            m_mode = mode;
            return 0;
        case kModeArmed:
            if (m_trigger.postTriggerFrames < 1 || m_trigger.postTriggerFrames > RingCapacity())
                return 1;
            m_mode = kModeArmed;
            m_armedFrom = CurrentFrame();
            m_triggerFrame = -1;
            {
                std::lock_guard lock(m_memoryMutex);
                m_held.clear();
            }
            m_preTrigger = 0;
            OnArmed();
            m_clock.RequestPoll(0);
            return 0;
        default:
            return 1;
    }
}

int CSimRecorder::GetMode() {
    Advance();
    return m_mode;
}

void CSimRecorder::TriggerAt(int64_t frame) {
    m_triggerFrame = frame;
    const int ring = RingCapacity() - m_trigger.postTriggerFrames;
    m_preTrigger = static_cast<int>(std::min<int64_t>(ring, frame - m_armedFrom));
    SyncTrigger();
}

void CSimRecorder::OnSyncTrigger() {
    Advance();
    if (m_role != kRoleSlave || m_mode != kModeArmed || m_triggerFrame >= 0)
        return;
    TriggerAt(CurrentFrame());
    Advance();
}

void CSimRecorder::OnSyncStop() {
    Advance();
    if (m_role == kRoleSlave)
        StopRecording();
}

void CSimRecorder::Advance() {
    if (m_mode != kModeArmed)
        return;
    const int64_t now = CurrentFrame();
    if (m_triggerFrame < 0)
        WatchForTrigger(now);
    if (m_triggerFrame < 0)
        return;
    const int64_t last = m_triggerFrame + m_trigger.postTriggerFrames - 1;
    if (now < last)
        return;
    std::lock_guard lock(m_memoryMutex);
    m_held.clear();
    for (int64_t frame = m_triggerFrame - m_preTrigger; frame <= last; ++frame)
        m_held.push_back(frame);
    m_mode = kModeStopped;
}

int CSimRecorder::Trigger() {
    if (int refused = m_script.Enter("Trigger"))
        return refused;
    Advance();
    if (m_mode != kModeArmed || m_triggerFrame >= 0)
        return 1;
    TriggerAt(CurrentFrame());
    Advance();
    return 0;
}

int CSimRecorder::SetDio6(int level) {
    if (int refused = m_script.Enter("SetDio6"))
        return refused;
    const bool rising = level && !m_dio;
    const bool falling = !level && m_dio;
    m_dio = level ? 1 : 0;
    Advance();
    const int type = m_trigger.type;
    const bool edge = (rising && (type == kTriggerRisingEdge || type == kTriggerEitherEdge)) ||
                      (falling && (type == kTriggerFallingEdge || type == kTriggerEitherEdge));
    if (edge && m_mode == kModeArmed && m_triggerFrame < 0) {
        TriggerAt(CurrentFrame());
        Advance();
    }
    return 0;
}

int CSimRecorder::IsTriggered() {
    Advance();
    return m_triggerFrame >= 0 ? 1 : 0;
}

int CSimRecorder::Stop() {
    if (int refused = m_script.Enter("Stop"))
        return refused;
    Advance();
    StopRecording();
    SyncStop();
    return 0;
}

void CSimRecorder::StopRecording() {
    if (m_mode != kModeArmed)
        return;
    if (m_triggerFrame < 0) {
        const int64_t now = CurrentFrame();
        const int64_t ring = RingCapacity() - m_trigger.postTriggerFrames;
        std::lock_guard lock(m_memoryMutex);
        m_held.clear();
        for (int64_t frame = std::max(m_armedFrom, now - ring + 1); frame <= now; ++frame)
            m_held.push_back(frame);
        m_preTrigger = static_cast<int>(m_held.size());
    }
    m_mode = kModeStopped;
}

int CSimRecorder::GetRecordedFrames(int* count) {
    if (!count)
        return 1;
    Advance();
    *count = static_cast<int>(m_held.size());
    return 0;
}

int CSimRecorder::GetPreTriggerFrames(int* count) {
    if (!count)
        return 1;
    Advance();
    *count = m_preTrigger;
    return 0;
}

int CSimRecorder::GetTriggerIndex(int* index) {
    if (!index)
        return 1;
    Advance();
    *index = m_triggerFrame >= 0 ? m_preTrigger : -1;
    return 0;
}

int CSimRecorder::GetRecordRate(double* rate) {
    if (!rate)
        return 1;
    *rate = m_rate;
    return 0;
}

int CSimRecorder::GetTriggerSetting(DriverTriggerSetting* setting) {
    if (!setting)
        return 1;
    *setting = m_trigger;
    return 0;
}

int CSimRecorder::SetTriggerSetting(const DriverTriggerSetting& setting) {
    if (int refused = m_script.Enter("SetTriggerSetting"))
        return refused;
    if (setting.type < 0 || setting.type > LastTriggerType() || setting.postTriggerFrames < 0 ||
        m_mode == kModeArmed)
        return 1;
    m_trigger = setting;
    return 0;
}
