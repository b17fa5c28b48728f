#pragma once

// The simulated data card: n channels, each scan two numbers per channel (the scan's time in
// seconds and the channel's volts). Channel c gives, by c mod 4: a 2.5 V sine at (c + 1) Hz, a
// ramp from -5 to 5 V once a second, seeded noise within +-0.1 V, the DAC0 output looped back.
// Scans run at the scan rate by the host clock (all channels together at most 200 000 scans/s).
// It records as the cameras do, a scan for a frame (rising DIO edges only); a recording holds the
// buffer capacity, or the frame limit when that is lower.

#include "devices/sim/SimRecorder.h"

#include <utility>
#include <vector>

class CSimCard : public CSimRecorder {
public:
    static constexpr double kMaxAggregateRate = 200000;
    // The slowest scan rate, in scans per second.
    static constexpr double kMinRate = 1;

    CSimCard(const DriverHostServices* host, int subtype, int index, int channels,
             int capacityScans, unsigned seed);

    // Volts of channel at scan (a pure function of both, and of the DAC0 history).
    double Volts(int channel, int64_t scan) const;

    std::string GetInfoText() override;
    std::string GetModel() override;
    int SetRecordRate(double rate) override;
    int GetRateList(std::vector<double>* rates) override;
    int GetRateRange(double* minimum, double* maximum) override;
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
    int SetDac0(double volts) override;

private:
    int RingCapacity() const override { return m_capacity; }
    int LastTriggerType() const override { return kTriggerRisingEdge; }

    int m_subtype;
    int m_index;
    int m_channels;
    int m_capacity;
    int m_bufferScans;  // what the card's buffer holds: the most the frame limit can be
    unsigned m_seed;
    bool m_acquiring = false;
    // DAC0 levels from a scan on, in order.
    std::vector<std::pair<int64_t, double>> m_dac{{0, 0.0}};
};
