#include "colorlib/Tintora.h"
#include "colorlib/tests/ReferenceConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

using reference::Frame;
using reference::Matrix;

const Matrix kIdentity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr std::uint8_t kGuard = 0xA5;

void SetMatrix(const Matrix& m) {
    OrvexSetColorCoeff(m[0].data(), m[1].data(), m[2].data());
}

Matrix GetMatrix() {
    Matrix m{};
    OrvexGetColorCoeff(m[0].data(), m[1].data(), m[2].data());
    return m;
}

Frame RandomFrame(int width, int height, std::mt19937& random) {
    Frame f{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height)};
    std::uniform_int_distribution<int> sample(0, 255);
    for (auto& s : f.samples)
        s = static_cast<std::uint8_t>(sample(random));
    return f;
}

// Runs one conversion into a buffer of 3 * w * h bytes plus guard bytes, and returns the bytes
// the mode writes; fails the test if anything beyond the documented scratch area is touched.
std::vector<std::uint8_t> ConvertFrame(const Frame& f, int type, int variant, int skipFilter,
                                       int mode, int offset = 0) {
    const std::size_t pixels = f.samples.size();
    const std::size_t used = mode == 0 ? 3 * pixels : 2 * pixels;
    std::vector<std::uint8_t> buffer(offset + 3 * pixels + 16, kGuard);
    OrvexGetSingleColor(mode);
    EXPECT_EQ(OrvexMonoToRgb(f.width, f.height, type, variant, skipFilter, f.samples.data(),
                             buffer.data() + offset),
              0);
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        if (i < static_cast<std::size_t>(offset) || i >= offset + used) {
            EXPECT_EQ(buffer[i], kGuard) << "byte " << i << " outside the output was written";
        }
    }
    const std::size_t written = mode == 0 ? 3 * pixels : pixels;
    return {buffer.begin() + offset, buffer.begin() + offset + written};
}

class BayerConverterTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMatrix(kIdentity);
        OrvexGetSingleColor(0);
    }
    void TearDown() override { OrvexGetSingleColor(0); }
};

// An 8 x 8 frame of type 1 (samples as they are).
const Frame kGoldenFrame = {8,
                            8,
                            {
                                212, 155, 187, 148, 89,  142, 56,  13,   //
                                127, 196, 214, 129, 162, 205, 70,  31,   //
                                71,  100, 77,  107, 169, 63,  35,  158,  //
                                209, 41,  242, 72,  209, 172, 9,   221,  //
                                190, 26,  181, 25,  244, 191, 2,   207,  //
                                122, 59,  109, 127, 184, 29,  136, 32,   //
                                141, 98,  66,  128, 157, 178, 163, 87,   //
                                170, 48,  139, 171, 4,   25,  178, 9,    //
                            }};

// Exact binary fractions, with red clipped at 0 and blue at 255 somewhere.
const Matrix kGoldenMatrix = {{{1, -1, 0.25f}, {-0.25f, 1.5f, 0.125f}, {0.5f, -1, 6}}};

struct GoldenPixel {
    int variant, y, x;
    std::array<int, 3> demosaic;
    std::array<int, 3> smoothed;
    // Modes 0 (blue, green, red) and 7, 8, 9 from the smoothed planes, then from the demosaic
    // planes (filter skipped).
    std::array<int, 6> smoothedBytes;
    std::array<int, 6> demosaicBytes;
};

