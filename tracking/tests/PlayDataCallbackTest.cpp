#include "tracking/PlayDataCallback.h"

#include "testsupport/IsolatedTest.h"
#include "tracking/TrackFeatureSet.h"
#include "tracking/tests/FakeRecording.h"
#include "views/IMeasurementPointHost.h"

namespace {

constexpr int kFrames = 6;

// The measurement points of a video view's annotations.
class FakeAnnotations : public IMeasurementPointHost {
public:
    HRESULT AddMeasurementPoint(double x, double y, int point, int feature,
                                const CTrackFeature&) override {
        points.push_back({feature, point, x, y});
        return S_OK;
    }
    HRESULT GetMeasurementPoints(std::vector<MeasurementPointEntry>* out) override {
        *out = points;
        return S_OK;
    }
    std::vector<MeasurementPointEntry> points;
};

class PlayDataCallbackTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        set.SetFrameSource(&recording);
        set.SetPositionSource(&recording);
        set.SetFeatureLimits(4, 1);
        set.SetFeatureCountForRecording(3);
        set.GetIndexValues().SetAt(CTrackFeatureSet::kToolKey, 1);
        set.SetToolEnabled(true);
        set.SetAutoNextFeature(false);
        set.SetWrapFeatures(false);
    }

    void SetPoint(int frame, int feature, double x, double y) {
        recording.current = frame;
        recording.pickX = x;
        recording.pickY = y;
        set.SetSelectedFeature(feature, false);
        ASSERT_EQ(set.SetFeatureHere(), S_OK);
    }

    std::vector<CTrackPoint> AllPoints() {
        std::vector<CTrackPoint> all;
        for (int feature = 0; feature < 3; ++feature)
            for (int f = 0; f < kFrames; ++f) {
                CTrackPoint p;
                set.GetPoint(f, feature, nullptr, &p);
                all.push_back(p);
            }
        return all;
    }

    CFakeRecording recording{320, 240, kFrames};
    CTrackFeatureSet set;
    FakeAnnotations annotations;
    CPlayDataCallback::PulledPoints pulled;
};

}  // namespace

TEST_F(PlayDataCallbackTest, PullGivesImagePixelsOfShownFeatures) {
    SetPoint(1, 0, 10.0, 5.0);  // stored as (100, 50) tenths
    SetPoint(2, 1, 20.5, 7.5);
    SetPoint(3, 2, 30.0, 9.0);
    CTrackFeature hidden;
    set.GetFeature(2, nullptr, &hidden);
    hidden.SetFlag1(0);
    set.SetFeature(2, nullptr, &hidden);
    bool changed = false;
    ASSERT_EQ(CPlayDataCallback::Pull(&annotations, &set, &changed, &pulled), S_OK);
    EXPECT_TRUE(changed);
    ASSERT_EQ(annotations.points.size(), 2u);
    EXPECT_EQ(annotations.points[0].feature, 0);
    EXPECT_EQ(annotations.points[0].frame, 1);
    EXPECT_DOUBLE_EQ(annotations.points[0].x, 10.0);
    EXPECT_DOUBLE_EQ(annotations.points[0].y, 5.0);
    EXPECT_DOUBLE_EQ(annotations.points[1].x, 20.5);
}

TEST_F(PlayDataCallbackTest, PullThenPushLeavesTheTracksUnchanged) {
    SetPoint(1, 0, 10.3, 5.7);
    SetPoint(4, 1, 123.4, 56.7);
    SetPoint(0, 2, 0.1, 239.9);
    set.SetAutoNextFeature(true);
    set.SetWrapFeatures(false);
    const std::vector<CTrackPoint> before = AllPoints();
    ASSERT_EQ(CPlayDataCallback::Pull(&annotations, &set, nullptr, &pulled), S_OK);
    annotations.points.push_back({-1, 2, 99.0, 99.0});  // a point of no feature is ignored
    ASSERT_EQ(CPlayDataCallback::Push(&annotations, &set, &pulled), S_OK);
    const std::vector<CTrackPoint> after = AllPoints();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(after[i] == before[i]) << i;
    bool autoNext = false;
    bool wrap = true;
    set.GetAutoNextFeature(&autoNext);
    set.GetWrapFeatures(&wrap);
    EXPECT_TRUE(autoNext);
    EXPECT_FALSE(wrap);
}

TEST_F(PlayDataCallbackTest, PushMovesAPointTheUserMoved) {
    SetPoint(1, 0, 10.0, 5.0);
    CPlayDataCallback::Pull(&annotations, &set, nullptr, &pulled);
    annotations.points[0].x = 12.5;
    ASSERT_EQ(CPlayDataCallback::Push(&annotations, &set, &pulled), S_OK);
    CTrackPoint p;
    set.GetPoint(1, 0, nullptr, &p);
    double x = 0, y = 0;
    p.GetPosition(&x, &y);
    EXPECT_EQ(x, 125);
    EXPECT_EQ(y, 50);
}

TEST_F(PlayDataCallbackTest, WithoutATrackSet) {
    bool changed = true;
    EXPECT_EQ(CPlayDataCallback::Pull(&annotations, nullptr, &changed, &pulled), S_OK);
    EXPECT_TRUE(changed);
    EXPECT_EQ(CPlayDataCallback::Push(&annotations, nullptr, &pulled), E_FAIL);
    CPlayDataCallback callback(nullptr, nullptr);
    EXPECT_EQ(callback.PullTrackPoints(&changed), S_OK);
    EXPECT_TRUE(changed);
    EXPECT_EQ(callback.PushMeasurementPointsToTracks(), E_FAIL);
}

// The tracker, or the user with the picking tool, moves a point after the pull: the frame steps
// that follow push nothing back over it, while a measurement point the user moves still goes.
TEST_F(PlayDataCallbackTest, ATrackSetAfterThePullSurvivesFrameSteps) {
    SetPoint(1, 0, 10.0, 5.0);
    SetPoint(2, 1, 30.0, 6.0);
    ASSERT_EQ(CPlayDataCallback::Pull(&annotations, &set, nullptr, &pulled), S_OK);
    SetPoint(1, 0, 20.0, 8.0);       // re-tracked at (200, 80) tenths
    annotations.points[1].x = 31.5;  // moved by the user
    for (int step = 0; step < 10; ++step)
        ASSERT_EQ(CPlayDataCallback::Push(&annotations, &set, &pulled), S_OK);
    struct Case {
        int frame, feature;
        double x, y;
    };
    for (const Case& c : {Case{1, 0, 200, 80}, Case{2, 1, 315, 60}}) {
        CTrackPoint p;
        set.GetPoint(c.frame, c.feature, nullptr, &p);
        double x = 0, y = 0;
        p.GetPosition(&x, &y);
        EXPECT_EQ(x, c.x) << c.feature;
        EXPECT_EQ(y, c.y) << c.feature;
    }
}
