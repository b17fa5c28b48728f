#include "tracking/TemplateMatcher.h"

#include "tracking/ImageOps.h"
#include "tracking/TrackerSettings.h"
#include "tracking/records/TrackSample.h"
#include "tracking/tests/TrackingImages.h"

#include "testsupport/IsolatedTest.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kFrameWidth = 120;
constexpr int kFrameHeight = 100;
constexpr int kSide = 21;  // Template size; the feature starts centred at (40, 40).

class TemplateMatcherTest : public IsolatedTest {
protected:
    // Starts the matcher on a frame with the feature at (40, 40), template (30, 30)-(50, 50).
    void Start(const Feature& feature, int mask = 0, std::vector<double> values = {}) {
        RenderScene(m_frame, kFrameWidth, kFrameHeight, {feature}, 1);
        m_matcher.Reset();
        m_matcher.SetSettings(-1, nullptr);
        if (mask != 0)
            m_matcher.SetSettings(mask, values.data());
        CMImage patch;
        m_ops.CopyRegion(m_frame, patch, CRect(30, 30, 50, 50));
        m_matcher.SetTemplate(patch, CRect(30, 30, 50, 50));
        m_matcher.SetActive(1);
    }

    // Matches at a predicted top-left and angle; returns the status.
    int Match(const CMImage& frame, int x, int y, int angle = 0) {
        m_matcher.SetPrediction(&frame, x, y, angle);
        m_matcher.MatchFrame(frame);
        int status = 0;
        EXPECT_EQ(m_matcher.GetResult(2, &status, &m_x, &m_y, &m_angle), S_OK);
        return status;
    }

    // Follows the feature along a curved sub-pixel path, predicting each frame from the last
    // result as the tracker does; returns the largest position error, and the largest angle
    // error in angleError.
    double FollowPath(const Feature& start, bool rotate, bool refine, double* angleError) {
        const double refineValue = refine ? 1.0 : 0.0;
        if (rotate)
            Start(start, CTemplateMatcher::kSetRotationSearch | CTemplateMatcher::kSetRefinePeak,
                  {1.0, refineValue});
        else
            Start(start, CTemplateMatcher::kSetRefinePeak, {refineValue});
        double worst = 0.0;
        *angleError = 0.0;
        int x = 30;
        int y = 30;
        int angle = 0;
        for (int t = 1; t <= 12; ++t) {
            Feature f = start;
            f.cx = 40.0 + 1.37 * t;
            f.cy = 40.0 + 0.61 * t + 0.07 * t * t;
            f.angleDeg = rotate ? 5.0 * std::sin(t * 0.7) : 0.0;
            CMImage frame;
            RenderScene(frame, kFrameWidth, kFrameHeight, {f}, 100u + static_cast<unsigned>(t));
            EXPECT_EQ(Match(frame, x, y, angle), CTemplateMatcher::kFound) << "frame " << t;
            worst = std::max({worst, std::abs(m_x - f.cx), std::abs(m_y - f.cy)});
            *angleError = std::max(*angleError, std::abs(m_angle - f.angleDeg));
            x = static_cast<int>(m_x - kSide / 2);
            y = static_cast<int>(m_y - kSide / 2);
            angle = static_cast<int>(m_angle);
        }
        return worst;
    }

    CTemplateMatcher m_matcher;
    CImageOps m_ops;
    CMImage m_frame;
    double m_x = 0.0;
    double m_y = 0.0;
    double m_angle = 0.0;
};

TEST_F(TemplateMatcherTest, FollowsASquareOnNoiseWithinHalfAPixelAndATenthWithRefinement) {
    const Feature square{40.0, 40.0, 0.0, 5.5, 5.5, 200, 1.5};
    double angleError = 0.0;
    EXPECT_LE(FollowPath(square, false, false, &angleError), 0.5);
    EXPECT_EQ(angleError, 0.0);
    EXPECT_LE(FollowPath(square, false, true, &angleError), 0.1);
}

