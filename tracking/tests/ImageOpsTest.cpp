#include "tracking/ImageOps.h"

#include "tracking/MImage.h"
#include "tracking/tests/TrackingImages.h"

#include "testsupport/IsolatedTest.h"

namespace {

class ImageOpsTest : public IsolatedTest {
protected:
    CImageOps m_ops;
};

TEST_F(ImageOpsTest, ThresholdsAtALevelOrInABand) {
    CMImage ramp;
    ramp.Allocate(256, 1);
    for (int x = 0; x < 256; ++x)
        ramp.PutPixel(x, 0, x);
    struct Case {
        const char* name;
        int low;
        int high;
        bool binarise;
        int value;
        int inside;  // First and last value inside the band.
        int last;
        int insideResult;  // What the band holds at `inside`: -1 for the source value.
    };
    const Case cases[] = {
        {"at 191", 191, 255, true, 255, 191, 255, 255},
        {"at 255 only", 255, 255, true, 255, 255, 255, 255},
        {"band to a value", 100, 150, true, 128, 100, 149, 128},
        {"band keeps the source", 100, 150, false, 255, 100, 149, -1},
        {"empty band widened", 100, 100, true, 255, 100, 100, 255},
        {"clamped", -20, 300, true, 255, 0, 255, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMImage out;
        m_ops.Threshold(ramp, out, c.low, c.high, c.binarise, c.value);
        for (int x = 0; x < 256; ++x) {
            const bool in = x >= c.inside && x <= c.last;
            const int expected = !in ? 0 : c.insideResult < 0 ? x : c.insideResult;
            ASSERT_EQ(out.GetPixel(x, 0), expected) << "at " << x;
        }
    }
}

TEST_F(ImageOpsTest, CopiesARegionClampedLikeTheRegionOfInterest) {
    CMImage frame;
    frame.Allocate(10, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            frame.PutPixel(x, y, 10 * y + x);

    CMImage window;
    m_ops.CopyRegion(frame, window, CRect(-2, 1, 3, 2));  // Starts left of the frame.
    ASSERT_EQ(window.GetWidth(), 6);
    ASSERT_EQ(window.GetHeight(), 2);
    EXPECT_EQ(window.GetPixel(0, 0), 10);  // From x 0, full width.
    EXPECT_EQ(window.GetPixel(5, 1), 25);

    m_ops.CopyRegion(frame, window, CRect(8, 4, 11, 7));  // Passes the far edges.
    ASSERT_EQ(window.GetWidth(), 4);
    EXPECT_EQ(window.GetPixel(1, 1), 59);
    EXPECT_EQ(window.GetPixel(2, 1), 0);
    EXPECT_EQ(window.GetPixel(1, 2), 0);
    EXPECT_FALSE(window.HasRoi());
}

TEST_F(ImageOpsTest, CopiesAColourRegionAsGrey) {
    BITMAPINFOHEADER header;
    header.biWidth = 2;
    header.biHeight = 1;
    header.biBitCount = 24;
    const BYTE bits[8] = {30, 60, 91, 0, 0, 0, 0, 0};
    CMImage colour;
    ASSERT_TRUE(colour.LoadFromDib(header, bits));
    CMImage grey;
    m_ops.CopyRegion(colour, grey, CRect(0, 0, 1, 0));
    EXPECT_EQ(grey.GetChannels(), 1);
    EXPECT_EQ(grey.GetPixel(0, 0), 60);
}

TEST_F(ImageOpsTest, CorrelatesWithTheTemplateCentredOnEachPixel) {
    CMImage frame;
    RenderScene(frame, 60, 50, {Feature{30.0, 22.0, 0.0, 4.5, 2.5}}, 7);
    CMImage patch;
    const CRect cut(21, 15, 39, 29);  // 19 x 15, its centre pixel (9, 7) on (30, 22).
    m_ops.CopyRegion(frame, patch, cut);

    CMImage result;
    m_ops.NormCrossCorr(frame, patch, result);
    ASSERT_EQ(result.GetWidth(), 60);
    ASSERT_EQ(result.GetHeight(), 50);
    PeakInfo peak;
    result.FindPeak(peak);
    EXPECT_EQ(peak.MaxValue, 255);
    EXPECT_EQ(peak.MaxX, 30);
    EXPECT_EQ(peak.MaxY, 22);
    // The template hangs over the edge at the corners: zeros there, not an error.
    EXPECT_LT(result.GetPixel(0, 0), 255);

    frame.SetRoi(CRect(20, 10, 44, 39));
    m_ops.NormCrossCorr(frame, patch, result);
    EXPECT_EQ(result.GetWidth(), 25);
    EXPECT_EQ(result.GetHeight(), 30);
    result.FindPeak(peak);
    EXPECT_EQ(peak.MaxX, 10);
    EXPECT_EQ(peak.MaxY, 12);
}

TEST_F(ImageOpsTest, RotatesCounterClockwiseAboutTheCentre) {
    CMImage image;
    image.Allocate(11, 11);
    image.PutPixel(8, 5, 200);  // Three pixels right of the centre (5, 5).
    CMImage turned;
    m_ops.Rotate(image, turned, 90.0, -1.0, -1.0, 1);
    EXPECT_EQ(turned.GetPixel(5, 2), 200);  // Now three pixels above it.
    EXPECT_EQ(turned.GetPixel(8, 5), 0);

    m_ops.Rotate(image, image, -90.0, 8.0, 5.0, 0);  // In place about the pixel itself.
    EXPECT_EQ(image.GetPixel(8, 5), 200);
}

}  // namespace
