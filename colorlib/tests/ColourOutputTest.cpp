#include "colorlib/ColourOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

using Rows = CColorMatrix::Rows;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kMax = std::numeric_limits<float>::max();
constexpr std::uint8_t kGuard = 0xA5;

// Three planes of count pixels in which each plane in turn runs through every value 0 ... 32767
// while the other two are random, then random values with the extremes mixed in.
std::array<std::vector<std::int16_t>, 3> Planes(std::size_t count, std::mt19937& random) {
    std::array<std::vector<std::int16_t>, 3> planes;
    std::uniform_int_distribution<int> value(0, 32767);
    std::uniform_int_distribution<int> level(0, 4096);
    const int extremes[] = {0, 1, 4095, 4096, 16380, 32767};
    for (auto& plane : planes)
        plane.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        for (int p = 0; p < 3; ++p) {
            int v = i % 4 == 0 ? extremes[random() % 6] : i % 2 ? level(random) : value(random);
            if (i < 3 * 32768 && static_cast<int>(i / 32768) == p)
                v = static_cast<int>(i % 32768);
            planes[p][i] = static_cast<std::int16_t>(v);
        }
    }
    return planes;
}

// Coefficients across and beyond the range the vector path scales ahead, down to subnormals and
// up to infinities, with both signs.
float RandomCoefficient(std::mt19937& random) {
    static const float special[] = {0.0f,     -0.0f,           0x1p-90f,       -0x1p-90f, 0x1p18f,
                                    -0x1p18f, 0x1.fffffep-91f, 0x1.000002p18f, 1e-40f,    -1e-45f,
                                    kMax,     -kMax,           kInf,           -kInf,     kNan,
                                    1e30f};
    std::uniform_int_distribution<int> kind(0, 3);
    switch (kind(random)) {
        case 0:
            return special[random() % std::size(special)];
        case 1:
            return std::uniform_real_distribution<float>(-8, 8)(random);
        default: {
            const float magnitude =
                std::ldexp(1.0f + std::uniform_real_distribution<float>(0, 1)(random),
                           std::uniform_int_distribution<int>(-100, 30)(random));
            return random() % 2 ? magnitude : -magnitude;
        }
    }
}

