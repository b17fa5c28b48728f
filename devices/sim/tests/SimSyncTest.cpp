#include "devices/sim/SimCamera.h"
#include "devices/sim/SimCard.h"
#include "devices/sim/tests/SimHostClock.h"

#include <gtest/gtest.h>

#include <memory>

// Devices chained on one sync line record together: the master's trigger or stop reaches every
// armed slave; the frame limit bounds what a recording keeps.

namespace {

constexpr int64_t kFrameBytes = 320 * 240;

class SimSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_line = std::make_shared<CSimSyncLine>();
        for (int i = 0; i < 2; ++i) {
            m_cameras[i] =
                std::make_unique<CSimCamera>(&m_clock.services, 1, i, false, 1000 * kFrameBytes);
            ASSERT_EQ(m_cameras[i]->SetResolution(320, 240), 0);
            m_cameras[i]->JoinSyncLine(m_line);
        }
        m_card = std::make_unique<CSimCard>(&m_clock.services, 1, 0, 4, 5000, 1);
        m_card->JoinSyncLine(m_line);
        DriverTriggerSetting setting;
        setting.postTriggerFrames = 100;
        for (IDriverDevice* device : Devices()) {
            ASSERT_EQ(device->SetRecordRate(1000), 0);
            ASSERT_EQ(device->SetMaxFrames(300), 0);
            ASSERT_EQ(device->SetTriggerSetting(setting), 0);
        }
    }
    std::vector<IDriverDevice*> Devices() {
        return {m_cameras[0].get(), m_cameras[1].get(), m_card.get()};
    }
    void ArmAll(int masterIndex) {
        const std::vector<IDriverDevice*> devices = Devices();
        for (size_t i = 0; i < devices.size(); ++i) {
            ASSERT_EQ(
                devices[i]->SetRole(static_cast<int>(i) == masterIndex ? kRoleMaster : kRoleSlave),
                0);
            ASSERT_EQ(devices[i]->SetMode(kModeArmed), 0);
        }
    }

    SimHostClock m_clock;
    std::shared_ptr<CSimSyncLine> m_line;
    std::unique_ptr<CSimCamera> m_cameras[2];
    std::unique_ptr<CSimCard> m_card;
};

}  // namespace

TEST_F(SimSyncTest, MasterTriggerRecordsEverySlaveOverTheSameFrames) {
    ArmAll(0);
    m_clock.AtTick(500, 1000);
    ASSERT_EQ(m_cameras[0]->Trigger(), 0);
    // Frame limit 300 with 100 after the trigger: frames 300..599 on every device.
    m_clock.AtTick(599, 1000);
    for (IDriverDevice* device : Devices()) {
        EXPECT_EQ(device->GetMode(), kModeStopped);
        int count = 0;
        int trigger = 0;
        device->GetRecordedFrames(&count);
        device->GetTriggerIndex(&trigger);
        EXPECT_EQ(count, 300);
        EXPECT_EQ(trigger, 200);
    }
    EXPECT_EQ(m_cameras[1]->HeldFrames(), m_cameras[0]->HeldFrames());
    EXPECT_EQ(m_card->HeldFrames().front(), 300);
    EXPECT_EQ(m_card->HeldFrames().back(), 599);
}

TEST_F(SimSyncTest, OnlyTheMasterLeadsAndOnlyArmedSlavesFollow) {
    struct Case {
        const char* what;
        int master;         // device that is master (the others are slaves)
        int triggered;      // device the test triggers
        bool othersFollow;  // whether the other armed devices record
    };
    for (const Case& c : {Case{"master leads", 0, 0, true}, Case{"slave alone", 0, 1, false},
                          Case{"card as master", 2, 2, true}}) {
        SCOPED_TRACE(c.what);
        ArmAll(c.master);
        m_clock.nowNs += 1000000000;
        ASSERT_EQ(Devices()[static_cast<size_t>(c.triggered)]->Trigger(), 0);
        m_clock.nowNs += 200000000;
        for (int i = 0; i < 3; ++i) {
            const bool expectStopped = i == c.triggered || c.othersFollow;
            EXPECT_EQ(Devices()[static_cast<size_t>(i)]->GetMode(),
                      expectStopped ? kModeStopped : kModeArmed)
                << i;
        }
        for (IDriverDevice* device : Devices())
            device->SetMode(kModeIdle);
    }
}

TEST_F(SimSyncTest, MasterStopStopsTheSlavesWithWhatTheyHold) {
    ArmAll(0);
    m_clock.AtTick(150, 1000);
    ASSERT_EQ(m_cameras[0]->Stop(), 0);
    for (IDriverDevice* device : Devices()) {
        EXPECT_EQ(device->GetMode(), kModeStopped);
        int count = 0;
        device->GetRecordedFrames(&count);
        EXPECT_EQ(count, 151) << "frames 0..150 since arming";
    }
}

TEST_F(SimSyncTest, FrameLimitIsBoundedByTheMemoryAndFixedWhileArmed) {
    int frames = 0;
    struct Case {
        int limit;
        int cameraFrames;  // 1000 fit the camera's memory
        int cardScans;     // 5000 fit the card's buffer
    };
    for (const Case& c : {Case{300, 300, 300}, Case{4000, 1000, 4000}, Case{9000, 1000, 5000}}) {
        ASSERT_EQ(m_cameras[0]->SetMaxFrames(c.limit), 0);
        ASSERT_EQ(m_card->SetMaxFrames(c.limit), 0);
        m_cameras[0]->GetMaxFrames(&frames);
        EXPECT_EQ(frames, c.cameraFrames) << c.limit;
        m_card->GetMaxFrames(&frames);
        EXPECT_EQ(frames, c.cardScans) << c.limit;
    }
    EXPECT_EQ(m_cameras[0]->SetMaxFrames(0), 1);
    ASSERT_EQ(m_cameras[0]->SetMode(kModeArmed), 0);
    EXPECT_EQ(m_cameras[0]->SetMaxFrames(500), 1) << "not while armed";
    m_cameras[0]->GetMaxFrames(&frames);
    EXPECT_EQ(frames, 1000);
}
