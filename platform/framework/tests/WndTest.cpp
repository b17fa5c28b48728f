#include "platform/framework/MessageQueue.h"
#include "platform/framework/PaintDC.h"
#include "platform/framework/Wnd.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QFocusEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QWheelEvent>
#include <QWidget>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT WM_PROBE = WM_APP + 7;

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Received&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Received& r) {
    return os << "{0x" << std::hex << r.message << ", 0x" << r.wParam << ", 0x" << r.lParam
              << std::dec << "}";
}

// Records what its handlers receive, in the form the handlers receive it.
class CProbeWnd : public CWnd {
public:
    std::vector<Received> received;
    std::vector<bool> onUiThread;                 // for each WM_PROBE
    std::vector<std::string>* journal = nullptr;  // shared order of events across windows
    std::string name;
    bool vetoClose = false;
    bool selfDeleting = false;
    int createResult = 0;
    void* createParams = nullptr;
    int* deletions = nullptr;
    UINT_PTR killTimerOnTick = 0;
    bool recordAmbient = false;
    bool destroyOnClick = false;

    ~CProbeWnd() override {
        if (deletions)
            ++*deletions;
    }

    void Note(const std::string& what) {
        if (journal)
            journal->push_back(name + ":" + what);
    }
    std::vector<Received> Of(UINT message) const {
        std::vector<Received> r;
        for (const Received& m : received) {
            if (m.message == message)
                r.push_back(m);
        }
        return r;
    }

protected:
    void PostNcDestroy() override {
        Note("PostNcDestroy");
        if (selfDeleting)
            delete this;
    }

