#include "devices/core/Device.h"

#include "devices/core/OpenDeviceList.h"
#include "platform/framework/Object.h"
#include "platform/wintypes/WinError.h"
#include "testsupport/ScriptedPrompter.h"

#include <gtest/gtest.h>

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