TEST_F(TemplateMatcherTest, FollowsASquareTurningFiveDegreesEachWayWithTheRotationSearch) {
    const Feature square{40.0, 40.0, 0.0, 5.5, 5.5, 200, 1.5};
    double angleError = 0.0;
    EXPECT_LE(FollowPath(square, true, false, &angleError), 0.5);
    EXPECT_LE(FollowPath(square, true, true, &angleError), 0.1);
}

TEST_F(TemplateMatcherTest, FollowsTheAngleOfATurningBar) {
    // Near the best angle the 8-bit correlation levels off over a degree or two and the later
    // of equal angles wins, so the angle runs up to about three degrees ahead.
    const Feature bar{40.0, 40.0, 0.0, 7.5, 3.5, 200, 1.5};
    double angleError = 0.0;
    EXPECT_LE(FollowPath(bar, true, false, &angleError), 0.5);
    EXPECT_LE(angleError, 3.5);
}

TEST_F(TemplateMatcherTest, ComparesTheJumpLimitWithTheSquaredDistance) {
    Start(Feature{40.0, 40.0, 0.0, 5.5, 5.5, 200});
    struct Case {
        int offset;  // Predicted centre this far right of the feature.
        int status;
    };
    const Case cases[] = {{0, CTemplateMatcher::kFound},
                          {12, CTemplateMatcher::kFound},   // 144 <= 160.
                          {13, CTemplateMatcher::kTooFar},  // 169 > 160.
                          {-13, CTemplateMatcher::kTooFar}};
    for (const Case& c : cases) {
        // A predicted top-left x gives the predicted centre x + (21 + 1) / 2.
        EXPECT_EQ(Match(m_frame, 29 + c.offset, 29), c.status) << c.offset;
        EXPECT_DOUBLE_EQ(m_x, 40.0);  // Status 4 still reports the blob.
        EXPECT_DOUBLE_EQ(m_y, 40.0);
    }
}

TEST_F(TemplateMatcherTest, ReportsANearBlobThatAnotherOutshines) {
    Start(Feature{40.0, 40.0, 0.0, 5.5, 5.5, 200});
    // The template's own square far left, a smaller square near the predicted centre.
    CMImage frame;
    RenderScene(frame, kFrameWidth, kFrameHeight,
                {Feature{42.0, 50.0, 0.0, 5.5, 5.5, 200}, Feature{63.0, 50.0, 0.0, 4.5, 4.5, 200}},
                5);
    EXPECT_EQ(Match(frame, 50, 39), CTemplateMatcher::kNotStrongest);  // Centre (61, 50).
    EXPECT_NEAR(m_x, 63.0, 1.0);
    double strongestX = 0.0;
    double strongestY = 0.0;
    m_matcher.GetResult(1, nullptr, &strongestX, &strongestY, nullptr);
    EXPECT_NEAR(strongestX, 42.0, 0.5);
    EXPECT_NEAR(strongestY, 50.0, 0.5);
}

TEST_F(TemplateMatcherTest, FindsNothingInAnEmptyWindowOrABlankFrame) {
    Start(Feature{40.0, 40.0, 0.0, 5.5, 5.5, 200});
    EXPECT_EQ(Match(m_frame, 200, 30), CTemplateMatcher::kNothing);  // Window outside.
    EXPECT_EQ(m_matcher.GetWindow().Width(), 0);

    CMImage blank;
    blank.Allocate(kFrameWidth, kFrameHeight);
    EXPECT_EQ(Match(blank, 30, 30, 4), CTemplateMatcher::kNothing);
    EXPECT_DOUBLE_EQ(m_x, 41.0);  // The predicted centre stands.
    EXPECT_DOUBLE_EQ(m_y, 41.0);
    EXPECT_DOUBLE_EQ(m_angle, 4.0);
}

