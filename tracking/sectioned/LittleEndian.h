#pragma once

// Little-endian field access for fixed record images: every stored integer and double is
// written and read byte by byte at its offset, whatever the host's byte order.

#include <bit>
#include <cstdint>

inline void PutUInt32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

inline uint32_t GetUInt32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void PutInt32(uint8_t* p, int32_t v) {
    PutUInt32(p, static_cast<uint32_t>(v));
}

inline int32_t GetInt32(const uint8_t* p) {
    return static_cast<int32_t>(GetUInt32(p));
}

inline void PutDouble(uint8_t* p, double v) {
    const auto bits = std::bit_cast<uint64_t>(v);
    PutUInt32(p, static_cast<uint32_t>(bits));
    PutUInt32(p + 4, static_cast<uint32_t>(bits >> 32));
}

inline double GetDouble(const uint8_t* p) {
    const uint64_t bits =
        static_cast<uint64_t>(GetUInt32(p)) | (static_cast<uint64_t>(GetUInt32(p + 4)) << 32);
    return std::bit_cast<double>(bits);
}
