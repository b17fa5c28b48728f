#pragma once

// CDisplayLut: turns one LUT parameter set into a 256-entry palette (brightness, contrast,
// gamma, exp/log and reverse per channel) and applies it to colour tables and pixels, or
// while converting a colour frame to 8-bit grey.

#include "frames/lutparams/LutParamSet.h"
#include "platform/wintypes/BitmapInfo.h"

// Puts a parameter set back to neutral (zeros, gamma 1.0, scales 255; label and type stay).
void ResetLutParams(CLutParamSet* params);

// A curve value as a table byte: truncated toward zero, low 8 bits kept. Values no 32-bit
// integer holds (out-of-range parameters, infinities) saturate to the nearest 32-bit limit,
// NaN gives 0, so every parameter gives a defined table.
BYTE CurveByte(double value);

class CDisplayLut {
public:
    static constexpr BYTE kRedMask = 1;
    static constexpr BYTE kGreenMask = 2;
    static constexpr BYTE kBlueMask = 4;
    static constexpr BYTE kAllMask = 7;

    CDisplayLut();
    virtual ~CDisplayLut() = default;

    // Copies params in and rebuilds the palette; allChannels takes channel 0's values for all
    // three colours. The palette lives as long as this object.
    const RGBQUAD* Build(const CLutParamSet& params, int allChannels);
    // Neutral per-channel values in params (the set in use when null).
    bool IsIdentity(const CLutParamSet* params = nullptr) const;
    const CLutParamSet& Params() const { return m_params; }
    const RGBQUAD* Palette() const { return m_palette; }

    // dst[i] = palette applied to src[i]; the reserved bytes of dst stay.
    void MapColourTable(const RGBQUAD* src, RGBQUAD* dst, int count) const;
    // 24-bit (B, G, R) or 16-bit (5-5-5) pixels through the palette; other depths are left.
    void MapPixels(const BYTE* src, BYTE* dst, int bitsPerPixel, bool dwordRows, int width,
                   int height) const;
    // An 8-bit grey image weighted by the set's blue, green and red scales. 8-bit sources take
    // their colours from srcColourTable (colourCount entries; larger indices give 0), or are
    // grey levels when it is null.
    void ConvertToGrey(const BYTE* src, BYTE* dst, int bitsPerPixel, bool dwordRows, int width,
                       int height, const RGBQUAD* srcColourTable, int colourCount = 256) const;
    // The grey level ConvertToGrey gives each index of an 8-bit source with those colours.
    void GreyLevels(const RGBQUAD* srcColourTable, int colourCount, BYTE levels[256]) const;
    // One row of 8-bit indices through levels.
    static void LookUpRow(const BYTE* src, BYTE* dst, const BYTE* levels, int width);

private:
    void ApplyChannel(const CLutParamSet& params, int channel, BYTE mask);
    void ApplyTable(BYTE mask);
    void ApplyReverse(BYTE mask);

    CLutParamSet m_params;
    RGBQUAD m_palette[256];
    BYTE m_masks[3] = {kRedMask, kGreenMask, kBlueMask};
    BYTE m_table[256] = {};
};
