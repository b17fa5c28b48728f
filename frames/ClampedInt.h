#pragma once

// The one conversion of a double that came from a file or a user into an integer: NaN gives 0,
// values beyond the range of int32_t give its nearest end, everything else is truncated. A plain
// cast of such a value is undefined.

#include <cmath>
#include <cstdint>
#include <limits>

inline int32_t ClampedInt(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double kMin = std::numeric_limits<int32_t>::min();
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    return value <= kMin   ? std::numeric_limits<int32_t>::min()
           : value >= kMax ? std::numeric_limits<int32_t>::max()
                           : static_cast<int32_t>(value);
}
