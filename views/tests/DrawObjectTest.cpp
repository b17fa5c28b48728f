#include "platform/framework/InvalidArgException.h"
#include "views/DrawEllipse.h"
#include "views/DrawLine.h"
#include "views/DrawPolygon.h"
#include "views/DrawRect.h"
#include "views/DrawText.h"
#include "views/ZoomTransform.h"

#include <gtest/gtest.h>

namespace {

constexpr int kBody = CDrawObject::kHitBody;

void SetEnds(CDrawObject& o, CDoublePoint a, CDoublePoint b) {
    o.SetPoint(0, a, TRUE, FALSE);
    o.SetPoint(1, b, TRUE, FALSE);
}

TEST(DrawObjectTest, NewObjectDefaults) {
    CDrawRect r;
    EXPECT_EQ(r.GetType(), 2);
    EXPECT_EQ(r.GetFrame(), -1);
    EXPECT_EQ(r.GetLineColor(), 0x0000FFu);
    EXPECT_EQ(r.GetFillColor(), 0x00FF00u);
    EXPECT_EQ(r.GetTextColor(), 0xFFFFFFu);
    EXPECT_EQ(r.GetLineThickness(), 3);
    EXPECT_EQ(r.GetLineStyle(), 0);
    EXPECT_EQ(r.GetFilled(), 1);
    EXPECT_EQ(r.GetIndex(), -1);
    EXPECT_TRUE(r.IsModified());
    EXPECT_TRUE(r.GetDisplayFlag());
    EXPECT_FALSE(r.IsSelected());
    EXPECT_EQ(r.GetRuntimeClass()->m_wSchema, VERSIONABLE_SCHEMA | 3u);
    EXPECT_EQ(CDrawObject::classCDrawObject.m_wSchema, 0xFFFFu);
}

TEST(DrawObjectTest, SettersReturnOldValueAndMarkModified) {
    CDrawEllipse e;
    e.SetModified(FALSE);
    EXPECT_EQ(e.SetLineColor(0x123), 0x0000FFu);
    EXPECT_TRUE(e.IsModified());
    e.SetModified(FALSE);
    EXPECT_EQ(e.SetLineThickness(9), 3);
    EXPECT_EQ(e.SetFilled(FALSE), 1);
    EXPECT_TRUE(e.IsModified());
    e.SetModified(FALSE);
    EXPECT_EQ(e.SetSelected(TRUE), 0);
    EXPECT_EQ(e.SetDisplayFlag(FALSE), 1);
    EXPECT_FALSE(e.IsModified());  // Selection and display are not edits.
}

TEST(DrawObjectTest, PointListOperations) {
    CDrawPolygon p;
    p.SetModified(FALSE);
    EXPECT_FALSE(p.SetPoint(5, {1.0, 2.0}, FALSE, FALSE));
    EXPECT_FALSE(p.IsModified());
    ASSERT_EQ(p.GetPointCount(), 6);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(p.GetPoint(i, FALSE), CDoublePoint(0.0, 0.0));
    EXPECT_FALSE(p.HasMarkedPoint());
    EXPECT_EQ(p.GetPoint(6, FALSE), CDoublePoint(-1.0, -1.0));
    EXPECT_EQ(p.GetPoint(-1, FALSE), CDoublePoint(-1.0, -1.0));

    EXPECT_EQ(p.RemovePoint(6), -1);
    EXPECT_FALSE(p.IsModified());
    EXPECT_EQ(p.RemovePoint(0), 5);
    EXPECT_TRUE(p.IsModified());
    EXPECT_EQ(p.GetPoint(4, FALSE), CDoublePoint(1.0, 2.0));
    EXPECT_THROW(p.RemovePoint(-1), CInvalidArgException);
    EXPECT_THROW(p.SetPoint(-1, {}, TRUE, FALSE), CInvalidArgException);

    p.MovePoint(9, {3, 3}, FALSE);
    EXPECT_EQ(p.GetPointCount(), 5);
    p.MovePoint(4, {12.37, -0.06}, TRUE);
    EXPECT_EQ(p.GetPoint(4, FALSE), CDoublePoint(CDrawObject::Snap(12.37), 0.0));

    p.OffsetPoints({2.9, -1.7}, FALSE);
    EXPECT_EQ(p.GetPoint(0, FALSE), CDoublePoint(2.0, -1.0));
    EXPECT_EQ(p.RemoveAllPoints(), 0);
    EXPECT_EQ(p.GetPointCount(), 0);
    p.SetModified(FALSE);
    p.OffsetPoints({1, 1}, FALSE);
    EXPECT_TRUE(p.IsModified());
}

TEST(DrawObjectTest, SnappingTruncatesToTenths) {
    struct Case {
        double in, out;
    };
    const Case cases[] = {{12.37, 12.3}, {-0.06, 0.0}, {-12.37, -12.3}, {0.19, 0.1},
                          {5.0, 5.0},    {-0.1, -0.1}, {99.99, 99.9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_NEAR(CDrawObject::Snap(c.in), c.out, 1e-12);
        CDrawRect r;
        r.SetPoint(0, {c.in, 7.77}, TRUE, TRUE);
        EXPECT_NEAR(r.GetPoint(0, FALSE).x, c.out, 1e-12);
        EXPECT_NEAR(r.GetPoint(0, FALSE).y, 7.7, 1e-12);
    }
}

TEST(DrawObjectTest, IndexAndFrameRule) {
    CDrawLine l;
    l.SetIndex(-3);
    EXPECT_EQ(l.GetIndex(), -1);
    l.SetIndex(4);
    EXPECT_EQ(l.GetIndex(), 4);

    struct Case {
        int frameValue;
        int frame;
        bool shown;
    };
    const Case cases[] = {{-1, 0, true}, {-1, 99, true}, {3, 3, true},       {3, 4, false},
                          {0, 0, true},  {-2, 0, true},  {-2, 5, true},      {-7, 4, false},
                          {-7, 5, true}, {-7, 6, true},  {INT_MIN, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frameValue << " on " << c.frame);
        l.SetFrame(c.frameValue);
        EXPECT_EQ(l.ShowsOnFrame(c.frame), c.shown);
    }
}

TEST(DrawObjectTest, ContrastColorTable) {
    struct Case {
        COLORREF in;
        int direction;
        COLORREF out;
    };
    const Case cases[] = {
        {0xFFFFFF, 1, 0x7F7F7F}, {0x000000, 1, 0x808080}, {0x0000FF, 1, 0x8080FF},
        {0xC9C9C9, 0, 0x494949}, {0xC8FFFF, 1, 0xFFFFFF},  // blue 200 is not above 200
        {0x102030, 1, 0x90A0B0}, {0x7F8081, 1, 0xFFFFFF}, {0xFFFFFF, -1, 0x7F7F7F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.in);
        EXPECT_EQ(CDrawObject::ContrastColor(c.in, c.direction), c.out);
    }
}

struct HitCase {
    const char* name;
    CDoublePoint at;
    bool hit;
    int part;
};

template <typename Shape>
void RunHits(Shape& shape, std::initializer_list<HitCase> cases) {
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.name);
        int part = 12345;
        EXPECT_EQ(shape.HitTest(c.at, &part) != 0, c.hit);
        EXPECT_EQ(part, c.part);
        EXPECT_EQ(shape.HasMarkedPoint() != 0, c.part >= 0 && c.part != kBody);
        if (c.part >= 0 && c.part != kBody) {
            EXPECT_TRUE(shape.ClearPointMarks());
        }
    }
}

