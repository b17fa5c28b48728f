#include "platform/framework/CmdUI.h"
#include "platform/framework/DC.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/Menu.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/WinApp.h"
#include "testsupport/IsolatedTest.h"
#include "views/PanZoomView.h"

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QMenu>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A pan-zoom view as a subclass uses it: it records its paints and completed selections.
class TestPanZoomView : public CPanZoomView {
public:
    int m_draws = 0;
    int m_completed = 0;
    void OnDraw(CDC*) override { ++m_draws; }
    void OnSelectionComplete() override { ++m_completed; }
};

class RecordingCmdUI : public CCmdUI {
public:
    int m_check = -1;
    void SetCheck(int nCheck) override { m_check = nCheck; }
};

LPARAM PointParam(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

class PanZoomViewTest : public IsolatedTest {
protected:
    void TearDown() override {
        if (m_view)
            m_view->DestroyWindow();  // the view deletes itself
        IsolatedTest::TearDown();
    }

    // A shown view with that client size and image; the fit factor is set as by a paint.
    TestPanZoomView& MakeView(int cw, int ch, int w, int h, BOOL fit, CWnd* parent = nullptr) {
        if (!parent) {
            // A child of a plain window, so that its outer rectangle is its client area.
            if (!m_host.GetSafeHwnd()) {
                EXPECT_TRUE(m_host.Create(nullptr, "host", 0, CRect(0, 0, 1000, 800), nullptr, 0));
                m_host.ShowWindow(SW_SHOW);
            }
            parent = &m_host;
        }
        m_view = new TestPanZoomView;
        EXPECT_TRUE(
            m_view->Create(nullptr, "pz", WS_CHILD | WS_VISIBLE, CRect(0, 0, cw, ch), parent, 1));
        m_view->ShowWindow(SW_SHOW);
        m_view->SetImageSize(w, h);
        m_view->SetFitMode(fit);
        Repaint();
        return *m_view;
    }
    void Repaint() {
        CRect client;
        m_view->GetClientRect(&client);
        m_view->UpdateDisplayRect(client);
        QCoreApplication::processEvents();
    }
    // Paints that a handler caused.
    int DrawsDuring(const std::function<void()>& action) {
        QCoreApplication::processEvents();
        const int before = m_view->m_draws;
        action();
        QCoreApplication::processEvents();
        return m_view->m_draws - before;
    }
    void Mouse(UINT message, UINT flags, int x, int y) {
        m_view->SendMessage(message, flags, PointParam(x, y));
    }
    void Wheel(int delta, int x, int y) {
        CRect outer;
        m_view->GetWindowRect(&outer);
        m_view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)),
                            PointParam(outer.left + x, outer.top + y));
    }
    void Command(UINT id) { m_view->SendMessage(WM_COMMAND, id); }
    CPoint Pan() {
        CPoint p;
        m_view->GetPan(&p);
        return p;
    }

    CWnd m_host;
    TestPanZoomView* m_view = nullptr;
};

struct DisplayCase {
    const char* name;
    BOOL fit;
    int w, h, cw, ch;
    int wheelNotches;  // +120 steps before measuring (zoom 1.3^n)
    CRect expected;
    double fitFactor;
};

TEST_F(PanZoomViewTest, DisplayedRectangleInFitAndZoomModes) {
    const DisplayCase cases[] = {
        {"fit same aspect", TRUE, 640, 480, 320, 240, 0, CRect(0, 0, 320, 240), 0.5},
        {"fit wide image letter-boxed", TRUE, 800, 200, 400, 400, 0, CRect(0, 150, 400, 250), 0.5},
        {"fit tall image pillar-boxed", TRUE, 200, 400, 400, 400, 0, CRect(100, 0, 300, 400), 1.0},
        {"zoomed outside fit", FALSE, 640, 480, 640, 480, 1, CRect(-96, -72, 736, 552), 1.0},
        {"zoom fills the width", FALSE, 320, 240, 640, 400, 0, CRect(0, -40, 640, 440), 2.0},
    };
    for (const DisplayCase& c : cases) {
        SCOPED_TRACE(c.name);
        MakeView(c.cw, c.ch, c.w, c.h, c.fit);
        for (int i = 0; i < c.wheelNotches; ++i)
            Wheel(120, c.cw / 2, c.ch / 2);
        EXPECT_EQ(m_view->UpdateDisplayRect(CRect(0, 0, c.cw, c.ch)), c.expected);
        EXPECT_DOUBLE_EQ(m_view->GetFitFactor(), c.fitFactor);
        m_view->DestroyWindow();
        m_view = nullptr;
    }
}

