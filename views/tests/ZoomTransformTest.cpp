#include "views/ZoomTransform.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Mapping {
    const char* name;
    double scale;
    double offX, offY;
    double winW, winH;  // -1: unset
    double imgW, imgH;  // -1: unset
    int mode;
    double inX, inY;
    double outX, outY;  // ImageToWindow (integer form)
};

// Window 101 x 101, image 50 x 50, scale 2 unless the row says otherwise.
const Mapping kImageToWindow[] = {
    {"centre pixel corner", 2.0, 0, 0, 101, 101, 50, 50, 0, 25, 25, 50, 50},
    {"centre pixel middle", 2.0, 0, 0, 101, 101, 50, 50, 1, 25, 25, 51, 51},
    {"centre pixel far corner", 2.0, 0, 0, 101, 101, 50, 50, 2, 25, 25, 52, 52},
    {"mode 3 leaves the point", 2.0, 0, 0, 101, 101, 50, 50, 3, 25.7, 3.2, 25.7, 3.2},
    {"negative mode leaves the point", 2.0, 0, 0, 101, 101, 50, 50, -1, 7.5, 8.5, 7.5, 8.5},
    {"offset shifts the image", 2.0, 5, -3, 101, 101, 50, 50, 0, 25, 25, 60, 44},
    {"truncation toward zero left of centre", 2.0, 0, 0, 101, 101, 50, 50, 0, 24.8, 0.3, 50, 1},
    {"corner anchored without sizes", 3.0, 0, 0, -1, -1, -1, -1, 0, 10, 4, 30, 12},
    {"corner anchored, far corner", 3.0, 0, 0, -1, -1, -1, -1, 2, 10, 4, 33, 15},
    {"only the scale set: offsets of -1 apply", 2.0, -1, -1, -1, -1, -1, -1, 0, 10, 10, 18, 18},
    {"window unset keeps it corner anchored", 2.0, 0, 0, -1, -1, 50, 50, 0, 10, 10, 20, 20},
    {"identity", -1.0, -1, -1, 101, 101, 50, 50, 1, 12.5, -3.25, 12.5, -3.25},
};

CZoomTransform* Make(CZoomTransform& t, const Mapping& m) {
    t.SetOffset(m.offX, m.offY);
    t.SetScale(m.scale);
    t.SetWindowSize(m.winW, m.winH);
    t.SetImageSize(m.imgW, m.imgH);
    return &t;
}

TEST(ZoomTransformTest, ImageToWindowTable) {
    for (const Mapping& m : kImageToWindow) {
        SCOPED_TRACE(m.name);
        CZoomTransform t;
        Make(t, m);
        double x = 0, y = 0;
        t.ImageToWindow(m.inX, m.inY, m.mode, &x, &y);
        EXPECT_EQ(x, m.outX);
        EXPECT_EQ(y, m.outY);
    }
}

TEST(ZoomTransformTest, ExactFormsKeepFractions) {
    CZoomTransform t;
    t.SetOffset(0, 0);
    t.SetScale(2.0);
    t.SetWindowSize(101, 101);
    t.SetImageSize(50, 50);
    double x = 0, y = 0;
    // (25.3 - 25) * 2 + trunc(50.5)
    t.ImageToWindowExact(25.3, 25.0, 0, &x, &y);
    EXPECT_NEAR(x, 50.6, 1e-12);
    EXPECT_EQ(y, 50.0);
    t.WindowToImageExact(50.6, 50.5, &x, &y);
    EXPECT_NEAR(x, 25.05, 1e-12);
    EXPECT_EQ(y, 25.0);
}

