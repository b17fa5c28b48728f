#include "devices/core/DriverLoader.h"

#include "devices/core/Device.h"
#include "devices/core/DeviceVideoStream.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimDriver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

class DriverLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        DriverLoader::ResetForTests();
        OpenDevices::ResetForTests();
    }
    void TearDown() override {
        OpenDevices::DestroyAll();
        DriverLoader::ResetForTests();
    }
    // A folder holding copies of the given modules.
    void CopyInto(const QStringList& modules) {
        for (const QString& module : modules)
            ASSERT_TRUE(QFile::copy(module, m_folder.filePath(QFileInfo(module).fileName())));
    }
    QTemporaryDir m_folder;
};

}  // namespace

TEST_F(DriverLoaderTest, EmptyPathListsNoFamily) {
    DriverLoader::ScanFolders({});
    EXPECT_TRUE(DriverLoader::ListFamilies().empty());
    EXPECT_EQ(DriverLoader::OpenById(CDeviceId(1, 1, 0)), nullptr);
    CDeviceDescriptor descriptor;
    EXPECT_EQ(DriverLoader::Probe(CDeviceId(1, 1, 0), &descriptor, false), 1);
}

TEST_F(DriverLoaderTest, FindsTheSimulatedDriverOnTheDriverPath) {
    CopyInto({QStringLiteral(RM_SIM_DRIVER)});
    qputenv(kDriverPathVariable, QStringLiteral("/nonexistent:%1").arg(m_folder.path()).toUtf8());
    EXPECT_EQ(DriverLoader::SearchFolders().value(1), m_folder.path());
    DriverLoader::Scan();
    qunsetenv(kDriverPathVariable);
    const auto families = DriverLoader::ListFamilies();
    ASSERT_EQ(families.size(), 2u);
    EXPECT_EQ(families[0].type, kDeviceTypeCamera);
    EXPECT_EQ(families[1].type, kDeviceTypeDataCard);
    EXPECT_EQ(families[0].driver, QFileInfo(QStringLiteral(RM_SIM_DRIVER)).fileName());
    EXPECT_EQ(DriverLoader::GetDeviceIndices(kDeviceTypeCamera, families[0].subtype),
              (std::vector<int>{0, 1}));
    EXPECT_TRUE(DriverLoader::Reports().isEmpty());

    const CDeviceId id(kDeviceTypeCamera, families[0].subtype, 0);
    CDeviceDescriptor descriptor;
    EXPECT_EQ(DriverLoader::Probe(id, &descriptor, false), 0);
    EXPECT_EQ(descriptor, id);
    EXPECT_EQ(OpenDevices::GetCount(), 0) << "a probe without keep closes again";
    CDevice* device = DriverLoader::OpenById(id);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(DriverLoader::OpenById(id), device) << "an open device is not opened twice";
    EXPECT_EQ(OpenDevices::GetCount(), 1);
    EXPECT_FALSE(device->GetInfoText().isEmpty());
    DriverImageFormat format;
    EXPECT_EQ(device->GetImageFormat(&format), 0);
    EXPECT_EQ(format.bitsPerPixel, 8);
}

