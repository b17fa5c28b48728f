#include "devices/sim/SimCard.h"

#include <algorithm>
#include <cmath>
#include <numbers>

CSimCard::CSimCard(const DriverHostServices* host, int subtype, int index, int channels,
                   int capacityScans, unsigned seed)
    : CSimRecorder(host),
      m_subtype(subtype),
      m_index(index),
      m_channels(std::max(1, channels)),
      m_capacity(std::max(1, capacityScans)),
      m_bufferScans(m_capacity),
      m_seed(seed) {}

double CSimCard::Volts(int channel, int64_t scan) const {
    const double t = static_cast<double>(scan) / m_rate;
    switch (channel % 4) {
        case 0:
            return 2.5 * std::sin(2 * std::numbers::pi * (channel + 1) * t);
        case 1:
            return -5.0 + 10.0 * (t - std::floor(t));
        case 2: {
            // A hash of seed, channel and scan: the same noise on every read.
            uint64_t h = (static_cast<uint64_t>(m_seed) << 32) ^
                         (static_cast<uint64_t>(channel) << 48) ^ static_cast<uint64_t>(scan);
            h ^= h >> 33;
            h *= 0xff51afd7ed558ccdULL;
            h ^= h >> 33;
            h *= 0xc4ceb9fe1a85ec53ULL;
            h ^= h >> 33;
            return (static_cast<double>(h >> 11) / static_cast<double>(1ULL << 53)) * 0.2 - 0.1;
        }
        default: {
            auto level =
                std::upper_bound(m_dac.begin(), m_dac.end(), scan,
                                 [](int64_t s, const auto& entry) { return s < entry.first; });
            return std::prev(level)->second;
        }
    }
}

std::string CSimCard::GetInfoText() {
    return "Simulated data card " + std::to_string(m_index + 1) + ", " +
           std::to_string(m_channels) + " channels";
}

std::string CSimCard::GetModel() {
    return "SIM-D" + std::to_string(m_subtype);
}

int CSimCard::SetRecordRate(double rate) {
    if (int refused = m_script.Enter("SetRecordRate"))
        return refused;
    if (!(rate >= kMinRate) || rate * m_channels > kMaxAggregateRate || m_mode == kModeArmed)
        return 1;
    const int64_t now = CurrentFrame();
    m_rate = rate;
    m_startNs = m_clock.NowNs() - static_cast<int64_t>(static_cast<double>(now) * 1e9 / rate);
    return 0;
}

int CSimCard::GetRateList(std::vector<double>* rates) {
    if (!rates)
        return 1;
    rates->clear();
    for (double rate : {100.0, 1000.0, 10000.0, 50000.0, 100000.0, 200000.0}) {
        if (rate * m_channels <= kMaxAggregateRate)
            rates->push_back(rate);
    }
    return 0;
}

int CSimCard::GetRateRange(double* minimum, double* maximum) {
    if (!minimum || !maximum)
        return 1;
    *minimum = kMinRate;
    *maximum = kMaxAggregateRate / m_channels;
    return 0;
}

int CSimCard::GetTriggerTypes(int* mask) {
    if (!mask)
        return 1;
    *mask = 1 << kTriggerRisingEdge;
    return 0;
}

int CSimCard::GetPointsPerFrame(int* points) {
    if (!points)
        return 1;
    *points = 1;
    return 0;
}

int CSimCard::GetMaxFrames(int* count) {
    if (!count)
        return 1;
    *count = m_capacity;
    return 0;
}

int CSimCard::SetMaxFrames(int count) {
    if (int refused = m_script.Enter("SetMaxFrames"))
        return refused;
    Advance();
    if (count < 1 || m_mode == kModeArmed)
        return 1;
    m_capacity = std::min(count, m_bufferScans);
    return 0;
}

int CSimCard::GetTotalFrames(int* count) {
    if (!count)
        return 1;
    *count = m_bufferScans;
    return 0;
}

int CSimCard::GetMemoryBytes(int64_t* total, int64_t* used) {
    if (!total || !used)
        return 1;
    Advance();
    const int64_t scanBytes = static_cast<int64_t>(m_channels) * 2 * sizeof(double);
    *total = m_capacity * scanBytes;
    *used = static_cast<int64_t>(m_held.size()) * scanBytes;
    return 0;
}

int CSimCard::GetChannelCount(int* channels) {
    if (!channels)
        return 1;
    *channels = m_channels;
    return 0;
}

int CSimCard::StartAcquisition() {
    if (int refused = m_script.Enter("StartAcquisition"))
        return refused;
    m_acquiring = true;
    return SetMode(kModeLive);
}

int CSimCard::StopAcquisition() {
    if (int refused = m_script.Enter("StopAcquisition"))
        return refused;
    m_acquiring = false;
    return SetMode(kModeIdle);
}

int CSimCard::SetAcquisitionParams(double scanRate, int scans) {
    if (scans < 1)
        return 1;
    if (int result = SetRecordRate(scanRate))
        return result;
    m_capacity = scans;
    m_bufferScans = std::max(m_bufferScans, scans);
    return 0;
}

int CSimCard::ReadSamples(int64_t first, int scans, std::vector<double>* values) {
    if (!values || first < 0 || scans < 0)
        return 1;
    Advance();
    values->clear();
    const bool held = m_mode == kModeStopped;
    if (held && first + scans > static_cast<int64_t>(m_held.size()))
        return 1;
    if (!held && first + scans > CurrentFrame() + 1)
        return 1;
    values->reserve(static_cast<size_t>(scans) * m_channels * 2);
    for (int i = 0; i < scans; ++i) {
        const int64_t scan = held ? m_held[static_cast<size_t>(first + i)] : first + i;
        for (int c = 0; c < m_channels; ++c) {
            values->push_back(static_cast<double>(scan) / m_rate);
            values->push_back(Volts(c, scan));
        }
    }
    return 0;
}

int CSimCard::SetDac0(double volts) {
    if (int refused = m_script.Enter("SetDac0"))
        return refused;
    if (!(volts >= -10 && volts <= 10))
        return 1;
    // The new level shows from the next scan on.
    const int64_t from = CurrentFrame() + 1;
    while (m_dac.size() > 1 && m_dac.back().first >= from)
        m_dac.pop_back();
    m_dac.emplace_back(from, volts);
    return 0;
}
