#include "groups/MeasurementView.h"

#include "platform/framework/CmdUI.h"
#include "platform/framework/MessageMap.h"
#include "shell/ViewChildedFrame.h"
#include "testsupport/IsolatedTest.h"
#include "views/IPlayBar.h"
#include "views/PlaybackView.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace {

// A member that answers a zero point of its own and can run code when it is moved.
class CFakePlayback : public CPlaybackView {
public:
    int GetFirstFrameNumber(int* first) const override {
        if (first)
            *first = zero;
        return 1;
    }
    void SetCurrentFrame(int frame, int force) override {
        ++moves;
        CPlaybackView::SetCurrentFrame(frame, force);
        if (onMove)
            onMove(frame);
    }

    // Videos and data files keep their zero each in their own way; the group only asks.
    BOOL SetZeroFrame(int frame) override {
        zero = frame;
        return TRUE;
    }

    int zero = 0;
    int moves = 0;
    std::function<void(int)> onMove;
};

// A member frame that remembers what the group told it.
class CMemberFrame : public CViewChildedFrame {
    DECLARE_MESSAGE_MAP()

public:
    LRESULT OnMemberMoved(WPARAM wParam, LPARAM lParam) {
        movedBy = reinterpret_cast<CWnd*>(wParam);
        movedTo = static_cast<int>(lParam);
        return 0;
    }

    CWnd* movedBy = nullptr;
    int movedTo = -1;
};

BEGIN_MESSAGE_MAP(CMemberFrame, CViewChildedFrame)
ON_MESSAGE(kMemberFrameMovedMessage, OnMemberMoved)
END_MESSAGE_MAP()

// A menu item that remembers what the update handler made of it.
class CProbe : public CCmdUI {
public:
    explicit CProbe(UINT id) { m_nID = id; }
    void Enable(BOOL bOn) override {
        enabled = bOn;
        CCmdUI::Enable(bOn);
    }
    void SetCheck(int nCheck) override {
        checked = nCheck;
        CCmdUI::SetCheck(nCheck);
    }
    int enabled = -1;
    int checked = -1;
};

struct Member {
    double rate = 1000;
    int zero = 0;
    int markOn = 0;
    int mark = 0;
    int baseSync = 1;
    const char* name = "group";
    int count = 1000;
};

class MeasurementViewTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_host = std::make_unique<CWnd>();
        ASSERT_TRUE(
            m_host->Create(nullptr, QString(), WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        m_view = new CMeasurementView;
        ASSERT_TRUE(m_view->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 400),
                                   m_host.get(), AFX_IDW_PANE_FIRST));
        m_view->OnInitialUpdate();
    }

    void TearDown() override {
        m_host->DestroyWindow();
        m_host.reset();
        IsolatedTest::TearDown();
    }

    // A member in a new frame of the group, now the top-most one.
    CFakePlayback* Add(const Member& m, int type = CPlaybackView::kVideoMember) {
        auto* frame = new CMemberFrame;
        EXPECT_TRUE(frame->LoadFrame(0, WS_OVERLAPPEDWINDOW));
        auto* playback = new CFakePlayback;
        EXPECT_TRUE(playback->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 40),
                                     frame, AFX_IDW_PANE_FIRST));
        frame->SetActiveView(playback, FALSE);
        CViewChildedFrame::AttachToParentView(m_view, frame);
        frame->ShowWindow(SW_SHOW);
        playback->SetGroupMember(type, ++m_nextId, 0, 0);
        playback->SetFrameRate(m.rate);
        playback->SetFrameCount(m.count);
        playback->zero = m.zero;
        playback->SetFrameNumberOrigin(m.markOn, m.mark);
        playback->SetBaseSync(m.baseSync);
        if (m.name[0])
            playback->SetSourceName(QString::fromLatin1(m.name) + ".avi");
        return playback;
    }

    static CMemberFrame* FrameOf(CPlaybackView* playback) {
        return static_cast<CMemberFrame*>(playback->GetParentFrame());
    }

    std::unique_ptr<CWnd> m_host;
    CMeasurementView* m_view = nullptr;
    int m_nextId = 0;
};

// Moving the top member to frame moves the member below it (expected -1: left alone).
struct SyncCase {
    const char* what;
    Member other;
    Member top;
    int frame;
    int expected;
};

