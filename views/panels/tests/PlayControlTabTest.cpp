#include "views/panels/PlayControlTab.h"

#include "platform/controls/SlideWidget.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "testsupport/IsolatedTest.h"
#include "testsupport/ManualClock.h"
#include "views/PlayControlWnd.h"
#include "views/panels/tests/FakePlaybackList.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

namespace {

// The owner of the play control: a member of 100 frames recorded at 25 fps.
struct Member {
    int count = 100;
    int current = 0;
    std::vector<int> shown;
    std::vector<std::pair<int, int>> syncs;
    std::vector<int> baseSyncs;
    std::vector<int> continuous;
    std::vector<int> zeros;
};

Member& Of(void* context) {
    return *static_cast<Member*>(context);
}

void Connect(CPlayControlWnd& play, Member& member) {
    play.SetGetFrameNumberCallback([](void*, int, int* origin) { *origin = 0; }, &member);
    play.SetGetFrameCountCallback([](void* c, int, int* count) { *count = Of(c).count; }, &member);
    play.SetGetCurrentFrameCallback([](void* c, int, int* frame) { *frame = Of(c).current; },
                                    &member);
    play.SetGetTimeCallback(
        [](void*, double* rate) {
            *rate = 25.0;
            return TRUE;
        },
        &member);
    play.SetFrameChangedCallback(
        [](void* c, int frame) {
            Of(c).current = frame;
            Of(c).shown.push_back(frame);
        },
        &member);
    play.SetSynchronizeCallback(
        [](void* c, int frame, int on) { Of(c).syncs.emplace_back(frame, on); }, &member);
    play.SetBaseSyncCallback([](void* c, int on) { Of(c).baseSyncs.push_back(on); }, &member);
    play.SetContinuousCallback([](void* c, int on) { Of(c).continuous.push_back(on); }, &member);
    play.SetZeroCallback([](void* c, int frame) { Of(c).zeros.push_back(frame); }, &member);
}

// The play group's frame as far as the page needs it: the play commands and controls go to
// its play control.
class CPlayFrame : public CFrameWnd {
public:
    CPlayControlWnd* m_play = nullptr;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        const bool forPlay = CPlayControlWnd::IsPlayControlId(nID) || nID == PlayControlId::kJump ||
                             nID == PlayControlId::kZero || nID == PlayControlId::kSkipEdit;
        if (m_play && forPlay && m_play->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

// An owner window that records the slide's messages as "message pointer value".
class CRecordingOwner : public CWnd {
public:
    QStringList messages;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kPlayBarTracking || message == kPlayBarReleased ||
            message == kPlayBarResetLimits) {
            messages << QString("%1 %2 %3").arg(message).arg(wParam).arg(lParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class PlayControlTabTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&CProgramResources::Module());
        m_clock.Set(1000000);
        m_frame = new CPlayFrame;
        ASSERT_TRUE(m_frame->LoadFrame(0));
        m_frame->MoveWindow(0, 0, 900, 400);
        ASSERT_TRUE(m_play.Create(nullptr, "play control", 0, CRect(), nullptr, 0));
        Connect(m_play, m_member);
        m_frame->m_play = &m_play;
        ASSERT_TRUE(m_tab.Create(m_frame, &m_play));
        m_tab.MoveWindow(0, 0, 700, 300);
        m_tab.ShowWindow(SW_SHOW);
        m_frame->ShowWindow(SW_SHOW);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame->GetQWidget()));
        m_play.SetPlayBar(&m_tab);
        m_play.ResetRange();
    }
    void TearDown() override {
        m_play.SetPlayBar(nullptr);
        m_tab.DestroyWindow();
        m_play.DestroyWindow();
        m_frame->DestroyWindow();
        CResourceChain::RemoveModule(&CProgramResources::Module());
        IsolatedTest::TearDown();
    }

