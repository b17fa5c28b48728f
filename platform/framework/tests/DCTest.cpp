#include "platform/framework/DC.h"

#include "platform/framework/SysColor.h"

#include "testsupport/IsolatedTest.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

QImage Blank(int width, int height, QRgb color = kWhite) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// The smallest rectangle holding every pixel that differs from the background.
QRect PaintedBounds(const QImage& image, QRgb background = kWhite) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background)
                bounds = bounds.united(QRect(x, y, 1, 1));
        }
    }
    return bounds;
}

int CountPixels(const QImage& image, QRgb color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == color ? 1 : 0;
    }
    return count;
}

// A background where neighbouring pixels differ, so XOR drawing meets real colours.
QImage Gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 5) & 0xFF, (x * y) & 0xFF));
    }
    return image;
}

QRgb Rgb(COLORREF c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace

class DCTest : public IsolatedTest {};

TEST_F(DCTest, LineToLeavesItsEndPixelOut) {
    struct Case {
        CPoint from;
        CPoint to;
    };
    const Case cases[] = {
        {{2, 5}, {12, 5}},  {{12, 5}, {2, 5}},  {{5, 2}, {5, 14}}, {{5, 14}, {5, 2}},
        {{2, 2}, {12, 12}}, {{12, 3}, {3, 12}}, {{1, 1}, {4, 13}}, {{14, 9}, {2, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y);
        QImage image = Blank(16, 16);
        CDC dc(&image);
        dc.MoveTo(c.from);
        EXPECT_TRUE(dc.LineTo(c.to));
        EXPECT_EQ(dc.GetCurrentPosition(), c.to);
        EXPECT_EQ(image.pixel(c.from.x, c.from.y), kBlack);
        EXPECT_EQ(image.pixel(c.to.x, c.to.y), kWhite);
        const int steps = std::max(std::abs(c.to.x - c.from.x), std::abs(c.to.y - c.from.y));
        EXPECT_EQ(CountPixels(image, kBlack), steps);
    }
}

TEST_F(DCTest, LinesReachingFarOutsideDrawTheirVisiblePart) {
    // A deep zoom maps lines to coordinates far beyond the window.
    QImage image = Blank(20, 20);
    CDC dc(&image);
    CPen pen(PS_DASH, 1, RGB(0, 0, 0));
    dc.SelectObject(&pen);
    dc.SetBkMode(TRANSPARENT);
    dc.MoveTo(-2000000000, 10);
    dc.LineTo(2000000000, 10);
    dc.MoveTo(5, -1000000000);
    dc.LineTo(5, 1000000000);
    EXPECT_EQ(PaintedBounds(image), QRect(0, 0, 20, 20));
    EXPECT_GT(CountPixels(image, kBlack), 0);
    EXPECT_LT(CountPixels(image, kBlack), 40);
}

TEST_F(DCTest, CentreMarkArmsAreExactlyTheirLength) {
    // (cx - s, cy) to (cx + s + 1, cy) paints 2s + 1 pixels: the end pixel is left out.
    QImage image = Blank(20, 20);
    CDC dc(&image);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    dc.SelectObject(&pen);
    dc.MoveTo(10 - 3, 10);
    dc.LineTo(10 + 3 + 1, 10);
    EXPECT_EQ(PaintedBounds(image), QRect(7, 10, 7, 1));
}

TEST_F(DCTest, ClosedOutlineUnderXorInvertsEveryPixelOnce) {
    // Connected lines meet without painting their shared corners twice.
    QImage image = Blank(20, 20);
    CDC dc(&image);
    CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
    dc.SelectObject(&pen);
    dc.SetROP2(R2_XORPEN);
    dc.MoveTo(3, 3);
    dc.LineTo(15, 3);
    dc.LineTo(15, 12);
    dc.LineTo(3, 12);
    dc.LineTo(3, 3);
    EXPECT_EQ(CountPixels(image, kBlack), 2 * 12 + 2 * 9);
    for (const QPoint corner : {QPoint(3, 3), QPoint(15, 3), QPoint(15, 12), QPoint(3, 12)})
        EXPECT_EQ(image.pixel(corner), kBlack) << corner.x() << "," << corner.y();
}

TEST_F(DCTest, ShapesExcludeTheirRightAndBottomEdges) {
    CBrush red(RGB(255, 0, 0));
    CBrush nullBrush;
    nullBrush.CreateStockObject(NULL_BRUSH);
    CPen nullPen;
    nullPen.CreateStockObject(NULL_PEN);
    struct Case {
        const char* name;
        std::function<void(CDC&)> draw;
        QRect painted;
    };
    const Case cases[] = {
        {"Rectangle", [](CDC& dc) { dc.Rectangle(4, 5, 14, 12); }, QRect(4, 5, 10, 7)},
        {"Rectangle, corners swapped", [](CDC& dc) { dc.Rectangle(14, 12, 4, 5); },
         QRect(4, 5, 10, 7)},
        {"Rectangle, filled without pen",
         [&](CDC& dc) {
             dc.SelectObject(&nullPen);
             dc.SelectObject(&red);
             dc.Rectangle(4, 5, 14, 12);
         },
         QRect(4, 5, 9, 6)},
        {"FillSolidRect", [](CDC& dc) { dc.FillSolidRect(CRect(4, 5, 14, 12), RGB(0, 0, 255)); },
         QRect(4, 5, 10, 7)},
        {"FillRect", [&](CDC& dc) { dc.FillRect(CRect(4, 5, 14, 12), &red); }, QRect(4, 5, 10, 7)},
        {"FrameRect", [&](CDC& dc) { dc.FrameRect(CRect(4, 5, 14, 12), &red); },
         QRect(4, 5, 10, 7)},
        {"Ellipse",
         [&](CDC& dc) {
             dc.SelectObject(&nullBrush);
             dc.Ellipse(4, 5, 14, 12);
         },
         QRect(4, 5, 10, 7)},
        {"Arc, full", [](CDC& dc) { dc.Arc(4, 5, 14, 12, 4, 5, 4, 5); }, QRect(4, 5, 10, 7)},
        {"Polygon",
         [](CDC& dc) {
             const CPoint square[] = {{4, 5}, {13, 5}, {13, 11}, {4, 11}};
             dc.Polygon(square, 4);
         },
         QRect(4, 5, 10, 7)},
        {"Draw3dRect",
         [](CDC& dc) { dc.Draw3dRect(CRect(4, 5, 14, 12), RGB(255, 0, 0), RGB(0, 0, 255)); },
         QRect(4, 5, 10, 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage image = Blank(20, 20);
        CDC dc(&image);
        c.draw(dc);
        EXPECT_EQ(PaintedBounds(image), c.painted);
    }
}

TEST_F(DCTest, PolygonFillFollowsThePolyFillMode) {
    // A five-pointed star: its centre is enclosed twice.
    const CPoint star[] = {{50, 0}, {79, 90}, {2, 34}, {97, 34}, {20, 90}};
    struct Case {
        int mode;
        QRgb centre;
    };
    for (const Case& c : {Case{ALTERNATE, kWhite}, Case{WINDING, qRgb(255, 0, 0)}}) {
        QImage image = Blank(100, 100);
        CDC dc(&image);
        CBrush red(RGB(255, 0, 0));
        dc.SelectObject(&red);
        EXPECT_EQ(dc.SetPolyFillMode(c.mode), ALTERNATE);
        ASSERT_TRUE(dc.Polygon(star, 5));
        EXPECT_EQ(image.pixel(50, 50), c.centre);
        EXPECT_EQ(image.pixel(50, 10), qRgb(255, 0, 0));
    }
}

TEST_F(DCTest, ArcRunsCounterClockwiseFromStartToEnd) {
    QImage image = Blank(40, 40);
    CDC dc(&image);
    // From the ray towards 3 o'clock round to the ray towards 12 o'clock: the upper right
    // quarter only.
    ASSERT_TRUE(dc.Arc(CRect(5, 5, 36, 36), CPoint(40, 20), CPoint(20, 0)));
    const QRect painted = PaintedBounds(image);
    ASSERT_FALSE(painted.isEmpty());
    EXPECT_GE(painted.left(), 19);
    EXPECT_LE(painted.bottom(), 21);
    EXPECT_EQ(painted.top(), 5);
    EXPECT_EQ(painted.right(), 35);
}

TEST_F(DCTest, RectangleFillsInsideItsOutline) {
    QImage image = Blank(20, 20);
    CDC dc(&image);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
    CBrush brush(RGB(255, 0, 0));
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.Rectangle(2, 2, 10, 8);
    for (const QPoint edge : {QPoint(2, 2), QPoint(9, 2), QPoint(9, 7), QPoint(2, 7), QPoint(5, 7)})
        EXPECT_EQ(image.pixel(edge), qRgb(0, 0, 255)) << edge.x() << "," << edge.y();
    EXPECT_EQ(image.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(8, 6), qRgb(255, 0, 0));
}

TEST_F(DCTest, XorDrawingTwiceRestoresTheImage) {
    CPen thin(PS_SOLID, 1, RGB(192, 192, 192));
    CPen wide(PS_SOLID, 5, RGB(128, 128, 128));
    CPen dashed;
    LOGBRUSH lb{BS_SOLID, RGB(10, 200, 30), 0};
    dashed.CreatePen(PS_GEOMETRIC | PS_DASH, 3, &lb);
    CBrush hatch(HS_DIAGCROSS, RGB(255, 0, 255));
    CBrush nullBrush;
    nullBrush.CreateStockObject(NULL_BRUSH);
    const CPoint star[] = {{30, 2}, {40, 38}, {10, 14}, {50, 14}, {20, 38}};
    struct Case {
        const char* name;
        std::function<void(CDC&)> draw;
    };
    const Case cases[] = {
        {"reticle lines",
         [&](CDC& dc) {
             dc.SelectObject(&thin);
             dc.MoveTo(0, 20);
             dc.LineTo(60, 20);
             dc.MoveTo(30, 0);
             dc.LineTo(30, 40);
         }},
        {"wide polyline",
         [&](CDC& dc) {
             dc.SelectObject(&wide);
             dc.Polyline(star, 5);
         }},
        {"dashed geometric rectangle",
         [&](CDC& dc) {
             dc.SelectObject(&dashed);
             dc.SelectObject(&nullBrush);
             dc.Rectangle(5, 5, 50, 30);
         }},
        {"hatched polygon",
         [&](CDC& dc) {
             dc.SelectObject(&hatch);
             dc.SetBkMode(TRANSPARENT);
             dc.Polygon(star, 5);
         }},
        {"ellipse", [&](CDC& dc) { dc.Ellipse(8, 4, 52, 36); }},
        {"focus rectangle", [&](CDC& dc) { dc.DrawFocusRect(CRect(3, 3, 40, 30)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage original = Gradient(60, 40);
        QImage image = original;
        CDC dc(&image);
        dc.SetROP2(R2_XORPEN);
        c.draw(dc);
        EXPECT_NE(image, original);
        c.draw(dc);
        EXPECT_EQ(image, original);
    }
}

TEST_F(DCTest, XorDrawingRespectsTheClip) {
    QImage image = Blank(20, 20);
    CDC dc(&image);
    CRgn clip;
    clip.CreateRectRgn(0, 0, 10, 20);
    dc.SelectClipRgn(&clip);
    dc.SetROP2(R2_XORPEN);
    CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
    dc.SelectObject(&pen);
    dc.MoveTo(0, 5);
    dc.LineTo(20, 5);
    EXPECT_EQ(PaintedBounds(image), QRect(0, 5, 10, 1));
}

TEST_F(DCTest, StyledThinPenFillsGapsOnlyWhenOpaque) {
    struct Case {
        int bkMode;
        int expectedGapPixels;
    };
    for (const Case& c : {Case{OPAQUE, 6}, Case{TRANSPARENT, 0}}) {
        QImage image = Blank(30, 3);
        CDC dc(&image);
        CPen pen(PS_DASH, 1, RGB(255, 0, 0));
        dc.SelectObject(&pen);
        dc.SetBkMode(c.bkMode);
        dc.SetBkColor(RGB(0, 0, 255));
        dc.MoveTo(0, 1);
        dc.LineTo(25, 1);  // One dash of 18 and a gap of 6, then the next dash.
        EXPECT_EQ(CountPixels(image, qRgb(255, 0, 0)), 19);
        EXPECT_EQ(CountPixels(image, qRgb(0, 0, 255)), c.expectedGapPixels);
        EXPECT_EQ(image.pixel(17, 1), qRgb(255, 0, 0));
        EXPECT_NE(image.pixel(18, 1), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(24, 1), qRgb(255, 0, 0));
    }
}

TEST_F(DCTest, WidePenIsCentredOnTheLine) {
    QImage image = Blank(30, 20);
    CDC dc(&image);
    CPen pen(PS_SOLID, 5, RGB(0, 0, 0));
    dc.SelectObject(&pen);
    dc.MoveTo(10, 10);
    dc.LineTo(20, 10);
    const QRect painted = PaintedBounds(image);
    EXPECT_EQ(painted.top(), 8);
    EXPECT_EQ(painted.bottom(), 12);
    EXPECT_EQ(image.pixel(20, 10), kBlack);  // Round caps reach past the end point.
}

TEST_F(DCTest, HatchBrushGapsFollowBackgroundMode) {
    for (const int mode : {OPAQUE, TRANSPARENT}) {
        QImage image = Blank(16, 16, qRgb(0, 255, 0));
        CDC dc(&image);
        CBrush hatch(HS_HORIZONTAL, RGB(255, 0, 0));
        dc.SetBkMode(mode);
        dc.SetBkColor(RGB(0, 0, 255));
        dc.FillRect(CRect(0, 0, 16, 16), &hatch);
        EXPECT_EQ(CountPixels(image, qRgb(255, 0, 0)), 2 * 16);  // Rows 0 and 8.
        EXPECT_EQ(image.pixel(3, 0), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(3, 4), mode == OPAQUE ? qRgb(0, 0, 255) : qRgb(0, 255, 0));
    }
}

TEST_F(DCTest, FillSolidRectLeavesItsColourAsBackground) {
    QImage image = Blank(10, 10);
    CDC dc(&image);
    dc.SetBkColor(RGB(1, 2, 3));
    dc.FillSolidRect(2, 2, 3, 3, RGB(200, 100, 50));
    EXPECT_EQ(dc.GetBkColor(), RGB(200, 100, 50));
    EXPECT_EQ(image.pixel(2, 2), qRgb(200, 100, 50));
}

TEST_F(DCTest, Draw3dRectColoursEachEdge) {
    QImage image = Blank(20, 20);
    CDC dc(&image);
    dc.Draw3dRect(CRect(2, 3, 12, 10), RGB(255, 0, 0), RGB(0, 0, 255));
    const QRgb tl = qRgb(255, 0, 0);
    const QRgb br = qRgb(0, 0, 255);
    EXPECT_EQ(image.pixel(2, 3), tl);
    EXPECT_EQ(image.pixel(10, 3), tl);
    EXPECT_EQ(image.pixel(2, 8), tl);
    EXPECT_EQ(image.pixel(11, 3), br);  // The right edge runs the full height.
    EXPECT_EQ(image.pixel(2, 9), br);   // The bottom edge runs the full width.
    EXPECT_EQ(image.pixel(11, 9), br);
    EXPECT_EQ(image.pixel(5, 5), kWhite);
}

TEST_F(DCTest, PixelsAreReadAndWrittenInsideImageAndClip) {
    // Making a grey copy of a bitmap pixel by pixel, as a disabled icon is made.
    QImage image = Blank(4, 4);
    image.setPixel(1, 2, qRgb(200, 100, 50));
    CDC dc(&image);
    EXPECT_EQ(dc.GetPixel(1, 2), RGB(200, 100, 50));
    const int grey = static_cast<int>(0.299 * 200 + 0.587 * 100 + 0.114 * 50);
    EXPECT_EQ(dc.SetPixel(1, 2, RGB(grey, grey, grey)), RGB(grey, grey, grey));
    EXPECT_EQ(image.pixel(1, 2), qRgb(grey, grey, grey));
    EXPECT_EQ(dc.GetPixel(4, 0), CLR_INVALID);
    EXPECT_EQ(dc.SetPixel(-1, 0, 0), CLR_INVALID);
    CRgn clip;
    clip.CreateRectRgn(0, 0, 2, 2);
    dc.SelectClipRgn(&clip);
    EXPECT_EQ(dc.GetPixel(3, 3), CLR_INVALID);
    EXPECT_EQ(dc.SetPixel(3, 3, 0), CLR_INVALID);
    EXPECT_EQ(image.pixel(3, 3), kWhite);
}

TEST_F(DCTest, AlphaBlendMixesWithTheConstantAlpha) {
    struct Case {
        COLORREF source;
        COLORREF target;
        BYTE alpha;
    };
    const Case cases[] = {
        {RGB(0, 50, 255), RGB(200, 100, 0), 125},  {RGB(255, 255, 255), RGB(0, 0, 0), 125},
        {RGB(10, 20, 30), RGB(250, 240, 230), 80}, {RGB(90, 91, 92), RGB(3, 4, 5), 255},
        {RGB(90, 91, 92), RGB(3, 4, 5), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "alpha " << int(c.alpha));
        QImage image = Blank(8, 8, Rgb(c.target));
        CDC dc(&image);
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(&dc));
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 2, 2));
        CBitmap* old = memory.SelectObject(&bitmap);
        ASSERT_NE(old, nullptr);
        memory.FillSolidRect(CRect(0, 0, 2, 2), c.source);
        // Stretched from 2 x 2 to 4 x 4 at (2, 2).
        ASSERT_TRUE(dc.AlphaBlend(2, 2, 4, 4, &memory, 0, 0, 2, 2,
                                  BLENDFUNCTION{AC_SRC_OVER, 0, c.alpha, 0}));
        memory.SelectObject(old);
        const QRgb got = image.pixel(3, 4);
        auto expected = [&](int s, int d) { return (s * c.alpha + d * (255.0 - c.alpha)) / 255.0; };
        EXPECT_NEAR(qRed(got), expected(GetRValue(c.source), GetRValue(c.target)), 1.0);
        EXPECT_NEAR(qGreen(got), expected(GetGValue(c.source), GetGValue(c.target)), 1.0);
        EXPECT_NEAR(qBlue(got), expected(GetBValue(c.source), GetBValue(c.target)), 1.0);
        EXPECT_EQ(PaintedBounds(image, Rgb(c.target)).united(QRect(2, 2, 4, 4)), QRect(2, 2, 4, 4));
    }
}

TEST_F(DCTest, AlphaBlendRefusesPerPixelAlpha) {
    QImage image = Blank(4, 4);
    QImage source = Blank(4, 4, kBlack);
    CDC dc(&image);
    CDC src(&source);
    EXPECT_FALSE(dc.AlphaBlend(0, 0, 4, 4, &src, 0, 0, 4, 4,
                               BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
    EXPECT_EQ(image, Blank(4, 4));
}

TEST_F(DCTest, BitBltCombinesWithTheRasterOperation) {
    struct Case {
        DWORD rop;
        QRgb expected;
    };
    const QRgb src = qRgb(0xF0, 0x0F, 0x55);
    const QRgb dst = qRgb(0x3C, 0x3C, 0xAA);
    const Case cases[] = {
        {SRCCOPY, src},
        {SRCAND, qRgb(0xF0 & 0x3C, 0x0F & 0x3C, 0x55 & 0xAA)},
        {SRCPAINT, qRgb(0xF0 | 0x3C, 0x0F | 0x3C, 0x55 | 0xAA)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.rop);
        QImage image = Blank(10, 10, dst);
        QImage source = Blank(10, 10, kWhite);
        source.setPixel(4, 5, src);
        CDC dc(&image);
        CDC sdc(&source);
        ASSERT_TRUE(dc.BitBlt(1, 1, 1, 1, &sdc, 4, 5, c.rop));
        EXPECT_EQ(image.pixel(1, 1), c.expected);
        EXPECT_EQ(PaintedBounds(image, dst), QRect(1, 1, 1, 1));
    }
    QImage image = Blank(4, 4);
    CDC dc(&image);
    EXPECT_FALSE(dc.BitBlt(0, 0, 2, 2, &dc, 0, 0, 0x00660046));
    EXPECT_FALSE(dc.BitBlt(0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
}

TEST_F(DCTest, BitBltCopiesTheSourceRectanglePixelForPixel) {
    // Inside the source, each pixel lands at its offset; beyond the source's edge black is
    // copied.
    const QImage gradient = Gradient(8, 8);
    struct Case {
        int xSrc, ySrc;
    };
    for (const Case c : {Case{0, 0}, Case{3, 2}, Case{6, 5}, Case{-2, 1}}) {
        SCOPED_TRACE(testing::Message() << c.xSrc << ", " << c.ySrc);
        QImage source = gradient;
        QImage image = Blank(10, 10);
        CDC dc(&image);
        CDC sdc(&source);
        ASSERT_TRUE(dc.BitBlt(1, 2, 4, 4, &sdc, c.xSrc, c.ySrc, SRCCOPY));
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                const QPoint from(c.xSrc + x, c.ySrc + y);
                const QRgb want = gradient.rect().contains(from) ? gradient.pixel(from) : kBlack;
                ASSERT_EQ(image.pixel(1 + x, 2 + y), want) << x << ", " << y;
            }
        }
        EXPECT_EQ(PaintedBounds(image), QRect(1, 2, 4, 4));
    }
}

TEST_F(DCTest, TransparentBltLeavesTheKeyColourOut) {
    QImage image = Blank(12, 12, qRgb(0, 128, 0));
    CDC dc(&image);
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap icon;
    icon.CreateCompatibleBitmap(&dc, 4, 4);
    memory.SelectObject(&icon);
    memory.FillSolidRect(CRect(0, 0, 4, 4), RGB(255, 255, 255));
    memory.FillSolidRect(CRect(1, 1, 3, 3), RGB(255, 0, 0));
    ASSERT_TRUE(dc.TransparentBlt(2, 2, 8, 8, &memory, 0, 0, 4, 4, RGB(255, 255, 255)));
    EXPECT_EQ(PaintedBounds(image, qRgb(0, 128, 0)), QRect(4, 4, 4, 4));
    EXPECT_EQ(CountPixels(image, qRgb(255, 0, 0)), 16);
}

TEST_F(DCTest, MemoryDcDrawsIntoTheSelectedBitmap) {
    QImage screen = Blank(30, 30);
    CDC dc(&screen);
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&dc));
    EXPECT_FALSE(memory.CreateCompatibleDC(&dc));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 10, 8));
    BITMAP info;
    ASSERT_GT(bitmap.GetBitmap(&info), 0);
    EXPECT_EQ(info.bmWidth, 10);
    EXPECT_EQ(info.bmHeight, 8);
    CBitmap* old = memory.SelectObject(&bitmap);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->GetSize(), CSize(1, 1));
    EXPECT_EQ(bitmap.GetImage()->pixel(0, 0), kBlack);  // A new bitmap is black.
    memory.FillSolidRect(CRect(0, 0, 10, 8), RGB(0, 0, 255));
    memory.MoveTo(0, 0);
    memory.LineTo(10, 0);
    memory.SelectObject(old);
    EXPECT_EQ(bitmap.GetImage()->pixel(9, 0), kBlack);
    EXPECT_EQ(bitmap.GetImage()->pixel(5, 5), qRgb(0, 0, 255));

    // Copy the bitmap back out through a second memory DC, as a paint routine does.
    CDC other;
    other.CreateCompatibleDC(&dc);
    other.SelectObject(&bitmap);
    ASSERT_TRUE(dc.BitBlt(5, 6, 10, 8, &other, 0, 0, SRCCOPY));
    EXPECT_EQ(PaintedBounds(screen), QRect(5, 6, 10, 8));

    // A window or image context takes no bitmap.
    EXPECT_EQ(dc.SelectObject(&bitmap), nullptr);
    EXPECT_TRUE(memory.DeleteDC());
    EXPECT_FALSE(memory.LineTo(3, 3));
}

TEST_F(DCTest, SelectObjectHandsBackThePreviousObject) {
    QImage image = Blank(10, 10);
    CDC dc(&image);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
    CPen* original = dc.SelectObject(&red);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(original->GetColor(), RGB(0, 0, 0));
    CPen* previous = dc.SelectObject(&blue);
    EXPECT_EQ(previous->GetColor(), RGB(255, 0, 0));
    red.DeleteObject();  // The DC keeps its own copy.
    dc.SelectObject(previous);
    EXPECT_EQ(dc.GetCurrentPen()->GetColor(), RGB(255, 0, 0));
    dc.SelectObject(original);
    EXPECT_EQ(dc.GetCurrentPen()->GetColor(), RGB(0, 0, 0));
    CPen uncreated;
    EXPECT_EQ(dc.SelectObject(&uncreated), nullptr);
    EXPECT_EQ(dc.SelectObject(static_cast<CPen*>(nullptr)), nullptr);
}

TEST_F(DCTest, SaveDcAndRestoreDc) {
    QImage image = Blank(10, 10);
    CDC dc(&image);
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CRgn clip;
    clip.CreateRectRgn(0, 0, 2, 2);
    EXPECT_EQ(dc.SaveDC(), 1);
    dc.SelectObject(&pen);
    dc.SetTextColor(RGB(1, 1, 1));
    dc.SetBkMode(TRANSPARENT);
    dc.SetROP2(R2_XORPEN);
    dc.SetTextAlign(TA_UPDATECP);
    dc.MoveTo(7, 7);
    dc.SelectClipRgn(&clip);
    EXPECT_EQ(dc.SaveDC(), 2);
    dc.SetTextColor(RGB(2, 2, 2));
    EXPECT_EQ(dc.SaveDC(), 3);
    EXPECT_TRUE(dc.RestoreDC(-1));
    EXPECT_EQ(dc.GetTextColor(), RGB(2, 2, 2));
    EXPECT_TRUE(dc.RestoreDC(1));
    EXPECT_EQ(dc.GetCurrentPen()->GetColor(), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(dc.GetTextAlign(), TA_TOP);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(0, 0));
    dc.FillSolidRect(CRect(0, 0, 10, 10), RGB(0, 0, 0));  // No clip any more.
    EXPECT_EQ(CountPixels(image, kBlack), 100);
    EXPECT_FALSE(dc.RestoreDC(-1));  // Nothing saved any more.
    EXPECT_FALSE(dc.RestoreDC(0));
    EXPECT_EQ(dc.SaveDC(), 1);
    EXPECT_FALSE(dc.RestoreDC(2));
}

TEST_F(DCTest, ClipRegionLimitsDrawing) {
    // Fit mode fills the client area less the displayed image: a region XOR of the two.
    QImage image = Blank(20, 20);
    CDC dc(&image);
    CRgn client, picture, border;
    client.CreateRectRgn(0, 0, 20, 20);
    picture.CreateRectRgn(5, 0, 15, 20);
    border.CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(border.CombineRgn(&client, &picture, RGN_XOR), COMPLEXREGION);
    EXPECT_EQ(dc.SelectClipRgn(&border), COMPLEXREGION);
    CRect box;
    EXPECT_EQ(dc.GetClipBox(&box), COMPLEXREGION);
    EXPECT_EQ(box, CRect(0, 0, 20, 20));
    dc.FillSolidRect(CRect(0, 0, 20, 20), RGB(64, 64, 64));
    EXPECT_EQ(CountPixels(image, qRgb(64, 64, 64)), 10 * 20);
    EXPECT_EQ(image.pixel(4, 10), qRgb(64, 64, 64));
    EXPECT_EQ(image.pixel(5, 10), kWhite);
    EXPECT_EQ(image.pixel(15, 10), qRgb(64, 64, 64));
    EXPECT_EQ(dc.SelectClipRgn(nullptr), SIMPLEREGION);
    dc.FillSolidRect(CRect(0, 0, 20, 20), RGB(64, 64, 64));
    EXPECT_EQ(CountPixels(image, qRgb(64, 64, 64)), 400);
}

namespace {

// A picture of 5 x 3 pixels in four colours, as packed DIBs: an 8-bit top-down one with a
// palette in shuffled order and a 24-bit bottom-up one.
const QRgb kPicture[3][5] = {
    {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0), qRgb(255, 0, 0)},
    {qRgb(0, 0, 255), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)},
    {qRgb(255, 255, 0), qRgb(0, 0, 255), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)},
};

