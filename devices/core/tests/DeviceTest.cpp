#include "devices/core/Device.h"

#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimCamera.h"
#include "devices/sim/SimDriver.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/framework/Object.h"
#include "platform/wintypes/WinError.h"
#include "testsupport/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

class DataObject : public CObject {};

CDevice MakeDevice() {
    return CDevice(CDeviceDescriptor(CDeviceId(1, 2, 0)), nullptr);
}

}  // namespace

TEST(DeviceTest, HandlesCountUpAndAreNeverReused) {
    int first = 0;
    int second = 0;
    {
        CDevice a(CDeviceDescriptor(CDeviceId(1, 1, 0)), nullptr);
        a.GetHandle(&first);
    }
    CDevice b(CDeviceDescriptor(CDeviceId(1, 1, 0)), nullptr);
    b.GetHandle(&second);
    EXPECT_GE(first, 1);
    EXPECT_GT(second, first);
    int type = 0;
    int subtype = 0;
    EXPECT_EQ(b.GetType(&type), 0);
    EXPECT_EQ(b.GetSubtype(&subtype), 0);
    EXPECT_EQ(b.GetSubtype(nullptr), 0);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(subtype, 1);
}

TEST(DeviceTest, FeatureTablesStopAtEighteen) {
    CDevice device = MakeDevice();
    for (int index : {0, 9, 17}) {
        int value = -1;
        EXPECT_EQ(device.IsFeatureActive(index, &value), 0);
        EXPECT_EQ(value, 0);
        device.SetFeatureSupported(index, 1);
        device.SetFeatureAvailable(index, 1);
        EXPECT_EQ(device.IsFeatureUsable(index, &value), 0);
        EXPECT_EQ(value, 1);
        EXPECT_EQ(device.IsFeatureActive(index, &value), 0);
        EXPECT_EQ(value, 0) << "not switched on yet";
        EXPECT_EQ(device.SetFeatureOn(index, 1), 0);
        EXPECT_EQ(device.IsFeatureActive(index, &value), 0);
        EXPECT_EQ(value, 1);
    }
    for (int index : {18, 19, 1000, -1}) {
        int value = 77;
        EXPECT_EQ(device.SetFeatureOn(index, 1), 2) << index;
        EXPECT_EQ(device.SetFeatureAvailable(index, 1), 2);
        EXPECT_EQ(device.GetFeatureOn(index, &value), 2);
        EXPECT_EQ(device.GetFeatureSupported(index, &value), 2);
        EXPECT_EQ(device.IsFeatureActive(index, &value), 2);
        EXPECT_EQ(device.IsFeatureUsable(index, &value), 2);
        EXPECT_EQ(value, 77) << "nothing touched";
    }
}

TEST(DeviceTest, NamesAreTrimmedAndCheckedWithTheMessage) {
    const QString message = QStringLiteral(
        "Unable to set camera name.\nA camera name cannot contain any of the following "
        "characters: /\\*?:\"<>|");
    struct Case {
        QString name;
        int result;
        bool message;
        QString stored;
    };
    const Case cases[] = {
        {QStringLiteral("  Left camera \t"), 0, false, QStringLiteral("Left camera")},
        {QStringLiteral("   "), 2, false, QStringLiteral("Left camera")},
        {QString(), 2, false, QStringLiteral("Left camera")},
        {QStringLiteral("Cam:1"), 2, true, QStringLiteral("Left camera")},
        {QStringLiteral("a/b"), 2, true, QStringLiteral("Left camera")},
        {QStringLiteral("a|b"), 2, true, QStringLiteral("Left camera")},
        {QStringLiteral("\"q\""), 2, true, QStringLiteral("Left camera")},
        {QStringLiteral("Right"), 0, false, QStringLiteral("Right")},
    };
    CDevice device = MakeDevice();
    for (const Case& c : cases) {
        ScriptedPrompter prompter;
        if (c.message)
            prompter.ExpectMessageBox(message, IDOK);
        EXPECT_EQ(device.SetName(c.name), c.result) << c.name.toStdString();
        EXPECT_EQ(prompter.Prompts().size(), c.message ? 1u : 0u) << c.name.toStdString();
        CDeviceDescriptor descriptor;
        device.GetDescriptor(&descriptor);
        EXPECT_EQ(descriptor.m_name, c.stored);
    }
}

