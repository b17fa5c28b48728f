#pragma once

// What the simulated camera and data card share in recording: frames (a card's scans) come at
// the record rate by the host clock; arming keeps a ring of the last c - p frames (c what the
// device holds, p the post-trigger count); a trigger (software, an edge of the DIO input as the
// trigger type says, a device's own watch, or the master on the sync line) records the trigger
// frame and p - 1 more, and the device stops holding the recording. Stopping before the trigger
// keeps what the ring holds.

#include "devices/sim/SimDeviceBase.h"

#include <mutex>
#include <vector>

class CSimRecorder : public CSimDeviceBase {
public:
    explicit CSimRecorder(const DriverHostServices* host) : CSimDeviceBase(host) {
        m_startNs = m_clock.NowNs();
    }

    // The frame due now.
    int64_t CurrentFrame() const { return m_clock.TicksSince(m_startNs, m_rate); }
    // The frame numbers the memory holds, oldest first (after a recording).
    const std::vector<int64_t>& HeldFrames() const { return m_held; }

    void Poll() override;
    int SetMode(int mode) override;
    int GetMode() override;
    int Trigger() override;
    int IsTriggered() override;
    int Stop() override;
    int GetRecordedFrames(int* count) override;
    int GetPreTriggerFrames(int* count) override;
    int GetTriggerIndex(int* index) override;
    int GetRecordRate(double* rate) override;
    int GetTriggerSetting(DriverTriggerSetting* setting) override;
    int SetTriggerSetting(const DriverTriggerSetting& setting) override;
    // The DIO trigger input.
    int SetDio6(int level) override;
    void OnSyncTrigger() override;
    void OnSyncStop() override;

protected:
    // The most frames a recording holds.
    virtual int RingCapacity() const = 0;
    // The highest trigger type the device takes.
    virtual int LastTriggerType() const = 0;
    // Called when the device arms, after the ring was emptied.
    virtual void OnArmed() {}
    // While armed and not triggered: looks at the frames up to now and may call TriggerAt.
    virtual void WatchForTrigger(int64_t /*now*/) {}

    // Brings the recording up to the frame due now.
    void Advance();
    void TriggerAt(int64_t frame);

    int m_mode = kModeIdle;
    double m_rate = 1000;
    int64_t m_startNs = 0;
    DriverTriggerSetting m_trigger;
    int64_t m_armedFrom = 0;  // first frame of the armed ring
    std::vector<int64_t> m_held;
    // The held frames, as a save thread reads them.
    std::mutex m_memoryMutex;

private:
    void StopRecording();

    int m_dio = 0;
    int64_t m_triggerFrame = -1;
    int m_preTrigger = 0;
};
