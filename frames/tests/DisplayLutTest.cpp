#include "frames/DisplayLut.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

// The palette level i maps to on channel 0 (red), with only that one value set.
struct CurveCase {
    const char* kind;
    double value;
    int level;
    int expected;
};

CLutParamSet WithValue(const char* kind, int channel, double value) {
    CLutParamSet p;
    const std::string k = kind;
    const auto v = k == "gamma" ? 0 : static_cast<LONG>(value);
    if (k == "brightness")
        p.SetBrightness(channel, v);
    else if (k == "contrast")
        p.SetContrast(channel, v);
    else if (k == "gamma")
        p.SetGamma(channel, value);
    else if (k == "explog")
        p.SetExpLog(channel, v);
    else if (k == "reverse")
        p.SetReverse(channel, v);
    return p;
}

}  // namespace

TEST(DisplayLutTest, NeutralSetIsIdentity) {
    CDisplayLut lut;
    const RGBQUAD* palette = lut.Build(CLutParamSet(), 0);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(palette[i].rgbRed, i);
        ASSERT_EQ(palette[i].rgbGreen, i);
        ASSERT_EQ(palette[i].rgbBlue, i);
    }
    EXPECT_TRUE(lut.IsIdentity());
    CLutParamSet flagged;
    flagged.SetColor2BW(1);
    flagged.SetRGBScale(1, 2, 3);
    EXPECT_TRUE(lut.IsIdentity(&flagged));  // scales and the B&W flag are not curves
    const CLutParamSet exp = WithValue("explog", 2, 1);
    EXPECT_FALSE(lut.IsIdentity(&exp));
}

TEST(DisplayLutTest, CurveFormulas) {
    const CurveCase cases[] = {
        {"brightness", 10, 0, 21},   {"brightness", 10, 233, 254}, {"brightness", 10, 234, 255},
        {"brightness", -10, 19, 0},  {"brightness", -10, 20, 1},   {"brightness", -10, 255, 236},
        {"gamma", 2.0, 64, 127},     {"gamma", 2.0, 128, 180},     {"gamma", 0.5, 64, 16},
        {"gamma", 5.0, 128, 222},    {"gamma", 2.0, 0, 0},         {"contrast", 50, 0, 0},
        {"contrast", 50, 64, 3},     {"contrast", 50, 200, 252},   {"contrast", 127, 64, 0},
        {"contrast", 127, 128, 127}, {"contrast", -50, 0, 55},     {"contrast", -50, 64, 111},
        {"contrast", -50, 255, 200}, {"contrast", -128, 0, 99},    {"contrast", -128, 200, 135},
        {"explog", 1, 64, 42},       {"explog", 1, 128, 96},       {"explog", 60, 128, 71},
        {"explog", 127, 128, 0},     {"explog", -1, 64, 91},       {"explog", -60, 128, 180},
        {"explog", -128, 64, 253},   {"explog", 0, 77, 77},        {"reverse", 1, 0, 255},
        {"reverse", 1, 200, 55},
    };
    for (const auto& c : cases) {
        CDisplayLut lut;
        const RGBQUAD* palette = lut.Build(WithValue(c.kind, 0, c.value), 0);
        EXPECT_EQ(palette[c.level].rgbRed, c.expected)
            << c.kind << " " << c.value << " @" << c.level;
        EXPECT_EQ(palette[c.level].rgbGreen, c.level) << "channel 0 touches red only";
        EXPECT_EQ(palette[c.level].rgbBlue, c.level);
    }
    // The ends of the S-curve land on 255 up to truncation.
    for (double contrast : {50.0, 127.0}) {
        CDisplayLut lut;
        EXPECT_GE(lut.Build(WithValue("contrast", 0, contrast), 0)[255].rgbRed, 254);
    }
}

