#include "app/tests/e2e/E2eSupport.h"
#include "app/tests/e2e/SimulatedDeviceTest.h"
#include "devices/CamFrm.h"
#include "devices/CamRecordPanel.h"
#include "devices/CamView.h"
#include "devices/CameraSettingsDlg.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/RecordControlPage.h"
#include "devices/SingleRecordPage.h"
#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/Document.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/Menu.h"
#include "shell/DlgDeviceInformation.h"
#include "shell/DlgTextInput.h"
#include "shell/MainFrame.h"
#include "views/BayerColorDlg.h"
#include "views/StreamWnd.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QMenu>

#include <functional>

// A user opens a simulated colour camera from File/Open Camera: scans the family in Device
// Selection, selects the camera and watches its live video; from the camera's context menu
// reads the device's information, renames it, changes its colours in the colour adjustment
// window and its resolution in Camera Settings.

namespace {

// Mean red and blue of a picture, as a ratio.
double RedOverBlue(const QImage& shot) {
    double red = 0;
    double blue = 0;
    for (int y = 0; y < shot.height(); y += 4) {
        for (int x = 0; x < shot.width(); x += 4) {
            red += qRed(shot.pixel(x, y));
            blue += qBlue(shot.pixel(x, y));
        }
    }
    return blue > 0 ? red / blue : 0;
}

class CameraFlow : public SimulatedDeviceTest {
protected:
    CameraFlow() : SimulatedDeviceTest(2, 1, 1) {}
};

// The program as it ships: no driver on the driver path.
class NoDriverFlow : public ProgramTest {
protected:
    void SetUp() override {
        qunsetenv(kDriverPathVariable);
        DriverLoader::ResetForTests();
        ProgramTest::SetUp();
    }
};

TEST_F(NoDriverFlow, OpenCameraSaysThatNoDeviceWasFound) {
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    QAction* open = MenuAction(window, QStringLiteral("File/Open Camera..."));
    ASSERT_NE(open, nullptr);
    bool shown = false;
    int families = -1;
    size_t asked = 0;
    WhenShown<CDeviceSelectionDlg>(
        [&](CDeviceSelectionDlg* dialog) {
            families = static_cast<CListBox*>(dialog->GetDlgItem(CDeviceSelectionDlg::kFamilyList))
                           ->GetCount();
            const size_t before = Prompter().Prompts().size();
            Prompter().ExpectMessageBox(QStringLiteral("No available devices found."), IDOK);
            Click(dialog, CDeviceSelectionDlg::kScan);
            asked = Prompter().Prompts().size() - before;
            Click(dialog, IDCANCEL);
        },
        &shown);
    open->trigger();
    ASSERT_TRUE(WaitFor([&] { return shown; })) << "no Device Selection";
    EXPECT_EQ(families, 0);
    EXPECT_EQ(asked, 1u) << "Scan said nothing";
}

TEST_F(CameraFlow, OpenCameraFromTheFileMenuAndAdjustItFromItsContextMenu) {
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    QAction* open = MenuAction(window, QStringLiteral("File/Open Camera..."));
    ASSERT_NE(open, nullptr);

    bool selected = false;
    QStringList rows;
    WhenShown<CDeviceSelectionDlg>(
        [&](CDeviceSelectionDlg* dialog) {
            EXPECT_EQ(dialog->GetQWidget()->windowTitle(), "Device Selection");
            Click(dialog, CDeviceSelectionDlg::kScan);
            auto* list =
                static_cast<CListBox*>(dialog->GetDlgItem(CDeviceSelectionDlg::kDeviceList));
            for (int i = 0; i < list->GetCount(); ++i)
                rows << list->GetText(i);
            list->SetCurSel(1);
            Click(dialog, IDOK);
        },
        &selected);
    open->trigger();
    ASSERT_TRUE(WaitFor([&] { return selected; })) << "no Device Selection";
    EXPECT_EQ(rows, QStringList({"Simulated camera 1", "Simulated camera 2"}));

    CCamView* view = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        view = FindWindowOf<CCamView>();
        return view && view->GetStreamWnd() && view->GetStreamWnd()->GetQWidget()->isVisible();
    })) << "no camera window";
    EXPECT_EQ(view->GetDocument()->GetTitle(), "Simulated camera 2");
    // The live video runs: new frames arrive and the picture is on the screen.
    const int shown = view->GetLiveFramesShown();
    EXPECT_TRUE(WaitFor([&] { return view->GetLiveFramesShown() > shown + 5; }));
    QWidget* picture = view->GetStreamWnd()->GetQWidget();
    EXPECT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, picture)) > 5; }))
        << "the live picture is not on the screen";
    CDevice* device = view->GetDevice();
    ASSERT_NE(device, nullptr);

    // Camera Information shows the device's text.
    bool informed = false;
    WhenShown<CDlgDeviceInformation>(
        [&](CDlgDeviceInformation* dialog) {
            EXPECT_EQ(dialog->GetDlgItemText(CDlgDeviceInformation::kTextId),
                      device->GetInfoText());
            Click(dialog, IDOK);
        },
        &informed);
    const QStringList items = ChooseFromContextMenu(view, "Camera Information").items;
    EXPECT_TRUE(informed);
    for (const char* item : {"Change Camera Name", "View", "Camera View", "Camera Color Adjustment",
                             "Camera Information", "Camera Settings", "Camera Reset"})
        EXPECT_TRUE(items.contains(item)) << item;

    // Change Camera Name: the window takes the new name.
    bool renamed = false;
    WhenShown<CDlgTextInput>(
        [&](CDlgTextInput* dialog) {
            EXPECT_EQ(dialog->GetQWidget()->windowTitle(), "Device Name");
            EXPECT_EQ(dialog->GetDlgItemText(CDlgTextInput::kPromptId),
                      "Please enter the device name.");
            EXPECT_EQ(dialog->GetDlgItemText(CDlgTextInput::kTextId), "Simulated camera 2");
            dialog->SetDlgItemText(CDlgTextInput::kTextId, "Left bench");
            Click(dialog, IDOK);
        },
        &renamed);
    ChooseFromContextMenu(view, "Change Camera Name");
    EXPECT_TRUE(renamed);
    EXPECT_EQ(view->GetDocument()->GetTitle(), "Left bench");

    // Camera Color Adjustment: the camera's presets; tungsten rows make the daylight picture
    // bluer (less than by their ratio: the brightest blues clip).
    const double before = RedOverBlue(GrabFromScreen(window, picture));
    ChooseFromContextMenu(view, "Camera Color Adjustment");
    CBayerColorDlg* colour = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        colour = FindWindowOf<CBayerColorDlg>();
        return colour && colour->GetQWidget()->isVisible();
    })) << "no colour adjustment window";
    EXPECT_EQ(colour->GetQWidget()->windowTitle(), "Left bench [Camera] - Color Adjustment");
    CComboBox& presets = colour->Presets();
    const int tungsten = presets.FindStringExact(-1, "Tungsten (3200 K)");
    ASSERT_GT(tungsten, 0);
    auto* combo = qobject_cast<QComboBox*>(presets.GetQWidget());
    ASSERT_NE(combo, nullptr);
    // As a user's choice in the list.
    combo->setCurrentIndex(tungsten);
    emit combo->activated(tungsten);
    EXPECT_TRUE(WaitFor([&] {
        return RedOverBlue(GrabFromScreen(window, picture)) < 0.9 * before;
    })) << "the live picture kept its colours";
    Click(colour, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !colour->GetQWidget()->isVisible(); }));

    // Camera Settings: a smaller resolution, and the live video goes on at it.
    bool set = false;
    WhenShown<CCameraSettingsDlg>(
        [&](CCameraSettingsDlg* dialog) {
            EXPECT_EQ(dialog->GetQWidget()->windowTitle(), "Camera Settings");
            auto* sizes =
                static_cast<CComboBox*>(dialog->GetDlgItem(CCameraSettingsDlg::kResolution));
            sizes->SetCurSel(sizes->FindStringExact(-1, "640 x 480"));
            Click(dialog, IDOK);
        },
        &set);
    ChooseFromContextMenu(view, "Camera Settings");
    EXPECT_TRUE(set);
    int width = 0;
    int height = 0;
    device->GetResolution(&width, &height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    const int after = view->GetLiveFramesShown();
    EXPECT_TRUE(WaitFor([&] {
        int w = 0;
        int h = 0;
        view->GetFrameSource()->GetImageSize(&w, &h);
        return w == 640 && h == 480 && view->GetLiveFramesShown() > 5 &&
               view->GetLiveFramesShown() != after;
    })) << "the live video did not go on at the new size";
}