TEST_F(PanZoomViewTest, NoImageMeansScaleOneAndAnEmptyRectangle) {
    MakeView(200, 100, 0, 0, TRUE);
    EXPECT_TRUE(m_view->UpdateDisplayRect(CRect(0, 0, 200, 100)).IsRectEmpty());
    EXPECT_DOUBLE_EQ(m_view->GetScale(), 1.0);
    Command(CPanZoomView::kFitInWindow);
    Command(CPanZoomView::kViewActual);
    Wheel(120, 10, 10);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, 50, 50);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 90, 70);
    Mouse(WM_LBUTTONUP, 0, 90, 70);
    EXPECT_TRUE(std::isfinite(m_view->GetScale()));
}

TEST_F(PanZoomViewTest, ImageAndClientMappingsRoundTripWithinOnePixel) {
    struct Setup {
        BOOL fit;
        int w, h, cw, ch, notches;
    };
    const Setup setups[] = {{TRUE, 640, 480, 320, 240, 0},
                            {TRUE, 641, 479, 333, 257, 2},
                            {FALSE, 640, 480, 640, 480, 3},
                            {FALSE, 100, 80, 300, 240, 5}};
    for (const Setup& s : setups) {
        MakeView(s.cw, s.ch, s.w, s.h, s.fit);
        for (int i = 0; i < s.notches; ++i)
            Wheel(120, s.cw / 3, s.ch / 4);
        Repaint();
        for (int mode = 0; mode <= 2; ++mode) {
            for (int x : {0, 1, s.w / 3, s.w / 2, s.w - 1}) {
                const int y = x * s.h / s.w;
                const CPoint client = m_view->ImageToClient(x, y, mode);
                const CPoint back = m_view->ClientToImage(client.x, client.y, FALSE);
                const int shift = mode == 2 ? 1 : 0;
                EXPECT_LE(std::abs(back.x - (x + shift)), 1) << mode << " " << x;
                EXPECT_LE(std::abs(back.y - (y + shift)), 1) << mode << " " << y;
            }
        }
        EXPECT_EQ(m_view->ImageToClient(7.9, 3.2, 5), CPoint(7, 3));  // no such mode
        const CPoint clamped = m_view->ClientToImage(-5000, 5000, TRUE);
        EXPECT_EQ(clamped, CPoint(0, s.h - 1));
        m_view->DestroyWindow();
        m_view = nullptr;
    }

    MakeView(320, 240, 640, 480, TRUE);
    EXPECT_EQ(m_view->ImageToClient(0, 0, CPanZoomView::kMapCorner), CPoint(0, 0));
    EXPECT_EQ(m_view->ImageToClient(640, 480, CPanZoomView::kMapCorner), CPoint(320, 240));
    EXPECT_EQ(m_view->ImageToClient(100, 100, CPanZoomView::kMapCentre), CPoint(50, 50));
    EXPECT_EQ(m_view->ImageToClient(101, 101, CPanZoomView::kMapFarEdge), CPoint(51, 51));
    CPanZoomView::Geometry own = m_view->GetGeometry();
    own.scale = 1.0;
    own.panX = -10;
    EXPECT_EQ(m_view->ImageToClient(320, 240, CPanZoomView::kMapCorner, own), CPoint(150, 120));
}

struct WheelCase {
    const char* name;
    BOOL fit;
    std::vector<int> deltas;
    double zoom;
    bool redrawsOnLast;
};

