// The live sensor windows of the first family on a simulated data card: the document's paths,
// the view that shows the card's live data in its own display, its context menu and the
// current data device it sets while it is active.

#include "devices/core/Device.h"
#include "devices/core/DeviceLink.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimDriver.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/controls/GraphWidget.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Menu.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/WinApp.h"
#include "resources/ProgramResources.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/DataDeviceRegistry.h"
#include "sensordata/DataDisplayDlg.h"
#include "sensordata/DataQNSensorFrameVCF.h"
#include "sensordata/DataSensorDoc.h"
#include "sensordata/DataSensorView.h"
#include "sensordata/IDeviceSettingsSheet.h"
#include "sensordata/TestTriggerDlg.h"
#include "sensorres/SondrelModule.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>

#include <memory>

namespace {

// A settings sheet that keeps the device id and link, and reads and writes files that exist.
class CFakeSheet : public IDeviceSettingsSheet {
public:
    HRESULT Load(const QString& path) override { return QFile::exists(path) ? S_OK : E_FAIL; }
    HRESULT Save(const QString& path) override {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("sheet") == 5 ? S_OK : E_FAIL;
    }
    void Bind(CDeviceLink* link) override { m_link = link; }
    CDeviceLink* GetLink() const override { return m_link; }
    CDeviceId GetDeviceId() const override { return m_id; }
    void SetDeviceId(const CDeviceId& id) override { m_id = id; }
    void SerializeAcquisition(CArchive&) override {}

private:
    CDeviceLink* m_link = nullptr;
    CDeviceId m_id;
};

class LiveSensorTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        CResourceChain::AddModule(RmResourceModule());
        m_app = std::make_unique<CWinApp>("live");
        ASSERT_TRUE(m_main.Create(nullptr, "main", 0, CRect(0, 0, 900, 700), nullptr, 0));
        m_app->m_pMainWnd = &m_main;
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
        IDeviceSettingsSheet::SetFactory([] { return std::make_unique<CFakeSheet>(); });
        m_template = std::make_unique<CMultiDocTemplate>(149, RUNTIME_CLASS(CDataSensorDoc),
                                                         RUNTIME_CLASS(CDataQNSensorFrameVCF),
                                                         RUNTIME_CLASS(CDataSensorView));
    }
    void TearDown() override {
        m_template->CloseAllDocuments(TRUE);
        m_template.reset();
        IDeviceSettingsSheet::SetFactory(nullptr);
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        SetCurrentDataDevice(-1);
        m_app->m_pMainWnd = nullptr;
        m_main.DestroyWindow();
        m_app.reset();
        CResourceChain::RemoveModule(RmResourceModule());
        IsolatedTest::TearDown();
    }

    CDataSensorView* Open(const QString& path) {
        CDocument* doc = m_template->OpenDocumentFile(path, TRUE);
        POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr;
        return pos ? dynamic_cast<CDataSensorView*>(doc->GetNextView(pos)) : nullptr;
    }

    SimHostClock m_clock;
    // The program's own provider: windows come and go, the devices stay open.
    CDeviceManager m_devices;
    std::unique_ptr<CWinApp> m_app;
    CWnd m_main;
    std::unique_ptr<CMultiDocTemplate> m_template;
};

