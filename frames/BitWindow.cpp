#include "frames/BitWindow.h"

BYTE BitWindowLevel(uint16_t sample, int shift) {
    if (shift < 0 || shift > 17)
        return 0;
    if (shift <= 8) {
        const int low = 8 - shift;
        if ((sample >> (low + 8)) != 0)
            return 255;
        return static_cast<BYTE>(sample >> low);
    }
    return static_cast<BYTE>(sample >> (17 - shift));
}

void BitWindowTo8(const BYTE* src, BYTE* dst, size_t count, int shift) {
    for (size_t i = 0; i < count; ++i)
        dst[i] = BitWindowLevel(static_cast<uint16_t>(src[2 * i] | (src[2 * i + 1] << 8)), shift);
}
