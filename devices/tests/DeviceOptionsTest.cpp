#include "devices/DlgCameraOptions.h"
#include "devices/core/Device.h"
#include "devices/core/DeviceLink.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimDriver.h"
#include "devices/sim/tests/SimHostClock.h"
#include "sensordata/DataAcqWnd.h"
#include "testsupport/IsolatedTest.h"

#include <QFile>

#include <cstring>
#include <random>

namespace {

// Little-endian archive bytes written by hand, so the test does not share the writer's code.
struct Bytes {
    QByteArray data;
    Bytes& Raw(const void* p, int n) {
        data.append(static_cast<const char*>(p), n);
        return *this;
    }
    Bytes& Int(int32_t v) { return Raw(&v, 4); }
    Bytes& Long(int64_t v) { return Raw(&v, 8); }
    Bytes& Double(double v) { return Raw(&v, 8); }
    Bytes& Str(const char* s) {
        const auto n = static_cast<uint8_t>(std::strlen(s));
        return Raw(&n, 1).Raw(s, n);
    }
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class DeviceOptionsTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        SimDriverConfig config;
        config.cameras = 1;
        config.colourCameras = 0;
        config.cards = 0;
        config.cameraMemoryBytes = 640 * 480 * 1000;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, &m_clock.services));
        m_device = DriverLoader::OpenById(CDeviceId(kDeviceTypeCamera, 1, 0));
        ASSERT_NE(m_device, nullptr);
        int handle = 0;
        m_device->GetHandle(&handle);
        m_link.SetProvider(&m_manager);
        m_link.SetHandle(handle);
    }
    void TearDown() override {
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        IsolatedTest::TearDown();
    }
    // The state whose bytes the golden test spells out.
    void SetKnownState() {
        ASSERT_EQ(m_device->SetName("Cam A"), 0);
        IDriverDevice* driver = m_device->Driver();
        ASSERT_EQ(driver->SetRecordRate(500), 0);
        ASSERT_EQ(m_device->SetResolution(640, 480), 0);
        ASSERT_EQ(driver->SetExposure(0.001), 0);
        ASSERT_EQ(driver->SetTriggerSetting({1, 100, 0}), 0);
        m_device->SetFeatureOn(3, 1);
        m_device->SetFeatureOn(17, 5);
    }
    static QByteArray GoldenBytes() {
        Bytes b;
        b.Int(1);                                   // store schema, offset 0
        b.Int(1).Int(3).Int(1).Int(0).Int(0);       // device page: schema, id, flags (4-20)
        b.Str("SIM-M1").Str("Cam A").Str("sim");    // model 24, name 31, driver 37
        b.Int(1).Double(500).Int(640).Int(480);     // camera page 41: rate 45, size 53
        b.Long(1000000).Int(1).Int(100).Int(1000);  // exposure 61, trigger 69, max 77
        // Features from 81: the camera's edge triggers (6, 15, 16) are on as it opens.
        for (int i = 0; i < CDevice::kFeatureCount; ++i)
            b.Int(i == 3 || i == 6 || i == 15 || i == 16 ? 1 : i == 17 ? 5 : 0);
        // The acquisition page of a camera, 153: schema, device, no channels, the connector
        // with every channel, no adapter.
        b.Int(1).Int(0).Int(0).Int(1).Int(0);
        return b.data;
    }

    SimHostClock m_clock;
    CDeviceManager m_manager;
    CDeviceLink m_link;
    CDevice* m_device = nullptr;
};