TEST_F(TemplateMatcherTest, PlacesAndClipsTheSearchWindow) {
    Start(Feature{40.0, 40.0, 0.0, 5.5, 5.5, 200});
    // Search radius 0.5 sqrt(22^2 + 22^2) x 1.6 = 24.89; side trunc(2 x 24.89 + 0.5) = 50.
    EXPECT_NEAR(m_matcher.GetSearchRadius(), 24.8902, 1e-4);
    struct Case {
        int x;
        int y;
        CRect window;  // Right and bottom outside.
    };
    const Case cases[] = {
        {30, 30, {16, 16, 66, 66}},
        {0, 0, {0, 0, 50, 50}},         // Clamped at 0 keeping its side.
        {95, 70, {81, 56, 120, 100}},   // Cut at the far edges.
        {200, 30, {120, 16, 120, 66}},  // Wholly outside: no width.
    };
    for (const Case& c : cases) {
        m_matcher.SetPrediction(&m_frame, c.x, c.y, 0);
        EXPECT_EQ(m_matcher.GetWindow(), c.window) << c.x << "," << c.y;
    }
    m_matcher.SetPrediction(nullptr, 30, 30, 0);  // No frame: nothing to search.
    EXPECT_EQ(m_matcher.GetWindow().Width(), 0);

    // A negative prediction leaves window and results as they were.
    EXPECT_EQ(Match(m_frame, 29, 29), CTemplateMatcher::kFound);
    m_matcher.SetPrediction(&m_frame, -1, 50, 3);
    EXPECT_EQ(m_matcher.GetWindow(), CRect(15, 15, 65, 65));
    double x = 0.0;
    double y = 0.0;
    double angle = 0.0;
    m_matcher.GetResult(2, nullptr, &x, &y, &angle);
    EXPECT_DOUBLE_EQ(x, 40.0);
    EXPECT_DOUBLE_EQ(angle, 0.0);
}

TEST_F(TemplateMatcherTest, TestsAnglesUpToButNotIncludingTheRangeEnd) {
    // A thin bar across the template, turned well beyond every tested angle so that the
    // correlation grows with the angle and the last angle tested wins.
    const Feature bar{40.0, 40.0, 0.0, 9.5, 2.0, 200};
    struct Case {
        int range;
        int step;
        int predicted;
        double expected;
    };
    const Case cases[] = {
        {10, 1, 0, 9.0},                     // +10 is never tested.
        {11, 1, 0, 10.0}, {10, 1, 2, 11.0},  // Around the predicted angle.
        {10, 0, 0, 9.0},                     // A step of 0 is taken as 1 and ends.
        {10, 4, 0, 6.0},                     // -10, -6, ... 6.
        {0, 1, 3, 3.0},                      // No range: the predicted angle.
        {-4, 1, 6, 6.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "range " << c.range << " step " << c.step);
        Start(bar,
              CTemplateMatcher::kSetRotationSearch | CTemplateMatcher::kSetRotationRange |
                  CTemplateMatcher::kSetRotationStep,
              {1.0, static_cast<double>(c.range), static_cast<double>(c.step)});
        Feature turned = bar;
        turned.angleDeg = 25.0;
        CMImage frame;
        RenderScene(frame, kFrameWidth, kFrameHeight, {turned}, 1);
        Match(frame, 29, 29, c.predicted);
        EXPECT_EQ(m_angle, c.expected);
    }
}

TEST_F(TemplateMatcherTest, KeepsThePredictedAngleWithoutRotationSearch) {
    Start(Feature{40.0, 40.0, 0.0, 5.5, 5.5, 200});
    EXPECT_EQ(Match(m_frame, 29, 29, 7), CTemplateMatcher::kFound);
    EXPECT_EQ(m_angle, 7.0);
}

