#pragma once

// PixelFormat: the layouts of bitmap pixels, with the numbers the system passes around. Bits
// 8-15 of a value hold its bits per pixel.

#include <cstdint>

namespace imaging {

using PixelFormat = int32_t;

inline constexpr PixelFormat PixelFormatDontCare = 0;  // Clone: keep the source's format.
inline constexpr PixelFormat PixelFormat8bppIndexed = 0x30803;
inline constexpr PixelFormat PixelFormat16bppRGB555 = 0x21005;  // xRRRRRGGGGGBBBBB
inline constexpr PixelFormat PixelFormat16bppRGB565 = 0x21006;  // RRRRRGGGGGGBBBBB
inline constexpr PixelFormat PixelFormat24bppRGB = 0x21808;     // bytes blue, green, red
inline constexpr PixelFormat PixelFormat32bppRGB = 0x22009;     // blue, green, red, unused
// Known to callers that check formats; bitmaps refuse it.
inline constexpr PixelFormat PixelFormat32bppARGB = 0x26200A;

constexpr int GetPixelFormatSize(PixelFormat format) {
    return (format >> 8) & 0xFF;
}

// True for the five formats a bitmap can hold.
constexpr bool IsSupportedPixelFormat(PixelFormat format) {
    return format == PixelFormat8bppIndexed || format == PixelFormat16bppRGB555 ||
           format == PixelFormat16bppRGB565 || format == PixelFormat24bppRGB ||
           format == PixelFormat32bppRGB;
}

}  // namespace imaging
