#include "platform/framework/Brush.h"
#include "platform/framework/Font.h"
#include "platform/framework/Pen.h"
#include "platform/framework/Rgn.h"
#include "platform/framework/SysColor.h"

#include "testsupport/IsolatedTest.h"

#include <QGuiApplication>
#include <QPalette>

class GdiObjectTest : public IsolatedTest {
protected:
    void TearDown() override {
        ResetSysColors();
        IsolatedTest::TearDown();
    }
};

TEST_F(GdiObjectTest, PtInRegionExcludesRightAndBottomEdgesLikePtInRect) {
    CRgn rect;
    ASSERT_TRUE(rect.CreateRectRgn(10, 10, 20, 16));
    CRgn polygon;
    const CPoint corners[] = {{10, 10}, {20, 10}, {20, 16}, {10, 16}};
    ASSERT_TRUE(polygon.CreatePolygonRgn(corners, 4, ALTERNATE));
    const CRect reference(10, 10, 20, 16);
    const CPoint probes[] = {{10, 10}, {19, 15}, {20, 12}, {15, 16}, {9, 12},
                             {15, 9},  {20, 16}, {19, 10}, {10, 15}};
    for (const CPoint& p : probes) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(rect.PtInRegion(p) != 0, reference.PtInRect(p));
        EXPECT_EQ(polygon.PtInRegion(p) != 0, reference.PtInRect(p));
    }
}

TEST_F(GdiObjectTest, PolygonRegionFillModes) {
    // A five-pointed star: its centre is enclosed twice, so it is outside by the even-odd
    // rule and inside by the winding rule.
    const CPoint star[] = {{50, 0}, {79, 90}, {2, 34}, {97, 34}, {20, 90}};
    CRgn alternate, winding;
    ASSERT_TRUE(alternate.CreatePolygonRgn(star, 5, ALTERNATE));
    ASSERT_TRUE(winding.CreatePolygonRgn(star, 5, WINDING));
    EXPECT_FALSE(alternate.PtInRegion(50, 50));
    EXPECT_TRUE(winding.PtInRegion(50, 50));
    EXPECT_TRUE(alternate.PtInRegion(50, 10));

    CRgn line;
    ASSERT_TRUE(line.CreatePolygonRgn(star, 2, ALTERNATE));  // Too few points: empty.
    EXPECT_FALSE(line.PtInRegion(50, 0));
    CRect box;
    EXPECT_EQ(line.GetRgnBox(&box), NULLREGION);
    CRgn bad;
    EXPECT_FALSE(bad.CreatePolygonRgn(nullptr, 3, ALTERNATE));
    EXPECT_FALSE(bad.CreatePolygonRgn(star, 5, 7));
}

TEST_F(GdiObjectTest, CombineRgnModes) {
    CRgn a, b;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 0, 15, 10);
    struct Case {
        int mode;
        int kind;
        CRect box;
        bool inOverlap;
    };
    const Case cases[] = {
        {RGN_AND, SIMPLEREGION, CRect(5, 0, 10, 10), true},
        {RGN_OR, SIMPLEREGION, CRect(0, 0, 15, 10), true},
        {RGN_XOR, COMPLEXREGION, CRect(0, 0, 15, 10), false},
        {RGN_DIFF, SIMPLEREGION, CRect(0, 0, 5, 10), false},
        {RGN_COPY, SIMPLEREGION, CRect(0, 0, 10, 10), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        CRgn result;
        result.CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(result.CombineRgn(&a, &b, c.mode), c.kind);
        CRect box;
        EXPECT_EQ(result.GetRgnBox(&box), c.kind);
        EXPECT_EQ(box, c.box);
        EXPECT_EQ(result.PtInRegion(7, 5) != 0, c.inOverlap);
    }
    CRgn disjoint;
    disjoint.CreateRectRgn(20, 20, 30, 30);
    CRgn result;
    result.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(result.CombineRgn(&a, &disjoint, RGN_AND), NULLREGION);
    EXPECT_EQ(result.CombineRgn(&a, &b, 9), RGN_ERROR);
    CRgn uncreated;
    EXPECT_EQ(uncreated.CombineRgn(&a, &b, RGN_OR), RGN_ERROR);
    EXPECT_EQ(result.CombineRgn(&a, &uncreated, RGN_OR), RGN_ERROR);
    EXPECT_EQ(result.OffsetRgn(3, 4), NULLREGION);
}

TEST_F(GdiObjectTest, ObjectsReportTheirDescriptions) {
    CBrush brush;
    LOGBRUSH lb;
    EXPECT_EQ(brush.GetLogBrush(&lb), 0);
    EXPECT_EQ(brush.GetSafeHandle(), nullptr);
    ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 2, 3)));
    EXPECT_NE(brush.GetSafeHandle(), nullptr);
    ASSERT_GT(brush.GetLogBrush(&lb), 0);
    EXPECT_EQ(lb.lbStyle, BS_SOLID);
    EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
    EXPECT_TRUE(brush.DeleteObject());
    EXPECT_FALSE(brush.DeleteObject());
    EXPECT_FALSE(brush.CreateHatchBrush(6, 0));

    // A geometric pen takes its colour from a brush description, as the shapes make theirs.
    CPen pen;
    ASSERT_TRUE(pen.CreatePen(PS_GEOMETRIC | PS_DASH, 4, &lb));
    EXPECT_EQ(pen.GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(pen.GetWidth(), 4);
    const DWORD custom[] = {2, 2};
    EXPECT_FALSE(pen.CreatePen(PS_GEOMETRIC, 1, &lb, 2, custom));
    EXPECT_FALSE(pen.CreatePen(PS_SOLID, -1, RGB(0, 0, 0)));

    CFont font;
    ASSERT_TRUE(
        font.CreateFont(-24, 0, 900, 0, FW_BOLD, 1, 1, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
    LOGFONT lf;
    ASSERT_GT(font.GetLogFont(&lf), 0);
    EXPECT_EQ(lf.lfHeight, -24);
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfFaceName, QString("Arial"));
    const QFont qfont = font.GetQFont();
    EXPECT_EQ(qfont.pixelSize(), 24);
    EXPECT_TRUE(qfont.bold());
    EXPECT_TRUE(qfont.italic());
    EXPECT_TRUE(qfont.underline());
}

TEST_F(GdiObjectTest, SystemColoursComeFromThePaletteUnlessOverridden) {
    const QPalette palette = QGuiApplication::palette();
    const QColor face = palette.color(QPalette::Active, QPalette::Button);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(face.red(), face.green(), face.blue()));
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetSysColor(99), 0u);

    // A colour borrowed for a while and put back, as a bitmap load does with COLOR_WINDOW.
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const int index = COLOR_WINDOW;
    const COLORREF borrowed = GetSysColor(COLOR_BTNFACE);
    ASSERT_TRUE(SetSysColors(1, &index, &borrowed));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), borrowed);
    ASSERT_TRUE(SetSysColors(1, &index, &window));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), window);

    const int bad[] = {COLOR_WINDOW, 77};
    const COLORREF colors[] = {RGB(1, 1, 1), RGB(2, 2, 2)};
    EXPECT_FALSE(SetSysColors(2, bad, colors));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), window);  // Nothing changed.
}
