#include "platform/framework/CmdUI.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/PaintDC.h"
#include "platform/framework/WinApp.h"
#include "testsupport/IsolatedTest.h"
#include "views/PZView.h"
#include "views/PanZoomView.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Stands for the stream window that redraws in place of its windowless companion.
class CountingWnd : public CWnd {
public:
    int m_paints = 0;

protected:
    void OnPaint() {
        CPaintDC dc(this);
        ++m_paints;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CountingWnd, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

class RecordingCmdUI : public CCmdUI {
public:
    int m_check = -1;
    void SetCheck(int nCheck) override { m_check = nCheck; }
};

// The companion as a stream window drives it: no window, the owner's transform copied in.
class PZViewTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        ASSERT_TRUE(m_owner.Create(nullptr, "stream", 0, CRect(0, 0, 320, 240), nullptr, 0));
        m_owner.ShowWindow(SW_SHOW);
        QCoreApplication::processEvents();
        m_view.SetRedrawTarget(&m_owner);
        // 640 x 480 image shown at half size in a 320 x 240 window.
        Transform(0, 0, 0.5);
    }
    void Transform(int offsetX, int offsetY, double scale) {
        CZoomTransform t;
        t.SetOffset(offsetX, offsetY);
        t.SetScale(scale);
        t.SetWindowSize(320, 240);
        t.SetImageSize(640, 480);
        m_view.SetTransform(&t);
    }
    int RedrawsDuring(const std::function<void()>& action) {
        QCoreApplication::processEvents();
        const int before = m_owner.m_paints;
        action();
        QCoreApplication::processEvents();
        return m_owner.m_paints - before;
    }
    void Command(UINT id) { m_view.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); }
    void Drag(UINT flags, CPoint from, CPoint to) {
        m_view.OnLButtonDown(flags, from);
        m_view.OnMouseMove(flags, to);
        m_view.OnLButtonUp(0, to);
    }

    CountingWnd m_owner;
    CPZView m_view;
};

TEST_F(PZViewTest, SetTransformTakesTheOwnersStateAndIgnoresNull) {
    CZoomTransform t;
    t.SetOffset(-12.7, 3.9);
    t.SetScale(0.25);
    t.SetWindowSize(100, 50);
    t.SetImageSize(400.9, 200.2);
    m_view.SetTransform(&t);
    EXPECT_DOUBLE_EQ(m_view.GetBaseFactor(), 0.25);
    EXPECT_EQ(m_view.GetOffset(), CPoint(-12, 3));
    double w = 0.0;
    double h = 0.0;
    m_view.GetTransform().GetWindowSize(&w, &h);
    EXPECT_EQ(w, 100.0);
    m_view.SetTransform(nullptr);
    EXPECT_DOUBLE_EQ(m_view.GetBaseFactor(), 0.25);
}

TEST_F(PZViewTest, WindowToImageUsesOwnStateOrTheGivenValues) {
    struct Case {
        const char* name;
        CPoint window;
        int offsetX, offsetY;
        double scale;
        int ww, wh;
        BOOL clamp;
        CPoint expected;
    };
    const Case cases[] = {
        {"own state is centred", {160, 120}, -1, -1, -1.0, -1, -1, FALSE, {320, 240}},
        {"own state corner", {0, 0}, -1, -1, -1.0, -1, -1, FALSE, {0, 0}},
        {"own state clamped", {400, -30}, -1, -1, -1.0, -1, -1, TRUE, {639, 0}},
        {"unclamped", {400, -30}, -1, -1, -1.0, -1, -1, FALSE, {800, -60}},
        {"given values, corner anchored", {50, 20}, 5, 2, 2.0, -1, -1, FALSE, {20, 8}},
        {"scale 0 counts as 1", {50, 20}, 0, 0, 0.0, -1, -1, FALSE, {50, 20}},
        {"given window size", {50, 20}, 0, 0, 1.0, 100, 40, FALSE, {320, 240}},
    };
    for (const Case& c : cases) {
        CPoint p;
        m_view.WindowToImage(&p, c.window.x, c.window.y, c.offsetX, c.offsetY, c.scale, c.ww, c.wh,
                             c.clamp);
        EXPECT_EQ(p, c.expected) << c.name;
    }

    double x = 0.0;
    double y = 0.0;
    m_view.WindowToImageF(161.9, 120.0, &x, &y);
    EXPECT_EQ(x, 322.0);
    EXPECT_EQ(y, 240.0);
    x = 3.0;  // taken as offsets by the explicit form
    y = 1.0;
    m_view.WindowToImageF(10.0, 10.0, &x, &y, 0, 0, 2.0);
    EXPECT_EQ(x, 2.0);
    EXPECT_EQ(y, 4.0);
    x = 0.0;
    y = 0.0;
    m_view.WindowToImageF(-50.0, 500.0, &x, &y, -1, -1, -1.0, -1, -1, TRUE);
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 479.0);
}