TEST(DrawObjectHitTest, Line) {
    CDrawLine line;
    SetEnds(line, {0, 0}, {100, 0});
    RunHits(line, {
                      {"on the body", {50, 2.9}, true, kBody},
                      {"just outside thickness 3", {50, 3.0}, false, -1},
                      {"near the start point", {3, 0}, true, 0},
                      {"near the end point beats body", {97.5, 1}, true, 1},
                      {"4 units away is not a point", {-4, 0}, false, -1},
                      {"beyond the end", {110, 0}, false, -1},
                  });
    line.SetLineThickness(4);
    RunHits(line, {{"thickness 4 reaches 3.9", {50, 3.9}, true, kBody},
                   {"but not 4", {50, 4.0}, false, -1}});

    CDrawLine one;
    one.SetPoint(0, {0, 0}, TRUE, FALSE);
    RunHits(one, {{"one point never hits", {0, 0}, false, -1}});
    int part = 0;
    EXPECT_FALSE(one.HitTest({0, 0}, nullptr));
    EXPECT_FALSE(one.HitTest({0, 0}, &part));

    CDrawLine zero;
    SetEnds(zero, {5, 5}, {5, 5});
    RunHits(zero, {{"zero length hits its points only", {5, 7}, true, 1},
                   {"zero length body", {5, 9.5}, false, -1}});
}

