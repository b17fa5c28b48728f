#include "app/tests/e2e/E2eSupport.h"
#include "devices/CamView.h"
#include "devices/ConnectionAssistantDlg.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/RecordControllerDoc.h"
#include "devices/RecordControllerFrame.h"
#include "devices/RecordControllerView.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/RecordGroup.h"
#include "platform/framework/ListBox.h"
#include "shell/MainFrame.h"
#include "shell/RadioChoiceDlg.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QTimer>

#include <functional>

// In the project of the sample recording a user adds a live camera from the Record menu (the
// project's add-video-or-device button), which opens a record controller around the camera; adds a
// second camera to the controller with Record/Add Device..., sees the connection assistant,
// and shows the controller's play controls.

namespace {

// Runs act on the modal window of class T as soon as it shows.
template <class T>
void WhenShown(const std::function<void(T*)>& act, bool* done) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act, done] {
        T* window = FindWindowOf<T>();
        if (!window || !window->GetQWidget() || !window->GetQWidget()->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        *done = true;
        act(window);
    });
    timer->start();
}

// Scans the simulated family and chooses the device in row; the rows come back.
std::function<void(CDeviceSelectionDlg*)> ChooseDevice(int row, QStringList* rows) {
    return [row, rows](CDeviceSelectionDlg* dialog) {
        Click(dialog, CDeviceSelectionDlg::kScan);
        auto* list = static_cast<CListBox*>(dialog->GetDlgItem(CDeviceSelectionDlg::kDeviceList));
        for (int i = 0; i < list->GetCount(); ++i)
            *rows << list->GetText(i);
        list->SetCurSel(row);
        Click(dialog, IDOK);
    };
}

class RecordControllerFlow : public ProgramTest {
protected:
    void SetUp() override {
        qputenv(kDriverPathVariable, RM_SIM_DRIVER_DIR);
        qputenv("REELMARK_SIM_CAMERAS", "2");
        qputenv("REELMARK_SIM_COLOUR_CAMERAS", "0");
        DriverLoader::ResetForTests();
        ProgramTest::SetUp();
    }
    void TearDown() override {
        ProgramTest::TearDown();
        qunsetenv(kDriverPathVariable);
        qunsetenv("REELMARK_SIM_CAMERAS");
        qunsetenv("REELMARK_SIM_COLOUR_CAMERAS");
    }

    // The names of the cameras in the controller's windows, in the order they were added.
    static QStringList CameraNames(CRecordControllerDoc* doc) {
        QStringList names;
        for (CViewChildedFrame* frame : doc->DeviceFrames())
            names << frame->GetActiveView()->GetDocument()->GetTitle();
        return names;
    }
};

TEST_F(RecordControllerFlow, ALiveCameraStartsARecordControllerThatSavesItsDevices) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    // The sample recording's project is in front.
    QAction* add = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        add = FindItem(window, QStringLiteral("Record/Add Video or Device..."));
        return add != nullptr;
    })) << "no Record menu in the project";

    // "Live Camera", then the first simulated camera.
    bool session = false;
    WhenShown<CRadioChoiceDlg>(
        [](CRadioChoiceDlg* dialog) {
            Click(dialog, CRadioChoiceDlg::kFirstRadioId);
            Click(dialog, IDOK);
        },
        &session);
    bool selected = false;
    QStringList rows;
    WhenShown<CDeviceSelectionDlg>(ChooseDevice(0, &rows), &selected);
    add->trigger();
    ASSERT_TRUE(WaitFor([&] { return session && selected; })) << "no device chosen";
    EXPECT_EQ(rows, QStringList({"Simulated camera 1", "Simulated camera 2"}));

    CRecordControllerView* controller = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        controller = FindWindowOf<CRecordControllerView>();
        return controller != nullptr;
    })) << "no record controller";
    auto* doc = controller->GetControllerDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetTitle(), "New Record Controller");
    EXPECT_EQ(CameraNames(doc), QStringList({"Simulated camera 1"}));
    CCamView* live = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        live = FindWindowOf<CCamView>();
        return live && live->GetLiveFramesShown() > 3;
    })) << "the embedded camera shows no live video";
    EXPECT_EQ(dynamic_cast<CRecordControllerView*>(live->GetParentFrame()->GetParent()),
              controller);

    // Record/Add Device...: the second camera joins; the connection assistant shows both.
    bool second = false;
    rows.clear();
    WhenShown<CDeviceSelectionDlg>(ChooseDevice(1, &rows), &second);
    bool connections = false;
    size_t connectionRows = 0;
    WhenShown<CConnectionAssistantDlg>(
        [&](CConnectionAssistantDlg* dialog) {
            connectionRows = dialog->m_rows.size();
            Click(dialog, IDOK);
        },
        &connections);
    QAction* addDevice = FindItem(window, QStringLiteral("Record/Add Device..."));
    ASSERT_NE(addDevice, nullptr);
    ASSERT_TRUE(addDevice->isEnabled());
    addDevice->trigger();
    ASSERT_TRUE(WaitFor([&] { return second && connections; }));
    EXPECT_EQ(connectionRows, 2u);
    EXPECT_EQ(CameraNames(doc), QStringList({"Simulated camera 1", "Simulated camera 2"}));
    EXPECT_EQ(doc->GetRecordGroup()->GetDeviceCount(), 2);

    // Record/Toggle Play Controls shows the record controller's play-control bar.
    auto* recordFrame = dynamic_cast<CRecordControllerFrame*>(controller->GetParentFrame());
    ASSERT_NE(recordFrame, nullptr);
    ASSERT_EQ(recordFrame->GetPlayControlBar(), nullptr);
    FindItem(window, QStringLiteral("Record/Toggle Play Controls"))->trigger();
    EXPECT_NE(recordFrame->GetPlayControlBar(), nullptr);
}

}  // namespace
