#include "app/tests/e2e/E2eSupport.h"
#include "app/tests/e2e/SimulatedDeviceTest.h"
#include "devices/CamView.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/RecordControllerDoc.h"
#include "devices/RecordControllerFrame.h"
#include "devices/RecordControllerView.h"
#include "devices/VideoTriggerTab.h"
#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/RecordGroup.h"
#include "frames/FrameImage.h"
#include "groups/GeneralFrame.h"
#include "groups/MeasurementFormDoc.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/ListBox.h"
#include "shell/MainFrame.h"
#include "shell/RadioChoiceDlg.h"
#include "shell/ViewChildedFrame.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"
#include "views/panels/ControlPanelBar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QTest>

#include <cstring>
#include <functional>

// In a project a user adds a live camera (Record/Add Video or Device...), records a few frames
// and opens them from the camera's memory with Record/Open Device Playback: the project's play
// group gains a member that plays the recording frame by frame. While it is open the camera's
// window refuses to close, since closing would free the memory it plays; once the playback is
// closed the camera window closes. On the Smart Trigger page, the region the user marks on the
// camera's picture also shows in the controller's two tool windows.

namespace {

// Answers every message box with OK and keeps "caption|text".
class MessagesTaken : public IPrompter {
public:
    MessagesTaken() : m_previous(AfxSetPrompter(this)) {}
    ~MessagesTaken() override { AfxSetPrompter(m_previous); }
    int MessageBox(const MessageBoxPrompt& prompt) override {
        texts << prompt.caption + "|" + prompt.text;
        // Asked whether to save, the user does not.
        return (prompt.type & 0xF) == MB_YESNOCANCEL ? IDNO : IDOK;
    }
    FileDialogAnswer FileDialog(const FileDialogPrompt&) override { return {}; }
    std::optional<QString> BrowseForFolder(const FolderPrompt&) override { return {}; }
    std::optional<COLORREF> ChooseColor(const ColorPrompt&) override { return {}; }
    QStringList texts;

private:
    IPrompter* m_previous;
};

// The simulated camera writes each frame's number at the start of its first row; the frame
// The playback of a device's memory among the windows, or null.
CVidView* DevicePlayback() {
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* view = dynamic_cast<CVidView*>(CWnd::FromWidgetPermanent(widget));
        if (view && !dynamic_cast<CCamView*>(view) && view->GetSourceKind() == 1)
            return view;
    }
    return nullptr;
}

class DevicePlaybackFlow : public SimulatedDeviceTest {
protected:
    DevicePlaybackFlow() : SimulatedDeviceTest(1, 0, 0) {}

    // A project with the sample and a record controller around the first simulated camera,
    // added from the Record menu: the camera's live view.
    CCamView* OpenCameraInProject(QMainWindow* window) {
        QAction* add = nullptr;
        if (!WaitFor([&] {
                add = FindItem(window, QStringLiteral("Record/Add Video or Device..."));
                return add != nullptr;
            }))
            return nullptr;
        bool session = false;
        WhenShown<CRadioChoiceDlg>(
            [](CRadioChoiceDlg* dialog) {
                Click(dialog, CRadioChoiceDlg::kFirstRadioId);
                Click(dialog, IDOK);
            },
            &session);
        bool selected = false;
        WhenShown<CDeviceSelectionDlg>(
            [](CDeviceSelectionDlg* dialog) {
                Click(dialog, CDeviceSelectionDlg::kScan);
                static_cast<CListBox*>(dialog->GetDlgItem(CDeviceSelectionDlg::kDeviceList))
                    ->SetCurSel(0);
                Click(dialog, IDOK);
            },
            &selected);
        add->trigger();
        CCamView* camera = nullptr;
        const bool shown = WaitFor([&] {
            camera = FindWindowOf<CCamView>();
            return session && selected && camera && camera->GetDevice();
        });
        return shown ? camera : nullptr;
    }
};