std::vector<BYTE> PackHeader(const BITMAPINFOHEADER& header) {
    std::vector<BYTE> out(sizeof(header));
    std::memcpy(out.data(), &header, sizeof(header));
    return out;
}

struct Dib {
    std::vector<BYTE> info;  // Header and colour table.
    std::vector<BYTE> bits;
    const BITMAPINFOHEADER* Header() const {
        return reinterpret_cast<const BITMAPINFOHEADER*>(info.data());
    }
};

Dib Palette8TopDown() {
    const QRgb palette[4] = {qRgb(0, 0, 255), qRgb(255, 255, 0), qRgb(255, 0, 0), qRgb(0, 255, 0)};
    BITMAPINFOHEADER header;
    header.biWidth = 5;
    header.biHeight = -3;
    header.biBitCount = 8;
    header.biClrUsed = 4;
    Dib dib{PackHeader(header), {}};
    for (QRgb c : palette) {
        const BYTE entry[4] = {BYTE(qBlue(c)), BYTE(qGreen(c)), BYTE(qRed(c)), 0};
        dib.info.insert(dib.info.end(), entry, entry + 4);
    }
    const DWORD stride = DibRowBytes(5, 8);
    dib.bits.assign(stride * 3, 0);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const int index = int(std::find(palette, palette + 4, kPicture[y][x]) - palette);
            dib.bits[y * stride + x] = BYTE(index);
        }
    }
    return dib;
}

