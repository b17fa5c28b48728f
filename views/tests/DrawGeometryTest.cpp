#include "views/DrawBSpline.h"
#include "views/DrawGeometry.h"
#include "views/DrawPolygon.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Points = std::vector<CDoublePoint>;

const Points kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

void ExpectPoint(const CDoublePoint& got, CDoublePoint want, double tolerance = 1e-9) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
}

TEST(DrawGeometryTest, InsertVertexCases) {
    struct Case {
        const char* name;
        Points start;
        CDoublePoint click;
        Points result;
    };
    const Case cases[] = {
        {"triangle, bottom edge",
         {{0, 0}, {10, 0}, {0, 10}},
         {6, 1},
         {{0, 0}, {5, 0}, {10, 0}, {0, 10}}},
        {"closing edge goes first",
         {{0, 0}, {10, 0}, {0, 10}},
         {-1, 5},
         {{0, 5}, {0, 0}, {10, 0}, {0, 10}}},
        {"equal edges keep the first",
         kSquare,
         {5, 5},
         {{0, 5}, {0, 0}, {10, 0}, {10, 10}, {0, 10}}},
        {"right edge", kSquare, {12, 4}, {{0, 0}, {10, 0}, {10, 5}, {10, 10}, {0, 10}}},
        {"two vertices append the click snapped",
         {{0, 0}, {10, 0}},
         {3.77, -2.05},
         {{0, 0}, {10, 0}, {3.7, -2.0}}},
        {"empty appends", {}, {1.25, 2.5}, {{1.2, 2.5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDrawPolygon p;
        for (const CDoublePoint& v : c.start)
            p.SetPoint(p.GetPointCount(), v, FALSE, FALSE);
        p.SetModified(FALSE);
        EXPECT_TRUE(p.InsertVertex(c.click));
        EXPECT_TRUE(p.IsModified());
        ASSERT_EQ(p.GetPointCount(), static_cast<int>(c.result.size()));
        for (size_t i = 0; i < c.result.size(); ++i)
            ExpectPoint(p.GetPoint(static_cast<int>(i), FALSE), c.result[i]);
        EXPECT_FALSE(p.HasMarkedPoint());
    }
}

TEST(DrawGeometryTest, SelfIntersectionTable) {
    struct Case {
        const char* name;
        Points outline;
        bool crosses;
    };
    const Case cases[] = {
        {"square", kSquare, false},
        {"bow tie", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, true},
        {"triangle is too small", {{0, 0}, {10, 10}, {10, 0}}, false},
        {"concave arrow", {{0, 0}, {10, 5}, {0, 10}, {4, 5}}, false},
        {"star", {{0, 0}, {5, 10}, {10, 0}, {0, 7}, {10, 7}}, true},
        // The edges on either side of a repeated vertex touch, and touching counts.
        {"repeated vertex", {{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}}, true},
        {"closing edge crosses", {{0, 0}, {10, 0}, {0, 10}, {10, 10}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DrawGeometry::OutlineCrossesItself(c.outline), c.crosses);
    }
}

TEST(DrawGeometryTest, CentroidTable) {
    struct Case {
        const char* name;
        Points outline;  // Open; the centre closes it.
        CDoublePoint centre;
        double area;
    };
    const Case cases[] = {
        {"square", kSquare, {5, 5}, 100},
        {"square the other way", {{0, 10}, {10, 10}, {10, 0}, {0, 0}}, {5, 5}, -100},
        {"triangle", {{0, 0}, {6, 0}, {0, 3}}, {2, 1}, 9},
        {"L shape",
         {{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}},
         {25.0 / 3, 25.0 / 3},
         300},
        {"collinear", {{0, 0}, {5, 5}, {10, 10}}, {-1, -1}, 0},
        {"bow tie gets no centre", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, {-1, -1}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectPoint(CDrawPolygon::OutlineCentre(c.outline), c.centre);
        if (!DrawGeometry::OutlineCrossesItself(c.outline)) {
            Points closed = c.outline;
            closed.push_back(c.outline.front());
            EXPECT_DOUBLE_EQ(DrawGeometry::AreaCentroid(closed, nullptr), c.area);
        }
    }
}

TEST(DrawGeometryTest, BSplineSampleTable) {
    const Points control = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {-10, 10}};
    struct Case {
        size_t n;
        bool closed;
        size_t samples;
    };
    // Steps of 0.1 added up while t < n + 2; closed curves add their start once more at the end.
    const Case cases[] = {
        {1, false, 1}, {2, false, 2}, {3, false, 51}, {4, false, 61}, {5, false, 71},
        {1, true, 1},  {2, true, 2},  {3, true, 32},  {4, true, 42},  {5, true, 52},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.n << (c.closed ? " closed" : " open"));
        const Points pts(control.begin(), control.begin() + static_cast<std::ptrdiff_t>(c.n));
        const Points samples = DrawGeometry::SampleBSpline(pts, c.closed);
        ASSERT_EQ(samples.size(), c.samples);
        if (c.n < 3) {
            EXPECT_EQ(samples, pts);  // Too few for a curve: the control points themselves.
            continue;
        }
        if (c.closed) {
            EXPECT_EQ(samples.front(), samples.back());
        } else {
            EXPECT_EQ(samples.front(), pts.front());
            ExpectPoint(samples.back(), pts.back(), 1e-6);
        }
    }
}

TEST(DrawGeometryTest, BSplineValues) {
    const Points open = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const Points s = DrawGeometry::SampleBSpline(open, false);
    ASSERT_EQ(s.size(), 61u);
    ExpectPoint(s[20], {5, 0}, 1e-9);        // t = 2: the midpoint of the first leg
    ExpectPoint(s[25], {8.75, 1.25}, 1e-9);  // t = 2.5: 0.125 P0 + 0.75 P1 + 0.125 P2
    ExpectPoint(s[30], {10, 5}, 1e-9);       // t = 3: the midpoint of the second leg
    ExpectPoint(s[5], {1.25, 0}, 1e-9);      // t = 0.5 on the straight start piece

    const Points closed = DrawGeometry::SampleBSpline(open, true);
    ASSERT_EQ(closed.size(), 42u);
    // The closed curve runs through the midpoints of the control polygon's edges.
    ExpectPoint(closed[10], {0, 5}, 1e-9);   // t = 3
    ExpectPoint(closed[20], {5, 0}, 1e-9);   // t = 4
    ExpectPoint(closed[30], {10, 5}, 1e-9);  // t = 5
    ExpectPoint(closed[40], {5, 10}, 1e-9);  // t = 6

    double x = 7, y = 7;
    DrawGeometry::EvaluateBSpline(1.0, {}, &x, &y);
    EXPECT_EQ(x, 7);  // Nothing is written for no control points.
    DrawGeometry::EvaluateBSpline(9.0, {{3, 4}}, &x, &y);
    EXPECT_EQ(CDoublePoint(x, y), CDoublePoint(3, 4));

    CDrawBSpline spline;
    EXPECT_EQ(spline.GetType(), 5);
    EXPECT_EQ(spline.GetClosed(), 0);
}

TEST(DrawGeometryTest, BoundsStartFromTheFirstPoint) {
    struct Case {
        const char* name;
        Points points;
        double minX, minY, maxX, maxY;
    };
    const Case cases[] = {
        {"all negative", {{-5, -7}, {-1, -2}}, -5, -7, -1, -2},
        {"large", {{2e6, 3e5}, {2.5e6, 4e5}}, 2e6, 3e5, 2.5e6, 4e5},
        {"single", {{3, 4}}, 3, 4, 3, 4},
        {"mixed", {{1, -1}, {-2, 5}, {0.5, 0.5}}, -2, -1, 1, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double minX = 0, minY = 0, maxX = 0, maxY = 0;
        ASSERT_TRUE(DrawGeometry::Bounds(&c.points, &minX, &minY, &maxX, &maxY));
        EXPECT_EQ(minX, c.minX);
        EXPECT_EQ(minY, c.minY);
        EXPECT_EQ(maxX, c.maxX);
        EXPECT_EQ(maxY, c.maxY);
    }
    const Points empty;
    EXPECT_FALSE(DrawGeometry::Bounds(&empty, nullptr, nullptr, nullptr, nullptr));
    EXPECT_FALSE(DrawGeometry::Bounds(nullptr, nullptr, nullptr, nullptr, nullptr));

    Points shifted;
    DrawGeometry::ShiftedCopy({{5, 5}, {7, 9}}, shifted, 2, 3);
    EXPECT_EQ(shifted, (Points{{3, 2}, {5, 6}}));
}

TEST(DrawGeometryTest, LineIntersectionTable) {
    struct Case {
        const char* name;
        CDoublePoint a1, a2, b1, b2;
        bool within;
        bool meets;
        CDoublePoint at;
    };
    const Case cases[] = {
        {"crossing", {0, 0}, {10, 10}, {0, 10}, {10, 0}, true, true, {5, 5}},
        {"vertical and sloped", {5, -10}, {5, 10}, {0, 0}, {10, 5}, true, true, {5, 2.5}},
        {"sloped and vertical", {0, 0}, {10, 5}, {5, -10}, {5, 10}, true, true, {5, 2.5}},
        {"parallel", {0, 0}, {10, 10}, {0, 1}, {10, 11}, false, false, {}},
        {"both vertical", {1, 0}, {1, 5}, {2, 0}, {2, 5}, false, false, {}},
        {"lines meet beyond the segments", {0, 0}, {1, 1}, {10, 0}, {9, 1}, false, true, {5, 5}},
        {"but not within them", {0, 0}, {1, 1}, {10, 0}, {9, 1}, true, false, {}},
        {"touching at an end", {0, 0}, {10, 0}, {10, -5}, {10, 5}, true, true, {10, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDoublePoint at(-99, -99);
        EXPECT_EQ(DrawGeometry::IntersectLines(c.a1, c.a2, c.b1, c.b2, c.within, &at), c.meets);
        if (c.meets)
            ExpectPoint(at, c.at);
    }
}

TEST(DrawGeometryTest, ProjectionAndOffsetPoint) {
    CDoublePoint foot;
    bool within = false;
    EXPECT_DOUBLE_EQ(DrawGeometry::ProjectOnLine({5, 3}, {0, 0}, {10, 0}, &foot, &within), 3.0);
    EXPECT_EQ(foot, CDoublePoint(5, 0));
    EXPECT_TRUE(within);
    DrawGeometry::ProjectOnLine({15, -2}, {0, 0}, {10, 0}, &foot, &within);
    EXPECT_FALSE(within);
    EXPECT_EQ(DrawGeometry::ProjectOnLine({1, 1}, {2, 2}, {2, 2}, &foot, &within), 0.0);

    int side = 0;
    EXPECT_EQ(DrawGeometry::OffsetPoint({0, 0}, {10, 0}, 0.55, 3.7, 5.2, nullptr, &side),
              CDoublePoint(5, 3));
    EXPECT_EQ(side, 1);
    const CDoublePoint below(5, -4);
    EXPECT_EQ(DrawGeometry::OffsetPoint({0, 0}, {10, 0}, 0.5, 3, 5, &below, &side),
              CDoublePoint(5, -5));
    EXPECT_EQ(side, -1);
    EXPECT_EQ(DrawGeometry::OffsetPoint({2, 2}, {2, 2}, 0.5, 3, 5, &below, &side),
              CDoublePoint(2, 2));

    const CDoublePoint a(0, 0), b(3, 4);
    EXPECT_DOUBLE_EQ(DrawGeometry::ScaledDistance(&a, &b, 2.0), 10.0);
    EXPECT_EQ(DrawGeometry::ScaledDistance(&a, nullptr, 2.0), 0.0);
}

}  // namespace