TEST_F(MeasurementViewTest, AViewDestroyedBeforeTheEventLoopTurnsIsNotReadAgain) {
    // A group whose file fails to open is closed before its view's first turn of the event
    // loop; the view's read of the pending group must not reach the freed view (the sanitizers
    // of the test build report it).
    auto* view = new CMeasurementView;
    ASSERT_TRUE(view->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 60, 40),
                             m_host.get(), AFX_IDW_PANE_FIRST + 1));
    view->OnInitialUpdate();
    QPointer<QWidget> widget = view->GetQWidget();
    view->DestroyWindow();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(widget.isNull());
}

TEST_F(MeasurementViewTest, MembersFollowByTimeSinceZeroOrSynchronisationMark) {
    const SyncCase cases[] = {
        {"base sync: trunc(r2 (f - z1) / r1) + z2", {500, 40}, {1000, 100}, 600, 290},
        {"before the zero point the time counts backwards", {500, 40}, {1000, 100}, 50, 15},
        {"truncates towards zero, not down", {500, 40}, {1000, 100}, 99, 40},
        {"a target before the recording moves nothing", {500, 0}, {1000, 500}, 0, -1},
        {"another source name is not followed", {500, 40, 0, 0, 1, "other"}, {1000, 100}, 600, -1},
        {"a member without base sync is not followed", {500, 40, 0, 0, 0}, {1000, 100}, 600, -1},
        {"without base sync or mark the reference moves alone",
         {500, 40},
         {1000, 100, 0, 0, 0},
         600,
         -1},
        {"an empty source name is no base sync",
         {500, 40, 0, 0, 1, ""},
         {1000, 100, 0, 0, 1, ""},
         600,
         -1},
        {"a synchronisation mark wins over base sync",
         {500, 40, 1, 300},
         {1000, 100, 1, 10},
         110,
         350},
        {"marks synchronise without base sync", {250, 0, 1, 20, 0}, {1000, 0, 1, 400, 0}, 800, 120},
    };
    for (const SyncCase& c : cases) {
        SCOPED_TRACE(c.what);
        // Only a frame other than the last one moves the reference.
        m_view->SynchronizeToFrame(c.frame + 1, 0, -1, 0);
        CFakePlayback* other = Add(c.other);
        other->SetCurrentFrame(7, 0);
        CFakePlayback* top = Add(c.top);
        m_view->SynchronizeToFrame(c.frame, 0, -1, 1);
        EXPECT_EQ(top->GetCurrentFrame(), c.frame);
        EXPECT_EQ(m_view->GetPlayControl().GetCurrentFrame(), c.frame);
        EXPECT_EQ(other->GetCurrentFrame(), c.expected < 0 ? 7 : c.expected);
        EXPECT_EQ(FrameOf(other)->movedTo, c.expected);
        if (c.expected >= 0) {
            EXPECT_EQ(FrameOf(other)->movedBy, m_view);
        }
        FrameOf(top)->DestroyWindow();
        FrameOf(other)->DestroyWindow();
    }
}

TEST_F(MeasurementViewTest, NamedPlaybackIsTheReferenceAndPropagationIsOptional) {
    CFakePlayback* named = Add({500, 0});
    CFakePlayback* other = Add({1000, 0});
    ASSERT_EQ(m_view->GetActivePlaybackView(), other);

    m_view->SynchronizeToFrame(100, CPlaybackView::kVideoMember,
                               CMeasurementView::SourceIdOf(named), 1);
    EXPECT_EQ(named->GetCurrentFrame(), 100);
    EXPECT_EQ(other->GetCurrentFrame(), 200);

    m_view->SynchronizeToFrame(150, 0, -1, 0);
    EXPECT_EQ(other->GetCurrentFrame(), 150);
    EXPECT_EQ(named->GetCurrentFrame(), 100) << "nothing propagates without the flag";
    EXPECT_EQ(m_view->FindPlayback(CPlaybackView::kDataMember, CMeasurementView::SourceIdOf(named)),
              nullptr);
}

TEST_F(MeasurementViewTest, ReferenceFollowsThePlayControlLimits) {
    CFakePlayback* top = Add({1000, 0, 0, 0, 1, "group", 400});
    m_view->GetPlayControl().SetInLimit(TRUE, 20);
    m_view->GetPlayControl().SetOutLimit(TRUE, 300);
    m_view->SynchronizeToFrame(50, 0, -1, 1);
    int frame = -1;
    EXPECT_EQ(top->GetInPoint(&frame), 1);
    EXPECT_EQ(frame, 20);
    EXPECT_EQ(top->GetOutPoint(&frame), 1);
    EXPECT_EQ(frame, 300);

    m_view->GetPlayControl().SetInLimit(FALSE, 20);
    m_view->GetPlayControl().SetOutLimit(TRUE, 0);
    m_view->SynchronizeToFrame(60, 0, -1, 1);
    EXPECT_EQ(top->GetInPoint(&frame), 0);
    EXPECT_EQ(frame, 0);
    EXPECT_EQ(top->GetOutPoint(&frame), 0);
    EXPECT_EQ(frame, 399) << "an out limit of 0 is no limit";
}