// Worked by hand from the frame above. Variant 0 at (2, 2), a red sample: red 4 * 77 = 308,
// green 214 + 242 + 100 + 107 = 663, blue 196 + 129 + 41 + 72 = 438. Variant 0 at (2, 3), green
// in a red row: red 2 * (77 + 169) = 492, green 4 * 107 = 428, blue 2 * (129 + 72) = 402.
// Smoothed red at (2, 2): the demosaic red around it is 547 528 522 / 296 . 492 / 519 516 671,
// so 0.75 * 308 + 4091 / 32 = 358.84 -> 358. Mode 0 there: red (358 - 654 + 0.25 * 438) / 16 < 0
// -> 0; blue (0.5 * 358 - 654 + 6 * 438) / 16 = 134.1 -> 134.
const GoldenPixel kGoldenPixels[] = {
    {0, 2, 2, {308, 663, 438}, {358, 654, 438}, {134, 59, 0, 0, 59, 134}, {132, 60, 0, 0, 60, 132}},
    {0,
     2,
     3,
     {492, 428, 402},
     {511, 499, 421},
     {142, 42, 7, 7, 42, 142},
     {139, 35, 10, 10, 35, 139}},
    {0, 3, 2, {516, 968, 226}, {530, 827, 252}, {59, 71, 0, 0, 71, 59}, {40, 84, 0, 0, 84, 40}},
    {0,
     3,
     3,
     {671, 583, 288},
     {671, 579, 316},
     {103, 46, 10, 10, 46, 103},
     {92, 46, 10, 10, 46, 92}},
    {1,
     2,
     2,
     {414, 308, 912},
     {408, 341, 892},
     {255, 32, 18, 18, 32, 255},
     {255, 29, 20, 20, 29, 255}},
    {1,
     2,
     3,
     {428, 447, 827},
     {419, 460, 827},
     {255, 43, 10, 10, 43, 255},
     {255, 41, 11, 11, 41, 255}},
    {1, 3, 2, {258, 371, 968}, {258, 384, 927}, {255, 39, 6, 6, 39, 255}, {255, 38, 8, 8, 38, 255}},
    {1,
     3,
     3,
     {264, 288, 902},
     {274, 365, 880},
     {255, 36, 8, 8, 36, 255},
     {255, 29, 12, 12, 29, 255}},
};

TEST_F(BayerConverterTest, GoldenInteriorPixelsInEveryMode) {
    SetMatrix(kGoldenMatrix);
    const Frame& f = kGoldenFrame;
    for (const GoldenPixel& g : kGoldenPixels) {
        SCOPED_TRACE(testing::Message()
                     << "variant " << g.variant << " at (" << g.y << ", " << g.x << ")");
        const int i = g.y * f.width + g.x;
        for (int skip = 0; skip <= 1; ++skip) {
            const auto& bytes = skip ? g.demosaicBytes : g.smoothedBytes;
            const auto colour = ConvertFrame(f, 1, g.variant, skip, 0);
            EXPECT_EQ(colour[3 * i], bytes[0]);
            EXPECT_EQ(colour[3 * i + 1], bytes[1]);
            EXPECT_EQ(colour[3 * i + 2], bytes[2]);
            for (int mode = 7; mode <= 9; ++mode)
                EXPECT_EQ(ConvertFrame(f, 1, g.variant, skip, mode)[i], bytes[mode - 4])
                    << "mode " << mode;
            // Type 1 maps a quarter plane value to itself below 256.
            for (int plane = 0; plane < 3; ++plane) {
                EXPECT_EQ(ConvertFrame(f, 1, g.variant, skip, 1 + plane)[i], g.demosaic[plane] / 4);
                const int filtered = skip ? g.demosaic[plane] : g.smoothed[plane];
                EXPECT_EQ(ConvertFrame(f, 1, g.variant, skip, 4 + plane)[i], filtered / 4);
            }
        }
    }
}

TEST_F(BayerConverterTest, MatchesLiteralModelOnRandomFrames) {
    std::mt19937 random(20261209);
    // The wide frames reach every vector path with tails of every length beside it.
    const std::pair<int, int> sizes[] = {{1, 1},   {1, 7},  {7, 1},   {2, 2},   {6, 2},
                                         {3, 3},   {4, 5},  {9, 3},   {8, 8},   {17, 6},
                                         {31, 11}, {64, 4}, {40, 33}, {130, 4}, {197, 5}};
    std::uniform_real_distribution<float> coeff(-8, 8);
    int frames = 0;
    for (auto [w, h] : sizes) {
        const Frame f = RandomFrame(w, h, random);
        // Every third frame with the default matrix, the others with a random one.
        Matrix m{};
        if (++frames % 3 != 0) {
            for (auto& row : m) {
                for (auto& c : row)
                    c = coeff(random);
            }
        }
        SetMatrix(m);
        m = GetMatrix();
        for (int type : {0, 1, 2, 3, 6, 7}) {
            for (int variant : {0, 3}) {
                for (int skip : {0, 1}) {
                    for (int mode = 0; mode <= 9; ++mode) {
                        ASSERT_EQ(ConvertFrame(f, type, variant, skip, mode, (w + h) % 2),
                                  reference::Convert(f, type, variant, skip != 0, mode, m))
                            << w << "x" << h << " type " << type << " variant " << variant
                            << " skip " << skip << " mode " << mode;
                    }
                }
            }
        }
    }
}