TEST_F(PanZoomViewTest, WheelZoomsBySteppedFactorsWithinLimitsAndRedrawsOnlyOnChange) {
    const WheelCase cases[] = {
        {"one notch up", FALSE, {120}, 1.3, true},
        {"up then down returns", FALSE, {120, -120}, 1.0, true},
        {"down at the floor", FALSE, {-120}, 1.0, false},
        {"fit mode goes below one", TRUE, {-120}, 1.0 / 1.3, true},
        {"fit mode floor", TRUE, std::vector<int>(12, -120), 0.1, false},
        {"bigger delta bigger step", FALSE, {240}, 1.6, true},
        {"cap", FALSE, std::vector<int>(30, 120), 1000.0, false},
        {"zero delta", FALSE, {0}, 1.0, false},
    };
    for (const WheelCase& c : cases) {
        SCOPED_TRACE(c.name);
        MakeView(200, 150, 400, 300, c.fit);
        for (size_t i = 0; i + 1 < c.deltas.size(); ++i)
            Wheel(c.deltas[i], 100, 75);
        const int draws = DrawsDuring([&] { Wheel(c.deltas.back(), 100, 75); });
        EXPECT_NEAR(m_view->GetZoom(), c.zoom, 1e-9);
        EXPECT_EQ(draws > 0, c.redrawsOnLast);
        m_view->DestroyWindow();
        m_view = nullptr;
    }
}

TEST_F(PanZoomViewTest, WheelKeepsTheImagePointUnderThePointer) {
    MakeView(640, 480, 640, 480, FALSE);
    const CPoint before = m_view->ClientToImage(480, 120, FALSE);
    Wheel(120, 480, 120);
    EXPECT_EQ(Pan(), CPoint(-37, 28));
    const CPoint after = m_view->ClientToImage(480, 120, FALSE);
    EXPECT_LE(std::abs(after.x - before.x), 1);
    EXPECT_LE(std::abs(after.y - before.y), 1);
}

TEST_F(PanZoomViewTest, PanStaysWhereTheImageStillCoversTheWindow) {
    struct PanCase {
        const char* name;
        int dx, dy;
        CPoint pan;
    };
    // Zoom 2 on a 640 x 480 image: the window spans 320 x 240 image pixels, so the image may
    // move 160 x 120 pixels either way from the centre.
    const PanCase cases[] = {{"small", 30, -20, CPoint(15, -10)},
                             {"far right and down", 2000, 2000, CPoint(160, 120)},
                             {"far left and up", -2000, -2000, CPoint(-160, -120)}};
    for (const PanCase& c : cases) {
        SCOPED_TRACE(c.name);
        MakeView(640, 480, 640, 480, FALSE);
        // A zoom drag 100 pixels up from the centre: zoom 2, pan still 0.
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 320, 240);
        Mouse(WM_LBUTTONUP, 0, 320, 140);
        ASSERT_EQ(Pan(), CPoint(0, 0));
        ASSERT_DOUBLE_EQ(m_view->GetZoom(), 2.0);
        Repaint();
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, 320, 240);
        Mouse(WM_MOUSEMOVE, MK_LBUTTON, 320 + c.dx, 240 + c.dy);
        Mouse(WM_LBUTTONUP, 0, 320 + c.dx, 240 + c.dy);
        EXPECT_EQ(Pan(), c.pan);
        // The window never shows anything beyond the image.
        const CRect shown = m_view->UpdateDisplayRect(CRect(0, 0, 640, 480));
        EXPECT_LE(shown.left, 0);
        EXPECT_LE(shown.top, 0);
        EXPECT_GE(shown.right, 640);
        EXPECT_GE(shown.bottom, 480);
        m_view->DestroyWindow();
        m_view = nullptr;
    }

    MakeView(640, 480, 640, 480, FALSE);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, 320, 240);
    Mouse(WM_LBUTTONUP, 0, 500, 400);
    EXPECT_EQ(Pan(), CPoint(0, 0));  // at zoom 1 the image fills the window exactly
    m_view->DestroyWindow();
    m_view = nullptr;

    MakeView(640, 480, 640, 480, TRUE);  // fit mode pans freely
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, 320, 240);
    Mouse(WM_LBUTTONUP, 0, 500, 400);
    EXPECT_EQ(Pan(), CPoint(180, 160));
}

