#include "app/tests/e2e/E2eSupport.h"
#include "app/tests/e2e/SimulatedDeviceTest.h"
#include "devices/CamView.h"
#include "devices/ConnectionAssistantDlg.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/DlgDeviceOptions.h"
#include "devices/RecordControlPanelBar.h"
#include "devices/RecordControllerDoc.h"
#include "devices/RecordControllerDoc2.h"
#include "devices/RecordControllerFrame.h"
#include "devices/RecordControllerFrame2.h"
#include "devices/RecordControllerView.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/IRecordGroupListener.h"
#include "devices/core/RecordGroup.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/Menu.h"
#include "platform/framework/RecentFileList.h"
#include "shell/ChildFrame.h"
#include "shell/MainFrame.h"
#include "shell/RadioChoiceDlg.h"
#include "shell/ViewChildedFrame.h"
#include "views/panels/ControlPanelBar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>

#include <functional>

// In the project of the sample recording a user adds a live camera from the Record menu (the
// project's add-video-or-device button), which opens a record controller around the camera; adds a
// second camera to the controller with Record/Add Device..., sees the connection assistant,
// and shows the controller's play controls.

namespace {

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

// The frames hosted directly in view.
int HostedFrames(CWnd* view) {
    int count = 0;
    for (QObject* child : view->GetQWidget()->children())
        if (auto* widget = qobject_cast<QWidget*>(child))
            if (dynamic_cast<CViewChildedFrame*>(CWnd::FromWidgetPermanent(widget)))
                ++count;
    return count;
}

class RecordControllerFlow : public SimulatedDeviceTest {
protected:
    RecordControllerFlow() : SimulatedDeviceTest(2, 0, 1) {}
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

    // Without a record controller View/Control Bar shows and hides the main window's record
    // control-panel bar.
    auto* panel =
        dynamic_cast<CRecordControlPanelBar*>(frame->GetControlBar(CRecordControlPanelBar::kBarId));
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->IsVisible());
    FindItem(window, QStringLiteral("View/Control Bar"))->trigger();
    EXPECT_TRUE(panel->IsVisible());
    EXPECT_TRUE(FindItem(window, QStringLiteral("View/Control Bar"))->isChecked());
    // Its record buttons have no controller to drive yet.
    EXPECT_FALSE(panel->GetRecordTab().GetDlgItem(CRecordTab::kLive)->IsWindowEnabled());
    FindItem(window, QStringLiteral("View/Control Bar"))->trigger();
    EXPECT_FALSE(panel->IsVisible());

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
    EXPECT_EQ(DeviceNames(doc), QStringList({"Simulated camera 1"}));
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
    EXPECT_EQ(DeviceNames(doc), QStringList({"Simulated camera 1", "Simulated camera 2"}));
    EXPECT_EQ(doc->GetRecordGroup()->GetDeviceCount(), 2);

    // Record/Toggle Play Controls shows the record controller's play-control bar.
    auto* recordFrame = dynamic_cast<CRecordControllerFrame*>(controller->GetParentFrame());
    ASSERT_NE(recordFrame, nullptr);
    ASSERT_EQ(recordFrame->GetPlayControlBar(), nullptr);
    FindItem(window, QStringLiteral("Record/Toggle Play Controls"))->trigger();
    EXPECT_NE(recordFrame->GetPlayControlBar(), nullptr);

    // File/Save As... with a camera of the controller in front writes the controller's file and
    // one settings file per device beside it.
    const QString saved = WorkPath("rig.recc");
    Prompter().AnswerFileDialog({saved}, 1);
    QAction* saveAs = FindItem(window, QStringLiteral("File/Save As..."));
    ASSERT_NE(saveAs, nullptr);
    ASSERT_TRUE(saveAs->isEnabled());
    saveAs->trigger();
    EXPECT_TRUE(QFileInfo::exists(saved));
    EXPECT_TRUE(QFileInfo::exists(WorkPath("rig_dev1.devset")));
    EXPECT_TRUE(QFileInfo::exists(WorkPath("rig_dev2.devset")));
    EXPECT_FALSE(QFileInfo::exists(WorkPath("rig_dev3.devset")));
    EXPECT_EQ(doc->GetPathName(), saved);

    // The controller's pages joined the project's control panel, "Auto-Record" among them.
    CControlPanelBar* projectPanel = recordFrame->GetRecordControlPanel();
    ASSERT_NE(projectPanel, nullptr);
    QStringList tabs;
    for (int i = 0; i < projectPanel->GetTabCtrl().GetItemCount(); ++i)
        tabs << projectPanel->GetTabCtrl().GetItemText(i);
    EXPECT_TRUE(tabs.contains("Record")) << tabs.join(",").toStdString();
    EXPECT_TRUE(tabs.contains("Auto-Record")) << tabs.join(",").toStdString();

