#include "platform/framework/ActionCmdUI.h"
#include "platform/framework/CmdTarget.h"
#include "platform/framework/Wnd.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QToolBar>

#include <string>
#include <vector>

// Stand-ins for the application, document template, document, view, child frame and main
// frame, chained the way the real ones route commands, each logging when its own map is
// asked and when one of its handlers runs.
namespace {

enum : UINT {
    ID_EVERYONE = 32800,
    ID_APP_ONLY,
    ID_TEMPLATE_ONLY,
    ID_DOC_ONLY,
    ID_CHILDFRAME_ONLY,
    ID_MAINFRAME_ONLY,
    ID_PLAYCONTROL_ONLY,
    ID_NOBODY,
    ID_DISABLED_BY_VIEW,
    ID_CHECKED_BY_DOC,
    ID_RANGE_FIRST = 33000,
    ID_RANGE_LAST = 33009,
    ID_EDIT_CONTROL = 1200,
};

constexpr WORD kEditChange = 0x0300;

struct Log {
    std::vector<std::string> asked;
    std::vector<std::string> handled;
};

Log* g_log = nullptr;

void Asked(const char* who, int nCode) {
    if (nCode == CN_COMMAND)
        g_log->asked.push_back(who);
}

class CTestApp : public CCmdTarget {
public:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
        Asked("app", nCode);
        return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pInfo);
    }
    void OnEveryone() { g_log->handled.push_back("app"); }
    void OnAppOnly() { g_log->handled.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestApp, CCmdTarget)
ON_COMMAND(ID_EVERYONE, OnEveryone)
ON_COMMAND(ID_APP_ONLY, OnAppOnly)
ON_COMMAND(ID_DISABLED_BY_VIEW, OnAppOnly)
END_MESSAGE_MAP()

class CTestTemplate : public CCmdTarget {
public:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
        Asked("template", nCode);
        return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pInfo);
    }
    void OnEveryone() { g_log->handled.push_back("template"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestTemplate, CCmdTarget)
ON_COMMAND(ID_EVERYONE, OnEveryone)
ON_COMMAND(ID_TEMPLATE_ONLY, OnEveryone)
END_MESSAGE_MAP()

class CTestDoc : public CCmdTarget {
public:
    CTestTemplate* m_template = nullptr;
    UINT m_lastRangeId = 0;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
        Asked("doc", nCode);
        if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pInfo))
            return TRUE;
        return m_template->OnCmdMsg(nID, nCode, pExtra, pInfo);
    }
    void OnEveryone() { g_log->handled.push_back("doc"); }
    void OnRange(UINT nID) {
        m_lastRangeId = nID;
        g_log->handled.push_back("doc");
    }
    // The range works like a group of radio items with one selected.
    void OnUpdateRange(CCmdUI* pCmdUI) { pCmdUI->SetRadio(pCmdUI->m_nID == ID_RANGE_FIRST + 2); }
    void OnUpdateChecked(CCmdUI* pCmdUI) {
        pCmdUI->SetCheck(1);
        pCmdUI->SetText("Checked by the document");
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestDoc, CCmdTarget)
ON_COMMAND(ID_EVERYONE, OnEveryone)
ON_COMMAND(ID_DOC_ONLY, OnEveryone)
ON_COMMAND(ID_CHECKED_BY_DOC, OnEveryone)
ON_UPDATE_COMMAND_UI(ID_CHECKED_BY_DOC, OnUpdateChecked)
ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
ON_UPDATE_COMMAND_UI_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnUpdateRange)
END_MESSAGE_MAP()

class CTestPlayControl : public CWnd {
public:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
        Asked("playcontrol", nCode);
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pInfo);
    }
    void OnPlayControlOnly() { g_log->handled.push_back("playcontrol"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestPlayControl, CWnd)
ON_COMMAND(ID_PLAYCONTROL_ONLY, OnPlayControlOnly)
END_MESSAGE_MAP()

// An edit control that takes its own change notification when asked to.
class CTestEdit : public CWnd {
public:
    bool m_takeNotifications = false;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT*) override {
        if (!m_takeNotifications || message != WM_COMMAND || HIWORD(wParam) != kEditChange)
            return FALSE;
        g_log->handled.push_back("edit");
        return TRUE;
    }
};

class CTestView : public CWnd {
public:
    CTestDoc* m_doc = nullptr;
    CTestPlayControl m_playControl;