TEST_F(PanZoomViewTest, ZoomDragIsCappedAndModifierModesEndAtRelease) {
    MakeView(200, 200, 200, 200, FALSE);
    // Each drag adds 301; the fourth reaches the cap.
    const double zooms[] = {302.0, 603.0, 904.0, 1000.0};
    for (double zoom : zooms) {
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 100, 100);
        EXPECT_TRUE(m_view->IsZoomMode());
        Mouse(WM_MOUSEMOVE, MK_LBUTTON, 100, -30000);
        EXPECT_NEAR(m_view->GetZoom(), zoom, 1e-9);
        Mouse(WM_LBUTTONUP, 0, 100, -30000);
    }
    EXPECT_FALSE(m_view->IsZoomMode());
    EXPECT_FALSE(m_view->IsPanMode());

    Mouse(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, 100, 100);
    EXPECT_TRUE(m_view->IsPanMode());
    EXPECT_FALSE(m_view->IsZoomMode());
    Mouse(WM_LBUTTONUP, 0, 100, 100);
    EXPECT_FALSE(m_view->IsPanMode());

    Command(CPanZoomView::kPanMode);  // from the menu: stays on across drags
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100);
    Mouse(WM_LBUTTONUP, 0, 100, 100);
    EXPECT_TRUE(m_view->IsPanMode());
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 100, 100);  // a Shift drag ends both
    Mouse(WM_LBUTTONUP, 0, 100, 100);
    EXPECT_FALSE(m_view->IsPanMode());
    EXPECT_FALSE(m_view->IsZoomMode());
}

TEST_F(PanZoomViewTest, SelectionKeepsOddSidesAndCentresTheReticle) {
    struct SelectionCase {
        const char* name;
        CPoint from, to;
        CRect expected;
        CPoint centre;
    };
    // 100 x 100 image shown 1:1, so client and image pixels coincide.
    const SelectionCase cases[] = {
        {"even sides shrink by one", {10, 10}, {20, 16}, CRect(10, 10, 19, 15), {14, 12}},
        {"odd sides kept", {10, 10}, {21, 17}, CRect(10, 10, 21, 17), {15, 13}},
        {"dragged backwards", {30, 30}, {20, 24}, CRect(21, 25, 30, 30), {25, 27}},
    };
    for (const SelectionCase& c : cases) {
        SCOPED_TRACE(c.name);
        MakeView(100, 100, 100, 100, TRUE);
        m_view->BeginRegionSelection(TRUE);
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON, c.from.x, c.from.y);
        Mouse(WM_MOUSEMOVE, MK_LBUTTON, c.to.x, c.to.y);
        Mouse(WM_LBUTTONUP, 0, c.to.x, c.to.y);
        CRect selection;
        ASSERT_TRUE(m_view->GetSelection(&selection));
        EXPECT_EQ(selection, c.expected);
        EXPECT_EQ(selection.Width() % 2, 1);
        EXPECT_EQ(selection.Height() % 2, 1);
        EXPECT_EQ(m_view->m_completed, 1);
        m_view->ShowReticle(TRUE);
        CPoint reticle;
        ASSERT_TRUE(m_view->GetReticlePosition(&reticle));
        EXPECT_EQ(reticle, c.centre);
        m_view->ShowReticle(FALSE);

        // Afterwards the fixed-size box follows the pointer but stays inside the image.
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 1, 1);
        m_view->GetSelection(&selection);
        EXPECT_EQ(selection.TopLeft(), CPoint(0, 0));
        EXPECT_EQ(selection.Size(), c.expected.Size());
        Mouse(WM_MOUSEMOVE, MK_LBUTTON, 99, 98);
        m_view->GetSelection(&selection);
        EXPECT_EQ(selection.BottomRight(), CPoint(100, 100));
        Mouse(WM_LBUTTONUP, 0, 99, 98);
        EXPECT_EQ(m_view->m_completed, 1);
        m_view->DestroyWindow();
        m_view = nullptr;
    }
    MakeView(100, 100, 100, 100, TRUE);
    EXPECT_FALSE(m_view->GetSelection(nullptr));
}