TEST_F(DriverLoaderTest, SkipsBadModulesWithOneReportEach) {
    CopyInto({QStringLiteral(RM_TEST_NOENTRY_DRIVER), QStringLiteral(RM_TEST_OTHERVERSION_DRIVER),
              QStringLiteral(RM_SIM_DRIVER)});
    // A truncated copy of a real module, random bytes, an empty file and a text file.
    QFile real(QStringLiteral(RM_SIM_DRIVER));
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    const QByteArray bytes = real.readAll();
    std::mt19937 random(7);
    QByteArray noise(4096, 0);
    for (char& c : noise)
        c = static_cast<char>(random());
    const std::pair<const char*, QByteArray> junk[] = {
        {"truncated.so", bytes.left(bytes.size() / 3)},
        {"header-only.so", bytes.left(64)},
        {"random.so", noise},
        {"empty.so", QByteArray()},
        {"text.so", QByteArray("not a module\n")},
    };
    for (const auto& [name, content] : junk) {
        QFile file(m_folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    DriverLoader::ScanFolders({m_folder.path()});
    DriverLoader::ScanFolders({m_folder.path()});
    const QStringList reports = DriverLoader::Reports();
    EXPECT_EQ(reports.size(), 7) << reports.join(QLatin1Char('\n')).toStdString();
    const QString noEntry = QFileInfo(QStringLiteral(RM_TEST_NOENTRY_DRIVER)).fileName();
    const QString otherVersion = QFileInfo(QStringLiteral(RM_TEST_OTHERVERSION_DRIVER)).fileName();
    EXPECT_EQ(reports.filter(noEntry).size(), 1);
    EXPECT_TRUE(reports.filter(noEntry).value(0).contains(QStringLiteral("no driver entry")));
    EXPECT_EQ(reports.filter(otherVersion).size(), 1);
    EXPECT_TRUE(reports.filter(otherVersion)
                    .value(0)
                    .contains(QStringLiteral("interface %1, not %2")
                                  .arg(kDriverApiVersion + 1)
                                  .arg(kDriverApiVersion)));
    // The good module still counts (twice scanned, so its families are there twice; a real run
    // scans once).
    EXPECT_FALSE(DriverLoader::ListFamilies().empty());
}

TEST_F(DriverLoaderTest, RegisteredDriversAndFactories) {
    SimDriverConfig config;
    config.cameras = 3;
    config.colourCameras = 1;
    config.cameraSubtype = 4;
    DriverLoader::ScanFolders({});
    DriverLoader::RegisterDriver(QStringLiteral("in-process"),
                                 MakeSimFamilies(config, DriverLoader::HostServices()));
    EXPECT_EQ(DriverLoader::GetDeviceIndices(kDeviceTypeCamera, 4), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(DriverLoader::OpenById(CDeviceId(kDeviceTypeCamera, 4, 3)), nullptr);
    CDevice* colour = DriverLoader::OpenById(CDeviceId(kDeviceTypeCamera, 4, 2));
    ASSERT_NE(colour, nullptr);
    DriverImageFormat format;
    colour->GetImageFormat(&format);
    EXPECT_EQ(format.bitsPerPixel, 24);
    CDeviceDescriptor descriptor;
    colour->GetDescriptor(&descriptor);
    EXPECT_EQ(descriptor.m_driver, QStringLiteral("in-process"));
    // Every camera offers its settings; only the colour one its colour adjustment.
    CDevice* mono = DriverLoader::OpenById(CDeviceId(kDeviceTypeCamera, 4, 0));
    ASSERT_NE(mono, nullptr);
    const struct {
        CDevice* device;
        int feature;
        int usable;
    } features[] = {{colour, CDevice::kFeatureColourAdjustment, 1},
                    {colour, CDevice::kFeatureCameraSettings, 1},
                    {mono, CDevice::kFeatureColourAdjustment, 0},
                    {mono, CDevice::kFeatureCameraSettings, 1},
                    {mono, CDevice::kFeatureReducedLive, 0}};
    for (const auto& f : features) {
        int usable = -1;
        f.device->IsFeatureUsable(f.feature, &usable);
        EXPECT_EQ(usable, f.usable) << f.feature;
    }
    // The trigger types the camera takes (edges of its input) are switched on for the pages.
    const struct {
        int feature;
        int active;
    } triggers[] = {{CDevice::kFeatureEdgeTrigger, 1},
                    {CDevice::kFeatureLevelTrigger, 0},
                    {CDevice::kFeatureRisingEdge, 1},
                    {CDevice::kFeatureFallingEdge, 1},
                    {CDevice::kFeatureEitherEdge, 1}};
    for (const auto& t : triggers) {
        int active = -1;
        mono->IsFeatureActive(t.feature, &active);
        EXPECT_EQ(active, t.active) << t.feature;
    }
    // So are its record clock's two sources and counters, and rates of the user's own.
    for (int feature : {CDevice::kFeatureClockSource, CDevice::kFeatureRecordCounters,
                        CDevice::kFeatureUserFrameRate}) {
        int active = -1;
        mono->IsFeatureActive(feature, &active);
        EXPECT_EQ(active, 1) << feature;
    }
    int buffers = -1;
    mono->IsFeatureActive(CDevice::kFeatureBuffers, &buffers);
    EXPECT_EQ(buffers, 0);

    // Data cards of the sensor-data layer come from its factory, not the driver.
    CDeviceId asked;
    DriverLoader::SetDeviceFactory(kDeviceTypeDataCard, [&](const CDeviceId& id) {
        asked = id;
        return new CDevice(CDeviceDescriptor(id), nullptr);
    });
    CDevice* card = DriverLoader::OpenById(CDeviceId(kDeviceTypeDataCard, 1, 0));
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(asked, CDeviceId(kDeviceTypeDataCard, 1, 0));
    EXPECT_EQ(card->Driver(), nullptr);
    EXPECT_EQ(OpenDevices::GetCount(), 3);
}