TEST_F(MeasurementViewTest, SlowestSourceControlsWhenTheSettingsComeFromIt) {
    CFakePlayback* slowA = Add({500, 0, 0, 0, 1, "group", 500});
    CFakePlayback* slowB = Add({500, 0, 0, 0, 1, "group", 600});
    Add({250, 0, 0, 0, 1, "other", 250});
    CFakePlayback* fast = Add({1000, 0, 0, 0, 1, "group", 1000});

    EXPECT_EQ(m_view->GetControllingPlayback(), fast);
    EXPECT_EQ(m_view->FindSlowestSynced(fast->GetSourceName()), slowB)
        << "a tie keeps the upper one";

    // The menu command switches the source; the play control then counts in the slow one's
    // frames.
    ASSERT_TRUE(m_view->OnCmdMsg(32947, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(m_view->GetSettingsSource(), CMeasurementView::kSettingsFromSlowest);
    EXPECT_EQ(m_view->GetControllingPlayback(), slowB);
    slowB->SetCurrentFrame(42, 0);
    m_view->RefreshPlayControl();
    EXPECT_EQ(m_view->GetPlayControl().GetCurrentFrame(), 42);

    m_view->SynchronizeToFrame(100, 0, -1, 1);
    EXPECT_EQ(slowB->GetCurrentFrame(), 100);
    EXPECT_EQ(slowA->GetCurrentFrame(), 100);
    EXPECT_EQ(fast->GetCurrentFrame(), 200);

    // A data time given in another rate is converted to the slowest member's frames first.
    m_view->OnDataTimeChanged(300, 1, 1500.0, fast->GetSourceName());
    EXPECT_EQ(slowB->GetCurrentFrame(), 100);
    EXPECT_EQ(fast->GetCurrentFrame(), 200);

    ASSERT_TRUE(m_view->OnCmdMsg(32946, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(m_view->GetControllingPlayback(), fast);
}

TEST_F(MeasurementViewTest, RewindAndFastForwardStopAtTheZeroFrame) {
    struct Case {
        int zero;
        int from;
        UINT command;
        int expected;
    };
    const Case cases[] = {
        {200, 350, PlayControlId::kRew, 200},  {200, 150, PlayControlId::kRew, 0},
        {200, 150, PlayControlId::kFFwd, 200}, {200, 350, PlayControlId::kFFwd, 999},
        {0, 350, PlayControlId::kRew, 0},      {0, 350, PlayControlId::kFFwd, 999},
        {1000, 50, PlayControlId::kFFwd, 999}, {200, 200, PlayControlId::kRew, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "zero " << c.zero << " from " << c.from << " command " << c.command);
        CFakePlayback* top = Add({1000, c.zero});
        m_view->SynchronizeToFrame(c.from, 0, -1, 1);
        ASSERT_TRUE(m_view->OnCmdMsg(c.command, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(m_view->GetPlayControl().GetCurrentFrame(), c.expected);
        EXPECT_EQ(top->GetCurrentFrame(), c.expected) << "the group moved with the play control";
        EXPECT_EQ(m_view->GetLastSynchronizedFrame(), c.expected);
        FrameOf(top)->DestroyWindow();
    }
}

TEST_F(MeasurementViewTest, NestedSynchronisationReturnsAtOnce) {
    CFakePlayback* other = Add({1000, 0});
    CFakePlayback* top = Add({1000, 0});
    // A member whose move reports back into the group, as a member's callbacks do.
    top->onMove = [this](int frame) { m_view->SynchronizeToFrame(frame + 500, 0, -1, 1); };
    m_view->SynchronizeToFrame(100, 0, -1, 1);
    EXPECT_EQ(top->moves, 1);
    EXPECT_EQ(top->GetCurrentFrame(), 100);
    EXPECT_EQ(other->GetCurrentFrame(), 100);
    EXPECT_EQ(m_view->GetLastSynchronizedFrame(), 100);

    // The guard is released: the next step runs.
    top->onMove = nullptr;
    m_view->SynchronizeToFrame(120, 0, -1, 1);
    EXPECT_EQ(other->GetCurrentFrame(), 120);
}

TEST_F(MeasurementViewTest, AStepLeavesMembersWhoseFrameStaysAlone) {
    CFakePlayback* slow = Add({250, 0});
    CFakePlayback* top = Add({1000, 0});
    ASSERT_EQ(m_view->GetActivePlaybackView(), top);
    // Four steps of the top one are one frame of the slow one: it moves on the first step and
    // again where its frame changes, and is not asked to read or paint the same frame between.
    const int before = slow->moves;
    for (int frame = 100; frame <= 107; ++frame) {
        m_view->SynchronizeToFrame(frame, 0, -1, 1);
        EXPECT_EQ(top->GetCurrentFrame(), frame);
        EXPECT_EQ(slow->GetCurrentFrame(), frame / 4);
    }
    EXPECT_EQ(slow->moves - before, 2);
    EXPECT_EQ(top->moves, 8);
}

TEST_F(MeasurementViewTest, ThePlayControlMovesTheGroupAndTellsTheTopFrame) {
    CFakePlayback* other = Add({250, 10});
    CFakePlayback* top = Add({1000, 0});
    ASSERT_TRUE(m_view->OnCmdMsg(PlayControlId::kFwd, CN_COMMAND, nullptr, nullptr));
    ASSERT_TRUE(m_view->OnCmdMsg(PlayControlId::kFwd, CN_COMMAND, nullptr, nullptr));
    ASSERT_TRUE(m_view->OnCmdMsg(PlayControlId::kFwd, CN_COMMAND, nullptr, nullptr));
    ASSERT_TRUE(m_view->OnCmdMsg(PlayControlId::kFwd, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(top->GetCurrentFrame(), 4);
    EXPECT_EQ(other->GetCurrentFrame(), 11);
    EXPECT_EQ(FrameOf(top)->movedTo, 4) << "the top frame's own play bar follows";
}

TEST_F(MeasurementViewTest, WindowsOpenedForTheGroupGetItsFrameChangedCallback) {
    CFakePlayback* top = Add({1000, 0});
    IPlayGroupView* groupView = m_view;
    FrameChangedFn fn = nullptr;
    void* context = nullptr;
    ASSERT_TRUE(groupView->GetMemberFrameChangedCallback(&fn, &context));
    ASSERT_NE(fn, nullptr);

    // A window that moves on its own reports through the callback; the play control follows.
    top->CPlaybackView::SetCurrentFrame(37, 1);
    ASSERT_NE(m_view->GetPlayControl().GetCurrentFrame(), 37);
    fn(context, 37);
    EXPECT_EQ(m_view->GetPlayControl().GetCurrentFrame(), 37);
}

TEST_F(MeasurementViewTest, AutoBracketKeepsPointsInsideEachMember) {
    struct Case {
        int zero;
        int count;
        int in;
        int out;
    };
    const Case cases[] = {{100, 1000, 85, 115}, {5, 1000, 0, 20}, {995, 1000, 980, 999}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zero);
        CFakePlayback* unmarked = Add({1000, c.zero, 0, 0, 1, "group", c.count});
        CFakePlayback* marked = Add({1000, c.zero, 1, 0, 1, "group", c.count});
        CFakePlayback* top = Add({1000, c.zero, 1, 0, 1, "group", c.count});
        m_view->AutoBracket(15);
        for (CFakePlayback* member : {marked, top}) {
            int frame = -1;
            EXPECT_EQ(member->GetInPoint(&frame), 1);
            EXPECT_EQ(frame, c.in);
            EXPECT_EQ(member->GetOutPoint(&frame), 1);
            EXPECT_EQ(frame, c.out);
        }
        EXPECT_EQ(unmarked->GetInPoint(nullptr), 0) << "only marked members are bracketed";
        for (CFakePlayback* member : {unmarked, marked, top})
            FrameOf(member)->DestroyWindow();
    }
}

TEST_F(MeasurementViewTest, SimplePlayBarMessagesReachThePlayControl) {
    CFakePlayback* top = Add({1000, 0});
    m_view->GetPlayControl().SetInLimit(TRUE, 30);
    m_view->SynchronizeToFrame(40, 0, -1, 1);
    ASSERT_EQ(top->GetInPoint(nullptr), 1);
    // The bar's reset of its markers, sent to the group's view, resets the play control's
    // limits and the group follows.
    m_view->SendMessage(kPlayBarResetLimits, 0, 0);
    EXPECT_FALSE(m_view->GetPlayControl().GetInLimit(nullptr));
    EXPECT_EQ(top->GetInPoint(nullptr), 0);
}

TEST_F(MeasurementViewTest, MenuStatesFollowTheViewsSettings) {
    CProbe snapkeep(32860);
    snapkeep.DoUpdate(m_view, TRUE);
    EXPECT_EQ(snapkeep.enabled, FALSE) << "the one-step save has nothing to save";

    CProbe autoArrange(32892);
    autoArrange.DoUpdate(m_view, TRUE);
    EXPECT_EQ(autoArrange.checked, 1);
    ASSERT_TRUE(m_view->OnCmdMsg(32892, CN_COMMAND, nullptr, nullptr));
    autoArrange.DoUpdate(m_view, TRUE);
    EXPECT_EQ(autoArrange.checked, 0);

    CProbe fromActive(32946);
    CProbe fromSlowest(32947);
    ASSERT_TRUE(m_view->OnCmdMsg(32947, CN_COMMAND, nullptr, nullptr));
    fromActive.DoUpdate(m_view, TRUE);
    fromSlowest.DoUpdate(m_view, TRUE);
    EXPECT_EQ(fromActive.checked, 0);
    EXPECT_EQ(fromSlowest.checked, 1);
}

TEST_F(MeasurementViewTest, ZeroMakesTheCurrentFrameTheZeroOfEverySyncedMember) {
    struct Case {
        const char* what;
        Member member;
        int type;
        bool zeroed;
    };
    const Case cases[] = {
        {"a video of the same name", {1000, 7}, CPlaybackView::kVideoMember, true},
        {"a data file of the same name", {1000, 7}, CPlaybackView::kDataMember, true},
        {"a member of another name",
         {1000, 7, 0, 0, 1, "other"},
         CPlaybackView::kDataMember,
         false},
        {"a member without base sync", {1000, 7, 0, 0, 0}, CPlaybackView::kVideoMember, false},
    };
    std::vector<CFakePlayback*> members;
    for (const Case& c : cases) {
        members.push_back(Add(c.member, c.type));
        members.back()->CPlaybackView::SetCurrentFrame(40, 0);
    }
    CFakePlayback* top = Add({1000, 3}, CPlaybackView::kDataMember);
    top->CPlaybackView::SetCurrentFrame(25, 0);
    m_view->OnZero();
    EXPECT_EQ(top->zero, 25);
    for (size_t i = 0; i < members.size(); ++i)
        EXPECT_EQ(members[i]->zero, cases[i].zeroed ? 40 : 7) << cases[i].what;
}

TEST_F(MeasurementViewTest, GraphNumberingCommandsActOnADataPlaybackOnTop) {
    CProbe videoCentric(32847);
    CProbe dataCentric(32846);
    // A video on top has no graph to number.
    Add({1000, 0});
    videoCentric.DoUpdate(m_view, TRUE);
    dataCentric.DoUpdate(m_view, TRUE);
    EXPECT_EQ(videoCentric.enabled, FALSE);
    EXPECT_EQ(dataCentric.enabled, FALSE);

    CFakePlayback* data = Add({1000, 0}, CPlaybackView::kDataMember);
    int notified = 0;
    data->SetFrameChangedCallback([](void* count, int) { ++*static_cast<int*>(count); }, &notified);
    struct Step {
        UINT command;
        int mode;
    };
    for (const Step& s : {Step{0, 0}, Step{32846, 1}, Step{32847, 0}}) {
        SCOPED_TRACE(s.command);
        if (s.command) {
            ASSERT_TRUE(m_view->OnCmdMsg(s.command, CN_COMMAND, nullptr, nullptr));
            EXPECT_GT(notified, 0) << "the graph is drawn again";
            notified = 0;
        }
        EXPECT_EQ(data->GetGraphNumberingMode(), s.mode);
        videoCentric.DoUpdate(m_view, TRUE);
        dataCentric.DoUpdate(m_view, TRUE);
        EXPECT_EQ(videoCentric.enabled, TRUE);
        EXPECT_EQ(dataCentric.enabled, TRUE);
        EXPECT_EQ(videoCentric.checked, s.mode == 0 ? 1 : 0);
        EXPECT_EQ(dataCentric.checked, s.mode == 1 ? 1 : 0);
    }
}

TEST_F(MeasurementViewTest, ExtraValueIsKeptForTheCaller) {
    EXPECT_EQ(m_view->GetExtraValue(), 0);
    EXPECT_EQ(m_view->SetExtraValue(-7), -7);
    EXPECT_EQ(m_view->GetExtraValue(), -7);
    IPlayGroupMembers* members = m_view;
    EXPECT_EQ(members->GetMemberCount(), -1) << "no document";
    EXPECT_EQ(members->GetMemberPlayback(0), nullptr);
}

}  // namespace
