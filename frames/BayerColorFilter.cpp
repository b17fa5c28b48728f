#include "frames/BayerColorFilter.h"

#include "platform/media/AviStreamFunctions.h"
#include "platform/wintypes/BitmapInfo.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr CBayerColorFilter::Matrix kPresets[2] = {
    {{281, -64, -26}, {-64, 256, -26}, {-64, -64, 717}},
    {{473, -102, -13}, {-26, 211, -51}, {-26, -90, 402}},
};
const char* const kPresetNames[2] = {"Factory Preset (Tungsten)", "Daylight"};

void CopyRow(float* to, const float* from) {
    std::copy(from, from + 3, to);
}

BYTE Correct(const float row[3], int r, int g, int b, int offset) {
    // Truncated toward zero, then shifted arithmetically: negative sums round down. Loaded
    // coefficients of any size keep the sum inside the integer range.
    const float exact = std::clamp(row[0] * r + row[1] * g + row[2] * b, -1e9f, 1e9f);
    const auto sum = static_cast<int32_t>(exact);
    return static_cast<BYTE>(std::clamp((sum >> 7) + offset, 0, 255));
}

}  // namespace

CBayerColorFilter::CBayerColorFilter(IAVIStream* inner, int width, int height)
    : m_inner(inner), m_width(width), m_height(height) {
    AVIStreamAddRef(m_inner);
    m_refCount = 1;
    std::memcpy(m_created, kPresets[0], sizeof m_created);
    std::memcpy(m_current, kPresets[0], sizeof m_current);
}

CBayerColorFilter::~CBayerColorFilter() {
    AVIStreamRelease(m_inner);
}

HRESULT CBayerColorFilter::Create(LPARAM param1, LPARAM param2) {
    return m_inner->Create(param1, param2);
}

HRESULT CBayerColorFilter::Info(AviStreamInfo* info, LONG size) {
    return m_inner->Info(info, size);
}

LONG CBayerColorFilter::FindSample(LONG position, LONG flags) {
    return m_inner->FindSample(position, flags);
}

HRESULT CBayerColorFilter::ReadFormat(LONG position, void* format, LONG* size) {
    if (!m_active)
        return m_inner->ReadFormat(position, format, size);
    if (!size)
        return AVIERR_BADPARAM;
    if (format && *size != 0) {
        if (*size < kBitmapInfoHeaderBytes)
            return AVIERR_BUFFERTOOSMALL;
        // The inner format is read into a buffer of the size it asks for; only its header is
        // taken over.
        LONG innerSize = 0;
        if (HRESULT r = m_inner->ReadFormat(position, nullptr, &innerSize); r != AVIERR_OK)
            return r;
        if (innerSize < kBitmapInfoHeaderBytes)
            return AVIERR_BADFORMAT;
        std::vector<BYTE> inner(static_cast<size_t>(innerSize));
        if (HRESULT r = m_inner->ReadFormat(position, inner.data(), &innerSize); r != AVIERR_OK)
            return r;
        BITMAPINFOHEADER header;
        std::memcpy(&header, inner.data(), sizeof header);
        header.biSize = kBitmapInfoHeaderBytes;
        header.biBitCount = 24;
        header.biClrUsed = 0;
        header.biClrImportant = 0;
        header.biCompression = BI_RGB;
        header.biSizeImage = DibRowBytes(m_width, 24) * static_cast<DWORD>(m_height);
        std::memcpy(format, &header, sizeof header);
    }
    *size = kBitmapInfoHeaderBytes;
    return AVIERR_OK;
}

HRESULT CBayerColorFilter::Read(LONG start, LONG samples, void* buffer, LONG bufferSize,
                                LONG* bytesRead, LONG* samplesRead) {
    if (!m_active)
        return m_inner->Read(start, samples, buffer, bufferSize, bytesRead, samplesRead);
    const auto rgbStride = static_cast<LONG>(DibRowBytes(m_width, 24));
    const LONG rgbBytes = rgbStride * m_height;
    if (buffer && bufferSize != 0) {
        if (bufferSize < rgbBytes)
            return AVIERR_BUFFERTOOSMALL;
        const auto monoStride = static_cast<LONG>(DibRowBytes(m_width, 8));
        m_mono.resize(static_cast<size_t>(monoStride) * m_height);
        LONG got = 0;
        if (HRESULT r = m_inner->Read(start, 1, m_mono.data(), static_cast<LONG>(m_mono.size()),
                                      &got, nullptr);
            r != AVIERR_OK)
            return r;
        // The inner stream may hand out unpadded rows; each layout is read as it comes.
        const LONG inStride = got == m_width * m_height ? m_width : monoStride;
        Demosaic(m_mono.data(), inStride, static_cast<BYTE*>(buffer), rgbStride);
        {
            std::lock_guard lock(m_lastMutex);
            const auto* out = static_cast<const BYTE*>(buffer);
            m_lastRgb.assign(out, out + rgbBytes);
            m_lastStride = rgbStride;
        }
        if (samplesRead)
            *samplesRead = 1;
    }
    if (bytesRead)
        *bytesRead = rgbBytes;
    return AVIERR_OK;
}