    // With the controller in front View/Control Bar toggles its bar of record buttons.
    CRecordDialogBar& controlBar = recordFrame->GetControlBar();
    EXPECT_FALSE(controlBar.IsVisible());
    FindItem(window, QStringLiteral("View/Control Bar"))->trigger();
    EXPECT_TRUE(controlBar.IsVisible());
    EXPECT_FALSE(panel->IsVisible());
    EXPECT_TRUE(FindItem(window, QStringLiteral("View/Control Bar"))->isChecked());
    EXPECT_EQ(recordFrame->GetControlBarTab().GetGroup(), doc->GetRecordGroup());
    FindItem(window, QStringLiteral("View/Control Bar"))->trigger();
    EXPECT_FALSE(controlBar.IsVisible());

    // The controller's context menu arranges its windows and adds a panel window.
    const QStringList items = ChooseFromContextMenu(controller, "Auto-Arrange Windows").items;
    EXPECT_TRUE(items.contains("Arrange Windows"));
    EXPECT_TRUE(items.contains("New Window"));
    EXPECT_FALSE(controller->IsAutoArrange());
    ChooseFromContextMenu(controller, "Auto-Arrange Windows");
    EXPECT_TRUE(controller->IsAutoArrange());
    ChooseFromContextMenu(controller, "Arrange Windows");
    const int hosted = HostedFrames(controller);
    ChooseFromContextMenu(controller, "New Panel Window");
    EXPECT_EQ(HostedFrames(controller), hosted + 1);
    // New Window: a window of the program's first kind in its own frame, taken out of the
    // main window's client into the controller, whose title bar loses its buttons meanwhile.
    const int mdiWindows = static_cast<int>(frame->GetMDIChildren().size());
    ChooseFromContextMenu(controller, "New Window");
    EXPECT_EQ(HostedFrames(controller), hosted + 1);
    EXPECT_EQ(static_cast<int>(frame->GetMDIChildren().size()), mdiWindows);
    CChildFrame* embedded = nullptr;
    for (QObject* child : controller->GetQWidget()->children())
        if (auto* found = dynamic_cast<CChildFrame*>(
                CWnd::FromWidgetPermanent(qobject_cast<QWidget*>(child))))
            embedded = found;
    ASSERT_NE(embedded, nullptr) << "no window of the first kind in the controller";
    EXPECT_TRUE(embedded->GetQWidget()->isVisible());
    EXPECT_EQ(embedded->GetParent(), controller);
    EXPECT_FALSE(recordFrame->HasSystemMenu());

    // With its camera windows closed, File/Open of the saved file brings both cameras back.
    for (CViewChildedFrame* camera : doc->DeviceFrames())
        camera->SendMessage(WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return doc->DeviceFrames().empty(); }));
    EXPECT_EQ(doc->GetRecordGroup()->GetDeviceCount(), 0);
    Prompter().AnswerFileDialog({saved}, 1);
    FindItem(window, QStringLiteral("File/Open..."))->trigger();
    ASSERT_TRUE(WaitFor([&] { return doc->DeviceFrames().size() == 2; }))
        << "the saved controller's devices do not come back";
    EXPECT_EQ(doc->GetRecordGroup()->GetDeviceCount(), 2);
    EXPECT_EQ(DeviceNames(doc), QStringList({"Simulated camera 1", "Simulated camera 2"}));
}

// A saved record controller opened right after the program starts comes back in a project of
// its own with its cameras; later, from the recent-file list of a project that holds no
// controller, it does so again.
TEST_F(RecordControllerFlow, ASavedControllerOpensFromAFreshStart) {
    const QString saved = WorkPath("rig.recc");
    {
        QFile controllerFile(saved);
        ASSERT_TRUE(controllerFile.open(QIODevice::WriteOnly));
        // The controller's file: its two marker integers.
        controllerFile.write(QByteArray::fromHex("cc1601009c1e0000"));
    }
    for (int index : {0, 1}) {
        CDlgDeviceOptions camera;
        camera.m_deviceValue.m_descriptor = CDeviceDescriptor(CDeviceId(3, 1, index));
        camera.m_deviceValue.m_descriptor.m_name =
            QStringLiteral("Simulated camera %1").arg(index + 1);
        ASSERT_EQ(camera.SaveToFile(WorkPath(QStringLiteral("rig_dev%1.devset").arg(index + 1))),
                  S_OK);
    }

    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    // The controller that opened, with both cameras, in a project that listens to its group;
    // the project is closed again.
    const auto bothCamerasBack = [&] {
        CRecordControllerView* controller = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            controller = FindWindowOf<CRecordControllerView>();
            return controller && controller->GetControllerDocument()->DeviceFrames().size() == 2;
        })) << "the saved controller's devices do not come back";
        CRecordControllerDoc* doc = controller->GetControllerDocument();
        EXPECT_EQ(doc->GetRecordGroup()->GetDeviceCount(), 2);
        EXPECT_EQ(DeviceNames(doc), QStringList({"Simulated camera 1", "Simulated camera 2"}));
        EXPECT_EQ(doc->GetPathName(), saved);
        auto* hosted = dynamic_cast<CViewChildedFrame*>(controller->GetParentFrame());
        ASSERT_NE(hosted, nullptr);
        auto* projectView = dynamic_cast<CView*>(hosted->GetParentView());
        ASSERT_NE(projectView, nullptr);
        EXPECT_EQ(doc->GetRecordGroup()->GetStateListener(),
                  dynamic_cast<IRecordGroupListener*>(projectView->GetDocument()));
        CFrameWnd* project = projectView->GetParentFrame();
        ASSERT_NE(project, nullptr);
        project->SendMessage(WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitFor([&] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return FindWindowOf<CRecordControllerView>() == nullptr;
        })) << "the project does not close";
    };

    Prompter().AnswerFileDialog({saved}, 1);
    QAction* open = FindItem(window, QStringLiteral("File/Open..."));
    ASSERT_NE(open, nullptr);
    open->trigger();
    bothCamerasBack();

    // A project of a recording holds no controller: the controller's entry among the File
    // menu's recent files opens a new one.
    Prompter().AnswerFileDialog({QStringLiteral(SAMPLE_RECORDING_PATH)}, 1);
    FindItem(window, QStringLiteral("File/Open..."))->trigger();
    ASSERT_NE(m_app.GetRecentFileList(), nullptr);
    const int entry = static_cast<int>(m_app.GetRecentFileList()->GetPaths().indexOf(saved));
    ASSERT_GE(entry, 0) << "the opened controller is no recent file";
    QAction* fileMenu = FindItem(window, QStringLiteral("File"));
    ASSERT_NE(fileMenu, nullptr);
    QAction* recent = FindItem(fileMenu->menu(), QStringLiteral("%1 %2").arg(entry + 1).arg(saved));
    ASSERT_NE(recent, nullptr) << "the File menu does not list it";
    recent->trigger();
    bothCamerasBack();
}

