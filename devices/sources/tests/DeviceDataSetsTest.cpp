#include "devices/sources/DeviceDataSets.h"

#include "devices/core/Device.h"
#include "devices/sim/SimCamera.h"
#include "devices/sim/SimCard.h"
#include "devices/sim/tests/SimHostClock.h"
#include "sensordata/model/VidraData.h"

#include <gtest/gtest.h>

#include <memory>

TEST(DeviceDataSetsTest, TheHeldRecordingBecomesANewDataSet) {
    SimHostClock clock;
    auto owned = std::make_unique<CSimCard>(&clock.services, 1, 0, 4, 40000, 1);
    CSimCard* card = owned.get();
    CDevice device(CDeviceDescriptor(CDeviceId(kDeviceTypeDataCard, 1, 0)), std::move(owned));
    EXPECT_TRUE(DeviceDataSets::CopyMemory(&device).IsEmpty()) << "nothing recorded yet";

    // 40000 scans at 1000 scans a second: 30000 after the trigger at scan 50000.
    ASSERT_EQ(card->SetRecordRate(1000), 0);
    DriverTriggerSetting setting;
    setting.postTriggerFrames = 30000;
    ASSERT_EQ(card->SetTriggerSetting(setting), 0);
    ASSERT_EQ(device.SetMode(kModeArmed), 0);
    clock.AtTick(1200, 1000);
    ASSERT_EQ(card->SetDac0(-2.0), 0);
    EXPECT_TRUE(DeviceDataSets::CopyMemory(&device).IsEmpty()) << "armed";
    clock.AtTick(50000, 1000);
    ASSERT_EQ(device.Trigger(), 0);
    clock.AtTick(79999, 1000);
    ASSERT_EQ(device.GetMode(), kModeStopped);

    CSharedRef<CSensorDataSet> set = DeviceDataSets::CopyMemory(&device);
    ASSERT_FALSE(set.IsEmpty());
    EXPECT_EQ(set->GetActiveChannelCount(), 4);
    EXPECT_EQ(set->GetScanCount(), 40000);
    EXPECT_EQ(set->GetScanRate(), 1000.0);
    EXPECT_EQ(set->GetScansPerFrame(), 1);
    EXPECT_EQ(set->GetZeroPoint(), 10000) << "the trigger scan";
    const std::vector<int64_t>& held = card->HeldFrames();
    ASSERT_EQ(held.size(), 40000u);
    // Across the block boundaries of the copy.
    for (int index : {0, 16383, 16384, 10000, 39999}) {
        for (int channel = 0; channel < 4; ++channel) {
            EXPECT_FLOAT_EQ((*set->GetData()->ChannelSamples(channel))[index],
                            static_cast<float>(card->Volts(channel, held[index])))
                << index << " " << channel;
        }
    }
    EXPECT_FLOAT_EQ((*set->GetData()->ChannelSamples(3))[0], -2.0f) << "DAC0 looped back";

    // Each copy is a data set of its own.
    CSharedRef<CSensorDataSet> again = DeviceDataSets::CopyMemory(&device);
    ASSERT_FALSE(again.IsEmpty());
    EXPECT_NE(again.Get(), set.Get());
    EXPECT_NE(again->GetDataId(), set->GetDataId());
}

TEST(DeviceDataSetsTest, OnlyDataCardsGiveDataSets) {
    SimHostClock clock;
    EXPECT_TRUE(DeviceDataSets::CopyMemory(nullptr).IsEmpty());
    CDevice bare(CDeviceDescriptor(CDeviceId(kDeviceTypeDataCard, 1, 0)), nullptr);
    EXPECT_TRUE(DeviceDataSets::CopyMemory(&bare).IsEmpty());
    CDevice camera(CDeviceDescriptor(CDeviceId(kDeviceTypeCamera, 1, 0)),
                   std::make_unique<CSimCamera>(&clock.services, 1, 0, false, int64_t(64) << 20));
    EXPECT_TRUE(DeviceDataSets::CopyMemory(&camera).IsEmpty());
}
