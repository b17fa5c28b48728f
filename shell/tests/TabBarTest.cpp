#include "shell/TabBar.h"

#include "platform/framework/Document.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/View.h"
#include "shell/DlgOptionsBase.h"
#include "shell/MainFrame.h"
#include "shell/PlaceholderFrame.h"
#include "shell/PlaceholderView.h"
#include "shell/VidraApp.h"
#include "testsupport/IsolatedTest.h"

#include <QImage>
#include <QMdiArea>
#include <QTabBar>
#include <QTest>

#include <vector>

namespace {

class CTabTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTabTestDoc)
};

IMPLEMENT_DYNCREATE(CTabTestDoc, CDocument)

class TabBarTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
        m_app.AddDocTemplateWithKey(
            "DT:Tab",
            new CMultiDocTemplate(134, RUNTIME_CLASS(CTabTestDoc), RUNTIME_CLASS(CPlaceholderFrame),
                                  RUNTIME_CLASS(CPlaceholderView)));
        m_main = new CMainFrame;
        ASSERT_TRUE(m_main->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app.m_pMainWnd = m_main;
        m_main->MoveWindow(0, 0, 800, 600);
        m_main->ShowWindow(SW_SHOW);
    }

    void TearDown() override {
        if (m_app.m_pMainWnd == m_main)
            m_main->DestroyWindow();
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }

    // Opens a document window titled title; returns its frame.
    CMDIChildWnd* Open(const QString& title) {
        CDocument* doc = m_app.CreateDocumentByKey("DT:Tab", QString(), TRUE);
        EXPECT_NE(doc, nullptr);
        if (!doc)
            return nullptr;
        doc->SetTitle(title);
        POSITION pos = doc->GetFirstViewPosition();
        return dynamic_cast<CMDIChildWnd*>(doc->GetNextView(pos)->GetParentFrame());
    }

    CTabBar& Bar() { return m_main->GetTabBar(); }

    std::vector<HWND> TabWindows() {
        std::vector<HWND> windows;
        for (int i = 0; i < Bar().GetTabCtrl().GetItemCount(); ++i)
            windows.push_back(Bar().GetTabWindow(i));
        return windows;
    }

    QStringList TabTexts() {
        QStringList texts;
        for (int i = 0; i < Bar().GetTabCtrl().GetItemCount(); ++i)
            texts << Bar().GetTabCtrl().GetItemText(i);
        return texts;
    }

    void Idle() { m_app.OnIdle(0); }

    CVidraApp m_app{QStringLiteral("Vidra Player")};
    CMainFrame* m_main = nullptr;
};

TEST_F(TabBarTest, TabsFollowCreationOrderAndLoseExactlyTheClosedWindow) {
    CMDIChildWnd* a = Open("a");
    CMDIChildWnd* b = Open("b");
    CMDIChildWnd* c = Open("c");
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(TabWindows(),
              (std::vector<HWND>{a->GetSafeHwnd(), b->GetSafeHwnd(), c->GetSafeHwnd()}));
    // Activating another window leaves the order alone.
    a->MDIActivate();
    EXPECT_EQ(TabWindows().front(), a->GetSafeHwnd());

    const HWND middle = b->GetSafeHwnd();
    b->SendMessage(WM_CLOSE);
    EXPECT_EQ(TabWindows(), (std::vector<HWND>{a->GetSafeHwnd(), c->GetSafeHwnd()}));
    EXPECT_FALSE(IsWindow(middle));
    Idle();
    EXPECT_EQ(TabTexts(), (QStringList{"a", "c"}));
}

TEST_F(TabBarTest, TitlesReachTheTabsAtIdleTimeWhileTheFrameIsShown) {
    CMDIChildWnd* a = Open("first");
    ASSERT_TRUE(a);
    // The text comes with the refresh, not with the tab.
    EXPECT_EQ(TabTexts(), QStringList{QString()});
    Idle();
    EXPECT_EQ(TabTexts(), QStringList{"first"});

    a->GetActiveDocument()->SetTitle("renamed");
    EXPECT_EQ(TabTexts(), QStringList{"first"});
    // A hidden or minimised main window is not refreshed.
    const struct {
        int show;
        const char* expected;
    } steps[] = {{SW_HIDE, "first"}, {SW_MINIMIZE, "first"}, {SW_RESTORE, "renamed"}};
    for (const auto& step : steps) {
        m_main->ShowWindow(step.show);
        Idle();
        EXPECT_EQ(TabTexts(), QStringList{step.expected}) << step.show;
    }
}