    void Record(UINT message, WPARAM wParam, LPARAM lParam) {
        received.push_back({message, wParam, lParam});
    }
    void RecordMouse(UINT message, UINT nFlags, CPoint point) {
        Record(message, nFlags, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
    }

    LRESULT OnProbe(WPARAM wParam, LPARAM lParam) {
        Record(WM_PROBE, wParam, lParam);
        onUiThread.push_back(QThread::currentThread() == qApp->thread());
        return 7;
    }
    int OnCreate(LPCREATESTRUCT cs) {
        createParams = cs->lpCreateParams;
        Record(WM_CREATE, 0, 0);
        return createResult;
    }
    void OnDestroy() {
        Note("WM_DESTROY");
        Record(WM_DESTROY, 0, 0);
    }
    void OnClose() {
        Record(WM_CLOSE, 0, 0);
        if (!vetoClose)
            CWnd::OnClose();
    }
    void OnSize(UINT nType, int cx, int cy) {
        Record(WM_SIZE, nType, MAKELPARAM(static_cast<WORD>(cx), static_cast<WORD>(cy)));
    }
    void OnTimer(UINT_PTR id) {
        Record(WM_TIMER, id, 0);
        if (killTimerOnTick == id)
            KillTimer(id);
    }
    // Painting, focus and activation come whenever the platform shows the window, so only
    // tests that ask see them.
    void RecordAmbient(UINT message, WPARAM wParam, LPARAM lParam) {
        if (recordAmbient)
            Record(message, wParam, lParam);
    }
    void OnPaint() { RecordAmbient(WM_PAINT, 0, 0); }
    void OnSetFocus(CWnd* pOldWnd) {
        RecordAmbient(WM_SETFOCUS, reinterpret_cast<WPARAM>(pOldWnd), 0);
    }
    void OnKillFocus(CWnd* pNewWnd) {
        RecordAmbient(WM_KILLFOCUS, reinterpret_cast<WPARAM>(pNewWnd), 0);
    }
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
        RecordAmbient(WM_ACTIVATE,
                      MAKEWPARAM(static_cast<WORD>(nState), static_cast<WORD>(bMinimized)),
                      reinterpret_cast<LPARAM>(pWndOther));
    }
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
        Record(WM_KEYDOWN, nChar,
               MAKELPARAM(static_cast<WORD>(nRepCnt), static_cast<WORD>(nFlags)));
    }
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
        Record(WM_KEYUP, nChar, MAKELPARAM(static_cast<WORD>(nRepCnt), static_cast<WORD>(nFlags)));
    }
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
        Record(WM_CHAR, nChar, MAKELPARAM(static_cast<WORD>(nRepCnt), static_cast<WORD>(nFlags)));
    }
    void OnContextMenu(CWnd* pWnd, CPoint pos) {
        Record(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pWnd ? pWnd->GetSafeHwnd() : nullptr),
               MAKELPARAM(static_cast<WORD>(pos.x), static_cast<WORD>(pos.y)));
    }
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
        Record(WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(nFlags), static_cast<WORD>(zDelta)),
               MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
        return TRUE;
    }
    void OnMouseLeave() { Record(WM_MOUSELEAVE, 0, 0); }
    void OnMouseMove(UINT nFlags, CPoint point) { RecordMouse(WM_MOUSEMOVE, nFlags, point); }
    void OnLButtonDown(UINT nFlags, CPoint point) {
        RecordMouse(WM_LBUTTONDOWN, nFlags, point);
        if (destroyOnClick)
            DestroyWindow();
    }
    void OnLButtonUp(UINT nFlags, CPoint point) { RecordMouse(WM_LBUTTONUP, nFlags, point); }
    void OnLButtonDblClk(UINT nFlags, CPoint point) {
        RecordMouse(WM_LBUTTONDBLCLK, nFlags, point);
    }
    void OnRButtonDown(UINT nFlags, CPoint point) { RecordMouse(WM_RBUTTONDOWN, nFlags, point); }
    void OnRButtonUp(UINT nFlags, CPoint point) { RecordMouse(WM_RBUTTONUP, nFlags, point); }
    void OnMButtonDown(UINT nFlags, CPoint point) { RecordMouse(WM_MBUTTONDOWN, nFlags, point); }
    void OnMButtonUp(UINT nFlags, CPoint point) { RecordMouse(WM_MBUTTONUP, nFlags, point); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
ON_MESSAGE(WM_PROBE, OnProbe)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_TIMER()
ON_WM_PAINT()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_ACTIVATE()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_CHAR()
ON_WM_CONTEXTMENU()
ON_WM_MOUSEWHEEL()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_WM_MBUTTONDOWN()
ON_WM_MBUTTONUP()
END_MESSAGE_MAP()

LPARAM Pack(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

// Handles events until the condition holds or five seconds pass; never sleeps.
bool PumpUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(5000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

class WndTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        ASSERT_TRUE(
            m_wnd.Create(nullptr, "probe", WS_VISIBLE, CRect(10, 10, 210, 110), nullptr, 0));
        m_wnd.received.clear();
        m_wnd.onUiThread.clear();
    }

    CProbeWnd m_wnd;
};

TEST_F(WndTest, ObjectLivesBeforeCreateAndAfterDestroy) {
    CProbeWnd wnd;
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(wnd.SendMessage(WM_PROBE, 1, 2), 0);
    EXPECT_FALSE(wnd.PostMessage(WM_PROBE, 1, 2));
    EXPECT_EQ(wnd.SetTimer(1, 100), 0u);
    EXPECT_FALSE(wnd.DestroyWindow());
    EXPECT_TRUE(wnd.received.empty());

    int params = 0;
    ASSERT_TRUE(wnd.Create(nullptr, "w", 0, CRect(0, 0, 40, 30), nullptr, 0, &params));
    const HWND hWnd = wnd.GetSafeHwnd();
    EXPECT_TRUE(IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd);
    EXPECT_EQ(wnd.createParams, &params);
    ASSERT_GE(wnd.received.size(), 2u);
    EXPECT_EQ(wnd.received[0].message, static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(wnd.received[1], (Received{WM_SIZE, SIZE_RESTORED, Pack(40, 30)}));
    EXPECT_EQ(wnd.SendMessage(WM_PROBE, 1, 2), 7);

    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(wnd.GetQWidget(), nullptr);
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandle(hWnd), nullptr);
    EXPECT_EQ(wnd.Of(WM_DESTROY).size(), 1u);

    // The same object takes a new window, under a new handle.
    ASSERT_TRUE(wnd.Create(nullptr, "again", 0, CRect(0, 0, 10, 10), nullptr, 0));
    EXPECT_NE(wnd.GetSafeHwnd(), hWnd);
}

TEST_F(WndTest, CreateFailsWhenCreateHandlerRefuses) {
    CProbeWnd wnd;
    wnd.createResult = -1;
    EXPECT_FALSE(wnd.Create(nullptr, "w", 0, CRect(0, 0, 10, 10), nullptr, 0));
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(wnd.Of(WM_DESTROY).size(), 1u);
}

TEST_F(WndTest, FramesDeleteThemselvesParentDestroyedFirstAndFinishedLast) {
    std::vector<std::string> journal;
    int deletions = 0;
    auto* frame = new CProbeWnd;
    frame->name = "frame";
    auto* view = new CProbeWnd;
    view->name = "view";
    for (CProbeWnd* w : {frame, view}) {
        w->journal = &journal;
        w->selfDeleting = true;
        w->deletions = &deletions;
    }
    ASSERT_TRUE(frame->Create(nullptr, "f", 0, CRect(0, 0, 100, 100), nullptr, 0));
    ASSERT_TRUE(view->Create(nullptr, "v", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), frame, 1));
    const HWND viewHandle = view->GetSafeHwnd();

    // Closing the frame destroys it by default, and both objects go with their windows.
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(deletions, 2);
    EXPECT_FALSE(IsWindow(viewHandle));
    EXPECT_EQ(journal, (std::vector<std::string>{"frame:WM_DESTROY", "view:WM_DESTROY",
                                                 "view:PostNcDestroy", "frame:PostNcDestroy"}));
}

TEST_F(WndTest, SelfDeletingWindowMayEndInsideItsOwnQtEvent) {
    const std::vector<std::function<void(QWidget*)>> endings{
        [](QWidget* w) { w->close(); },
        [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2)); }};
    for (const auto& end : endings) {
        int deletions = 0;
        auto* frame = new CProbeWnd;
        frame->selfDeleting = true;
        frame->destroyOnClick = true;
        frame->deletions = &deletions;
        ASSERT_TRUE(frame->Create(nullptr, "f", WS_VISIBLE, CRect(0, 0, 50, 50), nullptr, 0));
        QPointer<QWidget> widget = frame->GetQWidget();
        end(widget);
        EXPECT_EQ(deletions, 1);
        // Qt deletes the widget once its event is over.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(widget.isNull());
    }
}