    QWidget* Item(int id) {
        CWnd* item = m_tab.GetDlgItem(id);
        return item ? item->GetQWidget() : nullptr;
    }
    QString Text(int id) { return m_tab.GetDlgItemText(id); }
    void Click(int id) {
        QWidget* button = Item(id);
        ASSERT_NE(button, nullptr) << id;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    bool Checked(int id) {
        auto* box = qobject_cast<QAbstractButton*>(Item(id));
        return box && box->isChecked();
    }
    CSlideWidget* Slide() { return static_cast<CSlideWidget*>(m_tab.GetSlideWidget()); }
    QPoint At(int value) { return {Slide()->PositionOf(value), Slide()->height() / 2}; }
    void Drag(int from, int to) {
        QTest::mousePress(Slide(), Qt::LeftButton, Qt::NoModifier, At(from));
        QTest::mouseMove(Slide(), At((from + to) / 2));
        QTest::mouseMove(Slide(), At(to));
        QTest::mouseRelease(Slide(), Qt::LeftButton, Qt::NoModifier, At(to));
    }

    ManualClock m_clock;
    Member m_member;
    CPlayFrame* m_frame = nullptr;
    CPlayControlWnd m_play;
    CPlayControlTab m_tab;
};

TEST_F(PlayControlTabTest, OpensWithItsStartingFields) {
    CPlayControlTab fresh;
    ASSERT_TRUE(fresh.Create(m_frame, nullptr));
    EXPECT_EQ(fresh.GetDlgItemText(CPlayControlTab::kJumpField), "0");
    EXPECT_EQ(fresh.GetDlgItemText(CPlayControlTab::kRatioField), "1");
    EXPECT_EQ(fresh.GetDlgItemText(CPlayControlTab::kFrameField), "0");
    EXPECT_EQ(fresh.GetDlgItemText(CPlayControlTab::kTimeField), "0.0000");
    EXPECT_EQ(fresh.GetDlgItemText(CPlayControlTab::kSpeedText), "20.0");
    auto* slider =
        qobject_cast<QSlider*>(fresh.GetDlgItem(CPlayControlTab::kRateSlider)->GetQWidget());
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->minimum(), 2);
    EXPECT_EQ(slider->maximum(), 60);
    EXPECT_EQ(slider->value(), 40);
    EXPECT_EQ(fresh.GetSpeed(), 20.0);
    // The slide's wrapper took the template's place under its id, the slide inside it.
    ASSERT_NE(fresh.GetSlideWidget(), nullptr);
    auto* wrapper = dynamic_cast<CCWSlide*>(fresh.GetDlgItem(CPlayControlTab::kPositionSlide));
    ASSERT_NE(wrapper, nullptr);
    EXPECT_FALSE(wrapper->IsEmpty());
    EXPECT_EQ(fresh.GetSlideWidget()->parentWidget(), wrapper->GetQWidget());
    CPlaybackTree& tree = fresh.GetTree();
    ASSERT_EQ(tree.GetCount(), 1u);
    EXPECT_EQ(tree.GetItemText(tree.GetRootItem()), "No Playbacks");
    EXPECT_EQ(tree.GetItemImage(tree.GetRootItem()), kTreeImageSource);
    fresh.DestroyWindow();
}

TEST_F(PlayControlTabTest, TransportButtonsDriveThePlayControl) {
    // Both play buttons read "Play"; their tips tell the two directions apart.
    ASSERT_NE(Item(PlayControlId::kPlay), nullptr);
    ASSERT_NE(Item(PlayControlId::kPlayBackward), nullptr);
    EXPECT_EQ(Item(PlayControlId::kPlay)->toolTip(), "Play forward");
    EXPECT_EQ(Item(PlayControlId::kPlayBackward)->toolTip(), "Play backward");
    m_play.GotoFrame(10, TRUE);
    Click(PlayControlId::kPlay);
    EXPECT_TRUE(m_play.IsPlaying());
    EXPECT_FALSE(m_play.IsBackward());
    Click(PlayControlId::kStop);
    EXPECT_FALSE(m_play.IsPlaying());
    Click(PlayControlId::kPlayBackward);
    EXPECT_TRUE(m_play.IsPlaying());
    EXPECT_TRUE(m_play.IsBackward());
    Click(PlayControlId::kStop);

    struct Step {
        int button;
        int expectFrame;
    };
    const Step steps[] = {
        {PlayControlId::kFwd, 11},  {PlayControlId::kFwd, 12},  {PlayControlId::kBack, 11},
        {PlayControlId::kFFwd, 99}, {PlayControlId::kBack, 98},
    };
    for (const Step& step : steps) {
        Click(step.button);
        EXPECT_EQ(m_play.GetCurrentFrame(), step.expectFrame) << step.button;
        // The readout follows: frame number and its time at 25 fps.
        EXPECT_EQ(Text(CPlayControlTab::kFrameField), QString::number(step.expectFrame));
        EXPECT_EQ(Text(CPlayControlTab::kTimeField),
                  QString::asprintf("%5.4f", step.expectFrame / 25.0));
    }
    EXPECT_EQ(m_member.current, 98);
}