    // Offers every command to the play-control window first, while it has a window.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
        if (m_playControl.GetSafeHwnd() && m_playControl.OnCmdMsg(nID, nCode, pExtra, pInfo))
            return TRUE;
        Asked("view", nCode);
        if (CWnd::OnCmdMsg(nID, nCode, pExtra, pInfo))
            return TRUE;
        return m_doc->OnCmdMsg(nID, nCode, pExtra, pInfo);
    }
    void OnEveryone() { g_log->handled.push_back("view"); }
    void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnEditChange() { g_log->handled.push_back("view"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestView, CWnd)
ON_COMMAND(ID_EVERYONE, OnEveryone)
ON_UPDATE_COMMAND_UI(ID_DISABLED_BY_VIEW, OnUpdateDisabled)
ON_CONTROL(kEditChange, ID_EDIT_CONTROL, OnEditChange)
END_MESSAGE_MAP()

class CTestChildFrame : public CWnd {
public:
    CTestView* m_activeView = nullptr;
    BOOL IsFrameWnd() const override { return TRUE; }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
        if (m_activeView && m_activeView->OnCmdMsg(nID, nCode, pExtra, pInfo))
            return TRUE;
        Asked("childframe", nCode);
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pInfo);
    }
    void OnEveryone() { g_log->handled.push_back("childframe"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestChildFrame, CWnd)
ON_COMMAND(ID_EVERYONE, OnEveryone)
ON_COMMAND(ID_CHILDFRAME_ONLY, OnEveryone)
END_MESSAGE_MAP()

class CTestMainFrame : public CWnd {
public:
    CTestChildFrame* m_activeChild = nullptr;
    CTestApp* m_app = nullptr;
    BOOL IsFrameWnd() const override { return TRUE; }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
        if (m_activeChild && m_activeChild->OnCmdMsg(nID, nCode, pExtra, pInfo))
            return TRUE;
        Asked("mainframe", nCode);
        if (CWnd::OnCmdMsg(nID, nCode, pExtra, pInfo))
            return TRUE;
        return m_app->OnCmdMsg(nID, nCode, pExtra, pInfo);
    }
    void OnEveryone() { g_log->handled.push_back("mainframe"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestMainFrame, CWnd)
ON_COMMAND(ID_EVERYONE, OnEveryone)
ON_COMMAND(ID_MAINFRAME_ONLY, OnEveryone)
END_MESSAGE_MAP()

class CmdTargetTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        g_log = &m_log;
        m_doc.m_template = &m_template;
        m_view.m_doc = &m_doc;
        m_childFrame.m_activeView = &m_view;
        m_mainFrame.m_activeChild = &m_childFrame;
        m_mainFrame.m_app = &m_app;
        ASSERT_TRUE(m_mainFrame.Create(nullptr, "main", 0, CRect(0, 0, 400, 300), nullptr, 0));
        ASSERT_TRUE(m_childFrame.Create(nullptr, "child", WS_CHILD, CRect(0, 0, 200, 200),
                                        &m_mainFrame, 1));
        ASSERT_TRUE(
            m_view.Create(nullptr, "view", WS_CHILD, CRect(0, 0, 200, 200), &m_childFrame, 2));
        ASSERT_TRUE(m_view.m_playControl.Create(nullptr, "play", WS_CHILD, CRect(0, 0, 20, 20),
                                                &m_view, 3));
    }
    void TearDown() override {
        g_log = nullptr;
        IsolatedTest::TearDown();
    }

    LRESULT Command(UINT nID) {
        return m_mainFrame.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nID), 0), 0);
    }

    Log m_log;
    CTestApp m_app;
    CTestTemplate m_template;
    CTestDoc m_doc;
    CTestView m_view;
    CTestChildFrame m_childFrame;
    CTestMainFrame m_mainFrame;
};

TEST_F(CmdTargetTest, CommandIsOfferedFromTheActiveViewToTheApplication) {
    EXPECT_EQ(Command(ID_NOBODY), 0);
    EXPECT_EQ(m_log.asked, (std::vector<std::string>{"playcontrol", "view", "doc", "template",
                                                     "childframe", "mainframe", "app"}));
    EXPECT_TRUE(m_log.handled.empty());
}

struct RouteCase {
    UINT id;
    const char* handler;
};

class CommandRouteTest : public CmdTargetTest, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(CommandRouteTest, FirstTargetWithAHandlerTakesTheCommand) {
    EXPECT_EQ(Command(GetParam().id), 1);
    EXPECT_EQ(m_log.handled, (std::vector<std::string>{GetParam().handler}));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, CommandRouteTest,
    ::testing::Values(RouteCase{ID_EVERYONE, "view"}, RouteCase{ID_PLAYCONTROL_ONLY, "playcontrol"},
                      RouteCase{ID_DOC_ONLY, "doc"}, RouteCase{ID_TEMPLATE_ONLY, "template"},
                      RouteCase{ID_CHILDFRAME_ONLY, "childframe"},
                      RouteCase{ID_MAINFRAME_ONLY, "mainframe"}, RouteCase{ID_APP_ONLY, "app"},
                      RouteCase{ID_RANGE_FIRST, "doc"}, RouteCase{ID_RANGE_LAST, "doc"}),
    [](const auto& info) { return std::to_string(info.param.id); });