TEST_F(TabBarTest, ClickingATabActivatesItsWindowAndActivationSelectsTheTab) {
    CMDIChildWnd* a = Open("a");
    CMDIChildWnd* b = Open("b");
    ASSERT_TRUE(a && b);
    Idle();
    EXPECT_EQ(m_main->MDIGetActive(), b);
    EXPECT_EQ(Bar().GetTabCtrl().GetCurSel(), 1);

    auto* tabs = dynamic_cast<QTabBar*>(Bar().GetTabCtrl().GetQWidget());
    ASSERT_NE(tabs, nullptr);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_EQ(m_main->MDIGetActive(), a);

    b->MDIActivate();
    EXPECT_EQ(Bar().GetTabCtrl().GetCurSel(), 0);
    Idle();
    EXPECT_EQ(Bar().GetTabCtrl().GetCurSel(), 1);
}

TEST_F(TabBarTest, BarSitsOverTheClientAndComesBackWithTheNextWindow) {
    CRect bar;
    CRect client;
    Bar().GetWindowRect(&bar);
    m_main->GetMDIClient()->GetWindowRect(&client);
    EXPECT_EQ(bar.bottom, client.top);
    EXPECT_EQ(bar.left, client.left);
    EXPECT_EQ(bar.Width(), client.Width());
    EXPECT_EQ(Bar().GetDlgCtrlID(), 2009);
    EXPECT_EQ(Bar().GetTabCtrl().GetDlgCtrlID(), 2010);

    m_main->ShowControlBar(&Bar(), FALSE, FALSE);
    EXPECT_FALSE(Bar().IsVisible());
    Open("a");
    EXPECT_TRUE(Bar().IsVisible());
}

TEST_F(TabBarTest, WalkOverTheChildrenFromTheTopStartsAgainAfterTheEnd) {
    CMDIChildWnd* a = Open("a");
    CMDIChildWnd* b = Open("b");
    CMDIChildWnd* c = Open("c");
    ASSERT_TRUE(a && b && c);
    a->MDIActivate();
    const std::vector<CMDIChildWnd*> fromTop = m_main->GetMDIChildren();
    ASSERT_EQ(fromTop.size(), 3u);
    EXPECT_EQ(fromTop.front(), a);
    for (CMDIChildWnd* expected : fromTop)
        EXPECT_EQ(m_main->GetNextMDIChild(), expected);
    EXPECT_EQ(m_main->GetNextMDIChild(), nullptr);
    EXPECT_EQ(m_main->GetNextMDIChild(), a);
    // Counting covers every child even in the middle of a walk.
    EXPECT_EQ(m_main->GetMDIChildCount(), 3);
    EXPECT_EQ(m_main->GetNextMDIChild(), a);
    // A walk whose child has gone ends.
    a->SendMessage(WM_CLOSE);
    EXPECT_EQ(m_main->GetNextMDIChild(), nullptr);
    EXPECT_EQ(m_main->GetMDIChildCount(), 2);
}

TEST_F(TabBarTest, ClientKeepsItsDefaultBackgroundWithoutTheBitmap) {
    auto* area = qobject_cast<QMdiArea*>(m_main->GetMDIClient()->GetQWidget());
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(m_main->GetClientObject().GetBackgroundWidth(), 0);
    EXPECT_EQ(m_main->GetClientObject().GetBackgroundHeight(), 0);
    EXPECT_EQ(area->background(), QMdiArea().background());
}

TEST_F(TabBarTest, BackgroundBitmapIsTiledFromTheTopLeftCorner) {
    QImage tile(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x)
            tile.setPixel(x, y, qRgb(40 * x, 100 * y, 7));
    }
    ASSERT_TRUE(tile.save(WorkPath("tile.bmp")));
    CResourceModule module;
    module.name = QStringLiteral("tiles");
    module.bitmaps.push_back({347, WorkPath("tile.bmp")});
    CResourceChain::AddModule(&module);
    auto* frame = new CMainFrame;
    const bool made = frame->LoadFrame(128, WS_OVERLAPPEDWINDOW);
    CResourceChain::RemoveModule(&module);
    ASSERT_TRUE(made);
    frame->MoveWindow(0, 0, 400, 300);
    frame->ShowWindow(SW_SHOW);

    EXPECT_EQ(frame->GetClientObject().GetBackgroundWidth(), 3);
    EXPECT_EQ(frame->GetClientObject().GetBackgroundHeight(), 2);
    auto* area = qobject_cast<QMdiArea*>(frame->GetMDIClient()->GetQWidget());
    ASSERT_NE(area, nullptr);
    const QImage shown = area->viewport()->grab().toImage();
    ASSERT_GE(shown.width(), 7);
    ASSERT_GE(shown.height(), 5);
    for (const QPoint p : {QPoint(0, 0), QPoint(2, 1), QPoint(3, 0), QPoint(5, 3), QPoint(6, 4)})
        EXPECT_EQ(shown.pixel(p) & 0xFFFFFF, tile.pixel(p.x() % 3, p.y() % 2) & 0xFFFFFF)
            << p.x() << "," << p.y();
    frame->DestroyWindow();
}

}  // namespace
