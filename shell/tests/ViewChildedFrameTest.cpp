#include "shell/ViewChildedFrame.h"
#include "shell/ViewChildedFrameM.h"

#include "platform/framework/Document.h"
#include "platform/framework/Menu.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/View.h"
#include "shell/DlgOptionsBase.h"
#include "shell/HostedFrameWidget.h"
#include "shell/MainFrame.h"
#include "shell/PlaceholderFrame.h"
#include "shell/PlaceholderView.h"
#include "shell/VidraApp.h"
#include "testsupport/IsolatedTest.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>

#include <utility>
#include <vector>

namespace {

// A hosting view that answers may-close as told and records what its frames tell it.
class CTestHostView : public CView {
    DECLARE_MESSAGE_MAP()

public:
    void OnDraw(CDC*) override {}

    LRESULT OnMayClose(WPARAM wParam, LPARAM) {
        asked.push_back(reinterpret_cast<HWND>(wParam));
        ++s_asksInAll;
        return answer;
    }
    LRESULT OnActivated(WPARAM wParam, LPARAM lParam) {
        activated.emplace_back(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    }

    // Outlives hosts that went with the main frame.
    static inline int s_asksInAll = 0;
    LRESULT answer = 1;
    std::vector<HWND> asked;
    std::vector<std::pair<HWND, LPARAM>> activated;
};

BEGIN_MESSAGE_MAP(CTestHostView, CView)
ON_MESSAGE(WM_CHILDED_MAYCLOSE, OnMayClose)
ON_MESSAGE(WM_CHILDED_ACTIVATED, OnActivated)
END_MESSAGE_MAP()

// A group document whose closing closes one hosted frame the way a group closes its members.
class CTestGroupDoc : public CDocument {
    DECLARE_DYNCREATE(CTestGroupDoc)

public:
    void OnCloseDocument() override {
        if (s_member)
            s_member->SendMessage(WM_CLOSE);
        CDocument::OnCloseDocument();
    }
    static inline CWnd* s_member = nullptr;
};

IMPLEMENT_DYNCREATE(CTestGroupDoc, CDocument)

class ViewChildedFrameTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        // The main frame saves its options there when it goes.
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
        m_main = new CMainFrame;
        ASSERT_TRUE(m_main->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app.m_pMainWnd = m_main;
    }

    void TearDown() override {
        CTestGroupDoc::s_member = nullptr;
        if (m_app.m_pMainWnd == m_main)
            m_main->DestroyWindow();
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }

    CTestHostView* MakeHost(CWnd* parent) {
        auto* host = new CTestHostView;
        EXPECT_TRUE(host->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200),
                                 parent, 1));
        return host;
    }

    template <class Frame>
    Frame* MakeFrame(CTestHostView* host) {
        auto* frame = new Frame;
        EXPECT_TRUE(frame->LoadFrame(0, WS_OVERLAPPEDWINDOW));
        CViewChildedFrame::AttachToParentView(host, frame);
        return frame;
    }

    static bool Alive(const std::weak_ptr<bool>& token) { return !token.expired(); }

    CVidraApp m_app{QStringLiteral("Vidra Player")};
    CMainFrame* m_main = nullptr;
};

TEST_F(ViewChildedFrameTest, SerialNumbersFollowCreationOrder) {
    CViewChildedFrame first;
    CViewChildedFrameM second;
    CViewChildedFrame third;
    EXPECT_EQ(second.GetSerialNumber(), first.GetSerialNumber() + 1);
    EXPECT_EQ(third.GetSerialNumber(), first.GetSerialNumber() + 2);
}

