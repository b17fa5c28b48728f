#include "frames/lutparams/LutParamSet.h"

#include "platform/wintypes/Assert.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

#if RM_LUT_REFCOUNTED
constexpr int kCountOffset = 4;
constexpr int kFieldsOffset = 8;  // label; the per-channel block follows at +12
constexpr int kGammaOffset = 48;  // after 4 bytes of padding behind the contrasts
#else
constexpr int kFieldsOffset = 4;
constexpr int kGammaOffset = 40;
#endif
constexpr int kBrightnessOffset = kFieldsOffset + 12;
constexpr int kContrastOffset = kBrightnessOffset + 12;
constexpr int kExpLogOffset = kGammaOffset + 24;
constexpr int kReverseOffset = kExpLogOffset + 12;
constexpr int kColor2BWOffset = kReverseOffset + 12;
constexpr int kScaleOffset = kColor2BWOffset + 4;
static_assert(kScaleOffset + 4 == CLutParamSet::kRecordBytes);

void PutInt(BYTE* p, int offset, LONG value) {
    const auto u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        p[offset + i] = static_cast<BYTE>(u >> (8 * i));
}

LONG GetInt(const BYTE* p, int offset) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<uint32_t>(p[offset + i]) << (8 * i);
    return static_cast<LONG>(u);
}

void PutDouble(BYTE* p, int offset, double value) {
    const auto u = std::bit_cast<uint64_t>(value);
    for (int i = 0; i < 8; ++i)
        p[offset + i] = static_cast<BYTE>(u >> (8 * i));
}

double GetDouble(const BYTE* p, int offset) {
    uint64_t u = 0;
    for (int i = 0; i < 8; ++i)
        u |= static_cast<uint64_t>(p[offset + i]) << (8 * i);
    return std::bit_cast<double>(u);
}

BYTE ClampScale(LONG value) {
    return static_cast<BYTE>(std::clamp<LONG>(value, 0, 255));
}

}  // namespace

CLutParamSet::CLutParamSet() = default;

CLutParamSet::CLutParamSet(const CLutParamSet& other) {
    CopyValues(other);
}

CLutParamSet& CLutParamSet::operator=(const CLutParamSet& other) {
    if (this != &other)
        CopyValues(other);
    return *this;
}

void CLutParamSet::CopyValues(const CLutParamSet& other) {
    m_label = other.m_label;
    m_type1 = other.m_type1;
    m_reserved = other.m_reserved;
    std::copy_n(other.m_brightness, kChannels, m_brightness);
    std::copy_n(other.m_contrast, kChannels, m_contrast);
    std::copy_n(other.m_gamma, kChannels, m_gamma);
    std::copy_n(other.m_expLog, kChannels, m_expLog);
    std::copy_n(other.m_reverse, kChannels, m_reverse);
    m_color2BW = other.m_color2BW;
    m_blueScale = other.m_blueScale;
    m_greenScale = other.m_greenScale;
    m_redScale = other.m_redScale;
}

#if RM_LUT_REFCOUNTED
LONG CLutParamSet::AddRef() {
    return ++m_refCount;
}

LONG CLutParamSet::Release() {
    if (!RM_ASSERT(m_refCount > 0))
        return 0;
    if (--m_refCount == 0) {
        delete this;
        return 0;
    }
    return m_refCount;
}
#else
LONG CLutParamSet::AddRef() {
    return 0;
}

LONG CLutParamSet::Release() {
    return 0;
}
#endif

HRESULT CLutParamSet::SetDefaults() {
    for (int c = 0; c < kChannels; ++c) {
        m_brightness[c] = 0;
        m_contrast[c] = 0;
        m_gamma[c] = 1.0;
        m_expLog[c] = 0;
        m_reverse[c] = 0;
    }
    m_color2BW = 0;
    m_blueScale = m_greenScale = m_redScale = 255;
    return S_OK;
}

HRESULT CLutParamSet::CopyFrom(CLutParamSet* source) {
    if (!source)
        return E_POINTER;
    LONG channels = 0;
    const HRESULT hr = source->GetNumberChannels(&channels);
    if (FAILED(hr))
        return hr;
    // Getter errors are ignored: a value that cannot be read leaves ours as it was.
    for (LONG c = 0; c < channels && c < kChannels; ++c) {
        LONG value = 0;
        double gamma = 1.0;
        if (SUCCEEDED(source->GetBrightness(c, &value)))
            SetBrightness(c, value);
        if (SUCCEEDED(source->GetContrast(c, &value)))
            SetContrast(c, value);
        if (SUCCEEDED(source->GetExpLog(c, &value)))
            SetExpLog(c, value);
        if (SUCCEEDED(source->GetGamma(c, &gamma)))
            SetGamma(c, gamma);
        if (SUCCEEDED(source->GetReverse(c, &value)))
            SetReverse(c, value);
    }
    LONG value = 0;
    if (SUCCEEDED(source->GetLabel(&value)))
        SetLabel(value);
    if (SUCCEEDED(source->GetColor2BW(&value)))
        SetColor2BW(value);
    LONG red = 255, green = 255, blue = 255;
    if (SUCCEEDED(source->GetRGBScale(&red, &green, &blue)))
        SetRGBScale(red, green, blue);
    if (SUCCEEDED(source->GetType1(&value)))
        SetType1(value);
    return S_OK;
}

HRESULT CLutParamSet::IsEqualTo(CLutParamSet* other, BYTE* equal) {
    if (!other || !equal)
        return E_POINTER;
    CLutParamSet copy;
    copy.CopyFrom(other);
    *equal = Equals(copy) ? 1 : 0;
    return S_OK;
}

HRESULT CLutParamSet::GetNumberChannels(LONG* count) {
    if (!count)
        return E_POINTER;
    *count = kChannels;
    return S_OK;
}

