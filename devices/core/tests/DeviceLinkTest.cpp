#include "devices/core/DeviceLink.h"

#include "devices/core/Device.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/OpenDeviceList.h"
#include "platform/com/SafeArray.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Counts how often each device is destroyed, by handle.
std::map<int, int> s_destroyed;

class CountedDevice : public CDevice {
public:
    explicit CountedDevice(int index)
        : CDevice(CDeviceDescriptor(CDeviceId(1, 1, index)), nullptr) {}
    void Destroy(int deleteFlag) override {
        int handle = 0;
        GetHandle(&handle);
        ++s_destroyed[handle];
        CDevice::Destroy(deleteFlag);
    }
};

class DeviceLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        OpenDevices::ResetForTests();
        CDeviceLinkList::ResetForTests();
        s_destroyed.clear();
    }
    void TearDown() override {
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
    }
    static int Open(int index) {
        auto* device = new CountedDevice(index);
        OpenDevices::Add(device);
        int handle = 0;
        device->GetHandle(&handle);
        return handle;
    }
};

class CountingLink : public CDeviceLink {
public:
    void OnDeviceUpdate() override { ++updates; }
    void OnDeviceUpdateAlt() override { ++alternates; }
    int updates = 0;
    int alternates = 0;
};

}  // namespace

TEST_F(DeviceLinkTest, DefaultFollowingLinkUntilSetHandle) {
    CDeviceManager manager;
    const int first = Open(0);
    const int second = Open(1);
    CDeviceLink link;
    EXPECT_EQ(link.GetDevice(), nullptr) << "no provider";
    link.SetProvider(&manager);
    EXPECT_EQ(link.GetDevice(), nullptr) << "no default device yet";
    EXPECT_EQ(OpenDevices::SetDefaultDeviceHandle(first), -1);
    EXPECT_EQ(link.GetDevice(), OpenDevices::FindOpenDeviceByHandle(first));
    EXPECT_EQ(OpenDevices::SetDefaultDeviceHandle(second), first);
    EXPECT_EQ(link.GetDevice(), OpenDevices::FindOpenDeviceByHandle(second));
    link.SetHandle(first);
    EXPECT_FALSE(link.UsesDefault());
    EXPECT_EQ(link.GetDevice(), OpenDevices::FindOpenDeviceByHandle(first));
    link.SetHandle(-1);
    EXPECT_EQ(link.GetDevice(), nullptr) << "a bound link no longer follows the default";
}

TEST_F(DeviceLinkTest, OnlyTheLastManagerDestroysEachDeviceOnce) {
    auto* first = new CDeviceManager;
    auto* second = new CDeviceManager;
    const int a = Open(0);
    const int b = Open(1);
    delete first;
    EXPECT_TRUE(s_destroyed.empty());
    EXPECT_EQ(OpenDevices::GetCount(), 2);
    delete second;
    EXPECT_EQ(s_destroyed, (std::map<int, int>{{a, 1}, {b, 1}}));
    EXPECT_EQ(OpenDevices::GetCount(), 0);
}

TEST_F(DeviceLinkTest, OpenDeviceListServices) {
    const int a = Open(0);
    const int b = Open(1);
    int handle = 0;
    EXPECT_EQ(OpenDevices::FindById(CDeviceId(1, 1, 1), &handle), 1);
    EXPECT_EQ(handle, b);
    EXPECT_EQ(OpenDevices::FindById(CDeviceId(1, 1, 5)), -1);
    CDeviceId id;
    EXPECT_EQ(OpenDevices::FindByHandle(a, &id), 0);
    EXPECT_EQ(id, CDeviceId(1, 1, 0));
    EXPECT_EQ(OpenDevices::SetOwnerFlagByHandle(b, 3), 0);
    EXPECT_EQ(OpenDevices::GetOwnerFlagById(CDeviceId(1, 1, 1)), 3);
    EXPECT_EQ(OpenDevices::GetOwnerFlagByHandle(9999), -1);
    EXPECT_EQ(OpenDevices::SetOwnerFlagById(CDeviceId(7, 7, 7), 1), 1);
    CDeviceDescriptor descriptor;
    EXPECT_EQ(OpenDevices::GetDescriptorAt(2, &descriptor), 1);
    EXPECT_EQ(OpenDevices::GetDescriptorAt(-1, &descriptor), 1);
    EXPECT_EQ(OpenDevices::GetAt(2), nullptr);
    int window = 0;
    auto* widget = reinterpret_cast<QWidget*>(&window);
    EXPECT_EQ(OpenDevices::OpenDevice(CDeviceId(3, 3, 3), widget), nullptr);
    CDevice* opened = OpenDevices::OpenDevice(CDeviceId(1, 1, 0), widget);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->GetAttachedWindow(), widget);
    EXPECT_EQ(OpenDevices::CloseById(CDeviceId(1, 1, 0)), 0);
    EXPECT_EQ(s_destroyed, (std::map<int, int>{{a, 1}}));
    EXPECT_EQ(OpenDevices::CloseById(CDeviceId(1, 1, 0)), 1);
    EXPECT_EQ(OpenDevices::CloseAt(5), 1);
    EXPECT_EQ(OpenDevices::FindByHandle(b), 0) << "the arrays stay parallel";
    EXPECT_EQ(OpenDevices::GetOwnerFlagByHandle(b), 3);
}

