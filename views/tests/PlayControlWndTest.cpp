#include "views/PlayControlWnd.h"

#include "testsupport/IsolatedTest.h"
#include "testsupport/ManualClock.h"
#include "views/IPlayBar.h"
#include "views/tests/RecordingPlayBar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <ostream>
#include <utility>
#include <vector>

namespace {

// The owner side of the callbacks: answers queries from its fields and records what it is told.
// Each redisplay takes displayUs on the clock, as a real member's painting would.
struct Owner {
    int count = 100;
    int origin = 0;
    int current = 0;
    double rate = 25.0;
    BOOL rateValid = TRUE;
    BOOL rewindGives = FALSE;
    int rewindTarget = 0;
    BOOL ffwdGives = FALSE;
    int ffwdTarget = 0;
    ManualClock* clock = nullptr;
    int64_t displayUs = 0;
    std::function<void(int)> onChanged;

    std::vector<int> changed;
    std::vector<int> zeros;
    std::vector<std::pair<int, int>> syncs;
    std::vector<int> baseSyncs;
    std::vector<int> continuous;
    std::vector<int> skips;
    int infoCalls = 0;
};

Owner& Of(void* context) {
    return *static_cast<Owner*>(context);
}

void ConnectOwner(CPlayControlWnd& play, Owner& owner) {
    play.SetRewindCallback(
        [](void* c, int, int* target) {
            *target = Of(c).rewindTarget;
            return Of(c).rewindGives;
        },
        &owner);
    play.SetFastForwardCallback(
        [](void* c, int, int* target) {
            *target = Of(c).ffwdTarget;
            return Of(c).ffwdGives;
        },
        &owner);
    play.SetGetFrameNumberCallback([](void* c, int, int* v) { *v = Of(c).origin; }, &owner);
    play.SetGetFrameCountCallback([](void* c, int, int* v) { *v = Of(c).count; }, &owner);
    play.SetGetCurrentFrameCallback([](void* c, int, int* v) { *v = Of(c).current; }, &owner);
    play.SetGetTimeCallback(
        [](void* c, double* rate) {
            *rate = Of(c).rate;
            return Of(c).rateValid;
        },
        &owner);
    play.SetFrameInfoCallback([](void* c, int*, int*, int*) { ++Of(c).infoCalls; }, &owner);
    play.SetFrameChangedCallback(
        [](void* c, int frame) {
            Owner& o = Of(c);
            o.changed.push_back(frame);
            o.current = frame;
            if (o.clock)
                o.clock->Advance(o.displayUs);
            if (o.onChanged)
                o.onChanged(frame);
        },
        &owner);
    play.SetZeroCallback([](void* c, int frame) { Of(c).zeros.push_back(frame); }, &owner);
    play.SetSynchronizeCallback(
        [](void* c, int frame, int on) { Of(c).syncs.emplace_back(frame, on); }, &owner);
    play.SetBaseSyncCallback([](void* c, int on) { Of(c).baseSyncs.push_back(on); }, &owner);
    play.SetContinuousCallback([](void* c, int on) { Of(c).continuous.push_back(on); }, &owner);
    play.SetSkipChangedCallback([](void* c, int skip) { Of(c).skips.push_back(skip); }, &owner);
}

// Records the commands that reach the window's own routing.
class RecordingPlayWnd : public CPlayControlWnd {
public:
    std::vector<UINT> commands;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        if (nCode == CN_COMMAND && !pHandlerInfo)
            commands.push_back(nID);
        return CPlayControlWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

constexpr int64_t kUsPerMs = 1000;

class PlayControlTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        ASSERT_TRUE(m_play.Create(nullptr, "play controller", 0, CRect(), nullptr, 0));
        m_clock.Set(1000 * kUsPerMs);
        m_owner.clock = &m_clock;
        // The bar already shows the whole member, so nothing echoes until a test moves it.
        m_bar.maximum = m_owner.count - 1;
        m_bar.out = m_owner.count - 1;
    }

    void Connect() {
        ConnectOwner(m_play, m_owner);
        m_play.SetPlayBar(&m_bar);
    }
    void Command(UINT id) {
        m_play.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
    }
    void Tick() { m_play.SendMessage(WM_TIMER, kPlayTimerId, 0); }
    // Lets the armed period pass on the clock, then delivers the tick.
    void TickOnTime() {
        m_clock.Advance(m_play.GetTimerPeriodMs() * kUsPerMs);
        Tick();
    }
    LRESULT Slider(UINT message, int kind, int value) {
        return m_play.SendMessage(message, static_cast<WPARAM>(kind), value);
    }

    ManualClock m_clock;  // microseconds
    Owner m_owner;
    RecordingPlayBar m_bar;
    RecordingPlayWnd m_play;
};

