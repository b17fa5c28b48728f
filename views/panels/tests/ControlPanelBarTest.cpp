#include "platform/framework/FrameWnd.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/TreeCtrl.h"
#include "testsupport/IsolatedTest.h"
#include "views/panels/BitmapControlPanelBar.h"
#include "views/panels/ControlPanelBar.h"
#include "views/panels/IconControlPanelBar.h"
#include "views/panels/TabDlg.h"
#include "views/panels/TreeLabels.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTabBar>
#include <QWidget>

#include <memory>

namespace {

constexpr UINT kBarTemplate = 9701;
constexpr UINT kPageTemplate = 9702;

CResourceModule BarModule() {
    CResourceModule module;
    module.name = QStringLiteral("control panel tests");
    DialogTemplate bar;
    bar.id = kBarTemplate;
    bar.style = WS_CHILD;
    bar.cx = 200;
    bar.cy = 120;
    bar.items = {
        {DlgControl::Tab, kControlPanelTabId, QString(), 2, 2, 190, 14, WS_CHILD},
        {DlgControl::Button, kFirstTabButton, QStringLiteral("Cams"), 2, 100, 30, 14,
         WS_CHILD | WS_VISIBLE},
        {DlgControl::Button, kSecondTabButton, QStringLiteral("Play"), 40, 100, 30, 14,
         WS_CHILD | WS_VISIBLE},
    };
    DialogTemplate page;
    page.id = kPageTemplate;
    page.style = WS_CHILD;
    page.cx = 100;
    page.cy = 60;
    module.dialogs = {bar, page};
    return module;
}

class CPanelFrame : public CFrameWnd {
    DECLARE_MESSAGE_MAP()

public:
    std::vector<WPARAM> m_tabChanges;

protected:
    LRESULT OnTabChanged(WPARAM tab, LPARAM lParam) {
        EXPECT_EQ(lParam, 0);
        m_tabChanges.push_back(tab);
        return 0;
    }
};

BEGIN_MESSAGE_MAP(CPanelFrame, CFrameWnd)
ON_MESSAGE(kControlPanelTabChanged, OnTabChanged)
END_MESSAGE_MAP()

class ControlPanelBarTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&m_module);
        m_frame = new CPanelFrame;
        ASSERT_TRUE(m_frame->LoadFrame(0));
        ASSERT_TRUE(m_bar.Create(m_frame, kBarTemplate, WS_VISIBLE | CBRS_ALIGN_LEFT, 0xE900));
        m_bar.AttachTabControl(TRUE);
        ASSERT_NE(m_bar.GetTabCtrl().GetSafeHwnd(), nullptr);
        const char* names[] = {"Devices", "Playback", "Analysis"};
        for (int tab = 0; tab < 3; ++tab) {
            for (int page = 0; page < 2; ++page) {
                auto& dialog = m_pages[tab][page];
                dialog = std::make_unique<CTabDlg>(kPageTemplate);
                ASSERT_TRUE(dialog->Create(&m_bar));
            }
            EXPECT_EQ(m_bar.AddPage(m_pages[tab][0].get(), names[tab], tab), tab);
            m_bar.SetTabPage(m_pages[tab][1].get(), tab, 1);
            m_bar.SetCurrentPage(tab, 0);
        }
        m_bar.SelectTab(0, 0);
    }
    void TearDown() override {
        for (auto& tab : m_pages)
            for (auto& page : tab)
                page.reset();
        m_bar.DestroyWindow();
        m_frame->DestroyWindow();
        CResourceChain::RemoveModule(&m_module);
        IsolatedTest::TearDown();
    }
    // The one shown page as (tab, page), or (-1, -1).
    std::pair<int, int> Shown() {
        std::pair<int, int> shown{-1, -1};
        for (int tab = 0; tab < 3; ++tab) {
            for (int page = 0; page < 2; ++page) {
                if (!m_pages[tab][page]->GetQWidget()->isHidden()) {
                    EXPECT_EQ(shown.first, -1) << "two pages shown";
                    shown = {tab, page};
                }
            }
        }
        return shown;
    }

    CResourceModule m_module = BarModule();
    CPanelFrame* m_frame = nullptr;
    CControlPanelBar m_bar;
    std::unique_ptr<CTabDlg> m_pages[3][2];
};