TEST_F(PlayControlTabTest, JumpAndZeroUseTheTypedFrame) {
    auto* jump = qobject_cast<QLineEdit*>(Item(CPlayControlTab::kJumpField));
    ASSERT_NE(jump, nullptr);
    jump->clear();
    QTest::keyClicks(jump, "42");
    Click(PlayControlId::kJump);
    EXPECT_EQ(m_play.GetCurrentFrame(), 42);
    EXPECT_EQ(Text(CPlayControlTab::kFrameField), "42");
    EXPECT_EQ(Text(CPlayControlTab::kTimeField), "1.6800");
    Click(PlayControlId::kZero);
    EXPECT_EQ(m_member.zeros, std::vector<int>{42});

    jump->clear();
    QTest::keyClicks(jump, "100");
    Prompter().ExpectMessageBox("Invalid frame entered.", IDOK);
    Click(PlayControlId::kJump);
    EXPECT_EQ(m_play.GetCurrentFrame(), 42);
}

// The page lives inside the control panel: Enter jumps to the typed frame and Escape is
// ignored; neither key ends or hides the page.
TEST_F(PlayControlTabTest, EnterJumpsAndEscapeLeavesThePageInPlace) {
    auto* jump = qobject_cast<QLineEdit*>(Item(CPlayControlTab::kJumpField));
    ASSERT_NE(jump, nullptr);
    jump->clear();
    QTest::keyClicks(jump, "37");
    QTest::keyClick(jump, Qt::Key_Return);
    EXPECT_EQ(m_play.GetCurrentFrame(), 37);
    QTest::keyClick(jump, Qt::Key_Escape);
    QTest::keyClick(Item(CPlayControlTab::kRatioField), Qt::Key_Escape);
    EXPECT_TRUE(m_tab.GetSafeHwnd());
    EXPECT_TRUE(m_tab.IsWindowVisible());
    EXPECT_EQ(m_play.GetCurrentFrame(), 37);
}

TEST_F(PlayControlTabTest, ModeBoxesToggleThePlayControlAndShowItsState) {
    m_member.current = 7;
    struct Box {
        int id;
        std::function<int()> state;
    };
    const Box boxes[] = {
        {PlayControlId::kContinuous, [&] { return m_play.GetContinuous(); }},
        {PlayControlId::kSynchronize, [&] { return m_play.GetSynchronize(); }},
        {PlayControlId::kBaseSync, [&] { return m_play.GetBaseSync(); }},
    };
    for (const Box& box : boxes) {
        Click(box.id);
        EXPECT_EQ(box.state(), 1) << box.id;
        EXPECT_TRUE(Checked(box.id)) << box.id;
        Click(box.id);
        EXPECT_EQ(box.state(), 0) << box.id;
        EXPECT_FALSE(Checked(box.id)) << box.id;
    }
    EXPECT_EQ(m_member.continuous, (std::vector<int>{1, 0}));
    EXPECT_EQ(m_member.baseSyncs, (std::vector<int>{1, 0}));
    EXPECT_EQ(m_member.syncs, (std::vector<std::pair<int, int>>{{7, 1}, {7, 0}}));

    // The play control shows flags set elsewhere through the page.
    m_play.SetContinuous(1);
    m_play.ShowContinuous();
    m_play.SetBaseSync(1);
    m_play.ShowBaseSync();
    EXPECT_TRUE(Checked(PlayControlId::kContinuous));
    EXPECT_TRUE(Checked(PlayControlId::kBaseSync));
    EXPECT_FALSE(Checked(PlayControlId::kSynchronize));
}

TEST_F(PlayControlTabTest, RateSliderSetsTheRateWhenLetGo) {
    auto* slider = qobject_cast<QSlider*>(Item(CPlayControlTab::kRateSlider));
    ASSERT_NE(slider, nullptr);
    struct Case {
        int position;
        bool rightEnd;
        double rate;
    };
    // A click on the handle at either end leaves it there and lets go of it.
    for (const Case& c : {Case{60, true, 30.0}, Case{2, false, 1.0}}) {
        slider->setValue(c.position);
        const QPoint handle(c.rightEnd ? slider->width() - 4 : 4, slider->height() / 2);
        QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, handle);
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, handle);
        EXPECT_EQ(slider->value(), c.position);
        EXPECT_EQ(m_play.GetRate(), c.rate);
    }
}