TEST_F(PZViewTest, WheelStepsZoomWithinLimitsAndRedrawsOnlyOnChange) {
    struct Step {
        short delta;
        double zoom;
        bool redraws;
    };
    const Step steps[] = {{120, 1.3, true}, {-120, 1.0, true}, {-120, 1.0, false}};
    for (const Step& s : steps) {
        BOOL answer = FALSE;
        const int redraws = RedrawsDuring([&] { answer = m_view.OnMouseWheel(0, s.delta, {}); });
        EXPECT_EQ(answer, TRUE);
        EXPECT_NEAR(m_view.GetZoom(), s.zoom, 1e-12);
        EXPECT_EQ(redraws > 0, s.redraws);
    }
    for (int i = 0; i < 40; ++i)
        m_view.OnMouseWheel(0, 120, {});
    EXPECT_DOUBLE_EQ(m_view.GetZoom(), 1000.0);
}

TEST_F(PZViewTest, ZoomDragKeepsTheAnchoredPointAndIsCapped) {
    m_view.OnLButtonDown(MK_SHIFT, CPoint(80, 60));
    m_view.OnMouseMove(0, CPoint(80, -40));  // 100 up: zoom 2
    EXPECT_DOUBLE_EQ(m_view.GetZoom(), 2.0);
    EXPECT_EQ(m_view.GetOffset(), CPoint(80, 60));
    CPoint p;
    m_view.WindowToImage(&p, 80, 60);
    EXPECT_EQ(p, CPoint(160, 120));  // the image point that was under the anchor
    m_view.OnMouseMove(0, CPoint(80, -200000));
    EXPECT_DOUBLE_EQ(m_view.GetZoom(), 1000.0);
    m_view.OnLButtonUp(0, CPoint(80, -200000));
    EXPECT_FALSE(m_view.IsZoomMode());
}

TEST_F(PZViewTest, OffsetsKeepTheImageCoveringTheWindow) {
    // At zoom 2 the window spans half the image: 160 x 120 either way from the centre.
    m_view.OnLButtonDown(MK_SHIFT, CPoint(160, 120));
    m_view.OnMouseMove(0, CPoint(160, 20));
    m_view.OnLButtonUp(0, CPoint(160, 20));
    ASSERT_DOUBLE_EQ(m_view.GetZoom(), 2.0);
    ASSERT_EQ(m_view.GetOffset(), CPoint(0, 0));
    Command(CPanZoomView::kPanMode);
    Drag(0, CPoint(100, 100), CPoint(130, 80));
    EXPECT_EQ(m_view.GetOffset(), CPoint(30, -20));  // 1 window pixel = 1 image pixel here
    Drag(0, CPoint(0, 0), CPoint(5000, 5000));
    EXPECT_EQ(m_view.GetOffset(), CPoint(160, 120));
    Drag(0, CPoint(5000, 5000), CPoint(-5000, -5000));
    EXPECT_EQ(m_view.GetOffset(), CPoint(-160, -120));

    CPoint corner;
    m_view.WindowToImage(&corner, 319, 239);
    EXPECT_EQ(corner, CPoint(639, 479));  // the far corner and nothing beyond
}

TEST_F(PZViewTest, ShiftModesLastForOneDrag) {
    m_view.OnLButtonDown(MK_SHIFT, CPoint(10, 10));
    EXPECT_TRUE(m_view.IsZoomMode());
    m_view.OnLButtonUp(0, CPoint(10, 10));
    EXPECT_FALSE(m_view.IsZoomMode());

    m_view.OnLButtonDown(MK_SHIFT | MK_CONTROL, CPoint(10, 10));
    EXPECT_TRUE(m_view.IsPanMode());
    EXPECT_FALSE(m_view.IsZoomMode());
    m_view.OnLButtonUp(0, CPoint(10, 10));
    EXPECT_FALSE(m_view.IsPanMode());

    Command(CPanZoomView::kPanMode);
    Drag(0, CPoint(10, 10), CPoint(20, 20));
    EXPECT_TRUE(m_view.IsPanMode());
    m_view.OnLButtonDown(MK_SHIFT, CPoint(10, 10));
    m_view.OnLButtonUp(0, CPoint(10, 10));
    EXPECT_FALSE(m_view.IsPanMode());
    EXPECT_FALSE(m_view.IsZoomMode());
}

TEST_F(PZViewTest, ReticleFollowsClicksAndDragsOnlyWhileShown) {
    Drag(0, CPoint(100, 100), CPoint(110, 120));
    CPoint reticle(-1, -1);
    EXPECT_EQ(m_view.GetReticlePoint(&reticle), TRUE);
    EXPECT_EQ(reticle, CPoint(0, 0));

    Command(CPanZoomView::kShowReticle);
    const int redraws = RedrawsDuring([&] { m_view.OnLButtonDown(0, CPoint(100, 100)); });
    EXPECT_GT(redraws, 0);  // the owner repaints for its windowless companion
    EXPECT_TRUE(m_view.IsReticleActive());
    m_view.GetReticlePoint(&reticle);
    EXPECT_EQ(reticle, CPoint(200, 200));
    m_view.OnMouseMove(0, CPoint(500, 120));
    m_view.GetReticlePoint(&reticle);
    EXPECT_EQ(reticle, CPoint(639, 240));
    m_view.OnLButtonUp(0, CPoint(110, 120));
    m_view.GetReticlePoint(&reticle);
    EXPECT_EQ(reticle, CPoint(220, 240));
    EXPECT_FALSE(m_view.IsReticleActive());

    Command(CPanZoomView::kShowReticle);
    EXPECT_FALSE(m_view.IsReticleShown());
    EXPECT_FALSE(m_view.IsReticleActive());
}

