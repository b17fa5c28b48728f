#include "tracking/records/TrackFeature.h"

#include "platform/wintypes/Cp1252.h"
#include "tracking/records/RecordFields.h"
#include "tracking/sectioned/LittleEndian.h"

#include <algorithm>

namespace {

constexpr uint32_t kTypeWord = RecordTypeWord("TFEA");

constexpr size_t kFlag1Offset = 4;
constexpr size_t kParamOffsets[7] = {8, 12, 16, 20, 32, 36, 40};  // Param1 .. Param7.
constexpr size_t kSpareOffsets[2] = {24, 28};
constexpr size_t kFlag2Offset = 44;
constexpr size_t kFlag3Offset = 48;
constexpr size_t kLinkAOffset = 52;
constexpr size_t kLinkBOffset = 56;
constexpr size_t kNameOffset = 60;
constexpr size_t kExtraOffset = 200;

HRESULT Get(int32_t field, LONG* value) {
    if (value)
        *value = field;
    return S_OK;
}

HRESULT GetFlagByte(int32_t field, BYTE* value) {
    if (value)
        *value = field >= 0 && field <= 0xFF ? static_cast<BYTE>(field) : BYTE{1};
    return S_OK;
}

bool IsTrailingSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

HRESULT CTrackFeature::GetFlag1(LONG* value) const {
    return Get(m_flag1, value);
}

HRESULT CTrackFeature::GetParam4(LONG* value) const {
    return Get(m_params[3], value);
}

HRESULT CTrackFeature::GetParam1(LONG* value) const {
    return Get(m_params[0], value);
}

HRESULT CTrackFeature::GetParam2(LONG* value) const {
    return Get(m_params[1], value);
}

HRESULT CTrackFeature::GetParam5(LONG* value) const {
    return Get(m_params[4], value);
}

HRESULT CTrackFeature::GetParam6(LONG* value) const {
    return Get(m_params[5], value);
}

HRESULT CTrackFeature::GetParam7(LONG* value) const {
    return Get(m_params[6], value);
}

HRESULT CTrackFeature::GetFlag2(BYTE* value) const {
    return GetFlagByte(m_flag2, value);
}

HRESULT CTrackFeature::GetFlag3(BYTE* value) const {
    return GetFlagByte(m_flag3, value);
}

HRESULT CTrackFeature::GetLinkA(LONG* value) const {
    return Get(m_linkA, value);
}

HRESULT CTrackFeature::GetLinkB(LONG* value) const {
    return Get(m_linkB, value);
}

HRESULT CTrackFeature::GetName(QString* name) const {
    if (!name)
        return S_OK;
    QByteArray bytes;
    for (int32_t word : m_name) {
        const auto c = static_cast<char>(word & 0xFF);
        if (c == '\0')
            break;
        bytes.append(c);
    }
    while (!bytes.isEmpty() && IsTrailingSpace(bytes.back()))
        bytes.chop(1);
    *name = Cp1252ToUnicode(bytes);
    return S_OK;
}

HRESULT CTrackFeature::CopyFrom(const CTrackFeature& source) {
    LONG flag1 = 0;
    std::array<LONG, 7> params{};
    BYTE flag2 = 0;
    BYTE flag3 = 0;
    LONG linkA = 0;
    LONG linkB = 0;
    QString name;
    source.GetFlag1(&flag1);
    source.GetParam4(&params[3]);
    source.GetParam1(&params[0]);
    source.GetParam2(&params[1]);
    source.GetParam5(&params[4]);
    source.GetParam6(&params[5]);
    source.GetParam7(&params[6]);
    source.GetFlag2(&flag2);
    source.GetFlag3(&flag3);
    source.GetLinkA(&linkA);
    source.GetLinkB(&linkB);
    source.GetName(&name);
    // Flag1 is read as a word and set from a byte: a set flag stays set.
    SetFlag1(flag1 >= 0 && flag1 <= 0xFF ? static_cast<BYTE>(flag1) : BYTE{1});
    SetParam4(params[3]);
    SetParam1(params[0]);
    SetParam2(params[1]);
    SetParam5(params[4]);
    SetParam6(params[5]);
    SetParam7(params[6]);
    SetFlag2(flag2);
    SetFlag3(flag3);
    SetLinkA(linkA);
    SetLinkB(linkB);
    SetName(name);
    return S_OK;
}

HRESULT CTrackFeature::SetFlag1(BYTE value) {
    m_flag1 = value;
    return S_OK;
}

HRESULT CTrackFeature::SetParam4(LONG value) {
    m_params[3] = value;
    return S_OK;
}

HRESULT CTrackFeature::SetParam1(LONG value) {
    m_params[0] = value;
    return S_OK;
}

HRESULT CTrackFeature::SetParam2(LONG value) {
    m_params[1] = value;
    return S_OK;
}

HRESULT CTrackFeature::SetParam5(LONG value) {
    m_params[4] = value;
    return S_OK;
}

HRESULT CTrackFeature::SetParam6(LONG value) {
    m_params[5] = value;
    return S_OK;
}

HRESULT CTrackFeature::SetParam7(LONG value) {
    m_params[6] = value;
    return S_OK;
}

HRESULT CTrackFeature::SetFlag2(BYTE value) {
    m_flag2 = value;
    return S_OK;
}

HRESULT CTrackFeature::SetFlag3(BYTE value) {
    m_flag3 = value;
    return S_OK;
}

HRESULT CTrackFeature::SetLinkA(LONG value) {
    m_linkA = value;
    return S_OK;
}

HRESULT CTrackFeature::SetLinkB(LONG value) {
    m_linkB = value;
    return S_OK;
}

HRESULT CTrackFeature::SetName(const QString& name) {
    const QByteArray bytes = UnicodeToCp1252(name);
    m_name.fill(0);
    const auto n = std::min<qsizetype>(bytes.size(), kMaxNameLength);
    for (qsizetype i = 0; i < n; ++i)
        m_name[static_cast<size_t>(i)] = static_cast<uint8_t>(bytes[i]);
    return S_OK;
}

bool CTrackFeature::operator==(const CTrackFeature& other) const {
    QString name;
    QString otherName;
    GetName(&name);
    other.GetName(&otherName);
    return name == otherName && m_flag1 == other.m_flag1 && m_params == other.m_params &&
           m_flag2 == other.m_flag2 && m_flag3 == other.m_flag3 && m_linkA == other.m_linkA &&
           m_linkB == other.m_linkB;
}

void CTrackFeature::StoreRecord(std::span<uint8_t, kRecordSize> record) const {
    uint8_t* p = record.data();
    std::fill(record.begin(), record.end(), uint8_t{0});
    PutUInt32(p, kTypeWord);
    PutInt32(p + kFlag1Offset, m_flag1);
    for (size_t i = 0; i < m_params.size(); ++i)
        PutInt32(p + kParamOffsets[i], m_params[i]);
    for (size_t i = 0; i < m_spares.size(); ++i)
        PutInt32(p + kSpareOffsets[i], m_spares[i]);
    PutInt32(p + kFlag2Offset, m_flag2);
    PutInt32(p + kFlag3Offset, m_flag3);
    PutInt32(p + kLinkAOffset, m_linkA);
    PutInt32(p + kLinkBOffset, m_linkB);
    for (size_t i = 0; i < m_name.size(); ++i)
        PutInt32(p + kNameOffset + 4 * i, m_name[i]);
    std::copy(m_extra.begin(), m_extra.end(), p + kExtraOffset);
}

void CTrackFeature::LoadRecord(std::span<const uint8_t, kRecordSize> record) {
    const uint8_t* p = record.data();
    m_flag1 = GetInt32(p + kFlag1Offset);
    for (size_t i = 0; i < m_params.size(); ++i)
        m_params[i] = GetInt32(p + kParamOffsets[i]);
    for (size_t i = 0; i < m_spares.size(); ++i)
        m_spares[i] = GetInt32(p + kSpareOffsets[i]);
    m_flag2 = GetInt32(p + kFlag2Offset);
    m_flag3 = GetInt32(p + kFlag3Offset);
    m_linkA = GetInt32(p + kLinkAOffset);
    m_linkB = GetInt32(p + kLinkBOffset);
    for (size_t i = 0; i < m_name.size(); ++i)
        m_name[i] = GetInt32(p + kNameOffset + 4 * i);
    std::copy_n(p + kExtraOffset, m_extra.size(), m_extra.begin());
}
