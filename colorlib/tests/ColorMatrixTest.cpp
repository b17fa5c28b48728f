#include "colorlib/Tintora.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

using Matrix = std::array<std::array<float, 3>, 3>;

Matrix GetMatrix() {
    Matrix m{};
    OrvexGetColorCoeff(m[0].data(), m[1].data(), m[2].data());
    return m;
}

void SetMatrix(const Matrix& m) {
    OrvexSetColorCoeff(m[0].data(), m[1].data(), m[2].data());
}

std::array<std::uint32_t, 9> Bits(const Matrix& m) {
    std::array<std::uint32_t, 9> bits{};
    for (int i = 0; i < 9; ++i)
        bits[i] = std::bit_cast<std::uint32_t>(m[i / 3][i % 3]);
    return bits;
}

constexpr std::array<std::uint32_t, 9> kDefaultBits = {
    0x3f9881c3, 0x3c8f52b9, 0x3f10228a,  // R
    0xbfead3d8, 0x40cdaee6, 0xbfe58bd6,  // G
    0xbf9a8683, 0xc0727208, 0x416ce3bd,  // B
};

const Matrix kSample = {{{1.5f, -0.25f, 0.125f}, {0.5f, 2.0f, -1.0f}, {-0.75f, 0.0f, 3.0f}}};

class ColorMatrixTest : public ::testing::Test {
protected:
    void SetUp() override { SetMatrix(kSample); }
};

TEST(TintoraVersionTest, CopiesVersionAndReturnsItsSize) {
    char out[8];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(TintoraVersion(out), 5);
    EXPECT_EQ(std::memcmp(out, "2.20", 5), 0);
    EXPECT_EQ(out[5], 'x') << "writes exactly the text and its zero";
    EXPECT_EQ(TintoraVersion(nullptr), 5);
    EXPECT_EQ(TintoraInialize(), 0);
}

TEST_F(ColorMatrixTest, SetAndGetRoundTripBitExact) {
    EXPECT_EQ(Bits(GetMatrix()), Bits(kSample));
    EXPECT_EQ(TintoraInialize(), 0);
    EXPECT_EQ(Bits(GetMatrix()), Bits(kSample)) << "initialising changes nothing";
}

TEST_F(ColorMatrixTest, NineZerosSelectDefaultMatrix) {
    SetMatrix(Matrix{});
    EXPECT_EQ(Bits(GetMatrix()), kDefaultBits);
    // Negative zeros are zeros too.
    SetMatrix(Matrix{{{-0.0f, 0, 0}, {0, -0.0f, 0}, {0, 0, -0.0f}}});
    EXPECT_EQ(Bits(GetMatrix()), kDefaultBits);
    // The default becomes the base of colour balance.
    TintoraBalance(1, 1, 1);
    TintoraBalance(0, 0, 0);
    EXPECT_EQ(Bits(GetMatrix()), kDefaultBits);
}

TEST_F(ColorMatrixTest, OneNonZeroValueIsUsedAsIs) {
    for (int k = 0; k < 9; ++k) {
        Matrix m{};
        m[k / 3][k % 3] = 1e-30f;
        SetMatrix(m);
        EXPECT_EQ(Bits(GetMatrix()), Bits(m)) << "element " << k;
    }
}

TEST_F(ColorMatrixTest, NullRowsAreIgnored) {
    const float row[3] = {0, 0, 0};
    OrvexSetColorCoeff(nullptr, row, row);
    OrvexSetColorCoeff(row, nullptr, row);
    OrvexSetColorCoeff(row, row, nullptr);
    EXPECT_EQ(Bits(GetMatrix()), Bits(kSample));

    float g[3] = {};
    OrvexGetColorCoeff(nullptr, g, nullptr);
    EXPECT_EQ(g[1], 2.0f);
}

TEST_F(ColorMatrixTest, BalanceScalesRowsFromTheBase) {
    struct Case {
        float kR, kG, kB;
    };
    const Case cases[] = {{0.5f, -0.5f, 1.0f}, {-1.0f, 0.25f, 0.1f}, {0.0f, 0.0f, 0.0f}};
    for (const Case& c : cases) {
        TintoraBalance(c.kR, c.kG, c.kB);
        const Matrix m = GetMatrix();
        const float k[3] = {c.kR, c.kG, c.kB};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                const float base = kSample[i][j];
                const float expected = base + base * k[i];
                EXPECT_EQ(std::bit_cast<std::uint32_t>(m[i][j]),
                          std::bit_cast<std::uint32_t>(expected))
                    << "row " << i << " element " << j << " k " << k[i];
            }
        }
    }
    // After several balances, three zeros bring back exactly the base.
    EXPECT_EQ(Bits(GetMatrix()), Bits(kSample));
}

TEST_F(ColorMatrixTest, WhiteBalanceScalesRowsByLumaOverMean) {
    struct Case {
        int r, g, b;
    };
    // Row R goes with the red mean, and so on; a zero mean keeps its row.
    const Case cases[] = {{100, 100, 100}, {200, 100, 50}, {0, 80, 40}, {7, 0, 250}, {0, 0, 0}};
    for (const Case& c : cases) {
        SetMatrix(kSample);
        OrvexWhiteBalance(c.r, c.g, c.b);
        const Matrix m = GetMatrix();
        const double luma = 0.30 * c.r + 0.59 * c.g + 0.11 * c.b;
        const int means[3] = {c.r, c.g, c.b};
        double gains[3];
        for (int i = 0; i < 3; ++i)
            gains[i] = means[i] == 0 ? 1.0 : luma / means[i];
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                EXPECT_EQ(m[i][j], static_cast<float>(kSample[i][j] * gains[i]))
                    << c.r << "," << c.g << "," << c.b << " row " << i;
            }
        }
        int r = -1, g = -1, b = -1;
        OrvexGetWhiteBalance(&r, &g, &b);
        EXPECT_EQ(r, c.r);
        EXPECT_EQ(g, c.g);
        EXPECT_EQ(b, c.b);
        // The balanced matrix is the new base.
        TintoraBalance(0, 0, 0);
        EXPECT_EQ(Bits(GetMatrix()), Bits(m));
    }
}

TEST_F(ColorMatrixTest, WhiteBalanceKnownGains) {
    // Y = 0.30 * 200 + 0.59 * 100 + 0.11 * 50 = 124.5: gains 0.6225, 1.245 and 2.49.
    OrvexWhiteBalance(200, 100, 50);
    const Matrix m = GetMatrix();
    EXPECT_FLOAT_EQ(m[0][0], 1.5f * 0.6225f);
    EXPECT_FLOAT_EQ(m[0][1], -0.25f * 0.6225f);
    EXPECT_FLOAT_EQ(m[1][1], 2.0f * 1.245f);
    EXPECT_FLOAT_EQ(m[1][2], -1.0f * 1.245f);
    EXPECT_FLOAT_EQ(m[2][0], -0.75f * 2.49f);
    EXPECT_FLOAT_EQ(m[2][2], 3.0f * 2.49f);
}

TEST_F(ColorMatrixTest, WhiteBalanceOfZerosLeavesMatrixBitExact) {
    OrvexWhiteBalance(120, 60, 30);
    const Matrix before = GetMatrix();
    OrvexWhiteBalance(0, 0, 0);
    EXPECT_EQ(Bits(GetMatrix()), Bits(before));
    int r = -1, g = -1, b = -1;
    OrvexGetWhiteBalance(&r, &g, &b);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
    OrvexGetWhiteBalance(nullptr, nullptr, nullptr);
}

}  // namespace