HRESULT CLutParamSet::CheckChannel(LONG channel) {
    LONG count = 0;
    const HRESULT hr = GetNumberChannels(&count);
    if (FAILED(hr))
        return hr;
    return channel < 0 || channel >= count ? E_FAIL : S_OK;
}

#define RM_LUT_CHANNEL_ACCESS(Name, Type, member)                \
    HRESULT CLutParamSet::Get##Name(LONG channel, Type* value) { \
        const HRESULT hr = CheckChannel(channel);                \
        if (FAILED(hr))                                          \
            return hr;                                           \
        if (!value)                                              \
            return E_POINTER;                                    \
        *value = member[channel];                                \
        return S_OK;                                             \
    }                                                            \
    HRESULT CLutParamSet::Set##Name(LONG channel, Type value) {  \
        const HRESULT hr = CheckChannel(channel);                \
        if (FAILED(hr))                                          \
            return hr;                                           \
        member[channel] = value;                                 \
        return S_OK;                                             \
    }

RM_LUT_CHANNEL_ACCESS(Brightness, LONG, m_brightness)
RM_LUT_CHANNEL_ACCESS(Contrast, LONG, m_contrast)
RM_LUT_CHANNEL_ACCESS(ExpLog, LONG, m_expLog)
RM_LUT_CHANNEL_ACCESS(Gamma, double, m_gamma)
RM_LUT_CHANNEL_ACCESS(Reverse, LONG, m_reverse)
#undef RM_LUT_CHANNEL_ACCESS

HRESULT CLutParamSet::GetLabel(LONG* value) {
    if (!value)
        return E_POINTER;
    *value = m_label;
    return S_OK;
}

HRESULT CLutParamSet::SetLabel(LONG value) {
    m_label = value;
    return S_OK;
}

HRESULT CLutParamSet::GetColor2BW(LONG* value) {
    if (!value)
        return E_POINTER;
    *value = m_color2BW;
    return S_OK;
}

HRESULT CLutParamSet::SetColor2BW(LONG value) {
    m_color2BW = value;
    return S_OK;
}

HRESULT CLutParamSet::GetRGBScale(LONG* red, LONG* green, LONG* blue) {
    if (!red || !green || !blue)
        return E_POINTER;
    *red = m_redScale;
    *green = m_greenScale;
    *blue = m_blueScale;
    return S_OK;
}

HRESULT CLutParamSet::SetRGBScale(LONG red, LONG green, LONG blue) {
    m_redScale = ClampScale(red);
    m_greenScale = ClampScale(green);
    m_blueScale = ClampScale(blue);
    return S_OK;
}

HRESULT CLutParamSet::GetType1(LONG* value) {
    if (!value)
        return E_POINTER;
    *value = m_type1;
    return S_OK;
}

HRESULT CLutParamSet::SetType1(LONG value) {
    m_type1 = value;
    return S_OK;
}

bool CLutParamSet::Equals(const CLutParamSet& other) const {
    for (int c = 0; c < kChannels; ++c) {
        if (m_brightness[c] != other.m_brightness[c] || m_contrast[c] != other.m_contrast[c] ||
            m_gamma[c] != other.m_gamma[c] || m_expLog[c] != other.m_expLog[c] ||
            m_reverse[c] != other.m_reverse[c])
            return false;
    }
    return m_blueScale == other.m_blueScale && m_greenScale == other.m_greenScale &&
           m_redScale == other.m_redScale;
}

#if !RM_LUT_REFCOUNTED
bool CLutParamSet::operator==(const CLutParamSet& other) const {
    return Equals(other) && m_color2BW == other.m_color2BW;
}
#endif

void CLutParamSet::WriteRecord(BYTE* record) const {
    std::memset(record, 0, kRecordBytes);
#if RM_LUT_REFCOUNTED
    PutInt(record, kCountOffset, m_refCount);
#endif
    PutInt(record, kFieldsOffset, m_label);
    PutInt(record, kFieldsOffset + 4, m_type1);
    PutInt(record, kFieldsOffset + 8, m_reserved);
    for (int c = 0; c < kChannels; ++c) {
        PutInt(record, kBrightnessOffset + 4 * c, m_brightness[c]);
        PutInt(record, kContrastOffset + 4 * c, m_contrast[c]);
        PutDouble(record, kGammaOffset + 8 * c, m_gamma[c]);
        PutInt(record, kExpLogOffset + 4 * c, m_expLog[c]);
        PutInt(record, kReverseOffset + 4 * c, m_reverse[c]);
    }
    PutInt(record, kColor2BWOffset, m_color2BW);
    record[kScaleOffset] = m_blueScale;
    record[kScaleOffset + 1] = m_greenScale;
    record[kScaleOffset + 2] = m_redScale;
}

void CLutParamSet::ReadRecord(const BYTE* record) {
    m_label = GetInt(record, kFieldsOffset);
    m_type1 = GetInt(record, kFieldsOffset + 4);
    m_reserved = GetInt(record, kFieldsOffset + 8);
    for (int c = 0; c < kChannels; ++c) {
        m_brightness[c] = GetInt(record, kBrightnessOffset + 4 * c);
        m_contrast[c] = GetInt(record, kContrastOffset + 4 * c);
        m_gamma[c] = GetDouble(record, kGammaOffset + 8 * c);
        m_expLog[c] = GetInt(record, kExpLogOffset + 4 * c);
        m_reverse[c] = GetInt(record, kReverseOffset + 4 * c);
    }
    m_color2BW = GetInt(record, kColor2BWOffset);
    m_blueScale = record[kScaleOffset];
    m_greenScale = record[kScaleOffset + 1];
    m_redScale = record[kScaleOffset + 2];
}
