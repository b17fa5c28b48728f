#include "colorlib/Tintora.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

using Matrix = std::array<std::array<float, 3>, 3>;

const Matrix kIdentity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

Matrix GetMatrix() {
    Matrix m{};
    OrvexGetColorCoeff(m[0].data(), m[1].data(), m[2].data());
    return m;
}

void SetMatrix(const Matrix& m) {
    OrvexSetColorCoeff(m[0].data(), m[1].data(), m[2].data());
}

struct Means {
    int r, g, b;
    bool operator==(const Means&) const = default;
};

Means GetMeans() {
    Means m{-1, -1, -1};
    OrvexGetWhiteBalance(&m.r, &m.g, &m.b);
    return m;
}

// A blue-green-red image of the set-up size.
class WhiteBalanceRegionTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 6;
    static constexpr int kHeight = 4;

    void SetUp() override {
        ASSERT_EQ(OrvexRgbSetup(kWidth, kHeight), 0);
        SetMatrix(kIdentity);
        OrvexWhiteBalance(0, 0, 0);
        m_image.assign(kWidth * kHeight * 3, 0);
    }

    void SetPixel(int x, int y, int b, int g, int r) {
        std::uint8_t* p = &m_image[(y * kWidth + x) * 3];
        p[0] = static_cast<std::uint8_t>(b);
        p[1] = static_cast<std::uint8_t>(g);
        p[2] = static_cast<std::uint8_t>(r);
    }

    std::vector<std::uint8_t> m_image;
};

TEST_F(WhiteBalanceRegionTest, SaturationFlagsAboveOneFifth) {
    // The region is 5 x 4 = 20 samples: 4 saturated ones are exactly a fifth.
    struct Case {
        int byte;
        int saturated;
        int flags;
    };
    const Case cases[] = {
        {0, 4, 0}, {0, 5, 0x7fff0000}, {1, 4, 0},           {1, 5, 0x7f00ff00},
        {2, 4, 0}, {2, 5, 0x7f0000ff}, {1, 20, 0x7f00ff00},
    };
    for (const Case& c : cases) {
        m_image.assign(m_image.size(), 100);
        for (int k = 0; k < c.saturated; ++k)
            m_image[((k / 5) * kWidth + 1 + k % 5) * 3 + c.byte] = 255;
        // Saturated samples outside the region do not count.
        m_image[c.byte] = 255;
        EXPECT_EQ(OrvexWhiteBalanceRegion(1, 0, 5, 4, m_image.data()), c.flags)
            << "byte " << c.byte << " saturated " << c.saturated;
    }

    m_image.assign(m_image.size(), 255);
    EXPECT_EQ(OrvexWhiteBalanceRegion(0, 0, kWidth, kHeight, m_image.data()),
              0x7fff0000 | 0x7f00ff00 | 0x7f0000ff);
}

TEST_F(WhiteBalanceRegionTest, MeansAreTruncatedAndPassedAsRedGreenBlue) {
    // Region (2,1)-(3,2): blue 10,11,12,12 -> 11.25; green 20 -> 20; red 30,31,31,31 -> 30.75.
    SetPixel(2, 1, 10, 20, 30);
    SetPixel(3, 1, 11, 20, 31);
    SetPixel(2, 2, 12, 20, 31);
    SetPixel(3, 2, 12, 20, 31);
    EXPECT_EQ(OrvexWhiteBalanceRegion(2, 1, 2, 2, m_image.data()), 0);
    EXPECT_EQ(GetMeans(), (Means{30, 20, 11}));
    const Matrix balanced = GetMatrix();

    SetMatrix(kIdentity);
    OrvexWhiteBalance(30, 20, 11);
    EXPECT_EQ(GetMatrix(), balanced);
}

