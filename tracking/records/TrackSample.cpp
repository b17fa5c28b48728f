#include "tracking/records/TrackSample.h"

#include "tracking/records/RecordFields.h"
#include "tracking/sectioned/LittleEndian.h"

#include <algorithm>

namespace {

constexpr uint32_t kTypeWord = RecordTypeWord("TSMP");

// The fields lie at their natural alignment; the bytes after Flag6 are reserved, written as
// zero and not read.
constexpr size_t kEnabledOffset = 4;
constexpr size_t kValueOffsets[7] = {8, 16, 24, 32, 48, 56, 72};  // Value1 .. Value7.
constexpr size_t kCountOffset = 40;
constexpr size_t kFlagOffsets[6] = {44, 64, 65, 66, 80, 81};  // Flag1 .. Flag6.

}  // namespace

HRESULT CTrackSample::GetEnabled(BYTE* value) const {
    if (value)
        *value = m_enabled;
    return S_OK;
}

HRESULT CTrackSample::GetCount(LONG* value) const {
    if (value)
        *value = m_count;
    return S_OK;
}

HRESULT CTrackSample::GetFlag5(BOOL* value) const {
    if (value)
        *value = m_flags[4];
    return S_OK;
}

HRESULT CTrackSample::GetFlag6(BOOL* value) const {
    if (value)
        *value = m_flags[5];
    return S_OK;
}

HRESULT CTrackSample::GetValue(size_t index, double* value) const {
    if (value)
        *value = m_values[index];
    return S_OK;
}

HRESULT CTrackSample::SetValue(size_t index, double value) {
    m_values[index] = value;
    return S_OK;
}

HRESULT CTrackSample::GetFlag(size_t index, BYTE* value) const {
    if (value)
        *value = m_flags[index];
    return S_OK;
}

HRESULT CTrackSample::SetFlag(size_t index, BYTE value) {
    m_flags[index] = value;
    return S_OK;
}

HRESULT CTrackSample::SetEnabled(BYTE value) {
    m_enabled = value;
    return S_OK;
}

HRESULT CTrackSample::SetCount(LONG value) {
    m_count = value;
    return S_OK;
}

HRESULT CTrackSample::CopyFrom(const CTrackSample& source) {
    BYTE enabled = 0;
    std::array<double, 7> values{};
    LONG count = 0;
    std::array<BYTE, 4> flags{};
    BOOL flag5 = 0;
    BOOL flag6 = 0;
    source.GetEnabled(&enabled);
    source.GetValue1(&values[0]);
    source.GetValue2(&values[1]);
    source.GetValue3(&values[2]);
    source.GetValue4(&values[3]);
    source.GetCount(&count);
    source.GetFlag1(&flags[0]);
    source.GetValue5(&values[4]);
    source.GetValue6(&values[5]);
    source.GetFlag2(&flags[1]);
    source.GetFlag3(&flags[2]);
    source.GetFlag4(&flags[3]);
    source.GetValue7(&values[6]);
    source.GetFlag5(&flag5);
    source.GetFlag6(&flag6);
    SetEnabled(enabled);
    SetValue1(values[0]);
    SetValue2(values[1]);
    SetValue3(values[2]);
    SetValue4(values[3]);
    SetCount(count);
    SetFlag1(flags[0]);
    SetValue5(values[4]);
    SetValue6(values[5]);
    SetFlag2(flags[1]);
    SetFlag3(flags[2]);
    SetFlag4(flags[3]);
    SetValue7(values[6]);
    SetFlag5(static_cast<BYTE>(flag5));
    SetFlag6(static_cast<BYTE>(flag6));
    return S_OK;
}

bool CTrackSample::operator==(const CTrackSample& other) const {
    return m_enabled == other.m_enabled && m_values == other.m_values && m_count == other.m_count &&
           m_flags == other.m_flags;
}

void CTrackSample::StoreRecord(std::span<uint8_t, kRecordSize> record) const {
    uint8_t* p = record.data();
    std::fill(record.begin(), record.end(), uint8_t{0});
    PutUInt32(p, kTypeWord);
    p[kEnabledOffset] = m_enabled;
    for (size_t i = 0; i < m_values.size(); ++i)
        PutDouble(p + kValueOffsets[i], m_values[i]);
    PutInt32(p + kCountOffset, m_count);
    for (size_t i = 0; i < m_flags.size(); ++i)
        p[kFlagOffsets[i]] = m_flags[i];
}

void CTrackSample::LoadRecord(std::span<const uint8_t, kRecordSize> record) {
    const uint8_t* p = record.data();
    m_enabled = p[kEnabledOffset];
    for (size_t i = 0; i < m_values.size(); ++i)
        m_values[i] = GetDouble(p + kValueOffsets[i]);
    m_count = GetInt32(p + kCountOffset);
    for (size_t i = 0; i < m_flags.size(); ++i)
        m_flags[i] = p[kFlagOffsets[i]];
}
