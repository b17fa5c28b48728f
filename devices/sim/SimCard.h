#pragma once

// The simulated data card: n channels, each scan two numbers per channel (the scan's time in
// seconds and the channel's volts). Channel c gives, by c mod 4: a 2.5 V sine at (c + 1) Hz, a
// ramp from -5 to 5 V once a second, seeded noise within +-0.1 V, the DAC0 output looped back.
// Scans run at the scan rate by the host clock (all channels together at most 200 000 scans/s).
// Recording keeps pre-trigger scans in a ring and the post-trigger scans after a software, DIO6
// or sync-line trigger, as the cameras do; the ring holds the buffer capacity, or the frame limit
// when that is lower.

#include "devices/sim/SimDeviceBase.h"

#include <utility>
#include <vector>

class CSimCard : public CSimDeviceBase {
public:
    static constexpr double kMaxAggregateRate = 200000;

    CSimCard(const DriverHostServices* host, int subtype, int index, int channels,
             int capacityScans, unsigned seed);

    // Volts of channel at scan (a pure function of both, and of the DAC0 history).
    double Volts(int channel, int64_t scan) const;
    int64_t CurrentScan() const;
    const std::vector<int64_t>& HeldScans() const { return m_held; }

    std::string GetInfoText() override;
    std::string GetModel() override;
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
    int SetRecordRate(double rate) override;
    int GetRateList(std::vector<double>* rates) override;
    int GetRateRange(double* minimum, double* maximum) override;
    int GetTriggerSetting(DriverTriggerSetting* setting) override;
    int SetTriggerSetting(const DriverTriggerSetting& setting) override;
    int GetMaxFrames(int* count) override;
    int SetMaxFrames(int count) override;
    int GetTotalFrames(int* count) override;
    int GetMemoryBytes(int64_t* total, int64_t* used) override;
    int GetTriggerTypes(int* mask) override;
    int GetChannelCount(int* channels) override;
    // Every scan is a frame.
    int GetPointsPerFrame(int* points) override;
    int StartAcquisition() override;
    int StopAcquisition() override;
    int SetAcquisitionParams(double scanRate, int scans) override;
    // Held scans from first on (index 0 = oldest) when a recording is held, else the scans by
    // their own numbers.
    int ReadSamples(int64_t first, int scans, std::vector<double>* values) override;
    int SetDio6(int level) override;
    int SetDac0(double volts) override;
    void OnSyncTrigger() override;
    void OnSyncStop() override;

private:
    void Advance();
    void TriggerAt(int64_t scan);
    void StopRecording();

    int m_subtype;
    int m_index;
    int m_channels;
    int m_capacity;
    int m_bufferScans;  // what the card's buffer holds: the most the frame limit can be
    unsigned m_seed;
    int m_mode = kModeIdle;
    double m_rate = 1000;
    int64_t m_startNs = 0;
    bool m_acquiring = false;
    DriverTriggerSetting m_trigger;
    int m_dio = 0;
    int64_t m_armedFrom = 0;
    int64_t m_triggerScan = -1;
    int m_preTrigger = 0;
    std::vector<int64_t> m_held;
    // DAC0 levels from a scan on, in order.
    std::vector<std::pair<int64_t, double>> m_dac{{0, 0.0}};
};