void CBayerColorFilter::Demosaic(const BYTE* mono, LONG monoStride, BYTE* rgb,
                                 LONG rgbStride) const {
    const int w = m_width;
    const int h = m_height;
    // The neighbour after the last column or row is the one before it; a frame of one column
    // or row has none before either and takes its own.
    auto next = [](int i, int n) { return i + 1 < n ? i + 1 : std::max(i - 1, 0); };
    for (int y = 0; y < h; ++y) {
        const BYTE* row = mono + static_cast<size_t>(y) * monoStride;
        const BYTE* below = mono + static_cast<size_t>(next(y, h)) * monoStride;
        BYTE* out = rgb + static_cast<size_t>(y) * rgbStride;
        for (int x = 0; x < w; ++x) {
            const int x1 = next(x, w);
            int r, g, b;
            if (y % 2 == 0 && x % 2 == 0) {  // blue site
                r = below[x1];
                g = row[x1];
                b = row[x];
            } else if (y % 2 == 0) {  // green on a blue row
                r = below[x];
                g = row[x];
                b = row[x1];
            } else if (x % 2 == 0) {  // green on a red row
                r = row[x1];
                g = row[x];
                b = below[x];
            } else {  // red site
                r = row[x];
                g = row[x1];
                b = below[x1];
            }
            out[3 * x] = Correct(m_current[2], r, g, b, m_offsets[2]);
            out[3 * x + 1] = Correct(m_current[1], r, g, b, m_offsets[1]);
            out[3 * x + 2] = Correct(m_current[0], r, g, b, m_offsets[0]);
        }
    }
}

void CBayerColorFilter::GetCoefficients(float r[3], float g[3], float b[3], int which) const {
    const Matrix& m = which == 0 ? m_current : m_created;
    CopyRow(r, m[0]);
    CopyRow(g, m[1]);
    CopyRow(b, m[2]);
}

void CBayerColorFilter::SetCoefficients(const float r[3], const float g[3], const float b[3]) {
    CopyRow(m_current[0], r);
    CopyRow(m_current[1], g);
    CopyRow(m_current[2], b);
    m_changed = true;
}

void CBayerColorFilter::SetActive(bool active) {
    if (active != m_active)
        m_changed = true;
    m_active = active;
}

bool CBayerColorFilter::RegionMeans(const CRect& region, int means[3]) const {
    std::lock_guard lock(m_lastMutex);
    const int left = std::clamp(std::min(region.left, region.right), 0, m_width);
    const int right = std::clamp(std::max(region.left, region.right), 0, m_width);
    const int top = std::clamp(std::min(region.top, region.bottom), 0, m_height);
    const int bottom = std::clamp(std::max(region.top, region.bottom), 0, m_height);
    if (m_lastRgb.empty() || left >= right || top >= bottom)
        return false;
    double sums[3] = {0, 0, 0};
    for (int y = top; y < bottom; ++y) {
        const int row = m_bottomUp ? m_height - 1 - y : y;
        for (int x = left; x < right; ++x)
            for (int c = 0; c < 3; ++c)
                sums[c] += m_lastRgb[static_cast<size_t>(row) * m_lastStride + 3 * x + c];
    }
    const double count = double(right - left) * (bottom - top);
    for (int c = 0; c < 3; ++c)
        means[c] = static_cast<int>(std::lround(sums[c] / count));
    return true;
}

IAVIStream* CreateBayerColorFilter(IAVIStream* inner, int width, int height, const float* r,
                                   const float* g, const float* b) {
    if (!inner || width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF)
        return nullptr;
    auto* filter = new CBayerColorFilter(inner, width, height);
    const float* rows[3] = {r, g, b};
    for (int i = 0; i < 3; ++i)
        if (rows[i])
            CopyRow(filter->m_created[i], rows[i]);
    std::memcpy(filter->m_current, filter->m_created, sizeof filter->m_current);
    LONG size = 0;
    if (AVIStreamReadFormat(inner, 0, nullptr, &size) == AVIERR_OK &&
        size >= kBitmapInfoHeaderBytes) {
        std::vector<BYTE> format(static_cast<size_t>(size));
        BITMAPINFOHEADER header;
        if (AVIStreamReadFormat(inner, 0, format.data(), &size) == AVIERR_OK) {
            std::memcpy(&header, format.data(), sizeof header);
            filter->m_bottomUp = header.biHeight > 0;
        }
    }
    return filter;
}

CBayerColorFilter* AsBayerColorFilter(IAVIStream* stream) {
    return dynamic_cast<CBayerColorFilter*>(stream);
}

int GetBayerPreset(int number, QString* name, float r[3], float g[3], float b[3]) {
    if (number < 0 || number > 1)
        return 0;
    if (name)
        *name = QString::fromLatin1(kPresetNames[number]);
    CopyRow(r, kPresets[number][0]);
    CopyRow(g, kPresets[number][1]);
    CopyRow(b, kPresets[number][2]);
    return 1;
}
