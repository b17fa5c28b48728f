#include "app/tests/e2e/E2eSupport.h"
#include "app/tests/e2e/SimulatedDeviceTest.h"
#include "devices/CamView.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "platform/controls/ActiveAreaControl.h"
#include "platform/framework/Document.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/Menu.h"
#include "shell/MainFrame.h"
#include "views/ActiveAreaDlg.h"
#include "views/StreamWnd.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include <functional>

// A user opens a simulated camera, chooses Set Active Area... from its context menu, sees the
// live picture in the dialog, drags the area to a new place and confirms: the camera reads out
// the new area.

namespace {

class ActiveAreaFlow : public SimulatedDeviceTest {
protected:
    ActiveAreaFlow() : SimulatedDeviceTest(2, 1, 1) {}
};

TEST_F(ActiveAreaFlow, SetActiveAreaFromTheCameraContextMenuMovesTheArea) {
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    CCamView* view = OpenCamera(window);
    ASSERT_NE(view, nullptr);
    CDevice* device = view->GetDevice();
    ASSERT_NE(device, nullptr);
    // A reduced area, so that it has room to move on the sensor.
    ASSERT_EQ(device->SetActiveArea(0, 0, 640, 480), 0);
    int left = -1, top = -1, width = 0, height = 0;

    // In the dialog the user drags the area to a new place and confirms.
    bool shown = false;
    QString caption;
    QSize picture;
    QSize shownAfterDrag;
    WhenShown<CActiveAreaDlg>(
        [&](CActiveAreaDlg* dialog) {
            caption = dialog->GetQWidget()->windowTitle();
            auto* control = static_cast<CActiveAreaControl*>(dialog->GetAreaControl().GetControl());
            ASSERT_NE(control, nullptr);
            picture = control->Image().size();
            control->UserMovedArea(QRect(64, 32, 640, 480));
            shownAfterDrag = control->Image().size();
            Click(dialog, IDOK);
        },
        &shown);
    const PopupMenuTracker previous =
        AfxSetPopupMenuTracker([&](QMenu* menu, const QPoint&) -> QAction* {
            for (QAction* action : menu->actions()) {
                if (action->text() == "Set Active Area...")
                    return action;
            }
            return nullptr;
        });
    view->SendMessage(WM_CONTEXTMENU, 0, MAKELPARAM(20, 20));
    AfxSetPopupMenuTracker(previous);
    ASSERT_TRUE(WaitFor([&] { return shown; })) << "no Set Active Area dialog";
    EXPECT_EQ(caption, "Set Active Area");
    EXPECT_EQ(picture, QSize(640, 480)) << "the live picture is in the control";
    EXPECT_EQ(shownAfterDrag, QSize(640, 480));
    ASSERT_EQ(device->GetActiveAreaOrigin(&left, &top), 0);
    ASSERT_EQ(device->GetActiveAreaSize(&width, &height), 0);
    EXPECT_EQ(QRect(left, top, width, height), QRect(64, 32, 640, 480));
}

}  // namespace
