#include "app/tests/e2e/E2eSupport.h"
#include "app/tests/e2e/SimulatedDeviceTest.h"
#include "devices/CamFrm.h"
#include "devices/CamRecordPanel.h"
#include "devices/CamView.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "platform/com/ISettingsStore.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/ListBox.h"
#include "shell/DlgTextInput.h"
#include "shell/MainFrame.h"
#include "shell/SliderNumberDlg.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QMainWindow>

#include <functional>

// A user opens a simulated camera from File/Open Camera; its window carries the record pages
// (their record controller comes later; the camera window is where they stand meanwhile), the
// "Record" page first: the camera's settings with the group's record buttons. The user sets the
// frame rate, the frames to record, the frames before the trigger and the trigger type, renames
// the camera, goes live, records and ends the recording with Trigger Stop. With the single
// record tab switched off in the options, the page shows the record buttons alone.

namespace {

// Answers the slider dialog of that title with value.
void AnswerSliderWhenShown(const QString& title, int value, bool* done) {
    WhenShown<CSliderNumberDlg>(
        [title, value](CSliderNumberDlg* dialog) {
            EXPECT_EQ(dialog->GetQWidget()->windowTitle(), title);
            dialog->SetDlgItemText(CSliderNumberDlg::kValueId, QString::number(value));
            Click(dialog, IDOK);
        },
        done);
}

class RecordControlFlow : public SimulatedDeviceTest {
protected:
    RecordControlFlow() : SimulatedDeviceTest(1, 0, 0) {}
};

TEST_F(RecordControlFlow, TheRecordPageSetsUpTheCameraAndRecords) {
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    CCamView* view = OpenCamera(window);
    ASSERT_NE(view, nullptr);
    auto* camFrame = dynamic_cast<CCamFrm*>(view->GetParentFrame());
    ASSERT_NE(camFrame, nullptr);
    CCamRecordPanel* panel = camFrame->GetRecordPanel();
    ASSERT_NE(panel, nullptr);
    CControlPanelBar& bar = panel->GetBar();
    ASSERT_TRUE(WaitFor([&] { return bar.GetQWidget()->isVisible(); })) << "no record pages";
    EXPECT_EQ(bar.GetTabCtrl().GetItemText(0), "Record");
    bar.SelectTabByName(QStringLiteral("Record"));
    CSingleRecordPage& page = panel->GetRecordPage();
    ASSERT_TRUE(WaitFor([&] { return page.GetQWidget()->isVisible(); }));
    CDevice* device = view->GetDevice();
    IDriverDevice* driver = device->Driver();
    ASSERT_NE(driver, nullptr);
    // The camera's settings and the group's record buttons share the page.
    EXPECT_TRUE(page.GetDlgItem(CRecordControlPage::kFrameRate)->GetQWidget()->isVisible());
    EXPECT_TRUE(page.GetRecordTab().GetQWidget()->isVisible());
    EXPECT_TRUE(page.GetDevicesTab().GetQWidget()->isVisible());
    EXPECT_TRUE(page.GetDlgItem(CRecordControlPage::kLive)->IsWindowEnabled());

    // Frame rate from the list.
    ChooseFromDropDown(&page, CRecordControlPage::kFrameRate, QStringLiteral("500"));
    double rate = 0;
    ASSERT_EQ(device->GetRecordRate(&rate), 0);
    EXPECT_DOUBLE_EQ(rate, 500);

    // 200 frames to record, 50 of them before the trigger.
    bool asked = false;
    AnswerSliderWhenShown(QStringLiteral("Frames to Record"), 200, &asked);
    Click(&page, CRecordControlPage::kMaxFrames);
    ASSERT_TRUE(asked);
    int frames = 0;
    ASSERT_EQ(driver->GetMaxFrames(&frames), 0);
    EXPECT_EQ(frames, 200);
    EXPECT_EQ(page.GetDlgItemText(CRecordControlPage::kMaxFramesText), "200");
    asked = false;
    AnswerSliderWhenShown(QStringLiteral("Pre-Trigger Frames"), 50, &asked);
    Click(&page, CRecordControlPage::kPreTrigger);
    ASSERT_TRUE(asked);
    DriverTriggerSetting trigger;
    ASSERT_EQ(driver->GetTriggerSetting(&trigger), 0);
    EXPECT_EQ(trigger.postTriggerFrames, 149);
    ChooseFromDropDown(&page, CRecordControlPage::kTriggerType, QStringLiteral("Falling Edge"));
    ASSERT_EQ(driver->GetTriggerSetting(&trigger), 0);
    EXPECT_EQ(trigger.type, 2);

    // The camera's name.
    asked = false;
    WhenShown<CDlgTextInput>(
        [](CDlgTextInput* dialog) {
            EXPECT_EQ(dialog->GetQWidget()->windowTitle(), "Device Name");
            dialog->SetDlgItemText(CDlgTextInput::kTextId, QStringLiteral("Left Cam"));
            Click(dialog, IDOK);
        },
        &asked);
    Click(&page, CRecordControlPage::kDeviceName);
    ASSERT_TRUE(asked);
    CDeviceDescriptor descriptor;
    device->GetDescriptor(&descriptor);
    EXPECT_EQ(descriptor.m_name, "Left Cam");
    EXPECT_EQ(page.GetDlgItemText(CRecordControlPage::kDeviceName), "Left Cam");

    // Live, Record, then Trigger Stop ends the recording of 200 frames.
    Click(&page, CRecordControlPage::kLive);
    EXPECT_EQ(device->GetMode(), kModeLive);
    Click(&page, CRecordControlPage::kRecord);
    EXPECT_EQ(device->GetMode(), kModeArmed);
    // Armed, the camera takes no other resolution (the frame rate stays open on this page).
    EXPECT_FALSE(page.GetDlgItem(CRecordControlPage::kResolution)->IsWindowEnabled());
    Click(&page, CRecordControlPage::kTriggerStop);
    EXPECT_NE(device->IsTriggered(), 0);
    ASSERT_TRUE(WaitFor([&] { return device->GetMode() != kModeArmed; }, 20000))
        << "the recording did not end";
    // All 149 after the trigger frame, and what came before it up to 50.
    int recorded = 0;
    ASSERT_EQ(driver->GetRecordedFrames(&recorded), 0);
    EXPECT_GE(recorded, 149);
    EXPECT_LE(recorded, 200);

    // The options' single record tab off: the next update leaves the record buttons alone.
    auto* store = dynamic_cast<ISettingsStore*>(frame);
    ASSERT_NE(store, nullptr);
    VARIANT off{};
    off.vt = VT_I4;
    off.lVal = 0;
    ASSERT_EQ(store->SetSetting(QStringLiteral("ReccCP:SingleRecordTab"), off, -1), S_OK);
    ChooseFromDropDown(&page, CRecordControlPage::kFrameRate, QStringLiteral("1000"));
    EXPECT_FALSE(page.GetDlgItem(CRecordControlPage::kFrameRate)->GetQWidget()->isVisible());
    EXPECT_FALSE(page.GetDevicesTab().GetQWidget()->isVisible());
    EXPECT_TRUE(page.GetRecordTab().GetQWidget()->isVisible());
    EXPECT_TRUE(page.GetRecordTab().GetDlgItem(CRecordTab::kIdle)->GetQWidget()->isVisible());
}

}  // namespace