TEST_F(ControlPanelBarTest, PagesAreFiledPerTabAndShownAtTheirPlace) {
    EXPECT_EQ(m_bar.GetTabCount(), 3);
    EXPECT_EQ(m_bar.GetTabColourCode(2), 2);
    EXPECT_EQ(m_bar.GetTabPage(1, 1), m_pages[1][1].get());
    EXPECT_EQ(m_bar.GetTabPage(1, 2), nullptr);

    m_bar.SelectTab(2, 1);
    EXPECT_EQ(m_bar.GetCurTab(), 2);
    EXPECT_EQ(Shown(), std::make_pair(2, 1));
    const QWidget* page = m_pages[2][1]->GetQWidget();
    EXPECT_EQ(page->pos(), QPoint(kControlPanelPageX, kControlPanelPageY));

    // A later page beyond the table grows it.
    CTabDlg extra(kPageTemplate);
    ASSERT_TRUE(extra.Create(&m_bar));
    m_bar.SetTabPage(&extra, 4, 2);
    EXPECT_EQ(m_bar.GetTabCount(), 5);
    EXPECT_EQ(m_bar.GetCurrentPage(4), 2);
    EXPECT_EQ(m_bar.GetTabPage(3, 0), nullptr);
    m_bar.ShowTabPage(4, 2);
    EXPECT_FALSE(extra.GetQWidget()->isHidden());
    EXPECT_EQ(Shown(), std::make_pair(-1, -1));
}

TEST_F(ControlPanelBarTest, SetCurrentPageShowsAtOnceOnlyOnTheSelectedTab) {
    m_bar.SetCurrentPage(1, 1);  // tab 1 is not selected
    EXPECT_EQ(Shown(), std::make_pair(0, 0));
    m_bar.SetCurrentPage(0, 1);
    EXPECT_EQ(Shown(), std::make_pair(0, 1));
    m_bar.SetCurrentPage(7, 1);  // no such tab
    EXPECT_EQ(Shown(), std::make_pair(0, 1));
}

TEST_F(ControlPanelBarTest, UsersTabChangeShowsTheTabsPageAndTellsTheFrame) {
    m_bar.SetCurrentPage(1, 1);
    auto* tabs = qobject_cast<QTabBar*>(m_bar.GetTabCtrl().GetQWidget());
    ASSERT_NE(tabs, nullptr);
    tabs->setCurrentIndex(1);  // as a click would
    EXPECT_EQ(Shown(), std::make_pair(1, 1));
    EXPECT_TRUE(m_frame->m_tabChanges.empty());  // posted, not sent
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(m_frame->m_tabChanges, std::vector<WPARAM>{1});

    // Selecting from the program does not report.
    m_bar.SelectTab(2, 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(m_frame->m_tabChanges.size(), 1u);
}

TEST_F(ControlPanelBarTest, SelectTabByName) {
    const struct {
        const char* name;
        int before;
        int after;
        std::pair<int, int> shown;
    } cases[] = {
        {"Playback", 2, 1, {1, 0}},
        {"Devices", 2, 2, {2, 0}},  // the first tab is left alone
        {"Nothing", 1, 1, {1, 0}},
        {"playback", 2, 2, {2, 0}},
    };
    for (const auto& c : cases) {
        m_bar.SelectTab(c.before, 0);
        EXPECT_TRUE(m_bar.SelectTabByName(QString::fromLatin1(c.name)));
        EXPECT_EQ(m_bar.GetCurTab(), c.after) << c.name;
        EXPECT_EQ(Shown(), c.shown) << c.name;
    }
}

TEST(ControlPanelBarAlone, WorksWithoutATabControl) {
    CControlPanelBar bar;
    EXPECT_EQ(bar.GetCurTab(), -1);
    EXPECT_EQ(bar.AddPage(nullptr, "Devices", 0), -1);
    EXPECT_TRUE(bar.SelectTabByName("Devices"));
}

TEST_F(IsolatedTest, IconButtonsFollowTheFirstTwoTabs) {
    CResourceModule module = BarModule();
    CResourceChain::AddModule(&module);
    auto* frame = new CPanelFrame;
    ASSERT_TRUE(frame->LoadFrame(0));
    CIconControlPanelBar bar;
    ASSERT_TRUE(bar.Create(frame, kBarTemplate, WS_VISIBLE | CBRS_ALIGN_LEFT, 0xE900));
    bar.AttachTabControl(TRUE);
    bar.AttachTabControl(TRUE);  // a second call keeps the buttons
    COwnerDrawButton& first = bar.GetTabButton(0);
    COwnerDrawButton& second = bar.GetTabButton(1);
    EXPECT_EQ(bar.GetDlgItem(kFirstTabButton), &first);
    EXPECT_EQ(bar.GetDlgItem(kSecondTabButton), &second);
    EXPECT_EQ(first.GetWindowText(), QStringLiteral("Cams"));

    const struct {
        int tab;
        int firstChecked;
        int secondChecked;
    } cases[] = {{1, 0, 1}, {0, 1, 0}, {2, 1, 0}, {1, 0, 1}, {-1, 0, 1}};
    for (const auto& c : cases) {
        bar.ShowTabPage(c.tab, 0);
        EXPECT_EQ(first.GetCheck(), c.firstChecked) << c.tab;
        EXPECT_EQ(second.GetCheck(), c.secondChecked) << c.tab;
    }
    bar.DestroyWindow();
    frame->DestroyWindow();
    CResourceChain::RemoveModule(&module);
}

TEST_F(IsolatedTest, ProjectPanelTabsWriteTheirNamesInTheirCodesColours) {
    CResourceModule module = BarModule();
    CResourceChain::AddModule(&module);
    auto* frame = new CPanelFrame;
    ASSERT_TRUE(frame->LoadFrame(0));
    CBitmapControlPanelBar bar;
    ASSERT_TRUE(bar.Create(frame, kBarTemplate, WS_VISIBLE | CBRS_ALIGN_LEFT, 0xE900));
    bar.AttachTabControl(TRUE);
    const struct {
        int code;
        QRgb colour;
    } cases[] = {
        {0, qRgb(255, 0, 0)}, {1, qRgb(0, 0, 255)}, {2, qRgb(0, 200, 0)}, {7, qRgb(0, 0, 0)}};
    std::vector<std::unique_ptr<CTabDlg>> pages;
    for (const auto& c : cases) {
        pages.push_back(std::make_unique<CTabDlg>(kPageTemplate));
        ASSERT_TRUE(pages.back()->Create(&bar));
        bar.AddPage(pages.back().get(), QStringLiteral("WWWW"), c.code);
    }
    auto* tabs = qobject_cast<QTabBar*>(bar.GetTabCtrl().GetQWidget());
    ASSERT_NE(tabs, nullptr);
    tabs->resize(tabs->sizeHint());
    const QImage shot = tabs->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int tab = 0; tab < 4; ++tab) {
        SCOPED_TRACE(tab);
        // The tab's own name is drawn in its colour, and no other tab's colour is in it.
        const QRect r = tabs->tabRect(tab).intersected(shot.rect());
        int own = 0;
        int others = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QRgb p = shot.pixel(x, y);
                for (int k = 0; k < 4; ++k) {
                    if (p == cases[k].colour && k == tab)
                        ++own;
                    else if (p == cases[k].colour && cases[k].code != 7)
                        ++others;  // black also draws the tabs' edges
                }
            }
        EXPECT_GT(own, 0);
        EXPECT_EQ(others, 0);
    }
    bar.DestroyWindow();
    frame->DestroyWindow();
    CResourceChain::RemoveModule(&module);
}

