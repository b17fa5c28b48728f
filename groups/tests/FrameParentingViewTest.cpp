#include "groups/FrameParentingView.h"

#include "groups/ChildWindowList.h"
#include "platform/framework/DC.h"
#include "platform/framework/MessageMap.h"
#include "shell/ViewChildedFrame.h"
#include "testsupport/IsolatedTest.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QStyle>
#include <QWidget>

#include <memory>
#include <vector>

namespace {

// A hosted frame that records the caption look it was told and the commands it took.
class CRecordingFrame : public CViewChildedFrame {
    DECLARE_DYNCREATE(CRecordingFrame)
    DECLARE_MESSAGE_MAP()

public:
    LRESULT OnNcActivate(WPARAM wParam, LPARAM) {
        captionActive = static_cast<int>(wParam);
        return 1;
    }
    void OnFileClose() { ++fileCloses; }
    void OnOther() { ++others; }

    int captionActive = -1;
    int fileCloses = 0;
    int others = 0;
};

IMPLEMENT_DYNCREATE(CRecordingFrame, CViewChildedFrame)

constexpr UINT kOtherCommand = 33001;
constexpr UINT kViewCommand = 33002;

BEGIN_MESSAGE_MAP(CRecordingFrame, CViewChildedFrame)
ON_MESSAGE(WM_NCACTIVATE, OnNcActivate)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
ON_COMMAND(kOtherCommand, OnOther)
ON_COMMAND(kViewCommand, OnOther)
END_MESSAGE_MAP()

// Two kinds of hosted frames for the two bands of ArrangeChildFrames.
class CBandAFrame : public CRecordingFrame {
    DECLARE_DYNCREATE(CBandAFrame)
};
IMPLEMENT_DYNCREATE(CBandAFrame, CRecordingFrame)

class CBandBFrame : public CRecordingFrame {
    DECLARE_DYNCREATE(CBandBFrame)
};
IMPLEMENT_DYNCREATE(CBandBFrame, CRecordingFrame)

// A parenting view with its own command and a File/Close of its own that must never run.
class CTestParentingView : public CFrameParentingView {
    DECLARE_MESSAGE_MAP()

public:
    void OnOwnCommand() { ++ownCommands; }
    void OnFileClose() { ++fileCloses; }
    void LoadPicture(const QImage& image) { m_backgroundPicture.Attach(image); }

    int ownCommands = 0;
    int fileCloses = 0;
};

BEGIN_MESSAGE_MAP(CTestParentingView, CFrameParentingView)
ON_COMMAND(kViewCommand, OnOwnCommand)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
END_MESSAGE_MAP()

struct Placement {
    int x, y, cx, cy;
    bool operator==(const Placement&) const = default;
};

void PrintTo(const Placement& p, std::ostream* os) {
    *os << "(" << p.x << "," << p.y << " " << p.cx << "x" << p.cy << ")";
}

class FrameParentingViewTest : public IsolatedTest {
protected:
    // The view's window is kWidth x kHeight, so that W-2 and H-2 divide evenly.
    static constexpr int kWidth = 602;
    static constexpr int kHeight = 302;

