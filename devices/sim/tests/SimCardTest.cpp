#include "devices/sim/SimCard.h"

#include "devices/sim/tests/SimHostClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

TEST(SimCardTest, EachChannelKindAtKnownScans) {
    SimHostClock clock;
    CSimCard card(&clock.services, 1, 0, 8, 10000, 3);
    ASSERT_EQ(card.SetRecordRate(1000), 0);
    struct Case {
        int channel;
        int64_t scan;
        double volts;
    };
    const Case cases[] = {
        {0, 0, 0.0},
        {0, 250, 2.5},
        {0, 750, -2.5},                                            // 1 Hz sine
        {4, 50, 2.5 * std::sin(2 * std::numbers::pi * 5 * 0.05)},  // 5 Hz sine
        {1, 0, -5.0},
        {1, 500, 0.0},
        {1, 999, 4.99},
        {1, 1000, -5.0},  // ramp each second
        {3, 10, 0.0},     // DAC0 at rest
    };
    for (const Case& c : cases)
        EXPECT_NEAR(card.Volts(c.channel, c.scan), c.volts, 1e-9) << c.channel << " " << c.scan;
    // Noise: within +-0.1 V, the same on every read, different per channel and seed.
    CSimCard other(&clock.services, 1, 1, 8, 10000, 4);
    other.SetRecordRate(1000);
    double spread = 0;
    for (int64_t scan = 0; scan < 1000; ++scan) {
        const double v = card.Volts(2, scan);
        EXPECT_LE(std::abs(v), 0.1);
        EXPECT_EQ(v, card.Volts(2, scan));
        spread += std::abs(v - other.Volts(2, scan));
    }
    EXPECT_GT(spread, 1.0);
    EXPECT_NE(card.Volts(2, 7), card.Volts(6, 7));
}

TEST(SimCardTest, RateStaysWithinItsRange) {
    SimHostClock clock;
    CSimCard card(&clock.services, 1, 0, 8, 1000, 1);
    for (const double refused : {25001.0, 0.999, 5e-324, 0.0, -1.0, double(NAN), double(INFINITY)})
        EXPECT_EQ(card.SetRecordRate(refused), 1) << refused;
    for (const double taken : {25000.0, CSimCard::kMinRate}) {
        EXPECT_EQ(card.SetRecordRate(taken), 0) << taken;
        double rate = 0;
        card.GetRecordRate(&rate);
        EXPECT_EQ(rate, taken);
    }
    std::vector<double> rates;
    card.GetRateList(&rates);
    for (double rate : rates)
        EXPECT_LE(rate * 8, CSimCard::kMaxAggregateRate);
}

TEST(SimCardTest, PreAndPostTriggerSplitAndDac0Loopback) {
    SimHostClock clock;
    CSimCard card(&clock.services, 1, 0, 4, 1000, 1);
    ASSERT_EQ(card.SetRecordRate(1000), 0);
    DriverTriggerSetting setting;
    setting.type = 1;  // DIO6
    setting.postTriggerFrames = 300;
    ASSERT_EQ(card.SetTriggerSetting(setting), 0);
    ASSERT_EQ(card.SetMode(kModeArmed), 0);
    clock.AtTick(1200, 1000);
    ASSERT_EQ(card.SetDac0(1.5), 0);  // from scan 1201 on
    clock.AtTick(2000, 1000);
    card.SetDio6(1);
    EXPECT_EQ(card.IsTriggered(), 1);
    clock.AtTick(2299, 1000);
    EXPECT_EQ(card.GetMode(), kModeStopped);
    int count = 0;
    int pre = 0;
    int triggerIndex = 0;
    card.GetRecordedFrames(&count);
    card.GetPreTriggerFrames(&pre);
    card.GetTriggerIndex(&triggerIndex);
    EXPECT_EQ(count, 1000);
    EXPECT_EQ(pre, 700);
    EXPECT_EQ(triggerIndex, 700);
    EXPECT_EQ(card.HeldFrames().front(), 1300);
    EXPECT_EQ(card.HeldFrames()[700], 2000);

    std::vector<double> values;
    ASSERT_EQ(card.ReadSamples(0, 2, &values), 0);
    ASSERT_EQ(values.size(), 2u * 4 * 2);
    EXPECT_DOUBLE_EQ(values[0], 1.3) << "time of the oldest held scan";
    EXPECT_DOUBLE_EQ(values[2 * 3 + 1], 1.5) << "DAC0 comes back on channel 3";
    EXPECT_NEAR(values[1], card.Volts(0, 1300), 1e-12);
    EXPECT_EQ(card.ReadSamples(999, 2, &values), 1);
    EXPECT_EQ(card.Volts(3, 1200), 0.0);
    EXPECT_EQ(card.Volts(3, 1201), 1.5);
    EXPECT_EQ(card.SetDac0(11), 1);
}
