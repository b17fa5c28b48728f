#include "platform/framework/DC.h"
#include "views/DrawBSpline.h"
#include "views/DrawEllipse.h"
#include "views/DrawLine.h"
#include "views/DrawPolygon.h"
#include "views/DrawRect.h"
#include "views/DrawText.h"
#include "views/ZoomTransform.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <initializer_list>

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kCyan = CDrawObject::kHandleColor;
constexpr COLORREF kHalo = CDrawObject::kHaloColor;

// A 120 x 120 image in one colour, with a device context on it.
class Canvas {
public:
    explicit Canvas(COLORREF background = kWhite) : m_image(120, 120, QImage::Format_RGB32) {
        m_image.fill(QColor(GetRValue(background), GetGValue(background), GetBValue(background)));
        m_dc = std::make_unique<CDC>(&m_image);
    }
    CDC* dc() { return m_dc.get(); }
    COLORREF At(int x, int y) { return m_dc->GetPixel(x, y); }
    bool AnyInColumn(int x, int y0, int y1, COLORREF c) {
        for (int y = y0; y <= y1; ++y) {
            if (At(x, y) == c)
                return true;
        }
        return false;
    }

private:
    QImage m_image;
    std::unique_ptr<CDC> m_dc;
};

void SetPoints(CDrawObject& o, std::initializer_list<CDoublePoint> points) {
    int i = 0;
    for (const CDoublePoint& p : points)
        o.SetPoint(i++, p, TRUE, FALSE);
}

TEST(DrawObjectPaintTest, SelectedLineHasAHaloFiveWider) {
    CDrawLine line;
    SetPoints(line, {{20, 60}, {100, 60}});
    line.SetArrowHead(FALSE);
    line.SetDisplayFlag(FALSE);
    for (bool selected : {false, true}) {
        SCOPED_TRACE(selected);
        Canvas c;
        line.SetSelected(selected);
        line.Draw(c.dc(), nullptr, 0);
        EXPECT_EQ(c.At(60, 60), kRed);
        // Width 3 covers 59..61; the halo of width 8 reaches 3 pixels beyond the line.
        EXPECT_EQ(c.At(60, 63), selected ? kHalo : kWhite);
        EXPECT_EQ(c.At(60, 57), selected ? kHalo : kWhite);
        EXPECT_EQ(c.At(60, 66), kWhite);
    }
}

TEST(DrawObjectPaintTest, ArrowsAndTheZeroLengthLine) {
    for (BOOL head : {FALSE, TRUE}) {
        SCOPED_TRACE(head);
        Canvas c;
        CDrawLine line;
        line.SetDisplayFlag(FALSE);
        SetPoints(line, {{20, 60}, {80, 60}});
        line.SetArrowHead(head);
        line.Draw(c.dc(), nullptr, 0);
        // The start arrow's barbs run from (38, 60 +- 9) to (20, 60).
        EXPECT_EQ(c.AnyInColumn(29, 63, 57 + 10, kRed), head != FALSE);
    }
    Canvas c;
    CDrawLine dot;
    SetPoints(dot, {{50, 50}, {50, 50}});
    dot.SetArrowTail(TRUE);
    dot.SetDisplayFlag(FALSE);
    dot.Draw(c.dc(), nullptr, 0);  // The sanitizers catch a division by the zero length.
    EXPECT_EQ(c.At(40, 50), kWhite);
}

TEST(DrawObjectPaintTest, HandlesAndCentreMark) {
    Canvas c;
    CDrawRect r;
    r.SetFilled(FALSE);
    SetPoints(r, {{20, 20}, {60, 40}});
    int part = 0;
    r.HitTest({60, 40}, &part);  // Marks point 1.
    r.Draw(c.dc(), nullptr, 0);
    // Thickness 3: half size 7.5, squares of 7 from (trunc(p - 3.75)).
    EXPECT_EQ(c.At(16, 16), kCyan);
    EXPECT_EQ(c.At(22, 22), kCyan);
    EXPECT_EQ(c.At(15, 16), kWhite);
    EXPECT_EQ(c.At(23, 23), kWhite);
    EXPECT_EQ(c.At(58, 38), kRed);  // The marked point's handle.
    // Centre cross of arm 2 at (40, 30): LineTo leaves (43, 30) out.
    EXPECT_EQ(c.At(38, 30), kCyan);
    EXPECT_EQ(c.At(42, 30), kCyan);
    EXPECT_EQ(c.At(43, 30), kWhite);
    EXPECT_EQ(c.At(40, 32), kCyan);
    EXPECT_EQ(c.At(40, 33), kWhite);

    Canvas hidden;
    r.SetDisplayFlag(FALSE);
    r.Draw(hidden.dc(), nullptr, 0);
    EXPECT_EQ(hidden.At(16, 16), kWhite);
    EXPECT_EQ(hidden.At(38, 30), kWhite);
}