TEST(DisplayLutTest, ChannelsAndOrder) {
    CDisplayLut lut;
    // Reverse on channel 1 changes green bytes only.
    const RGBQUAD* p = lut.Build(WithValue("reverse", 1, 1), 0);
    EXPECT_EQ(p[10].rgbGreen, 245);
    EXPECT_EQ(p[10].rgbRed, 10);
    EXPECT_EQ(p[10].rgbBlue, 10);
    // Channel 2 is blue.
    p = lut.Build(WithValue("brightness", 2, 10), 0);
    EXPECT_EQ(p[0].rgbBlue, 21);
    EXPECT_EQ(p[0].rgbRed, 0);

    // Steps compose: brightness before reverse.
    CLutParamSet both;
    both.SetBrightness(0, 10);
    both.SetReverse(0, 1);
    EXPECT_EQ(lut.Build(both, 0)[0].rgbRed, 255 - 21);

    // All channels: channel 0's values on all three bytes, channels 1 and 2 ignored.
    CLutParamSet all;
    all.SetBrightness(0, 10);
    all.SetReverse(0, 1);
    all.SetGamma(1, 3.0);
    all.SetContrast(2, 100);
    p = lut.Build(all, 1);
    for (int i : {0, 100, 255}) {
        const int expected = 255 - std::min(255, i + 21);
        EXPECT_EQ(p[i].rgbRed, expected);
        EXPECT_EQ(p[i].rgbGreen, expected);
        EXPECT_EQ(p[i].rgbBlue, expected);
    }
    // Every build starts from identity.
    p = lut.Build(CLutParamSet(), 0);
    EXPECT_EQ(p[0].rgbRed, 0);
    EXPECT_EQ(p[0].rgbBlue, 0);
}

TEST(DisplayLutTest, OutOfRangeValuesGiveDefinedTables) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(CurveByte(nan), 0);
    EXPECT_EQ(CurveByte(inf), 255);
    EXPECT_EQ(CurveByte(-inf), 0);
    EXPECT_EQ(CurveByte(1e300), 255);
    EXPECT_EQ(CurveByte(-1e300), 0);
    EXPECT_EQ(CurveByte(300.7), 44);  // in range: truncated, low 8 bits
    EXPECT_EQ(CurveByte(-1.5), 255);

    // Values far beyond the editor's ranges build (the sanitizers watch the conversions).
    const CurveCase extremes[] = {
        {"brightness", 2147483647.0, 0, 255},
        {"brightness", -2147483648.0, 255, 0},
        {"contrast", 2147483647.0, 0, -1},
        {"contrast", -2147483648.0, 0, -1},
        {"gamma", 0.0, 64, 0},
        {"gamma", -1.0, 64, -1},
        {"gamma", inf, 64, 255},
        {"gamma", nan, 64, -1},
        {"explog", 2147483647.0, 64, -1},
        {"explog", -2147483648.0, 64, -1},
        {"explog", 128.0, 64, -1},
        {"explog", -129.0, 64, -1},
    };
    for (const auto& c : extremes) {
        CDisplayLut lut;
        const RGBQUAD* first = lut.Build(WithValue(c.kind, 0, c.value), 0);
        const int got = first[c.level].rgbRed;
        if (c.expected >= 0) {
            EXPECT_EQ(got, c.expected) << c.kind << " " << c.value;
        }
        CDisplayLut again;
        EXPECT_EQ(again.Build(WithValue(c.kind, 0, c.value), 0)[c.level].rgbRed, got)
            << "deterministic: " << c.kind << " " << c.value;
    }
}

TEST(DisplayLutTest, MapsColourTablesAndPixels) {
    CDisplayLut lut;
    CLutParamSet p;
    p.SetReverse(0, 1);      // red
    p.SetBrightness(2, 10);  // blue
    lut.Build(p, 0);

    const RGBQUAD src[2] = {{0, 0, 0, 9}, {100, 50, 200, 9}};
    RGBQUAD dst[2] = {{1, 1, 1, 77}, {1, 1, 1, 78}};
    lut.MapColourTable(src, dst, 2);
    EXPECT_EQ(dst[0].rgbBlue, 21);
    EXPECT_EQ(dst[0].rgbRed, 255);
    EXPECT_EQ(dst[0].rgbReserved, 77);
    EXPECT_EQ(dst[1].rgbBlue, 121);
    EXPECT_EQ(dst[1].rgbGreen, 50);
    EXPECT_EQ(dst[1].rgbRed, 55);

    // 24-bit, width 3 with DWORD rows: 9 bytes of pixels and 3 of padding per row.
    std::vector<BYTE> rgb(12 * 2, 0xEE);
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 9; ++i)
            rgb[row * 12 + i] = static_cast<BYTE>(10 * i + row);
    }
    std::vector<BYTE> out(rgb.size(), 0xAB);
    lut.MapPixels(rgb.data(), out.data(), 24, true, 3, 2);
    EXPECT_EQ(out[0], 21);        // blue 0 + brightness
    EXPECT_EQ(out[1], 10);        // green unchanged
    EXPECT_EQ(out[2], 255 - 20);  // red reversed
    EXPECT_EQ(out[12 + 3], 30 + 1 + 21);
    EXPECT_EQ(out[9], 0xAB);  // padding not written

    // 16-bit 5-5-5: red 31, green 3, blue 0, bit 15 set in the source.
    const uint16_t px = 0x8000 | (31 << 10) | (3 << 5) | 0;
    const BYTE packed[2] = {static_cast<BYTE>(px), static_cast<BYTE>(px >> 8)};
    BYTE mapped[2] = {};
    lut.MapPixels(packed, mapped, 16, false, 1, 1);
    const unsigned result = mapped[0] | (mapped[1] << 8);
    EXPECT_EQ(result >> 15, 0u);
    EXPECT_EQ((result >> 10) & 31, (255u - 248u) >> 3);  // reversed red
    EXPECT_EQ((result >> 5) & 31, 3u);
    EXPECT_EQ(result & 31, 21u >> 3);  // blue level 0 brightened to 21

    BYTE untouched[4] = {1, 2, 3, 4};
    lut.MapPixels(untouched, untouched, 8, false, 4, 1);
    EXPECT_EQ(untouched[3], 4);
}

