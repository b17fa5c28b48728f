#include "sensordata/SensorPanel.h"

#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimDriver.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/DataDisplayDlg.h"
#include "sensordata/DataDisplayLink.h"
#include "sensordata/FormatSettingsDlg.h"
#include "sensordata/PageHostDlg.h"
#include "sensordata/SensorPanelHost.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SensorResourceIds.h"
#include "sensorres/SondrelModule.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QWidget>

namespace {

// A source that counts the displays it was told and lends its own settings and data.
class CountingSource : public ISensorDataSource {
public:
    CountingSource(CFormatSettingsDlg* settings, CVidraData* data, int* told)
        : m_settings(settings), m_data(data), m_told(told) {}
    CFormatSettingsDlg* GetFormatSettings() override { return m_settings; }
    CVidraData* GetData() override { return m_data; }
    void SetDataDisplay(CDataDisplayDlg*) override { ++*m_told; }

private:
    CFormatSettingsDlg* m_settings;
    CVidraData* m_data;
    int* m_told;
};

class SensorPanelTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        CResourceChain::AddModule(RmResourceModule());
        ASSERT_TRUE(m_parent.Create(nullptr, QStringLiteral("view"), WS_OVERLAPPED,
                                    CRect(0, 0, 640, 480), nullptr, 0));
    }
    void TearDown() override {
        m_parent.DestroyWindow();
        CResourceChain::RemoveModule(RmResourceModule());
        IsolatedTest::TearDown();
    }

    CWnd m_parent;
};

}  // namespace

TEST_F(SensorPanelTest, EachWindowIsMadeOnceAndTheSourceIsToldItsDisplay) {
    CFormatSettingsDlg sourceSettings;
    sourceSettings.m_labels[2] = QStringLiteral("Load");
    CVidraData sourceData;
    int told = 0;
    CSensorPanel panel;
    panel.SetDataSource(std::make_unique<CountingSource>(&sourceSettings, &sourceData, &told));
    EXPECT_EQ(panel.CreateDataModel(), S_OK);
    EXPECT_EQ(panel.CreateDataModel(), 1);

    EXPECT_EQ(panel.CreateDataDisplay(&m_parent), S_OK);
    CDataDisplayDlg* display = panel.GetDataDisplay();
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->GetTemplateID(), SensorRes::kDataDisplayChildTemplate);
    EXPECT_EQ(display->GetParent(), &m_parent);
    EXPECT_EQ(panel.CreateDataDisplay(&m_parent), 1);
    EXPECT_EQ(panel.GetDataDisplay(), display) << "the first window is kept";
    EXPECT_EQ(told, 1);
    // The format settings came with it, made from the source's values.
    ASSERT_NE(panel.GetFormatSettings(), nullptr);
    EXPECT_EQ(panel.GetFormatSettings()->m_labels[2], "Load");
    EXPECT_EQ(panel.CreateFormatSettings(), 1);
    EXPECT_EQ(panel.GetShownData(), &sourceData);
}

TEST_F(SensorPanelTest, TheHostPassesCallsToItsPanel) {
    CSensorPanelHost host;
    // Nothing is made yet: the calls do nothing.
    EXPECT_EQ(host.GetDataDisplay(), nullptr);
    EXPECT_EQ(host.GetPosition(), 0);
    host.SetPosition(5);
    host.GoToFrame(2);
    host.ShowFormatSettings();
    EXPECT_TRUE(host.GetWindowRect().IsRectEmpty());

    CSensorDataSet set;
    set.Init(2, 30, 3, 100.0, 0);
    set.GetData()->m_channels[1][20] = 4.5f;
    EXPECT_EQ(host.CopyDataIn(nullptr), E_FAIL);
    EXPECT_EQ(host.CopyDataIn(&set), S_OK);
    EXPECT_EQ(host.GetPanel()->GetDataModel()->m_channels[1][20], 4.5f);
    EXPECT_EQ(host.GetPanel()->GetDataModel()->m_nDataId, set.GetDataId());

    ASSERT_EQ(host.Attach(&m_parent), S_OK);
    ASSERT_NE(host.GetDataDisplay(), nullptr);
    // The display draws the copied data once a channel of it is displayed.
    host.GetPanel()->GetFormatSettings()->m_displayed[0] = true;
    host.GetDataDisplay()->BuildPlot();
    host.GoToFrame(4);
    EXPECT_EQ(host.GetPosition(), 12) << "frame 4 of 3 scans each";
    host.SetPosition(7);
    EXPECT_EQ(host.GetPosition(), 7);
    host.SetMode(CDataDisplayDlg::kZoomMode);
    EXPECT_EQ(host.GetDataDisplay()->GetMouseMode(), CDataDisplayDlg::kZoomMode);
    host.Resize(300, 200);
    CRect rect;
    host.GetDataDisplay()->GetClientRect(&rect);
    EXPECT_EQ(rect.Width(), 300);
    EXPECT_EQ(rect.Height(), 200);
}