TEST_F(WhiteBalanceRegionTest, RegionIsClippedToTheFrame) {
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            SetPixel(x, y, 1, 2, 3);
    }
    // The image buffer is exactly the frame, so any read outside it is caught by the sanitizer.
    struct Case {
        int x, y, w, h;
    };
    const Case cases[] = {
        {4, 2, 10, 10},           {-3, -3, 5, 5},
        {-100, 0, 1000, kHeight}, {0, -1, kWidth, kHeight + 2},
        {5, 3, INT_MAX, INT_MAX},
    };
    for (const Case& c : cases) {
        OrvexWhiteBalance(0, 0, 0);
        EXPECT_EQ(OrvexWhiteBalanceRegion(c.x, c.y, c.w, c.h, m_image.data()), 0);
        EXPECT_EQ(GetMeans(), (Means{3, 2, 1})) << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }
}

TEST_F(WhiteBalanceRegionTest, EmptyRegionChangesNothing) {
    m_image.assign(m_image.size(), 255);
    OrvexWhiteBalance(40, 50, 60);
    const Matrix before = GetMatrix();
    struct Case {
        int x, y, w, h;
    };
    const Case cases[] = {
        {0, 0, 0, 4},
        {0, 0, 6, 0},
        {2, 2, -1, 3},
        {kWidth, 0, 5, 5},
        {0, kHeight, 5, 5},
        {-5, 0, 5, 4},
        {INT_MAX, 0, INT_MAX, 1},
        {INT_MIN, 0, 2, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OrvexWhiteBalanceRegion(c.x, c.y, c.w, c.h, m_image.data()), 0)
            << c.x << "," << c.y << " " << c.w << "x" << c.h;
        EXPECT_EQ(GetMatrix(), before);
        EXPECT_EQ(GetMeans(), (Means{40, 50, 60}));
    }
    EXPECT_EQ(OrvexWhiteBalanceRegion(0, 0, 2, 2, nullptr), 0);
    EXPECT_EQ(GetMatrix(), before);
}

TEST_F(WhiteBalanceRegionTest, NothingToSampleWithoutSetUp) {
    ASSERT_EQ(OrvexRgbSetup(-1, 4), -1);
    m_image.assign(m_image.size(), 255);
    const Matrix before = GetMatrix();
    EXPECT_EQ(OrvexWhiteBalanceRegion(0, 0, 2, 2, m_image.data()), 0);
    EXPECT_EQ(GetMatrix(), before);
}

TEST_F(WhiteBalanceRegionTest, BalancesAGreyCardToGrey) {
    // A grey card seen through the mosaic: red sites 100, green 200, blue 50 (phase 0).
    constexpr int kSide = 8;
    ASSERT_EQ(OrvexRgbSetup(kSide, kSide), 0);
    std::vector<std::uint8_t> mosaic(kSide * kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x)
            mosaic[y * kSide + x] =
                (y % 2 == 0) ? (x % 2 == 0 ? 100 : 200) : (x % 2 == 0 ? 200 : 50);
    }
    std::vector<std::uint8_t> rgb(kSide * kSide * 3);
    OrvexGetSingleColor(0);
    ASSERT_EQ(OrvexMonoToRgb(kSide, kSide, 1, 0, 0, mosaic.data(), rgb.data()), 0);
    // Identity matrix: 4 * sample / 16.
    EXPECT_EQ(rgb[0], 12);
    EXPECT_EQ(rgb[1], 50);
    EXPECT_EQ(rgb[2], 25);

    EXPECT_EQ(OrvexWhiteBalanceRegion(0, 0, kSide, kSide, rgb.data()), 0);
    EXPECT_EQ(GetMeans(), (Means{25, 50, 12}));
    // Y = 0.30 * 25 + 0.59 * 50 + 0.11 * 12 = 38.32. Red 400 * 38.32 / 25 / 16 = 38.32, green
    // 800 * 38.32 / 50 / 16 = 38.32, blue 200 * 38.32 / 12 / 16 = 39.9.
    ASSERT_EQ(OrvexMonoToRgb(kSide, kSide, 1, 0, 0, mosaic.data(), rgb.data()), 0);
    for (int i = 0; i < kSide * kSide; ++i) {
        ASSERT_EQ(rgb[3 * i], 39) << i;
        ASSERT_EQ(rgb[3 * i + 1], 38) << i;
        ASSERT_EQ(rgb[3 * i + 2], 38) << i;
    }
}

}  // namespace