TEST_F(DeviceLinkTest, LinkListSkipsNegativeHandlesAndNotifies) {
    CountingLink unbound;
    CountingLink first;
    CountingLink negative;
    CountingLink second;
    first.SetHandle(4);
    negative.SetHandle(-3);
    second.SetHandle(0);
    CDeviceLinkList list;
    {
        CountingLink gone;
        EXPECT_EQ(list.GetCount(), 5);
    }
    EXPECT_EQ(list.GetCount(), 4);
    CDeviceLink* links[8] = {};
    EXPECT_EQ(list.GetLinks(links, 8), 2);
    EXPECT_EQ(links[0], &first);
    EXPECT_EQ(links[1], &second);
    EXPECT_EQ(list.GetLinks(links, 1), 1) << "never beyond the caller's room";

    NotifyDeviceLinks();
    SetAlternateNotification(1);
    NotifyDeviceLinks();
    SetAlternateNotification(0);
    for (CountingLink* link : {&unbound, &first, &negative, &second}) {
        EXPECT_EQ(link->updates, 2);
        EXPECT_EQ(link->alternates, 2);
    }
}

namespace {

class RecordingTarget : public IDeviceCommandTarget {
public:
    int HandleDeviceCommand(int handle, int subtype, const VARIANT& code, const VARIANT& values,
                            VARIANT* status, VARIANT*) override {
        seenHandle = handle;
        seenSubtype = subtype;
        seenCode = code.lVal;
        double* data = nullptr;
        SafeArrayAccessData(values.parray, reinterpret_cast<void**>(&data));
        seenFirst = data[0];
        SafeArrayUnaccessData(values.parray);
        status->vt = VT_I4;
        status->lVal = 0;
        return 7;
    }
    int seenHandle = 0;
    int seenSubtype = 0;
    int seenCode = 0;
    double seenFirst = 0;
};

class Provider : public IDeviceCommandTargetProvider {
public:
    IDeviceCommandTarget* GetCommandTarget() override { return target; }
    IDeviceCommandTarget* target = nullptr;
};

}  // namespace

TEST_F(DeviceLinkTest, SendCommandGoesToTheTargetOrSetsStatusOne) {
    VARIANT code;
    code.vt = VT_I4;
    code.lVal = 12;
    VARIANT values;
    values.vt = VT_ARRAY | VT_R8;
    values.parray = SafeArrayCreateVector(VT_R8, 0, 2);
    double* data = nullptr;
    SafeArrayAccessData(values.parray, reinterpret_cast<void**>(&data));
    data[0] = 2.5;
    SafeArrayUnaccessData(values.parray);

    CDeviceLink link;
    VARIANT status;
    VARIANT result;
    EXPECT_EQ(link.SendCommand(3, 1, code, values, &status, &result), 1);
    EXPECT_EQ(status.lVal & 0xFFFF, 1);

    Provider provider;
    link.SetCommandTargetProvider(&provider);
    VariantClear(&status);
    EXPECT_EQ(link.SendCommand(3, 1, code, values, &status, &result), 1) << "provider has none";
    EXPECT_EQ(status.lVal & 0xFFFF, 1);

    RecordingTarget target;
    provider.target = &target;
    VariantClear(&status);
    EXPECT_EQ(link.SendCommand(3, 1, code, values, &status, &result), 7);
    EXPECT_EQ(status.lVal, 0);
    EXPECT_EQ(target.seenHandle, 3);
    EXPECT_EQ(target.seenSubtype, 1);
    EXPECT_EQ(target.seenCode, 12);
    EXPECT_EQ(target.seenFirst, 2.5);
    VariantClear(&values);
}