TEST_F(ViewChildedFrameTest, AttachingReparentsAndRemembersTheView) {
    CTestHostView* host = MakeHost(m_main);
    auto* frame = new CViewChildedFrame;
    ASSERT_TRUE(frame->LoadFrame(0, WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(CViewChildedFrame::AttachToParentView(host, frame), nullptr);
    EXPECT_EQ(frame->GetParent(), host);
    EXPECT_EQ(frame->GetParentView(), host);
    EXPECT_EQ(CViewChildedFrame::AttachToParentView(nullptr, frame), host);
    EXPECT_EQ(frame->GetParent(), nullptr);
    EXPECT_EQ(frame->GetParentView(), nullptr);
    frame->DestroyWindow();
}

TEST_F(ViewChildedFrameTest, RefusedCloseKeepsTheFrameAndAsksAgain) {
    CTestHostView* host = MakeHost(m_main);
    auto* frame = MakeFrame<CViewChildedFrame>(host);
    const auto token = frame->GetLifeToken();
    const HWND handle = frame->GetSafeHwnd();

    host->answer = 0;
    frame->SendMessage(WM_CLOSE);
    ASSERT_TRUE(Alive(token));
    EXPECT_FALSE(frame->IsClosePending());
    // Any answer other than 1 refuses.
    host->answer = 2;
    frame->SendMessage(WM_CLOSE);
    ASSERT_TRUE(Alive(token));

    host->answer = 1;
    frame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(Alive(token));
    EXPECT_EQ(host->asked, (std::vector<HWND>{handle, handle, handle}));
}

// A document whose user keeps it open ("Save changes" answered Cancel) while told to.
class CKeptDoc : public CDocument {
public:
    BOOL CanCloseFrame(CFrameWnd*) override {
        ++asked;
        return keep ? FALSE : TRUE;
    }
    bool keep = true;
    int asked = 0;
};

class CPlainView : public CView {
public:
    void OnDraw(CDC*) override {}
};

TEST_F(ViewChildedFrameTest, ACloseTheUserCancelledLeavesTheCloseButtonWorking) {
    CTestHostView* host = MakeHost(m_main);
    auto* frame = MakeFrame<CViewChildedFrame>(host);
    CKeptDoc doc;
    doc.m_bAutoDelete = FALSE;
    auto* view = new CPlainView;
    ASSERT_TRUE(view->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), frame,
                             AFX_IDW_PANE_FIRST));
    doc.AddView(view);
    frame->SetActiveView(view, FALSE);
    const auto token = frame->GetLifeToken();

    // The host allows it, the document's user keeps it: the next press asks both again.
    frame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(Alive(token));
    EXPECT_FALSE(frame->IsClosePending());
    frame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(Alive(token));
    EXPECT_EQ(host->asked.size(), 2u);
    EXPECT_EQ(doc.asked, 2);

    doc.keep = false;
    frame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(Alive(token));
    EXPECT_EQ(doc.asked, 3);
    // The document lives on this stack: its frame must not outlast the test.
    if (Alive(token))
        frame->DestroyWindow();
}

// A host that closes the frame again while being asked is not asked a second time.
class CReenteringHostView : public CTestHostView {
    DECLARE_MESSAGE_MAP()

public:
    LRESULT OnMayCloseAgain(WPARAM wParam, LPARAM lParam) {
        OnMayClose(wParam, lParam);
        if (asked.size() == 1)
            CWnd::FromHandle(reinterpret_cast<HWND>(wParam))->SendMessage(WM_CLOSE);
        return 0;
    }
};

BEGIN_MESSAGE_MAP(CReenteringHostView, CTestHostView)
ON_MESSAGE(WM_CHILDED_MAYCLOSE, OnMayCloseAgain)
END_MESSAGE_MAP()

TEST_F(ViewChildedFrameTest, PendingCloseIsNotAskedTwice) {
    auto* host = new CReenteringHostView;
    ASSERT_TRUE(host->Create(nullptr, QString(), WS_CHILD, CRect(0, 0, 10, 10), m_main, 1));
    auto* frame = MakeFrame<CViewChildedFrame>(host);
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(host->asked.size(), 1u);
    EXPECT_FALSE(frame->IsClosePending());
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(host->asked.size(), 2u);
    frame->DestroyWindow();
}

TEST_F(ViewChildedFrameTest, ClosesWithoutAskingWhenNobodyCanBeAsked) {
    // No parent window.
    auto* loose = new CViewChildedFrame;
    ASSERT_TRUE(loose->LoadFrame(0, WS_OVERLAPPEDWINDOW));
    auto looseToken = loose->GetLifeToken();
    loose->SendMessage(WM_CLOSE);
    EXPECT_FALSE(Alive(looseToken));

    // No main window.
    CTestHostView* host = MakeHost(m_main);
    host->answer = 0;
    auto* frame = MakeFrame<CViewChildedFrame>(host);
    auto token = frame->GetLifeToken();
    m_app.m_pMainWnd = nullptr;
    frame->SendMessage(WM_CLOSE);
    m_app.m_pMainWnd = m_main;
    EXPECT_FALSE(Alive(token));
    EXPECT_TRUE(host->asked.empty());
}