TEST_F(LiveSensorTest, PathsNameADeviceOrASettingsFile) {
    QFile(WorkPath("rig_dev1.devset")).open(QIODevice::WriteOnly);
    QFile(WorkPath("notes.txt")).open(QIODevice::WriteOnly);
    const struct {
        QString path;
        bool placeholder;
        CDeviceId id;
        bool opens;
    } cases[] = {
        {"deviceXXX__#2#1#0#", true, {2, 1, 0}, true},
        {"sensorXXX#2#1#0#", false, {2, 1, 0}, true},
        {WorkPath("rig_dev1.devset"), true, {}, true},
        {WorkPath("rig_dev2.devset"), true, {}, false},
        {WorkPath("notes.txt"), false, {}, true},
        {WorkPath("missing.txt"), false, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(CDataSensorDoc::DeviceIdOfPath(c.path), c.id);
        CDataSensorDoc doc;
        EXPECT_EQ(doc.OnOpenDocument(c.path), c.opens);
        EXPECT_EQ(doc.IsPlaceholder(), c.placeholder);
        EXPECT_EQ(doc.GetDeviceId(), c.id);
        EXPECT_EQ(doc.GetPath(), c.path);
    }
    CDataSensorDoc doc;
    EXPECT_TRUE(doc.OnSaveDocument(WorkPath("saved.devset")));
    EXPECT_TRUE(QFile::exists(WorkPath("saved.devset")));
    // Without the device layer's sheet nothing opens or saves.
    IDeviceSettingsSheet::SetFactory(nullptr);
    CDataSensorDoc bare;
    EXPECT_EQ(bare.GetDeviceSettings(), nullptr);
    EXPECT_FALSE(bare.OnOpenDocument(QStringLiteral("sensorXXX#2#1#0#")));
    EXPECT_FALSE(bare.OnSaveDocument(WorkPath("bare.devset")));
    EXPECT_EQ(bare.GetDevice(), nullptr);
}

TEST_F(LiveSensorTest, TheWindowShowsTheCardsLiveDataWhileItIsThere) {
    CDataSensorView* view = Open(QStringLiteral("sensorXXX#2#1#0#"));
    ASSERT_NE(view, nullptr);
    auto* card = dynamic_cast<CDataAcqWnd*>(view->GetDevice());
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(view->GetSensorDocument()->GetDevice(), card) << "the settings' link";
    EXPECT_EQ(card->IsAcquiring(), 1);
    EXPECT_FALSE(card->IsWindowVisible()) << "the card's own window stays hidden";
    CDataDisplayDlg* display = view->GetPanelHost().GetDataDisplay();
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(card->GetDataDisplay(), display);
    CDeviceDescriptor descriptor;
    card->GetDescriptor(&descriptor);
    EXPECT_EQ(view->GetParentFrame()->GetWindowText(), descriptor.m_name);

    m_clock.nowNs = 300000000;
    card->Tick();
    auto* graph = display->GetQWidget()->findChild<CGraphWidget*>();
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->PlotCount(), 2) << "both channels of the card";

    // Its test-trigger window comes from the view's context menu.
    view->SendMessage(WM_COMMAND, CDataSensorView::kShowTestTrigger, 0);
    ASSERT_NE(card->GetTestTrigger(), nullptr);
    EXPECT_TRUE(card->GetTestTrigger()->IsWindowVisible());

    // Closed, the window gives the card back its own display.
    view->GetParentFrame()->DestroyWindow();
    EXPECT_EQ(card->GetDataDisplay(), card->GetPanelHost().GetDataDisplay());
}

TEST_F(LiveSensorTest, ContextMenuAndCurrentDataDevice) {
    CMenu menu;
    CDataSensorView::BuildContextMenu(menu);
    ASSERT_EQ(menu.GetMenuItemCount(), 3);
    const std::pair<UINT, QString> items[] = {{32865, "Change Device Name"},
                                              {32956, "Device Information"},
                                              {32955, "Show Test Trigger Dialog"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(menu.GetMenuItemID(i), items[i].first) << i;
        EXPECT_EQ(menu.GetQMenu()->actions().at(i)->text(), items[i].second) << i;
    }

    CDataSensorView* view = Open(QStringLiteral("sensorXXX#2#1#0#"));
    ASSERT_NE(view, nullptr);
    // The data display covers the view: a right-click on it shows the view's menu.
    QStringList shown;
    const PopupMenuTracker previous =
        AfxSetPopupMenuTracker([&](QMenu* popup, const QPoint&) -> QAction* {
            for (QAction* action : popup->actions())
                shown << action->text();
            return nullptr;
        });
    QWidget* surface = view->GetPanelHost().GetDataDisplay()->GetQWidget();
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                              surface->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(surface, &request);
    AfxSetPopupMenuTracker(previous);
    EXPECT_EQ(shown, QStringList(
                         {"Change Device Name", "Device Information", "Show Test Trigger Dialog"}));

    int handle = -1;
    view->GetDevice()->GetHandle(&handle);
    SetCurrentDataDevice(-1);
    view->OnActivateView(TRUE, view, nullptr);
    EXPECT_EQ(GetCurrentDataDevice(), handle);
    view->OnActivateView(FALSE, nullptr, view);
    EXPECT_EQ(GetCurrentDataDevice(), -1);
}

}  // namespace