// ---- timing

struct TimingCase {
    const char* name;
    double rate;
    int64_t displayMs;                // time each redisplay takes
    std::vector<UINT> expectPeriods;  // at Play, then after each tick
};

void PrintTo(const TimingCase& c, std::ostream* os) {
    *os << c.name;
}

class PlayTimingTest : public PlayControlTest, public ::testing::WithParamInterface<TimingCase> {};

TEST_P(PlayTimingTest, TimerPeriodFollowsTheCorrection) {
    const TimingCase& c = GetParam();
    Connect();
    m_owner.displayUs = c.displayMs * kUsPerMs;
    m_play.SetRate(c.rate);
    Command(PlayControlId::kPlay);
    std::vector<UINT> periods{m_play.GetTimerPeriodMs()};
    while (periods.size() < c.expectPeriods.size()) {
        TickOnTime();
        periods.push_back(m_play.GetTimerPeriodMs());
    }
    EXPECT_EQ(periods, c.expectPeriods);
    EXPECT_TRUE(m_play.IsPlaying());
}

INSTANTIATE_TEST_SUITE_P(
    Periods, PlayTimingTest,
    ::testing::Values(
        // Half the period first, then 60 % of each error back: 25 + 15, 40 + 6, 46 + 2.4.
        TimingCase{"Rate20Instant", 20.0, 0, {50, 25, 40, 46, 48}},
        // The display eats most of the period; the timer shortens until the rate holds:
        // 25 - 3, 22 - 1.2, then 20.8 ms with the 30 ms display is exactly 50 ms a frame.
        TimingCase{"Rate20SlowDisplay", 20.0, 30, {50, 25, 22, 20, 20, 20}},
        // A display slower than the period drives the period to 0; the timer keeps 10 ms.
        TimingCase{"Rate20DisplayLongerThanPeriod", 20.0, 70, {50, 25, 10, 10, 10}},
        // Above 100 fps every period is below the 10 ms floor.
        TimingCase{"Rate250", 250.0, 0, {10, 10, 10, 10, 10}},
        TimingCase{"Rate250SlowDisplay", 250.0, 7, {10, 10, 10, 10}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayControlTest, CorrectedPeriodNeverExceedsTheTarget) {
    Connect();
    Command(PlayControlId::kPlay);
    Tick();  // first tick: 25 ms
    // The next tick comes with no time passed: 25 + 0.6 × 50 is held to 50.
    Tick();
    EXPECT_EQ(m_play.GetTimerPeriodMs(), 50u);
}

TEST_F(PlayControlTest, AchievedRateIsTheMeanOfTheRingTimesTheStep) {
    Connect();
    m_play.SetRate(1.0);  // a ring of two samples
    m_play.SetSkip(1);
    Command(PlayControlId::kPlay);
    Tick();
    EXPECT_EQ(m_play.GetMeasuredRate(), 0.0);
    EXPECT_TRUE(m_bar.Calls("SetSpeedText").isEmpty());

    const std::vector<std::pair<int64_t, double>> steps = {
        {1000, 1.0},  // 1 fps
        {500, 1.5},   // 1 and 2 fps
        {250, 3.0},   // the ring wrapped: 4 and 2 fps
    };
    for (auto [ms, mean] : steps) {
        m_clock.Advance(ms * kUsPerMs);
        Tick();
        EXPECT_DOUBLE_EQ(m_play.GetMeasuredRate(), mean) << ms;
        EXPECT_DOUBLE_EQ(m_bar.speedText, 2 * mean) << ms;
    }

    // A tick in the same instant gives no sample and shows nothing new.
    const int shown = m_bar.Calls("SetSpeedText").size();
    Tick();
    EXPECT_DOUBLE_EQ(m_play.GetMeasuredRate(), 3.0);
    EXPECT_EQ(m_bar.Calls("SetSpeedText").size(), shown);

    // Play again starts measuring afresh.
    Command(PlayControlId::kPlay);
    EXPECT_EQ(m_play.GetMeasuredRate(), 0.0);
}

TEST_F(PlayControlTest, RateThatIsNotPositiveIsIgnored) {
    Connect();
    for (double rate : {0.0, -5.0, std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity()}) {
        m_play.SetRate(rate);
        EXPECT_EQ(m_play.GetRate(), 20.0) << rate;
    }
    Command(PlayControlId::kPlay);
    EXPECT_EQ(m_play.GetTimerPeriodMs(), 50u);

    // A very low rate gives a long period, not an undefined conversion.
    m_play.SetRate(1e-12);
    Command(PlayControlId::kPlay);
    EXPECT_EQ(m_play.GetTimerPeriodMs(), static_cast<UINT>(std::numeric_limits<int>::max()));
}

TEST_F(PlayControlTest, RateSliderReleaseTakesTheBarsRate) {
    Connect();
    m_bar.speed = 12.5;
    m_play.OnRateSliderReleased();
    EXPECT_EQ(m_play.GetRate(), 12.5);
    Command(PlayControlId::kPlay);
    EXPECT_EQ(m_play.GetTimerPeriodMs(), 80u);

    m_play.SetPlayBar(nullptr);
    m_play.OnRateSliderReleased();
    EXPECT_EQ(m_play.GetRate(), 1.0);
}

TEST_F(PlayControlTest, PlayStopAndStrayTimers) {
    Connect();
    EXPECT_EQ(m_play.GetPlayState().IsEnabled(CPlayState::kPlay), 1);
    Command(PlayControlId::kPlayBackward);
    EXPECT_TRUE(m_play.IsPlaying());
    EXPECT_TRUE(m_play.IsBackward());
    EXPECT_EQ(m_play.GetPlayState().IsEnabled(CPlayState::kPlay), 0);
    EXPECT_EQ(m_play.GetPlayState().IsEnabled(CPlayState::kFwd), 0);
    EXPECT_EQ(m_play.GetPlayState().IsEnabled(CPlayState::kStop), 1);
    Command(PlayControlId::kPlay);
    EXPECT_FALSE(m_play.IsBackward());

    Command(PlayControlId::kStop);
    EXPECT_FALSE(m_play.IsPlaying());
    EXPECT_EQ(m_play.GetTimerPeriodMs(), 0u);
    EXPECT_EQ(m_play.GetPlayState().IsEnabled(CPlayState::kPlay), 1);

    // Ticks while stopped, and other timers, move nothing.
    Tick();
    m_play.SendMessage(WM_TIMER, 7, 0);
    EXPECT_EQ(m_play.GetCurrentFrame(), 0);
    EXPECT_TRUE(m_owner.changed.empty());
}

TEST_F(PlayControlTest, OwnerStoppingPlayInItsCallbackLeavesTheTimerOff) {
    Connect();
    m_owner.onChanged = [this](int frame) {
        if (frame == 2)
            Command(PlayControlId::kStop);
    };
    Command(PlayControlId::kPlay);
    Tick();
    EXPECT_EQ(m_play.GetTimerPeriodMs(), 25u);
    Tick();
    EXPECT_FALSE(m_play.IsPlaying());
    EXPECT_EQ(m_play.GetTimerPeriodMs(), 0u);
}

// ---- stepping

TEST_F(PlayControlTest, SkipIsKeptWithinItsRange) {
    const std::vector<std::pair<int, int>> cases = {{150, 98}, {-3, 0}, {99, 98},
                                                    {98, 98},  {0, 0},  {5, 5}};
    for (auto [given, kept] : cases) {
        EXPECT_EQ(m_play.SetSkip(given), kept) << given;
        EXPECT_EQ(m_play.GetSkip(), kept) << given;
    }
}

struct StepCase {
    const char* name;
    bool backward;
    int skip;
    bool continuous;
    int inLimit;  // -1: off
    int outLimit;
    int start;
    std::vector<int> expectFrames;  // after each tick
    bool expectPlaying;
};

void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.name;
}

class PlayStepTest : public PlayControlTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(PlayStepTest, TicksMoveWithinTheLimits) {
    const StepCase& c = GetParam();
    Connect();
    if (c.inLimit >= 0)
        m_play.SetInLimit(TRUE, c.inLimit);
    if (c.outLimit >= 0)
        m_play.SetOutLimit(TRUE, c.outLimit);
    m_play.SetSkip(c.skip);
    m_play.SetContinuous(c.continuous);
    m_play.GotoFrame(c.start, FALSE);
    Command(c.backward ? PlayControlId::kPlayBackward : PlayControlId::kPlay);
    std::vector<int> frames;
    for (size_t i = 0; i < c.expectFrames.size(); ++i) {
        TickOnTime();
        frames.push_back(m_play.GetCurrentFrame());
    }
    EXPECT_EQ(frames, c.expectFrames);
    // Every tick applies its frame with notification, also the one that stops.
    EXPECT_EQ(m_owner.changed, c.expectFrames);
    EXPECT_EQ(m_play.IsPlaying(), c.expectPlaying);
    EXPECT_EQ(m_play.GetTimerPeriodMs() != 0, c.expectPlaying);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, PlayStepTest,
    ::testing::Values(
        StepCase{"ForwardSkips", false, 2, false, -1, -1, 0, {3, 6, 9}, true},
        StepCase{"ForwardEndsOnLastFrame", false, 5, false, -1, -1, 95, {99}, true},
        StepCase{"ForwardStopsAtOutLimit", false, 0, false, -1, 50, 49, {50, 50}, false},
        StepCase{"ForwardWrapsToInLimit", false, 0, true, 10, 50, 49, {50, 10, 11}, true},
        StepCase{"ForwardWrapsToZero", false, 0, true, -1, -1, 98, {99, 0, 1}, true},
        StepCase{"BackwardSkipsToZeroThenStops", true, 5, false, -1, -1, 3, {0, 0}, false},
        StepCase{"BackwardSkipsToZeroThenWraps", true, 5, true, -1, -1, 3, {0, 99, 93}, true},
        StepCase{"BackwardWrapsToOutLimit", true, 0, true, -1, 40, 1, {0, 40, 39}, true},
        // An out limit past the member is brought back to its last frame.
        StepCase{"OutLimitPastTheEnd", false, 0, true, -1, 500, 98, {99, 0}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayControlTest, LimitsOutsideTheMemberAreCorrectedAndStored) {
    Connect();
    m_play.SetOutLimit(TRUE, 500);
    m_play.SetInLimit(TRUE, -4);
    m_play.GotoFrame(5, FALSE);
    Command(PlayControlId::kPlay);
    Tick();
    int frame = 0;
    EXPECT_TRUE(m_play.GetOutLimit(&frame));
    EXPECT_EQ(frame, 99);
    EXPECT_TRUE(m_play.GetInLimit(&frame));
    EXPECT_EQ(frame, 0);
}

TEST_F(PlayControlTest, FwdAndBackStartFromTheOwnersFrame) {
    Connect();
    m_play.SetSkip(3);
    const struct {
        UINT command;
        int ownerFrame;
        int expect;
    } cases[] = {
        {PlayControlId::kFwd, 10, 14}, {PlayControlId::kFwd, 96, 99}, {PlayControlId::kFwd, 94, 98},
        {PlayControlId::kBack, 10, 6}, {PlayControlId::kBack, 2, 0},
    };
    for (const auto& c : cases) {
        m_owner.current = c.ownerFrame;
        m_owner.changed.clear();
        Command(c.command);
        EXPECT_EQ(m_play.GetCurrentFrame(), c.expect) << c.command << " from " << c.ownerFrame;
        EXPECT_EQ(m_owner.changed, std::vector<int>{c.expect});
    }
}

TEST_F(PlayControlTest, RewAndFFwdTakeTheOwnersTargetElseTheLimits) {
    Connect();
    m_play.GotoFrame(30, FALSE);

    m_owner.rewindGives = TRUE;
    m_owner.rewindTarget = 12;
    Command(PlayControlId::kRew);
    EXPECT_EQ(m_play.GetCurrentFrame(), 12);
    m_owner.ffwdGives = TRUE;
    m_owner.ffwdTarget = 77;
    Command(PlayControlId::kFFwd);
    EXPECT_EQ(m_play.GetCurrentFrame(), 77);

    // Refused: the member's ends, or the limits.
    m_owner.rewindGives = FALSE;
    m_owner.ffwdGives = FALSE;
    Command(PlayControlId::kRew);
    EXPECT_EQ(m_play.GetCurrentFrame(), 0);
    Command(PlayControlId::kFFwd);
    EXPECT_EQ(m_play.GetCurrentFrame(), 99);
    m_play.SetInLimit(TRUE, 5);
    m_play.SetOutLimit(TRUE, 40);
    Command(PlayControlId::kRew);
    EXPECT_EQ(m_play.GetCurrentFrame(), 5);
    Command(PlayControlId::kFFwd);
    EXPECT_EQ(m_play.GetCurrentFrame(), 40);

    // Missing callbacks fall back the same way.
    m_play.SetRewindCallback(nullptr, nullptr);
    m_play.SetFastForwardCallback(nullptr, nullptr);
    Command(PlayControlId::kRew);
    EXPECT_EQ(m_play.GetCurrentFrame(), 5);
    Command(PlayControlId::kFFwd);
    EXPECT_EQ(m_play.GetCurrentFrame(), 40);
}

TEST_F(PlayControlTest, AppliedFramesAreHeldToEnabledLimits) {
    Connect();
    m_play.SetInLimit(TRUE, 10);
    m_play.SetOutLimit(TRUE, 20);
    for (auto [asked, applied] : std::vector<std::pair<int, int>>{{3, 10}, {15, 15}, {90, 20}}) {
        m_play.GotoFrame(asked, TRUE);
        EXPECT_EQ(m_play.GetCurrentFrame(), applied);
        EXPECT_EQ(m_owner.changed.back(), applied);
        EXPECT_EQ(m_play.GetLastNotifiedFrame(), applied);
    }
    m_play.GotoFrame(12, FALSE);
    EXPECT_EQ(m_owner.changed.size(), 3u);
}

// ---- jump, zero and toggles

TEST_F(PlayControlTest, JumpGoesToTheNumberCountedFromTheOrigin) {
    Connect();
    m_owner.origin = 10;
    m_bar.jumpFrame = 5;
    Command(PlayControlId::kJump);
    EXPECT_EQ(m_play.GetCurrentFrame(), 15);
    EXPECT_EQ(m_owner.changed, (std::vector<int>{15, 15}));

    for (int number : {90, -11, 1000}) {  // origin + count, below frame 0, far past the end
        m_bar.jumpFrame = number;
        Prompter().ExpectMessageBox("Invalid frame entered.", IDOK);
        Command(PlayControlId::kJump);
        EXPECT_EQ(m_play.GetCurrentFrame(), 15) << number;
    }
    m_bar.jumpFrame = 89;  // the last frame
    Command(PlayControlId::kJump);
    EXPECT_EQ(m_play.GetCurrentFrame(), 99);
}

TEST_F(PlayControlTest, TogglesCallTheOwner) {
    Connect();
    m_play.GotoFrame(8, FALSE);
    Command(PlayControlId::kZero);
    EXPECT_EQ(m_owner.zeros, std::vector<int>{8});

    Command(PlayControlId::kContinuous);
    Command(PlayControlId::kContinuous);
    EXPECT_EQ(m_owner.continuous, (std::vector<int>{1, 0}));
    Command(PlayControlId::kBaseSync);
    EXPECT_EQ(m_owner.baseSyncs, std::vector<int>{1});
    EXPECT_EQ(m_play.GetBaseSync(), 1);

    // Synchronize anchors at the play control's frame, then takes the owner's.
    m_owner.current = 31;
    Command(PlayControlId::kSynchronize);
    EXPECT_EQ(m_play.GetSyncAnchor(), 8);
    EXPECT_EQ(m_play.GetCurrentFrame(), 31);
    m_owner.current = 40;
    Command(PlayControlId::kSynchronize);
    EXPECT_EQ(m_play.GetSyncAnchor(), 8);
    EXPECT_EQ(m_owner.syncs, (std::vector<std::pair<int, int>>{{31, 1}, {40, 0}}));

    // Store-only setters touch the bar only when shown.
    m_play.SetSynchronize(1);
    m_play.SetContinuous(1);
    EXPECT_TRUE(m_bar.Calls("SetCheck2007").isEmpty());
    m_play.ShowSynchronize();
    m_play.ShowBaseSync();
    m_play.ShowContinuous();
    EXPECT_EQ(m_bar.synchronize, 1);
    EXPECT_EQ(m_bar.baseSync, 1);
    EXPECT_EQ(m_bar.continuous, 1);
}

TEST_F(PlayControlTest, SkipSpinRunsReversedWithinOneToNinetyNine) {
    Connect();
    const struct {
        int position;
        int delta;
        int kept;
    } cases[] = {{5, 1, 4}, {5, -1, 6}, {1, 1, 1}, {99, -1, 99}, {50, -200, 99}};
    for (const auto& c : cases) {
        int position = c.position;
        int delta = c.delta;
        EXPECT_EQ(m_play.OnSkipSpinDeltaPos(&position, &delta), 0);
        EXPECT_EQ(position + delta, c.kept) << c.position << " " << c.delta;
        EXPECT_EQ(m_owner.skips.back(), c.kept - 1);
    }
}

TEST_F(PlayControlTest, ControlNotificationsReachTheirHandlers) {
    Connect();
    m_bar.speed = 25.0;
    NMHDR released;
    released.idFrom = PlayControlId::kRateSlider;
    released.code = NM_RELEASEDCAPTURE;
    m_play.SendMessage(WM_NOTIFY, PlayControlId::kRateSlider, reinterpret_cast<LPARAM>(&released));
    EXPECT_EQ(m_play.GetRate(), 25.0);

    // The same code from another control is not the rate slider's.
    m_bar.speed = 5.0;
    released.idFrom = PlayControlId::kSkipSpin;
    m_play.SendMessage(WM_NOTIFY, PlayControlId::kSkipSpin, reinterpret_cast<LPARAM>(&released));
    EXPECT_EQ(m_play.GetRate(), 25.0);

    NMUPDOWN spin;
    spin.hdr.idFrom = PlayControlId::kSkipSpin;
    spin.hdr.code = UDN_DELTAPOS;
    spin.iPos = 5;
    spin.iDelta = 1;
    EXPECT_EQ(
        m_play.SendMessage(WM_NOTIFY, PlayControlId::kSkipSpin, reinterpret_cast<LPARAM>(&spin)),
        0);
    EXPECT_EQ(spin.iPos + spin.iDelta, 4);
    ASSERT_FALSE(m_owner.skips.empty());
    EXPECT_EQ(m_owner.skips.back(), 3);
}

TEST_F(PlayControlTest, SkipEditAndShowKeepTheSpinInStep) {
    Connect();
    m_bar.spin = 7;
    m_play.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(PlayControlId::kSkipEdit), 0x0300),
                       0);
    EXPECT_EQ(m_play.GetSkip(), 6);
    EXPECT_TRUE(m_bar.Calls("SetSpeedField").isEmpty());  // it already shows 7

    m_play.SetSkipAndShow(150);
    EXPECT_EQ(m_bar.Calls("SetSpeedField"), QStringList{"SetSpeedField 99"});
    m_play.SetSkip(2);
    m_play.ShowSkip();
    EXPECT_EQ(m_bar.spin, 3);
}

// ---- the bar and its notifications

TEST_F(PlayControlTest, ReadoutShowsNumberAndTimeFromTheOrigin) {
    Connect();
    const struct {
        double rate;
        BOOL valid;
        double expectTime;
    } cases[] = {
        {25.4, TRUE, 2.0},  // rounded to 25 fps
        {0.4, TRUE, 50.0},  // rounds to 0: the number stands for the time
        {25.0, FALSE, 50.0},
    };
    m_owner.origin = 10;
    for (const auto& c : cases) {
        m_owner.rate = c.rate;
        m_owner.rateValid = c.valid;
        m_play.GotoFrame(60, FALSE);
        EXPECT_EQ(m_bar.frameField, 50);
        EXPECT_DOUBLE_EQ(m_bar.timeField, c.expectTime) << c.rate;
    }
    EXPECT_EQ(m_bar.position, 60);
    EXPECT_EQ(m_owner.infoCalls, 3);
}

TEST_F(PlayControlTest, BarRangeFollowsTheLimits) {
    Connect();
    m_play.GotoFrame(0, FALSE);
    EXPECT_TRUE(m_bar.Calls("SetRange").isEmpty());  // already 0..99
    m_play.SetInLimit(TRUE, 10);
    m_play.SetOutLimit(TRUE, 60);
    m_play.GotoFrame(20, FALSE);
    m_play.GotoFrame(21, FALSE);
    EXPECT_EQ(m_bar.Calls("SetRange"), QStringList{"SetRange 10 60"});
}

TEST_F(PlayControlTest, ScaleLabelsFollowRangeOriginAndRateOnly) {
    Connect();
    m_owner.origin = 5;
    m_owner.rate = 25.4;
    m_play.GotoFrame(0, FALSE);
    EXPECT_EQ(m_bar.scaleUpdates, 1);
    EXPECT_EQ(m_bar.scaleRate, 25);
    EXPECT_EQ(m_bar.scaleOffset, 5);  // the slider's first frame is numbered -5
    // Playing on redraws nothing.
    m_play.GotoFrame(1, FALSE);
    m_play.GotoFrame(2, FALSE);
    EXPECT_EQ(m_bar.scaleUpdates, 1);
    // The marked range becomes the slider's range and the scale starts at its first frame.
    m_play.SetInLimit(TRUE, 10);
    m_play.SetOutLimit(TRUE, 60);
    m_play.GotoFrame(20, FALSE);
    EXPECT_EQ(m_bar.scaleUpdates, 2);
    EXPECT_EQ(m_bar.scaleOffset, -5);
    // An unknown rate gives 0: the time labels then count frames.
    m_owner.rateValid = FALSE;
    m_play.GotoFrame(21, FALSE);
    EXPECT_EQ(m_bar.scaleUpdates, 3);
    EXPECT_EQ(m_bar.scaleRate, 0);
}

TEST_F(PlayControlTest, MissingCallbacksGiveMinusOneAndNoRange) {
    m_play.SetPlayBar(&m_bar);
    m_play.GotoFrame(3, TRUE);
    EXPECT_EQ(m_bar.frameField, 4);  // origin -1
    EXPECT_EQ(m_bar.timeField, 4.0);
    EXPECT_TRUE(m_bar.Calls("SetRange").isEmpty());

    // Without a member there is nothing to play or to step to.
    Command(PlayControlId::kPlay);
    Tick();
    EXPECT_FALSE(m_play.IsPlaying());
    EXPECT_EQ(m_play.GetCurrentFrame(), 3);
    m_play.SetContinuous(1);
    Command(PlayControlId::kPlayBackward);
    Tick();
    Tick();
    EXPECT_GE(m_play.GetCurrentFrame(), 0);
    Command(PlayControlId::kFwd);
    EXPECT_EQ(m_play.GetCurrentFrame(), 0);
    Command(PlayControlId::kFFwd);
    EXPECT_EQ(m_play.GetCurrentFrame(), 0);

    Prompter().ExpectMessageBox("Invalid frame entered.", IDOK);
    Command(PlayControlId::kJump);
    Command(PlayControlId::kZero);
    Command(PlayControlId::kSynchronize);
    EXPECT_EQ(m_play.GetCurrentFrame(), 0);

    // The callbacks need both parts.
    Owner owner;
    m_play.SetGetFrameCountCallback([](void* c, int, int* v) { *v = Of(c).count; }, nullptr);
    m_play.SetFrameChangedCallback(nullptr, &owner);
    m_play.GotoFrame(5, TRUE);
    EXPECT_TRUE(owner.changed.empty());
    EXPECT_TRUE(m_bar.Calls("SetRange").isEmpty());
}

TEST_F(PlayControlTest, WorksWithoutABar) {
    ConnectOwner(m_play, m_owner);
    m_play.GotoFrame(5, TRUE);
    m_play.SetSliderRangeIfChanged(1, 2);
    m_play.ResetRange();
    m_play.ShowSkip();
    m_play.SetSkipAndShow(4);
    EXPECT_EQ(m_play.SendMessage(kPlayBarReleased, kPlayBarOutMarker, 7), 0);
    Command(PlayControlId::kJump);  // number 0: frame 0
    EXPECT_EQ(m_play.GetCurrentFrame(), 0);
}

struct EchoCase {
    const char* name;
    int kind;
    std::function<void(CPlayControlWnd&)> moveBar;
    int value;
};

void PrintTo(const EchoCase& c, std::ostream* os) {
    *os << c.name;
}

class PlayEchoTest : public PlayControlTest, public ::testing::WithParamInterface<EchoCase> {};

TEST_P(PlayEchoTest, TrackingThatEchoesTheWindowsOwnMoveIsIgnoredOnce) {
    const EchoCase& c = GetParam();
    Connect();
    c.moveBar(m_play);
    const int frame = m_play.GetCurrentFrame();
    int in = 0;
    int out = 0;
    const BOOL inOn = m_play.GetInLimit(&in);
    const BOOL outOn = m_play.GetOutLimit(&out);

    EXPECT_EQ(Slider(kPlayBarTracking, c.kind, c.value), -1);
    EXPECT_EQ(m_play.GetCurrentFrame(), frame);
    EXPECT_EQ(m_play.GetInLimit(nullptr), inOn);
    EXPECT_EQ(m_play.GetOutLimit(nullptr), outOn);

    // The next one is the user's.
    m_bar.position = c.kind == kPlayBarPosition ? c.value : m_bar.position;
    EXPECT_EQ(Slider(kPlayBarTracking, c.kind, c.value), 0);
    const int frameNow = m_play.GetCurrentFrame();
    switch (c.kind) {
        case kPlayBarPosition:
            EXPECT_EQ(frameNow, c.value);
            break;
        case kPlayBarInMarker:
            EXPECT_TRUE(m_play.GetInLimit(nullptr));
            break;
        default:
            EXPECT_TRUE(m_play.GetOutLimit(nullptr));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PlayEchoTest,
    ::testing::Values(EchoCase{"Position", kPlayBarPosition,
                               [](CPlayControlWnd& p) { p.GotoFrame(7, FALSE); }, 9},
                      EchoCase{"InMarker", kPlayBarInMarker,
                               [](CPlayControlWnd& p) { p.SetSliderRangeIfChanged(10, 50); }, 12},
                      EchoCase{"OutMarker", kPlayBarOutMarker,
                               [](CPlayControlWnd& p) { p.SetSliderRangeIfChanged(10, 50); }, 40}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayControlTest, ReleasedIsNeverTakenForAnEcho) {
    Connect();
    m_play.GotoFrame(7, FALSE);
    m_bar.position = 9;
    EXPECT_EQ(Slider(kPlayBarReleased, kPlayBarPosition, 9), 0);
    EXPECT_EQ(m_play.GetCurrentFrame(), 9);
}

TEST_F(PlayControlTest, PositionOutsideTheMarkersIsPutBack) {
    Connect();
    m_bar.in = 10;
    m_bar.out = 50;
    m_play.GotoFrame(20, FALSE);
    m_bar.position = 55;
    EXPECT_EQ(Slider(kPlayBarReleased, kPlayBarPosition, 55), -1);
    EXPECT_EQ(m_play.GetCurrentFrame(), 20);
    EXPECT_EQ(m_bar.position, 20);
    EXPECT_EQ(Slider(kPlayBarTracking, kPlayBarPosition, 20), -1);  // its echo

    EXPECT_EQ(Slider(kPlayBarTracking, kPlayBarPosition, -1), -1);
    EXPECT_EQ(Slider(kPlayBarTracking, 4, 20), -1);

    // While playing the slider does not move the frame.
    Command(PlayControlId::kPlay);
    m_bar.position = 30;
    EXPECT_EQ(Slider(kPlayBarReleased, kPlayBarPosition, 30), 1);
    EXPECT_EQ(Slider(kPlayBarTracking, kPlayBarPosition, 30), 0);
    EXPECT_EQ(m_play.GetCurrentFrame(), 20);
}

TEST_F(PlayControlTest, MarkersSetTheLimitsAroundThePosition) {
    Connect();
    m_play.GotoFrame(30, FALSE);
    m_bar.position = 30;
    m_owner.changed.clear();

    EXPECT_EQ(Slider(kPlayBarTracking, kPlayBarInMarker, 40), 0);  // past the position
    int frame = 0;
    EXPECT_TRUE(m_play.GetInLimit(&frame));
    EXPECT_EQ(frame, 30);
    EXPECT_EQ(m_bar.in, 30);
    EXPECT_TRUE(m_owner.changed.empty());  // tracking applies nothing

    EXPECT_EQ(Slider(kPlayBarReleased, kPlayBarOutMarker, 20), 0);  // before the position
    EXPECT_TRUE(m_play.GetOutLimit(&frame));
    EXPECT_EQ(frame, 30);
    EXPECT_EQ(m_owner.changed, std::vector<int>{30});

    EXPECT_EQ(Slider(kPlayBarReleased, kPlayBarOutMarker, 70), 0);
    m_play.GetOutLimit(&frame);
    EXPECT_EQ(frame, 70);
    EXPECT_EQ(m_bar.out, 70);
}

TEST_F(PlayControlTest, ResetLimitsClearRangeAndClear) {
    Connect();
    m_play.SetInLimit(TRUE, 10);
    m_play.SetOutLimit(TRUE, 60);
    m_play.GotoFrame(30, FALSE);
    m_owner.changed.clear();

    EXPECT_EQ(m_play.SendMessage(kPlayBarResetLimits), 0);
    int frame = 0;
    EXPECT_FALSE(m_play.GetInLimit(&frame));
    EXPECT_EQ(frame, 0);
    EXPECT_FALSE(m_play.GetOutLimit(&frame));
    EXPECT_EQ(frame, 99);
    EXPECT_EQ(m_bar.Calls("SetRange").last(), "SetRange 0 99");
    EXPECT_EQ(m_owner.changed, std::vector<int>{30});

    m_owner.count = 40;
    m_play.ResetRange();
    EXPECT_EQ(m_bar.Calls("SetRange").last(), "SetRange 0 39");
    EXPECT_EQ(m_bar.Calls("SetInOutPoints").last(), "SetInOutPoints 0 39");
    EXPECT_EQ(m_bar.position, 0);

    m_play.SetInLimit(TRUE, 5);
    m_play.Clear();
    EXPECT_FALSE(m_play.GetInLimit(nullptr));
    EXPECT_EQ(m_play.GetCurrentFrame(), 0);
    EXPECT_EQ(m_owner.changed.back(), 0);
    EXPECT_TRUE(m_bar.Calls("SetRange").contains("SetRange 0 1"));
}

// ---- keyboard and routing

TEST_F(PlayControlTest, KeysSendTheirCommands) {
    Connect();
    const std::vector<std::pair<UINT, UINT>> keys = {
        {VK_SPACE, PlayControlId::kStop},
        {'V', PlayControlId::kStop},
        {'B', PlayControlId::kBack},
        {'C', PlayControlId::kPlay},
        {'G', PlayControlId::kBaseSync},
        {'L', PlayControlId::kContinuous},
        {'M', PlayControlId::kFFwd},
        {'N', PlayControlId::kFwd},
        {'S', PlayControlId::kSynchronize},
        {'X', PlayControlId::kPlayBackward},
        {'Z', PlayControlId::kRew},
        {'A', 0},
        {VK_RETURN, 0},
        {'b', 0},
    };
    for (auto [key, command] : keys) {
        m_play.commands.clear();
        m_play.SendMessage(WM_KEYDOWN, key, 1);
        const std::vector<UINT> expect = command ? std::vector<UINT>{command} : std::vector<UINT>{};
        EXPECT_EQ(m_play.commands, expect) << "key " << key;
    }
}

TEST(PlayControlIds, OwnersRouteThePlayBarsIds) {
    const std::vector<std::pair<UINT, bool>> ids = {
        {1127, false}, {1138, false}, {1310, false}, {1311, true},  {1317, true}, {2000, false},
        {2001, true},  {2004, true},  {2007, true},  {2008, false}, {2009, true}, {2010, true},
        {2011, true},  {2012, false}, {2013, true},  {2014, false},
    };
    for (auto [id, routed] : ids)
        EXPECT_EQ(CPlayControlWnd::IsPlayControlId(id), routed) << id;
}

}  // namespace
