#pragma once

// Helpers shared by the tracking records: type words of their record images and the conversion
// of double positions to stored integers.

#include <cmath>
#include <cstdint>
#include <limits>

// A record image's type word: four ASCII letters, stored little-endian so a dump reads them.
constexpr uint32_t RecordTypeWord(const char (&tag)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(tag[0])) |
           (static_cast<uint32_t>(static_cast<uint8_t>(tag[1])) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(tag[2])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(tag[3])) << 24);
}

// Truncates toward zero. Values beyond the int32 range stop at its ends and NaN gives 0, so a
// wild coordinate never becomes undefined behaviour.
inline int32_t TruncateToInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}
