#include "tracking/FeatureTrackerSet.h"

#include "tracking/FeatureTracker.h"
#include "tracking/FrameSourceAdapter.h"
#include "tracking/ITrackerFrameSource.h"
#include "tracking/ITrackingRunHost.h"
#include "tracking/records/TrackSample.h"
#include "tracking/tests/TrackingImages.h"

#include "frames/Dib.h"
#include "frames/FrameSourcePtr.h"
#include "platform/framework/MessageQueue.h"
#include "platform/framework/Wnd.h"

#include "testsupport/IsolatedTest.h"

#include <cmath>
#include <functional>
#include <optional>

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

// A recording made up frame by frame: each frame renders the features that the scene gives
// for it on fresh noise, as a bottom-up 8-bit bitmap.
class SceneSource : public ITrackerFrameSource {
public:
    SceneSource(int frameCount, std::function<std::vector<Feature>(int)> scene)
        : m_frameCount(frameCount), m_scene(std::move(scene)) {}

    bool GoToFrame(int index) override {
        if (index < 0 || index >= m_frameCount)
            return false;
        CMImage image;
        RenderScene(image, kWidth, kHeight, m_scene(index), static_cast<unsigned>(index));
        std::vector<BYTE> rows(static_cast<size_t>(kWidth * kHeight));
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                rows[static_cast<size_t>((kHeight - 1 - y) * kWidth + x)] =
                    static_cast<BYTE>(image.GetPixel(x, y));
        m_current = m_dib.Create(rows.data(), kWidth, kHeight, 8) ? index : -1;
        return m_current >= 0;
    }

    const CDib* GetFrame() override { return m_current >= 0 ? &m_dib : nullptr; }

private:
    int m_frameCount;
    std::function<std::vector<Feature>(int)> m_scene;
    CDib m_dib;
    int m_current = -1;
};

struct TrackedPointCall {
    int tracker;
    int frame;
    int x10;
    int y10;
};

class RecordingHost : public ITrackingRunHost {
public:
    void TrackedPoint(int tracker, int frame, int x10, int y10) override {
        points.push_back({tracker, frame, x10, y10});
        if (onPoint)
            onPoint(points.back());
    }
    void FrameDone(int frame, int) override { framesDone.push_back(frame); }
    void RunComplete(int, int) override { ++completions; }

    std::vector<TrackedPointCall> points;
    std::vector<int> framesDone;
    int completions = 0;
    std::function<void(const TrackedPointCall&)> onPoint;
};

// The settings a new feature gets, with the x and y filters on.
CTrackSample DefaultSettings() {
    CTrackSample s;
    s.SetEnabled(1);
    s.SetValue1(160.0);
    s.SetValue2(1.2);
    s.SetValue3(1.6);
    s.SetValue4(0.75);
    s.SetValue5(10.0);
    s.SetValue6(1.0);
    s.SetFlag3(1);
    s.SetFlag4(1);
    s.SetValue7(1.0);
    s.SetFlag5(1);
    s.SetFlag6(1);
    return s;
}

// The square's centre in frame f: across the frame with a gentle wave.
double PathX(int f) {
    return 30.0 + 1.9 * f;
}
double PathY(int f) {
    return 60.0 + 12.0 * std::sin(f * 0.15);
}
Feature SquareAt(int f) {
    return Feature{PathX(f), PathY(f), 0.0, 5.5, 5.5, 200, 1.5};
}

class FeatureTrackerSetTest : public IsolatedTest {
protected:
    // Adds a tracker for feature 0 on the square at startFrame (its 21 x 21 box around the
    // centre, rounded to pixels).
    CFeatureTracker* AddSquareTracker(ITrackerFrameSource& source, int startFrame, int endFrame,
                                      int featureNumber = 0) {
        CFeatureTracker* tracker = m_set.FindOrAddTracker(featureNumber);
        tracker->SetFrameSource(&source);
        const int left = static_cast<int>(std::lround(PathX(startFrame))) - 10;
        const int top = static_cast<int>(std::lround(PathY(startFrame))) - 10;
        EXPECT_TRUE(tracker->StartAt(left, top, 21, 21, DefaultSettings(), startFrame, endFrame));
        return tracker;
    }