Dib Rgb24BottomUp() {
    BITMAPINFOHEADER header;
    header.biWidth = 5;
    header.biHeight = 3;
    header.biBitCount = 24;
    Dib dib{PackHeader(header), {}};
    const DWORD stride = DibRowBytes(5, 24);
    dib.bits.assign(stride * 3, 0xEE);  // Padding bytes must not show.
    for (int y = 0; y < 3; ++y) {
        BYTE* row = dib.bits.data() + (2 - y) * stride;
        for (int x = 0; x < 5; ++x) {
            row[3 * x] = BYTE(qBlue(kPicture[y][x]));
            row[3 * x + 1] = BYTE(qGreen(kPicture[y][x]));
            row[3 * x + 2] = BYTE(qRed(kPicture[y][x]));
        }
    }
    return dib;
}

}  // namespace

TEST_F(DCTest, PaletteAndRgbDibsStretchToTheSamePicture) {
    const Dib dibs[] = {Palette8TopDown(), Rgb24BottomUp()};
    QImage pictures[2];
    for (int i = 0; i < 2; ++i) {
        pictures[i] = Blank(20, 12);
        CDC dc(&pictures[i]);
        EXPECT_EQ(dc.StretchDIBits(1, 2, 15, 9, 0, 0, 5, 3, dibs[i].bits.data(), dibs[i].Header(),
                                   DIB_RGB_COLORS, SRCCOPY),
                  3);
    }
    EXPECT_EQ(pictures[0], pictures[1]);
    EXPECT_EQ(PaintedBounds(pictures[0]), QRect(1, 2, 15, 9));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(pictures[0].pixel(1 + 3 * x + 1, 2 + 3 * y + 1), kPicture[y][x])
                << x << "," << y;
    }
}

