#pragma once

// CTrackSample: the tracking settings of one feature (matcher values, filter switches and the
// filters' noise), applied when a tracker starts. Item of the list "TS"; 208-byte record image.

#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinTypes.h"

#include <array>
#include <cstdint>
#include <span>

class CTrackSample {
public:
    static constexpr int kRecordSize = 208;

    CTrackSample() = default;
    CTrackSample(const CTrackSample&) = default;
    CTrackSample& operator=(const CTrackSample&) = default;
    virtual ~CTrackSample() = default;

    // Getters ignore a null out-pointer and, like the setters, always return S_OK.
    virtual HRESULT GetEnabled(BYTE* value) const;  // 0: not used, the tracker does not start.
    virtual HRESULT GetValue1(double* value) const { return GetValue(0, value); }
    virtual HRESULT GetValue2(double* value) const { return GetValue(1, value); }
    virtual HRESULT GetValue3(double* value) const { return GetValue(2, value); }
    virtual HRESULT GetValue4(double* value) const { return GetValue(3, value); }
    virtual HRESULT GetCount(LONG* value) const;
    virtual HRESULT GetFlag1(BYTE* value) const { return GetFlag(0, value); }
    virtual HRESULT GetValue5(double* value) const { return GetValue(4, value); }
    virtual HRESULT GetValue6(double* value) const { return GetValue(5, value); }
    virtual HRESULT GetFlag2(BYTE* value) const { return GetFlag(1, value); }  // Angle filter.
    virtual HRESULT GetFlag3(BYTE* value) const { return GetFlag(2, value); }  // X filter.
    virtual HRESULT GetFlag4(BYTE* value) const { return GetFlag(3, value); }  // Y filter.
    // Second noise value of the three filters.
    virtual HRESULT GetValue7(double* value) const { return GetValue(6, value); }
    // The stored byte as a word, to be tested for non-zero.
    virtual HRESULT GetFlag5(BOOL* value) const;
    virtual HRESULT GetFlag6(BOOL* value) const;
    // Copies every field through the accessors.
    virtual HRESULT CopyFrom(const CTrackSample& source);
    virtual HRESULT SetEnabled(BYTE value);
    virtual HRESULT SetValue1(double value) { return SetValue(0, value); }
    virtual HRESULT SetValue2(double value) { return SetValue(1, value); }
    virtual HRESULT SetValue3(double value) { return SetValue(2, value); }
    virtual HRESULT SetValue4(double value) { return SetValue(3, value); }
    virtual HRESULT SetCount(LONG value);
    virtual HRESULT SetFlag1(BYTE value) { return SetFlag(0, value); }
    virtual HRESULT SetValue5(double value) { return SetValue(4, value); }
    virtual HRESULT SetValue6(double value) { return SetValue(5, value); }
    virtual HRESULT SetFlag2(BYTE value) { return SetFlag(1, value); }
    virtual HRESULT SetFlag3(BYTE value) { return SetFlag(2, value); }
    virtual HRESULT SetFlag4(BYTE value) { return SetFlag(3, value); }
    virtual HRESULT SetValue7(double value) { return SetValue(6, value); }
    virtual HRESULT SetFlag5(BYTE value) { return SetFlag(4, value); }
    virtual HRESULT SetFlag6(BYTE value) { return SetFlag(5, value); }

    // Every field equal; doubles exactly, so a NaN never equals anything.
    bool operator==(const CTrackSample& other) const;

    void StoreRecord(std::span<uint8_t, kRecordSize> record) const;
    void LoadRecord(std::span<const uint8_t, kRecordSize> record);

private:
    HRESULT GetValue(size_t index, double* value) const;
    HRESULT SetValue(size_t index, double value);
    HRESULT GetFlag(size_t index, BYTE* value) const;
    HRESULT SetFlag(size_t index, BYTE value);

    uint8_t m_enabled = 0;
    std::array<double, 7> m_values{};  // Value1 .. Value7.
    int32_t m_count = 0;
    std::array<uint8_t, 6> m_flags{};  // Flag1 .. Flag6.
};