TEST(DrawObjectPaintTest, PointMarkersAreCrossesWithoutEndPixels) {
    Canvas c;
    CDrawRect r;
    SetPoints(r, {{60, 60}, {-5, -5}});  // The second point lies off the target.
    r.DrawPointMarkers(c.dc(), 1, nullptr);
    // Width 1: arms of trunc(max(2.5, 2)) = 2, the far pixel of each left out.
    EXPECT_EQ(c.At(61, 60), kCyan);
    EXPECT_EQ(c.At(59, 60), kCyan);
    EXPECT_EQ(c.At(60, 59), kCyan);
    EXPECT_EQ(c.At(62, 60), kWhite);
    EXPECT_EQ(c.At(60, 62), kWhite);
    EXPECT_EQ(c.At(61, 61), kWhite);
    EXPECT_EQ(c.At(0, 0), kWhite);
}

TEST(DrawObjectPaintTest, TranslucentEllipseBlendsAt125) {
    const COLORREF background = RGB(0x10, 0x20, 0x40);
    Canvas c(background);
    CDrawEllipse e;
    e.SetDisplayFlag(FALSE);
    SetPoints(e, {{20, 20}, {100, 80}});
    e.Draw(c.dc(), nullptr, 0);
    // (source x 125 + background x 130) / 255 per channel, fill green.
    const COLORREF centre = c.At(60, 50);
    EXPECT_NEAR(GetRValue(centre), (0 * 125 + 0x10 * 130) / 255, 1);
    EXPECT_NEAR(GetGValue(centre), (255 * 125 + 0x20 * 130) / 255, 1);
    EXPECT_NEAR(GetBValue(centre), (0 * 125 + 0x40 * 130) / 255, 1);
    // Inside the box but outside the ellipse the background shows through unchanged.
    const COLORREF corner = c.At(23, 23);
    EXPECT_NEAR(GetRValue(corner), 0x10, 1);
    EXPECT_NEAR(GetGValue(corner), 0x20, 1);
    EXPECT_NEAR(GetBValue(corner), 0x40, 1);
    EXPECT_EQ(c.At(5, 5), background);
}

TEST(DrawObjectPaintTest, EllipseFarBeyondTheTargetDrawsOnlyWhatShows) {
    Canvas c;
    CDrawEllipse e;
    e.SetDisplayFlag(FALSE);
    SetPoints(e, {{-1e9, -1e9}, {1e9, 1e9}});
    e.Draw(c.dc(), nullptr, 0);
    const COLORREF centre = c.At(60, 60);
    EXPECT_NEAR(GetGValue(centre), 255, 1);
    EXPECT_NEAR(GetRValue(centre), 130, 1);
}

TEST(DrawObjectPaintTest, PolygonDrawsWhetherSelectedOrNot) {
    for (bool selected : {false, true}) {
        SCOPED_TRACE(selected);
        Canvas c;
        CDrawPolygon p;
        p.SetDisplayFlag(FALSE);
        SetPoints(p, {{20, 20}, {100, 20}, {100, 100}, {20, 100}});
        p.SetSelected(selected);
        p.Draw(c.dc(), nullptr, 0);
        EXPECT_EQ(c.At(50, 70), kGreen);
        EXPECT_EQ(c.At(20, 60), kRed);
        EXPECT_EQ(c.At(16, 60), selected ? kHalo : kWhite);
    }
}

