#include "tracking/records/FeatureStyle.h"

#include "platform/wintypes/Cp1252.h"
#include "tracking/records/RecordFields.h"
#include "tracking/sectioned/LittleEndian.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kTypeWord = RecordTypeWord("FSTY");

// Record offsets of Style1 .. Style10.
constexpr size_t kStyleOffsets[10] = {4, 8, 12, 24, 28, 32, 36, 128, 132, 136};
constexpr size_t kColourOffset = 16;
constexpr size_t kWidthOffset = 20;
constexpr size_t kFontOffset = 40;
constexpr size_t kTextColourOffset = 120;
constexpr size_t kFontSizeOffset = 124;

}  // namespace

CFeatureStyle::CFeatureStyle() {
    m_styles[7] = 1;
    SetFontName(QStringLiteral("Arial"));
}

HRESULT CFeatureStyle::GetStyle(size_t index, LONG* value) const {
    if (value)
        *value = m_styles[index];
    return S_OK;
}

HRESULT CFeatureStyle::SetStyle(size_t index, LONG value) {
    m_styles[index] = value;
    return S_OK;
}

HRESULT CFeatureStyle::GetColour(COLORREF* value) const {
    if (value)
        *value = m_colour;
    return S_OK;
}

HRESULT CFeatureStyle::GetWidth(LONG* value) const {
    if (value)
        *value = m_width;
    return S_OK;
}

HRESULT CFeatureStyle::GetFontName(QString* name) const {
    if (name) {
        const auto* bytes = reinterpret_cast<const char*>(m_fontName.data());
        *name = Cp1252ToUnicode(QByteArray(bytes, static_cast<qsizetype>(strnlen(bytes, 80))));
    }
    return S_OK;
}

HRESULT CFeatureStyle::GetTextColour(COLORREF* value) const {
    if (value)
        *value = m_textColour;
    return S_OK;
}

HRESULT CFeatureStyle::GetFontSize(LONG* value) const {
    if (value)
        *value = m_fontSize;
    return S_OK;
}

HRESULT CFeatureStyle::CopyFrom(const CFeatureStyle& source) {
    std::array<LONG, 10> styles{};
    COLORREF colour = 0;
    LONG width = 0;
    QString fontName;
    COLORREF textColour = 0;
    LONG fontSize = 0;
    source.GetStyle1(&styles[0]);
    source.GetStyle2(&styles[1]);
    source.GetStyle3(&styles[2]);
    source.GetColour(&colour);
    source.GetWidth(&width);
    source.GetStyle4(&styles[3]);
    source.GetStyle5(&styles[4]);
    source.GetStyle6(&styles[5]);
    source.GetStyle7(&styles[6]);
    source.GetFontName(&fontName);
    source.GetTextColour(&textColour);
    source.GetFontSize(&fontSize);
    source.GetStyle8(&styles[7]);
    source.GetStyle9(&styles[8]);
    source.GetStyle10(&styles[9]);
    SetStyle1(styles[0]);
    SetStyle2(styles[1]);
    SetStyle3(styles[2]);
    SetColour(colour);
    SetWidth(width);
    SetStyle4(styles[3]);
    SetStyle5(styles[4]);
    SetStyle6(styles[5]);
    SetStyle7(styles[6]);
    SetFontName(fontName);
    SetTextColour(textColour);
    SetFontSize(fontSize);
    SetStyle8(styles[7]);
    SetStyle9(styles[8]);
    SetStyle10(styles[9]);
    return S_OK;
}

HRESULT CFeatureStyle::SetColour(COLORREF value) {
    m_colour = value;
    return S_OK;
}

HRESULT CFeatureStyle::SetWidth(LONG value) {
    m_width = value;
    return S_OK;
}

void CFeatureStyle::SetFontBytes(const uint8_t* bytes, size_t count) {
    m_fontName.fill(0);
    const size_t n =
        std::min<size_t>(strnlen(reinterpret_cast<const char*>(bytes), count), kMaxFontNameLength);
    std::copy_n(bytes, n, m_fontName.begin());
}

HRESULT CFeatureStyle::SetFontName(const QString& name) {
    const QByteArray bytes = UnicodeToCp1252(name);
    SetFontBytes(reinterpret_cast<const uint8_t*>(bytes.constData()),
                 static_cast<size_t>(bytes.size()));
    return S_OK;
}

HRESULT CFeatureStyle::SetTextColour(COLORREF value) {
    m_textColour = value;
    return S_OK;
}

HRESULT CFeatureStyle::SetFontSize(LONG value) {
    m_fontSize = value;
    return S_OK;
}

bool CFeatureStyle::operator==(const CFeatureStyle& other) const {
    return m_styles == other.m_styles && m_colour == other.m_colour && m_width == other.m_width &&
           m_fontName == other.m_fontName && m_textColour == other.m_textColour &&
           m_fontSize == other.m_fontSize;
}

void CFeatureStyle::StoreRecord(std::span<uint8_t, kRecordSize> record) const {
    uint8_t* p = record.data();
    PutUInt32(p, kTypeWord);
    for (size_t i = 0; i < m_styles.size(); ++i)
        PutInt32(p + kStyleOffsets[i], m_styles[i]);
    PutUInt32(p + kColourOffset, m_colour);
    PutInt32(p + kWidthOffset, m_width);
    std::copy(m_fontName.begin(), m_fontName.end(), p + kFontOffset);
    PutUInt32(p + kTextColourOffset, m_textColour);
    PutInt32(p + kFontSizeOffset, m_fontSize);
}

void CFeatureStyle::LoadRecord(std::span<const uint8_t, kRecordSize> record) {
    const uint8_t* p = record.data();
    for (size_t i = 0; i < m_styles.size(); ++i)
        m_styles[i] = GetInt32(p + kStyleOffsets[i]);
    m_colour = GetUInt32(p + kColourOffset);
    m_width = GetInt32(p + kWidthOffset);
    SetFontBytes(p + kFontOffset, m_fontName.size());
    m_textColour = GetUInt32(p + kTextColourOffset);
    m_fontSize = GetInt32(p + kFontSizeOffset);
}
