#include "tracking/KalmanFilter.h"

#include <gtest/gtest.h>

namespace {

constexpr double kTolerance = 1e-12;

TEST(KalmanFilterTest, FollowsTheConstantAccelerationGoldens) {
    // Worked out in exact fractions from the model with r = q = 1.
    struct Step {
        double z;
        CKalmanFilter::Vector state;
        CKalmanFilter::Vector gain;
    };
    const Step steps[] = {
        {11.0, {10.8, 0.4, 0.2}, {0.8, 0.4, 0.2}},
        {13.0,
         {12.826086956521738, 1.608695652173913, 0.6521739130434783},
         {0.8913043478260869, 0.6304347826086957, 0.2826086956521739}},
        {16.0,
         {15.915831663326653, 2.8537074148296595, 0.9138276553106213},
         {0.9078156312625251, 0.6492985971943888, 0.2865731462925852}},
    };
    CKalmanFilter filter;
    filter.Init(1, 10.0, 1.0, 1.0);
    for (const Step& step : steps) {
        filter.Update(step.z);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(filter.GetState()[i], step.state[i], kTolerance) << step.z << " " << i;
            EXPECT_NEAR(filter.GetGain()[i], step.gain[i], kTolerance) << step.z << " " << i;
        }
    }
    const CKalmanFilter::Matrix cov{{{0.9078156312625251, 0.6492985971943888, 0.2865731462925852},
                                     {0.6492985971943888, 2.5571142284569137, 0.8076152304609219},
                                     {0.2865731462925852, 0.8076152304609219, 2.1743486973947896}}};
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j)
            EXPECT_NEAR(filter.GetCovariance()[i][j], cov[i][j], kTolerance) << i << j;

    // The prediction is position + velocity + acceleration and changes nothing.
    EXPECT_NEAR(filter.GetPrediction(), 19.683366733466933, kTolerance);
    EXPECT_NEAR(filter.GetPrediction(), 19.683366733466933, kTolerance);
    CKalmanFilter::Vector predicted{};
    CKalmanFilter::Matrix predictedCov{};
    filter.Predict(&predicted, nullptr);
    filter.Predict(nullptr, &predictedCov);
    EXPECT_DOUBLE_EQ(predicted[0], filter.GetPrediction());
    EXPECT_GT(predictedCov[0][0], cov[0][0]);
}

TEST(KalmanFilterTest, AStillMeasurementKeepsTheStateExactlyWhileTheCovarianceMoves) {
    CKalmanFilter filter;
    filter.Init(1, 5.0, 1.0, 1.0);
    EXPECT_TRUE(filter.IsInitialised());
    const CKalmanFilter::Matrix start = filter.GetCovariance();
    for (int i = 0; i < 3; ++i)
        filter.Update(5.0);
    EXPECT_EQ(filter.GetState(), (CKalmanFilter::Vector{5.0, 0.0, 0.0}));
    EXPECT_NE(filter.GetCovariance(), start);
    EXPECT_NEAR(filter.GetCovariance()[1][1], 2.5571142284569137, kTolerance);
    EXPECT_EQ(filter.GetPrediction(), 5.0);
}

TEST(KalmanFilterTest, InitRestartsTheFilter) {
    CKalmanFilter filter;
    filter.Init(0, 1.0, 2.0, 0.5);
    filter.Update(4.0);
    filter.Init(1, 7.0, 1.0, 0.25);
    EXPECT_EQ(filter.IsEnabled(), 1);
    EXPECT_EQ(filter.GetState(), (CKalmanFilter::Vector{7.0, 0.0, 0.0}));
    EXPECT_EQ(filter.GetCovariance()[0][0], 0.25);
    EXPECT_EQ(filter.GetCovariance()[0][1], 0.0);
}

}  // namespace