TEST(ZoomTransformTest, WindowToImageTable) {
    struct Case {
        const char* name;
        double scale, offX, offY, winW, winH, imgW, imgH;
        double inX, inY, outX, outY;
    };
    const Case cases[] = {
        {"centre back", 2.0, 0, 0, 101, 101, 50, 50, 51, 51, 25, 25},
        {"input truncated first", 2.0, 0, 0, 101, 101, 50, 50, 51.9, 50.9, 25, 24},
        // (0 - 50.5) / 2 + 25 = -0.25: truncates to 0, not -1.
        {"negative intermediate truncates toward zero", 2.0, 0, 0, 101, 101, 50, 50, 0, 0, 0, 0},
        // (1 - 50) * 1 + 48.5 = -0.5 -> 0
        {"minus one half becomes zero", 1.0, 0, 0, 100, 100, 97, 97, 1, 1, 0, 0},
        {"offset subtracted after truncation", 2.0, 3, -2, 101, 101, 50, 50, 51, 51, 22, 27},
        {"corner anchored", 4.0, 1, 1, -1, -1, -1, -1, 10, -10, 1, -3},
        {"scale 0 counts as 1", 0.0, 0, 0, -1, -1, -1, -1, 7, 9, 7, 9},
        {"identity", -1.0, -1, -1, -1, -1, -1, -1, 7.5, 9.25, 7.5, 9.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CZoomTransform t;
        t.SetOffset(c.offX, c.offY);
        t.SetScale(c.scale);
        t.SetWindowSize(c.winW, c.winH);
        t.SetImageSize(c.imgW, c.imgH);
        double x = 0, y = 0;
        t.WindowToImage(c.inX, c.inY, &x, &y);
        EXPECT_EQ(x, c.outX);
        EXPECT_EQ(y, c.outY);
    }
}

TEST(ZoomTransformTest, ZeroScaleExactInverseIsFinite) {
    CZoomTransform t;
    t.SetOffset(0, 0);
    t.SetScale(0.0);
    t.SetWindowSize(100, 100);
    t.SetImageSize(10, 10);
    double x = 0, y = 0;
    t.WindowToImageExact(60, 40, &x, &y);
    EXPECT_EQ(x, 15.0);
    EXPECT_EQ(y, -5.0);
}

TEST(ZoomTransformTest, SettersTruncateAndGettersSkipNull) {
    CZoomTransform t;
    double a = 0, b = 0;
    t.GetScale(&a);
    EXPECT_EQ(a, -1.0);
    t.SetOffset(2.9, -2.9);
    t.SetWindowSize(100.99, 50.5);
    t.SetImageSize(-3.7, 8.2);
    t.GetOffset(&a, &b);
    EXPECT_EQ(a, 2.0);
    EXPECT_EQ(b, -2.0);
    t.GetWindowSize(&a, &b);
    EXPECT_EQ(a, 100.0);
    EXPECT_EQ(b, 50.0);
    t.GetImageSize(&a, nullptr);
    EXPECT_EQ(a, -3.0);
    t.ImageToWindow(1, 1, 0, nullptr, nullptr);
    t.WindowToImage(1, 1, nullptr, &b);
}

TEST(ZoomTransformTest, HugeValuesDoNotOverflow) {
    CZoomTransform t;
    t.SetOffset(1e300, -1e300);
    t.SetScale(1e300);
    t.SetWindowSize(NAN, 1e20);
    t.SetImageSize(10, 10);
    double x = 0, y = 0;
    t.ImageToWindow(1e300, -1e300, 0, &x, &y);
    t.WindowToImage(1e300, NAN, &x, &y);
    SUCCEED();  // The sanitizers report any overflowing conversion.
}

TEST(ZoomTransformTest, DrawingPixelsRoundAndStayWithinReach) {
    constexpr int kFar = CZoomTransform::kFarPixel;
    const struct {
        double window;
        int pixel;
    } cases[] = {{2.5, 3},      {-2.5, -3},        {7.49, 7},        {-0.4, 0},
                 {1e300, kFar}, {-1e300, -kFar},   {INFINITY, kFar}, {-INFINITY, -kFar},
                 {NAN, 0},      {kFar + 0.4, kFar}};
    for (const auto& c : cases)
        EXPECT_EQ(CZoomTransform::DrawingPixel(c.window), c.pixel) << c.window;

    // A far image position on a zoomed view: the corners of a box around it are still pixels
    // whose differences fit.
    CZoomTransform t;
    t.SetScale(4.0);
    t.SetWindowSize(100, 100);
    t.SetImageSize(50, 50);
    const CPoint a = t.ImageToWindowPixel(-1e12, 3e9);
    const CPoint b = t.ImageToWindowPixel(1e12, -3e9);
    EXPECT_EQ(b.x - a.x, 2 * kFar);
    EXPECT_EQ(a.y - b.y, 2 * kFar);
    double x = 0, y = 0;
    t.ImageToWindowExact(10.25, 20.5, CZoomTransform::kCorner, &x, &y);
    EXPECT_EQ(t.ImageToWindowPixel(10.25, 20.5),
              CPoint(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))));
}

TEST(ZoomTransformTest, CopyKeepsCountAndCarriesValues) {
    CZoomTransform source;
    source.SetOffset(4, 5);
    source.SetScale(1.5);
    source.SetWindowSize(640, 480);
    source.SetImageSize(320, 240);
    for (int viaGetters = 0; viaGetters < 2; ++viaGetters) {
        auto* copy = new CZoomTransform;
        EXPECT_EQ(copy->AddRef(), 1);
        EXPECT_EQ(copy->AddRef(), 2);
        if (viaGetters)
            copy->CopyFrom(source);
        else
            copy->CopyValues(source);
        double a = 0, b = 0, c = 0, d = 0;
        source.ImageToWindow(17, 33, 1, &a, &b);
        copy->ImageToWindow(17, 33, 1, &c, &d);
        EXPECT_EQ(a, c);
        EXPECT_EQ(b, d);
        EXPECT_EQ(copy->Release(), 1);
        EXPECT_EQ(copy->Release(), 0);  // Deleted here; the sanitizer sees a leak otherwise.
    }
}

}  // namespace