TEST(DrawObjectPaintTest, BSplineOfTwoPointsIsAStraightSegment) {
    Canvas c;
    CDrawBSpline s;
    s.SetDisplayFlag(FALSE);
    s.SetFilled(FALSE);
    SetPoints(s, {{10, 30}, {110, 30}});
    s.Draw(c.dc(), nullptr, 0);
    EXPECT_EQ(c.At(60, 30), kRed);
    std::vector<CDoublePoint> curve;
    CDrawBSpline::DrawBSplineShape(nullptr, {{0, 0}, {10, 0}, {10, 10}}, FALSE, FALSE, 0, 1, 0, 0,
                                   &curve);
    EXPECT_EQ(curve.size(), 51u);
}

TEST(DrawObjectPaintTest, ZoomedRectangleFollowsTheTransform) {
    Canvas c;
    CDrawRect r;
    r.SetDisplayFlag(FALSE);
    r.SetFilled(TRUE);
    SetPoints(r, {{10, 10}, {20, 20}});
    CZoomTransform t;
    t.SetOffset(0, 0);
    t.SetScale(4.0);
    r.Draw(c.dc(), &t, 0);
    EXPECT_EQ(c.At(60, 60), kGreen);  // Image (15, 15) at window (60, 60).
    EXPECT_EQ(c.At(15, 15), kWhite);
}

TEST(DrawTextPaintTest, TextWritesAndPointOneFollowsItsEnd) {
    Canvas c;
    CDrawText text;
    text.SetDisplayFlag(FALSE);
    text.SetText(QStringLiteral("Hello"));
    text.SetTextColor(0x000000);
    text.SetPoint(0, {10, 40}, TRUE, FALSE);
    text.SetModified(FALSE);
    text.Draw(c.dc(), nullptr, 0);
    ASSERT_EQ(text.GetPointCount(), 2);
    const CDoublePoint end = text.GetPoint(1, FALSE);
    EXPECT_GT(end.x, 30.0);
    EXPECT_EQ(end.y, 40.0);
    EXPECT_FALSE(text.IsModified());  // Following the text is not an edit.
    int ink = 0;
    for (int y = 40; y < 60; ++y) {
        for (int x = 10; x < static_cast<int>(end.x); ++x)
            ink += c.At(x, y) != kWhite ? 1 : 0;
    }
    EXPECT_GT(ink, 10);

    Canvas up;
    text.SetFont(QStringLiteral("Arial"), 18, 900, FALSE, FALSE, FALSE, FALSE);
    text.Draw(up.dc(), nullptr, 0);
    const CDoublePoint upEnd = text.GetPoint(1, FALSE);
    EXPECT_LT(upEnd.y, 20.0);
    EXPECT_NEAR(upEnd.x, 10.0, 1.0);
}

TEST(DrawTextPaintTest, DrawOnlyFontIsReusedWhileHeightAndTurnStay) {
    CDrawText text;
    EXPECT_FALSE(text.GetFontObject().GetSafeHandle());
    text.SetModified(FALSE);
    text.SetFont(QStringLiteral("Arial"), 18, 0, FALSE, FALSE, FALSE, FALSE);
    EXPECT_FALSE(text.IsModified());  // No font existed yet.
    LOGFONT lf;
    // Same height and escapement: the font stays, whatever face is asked for.
    text.SetFont(QStringLiteral("Courier New"), 18, 0, TRUE, FALSE, FALSE, TRUE);
    text.GetFontObject().GetLogFont(&lf);
    EXPECT_EQ(lf.lfFaceName, QStringLiteral("Arial"));
    EXPECT_EQ(lf.lfWeight, 0);
    // Another height: made again from the arguments; the stored values stay.
    text.SetFont(QStringLiteral("Courier New"), 36, 0, TRUE, FALSE, FALSE, TRUE);
    text.GetFontObject().GetLogFont(&lf);
    EXPECT_EQ(lf.lfFaceName, QStringLiteral("Courier New"));
    EXPECT_EQ(lf.lfHeight, 36);
    EXPECT_EQ(lf.lfWeight, CDrawText::kBoldWeight);
    QString face;
    int height = 0;
    text.GetFont(&face, &height, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(face, QStringLiteral("Arial"));
    EXPECT_EQ(height, 18);
    EXPECT_FALSE(text.IsModified());
    // Stored again with a font in place: the object counts as modified.
    text.SetFont(QStringLiteral("Arial"), 20, 0, FALSE, FALSE, FALSE, FALSE);
    EXPECT_TRUE(text.IsModified());
}

}  // namespace