    void SetUp() override {
        IsolatedTest::SetUp();
        m_host = std::make_unique<CWnd>();
        ASSERT_TRUE(
            m_host->Create(nullptr, QString(), WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        m_view = MakeView(m_host.get());
    }

    void TearDown() override {
        m_host->DestroyWindow();
        m_host.reset();
        IsolatedTest::TearDown();
    }

    static CTestParentingView* MakeView(CWnd* parent) {
        auto* view = new CTestParentingView;
        EXPECT_TRUE(view->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE,
                                 CRect(0, 0, kWidth, kHeight), parent, AFX_IDW_PANE_FIRST));
        return view;
    }

    // A visible hosted frame placed at (x, y), now the top-most one.
    template <class Frame = CRecordingFrame>
    static Frame* Host(CFrameParentingView* view, int x = 0, int y = 0) {
        auto* frame = new Frame;
        EXPECT_TRUE(frame->LoadFrame(0, WS_OVERLAPPEDWINDOW));
        CViewChildedFrame::AttachToParentView(view, frame);
        frame->MoveWindow(x, y, 40, 30);
        frame->ShowWindow(SW_SHOW);
        return frame;
    }

    static Placement PlacementOf(CWnd* frame) {
        const QRect r = frame->GetQWidget()->geometry();
        return {r.x(), r.y(), r.width(), r.height()};
    }

    // The hosted frames from the top.
    std::vector<CFrameWnd*> ZOrder() {
        std::vector<CFrameWnd*> frames;
        m_view->SetChildFrameCursor(nullptr);
        while (CFrameWnd* frame = m_view->GetNextChildFrame())
            frames.push_back(frame);
        return frames;
    }

    std::unique_ptr<CWnd> m_host;
    CTestParentingView* m_view = nullptr;
};

TEST_F(FrameParentingViewTest, WalkingGoesFromTopAndSkipsOtherWindows) {
    EXPECT_EQ(m_view->GetNextChildFrame(), nullptr);
    EXPECT_EQ(m_view->GetFirstChildView(), nullptr);
    EXPECT_EQ(m_view->FindChildViewOfClass(nullptr), nullptr);

    CRecordingFrame* bottom = Host(m_view);
    // A plain child window that is no frame, and an owned floating frame: neither is hosted.
    CWnd plain;
    ASSERT_TRUE(
        plain.Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), m_view, 7));
    auto* floating = new CRecordingFrame;
    ASSERT_TRUE(floating->LoadFrame(0, WS_OVERLAPPEDWINDOW));
    floating->GetQWidget()->setParent(m_view->GetQWidget(), Qt::Tool);
    floating->ShowWindow(SW_SHOW);
    CRecordingFrame* top = Host(m_view);

    EXPECT_EQ(ZOrder(), (std::vector<CFrameWnd*>{top, bottom}));
    m_view->SetChildFrameCursor(top);
    EXPECT_EQ(m_view->CountChildFrames(), 1);
    EXPECT_EQ(m_view->CountChildFrames(), 2) << "the count leaves the cursor empty";

    // Raising the bottom frame changes the walk; the cursor survives GetFirstChildView.
    bottom->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(ZOrder(), (std::vector<CFrameWnd*>{bottom, top}));
    m_view->SetChildFrameCursor(top);
    EXPECT_EQ(m_view->GetFirstChildView(), nullptr) << "frames without a view";
    EXPECT_EQ(m_view->SetChildFrameCursor(nullptr), top);

    // Nor is the floating frame ever moved.
    floating->MoveWindow(3, 4, 50, 60);
    const Placement placed = PlacementOf(floating);
    m_view->TileChildFramesHorizontally();
    m_view->CascadeChildFrames();
    m_view->ArrangeChildFrames(nullptr, nullptr, FALSE, FALSE);
    m_view->LayOutChildFramesSideBySide(kWidth, kHeight, FALSE);
    EXPECT_EQ(PlacementOf(floating), placed);
    EXPECT_EQ(PlacementOf(top), (Placement{kWidth / 2, 0, kWidth / 2, kHeight - 4}));
    floating->DestroyWindow();
}

TEST_F(FrameParentingViewTest, FindsViewsOfHostedFramesAndTheFirstChildView) {
    CRecordingFrame* lower = Host(m_view);
    auto* lowerView = MakeView(lower);
    lower->SetActiveView(lowerView, FALSE);
    CRecordingFrame* upper = Host(m_view);
    auto* upperView = new CTestParentingView;
    ASSERT_TRUE(upperView->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 9, 9),
                                  upper, AFX_IDW_PANE_FIRST));
    upper->SetActiveView(upperView, FALSE);

    EXPECT_EQ(m_view->GetFirstChildView(), upperView);
    m_view->SetChildFrameCursor(lower);
    EXPECT_EQ(m_view->FindChildViewOfClass(RUNTIME_CLASS(CFrameParentingView)), upperView);
    EXPECT_EQ(m_view->SetChildFrameCursor(nullptr), upper) << "left at the frame found";

    m_view->SetChildFrameCursor(lower);
    EXPECT_EQ(m_view->FindChildViewOfClass(RUNTIME_CLASS(CRecordingFrame)), nullptr);
    EXPECT_EQ(m_view->SetChildFrameCursor(nullptr), lower) << "restored when nothing found";
}

