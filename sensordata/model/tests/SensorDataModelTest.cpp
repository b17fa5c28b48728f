// The data model's operations on their edges: ranges, rolling windows, time axes and guards.

#include "SensorDataFixture.h"

#include "platform/framework/InvalidArgException.h"

namespace {

// 100 scans of two channels (0 and 3) whose samples are their own scan index (+1000 on 3).
void FillRamp(CVidraData& d, int scans = 100) {
    d.m_onFlags[0] = 1;
    d.m_onFlags[3] = 1;
    d.m_channels.assign(2, std::vector<float>(size_t(scans)));
    for (int s = 0; s < scans; ++s) {
        d.m_channels[0][size_t(s)] = float(s);
        d.m_channels[1][size_t(s)] = float(1000 + s);
    }
    d.m_nTotalScans = scans;
    d.m_nScansPerFrame = 4;
    d.m_nScanRate = 100;
    d.m_nZP = 30;
    d.m_nTP = 50;
    d.m_nSecondOrigin = 60;
    d.m_labels[3] = "Three";
}

TEST(SensorDataModelTest, CopyRangeCases) {
    struct Case {
        int first, last;
        int count;   // Scans copied.
        float head;  // First sample of channel 0, when any.
        int shift;   // What ZP, TP and second origin go down by.
        int spf;
    } cases[] = {
        {10, 20, 10, 10.0f, 10, 4},   {-5, 20, 20, 0.0f, 0, 4},
        {90, 1000, 10, 90.0f, 90, 4},                               // A range past the end takes
        {0, 1000, 100, 0.0f, 0, 4},   {90, 100, 10, 90.0f, 90, 4},  // the final scan too.
        {20, 10, 0, 0.0f, 20, 4},                                   // Nothing to copy.
        {10, 20, 10, 10.0f, 10, 0},  // Scans per frame 0 counts as 1.
    };
    for (const Case& c : cases) {
        CVidraData source;
        FillRamp(source);
        source.m_nScansPerFrame = c.spf;
        CVidraData target;
        target.m_nScaled = 5;
        source.CopyRange(target, c.first, c.last);
        const std::string at = std::to_string(c.first) + ".." + std::to_string(c.last);
        EXPECT_EQ(target.m_nTotalScans, c.count) << at;
        ASSERT_EQ(target.m_channels.size(), 2u) << at;
        EXPECT_EQ(target.m_channels[1].size(), size_t(c.count)) << at;
        EXPECT_EQ(target.m_nFrameCount, c.count / std::max(1, c.spf) + 1) << at;
        EXPECT_EQ(target.m_nZP, 30 - c.shift) << at;
        EXPECT_EQ(target.m_nTP, 50 - c.shift) << at;
        EXPECT_EQ(target.m_nSecondOrigin, 60 - c.shift) << at;
        EXPECT_EQ(target.m_labels[3], "Three") << at;
        EXPECT_EQ(target.m_nScaled, 5) << at;
        if (c.count > 0) {
            EXPECT_EQ(target.m_channels[0].front(), c.head) << at;
            EXPECT_EQ(target.m_channels[1].back(), 1000 + c.head + c.count - 1) << at;
        }
    }
}

TEST(SensorDataModelTest, ScanCountInitAndRollingWindow) {
    CSensorDataSet set;
    EXPECT_EQ(set.GetScanCount(), -1);
    set.GetData()->m_onFlags[40] = 1;
    EXPECT_EQ(set.Init(3, 5, 0, 99.9, 2), S_OK);
    EXPECT_EQ(set.GetScanCount(), 5);
    EXPECT_EQ(set.GetScansPerFrame(), 1);
    EXPECT_EQ(set.GetScanRate(), 99.0);
    EXPECT_EQ(set.GetZeroPoint(), 2);
    EXPECT_EQ(set.GetData()->m_nFrameCount, 5);
    // Stored arrays and on flags stay one to one.
    EXPECT_EQ(set.GetActiveChannelCount(), 3);
    EXPECT_EQ(set.GetData()->m_onFlags[40], 0);

    const std::vector<float> oneShort{1, 2};
    const std::vector<float> oneMore{1, 2, 3, 4};
    EXPECT_EQ(set.SetLastScan(nullptr), E_FAIL);
    EXPECT_EQ(set.SetLastScan(&oneShort), E_FAIL);
    EXPECT_EQ(set.SetLastScan(&oneMore), E_FAIL);
    EXPECT_EQ(set.GetData()->m_channels[2], std::vector<float>(5, 0.0f));

    for (int i = 1; i <= 6; ++i) {
        const std::vector<float> scan{float(i), float(10 * i), float(100 * i)};
        ASSERT_EQ(set.SetLastScan(&scan), S_OK);
    }
    EXPECT_EQ(set.GetData()->m_channels[0], (std::vector<float>{2, 3, 4, 5, 6}));
    EXPECT_EQ(set.GetData()->m_channels[2], (std::vector<float>{200, 300, 400, 500, 600}));

    // A block: two scans in, one shift; a block longer than the window keeps its newest part.
    const float two[] = {7, 70, 700, 8, 80, 800};
    ASSERT_EQ(set.SetLastScans(two, 2, 6), S_OK);
    EXPECT_EQ(set.GetData()->m_channels[1], (std::vector<float>{40, 50, 60, 70, 80}));
    std::vector<float> seven;
    for (int s = 0; s < 7; ++s)
        seven.insert(seven.end(), {float(s), float(s), float(-s)});
    ASSERT_EQ(set.SetLastScans(seven.data(), 7, 21), S_OK);
    EXPECT_EQ(set.GetData()->m_channels[2], (std::vector<float>{-2, -3, -4, -5, -6}));
    EXPECT_EQ(set.SetLastScans(two, 2, 5), E_FAIL);
}

TEST(SensorDataModelTest, TimeAxesAndPositions) {
    CVidraData d;
    FillRamp(d, 5);
    d.m_nZP = 2;
    d.m_nSecondOrigin = 4;
    d.m_nScanRate = 4;
    float time[5], index[5], second[5];
    d.GetTimeAxis(time);
    d.GetIndexAxis(index);
    d.GetTimeAxisSecondOrigin(second);
    EXPECT_EQ(time[2], 0.0f);
    EXPECT_EQ(time[0], -0.5f);
    EXPECT_EQ(time[4], 0.5f);
    EXPECT_EQ(index[0], -2.0f);
    EXPECT_EQ(second[4], 0.0f);
    // x runs from the first scan's position to the last one's.
    EXPECT_EQ(d.XToScan(-2.0f, false), 0);
    EXPECT_EQ(d.XToScan(2.0f, false), 4);
    EXPECT_EQ(d.XToScan(0.25f, true), 3);
    EXPECT_EQ(d.XToScanSecondOrigin(0.0f, false), 4);
    // A rate of 0 counts as 1 rather than dividing by zero.
    d.m_nScanRate = 0;
    d.GetTimeAxis(time);
    EXPECT_EQ(time[0], -2.0f);
    EXPECT_EQ(d.XToScan(0.0f, true), 2);
    // With a single scan every position is that scan.
    FillRamp(d, 1);
    EXPECT_EQ(d.XToScan(123.0f, true), 0);
    EXPECT_EQ(d.XToScan(1e30f, false), 0);
}

TEST(SensorDataModelTest, ScaledSamples) {
    CVidraData d;
    FillRamp(d, 3);
    d.m_factors[0] = 2.0f;
    d.m_offsets[3] = -1000.0f;
    double one[3];
    d.GetScaledSamples(one, 3);
    EXPECT_EQ(one[2], 2.0);
    double all[6];
    d.GetScaledSamples(all, -1);
    EXPECT_EQ(all[0], 0.0);
    EXPECT_EQ(all[1], 0.0);
    EXPECT_EQ(all[2], 2.0);
    EXPECT_EQ(all[5], 2.0);
    EXPECT_EQ(d.GetScaledValue(3.0f, 0), 6.0);
    EXPECT_THROW(d.GetScaledSamples(one, 1), CInvalidArgException);
    EXPECT_THROW(d.GetScaledSamples(one, 64), CInvalidArgException);
    EXPECT_THROW(d.GetScaledValue(1.0f, -1), CInvalidArgException);
}

TEST(SensorDataModelTest, CopyTakesEverythingButTheLiveMark) {
    CVidraData source;
    FillRamp(source, 4);
    source.m_nLiveCopy = 1;
    source.m_nSpare = 9;
    CVidraData copy;
    EXPECT_NE(copy.m_nDataId, source.m_nDataId);
    copy.Copy(source);
    EXPECT_EQ(copy.m_nDataId, source.m_nDataId);
    EXPECT_EQ(copy.m_nLiveCopy, 0);
    EXPECT_EQ(copy.m_nSpare, 9);
    EXPECT_EQ(copy.m_channels, source.m_channels);
    EXPECT_EQ(copy.m_labels[3], "Three");
    // Each new object takes the next id.
    CSensorDataSet a;
    CSensorDataSet b;
    EXPECT_GT(b.GetDataId(), a.GetDataId());
}

}  // namespace
