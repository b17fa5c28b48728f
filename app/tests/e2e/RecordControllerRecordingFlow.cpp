#include "app/tests/e2e/E2eSupport.h"
#include "app/tests/e2e/SimulatedDeviceTest.h"
#include "devices/AutoDownloadWnd.h"
#include "devices/AutoRecordDlg.h"
#include "devices/CamView.h"
#include "devices/ConnectionAssistantDlg.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/RecordControllerDoc.h"
#include "devices/RecordControllerFrame.h"
#include "devices/RecordControllerView.h"
#include "devices/RecordingBusyDlg.h"
#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/RecordGroup.h"
#include "devices/sources/DeviceFrameSources.h"
#include "frames/FrameImage.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/ListBox.h"
#include "platform/imaging/BitmapData.h"
#include "shell/DlgFormatSelection.h"
#include "shell/DlgOptionsAutoDown.h"
#include "shell/MainFrame.h"
#include "shell/RadioChoiceDlg.h"
#include "shell/SliderNumberDlg.h"
#include "views/PlayControlWnd.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"
#include "views/panels/ControlPanelBar.h"
#include "views/panels/PlayControlTab.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QMainWindow>
#include <QTest>

#include <cstring>
#include <functional>

// In the project of the sample recording a user opens a live camera from the Record menu (the
// project's add-video-or-device button), which starts a record controller around it, and adds the
// second camera and the data card with Record/Add Device.... The controller's record page sets
// one short recording for the three; Record arms them, Trigger ends the recording, and the status
// bar and the busy box follow. Then the Auto-Record Controller, engaged, records the group again,
// triggers it itself and saves each device's recording under the name set in the Auto-Record
// Control Panel; the first camera's video opens from File/Open... in a play group and, stepped
// through, shows the camera's frames in the order it took them.

namespace {

constexpr int kFrames = 40;
constexpr int kPreTrigger = 10;

// Picks the family, scans it and chooses the device of that name; the families and the
// devices listed come back.
std::function<void(CDeviceSelectionDlg*)> ChooseDevice(const QString& family, const QString& name,
                                                       QStringList* families, QStringList* rows) {
    return [family, name, families, rows](CDeviceSelectionDlg* dialog) {
        auto* familyList =
            static_cast<CListBox*>(dialog->GetDlgItem(CDeviceSelectionDlg::kFamilyList));
        for (int i = 0; i < familyList->GetCount(); ++i)
            *families << familyList->GetText(i);
        familyList->SetCurSel(static_cast<int>(families->indexOf(family)));
        Click(dialog, CDeviceSelectionDlg::kScan);
        auto* list = static_cast<CListBox*>(dialog->GetDlgItem(CDeviceSelectionDlg::kDeviceList));
        for (int i = 0; i < list->GetCount(); ++i)
            *rows << list->GetText(i);
        list->SetCurSel(static_cast<int>(rows->indexOf(name)));
        Click(dialog, IDOK);
    };
}

// Answers the slider dialog of that title with value when the button is clicked.
void AnswerSlider(CWnd* page, int button, const QString& title, int value) {
    bool asked = false;
    WhenShown<CSliderNumberDlg>(
        [title, value](CSliderNumberDlg* dialog) {
            EXPECT_EQ(dialog->GetQWidget()->windowTitle(), title);
            dialog->SetDlgItemText(CSliderNumberDlg::kValueId, QString::number(value));
            Click(dialog, IDOK);
        },
        &asked);
    Click(page, button);
    EXPECT_TRUE(asked) << title.toStdString();
}

// The frame number the simulated camera writes into the first four bytes of every frame.
class RecordControllerRecordingFlow : public SimulatedDeviceTest {
protected:
    RecordControllerRecordingFlow() : SimulatedDeviceTest(2, 0, 1) {}

    // Chooses the device name of family in Device Selection as action brings it up; the
    // families and then the devices it listed. With connections, the connection assistant that
    // follows is closed.
    static QStringList AddThrough(QAction* action, const QString& family, const QString& name,
                                  bool connections) {
        bool chosen = false;
        QStringList rows;
        QStringList families;
        WhenShown<CDeviceSelectionDlg>(ChooseDevice(family, name, &families, &rows), &chosen);
        bool assisted = !connections;
        if (connections)
            WhenShown<CConnectionAssistantDlg>(
                [](CConnectionAssistantDlg* dialog) { Click(dialog, IDOK); }, &assisted);
        action->trigger();
        EXPECT_TRUE(WaitFor([&] { return chosen && assisted; })) << "no Device Selection";
        return families + rows;
    }

