#pragma once

// CFeatureStyle: how the tracking overlay draws one feature or line (colours, width, font and
// further style words). Item of the list "LC"; 140-byte record image.

#include "platform/wintypes/ColorRef.h"
#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinTypes.h"

#include <QString>

#include <array>
#include <cstdint>
#include <span>

class CFeatureStyle {
public:
    static constexpr int kRecordSize = 140;
    // The font name holds at most this many characters.
    static constexpr int kMaxFontNameLength = 79;

    CFeatureStyle();
    CFeatureStyle(const CFeatureStyle&) = default;
    CFeatureStyle& operator=(const CFeatureStyle&) = default;
    virtual ~CFeatureStyle() = default;

    // Getters ignore a null out-pointer and, like the setters, always return S_OK.
    virtual HRESULT GetStyle1(LONG* value) const { return GetStyle(0, value); }
    virtual HRESULT GetStyle2(LONG* value) const { return GetStyle(1, value); }
    virtual HRESULT GetStyle3(LONG* value) const { return GetStyle(2, value); }
    virtual HRESULT GetColour(COLORREF* value) const;
    virtual HRESULT GetWidth(LONG* value) const;
    virtual HRESULT GetStyle4(LONG* value) const { return GetStyle(3, value); }
    virtual HRESULT GetStyle5(LONG* value) const { return GetStyle(4, value); }
    virtual HRESULT GetStyle6(LONG* value) const { return GetStyle(5, value); }
    virtual HRESULT GetStyle7(LONG* value) const { return GetStyle(6, value); }
    virtual HRESULT GetFontName(QString* name) const;
    virtual HRESULT GetTextColour(COLORREF* value) const;
    virtual HRESULT GetFontSize(LONG* value) const;
    virtual HRESULT GetStyle8(LONG* value) const { return GetStyle(7, value); }
    virtual HRESULT GetStyle9(LONG* value) const { return GetStyle(8, value); }
    virtual HRESULT GetStyle10(LONG* value) const { return GetStyle(9, value); }
    // Copies every field through the accessors.
    virtual HRESULT CopyFrom(const CFeatureStyle& source);
    virtual HRESULT SetStyle1(LONG value) { return SetStyle(0, value); }
    virtual HRESULT SetStyle2(LONG value) { return SetStyle(1, value); }
    virtual HRESULT SetStyle3(LONG value) { return SetStyle(2, value); }
    virtual HRESULT SetColour(COLORREF value);
    virtual HRESULT SetWidth(LONG value);
    virtual HRESULT SetStyle4(LONG value) { return SetStyle(3, value); }
    virtual HRESULT SetStyle5(LONG value) { return SetStyle(4, value); }
    virtual HRESULT SetStyle6(LONG value) { return SetStyle(5, value); }
    virtual HRESULT SetStyle7(LONG value) { return SetStyle(6, value); }
    // Keeps the first kMaxFontNameLength characters (Windows-1252 in the record).
    virtual HRESULT SetFontName(const QString& name);
    virtual HRESULT SetTextColour(COLORREF value);
    virtual HRESULT SetFontSize(LONG value);
    virtual HRESULT SetStyle8(LONG value) { return SetStyle(7, value); }
    virtual HRESULT SetStyle9(LONG value) { return SetStyle(8, value); }
    virtual HRESULT SetStyle10(LONG value) { return SetStyle(9, value); }

    bool operator==(const CFeatureStyle& other) const;

    void StoreRecord(std::span<uint8_t, kRecordSize> record) const;
    // A font name without its zero byte ends after kMaxFontNameLength characters.
    void LoadRecord(std::span<const uint8_t, kRecordSize> record);

private:
    HRESULT GetStyle(size_t index, LONG* value) const;
    HRESULT SetStyle(size_t index, LONG value);
    void SetFontBytes(const uint8_t* bytes, size_t count);

    std::array<int32_t, 10> m_styles{};  // Style1 .. Style10.
    COLORREF m_colour = 255;
    int32_t m_width = 2;
    std::array<uint8_t, 80> m_fontName{};  // Zero-terminated, zero-filled.
    COLORREF m_textColour = 255;
    int32_t m_fontSize = 16;
};
