#include "shell/ViewChildedFrame.h"
#include "shell/ViewChildedFrameM.h"

#include "platform/framework/Document.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/View.h"
#include "shell/DlgOptionsBase.h"
#include "shell/MainFrame.h"
#include "shell/PlaceholderFrame.h"
#include "shell/PlaceholderView.h"
#include "shell/VidraApp.h"
#include "testsupport/IsolatedTest.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>

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

}  // namespace
