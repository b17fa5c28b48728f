#include "app/tests/e2e/E2eSupport.h"
#include "devices/CamView.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "platform/framework/Document.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/Menu.h"
#include "shell/MainFrame.h"
#include "views/StreamWnd.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>

#include <functional>

// A user opens a simulated camera from File/Open Camera: scans the family in Device Selection,
// selects the first camera and watches its live video; the camera's context menu shows the
// device's information.

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

class CameraFlow : public ProgramTest {
protected:
    void SetUp() override {
        qputenv(kDriverPathVariable, RM_SIM_DRIVER_DIR);
        qputenv("REELMARK_SIM_CAMERAS", "2");
        DriverLoader::ResetForTests();
        ProgramTest::SetUp();
    }
    void TearDown() override {
        ProgramTest::TearDown();
        qunsetenv(kDriverPathVariable);
        qunsetenv("REELMARK_SIM_CAMERAS");
    }
};

TEST_F(CameraFlow, OpenCameraFromTheFileMenuShowsItsLiveVideo) {
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
            list->SetCurSel(0);
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
    EXPECT_EQ(view->GetDocument()->GetTitle(), "Simulated camera 1");
    // The live video runs: new frames arrive and the picture is on the screen.
    const int shown = view->GetLiveFramesShown();
    EXPECT_TRUE(WaitFor([&] { return view->GetLiveFramesShown() > shown + 5; }));
    EXPECT_TRUE(WaitFor([&] {
        return Spread(GrabFromScreen(window, view->GetStreamWnd()->GetQWidget())) > 5;
    })) << "the live picture is not on the screen";

    // Camera Information from the context menu shows the device's text.
    ASSERT_NE(view->GetDevice(), nullptr);
    Prompter().ExpectMessageBox(view->GetDevice()->GetInfoText(), IDOK);
    QStringList items;
    const PopupMenuTracker previous =
        AfxSetPopupMenuTracker([&](QMenu* menu, const QPoint&) -> QAction* {
            QAction* information = nullptr;
            for (QAction* action : menu->actions()) {
                items << action->text();
                if (action->text() == "Camera Information")
                    information = action;
            }
            return information;
        });
    view->SendMessage(WM_CONTEXTMENU, 0, MAKELPARAM(20, 20));
    AfxSetPopupMenuTracker(previous);
    EXPECT_TRUE(items.contains("Change Camera Name"));
    EXPECT_TRUE(items.contains("Camera View"));
    EXPECT_TRUE(items.contains("Camera Reset"));
}

}  // namespace
