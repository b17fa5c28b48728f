#pragma once

// COLORREF: a colour packed as 0x00BBGGRR.

#include <cstdint>

using COLORREF = uint32_t;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr uint8_t GetRValue(COLORREF c) {
    return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GetGValue(COLORREF c) {
    return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t GetBValue(COLORREF c) {
    return static_cast<uint8_t>((c >> 16) & 0xFF);
}
