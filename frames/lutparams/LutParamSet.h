#pragma once

// CLutParamSet: the values from which one display look-up table is built for a three-channel
// image (brightness, contrast, gamma, exp/log and reverse per channel; label, type, colour-to-
// black-and-white flag and blue/green/red scales for the whole set).
//
// One source, two builds, chosen by RM_LUT_REFCOUNTED (set PUBLIC by the target):
// - target rm_lutparams (the program): AddRef and Release do nothing and return 0; a set is
//   owned by value only. Record image 96 bytes; operator== compares the colour-to-B&W flag too.
// - target rm_lutparams_counted (the editor module): a real count; a set shared by pointer
//   deletes itself when Release brings the count back to 0. Record image 104 bytes.

#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinTypes.h"

#include <cstdint>

#ifndef RM_LUT_REFCOUNTED
#error "link rm_lutparams or rm_lutparams_counted, which define RM_LUT_REFCOUNTED"
#endif

class CLutParamSet {
public:
    static constexpr int kChannels = 3;
#if RM_LUT_REFCOUNTED
    static constexpr int kRecordBytes = 104;
#else
    static constexpr int kRecordBytes = 96;
#endif

    CLutParamSet();
    // Copies every value; a copy starts unshared (count 0).
    CLutParamSet(const CLutParamSet& other);
    CLutParamSet& operator=(const CLutParamSet& other);

    // The new count (the program's build: 0, nothing changes).
    virtual LONG AddRef();
    // The new count; in the module's build the set deletes itself at 0 (heap sets only).
    virtual LONG Release();
    // Neutral values; label, type value and reserved field stay.
    virtual HRESULT SetDefaults();
    // Takes every value of source through its getters (E_POINTER without source).
    virtual HRESULT CopyFrom(CLutParamSet* source);
    // *equal = Equals(copy of other); E_POINTER when either pointer is missing.
    virtual HRESULT IsEqualTo(CLutParamSet* other, BYTE* equal);
    virtual HRESULT GetNumberChannels(LONG* count);
    // Per-channel access: E_FAIL for a channel outside 0..2, E_POINTER without out.
    virtual HRESULT GetBrightness(LONG channel, LONG* value);
    virtual HRESULT SetBrightness(LONG channel, LONG value);
    virtual HRESULT GetContrast(LONG channel, LONG* value);
    virtual HRESULT SetContrast(LONG channel, LONG value);
    virtual HRESULT GetExpLog(LONG channel, LONG* value);
    virtual HRESULT SetExpLog(LONG channel, LONG value);
    virtual HRESULT GetGamma(LONG channel, double* value);
    virtual HRESULT SetGamma(LONG channel, double value);
    virtual HRESULT GetReverse(LONG channel, LONG* value);
    virtual HRESULT SetReverse(LONG channel, LONG value);
    virtual HRESULT GetLabel(LONG* value);
    virtual HRESULT SetLabel(LONG value);
    virtual HRESULT GetColor2BW(LONG* value);
    virtual HRESULT SetColor2BW(LONG value);
    virtual HRESULT GetRGBScale(LONG* red, LONG* green, LONG* blue);
    // Each value clamped to 0..255.
    virtual HRESULT SetRGBScale(LONG red, LONG green, LONG blue);
    virtual HRESULT GetType1(LONG* value);
    virtual HRESULT SetType1(LONG value);
    virtual ~CLutParamSet() = default;

    // Same per-channel values and scales; label, type, reserved and the colour-to-B&W flag are
    // not compared. Doubles compare exactly.
    bool Equals(const CLutParamSet& other) const;
#if !RM_LUT_REFCOUNTED
    // Equals, and the same colour-to-B&W flag.
    bool operator==(const CLutParamSet& other) const;
#endif

    // The record image, little-endian, kRecordBytes long.
    void WriteRecord(BYTE* record) const;
    // Takes every value from a record image (the count is not taken over).
    void ReadRecord(const BYTE* record);

    // Direct access for table builders.
    LONG Brightness(int channel) const {
        return m_brightness[channel];
    }
    LONG Contrast(int channel) const {
        return m_contrast[channel];
    }
    double Gamma(int channel) const {
        return m_gamma[channel];
    }
    LONG ExpLog(int channel) const {
        return m_expLog[channel];
    }
    LONG Reverse(int channel) const {
        return m_reverse[channel];
    }
    LONG Color2BW() const {
        return m_color2BW;
    }
    BYTE BlueScale() const {
        return m_blueScale;
    }
    BYTE GreenScale() const {
        return m_greenScale;
    }
    BYTE RedScale() const {
        return m_redScale;
    }

private:
    HRESULT CheckChannel(LONG channel);
    void CopyValues(const CLutParamSet& other);

#if RM_LUT_REFCOUNTED
    LONG m_refCount = 0;
#endif
    LONG m_label = 0;
    LONG m_type1 = 0;
    LONG m_reserved = 0;
    LONG m_brightness[kChannels] = {};
    LONG m_contrast[kChannels] = {};
    double m_gamma[kChannels] = {1.0, 1.0, 1.0};
    LONG m_expLog[kChannels] = {};
    LONG m_reverse[kChannels] = {};
    LONG m_color2BW = 0;
    BYTE m_blueScale = 255;
    BYTE m_greenScale = 255;
    BYTE m_redScale = 255;
};
