#include "frames/IMessagePoster.h"
#include "frames/VideoTriggerSettings.h"
#include "platform/framework/MessageQueue.h"
#include "platform/framework/Wnd.h"

#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Counts the trigger messages that reach it.
class CTriggerWnd : public CWnd {
public:
    int triggers = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kMsgVideoTriggered && wParam == 0 && lParam == 0)
            ++triggers;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

struct TriggerCase {
    const char* name;
    int baselineFrames;
    double above;
    double below;
    int directionAbove;
    int directionBelow;
    int enabled;
    std::vector<double> values;
    int expectedPosts;
    int expectedTriggered;
};

}  // namespace

class VideoTriggerSettingsTest : public IsolatedTest {
protected:
    // Runs the values through a record whose poster posts to m_wnd; the posts that arrived.
    int Run(CVideoTriggerSettings& record, const std::vector<double>& values) {
        for (double value : values)
            EXPECT_EQ(record.AddSample(value), S_OK);
        AfxPumpMessage();
        return m_wnd.triggers;
    }
    void SetUp() override {
        IsolatedTest::SetUp();
        ASSERT_TRUE(m_wnd.Create(nullptr, "trigger", 0, CRect(0, 0, 10, 10), nullptr, 0));
    }
    void Bind(CVideoTriggerSettings& record) {
        auto* poster = QueryId<IMessagePoster>(&record);
        ASSERT_NE(poster, nullptr);
        poster->SetWindow(m_wnd.GetSafeHwnd());
    }

    CTriggerWnd m_wnd;
};

TEST_F(VideoTriggerSettingsTest, TriggersOnceWhenAValueLeavesTheBand) {
    const TriggerCase cases[] = {
        // N = 0: the first value is the baseline, the second may trigger.
        {"first value is the baseline", 0, 5.0, 5.0, 1, 1, 1, {100.0, 106.0}, 1, 1},
        {"on the upper limit", 0, 5.0, 5.0, 1, 1, 1, {100.0, 105.0, 95.0}, 0, 0},
        {"below the lower limit", 2, 5.0, 5.0, 1, 1, 1, {10.0, 10.0, 10.0, 4.9}, 1, 1},
        {"latched after the first", 0, 1.0, 1.0, 1, 1, 1, {0.0, 5.0, -5.0, 9.0}, 1, 1},
        {"disabled learns but never fires", 0, 1.0, 1.0, 1, 1, 0, {0.0, 50.0}, 0, 0},
        {"direction off", 0, 1.0, 1.0, 0, 1, 1, {0.0, 50.0}, 0, 0},
        {"still learning", 3, 1.0, 1.0, 1, 1, 1, {0.0, 50.0, 50.0}, 0, 0},
        // Negative offsets cross the limits: a value beyond both is one trigger, one post.
        {"crossed limits", 0, -10.0, -10.0, 1, 1, 1, {0.0, 5.0}, 1, 1},
    };
    for (const TriggerCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_wnd.triggers = 0;
        CVideoTriggerSettings record;
        Bind(record);
        record.SetEnabled(c.enabled);
        record.SetDirections(c.directionAbove, c.directionBelow);
        record.SetBaseline(c.baselineFrames, c.above, c.below);
        EXPECT_EQ(Run(record, c.values), c.expectedPosts);
        int triggered = -1;
        record.IsTriggered(&triggered);
        EXPECT_EQ(triggered, c.expectedTriggered);
    }
}

TEST_F(VideoTriggerSettingsTest, BaselineIsTheMeanOfNPlusOneValuesAndResetLearnsAgain) {
    CVideoTriggerSettings record;
    Bind(record);
    record.SetDirections(1, 0);
    record.SetBaseline(2, 3.0, 4.0);
    int ready = -1;
    record.AddSample(1.0);
    record.AddSample(2.0);
    record.IsBaselineReady(&ready);
    EXPECT_EQ(ready, 0) << "two values are not yet N + 1";
    record.AddSample(6.0);
    record.IsBaselineReady(&ready);
    EXPECT_EQ(ready, 1);
    double mean = 0.0, upper = 0.0, lower = 0.0;
    record.GetBaselineMean(&mean);
    record.GetLimits(&upper, &lower);
    EXPECT_DOUBLE_EQ(mean, 3.0);
    EXPECT_DOUBLE_EQ(upper, 6.0);
    EXPECT_DOUBLE_EQ(lower, -1.0);

    // Later values no longer move the baseline.
    EXPECT_EQ(Run(record, {6.0, 100.0, 200.0}), 1);
    record.GetBaselineMean(&mean);
    EXPECT_DOUBLE_EQ(mean, 3.0);

    record.Reset();
    int triggered = -1;
    record.IsTriggered(&triggered);
    record.IsBaselineReady(&ready);
    EXPECT_EQ(triggered, 0);
    EXPECT_EQ(ready, 0);
    int frames = 0, above = 0, below = 0;
    double aboveOffset = 0.0, belowOffset = 0.0;
    record.GetBaseline(&frames, &aboveOffset, &belowOffset);
    record.GetDirections(&above, &below);
    EXPECT_EQ(frames, 2) << "settings survive Reset";
    EXPECT_EQ(above, 1);
    EXPECT_EQ(below, 0);
    EXPECT_EQ(Run(record, {50.0, 50.0, 50.0, 60.0}), 2) << "a new trigger after Reset";
    // Null outs are skipped.
    EXPECT_EQ(record.GetLimits(nullptr, nullptr), S_OK);
    EXPECT_EQ(record.GetBaseline(nullptr, nullptr, nullptr), S_OK);
}

TEST_F(VideoTriggerSettingsTest, AnswersItsIdsAndItsPoster) {
    CVideoTriggerSettings record;
    EXPECT_EQ(QueryId<IIdUnknown>(&record), static_cast<IIdUnknown*>(&record));
    EXPECT_EQ(QueryId<IVideoTriggerSettings>(&record),
              static_cast<IVideoTriggerSettings*>(&record));
    EXPECT_EQ(QueryId<IMessagePoster>(&record), record.GetPoster());
    void* out = &record;
    EXPECT_EQ(record.QueryInterfaceById(kIdDataChannel, &out), E_FAIL);
    EXPECT_EQ(out, &record);
    EXPECT_EQ(record.QueryInterfaceById(kIdTriggerSettings, nullptr), E_POINTER);
    // The poster's outer is the record: a query on the poster reaches the record.
    EXPECT_EQ(QueryId<IVideoTriggerSettings>(record.GetPoster()),
              static_cast<IVideoTriggerSettings*>(&record));
}
