#pragma once

// Device-independent bitmap headers. In memory only: files read and write them field by field
//, never by copying the struct.

#include "platform/wintypes/WinTypes.h"

#include <cstdint>

inline constexpr DWORD BI_RGB = 0;
inline constexpr DWORD BI_RLE8 = 1;
inline constexpr DWORD BI_RLE4 = 2;
inline constexpr DWORD BI_BITFIELDS = 3;

struct RGBQUAD {
    BYTE rgbBlue = 0;
    BYTE rgbGreen = 0;
    BYTE rgbRed = 0;
    BYTE rgbReserved = 0;
};

struct BITMAPINFOHEADER {
    DWORD biSize = 40;
    LONG biWidth = 0;
    LONG biHeight = 0;
    WORD biPlanes = 1;
    WORD biBitCount = 0;
    DWORD biCompression = BI_RGB;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;
};

struct BITMAPFILEHEADER {
    WORD bfType = 0x4D42;  // "BM"
    DWORD bfSize = 0;
    WORD bfReserved1 = 0;
    WORD bfReserved2 = 0;
    DWORD bfOffBits = 0;
};

inline constexpr int kBitmapInfoHeaderBytes = 40;
inline constexpr int kBitmapFileHeaderBytes = 14;

// Bytes of one bitmap row: rows are padded to a multiple of four bytes.
constexpr DWORD DibRowBytes(LONG width, WORD bitCount) {
    // In 64 bits, so that no width (INT_MIN included) overflows; a row longer than a DWORD can
    // hold wraps, and readers refuse such widths before they ask (see CDib::ReadBmp).
    const uint64_t magnitude =
        width < 0 ? uint64_t{0} - static_cast<uint64_t>(width) : static_cast<uint64_t>(width);
    return static_cast<DWORD>(((magnitude * bitCount + 31) / 32) * 4);
}