// ---- tree labels

class TreeLabelsTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        ASSERT_TRUE(
            m_host.Create(nullptr, "host", WS_OVERLAPPED, CRect(0, 0, 200, 200), nullptr, 0));
        ASSERT_TRUE(m_tree.Create(WS_CHILD, CRect(0, 0, 200, 200), &m_host, 1));
        m_root = m_tree.InsertItem("Devices");
    }
    // The tree below root as "level:text" lines.
    std::vector<QString> Dump() {
        std::vector<QString> out;
        Walk(m_root, 0, out);
        return out;
    }
    void Walk(HTREEITEM item, int level, std::vector<QString>& out) {
        out.push_back(QString::number(level) + ":" + m_tree.GetItemText(item));
        for (HTREEITEM child = m_tree.GetChildItem(item); child;
             child = m_tree.GetNextSiblingItem(child))
            Walk(child, level + 1, out);
    }

    CWnd m_host;
    CTreeCtrl m_tree;
    HTREEITEM m_root = nullptr;
};

TEST_F(TreeLabelsTest, SynchronisationCases) {
    struct Case {
        const char* name;
        std::vector<QString> before;  // built first (level:text below the root)
        std::vector<QString> labels;
        std::vector<QString> after;
    };
    const std::vector<Case> cases = {
        {"fills an empty root",
         {"0:Devices"},
         {"0:Devices", "1:Cam A", "2:Rate 500.00 Hz", "1:Cam B"},
         {"0:Devices", "1:Cam A", "2:Rate 500.00 Hz", "1:Cam B"}},
        {"renames the root", {"0:Devices"}, {"0:Sensors", "1:DAQ"}, {"0:Sensors", "1:DAQ"}},
        {"going back up deletes the rest of the deeper level",
         {"0:Devices", "1:Cam A", "2:Rate", "2:Shutter", "2:Size", "1:Cam B"},
         {"0:Devices", "1:Cam A", "2:Rate", "1:Cam B"},
         {"0:Devices", "1:Cam A", "2:Rate", "1:Cam B"}},
        {"a level two deeper is skipped",
         {"0:Devices"},
         {"0:Devices", "1:Cam A", "3:Too deep", "1:Cam B"},
         {"0:Devices", "1:Cam A", "1:Cam B"}},
        {"a new label goes before the differing item",
         {"0:Devices", "1:Cam A", "1:Cam C"},
         {"0:Devices", "1:Cam A", "1:Cam B", "1:Cam C"},
         {"0:Devices", "1:Cam A", "1:Cam B", "1:Cam C"}},
        {"a new first child goes first",
         {"0:Devices", "1:Cam B"},
         {"0:Devices", "1:Cam A", "1:Cam B"},
         {"0:Devices", "1:Cam A", "1:Cam B"}},
        {"a label without a colon is skipped",
         {"0:Devices"},
         {"0:Devices", "1:Cam A", "garbage", "1:Cam B"},
         {"0:Devices", "1:Cam A", "1:Cam B"}},
    };
    for (const Case& c : cases) {
        m_tree.DeleteAllItems();
        m_root = m_tree.InsertItem("Devices");
        SyncTreeLabels(&m_tree, c.before, m_root);
        ASSERT_EQ(Dump(), c.before) << c.name;
        SyncTreeLabels(&m_tree, c.labels, m_root);
        EXPECT_EQ(Dump(), c.after) << c.name;
    }
}