TEST_F(DeviceOptionsTest, SavedSheetHasItsExactBytes) {
    SetKnownState();
    CDlgCameraOptions sheet;
    sheet.Bind(&m_link);
    ASSERT_EQ(sheet.Save(WorkPath("a.devset")), S_OK);
    const QByteArray bytes = ReadAll(WorkPath("a.devset"));
    const QByteArray golden = GoldenBytes();
    EXPECT_EQ(bytes.size(), 81 + 4 * CDevice::kFeatureCount + 20);
    EXPECT_EQ(bytes.toHex(), golden.toHex());

    // Field offsets a reader of the file relies on.
    struct Field {
        int offset;
        QByteArray value;
    };
    auto i32 = [](int32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto f64 = [](double v) { return QByteArray(reinterpret_cast<const char*>(&v), 8); };
    const Field fields[] = {
        {8, i32(3)},
        {12, i32(1)},
        {16, i32(0)},
        {24, "\x06SIM-M1"},
        {31,
         "\x05"
         "Cam A"},
        {37, "\x03sim"},
        {45, f64(500)},
        {53, i32(640)},
        {57, i32(480)},
        {61, i32(1000000)},
        {69, i32(1)},
        {73, i32(100)},
        {77, i32(1000)},
        {81 + 3 * 4, i32(1)},
        {81 + 17 * 4, i32(5)},
    };
    for (const Field& f : fields)
        EXPECT_EQ(bytes.mid(f.offset, f.value.size()).toHex(), f.value.toHex()) << f.offset;
}

TEST_F(DeviceOptionsTest, LoadingGivesTheDeviceTheFileValues) {
    WriteAll(WorkPath("b.camset"), GoldenBytes());
    CDlgCameraOptions sheet;
    sheet.Bind(&m_link);
    ASSERT_EQ(sheet.Load(WorkPath("b.camset")), S_OK);

    double rate = 0;
    m_device->GetRecordRate(&rate);
    EXPECT_EQ(rate, 500);
    int width = 0, height = 0;
    m_device->GetResolution(&width, &height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    DriverTriggerSetting trigger;
    m_device->Driver()->GetTriggerSetting(&trigger);
    EXPECT_EQ(trigger.type, 1);
    EXPECT_EQ(trigger.postTriggerFrames, 100);
    int on = 0;
    m_device->GetFeatureOn(17, &on);
    EXPECT_EQ(on, 5);

    // Saved again, the device gives back the same bytes.
    ASSERT_EQ(sheet.Save(WorkPath("c.camset")), S_OK);
    const QByteArray again = ReadAll(WorkPath("c.camset"));
    const QByteArray camera = GoldenBytes().mid(41);  // with the acquisition page
    EXPECT_EQ(again.right(camera.size()).toHex(), camera.toHex());
    const CDeviceDescriptor d = sheet.GetDeviceSettings();
    EXPECT_EQ(d.m_model, "SIM-M1");
    // The device's own name is kept: the file's name is only a record of it.
    EXPECT_EQ(d.m_name, "Simulated camera 1");
}

TEST_F(DeviceOptionsTest, EveryCutKeepsDefaultsOfTheMissingFields) {
    const QByteArray golden = GoldenBytes();
    for (int size = 0; size < golden.size(); ++size) {
        WriteAll(WorkPath("cut.devset"), golden.left(size));
        CDlgCameraOptions sheet;
        ASSERT_EQ(sheet.Load(WorkPath("cut.devset")), S_OK) << size;
        const CDlgOptionsBaseTab_Camera& camera = sheet.m_cameraValue;
        // The camera page starts at 41 and its rate at 45: a cut before the rate keeps 0.
        EXPECT_EQ(camera.m_recordRate, size >= 53 ? 500.0 : 0.0) << size;
        EXPECT_EQ(camera.m_featureOn[17], size >= 153 ? 5 : 0) << size;
        EXPECT_EQ(sheet.GetDeviceSettings().m_type, size >= 12 ? 3 : 0) << size;
    }
}

TEST_F(DeviceOptionsTest, MutatedFilesLoadIntoABoundSheetWithoutHarm) {
    const QByteArray golden = GoldenBytes();
    std::mt19937 random(44);
    CDlgCameraOptions sheet;
    sheet.Bind(&m_link);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = golden;
        const int changes = 1 + static_cast<int>(random() % 6);
        for (int c = 0; c < changes; ++c)
            bytes[static_cast<int>(random() % bytes.size())] = static_cast<char>(random());
        WriteAll(WorkPath("m.devset"), bytes);
        EXPECT_EQ(sheet.Load(WorkPath("m.devset")), S_OK);
    }
    // The device still answers with a size of its own list.
    int width = 0, height = 0;
    EXPECT_EQ(m_device->GetResolution(&width, &height), 0);
    EXPECT_GT(width, 0);
}

TEST_F(DeviceOptionsTest, DefaultsFileIsFoundByTheDeviceId) {
    const CDeviceId id(kDeviceTypeCamera, 1, 0);
    EXPECT_EQ(CDlgDeviceOptions::DefaultsFileName(id), "DT3DST1DID0.devdflt");
    CDlgDeviceOptions missing;
    EXPECT_EQ(missing.LoadDefaultsFile(id), E_FAIL);

    CDlgCameraOptions sheet;
    m_device->SetName("Bench");
    sheet.Bind(&m_link);
    ASSERT_EQ(sheet.SaveDefaultsFile(), S_OK);
    EXPECT_TRUE(QFile::exists(WorkPath("DT3DST1DID0.devdflt")));
    CDlgDeviceOptions defaults;
    ASSERT_EQ(defaults.LoadDefaultsFile(id), S_OK);
    EXPECT_EQ(defaults.GetDeviceSettings().m_name, "Bench");
}

TEST_F(DeviceOptionsTest, MissingFileFailsAndLeavesTheDeviceAlone) {
    CDlgCameraOptions sheet;
    sheet.Bind(&m_link);
    double before = 0;
    m_device->GetRecordRate(&before);
    EXPECT_EQ(sheet.Load(WorkPath("none.devset")), E_FAIL);
    double after = 0;
    m_device->GetRecordRate(&after);
    EXPECT_EQ(after, before);
}

}  // namespace

