#pragma once

// CVidraData: one recording of analog sensor data. Up to 64 channels are sampled together at one
// scan rate; the stored channels are the channels that are on, in ascending channel order, and
// stored array k belongs to the k-th channel that is on. Scans are tied to video frames by the
// scans per frame and the zero point (the scan at time 0).
//
// Serialize is the binary data file (".mdat"); loading validates as it reads and throws a
// CArchiveException or CFileException on a file that breaks the model's invariants. It reads
// into locals and changes the object only once the whole file was read and found valid.

#include "platform/framework/Object.h"

#include <QString>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

class CVidraData : public CObject {
    DECLARE_SERIAL(CVidraData)

public:
    static constexpr int kChannelSlots = 64;
    // The version marker the writer puts after the units: second origin and colours follow.
    static constexpr int32_t kFileMarker = -3;

    // Takes the next data id of the process, then resets.
    CVidraData();
    // A copy with everything, the data id included; takes no new id.
    CVidraData(const CVidraData&) = default;
    CVidraData& operator=(const CVidraData&) = default;
    CVidraData(CVidraData&&) = default;
    CVidraData& operator=(CVidraData&&) = default;

    void Reset();
    // The plot colour a channel gets by default (0x00BBGGRR, cycling by channel mod 6).
    static int32_t DefaultPlotColor(int channel);
    void Serialize(CArchive& ar) override;

    int GetActiveChannelCount() const;
    const std::array<int32_t, kChannelSlots>& GetOnFlags() const { return m_onFlags; }
    int GetChannelSlotCount() const { return kChannelSlots; }
    // Samples per stored channel: the length of the first stored array, 0 without one.
    int GetStoredLength() const;
    // The scans a view of every stored array plots: the longest array's, no more than the
    // total; none without an array, whatever the total claims.
    size_t GetPlottedScans() const;

    // Guarded divisors: a scan rate or scans per frame below 1 counts as 1.
    int SafeScanRate() const { return m_nScanRate > 0 ? m_nScanRate : 1; }
    int SafeScansPerFrame() const { return m_nScansPerFrame > 0 ? m_nScansPerFrame : 1; }

    // Entry s of out, for every s it holds: (s - origin) / rate, or the plain offset s - origin.
    // The caller sizes out by the samples it shows.
    void GetTimeAxis(std::span<float> out) const;
    void GetTimeAxisSecondOrigin(std::span<float> out) const;
    void GetIndexAxis(std::span<float> out) const;
    void GetIndexAxisSecondOrigin(std::span<float> out) const;
    // The scan under a graph position x, the axis running from the first to the last scan
    // (in seconds when timeAxis is set). 0 with fewer than two scans.
    int XToScan(float x, bool timeAxis) const;
    int XToScanSecondOrigin(float x, bool timeAxis) const;

    // sample x factor + offset of the channel; throws CInvalidArgException outside 0..63.
    double GetScaledValue(float sample, int channel) const;
    // For a channel that is on: its stored-length samples scaled. For a negative channel: every
    // on channel interleaved scan by scan (out[s * m + k]). Throws CInvalidArgException for a
    // channel above 63 or one that is off.
    void GetScaledSamples(double* out, int channel) const;

    // Scans first .. last-1 into target (first raised to 0, last lowered to the total scans, so
    // a range past the end ends with the final scan); with last <= first the target gets the
    // header and empty arrays. The target's scaled flag and spare word stay as they are.
    void CopyRange(CVidraData& target, int first, int last) const;
    // Everything, the data id included, except the live-copy mark.
    void Copy(const CVidraData& source);

    // The stored array of a channel that is on, or nullptr.
    const std::vector<float>* ChannelSamples(int channel) const;
    std::vector<float>* ChannelSamples(int channel);

    int32_t m_nDataId = 0;
    int32_t m_nLiveCopy = 0;
    std::vector<std::vector<float>> m_channels;
    std::array<int32_t, kChannelSlots> m_onFlags{};
    int32_t m_nFrameCount = 0;
    int32_t m_nScanRate = 0;
    int32_t m_nScansPerFrame = 0;
    int32_t m_nTP = 0;
    int32_t m_nZP = 0;
    int32_t m_nSecondOrigin = 0;
    int32_t m_nSecondOriginExtra = 0;
    int32_t m_nScaled = 0;
    std::array<float, kChannelSlots> m_factors{};
    std::array<float, kChannelSlots> m_offsets{};
    std::vector<QString> m_labels;
    std::vector<QString> m_units;
    std::array<int32_t, kChannelSlots> m_colors{};
    int32_t m_nSpare = 0;
    int32_t m_nTotalScans = 0;

private:
    void StoreTo(CArchive& ar) const;
    void LoadFrom(CArchive& ar);
    int XToScanFrom(float x, bool timeAxis, int origin) const;
};