// Commands toggle state; the menu lists every command with the current checks.
TEST_F(PanZoomViewTest, ViewMenuCommandsAndCheckMarks) {
    MakeView(200, 100, 400, 200, TRUE);
    Command(CPanZoomView::kPanMode);
    Command(CPanZoomView::kShowRulers);
    Command(CPanZoomView::kInfoLowerLeft);
    Command(CPanZoomView::kZoomBoxHide);

    CMenu menu;
    menu.CreatePopupMenu();
    m_view->AppendViewMenu(&menu);
    struct Item {
        std::string text;
        UINT id;
        bool checked;
    };
    auto items = [](QMenu* q) {
        std::vector<Item> out;
        for (QAction* a : q->actions())
            out.push_back({a->isSeparator() ? "-" : a->text().toStdString(), a->data().toUInt(),
                           a->isChecked()});
        return out;
    };
    const std::vector<Item> top = items(menu.GetQMenu());
    const std::vector<std::pair<std::string, bool>> expectedTop = {
        {"View Actual", false},      {"Fit In Window", false}, {"-", false},
        {"Pan Mode", true},          {"Zoom Mode", false},     {"-", false},
        {"Show Reticle", false},     {"Show Rulers", true},    {"-", false},
        {"Show Information", false}, {"Show Zoom Box", false}};
    ASSERT_EQ(top.size(), expectedTop.size());
    for (size_t i = 0; i < top.size(); ++i) {
        EXPECT_EQ(top[i].text, expectedTop[i].first) << i;
        EXPECT_EQ(top[i].checked, expectedTop[i].second) << i;
    }
    const UINT topIds[] = {32775, 32776, 0, 32777, 32778, 0, 32779, 32780};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(menu.GetMenuItemID(i), topIds[i]) << i;

    const char* cornerTexts[] = {"Upper-Left", "Upper-Right", "Lower-Left", "Lower-Right", "Hide"};
    for (int sub = 0; sub < 2; ++sub) {
        CMenu* popup = menu.GetSubMenu(9 + sub);
        ASSERT_NE(popup, nullptr);
        const std::vector<Item> got = items(popup->GetQMenu());
        ASSERT_EQ(got.size(), 5u);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(got[i].text, cornerTexts[i]);
            EXPECT_EQ(popup->GetMenuItemID(i), (sub == 0 ? 32781u : 32786u) + i);
            // Info corner lower-left (item 2); zoom box hidden (item 4).
            EXPECT_EQ(got[i].checked, i == (sub == 0 ? 2 : 4)) << sub << " " << i;
        }
    }

    const std::pair<UINT, int> infoCorners[] = {
        {32781, 0}, {32782, 1}, {32784, 2}, {32783, 3}, {32785, -1}};
    for (auto [id, corner] : infoCorners) {
        Command(id);
        EXPECT_EQ(m_view->GetInfoCorner(), corner) << id;
        Command(id + 5);
        EXPECT_EQ(m_view->GetZoomBoxCorner(), corner) << id + 5;
    }

    Command(CPanZoomView::kZoomMode);  // switches pan mode off
    EXPECT_TRUE(m_view->IsZoomMode());
    EXPECT_FALSE(m_view->IsPanMode());
    Command(CPanZoomView::kShowReticle);
    Command(CPanZoomView::kShowRulers);
    const std::pair<UINT, int> checks[] = {{32777, 0}, {32778, 1}, {32779, 1}, {32780, 0}};
    for (auto [id, check] : checks) {
        RecordingCmdUI ui;
        ui.m_nID = id;
        EXPECT_TRUE(ui.DoUpdate(m_view, FALSE));
        EXPECT_EQ(ui.m_check, check) << id;
    }
    // The corner items of the menus the program builds from its resources check by the same
    // rule as the view's own menu: the current corner's item only.
    Command(CPanZoomView::kInfoUpperRight);
    Command(CPanZoomView::kZoomBoxLowerLeft);
    for (UINT id = CPanZoomView::kInfoUpperLeft; id <= CPanZoomView::kZoomBoxHide; ++id) {
        RecordingCmdUI ui;
        ui.m_nID = id;
        EXPECT_TRUE(ui.DoUpdate(m_view, FALSE)) << id;
        EXPECT_EQ(
            ui.m_check,
            id == CPanZoomView::kInfoUpperRight || id == CPanZoomView::kZoomBoxLowerLeft ? 1 : 0)
            << id;
    }
    Command(CPanZoomView::kShowReticle);
    EXPECT_FALSE(m_view->IsReticleShown());
    EXPECT_FALSE(m_view->GetReticlePosition(nullptr));
}

