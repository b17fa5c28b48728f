#include "sensordata/model/VidraData.h"

#include "platform/framework/Archive.h"
#include "platform/framework/InvalidArgException.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

IMPLEMENT_SERIAL(CVidraData, CObject, 1)

namespace {

std::atomic<int32_t> s_lastDataId{0};

constexpr int32_t kColorCycle[6] = {0x00FF00, 0x0000FF, 0x00FFFF, 0xFFFF00, 0xFF00FF, 0xFF0000};
constexpr size_t kCopyChunk = 1 << 16;  // Floats converted or written at a time.
constexpr DWORD kMaxStrings = CVidraData::kChannelSlots;

[[noreturn]] void ThrowBadFile() {
    throw CArchiveException(CArchiveException::genericException);
}

uint32_t SwapIfBig(uint32_t v) {
    if constexpr (std::endian::native == std::endian::big)
        return ((v & 0xFF) << 24) | ((v & 0xFF00) << 8) | ((v >> 8) & 0xFF00) | (v >> 24);
    return v;
}

void WriteFloats(CArchive& ar, const std::vector<float>& samples) {
    if constexpr (std::endian::native == std::endian::little) {
        for (size_t at = 0; at < samples.size(); at += kCopyChunk) {
            const size_t n = std::min(kCopyChunk, samples.size() - at);
            ar.Write(samples.data() + at, static_cast<UINT>(n * sizeof(float)));
        }
    } else {
        for (float f : samples)
            ar << f;
    }
}

// Reads n floats; the caller has checked that the file can hold them.
void ReadFloats(CArchive& ar, std::vector<float>& samples, size_t n) {
    samples.resize(n);
    for (size_t at = 0; at < n; at += kCopyChunk) {
        const size_t count = std::min(kCopyChunk, n - at);
        const UINT bytes = static_cast<UINT>(count * sizeof(float));
        if (ar.Read(samples.data() + at, bytes) != bytes)
            throw CArchiveException(CArchiveException::endOfFile);
        if constexpr (std::endian::native == std::endian::big) {
            for (size_t i = at; i < at + count; ++i) {
                uint32_t v;
                std::memcpy(&v, &samples[i], 4);
                v = SwapIfBig(v);
                std::memcpy(&samples[i], &v, 4);
            }
        }
    }
}

void ReadStrings(CArchive& ar, std::vector<QString>& strings) {
    const DWORD count = ar.ReadCount();
    if (count > kMaxStrings)
        ThrowBadFile();
    strings.assign(CVidraData::kChannelSlots, QString());
    for (DWORD i = 0; i < count; ++i)
        ar >> strings[i];
}

void WriteStrings(CArchive& ar, const std::vector<QString>& strings) {
    ar.WriteCount(static_cast<DWORD>(strings.size()));
    for (const QString& s : strings)
        ar << s;
}

int TruncateToInt(double v) {
    if (!(v == v))
        return 0;
    v = std::clamp(v, double(std::numeric_limits<int>::min()),
                   double(std::numeric_limits<int>::max()));
    return static_cast<int>(v);
}

}  // namespace

CVidraData::CVidraData() : m_nDataId(++s_lastDataId) {
    Reset();
}

int32_t CVidraData::DefaultPlotColor(int channel) {
    return kColorCycle[((channel % 6) + 6) % 6];
}

void CVidraData::Reset() {
    m_nLiveCopy = 0;
    m_channels.clear();
    m_onFlags.fill(0);
    m_nFrameCount = m_nScanRate = m_nScansPerFrame = m_nTP = m_nZP = 0;
    m_nSecondOrigin = m_nSecondOriginExtra = m_nScaled = 0;
    m_factors.fill(1.0f);
    m_offsets.fill(0.0f);
    m_labels.assign(kChannelSlots, QString());
    m_units.assign(kChannelSlots, QString());
    for (int i = 0; i < kChannelSlots; ++i)
        m_colors[i] = DefaultPlotColor(i);
    m_nSpare = 0;
    m_nTotalScans = 0;
}

void CVidraData::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        StoreTo(ar);
    else
        LoadFrom(ar);
}

void CVidraData::StoreTo(CArchive& ar) const {
    ar.WriteCount(1);
    ar << static_cast<int>(m_channels.size());
    for (const std::vector<float>& samples : m_channels) {
        ar.WriteCount(static_cast<DWORD>(samples.size()));
        WriteFloats(ar, samples);
    }
    for (int32_t on : m_onFlags)
        ar << on;
    ar << m_nFrameCount << m_nScanRate << m_nScansPerFrame << m_nTP << m_nZP << m_nScaled;
    for (float f : m_factors)
        ar << f;
    for (float f : m_offsets)
        ar << f;
    WriteStrings(ar, m_labels);
    WriteStrings(ar, m_units);
    // Without a stored array no scan is held: the reader refuses a count nothing backs.
    ar << kFileMarker << m_nSpare << (m_channels.empty() ? 0 : m_nTotalScans);
    ar << m_nSecondOrigin << m_nSecondOriginExtra;
    for (int32_t c : m_colors)
        ar << c;
}

