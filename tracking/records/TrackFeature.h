#pragma once

// CTrackFeature: one numbered feature of a recording (name, defined/locked/tracked flags, the
// frame its region was set at and further parameters). Item of the lists "FO" and "CA";
// 416-byte record image.

#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinTypes.h"

#include <QString>

#include <array>
#include <cstdint>
#include <span>

class CTrackFeature {
public:
    static constexpr int kRecordSize = 416;
    static constexpr int kMaxNameLength = 35;

    CTrackFeature() = default;
    CTrackFeature(const CTrackFeature&) = default;
    CTrackFeature& operator=(const CTrackFeature&) = default;
    virtual ~CTrackFeature() = default;

    // Getters ignore a null out-pointer and, like the setters, always return S_OK. Flags read as
    // bytes give a stored word that does not fit a byte as 1, so a set flag never reads as clear.
    virtual HRESULT GetFlag1(LONG* value) const;
    virtual HRESULT GetParam4(LONG* value) const;
    virtual HRESULT GetParam1(LONG* value) const;
    virtual HRESULT GetParam2(LONG* value) const;
    virtual HRESULT GetParam5(LONG* value) const;
    virtual HRESULT GetParam6(LONG* value) const;  // Non-zero: the feature is defined.
    virtual HRESULT GetParam7(LONG* value) const;
    virtual HRESULT GetFlag2(BYTE* value) const;  // 0: locked against editing.
    virtual HRESULT GetFlag3(BYTE* value) const;  // Non-zero: takes part in automatic tracking.
    virtual HRESULT GetLinkA(LONG* value) const;  // Frame the region was set at; negative: none.
    virtual HRESULT GetLinkB(LONG* value) const;
    // The name without trailing white space.
    virtual HRESULT GetName(QString* name) const;
    // Copies every field that has an accessor; Param3, the spares and the extra bytes stay.
    virtual HRESULT CopyFrom(const CTrackFeature& source);
    virtual HRESULT SetFlag1(BYTE value);
    virtual HRESULT SetParam4(LONG value);
    virtual HRESULT SetParam1(LONG value);
    virtual HRESULT SetParam2(LONG value);
    virtual HRESULT SetParam5(LONG value);
    virtual HRESULT SetParam6(LONG value);
    virtual HRESULT SetParam7(LONG value);
    virtual HRESULT SetFlag2(BYTE value);
    virtual HRESULT SetFlag3(BYTE value);
    virtual HRESULT SetLinkA(LONG value);
    virtual HRESULT SetLinkB(LONG value);
    // Keeps the first kMaxNameLength characters (Windows-1252), one to a stored word.
    virtual HRESULT SetName(const QString& name);

    // Compares the names as read back and every other field except the spares and extra bytes.
    bool operator==(const CTrackFeature& other) const;

    void StoreRecord(std::span<uint8_t, kRecordSize> record) const;
    void LoadRecord(std::span<const uint8_t, kRecordSize> record);

private:
    int32_t m_flag1 = 0;
    std::array<int32_t, 7> m_params{};  // Param1 .. Param7.
    std::array<int32_t, 2> m_spares{};
    int32_t m_flag2 = 1;
    int32_t m_flag3 = 0;
    int32_t m_linkA = -1;
    int32_t m_linkB = -1;
    std::array<int32_t, kMaxNameLength> m_name{};  // One character in the low byte of each.
    std::array<uint8_t, 200> m_extra{};
};