TEST(DrawObjectHitTest, RectangleEitherWay) {
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed);
        CDrawRect r;
        r.SetPoint(0, reversed ? CDoublePoint(110, 60) : CDoublePoint(10, 10), TRUE, FALSE);
        r.SetPoint(1, reversed ? CDoublePoint(10, 10) : CDoublePoint(110, 60), TRUE, FALSE);
        const int first = reversed ? 1 : 0;
        RunHits(r, {
                       {"inside", {50, 30}, true, kBody},
                       {"left edge inside", {10.5, 30}, true, kBody},
                       {"right edge outside", {110, 30}, false, -1},
                       {"bottom edge outside", {50, 60}, false, -1},
                       {"corner point", {12, 12}, true, first},
                       {"outside", {5, 30}, false, -1},
                   });
    }
}

TEST(DrawObjectHitTest, Ellipse) {
    CDrawEllipse e;
    e.SetPoint(0, {0, 0}, TRUE, FALSE);
    e.SetPoint(1, {100, 50}, TRUE, FALSE);
    RunHits(e, {
                   {"centre", {50, 25}, true, kBody},
                   {"on the axis end", {100, 25}, true, kBody},
                   {"rectangle corner area", {92, 5}, false, -1},
                   {"corner point", {1, 1}, true, 0},
               });
    CDrawEllipse flat;
    flat.SetPoint(0, {10, 10}, TRUE, FALSE);
    flat.SetPoint(1, {10, 90}, TRUE, FALSE);
    RunHits(flat, {{"zero width never hits its body", {10, 50}, false, -1},
                   {"but its points", {10, 88}, true, 1}});
    CDrawEllipse one;  // A rectangle of one unit: half axes of 0 in integer division.
    one.SetPoint(0, {10, 10}, TRUE, FALSE);
    one.SetPoint(1, {11, 11}, TRUE, FALSE);
    int part = 0;
    EXPECT_TRUE(one.HitTest({10, 10}, &part));
    EXPECT_EQ(part, 1);
}

TEST(DrawObjectHitTest, PolygonInteriorEvenOpen) {
    CDrawPolygon p;
    for (CDoublePoint v :
         {CDoublePoint(0, 0), CDoublePoint(100, 0), CDoublePoint(100, 100), CDoublePoint(0, 100)})
        p.SetPoint(p.GetPointCount(), v, TRUE, FALSE);
    for (BOOL closed : {TRUE, FALSE}) {
        SCOPED_TRACE(closed);
        p.SetClosed(closed);
        RunHits(p, {
                       {"interior", {50, 50}, true, kBody},
                       {"outside", {150, 50}, false, -1},
                       {"vertex 2", {98, 98}, true, 2},
                   });
    }
    CDrawPolygon bow;  // Crossing outline: the even-odd rule leaves nothing out twice.
    for (CDoublePoint v :
         {CDoublePoint(0, 0), CDoublePoint(100, 100), CDoublePoint(100, 0), CDoublePoint(0, 100)})
        bow.SetPoint(bow.GetPointCount(), v, TRUE, FALSE);
    RunHits(bow, {{"left lobe", {20, 50}, true, kBody}, {"between lobes", {50, 10}, false, -1}});
    CDrawPolygon single;
    single.SetPoint(0, {5, 5}, TRUE, FALSE);
    RunHits(single, {{"one vertex never hits", {5, 5}, false, -1}});
}