TEST_F(DCTest, SetDIBitsToDeviceDrawsTheGivenBandUnstretched) {
    for (const Dib& dib : {Palette8TopDown(), Rgb24BottomUp()}) {
        QImage image = Blank(10, 10);
        CDC dc(&image);
        EXPECT_EQ(dc.SetDIBitsToDevice(2, 3, 5, 3, 0, 0, 0, 3, dib.bits.data(), dib.Header(),
                                       DIB_RGB_COLORS),
                  3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(image.pixel(2 + x, 3 + y), kPicture[y][x]);
        }
    }
    // Only the bottom stored row of the bottom-up bitmap: the picture's last row.
    const Dib dib = Rgb24BottomUp();
    QImage image = Blank(10, 10);
    CDC dc(&image);
    EXPECT_EQ(
        dc.SetDIBitsToDevice(2, 3, 5, 3, 0, 0, 0, 1, dib.bits.data(), dib.Header(), DIB_RGB_COLORS),
        1);
    EXPECT_EQ(PaintedBounds(image), QRect(2, 5, 5, 1));
    EXPECT_EQ(image.pixel(2, 5), kPicture[2][0]);
}

TEST_F(DCTest, DibsThatCannotBeDrawnAreRefused) {
    Dib dib = Rgb24BottomUp();
    BITMAPINFOHEADER* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.info.data());
    QImage image = Blank(10, 10);
    CDC dc(&image);
    EXPECT_EQ(
        dc.StretchDIBits(0, 0, 5, 3, 0, 0, 5, 3, dib.bits.data(), header, DIB_RGB_COLORS, SRCAND),
        0);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 5, 3, 0, 0, 5, 3, nullptr, header, DIB_RGB_COLORS, SRCCOPY),
              0);
    header->biBitCount = 16;
    EXPECT_EQ(
        dc.StretchDIBits(0, 0, 5, 3, 0, 0, 5, 3, dib.bits.data(), header, DIB_RGB_COLORS, SRCCOPY),
        0);
    header->biBitCount = 24;
    header->biCompression = BI_RLE8;
    EXPECT_EQ(
        dc.StretchDIBits(0, 0, 5, 3, 0, 0, 5, 3, dib.bits.data(), header, DIB_RGB_COLORS, SRCCOPY),
        0);
    EXPECT_EQ(image, Blank(10, 10));
}