TEST_F(PZViewTest, MenuCommandsSetTheDisplayChoices) {
    const std::pair<UINT, int> corners[] = {
        {32781, 0}, {32782, 1}, {32784, 2}, {32783, 3}, {32785, -1}};
    for (auto [id, corner] : corners) {
        Command(id);
        EXPECT_EQ(m_view.GetInfoCorner(), corner) << id;
        Command(id + 5);
        EXPECT_EQ(m_view.GetZoomBoxCorner(), corner) << id + 5;
    }
    Command(CPanZoomView::kShowRulers);
    EXPECT_TRUE(m_view.AreRulersShown());
    Command(CPanZoomView::kZoomMode);
    Command(CPanZoomView::kPanMode);
    const std::pair<UINT, int> checks[] = {{32777, 1}, {32778, 0}};
    for (auto [id, check] : checks) {
        RecordingCmdUI ui;
        ui.m_nID = id;
        EXPECT_TRUE(ui.DoUpdate(&m_view, FALSE));
        EXPECT_EQ(ui.m_check, check) << id;
    }
}

// View Actual and Fit In Window size the view's frame inside the main window's client area.
class PZViewFrameTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_app = std::make_unique<CWinApp>("pz");
        ASSERT_TRUE(m_main.Create(nullptr, "main", 0, CRect(0, 0, 800, 600), nullptr, 0));
        m_main.ShowWindow(SW_SHOW);
        m_app->m_pMainWnd = &m_main;
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->Create(nullptr, "frame", WS_CHILD | WS_VISIBLE,
                                    CRect(30, 40, 330, 240), &m_main, 0));
        m_view = new CPZView;
        ASSERT_TRUE(m_view->Create(nullptr, "pz", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200),
                                   m_frame, 1));
        CZoomTransform t;
        t.SetOffset(0, 0);
        t.SetScale(1.0);
        t.SetWindowSize(300, 200);
        t.SetImageSize(1600, 900);
        m_view->SetTransform(&t);
    }
    void TearDown() override {
        m_frame->DestroyWindow();  // takes the view with it
        m_app->m_pMainWnd = nullptr;
        m_main.DestroyWindow();
        m_app.reset();
        IsolatedTest::TearDown();
    }
    CSize FrameSize() {
        const QSize size = m_frame->GetQWidget()->size();
        return CSize(size.width(), size.height());
    }
    std::unique_ptr<CWinApp> m_app;
    CWnd m_main;
    CFrameWnd* m_frame = nullptr;
    CPZView* m_view = nullptr;
};

TEST_F(PZViewFrameTest, ViewActualShowsOneImagePixelPerWindowPixel) {
    m_view->SendMessage(WM_COMMAND, CPanZoomView::kViewActual);
    const double r = 1600.0 / 800.0;
    EXPECT_DOUBLE_EQ(m_view->GetZoom(), r);
    EXPECT_EQ(FrameSize(), CSize(800, 450));
    EXPECT_EQ(m_frame->GetQWidget()->pos(), QPoint(0, 0));
    EXPECT_DOUBLE_EQ(m_view->GetBaseFactor(), 0.5);
    EXPECT_DOUBLE_EQ(m_view->GetEffectiveScale(), 1.0);
}

TEST_F(PZViewFrameTest, ViewActualKeepsAFittingFramesPlaceAndFitInWindowFills) {
    CZoomTransform t;
    t.SetScale(1.0);
    t.SetImageSize(500, 300);
    m_view->SetTransform(&t);
    m_frame->MoveWindow(50, 60, 100, 100);
    const QPoint place = m_frame->GetQWidget()->pos();
    m_view->SendMessage(WM_COMMAND, CPanZoomView::kViewActual);
    EXPECT_DOUBLE_EQ(m_view->GetZoom(), 1.0);
    EXPECT_EQ(FrameSize(), CSize(500, 300));
    EXPECT_EQ(m_frame->GetQWidget()->pos(), place);

    m_view->SendMessage(WM_COMMAND, CPanZoomView::kFitInWindow);
    EXPECT_EQ(FrameSize(), CSize(800, 480));  // width limits: 800 / 500
    EXPECT_EQ(m_frame->GetQWidget()->pos(), QPoint(0, 0));

    m_main.ShowWindow(SW_MINIMIZE);
    m_frame->MoveWindow(50, 60, 100, 100);
    m_view->SendMessage(WM_COMMAND, CPanZoomView::kViewActual);
    m_view->SendMessage(WM_COMMAND, CPanZoomView::kFitInWindow);
    EXPECT_EQ(FrameSize(), CSize(100, 100));  // minimised: nothing resized
}

}  // namespace