TEST_F(PlayControlTabTest, RatioFieldSetsTheSkip) {
    auto* ratio = qobject_cast<QLineEdit*>(Item(CPlayControlTab::kRatioField));
    ASSERT_NE(ratio, nullptr);
    // The user selects the field's text and types over it.
    QTest::keyClick(ratio, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(ratio, "4");
    EXPECT_EQ(m_play.GetSkip(), 3);
    m_play.SetSkipAndShow(9);
    EXPECT_EQ(Text(CPlayControlTab::kRatioField), "10");
    EXPECT_EQ(m_tab.GetSpeedField(), 10);
}

TEST_F(PlayControlTabTest, TicksShowTheAchievedRate) {
    Click(PlayControlId::kPlay);
    for (int tick = 0; tick < 4; ++tick) {
        m_clock.Advance(40000);  // 40 ms: 25 frames a second
        m_play.SendMessage(WM_TIMER, kPlayTimerId, 0);
    }
    Click(PlayControlId::kStop);
    EXPECT_EQ(m_play.GetCurrentFrame(), 4);
    EXPECT_EQ(Text(CPlayControlTab::kFrameField), "4");
    EXPECT_EQ(Text(CPlayControlTab::kSpeedText), "25.0");
}

TEST_F(PlayControlTabTest, SlideMovesPositionAndMarkers) {
    int minimum = -1;
    int maximum = -1;
    m_tab.GetRange(&minimum, &maximum);
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(maximum, 99);

    // The slide takes the value under the mouse's pixel, within a frame of the one aimed at;
    // the play control follows whatever the slide took.
    Drag(0, 60);
    int position = -1;
    m_tab.GetPosition(&position);
    EXPECT_NEAR(position, 60, 1);
    EXPECT_EQ(m_play.GetCurrentFrame(), position);
    EXPECT_EQ(m_member.current, position);
    EXPECT_EQ(Text(CPlayControlTab::kFrameField), QString::number(position));

    // The in marker still sits at 0 and the out marker at 99.
    Drag(0, 20);
    Drag(99, 80);
    int in = -1;
    int out = -1;
    m_tab.GetInOutPoints(&in, &out);
    EXPECT_NEAR(in, 20, 1);
    EXPECT_NEAR(out, 80, 1);
    int frame = -1;
    EXPECT_TRUE(m_play.GetInLimit(&frame));
    EXPECT_EQ(frame, in);
    EXPECT_TRUE(m_play.GetOutLimit(&frame));
    EXPECT_EQ(frame, out);
    EXPECT_EQ(m_play.GetCurrentFrame(), position);

    // A double click asks the play control to forget the markers.
    QTest::mouseDClick(Slide(), Qt::LeftButton, Qt::NoModifier, At(position));
    EXPECT_FALSE(m_play.GetInLimit(nullptr));
    EXPECT_FALSE(m_play.GetOutLimit(nullptr));
}

TEST_F(PlayControlTabTest, SlideEventsNeedAnOwnerWindow) {
    m_tab.SetOwner(nullptr);
    Drag(0, 30);
    EXPECT_EQ(m_play.GetCurrentFrame(), 0);
    CPlayControlWnd windowless;
    m_tab.SetOwner(&windowless);
    Drag(30, 50);
    EXPECT_EQ(m_play.GetCurrentFrame(), 0);
    m_tab.SetOwner(&m_play);
    Drag(50, 70);
    EXPECT_NEAR(m_play.GetCurrentFrame(), 70, 1);
}

TEST_F(PlayControlTabTest, SlideEventsReachTheOwnerAsPlayBarMessages) {
    CRecordingOwner owner;
    ASSERT_TRUE(owner.Create(nullptr, "owner", 0, CRect(), nullptr, 0));
    m_tab.SetOwner(&owner);
    m_tab.SetRange(0, 99);
    m_tab.SetInOutPoints(0, 99);
    m_tab.SetPosition(50);
    // Moves send the second value event (1225) with the value as it goes; letting go sends
    // the pointer-value event (1224) with where it stopped.
    QTest::mousePress(Slide(), Qt::LeftButton, Qt::NoModifier, At(99));
    QTest::mouseMove(Slide(), At(90));
    QTest::mouseRelease(Slide(), Qt::LeftButton, Qt::NoModifier, At(90));
    int in = 0;
    int out = 0;
    m_tab.GetInOutPoints(&in, &out);
    ASSERT_FALSE(owner.messages.isEmpty());
    EXPECT_EQ(owner.messages.back(), QString("1224 3 %1").arg(out));
    for (int i = 0; i + 1 < owner.messages.size(); ++i)
        EXPECT_TRUE(owner.messages[i].startsWith("1225 3 ")) << owner.messages[i].toStdString();
    EXPECT_TRUE(owner.messages.contains(QString("1225 3 %1").arg(out)));

    owner.messages.clear();
    QTest::mouseDClick(Slide(), Qt::LeftButton, Qt::NoModifier, At(50));
    EXPECT_TRUE(owner.messages.contains("1226 0 0"));
    m_tab.SetOwner(&m_play);
    owner.DestroyWindow();
}

TEST_F(PlayControlTabTest, SlideOperationsWriteOnlyChanges) {
    m_tab.SetRange(10, 200);
    int minimum = 0;
    int maximum = 0;
    m_tab.GetRange(&minimum, &maximum);
    EXPECT_EQ(minimum, 10);
    EXPECT_EQ(maximum, 200);

    m_tab.SetInOutPoints(30, 150);
    m_tab.SetPosition(40);
    int in = 0;
    int out = 0;
    int position = 0;
    m_tab.GetInOutPoints(&in, &out);
    m_tab.GetPosition(&position);
    EXPECT_EQ(std::make_pair(in, out), std::make_pair(30, 150));
    EXPECT_EQ(position, 40);
    m_tab.SetInPoint(35);
    m_tab.SetOutPoint(140);
    m_tab.GetInOutPoints(&in, &out);
    EXPECT_EQ(std::make_pair(in, out), std::make_pair(35, 140));

    // Without the slide's window the getters leave their values and the setters do nothing.
    CPlayControlTab unmade;
    int untouched = -5;
    int alsoUntouched = -6;
    unmade.GetRange(&untouched, &alsoUntouched);
    unmade.GetPosition(&untouched);
    unmade.GetInOutPoints(&untouched, &alsoUntouched);
    EXPECT_EQ(untouched, -5);
    EXPECT_EQ(alsoUntouched, -6);
    unmade.SetRange(1, 2);
    unmade.SetInOutPoints(1, 2);
    unmade.SetSpeedText(3.0);
}

struct ScaleCase {
    const char* name;
    int minimum;
    int maximum;
    int rate;
    int offset;
    std::vector<QString> frames;  // 1019, 1006, 1007, 1013
    std::vector<QString> times;   // 1135, 1008, 1009, 1015
};

TEST_F(PlayControlTabTest, ScaleLabelsDivideTheRangeInThirds) {
    const ScaleCase cases[] = {
        {"300 frames at 25 fps",
         0,
         299,
         25,
         0,
         {"0", "100", "200", "299"},
         {" 0.00", " 3.99", " 7.97", "11.96"}},
        {"moved by an offset of 50",
         0,
         299,
         25,
         50,
         {"-50", "50", "150", "249"},
         {"-2.00", " 1.99", " 5.97", " 9.96"}},
        {"no rate: frames by thirds",
         0,
         299,
         0,
         30,
         {"-30", "70", "170", "269"},
         {"-30.00", "69.67", "169.33", "269.00"}},
        {"15 frames are too few for thirds",
         0,
         14,
         0,
         0,
         {"0", "---", "---", "14"},
         {" 0.00", "---", "---", "14.00"}},
        {"16 frames are enough",
         0,
         15,
         0,
         0,
         {"0", "5", "10", "15"},
         {" 0.00", " 5.00", "10.00", "15.00"}},
    };
    for (const ScaleCase& c : cases) {
        m_tab.SetRange(c.minimum, c.maximum);
        m_tab.UpdateScaleLabels(c.rate, c.offset);
        const int frameIds[] = {1019, 1006, 1007, 1013};
        const int timeIds[] = {1135, 1008, 1009, 1015};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Text(frameIds[i]), c.frames[static_cast<size_t>(i)]) << c.name << " " << i;
            EXPECT_EQ(Text(timeIds[i]), c.times[static_cast<size_t>(i)]) << c.name << " " << i;
        }
        // A middle label stands centred under its frame's place on the slide.
        for (int i : {1, 2}) {
            bool numeric = false;
            const int frame = Text(frameIds[i]).toInt(&numeric) + c.offset;
            if (!numeric)
                continue;
            for (int id : {frameIds[i], timeIds[i]}) {
                QWidget* label = Item(id);
                QWidget* page = m_tab.GetQWidget();
                const int centre = label->mapTo(page, QPoint(label->width() / 2, 0)).x();
                const int marker = Slide()->mapTo(page, QPoint(Slide()->PositionOf(frame), 0)).x();
                EXPECT_NEAR(centre, marker, 2) << c.name << " " << id;
            }
        }
    }
}

