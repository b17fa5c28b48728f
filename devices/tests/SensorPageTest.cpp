#include "devices/SensorPage.h"

#include "devices/IDeviceViewFinder.h"
#include "devices/core/Device.h"
#include "devices/core/DeviceLink.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimDriver.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/com/ComVariant.h"
#include "platform/com/SafeArrayVariant.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/DataDeviceRegistry.h"
#include "sensorres/SondrelModule.h"
#include "testsupport/IsolatedTest.h"

#include <memory>
#include <vector>

namespace {

// Writes down the commands it is sent and answers with result.
class RecordingTarget : public IDeviceCommandTarget {
public:
    struct Sent {
        int handle, subtype, code;
        bool operator==(const Sent&) const = default;
    };
    std::vector<Sent> sent;
    int result = 42;

    int HandleDeviceCommand(int handle, int subtype, const VARIANT& code, const VARIANT&,
                            VARIANT* status, VARIANT*) override {
        sent.push_back({handle, subtype, code.lVal});
        status->vt = VT_I4;
        status->lVal = 0;
        return result;
    }
};

class FakeProvider : public CDeviceManager {
public:
    CDevice* current = nullptr;
    CDevice* GetDevice(int, int) override { return current; }
};

class FakeFinder : public IDeviceViewFinder {
public:
    int kind = 0;
    CDevice* device = nullptr;
    CView* GetActiveDeviceView(int* kindOut, CDevice** deviceOut) override {
        if (kindOut)
            *kindOut = kind;
        if (deviceOut)
            *deviceOut = device;
        return nullptr;
    }
    CView* FindDeviceWindow(int, int) override { return nullptr; }
    CCamView* FindCameraViewForDataView(CView*) override { return nullptr; }
};

class SensorPageTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        CResourceChain::AddModule(RmResourceModule());
        DriverLoader::ResetForTests();
        OpenDevices::ResetForTests();
        DriverLoader::ScanFolders({});
        ASSERT_TRUE(m_parent.Create(nullptr, QStringLiteral("panel"), WS_OVERLAPPED,
                                    CRect(0, 0, 600, 400), nullptr, 0));
        m_page = std::make_unique<CSensorPage>();
        m_page->GetLink().SetCommandTarget(&m_target);
        m_page->GetLink().SetProvider(&m_provider);
        m_page->SetViewFinder(&m_finder);
    }
    void TearDown() override {
        m_page.reset();
        m_parent.DestroyWindow();
        SetCurrentDataDevice(-1);
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        CResourceChain::RemoveModule(RmResourceModule());
        IsolatedTest::TearDown();
    }

    // A simulated card opened as the program opens it, made the current data device.
    CDataAcqWnd* OpenCard() {
        SimDriverConfig config;
        config.cameras = 0;
        config.cards = 1;
        config.cardChannels = 2;
        config.cardSubtype = 5;
        DriverLoader::RegisterDriver(QStringLiteral("sim"),
                                     MakeSimFamilies(config, &m_clock.services));
        InstallDataCardFactory();
        auto* card = dynamic_cast<CDataAcqWnd*>(
            DriverLoader::OpenById(CDeviceId(kDeviceTypeDataCard, 5, 0)));
        EXPECT_NE(card, nullptr);
        int handle = -1;
        if (card)
            card->GetHandle(&handle);
        SetCurrentDataDevice(handle);
        return card;
    }
    // A device of the program's own in the open list.
    static CDevice* OpenPlain(int type, int subtype, CDevice* linkedData) {
        auto* device = new CDevice(CDeviceDescriptor(CDeviceId(type, subtype, 0)), nullptr);
        device->SetLinkedData(linkedData);
        OpenDevices::Add(device);
        return device;
    }
    static int Handle(CDevice* device) {
        int handle = -1;
        device->GetHandle(&handle);
        return handle;
    }
    HRESULT Call(void* context, int sensorHandle, int code) {
        CSafeArrayVariant values;
        values.CreateOneDim(VT_R8, 0);
        CComVariant status;
        CComVariant result;
        return CSensorPage::RecordCallback(context, sensorHandle, code, values, &status, &result);
    }

    SimHostClock m_clock;
    CDeviceManager m_keepDevices;
    CWnd m_parent;
    RecordingTarget m_target;
    FakeProvider m_provider;
    FakeFinder m_finder;
    std::unique_ptr<CSensorPage> m_page;
};

}  // namespace

