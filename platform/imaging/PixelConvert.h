#pragma once

// Row conversions between the bitmap pixel formats, shared by Bitmap and the codecs.

#include "platform/imaging/ColorPalette.h"
#include "platform/imaging/PixelFormat.h"

#include <cstdint>
#include <unordered_map>

namespace imaging::detail {

// Bytes of one row of `width` pixels, padded to a multiple of four.
constexpr int64_t StrideFor(int64_t width, PixelFormat format) {
    return (width * GetPixelFormatSize(format) + 31) / 32 * 4;
}

// The colour of a pixel value; values beyond the palette's count are opaque black.
ARGB PaletteColor(const ColorPalette& palette, BYTE index);

// True when entry i is grey i for all 256 entries, so pixel values are grey levels.
bool IsIdentityGrey(const ColorPalette& palette);

// Finds the palette entry nearest to a colour (squared distance, lowest index on ties),
// remembering its answers.
class PaletteMatcher {
public:
    explicit PaletteMatcher(const ColorPalette& palette);
    BYTE Nearest(BYTE blue, BYTE green, BYTE red);

private:
    const ColorPalette& m_palette;
    std::unordered_map<uint32_t, BYTE> m_known;
};

// Expands `width` pixels of `format` to blue, green, red bytes.
void RowToBgr24(const BYTE* src, PixelFormat format, const ColorPalette& palette, int32_t width,
                BYTE* dst);

// Converts `width` pixels from one format to another. An indexed source reads through
// `palette`; an indexed target needs `matcher` (an indexed source copies straight). `scratch`
// holds 3 × width bytes.
void ConvertRow(const BYTE* src, PixelFormat from, BYTE* dst, PixelFormat to, int32_t width,
                const ColorPalette& palette, PaletteMatcher* matcher, BYTE* scratch);

}  // namespace imaging::detail
