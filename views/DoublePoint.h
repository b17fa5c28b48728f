#pragma once

// CDoublePoint: a point of two doubles, x then y, in which every drawing object keeps its points.

#include "platform/wintypes/Point.h"

#include <climits>
#include <cmath>

// Truncates toward zero into an int; values beyond the int range are held at its ends and NaN
// becomes 0, so coordinates from a damaged file cannot overflow the conversion.
inline int TruncToInt(double v) {
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(v);
}

class CDoublePoint {
public:
    double x = 0.0;
    double y = 0.0;

    constexpr CDoublePoint() = default;
    constexpr CDoublePoint(double px, double py) : x(px), y(py) {}

    // True when x or y differs; a NaN always differs.
    constexpr bool operator!=(const CDoublePoint& o) const { return x != o.x || y != o.y; }
    constexpr bool operator==(const CDoublePoint& o) const { return !(*this != o); }
    // The point moved back by (dx, dy).
    constexpr CDoublePoint Minus(double dx, double dy) const { return {x - dx, y - dy}; }
    // Each coordinate truncated toward zero.
    CPoint ToPoint() const { return {TruncToInt(x), TruncToInt(y)}; }
};
