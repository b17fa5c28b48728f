#include "platform/wintypes/Rect.h"

#include <gtest/gtest.h>

TEST(RectTest, PtInRectExcludesRightAndBottomEdges) {
    const CRect r(10, 20, 30, 40);
    struct Case {
        CPoint p;
        bool inside;
    };
    const Case cases[] = {
        {{10, 20}, true}, {{29, 39}, true},  {{30, 20}, false}, {{10, 40}, false},
        {{9, 20}, false}, {{10, 19}, false}, {{30, 40}, false}, {{20, 30}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(r.PtInRect(c.p), c.inside) << c.p.x << "," << c.p.y;
}

TEST(RectTest, EmptyRectContainsNothing) {
    EXPECT_FALSE(CRect(5, 5, 5, 9).PtInRect({5, 5}));
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
}

TEST(RectTest, NormalizeInflateOffset) {
    CRect r(30, 40, 10, 20);
    EXPECT_EQ(r.Width(), -20);
    r.NormalizeRect();
    EXPECT_EQ(r, CRect(10, 20, 30, 40));
    r.InflateRect(2, 3);
    EXPECT_EQ(r, CRect(8, 17, 32, 43));
    r.OffsetRect(-8, -17);
    EXPECT_EQ(r, CRect(0, 0, 24, 26));
}

TEST(RectTest, IntersectAndUnion) {
    struct Case {
        CRect a, b;
        bool overlaps;
        CRect inter;
        CRect uni;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 15}, true, {5, 5, 10, 10}, {0, 0, 15, 15}},
        // Touching edges do not overlap: the right edge is outside.
        {{0, 0, 10, 10}, {10, 0, 20, 10}, false, {0, 0, 0, 0}, {0, 0, 20, 10}},
        {{0, 0, 0, 0}, {3, 4, 5, 6}, false, {0, 0, 0, 0}, {3, 4, 5, 6}},
    };
    for (const auto& c : cases) {
        CRect inter(1, 1, 2, 2);
        EXPECT_EQ(inter.IntersectRect(c.a, c.b), c.overlaps);
        EXPECT_EQ(inter, c.inter);
        CRect uni;
        uni.UnionRect(c.a, c.b);
        EXPECT_EQ(uni, c.uni);
    }
}
