#include "tracking/LaneDft.h"

#include <gtest/gtest.h>

#include <opencv2/core.hpp>
#include <opencv2/core/hal/hal.hpp>

#include <random>

namespace {

cv::Mat Noise(int rows, int cols, std::mt19937& random) {
    cv::Mat m(rows, cols, CV_8UC1);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x)
            m.at<uint8_t>(y, x) = static_cast<uint8_t>(random());
    return m;
}

// The template's spectrum and the correlation sums as OpenCV's transforms and product give them.
cv::Mat Spectrum(const cv::Mat& pattern, int width, int height) {
    cv::Mat spectrum(height, width, CV_32F, cv::Scalar::all(0));
    pattern.convertTo(spectrum(cv::Rect(0, 0, pattern.cols, pattern.rows)), CV_32F);
    cv::hal::DFT2D::create(width, height, CV_32F, 1, 1, CV_HAL_DFT_IS_INPLACE, pattern.rows)
        ->apply(spectrum.data, spectrum.step, spectrum.data, spectrum.step);
    return spectrum;
}

cv::Mat OpenCvSums(const cv::Mat& window, int left, int top, const cv::Mat& spectrum) {
    const int width = spectrum.cols;
    const int height = spectrum.rows;
    cv::Mat image(height, width, CV_32F, cv::Scalar::all(0));
    window.convertTo(image(cv::Rect(left, top, window.cols, window.rows)), CV_32F);
    cv::hal::DFT2D::create(width, height, CV_32F, 1, 1, CV_HAL_DFT_IS_INPLACE, top + window.rows)
        ->apply(image.data, image.step, image.data, image.step);
    cv::mulSpectrums(image, spectrum, image, 0, true);
    cv::hal::DFT2D::create(width, height, CV_32F, 1, 1,
                           CV_HAL_DFT_IS_INPLACE | CV_HAL_DFT_INVERSE | CV_HAL_DFT_SCALE,
                           window.rows)
        ->apply(image.data, image.step, image.data, image.step);
    return image(cv::Rect(0, 0, window.cols, window.rows)).clone();
}

// Every size class of the passes: odd and even sides, each radix alone and mixed, the
// power-of-two part with and without a radix-2 pass, first and last factors that differ (which
// reorders a real inverse's input), and windows at the edges of the image.
TEST(LaneDftTest, SumsEqualOpenCvsToTheBit) {
    struct Case {
        int width;
        int height;
        int patternCols;
        int patternRows;
        int left;
        int top;
    };
    const Case cases[] = {
        {81, 81, 21, 21, 10, 10},  // The tracker's usual window.
        {2, 2, 1, 1, 0, 0},         {3, 5, 2, 3, 1, 2},       {4, 8, 3, 3, 1, 1},
        {16, 32, 5, 9, 2, 4},       {128, 64, 31, 17, 15, 8}, {25, 27, 9, 7, 4, 3},
        {12, 45, 5, 11, 2, 5},      {30, 90, 7, 13, 3, 6},    {96, 100, 33, 41, 16, 20},
        {243, 9, 40, 4, 0, 0},      {10, 250, 3, 60, 1, 59},  {75, 48, 1, 1, 0, 0},
        {256, 270, 60, 70, 59, 69},
    };
    if (!CLaneDft::Available())
        GTEST_SKIP() << "no vector lanes on this processor";
    std::mt19937 random(5);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        CLaneDft lanes;
        ASSERT_TRUE(lanes.Plan(c.width, c.height));
        const cv::Mat pattern = Noise(c.patternRows, c.patternCols, random);
        const cv::Mat spectrum = Spectrum(pattern, c.width, c.height);
        lanes.SetTemplateSpectrum(spectrum);
        for (int round = 0; round < 2; ++round) {  // A second window through the same plan.
            const cv::Mat window =
                Noise(c.height - c.patternRows + 1, c.width - c.patternCols + 1, random);
            cv::Mat sums;
            lanes.Correlate(window, c.left, c.top, sums);
            const cv::Mat expected = OpenCvSums(window, c.left, c.top, spectrum);
            ASSERT_EQ(sums.size(), expected.size());
            EXPECT_EQ(cv::countNonZero(sums != expected), 0);
        }
    }
}

TEST(LaneDftTest, RefusesSizesWithOtherFactors) {
    if (!CLaneDft::Available())
        GTEST_SKIP() << "no vector lanes on this processor";
    CLaneDft lanes;
    EXPECT_FALSE(lanes.Plan(14, 9));
    EXPECT_FALSE(lanes.HasPlan());
    EXPECT_FALSE(lanes.Plan(1, 8));
    EXPECT_TRUE(lanes.Plan(15, 8));
    EXPECT_TRUE(lanes.HasPlan());
}

}  // namespace