TEST_F(ViewChildedFrameTest, MainFrameClosingClosesMembersWithoutAsking) {
    m_app.AddDocTemplateWithKey("DT:Group", new CMultiDocTemplate(134, RUNTIME_CLASS(CTestGroupDoc),
                                                                  RUNTIME_CLASS(CPlaceholderFrame),
                                                                  RUNTIME_CLASS(CPlaceholderView)));
    ASSERT_NE(m_app.CreateDocumentByKey("DT:Group", QString(), TRUE), nullptr);
    CTestHostView* host = MakeHost(m_main);
    host->answer = 0;
    auto* frame = MakeFrame<CViewChildedFrame>(host);
    auto token = frame->GetLifeToken();
    CTestGroupDoc::s_member = frame;
    const int asksBefore = CTestHostView::s_asksInAll;

    m_main->SendMessage(WM_CLOSE);
    EXPECT_FALSE(Alive(token));
    EXPECT_EQ(CTestHostView::s_asksInAll, asksBefore);
}

TEST_F(ViewChildedFrameTest, ActivationReachesHostsThroughNesting) {
    // main frame > outer host > outer frame > inner host > inner frame
    CTestHostView* outerHost = MakeHost(m_main);
    auto* outer = MakeFrame<CViewChildedFrame>(outerHost);
    CTestHostView* innerHost = MakeHost(outer);
    auto* inner = MakeFrame<CViewChildedFrame>(innerHost);

    inner->SendMessage(WM_CHILDACTIVATE);
    using Seen = std::vector<std::pair<HWND, LPARAM>>;
    EXPECT_EQ(innerHost->activated, (Seen{{inner->GetSafeHwnd(), 10}}));
    EXPECT_TRUE(outerHost->activated.empty());

    // A click asks up the chain of parents, and every hosted frame on the way tells its host.
    innerHost->activated.clear();
    const LRESULT result = inner->SendMessage(WM_MOUSEACTIVATE, 0, 0);
    EXPECT_EQ(result, MA_ACTIVATE);
    EXPECT_EQ(innerHost->activated, (Seen{{inner->GetSafeHwnd(), 20}}));
    EXPECT_EQ(outerHost->activated, (Seen{{outer->GetSafeHwnd(), 20}}));
    outer->DestroyWindow();
}