TEST_F(BayerConverterTest, ConstantColoursFillEveryPixelIncludingBorders) {
    // Each colour site has its own level; every pixel of a plane, corners included, must then
    // show that level at the same 4x scale.
    const std::pair<int, int> sizes[] = {{8, 8}, {9, 7}, {3, 3}, {2, 2}, {5, 2}, {2, 5}, {16, 9}};
    const int levels[3] = {200, 120, 40};
    for (int variant : {0, 1}) {
        for (auto [w, h] : sizes) {
            Frame f{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h)};
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x)
                    f.samples[y * w + x] =
                        static_cast<std::uint8_t>(levels[reference::ColourAt(variant, y, x)]);
            }
            for (int mode = 1; mode <= 6; ++mode) {
                const auto out = ConvertFrame(f, 1, variant, 0, mode);
                EXPECT_TRUE(std::all_of(out.begin(), out.end(),
                                        [&](int v) { return v == levels[(mode - 1) % 3]; }))
                    << w << "x" << h << " variant " << variant << " mode " << mode;
            }
            // Identity matrix: 4 * level / 16.
            const auto colour = ConvertFrame(f, 1, variant, 0, 0);
            for (std::size_t i = 0; i < colour.size(); i += 3) {
                ASSERT_EQ(colour[i], 10) << i;
                ASSERT_EQ(colour[i + 1], 30) << i;
                ASSERT_EQ(colour[i + 2], 50) << i;
            }
        }
    }
}

TEST_F(BayerConverterTest, BorderValuesStayWithinTheirNeighbours) {
    std::mt19937 random(7);
    for (int variant : {0, 1}) {
        for (auto [w, h] : {std::pair{8, 8}, std::pair{7, 5}, std::pair{2, 9}}) {
            const Frame f = RandomFrame(w, h, random);
            for (int plane = 0; plane < 3; ++plane) {
                const auto demosaic = ConvertFrame(f, 1, variant, 1, 1 + plane);
                const auto smoothed = ConvertFrame(f, 1, variant, 0, 4 + plane);
                for (int y = 0; y < h; ++y) {
                    for (int x = 0; x < w; ++x) {
                        if (y != 0 && x != 0 && y != h - 1 && x != w - 1)
                            continue;
                        // A quarter of the 4x level lies between the same-colour samples of the
                        // 3 x 3 neighbourhood.
                        int lo = 255, hi = 0;
                        for (int dy = -1; dy <= 1; ++dy) {
                            for (int dx = -1; dx <= 1; ++dx) {
                                const int ny = y + dy, nx = x + dx;
                                if (ny < 0 || nx < 0 || ny >= h || nx >= w ||
                                    reference::ColourAt(variant, ny, nx) != plane)
                                    continue;
                                lo = std::min<int>(lo, f.samples[ny * w + nx]);
                                hi = std::max<int>(hi, f.samples[ny * w + nx]);
                            }
                        }
                        const int i = y * w + x;
                        EXPECT_GE(demosaic[i], lo) << "(" << y << ", " << x << ") plane " << plane;
                        EXPECT_LE(demosaic[i], hi) << "(" << y << ", " << x << ") plane " << plane;
                        // The smoothed border is the demosaic border.
                        EXPECT_EQ(smoothed[i], demosaic[i]) << "(" << y << ", " << x << ")";
                    }
                }
            }
        }
    }
}