TEST(DeviceTest, LinkedDataAndOwner) {
    CDevice camera = MakeDevice();
    CDevice card(CDeviceDescriptor(CDeviceId(2, 1, 0)), nullptr);
    int handle = 0;
    EXPECT_EQ(camera.GetLinkedDataHandle(nullptr), 1);
    EXPECT_EQ(camera.GetLinkedDataHandle(&handle), E_FAIL);
    camera.SetLinkedData(&card);
    EXPECT_EQ(camera.GetLinkedDataHandle(&handle), 0);
    int cardHandle = 0;
    card.GetHandle(&cardHandle);
    EXPECT_EQ(handle, cardHandle);
    EXPECT_EQ(camera.GetLinkedDataCount(), 0);
    EXPECT_EQ(camera.LinkDataObject(nullptr), 1);
    auto object = std::make_shared<DataObject>();
    EXPECT_EQ(camera.LinkDataObject(object), 0);
    EXPECT_EQ(camera.GetLinkedDataCount(), 1);
    EXPECT_EQ(object.use_count(), 2) << "the device holds a share";
    int value = 0;
    EXPECT_EQ(camera.GetSensorControlValue(&value), 1);
    EXPECT_EQ(value, -1);
    EXPECT_EQ(camera.GetSensorControlValue(nullptr), 1);
    int marker = 0;
    camera.SetDataOwner(5, &marker);
    void* pointer = nullptr;
    camera.GetDataOwner(&value, &pointer);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(pointer, &marker);
}

TEST(DeviceTest, ImageFormatActiveAreaAndColourThroughTheDevice) {
    SimHostClock clock;
    CDevice mono(CDeviceDescriptor(CDeviceId(1, 1, 0)),
                 std::make_unique<CSimCamera>(&clock.services, 1, 0, false, int64_t(64) << 20));
    CDevice colour(CDeviceDescriptor(CDeviceId(1, 1, 1)),
                   std::make_unique<CSimCamera>(&clock.services, 1, 1, true, int64_t(64) << 20));
    CDevice bare = MakeDevice();
    struct Case {
        CDevice* device;
        int bits;
    };
    for (const Case& c : {Case{&mono, 8}, Case{&colour, 24}}) {
        ASSERT_EQ(c.device->SetActiveArea(320, 100, 960, 580), 0);
        DriverImageFormat format;
        ASSERT_EQ(c.device->GetImageFormat(&format), 0);
        EXPECT_EQ(format.bitsPerPixel, c.bits);
        EXPECT_EQ(format.width, 640);
        EXPECT_EQ(format.height, 480);
        EXPECT_EQ(format.rowBytes, c.bits == 24 ? 1920 : 640);

        // The six queries of the active-area dialog, in its order.
        int v[7] = {};
        ASSERT_EQ(c.device->GetActiveAreaLimits(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]),
                  0);
        EXPECT_EQ(std::vector<int>(v, v + 7), (std::vector<int>{1280, 1024, 320, 240, 16, 2, 2}));
        int movable = -1;
        int centred = -1;
        int bits = 0;
        ASSERT_EQ(c.device->GetActiveAreaMode(&movable, &centred, &bits), 0);
        EXPECT_EQ(movable, 1);
        EXPECT_EQ(centred, 0);
        EXPECT_EQ(bits, c.bits);
        double rate = 0;
        ASSERT_EQ(c.device->GetRecordRate(&rate), 0);
        int width = 0;
        int height = 0;
        ASSERT_EQ(c.device->GetMaxActiveArea(rate, bits, &width, &height), 0);
        EXPECT_EQ(width, 1280);
        EXPECT_EQ(height, 1024);
        int left = -1;
        int top = -1;
        ASSERT_EQ(c.device->GetActiveAreaOrigin(&left, &top), 0);
        EXPECT_EQ(left, 320);
        EXPECT_EQ(top, 100);
        ASSERT_EQ(c.device->GetActiveAreaSize(&width, &height), 0);
        EXPECT_EQ(width, 640);
        EXPECT_EQ(height, 480);

        // A point from the control moves the area; one that would push it off the sensor
        // changes nothing.
        ASSERT_EQ(c.device->SetActiveAreaOrigin(320, 272), 0);
        c.device->GetActiveAreaMode(&movable, &centred, &bits);
        EXPECT_EQ(centred, 1);
        EXPECT_EQ(c.device->SetActiveAreaOrigin(700, 0), 1);
        EXPECT_EQ(c.device->SetActiveAreaOrigin(INT32_MAX, 0), 1);
        c.device->GetActiveAreaOrigin(&left, &top);
        EXPECT_EQ(left, 320);
        EXPECT_EQ(top, 272);
        EXPECT_EQ(c.device->SetActiveArea(0, 0, 10, 10), 1);
    }
    DriverImageFormat format;
    EXPECT_EQ(bare.GetImageFormat(&format), 1);
    EXPECT_EQ(mono.GetImageFormat(nullptr), 1);
    int a = 0, b = 0, c = 0, d = 0, e = 0, f = 0, g = 0;
    EXPECT_EQ(bare.GetActiveAreaLimits(&a, &b, &c, &d, &e, &f, &g), 1);
    EXPECT_EQ(mono.GetActiveAreaLimits(&a, &b, &c, &d, &e, &f, nullptr), 1);
    EXPECT_EQ(bare.GetActiveAreaMode(&a, &b, &c), 1);
    EXPECT_EQ(bare.SetActiveArea(0, 0, 320, 240), 1);
    EXPECT_EQ(bare.SetActiveAreaOrigin(0, 0), 1);

    // The colour processor: only the colour camera has one.
    QStringList presets;
    EXPECT_EQ(mono.GetColourPresets(&presets), 1);
    EXPECT_EQ(bare.GetColourPresets(&presets), 1);
    ASSERT_EQ(colour.GetColourPresets(&presets), 0);
    EXPECT_EQ(presets.value(1), QStringLiteral("Tungsten (3200 K)"));
    DriverColourCoefficients rows;
    EXPECT_EQ(mono.ApplyColourGains(100, 100, 100, &rows), 1);
    EXPECT_EQ(mono.GetColourPreset(0, &rows), 1);
    EXPECT_EQ(colour.GetColourPreset(presets.size(), &rows), 1);
    // Reading a preset leaves the coefficients in use alone.
    DriverColourCoefficients peeked;
    ASSERT_EQ(colour.GetColourPreset(2, &peeked), 0);
    DriverColourCoefficients before;
    colour.GetColourCoefficients(&before);
    EXPECT_NE(before.rows[0][0], peeked.rows[0][0]);
    ASSERT_EQ(colour.ApplyColourPreset(2, &rows), 0);
    EXPECT_EQ(std::memcmp(&rows, &peeked, sizeof rows), 0);
    ASSERT_EQ(colour.ApplyColourGains(200, 100, 100, &rows), 0);
    EXPECT_FLOAT_EQ(rows.rows[0][0], 2.6f);
    DriverColourCoefficients current;
    ASSERT_EQ(colour.GetColourCoefficients(&current), 0);
    EXPECT_FLOAT_EQ(current.rows[0][0], 2.6f);
    ASSERT_EQ(colour.GetFactoryColourCoefficients(&current), 0);
    ASSERT_EQ(colour.SetColourCoefficients(current), 0);
    int red = 0, green = 0, blue = 0;
    EXPECT_EQ(colour.BalanceColourRegion(0, 0, 8, 8, &red, &green, nullptr), 1);
    EXPECT_EQ(mono.BalanceColourRegion(0, 0, 8, 8, &red, &green, &blue), 1);
    ASSERT_EQ(colour.BalanceColourRegion(100, 100, 108, 108, &red, &green, &blue), 0);
    EXPECT_EQ(red, green) << "the factory setting is balanced";
    EXPECT_EQ(blue, green);
}

