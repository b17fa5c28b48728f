#include "frames/DisplayLut.h"

#include "frames/ClampedInt.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

void ResetPalette(RGBQUAD* palette) {
    for (int i = 0; i < 256; ++i) {
        const auto level = static_cast<BYTE>(i);
        palette[i] = {level, level, level, 0};
    }
}

int64_t SourceRowBytes(int bytesPerPixel, int width, bool dwordRows) {
    const int64_t packed = int64_t{bytesPerPixel} * width;
    return dwordRows ? ((packed * 8 + 31) >> 5) * 4 : packed;
}

int64_t GreyRowBytes(int width, bool dwordRows) {
    return dwordRows ? ((int64_t{width} * 8 + 31) >> 3) & ~int64_t{3} : width;
}

void BuildBrightness(BYTE* table, LONG b) {
    for (int i = 0; i < 256; ++i) {
        const int64_t v = i + 2 * int64_t{b} + 1;
        table[i] = static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
}

void BuildGamma(BYTE* table, double g) {
    for (int i = 0; i < 256; ++i)
        table[i] = CurveByte(255.0 * std::pow(i * (1.0 / 255.0), 1.0 / g));
}

void BuildContrast(BYTE* table, LONG c) {
    const double cd = c;
    const double a = 1.0 / (1.0 + std::exp(cd * (128.0 / 750.0)));
    const double z = 1.0 / (1.0 + std::exp(-cd * (127.0 / 750.0)));
    const double k = 255.0 / (z - a);
    for (int i = 0; i < 256; ++i) {
        if (c > 0) {
            const auto product = static_cast<double>(int64_t{c} * (128 - i));
            table[i] = CurveByte((1.0 / (1.0 + std::exp(product * (1.0 / 750.0))) - a) * k);
        } else {
            table[i] =
                CurveByte(128.0 - (750.0 / cd) * std::log(k / (0.984375 * i + 2.0 + a * k) - 1.0));
        }
    }
}

void BuildExpLog(BYTE* table, LONG e) {
    const int64_t k = 2 * int64_t{e} + 1;
    if (k > 0) {
        const auto n = static_cast<double>(256 - k);
        const double scale = std::exp(255.0 / n) - 1.0;
        for (int i = 0; i < 256; ++i)
            table[i] = CurveByte(255.0 * (std::exp(i / n) - 1.0) / scale);
    } else {
        const auto n = static_cast<double>(256 + k);
        const double scale = std::exp(255.0 / n) - 1.0;
        for (int i = 0; i < 256; ++i)
            table[i] = CurveByte(n * std::log(i * (1.0 / 255.0) * scale + 1.0));
    }
}

}  // namespace

void ResetLutParams(CLutParamSet* params) {
    if (params)
        params->SetDefaults();
}

BYTE CurveByte(double value) {
    return static_cast<BYTE>(static_cast<uint32_t>(ClampedInt(value)) & 0xFF);
}

CDisplayLut::CDisplayLut() {
    ResetPalette(m_palette);
}

const RGBQUAD* CDisplayLut::Build(const CLutParamSet& params, int allChannels) {
    m_params = params;
    ResetPalette(m_palette);
    if (allChannels) {
        ApplyChannel(m_params, 0, kAllMask);
    } else {
        for (int channel = 0; channel < 3; ++channel)
            ApplyChannel(m_params, channel, m_masks[channel]);
    }
    return m_palette;
}

void CDisplayLut::ApplyChannel(const CLutParamSet& params, int channel, BYTE mask) {
    if (params.Brightness(channel) != 0) {
        BuildBrightness(m_table, params.Brightness(channel));
        ApplyTable(mask);
    }
    if (params.Contrast(channel) != 0) {
        BuildContrast(m_table, params.Contrast(channel));
        ApplyTable(mask);
    }
    if (params.Gamma(channel) != 1.0) {
        BuildGamma(m_table, params.Gamma(channel));
        ApplyTable(mask);
    }
    if (params.ExpLog(channel) != 0) {
        BuildExpLog(m_table, params.ExpLog(channel));
        ApplyTable(mask);
    }
    if (params.Reverse(channel) != 0)
        ApplyReverse(mask);
}

void CDisplayLut::ApplyTable(BYTE mask) {
    for (auto& entry : m_palette) {
        if (mask & kRedMask)
            entry.rgbRed = m_table[entry.rgbRed];
        if (mask & kGreenMask)
            entry.rgbGreen = m_table[entry.rgbGreen];
        if (mask & kBlueMask)
            entry.rgbBlue = m_table[entry.rgbBlue];
    }
}

void CDisplayLut::ApplyReverse(BYTE mask) {
    for (auto& entry : m_palette) {
        if (mask & kRedMask)
            entry.rgbRed = 255 - entry.rgbRed;
        if (mask & kGreenMask)
            entry.rgbGreen = 255 - entry.rgbGreen;
        if (mask & kBlueMask)
            entry.rgbBlue = 255 - entry.rgbBlue;
    }
}

bool CDisplayLut::IsIdentity(const CLutParamSet* params) const {
    const CLutParamSet& p = params ? *params : m_params;
    for (int c = 0; c < 3; ++c) {
        if (p.Brightness(c) != 0 || p.Contrast(c) != 0 || p.Gamma(c) != 1.0 || p.ExpLog(c) != 0 ||
            p.Reverse(c) != 0)
            return false;
    }
    return true;
}

void CDisplayLut::MapColourTable(const RGBQUAD* src, RGBQUAD* dst, int count) const {
    for (int i = 0; i < count; ++i) {
        dst[i].rgbBlue = m_palette[src[i].rgbBlue].rgbBlue;
        dst[i].rgbGreen = m_palette[src[i].rgbGreen].rgbGreen;
        dst[i].rgbRed = m_palette[src[i].rgbRed].rgbRed;
    }
}

