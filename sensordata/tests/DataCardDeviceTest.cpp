#include "sensordata/DataCardDevice.h"

#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimDriver.h"
#include "platform/wintypes/WinError.h"
#include "testsupport/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace {

class DataCardDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        DriverLoader::ResetForTests();
        OpenDevices::ResetForTests();
        DriverLoader::ScanFolders({});
        SimDriverConfig config;
        config.cards = 2;
        config.cardSubtype = 3;
        DriverLoader::RegisterDriver(QStringLiteral("in-process"),
                                     MakeSimFamilies(config, DriverLoader::HostServices()));
        InstallDataCardFactory();
    }
    void TearDown() override {
        OpenDevices::DestroyAll();
        DriverLoader::ResetForTests();
    }
};

}  // namespace

TEST_F(DataCardDeviceTest, DataCardsOpenAsDataCardDevicesOverTheirDriver) {
    CDevice* device = DriverLoader::OpenById(CDeviceId(kDeviceTypeDataCard, 3, 1));
    auto* card = dynamic_cast<CDataCardDevice*>(device);
    ASSERT_NE(card, nullptr);
    CDeviceDescriptor descriptor;
    card->GetDescriptor(&descriptor);
    EXPECT_EQ(descriptor, CDeviceId(kDeviceTypeDataCard, 3, 1));
    EXPECT_EQ(descriptor.m_name, QStringLiteral("Simulated data card 2"));
    EXPECT_EQ(descriptor.m_driver, QStringLiteral("in-process"));
    ASSERT_NE(card->Driver(), nullptr);
    int channels = 0;
    EXPECT_EQ(card->Driver()->GetChannelCount(&channels), 0);
    EXPECT_EQ(channels, 8);
    EXPECT_EQ(OpenDevices::FindOpenDeviceById(descriptor), device) << "in the open-device list";
    EXPECT_EQ(DriverLoader::OpenById(descriptor), device) << "opened once";

    // Cameras are still the driver layer's own devices; ids no driver has open nothing.
    CDevice* camera = DriverLoader::OpenById(CDeviceId(kDeviceTypeCamera, 1, 0));
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(dynamic_cast<CDataCardDevice*>(camera), nullptr);
    EXPECT_EQ(DriverLoader::OpenById(CDeviceId(kDeviceTypeDataCard, 3, 2)), nullptr);
    EXPECT_EQ(DriverLoader::OpenById(CDeviceId(kDeviceTypeDataCard, 4, 0)), nullptr);
    EXPECT_EQ(OpenDevices::GetCount(), 2);
}

TEST_F(DataCardDeviceTest, TheAcquisitionWindowIsNotThereYetAndSaysSo) {
    auto* card = dynamic_cast<CDataCardDevice*>(
        DriverLoader::OpenById(CDeviceId(kDeviceTypeDataCard, 3, 0)));
    ASSERT_NE(card, nullptr);
    ScriptedPrompter prompter;
    prompter.ExpectMessageBox("The live acquisition window is not available yet.", IDOK);
    EXPECT_EQ(card->ShowAcquisitionWindow(), E_NOTIMPL);
    EXPECT_EQ(prompter.Prompts().size(), 1u);
}