TEST_F(BayerConverterTest, InputTypesExpandAndFoldBack) {
    // A flat frame keeps its expanded level in every plane: mode 0 with the identity matrix shows
    // the expanded value / 4, mode 1 folds it back through the 8-bit map.
    struct Case {
        int type, sample, expanded, folded;
    };
    const Case cases[] = {
        {0, 0, 0, 0},       {0, 63, 63, 63},     {0, 64, 64, 64},    {0, 95, 126, 95},
        {0, 96, 128, 96},   {0, 191, 508, 191},  {0, 192, 512, 192}, {0, 255, 1016, 255},
        {1, 200, 200, 200}, {7, 255, 255, 255},  {2, 100, 200, 100}, {2, 255, 510, 255},
        {3, 100, 400, 100}, {3, 255, 1020, 255}, {6, 127, 127, 127}, {6, 128, 128, 128},
        {6, 191, 254, 254}, {6, 192, 256, 255},  {6, 255, 508, 255}, {4, 200, 0, 0},
        {5, 200, 0, 0},     {8, 200, 0, 0},      {-1, 200, 0, 0},
    };
    for (const Case& c : cases) {
        const Frame f{4, 4, std::vector<std::uint8_t>(16, static_cast<std::uint8_t>(c.sample))};
        const auto colour = ConvertFrame(f, c.type, 0, 0, 0);
        EXPECT_EQ(colour[3 * 5], std::min(c.expanded / 4, 255))
            << "type " << c.type << " sample " << c.sample;
        const auto folded = ConvertFrame(f, c.type, 0, 0, 1);
        EXPECT_EQ(folded[5], c.folded) << "type " << c.type << " sample " << c.sample;
    }
}

TEST_F(BayerConverterTest, DegenerateMatricesSaturateLikeTheModel) {
    // Sums beyond the 32-bit range, infinities and NaNs (a zero sample times an infinity) must
    // come out as the literal model's 0 or 255 on the vector paths as on the plain one; the
    // frame is wide enough for every vector step with tails beside them.
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
    const Matrix matrices[] = {
        {{{1e30f, 0, 0}, {0, -1e30f, 0}, {1e9f, -1e9f, 1e9f}}},
        {{{kInf, 1, 1}, {-kInf, 1, 1}, {kInf, -kInf, 0}}},
        {{{kNan, 1, 1}, {1, kNan, 1}, {3, 3, 3}}},
        {{{-1e-30f, 0, 0}, {0.0625f, 0.0625f, 0.0625f}, {-0.01f, 0.01f, -0.01f}}},
    };
    std::mt19937 random(29);
    Frame f = RandomFrame(83, 5, random);
    for (std::size_t i = 0; i < f.samples.size(); i += 7)
        f.samples[i] = 0;
    for (const Matrix& m : matrices) {
        SetMatrix(m);
        const Matrix used = GetMatrix();
        for (int skip : {0, 1}) {
            EXPECT_EQ(ConvertFrame(f, 0, 0, skip, 0),
                      reference::Convert(f, 0, 0, skip != 0, 0, used))
                << "skip " << skip << " first coefficient " << m[0][0];
        }
    }
}

TEST_F(BayerConverterTest, AllZeroFrameGivesZeroWhateverTheMatrix) {
    const Frame f{9, 6, std::vector<std::uint8_t>(54, 0)};
    const Matrix matrices[] = {
        Matrix{}, kGoldenMatrix, {{{-5, -5, -5}, {1e30f, -1e30f, 1e30f}, {0.001f, 3, -7}}}};
    for (const Matrix& m : matrices) {
        SetMatrix(m);
        for (int type : {0, 3, 6}) {
            for (int skip : {0, 1}) {
                const auto out = ConvertFrame(f, type, skip, skip, 0);
                EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int v) { return v == 0; }));
            }
        }
    }
}

TEST_F(BayerConverterTest, OtherModesWriteNothing) {
    const Frame f{6, 4, std::vector<std::uint8_t>(24, 90)};
    for (int mode : {10, -1, 1000, std::numeric_limits<int>::min()}) {
        EXPECT_EQ(OrvexGetSingleColor(mode), mode);
        std::vector<std::uint8_t> dst(3 * 24, kGuard);
        EXPECT_EQ(OrvexMonoToRgb(6, 4, 1, 0, 0, f.samples.data(), dst.data()), 0);
        EXPECT_TRUE(std::all_of(dst.begin(), dst.end(), [](int v) { return v == kGuard; }));
    }
}