TEST_F(CmdTargetTest, CommandDisabledByItsUpdateHandlerIsDropped) {
    // The application would take it, but the view's update handler disables it.
    EXPECT_EQ(Command(ID_DISABLED_BY_VIEW), 1);
    EXPECT_TRUE(m_log.handled.empty());
    // An update handler that only checks the item leaves it enabled.
    EXPECT_EQ(Command(ID_CHECKED_BY_DOC), 1);
    EXPECT_EQ(m_log.handled, (std::vector<std::string>{"doc"}));
}

TEST_F(CmdTargetTest, RangeHandlerGetsTheIdAndStopsAtItsEnds) {
    EXPECT_EQ(Command(ID_RANGE_FIRST + 5), 1);
    EXPECT_EQ(m_doc.m_lastRangeId, ID_RANGE_FIRST + 5);
    m_doc.m_lastRangeId = 0;
    EXPECT_EQ(Command(ID_RANGE_FIRST - 1), 0);
    EXPECT_EQ(Command(ID_RANGE_LAST + 1), 0);
    EXPECT_EQ(m_doc.m_lastRangeId, 0u);
}

TEST_F(CmdTargetTest, ViewWithoutItsChildWindowSkipsIt) {
    m_view.m_playControl.DestroyWindow();
    EXPECT_EQ(Command(ID_PLAYCONTROL_ONLY), 0);
    EXPECT_EQ(m_log.asked.front(), "view");
}

TEST_F(CmdTargetTest, ControlNotificationGoesToTheControlFirstThenTheParentMap) {
    CTestEdit edit;
    ASSERT_TRUE(edit.Create(nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), &m_view, ID_EDIT_CONTROL));
    const WPARAM wParam = MAKEWPARAM(ID_EDIT_CONTROL, kEditChange);
    const auto lParam = reinterpret_cast<LPARAM>(edit.GetSafeHwnd());
    EXPECT_EQ(m_view.SendMessage(WM_COMMAND, wParam, lParam), 1);
    edit.m_takeNotifications = true;
    EXPECT_EQ(m_view.SendMessage(WM_COMMAND, wParam, lParam), 1);
    EXPECT_EQ(m_log.handled, (std::vector<std::string>{"view", "edit"}));
}

TEST_F(CmdTargetTest, UpdateHandlersSetToolbarActionsAndTriggersRouteAsCommands) {
    QToolBar toolbar;
    auto add = [&](UINT id) {
        QAction* action = toolbar.addAction(QString::number(id));
        CActionCmdUI::BindCommand(action, id, &m_mainFrame);
        return action;
    };
    QAction* disabledByView = add(ID_DISABLED_BY_VIEW);
    QAction* appOnly = add(ID_APP_ONLY);
    toolbar.addSeparator();
    QAction* nobody = add(ID_NOBODY);
    QAction* checked = add(ID_CHECKED_BY_DOC);
    QAction* radioOff = add(ID_RANGE_FIRST + 1);
    QAction* radioOn = add(ID_RANGE_FIRST + 2);

    CActionCmdUI::UpdateActions(toolbar.actions(), &m_mainFrame, TRUE);

    EXPECT_FALSE(disabledByView->isEnabled());  // though the application has a handler
    EXPECT_TRUE(appOnly->isEnabled());
    EXPECT_FALSE(nobody->isEnabled());
    EXPECT_TRUE(checked->isEnabled());
    EXPECT_TRUE(checked->isChecked());
    EXPECT_EQ(checked->text(), "Checked by the document");
    EXPECT_FALSE(radioOff->isChecked());
    EXPECT_TRUE(radioOn->isChecked());

    disabledByView->trigger();
    appOnly->trigger();
    checked->trigger();
    EXPECT_EQ(m_log.handled, (std::vector<std::string>{"app", "doc"}));
}

TEST_F(CmdTargetTest, MenuItemsAreUpdatedBeforeTheMenuOpens) {
    QMenu menu;
    QAction* item = menu.addAction("item");
    CActionCmdUI::BindCommand(item, ID_DISABLED_BY_VIEW, &m_mainFrame);
    CActionCmdUI::UpdateBeforeShow(&menu, &m_mainFrame);
    EXPECT_TRUE(item->isEnabled());
    Q_EMIT menu.aboutToShow();
    EXPECT_FALSE(item->isEnabled());
}

TEST_F(CmdTargetTest, ActionOfAGoneWindowDoesNothing) {
    QAction action;
    CActionCmdUI::BindCommand(&action, ID_APP_ONLY, &m_mainFrame);
    m_mainFrame.DestroyWindow();
    action.trigger();
    EXPECT_TRUE(m_log.handled.empty());
}

}  // namespace