TEST_F(PanZoomViewTest, ReadoutGivesTheStatusPanesValues) {
    // 400 x 200 fitted into 200 x 100: scale 0.5, then zoomed by two wheel notches.
    MakeView(200, 100, 400, 200, TRUE);
    CSize size;
    const auto read = [&](IImageReadout::Value value) {
        size = CSize(-1, -1);
        return m_view->GetReadout(value, &size);
    };
    EXPECT_FALSE(read(IImageReadout::kReticlePosition)) << "the reticle is hidden";
    ASSERT_TRUE(read(IImageReadout::kImageSize));
    EXPECT_EQ(size, CSize(400, 200));
    ASSERT_TRUE(read(IImageReadout::kZoomedSize));
    EXPECT_EQ(size, CSize(200, 100));
    ASSERT_TRUE(read(IImageReadout::kVisibleRegion));
    EXPECT_EQ(size, CSize(400, 200)) << "all of it fits";

    Wheel(120, 100, 50);
    Wheel(120, 100, 50);
    Repaint();
    ASSERT_TRUE(read(IImageReadout::kZoomedSize));
    EXPECT_EQ(size, CSize(338, 169));  // 400 x 0.5 x 1.69
    ASSERT_TRUE(read(IImageReadout::kVisibleRegion));
    EXPECT_EQ(size, CSize(236, 118));  // 200 / 0.845, 100 / 0.845

    Command(CPanZoomView::kShowReticle);
    m_view->SetReticlePosition(12, 34);
    ASSERT_TRUE(read(IImageReadout::kReticlePosition));
    EXPECT_EQ(size, CSize(12, 34));

    m_view->SetImageSize(0, 0);
    for (auto value : {IImageReadout::kReticlePosition, IImageReadout::kVisibleRegion,
                       IImageReadout::kImageSize, IImageReadout::kZoomedSize})
        EXPECT_FALSE(read(value)) << "no image, no values";
}

// Renders into an off-screen image: black background, 200 x 100 client, 400 x 200 image.
class PanZoomRenderTest : public PanZoomViewTest {
protected:
    void SetUp() override {
        PanZoomViewTest::SetUp();
        MakeView(200, 100, 400, 200, TRUE);
        m_image = QImage(200, 100, QImage::Format_RGB32);
        m_image.fill(Qt::black);
    }
    QRgb At(int x, int y) const { return m_image.pixel(x, y) & 0xFFFFFF; }
    template <typename Pred>
    int Count(const CRect& r, Pred pred) const {
        int n = 0;
        for (int y = std::max(r.top, 0); y < std::min<int>(r.bottom, m_image.height()); ++y)
            for (int x = std::max(r.left, 0); x < std::min<int>(r.right, m_image.width()); ++x)
                n += pred(At(x, y)) ? 1 : 0;
        return n;
    }
    int CountColour(const CRect& r, QRgb colour) const {
        return Count(r, [colour](QRgb c) { return c == colour; });
    }
    // Text pixels: grey, possibly smoothed at the glyph edges.
    int CountText(const CRect& r) const {
        return Count(
            r, [](QRgb c) { return c != 0 && qRed(c) == qGreen(c) && qGreen(c) == qBlue(c); });
    }
    QImage m_image;
};

