#include "platform/framework/DC.h"
#include "testsupport/IsolatedTest.h"
#include "views/CloneDrawObject.h"
#include "views/DrawArc.h"
#include "views/DrawBSpline.h"
#include "views/DrawDimAngle.h"
#include "views/DrawDimLength.h"
#include "views/DrawEllipse.h"
#include "views/DrawGeometry.h"
#include "views/DrawLine.h"
#include "views/DrawPolygon.h"
#include "views/DrawRect.h"
#include "views/DrawText.h"
#include "views/ZoomTransform.h"
#include "views/tests/ArchiveBytes.h"

#include <QImage>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kBody = CDrawObject::kHitBody;

void SetPoints(CDrawObject& o, const std::vector<CDoublePoint>& points) {
    int i = 0;
    for (const CDoublePoint& p : points)
        o.SetPoint(i++, p, TRUE, FALSE);
}

TEST(DrawDimLengthTest, LabelFollowsScaleWithFourSignificantDigits) {
    struct Case {
        CDoublePoint end;
        double scale;
        const char* label;
        double value;
    };
    const Case cases[] = {
        {{30.0, 0.0}, 0.5, "15", 15.0},         {{30.0, 0.0}, 1.0 / 3.0, "10", 10.0},
        {{0.0, 1234.56}, 1.0, "1235", 1234.56}, {{1.0, 0.0}, 0.000123456, "0.0001235", 0.000123456},
        {{3.0, 4.0}, 2.0, "10", 10.0},          {{0.0, 0.0}, 5.0, "0", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CDrawDimLength d;
        SetPoints(d, {{0.0, 0.0}, c.end});
        d.SetScaleFactor(c.scale);
        d.SetLabel(FALSE, QString());
        EXPECT_EQ(d.GetLabelText(), QString::fromLatin1(c.label));
        EXPECT_NEAR(d.GetValue(), c.value, 1e-12);
    }
    CDrawDimLength single;
    single.SetPoint(0, {4.0, 4.0}, TRUE, FALSE);
    single.SetLabel(FALSE, QString());
    EXPECT_EQ(single.GetLabelText(), "0");
    CDrawDimLength custom;
    SetPoints(custom, {{0.0, 0.0}, {10.0, 0.0}});
    custom.SetLabel(TRUE, "gap");
    EXPECT_EQ(custom.GetLabelText(), "gap");
    EXPECT_DOUBLE_EQ(custom.GetValue(), 10.0);
}

TEST(DrawDimLengthTest, MovingPointsSetsOffsetAndTextAngle) {
    CDrawDimLength d;
    SetPoints(d, {{10.0, 10.0}, {110.0, 10.0}, {10.0, 25.0}});
    d.MovePoint(2, {22.0, -6.0}, FALSE);  // 20 away from point 0, in any direction.
    EXPECT_DOUBLE_EQ(d.GetOffset(), 20.0);
    EXPECT_EQ(d.GetTextAngle(), 0);
    d.MovePoint(1, {10.0, -90.0}, FALSE);  // Straight up on screen: +90 degrees.
    EXPECT_EQ(d.GetTextAngle(), 900);
    EXPECT_DOUBLE_EQ(d.GetOffset(), 20.0);
    d.MovePoint(0, {110.0, -90.0}, FALSE);  // Pointing left now.
    EXPECT_EQ(d.GetTextAngle(), -1800);
    d.MovePoint(1, {0.123, 7.987}, TRUE);
    EXPECT_EQ(d.GetPoint(1, FALSE), CDoublePoint(0.1, std::trunc(79.87) * 0.1));
    d.SetModified(FALSE);
    d.MovePoint(3, {1.0, 1.0}, FALSE);
    EXPECT_FALSE(d.IsModified());
    EXPECT_EQ(d.GetPointCount(), 3);
}

TEST(DrawDimLengthTest, ConstructionPointsOnBothSides) {
    struct Case {
        const char* name;
        CDoublePoint third;
        double scale;  // Of a corner-anchored transform; -1 for none.
        CDoublePoint expected[9];
    };
    // Points 0 and 1 at (0, 0) and (100, 0); the normal points down the screen; the stored
    // offset stays 15 (points are set, not moved); label position 0.1 puts the label at 0.45.
    const Case cases[] = {
        {"below",
         {0.0, 20.0},
         -1.0,
         {{0, 0}, {0, 6}, {0, 15}, {0, 23}, {45, 17}, {100, 23}, {100, 15}, {100, 6}, {100, 0}}},
        {"above, label lifted by its height",
         {0.0, -20.0},
         -1.0,
         {{0, 0},
          {0, -6},
          {0, -15},
          {0, -23},
          {45, -38},
          {100, -23},
          {100, -15},
          {100, -6},
          {100, 0}}},
        {"below at zoom 2",
         {0.0, 20.0},
         2.0,
         {{0, 0}, {0, 12}, {0, 30}, {0, 46}, {90, 34}, {200, 46}, {200, 30}, {200, 12}, {200, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDrawDimLength d;
        SetPoints(d, {{0.0, 0.0}, {100.0, 0.0}, c.third});
        CZoomTransform t;
        if (c.scale > 0.0) {
            t.SetScale(c.scale);
            t.SetOffset(0.0, 0.0);
        }
        CDrawDimLength::Construction g;
        ASSERT_TRUE(
            d.GetGeometry(&g, c.scale > 0.0 ? &t : nullptr, CDrawDimLength::kStoredOffset, TRUE));
        for (int i = 0; i < 9; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(g[i], c.expected[i]);
        }
    }
    CDrawDimLength d;
    SetPoints(d, {{0.0, 0.0}, {100.0, 0.0}, {0.0, -20.0}});
    CDrawDimLength::Construction g;
    ASSERT_TRUE(d.GetGeometry(&g, nullptr, CDrawDimLength::kStoredOffset, FALSE));
    EXPECT_EQ(g[4], CDoublePoint(45, -20));
    ASSERT_TRUE(d.GetGeometry(&g, nullptr, 0.0, TRUE));
    EXPECT_EQ(g[2], CDoublePoint(0, 0));
    EXPECT_EQ(g[6], CDoublePoint(100, 0));
    CDrawDimLength empty;
    EXPECT_FALSE(empty.GetGeometry(&g, nullptr, CDrawDimLength::kStoredOffset, TRUE));
}

TEST(DrawDimLengthTest, CoincidentPointsGiveFiniteGeometry) {
    CDrawDimLength d;
    SetPoints(d, {{5.0, 5.0}, {5.0, 5.0}, {5.0, 5.0}});
    CDrawDimLength::Construction g;
    ASSERT_TRUE(d.GetGeometry(&g, nullptr, CDrawDimLength::kStoredOffset, TRUE));
    for (const CDoublePoint& p : g) {
        EXPECT_TRUE(std::isfinite(p.x));
        EXPECT_TRUE(std::isfinite(p.y));
    }
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    CDC dc(&image);
    d.Draw(&dc, nullptr, 0);
    EXPECT_EQ(d.GetLabelText(), "0");
    EXPECT_TRUE(std::isfinite(d.GetLabelPosition()));
    int part = 0;
    d.HitTest({5.0, 5.0}, &part);
    EXPECT_GE(part, 0);
}

TEST(DrawDimLengthTest, HandleWinsOverBody) {
    CDrawDimLength d;
    SetPoints(d, {{0.0, 0.0}, {100.0, 0.0}, {0.0, 20.0}});
    struct Case {
        CDoublePoint at;
        BOOL hit;
        int part;
    };
    const Case cases[] = {
        {{50.0, 12.0}, TRUE, kBody},  // Between the extension lines.
        {{98.0, 6.0}, TRUE, kBody},
        {{1.0, 19.0}, TRUE, 2},  // The offset handle, inside the
                                 // outline too.
        {{101.0, 1.0}, TRUE, 1},
        {{50.0, 40.0}, FALSE, -1},
        {{50.0, -5.0}, FALSE, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.at.x << "," << c.at.y);
        int part = 99;
        EXPECT_EQ(d.HitTest(c.at, &part), c.hit);
        EXPECT_EQ(part, c.part);
    }
}

TEST(DrawDimLengthTest, RenderLabelMeasuresWithoutPainting) {
    CDrawDimLength d;
    SetPoints(d, {{0.0, 0.0}, {100.0, 0.0}, {0.0, 20.0}});
    d.SetScaleFactor(2.0);
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::black);
    const QImage before = image;
    CDC dc(&image);
    d.RenderLabel(&dc, nullptr, TRUE);
    dc.DeleteDC();
    EXPECT_EQ(image, before);
    EXPECT_EQ(d.GetLabelText(), "200");
    EXPECT_DOUBLE_EQ(d.GetValue(), 200.0);
    // Three digits of 18 pixels over the 100-pixel dimension line.
    EXPECT_GT(d.GetLabelPosition(), 0.15);
    EXPECT_LT(d.GetLabelPosition(), 0.6);
    CDrawDimLength none;
    none.RenderLabel(nullptr, nullptr, TRUE);
    EXPECT_EQ(none.GetLabelText(), "0");  // A dimension without points measures 0.
}

TEST(DrawDimAngleTest, AngleAndArcHitTheirPointsAndTriangle) {
    CDrawDimAngle angle;
    CDrawArc arc;
    for (CDrawObject* o : {static_cast<CDrawObject*>(&angle), static_cast<CDrawObject*>(&arc)}) {
        SCOPED_TRACE(o->GetType());
        int part = 99;
        EXPECT_FALSE(o->HitTest({0, 0}, &part));
        SetPoints(*o, {{0, 0}, {60, 0}, {30, 40}});
        struct Case {
            CDoublePoint at;
            BOOL hit;
            int part;
        };
        const Case cases[] = {{{30, 10}, TRUE, kBody},
                              {{61, 1}, TRUE, 1},
                              {{30, 37}, TRUE, 2},
                              {{1, 1}, TRUE, 0},
                              {{5, 30}, FALSE, -1}};
        for (const Case& c : cases) {
            EXPECT_EQ(o->HitTest(c.at, &part), c.hit);
            EXPECT_EQ(part, c.part);
        }
    }
}

class DrawDimensionArchiveTest : public IsolatedTest {
protected:
    QString Path() const { return WorkPath("dimension.bin"); }
};

TEST_F(DrawDimensionArchiveTest, LengthRecordRestoresLabelFontAndOffsetButNotValue) {
    CDrawDimLength d;
    SetPoints(d, {{0.0, 0.0}, {40.0, 0.0}, {0.0, 10.0}});
    d.MovePoint(2, {0.0, 25.0}, FALSE);
    d.SetFont("Courier", 24, TRUE, FALSE, TRUE);
    d.SetLabel(TRUE, "span");
    const QByteArray bytes = StoreObject(Path(), &d);
    ArchiveBytes golden;
    golden.NewClass("CDrawDimLength")
        .Base(-1, 0x0000FF, 0x00FF00, 0xFFFFFF, 3, 0, 0)
        .U16(3)
        .F64(0.0)
        .F64(0.0)
        .F64(40.0)
        .F64(0.0)
        .F64(0.0)
        .F64(25.0)
        .Str("span")
        .I32(24)
        .I32(0)
        .I32(1)
        .I32(0)
        .I32(1)
        .Str("Courier")
        .F64(0.1)
        .F64(25.0);
    EXPECT_EQ(bytes, golden.Bytes());
    auto back = LoadObject<CDrawDimLength>(Path(), bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetLabelText(), "span");
    EXPECT_EQ(back->GetFaceName(), "Courier");
    EXPECT_EQ(back->GetLabelHeight(), 24);
    EXPECT_DOUBLE_EQ(back->GetOffset(), 25.0);
    EXPECT_DOUBLE_EQ(back->GetLabelPosition(), 0.1);
    EXPECT_EQ(back->GetValue(), 0.0);
    EXPECT_FALSE(back->IsModified());
}

TEST_F(DrawDimensionArchiveTest, DamagedLengthRecordIsBounded) {
    ArchiveBytes b;
    b.NewClass("CDrawDimLength")
        .Base(-1, 0, 0, 0, 3, 0, 0)
        .U16(2)
        .F64(0.0)
        .F64(0.0)
        .F64(40.0)
        .F64(0.0)
        .Str("x")
        .I32(1 << 30)
        .I32(123456)
        .I32(0)
        .I32(0)
        .I32(0)
        .Str("Arial")
        .F64(std::nan(""))
        .F64(1e300);
    auto back = LoadObject<CDrawDimLength>(Path(), b.Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetLabelHeight(), CDrawObject::kMaxStoredExtent);
    EXPECT_EQ(back->GetTextAngle(), 123456 % 3600);
    EXPECT_TRUE(std::isfinite(back->GetLabelPosition()));
    EXPECT_EQ(back->GetOffset(), CDrawObject::kMaxStoredCoordinate);
    QImage image(60, 60, QImage::Format_RGB32);
    CDC dc(&image);
    back->Draw(&dc, nullptr, 0);
}

TEST_F(DrawDimensionArchiveTest, AngleAndArcRecords) {
    CDrawDimAngle a;
    SetPoints(a, {{10.0, 0.0}, {0.0, 0.0}, {0.0, 10.0}});
    a.SetFont("Serif", 12, FALSE, TRUE, FALSE);
    a.UpdateValue();
    auto angleBack = LoadObject<CDrawDimAngle>(Path(), StoreObject(Path(), &a));
    ASSERT_TRUE(angleBack);
    EXPECT_EQ(angleBack->GetLabelText(), a.GetLabelText());
    EXPECT_EQ(angleBack->GetFaceName(), "Serif");
    EXPECT_EQ(angleBack->GetLabelHeight(), 12);

    CDrawArc arc;
    SetPoints(arc, {{0.0, 0.0}, {10.0, 0.0}, {5.0, 5.0}});
    arc.SetArrowAtEnd(TRUE);
    const QByteArray bytes = StoreObject(Path(), &arc);
    EXPECT_EQ(bytes.right(8), ArchiveBytes().I32(0).I32(1).Bytes());
    auto arcBack = LoadObject<CDrawArc>(Path(), bytes);
    ASSERT_TRUE(arcBack);
    EXPECT_TRUE(arcBack->GetArrowAtEnd());
    EXPECT_FALSE(arcBack->GetArrowAtStart());
    EXPECT_EQ(arcBack->GetCentre(), CDoublePoint(5.0, 0.0));
    EXPECT_DOUBLE_EQ(arcBack->GetRadius(), 5.0);
}

TEST(DrawDimAngleTest, ValuesAndLabels) {
    struct Case {
        const char* name;
        CDoublePoint end0, vertex, end2;
        double degrees;
    };
    // Degrees as stored files count them: 180 / 3.14159 per radian.
    constexpr double k = 57.295827908797776;
    const Case cases[] = {
        {"right angle", {10, 0}, {0, 0}, {0, 10}, M_PI / 2 * k},
        {"same direction", {10, 0}, {0, 0}, {20, 0}, 0.0},
        {"zero-length arm", {0, 0}, {0, 0}, {0, 10}, 0.0},
        {"opposite", {-5, 0}, {0, 0}, {7, 0}, M_PI * k},
        // The cosine of these parallel arms rounds to just above 1.
        {"rounding past one", {0.7, 0.2}, {0, 0}, {0.07, 0.02}, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDrawDimAngle a;
        SetPoints(a, {c.end0, c.vertex, c.end2});
        a.UpdateValue();
        EXPECT_FALSE(std::isnan(a.GetValue()));
        EXPECT_NEAR(a.GetValue(), c.degrees, 1e-9);
    }
    CDrawDimAngle right;
    SetPoints(right, {{10, 0}, {0, 0}, {0, 10}});
    right.UpdateValue();
    EXPECT_EQ(right.GetLabelText(), QString("90.00") + QChar(0x00B0));
    CDrawDimAngle two;
    SetPoints(two, {{10, 0}, {0, 0}});
    two.UpdateValue();
    EXPECT_EQ(two.GetValue(), 0.0);
    // Moving the second arm turns the label along it.
    right.MovePoint(2, {0.0, -10.0}, FALSE);
    EXPECT_EQ(right.GetTextAngle(), 900);
    right.MovePoint(0, {0.0, 10.0}, FALSE);
    EXPECT_EQ(right.GetTextAngle(), 900);
}

TEST(DrawArcTest, GeometryFromThreePoints) {
    struct Case {
        const char* name;
        CDoublePoint p0, p1, p2;
        CDoublePoint centre;
        double radius;
        int direction;
    };
    const Case cases[] = {
        {"near the chord", {0, 0}, {10, 0}, {5, 0.5}, {-1, -1}, -1.0, 0},
        {"below", {0, 0}, {10, 0}, {5, 5}, {5, 0}, 5.0, 0},
        {"above", {0, 0}, {10, 0}, {5, -5}, {5, 0}, 5.0, 1},
        {"coincident chord ends", {3, 3}, {3, 3}, {9, 9}, {-1, -1}, -1.0, 0},
        {"centre truncated", {0, 0}, {11, 0}, {5.5, 5.5}, {5, 0}, 5.5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDrawArc arc;
        SetPoints(arc, {c.p0, c.p1, c.p2});
        arc.UpdateGeometry();
        EXPECT_EQ(arc.GetCentre(), c.centre);
        EXPECT_NEAR(arc.GetRadius(), c.radius, 1e-9);
        EXPECT_EQ(arc.GetDirection(), c.direction);
    }
    CDrawArc arc;
    SetPoints(arc, {{0, 0}, {10, 0}, {5, 0.5}});
    arc.MovePoint(2, {5.0, 5.0}, FALSE);
    EXPECT_EQ(arc.GetCentre(), CDoublePoint(5, 0));
    arc.OffsetPoints({10.0, 20.0}, FALSE);
    EXPECT_EQ(arc.GetCentre(), CDoublePoint(15, 20));
}

TEST(DrawGeometryTest, CircleThroughPointsAndInverse) {
    struct Case {
        const char* name;
        CDoublePoint p[3];
        bool found;
        CDoublePoint centre;
        double radius;
    };
    const Case cases[] = {
        {"unit circle", {{1, 0}, {0, 1}, {-1, 0}}, true, {0, 0}, 1.0},
        {"shifted", {{13, 7}, {10, 10}, {7, 7}}, true, {10, 7}, 3.0},
        {"on one line", {{0, 0}, {1, 1}, {2, 2}}, false, {}, 0.0},
        {"coincident", {{4, 4}, {4, 4}, {8, 1}}, false, {}, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDoublePoint centre(-7, -7);
        double radius = -7.0;
        EXPECT_EQ(DrawGeometry::CircleThroughPoints(c.p, 3, &centre, &radius), c.found);
        if (c.found) {
            EXPECT_NEAR(centre.x, c.centre.x, 1e-9);
            EXPECT_NEAR(centre.y, c.centre.y, 1e-9);
            EXPECT_NEAR(radius, c.radius, 1e-9);
        } else {
            EXPECT_EQ(centre, CDoublePoint(-7, -7));
            EXPECT_EQ(radius, -7.0);
        }
    }
    const CDoublePoint two[2] = {{0, 0}, {1, 0}};
    EXPECT_FALSE(DrawGeometry::CircleThroughPoints(two, 2, nullptr, nullptr));

    const double m[9] = {2, 0, 0, 0, 4, 0, 1, 0, 1};
    double inv[9];
    ASSERT_TRUE(DrawGeometry::Invert3x3(m, inv));
    const double expected[9] = {0.5, 0, 0, 0, 0.25, 0, -0.5, 0, 1};
    for (int i = 0; i < 9; ++i)
        EXPECT_DOUBLE_EQ(inv[i], expected[i]) << i;
    const double singular[9] = {1, 2, 3, 2, 4, 6, 0, 1, 1};
    double untouched[9] = {9, 9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_FALSE(DrawGeometry::Invert3x3(singular, untouched));
    EXPECT_EQ(untouched[4], 9.0);
}

TEST(DrawGeometryTest, ClipRayToRect) {
    const CRect r(0, 0, 100, 50);
    struct Case {
        CPoint from;
        double dx, dy;
        CPoint expected;
    };
    const Case cases[] = {
        {{10, 10}, 0.0, -1.0, {10, 0}},   {{10, 10}, 0.0, 2.0, {10, 50}},
        {{10, 10}, -3.0, 0.0, {0, 10}},   {{10, 10}, 1.0, 0.0, {100, 10}},
        {{10, 10}, 1.0, 1.0, {50, 50}},   {{90, 10}, 1.0, 1.0, {100, 20}},
        {{50, 25}, -2.0, -1.0, {0, 0}},   {{50, 25}, -1.0, 1.0, {25, 50}},
        {{100, 50}, 1.0, 1.0, {100, 50}}, {{101, 10}, 1.0, 0.0, {-1, -1}},
        {{10, -1}, 0.0, 1.0, {-1, -1}},   {{10, 10}, 0.0, 0.0, {10, 10}},
        {{10, 10}, 3.0, -1.0, {40, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.from.x << "," << c.from.y << " d " << c.dx << "," << c.dy);
        EXPECT_EQ(DrawGeometry::ClipRayToRect(c.from, r, c.dx, c.dy), c.expected);
    }
}

// A class built on the length dimension, as the calipers are.
class CTestCaliper : public CDrawDimLength {
    DECLARE_DYNCREATE(CTestCaliper)
};
IMPLEMENT_DYNCREATE(CTestCaliper, CDrawDimLength)

TEST(CloneDrawObjectTest, EveryTypeKeepsItsExactClass) {
    struct Case {
        std::function<CDrawObject*()> make;
        const CRuntimeClass* cls;
        int type;
    };
    const Case cases[] = {
        {[] { return new CDrawLine; }, RUNTIME_CLASS(CDrawLine), 1},
        {[] { return new CDrawRect; }, RUNTIME_CLASS(CDrawRect), 2},
        {[] { return new CDrawEllipse; }, RUNTIME_CLASS(CDrawEllipse), 3},
        {[] { return new CDrawPolygon; }, RUNTIME_CLASS(CDrawPolygon), 4},
        {[] { return new CDrawBSpline; }, RUNTIME_CLASS(CDrawBSpline), 5},
        {[] { return new CDrawText; }, RUNTIME_CLASS(CDrawText), 6},
        {[] { return new CDrawDimLength; }, RUNTIME_CLASS(CDrawDimLength), 7},
        {[] { return new CDrawDimAngle; }, RUNTIME_CLASS(CDrawDimAngle), 8},
        {[] { return new CDrawArc; }, RUNTIME_CLASS(CDrawArc), 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        std::unique_ptr<CDrawObject> source(c.make());
        SetPoints(*source, {{1, 2}, {30, 4}, {15, 20}});
        source->SetFrame(4);
        source->SetLineColor(0x123456);
        std::unique_ptr<CDrawObject> copy(CloneDrawObject(source.get()));
        ASSERT_TRUE(copy);
        EXPECT_EQ(copy->GetRuntimeClass(), c.cls);
        EXPECT_EQ(copy->GetType(), c.type);
        EXPECT_EQ(copy->GetFrame(), 4);
        EXPECT_EQ(copy->GetLineColor(), 0x123456u);
        ASSERT_EQ(copy->GetPointCount(), 3);
        EXPECT_EQ(copy->GetPoint(2, FALSE), CDoublePoint(15, 20));
    }
    CDrawDimLength length;
    SetPoints(length, {{0, 0}, {10, 0}, {0, 5}});
    length.MovePoint(2, {0, 33}, FALSE);
    length.SetScaleFactor(0.25);
    length.SetPlainLine(TRUE);
    std::unique_ptr<CDrawObject> lengthCopy(CloneDrawObject(&length));
    auto* typed = dynamic_cast<CDrawDimLength*>(lengthCopy.get());
    ASSERT_TRUE(typed);
    EXPECT_DOUBLE_EQ(typed->GetOffset(), 33.0);
    EXPECT_DOUBLE_EQ(typed->GetScaleFactor(), 0.25);
    EXPECT_TRUE(typed->GetPlainLine());
    CDrawArc arc;
    SetPoints(arc, {{0, 0}, {10, 0}, {5, 5}});
    arc.SetArrowAtStart(TRUE);
    arc.UpdateGeometry();
    std::unique_ptr<CDrawObject> arcCopy(CloneDrawObject(&arc));
    auto* arcTyped = dynamic_cast<CDrawArc*>(arcCopy.get());
    ASSERT_TRUE(arcTyped);
    EXPECT_TRUE(arcTyped->GetArrowAtStart());
    EXPECT_DOUBLE_EQ(arcTyped->GetRadius(), 5.0);

    CTestCaliper caliper;
    EXPECT_EQ(CloneDrawObject(&caliper), nullptr);
}

TEST(DrawDimensionPaintTest, ShapesPaintTheirLineColour) {
    struct Case {
        const char* name;
        std::function<CDrawObject*()> make;
        std::vector<CDoublePoint> points;
        CPoint onLine;
    };
    const Case cases[] = {
        {"length dimension line",
         [] { return new CDrawDimLength; },
         {{10, 10}, {90, 10}, {10, 40}},
         {50, 25}},
        {"angle arm", [] { return new CDrawDimAngle; }, {{90, 80}, {10, 80}, {10, 10}}, {50, 80}},
        // Between the handles, on the circle about (50, 50) of radius 30.
        {"arc through the top",
         [] { return new CDrawArc; },
         {{20, 50}, {80, 50}, {50, 20}},
         {29, 29}},
        {"arc of two points", [] { return new CDrawArc; }, {{20, 50}, {80, 50}}, {50, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CDrawObject> o(c.make());
        SetPoints(*o, c.points);
        if (auto* arc = dynamic_cast<CDrawArc*>(o.get()))
            arc->UpdateGeometry();
        o->SetLineColor(0x0000FF);
        o->SetLineThickness(3);
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::black);
        CDC dc(&image);
        o->Draw(&dc, nullptr, 0);
        dc.DeleteDC();
        bool found = false;
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                if (image.pixel(c.onLine.x + dx, c.onLine.y + dy) == qRgb(255, 0, 0))
                    found = true;
            }
        }
        EXPECT_TRUE(found);
    }
}

}  // namespace
