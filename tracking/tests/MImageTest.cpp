#include "tracking/MImage.h"

#include "tracking/tests/TrackingImages.h"

#include "testsupport/IsolatedTest.h"

#include <vector>

namespace {

class MImageTest : public IsolatedTest {};

// A bottom-up DIB of width x height whose pixel (x, y) has its bytes from pixel(x, y).
template <typename Pixel>
std::vector<BYTE> MakeDib(BITMAPINFOHEADER& header, int width, int height, int bitCount,
                          bool topDown, Pixel pixel) {
    header.biWidth = width;
    header.biHeight = topDown ? -height : height;
    header.biBitCount = static_cast<WORD>(bitCount);
    const DWORD stride = DibRowBytes(width, header.biBitCount);
    std::vector<BYTE> bits(stride * height, 0);
    const int bytes = bitCount / 8;
    for (int y = 0; y < height; ++y) {
        const int row = topDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const std::vector<BYTE> p = pixel(x, y);
            for (int b = 0; b < bytes; ++b)
                bits[row * stride + x * bytes + b] = p[static_cast<size_t>(b)];
        }
    }
    return bits;
}

TEST_F(MImageTest, LoadsEachDepthTheRightWayUpAndReadsTheMeanOfTheColours) {
    struct Case {
        int bitCount;
        bool topDown;
        std::vector<BYTE> atOneTwo;  // The bytes of pixel (1, 2); every other pixel is zero.
        int channels;
        int depth;
        int expected;
    };
    const Case cases[] = {
        {8, false, {77}, 1, 8, 77},
        {8, true, {77}, 1, 8, 77},
        {16, false, {0x34, 0x12}, 1, 16, 0x1234},
        {24, false, {10, 20, 31}, 3, 8, 20},
        {32, false, {10, 20, 31, 255}, 4, 8, 20},  // Alpha is not counted.
        {32, true, {1, 2, 2, 0}, 4, 8, 1},         // Integer division.
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bitCount << " bits, top-down " << c.topDown);
        BITMAPINFOHEADER header;
        const std::vector<BYTE> bits = MakeDib(
            header, 5, 4, c.bitCount, c.topDown,
            [&](int x, int y) { return x == 1 && y == 2 ? c.atOneTwo : std::vector<BYTE>(4, 0); });
        CMImage image;
        ASSERT_TRUE(image.LoadFromDib(header, bits.data()));
        EXPECT_EQ(image.GetWidth(), 5);
        EXPECT_EQ(image.GetHeight(), 4);
        EXPECT_EQ(image.GetChannels(), c.channels);
        EXPECT_EQ(image.GetDepth(), c.depth);
        EXPECT_EQ(image.GetPixel(1, 2), c.expected);
        EXPECT_EQ(image.GetPixel(1, 1), 0);
        EXPECT_EQ(image.GetPixel(5, 0), 0);  // Outside.
    }
}

TEST_F(MImageTest, LoadsAPartKeepingItsSizeAndReusesAGreyImage) {
    BITMAPINFOHEADER header;
    const std::vector<BYTE> bits = MakeDib(header, 6, 5, 24, false, [](int x, int y) {
        const BYTE v = static_cast<BYTE>(10 * y + x);
        return std::vector<BYTE>{v, v, static_cast<BYTE>(v + 3)};
    });
    CMImage image;
    const CRect part(4, 1, 7, 2);  // Passes the right edge by two columns.
    ASSERT_TRUE(image.LoadFromDib(header, bits.data(), &part));
    EXPECT_EQ(image.GetWidth(), 4);
    EXPECT_EQ(image.GetHeight(), 2);
    EXPECT_EQ(image.GetChannels(), 3);
    EXPECT_EQ(image.GetPixel(0, 0), 15);  // Frame pixel (4, 1): mean of 14, 14, 17.
    EXPECT_EQ(image.GetPixel(1, 1), 26);  // Frame pixel (5, 2).
    EXPECT_EQ(image.GetPixel(2, 0), 0);   // Beyond the bitmap.

    CMImage grey;
    grey.Allocate(6, 5);
    ASSERT_TRUE(grey.LoadFromDib(header, bits.data()));
    EXPECT_EQ(grey.GetChannels(), 1);
    EXPECT_EQ(grey.GetPixel(5, 4), 46);  // Mean of 45, 45, 48.
}

