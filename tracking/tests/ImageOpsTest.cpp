#include "tracking/ImageOps.h"

#include "tracking/MImage.h"
#include "tracking/tests/TrackingImages.h"

#include "testsupport/IsolatedTest.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <random>

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

// The correlation as matchTemplate gives it over the window padded with zeros by half the
// template: the values the tracker's results and goldens were made with.
cv::Mat PaddedReference(const cv::Mat& window, const cv::Mat& pattern) {
    const int left = pattern.cols / 2;
    const int top = pattern.rows / 2;
    cv::Mat padded;
    cv::copyMakeBorder(window, padded, top, pattern.rows - 1 - top, left, pattern.cols - 1 - left,
                       cv::BORDER_CONSTANT, cv::Scalar::all(0));
    cv::Mat correlation;
    cv::matchTemplate(padded, pattern, correlation, cv::TM_CCORR_NORMED);
    cv::Mat result;
    correlation.convertTo(result, CV_8U, 255.0);
    return result;
}

TEST_F(ImageOpsTest, CorrelationEqualsThePaddedMatchToTheBit) {
    struct Case {
        const char* name;
        int width;  // Search window.
        int height;
        int templateWidth;
        int templateHeight;
        int cutX;  // Where the template is cut from the window (-1: noise of its own).
        int cutY;
        bool blackWindowHalf;
    };
    const Case cases[] = {
        {"tracking window", 61, 61, 21, 21, 20, 20, false},
        {"template at the corner", 61, 61, 21, 21, 0, 0, false},
        {"template at the far corner", 61, 61, 21, 21, 40, 40, false},
        {"same template again", 61, 61, 21, 21, 40, 40, false},
        {"even sides", 48, 36, 10, 14, 30, 5, false},
        {"one pixel template", 20, 20, 1, 1, 7, 3, false},
        {"one row window", 40, 1, 9, 5, -1, -1, false},
        {"window smaller than the template", 8, 6, 15, 11, -1, -1, false},
        {"black half window", 50, 40, 13, 13, 30, 20, true},
        {"black template", 30, 30, 7, 7, -1, -1, true},
        {"noise template", 70, 55, 25, 19, -1, -1, false},
        {"taller than one block", 40, 300, 21, 21, 10, 200, false},
    };
    std::mt19937 random(11);
    std::uniform_int_distribution<int> level(0, 255);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cv::Mat window(c.height, c.width, CV_8UC1);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                window.at<uint8_t>(y, x) = static_cast<uint8_t>(level(random));
        cv::GaussianBlur(window, window, cv::Size(5, 5), 1.5);
        if (c.blackWindowHalf)
            window(cv::Rect(0, 0, c.width / 2, c.height)).setTo(cv::Scalar::all(0));
        cv::Mat pattern(c.templateHeight, c.templateWidth, CV_8UC1, cv::Scalar::all(0));
        if (c.cutX >= 0) {
            window(cv::Rect(c.cutX, c.cutY, c.templateWidth, c.templateHeight)).copyTo(pattern);
            for (int y = 0; y < pattern.rows; ++y)  // Some noise, so the match is not perfect.
                for (int x = 0; x < pattern.cols; ++x)
                    pattern.at<uint8_t>(y, x) = cv::saturate_cast<uint8_t>(
                        pattern.at<uint8_t>(y, x) + level(random) % 9 - 4);
        } else if (std::string(c.name) != "black template") {
            for (int y = 0; y < pattern.rows; ++y)
                for (int x = 0; x < pattern.cols; ++x)
                    pattern.at<uint8_t>(y, x) = static_cast<uint8_t>(level(random));
        }
        CMImage search;
        CMImage templ;
        search.Allocate(c.width, c.height);
        templ.Allocate(c.templateWidth, c.templateHeight);
        window.copyTo(search.Pixels());
        pattern.copyTo(templ.Pixels());
        CMImage result;
        m_ops.NormCrossCorr(search, templ, result);
        const cv::Mat expected = PaddedReference(window, pattern);
        ASSERT_EQ(result.Pixels().size(), expected.size());
        EXPECT_EQ(cv::countNonZero(result.Pixels() != expected), 0);
    }
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