TEST_F(DevicePlaybackFlow, TheLatestRecordingPlaysFromMemoryAndHoldsTheCamera) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    CCamView* camera = OpenCameraInProject(window);
    ASSERT_NE(camera, nullptr) << "no camera window";
    // The controller the user added shows in the project.
    EXPECT_TRUE(WaitFor([&] { return camera->GetQWidget()->isVisible(); }));
    auto* controller = dynamic_cast<CRecordControllerView*>(camera->GetParentFrame()->GetParent());
    ASSERT_NE(controller, nullptr);
    CRecordControllerDoc* doc = controller->GetControllerDocument();
    ASSERT_NE(doc, nullptr);
    CDevice* device = camera->GetDevice();
    auto* cameraFrame = dynamic_cast<CViewChildedFrame*>(camera->GetParentFrame());
    ASSERT_NE(cameraFrame, nullptr);
    const std::weak_ptr<bool> cameraAlive = cameraFrame->GetLifeToken();

    // Nothing recorded yet: nothing to play.
    QAction* playback = FindItem(window, QStringLiteral("Record/Open Device Playback"));
    ASSERT_NE(playback, nullptr);
    EXPECT_FALSE(playback->isEnabled());

    // Ten frames from the trigger on.
    DriverTriggerSetting trigger;
    ASSERT_EQ(device->Driver()->GetTriggerSetting(&trigger), 0);
    trigger.postTriggerFrames = 10;
    ASSERT_EQ(device->Driver()->SetTriggerSetting(trigger), 0);
    CRecordGroup* group = doc->GetRecordGroup();
    ASSERT_EQ(group->RecordAllDevices(), S_OK);
    group->Trigger();
    ASSERT_TRUE(WaitFor([&] { return device->GetMode() == kModeStopped; }, 20000))
        << "the recording did not end";
    int recorded = 0;
    ASSERT_EQ(device->Driver()->GetRecordedFrames(&recorded), 0);
    ASSERT_GE(recorded, 10);

    // The user brightened the camera's picture; the playback shows the recording alike.
    CLutParamSet colour;
    CLutParamSet blackAndWhite;
    camera->GetDisplayLuts(&colour, &blackAndWhite);
    for (LONG channel = 0; channel < 3; ++channel)
        colour.SetBrightness(channel, 40);
    blackAndWhite.SetBrightness(0, 25);
    camera->SetDisplayLuts(colour, blackAndWhite);

    // Record/Open Device Playback: the recording joins the project's play group.
    auto* project = dynamic_cast<CGeneralFrame*>(controller->GetParentFrame()->GetParentFrame());
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->GetGroupMode(), 0) << "the record group's tools show";
    playback = FindItem(window, QStringLiteral("Record/Open Device Playback"));
    ASSERT_NE(playback, nullptr);
    ASSERT_TRUE(playback->isEnabled());
    playback->trigger();
    CVidView* member = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        member = DevicePlayback();
        return member != nullptr;
    })) << "no playback of the camera's memory";
    EXPECT_EQ(member->GetParentFrame()->GetWindowText(), "Hardware Memory :  Simulated camera 1");
    int handle = -1;
    device->GetHandle(&handle);
    EXPECT_EQ(member->GetMemberParam(), handle);
    auto* playGroup = dynamic_cast<CMeasurementFormDoc*>(member->GetGroupDocument());
    ASSERT_NE(playGroup, nullptr);
    EXPECT_TRUE(playGroup->HasDeviceMemoryEntry());
    EXPECT_TRUE(playGroup->HasFileEntry()) << "the sample's group is the one joined";
    CLutParamSet shownColour;
    CLutParamSet shownBlackAndWhite;
    member->GetDisplayLuts(&shownColour, &shownBlackAndWhite);
    EXPECT_TRUE(shownColour == colour);
    EXPECT_TRUE(shownBlackAndWhite == blackAndWhite);
    // The project took the recording in: it shows its play group's tools now.
    EXPECT_TRUE(WaitFor([&] { return project->GetGroupMode() == 1; }));

    // Every recorded frame, oldest first, in the camera's order.
    CFrameSourcePtr source = member->GetFrameSource();
    ASSERT_FALSE(source.IsEmpty());
    ASSERT_EQ(source->GetFrameCount(), recorded);
    CFrameImage image;
    ASSERT_EQ(source->GetFrame(0, &image, 0), 1);
    const uint32_t first = FrameNumberOf(image);
    for (int i = 1; i < recorded; ++i) {
        ASSERT_EQ(source->GetFrame(i, &image, 0), 1);
        EXPECT_EQ(FrameNumberOf(image), first + static_cast<uint32_t>(i)) << "frame " << i;
    }
    source = CFrameSourcePtr();
    // The playback shows a picture, not an empty window.
    QWidget* picture = member->GetStreamWnd() ? member->GetStreamWnd()->GetQWidget() : nullptr;
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, picture)) > 0; }));

    // The camera keeps its memory for the playback: its window stays.
    MessagesTaken messages;
    cameraFrame->SendMessage(WM_CLOSE);
    WaitFor([] { return false; }, 50);
    EXPECT_FALSE(cameraAlive.expired());
    EXPECT_EQ(messages.texts, QStringList({"Unable to Free Memory|Please close all open playbacks "
                                           "from device memory."}));

    // Without the playback the camera window closes.
    member->GetParentFrame()->SendMessage(WM_CLOSE);
    // The group hears of the member's going when its window is deleted, which the program's
    // event loop does once it is back at the top.
    ASSERT_TRUE(WaitFor([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return !DevicePlayback() && !playGroup->HasDeviceMemoryEntry();
    })) << "the playback stays a member";
    // The recording is still only in the camera's memory: the user is asked before it goes.
    cameraFrame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(WaitFor([&] { return cameraAlive.expired(); }));
    ASSERT_EQ(messages.texts.size(), 2);
    EXPECT_TRUE(messages.texts[1].contains("holds a recording that has not been saved"))
        << messages.texts[1].toStdString();
}