namespace {

// A simulated card of four channels (channel numbers 0 .. 3) opened as the program opens it.
class DataCardOptionsTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        SimDriverConfig config;
        config.cameras = 0;
        config.cards = 1;
        config.cardChannels = 4;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, &m_clock.services));
        InstallDataCardFactory();
        m_card = dynamic_cast<CDataAcqWnd*>(
            DriverLoader::OpenById(CDeviceId(kDeviceTypeDataCard, 1, 0)));
        ASSERT_NE(m_card, nullptr);
        int handle = 0;
        m_card->GetHandle(&handle);
        m_link.SetProvider(&m_manager);
        m_link.SetHandle(handle);
    }
    void TearDown() override {
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        IsolatedTest::TearDown();
    }
    static QByteArray PageBytes(int channels) {
        Bytes b;
        b.Int(1).Int(2).Int(channels).Int(0).Int(1);  // schema, device, n, connector, adapter
        for (int c = 0; c < 2 * channels; ++c) {
            b.Int(c == 1 ? 0 : 1).Int(c == 2 ? 0 : 1);  // on, input mode
            b.Double(c == 3 ? -1.5 : -10.0).Double(c == 0 ? 5.0 : 10.0);
        }
        return b.data;
    }

    SimHostClock m_clock;
    CDeviceManager m_manager;
    CDeviceLink m_link;
    CDataAcqWnd* m_card = nullptr;
};

}  // namespace

TEST_F(DataCardOptionsTest, TheAcquisitionPageKeepsTheCardsRecord) {
    CAcqSettings& s = m_card->GetAcqSettings();
    s.m_nDevice = 2;
    s.m_nConnector = CAcqSettings::kLowChannelsOnly;
    s.m_nAdapter = 1;
    s.m_on[1] = 0;
    s.m_mode[2] = CAcqSettings::kDiff;
    s.m_lower[3] = -1.5;
    s.m_upper[0] = 5.0;
    CDlgCameraOptions sheet;
    sheet.Bind(&m_link);
    ASSERT_EQ(sheet.Save(WorkPath("card.devset")), S_OK);
    const QByteArray bytes = ReadAll(WorkPath("card.devset"));
    // The page ends the file: 20 bytes, then 24 for each of the 2n = 4 channel numbers.
    const QByteArray page = PageBytes(2);
    ASSERT_EQ(page.size(), 20 + 4 * 24);
    EXPECT_EQ(bytes.right(page.size()).toHex(), page.toHex());
    EXPECT_EQ(sheet.GetDeviceSettings().m_type, kDeviceTypeDataCard);

    // Loaded again, the card gets the record back and its rate per channel from it.
    s = CAcqSettings();
    s.SetChannelCount(2);
    s.m_nMaxAggregateRate = 200000;
    ASSERT_EQ(sheet.Load(WorkPath("card.devset")), S_OK);
    EXPECT_EQ(s.m_nConnector, CAcqSettings::kLowChannelsOnly);
    EXPECT_EQ(s.m_on[1], 0);
    EXPECT_EQ(s.m_mode[2], CAcqSettings::kDiff);
    EXPECT_EQ(s.m_lower[3], -1.5);
    EXPECT_EQ(s.m_nMaxChannelRate, 200000 / 3);
}

TEST_F(DataCardOptionsTest, AChannelCountNoRecordCanHoldEndsThePage) {
    for (int channels : {-1, 33, 0x7FFFFFFF}) {
        QByteArray bytes;
        {
            CDlgDeviceOptions options;
            options.m_acquisitionValue.m_settings.SetChannelCount(2);
            ASSERT_EQ(options.SaveToFile(WorkPath("n.devset")), S_OK);
            bytes = ReadAll(WorkPath("n.devset"));
        }
        // The count sits after the page's schema and device.
        const int at = bytes.size() - PageBytes(2).size() + 8;
        const auto n = static_cast<int32_t>(channels);
        bytes.replace(at, 4, QByteArray(reinterpret_cast<const char*>(&n), 4));
        WriteAll(WorkPath("n.devset"), bytes);
        CDlgDeviceOptions loaded;
        loaded.m_acquisitionValue.m_settings.SetChannelCount(5);
        ASSERT_EQ(loaded.LoadFromFile(WorkPath("n.devset")), S_OK) << channels;
        EXPECT_EQ(loaded.m_acquisitionValue.m_settings.GetChannelCount(), 5) << channels;
    }
}