void CDisplayLut::MapPixels(const BYTE* src, BYTE* dst, int bitsPerPixel, bool dwordRows, int width,
                            int height) const {
    if ((bitsPerPixel != 16 && bitsPerPixel != 24) || width <= 0 || height <= 0)
        return;
    const int bytesPerPixel = bitsPerPixel / 8;
    const int64_t rowBytes = SourceRowBytes(bytesPerPixel, width, dwordRows);
    for (int y = 0; y < height; ++y) {
        const BYTE* s = src + y * rowBytes;
        BYTE* d = dst + y * rowBytes;
        if (bitsPerPixel == 24) {
            for (int x = 0; x < width; ++x, s += 3, d += 3) {
                d[0] = m_palette[s[0]].rgbBlue;
                d[1] = m_palette[s[1]].rgbGreen;
                d[2] = m_palette[s[2]].rgbRed;
            }
        } else {
            for (int x = 0; x < width; ++x, s += 2, d += 2) {
                const unsigned p = s[0] | (s[1] << 8);
                const unsigned red = m_palette[((p >> 10) & 31) * 8].rgbRed;
                const unsigned green = m_palette[((p >> 5) & 31) * 8].rgbGreen;
                const unsigned blue = m_palette[(p & 31) * 8].rgbBlue;
                const unsigned out = ((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3);
                d[0] = static_cast<BYTE>(out);
                d[1] = static_cast<BYTE>(out >> 8);
            }
        }
    }
}

void CDisplayLut::ConvertToGrey(const BYTE* src, BYTE* dst, int bitsPerPixel, bool dwordRows,
                                int width, int height, const RGBQUAD* srcColourTable,
                                int colourCount) const {
    if ((bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24) || width <= 0 ||
        height <= 0)
        return;
    const int64_t dstRowBytes = GreyRowBytes(width, dwordRows);
    const unsigned w0 = m_params.BlueScale();
    const unsigned w1 = m_params.GreenScale();
    const unsigned w2 = m_params.RedScale();
    const unsigned sum = w0 + w1 + w2;
    if (sum == 0) {
        std::memset(dst, 0, static_cast<size_t>(dstRowBytes * height));
        return;
    }
    const int bytesPerPixel = bitsPerPixel / 8;
    const int64_t srcRowBytes = SourceRowBytes(bytesPerPixel, width, dwordRows);
    const auto weighted = [&](unsigned b, unsigned g, unsigned r) {
        return static_cast<BYTE>(
            (m_palette[b].rgbBlue * w0 + m_palette[g].rgbGreen * w1 + m_palette[r].rgbRed * w2) /
            sum);
    };
    if (bitsPerPixel == 8) {
        // An index has one grey level: work it out once per entry, then look pixels up.
        BYTE levels[256];
        GreyLevels(srcColourTable, colourCount, levels);
        for (int y = 0; y < height; ++y)
            LookUpRow(src + y * srcRowBytes, dst + y * dstRowBytes, levels, width);
        return;
    }
    for (int y = 0; y < height; ++y) {
        const BYTE* s = src + y * srcRowBytes;
        BYTE* d = dst + y * dstRowBytes;
        for (int x = 0; x < width; ++x, s += bytesPerPixel) {
            if (bitsPerPixel == 24) {
                d[x] = weighted(s[0], s[1], s[2]);
            } else {
                const unsigned p = s[0] | (s[1] << 8);
                d[x] = weighted((p & 31) * 8, ((p >> 5) & 31) * 8, ((p >> 10) & 31) * 8);
            }
        }
    }
}

void CDisplayLut::GreyLevels(const RGBQUAD* srcColourTable, int colourCount,
                             BYTE levels[256]) const {
    std::fill_n(levels, 256, BYTE{0});
    const unsigned w0 = m_params.BlueScale();
    const unsigned w1 = m_params.GreenScale();
    const unsigned w2 = m_params.RedScale();
    const unsigned sum = w0 + w1 + w2;
    if (sum == 0)
        return;
    // An 8-bit frame without its own colours is a grey frame.
    RGBQUAD greyRamp[256];
    ResetPalette(greyRamp);
    const RGBQUAD* colours = srcColourTable ? srcColourTable : greyRamp;
    const int entries = srcColourTable ? std::clamp(colourCount, 0, 256) : 256;
    for (int i = 0; i < entries; ++i)
        levels[i] = static_cast<BYTE>((m_palette[colours[i].rgbBlue].rgbBlue * w0 +
                                       m_palette[colours[i].rgbGreen].rgbGreen * w1 +
                                       m_palette[colours[i].rgbRed].rgbRed * w2) /
                                      sum);
}

void CDisplayLut::LookUpRow(const BYTE* src, BYTE* dst, const BYTE* levels, int width) {
    const BYTE* __restrict s = src;
    BYTE* __restrict d = dst;
    int x = 0;
    // Eight independent lookups per round keep the loads in flight (byte k of the word is
    // pixel x + k on the little-endian machines we build for).
    static_assert(std::endian::native == std::endian::little);
    for (; x + 8 <= width; x += 8) {
        uint64_t packed;
        std::memcpy(&packed, s + x, 8);
        uint64_t out = 0;
        for (int k = 0; k < 8; ++k)
            out |= uint64_t{levels[(packed >> (8 * k)) & 0xFF]} << (8 * k);
        std::memcpy(d + x, &out, 8);
    }
    for (; x < width; ++x)
        d[x] = levels[s[x]];
}