void CVidraData::LoadFrom(CArchive& ar) {
    const uint64_t fileBytes = ar.GetFile() ? ar.GetFile()->GetLength() : 0;
    if (ar.ReadCount() < 1)
        throw CFileException(CFileException::none);
    int32_t stored = 0;
    ar >> stored;
    if (stored < 0 || stored > kChannelSlots)
        ThrowBadFile();
    std::vector<std::vector<float>> channels(static_cast<size_t>(stored));
    for (std::vector<float>& samples : channels) {
        const DWORD n = ar.ReadCount();
        // Nothing is allocated for more samples than the whole file could hold.
        if (uint64_t{n} * sizeof(float) > fileBytes)
            throw CArchiveException(CArchiveException::endOfFile);
        ReadFloats(ar, samples, n);
    }
    std::array<int32_t, kChannelSlots> onFlags{};
    for (int32_t& on : onFlags)
        ar >> on;
    int32_t header[6];
    for (int32_t& v : header)
        ar >> v;
    std::array<float, kChannelSlots> factors{};
    std::array<float, kChannelSlots> offsets{};
    for (float& f : factors)
        ar >> f;
    for (float& f : offsets)
        ar >> f;
    std::vector<QString> labels;
    std::vector<QString> units;
    ReadStrings(ar, labels);
    ReadStrings(ar, units);
    int32_t marker = 0;
    int32_t spare = 0;
    int32_t totalScans = 0;
    ar >> marker >> spare >> totalScans;
    int32_t secondOrigin = m_nSecondOrigin;
    int32_t secondOriginExtra = m_nSecondOriginExtra;
    std::array<int32_t, kChannelSlots> colors = m_colors;
    if (marker <= -2)
        ar >> secondOrigin >> secondOriginExtra;
    if (marker <= -3) {
        for (int32_t& c : colors)
            ar >> c;
    }

    const int on = static_cast<int>(
        std::count_if(onFlags.begin(), onFlags.end(), [](int32_t f) { return f != 0; }));
    // The total is the length of the stored arrays: a count that no array backs is damage,
    // whatever the file claims.
    if (on != stored || totalScans < 0 || (stored == 0 && totalScans != 0))
        ThrowBadFile();
    for (const std::vector<float>& samples : channels) {
        if (samples.size() != static_cast<size_t>(totalScans))
            ThrowBadFile();
    }

    m_channels = std::move(channels);
    m_onFlags = onFlags;
    m_nFrameCount = header[0];
    m_nScanRate = header[1];
    m_nScansPerFrame = header[2];
    m_nTP = header[3];
    m_nZP = header[4];
    m_nScaled = header[5];
    m_factors = factors;
    m_offsets = offsets;
    m_labels = std::move(labels);
    m_units = std::move(units);
    m_nSpare = spare;
    m_nTotalScans = totalScans;
    m_nSecondOrigin = secondOrigin;
    m_nSecondOriginExtra = secondOriginExtra;
    m_colors = colors;
}

int CVidraData::GetActiveChannelCount() const {
    return static_cast<int>(
        std::count_if(m_onFlags.begin(), m_onFlags.end(), [](int32_t f) { return f != 0; }));
}

int CVidraData::GetStoredLength() const {
    return m_channels.empty() ? 0 : static_cast<int>(m_channels.front().size());
}

size_t CVidraData::GetPlottedScans() const {
    size_t longest = 0;
    for (const std::vector<float>& samples : m_channels)
        longest = std::max(longest, samples.size());
    return std::min(longest, static_cast<size_t>(std::max(0, m_nTotalScans)));
}

void CVidraData::GetTimeAxis(std::span<float> out) const {
    const double step = 1.0 / SafeScanRate();
    for (size_t s = 0; s < out.size(); ++s)
        out[s] = static_cast<float>((double(s) - m_nZP) * step);
}

void CVidraData::GetTimeAxisSecondOrigin(std::span<float> out) const {
    const double step = 1.0 / SafeScanRate();
    for (size_t s = 0; s < out.size(); ++s)
        out[s] = static_cast<float>((double(s) - m_nSecondOrigin) * step);
}

void CVidraData::GetIndexAxis(std::span<float> out) const {
    for (size_t s = 0; s < out.size(); ++s)
        out[s] = static_cast<float>(double(s) - m_nZP);
}