TEST_F(DCTest, DisabledStateIsEmbossedInSystemColours) {
    QImage icon(4, 4, QImage::Format_ARGB32);
    icon.fill(0);
    icon.setPixel(1, 1, qRgba(10, 20, 30, 255));
    QImage image = Blank(10, 10, qRgb(0, 128, 0));
    CDC dc(&image);
    ASSERT_TRUE(dc.DrawState(CPoint(3, 3), CSize(4, 4), icon, DST_ICON | DSS_DISABLED));
    EXPECT_EQ(image.pixel(4, 4), Rgb(GetSysColor(COLOR_3DSHADOW)));
    EXPECT_EQ(image.pixel(5, 5), Rgb(GetSysColor(COLOR_3DHILIGHT)));
    EXPECT_EQ(PaintedBounds(image, qRgb(0, 128, 0)), QRect(4, 4, 2, 2));

    CBitmap bitmap;
    QImage white = Blank(4, 4);
    white.setPixel(2, 1, qRgb(90, 90, 90));
    bitmap.Attach(white);
    QImage normal = Blank(10, 10, qRgb(0, 128, 0));
    CDC ndc(&normal);
    ASSERT_TRUE(ndc.DrawState(CPoint(1, 1), CSize(0, 0), &bitmap, DST_BITMAP));
    EXPECT_EQ(PaintedBounds(normal, qRgb(0, 128, 0)), QRect(1, 1, 4, 4));
    EXPECT_FALSE(ndc.DrawState(CPoint(1, 1), CSize(0, 0), &bitmap, DST_ICON));
}