TEST(DisplayLutTest, GreyConversionWeights) {
    CDisplayLut lut;
    CLutParamSet p;
    p.SetRGBScale(30, 60, 10);  // red, green, blue; weights apply to blue, green, red
    lut.Build(p, 0);
    // One 24-bit pixel (B, G, R) = (200, 100, 50): (200*10 + 100*60 + 50*30) / 100 = 95.
    const BYTE bgr[3] = {200, 100, 50};
    BYTE grey[4] = {9, 9, 9, 9};
    lut.ConvertToGrey(bgr, grey, 24, true, 1, 1, nullptr);
    EXPECT_EQ(grey[0], 95);

    // 16-bit: fields times 8.
    const uint16_t px = (4 << 10) | (2 << 5) | 1;  // R 32, G 16, B 8
    const BYTE packed[2] = {static_cast<BYTE>(px), static_cast<BYTE>(px >> 8)};
    lut.ConvertToGrey(packed, grey, 16, false, 1, 1, nullptr);
    EXPECT_EQ(grey[0], (8 * 10 + 16 * 60 + 32 * 30) / 100);

    // 8-bit through the frame's colour table, or as grey levels without one.
    const BYTE indices[2] = {1, 200};
    RGBQUAD table[256] = {};
    table[1] = {200, 100, 50, 0};
    lut.ConvertToGrey(indices, grey, 8, false, 2, 1, table);
    EXPECT_EQ(grey[0], 95);
    EXPECT_EQ(grey[1], 0);
    lut.ConvertToGrey(indices, grey, 8, false, 2, 1, table, 2);  // a short table
    EXPECT_EQ(grey[0], 95);
    EXPECT_EQ(grey[1], 0);
    lut.ConvertToGrey(indices, grey, 8, false, 2, 1, nullptr);
    EXPECT_EQ(grey[0], 1);
    EXPECT_EQ(grey[1], 200);

    // Rows wider than one round of eight, with DWORD padding: every pixel through its index.
    std::vector<BYTE> wide(16 * 2);
    for (size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<BYTE>(i * 9);
    std::vector<BYTE> wideGrey(16 * 2, 0xCC);
    for (int i = 0; i < 256; ++i)
        table[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), 0, 0};
    lut.ConvertToGrey(wide.data(), wideGrey.data(), 8, true, 13, 2, table);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int index = wide[y * 16 + x];
            const int expected = x < 13 ? (index * 10 + (255 - index) * 60) / 100 : 0xCC;
            EXPECT_EQ(wideGrey[y * 16 + x], expected) << x << "," << y;
        }
    }

    // The palette applies before weighting.
    CLutParamSet reversed = p;
    reversed.SetReverse(0, 1);
    reversed.SetReverse(1, 1);
    reversed.SetReverse(2, 1);
    lut.Build(reversed, 0);
    lut.ConvertToGrey(bgr, grey, 24, false, 1, 1, nullptr);
    EXPECT_EQ(grey[0], (55 * 10 + 155 * 60 + 205 * 30) / 100);

    // All scales 0: the whole padded destination becomes 0.
    CLutParamSet zero;
    zero.SetRGBScale(0, 0, 0);
    lut.Build(zero, 0);
    std::vector<BYTE> padded(8, 0x55);
    const BYTE two[6] = {1, 2, 3, 4, 5, 6};
    lut.ConvertToGrey(two, padded.data(), 24, true, 2, 2, nullptr);
    EXPECT_EQ(padded, std::vector<BYTE>(8, 0));
}
