#pragma once

// CColorMatrix: the converter's 3x3 colour matrix, the base matrix that colour balance starts
// from, and the reference means of the last white balance.

#include <array>
#include <cstdint>

class CColorMatrix {
public:
    using Row = std::array<float, 3>;
    // Rows R, G, B; each row takes plane 1 first.
    using Rows = std::array<Row, 3>;

    static const Rows& DefaultRows();

    const Rows& Current() const { return m_current; }

    // Copies the rows (nine zeros select the default) and makes them the base.
    void Set(const float r[3], const float g[3], const float b[3]);
    // current = base + base * k per row; the base stays, so calls do not accumulate.
    void Balance(float kR, float kG, float kB);
    // Scales each row by luma / mean of its colour; a mean of 0 gives gain 1.
    void WhiteBalance(int r, int g, int b);
    void GetWhiteBalance(int* r, int* g, int* b) const;
    // White balance from a region of a frameWidth x frameHeight blue-green-red image; the
    // region is clipped to the frame. Returns the saturation flags, 0 for an empty region.
    int WhiteBalanceRegion(int x, int y, int w, int h, int frameWidth, int frameHeight,
                           const std::uint8_t* rgb24);

private:
    Rows m_current{};
    Rows m_base{};
    double m_meanR = 0;
    double m_meanG = 0;
    double m_meanB = 0;
};
