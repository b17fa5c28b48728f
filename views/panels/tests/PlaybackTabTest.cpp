#include "views/panels/PlaybackTab.h"

#include "platform/framework/CommandIcon.h"
#include "platform/framework/Document.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/Menu.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/ResourceModuleScope.h"
#include "resources/ProgramResources.h"
#include "testsupport/IsolatedTest.h"
#include "views/PlaybackView.h"
#include "views/panels/tests/FakePlaybackList.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPixmap>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

namespace {

// The frame the page sits in: it records the commands the page passes on.
class CGroupFrame : public CFrameWnd {
public:
    std::vector<UINT> commands;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        if (nCode == CN_COMMAND && !pHandlerInfo && nID >= 2001 && nID <= 2010) {
            commands.push_back(nID);
            return TRUE;
        }
        return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

// The frame of one playback window: it records WM_CLOSE instead of closing.
class CMemberFrame : public CFrameWnd {
    DECLARE_MESSAGE_MAP()

public:
    int closeRequests = 0;

protected:
    LRESULT OnCloseRequest(WPARAM, LPARAM) {
        ++closeRequests;
        return 0;
    }
};

BEGIN_MESSAGE_MAP(CMemberFrame, CFrameWnd)
ON_MESSAGE(WM_CLOSE, OnCloseRequest)
END_MESSAGE_MAP()

// What a playback view shows in the tree.
struct MemberRow {
    int type;
    const char* path;
    const char* title;
    double rate;
    int shutterNs;
    int count;
    int width;
    int height;
    int bitDepth;
    int channels;
};

class PlaybackTabTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&CProgramResources::Module());
        m_frame = new CGroupFrame;
        ASSERT_TRUE(m_frame->LoadFrame(0));
        m_frame->MoveWindow(0, 0, 600, 500);
        ASSERT_TRUE(m_tab.Create(m_frame));
        m_tab.ShowWindow(SW_SHOW);
        m_frame->ShowWindow(SW_SHOW);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame->GetQWidget()));
        m_tab.SetOwnerLink(&m_list);
    }
    void TearDown() override {
        AfxSetPopupMenuTracker({});
        m_tab.SetOwnerLink(nullptr);
        m_tab.DestroyWindow();
        for (CMemberFrame* frame : m_memberFrames)
            frame->DestroyWindow();
        m_frame->DestroyWindow();
        m_windowless.clear();
        m_docs.clear();
        CResourceChain::RemoveModule(&CProgramResources::Module());
        IsolatedTest::TearDown();
    }

    CPlaybackView* Fill(CPlaybackView* view, const MemberRow& row) {
        auto doc = std::make_unique<CDocument>();
        doc->m_bAutoDelete = FALSE;
        doc->SetTitle(QString::fromUtf8(row.title));
        doc->AddView(view);
        m_docs.push_back(std::move(doc));
        view->SetGroupMember(row.type, static_cast<int>(m_list.views.size()), 0, 0);
        view->SetSourceName(QString::fromUtf8(row.path));
        view->SetFrameRate(row.rate);
        view->SetShutter(row.shutterNs);
        view->SetFrameCount(row.count);
        view->SetImageSize(row.width, row.height);
        view->SetBitDepth(row.bitDepth);
        view->SetChannelCount(row.channels);
        m_list.views.push_back(view);
        return view;
    }
    // A playback without a window.
    CPlaybackView* AddMember(const MemberRow& row) {
        m_windowless.push_back(std::make_unique<CPlaybackView>());
        return Fill(m_windowless.back().get(), row);
    }
    // A playback in a window of its own frame.
    CPlaybackView* AddWindowMember(const MemberRow& row, CMemberFrame** frameOut) {
        auto* frame = new CMemberFrame;
        EXPECT_TRUE(frame->LoadFrame(0));
        m_memberFrames.push_back(frame);
        auto* view = new CPlaybackView;
        Fill(view, row);
        EXPECT_TRUE(view->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50),
                                 frame, AFX_IDW_PANE_FIRST));
        *frameOut = frame;
        return view;
    }

    // A message that reaches the page's default handling, where it polls.
    void Poll() { m_tab.SendMessage(WM_NULL); }

    // Each item as "level:text[image]" in tree order.
    QStringList Dump() {
        QStringList rows;
        CPlaybackTree& tree = m_tab.GetTree();
        std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM item, int level) {
            for (; item; item = tree.GetNextSiblingItem(item)) {
                rows << QString("%1:%2[%3]")
                            .arg(level)
                            .arg(tree.GetItemText(item))
                            .arg(tree.GetItemImage(item));
                walk(tree.GetChildItem(item), level + 1);
            }
        };
        walk(tree.GetRootItem(), 0);
        return rows;
    }
    // The first item with that text, in tree order.
    HTREEITEM Find(const QString& text) {
        auto* tree = dynamic_cast<QTreeWidget*>(m_tab.GetTree().GetQWidget());
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            if ((*it)->text(0) == text)
                return reinterpret_cast<HTREEITEM>(*it);
        }
        return nullptr;
    }
    // Clicks on an item's label in the tree with the mouse.
    void ClickItem(const QString& text, bool rightButton) {
        auto* tree = dynamic_cast<QTreeWidget*>(m_tab.GetTree().GetQWidget());
        HTREEITEM handle = Find(text);
        ASSERT_NE(handle, nullptr) << text.toStdString();
        const QRect rect = tree->visualItemRect(reinterpret_cast<QTreeWidgetItem*>(handle));
        const QPoint at(rect.left() + tree->iconSize().width() + 8, rect.center().y());
        if (rightButton)
            QTest::mousePress(tree->viewport(), Qt::RightButton, Qt::NoModifier, at);
        else
            QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    // Runs the next pop-up menu: records its items and picks the one with that text, if any.
    void PickFromMenu(const QString& pick) {
        AfxSetPopupMenuTracker([this, pick](QMenu* menu, const QPoint&) -> QAction* {
            m_menuItems.clear();
            QAction* chosen = nullptr;
            for (QAction* action : menu->actions()) {
                m_menuItems << action->text();
                if (action->text() == pick)
                    chosen = action;
            }
            return chosen;
        });
    }

    FakePlaybackList m_list;
    CGroupFrame* m_frame = nullptr;
    CPlaybackTab m_tab;
    std::vector<std::unique_ptr<CDocument>> m_docs;
    std::vector<std::unique_ptr<CPlaybackView>> m_windowless;
    std::vector<CMemberFrame*> m_memberFrames;
    QStringList m_menuItems;
};