TEST_F(TreeLabelsTest, MatchingItemsAreKeptAsTheyAre) {
    const std::vector<QString> labels = {"0:Devices", "1:Cam A", "2:Rate 500.00 Hz", "1:Cam B"};
    const std::vector<DWORD> data = {10, 11, 12};
    HTREEITEM last = SyncTreeLabels(&m_tree, labels, m_root, &data);
    EXPECT_EQ(m_tree.GetCount(), 4u);
    EXPECT_EQ(m_tree.GetItemText(m_root), QStringLiteral("Devices"));
    EXPECT_EQ(m_tree.GetItemText(last), QStringLiteral("Cam B"));
    EXPECT_EQ(m_tree.GetItemData(last), 0xFFFFFFFFu);  // past the end of the data
    HTREEITEM camA = m_tree.GetChildItem(m_root);
    EXPECT_EQ(m_tree.GetItemData(camA), 11u);
    HTREEITEM rate = m_tree.GetChildItem(camA);

    // Again with other data: nothing is replaced, the items keep their data.
    const std::vector<DWORD> other = {20, 21, 22, 23};
    EXPECT_EQ(SyncTreeLabels(&m_tree, labels, m_root, &other), last);
    EXPECT_EQ(m_tree.GetCount(), 4u);
    EXPECT_EQ(m_tree.GetChildItem(m_root), camA);
    EXPECT_EQ(m_tree.GetChildItem(camA), rate);
    EXPECT_EQ(m_tree.GetItemData(camA), 11u);
    EXPECT_EQ(SyncTreeLabels(nullptr, labels, m_root), nullptr);
}

TEST_F(TreeLabelsTest, NewAndRenamedItemsTakeTheirImagesMatchingOnesKeepTheirs) {
    m_tree.SetItemText(m_root, QStringLiteral("No Devices"));
    const std::vector<QString> labels = {"0:Devices", "1:Card", "2:Rate 500.00 Hz", "1:Cam"};
    const std::vector<DWORD> images = {2, 1, 0};
    SyncTreeLabels(&m_tree, labels, m_root, nullptr, &images);
    const auto imageOf = [this](HTREEITEM item) {
        int image = -1;
        int selected = -1;
        m_tree.GetItemImage(item, image, selected);
        return std::pair(image, selected);
    };
    HTREEITEM card = m_tree.GetChildItem(m_root);
    EXPECT_EQ(imageOf(m_root), std::pair(2, 2));
    EXPECT_EQ(imageOf(card), std::pair(1, 1));
    EXPECT_EQ(imageOf(m_tree.GetChildItem(card)), std::pair(0, 0));
    EXPECT_EQ(imageOf(m_tree.GetNextSiblingItem(card)), std::pair(0, 0)) << "past the images";

    const std::vector<DWORD> others = {5, 6, 7, 8};
    SyncTreeLabels(&m_tree, labels, m_root, nullptr, &others);
    EXPECT_EQ(imageOf(m_root), std::pair(2, 2));
    EXPECT_EQ(imageOf(card), std::pair(1, 1));
}

}  // namespace