    void ExpectOnPath(const std::vector<TrackedPointCall>& points) {
        for (const TrackedPointCall& p : points) {
            EXPECT_NEAR(p.x10 / 10.0, PathX(p.frame), 1.0) << "frame " << p.frame;
            EXPECT_NEAR(p.y10 / 10.0, PathY(p.frame), 1.0) << "frame " << p.frame;
        }
    }

    CFeatureTrackerSet m_set;
    RecordingHost m_host;
};

TEST_F(FeatureTrackerSetTest, TracksASquareOverFiftyFramesForwardAndBackward) {
    SceneSource source(50, [](int f) { return std::vector<Feature>{SquareAt(f)}; });
    m_set.SetHost(&m_host);
    m_set.SetFrameCount(50);
    AddSquareTracker(source, 0, -1);
    m_set.Run(0);
    ASSERT_EQ(m_host.points.size(), 50u);
    EXPECT_EQ(m_host.points.front().frame, 0);
    EXPECT_EQ(m_host.points.back().frame, 49);
    ExpectOnPath(m_host.points);
    EXPECT_EQ(m_host.framesDone.size(), 50u);
    EXPECT_EQ(m_host.completions, 1);
    EXPECT_FALSE(m_set.IsRunning());

    // Backward from the last frame; an end of -1 runs down to frame 0.
    m_set.Clear();
    m_host = RecordingHost();
    m_set.SetDirection(1);
    AddSquareTracker(source, 49, -1);
    m_set.Run(49);
    ASSERT_EQ(m_host.points.size(), 50u);
    EXPECT_EQ(m_host.points.front().frame, 49);
    EXPECT_EQ(m_host.points.back().frame, 0);
    ExpectOnPath(m_host.points);
    EXPECT_EQ(m_host.completions, 1);
}

TEST_F(FeatureTrackerSetTest, TracksASquareThroughARecordingOnDisk) {
    constexpr int kFrames = 20;
    const QString path = WorkPath("square.raw");
    ASSERT_TRUE(WriteRawRecording(path, kWidth, kHeight, 8, kFrames, [](int f) {
        CMImage image;
        RenderScene(image, kWidth, kHeight, {SquareAt(f)}, static_cast<unsigned>(f));
        return RawFrameOf(image);
    }));
    CFrameSourcePtr source(new CFrameSource);
    ASSERT_EQ(source->Open(path), 1);
    CFrameSourceAdapter frames(source);
    m_set.SetHost(&m_host);
    m_set.SetFrameCount(source->GetFrameCount());
    AddSquareTracker(frames, 0, -1);
    m_set.Run(0);
    ASSERT_EQ(m_host.points.size(), static_cast<size_t>(kFrames));
    EXPECT_EQ(m_host.points.back().frame, kFrames - 1);
    ExpectOnPath(m_host.points);
    EXPECT_EQ(m_host.completions, 1);

    m_set.Clear();
    m_host = RecordingHost();
    m_set.SetDirection(1);
    AddSquareTracker(frames, kFrames - 1, -1);
    m_set.Run(kFrames - 1);
    ASSERT_EQ(m_host.points.size(), static_cast<size_t>(kFrames));
    EXPECT_EQ(m_host.points.back().frame, 0);
    ExpectOnPath(m_host.points);
}

TEST_F(FeatureTrackerSetTest, CarriesALostFeatureForItsMissAllowanceThenDropsIt) {
    // The square vanishes from frame 10 on.
    SceneSource source(30, [](int f) {
        return f < 10 ? std::vector<Feature>{SquareAt(f)} : std::vector<Feature>{};
    });
    for (int allowance : {0, 3}) {
        SCOPED_TRACE(testing::Message() << "allowance " << allowance);
        m_set.Clear();
        m_host = RecordingHost();
        m_set.SetHost(&m_host);
        m_set.SetFrameCount(30);
        CFeatureTracker* tracker = AddSquareTracker(source, 0, -1);
        tracker->GetMatcher().SetMissAllowance(allowance);
        Prompter().ExpectMessageBox(
            QStringLiteral("Feature %1 was lost at frame %2; its tracking stopped.")
                .arg(tracker->GetFeatureNumber() + 1)
                .arg(10 + allowance),
            IDOK);
        m_set.Run(0);
        ASSERT_EQ(m_host.points.size(), static_cast<size_t>(10 + allowance));
        EXPECT_EQ(m_host.points.back().frame, 9 + allowance);
        EXPECT_FALSE(tracker->IsActive());
        EXPECT_EQ(m_host.completions, 1);  // Every feature lost ends the run normally.
    }
}