TEST_F(WndTest, CloseFromQtCanBeVetoed) {
    m_wnd.vetoClose = true;
    m_wnd.GetQWidget()->close();
    EXPECT_EQ(m_wnd.Of(WM_CLOSE).size(), 1u);
    EXPECT_NE(m_wnd.GetSafeHwnd(), nullptr);

    m_wnd.vetoClose = false;
    m_wnd.GetQWidget()->close();
    EXPECT_EQ(m_wnd.GetSafeHwnd(), nullptr);
}

TEST_F(WndTest, WindowEndsWithAWidgetDeletedByQt) {
    auto* host = new QWidget;
    CWnd hostWnd;
    ASSERT_TRUE(hostWnd.Attach(host));
    std::vector<std::string> journal;
    CProbeWnd child;
    child.name = "child";
    child.journal = &journal;
    ASSERT_TRUE(child.Create(nullptr, "c", WS_CHILD, CRect(0, 0, 5, 5), &hostWnd, 3));
    EXPECT_EQ(hostWnd.GetDlgItem(3), &child);

    delete host;
    EXPECT_EQ(journal, (std::vector<std::string>{"child:WM_DESTROY", "child:PostNcDestroy"}));
    EXPECT_EQ(child.GetSafeHwnd(), nullptr);
    EXPECT_EQ(hostWnd.GetSafeHwnd(), nullptr);
}

TEST_F(WndTest, DeletingTheObjectDestroysItsWindow) {
    auto* wnd = new CProbeWnd;
    ASSERT_TRUE(wnd->Create(nullptr, "w", 0, CRect(0, 0, 10, 10), nullptr, 0));
    const HWND hWnd = wnd->GetSafeHwnd();
    ASSERT_TRUE(wnd->PostMessage(WM_PROBE, 1, 1));
    delete wnd;
    EXPECT_FALSE(IsWindow(hWnd));
    // The message posted before is dropped, not delivered to freed memory.
    AfxPumpMessage();
}

struct PostCase {
    const char* name;
    bool destroyBeforePost;
    bool destroyAfterPost;
    bool expectPosted;
    bool expectDelivered;
};

class PostedMessageTest : public WndTest, public ::testing::WithParamInterface<PostCase> {};

