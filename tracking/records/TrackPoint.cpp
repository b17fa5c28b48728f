#include "tracking/records/TrackPoint.h"

#include "tracking/records/RecordFields.h"
#include "tracking/sectioned/LittleEndian.h"

namespace {

constexpr uint32_t kTypeWord = RecordTypeWord("TPNT");

HRESULT GetWord(int32_t word, LONG* value) {
    if (value)
        *value = word;
    return S_OK;
}

}  // namespace

HRESULT CTrackPoint::GetPosition(double* x, double* y) const {
    if (x)
        *x = m_x;
    if (y)
        *y = m_y;
    return S_OK;
}

HRESULT CTrackPoint::GetWord1(LONG* value) const {
    return GetWord(m_words[0], value);
}

HRESULT CTrackPoint::GetWord2(LONG* value) const {
    return GetWord(m_words[1], value);
}

HRESULT CTrackPoint::GetWord3(LONG* value) const {
    return GetWord(m_words[2], value);
}

HRESULT CTrackPoint::GetWord4(LONG* value) const {
    return GetWord(m_words[3], value);
}

HRESULT CTrackPoint::CopyFrom(const CTrackPoint& source) {
    double x = 0;
    double y = 0;
    LONG words[4] = {};
    source.GetPosition(&x, &y);
    source.GetWord1(&words[0]);
    source.GetWord2(&words[1]);
    source.GetWord3(&words[2]);
    source.GetWord4(&words[3]);
    SetPosition(x, y);
    SetWord1(words[0]);
    SetWord2(words[1]);
    SetWord3(words[2]);
    SetWord4(words[3]);
    return S_OK;
}

HRESULT CTrackPoint::SetPosition(double x, double y) {
    m_x = TruncateToInt32(x);
    m_y = TruncateToInt32(y);
    return S_OK;
}

HRESULT CTrackPoint::SetWord1(LONG value) {
    m_words[0] = value;
    return S_OK;
}

HRESULT CTrackPoint::SetWord2(LONG value) {
    m_words[1] = value;
    return S_OK;
}

HRESULT CTrackPoint::SetWord3(LONG value) {
    m_words[2] = value;
    return S_OK;
}

HRESULT CTrackPoint::SetWord4(LONG value) {
    m_words[3] = value;
    return S_OK;
}

bool CTrackPoint::operator==(const CTrackPoint& other) const {
    return m_x == other.m_x && m_y == other.m_y && m_words == other.m_words;
}

void CTrackPoint::StoreRecord(std::span<uint8_t, kRecordSize> record) const {
    uint8_t* p = record.data();
    PutUInt32(p, kTypeWord);
    PutInt32(p + 4, m_x);
    PutInt32(p + 8, m_y);
    for (size_t i = 0; i < m_words.size(); ++i)
        PutInt32(p + 12 + 4 * i, m_words[i]);
}

void CTrackPoint::LoadRecord(std::span<const uint8_t, kRecordSize> record) {
    const uint8_t* p = record.data();
    m_x = GetInt32(p + 4);
    m_y = GetInt32(p + 8);
    for (size_t i = 0; i < m_words.size(); ++i)
        m_words[i] = GetInt32(p + 12 + 4 * i);
}