TEST_F(ViewChildedFrameTest, WindowCommandsOfTheHiddenStartingFrame) {
    CTestHostView* host = MakeHost(m_main);
    auto* frame = MakeFrame<CViewChildedFrameM>(host);
    auto token = frame->GetLifeToken();
    EXPECT_FALSE(frame->IsWindowVisible());

    frame->ShowWindow(SW_SHOW);
    Prompter().ExpectMessageBox("Active window copied to clipboard.", IDOK);
    frame->SendMessage(WM_COMMAND, ID_EDIT_COPY_ACTIVE_WINDOW);
    EXPECT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_FALSE(QGuiApplication::clipboard()->pixmap().isNull());

    // Closing goes through the host's negotiation once the posted close arrives.
    host->answer = 0;
    frame->SendMessage(WM_COMMAND, ID_WINDOW_CLOSE_ACTIVE_WINDOW);
    EXPECT_TRUE(host->asked.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(host->asked.size(), 1u);
    EXPECT_TRUE(Alive(token));
    host->answer = 1;
    frame->SendMessage(WM_COMMAND, ID_WINDOW_CLOSE_ACTIVE_WINDOW);
    QCoreApplication::processEvents();
    EXPECT_FALSE(Alive(token));
}

// The hosted window of a frame, shown inside its host.
CHostedFrameWidget* Hosted(CWnd* frame) {
    return dynamic_cast<CHostedFrameWidget*>(frame->GetQWidget());
}

void ClickTitleBar(CWnd* frame, QStyle::SubControl button = QStyle::SC_TitleBarLabel) {
    CHostedFrameWidget* widget = Hosted(frame);
    ASSERT_NE(widget, nullptr);
    QWidget* titleBar = widget->GetTitleBar();
    ASSERT_TRUE(titleBar->isVisible());
    QPoint at(titleBar->width() / 3, titleBar->height() / 2);
    if (button != QStyle::SC_TitleBarLabel) {
        const QRect r = widget->GetButtonRect(button);
        ASSERT_FALSE(r.isEmpty()) << button;
        at = r.center();
    }
    QTest::mouseClick(titleBar, Qt::LeftButton, {}, at);
}

// A mouse event with the left button held (pressed, moving) or just let go.
void SendMouse(QWidget* widget, QEvent::Type type, const QPoint& at, Qt::MouseButton button) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

class HostedFrameTest : public ViewChildedFrameTest {
protected:
    void SetUp() override {
        ViewChildedFrameTest::SetUp();
        m_main->MoveWindow(0, 0, 800, 600);
        m_main->ShowWindow(SW_SHOW);
        m_host = MakeHost(m_main);
        m_host->MoveWindow(0, 0, 600, 400);
    }

    template <class Frame>
    Frame* Place(CTestHostView* host, const CRect& rect) {
        auto* frame = MakeFrame<Frame>(host);
        frame->MoveWindow(rect);
        frame->ShowWindow(SW_SHOW);
        return frame;
    }

    CRect InHost(CWnd* frame) {
        CRect r;
        frame->GetWindowRect(&r);
        frame->GetParent()->ScreenToClient(&r);
        return r;
    }

    CTestHostView* m_host = nullptr;
};

TEST_F(HostedFrameTest, CloseButtonAsksTheHostAgainAfterARefusal) {
    auto* frame = Place<CViewChildedFrame>(m_host, CRect(10, 10, 210, 160));
    const auto token = frame->GetLifeToken();
    const HWND handle = frame->GetSafeHwnd();
    m_host->answer = 0;
    ClickTitleBar(frame, QStyle::SC_TitleBarCloseButton);
    ASSERT_TRUE(Alive(token));
    EXPECT_FALSE(frame->IsClosePending());
    ClickTitleBar(frame, QStyle::SC_TitleBarCloseButton);
    ASSERT_TRUE(Alive(token));

    m_host->answer = 1;
    ClickTitleBar(frame, QStyle::SC_TitleBarCloseButton);
    EXPECT_FALSE(Alive(token));
    EXPECT_EQ(m_host->asked, (std::vector<HWND>{handle, handle, handle}));
}

TEST_F(HostedFrameTest, MainFrameClosingTakesHostedFramesAlongUnasked) {
    m_host->answer = 0;
    auto* frame = Place<CViewChildedFrame>(m_host, CRect(10, 10, 210, 160));
    const auto token = frame->GetLifeToken();
    const int asksBefore = CTestHostView::s_asksInAll;
    m_main->SendMessage(WM_CLOSE);
    EXPECT_FALSE(Alive(token));
    EXPECT_EQ(CTestHostView::s_asksInAll, asksBefore);
}

TEST_F(HostedFrameTest, TitleBarClickActivatesThroughTwoLevelsOfNesting) {
    // main frame > outer host > outer frame > inner host > two inner frames
    auto* outer = Place<CViewChildedFrame>(m_host, CRect(0, 0, 500, 350));
    CTestHostView* innerHost = MakeHost(outer);
    innerHost->MoveWindow(10, 40, 400, 280);
    auto* lower = Place<CViewChildedFrame>(innerHost, CRect(0, 0, 200, 150));
    auto* upper = Place<CViewChildedFrame>(innerHost, CRect(50, 50, 250, 200));
    ASSERT_EQ(innerHost->GetTopWindow(), upper);

    ClickTitleBar(lower);
    using Seen = std::vector<std::pair<HWND, LPARAM>>;
    // The click asks up the chain first (every frame on the way tells its host), then the
    // clicked frame comes to the top and tells its host it is the active child.
    EXPECT_EQ(innerHost->activated,
              (Seen{{lower->GetSafeHwnd(), kChildedActivatedByMouse},
                    {lower->GetSafeHwnd(), kChildedActivatedByChildActivate}}));
    EXPECT_EQ(m_host->activated, (Seen{{outer->GetSafeHwnd(), kChildedActivatedByMouse}}));
    EXPECT_EQ(innerHost->GetTopWindow(), lower);
    EXPECT_EQ(lower->GetNextWindow(), upper);

    // A click inside the frame's content asks the same chain.
    innerHost->activated.clear();
    m_host->activated.clear();
    CTestHostView* content = MakeHost(upper);
    content->ShowWindow(SW_SHOW);
    QTest::mouseClick(content->GetQWidget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(innerHost->activated, (Seen{{upper->GetSafeHwnd(), kChildedActivatedByMouse}}));
    EXPECT_EQ(m_host->activated, (Seen{{outer->GetSafeHwnd(), kChildedActivatedByMouse}}));
}

TEST_F(HostedFrameTest, WindowRectangleIsTheWholeFrameAndDragMovesIt) {
    auto* frame = Place<CViewChildedFrame>(m_host, CRect(20, 30, 220, 180));
    EXPECT_EQ(InHost(frame), CRect(20, 30, 220, 180));
    CHostedFrameWidget* widget = Hosted(frame);
    EXPECT_EQ(widget->GetTitleBar()->geometry().top(), CHostedFrameWidget::kBorder);
    EXPECT_EQ(widget->contentsRect().top(),
              CHostedFrameWidget::kBorder + widget->GetTitleBarHeight());

    QWidget* titleBar = widget->GetTitleBar();
    const QPoint grab(titleBar->width() / 3, titleBar->height() / 2);
    SendMouse(titleBar, QEvent::MouseButtonPress, grab, Qt::LeftButton);
    SendMouse(titleBar, QEvent::MouseMove, grab + QPoint(15, 10), Qt::NoButton);
    SendMouse(titleBar, QEvent::MouseButtonRelease, grab + QPoint(15, 10), Qt::LeftButton);
    EXPECT_EQ(InHost(frame), CRect(35, 40, 235, 190));

    // As a window of its own the frame has no title bar of ours, but its menu bar.
    CMenu menu;
    ASSERT_TRUE(menu.CreateMenu());
    menu.AppendMenu(MF_STRING, 1, QStringLiteral("&File"));
    frame->SetMenu(&menu);
    CViewChildedFrame::AttachToParentView(nullptr, frame);
    EXPECT_FALSE(widget->GetTitleBar()->isVisibleTo(widget));
    EXPECT_EQ(widget->contentsRect(), widget->rect());
    ASSERT_NE(widget->menuWidget(), nullptr);
    EXPECT_TRUE(widget->menuWidget()->isVisibleTo(widget));
    CViewChildedFrame::AttachToParentView(m_host, frame);
    EXPECT_FALSE(widget->menuWidget()->isVisibleTo(widget));
    frame->DestroyWindow();
}

TEST_F(HostedFrameTest, BorderGripsResizeTheFrame) {
    auto* frame = Place<CViewChildedFrame>(m_host, CRect(20, 30, 220, 180));
    CHostedFrameWidget* widget = Hosted(frame);
    // The grips are the frame's non-client parts along its edges.
    auto gripAt = [&](const QPoint& point) -> QWidget* {
        for (QWidget* w : widget->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w != widget->GetTitleBar() && w->property("rmNonClient").toBool() &&
                w->geometry().contains(point))
                return w;
        }
        return nullptr;
    };
    const int border = CHostedFrameWidget::kBorder;
    const struct {
        QPoint grab;  // in the frame
        QPoint by;
        CRect expected;
    } drags[] = {
        {{200 - border / 2, 75}, {30, 0}, CRect(20, 30, 250, 180)},    // right edge
        {{115, 150 - border / 2}, {0, -20}, CRect(20, 30, 250, 160)},  // bottom edge
        {{border / 2, 2}, {-10, -5}, CRect(10, 25, 250, 160)},         // top-left corner
        {{240 - border / 2, 70}, {-500, 0}, CRect(10, 25, 130, 160)},  // no narrower than 120
    };
    for (const auto& drag : drags) {
        QWidget* grip = gripAt(drag.grab);
        ASSERT_NE(grip, nullptr) << drag.grab.x() << "," << drag.grab.y();
        const QPoint at = grip->mapFrom(widget, drag.grab);
        SendMouse(grip, QEvent::MouseButtonPress, at, Qt::LeftButton);
        SendMouse(grip, QEvent::MouseMove, at + drag.by, Qt::NoButton);
        SendMouse(grip, QEvent::MouseButtonRelease, at + drag.by, Qt::LeftButton);
        EXPECT_EQ(InHost(frame), drag.expected) << drag.grab.x() << "," << drag.grab.y();
    }
    // A press on the border activates like one on the title bar.
    using Seen = std::vector<std::pair<HWND, LPARAM>>;
    EXPECT_EQ(m_host->activated.back(),
              (std::pair<HWND, LPARAM>{frame->GetSafeHwnd(), kChildedActivatedByChildActivate}));
    EXPECT_EQ(m_host->activated.size(), Seen::size_type{8});
}

TEST_F(HostedFrameTest, MinimiseMaximiseAndRestoreInsideTheHost) {
    const CRect normal(20, 30, 220, 180);
    auto* frame = Place<CViewChildedFrame>(m_host, normal);
    auto* other = Place<CViewChildedFrame>(m_host, CRect(300, 30, 500, 180));
    CHostedFrameWidget* widget = Hosted(frame);
    const int captionHeight = widget->GetTitleBarHeight() + 2 * CHostedFrameWidget::kBorder;

    ClickTitleBar(frame, QStyle::SC_TitleBarMinButton);
    EXPECT_TRUE(frame->IsIconic());
    EXPECT_TRUE(frame->IsWindowVisible());
    EXPECT_EQ(InHost(frame),
              CRect(0, 400 - captionHeight, CHostedFrameWidget::kMinimizedWidth, 400));
    // A minimised frame offers restore instead of minimise, and others take the next place.
    EXPECT_TRUE(widget->GetButtonRect(QStyle::SC_TitleBarMinButton).isEmpty());
    other->ShowWindow(SW_MINIMIZE);
    EXPECT_EQ(InHost(other).left, CHostedFrameWidget::kMinimizedWidth);
    // The host still walks both in Z order; the press on its button brought the first up.
    EXPECT_EQ(m_host->GetTopWindow(), frame);
    EXPECT_EQ(frame->GetNextWindow(), other);

    ClickTitleBar(frame, QStyle::SC_TitleBarNormalButton);
    EXPECT_FALSE(frame->IsIconic());
    EXPECT_EQ(InHost(frame), normal);

    ClickTitleBar(frame, QStyle::SC_TitleBarMaxButton);
    EXPECT_TRUE(frame->IsZoomed());
    EXPECT_EQ(InHost(frame), CRect(0, 0, 600, 400));
    m_host->MoveWindow(0, 0, 640, 420);
    EXPECT_EQ(InHost(frame), CRect(0, 0, 640, 420));
    // A double click on the caption restores it.
    QWidget* titleBar = widget->GetTitleBar();
    QTest::mouseDClick(titleBar, Qt::LeftButton, {}, QPoint(titleBar->width() / 3, 5));
    EXPECT_FALSE(frame->IsZoomed());
    EXPECT_EQ(InHost(frame), normal);
}

TEST_F(HostedFrameTest, HostSetsTheActiveCaptionLook) {
    auto* frame = Place<CViewChildedFrame>(m_host, CRect(20, 30, 220, 180));
    QWidget* titleBar = Hosted(frame)->GetTitleBar();
    EXPECT_FALSE(frame->IsCaptionActive());
    const QImage inactive = titleBar->grab().toImage();
    frame->SetCaptionActive(TRUE);
    EXPECT_TRUE(frame->IsCaptionActive());
    EXPECT_NE(titleBar->grab().toImage(), inactive);
    frame->SendMessage(WM_NCACTIVATE, FALSE);
    EXPECT_FALSE(frame->IsCaptionActive());
    EXPECT_EQ(titleBar->grab().toImage(), inactive);
    frame->SendMessage(WM_NCACTIVATE, TRUE);
    EXPECT_TRUE(frame->IsCaptionActive());
}

TEST_F(HostedFrameTest, CopyActiveWindowTakesTheWholeFrameWithItsTitleBar) {
    auto* frame = Place<CViewChildedFrameM>(m_host, CRect(20, 30, 220, 180));
    Prompter().ExpectMessageBox("Active window copied to clipboard.", IDOK);
    frame->SendMessage(WM_COMMAND, ID_EDIT_COPY_ACTIVE_WINDOW);
    const QPixmap copied = QGuiApplication::clipboard()->pixmap();
    CRect window;
    frame->GetWindowRect(&window);
    EXPECT_EQ(copied.deviceIndependentSize().toSize(), QSize(window.Width(), window.Height()));
    ASSERT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(Prompter().Prompts()[0].caption, "Vidra Player");

    // A window without an image to take leaves the clipboard alone and says so.
    QGuiApplication::clipboard()->clear();
    frame->MoveWindow(20, 30, 0, 0);
    Prompter().ExpectMessageBox("Failed to copy active window to clipboard.", IDOK);
    frame->SendMessage(WM_COMMAND, ID_EDIT_COPY_ACTIVE_WINDOW);
    EXPECT_EQ(Prompter().Prompts().size(), 2u);
    EXPECT_TRUE(QGuiApplication::clipboard()->pixmap().isNull());
}

}  // namespace
