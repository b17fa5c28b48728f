#include "app/tests/e2e/E2eSupport.h"
#include "app/tests/e2e/SimulatedDeviceTest.h"
#include "devices/AutoRecordDlg.h"
#include "devices/CamView.h"
#include "devices/CameraSettingsDlg.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/RecordOptions.h"
#include "devices/RecordingBusyDlg.h"
#include "devices/core/DriverLoader.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/Menu.h"
#include "platform/registry/Registry.h"
#include "shell/DlgOptionsAutoDown.h"
#include "shell/MainFrame.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QMainWindow>
#include <QMenu>

#include <functional>

// A user sets the record options from Edit/Record Options..., the automatic download's folder,
// name and cycle from Tools/Auto-Record Control Panel..., opens a simulated camera from
// File/Open Camera and runs Tools/Auto-Record Controller...: engaging it arms the camera, the
// busy box blinks while it records, the camera triggers itself after a second, the recording
// is saved under the chosen name, and once its one cycle is done the controller is disengaged
// and closes.

namespace {

class AutoRecordFlow : public SimulatedDeviceTest {
protected:
    AutoRecordFlow() : SimulatedDeviceTest(1, 0, 1) {}

    static DWORD Recorded(const char* name) {
        HKEY key = nullptr;
        DWORD value = 0xFFFFFFFF;
        if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, QString::fromLatin1(CRecordOptions::kRegistryKey), 0,
                         KEY_READ, &key) == ERROR_SUCCESS) {
            RegQueryDword(key, QString::fromLatin1(name), &value);
            RegCloseKey(key);
        }
        return value;
    }
};