    // WaitFor with the program's idle work (its bars' updates) between the turns of the event
    // loop, as the running program does whenever it waits for input.
    bool WaitIdling(const std::function<bool()>& done, int milliseconds = 10000) {
        return WaitFor(
            [&] {
                m_app.OnIdle(0);
                return done();
            },
            milliseconds);
    }
};

TEST_F(RecordControllerRecordingFlow, TheControllerRecordsItsDevicesAndAutoRecordSavesThem) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());

    // Tools/Auto-Record Control Panel...: one cycle into a folder of the user's, saved as AVI
    // under the name "rc", the camera triggered after a second, every frame saved.
    const QString downloads = WorkPath("downloads");
    ASSERT_TRUE(QDir().mkpath(downloads));
    bool panelShown = false;
    WhenShown<CDlgOptionsAutoDown>(
        [&](CDlgOptionsAutoDown* dialog) {
            CWnd* save = &dialog->m_snapkeepEdit;
            Prompter().AnswerFolder(downloads);
            Click(save, 1173);
            save->SetDlgItemText(1174, QStringLiteral("rc"));
            Click(save, 1175);
            bool formatShown = false;
            WhenShown<CDlgFormatSelection>(
                [](CDlgFormatSelection* formats) {
                    // The user picks "AVI" from the list.
                    auto* combo = qobject_cast<QComboBox*>(
                        formats->GetDlgItem(CDlgFormatSelection::kFormatComboId)->GetQWidget());
                    ASSERT_NE(combo, nullptr);
                    const int avi = combo->findText(QStringLiteral("AVI"));
                    combo->setCurrentIndex(avi);
                    emit combo->activated(avi);
                    Click(formats, IDOK);
                },
                &formatShown);
            Click(save, 2089);
            EXPECT_TRUE(formatShown) << "no Format Selection";
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

    // Record/Add Video or Device...: "Live Camera", then the first simulated camera.
    QAction* add = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        add = FindItem(window, QStringLiteral("Record/Add Video or Device..."));
        return add != nullptr;
    })) << "no Record menu in the project";
    bool session = false;
    WhenShown<CRadioChoiceDlg>(
        [](CRadioChoiceDlg* dialog) {
            Click(dialog, CRadioChoiceDlg::kFirstRadioId);
            Click(dialog, IDOK);
        },
        &session);
    const QStringList listed = AddThrough(add, QStringLiteral("Simulated camera"),
                                          QStringLiteral("Simulated camera 1"), false);
    ASSERT_TRUE(session);
    EXPECT_EQ(listed, QStringList({"Simulated camera", "Simulated data card", "Simulated camera 1",
                                   "Simulated camera 2"}));
    CRecordControllerView* controller = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        controller = FindWindowOf<CRecordControllerView>();
        return controller != nullptr;
    })) << "no record controller";
    CRecordControllerDoc* doc = controller->GetControllerDocument();
    ASSERT_NE(doc, nullptr);
    CRecordGroup* group = doc->GetRecordGroup();
    CCamView* live = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        live = FindWindowOf<CCamView>();
        return live && live->GetLiveFramesShown() > 3;
    })) << "the embedded camera shows no live video";

    // Record/Add Device...: the second camera, then the data card.
    QAction* addDevice = FindItem(window, QStringLiteral("Record/Add Device..."));
    ASSERT_NE(addDevice, nullptr);
    AddThrough(addDevice, QStringLiteral("Simulated camera"), QStringLiteral("Simulated camera 2"),
               true);
    AddThrough(FindItem(window, QStringLiteral("Record/Add Device...")),
               QStringLiteral("Simulated data card"), QStringLiteral("Simulated data card 1"),
               true);
    EXPECT_EQ(DeviceNames(doc),
              QStringList({"Simulated camera 1", "Simulated camera 2", "Simulated data card 1"}));
    ASSERT_EQ(group->GetDeviceCount(), 3);

    auto* recordFrame = dynamic_cast<CRecordControllerFrame*>(controller->GetParentFrame());
    ASSERT_NE(recordFrame, nullptr);
    CSingleRecordPage& page = recordFrame->GetRecordPage();
    ASSERT_NE(page.GetSafeHwnd(), nullptr) << "no record page";
    CControlPanelBar* panel = recordFrame->GetRecordControlPanel();
    ASSERT_NE(panel, nullptr) << "the record pages are in no control panel";
    panel->SelectTabByName(QStringLiteral("Record"));
    ASSERT_TRUE(WaitFor([&] { return page.GetQWidget()->isVisible(); })) << "no record page";

    // A click brings the first camera's window to the front: its rate goes to the whole
    // group, and so do the frames to record and those before the trigger.
    auto* first = dynamic_cast<CCamView*>(doc->DeviceFrames().front()->GetActiveView());
    ASSERT_NE(first, nullptr);
    QTest::mouseClick(first->GetQWidget(), Qt::LeftButton);
    CDevice* camera = first->GetDevice();
    ASSERT_NE(camera, nullptr);
    // Activating a camera window shows the camera's pages; the user goes back to "Record".
    panel->SelectTabByName(QStringLiteral("Record"));
    ASSERT_TRUE(WaitFor([&] {
        return page.GetDlgItem(CRecordControlPage::kFrameRate)->GetQWidget()->isVisible();
    })) << "the record page shows no camera";
    ChooseFromDropDown(&page, CRecordControlPage::kFrameRate, QStringLiteral("500"));
    AnswerSlider(&page, CRecordControlPage::kMaxFrames, QStringLiteral("Frames to Record"),
                 kFrames);
    AnswerSlider(&page, CRecordControlPage::kPreTrigger, QStringLiteral("Pre-Trigger Frames"),
                 kPreTrigger);
    for (int i = 0; i < group->GetDeviceCount(); ++i) {
        CDevice* device = group->GetDeviceAt(i);
        ASSERT_NE(device, nullptr);
        double rate = 0;
        EXPECT_EQ(device->GetRecordRate(&rate), 0);
        EXPECT_DOUBLE_EQ(rate, 500) << i;
        int frames = 0;
        EXPECT_EQ(device->Driver()->GetMaxFrames(&frames), 0);
        EXPECT_EQ(frames, kFrames) << i;
    }

    // The group's record buttons: Live, Record, Trigger. The third status pane and the busy
    // box follow the group.
    CRecordTab& buttons = page.GetRecordTab();
    CRecordingBusyDlg& busy = recordFrame->GetBusyBox();
    const auto statePane = [&] {
        CStatusBar& bar = recordFrame->GetStatusBar();
        return bar.GetPaneText(bar.CommandToIndex(CRecordControllerFrame::kStatePane));
    };
    // The pane and the box as the next idle time leaves them.
    QStringList states;
    QStringList boxTexts;
    const auto note = [&] {
        m_app.OnIdle(0);
        states << statePane();
        boxTexts << (busy.IsWindowVisible() ? busy.GetDlgItemText(CRecordingBusyDlg::kTextId)
                                            : QStringLiteral("-"));
    };
    ASSERT_TRUE(WaitIdling([&] {
        buttons.Refresh();
        return buttons.GetDlgItem(CRecordTab::kLive)->IsWindowEnabled();
    }));
    Click(&buttons, CRecordTab::kLive);
    note();
    Click(&buttons, CRecordTab::kRecord);
    ASSERT_EQ(group->GetState(), CRecordGroup::kRecord);
    for (int i = 0; i < group->GetDeviceCount(); ++i)
        EXPECT_EQ(group->GetDeviceAt(i)->GetMode(), kModeArmed) << i;
    note();
    ASSERT_TRUE(WaitIdling([&] {
        buttons.Refresh();
        return buttons.GetDlgItem(CRecordTab::kTrigger)->IsWindowEnabled();
    }));
    Click(&buttons, CRecordTab::kTrigger);
    note();
    // Triggered, the devices record their last frames; the group then leaves Record and the
    // box goes.
    ASSERT_TRUE(WaitIdling([&] { return group->GetState() != CRecordGroup::kRecord; }, 30000))
        << "the recording did not complete";
    ASSERT_TRUE(WaitIdling([&] { return !busy.IsWindowVisible(); })) << "the busy box stayed";
    note();
    // Done, the first camera holds its recording and is neither idle nor live nor armed.
    EXPECT_EQ(states, QStringList({"Live", "Record", "Triggered", "Unknown"}));
    EXPECT_EQ(boxTexts, QStringList({"-", "Record", "Triggered", "-"}));
    // Every frame after the trigger, and those before it that the camera had taken by then.
    int recorded = 0;
    ASSERT_EQ(camera->Driver()->GetRecordedFrames(&recorded), 0);
    EXPECT_GE(recorded, kFrames - kPreTrigger);
    EXPECT_LE(recorded, kFrames);

    // Tools/Auto-Record Controller...: engaged, the group records again, the first camera
    // triggers itself after a second, and the download saves the three devices.
    bool controllerShown = false;
    QStringList seen;
    WhenShown<CAutoRecordDlg>(
        [&](CAutoRecordDlg* dialog) {
            const auto text = [dialog](int id) { return dialog->GetDlgItemText(id); };
            seen << text(CAutoRecordDlg::kBaseNameField)
                 << text(CAutoRecordDlg::kTriggerCountField);
            // The recording made by hand is still unsaved in the devices' memory: the new
            // one takes its place only once the user agrees.
            Prompter().ExpectMessageBox(QStringLiteral("Erase device memory?"), IDYES);
            Click(dialog, CAutoRecordDlg::kEngage);
            EXPECT_TRUE(WaitIdling([&] { return busy.IsWindowVisible(); })) << "no busy box";
            EXPECT_EQ(group->GetState(), CRecordGroup::kRecord);
            EXPECT_TRUE(WaitIdling(
                [&] { return text(CAutoRecordDlg::kTriggerCountField) == "1 / 1"; }, 60000))
                << "no download";
            EXPECT_TRUE(WaitIdling([&] { return !busy.IsWindowVisible(); }))
                << "the busy box stayed";
            seen << text(CAutoRecordDlg::kLastSaveField);
            // The one cycle done, the controller disengages by itself and closes.
            EXPECT_TRUE(WaitIdling([&] {
                return text(CAutoRecordDlg::kEngage) == "Engage Auto-Download";
            })) << "still engaged after the last cycle";
            Click(dialog, IDOK);
        },
        &controllerShown);
    MenuAction(window, QStringLiteral("Tools/Auto-Record Controller..."))->trigger();
    ASSERT_TRUE(WaitFor([&] { return controllerShown; })) << "no Auto-Record Controller";
    EXPECT_EQ(seen, QStringList({"rc", "0 / 1", downloads}));
    const QStringList saved = QDir(downloads).entryList(QDir::Files, QDir::Name);
    // Each video with its recording information beside it, and the card's data.
    EXPECT_EQ(saved, QStringList({"rc_ad0{d1}.mdat", "rc_ad0{v1}.avi", "rc_ad0{v1}.cfg",
                                  "rc_ad0{v2}.avi", "rc_ad0{v2}.cfg"}))
        << saved.join(", ").toStdString();

    // File/Open...: the first camera's video in a play group, stepped frame by frame.
    Prompter().AnswerFileDialog({downloads + "/rc_ad0{v1}.avi"});
    MenuAction(window, QStringLiteral("File/Open..."))->trigger();
    CVidView* video = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (QWidget* widget : QApplication::allWidgets()) {
            auto* view = dynamic_cast<CVidView*>(CWnd::FromWidgetPermanent(widget));
            if (view && !dynamic_cast<CCamView*>(view) && view->GetStreamWnd()) {
                QString path;
                if (view->GetStreamWnd()->GetSourcePath(0, &path) == S_OK &&
                    path.endsWith("rc_ad0{v1}.avi"))
                    video = view;
            }
        }
        return video != nullptr;
    })) << "the video did not open";
    CFrameSourcePtr source = video->GetFrameSource();
    ASSERT_FALSE(source.IsEmpty());
    // The project's play group holds it as a member.
    const auto inPlayGroup = [&] {
        for (QWidget* widget : QApplication::allWidgets()) {
            auto* view = dynamic_cast<CMeasurementView*>(CWnd::FromWidgetPermanent(widget));
            auto* group = view ? dynamic_cast<CMeasurementFormDoc*>(view->GetDocument()) : nullptr;
            for (int i = 0; group && i < group->GetVideoCount(); ++i) {
                if (group->GetVideoSource(i) == source.Get())
                    return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(inPlayGroup()) << "the video is in no play group";
    ASSERT_EQ(source->GetFrameCount(), kFrames);
    // A click brings it to the front of the group; the play controls step it.
    QTest::mouseClick(video->GetQWidget(), Qt::LeftButton);
    // The play controls the user sees (the control panel keeps another page hidden).
    CPlayControlTab* controls = nullptr;
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* page = dynamic_cast<CPlayControlTab*>(CWnd::FromWidgetPermanent(widget));
        if (page && widget->isVisible())
            controls = page;
    }
    ASSERT_NE(controls, nullptr);
    // From its first frame, each step shows the camera's next frame: the numbers the camera
    // wrote into its frames, from the first one its memory holds of this recording.
    CFrameSourcePtr memory = DeviceFrameSources::GetLatestRecording(camera);
    ASSERT_FALSE(memory.IsEmpty());
    CFrameImage remembered;
    ASSERT_EQ(memory->GetFrame(0, &remembered, 0), 1);
    const uint32_t firstNumber = FrameNumberOf(remembered);
    CStreamWnd* stream = video->GetStreamWnd();
    video->SetCurrentFrame(0, 1);
    EXPECT_EQ(FrameNumberOf(stream->GetImage()), firstNumber);
    for (int n = 1; n < kFrames; ++n) {
        Click(controls, PlayControlId::kFwd);
        ASSERT_TRUE(WaitFor([&] { return stream->GetCurrentFrame() == n; }))
            << "step " << n << " shows frame " << stream->GetCurrentFrame();
        EXPECT_EQ(FrameNumberOf(stream->GetImage()), firstNumber + static_cast<uint32_t>(n)) << n;
    }
}

}  // namespace