const MemberRow kTake1 = {3, "/data/run1/take.avi", "Take 1", 500.0, 2000, 120, 640, 480, 8, 0};
const MemberRow kSensors = {2, "/data/run1/take.avi", "Sensors", 1.0, 0, 2000, 0, 0, 0, 4};
const MemberRow kTake2 = {3, "/data/run1/take.avi", "Take 2", 29.97, 0, 30, 320, 240, 12, 0};
const MemberRow kOther = {3, "/data/run2/take.avi", "Take 3", 1.0, -5, 10, 64, 64, 16, 0};
const MemberRow kNotes = {5, "/data/run3/notes.txt", "Notes", 1.0, 0, 0, 0, 0, 0, 0};

TEST_F(PlaybackTabTest, WithoutPlaybacksTheTreeShowsOnlyItsRoot) {
    EXPECT_EQ(Dump(), QStringList{"0:No Playbacks[2]"});
    Poll();
    EXPECT_EQ(Dump(), QStringList{"0:No Playbacks[2]"});
    EXPECT_EQ(m_tab.RebuildTree(), 0);
    EXPECT_EQ(Dump(), QStringList{"0:No Playbacks[2]"});
    m_tab.SetOwnerLink(nullptr);
    EXPECT_EQ(m_tab.RebuildTree(), 0);
    EXPECT_EQ(m_tab.GetTree().GetCount(), 0u);
}

