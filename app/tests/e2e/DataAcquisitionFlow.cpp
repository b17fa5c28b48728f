#include "app/tests/e2e/E2eSupport.h"
#include "app/tests/e2e/SimulatedDeviceTest.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/core/DriverLoader.h"
#include "platform/controls/GraphWidget.h"
#include "platform/framework/ListBox.h"
#include "sensordata/AcquisitionSettingsDlg.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/DataDisplayDlg.h"
#include "sensordata/SensorRecordDlg.h"
#include "sensordata/TestTriggerDlg.h"
#include "shell/MainFrame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QMainWindow>

#include <functional>

// A user opens a simulated data card from Tools/Data Acquisition...: the card's acquisition
// window shows its traces moving on the screen beside its record page. The user switches a
// channel off in the page's acquisition settings, picks another scan rate, records with the
// test trigger's DIO6 toggle as the trigger, and aborts.

namespace {

class DataAcquisitionFlow : public SimulatedDeviceTest {
protected:
    DataAcquisitionFlow() : SimulatedDeviceTest(1, 1, 1) {}
};

TEST_F(DataAcquisitionFlow, ACardShowsItsLiveDataAndRecordsFromItsPage) {
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    QAction* open = MenuAction(window, QStringLiteral("Tools/Data Acquisition..."));
    ASSERT_NE(open, nullptr);

    bool selected = false;
    WhenShown<CDeviceSelectionDlg>(
        [&](CDeviceSelectionDlg* dialog) {
            auto* families =
                static_cast<CListBox*>(dialog->GetDlgItem(CDeviceSelectionDlg::kFamilyList));
            for (int i = 0; i < families->GetCount(); ++i) {
                if (families->GetText(i) == QStringLiteral("Simulated data card"))
                    families->SetCurSel(i);
            }
            Click(dialog, CDeviceSelectionDlg::kScan);
            auto* devices =
                static_cast<CListBox*>(dialog->GetDlgItem(CDeviceSelectionDlg::kDeviceList));
            EXPECT_EQ(devices->GetText(0), QStringLiteral("Simulated data card 1"));
            devices->SetCurSel(0);
            Click(dialog, IDOK);
        },
        &selected);
    open->trigger();
    ASSERT_TRUE(WaitFor([&] { return selected; })) << "no Device Selection";

    CDataAcqWnd* card = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        card = FindWindowOf<CDataAcqWnd>();
        return card && card->GetQWidget()->isVisible();
    })) << "no acquisition window";
    EXPECT_EQ(card->GetWindowText(), QStringLiteral("Data Acquisition - Simulated data card 1"));
    EXPECT_EQ(card->IsAcquiring(), 1);
    CDataDisplayDlg* display = card->GetDataDisplay();
    ASSERT_NE(display, nullptr);
    auto* graph = display->GetQWidget()->findChild<CGraphWidget*>();
    ASSERT_NE(graph, nullptr);
    QWidget* acquisition = card->GetQWidget();
    // The traces move on the screen.
    ASSERT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(acquisition, graph)) > 5; }))
        << "no traces on the screen";
    const QImage first = GrabFromScreen(acquisition, graph);
    EXPECT_TRUE(WaitFor([&] { return GrabFromScreen(acquisition, graph) != first; }))
        << "the traces stand still";

    // The page's acquisition settings: channel 0 off.
    CSensorRecordDlg* page = card->GetRecordPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetDlgItemText(CSensorRecordDlg::kChannelsOn), QStringLiteral("8"));
    bool settings = false;
    WhenShown<CAcquisitionSettingsDlg>(
        [&](CAcquisitionSettingsDlg* dialog) {
            EXPECT_EQ(dialog->GetWindowText(), QStringLiteral("Data Acquisition Settings"));
            auto* on = dialog->GetDlgItem(CAcquisitionSettingsDlg::kOn);
            ASSERT_NE(on, nullptr);
            Click(dialog, CAcquisitionSettingsDlg::kOn);
            Click(dialog, IDOK);
        },
        &settings);
    Click(page, CSensorRecordDlg::kSettings);
    ASSERT_TRUE(WaitFor([&] { return settings; })) << "no acquisition settings";
    EXPECT_TRUE(WaitFor([&] {
        return page->GetDlgItemText(CSensorRecordDlg::kChannelsOn) == QStringLiteral("7");
    }));
    QFile hive(RegistryDir() + QStringLiteral("/HKEY_LOCAL_MACHINE.reg"));
    ASSERT_TRUE(hive.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        hive.readAll().contains("[HKEY_LOCAL_MACHINE\\Software\\Tolvar\\Vidra\\"
                                "Acquisition\\ChannelOn]\n\"Channel 1\"=dword:00000000"));

    // Another scan rate from the page's list.
    auto* rates =
        qobject_cast<QComboBox*>(page->GetDlgItem(CSensorRecordDlg::kRateCombo)->GetQWidget());
    const int index = rates->findText(QStringLiteral("2000"));
    ASSERT_GE(index, 0);
    rates->setCurrentIndex(index);
    emit rates->activated(index);
    EXPECT_EQ(page->GetDlgItemText(CSensorRecordDlg::kRateField2), QStringLiteral("2000"));

    // Record, then trigger with DIO6 from the test trigger window.
    ASSERT_TRUE(WaitFor(
        [&] { return page->GetDlgItem(CSensorRecordDlg::kRecord)->IsWindowEnabled() != FALSE; }));
    Click(page, CSensorRecordDlg::kRecord);
    EXPECT_EQ(card->GetMode(), kModeArmed);
    Click(card, CDataAcqWnd::kTestTrigger);
    CTestTriggerDlg* trigger = card->GetTestTrigger();
    ASSERT_NE(trigger, nullptr);
    EXPECT_TRUE(trigger->GetQWidget()->isVisible());
    EXPECT_EQ(trigger->GetWindowText(), QStringLiteral("Test Trigger Controls"));
    Click(trigger, CTestTriggerDlg::kToggle);
    EXPECT_TRUE(WaitFor([&] { return card->GetMode() == kModeStopped; }))
        << "the card did not finish its recording";
    EXPECT_FALSE(card->CopyMemory().IsEmpty()) << "the recording is in the card's memory";
    ASSERT_TRUE(WaitFor(
        [&] { return page->GetDlgItem(CSensorRecordDlg::kAbort)->IsWindowEnabled() != FALSE; }));
    Click(page, CSensorRecordDlg::kAbort);
    EXPECT_EQ(card->IsAcquiring(), 0);
}

}  // namespace