TEST_F(PlayControlTabTest, FieldOperationsWriteTheirItems) {
    m_tab.SetFrameField(-12);
    m_tab.SetTimeField(-0.5);
    m_tab.SetSpeedText(24.96);
    m_tab.SetDlgItemText(CPlayControlTab::kJumpField, "-7");
    EXPECT_EQ(Text(CPlayControlTab::kFrameField), "-12");
    EXPECT_EQ(Text(CPlayControlTab::kTimeField), "-0.5000");
    EXPECT_EQ(Text(CPlayControlTab::kSpeedText), "25.0");
    EXPECT_EQ(m_tab.GetJumpFrame(), -7);
    m_tab.SetCheck2007(1);
    m_tab.SetCheck2011(1);
    m_tab.SetCheck2006(0);
    EXPECT_TRUE(Checked(PlayControlId::kSynchronize));
    EXPECT_TRUE(Checked(PlayControlId::kBaseSync));
    EXPECT_FALSE(Checked(PlayControlId::kContinuous));
}

TEST_F(PlayControlTabTest, PollsItsPlayGroupOnEveryTwentiethMessageWhileVisible) {
    FakePlaybackList list;
    CPlaybackView view;
    view.SetGroupMember(kPlaybackSourceVideo, 0, 0, 0);
    view.SetSourceName("/data/run1/take.avi");
    list.views = {&view};
    m_tab.SetOwnerLink(&list);
    auto send = [this](int messages) {
        for (int i = 0; i < messages; ++i)
            m_tab.SendMessage(WM_NULL);
    };
    send(CPlayControlTab::kPollInterval);
    EXPECT_EQ(m_tab.GetSeenCount(), 1);
    EXPECT_EQ(m_tab.GetListedCount(), 1);
    EXPECT_EQ(m_tab.GetTree().GetItemText(m_tab.GetTree().GetRootItem()), "Playback Sources");
    EXPECT_EQ(list.changed, 0);

    // Right after a poll a few messages do not poll again; the twentieth does.
    list.changed = 1;
    send(5);
    EXPECT_EQ(list.changed, 1);
    send(CPlayControlTab::kPollInterval);
    EXPECT_EQ(list.changed, 0);

    // A hidden page does not poll.
    list.changed = 1;
    m_tab.ShowWindow(SW_HIDE);
    send(3 * CPlayControlTab::kPollInterval);
    EXPECT_EQ(list.changed, 1);
    m_tab.ShowWindow(SW_SHOW);
    send(CPlayControlTab::kPollInterval);
    EXPECT_EQ(list.changed, 0);
    m_tab.SetOwnerLink(nullptr);
}

TEST_F(PlayControlTabTest, NewRangeListsTheGroupsMembersWithoutWaitingForMessages) {
    FakePlaybackList list;
    CPlaybackView view;
    view.SetGroupMember(kPlaybackSourceVideo, 0, 0, 0);
    view.SetSourceName("/data/run1/take.avi");
    list.views = {&view};
    list.changed = 1;
    m_tab.SetOwnerLink(&list);
    // The play control resets the range when a member joins.
    m_tab.SetRange(0, 99);
    EXPECT_EQ(m_tab.GetListedCount(), 1);
    EXPECT_EQ(list.changed, 0);
    int minimum = 0, maximum = 0;
    m_tab.GetRange(&minimum, &maximum);
    EXPECT_EQ(maximum, 99);
    m_tab.SetOwnerLink(nullptr);
}

}  // namespace