// The body is the pixels whose centres lie inside: left and top edges belong to it, right and
// bottom ones do not, and an outline as far out as a file may put it needs no more memory.
TEST(DrawObjectHitTest, PolygonBodyIsThePixelsInside) {
    CDrawPolygon p;
    for (CDoublePoint v :
         {CDoublePoint(0, 0), CDoublePoint(100, 0), CDoublePoint(100, 100), CDoublePoint(0, 100)})
        p.SetPoint(p.GetPointCount(), v, TRUE, FALSE);
    RunHits(p, {
                   {"left edge", {0, 50}, true, kBody},
                   {"top edge", {50, 0.7}, true, kBody},
                   {"last column", {99.9, 50}, true, kBody},
                   {"right edge", {100, 50}, false, -1},
                   {"bottom edge", {50, 100}, false, -1},
                   {"left of it", {-1, 50}, false, -1},
               });
    constexpr double kFar = CDrawObject::kMaxStoredCoordinate;
    CDrawPolygon comb;  // 500 teeth, each from one end of the range to the other, on a base.
    comb.SetPoint(0, {0, -kFar}, TRUE, FALSE);
    for (int k = 0; k < 500; ++k) {
        for (CDoublePoint v :
             {CDoublePoint(20 * k, kFar), CDoublePoint(20 * k + 10, kFar),
              CDoublePoint(20 * k + 10, -kFar + 10), CDoublePoint(20 * k + 20, -kFar + 10)})
            comb.SetPoint(comb.GetPointCount(), v, TRUE, FALSE);
    }
    comb.SetPoint(comb.GetPointCount(), {10000, -kFar}, TRUE, FALSE);
    RunHits(comb, {{"in a tooth", {5, 0}, true, kBody},
                   {"in the last tooth", {9985, kFar - 1}, true, kBody},
                   {"between teeth", {15, 0}, false, -1},
                   {"in the base", {15, -kFar + 5}, true, kBody}});
}

TEST(DrawObjectHitTest, TextBoxFollowsItsTurn) {
    CDrawText t;
    t.SetPoint(0, {10, 10}, TRUE, FALSE);
    t.SetPoint(1, {110, 10}, TRUE, FALSE);  // Where drawing left the end of the text.
    RunHits(t, {
                   {"inside the box", {60, 20}, true, kBody},
                   {"above the base line", {60, 5}, false, -1},
                   {"below the box", {60, 29}, false, -1},
                   {"anchor", {11, 11}, true, 0},
               });
    t.SetPoint(1, {10, -90}, TRUE, FALSE);  // Turned to run straight up.
    RunHits(t, {{"right of the upward line", {20, -40}, true, kBody},
                {"left of it", {0, -40}, false, -1}});
}

TEST(DrawObjectTest, HitTestExUsesTheObjectsSpaceAndOpensProperties) {
    struct Recorder : CDrawPropertiesHandler {
        int* calls;
        explicit Recorder(int* c) : calls(c) {}
        void ShowProperties(CDrawObject*) override { ++*calls; }
    };
    int calls = 0;
    CDrawLine line;
    SetEnds(line, {0, 0}, {100, 0});
    EXPECT_TRUE(line.HasPropertiesHandler());  // The shared properties dialog.
    line.SetPropertiesHandler(new Recorder(&calls));
    int part = 0;
    EXPECT_TRUE(line.HitTestEx({50, 0}, {500, 500}, &part, TRUE, 0, 0));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(line.HitTestEx({50, 0}, {500, 500}, &part, FALSE, 0, 0) == FALSE);
    EXPECT_EQ(calls, 1);
    line.SetImageSpace(FALSE);
    EXPECT_FALSE(line.HitTestEx({50, 0}, {500, 500}, &part, TRUE, 0, 0));
    EXPECT_EQ(calls, 1);
    line.SetPropertiesHandler(nullptr);
    EXPECT_EQ(line.ShowProperties(), 0);  // No handler: nothing opens.
}