TEST_F(DevicePlaybackFlow, TheSmartTriggerRegionShowsInTheControllersToolWindows) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    CCamView* camera = OpenCameraInProject(window);
    ASSERT_NE(camera, nullptr) << "no camera window";
    auto* controller = dynamic_cast<CRecordControllerView*>(camera->GetParentFrame()->GetParent());
    ASSERT_NE(controller, nullptr);
    auto* recordFrame = dynamic_cast<CRecordControllerFrame*>(controller->GetParentFrame());
    ASSERT_NE(recordFrame, nullptr);

    // The Smart Trigger page of the project's control panel.
    CVideoTriggerTab& smart = recordFrame->GetSmartTriggerPage();
    CControlPanelBar* bar = nullptr;
    for (CWnd* parent = smart.GetParent(); parent && !bar; parent = parent->GetParent())
        bar = dynamic_cast<CControlPanelBar*>(parent);
    ASSERT_NE(bar, nullptr) << "the page is in no control panel";
    bar->SelectTabByName(QStringLiteral("Smart Trigger"));
    ASSERT_TRUE(WaitFor([&] { return smart.GetQWidget()->isVisible(); }));

    // Define Region, a drag over the picture, Set Region.
    ASSERT_TRUE(WaitFor([&] {
        return camera->GetStreamWnd() && camera->GetStreamWnd()->GetQWidget()->isVisible() &&
               camera->GetLiveFramesShown() > 0;
    })) << "the camera shows no picture";
    camera->ShowReticle(false);
    CStreamWnd* stream = camera->GetStreamWnd();
    QWidget* picture = stream->GetQWidget();
    const CPoint from = stream->ImageToClient(40, 30, CPanZoomView::kMapCorner);
    const CPoint to = stream->ImageToClient(104, 78, CPanZoomView::kMapCorner);
    ASSERT_GT(to.x, from.x) << "the picture is too small to draw on";
    Click(&smart, CVideoTriggerTab::kDefineRegion);
    QTest::mousePress(picture, Qt::LeftButton, Qt::NoModifier, QPoint(from.x, from.y));
    QTest::mouseMove(picture, QPoint(to.x, to.y));
    QTest::mouseRelease(picture, Qt::LeftButton, Qt::NoModifier, QPoint(to.x, to.y));
    double edges[4] = {};
    ASSERT_EQ(camera->GetSelection(&edges[0], &edges[1], &edges[2], &edges[3]), S_OK);
    const CRect region(static_cast<int>(edges[0]), static_cast<int>(edges[1]),
                       static_cast<int>(edges[2]), static_cast<int>(edges[3]));
    ASSERT_GE(region.Width(), 6) << "the drag selected too little";
    Click(&smart, CVideoTriggerTab::kSetRegion);

    // "VT Settings" shows the camera's picture, "VT Zoom Region" the region alone.
    CVidView* settings = nullptr;
    CVidView* zoom = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (CWnd* child = controller->GetWindow(GW_CHILD); child;
             child = child->GetWindow(GW_HWNDNEXT)) {
            auto* hosted = dynamic_cast<CViewChildedFrame*>(child);
            auto* view = hosted ? dynamic_cast<CVidView*>(hosted->GetActiveView()) : nullptr;
            if (!view || dynamic_cast<CCamView*>(view) || !hosted->IsWindowVisible())
                continue;
            if (hosted->GetWindowText() == QLatin1String("VT Settings"))
                settings = view;
            if (hosted->GetWindowText() == QLatin1String("VT Zoom Region"))
                zoom = view;
        }
        return settings && zoom;
    })) << "no tool windows";
    EXPECT_EQ(settings->GetFrameSource().Get(), camera->GetFrameSource().Get());
    const CFrameSourcePtr cutOut = zoom->GetFrameSource();
    ASSERT_FALSE(cutOut.IsEmpty());
    CFrameImage image;
    ASSERT_EQ(cutOut->GetFrame(0, &image, 0), 1);
    EXPECT_EQ(static_cast<int>(image.GetWidth()), region.Width());
    EXPECT_EQ(static_cast<int>(image.GetHeight()), region.Height());
    // The region of the gradient is no flat fill on the screen.
    QWidget* zoomPicture = zoom->GetStreamWnd() ? zoom->GetStreamWnd()->GetQWidget() : nullptr;
    ASSERT_NE(zoomPicture, nullptr);
    EXPECT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, zoomPicture)) > 0; }));
}

}  // namespace