TEST_F(SensorPanelTest, ThePageHostShowsOnePageAtATime) {
    CPageHostDlg host(SensorRes::kTestTriggerTemplate);
    EXPECT_EQ(host.GetCurrentPageIndex(), -1) << "no window, no page";
    ASSERT_TRUE(host.Create(SensorRes::kTestTriggerTemplate, &m_parent));
    EXPECT_EQ(host.GetCurrentPageIndex(), -1);
    EXPECT_EQ(host.GetCurrentPage(), nullptr);
    CDialog* first = host.AddPage(SensorRes::kSensorRecordTemplate);
    CDialog* second = host.AddPage(SensorRes::kSensorRecordMode1Template);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(host.GetPage(1), second);
    EXPECT_EQ(host.GetPage(2), nullptr);
    EXPECT_FALSE(first->IsWindowVisible());

    host.ShowPage(second);
    EXPECT_EQ(host.GetCurrentPageIndex(), 1);
    // The host took the page's size.
    CRect page, own;
    second->GetWindowRect(&page);
    host.GetWindowRect(&own);
    EXPECT_EQ(own.Size(), page.Size());
    host.ShowPage(first);
    EXPECT_EQ(host.GetCurrentPageIndex(), 0);
    EXPECT_FALSE(second->GetQWidget()->isVisibleTo(host.GetQWidget()));
    // A page whose window has gone counts as none.
    first->DestroyWindow();
    EXPECT_EQ(host.GetCurrentPageIndex(), -1);
    EXPECT_EQ(host.GetCurrentPage(), nullptr);
    host.DestroyWindow();
}

TEST_F(SensorPanelTest, ThePageHostMovesItsOwnControlsOntoThePagesOfTheSameId) {
    // The host is a data display, whose time field 1009 shares its id with the record page's
    // frame-rate field, somewhere else.
    CPageHostDlg host(SensorRes::kDataDisplayChildTemplate);
    ASSERT_TRUE(host.Create(SensorRes::kDataDisplayChildTemplate, &m_parent));
    CDialog* page = host.AddPage(SensorRes::kSensorRecordTemplate);
    ASSERT_NE(page, nullptr);
    CRect pageControl, hostControl, before;
    host.GetDlgItem(1009)->GetWindowRect(&before);
    page->GetDlgItem(1009)->GetWindowRect(&pageControl);
    host.ShowPage(page);
    host.GetDlgItem(1009)->GetWindowRect(&hostControl);
    EXPECT_NE(before, pageControl);
    EXPECT_EQ(hostControl, pageControl);
    host.DestroyWindow();
}

namespace {

class DataDisplayLinkTest : public SensorPanelTest {
protected:
    void SetUp() override {
        SensorPanelTest::SetUp();
        DriverLoader::ResetForTests();
        OpenDevices::ResetForTests();
        DriverLoader::ScanFolders({});
        SimDriverConfig config;
        config.cameras = 0;
        config.cards = 1;
        config.cardChannels = 2;
        DriverLoader::RegisterDriver(QStringLiteral("sim"),
                                     MakeSimFamilies(config, &m_clock.services));
        InstallDataCardFactory();
        m_card = dynamic_cast<CDataAcqWnd*>(
            DriverLoader::OpenById(CDeviceId(kDeviceTypeDataCard, 1, 0)));
        ASSERT_NE(m_card, nullptr);
    }
    void TearDown() override {
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        SensorPanelTest::TearDown();
    }

    SimHostClock m_clock;
    CDataAcqWnd* m_card = nullptr;
};

}  // namespace

TEST_F(DataDisplayLinkTest, AnEmptyLinkDoesNothing) {
    CDataDisplayLink link;
    int handle = 42;
    EXPECT_EQ(link.GetDeviceId(&handle), E_FAIL);
    EXPECT_EQ(handle, 42);
    CSensorDataSet set;
    EXPECT_EQ(link.CopyLiveData(&set), E_FAIL);
    EXPECT_EQ(set.GetLiveCopy(), 0);
    EXPECT_EQ(link.ShowTestTrigger(), 0);
    CSensorPanelHost host;
    link.AttachViewDisplay(&host);
}

TEST_F(DataDisplayLinkTest, TheCardsLinkReachesItsLiveData) {
    CDataDisplayLink& link = m_card->GetDisplayLink();
    int handle = -5;
    int own = 0;
    m_card->GetHandle(&own);
    EXPECT_EQ(link.GetDeviceId(&handle), S_OK);
    EXPECT_EQ(handle, own);
    EXPECT_EQ(link.CopyLiveData(nullptr), E_FAIL);

    ASSERT_EQ(m_card->StartAcquisition(), 0);
    m_clock.nowNs = 300000000;
    m_card->Tick();
    CSensorDataSet set;
    EXPECT_EQ(link.CopyLiveData(&set), S_OK);
    EXPECT_EQ(set.GetLiveCopy(), 1) << "marked as a live copy";
    EXPECT_EQ(set.GetScanCount(), 1000);
    EXPECT_EQ(set.GetData()->m_channels[0], m_card->GetLiveData().m_channels[0]);
    EXPECT_EQ(set.GetDataId(), m_card->GetLiveData().m_nDataId);

    // Without a window there is no test trigger to show; with one there is.
    EXPECT_EQ(link.ShowTestTrigger(), 0);
    ASSERT_TRUE(m_card->ShowWindowFor(&m_parent));
    EXPECT_EQ(link.ShowTestTrigger(), 1);

    // A data view's display, once attached, draws the live data.
    CSensorPanelHost view;
    ASSERT_EQ(view.Attach(&m_parent), S_OK);
    link.AttachViewDisplay(&view);
    EXPECT_EQ(m_card->GetDataDisplay(), view.GetDataDisplay());
}