TEST_F(PlaybackTabTest, ItemsShowTheirCellOfTheImageStrip) {
    // Four 16-pixel cells of plain colours, each with a magenta corner that stays clear.
    const QRgb colours[] = {qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 200), qRgb(90, 90, 90)};
    QImage strip(64, 16, QImage::Format_RGB32);
    for (int cell = 0; cell < 4; ++cell) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                strip.setPixel(cell * 16 + x, y, colours[cell]);
        strip.setPixel(cell * 16, 0, qRgb(255, 0, 255));
    }
    ASSERT_TRUE(strip.save(WorkPath("tree.png")));
    CResourceModule images;
    images.name = "tree images";
    images.bitmaps = {{kPlaybackTreeBitmap, WorkPath("tree.png")}};
    CResourceChain::AddModule(&images);
    CPlaybackTab page;
    {
        // Ahead of the program's own tree images.
        CResourceModuleScope first(images.name);
        ASSERT_TRUE(page.Create(m_frame));
    }
    page.SetOwnerLink(&m_list);
    AddMember(kTake1);
    AddMember(kSensors);
    ASSERT_EQ(page.RebuildTree(), 0);
    auto* tree = dynamic_cast<QTreeWidget*>(page.GetTree().GetQWidget());
    const struct {
        const char* text;
        int cell;
    } expected[] = {
        {"Playback Sources", 2}, {"take", 2}, {"Take 1", 3}, {"Rate: 500 fps", 0}, {"Sensors", 1}};
    for (const auto& e : expected) {
        const auto found = tree->findItems(e.text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << e.text;
        const QImage icon = found[0]->icon(0).pixmap(16, 16).toImage();
        EXPECT_EQ(icon.pixel(8, 8), colours[e.cell]) << e.text;
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << e.text;
    }
    page.SetOwnerLink(nullptr);
    page.DestroyWindow();
    CResourceChain::RemoveModule(&images);
}

TEST_F(PlaybackTabTest, PlaybacksAreGroupedBySourceFile) {
    CPlaybackView* take1 = AddMember(kTake1);
    CPlaybackView* sensors = AddMember(kSensors);
    AddMember(kOther);
    CPlaybackView* take2 = AddMember(kTake2);
    AddMember(kNotes);
    Poll();
    const QStringList expected = {
        "0:Playback Sources[2]",
        "1:take[2]",  // run1
        "2:Take 1[3]",
        "3:Rate: 500 fps[0]",
        "3:Shutter: 2 usec[0]",
        "3:Length: 120 frames[0]",
        "3:Image Size: 640 x 480[0]",
        "3:Bit Depth: 8[0]",
        "2:Sensors[1]",
        "3:Rate: 1 Hz[0]",
        "3:Channels: 4[0]",
        "3:Length: 2000 samples[0]",
        "2:Take 2[3]",
        "3:Rate: 29.97 fps[0]",
        "3:Shutter: N/A[0]",
        "3:Length: 30 frames[0]",
        "3:Image Size: 320 x 240[0]",
        "3:Bit Depth: 12[0]",
        "1:take[2]",  // run2: the same file name in another folder
        "2:Take 3[3]",
        "3:Rate: N/A[0]",
        "3:Shutter: N/A[0]",
        "3:Length: 10 frames[0]",
        "3:Image Size: 64 x 64[0]",
        "3:Bit Depth: 16[0]",
        "1:notes[2]",  // a playback of another kind has its file but no entry
    };
    EXPECT_EQ(Dump(), expected);
    EXPECT_EQ(m_tab.GetSeenCount(), 5);
    EXPECT_EQ(m_tab.GetListedCount(), 4);

    // Playback items carry their views, every other item 0.
    CPlaybackTree& tree = m_tab.GetTree();
    EXPECT_EQ(tree.GetItemData(Find("Take 1")), reinterpret_cast<uintptr_t>(take1));
    EXPECT_EQ(tree.GetItemData(Find("Sensors")), reinterpret_cast<uintptr_t>(sensors));
    EXPECT_EQ(tree.GetItemData(Find("Take 2")), reinterpret_cast<uintptr_t>(take2));
    EXPECT_EQ(tree.GetItemData(Find("Rate: 500 fps")), 0u);
    EXPECT_EQ(tree.GetItemData(Find("take")), 0u);
    EXPECT_EQ(tree.GetItemData(tree.GetRootItem()), 0u);

    // The playback left out keeps the listed count below the seen one: every poll rebuilds.
    const int before = m_list.getViewCalls;
    Poll();
    Poll();
    EXPECT_EQ(m_list.getViewCalls, before + 10);
    EXPECT_EQ(Dump(), expected);
}