// The first child view is the pane of the frame on top, whatever the walk's cursor; a cursor
// left on a frame that has closed since is let go, and the next walk starts from the top.
TEST_F(FrameParentingViewTest, FirstChildViewFollowsTheTopFrameAndLetsGoOfAClosedCursor) {
    CRecordingFrame* lower = Host(m_view);
    CTestParentingView* lowerView = MakeView(lower);
    CRecordingFrame* upper = Host(m_view);
    CTestParentingView* upperView = MakeView(upper);

    m_view->SetChildFrameCursor(upper);
    EXPECT_EQ(m_view->GetFirstChildView(), upperView);
    lower->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(m_view->GetFirstChildView(), lowerView);
    EXPECT_EQ(m_view->GetNextChildFrame(), nullptr) << "the cursor stayed on the upper frame";

    m_view->SetChildFrameCursor(upper);
    upper->DestroyWindow();
    EXPECT_EQ(m_view->GetFirstChildView(), lowerView);
    EXPECT_EQ(m_view->GetNextChildFrame(), lower);
}

TEST_F(FrameParentingViewTest, FileCloseSkipsTheContainerAndReachesTheTopFrame) {
    CRecordingFrame* lower = Host(m_view);
    CRecordingFrame* top = Host(m_view);

    EXPECT_TRUE(m_view->OnCmdMsg(ID_FILE_CLOSE, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(top->fileCloses, 1);
    EXPECT_EQ(lower->fileCloses, 0);
    EXPECT_EQ(m_view->fileCloses, 0);

    // What the view knows stays with it; what it does not reaches the frame on top.
    EXPECT_TRUE(m_view->OnCmdMsg(kViewCommand, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(m_view->ownCommands, 1);
    EXPECT_EQ(top->others, 0);
    EXPECT_TRUE(m_view->OnCmdMsg(kOtherCommand, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(top->others, 1);
    EXPECT_FALSE(m_view->OnCmdMsg(33999, CN_COMMAND, nullptr, nullptr));
}

TEST_F(FrameParentingViewTest, FileCloseWithoutHostedFramesIsNotHandled) {
    EXPECT_FALSE(m_view->OnCmdMsg(ID_FILE_CLOSE, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(m_view->fileCloses, 0);
}

// Columns x rows of Tile Horizontally (rows x columns of Tile Vertically) for 0-6 frames.
struct TileCase {
    int frames;
    int lines;
    int perLine;
};

TEST_F(FrameParentingViewTest, TilingTables) {
    const TileCase cases[] = {{0, 0, 0}, {1, 1, 1}, {2, 1, 2}, {3, 1, 3},
                              {4, 2, 2}, {5, 2, 3}, {6, 2, 3}};
    for (const TileCase& c : cases) {
        SCOPED_TRACE(c.frames);
        for (int i = 0; i < c.frames; ++i)
            Host(m_view, 7, 7);
        const std::vector<CFrameWnd*> frames = ZOrder();
        ASSERT_EQ(static_cast<int>(frames.size()), c.frames);

        m_view->TileChildFramesHorizontally();
        for (int i = 0; i < c.frames; ++i) {
            const int w = (kWidth - 2) / c.lines;
            const int h = (kHeight - 2) / c.perLine;
            EXPECT_EQ(PlacementOf(frames[i]),
                      (Placement{i / c.perLine * w, i % c.perLine * h, w, h}))
                << "horizontal " << i;
        }
        m_view->TileChildFramesVertically();
        for (int i = 0; i < c.frames; ++i) {
            const int w = (kWidth - 2) / c.perLine;
            const int h = (kHeight - 2) / c.lines;
            EXPECT_EQ(PlacementOf(frames[i]),
                      (Placement{i % c.perLine * w, i / c.perLine * h, w, h}))
                << "vertical " << i;
        }
        EXPECT_EQ(ZOrder(), frames) << "tiling keeps the z-order";
        for (CFrameWnd* frame : frames)
            frame->DestroyWindow();
    }
}

TEST_F(FrameParentingViewTest, FiveFramesSpelledOut) {
    for (int i = 0; i < 5; ++i)
        Host(m_view);
    const std::vector<CFrameWnd*> f = ZOrder();
    m_view->TileChildFramesHorizontally();
    EXPECT_EQ(PlacementOf(f[2]), (Placement{0, 200, 300, 100}));
    EXPECT_EQ(PlacementOf(f[3]), (Placement{300, 0, 300, 100}));
    EXPECT_EQ(PlacementOf(f[4]), (Placement{300, 100, 300, 100}));
    m_view->TileChildFramesVertically();
    EXPECT_EQ(PlacementOf(f[2]), (Placement{400, 0, 200, 150}));
    EXPECT_EQ(PlacementOf(f[3]), (Placement{0, 150, 200, 150}));
    EXPECT_EQ(PlacementOf(f[4]), (Placement{200, 150, 200, 150}));
}

TEST_F(FrameParentingViewTest, MinimisedAndHiddenFramesInEachLayout) {
    CRecordingFrame* hidden = Host(m_view, 5, 5);
    hidden->ShowWindow(SW_HIDE);
    CRecordingFrame* minimised = Host(m_view, 6, 6);
    minimised->ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(minimised->IsIconic());
    ASSERT_TRUE(minimised->IsWindowVisible());
    CRecordingFrame* second = Host(m_view);
    CRecordingFrame* first = Host(m_view);
    const Placement hiddenAt = PlacementOf(hidden);

    // Side by side counts the minimised frame (visible) but not the hidden one.
    m_view->LayOutChildFramesSideBySide(kWidth, kHeight, TRUE);
    EXPECT_EQ(PlacementOf(first), (Placement{0, 0, 200, kHeight - 4}));
    EXPECT_EQ(PlacementOf(second), (Placement{200, 0, 200, kHeight - 4}));
    EXPECT_EQ(PlacementOf(minimised), (Placement{400, 0, 200, kHeight - 4}));
    EXPECT_EQ(PlacementOf(hidden), hiddenAt);
    m_view->LayOutChildFramesSideBySide(kWidth, kHeight, FALSE);
    EXPECT_EQ(PlacementOf(hidden), (Placement{450, 0, 150, kHeight - 4}));
    m_view->LayOutChildFramesSideBySide(0, kHeight, FALSE);
    EXPECT_EQ(PlacementOf(first), (Placement{0, 0, 150, kHeight - 4}));

    // The tilings, the cascade and the arrangement place only the two ordinary frames.
    hidden->MoveWindow(5, 5, 40, 30);
    minimised->MoveWindow(6, 6, 40, 30);
    m_view->TileChildFramesHorizontally();
    EXPECT_EQ(PlacementOf(first), (Placement{0, 0, 600, 150}));
    EXPECT_EQ(PlacementOf(second), (Placement{0, 150, 600, 150}));
    m_view->CascadeChildFrames();
    const int s = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    EXPECT_EQ(PlacementOf(first), (Placement{0, 0, 400, 200}));
    EXPECT_EQ(PlacementOf(second), (Placement{s, s, 400, 200}));
    m_view->ArrangeChildFrames(RUNTIME_CLASS(CRecordingFrame), RUNTIME_CLASS(CRecordingFrame),
                               FALSE, TRUE);
    EXPECT_EQ(PlacementOf(second), (Placement{0, 0, 300, 298}));
    EXPECT_EQ(PlacementOf(first), (Placement{300, 0, 296, 298}));
    EXPECT_EQ(PlacementOf(hidden), (Placement{5, 5, 40, 30}));
    EXPECT_EQ(PlacementOf(minimised), (Placement{6, 6, 40, 30}));
}

TEST_F(FrameParentingViewTest, ArrangeKeepsCreationOrderInTwoBands) {
    auto* a1 = Host<CBandAFrame>(m_view);
    auto* b1 = Host<CBandBFrame>(m_view);
    auto* a2 = Host<CBandAFrame>(m_view);
    auto* b2 = Host<CBandBFrame>(m_view);
    a1->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const std::vector<CFrameWnd*> before = ZOrder();

    m_view->ArrangeChildFrames(RUNTIME_CLASS(CBandBFrame), RUNTIME_CLASS(CBandBFrame), TRUE, FALSE);
    EXPECT_EQ(PlacementOf(a1), (Placement{0, 0, 300, 150}));
    EXPECT_EQ(PlacementOf(a2), (Placement{300, 0, 296, 150}));
    EXPECT_EQ(PlacementOf(b1), (Placement{0, 150, 596, 75}));
    EXPECT_EQ(PlacementOf(b2), (Placement{0, 225, 596, 73}));
    EXPECT_EQ(ZOrder(), before);

    // A band alone takes the whole height.
    b1->ShowWindow(SW_HIDE);
    b2->ShowWindow(SW_MINIMIZE);
    m_view->ArrangeChildFrames(RUNTIME_CLASS(CBandAFrame), RUNTIME_CLASS(CBandBFrame), FALSE,
                               FALSE);
    EXPECT_EQ(PlacementOf(a1), (Placement{0, 0, 300, 298}));
    a1->ShowWindow(SW_HIDE);
    a2->ShowWindow(SW_HIDE);
    b1->ShowWindow(SW_SHOW);
    m_view->ArrangeChildFrames(RUNTIME_CLASS(CBandAFrame), RUNTIME_CLASS(CBandBFrame), FALSE,
                               FALSE);
    EXPECT_EQ(PlacementOf(b1), (Placement{0, 0, 596, 298}));
}

TEST_F(FrameParentingViewTest, ClassOperationsAndClosingVisibleFrames) {
    auto* a = Host<CBandAFrame>(m_view);
    auto* b = Host<CBandBFrame>(m_view);
    m_view->MinimizeChildFrames(RUNTIME_CLASS(CBandAFrame));
    EXPECT_TRUE(a->IsIconic());
    EXPECT_FALSE(b->IsIconic());
    m_view->ShowChildFramesOfClass(RUNTIME_CLASS(CBandBFrame), SW_HIDE);
    EXPECT_FALSE(b->IsWindowVisible());
    m_view->ActivateChildFramesOfClass(RUNTIME_CLASS(CBandBFrame), SW_SHOW);
    EXPECT_TRUE(b->IsWindowVisible());

    b->ShowWindow(SW_HIDE);
    const auto aToken = a->GetLifeToken();
    const auto bToken = b->GetLifeToken();
    m_view->CloseChildFrames();
    EXPECT_TRUE(aToken.expired());
    EXPECT_FALSE(bToken.expired()) << "hidden frames are left alone";
}

TEST_F(FrameParentingViewTest, ResizeLaysVisibleFramesSideBySide) {
    CRecordingFrame* right = Host(m_view);
    CRecordingFrame* left = Host(m_view);
    m_view->MoveWindow(0, 0, 400, 200);
    EXPECT_EQ(PlacementOf(left), (Placement{0, 0, 200, 196}));
    EXPECT_EQ(PlacementOf(right), (Placement{200, 0, 200, 196}));
}

// main view > outer frames A (holding an inner view with A1, A2) and B.
TEST_F(FrameParentingViewTest, CaptionsLookActiveOnlyAlongTheActivePath) {
    CRecordingFrame* a = Host(m_view);
    CTestParentingView* inner = MakeView(a);
    a->SetActiveView(inner, FALSE);
    CRecordingFrame* a1 = Host(inner);
    CRecordingFrame* a2 = Host(inner);
    CRecordingFrame* b = Host(m_view);
    auto looks = [&] {
        return std::vector<int>{a->captionActive, a1->captionActive, a2->captionActive,
                                b->captionActive};
    };

    m_view->OnActivateView(TRUE, m_view, nullptr);
    EXPECT_EQ(looks(), (std::vector<int>{0, 0, 0, 1})) << "B on top; nothing inside A";

    m_view->SendMessage(WM_CHILDED_ACTIVATED, reinterpret_cast<WPARAM>(a->GetSafeHwnd()), 20);
    EXPECT_EQ(looks(), (std::vector<int>{1, 0, 1, 0})) << "A and its top-most child";

    // A click on A1 raises it and tells the inner view, which tells the outer one.
    a1->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    inner->SendMessage(WM_CHILDED_ACTIVATED, reinterpret_cast<WPARAM>(a1->GetSafeHwnd()), 20);
    EXPECT_EQ(looks(), (std::vector<int>{1, 1, 0, 0}));
    QCoreApplication::processEvents();
    EXPECT_EQ(looks(), (std::vector<int>{1, 1, 0, 0}));

    m_view->OnActivateView(FALSE, nullptr, m_view);
    EXPECT_EQ(looks(), (std::vector<int>{0, 0, 0, 0})) << "the outer frame lost activation";
}

TEST_F(FrameParentingViewTest, APressInAHostedFrameBringsThatFrameToTheTop) {
    // Two frames on top of each other, each with a view that fills it.
    CRecordingFrame* lower = Host(m_view);
    CTestParentingView* lowerView = MakeView(lower);
    lower->SetActiveView(lowerView, FALSE);
    CRecordingFrame* upper = Host(m_view);
    CTestParentingView* upperView = MakeView(upper);
    upper->SetActiveView(upperView, FALSE);
    ASSERT_EQ(ZOrder(), (std::vector<CFrameWnd*>{upper, lower}));

    const auto press = [](CWnd* target) {
        QWidget* widget = target->GetQWidget();
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(3, 3),
                          widget->mapToGlobal(QPointF(3, 3)), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    };
    const struct {
        CWnd* pressed;
        std::vector<CFrameWnd*> after;
        const char* what;
    } steps[] = {
        {lowerView, {lower, upper}, "the picture of the lower frame"},
        {lowerView, {lower, upper}, "the frame in front again"},
        {upperView, {upper, lower}, "the other one"},
    };
    for (const auto& step : steps) {
        press(step.pressed);
        EXPECT_EQ(ZOrder(), step.after) << step.what;
        EXPECT_EQ(step.after.front() == upper ? upper->captionActive : lower->captionActive, 1)
            << step.what;
    }
    // Being told of an activation without a click leaves the order alone.
    m_view->SendMessage(WM_CHILDED_ACTIVATED, reinterpret_cast<WPARAM>(lower->GetSafeHwnd()), 10);
    EXPECT_EQ(ZOrder(), (std::vector<CFrameWnd*>{upper, lower}));
}

TEST_F(FrameParentingViewTest, NestedActivationIsPostedUpWithReason30) {
    // The outer host records what reaches it.
    CRecordingFrame* a = Host(m_view);
    CTestParentingView* inner = MakeView(a);
    a->SetActiveView(inner, FALSE);
    CRecordingFrame* a1 = Host(inner);
    EXPECT_EQ(
        inner->SendMessage(WM_CHILDED_ACTIVATED, reinterpret_cast<WPARAM>(a1->GetSafeHwnd()), 10),
        1);
    EXPECT_EQ(a->captionActive, -1) << "posted, not sent";
    QCoreApplication::processEvents();
    EXPECT_EQ(a->captionActive, 1);
    EXPECT_EQ(a1->captionActive, 1);
}

TEST_F(FrameParentingViewTest, ChildFramesMayCloseByDefault) {
    CRecordingFrame* frame = Host(m_view);
    EXPECT_EQ(
        m_view->SendMessage(WM_CHILDED_MAYCLOSE, reinterpret_cast<WPARAM>(frame->GetSafeHwnd())),
        1);
}

TEST_F(FrameParentingViewTest, BackgroundIsDrawnAroundVisibleFrames) {
    const QRgb grey = qRgb(0x60, 0x60, 0x60);
    const QRgb white = qRgb(255, 255, 255);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    auto erase = [&] {
        image.fill(white);
        CDC dc(&image);
        EXPECT_EQ(m_view->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc)), 1);
    };
    erase();
    EXPECT_EQ(image.pixel(0, 0), grey);
    EXPECT_EQ(image.pixel(kWidth - 1, kHeight - 1), grey) << "no frames: all of it";

    CRecordingFrame* frame = Host(m_view, 100, 50);
    frame->MoveWindow(100, 50, 60, 40);
    CRecordingFrame* hidden = Host(m_view, 200, 50);
    hidden->ShowWindow(SW_HIDE);
    erase();
    EXPECT_EQ(image.pixel(99, 60), grey);
    EXPECT_EQ(image.pixel(100, 50), white);
    EXPECT_EQ(image.pixel(155, 85), white);
    // The last 4 pixels at the right and the bottom of a frame are background.
    EXPECT_EQ(image.pixel(156, 60), grey);
    EXPECT_EQ(image.pixel(120, 86), grey);
    EXPECT_EQ(image.pixel(210, 60), grey) << "hidden frames leave no hole";

    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    m_view->LoadPicture(red);
    erase();
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(kWidth - 1, kHeight - 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(120, 60), white);
}

}  // namespace