TEST_F(SensorPageTest, ThePageMakesTheSensorRecordWindowOfItsMode) {
    for (int mode : {1, 2, 0, 7}) {
        m_page = std::make_unique<CSensorPage>();
        EXPECT_EQ(m_page->GetMode(), 1);
        m_page->SetMode(mode);
        ASSERT_TRUE(m_page->Create(&m_parent));
        CSensorRecordDlg* window = m_page->GetRecordHost().GetPage();
        ASSERT_NE(window, nullptr) << mode;
        EXPECT_EQ(window->GetTemplateID(), mode == 1 ? 1575u : 1576u) << mode;
        EXPECT_EQ(window->GetParent(), m_page.get());
    }
}

TEST_F(SensorPageTest, RecordRequestsGoAsTheCommandOfTheDataDeviceOfTheSensor) {
    struct Case {
        const char* what;
        bool page;
        // Devices opened in order: type, subtype, linked to the sensor (else to nothing).
        std::vector<std::tuple<int, int, bool>> devices;
        int matched;  // index in devices, -1 for none
    };
    const Case cases[] = {
        {"no page", false, {{2, 4, true}}, -1},
        {"no device open", true, {}, -1},
        {"no device of the sensor", true, {{2, 4, false}, {2, 6, false}}, -1},
        {"a camera does not count", true, {{3, 4, true}}, -1},
        {"the data device of the sensor", true, {{3, 1, true}, {2, 4, true}, {2, 6, false}}, 1},
        {"the last match wins", true, {{2, 4, true}, {3, 1, true}, {2, 6, true}}, 2},
    };
    for (const Case& c : cases) {
        OpenDevices::DestroyAll();
        m_target.sent.clear();
        // The sensor: a data channel of its own, not a data device of the list's kind.
        auto sensor = std::make_unique<CDevice>(
            CDeviceDescriptor(CDeviceId(kDeviceTypeDataCard, 9, 0)), nullptr);
        std::vector<CDevice*> opened;
        for (const auto& [type, subtype, linked] : c.devices)
            opened.push_back(OpenPlain(type, subtype, linked ? sensor.get() : nullptr));
        const HRESULT answer = Call(c.page ? m_page.get() : nullptr, Handle(sensor.get()), 8);
        if (c.matched < 0) {
            EXPECT_EQ(answer, E_FAIL) << c.what;
            EXPECT_TRUE(m_target.sent.empty()) << c.what;
            continue;
        }
        EXPECT_EQ(answer, 42) << c.what;
        CDevice* device = opened[static_cast<size_t>(c.matched)];
        // A device of the program's own has second id 0, whatever its subtype.
        EXPECT_EQ(m_target.sent, (std::vector<RecordingTarget::Sent>{{Handle(device), 0, 8}}))
            << c.what;
    }
}

TEST_F(SensorPageTest, TheCardsRecordPageSendsThroughThePage) {
    CDataAcqWnd* card = OpenCard();
    ASSERT_NE(card, nullptr);
    ASSERT_TRUE(m_page->Create(&m_parent));
    CSensorRecordDlg* window = m_page->GetRecordHost().GetPage();
    ASSERT_NE(window, nullptr);
    window->OnRecord();
    ASSERT_FALSE(m_target.sent.empty());
    EXPECT_EQ(m_target.sent.front(),
              (RecordingTarget::Sent{Handle(card), SimDriverConfig().secondIdBase,
                                     CSensorRecordDlg::kRecordCommand}));
}

TEST_F(SensorPageTest, ASensorIsAvailableWithADataViewDeviceAndACurrentDevice) {
    CDataAcqWnd* card = OpenCard();
    ASSERT_NE(card, nullptr);
    // Before the page has a window the notification changes nothing.
    NotifyDeviceLinks();
    ASSERT_TRUE(m_page->Create(&m_parent));
    CSensorRecordDlg* window = m_page->GetRecordHost().GetPage();
    ASSERT_NE(window, nullptr);

    struct Case {
        int kind;
        bool viewDevice;
        bool current;
        bool available;
    };
    const Case cases[] = {
        {IDeviceViewFinder::kDataSensorView, true, true, true},
        {IDeviceViewFinder::kDataSensorView, false, true, false},
        {IDeviceViewFinder::kDataSensorView, true, false, false},
        {IDeviceViewFinder::kCameraView, true, true, false},
        {0, false, true, false},
    };
    for (const Case& c : cases) {
        m_finder.kind = c.kind;
        m_finder.device = c.viewDevice ? card : nullptr;
        m_provider.current = c.current ? card : nullptr;
        NotifyDeviceLinks();
        EXPECT_EQ(window->GetDataDevice(), c.available ? card : nullptr)
            << c.kind << c.viewDevice << c.current;
    }
    // Without a view finder no data-sensor view is found.
    m_page->SetViewFinder(nullptr);
    m_provider.current = card;
    NotifyDeviceLinks();
    EXPECT_EQ(window->GetDataDevice(), nullptr);
}