TEST_F(PlaybackTabTest, TreeIsRebuiltWhenTheChangeFlagIsSet) {
    CPlaybackView* take1 = AddMember(kTake1);
    Poll();
    ASSERT_EQ(Dump().size(), 8);
    ASSERT_FALSE(m_list.setChangedCalls.empty());

    // Nothing changed: no rebuild.
    const int calls = m_list.getViewCalls;
    Poll();
    EXPECT_EQ(m_list.getViewCalls, calls);

    // The same count, but the group says its list changed.
    m_docs.front()->SetTitle("Take 1 renamed");
    take1->SetFrameRate(250.0);
    m_list.changed = 1;
    m_list.setChangedCalls.clear();
    Poll();
    EXPECT_EQ(m_list.changed, 0);
    // The page only ever clears the flag.
    ASSERT_FALSE(m_list.setChangedCalls.empty());
    EXPECT_EQ(std::count(m_list.setChangedCalls.begin(), m_list.setChangedCalls.end(), 0),
              static_cast<long>(m_list.setChangedCalls.size()));
    EXPECT_TRUE(Dump().contains("2:Take 1 renamed[3]"));
    EXPECT_TRUE(Dump().contains("3:Rate: 250 fps[0]"));

    // A new playback changes the count.
    AddMember(kOther);
    Poll();
    EXPECT_TRUE(Dump().contains("2:Take 3[3]"));
    EXPECT_EQ(m_tab.GetSeenCount(), 2);
    EXPECT_EQ(m_tab.GetListedCount(), 2);
}

TEST_F(PlaybackTabTest, NullViewEmptiesTheTreeAndTheNextPollTriesAgain) {
    AddMember(kTake1);
    m_list.views.push_back(nullptr);
    Poll();
    EXPECT_EQ(m_tab.GetTree().GetCount(), 0u);
    EXPECT_EQ(m_tab.GetListedCount(), 0);
    EXPECT_EQ(m_tab.RebuildTree(), E_FAIL);

    m_list.views.pop_back();
    Poll();
    EXPECT_EQ(Dump().size(), 8);
}

TEST_F(PlaybackTabTest, RebuildWhileRebuildingFailsAndChangesNothing) {
    AddMember(kTake1);
    std::vector<HRESULT> nested;
    m_list.onGetView = [&] {
        m_list.onGetView = nullptr;
        nested.push_back(m_tab.RebuildTree());
    };
    EXPECT_EQ(m_tab.RebuildTree(), 0);
    EXPECT_EQ(nested, std::vector<HRESULT>{E_FAIL});
    EXPECT_EQ(Dump().size(), 8);
}

TEST_F(PlaybackTabTest, AddButtonsAskTheGroupForASource) {
    QTest::mouseClick(m_tab.GetAddVideoButton().GetQWidget(), Qt::LeftButton);
    QTest::mouseClick(m_tab.GetAddDataButton().GetQWidget(), Qt::LeftButton);
    EXPECT_EQ(m_list.addedKinds, (std::vector<int>{kPlaybackSourceVideo, kPlaybackSourceData}));
    EXPECT_EQ(m_tab.GetAddVideoButton().GetWindowText(), "Add Video");
    EXPECT_EQ(m_tab.GetAddDataButton().GetWindowText(), "Add Data");

    m_tab.SetOwnerLink(nullptr);
    QTest::mouseClick(m_tab.GetAddVideoButton().GetQWidget(), Qt::LeftButton);
    EXPECT_EQ(m_list.addedKinds.size(), 2u);
}

TEST_F(PlaybackTabTest, PlayButtonsGoToTheFrame) {
    for (int id : {2001, 2009, 2003, 2005, 2004, 2002, 2010})
        QTest::mouseClick(m_tab.GetDlgItem(id)->GetQWidget(), Qt::LeftButton);
    EXPECT_EQ(m_frame->commands, (std::vector<UINT>{2001, 2009, 2003, 2005, 2004, 2002, 2010}));
    // Both play buttons read "Play"; their tips tell the two directions apart.
    EXPECT_EQ(m_tab.GetDlgItem(2001)->GetQWidget()->toolTip(), "Play forward");
    EXPECT_EQ(m_tab.GetDlgItem(2009)->GetQWidget()->toolTip(), "Play backward");
}