TEST_F(DCTest, DrawIconKeepsTransparentPixels) {
    QImage icon(3, 3, QImage::Format_ARGB32);
    icon.fill(0);
    icon.setPixel(1, 1, qRgba(255, 0, 0, 255));
    QImage image = Blank(6, 6);
    CDC dc(&image);
    ASSERT_TRUE(dc.DrawIcon(2, 2, icon));
    EXPECT_EQ(PaintedBounds(image), QRect(3, 3, 1, 1));
}

namespace {

// A widget that paints through a device context, as the system's windows do.
class PaintedWidget : public QWidget {
public:
    std::function<void(CDC&)> paint;
    bool readable = true;

protected:
    void paintEvent(QPaintEvent*) override {
        CDC dc(this);
        readable = dc.GetImage() != nullptr;
        paint(dc);
    }
};

}  // namespace

TEST_F(DCTest, WindowDcDrawsDuringThePaintEvent) {
    PaintedWidget widget;
    widget.resize(20, 20);
    widget.paint = [](CDC& dc) {
        dc.FillSolidRect(CRect(0, 0, 20, 20), RGB(255, 255, 255));
        dc.MoveTo(2, 5);
        dc.LineTo(12, 5);
        CPen red(PS_SOLID, 1, RGB(255, 0, 0));
        dc.SelectObject(&red);
        dc.SetROP2(R2_XORPEN);
        dc.MoveTo(2, 8);
        dc.LineTo(12, 8);
        for (int i = 0; i < 2; ++i) {
            dc.MoveTo(2, 11);
            dc.LineTo(12, 11);
        }
        EXPECT_FALSE(dc.BitBlt(0, 0, 2, 2, &dc, 0, 0, SRCCOPY));
    };
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_FALSE(widget.readable);
    EXPECT_EQ(PaintedBounds(image), QRect(2, 5, 10, 4));
    EXPECT_EQ(CountPixels(image, kBlack), 10);
    EXPECT_EQ(CountPixels(image, qRgb(0, 255, 255)), 10);  // White XOR red, drawn once.
    EXPECT_EQ(image.pixel(12, 5), kWhite);
}

// A fill during a paint of part of a widget that sits inside its window shows where it meets
// that part, and leaves the rest of the window as it was.
TEST_F(DCTest, FillsInAPartialPaintReachTheirPartOfTheWindow) {
    QWidget window;
    window.resize(100, 60);
    auto* child = new PaintedWidget;
    child->setParent(&window);
    child->setGeometry(20, 10, 50, 30);
    child->setAttribute(Qt::WA_OpaquePaintEvent);
    child->show();
    child->paint = [](CDC& dc) { dc.FillSolidRect(CRect(0, 0, 50, 30), RGB(0, 0, 255)); };
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    child->repaint();
    child->paint = [](CDC& dc) {
        dc.FillSolidRect(CRect(0, 0, 10, 10), RGB(255, 0, 0));
        dc.FillSolidRect(CRect(30, 0, 40, 10), RGB(0, 255, 0));
        dc.FillSolidRect(CRect(40, 20, 50, 30), RGB(255, 255, 0));
    };
    child->repaint(QRect(5, 5, 10, 10));
    const QImage screen = QGuiApplication::primaryScreen()
                              ->grabWindow(window.winId())
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 50; ++x) {
            const bool painted = x >= 5 && x < 15 && y >= 5 && y < 15;
            const QRgb expected = painted && x < 10 && y < 10 ? qRgb(255, 0, 0) : qRgb(0, 0, 255);
            ASSERT_EQ(screen.pixel(20 + x, 10 + y), expected) << x << "," << y;
        }
    }
}

