#include "devices/SingleRecordPage.h"

#include "devices/CamView.h"
#include "devices/IDeviceViewFinder.h"
#include "devices/core/Device.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroup.h"
#include "devices/sim/SimCamera.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/com/ISettingsStore.h"
#include "resources/ProgramResources.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <map>
#include <memory>

// The record controller's "Record" page: the record control page with the device list, the
// record buttons and the device's own page, laid out by the kind of the device in front.

namespace {

class CStore : public ISettingsStore {
public:
    HRESULT GetSetting(const QString& key, VARIANT* out, int) override {
        if (!out)
            return E_FAIL;
        const auto found = values.find(key);
        if (found != values.end()) {
            out->vt = VT_I4;
            out->lVal = found->second;
        }
        return S_OK;
    }
    HRESULT SetSetting(const QString&, VARIANT, int) override { return E_FAIL; }
    std::map<QString, int> values;
};

class CFinder : public IDeviceViewFinder {
public:
    CView* GetActiveDeviceView(int* kindOut, CDevice** device) override {
        if (kindOut)
            *kindOut = kind;
        if (device)
            *device = nullptr;
        return kind == kCameraView ? view : nullptr;
    }
    CView* FindDeviceWindow(int, int) override { return nullptr; }
    CCamView* FindCameraViewForDataView(CView*) override { return nullptr; }
    int kind = kOtherView;
    CCamView* view = nullptr;
};

class CProvider : public IDeviceCommandTargetProvider {
public:
    IDeviceCommandTarget* GetCommandTarget() override { return group; }
    CRecordGroup* group = nullptr;
};

class SingleRecordPageTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        OpenDevices::ResetForTests();
        CDeviceLinkList::ResetForTests();
        CRecordGroupListener::ResetForTests();
        m_provider.group = &m_group;
        ASSERT_TRUE(m_window.Create(nullptr, "host", 0, CRect(0, 0, 400, 1400), nullptr, 0));
        m_page = std::make_unique<CSingleRecordPage>();
        m_page->SetSettingsStore(&m_store);
        m_page->SetDeviceProvider(&m_group);
        m_page->SetTargetProvider(&m_provider);
        m_page->SetViewFinder(&m_finder);
    }
    void TearDown() override {
        if (m_page->GetSafeHwnd())
            m_page->DestroyWindow();
        m_page.reset();
        m_window.DestroyWindow();
        m_view.reset();
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        IsolatedTest::TearDown();
    }
    void AddCameraInFront() {
        auto* device =
            new CDevice(CDeviceDescriptor(CDeviceId(kDeviceTypeCamera, 1, 0)),
                        std::make_unique<CSimCamera>(&m_clock.services, 1, 0, false, 1 << 24));
        OpenDevices::Add(device);
        int handle = -1;
        device->GetHandle(&handle);
        m_group.AddDevice(handle);
        m_view = std::make_unique<CCamView>();
        m_view->GetLink().SetHandle(handle);
        m_finder.view = m_view.get();
        m_finder.kind = IDeviceViewFinder::kCameraView;
    }
    // Shown on the page (whether or not the page itself is on screen).
    bool Shown(int id) {
        CWnd* item = m_page->GetDlgItem(id);
        return item && item->GetQWidget()->isVisibleTo(m_page->GetQWidget());
    }
    bool ButtonShown(int id) {
        CWnd* item = m_page->GetRecordTab().GetDlgItem(id);
        return item && item->GetQWidget()->isVisibleTo(m_page->GetQWidget());
    }

    SimHostClock m_clock;
    CStore m_store;
    CRecordGroup m_group;
    CProvider m_provider;
    CFinder m_finder;
    CWnd m_window;
    std::unique_ptr<CSingleRecordPage> m_page;
    std::unique_ptr<CCamView> m_view;
};

TEST(SingleRecordPageLayout, PartsGoToTheirPlacesOrTheButtonsStandAlone) {
    CSingleRecordPage::Places places;
    places.reference = CRect(4, 4, 360, 80);
    places.subPage = CRect(4, 390, 360, 690);
    places.deviceList = CRect(4, 4, 360, 300);
    places.buttons = {CRect(4, 308, 360, 388), CRect(4, 308, 360, 388)};

    const CSingleRecordPage::Layout shared = CSingleRecordPage::LayoutFor(places, true);
    EXPECT_EQ(shared, (CSingleRecordPage::Layout{places.subPage, places.deviceList,
                                                 places.buttons[0], true, true}));
    const CSingleRecordPage::Layout alone = CSingleRecordPage::LayoutFor(places, false);
    EXPECT_FALSE(alone.showSubPage);
    EXPECT_FALSE(alone.showDeviceList);
    // The buttons keep their size and move to the top of the page.
    EXPECT_EQ(alone.recordTab, CRect(4, 4, 360, 84));
}