TEST_P(PostedMessageTest, ReachesOnlyALiveWindow) {
    const PostCase& c = GetParam();
    const HWND hWnd = m_wnd.GetSafeHwnd();
    if (c.destroyBeforePost)
        m_wnd.DestroyWindow();
    const LPARAM lParam = static_cast<LPARAM>(-123456789012LL);
    EXPECT_EQ(PostMessage(hWnd, WM_PROBE, 42, lParam), c.expectPosted ? TRUE : FALSE);
    if (c.destroyAfterPost)
        m_wnd.DestroyWindow();
    AfxPumpMessage();
    if (c.expectDelivered)
        EXPECT_EQ(m_wnd.Of(WM_PROBE), (std::vector<Received>{{WM_PROBE, 42, lParam}}));
    else
        EXPECT_TRUE(m_wnd.Of(WM_PROBE).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PostedMessageTest,
    ::testing::Values(PostCase{"LiveWindow", false, false, true, true},
                      PostCase{"DestroyedBeforePost", true, false, false, false},
                      PostCase{"DestroyedBeforeDelivery", false, true, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WndTest, MessagesPostedFromAWorkerArriveOnTheUserInterfaceThreadInOrder) {
    const HWND hWnd = m_wnd.GetSafeHwnd();
    std::thread worker([hWnd] {
        for (WPARAM i = 1; i <= 3; ++i)
            PostMessage(hWnd, WM_PROBE, i, -static_cast<LPARAM>(i));
    });
    worker.join();
    ASSERT_TRUE(PumpUntil([&] { return m_wnd.Of(WM_PROBE).size() == 3; }));
    EXPECT_EQ(m_wnd.Of(WM_PROBE),
              (std::vector<Received>{{WM_PROBE, 1, -1}, {WM_PROBE, 2, -2}, {WM_PROBE, 3, -3}}));
    for (bool onUi : m_wnd.onUiThread)
        EXPECT_TRUE(onUi);
}

TEST_F(WndTest, SendFromAWorkerWaitsForTheUserInterfaceThread) {
    const HWND hWnd = m_wnd.GetSafeHwnd();
    std::atomic<LRESULT> result{0};
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        result = SendMessage(hWnd, WM_PROBE, 5, 6);
        finished = true;
    });
    const bool done = PumpUntil([&] { return finished.load(); });
    worker.join();
    ASSERT_TRUE(done);
    EXPECT_EQ(result.load(), 7);
    ASSERT_EQ(m_wnd.onUiThread.size(), 1u);
    EXPECT_TRUE(m_wnd.onUiThread[0]);
}

TEST_F(WndTest, PeekSeesAWaitingMessageAndRemoveTakesIt) {
    const HWND hWnd = m_wnd.GetSafeHwnd();
    PostMessage(hWnd, WM_PROBE, 1, 0);
    PostMessage(hWnd, WM_PROBE + 1, 2, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_PROBE + 1, WM_PROBE + 1, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    ASSERT_TRUE(PeekMessage(&msg, hWnd, WM_PROBE + 1, WM_PROBE + 1, PM_REMOVE));
    EXPECT_FALSE(PeekMessage(&msg, hWnd, WM_PROBE + 1, WM_PROBE + 1, PM_NOREMOVE));
    EXPECT_TRUE(AfxPumpMessage());
    EXPECT_EQ(m_wnd.Of(WM_PROBE), (std::vector<Received>{{WM_PROBE, 1, 0}}));

    PostQuitMessage(1);
    EXPECT_FALSE(AfxPumpMessage());
    int code = 0;
    EXPECT_TRUE(AfxTakeQuitRequest(&code));
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(AfxPumpMessage());
}

struct ClickCase {
    const char* name;
    Qt::MouseButton button;
    Qt::KeyboardModifiers modifiers;
    UINT down;
    UINT up;
    UINT flags;
};

class MouseTest : public WndTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(MouseTest, QtClickAndMadeUpMessageReachTheSameHandlerAlike) {
    const ClickCase& c = GetParam();
    QTest::mousePress(m_wnd.GetQWidget(), c.button, c.modifiers, QPoint(12, 34));
    QTest::mouseRelease(m_wnd.GetQWidget(), c.button, c.modifiers, QPoint(12, 34));
    const std::vector<Received> fromQt = m_wnd.received;
    m_wnd.received.clear();
    m_wnd.SendMessage(c.down, c.flags, Pack(12, 34));
    m_wnd.SendMessage(c.up, c.flags & ~(MK_LBUTTON | MK_RBUTTON | MK_MBUTTON), Pack(12, 34));

    const std::vector<Received> expected{
        {c.down, c.flags, Pack(12, 34)},
        {c.up, c.flags & ~(MK_LBUTTON | MK_RBUTTON | MK_MBUTTON), Pack(12, 34)}};
    EXPECT_EQ(fromQt, expected);
    EXPECT_EQ(m_wnd.received, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, MouseTest,
    ::testing::Values(
        ClickCase{"Left", Qt::LeftButton, Qt::NoModifier, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON},
        ClickCase{"ShiftLeft", Qt::LeftButton, Qt::ShiftModifier, WM_LBUTTONDOWN, WM_LBUTTONUP,
                  MK_LBUTTON | MK_SHIFT},
        ClickCase{"ShiftCtrlLeft", Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier,
                  WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON | MK_SHIFT | MK_CONTROL},
        ClickCase{"CtrlRight", Qt::RightButton, Qt::ControlModifier, WM_RBUTTONDOWN, WM_RBUTTONUP,
                  MK_RBUTTON | MK_CONTROL},
        ClickCase{"Middle", Qt::MiddleButton, Qt::NoModifier, WM_MBUTTONDOWN, WM_MBUTTONUP,
                  MK_MBUTTON}),
    [](const auto& info) { return std::string(info.param.name); });

struct CoordinateCase {
    const char* name;
    int x;
    int y;
};

class CoordinateTest : public WndTest, public ::testing::WithParamInterface<CoordinateCase> {};

TEST_P(CoordinateTest, NegativePackedCoordinatesSurvive) {
    const CoordinateCase& c = GetParam();
    const LPARAM packed = Pack(c.x, c.y);
    EXPECT_EQ(GET_X_LPARAM(packed), c.x);
    EXPECT_EQ(GET_Y_LPARAM(packed), c.y);

    m_wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, packed);
    m_wnd.PostMessage(WM_LBUTTONUP, 0, packed);
    AfxPumpMessage();
    // A drag that leaves the window to the left and above reports negative positions too.
    QWidget* w = m_wnd.GetQWidget();
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseMove(w, QPoint(c.x, c.y));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(c.x, c.y));

    EXPECT_EQ(m_wnd.received, (std::vector<Received>{{WM_MOUSEMOVE, MK_LBUTTON, packed},
                                                     {WM_LBUTTONUP, 0, packed},
                                                     {WM_LBUTTONDOWN, MK_LBUTTON, Pack(5, 5)},
                                                     {WM_MOUSEMOVE, MK_LBUTTON, packed},
                                                     {WM_LBUTTONUP, 0, packed}}));
}

INSTANTIATE_TEST_SUITE_P(Points, CoordinateTest,
                         ::testing::Values(CoordinateCase{"LeftOfWindow", -5, 7},
                                           CoordinateCase{"AboveWindow", 3, -1},
                                           CoordinateCase{"BothNegative", -300, -2000},
                                           CoordinateCase{"Extremes", -32768, 32767}),
                         [](const auto& info) { return std::string(info.param.name); });

struct InputCase {
    const char* name;
    std::function<void(QWidget*)> act;
    std::vector<Received> expected;
};

class InputTest : public WndTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(InputTest, QtInputArrivesAsWindowMessages) {
    const InputCase& c = GetParam();
    const UINT first = c.expected.front().message;
    m_wnd.recordAmbient = first == WM_PAINT || first == WM_SETFOCUS || first == WM_ACTIVATE;
    c.act(m_wnd.GetQWidget());
    std::vector<Received> got;
    for (const Received& r : m_wnd.received) {
        if (r.message != WM_SIZE || c.expected.front().message == WM_SIZE)
            got.push_back(r);
    }
    EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Events, InputTest,
    ::testing::Values(InputCase{"KeyClick",
                                [](QWidget* w) { QTest::keyClick(w, Qt::Key_A); },
                                {{WM_KEYDOWN, 'A', MAKELPARAM(1, 0)},
                                 {WM_CHAR, 'a', MAKELPARAM(1, 0)},
                                 {WM_KEYUP, 'A', MAKELPARAM(1, KF_UP | KF_REPEAT)}}},
                      InputCase{"ArrowKeyHasNoCharacter",
                                [](QWidget* w) { QTest::keyPress(w, Qt::Key_Left); },
                                {{WM_KEYDOWN, VK_LEFT, MAKELPARAM(1, 0)}}},
                      InputCase{"DoubleClick",
                                [](QWidget* w) {
                                    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier,
                                                       QPoint(3, 4));
                                },
                                {{WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 4)}}},
                      InputCase{"Resize",
                                [](QWidget* w) { w->resize(300, 90); },
                                {{WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 90)}}},
                      InputCase{"WheelDown",
                                [](QWidget* w) {
                                    QWheelEvent e(QPointF(5, 6), QPointF(50, 60), QPoint(),
                                                  QPoint(0, -120), Qt::NoButton,
                                                  Qt::ControlModifier, Qt::NoScrollPhase, false);
                                    QApplication::sendEvent(w, &e);
                                },
                                {{WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-120)),
                                  MAKELPARAM(50, 60)}}},
                      InputCase{"FocusInAndOut",
                                [](QWidget* w) {
                                    QFocusEvent in(QEvent::FocusIn);
                                    QApplication::sendEvent(w, &in);
                                    QFocusEvent out(QEvent::FocusOut);
                                    QApplication::sendEvent(w, &out);
                                },
                                {{WM_SETFOCUS, 0, 0}, {WM_KILLFOCUS, 0, 0}}},
                      InputCase{"Activation",
                                [](QWidget* w) {
                                    QEvent on(QEvent::WindowActivate);
                                    QApplication::sendEvent(w, &on);
                                    QEvent off(QEvent::WindowDeactivate);
                                    QApplication::sendEvent(w, &off);
                                },
                                {{WM_ACTIVATE, WA_ACTIVE, 0}, {WM_ACTIVATE, WA_INACTIVE, 0}}},
                      InputCase{"Paint",
                                [](QWidget* w) {
                                    QPaintEvent e(QRect(1, 2, 3, 4));
                                    QApplication::sendEvent(w, &e);
                                },
                                {{WM_PAINT, 0, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Erases blue and paints a red square through the device contexts it is given.
class CPainterWnd : public CWnd {
public:
    CRect m_paintRect;

protected:
    BOOL OnEraseBkgnd(CDC* pDC) {
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(client, RGB(0, 0, 255));
        return TRUE;
    }
    void OnPaint() {
        CPaintDC dc(this);
        m_paintRect = dc.m_ps.rcPaint;
        dc.FillSolidRect(10, 10, 5, 5, RGB(255, 0, 0));
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPainterWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(WndTest, PaintErasesThenPaintsThroughDeviceContextsOnTheWidget) {
    CPainterWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "p", 0, CRect(0, 0, 40, 30), nullptr, 0));
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    wnd.GetQWidget()->render(&image);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(39, 29), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(14, 14), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(15, 15), qRgb(0, 0, 255));
    EXPECT_EQ(wnd.m_paintRect, CRect(0, 0, 40, 30));
    EXPECT_TRUE(wnd.GetPaintRegion().isEmpty());
}

// Counts its paints and keeps the area of the last one.
class CCountingPaintWnd : public CWnd {
public:
    int m_paints = 0;
    CRect m_lastPaint;

protected:
    void OnPaint() {
        CPaintDC dc(this);
        ++m_paints;
        m_lastPaint = dc.m_ps.rcPaint;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCountingPaintWnd, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

// Redrawing at once paints, before it returns, what it invalidates and whatever else of the
// window waited for a paint; the event loop then paints nothing of it a second time.
TEST_F(WndTest, RedrawWindowPaintsEveryWaitingAreaOnceBeforeReturning) {
    const CRect inside(5, 6, 15, 16);
    const CRect outside(60, 60, 70, 70);
    const QRegion region = QRegion(2, 3, 4, 5) + QRegion(20, 3, 4, 5);
    const struct {
        const char* name;
        const CRect* rect;
        const QRegion* region;
        UINT flags;
        int paintsBefore;  // of the redrawn window, before the event loop runs
        CRect painted;
        int waitingBefore;  // of the sibling invalidated beforehand
    } cases[] = {
        {"rectangle", &inside, nullptr, RDW_INVALIDATE | RDW_UPDATENOW, 1, inside, 1},
        {"whole window", nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW, 1, {0, 0, 40, 30}, 1},
        {"region", nullptr, &region, RDW_INVALIDATE | RDW_UPDATENOW, 1, {2, 3, 24, 8}, 1},
        {"nothing of it on the window",
         &outside,
         nullptr,
         RDW_INVALIDATE | RDW_UPDATENOW,
         0,
         {},
         1},
        {"invalidate only", &inside, nullptr, RDW_INVALIDATE, 0, inside, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CWnd top;
        ASSERT_TRUE(top.Create(nullptr, "top", WS_VISIBLE, CRect(0, 0, 100, 40), nullptr, 0));
        CCountingPaintWnd redrawn;
        CCountingPaintWnd waiting;
        ASSERT_TRUE(redrawn.Create(nullptr, "redrawn", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 30),
                                   &top, 1));
        ASSERT_TRUE(waiting.Create(nullptr, "waiting", WS_CHILD | WS_VISIBLE, CRect(50, 0, 90, 30),
                                   &top, 2));
        ASSERT_TRUE(PumpUntil([&] { return redrawn.m_paints > 0 && waiting.m_paints > 0; }));
        QCoreApplication::processEvents();
        redrawn.m_paints = 0;
        waiting.m_paints = 0;

        waiting.InvalidateRect(nullptr);
        redrawn.RedrawWindow(c.rect, c.region, c.flags);
        EXPECT_EQ(redrawn.m_paints, c.paintsBefore);
        EXPECT_EQ(waiting.m_paints, c.waitingBefore);
        if (c.paintsBefore > 0) {
            EXPECT_EQ(redrawn.m_lastPaint, c.painted);
        }

        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        EXPECT_EQ(redrawn.m_paints, c.painted.IsRectEmpty() ? 0 : 1);
        EXPECT_EQ(waiting.m_paints, 1);
        if (!c.painted.IsRectEmpty()) {
            EXPECT_EQ(redrawn.m_lastPaint, c.painted);
        }
        redrawn.DestroyWindow();
        waiting.DestroyWindow();
        top.DestroyWindow();
    }
}

TEST_F(WndTest, ContextMenuNamesTheWindowAndTheScreenPointOrMinusOneForTheKeyboard) {
    QContextMenuEvent mouse(QContextMenuEvent::Mouse, QPoint(1, 2), QPoint(-20, 30));
    QApplication::sendEvent(m_wnd.GetQWidget(), &mouse);
    QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, QPoint(1, 1), QPoint(11, 11));
    QApplication::sendEvent(m_wnd.GetQWidget(), &keyboard);
    const auto hWnd = reinterpret_cast<WPARAM>(m_wnd.GetSafeHwnd());
    EXPECT_EQ(m_wnd.received, (std::vector<Received>{{WM_CONTEXTMENU, hWnd, Pack(-20, 30)},
                                                     {WM_CONTEXTMENU, hWnd, Pack(-1, -1)}}));
}

struct TimerCase {
    const char* name;
    std::vector<std::pair<UINT_PTR, UINT>> timers;  // SetTimer calls in order
    UINT_PTR expectTicking;
    std::vector<UINT_PTR> expectSilent;
};

class TimerTest : public WndTest, public ::testing::WithParamInterface<TimerCase> {};

TEST_P(TimerTest, EachIdHasOneTimerWithItsLatestPeriod) {
    const TimerCase& c = GetParam();
    for (auto [id, ms] : c.timers)
        EXPECT_EQ(m_wnd.SetTimer(id, ms), id);
    ASSERT_TRUE(PumpUntil([&] { return !m_wnd.Of(WM_TIMER).empty(); }));
    for (const Received& r : m_wnd.Of(WM_TIMER)) {
        EXPECT_EQ(r.wParam, c.expectTicking);
        for (UINT_PTR silent : c.expectSilent)
            EXPECT_NE(r.wParam, silent);
    }
    // One timer per id: killing it once succeeds, a second time finds none.
    EXPECT_TRUE(m_wnd.KillTimer(c.expectTicking));
    EXPECT_FALSE(m_wnd.KillTimer(c.expectTicking));
}

constexpr UINT kHour = 3600 * 1000;

INSTANTIATE_TEST_SUITE_P(
    Cases, TimerTest,
    ::testing::Values(TimerCase{"ResetShortensPeriod", {{7, kHour}, {7, 0}}, 7, {}},
                      TimerCase{"ResetLengthensPeriod", {{8, 0}, {8, kHour}, {9, 0}}, 9, {8}},
                      TimerCase{"IdsAreIndependent", {{1, kHour}, {2, 10}}, 2, {1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WndTest, TimerStopsWhenKilledInItsHandlerOrWithItsWindow) {
    m_wnd.killTimerOnTick = 3;
    m_wnd.SetTimer(3, 10);
    ASSERT_TRUE(PumpUntil([&] { return !m_wnd.Of(WM_TIMER).empty(); }));
    EXPECT_FALSE(m_wnd.KillTimer(3));

    m_wnd.SetTimer(4, 10);
    m_wnd.DestroyWindow();
    m_wnd.received.clear();
    int passes = 0;
    PumpUntil([&] { return ++passes > 5; });
    EXPECT_TRUE(m_wnd.Of(WM_TIMER).empty());
    EXPECT_FALSE(m_wnd.KillTimer(4));
}

TEST_F(WndTest, ChildrenAreFoundByIdAndWalkedInZOrder) {
    CWnd a, b, c, grandchild;
    ASSERT_TRUE(a.Create(nullptr, "a", WS_CHILD, CRect(0, 0, 10, 10), &m_wnd, 101));
    ASSERT_TRUE(b.Create(nullptr, "b", WS_CHILD, CRect(0, 0, 10, 10), &m_wnd, 102));
    ASSERT_TRUE(c.Create(nullptr, "c", WS_CHILD, CRect(0, 0, 10, 10), &m_wnd, 103));
    ASSERT_TRUE(grandchild.Create(nullptr, "g", WS_CHILD, CRect(0, 0, 5, 5), &b, 201));

    EXPECT_EQ(m_wnd.GetDlgItem(102), &b);
    EXPECT_EQ(m_wnd.GetDlgItem(201), nullptr);
    EXPECT_EQ(m_wnd.GetDescendantWindow(201), &grandchild);
    EXPECT_EQ(grandchild.GetDlgCtrlID(), 201);
    EXPECT_EQ(grandchild.GetParent(), &b);
    EXPECT_EQ(grandchild.GetTopLevelParent(), &m_wnd);
    EXPECT_EQ(m_wnd.GetParent(), nullptr);

    // The last created is on top.
    EXPECT_EQ(m_wnd.GetTopWindow(), &c);
    EXPECT_EQ(c.GetNextWindow(), &b);
    EXPECT_EQ(a.GetNextWindow(), nullptr);
    a.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(m_wnd.GetTopWindow(), &a);
    a.SetWindowPos(&c, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(c.GetNextWindow(), &a);
    EXPECT_EQ(b.GetWindow(GW_HWNDLAST), &b);
    b.SetWindowPos(&CWnd::wndBottom, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(b.GetWindow(GW_HWNDLAST), &b);
    EXPECT_EQ(b.GetWindow(GW_HWNDPREV), &a);
}

TEST_F(WndTest, LookupsByIdFollowIdChangesDestructionAndNewParents) {
    CWnd a, b, other;
    ASSERT_TRUE(a.Create(nullptr, "a", WS_CHILD, CRect(0, 0, 10, 10), &m_wnd, 101));
    ASSERT_TRUE(b.Create(nullptr, "b", WS_CHILD, CRect(0, 0, 10, 10), &m_wnd, 102));
    ASSERT_TRUE(other.Create(nullptr, "o", WS_VISIBLE, CRect(0, 0, 50, 50), nullptr, 0));

    EXPECT_EQ(b.SetDlgCtrlID(105), 102);
    EXPECT_EQ(b.GetDlgCtrlID(), 105);
    EXPECT_EQ(m_wnd.GetDlgItem(102), nullptr);
    EXPECT_EQ(m_wnd.GetDlgItem(105), &b);
    // Two children with one id: the upper one answers.
    EXPECT_EQ(a.SetDlgCtrlID(105), 101);
    EXPECT_EQ(m_wnd.GetDlgItem(105), &b);
    a.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(m_wnd.GetDlgItem(105), &a);

    // A destroyed window is gone at once, before Qt deletes its widget.
    a.DestroyWindow();
    EXPECT_EQ(m_wnd.GetDlgItem(105), &b);
    b.SetParent(&other);
    EXPECT_EQ(m_wnd.GetDlgItem(105), nullptr);
    EXPECT_EQ(other.GetDlgItem(105), &b);
    b.DestroyWindow();
    EXPECT_EQ(other.GetDlgItem(105), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(other.GetDlgItem(105), nullptr);

    // Widgets marked only by their properties (by another module's copy of the framework)
    // are taken as marked.
    auto* marked = new QWidget(other.GetQWidget());
    marked->setProperty("rmCtrlId", 300);
    auto* gone = new QWidget(other.GetQWidget());
    gone->setProperty("rmCtrlId", 301);
    gone->setProperty("rmDestroyed", true);
    CWnd* found = other.GetDlgItem(300);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->GetQWidget(), marked);
    EXPECT_EQ(found->GetDlgCtrlID(), 300);
    EXPECT_EQ(other.GetDlgItem(301), nullptr);
    // Marked again here, it keeps what it had.
    SetNonClientWidget(gone);
    EXPECT_EQ(other.GetDlgItem(301), nullptr);
    EXPECT_EQ(found->SetDlgCtrlID(302), 300);
    EXPECT_EQ(other.GetDlgItem(300), nullptr);
    EXPECT_EQ(other.GetDlgItem(302), found);
    EXPECT_EQ(marked->property("rmCtrlId").toInt(), 302);
}

TEST_F(WndTest, GeometryIsInClientAndScreenCoordinates) {
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "c", WS_CHILD, CRect(20, 30, 70, 60), &m_wnd, 1));
    CRect client;
    child.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 50, 30));

    CPoint p(3, 4);
    child.ClientToScreen(&p);
    CPoint back = p;
    m_wnd.ScreenToClient(&back);
    EXPECT_EQ(back, CPoint(23, 34));
    child.ScreenToClient(&p);
    EXPECT_EQ(p, CPoint(3, 4));

    CRect window;
    child.GetWindowRect(&window);
    m_wnd.ScreenToClient(&window);
    EXPECT_EQ(window, CRect(20, 30, 70, 60));

    child.SetWindowPos(nullptr, 1, 2, 99, 99, SWP_NOZORDER | SWP_NOSIZE);
    child.GetWindowRect(&window);
    m_wnd.ScreenToClient(&window);
    EXPECT_EQ(window, CRect(1, 2, 51, 32));
    child.MoveWindow(5, 6, 7, 8);
    child.GetWindowRect(&window);
    m_wnd.ScreenToClient(&window);
    EXPECT_EQ(window, CRect(5, 6, 12, 14));
}

TEST_F(WndTest, TextVisibilityAndEnableFollowTheWidget) {
    m_wnd.SetWindowText("Vidra Player");
    EXPECT_EQ(m_wnd.GetWindowText(), "Vidra Player");
    EXPECT_EQ(m_wnd.GetQWidget()->windowTitle(), "Vidra Player");
    EXPECT_TRUE(m_wnd.GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(m_wnd.ShowWindow(SW_HIDE));
    EXPECT_FALSE(m_wnd.IsWindowVisible());
    EXPECT_FALSE(m_wnd.ShowWindow(SW_SHOW));
    EXPECT_FALSE(m_wnd.EnableWindow(FALSE));
    EXPECT_TRUE(m_wnd.GetStyle() & WS_DISABLED);
    EXPECT_TRUE(m_wnd.EnableWindow(TRUE));
    EXPECT_TRUE(m_wnd.IsWindowEnabled());
}

// A parent that answers WM_MOUSEACTIVATE as told and records the questions.
class CActivationParent : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    LRESULT answer = 0;
    std::vector<Received> asked;

    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam) {
        asked.push_back({WM_MOUSEACTIVATE, wParam, lParam});
        return answer;
    }
};

BEGIN_MESSAGE_MAP(CActivationParent, CWnd)
ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
END_MESSAGE_MAP()

struct ActivationCase {
    const char* name;
    LRESULT parentAnswer;
    bool clickArrives;
};

class MouseActivateTest : public WndTest, public ::testing::WithParamInterface<ActivationCase> {};

TEST_P(MouseActivateTest, PressAsksTheParentsFirstAndAnEatingAnswerDropsIt) {
    const ActivationCase& c = GetParam();
    CActivationParent parent;
    ASSERT_TRUE(
        parent.Create(nullptr, "parent", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 80), &m_wnd, 1));
    CProbeWnd child;
    ASSERT_TRUE(
        child.Create(nullptr, "child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 40), &parent, 2));
    parent.answer = c.parentAnswer;
    child.received.clear();

    QTest::mousePress(child.GetQWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    // The question names the top-level window, the hit-test code and the button message.
    EXPECT_EQ(parent.asked,
              (std::vector<Received>{{WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_wnd.m_hWnd),
                                      MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)}}));
    EXPECT_EQ(child.Of(WM_LBUTTONDOWN).size(), c.clickArrives ? 1u : 0u);
    // Releases and double clicks do not ask again.
    QTest::mouseRelease(child.GetQWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    EXPECT_EQ(parent.asked.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MouseActivateTest,
    ::testing::Values(ActivationCase{"NoOpinion", 0, true},
                      ActivationCase{"Activate", MA_ACTIVATE, true},
                      ActivationCase{"ActivateAndEat", MA_ACTIVATEANDEAT, false},
                      ActivationCase{"NoActivate", MA_NOACTIVATE, true},
                      ActivationCase{"NoActivateAndEat", MA_NOACTIVATEANDEAT, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WndTest, NonClientWidgetsAreNoChildWindows) {
    CWnd a;
    ASSERT_TRUE(a.Create(nullptr, "a", WS_CHILD, CRect(0, 0, 10, 10), &m_wnd, 101));
    // Made last, so it would be on top of the children.
    auto* titleBar = new QWidget(m_wnd.GetQWidget());
    SetNonClientWidget(titleBar);
    titleBar->setProperty("rmCtrlId", 101);

    EXPECT_EQ(m_wnd.GetTopWindow(), &a);
    EXPECT_EQ(a.GetWindow(GW_HWNDFIRST), &a);
    EXPECT_EQ(a.GetNextWindow(), nullptr);
    EXPECT_EQ(m_wnd.GetDlgItem(101), &a);
    EXPECT_EQ(CWnd::FromWidget(titleBar), nullptr);
}

TEST_F(WndTest, ChildWindowMinimisesMaximisesAndRestoresInsideItsParent) {
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "c", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &m_wnd, 1));
    const struct {
        int show;
        BOOL iconic;
        BOOL zoomed;
    } steps[] = {{SW_MINIMIZE, TRUE, FALSE},      {SW_RESTORE, FALSE, FALSE},
                 {SW_SHOWMAXIMIZED, FALSE, TRUE}, {SW_SHOWNORMAL, FALSE, FALSE},
                 {SW_SHOWMINIMIZED, TRUE, FALSE}, {SW_SHOW, TRUE, FALSE},
                 {SW_RESTORE, FALSE, FALSE}};
    for (const auto& step : steps) {
        child.ShowWindow(step.show);
        EXPECT_EQ(child.IsIconic(), step.iconic) << step.show;
        EXPECT_EQ(child.IsZoomed(), step.zoomed) << step.show;
        EXPECT_TRUE(child.IsWindowVisible()) << step.show;
    }
}

}  // namespace
