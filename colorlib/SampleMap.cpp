#include "colorlib/SampleMap.h"

#include <algorithm>

namespace {

int ExpandSample(int type, int a) {
    switch (type) {
        case 0:
            if (a < 64)
                return a;
            if (a < 96)
                return 2 * a - 64;
            if (a < 192)
                return 4 * a - 256;
            return 8 * a - 1024;
        case 1:
        case 7:
            return a;
        case 2:
            return 2 * a;
        case 3:
            return 4 * a;
        case 6:
            if (a < 128)
                return a;
            if (a < 192)
                return 2 * a - 128;
            return 4 * a - 512;
        default:
            return 0;
    }
}

}  // namespace

void BuildInputTable(int type, InputTable& table) {
    for (int a = 0; a < 256; ++a)
        table[a] = static_cast<std::uint16_t>(ExpandSample(type, a));
}

InputPieces DescribeInputTable(const InputTable& table) {
    InputPieces pieces;
    int a = 0;
    while (a < 256) {
        if (pieces.count == InputPieces::kMax)
            return {};
        const int k = pieces.count++;
        const auto slope = static_cast<std::uint16_t>(a < 255 ? table[a + 1] - table[a] : 0);
        pieces.start[k] = a;
        pieces.slope[k] = slope;
        pieces.offset[k] = static_cast<std::uint16_t>(table[a] - slope * a);
        while (a < 256 && static_cast<std::uint16_t>(pieces.offset[k] + slope * a) == table[a])
            ++a;
    }
    return pieces;
}

std::uint8_t MapTo8Bit(int type, int x) {
    x = std::clamp(x, 0, 1023);
    int y = 0;
    switch (type) {
        case 0:
            if (x <= 63)
                y = x;
            else if (x <= 127)
                y = x / 2 + 32;
            else if (x <= 511)
                y = x / 4 + 64;
            else
                y = x / 8 + 128;
            break;
        case 6:
        case 7:
            // Type 6 expands up to 508: keeping only the low byte would turn bright pixels dark.
            y = std::min(x, 255);
            break;
        case 1:
            y = std::min(x, 255);
            break;
        case 2:
            y = x <= 511 ? x / 2 : 255;
            break;
        case 3:
            y = x / 4;
            break;
        default:
            y = 0;
            break;
    }
    return static_cast<std::uint8_t>(y);
}