TEST_F(MImageTest, RefusesBitmapsItCannotConvert) {
    BITMAPINFOHEADER header;
    std::vector<BYTE> bits =
        MakeDib(header, 4, 4, 8, false, [](int, int) { return std::vector<BYTE>{1}; });
    struct Case {
        const char* name;
        WORD bitCount;
        DWORD compression;
    };
    const Case cases[] = {{"1 bit", 1, BI_RGB}, {"4 bits", 4, BI_RGB}, {"run-length", 8, BI_RLE8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BITMAPINFOHEADER bad = header;
        bad.biBitCount = c.bitCount;
        bad.biCompression = c.compression;
        Prompter().ExpectMessageBox("Failed to convert DIB to image format.", IDOK);
        CMImage image;
        EXPECT_FALSE(image.LoadFromDib(bad, bits.data()));
        EXPECT_FALSE(image.HasImage());
        ASSERT_FALSE(Prompter().Prompts().empty());
        EXPECT_EQ(Prompter().Prompts().back().caption, "Error");
    }
}

TEST_F(MImageTest, ClampsTheRegionOfInterestOffsetBeforeItsSize) {
    struct Case {
        CRect asked;
        CRect clamped;
    };
    const Case cases[] = {
        {{-3, 2, 5, 4}, {0, 2, 8, 4}},   // Starts left of the image: full width from x 0.
        {{6, -2, 14, 3}, {6, 0, 9, 5}},  // Cut at the far edges.
        {{2, 3, 4, 5}, {2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        CMImage image;
        image.Allocate(10, 8);
        image.SetRoi(c.asked);
        EXPECT_EQ(image.GetRoiRect(), c.clamped);
    }
    CMImage image;
    image.Allocate(10, 8);
    EXPECT_EQ(image.GetRoiRect(), CRect(0, 0, 9, 7));
}

TEST_F(MImageTest, FindsPeaksColumnByColumnSoTheLeftmostOfEqualValuesWins) {
    CMImage image;
    image.Allocate(6, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            image.PutPixel(x, y, 50);
    // Row by row, (4, 0) and (4, 1) would come first; column by column (1, 3) and (2, 4) do.
    image.PutPixel(4, 0, 200);
    image.PutPixel(1, 3, 200);
    image.PutPixel(4, 1, 10);
    image.PutPixel(2, 4, 10);
    PeakInfo peak;
    image.FindPeak(peak);
    EXPECT_EQ(peak.MaxValue, 200);
    EXPECT_EQ(peak.MaxX, 1);
    EXPECT_EQ(peak.MaxY, 3);
    EXPECT_EQ(peak.MinValue, 10);
    EXPECT_EQ(peak.MinX, 2);
    EXPECT_EQ(peak.MinY, 4);

    image.SetRoi(CRect(3, 0, 5, 2));
    image.FindPeak(peak);
    EXPECT_EQ(peak.MaxX, 4);
    EXPECT_EQ(peak.MaxY, 0);
    EXPECT_EQ(peak.MinX, 4);
    EXPECT_EQ(peak.MinY, 1);
}

TEST_F(MImageTest, MasksOutsideTheInscribedCircleAndEllipse) {
    CMImage circle;
    circle.Allocate(11, 11);
    CMImage ellipse;
    ellipse.Allocate(15, 7);
    for (CMImage* image : {&circle, &ellipse})
        for (int y = 0; y < image->GetHeight(); ++y)
            for (int x = 0; x < image->GetWidth(); ++x)
                image->PutPixel(x, y, 100);
    circle.MaskOutsideCircle(-1, -1, 0.0);         // Centre (5, 5), radius 5.5.
    ellipse.MaskOutsideEllipse(-1, -1, 0.0, 0.0);  // Centre (7, 3), semi-axes 7.5 and 3.5.
    struct Case {
        const CMImage* image;
        int x;
        int y;
        int expected;
    };
    const Case cases[] = {
        {&circle, 5, 5, 100},  {&circle, 5, 0, 100},
        {&circle, 0, 0, 0},    {&circle, 1, 1, 0},  // 32 > 30.25.
        {&circle, 1, 2, 100},                       // 25 <= 30.25.
        {&ellipse, 0, 3, 100}, {&ellipse, 7, 0, 100},
        {&ellipse, 0, 0, 0},   {&ellipse, 14, 6, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.image->GetPixel(c.x, c.y), c.expected) << c.x << "," << c.y;
}

}  // namespace