// Camera 1 open, a second File/Open Camera... lists it "ATTACHED" and refuses it; the first
// window's record page still drives the camera through its group.
TEST_F(CameraFlow, AnOpenCameraIsAttachedAndASecondWindowOnItIsRefused) {
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    CCamView* view = OpenCamera(window);
    ASSERT_NE(view, nullptr);
    CDevice* device = view->GetDevice();

    bool refused = false;
    QStringList rows;
    WhenShown<CDeviceSelectionDlg>(
        [&](CDeviceSelectionDlg* dialog) {
            Click(dialog, CDeviceSelectionDlg::kScan);
            auto* list =
                static_cast<CListBox*>(dialog->GetDlgItem(CDeviceSelectionDlg::kDeviceList));
            for (int i = 0; i < list->GetCount(); ++i)
                rows << list->GetText(i);
            list->SetCurSel(0);
            Prompter().ExpectMessageBox(QString::fromLatin1(CDeviceSelectionDlg::kDeviceInUse),
                                        IDOK);
            Click(dialog, IDOK);
            EXPECT_TRUE(dialog->GetQWidget()->isVisible()) << "Select did not end the dialog";
            Click(dialog, IDCANCEL);
        },
        &refused);
    MenuAction(window, QStringLiteral("File/Open Camera..."))->trigger();
    ASSERT_TRUE(WaitFor([&] { return refused; })) << "no Device Selection";
    EXPECT_EQ(rows, QStringList({"Simulated camera 1  ATTACHED", "Simulated camera 2"}));
    WaitFor([] { return false; }, 300);
    int views = 0;
    for (QWidget* widget : QApplication::allWidgets())
        views += dynamic_cast<CCamView*>(CWnd::FromWidgetPermanent(widget)) ? 1 : 0;
    EXPECT_EQ(views, 1) << "one window on camera 1";

    auto* camFrame = dynamic_cast<CCamFrm*>(view->GetParentFrame());
    ASSERT_NE(camFrame, nullptr);
    CSingleRecordPage& page = camFrame->GetRecordPanel()->GetRecordPage();
    camFrame->GetRecordPanel()->GetBar().SelectTabByName(QStringLiteral("Record"));
    ASSERT_TRUE(WaitFor([&] { return page.GetQWidget()->isVisible(); }));
    // Live goes through the window's record group, which alone holds the camera.
    EXPECT_EQ(view->GetLink().GetCommandTarget(), &camFrame->GetRecordPanel()->GetGroup());
    Click(&page, CRecordControlPage::kLive);
    EXPECT_EQ(device->GetMode(), kModeLive);
}

}  // namespace