std::vector<Rows> Matrices(std::mt19937& random) {
    std::vector<Rows> matrices = {
        CColorMatrix::DefaultRows(),
        {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
        // Sums that lie on whole multiples of 16 and just below them.
        {{{16, 0, 0}, {0.0625f, 0.0625f, 0.0625f}, {1, -1, 0.9999999f}}},
        {{{0x1p18f, -0x1p18f, 0x1p18f}, {-0x1p18f, 0x1p18f, 0x1p-90f}, {0x1p-90f, 0, -0.0f}}},
    };
    // Ordinary matrices; ones of magnitudes across the upper edge of the range the vector path
    // scales ahead, then across its lower edge; ones with any coefficient at all.
    std::uniform_real_distribution<float> ordinary(-20, 20);
    std::uniform_int_distribution<int> upper(-90, 30);
    std::uniform_int_distribution<int> lower(-110, 8);
    for (int k = 0; k < 40; ++k) {
        Rows m{};
        for (auto& row : m) {
            for (auto& c : row) {
                const float mantissa = random() % 2 ? 1.5f : -1.25f;
                if (k < 10)
                    c = ordinary(random);
                else if (k < 20)
                    c = random() % 8 == 0 ? 0.0f : std::ldexp(mantissa, upper(random));
                else if (k < 30)
                    c = random() % 8 == 0 ? 0.0f : std::ldexp(mantissa, lower(random));
                else
                    c = RandomCoefficient(random);
            }
        }
        matrices.push_back(m);
    }
    return matrices;
}

TEST(ColourOutputTest, VectorPathMatchesPlainPathByteForByte) {
    std::mt19937 random(2029);
    const auto planes = Planes(3 * 32768 + 1000, random);
    for (const Rows& m : Matrices(random)) {
        // Lengths around the 32-pixel step, then the whole set.
        for (std::size_t count : {std::size_t{32}, std::size_t{33}, std::size_t{63},
                                  std::size_t{95}, planes[0].size()}) {
            const std::int16_t* p[3] = {planes[0].data(), planes[1].data(), planes[2].data()};
            std::vector<std::uint8_t> plain(3 * count + 64, kGuard);
            std::vector<std::uint8_t> vector(3 * count + 64, kGuard);
            colour_output::WriteColourPlain(p, count, m, plain.data());
            if (colour_output::WriteColourAvx2(p, count, m, vector.data()) == 0)
                GTEST_SKIP() << "no AVX2 on this processor";
            for (std::size_t i = 0; i < vector.size(); ++i) {
                if (vector[i] != plain[i]) {
                    const std::size_t px = std::min(i / 3, count - 1);
                    FAIL() << "byte " << i << " of " << count << " pixels: " << int{vector[i]}
                           << " against " << int{plain[i]} << "; planes " << p[0][px] << " "
                           << p[1][px] << " " << p[2][px] << "; matrix row " << m[2 - i % 3][0]
                           << " " << m[2 - i % 3][1] << " " << m[2 - i % 3][2];
                }
            }
        }
    }
}

// The converter's filter in its plain form: 0.75 c + (sum of the 8 neighbours) / 32, truncated.
int Smoothed(int centre, int neighbours) {
    return std::min((3 * centre + (neighbours >> 3)) >> 2, 4096);
}

TEST(ColourOutputTest, SmoothingVectorPathMatchesSmoothingThenPlainPath) {
    // Three rows of each plane in one buffer, in ring order (the row above stored last), with
    // values across the planes' range: a dark centre among bright neighbours and the reverse
    // give the extremes of the 16-bit arithmetic.
    constexpr int kMaxPlane = 4080;
    std::mt19937 random(4080);
    std::uniform_int_distribution<int> level(0, kMaxPlane);
    for (const Rows& m : Matrices(random)) {
        for (std::size_t count : {std::size_t{34}, std::size_t{35}, std::size_t{63},
                                  std::size_t{66}, std::size_t{97}, std::size_t{1283}}) {
            const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(count) + 5;
            std::array<std::vector<std::int16_t>, 3> buffers;
            for (auto& b : buffers) {
                b.resize(3 * stride);
                for (std::size_t i = 0; i < b.size(); ++i) {
                    const int kind = static_cast<int>(i / 8 % 4);
                    b[i] = static_cast<std::int16_t>(
                        kind == 0   ? level(random)
                        : kind == 1 ? (i % stride == i / 8 % stride ? 0 : kMaxPlane)
                        : kind == 2 ? kMaxPlane * (random() % 2)
                                    : random() % 64);
                }
            }
            const std::ptrdiff_t up = 2 * stride;
            const std::ptrdiff_t down = stride;
            const std::int16_t* mid[3] = {buffers[0].data(), buffers[1].data(), buffers[2].data()};
            std::vector<std::uint8_t> out(3 * count + 64, kGuard);
            const std::size_t done =
                colour_output::WriteSmoothedColourAvx2(mid, up, down, count, m, out.data());
            if (done == 0)
                GTEST_SKIP() << "no AVX2 on this processor";
            ASSERT_EQ(done, count);
            for (std::size_t x = 0; x < count; ++x) {
                int p[3];
                for (int k = 0; k < 3; ++k) {
                    const std::int16_t* r = mid[k] + x;
                    // The first and last pixels keep their values.
                    p[k] = x == 0 || x + 1 == count
                               ? r[0]
                               : Smoothed(r[0], r[up - 1] + r[up] + r[up + 1] + r[-1] + r[1] +
                                                    r[down - 1] + r[down] + r[down + 1]);
                }
                for (int c = 0; c < 3; ++c) {
                    const std::uint8_t expected = MatrixByte(m[2 - c], p[0], p[1], p[2]);
                    ASSERT_EQ(out[3 * x + c], expected)
                        << "pixel " << x << " of " << count << ", byte " << c << "; planes " << p[0]
                        << " " << p[1] << " " << p[2] << "; matrix row " << m[2 - c][0] << " "
                        << m[2 - c][1] << " " << m[2 - c][2];
                }
            }
            for (std::size_t i = 3 * count; i < out.size(); ++i)
                ASSERT_EQ(out[i], kGuard) << "byte " << i << " beyond " << count << " pixels";
        }
    }
}

TEST(ColourOutputTest, DemosaicingVectorPathMatchesDemosaicThenPlainPath) {
    // Three rows of expanded samples at an odd byte address, as the converter's may lie, with
    // runs of the extremes among random ones.
    constexpr int kMaxSample = 1020;
    std::mt19937 random(1020);
    std::uniform_int_distribution<int> sample(0, kMaxSample);
    for (const Rows& m : Matrices(random)) {
        for (std::size_t count : {std::size_t{34}, std::size_t{35}, std::size_t{66},
                                  std::size_t{97}, std::size_t{1283}}) {
            std::vector<std::uint8_t> bytes(1 + 3 * 2 * count);
            for (std::size_t i = 0; i < 3 * count; ++i) {
                const int kind = static_cast<int>(i / 16 % 3);
                const int v = kind == 0 ? sample(random) : kind == 1 ? kMaxSample : random() % 4;
                bytes[1 + 2 * i] = static_cast<std::uint8_t>(v);
                bytes[2 + 2 * i] = static_cast<std::uint8_t>(v >> 8);
            }
            const std::uint8_t* rows[3];
            for (int r = 0; r < 3; ++r)
                rows[r] = bytes.data() + 1 + 2 * count * static_cast<std::size_t>(r);
            const auto at = [&](int r, std::size_t x) {
                return rows[r][2 * x] | rows[r][2 * x + 1] << 8;
            };
            for (bool redSites : {true, false}) {
                for (bool siteFirst : {true, false}) {
                    std::vector<std::uint8_t> out(3 * count + 64, kGuard);
                    const std::size_t done = colour_output::WriteDemosaicedColourAvx2(
                        rows, redSites, siteFirst, count, m, out.data());
                    if (done == 0)
                        GTEST_SKIP() << "no AVX2 on this processor";
                    ASSERT_EQ(done, count);
                    for (std::size_t x = 0; x < count; ++x) {
                        if (x == 0 || x + 1 == count) {
                            for (int c = 0; c < 3; ++c)
                                ASSERT_EQ(out[3 * x + c], kGuard) << "pixel " << x;
                            continue;
                        }
                        const int h = at(1, x - 1) + at(1, x + 1);
                        const int v = at(0, x) + at(2, x);
                        const int d = at(0, x - 1) + at(0, x + 1) + at(2, x - 1) + at(2, x + 1);
                        const bool site = (x % 2 == 1) == siteFirst;
                        const int own = site ? 4 * at(1, x) : 2 * h;
                        const int green = site ? h + v : 4 * at(1, x);
                        const int other = site ? d : 2 * v;
                        const int red = redSites ? own : other;
                        const int blue = redSites ? other : own;
                        for (int c = 0; c < 3; ++c) {
                            ASSERT_EQ(out[3 * x + c], MatrixByte(m[2 - c], red, green, blue))
                                << "pixel " << x << " of " << count << ", byte " << c
                                << (redSites ? ", red" : ", blue") << " sites"
                                << (siteFirst ? " from pixel 1" : " from pixel 2");
                        }
                    }
                    for (std::size_t i = 3 * count; i < out.size(); ++i)
                        ASSERT_EQ(out[i], kGuard)
                            << "byte " << i << " beyond " << count << " pixels";
                }
            }
        }
    }
}

TEST(ColourOutputTest, ShortRowsAreNotSmoothedOnTheVectorPath) {
    std::vector<std::int16_t> plane(3 * 40, 100);
    const std::int16_t* mid[3] = {plane.data() + 40, plane.data() + 40, plane.data() + 40};
    std::vector<std::uint8_t> out(3 * 33, kGuard);
    EXPECT_EQ(colour_output::WriteSmoothedColourAvx2(mid, -40, 40, 33, CColorMatrix::DefaultRows(),
                                                     out.data()),
              0u);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::uint8_t b) { return b == kGuard; }));
}

TEST(ColourOutputTest, ShortRunsGoThePlainWay) {
    std::mt19937 random(31);
    const auto planes = Planes(31, random);
    const std::int16_t* p[3] = {planes[0].data(), planes[1].data(), planes[2].data()};
    std::vector<std::uint8_t> out(3 * 31 + 8, kGuard);
    EXPECT_EQ(colour_output::WriteColourAvx2(p, 31, CColorMatrix::DefaultRows(), out.data()), 0u);
    WriteColour(p, 31, CColorMatrix::DefaultRows(), out.data());
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::uint8_t expected = i < 3 * 31
                                          ? MatrixByte(CColorMatrix::DefaultRows()[2 - i % 3],
                                                       p[0][i / 3], p[1][i / 3], p[2][i / 3])
                                          : kGuard;
        ASSERT_EQ(out[i], expected) << "byte " << i;
    }
}

}  // namespace