TEST_F(PlaybackTabTest, RightClickOffersTheWindowMenuOfAPlayback) {
    CMemberFrame* frame = nullptr;
    CPlaybackView* view = AddWindowMember(kTake1, &frame);
    frame->ShowWindow(SW_SHOW);
    AddMember(kOther);
    Poll();

    struct Case {
        const char* pick;
        std::function<bool()> happened;
    };
    const Case cases[] = {
        {"Minimize", [&] { return frame->IsIconic() != FALSE; }},
        {"Maximize", [&] { return frame->IsZoomed() != FALSE; }},
        {"Restore", [&] { return !frame->IsIconic() && !frame->IsZoomed(); }},
        {"Close",
         [&] {
             QCoreApplication::processEvents();
             return frame->closeRequests == 1;
         }},
    };
    for (const Case& c : cases) {
        PickFromMenu(c.pick);
        ClickItem("Take 1", true);
        EXPECT_EQ(m_menuItems, (QStringList{"Minimize", "Maximize", "Restore", "Close"}));
        EXPECT_EQ(m_tab.GetTree().GetMenuTargetView(), view);
        EXPECT_EQ(m_tab.GetTree().GetMenuTargetItem(), Find("Take 1"));
        EXPECT_TRUE(c.happened()) << c.pick;
    }

    // A source file's item: an empty menu, and no playback to act on.
    PickFromMenu("Close");
    ClickItem("take", true);
    EXPECT_TRUE(m_menuItems.isEmpty());
    EXPECT_EQ(m_tab.GetTree().GetMenuTargetView(), nullptr);
    EXPECT_EQ(m_tab.GetTree().GetMenuTargetItem(), Find("take"));
    m_tab.SendMessage(WM_COMMAND, kWindowMenuClose);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->closeRequests, 1);

    // A playback without a window: an empty menu, the target as it was.
    PickFromMenu("Close");
    ClickItem("Take 1", true);
    ClickItem("Take 3", true);
    EXPECT_TRUE(m_menuItems.isEmpty());
    EXPECT_EQ(m_tab.GetTree().GetMenuTargetView(), view);

    // The root and the facts' rows are left alone: no menu at all.
    m_menuItems = {"untouched"};
    ClickItem("Playback Sources", true);
    EXPECT_EQ(m_menuItems, QStringList{"untouched"});
}

TEST_F(PlaybackTabTest, RememberedPlaybackThatLeftTheGroupIsNotUsed) {
    CMemberFrame* frame = nullptr;
    AddWindowMember(kTake1, &frame);
    Poll();
    PickFromMenu("none");
    ClickItem("Take 1", true);
    ASSERT_NE(m_tab.GetTree().GetMenuTargetView(), nullptr);
    m_list.views.clear();
    m_tab.SendMessage(WM_COMMAND, kWindowMenuClose);
    m_tab.SendMessage(WM_COMMAND, kWindowMenuMinimize);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->closeRequests, 0);
    EXPECT_FALSE(frame->IsIconic());
}

TEST_F(PlaybackTabTest, DoubleClickBringsAPlaybackForward) {
    CMemberFrame* frame = nullptr;
    AddWindowMember(kTake1, &frame);
    Poll();
    frame->ShowWindow(SW_HIDE);
    ClickItem("take", false);
    EXPECT_FALSE(frame->IsWindowVisible());
    ClickItem("Rate: 500 fps", false);
    EXPECT_FALSE(frame->IsWindowVisible());
    ClickItem("Take 1", false);
    EXPECT_TRUE(frame->IsWindowVisible());
}

// The painter that stands in for the program's own where the desktop theme has no icon.
QIcon PlainIcon(const QString& name) {
    if (name.isEmpty())
        return QIcon();
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkBlue);
    return QIcon(pixmap);
}

TEST_F(PlaybackTabTest, PlayButtonsShowPicturesAndTellTheirUseInTips) {
    AfxSetIconPainter(&PlainIcon);
    CPlaybackTab tab(m_frame);
    ASSERT_TRUE(tab.Create(m_frame));
    const struct {
        int id;
        const char* tip;  // the caption, but the two "Play"s say which way they play
    } buttons[] = {{2002, "Rew"}, {2009, "Play backward"}, {2004, "Back"}, {2003, "Stop"},
                   {2005, "Fwd"}, {2001, "Play forward"},  {2010, "FFwd"}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.id);
        CWnd* control = tab.GetDlgItem(b.id);
        ASSERT_NE(control, nullptr);
        auto* button = qobject_cast<QAbstractButton*>(control->GetQWidget());
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_TRUE(button->text().isEmpty());
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(b.tip));
    }
    tab.DestroyWindow();
    AfxSetIconPainter({});
}

}  // namespace
