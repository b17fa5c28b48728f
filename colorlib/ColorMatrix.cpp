#include "colorlib/ColorMatrix.h"

#include <algorithm>
#include <bit>

namespace {

constexpr float Bits(std::uint32_t pattern) {
    return std::bit_cast<float>(pattern);
}

constexpr int kFlagBlue = 0x7fff0000;
constexpr int kFlagGreen = 0x7f00ff00;
constexpr int kFlagRed = 0x7f0000ff;

}  // namespace

const CColorMatrix::Rows& CColorMatrix::DefaultRows() {
    // Given by bit pattern so that every build starts from exactly the same matrix.
    static constexpr Rows kDefault = {{
        {Bits(0x3f9881c3), Bits(0x3c8f52b9), Bits(0x3f10228a)},
        {Bits(0xbfead3d8), Bits(0x40cdaee6), Bits(0xbfe58bd6)},
        {Bits(0xbf9a8683), Bits(0xc0727208), Bits(0x416ce3bd)},
    }};
    return kDefault;
}

void CColorMatrix::Set(const float r[3], const float g[3], const float b[3]) {
    const float* rows[3] = {r, g, b};
    bool allZero = true;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            m_current[i][j] = rows[i][j];
            allZero = allZero && rows[i][j] == 0.0f;
        }
    }
    if (allZero)
        m_current = DefaultRows();
    m_base = m_current;
}

void CColorMatrix::Balance(float kR, float kG, float kB) {
    const float k[3] = {kR, kG, kB};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            m_current[i][j] = m_base[i][j] + m_base[i][j] * k[i];
    }
}

void CColorMatrix::WhiteBalance(int r, int g, int b) {
    m_meanR = r;
    m_meanG = g;
    m_meanB = b;
    const double luma = 0.30 * m_meanR + 0.59 * m_meanG + 0.11 * m_meanB;
    const double means[3] = {m_meanR, m_meanG, m_meanB};
    for (int i = 0; i < 3; ++i) {
        const double gain = means[i] == 0 ? 1.0 : luma / means[i];
        for (int j = 0; j < 3; ++j)
            m_current[i][j] = static_cast<float>(m_current[i][j] * gain);
    }
    m_base = m_current;
}

void CColorMatrix::GetWhiteBalance(int* r, int* g, int* b) const {
    if (r)
        *r = static_cast<int>(m_meanR);
    if (g)
        *g = static_cast<int>(m_meanG);
    if (b)
        *b = static_cast<int>(m_meanB);
}

int CColorMatrix::WhiteBalanceRegion(int x, int y, int w, int h, int frameWidth, int frameHeight,
                                     const std::uint8_t* rgb24) {
    // 64-bit bounds: x + w must not overflow for any pair of ints.
    const std::int64_t x0 = std::max<std::int64_t>(x, 0);
    const std::int64_t y0 = std::max<std::int64_t>(y, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{x} + w, frameWidth);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{y} + h, frameHeight);
    if (!rgb24 || x1 <= x0 || y1 <= y0)
        return 0;

    std::uint64_t sums[3] = {};
    std::int64_t saturated[3] = {};
    const std::size_t stride = static_cast<std::size_t>(frameWidth) * 3;
    for (std::int64_t row = y0; row < y1; ++row) {
        const std::uint8_t* p = rgb24 + static_cast<std::size_t>(row) * stride + x0 * 3;
        for (std::int64_t col = x0; col < x1; ++col, p += 3) {
            for (int c = 0; c < 3; ++c) {
                sums[c] += p[c];
                saturated[c] += p[c] == 255;
            }
        }
    }
    const std::int64_t n = (x1 - x0) * (y1 - y0);
    int flags = 0;
    if (saturated[0] > n / 5)
        flags |= kFlagBlue;
    if (saturated[1] > n / 5)
        flags |= kFlagGreen;
    if (saturated[2] > n / 5)
        flags |= kFlagRed;

    const auto mean = [n](std::uint64_t sum) {
        return static_cast<int>(static_cast<double>(sum) / static_cast<double>(n));
    };
    WhiteBalance(mean(sums[2]), mean(sums[1]), mean(sums[0]));
    return flags;
}