TEST(DrawObjectTest, DisplayPointsMapThroughTheTransform) {
    CDrawRect r;
    r.SetPoint(0, {25.3, 25.0}, TRUE, FALSE);
    r.SetPoint(1, {30.0, 40.0}, TRUE, FALSE);
    // A null transform maps nothing: the points stay as they are.
    EXPECT_EQ(r.GetDisplayPoint(0, nullptr, FALSE), CDoublePoint(25.3, 25.0));
    EXPECT_EQ(CDrawObject::MapPoint({4.5, 6.5}, nullptr), CDoublePoint(4.5, 6.5));
    EXPECT_EQ(CDrawObject::MapPointRounded({4.5, -6.5}, nullptr), CDoublePoint(4.0, -6.0));
    CZoomTransform t;
    t.SetOffset(0, 0);
    t.SetScale(2.0);
    t.SetWindowSize(101, 101);
    t.SetImageSize(50, 50);
    EXPECT_NEAR(r.GetDisplayPoint(0, &t, FALSE).x, 50.6, 1e-12);
    EXPECT_EQ(r.GetDisplayPoint(0, &t, TRUE), CDoublePoint(50.0, 50.0));
    CRect rect;
    ASSERT_TRUE(r.GetDisplayRect(&rect, &t));
    EXPECT_EQ(rect, CRect(50, 50, 60, 80));
    r.SetImageSpace(FALSE);
    EXPECT_EQ(r.GetDisplayPoint(1, &t, TRUE), CDoublePoint(30.0, 40.0));
    EXPECT_EQ(r.GetDisplayPoint(2, &t, TRUE), CDoublePoint(-1.0, -1.0));
}

TEST(DrawObjectTest, CopyFromTakesFieldsAndPoints) {
    CDrawLine a;
    SetEnds(a, {1, 2}, {3, 4});
    a.SetFrame(7);
    a.SetArrowTail(TRUE);
    a.SetSelected(TRUE);
    a.SetIndex(3);
    CDrawLine b;
    b.SetModified(FALSE);
    b.CopyFrom(a);
    EXPECT_EQ(b.GetFrame(), 7);
    EXPECT_EQ(b.GetArrowTail(), 1);
    EXPECT_TRUE(b.IsSelected());
    EXPECT_EQ(b.GetIndex(), 3);
    EXPECT_EQ(b.GetPoint(1, FALSE), CDoublePoint(3, 4));
    EXPECT_TRUE(b.IsModified());
}

TEST(DrawTextTest, NewTextAndEscapementFromTheDrag) {
    CDrawText t;
    QString face;
    int height = 0, escapement = -1, bold = -1, italic = -1, underline = -1;
    t.GetFont(&face, &height, &escapement, &bold, &italic, &underline);
    EXPECT_EQ(face, QStringLiteral("Arial"));
    EXPECT_EQ(height, 18);
    EXPECT_EQ(escapement, 0);
    EXPECT_EQ(bold + italic + underline, 0);
    EXPECT_EQ(t.GetFilled(), 0);
    EXPECT_EQ(t.GetType(), 6);

    struct Case {
        const char* name;
        CDoublePoint drag;
        int escapement;
    };
    const Case cases[] = {
        {"straight up", {10, 0}, 900},  {"straight down", {10, 20}, -900},
        {"to the right", {30, 10}, 0},  {"to the left", {-5, 10}, -1800},
        {"up and right", {20, 0}, 450},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.SetPoint(0, {10, 10}, TRUE, FALSE);
        t.SetPoint(1, {50, 10}, TRUE, FALSE);
        t.SetModified(FALSE);
        t.MovePoint(1, c.drag, FALSE);
        t.GetFont(nullptr, nullptr, &escapement, nullptr, nullptr, nullptr);
        EXPECT_EQ(escapement, c.escapement);
        EXPECT_EQ(t.GetPoint(1, FALSE), CDoublePoint(50, 10));  // Point 1 never moves.
        EXPECT_TRUE(t.IsModified());
    }
    t.MovePoint(0, {1, 2}, FALSE);
    EXPECT_EQ(t.GetPoint(0, FALSE), CDoublePoint(1, 2));
}

}  // namespace