TEST_F(TemplateMatcherTest, GivesPositionsOnlyInTheResultModesThatHaveThem) {
    Start(Feature{40.0, 40.0, 0.0, 5.5, 5.5, 200});
    Match(m_frame, 29, 29, 2);
    int status = 0;
    double x = -7.0;
    double y = -7.0;
    double angle = 0.0;
    EXPECT_EQ(m_matcher.GetResult(3, &status, &x, &y, &angle), S_OK);
    EXPECT_EQ(status, CTemplateMatcher::kFound);
    EXPECT_EQ(x, -7.0);
    EXPECT_EQ(y, -7.0);
    EXPECT_EQ(angle, 2.0);
    EXPECT_EQ(m_matcher.GetResult(2, &status, nullptr, &y, nullptr), E_POINTER);
}

TEST_F(TemplateMatcherTest, TakesSettingsByMaskInOrderAndFromARecord) {
    CTemplateMatcher matcher;
    EXPECT_EQ(matcher.GetActive(), 0);
    EXPECT_EQ(matcher.GetTemplateWidth(), -1);
    const double values[] = {1.0, 3.9, 0.5, 2.0};
    matcher.SetSettings(CTemplateMatcher::kSetRotationSearch | CTemplateMatcher::kSetRotationStep |
                            CTemplateMatcher::kSetThresholdFraction |
                            CTemplateMatcher::kSetRefinePeak | 0x200,
                        values);
    EXPECT_EQ(matcher.GetRotationSearch(), 1);
    EXPECT_EQ(matcher.GetRotationStep(), 3);
    EXPECT_EQ(matcher.GetThresholdFraction(), 0.5);
    EXPECT_EQ(matcher.GetRefinePeak(), 2);
    EXPECT_EQ(matcher.GetRotationRange(), 10);
    matcher.SetMissAllowance(4);
    matcher.SetSettings(-1, values);
    EXPECT_EQ(matcher.GetRotationSearch(), 0);
    EXPECT_EQ(matcher.GetThresholdFraction(), 0.75);
    EXPECT_EQ(matcher.GetMissAllowance(), 0);

    CTrackSample sample;
    sample.SetEnabled(1);
    sample.SetValue1(90.0);
    sample.SetValue2(1.5);
    sample.SetValue3(2.0);
    sample.SetValue4(0.8);
    sample.SetCount(2);
    sample.SetFlag1(1);
    sample.SetValue5(7.9);
    sample.SetValue6(2.5);
    sample.SetFlag5(1);
    matcher.SetSettings(TrackerSettings::FromSample(sample));
    EXPECT_EQ(matcher.GetActive(), 1);
    EXPECT_EQ(matcher.GetMaxJumpSquared(), 90.0);
    EXPECT_EQ(matcher.GetRecentreScale(), 1.5);
    EXPECT_EQ(matcher.GetSearchScale(), 2.0);
    EXPECT_EQ(matcher.GetThresholdFraction(), 0.8);
    EXPECT_EQ(matcher.GetTemplateMask(), 2);
    EXPECT_EQ(matcher.GetRotationSearch(), 1);
    EXPECT_EQ(matcher.GetRotationRange(), 7);
    EXPECT_EQ(matcher.GetRotationStep(), 2);
    EXPECT_EQ(matcher.GetRefinePeak(), 1);
}

TEST_F(TemplateMatcherTest, MasksTheTemplateOutsideItsCircle) {
    const double mask[] = {1.0};
    RenderScene(m_frame, kFrameWidth, kFrameHeight, {Feature{40.0, 40.0, 0.0, 12.0, 12.0, 200}}, 1);
    CMImage patch;
    m_ops.CopyRegion(m_frame, patch, CRect(30, 30, 50, 50));
    m_matcher.SetSettings(CTemplateMatcher::kSetTemplateMask, mask);
    m_matcher.SetTemplate(patch, CRect(30, 30, 50, 50));
    EXPECT_EQ(m_matcher.GetTemplate().GetPixel(0, 0), 0);
    EXPECT_EQ(m_matcher.GetTemplate().GetPixel(10, 0), 200);
    EXPECT_EQ(m_matcher.GetTemplateLeft(), 30);
    EXPECT_EQ(m_matcher.GetTemplateHeight(), 21);
}

}  // namespace