void CVidraData::GetIndexAxisSecondOrigin(std::span<float> out) const {
    for (size_t s = 0; s < out.size(); ++s)
        out[s] = static_cast<float>(double(s) - m_nSecondOrigin);
}

int CVidraData::XToScan(float x, bool timeAxis) const {
    return XToScanFrom(x, timeAxis, m_nZP);
}

int CVidraData::XToScanSecondOrigin(float x, bool timeAxis) const {
    return XToScanFrom(x, timeAxis, m_nSecondOrigin);
}

int CVidraData::XToScanFrom(float x, bool timeAxis, int origin) const {
    const int n = m_nTotalScans;
    if (n < 2)
        return 0;
    double lo = -double(origin);
    double hi = double(n) - origin - 1;
    if (timeAxis) {
        const double step = 1.0 / SafeScanRate();
        lo *= step;
        hi *= step;
    }
    return TruncateToInt((x - lo) / (hi - lo) * (n - 1));
}

double CVidraData::GetScaledValue(float sample, int channel) const {
    if (channel < 0 || channel >= kChannelSlots)
        AfxThrowInvalidArgException();
    return double(sample) * m_factors[channel] + m_offsets[channel];
}

const std::vector<float>* CVidraData::ChannelSamples(int channel) const {
    if (channel < 0 || channel >= kChannelSlots || !m_onFlags[channel])
        return nullptr;
    size_t k = 0;
    for (int c = 0; c < channel; ++c)
        k += m_onFlags[c] ? 1 : 0;
    return k < m_channels.size() ? &m_channels[k] : nullptr;
}

std::vector<float>* CVidraData::ChannelSamples(int channel) {
    return const_cast<std::vector<float>*>(std::as_const(*this).ChannelSamples(channel));
}

void CVidraData::GetScaledSamples(double* out, int channel) const {
    if (channel >= 0) {
        const std::vector<float>* samples = ChannelSamples(channel);
        if (!samples)
            AfxThrowInvalidArgException();
        const double factor = m_factors[channel];
        const double offset = m_offsets[channel];
        for (size_t s = 0; s < samples->size(); ++s)
            out[s] = (*samples)[s] * factor + offset;
        return;
    }
    const size_t length = static_cast<size_t>(GetStoredLength());
    const size_t m = m_channels.size();
    size_t k = 0;
    for (int c = 0; c < kChannelSlots && k < m; ++c) {
        if (!m_onFlags[c])
            continue;
        const std::vector<float>& samples = m_channels[k];
        const double factor = m_factors[c];
        const double offset = m_offsets[c];
        for (size_t s = 0; s < length; ++s)
            out[s * m + k] = (s < samples.size() ? samples[s] : 0.0f) * factor + offset;
        ++k;
    }
}

void CVidraData::CopyRange(CVidraData& target, int first, int last) const {
    // last is the end of the range: a range that runs to the end takes the final scan too.
    first = std::max(first, 0);
    last = std::min(last, m_nTotalScans);
    const int count = std::max(last - first, 0);
    target.m_onFlags = m_onFlags;
    target.m_nTotalScans = count;
    target.m_nFrameCount = count / SafeScansPerFrame() + 1;
    target.m_nScanRate = m_nScanRate;
    target.m_nScansPerFrame = m_nScansPerFrame;
    target.m_nTP = m_nTP - first;
    target.m_nZP = m_nZP - first;
    target.m_nSecondOrigin = m_nSecondOrigin - first;
    target.m_nSecondOriginExtra = m_nSecondOriginExtra;
    target.m_channels.assign(static_cast<size_t>(GetActiveChannelCount()), {});
    for (size_t k = 0; k < target.m_channels.size(); ++k) {
        std::vector<float>& out = target.m_channels[k];
        out.assign(static_cast<size_t>(count), 0.0f);
        if (k >= m_channels.size())
            continue;
        const std::vector<float>& in = m_channels[k];
        const size_t from = static_cast<size_t>(first);
        if (from < in.size()) {
            const size_t n = std::min(in.size() - from, out.size());
            std::copy_n(in.begin() + static_cast<std::ptrdiff_t>(from), n, out.begin());
        }
    }
    target.m_factors = m_factors;
    target.m_offsets = m_offsets;
    target.m_labels = m_labels;
    target.m_units = m_units;
    target.m_colors = m_colors;
}

void CVidraData::Copy(const CVidraData& source) {
    const int32_t liveCopy = m_nLiveCopy;
    *this = source;
    m_nLiveCopy = liveCopy;
    const size_t length = static_cast<size_t>(source.GetStoredLength());
    for (std::vector<float>& samples : m_channels)
        samples.resize(length, 0.0f);
}