TEST_F(BayerConverterTest, BadArgumentsAreRefused) {
    std::vector<std::uint8_t> src(64, 100);
    std::vector<std::uint8_t> dst(3 * 64, kGuard);
    struct Case {
        int width, height;
        bool nullSrc, nullDst;
        int result;
    };
    const Case cases[] = {
        {8, 8, true, false, -1},      {8, 8, false, true, -1},    {-8, 8, false, false, -1},
        {8, -8, false, false, -1},    {-8, -8, false, false, -1}, {65536, 0, false, false, -1},
        {0, 70000, false, false, -1}, {0, 8, false, false, 0},    {8, 0, false, false, 0},
        {0, 0, false, false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OrvexMonoToRgb(c.width, c.height, 0, 0, 0, c.nullSrc ? nullptr : src.data(),
                                 c.nullDst ? nullptr : dst.data()),
                  c.result)
            << c.width << "x" << c.height;
        EXPECT_TRUE(std::all_of(dst.begin(), dst.end(), [](int v) { return v == kGuard; }));
    }
    EXPECT_EQ(OrvexRgbSetup(-1, 1), -1);
    EXPECT_EQ(OrvexRgbSetup(1, 65536), -1);
    EXPECT_EQ(OrvexRgbSetup(0, 0), 0);
    EXPECT_EQ(OrvexRgbSetup(65535, 0), 0);
    // A good frame after all that converts normally.
    const Frame f{8, 8, src};
    EXPECT_EQ(ConvertFrame(f, 1, 0, 0, 1), std::vector<std::uint8_t>(64, 100));
}

TEST_F(BayerConverterTest, NewShapeWithSamePixelCountIsTakenUp) {
    std::mt19937 random(3);
    const Frame wide = RandomFrame(12, 4, random);
    Frame tall = wide;
    tall.width = 4;
    tall.height = 12;
    for (int mode : {0, 2, 5}) {
        ConvertFrame(wide, 0, 0, 0, mode);
        EXPECT_EQ(ConvertFrame(tall, 0, 0, 0, mode),
                  reference::Convert(tall, 0, 0, false, mode, kIdentity));
        EXPECT_EQ(ConvertFrame(wide, 0, 0, 0, mode),
                  reference::Convert(wide, 0, 0, false, mode, kIdentity));
    }
    // The white-balance region follows the new width too: row 1 of a 4-wide image.
    std::vector<std::uint8_t> rgb(4 * 12 * 3, 0);
    for (int x = 0; x < 4; ++x)
        std::fill_n(&rgb[(4 + x) * 3], 3, 90);
    ConvertFrame(tall, 0, 0, 0, 0);
    OrvexWhiteBalanceRegion(0, 1, 4, 1, rgb.data());
    int r = 0, g = 0, b = 0;
    OrvexGetWhiteBalance(&r, &g, &b);
    EXPECT_EQ(r, 90);
    SetMatrix(kIdentity);
}

TEST_F(BayerConverterTest, ConvertsAgainAfterDeallocate) {
    std::mt19937 random(5);
    const Frame f = RandomFrame(10, 6, random);
    const auto before = ConvertFrame(f, 0, 1, 0, 0);
    TintoraDeallocate();
    TintoraDeallocate();
    EXPECT_EQ(ConvertFrame(f, 0, 1, 0, 0), before);
    TintoraDeallocate();
    EXPECT_EQ(OrvexRgbSetup(10, 6), 0);
    EXPECT_EQ(ConvertFrame(f, 0, 1, 0, 0), before);
}

TEST_F(BayerConverterTest, OutputModeIsKept) {
    for (int mode : {0, 3, 9, 42, -7})
        EXPECT_EQ(OrvexGetSingleColor(mode), mode);
    // The matrix is not touched by converting.
    SetMatrix(kGoldenMatrix);
    ConvertFrame(kGoldenFrame, 1, 0, 0, 0);
    EXPECT_EQ(GetMatrix(), kGoldenMatrix);
}

}  // namespace
