#pragma once

// The plain data types and word macros the system's code is written in, with fixed widths.

#include <cstdint>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using BOOL = int;
using WPARAM = uintptr_t;  // Pointer-sized: message parameters may carry pointers.
using LPARAM = intptr_t;
using LRESULT = intptr_t;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

constexpr WORD LOWORD(uintptr_t v) {
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(uintptr_t v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(uintptr_t v) {
    return static_cast<BYTE>(v & 0xFF);
}
constexpr BYTE HIBYTE(uintptr_t v) {
    return static_cast<BYTE>((v >> 8) & 0xFF);
}
constexpr DWORD MAKELONG(WORD low, WORD high) {
    return static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
}
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
    return MAKELONG(low, high);
}
constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
    return static_cast<LPARAM>(MAKELONG(low, high));
}
// Signed coordinates packed in an LPARAM (mouse messages).
constexpr int GET_X_LPARAM(LPARAM lp) {
    return static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lp)));
}
constexpr int GET_Y_LPARAM(LPARAM lp) {
    return static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lp)));
}