// ---- Text ----

namespace {

CFont MakeFont(int height, int escapement = 0, const QString& face = "DejaVu Sans") {
    CFont font;
    font.CreateFont(height, 0, escapement, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, face);
    return font;
}

// Pixels dark enough to be glyph ink on white.
QRect InkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                bounds = bounds.united(QRect(x, y, 1, 1));
        }
    }
    return bounds;
}

}  // namespace

TEST_F(DCTest, InstalledFontIsFound) {
    EXPECT_TRUE(QFontDatabase::families().contains("DejaVu Sans"));
}

TEST_F(DCTest, FontHeightSignSelectsCharacterOrCellHeight) {
    // DejaVu Sans: ascent 1901 and descent 483 on an em of 2048 font units.
    struct Case {
        int height;
        int cell;
        int em;
    };
    const Case cases[] = {{-18, 21, 18}, {18, 18, 15}, {-12, 14, 12}, {12, 12, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        QImage image = Blank(4, 4);
        CDC dc(&image);
        CFont font = MakeFont(c.height);
        dc.SelectObject(&font);
        TEXTMETRIC tm;
        ASSERT_TRUE(dc.GetTextMetrics(&tm));
        EXPECT_EQ(tm.tmHeight, c.cell);
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, c.em);
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
        EXPECT_EQ(font.GetQFont().pixelSize(), c.em);
        EXPECT_EQ(dc.GetTextExtent("Hg").cy, c.cell);
    }
}

TEST_F(DCTest, TextRendersGlyphPixelsInsideItsCell) {
    for (const QString face : {"DejaVu Sans", "Arial"}) {
        SCOPED_TRACE(face.toStdString());
        QImage image = Blank(120, 40);
        CDC dc(&image);
        CFont font = MakeFont(-18, 0, face);
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        ASSERT_TRUE(dc.TextOut(10, 8, "Hello"));
        const CSize extent = dc.GetTextExtent("Hello");
        const QRect ink = InkBounds(image);
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(QRect(10, 8, extent.cx, extent.cy).contains(ink));
        EXPECT_GT(ink.height(), 10);
        EXPECT_GT(ink.width(), extent.cx / 2);
    }
}

TEST_F(DCTest, OpaqueTextFillsItsCellWithTheBackgroundColour) {
    for (const int mode : {OPAQUE, TRANSPARENT}) {
        QImage image = Blank(100, 40);
        CDC dc(&image);
        CFont font = MakeFont(-14);
        dc.SelectObject(&font);
        dc.SetBkMode(mode);
        dc.SetBkColor(RGB(0, 0, 255));
        dc.TextOut(5, 5, "Ab");
        const CSize extent = dc.GetTextExtent("Ab");
        const QRect blue = PaintedBounds(image, kWhite).intersected(QRect(0, 0, 100, 40));
        if (mode == OPAQUE) {
            EXPECT_EQ(blue, QRect(5, 5, extent.cx, extent.cy));
            EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 255));
        } else {
            EXPECT_EQ(CountPixels(image, qRgb(0, 0, 255)), 0);
        }
    }
}

TEST_F(DCTest, TextAtTheEdgeOfTheCoordinatesKeepsTheCurrentPositionThere) {
    QImage image = Blank(20, 20);
    CDC dc(&image);
    dc.SetTextAlign(TA_UPDATECP);
    dc.MoveTo(INT_MAX - 2, 5);
    ASSERT_TRUE(dc.TextOut(0, 0, "Far"));
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(INT_MAX, 5));
    dc.SetTextAlign(TA_UPDATECP | TA_RIGHT);
    dc.MoveTo(INT_MIN + 2, 5);
    ASSERT_TRUE(dc.TextOut(0, 0, "Far"));
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(INT_MIN, 5));
}

TEST_F(DCTest, ExtTextOutOptionsFillAndClipTheRectangle) {
    QImage image = Blank(100, 40);
    CDC dc(&image);
    CFont font = MakeFont(-16);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetBkColor(RGB(0, 255, 0));
    const CRect box(5, 5, 20, 30);
    ASSERT_TRUE(dc.ExtTextOut(8, 8, ETO_OPAQUE | ETO_CLIPPED, &box, "Clipped"));
    EXPECT_EQ(PaintedBounds(image), QRect(5, 5, 15, 25));
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 255, 0));
    EXPECT_FALSE(InkBounds(image).isEmpty());
}

TEST_F(DCTest, UpdateCpAdvancesAlongTheEscapement) {
    struct Case {
        int escapement;
        CPoint start;
    };
    for (const Case& c : {Case{0, {10, 60}}, Case{900, {40, 110}}, Case{1800, {110, 60}}}) {
        SCOPED_TRACE(c.escapement);
        QImage image = Blank(120, 120);
        CDC dc(&image);
        CFont font = MakeFont(-16, c.escapement);
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextAlign(TA_UPDATECP);
        dc.MoveTo(c.start);
        ASSERT_TRUE(dc.TextOut(0, 0, "Wide"));
        const CSize extent = dc.GetTextExtent("Wide");
        const CPoint end = dc.GetCurrentPosition();
        const QRect ink = InkBounds(image);
        ASSERT_FALSE(ink.isEmpty());
        switch (c.escapement) {
            case 0:
                EXPECT_EQ(end, CPoint(c.start.x + extent.cx, c.start.y));
                EXPECT_GE(ink.top(), c.start.y);
                break;
            case 900:
                // Reading upward: the text lies above the start, its cell to the right.
                EXPECT_EQ(end, CPoint(c.start.x, c.start.y - extent.cx));
                EXPECT_LE(ink.bottom(), c.start.y);
                EXPECT_GE(ink.top(), end.y - 1);
                EXPECT_GE(ink.left(), c.start.x);
                EXPECT_LE(ink.right(), c.start.x + extent.cy);
                EXPECT_GT(ink.height(), ink.width());
                break;
            default:
                EXPECT_EQ(end, CPoint(c.start.x - extent.cx, c.start.y));
                EXPECT_LE(ink.bottom(), c.start.y);
                break;
        }
    }
}