// Record/New Record Controller (Second Generation)... opens an empty controller in a window of
// its own; its Record/Add Device... adds a camera and its View menu toggles its bars.
TEST_F(RecordControllerFlow, ASecondGenerationControllerTakesACameraAndTogglesItsBars) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    QAction* open = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        open =
            FindItem(window, QStringLiteral("Record/New Record Controller (Second Generation)..."));
        return open != nullptr;
    }));
    open->trigger();
    CRecordControllerFrame2* controller = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        controller = FindWindowOf<CRecordControllerFrame2>();
        return controller != nullptr;
    }));
    CRecordControllerDoc2* doc = controller->GetControllerDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetTitle(), "Empty Record Controller");
    auto* own = static_cast<QMainWindow*>(controller->GetQWidget());

    bool selected = false;
    QStringList rows;
    WhenShown<CDeviceSelectionDlg>(ChooseDevice(1, &rows), &selected);
    QAction* add = FindItem(own, QStringLiteral("Record/Add Device..."));
    ASSERT_NE(add, nullptr);
    ASSERT_TRUE(add->isEnabled());
    add->trigger();
    ASSERT_TRUE(WaitFor([&] { return selected && doc->CameraFrames().size() == 1; }));
    EXPECT_EQ(doc->GetRecordGroup()->GetDeviceCount(), 1);
    EXPECT_EQ(controller->GetRecordTab().GetGroup(), doc->GetRecordGroup());
    CView* camera = doc->CameraFrames().front()->GetActiveView();
    EXPECT_EQ(camera->GetDocument()->GetTitle(), "Simulated camera 2");

    CControlPanelBar& side = controller->GetSideBar();
    CControlPanelBar& buttons = controller->GetButtonBar();
    EXPECT_TRUE(side.IsVisible());
    EXPECT_TRUE(buttons.IsVisible());
    FindItem(own, QStringLiteral("View/Control Bar"))->trigger();
    EXPECT_FALSE(side.IsVisible());
    EXPECT_FALSE(FindItem(own, QStringLiteral("View/Control Bar"))->isChecked());
    FindItem(own, QStringLiteral("View/Record Buttons"))->trigger();
    EXPECT_FALSE(buttons.IsVisible());
    FindItem(own, QStringLiteral("View/Control Bar"))->trigger();
    EXPECT_TRUE(side.IsVisible());

    // File/Save As... saves the controller: one settings file per camera, then its own file.
    const QString saved = WorkPath("run.recc");
    Prompter().AnswerFileDialog({saved}, 1);
    QAction* saveAs = FindItem(own, QStringLiteral("File/Save As..."));
    ASSERT_NE(saveAs, nullptr);
    ASSERT_TRUE(saveAs->isEnabled());
    saveAs->trigger();
    EXPECT_TRUE(QFileInfo::exists(WorkPath("run_cam0.camset")));
    EXPECT_FALSE(QFileInfo::exists(WorkPath("run_cam1.camset")));
    EXPECT_TRUE(QFileInfo::exists(saved));
    EXPECT_EQ(doc->GetPathName(), saved);

    // Closing the controller window closes its camera window and lets the camera go.
    const std::weak_ptr<bool> gone = controller->GetLifeToken();
    controller->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return gone.expired(); }));
}

}  // namespace
