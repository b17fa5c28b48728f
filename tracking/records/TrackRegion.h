#pragma once

// CTrackRegion: the rectangle round a tracked feature on one frame, with eleven further values.
// Item of the per-frame list "FR"; 64-byte record image.

#include "platform/wintypes/Rect.h"
#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinTypes.h"

#include <array>
#include <cstdint>
#include <span>

class CTrackRegion {
public:
    static constexpr int kRecordSize = 64;

    CTrackRegion() = default;
    CTrackRegion(const CTrackRegion&) = default;
    CTrackRegion& operator=(const CTrackRegion&) = default;
    virtual ~CTrackRegion() = default;

    // Getters ignore a null out-pointer and, like the setters, always return S_OK.
    virtual HRESULT GetRect(double* left, double* top, double* right, double* bottom) const;
    virtual HRESULT GetValue1(LONG* value) const { return GetValue(0, value); }
    virtual HRESULT GetValue2(LONG* value) const { return GetValue(1, value); }
    virtual HRESULT GetValue3(LONG* value) const { return GetValue(2, value); }
    virtual HRESULT GetValue4(LONG* value) const { return GetValue(3, value); }
    virtual HRESULT GetValue5(LONG* value) const { return GetValue(4, value); }
    virtual HRESULT GetValue6(LONG* value) const { return GetValue(5, value); }
    virtual HRESULT GetValue7(LONG* value) const { return GetValue(6, value); }
    virtual HRESULT GetValue8(LONG* value) const { return GetValue(7, value); }
    virtual HRESULT GetValue9(LONG* value) const { return GetValue(8, value); }
    virtual HRESULT GetValue10(LONG* value) const { return GetValue(9, value); }
    virtual HRESULT GetValue11(LONG* value) const { return GetValue(10, value); }
    // Copies every field through the accessors.
    virtual HRESULT CopyFrom(const CTrackRegion& source);
    // Truncates toward zero.
    virtual HRESULT SetRect(double left, double top, double right, double bottom);
    virtual HRESULT SetValue1(LONG value) { return SetValue(0, value); }
    virtual HRESULT SetValue2(LONG value) { return SetValue(1, value); }
    virtual HRESULT SetValue3(LONG value) { return SetValue(2, value); }
    virtual HRESULT SetValue4(LONG value) { return SetValue(3, value); }
    virtual HRESULT SetValue5(LONG value) { return SetValue(4, value); }
    virtual HRESULT SetValue6(LONG value) { return SetValue(5, value); }
    virtual HRESULT SetValue7(LONG value) { return SetValue(6, value); }
    virtual HRESULT SetValue8(LONG value) { return SetValue(7, value); }
    virtual HRESULT SetValue9(LONG value) { return SetValue(8, value); }
    virtual HRESULT SetValue10(LONG value) { return SetValue(9, value); }
    virtual HRESULT SetValue11(LONG value) { return SetValue(10, value); }

    bool operator==(const CTrackRegion& other) const;

    void StoreRecord(std::span<uint8_t, kRecordSize> record) const;
    void LoadRecord(std::span<const uint8_t, kRecordSize> record);

private:
    HRESULT GetValue(size_t index, LONG* value) const;
    HRESULT SetValue(size_t index, LONG value);

    CRect m_rect;
    std::array<int32_t, 11> m_values{};
};