TEST_F(PanZoomRenderTest, ReticleIsXorLinesThroughThePixelCentreAndTwiceRestores) {
    m_view->ShowReticle(TRUE);
    m_view->SetReticlePosition(100, 50);  // pixel centre at client (50, 25)
    const QImage before = m_image;
    {
        CDC dc(&m_image);
        m_view->DrawReticle(&dc);
    }
    const CPoint at = m_view->ImageToClient(100, 50, CPanZoomView::kMapCentre);
    EXPECT_EQ(at, CPoint(50, 25));
    EXPECT_EQ(At(0, 25), 0xC0C0C0u);
    EXPECT_EQ(At(199, 25), 0xC0C0C0u);
    EXPECT_EQ(At(50, 0), 0xC0C0C0u);
    EXPECT_EQ(At(50, 99), 0xC0C0C0u);
    EXPECT_EQ(At(49, 24), 0u);
    EXPECT_EQ(CountColour(CRect(0, 0, 200, 100), 0xC0C0C0), 200 + 100 - 2);  // crossing XORs twice
    {
        CDC dc(&m_image);
        m_view->DrawReticle(&dc);
    }
    EXPECT_EQ(m_image, before);

    m_view->ShowReticle(FALSE);
    {
        CDC dc(&m_image);
        m_view->DrawReticle(&dc);
    }
    EXPECT_EQ(m_image, before);
}

TEST_F(PanZoomRenderTest, RulersTickEveryFiftyImagePixelsWithLabelsOnTheLongTicks) {
    m_view->ShowRulers(TRUE);
    {
        CDC dc(&m_image);
        m_view->DrawRulers(&dc);
    }
    const QRgb red = 0xFF0000;  // COLORREF 0x0000FF
    // Frame.
    EXPECT_EQ(At(10, 99), red);
    EXPECT_EQ(At(199, 40), red);
    EXPECT_EQ(At(0, 40), red);
    // Columns 100, 200, 300 sit at client 50, 100, 150 (long); 150 at 75 (short).
    for (int x : {50, 100, 150}) {
        EXPECT_EQ(At(x, 9), red) << x;
        EXPECT_EQ(At(x, 10), 0u) << x;
        EXPECT_EQ(At(x, 90), red) << x;
        EXPECT_EQ(At(x, 89), 0u) << x;
    }
    EXPECT_EQ(At(75, 6), red);
    EXPECT_EQ(At(75, 7), 0u);
    EXPECT_EQ(At(125, 6), red);
    // Rows 100 (long, client 50) and 50 (short, client 25).
    EXPECT_EQ(At(9, 50), red);
    EXPECT_EQ(At(10, 50), 0u);
    EXPECT_EQ(At(190, 50), red);
    EXPECT_EQ(At(6, 25), red);
    EXPECT_EQ(At(7, 25), 0u);
    // Labels "100" and "200" in light grey right of their ticks; none right of a short tick.
    EXPECT_GT(CountText(CRect(53, 2, 75, 20)), 5);
    EXPECT_GT(CountText(CRect(103, 2, 125, 20)), 5);
    EXPECT_EQ(CountText(CRect(78, 2, 100, 20)), 0);
    EXPECT_GT(CountText(CRect(2, 0, 20, 100)), 5);
}

TEST_F(PanZoomRenderTest, ZoomBoxHiddenWhileTheWholeImageIsVisible) {
    ASSERT_EQ(m_view->GetZoomBoxCorner(), CPanZoomView::kUpperRight);
    const QImage before = m_image;
    {
        CDC dc(&m_image);
        m_view->DrawZoomBox(&dc);
    }
    EXPECT_EQ(m_image, before);

    Wheel(120, 100, 50);
    Wheel(120, 100, 50);
    Repaint();
    {
        CDC dc(&m_image);
        m_view->DrawZoomBox(&dc);
    }
    // Box of height 10 and width 20, 20 pixels in from the upper-right corner.
    EXPECT_GT(CountColour(CRect(158, 18, 182, 32), 0xC0C0C0), 10);
    EXPECT_EQ(CountColour(CRect(0, 0, 150, 100), 0xC0C0C0), 0);

    m_image = before;
    Command(CPanZoomView::kZoomBoxHide);
    {
        CDC dc(&m_image);
        m_view->DrawZoomBox(&dc);
    }
    EXPECT_EQ(m_image, before);
}