TEST_F(FeatureTrackerSetTest, AWhiteDiscOnBlackTracksFiftyFrames) {
    // No noise: a template of a disc on a flat black ground, the case that once ended silently.
    constexpr int kDiscFrames = 50;
    auto discX = [](int f) { return 30.0 + f; };
    class DiscSource : public ITrackerFrameSource {
    public:
        explicit DiscSource(std::function<double(int)> x) : m_x(std::move(x)) {}
        bool GoToFrame(int index) override {
            if (index < 0 || index >= kDiscFrames)
                return false;
            std::vector<BYTE> rows(static_cast<size_t>(kWidth * kHeight), 0);
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    if (std::hypot(x - m_x(index), y - 60.0) <= 8.0)
                        rows[static_cast<size_t>((kHeight - 1 - y) * kWidth + x)] = 255;
            m_ok = m_dib.Create(rows.data(), kWidth, kHeight, 8);
            return m_ok;
        }
        const CDib* GetFrame() override { return m_ok ? &m_dib : nullptr; }

    private:
        std::function<double(int)> m_x;
        CDib m_dib;
        bool m_ok = false;
    };
    DiscSource source(discX);
    m_set.SetHost(&m_host);
    m_set.SetFrameCount(kDiscFrames);
    CFeatureTracker* tracker = m_set.FindOrAddTracker(0);
    tracker->SetFrameSource(&source);
    ASSERT_TRUE(tracker->StartAt(20, 50, 21, 21, DefaultSettings(), 0, -1));
    m_set.Run(0);
    ASSERT_EQ(m_host.points.size(), static_cast<size_t>(kDiscFrames));
    for (const TrackedPointCall& p : m_host.points)
        EXPECT_NEAR(p.x10 / 10.0, discX(p.frame), 1.0) << "frame " << p.frame;
}

TEST_F(FeatureTrackerSetTest, SkipsStepFramesBetweenTrackedFrames) {
    SceneSource source(20, [](int f) { return std::vector<Feature>{SquareAt(f)}; });
    m_set.SetHost(&m_host);
    m_set.SetFrameCount(20);
    m_set.SetStep(2);
    AddSquareTracker(source, 5, -1);
    m_set.Run(5);
    EXPECT_EQ(m_host.framesDone, (std::vector<int>{5, 8, 11, 14, 17}));
    ExpectOnPath(m_host.points);
}

TEST_F(FeatureTrackerSetTest, TracksOnlyInsideEachTrackersFrameRange) {
    SceneSource source(20, [](int f) { return std::vector<Feature>{SquareAt(f)}; });
    m_set.SetHost(&m_host);
    m_set.SetFrameCount(20);
    AddSquareTracker(source, 0, 4, 7);
    AddSquareTracker(source, 3, -2, 9);
    m_set.Run(0);
    std::vector<int> first;
    std::vector<int> second;
    for (const TrackedPointCall& p : m_host.points)
        (p.tracker == 0 ? first : second).push_back(p.frame);
    EXPECT_EQ(first, (std::vector<int>{0, 1, 2, 3, 4}));
    ASSERT_EQ(second.size(), 17u);
    EXPECT_EQ(second.front(), 3);
    EXPECT_EQ(m_set.FindOrAddTracker(9), m_set.GetTracker(1));
    ExpectOnPath(m_host.points);
}

TEST_F(FeatureTrackerSetTest, AStoppedRunReportsNoCompletion) {
    SceneSource source(40, [](int f) { return std::vector<Feature>{SquareAt(f)}; });
    m_set.SetHost(&m_host);
    m_set.SetFrameCount(40);
    AddSquareTracker(source, 0, -1);
    m_host.onPoint = [&](const TrackedPointCall& p) {
        if (p.frame == 10)
            m_set.Stop();
    };
    m_set.Run(0);
    EXPECT_EQ(m_host.points.back().frame, 10);
    EXPECT_EQ(m_host.framesDone.back(), 9);
    EXPECT_EQ(m_host.completions, 0);
    EXPECT_FALSE(m_set.IsRunning());
}

