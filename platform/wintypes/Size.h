#pragma once

// CSize: an integer extent (cx, cy).

#include "platform/wintypes/WinTypes.h"

class CSize {
public:
    LONG cx = 0;
    LONG cy = 0;

    constexpr CSize() = default;
    constexpr CSize(int w, int h) : cx(w), cy(h) {}

    constexpr CSize operator+(const CSize& o) const { return {cx + o.cx, cy + o.cy}; }
    constexpr CSize operator-(const CSize& o) const { return {cx - o.cx, cy - o.cy}; }
    constexpr CSize operator-() const { return {-cx, -cy}; }
    constexpr bool operator==(const CSize&) const = default;
};
