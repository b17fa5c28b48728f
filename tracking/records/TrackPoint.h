#pragma once

// CTrackPoint: one point of a tracked feature (tenths of a pixel) or of the calibration (pixels),
// with four words that say how it was set. Item of the per-frame list "FC"; 28-byte record image.

#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinTypes.h"

#include <array>
#include <cstdint>
#include <span>

class CTrackPoint {
public:
    static constexpr int kRecordSize = 28;

    CTrackPoint() = default;
    CTrackPoint(const CTrackPoint&) = default;
    CTrackPoint& operator=(const CTrackPoint&) = default;
    virtual ~CTrackPoint() = default;

    // Getters ignore a null out-pointer and, like the setters, always return S_OK.
    virtual HRESULT GetPosition(double* x, double* y) const;
    virtual HRESULT GetWord1(LONG* value) const;
    virtual HRESULT GetWord2(LONG* value) const;
    virtual HRESULT GetWord3(LONG* value) const;
    virtual HRESULT GetWord4(LONG* value) const;
    // Copies every field through the accessors.
    virtual HRESULT CopyFrom(const CTrackPoint& source);
    // Truncates toward zero.
    virtual HRESULT SetPosition(double x, double y);
    virtual HRESULT SetWord1(LONG value);
    virtual HRESULT SetWord2(LONG value);
    virtual HRESULT SetWord3(LONG value);
    virtual HRESULT SetWord4(LONG value);

    bool operator==(const CTrackPoint& other) const;

    void StoreRecord(std::span<uint8_t, kRecordSize> record) const;
    void LoadRecord(std::span<const uint8_t, kRecordSize> record);

private:
    int32_t m_x = 0;
    int32_t m_y = 0;
    std::array<int32_t, 4> m_words{};
};