TEST_F(DCTest, TextAlignmentPlacesTheReferencePoint) {
    struct Case {
        UINT align;
        bool rightOfX;
        bool belowY;
    };
    const Case cases[] = {{TA_TOP | TA_LEFT, true, true},
                          {TA_BOTTOM | TA_RIGHT, false, false},
                          {TA_BASELINE | TA_LEFT, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        QImage image = Blank(200, 100);
        CDC dc(&image);
        CFont font = MakeFont(-16);
        dc.SelectObject(&font);
        dc.SetTextAlign(c.align);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(100, 50, "Text");
        const QRect ink = InkBounds(image);
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_EQ(ink.left() >= 100, c.rightOfX);
        EXPECT_EQ(ink.right() < 100, !c.rightOfX);
        EXPECT_EQ(ink.top() >= 50, c.belowY);
        EXPECT_EQ(ink.bottom() < 50, !c.belowY);
    }
}

TEST_F(DCTest, TextIsTheSameWhateverTheImageResolution) {
    QImage images[3];
    const int dotsPerMeter[3] = {2835, 3780, 5669};  // 72, 96 and 144 DPI.
    for (int i = 0; i < 3; ++i) {
        images[i] = Blank(120, 40);
        images[i].setDotsPerMeterX(dotsPerMeter[i]);
        images[i].setDotsPerMeterY(dotsPerMeter[i]);
        CDC dc(&images[i]);
        CFont font = MakeFont(12);
        dc.SelectObject(&font);
        dc.TextOut(2, 2, "Frame: 40");
    }
    EXPECT_EQ(images[0], images[1]);
    EXPECT_EQ(images[1], images[2]);
}

TEST_F(DCTest, DrawTextMeasuresWrapsAndAligns) {
    QImage image = Blank(200, 100);
    CDC dc(&image);
    CFont font = MakeFont(-14);
    dc.SelectObject(&font);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    const int two = dc.GetTextExtent("alpha beta").cx;

    struct Case {
        const char* name;
        QString text;
        UINT format;
        int width;
        int lines;
        int calcWidth;
    };
    const Case cases[] = {
        {"wraps at blanks", "alpha beta gamma", DT_WORDBREAK | DT_CALCRECT, two + 2, 2, two},
        {"no wrap without the flag", "alpha beta gamma", DT_CALCRECT, two + 2, 1,
         dc.GetTextExtent("alpha beta gamma").cx},
        {"line breaks", "Frame: 1\nTime: 2", DT_CALCRECT, 10, 2,
         std::max(dc.GetTextExtent("Frame: 1").cx, dc.GetTextExtent("Time: 2").cx)},
        {"single line ignores breaks", "a\nb", DT_SINGLELINE | DT_CALCRECT, 10, 1,
         dc.GetTextExtent("a b").cx},
        {"long word keeps its own line", "unbreakable x", DT_WORDBREAK | DT_CALCRECT, 5, 2,
         dc.GetTextExtent("unbreakable").cx},
        {"prefix", "&File", DT_CALCRECT, 10, 1, dc.GetTextExtent("File").cx},
        {"double prefix", "a&&b", DT_CALCRECT, 10, 1, dc.GetTextExtent("a&b").cx},
        {"no prefix", "&File", DT_CALCRECT | DT_NOPREFIX, 10, 1, dc.GetTextExtent("&File").cx},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CRect rect(10, 20, 10 + c.width, 90);
        EXPECT_EQ(dc.DrawText(c.text, &rect, c.format), c.lines * tm.tmHeight);
        EXPECT_EQ(rect, CRect(10, 20, 10 + c.calcWidth, 20 + c.lines * tm.tmHeight));
    }
    EXPECT_EQ(image, Blank(200, 100));  // Measuring draws nothing.
}

TEST_F(DCTest, DrawTextCentresAndClips) {
    QImage image = Blank(200, 60);
    CDC dc(&image);
    CFont font = MakeFont(-14);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    CRect rect(20, 10, 180, 50);
    dc.DrawText("Mid", &rect, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    const QRect ink = InkBounds(image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), 100, 3);
    EXPECT_NEAR(ink.center().y(), 30, 4);

    // "&W" underlines the W below its glyph.
    QImage plain = Blank(60, 40);
    QImage underlined = Blank(60, 40);
    for (QImage* target : {&plain, &underlined}) {
        CDC tdc(target);
        tdc.SelectObject(&font);
        CRect box(5, 5, 55, 35);
        tdc.DrawText(target == &plain ? "W" : "&W", &box, 0);
    }
    EXPECT_EQ(InkBounds(underlined).top(), InkBounds(plain).top());
    EXPECT_GT(InkBounds(underlined).bottom(), InkBounds(plain).bottom());

    QImage clipped = Blank(200, 60);
    CDC cdc(&clipped);
    cdc.SelectObject(&font);
    CRect narrow(20, 10, 30, 50);
    cdc.DrawText("Clipped text", &narrow, 0);
    EXPECT_LE(PaintedBounds(clipped).right(), 29);
}

// What SelectObject hands back stays valid however much is selected after it: painting code
// keeps the first answer and puts it back at the end.
TEST_F(DCTest, ObjectsHandedBackStayValidWhileMoreAreSelected) {
    QImage image = Blank(20, 20);
    CDC dc(&image);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CBrush green(RGB(0, 255, 0));
    CPen* firstPen = dc.SelectObject(&red);
    CBrush* firstBrush = dc.SelectObject(&green);
    ASSERT_NE(firstPen, nullptr);
    ASSERT_NE(firstBrush, nullptr);
    for (int i = 0; i < 200; ++i) {
        CPen pen(PS_SOLID, 1, RGB(0, 0, i));
        CBrush brush(RGB(i, 0, 0));
        dc.SelectObject(&pen);
        dc.SelectObject(&brush);
    }
    // The device context's own black pen and white brush come back.
    dc.SelectObject(firstPen);
    dc.SelectObject(firstBrush);
    dc.Rectangle(2, 2, 12, 12);
    EXPECT_EQ(image.pixel(2, 2), kBlack);
    EXPECT_EQ(image.pixel(6, 6), kWhite);
    EXPECT_EQ(PaintedBounds(image), QRect(2, 2, 10, 10));
}