TEST_F(AutoRecordFlow, RecordOptionsAndAnAutomaticDownloadFromTheMenus) {
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());

    // Edit/Record Options...: live data graphing off; the record modes not offered are grey.
    bool optionsShown = false;
    WhenShown<CRecordOptions>(
        [&](CRecordOptions* dialog) {
            EXPECT_EQ(dialog->GetQWidget()->windowTitle(), "Record Options");
            EXPECT_FALSE(dialog->GetDlgItem(CRecordOptions::kGpsIrigRadio)->IsWindowEnabled());
            EXPECT_EQ(dialog->GetDlgItemText(CRecordOptions::kLiveDataCheck),
                      "Live Data Graphing While Recording");
            Click(dialog, CRecordOptions::kLiveDataCheck);
            Click(dialog, IDOK);
        },
        &optionsShown);
    QAction* options = MenuAction(window, QStringLiteral("Edit/Record Options..."));
    ASSERT_NE(options, nullptr);
    options->trigger();
    ASSERT_TRUE(WaitFor([&] { return optionsShown; })) << "no Record Options";
    EXPECT_EQ(Recorded("Live Data Option"), 0u);
    EXPECT_EQ(Recorded("Live Video Option"), 1u);
    EXPECT_EQ(Recorded("Default View Zoom"), 100u);

    // Tools/Auto-Record Control Panel...: one cycle into a folder of the user's, the camera
    // triggered after a second, every frame saved.
    const QString downloads = WorkPath("downloads");
    ASSERT_TRUE(QDir().mkpath(downloads));
    bool panelShown = false;
    WhenShown<CDlgOptionsAutoDown>(
        [&](CDlgOptionsAutoDown* dialog) {
            EXPECT_EQ(dialog->GetQWidget()->windowTitle(), "Auto-Record Control Panel");
            CWnd* save = &dialog->m_snapkeepEdit;
            Prompter().AnswerFolder(downloads);
            Click(save, 1173);
            save->SetDlgItemText(1174, QStringLiteral("bench"));
            Click(save, 1175);
            CWnd* cycle = &dialog->m_autoDownEdit;
            Click(cycle, CDlgOptionsBaseTab_AutoDown::kFiniteResetId);
            cycle->SetDlgItemText(CDlgOptionsBaseTab_AutoDown::kResetCountId, "1");
            Click(cycle, 2173);
            cycle->SetDlgItemText(CDlgOptionsBaseTab_AutoDown::kSelfTriggerTimeId, "1");
            Click(dialog, IDOK);
        },
        &panelShown);
    MenuAction(window, QStringLiteral("Tools/Auto-Record Control Panel..."))->trigger();
    ASSERT_TRUE(WaitFor([&] { return panelShown; })) << "no Auto-Record Control Panel";

    // File/Open Camera...: the simulated camera.
    CCamView* view = OpenCamera(window);
    ASSERT_NE(view, nullptr);
    // Its Camera Settings: a short recording, 10 frames after the trigger at 25 fps.
    bool set = false;
    WhenShown<CCameraSettingsDlg>(
        [&](CCameraSettingsDlg* dialog) {
            auto* rates = static_cast<CComboBox*>(dialog->GetDlgItem(CCameraSettingsDlg::kRate));
            rates->SetCurSel(rates->FindStringExact(-1, "25"));
            auto* sizes =
                static_cast<CComboBox*>(dialog->GetDlgItem(CCameraSettingsDlg::kResolution));
            sizes->SetCurSel(sizes->FindStringExact(-1, "320 x 240"));
            dialog->SetDlgItemText(CCameraSettingsDlg::kPostTrigger, "10");
            Click(dialog, IDOK);
        },
        &set);
    ChooseFromContextMenu(view, "Camera Settings");
    ASSERT_TRUE(set) << "no Camera Settings";

    // Tools/Auto-Record Controller...
    bool controllerShown = false;
    QStringList seen;
    WhenShown<CAutoRecordDlg>(
        [&](CAutoRecordDlg* dialog) {
            const auto text = [dialog](int id) { return dialog->GetDlgItemText(id); };
            seen << text(CAutoRecordDlg::kModeField) << text(CAutoRecordDlg::kBaseNameField)
                 << text(CAutoRecordDlg::kTriggerCountField);
            Click(dialog, CAutoRecordDlg::kEngage);
            seen << text(CAutoRecordDlg::kEngage);
            CRecordingBusyDlg* busy = FindWindowOf<CRecordingBusyDlg>();
            ASSERT_NE(busy, nullptr);
            EXPECT_TRUE(WaitFor([&] { return busy->IsWindowVisible(); })) << "no busy box";
            // The camera triggers itself, records its last frames and is saved.
            EXPECT_TRUE(WaitFor([&] {
                return text(CAutoRecordDlg::kTriggerCountField) == "1 / 1";
            })) << "no download";
            EXPECT_TRUE(WaitFor([&] { return !busy->IsWindowVisible(); })) << "the busy box stayed";
            seen << text(CAutoRecordDlg::kLastSaveField);

            // Its one cycle done, the mode has ended by itself: the controller is no longer
            // engaged and closes without asking.
            EXPECT_TRUE(WaitFor([&] {
                return text(CAutoRecordDlg::kEngage) == "Engage Auto-Download";
            })) << "still engaged after the last cycle";
            seen << text(CAutoRecordDlg::kEngage);
            Click(dialog, IDOK);
        },
        &controllerShown);
    QAction* autoRecord = MenuAction(window, QStringLiteral("Tools/Auto-Record Controller..."));
    ASSERT_NE(autoRecord, nullptr);
    autoRecord->trigger();
    ASSERT_TRUE(WaitFor([&] { return controllerShown; })) << "no Auto-Record Controller";
    EXPECT_EQ(seen, QStringList({"Mode : Basic", "bench", "0 / 1", "Disengage Auto-Download",
                                 downloads, "Engage Auto-Download"}));
    EXPECT_TRUE(WaitFor([] {
        CAutoRecordDlg* dialog = FindWindowOf<CAutoRecordDlg>();
        return !dialog || !dialog->GetQWidget()->isVisible();
    })) << "the controller did not close";
    EXPECT_FALSE(QDir(downloads).entryList({"bench_ad0{v1}*"}, QDir::Files).isEmpty())
        << QDir(downloads).entryList().join(" ").toStdString();
}

}  // namespace
