#pragma once

// The bit window through which 16-bit grey samples become 8-bit display levels. With shift s
// from 0 to 8 the window is the eight bits from bit 8 - s up, and a sample with any bit above
// the window saturates to 255; from 9 to 17 it is the eight bits from bit 17 - s, without
// saturation; beyond 17 every level is 0. Shift 0 takes the top byte.

#include "platform/wintypes/WinTypes.h"

#include <cstddef>

BYTE BitWindowLevel(uint16_t sample, int shift);
// count little-endian 16-bit samples from src to count bytes at dst.
void BitWindowTo8(const BYTE* src, BYTE* dst, size_t count, int shift);
