#pragma once

// FILETIME: 100-nanosecond intervals since 1601-01-01 UTC, split in two 32-bit halves.

#include "platform/wintypes/WinTypes.h"

#include <cstdint>

struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;

    uint64_t Ticks() const { return (static_cast<uint64_t>(dwHighDateTime) << 32) | dwLowDateTime; }
    static FILETIME FromTicks(uint64_t ticks) {
        return {static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
    }
};

// Ticks between 1601-01-01 and the Unix epoch.
inline constexpr uint64_t kFileTimeUnixEpoch = 116444736000000000ull;