TEST_F(SingleRecordPageTest, EveryPartHearsOfProvidersAndFinder) {
    // Bound before the page is made, as the controller frame does.
    for (CDeviceLink* link :
         {&m_page->GetLink(), &m_page->GetDataLink(), &m_page->GetRecordTab().GetLink()}) {
        EXPECT_EQ(link->GetProvider(), &m_group);
        EXPECT_EQ(link->GetViewFinder(), &m_finder);
    }
    EXPECT_EQ(m_page->GetLink().GetCommandTargetProvider(), &m_provider);
    EXPECT_EQ(m_page->GetDataLink().GetCommandTargetProvider(), &m_provider);

    AddCameraInFront();
    ASSERT_TRUE(m_page->Create(&m_window));
    EXPECT_TRUE(m_page->IsLayoutCaptured());
    // The record buttons and the device list follow the controller's group.
    EXPECT_EQ(m_page->GetRecordTab().GetGroup(), &m_group);
    EXPECT_EQ(m_page->GetDevicesTab().GetGroup(), &m_group);
    ASSERT_NE(m_page->GetSubPage(), nullptr);
    EXPECT_EQ(m_page->GetSubPage()->GetLink().GetCommandTargetProvider(), &m_provider);
}

TEST_F(SingleRecordPageTest, TheSettingOffLeavesTheRecordButtonsAlone) {
    AddCameraInFront();
    m_store.values[CRecordControlPageEx::kSingleRecordTabKey] = 0;
    ASSERT_TRUE(m_page->Create(&m_window));
    for (int id : {CRecordTab::kLive, CRecordTab::kRecord, CRecordTab::kTrigger, CRecordTab::kStop,
                   CRecordTab::kIdle})
        EXPECT_TRUE(ButtonShown(id)) << id;
    for (int id : {int(CRecordControlPage::kFrameRate), int(CRecordControlPage::kClockSource),
                   int(CRecordControlPage::kLive), int(CRecordControlPage::kTriggerType),
                   CSingleRecordPage::kDeviceListHost, CRecordControlPageEx::kSubPageHost})
        EXPECT_FALSE(Shown(id)) << id;
    // Where the device list stood.
    CRect buttons;
    m_page->GetDlgItem(CSingleRecordPage::kRecordTabHost)->GetWindowRect(&buttons);
    m_page->ScreenToClient(&buttons);
    EXPECT_EQ(buttons.TopLeft(), m_page->GetPlaces().reference.TopLeft());

    // On again: everything is back.
    m_store.values.clear();
    m_page->OnDeviceUpdate();
    for (int id : {int(CRecordControlPage::kFrameRate), int(CRecordControlPage::kClockSource),
                   CSingleRecordPage::kDeviceListHost, CRecordControlPageEx::kSubPageHost})
        EXPECT_TRUE(Shown(id)) << id;
    EXPECT_TRUE(ButtonShown(CRecordTab::kLive));
}

TEST_F(SingleRecordPageTest, ADataCardInFrontHidesTheCameraControls) {
    AddCameraInFront();
    ASSERT_TRUE(m_page->Create(&m_window));
    for (int id : CSingleRecordPage::kCameraControls)
        EXPECT_TRUE(Shown(id)) << id;
    EXPECT_EQ(m_page->GetSubPage()->GetMode(), 1);

    m_finder.kind = IDeviceViewFinder::kDataView;
    for (int id : CSingleRecordPage::kCameraControls)
        EXPECT_TRUE(Shown(id)) << "before the update " << id;
    NotifyDeviceLinks();
    for (int id : CSingleRecordPage::kCameraControls)
        EXPECT_FALSE(Shown(id)) << id;
    // The data card's own page in place of the camera's, the clock and trigger still there.
    ASSERT_NE(m_page->GetSubPage(), nullptr);
    EXPECT_EQ(m_page->GetSubPage()->GetMode(), 2);
    EXPECT_TRUE(Shown(CRecordControlPage::kClockSource));
    EXPECT_TRUE(Shown(CRecordControlPage::kTriggerType));
    EXPECT_TRUE(Shown(CSingleRecordPage::kRecordTabHost));
}

}  // namespace