TEST_F(PanZoomRenderTest, SelectionOutlineIsXor) {
    m_view->BeginRegionSelection(TRUE);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 40, 30);
    const QImage before = m_image;
    {
        CDC dc(&m_image);
        m_view->DrawSelection(&dc);
    }
    EXPECT_EQ(At(20, 20), 0x808080u);
    EXPECT_GT(CountColour(CRect(0, 0, 200, 100), 0x808080), 20);
    {
        CDC dc(&m_image);
        m_view->DrawSelection(&dc);
    }
    EXPECT_EQ(m_image, before);
}

// Fit In Window and View Actual size the parent frame into the main window's client area.
class PanZoomFrameTest : public PanZoomViewTest {
protected:
    void SetUp() override {
        PanZoomViewTest::SetUp();
        m_app = std::make_unique<CWinApp>("pz");
        ASSERT_TRUE(m_main.Create(nullptr, "main", 0, CRect(0, 0, 800, 600), nullptr, 0));
        m_main.ShowWindow(SW_SHOW);
        m_app->m_pMainWnd = &m_main;
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->Create(nullptr, "frame", WS_CHILD | WS_VISIBLE,
                                    CRect(30, 40, 330, 240), &m_main, 0));
        MakeView(300, 200, 1600, 900, FALSE, m_frame);
        m_view->SetFrameBorder(8, 30);
    }
    void TearDown() override {
        m_view = nullptr;  // goes with the frame
        m_frame->DestroyWindow();
        m_app->m_pMainWnd = nullptr;
        m_main.DestroyWindow();
        m_app.reset();
        PanZoomViewTest::TearDown();
    }
    CSize FrameSize() {
        const QSize size = m_frame->GetQWidget()->size();
        return CSize(size.width(), size.height());
    }
    QPoint FramePlace() { return m_frame->GetQWidget()->pos(); }
    std::unique_ptr<CWinApp> m_app;
    CWnd m_main;
    CFrameWnd* m_frame = nullptr;
};

TEST_F(PanZoomFrameTest, FitInWindowSizesTheFrameToTheAvailableAreaAtTheOrigin) {
    Wheel(120, 10, 10);
    Command(CPanZoomView::kFitInWindow);
    EXPECT_DOUBLE_EQ(m_view->GetZoom(), 1.0);
    EXPECT_EQ(Pan(), CPoint(0, 0));
    // Area 792 x 570; the image's width limits: scale 0.495.
    EXPECT_EQ(FrameSize(), CSize(8 + 792, 30 + 446));
    EXPECT_EQ(FramePlace(), QPoint(0, 0));
}

TEST_F(PanZoomFrameTest, ViewActualShowsOneImagePixelPerScreenPixel) {
    Command(CPanZoomView::kViewActual);
    // 1600 x 900 does not fit 792 x 570: r = 1600 / 792.
    const double r = 1600.0 / 792.0;
    EXPECT_NEAR(m_view->GetZoom(), r, 1e-12);
    EXPECT_EQ(FrameSize(), CSize(8 + 792, 30 + 445));  // 900 / r is just under 445.5
    EXPECT_EQ(FramePlace(), QPoint(0, 0));

    m_view->SetImageSize(400, 300);
    m_frame->MoveWindow(50, 60, 100, 100);
    const QPoint place = FramePlace();
    Command(CPanZoomView::kViewActual);
    EXPECT_DOUBLE_EQ(m_view->GetZoom(), 1.0);
    EXPECT_EQ(FrameSize(), CSize(8 + 400, 30 + 300));
    EXPECT_EQ(FramePlace(), place);  // it fits: the frame keeps its place

    m_main.ShowWindow(SW_MINIMIZE);
    m_frame->MoveWindow(50, 60, 100, 100);
    Command(CPanZoomView::kFitInWindow);
    EXPECT_EQ(FrameSize(), CSize(100, 100));  // minimised: nothing resized
}

}  // namespace