TEST(DeviceTest, SecondIdComesFromTheDriverAndTheIdIsACopy) {
    SimHostClock clock;
    SimDriverConfig config;
    config.cameras = 2;
    config.cards = 1;
    config.cameraSubtype = 3;
    config.secondIdBase = 700;
    const auto families = MakeSimFamilies(config, &clock.services);
    struct Case {
        const char* what;
        size_t family;  // 0 cameras, 1 cards; 2 a device of the program's own
        int index;
        int secondId;
    };
    const Case cases[] = {
        {"first camera", 0, 0, 700},
        {"second camera", 0, 1, 701},
        {"card", 1, 0, 700},
        {"no driver", 2, 0, 0},
    };
    for (const Case& c : cases) {
        const CDeviceId id(c.family == 1 ? kDeviceTypeDataCard : kDeviceTypeCamera,
                           config.cameraSubtype, c.index);
        CDevice device(CDeviceDescriptor(id),
                       c.family < 2 ? families[c.family]->Open(c.index) : nullptr);
        int secondId = -5;
        EXPECT_EQ(device.GetSecondDeviceId(&secondId), 0) << c.what;
        EXPECT_EQ(secondId, c.secondId) << c.what;
        CDeviceId copy;
        EXPECT_EQ(device.GetDeviceIdHr(&copy), 0) << c.what;
        EXPECT_EQ(copy, id) << c.what;
        EXPECT_EQ(device.GetSecondDeviceId(nullptr), 0) << c.what;
        EXPECT_EQ(device.GetDeviceIdHr(nullptr), 0) << c.what;
    }
}
