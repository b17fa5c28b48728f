#include "tracking/records/TrackRegion.h"

#include "tracking/records/RecordFields.h"
#include "tracking/sectioned/LittleEndian.h"

namespace {

constexpr uint32_t kTypeWord = RecordTypeWord("TRGN");

}  // namespace

HRESULT CTrackRegion::GetRect(double* left, double* top, double* right, double* bottom) const {
    if (left)
        *left = m_rect.left;
    if (top)
        *top = m_rect.top;
    if (right)
        *right = m_rect.right;
    if (bottom)
        *bottom = m_rect.bottom;
    return S_OK;
}

HRESULT CTrackRegion::GetValue(size_t index, LONG* value) const {
    if (value)
        *value = m_values[index];
    return S_OK;
}

HRESULT CTrackRegion::SetValue(size_t index, LONG value) {
    m_values[index] = value;
    return S_OK;
}

HRESULT CTrackRegion::CopyFrom(const CTrackRegion& source) {
    double l = 0;
    double t = 0;
    double r = 0;
    double b = 0;
    source.GetRect(&l, &t, &r, &b);
    std::array<LONG, 11> values{};
    source.GetValue1(&values[0]);
    source.GetValue2(&values[1]);
    source.GetValue3(&values[2]);
    source.GetValue4(&values[3]);
    source.GetValue5(&values[4]);
    source.GetValue6(&values[5]);
    source.GetValue7(&values[6]);
    source.GetValue8(&values[7]);
    source.GetValue9(&values[8]);
    source.GetValue10(&values[9]);
    source.GetValue11(&values[10]);
    SetRect(l, t, r, b);
    SetValue1(values[0]);
    SetValue2(values[1]);
    SetValue3(values[2]);
    SetValue4(values[3]);
    SetValue5(values[4]);
    SetValue6(values[5]);
    SetValue7(values[6]);
    SetValue8(values[7]);
    SetValue9(values[8]);
    SetValue10(values[9]);
    SetValue11(values[10]);
    return S_OK;
}

HRESULT CTrackRegion::SetRect(double left, double top, double right, double bottom) {
    m_rect.SetRect(TruncateToInt32(left), TruncateToInt32(top), TruncateToInt32(right),
                   TruncateToInt32(bottom));
    return S_OK;
}

bool CTrackRegion::operator==(const CTrackRegion& other) const {
    return m_rect == other.m_rect && m_values == other.m_values;
}

void CTrackRegion::StoreRecord(std::span<uint8_t, kRecordSize> record) const {
    uint8_t* p = record.data();
    PutUInt32(p, kTypeWord);
    PutInt32(p + 4, m_rect.left);
    PutInt32(p + 8, m_rect.top);
    PutInt32(p + 12, m_rect.right);
    PutInt32(p + 16, m_rect.bottom);
    for (size_t i = 0; i < m_values.size(); ++i)
        PutInt32(p + 20 + 4 * i, m_values[i]);
}

void CTrackRegion::LoadRecord(std::span<const uint8_t, kRecordSize> record) {
    const uint8_t* p = record.data();
    m_rect.SetRect(GetInt32(p + 4), GetInt32(p + 8), GetInt32(p + 12), GetInt32(p + 16));
    for (size_t i = 0; i < m_values.size(); ++i)
        m_values[i] = GetInt32(p + 20 + 4 * i);
}