TEST_F(FeatureTrackerSetTest, TheStopMessageEndsTheRunAfterTheCurrentTracker) {
    SceneSource source(40, [](int f) { return std::vector<Feature>{SquareAt(f)}; });
    CWnd window;
    ASSERT_TRUE(window.Create(nullptr, "tracking", 0, CRect(0, 0, 40, 30), nullptr, 0));
    m_set.SetHost(&m_host);
    m_set.SetFrameCount(40);
    AddSquareTracker(source, 0, -1);
    m_host.onPoint = [&](const TrackedPointCall& p) {
        if (p.frame == 6)
            window.PostMessage(CFeatureTrackerSet::kStopMessage, 0, 0);
    };
    m_set.Run(0);
    // Frame 7 is stepped, then the pump finds the message: no point, no frame, no completion.
    EXPECT_EQ(m_host.points.back().frame, 6);
    EXPECT_EQ(m_host.framesDone.back(), 6);
    EXPECT_EQ(m_host.completions, 0);
}

TEST_F(FeatureTrackerSetTest, LeavesAQuitRequestForTheMainLoop) {
    SceneSource source(12, [](int f) { return std::vector<Feature>{SquareAt(f)}; });
    m_set.SetHost(&m_host);
    m_set.SetFrameCount(12);
    AddSquareTracker(source, 0, -1);
    m_host.onPoint = [&](const TrackedPointCall& p) {
        if (p.frame == 3)
            PostQuitMessage(0);
    };
    m_set.Run(0);
    EXPECT_EQ(m_host.points.size(), 12u);
    int exitCode = 0;
    EXPECT_TRUE(AfxTakeQuitRequest(&exitCode));
    EXPECT_EQ(exitCode, 1);
}

TEST_F(FeatureTrackerSetTest, KeepsFrameNumbersAbove65535) {
    SceneSource source(70010, [](int f) { return std::vector<Feature>{SquareAt(f - 69995)}; });
    m_set.SetHost(&m_host);
    m_set.SetFrameCount(70010);
    CFeatureTracker* tracker = m_set.FindOrAddTracker(0);
    tracker->SetFrameSource(&source);
    ASSERT_TRUE(tracker->StartAt(20, 50, 21, 21, DefaultSettings(), 69995, -1));
    m_set.Run(69995);
    ASSERT_EQ(m_host.points.size(), 15u);
    const TrackedPointCall& p = m_host.points[5];
    EXPECT_EQ(p.frame, 70000);
    EXPECT_NEAR(p.x10 / 10.0, PathX(5), 1.0);
    EXPECT_NEAR(p.y10 / 10.0, PathY(5), 1.0);
    EXPECT_EQ(m_host.framesDone.back(), 70009);
}

TEST_F(FeatureTrackerSetTest, DoesNothingWithoutTrackersAndStartsOnlyWhenItCan) {
    m_set.SetHost(&m_host);
    m_set.SetFrameCount(10);
    m_set.Run(0);
    EXPECT_EQ(m_host.completions, 0);
    EXPECT_TRUE(m_host.framesDone.empty());

    SceneSource source(10, [](int f) { return std::vector<Feature>{SquareAt(f)}; });
    CFeatureTracker tracker;
    EXPECT_FALSE(tracker.Start(20, 50, 21, 21, DefaultSettings()));  // No frame source.
    tracker.SetFrameSource(&source);
    EXPECT_FALSE(tracker.Start(20, 50, 21, 21, CTrackSample()));  // Settings not enabled.
    EXPECT_FALSE(tracker.StartAt(20, 50, 21, 21, DefaultSettings(), 12, -1));  // No frame 12.
    EXPECT_TRUE(tracker.StartAt(20, 50, 21, 21, DefaultSettings(), 0, -1));
    EXPECT_TRUE(tracker.IsActive());
}

}  // namespace
