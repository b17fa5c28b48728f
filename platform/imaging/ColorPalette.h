#pragma once

// ColorPalette: the colours of an 8-bit indexed bitmap; entry i is the colour of pixel value i.

#include "platform/wintypes/WinTypes.h"

namespace imaging {

// 0xAARRGGBB.
using ARGB = DWORD;

inline constexpr UINT PaletteFlagsGrayScale = 2;
inline constexpr UINT kMaxPaletteEntries = 256;

struct ColorPalette {
    UINT Flags = 0;
    UINT Count = 0;  // Entries in use, at most kMaxPaletteEntries.
    ARGB Entries[kMaxPaletteEntries] = {};
};

constexpr ARGB MakeARGB(BYTE a, BYTE r, BYTE g, BYTE b) {
    return (DWORD{a} << 24) | (DWORD{r} << 16) | (DWORD{g} << 8) | b;
}

// 256 opaque greys, entry i = grey i, flagged grey-scale.
ColorPalette GreyPalette();

}  // namespace imaging
