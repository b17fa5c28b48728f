#pragma once

// CPoint: an integer point with the framework's arithmetic.

#include "platform/wintypes/WinTypes.h"

class CSize;

class CPoint {
public:
    LONG x = 0;
    LONG y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(int px, int py) : x(px), y(py) {}

    constexpr void Offset(int dx, int dy) {
        x += dx;
        y += dy;
    }
    constexpr void SetPoint(int px, int py) {
        x = px;
        y = py;
    }
    constexpr CPoint operator-() const { return {-x, -y}; }
    constexpr CPoint operator+(const CPoint& o) const { return {x + o.x, y + o.y}; }
    constexpr CPoint operator-(const CPoint& o) const { return {x - o.x, y - o.y}; }
    constexpr CPoint& operator+=(const CPoint& o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr CPoint& operator-=(const CPoint& o) {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    constexpr bool operator==(const CPoint&) const = default;
};
