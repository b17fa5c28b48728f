#include "platform/imaging/PixelConvert.h"

#include <cstring>

namespace imaging {

ColorPalette GreyPalette() {
    ColorPalette palette;
    palette.Flags = PaletteFlagsGrayScale;
    palette.Count = kMaxPaletteEntries;
    for (UINT i = 0; i < kMaxPaletteEntries; ++i)
        palette.Entries[i] =
            MakeARGB(0xFF, static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i));
    return palette;
}

}  // namespace imaging

namespace imaging::detail {

namespace {

// Widens a 5- or 6-bit channel to 8 bits by repeating its top bits, so 0 stays 0 and the
// maximum becomes 255.
BYTE Expand5(unsigned v) {
    return static_cast<BYTE>((v << 3) | (v >> 2));
}
BYTE Expand6(unsigned v) {
    return static_cast<BYTE>((v << 2) | (v >> 4));
}

void RowFromBgr24(const BYTE* src, int32_t width, PixelFormat format, BYTE* dst) {
    switch (format) {
        case PixelFormat24bppRGB:
            std::memcpy(dst, src, static_cast<size_t>(width) * 3);
            break;
        case PixelFormat32bppRGB:
            for (int32_t x = 0; x < width; ++x, src += 3, dst += 4) {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
                dst[3] = 0xFF;
            }
            break;
        case PixelFormat16bppRGB555:
        case PixelFormat16bppRGB565:
            for (int32_t x = 0; x < width; ++x, src += 3, dst += 2) {
                const unsigned b = src[0] >> 3;
                const unsigned r = src[2] >> 3;
                const unsigned v = format == PixelFormat16bppRGB555
                                       ? (r << 10) | (unsigned{src[1]} >> 3) << 5 | b
                                       : (r << 11) | (unsigned{src[1]} >> 2) << 5 | b;
                dst[0] = static_cast<BYTE>(v);
                dst[1] = static_cast<BYTE>(v >> 8);
            }
            break;
        default:
            break;
    }
}

}  // namespace

ARGB PaletteColor(const ColorPalette& palette, BYTE index) {
    return index < palette.Count ? palette.Entries[index] : MakeARGB(0xFF, 0, 0, 0);
}

bool IsIdentityGrey(const ColorPalette& palette) {
    if (palette.Count != kMaxPaletteEntries)
        return false;
    for (UINT i = 0; i < kMaxPaletteEntries; ++i) {
        const BYTE v = static_cast<BYTE>(i);
        if ((palette.Entries[i] & 0xFFFFFF) != (MakeARGB(0, v, v, v)))
            return false;
    }
    return true;
}

PaletteMatcher::PaletteMatcher(const ColorPalette& palette) : m_palette(palette) {
    for (UINT i = 0; i < palette.Count; ++i)
        m_known.emplace(palette.Entries[i] & 0xFFFFFF, static_cast<BYTE>(i));
}

BYTE PaletteMatcher::Nearest(BYTE blue, BYTE green, BYTE red) {
    const uint32_t rgb = MakeARGB(0, red, green, blue);
    if (const auto it = m_known.find(rgb); it != m_known.end())
        return it->second;
    BYTE best = 0;
    int bestDistance = INT32_MAX;
    for (UINT i = 0; i < m_palette.Count; ++i) {
        const ARGB c = m_palette.Entries[i];
        const int dr = static_cast<int>((c >> 16) & 0xFF) - red;
        const int dg = static_cast<int>((c >> 8) & 0xFF) - green;
        const int db = static_cast<int>(c & 0xFF) - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<BYTE>(i);
        }
    }
    m_known.emplace(rgb, best);
    return best;
}

void RowToBgr24(const BYTE* src, PixelFormat format, const ColorPalette& palette, int32_t width,
                BYTE* dst) {
    switch (format) {
        case PixelFormat8bppIndexed: {
            // Every colour once, then a plain look-up per pixel.
            BYTE colours[kMaxPaletteEntries][3];
            for (UINT i = 0; i < kMaxPaletteEntries; ++i) {
                const ARGB c = PaletteColor(palette, static_cast<BYTE>(i));
                colours[i][0] = static_cast<BYTE>(c);
                colours[i][1] = static_cast<BYTE>(c >> 8);
                colours[i][2] = static_cast<BYTE>(c >> 16);
            }
            for (int32_t x = 0; x < width; ++x, dst += 3)
                std::memcpy(dst, colours[src[x]], 3);
            break;
        }
        case PixelFormat16bppRGB555:
        case PixelFormat16bppRGB565:
            for (int32_t x = 0; x < width; ++x, src += 2, dst += 3) {
                const unsigned v = src[0] | unsigned{src[1]} << 8;
                dst[0] = Expand5(v & 0x1F);
                if (format == PixelFormat16bppRGB555) {
                    dst[1] = Expand5((v >> 5) & 0x1F);
                    dst[2] = Expand5((v >> 10) & 0x1F);
                } else {
                    dst[1] = Expand6((v >> 5) & 0x3F);
                    dst[2] = Expand5((v >> 11) & 0x1F);
                }
            }
            break;
        case PixelFormat24bppRGB:
            std::memcpy(dst, src, static_cast<size_t>(width) * 3);
            break;
        case PixelFormat32bppRGB:
            for (int32_t x = 0; x < width; ++x, src += 4, dst += 3) {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
            }
            break;
        default:
            break;
    }
}

void ConvertRow(const BYTE* src, PixelFormat from, BYTE* dst, PixelFormat to, int32_t width,
                const ColorPalette& palette, PaletteMatcher* matcher, BYTE* scratch) {
    if (from == to) {
        std::memcpy(dst, src, static_cast<size_t>(width) * (GetPixelFormatSize(from) / 8));
        return;
    }
    RowToBgr24(src, from, palette, width, scratch);
    if (to != PixelFormat8bppIndexed) {
        RowFromBgr24(scratch, width, to, dst);
        return;
    }
    for (int32_t x = 0; x < width; ++x, scratch += 3)
        dst[x] = matcher->Nearest(scratch[0], scratch[1], scratch[2]);
}

}  // namespace imaging::detail
