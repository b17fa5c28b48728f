#include "app/tests/e2e/E2eSupport.h"
#include "app/tests/e2e/SimulatedDeviceTest.h"
#include "devices/CamFrm.h"
#include "devices/CamRecordPanel.h"
#include "devices/CamView.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "devices/sim/SimCamera.h"
#include "groups/GeneralFrame.h"
#include "groups/MeasurementFormFrame.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/Menu.h"
#include "shell/MainFrame.h"
#include "shell/NumberEntryDlg.h"
#include "shell/SliderNumberDlg.h"
#include "views/StreamWnd.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMainWindow>
#include <QTest>

#include <cstring>
#include <functional>
#include <vector>

// A user opens a simulated camera from File/Open Camera; its window carries the record pages
// (their record controller comes later; the camera window is where they stand meanwhile). The
// user puts the camera live on the Record page, sets the pre-trigger count on Trigger Adjust,
// marks a region on the live picture where the moving square will pass on Smart Trigger, with
// a rising level only the square reaches, and records: the camera triggers itself when the
// square enters the region. The Devices page lists the camera and takes a second one, and the
// Analysis page says that no analysis program is there. A play group's control panel has the
// Analysis page too.

namespace {

// The frame number the camera shows now.
int64_t CurrentFrame(CDevice& device) {
    DriverImageFormat format;
    EXPECT_EQ(device.GetImageFormat(&format), 0);
    std::vector<unsigned char> buffer(static_cast<size_t>(format.rowBytes) * format.height);
    int64_t frame = -1;
    EXPECT_EQ(
        device.Driver()->ReadLiveFrame(buffer.data(), static_cast<int64_t>(buffer.size()), &frame),
        0);
    return frame;
}

// A user's choice of entry text in a drop-down list.
void Choose(CComboBox& box, const QString& text) {
    auto* combo = qobject_cast<QComboBox*>(box.GetQWidget());
    ASSERT_NE(combo, nullptr);
    box.ShowDropDown(TRUE);
    box.ShowDropDown(FALSE);
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

QStringList TreeTexts(CTreeCtrl& tree) {
    QStringList texts;
    const std::function<void(HTREEITEM)> walk = [&](HTREEITEM item) {
        for (; item; item = tree.GetNextSiblingItem(item)) {
            texts << tree.GetItemText(item);
            walk(tree.GetChildItem(item));
        }
    };
    walk(tree.GetRootItem());
    return texts;
}

class RecordPagesFlow : public SimulatedDeviceTest {
protected:
    RecordPagesFlow() : SimulatedDeviceTest(2, 0, 0) {}
};

TEST_F(RecordPagesFlow, ACameraRecordsWhenTheSquareEntersItsVideoTriggerRegion) {
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
    QStringList tabs;
    for (int i = 0; i < bar.GetTabCount(); ++i)
        tabs << bar.GetTabCtrl().GetItemText(i);
    EXPECT_EQ(tabs, QStringList({"Record", "Trigger Adjust", "Smart Trigger", "Devices",
                                 "Data Trigger", "Analysis"}));
    CDevice* device = view->GetDevice();
    ASSERT_NE(device, nullptr);
    CRecordGroup& group = panel->GetGroup();
    ASSERT_EQ(group.GetDeviceCount(), 1);

    // Record page: the camera goes live.
    CRecordTab& record = panel->GetRecordTab();
    EXPECT_TRUE(record.GetQWidget()->isVisible());
    Click(&record, CRecordTab::kLive);
    EXPECT_EQ(group.GetState(), CRecordGroup::kLive);
    EXPECT_EQ(device->GetMode(), kModeLive);

    // Trigger Adjust: 50 frames before the trigger, asked for on the pre-trigger button.
    bar.SelectTabByName(QStringLiteral("Trigger Adjust"));
    CTriggerAdjustTab& trigger = panel->GetTriggerAdjustTab();
    ASSERT_TRUE(WaitFor([&] {
        return trigger.GetQWidget()->isVisible() &&
               trigger.GetDlgItem(CTriggerAdjustTab::kPreTriggerButton)->IsWindowEnabled();
    }));
    int maxFrames = 0;
    ASSERT_EQ(device->Driver()->GetMaxFrames(&maxFrames), 0);
    bool asked = false;
    WhenShown<CSliderNumberDlg>(
        [&](CSliderNumberDlg* dialog) {
            EXPECT_EQ(dialog->GetQWidget()->windowTitle(), "Pre-Trigger");
            dialog->SetDlgItemText(CSliderNumberDlg::kValueId, QStringLiteral("50"));
            Click(dialog, IDOK);
        },
        &asked);
    Click(&trigger, CTriggerAdjustTab::kPreTriggerButton);
    ASSERT_TRUE(asked);
    EXPECT_EQ(trigger.GetDlgItemText(CTriggerAdjustTab::kPreFrames), "50");
    EXPECT_EQ(trigger.GetDlgItemText(CTriggerAdjustTab::kPostFrames),
              QString::number(maxFrames - 51));

    // Smart Trigger: a region where the square will stand three seconds from now (it may pass
    // it sooner), inside it with room to spare, drawn on the live picture.
    bar.SelectTabByName(QStringLiteral("Smart Trigger"));
    CVideoTriggerTab& smart = panel->GetVideoTriggerTab();
    ASSERT_TRUE(WaitFor([&] { return smart.GetQWidget()->isVisible(); }));
    int width = 0;
    int height = 0;
    ASSERT_EQ(device->GetResolution(&width, &height), 0);
    const int64_t target = CurrentFrame(*device) + 3000;
    int squareX = 0;
    int squareY = 0;
    CSimCamera::SquareAt(target, width, height, &squareX, &squareY);
    CStreamWnd* stream = view->GetStreamWnd();
    QWidget* picture = stream->GetQWidget();
    const CPoint from = stream->ImageToClient(squareX + 10, squareY + 10, CPanZoomView::kMapCorner);
    const CPoint to = stream->ImageToClient(squareX + 22, squareY + 22, CPanZoomView::kMapCorner);
    ASSERT_GT(to.x, from.x) << "the picture is too small to draw on";
    // With the reticle out of the way, as a drag would move it instead.
    bool reticle = false;
    view->IsReticleShown(&reticle);
    if (reticle) {
        ASSERT_TRUE(ChooseFromContextMenu(picture, QStringLiteral("Show Reticle")));
    }
    Click(&smart, CVideoTriggerTab::kDefineRegion);
    QTest::mousePress(picture, Qt::LeftButton, Qt::NoModifier, QPoint(from.x, from.y));
    QTest::mouseMove(picture, QPoint(to.x, to.y));
    QTest::mouseRelease(picture, Qt::LeftButton, Qt::NoModifier, QPoint(to.x, to.y));
    double edges[4] = {};
    ASSERT_EQ(view->GetSelection(&edges[0], &edges[1], &edges[2], &edges[3]), S_OK);
    const CRect region(static_cast<int>(edges[0]), static_cast<int>(edges[1]),
                       static_cast<int>(edges[2]), static_cast<int>(edges[3]));
    ASSERT_GE(region.Width(), 6) << "the drag selected too little";
    Click(&smart, CVideoTriggerTab::kSetRegion);
    const QString level = smart.GetDlgItemText(CVideoTriggerTab::kLevelText);
    EXPECT_TRUE(level.startsWith("Video Trigger Level : ")) << level.toStdString();
    bool measured = false;
    level.mid(22).toDouble(&measured);
    EXPECT_TRUE(measured) << "no level after " << level.toStdString();

    // Only the square's white reaches a rising level of 250 (the background never does).
    bool entered = false;
    WhenShown<CNumberEntryDlg>(
        [&](CNumberEntryDlg* dialog) {
            EXPECT_EQ(dialog->GetQWidget()->windowTitle(), "Rising Level");
            EXPECT_EQ(dialog->GetDlgItemText(CNumberEntryDlg::kPromptId), "Desired Rising Level :");
            dialog->SetDlgItemText(CNumberEntryDlg::kValueId, QStringLiteral("250"));
            Click(dialog, IDOK);
        },
        &entered);
    Choose(*static_cast<CComboBox*>(smart.GetDlgItem(CVideoTriggerTab::kRisingCombo)),
           QStringLiteral("User..."));
    ASSERT_TRUE(WaitFor([&] { return entered; }));
    int rising = 0;
    device->Driver()->GetVideoTriggerItem(kVideoTriggerRising, &rising);
    EXPECT_EQ(rising, 250);

    // Record: armed, the camera waits for the square; its trigger frame is the target's.
    bar.SelectTabByName(QStringLiteral("Record"));
    Click(&record, CRecordTab::kRecord);
    ASSERT_EQ(group.GetState(), CRecordGroup::kRecord);
    EXPECT_TRUE(record.GetDlgItem(CRecordTab::kTrigger)->IsWindowEnabled());
    EXPECT_EQ(device->IsTriggered(), 0) << "triggered before the square came";
    ASSERT_TRUE(WaitFor([&] { return device->IsTriggered() != 0; }, 20000))
        << "the square never triggered the camera";
    ASSERT_TRUE(WaitFor([&] { return group.GetState() != CRecordGroup::kRecord; }, 20000))
        << "the recording did not end";
    int triggerIndex = -1;
    ASSERT_EQ(device->Driver()->GetTriggerIndex(&triggerIndex), 0);
    EXPECT_EQ(triggerIndex, 50);
    std::vector<unsigned char> frameBytes(static_cast<size_t>(DriverRowBytes(width, 8)) * height);
    ASSERT_EQ(device->Driver()->ReadMemoryFrame(triggerIndex, frameBytes.data(),
                                                static_cast<int64_t>(frameBytes.size())),
              0);
    uint32_t triggerFrame = 0;
    std::memcpy(&triggerFrame, frameBytes.data(), 4);
    EXPECT_LE(triggerFrame, target + 1) << "the square stood in the region at the target";
    // The recorded pictures: the square fills the region in the trigger frame, not before.
    const auto regionMean = [&](int index) {
        EXPECT_EQ(device->Driver()->ReadMemoryFrame(index, frameBytes.data(),
                                                    static_cast<int64_t>(frameBytes.size())),
                  0);
        double sum = 0;
        for (int y = region.top; y < region.bottom; ++y)
            for (int x = region.left; x < region.right; ++x)
                sum += frameBytes[static_cast<size_t>(y) * DriverRowBytes(width, 8) + x];
        return sum / (region.Width() * region.Height());
    };
    EXPECT_GE(regionMean(triggerIndex), 250.0);
    EXPECT_LT(regionMean(triggerIndex - 1), 250.0);

    // Devices: the camera with its parameters; Add Camera takes the second one.
    bar.SelectTabByName(QStringLiteral("Devices"));
    CDevicesTab& devices = panel->GetDevicesTab();
    ASSERT_TRUE(WaitFor([&] { return devices.GetQWidget()->isVisible(); }));
    CDeviceDescriptor descriptor;
    device->GetDescriptor(&descriptor);
    EXPECT_EQ(TreeTexts(devices.GetTree()),
              QStringList({"Devices", descriptor.m_name, "Rate 1000.00 Hz",
                           QStringLiteral("Resolution %1 x%2").arg(width).arg(height),
                           "Exposure 500.00 usec"}));
    bool added = false;
    SelectDeviceWhenShown(1, &added);
    QWidget* addCamera = devices.GetAddCameraButton().GetQWidget();
    QTest::mouseClick(addCamera, Qt::LeftButton, Qt::NoModifier, addCamera->rect().center());
    ASSERT_TRUE(WaitFor([&] { return added; })) << "Add Camera asked for no device";
    EXPECT_EQ(group.GetDeviceCount(), 2);
    EXPECT_TRUE(WaitFor([&] {
        const QStringList texts = TreeTexts(devices.GetTree());
        return texts.size() == 9 && texts[5] == "Simulated camera 2";
    })) << TreeTexts(devices.GetTree()).join(" | ").toStdString();

    // Analysis: no analysis program ships.
    bar.SelectTabByName(QStringLiteral("Analysis"));
    ASSERT_TRUE(WaitFor([&] { return panel->GetAnalysisTab().GetQWidget()->isVisible(); }));
    Prompter().ExpectMessageBox(QStringLiteral("An error occurred trying to launch analysis."),
                                IDOK);
    Click(&panel->GetAnalysisTab(), CAnalysisTab::kLaunchButton);
}

TEST_F(RecordPagesFlow, APlayGroupsAnalysisPageStandsInItsProjectsControlPanel) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    CGeneralFrame* project = nullptr;
    CMeasurementFormFrame* group = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        project = FindWindowOf<CGeneralFrame>();
        group = FindWindowOf<CMeasurementFormFrame>();
        return project && group;
    })) << "no play group in a project";
    CControlPanelBar& bar = project->GetControlPanelBar();
    ASSERT_TRUE(WaitFor([&] { return bar.GetQWidget()->isVisible(); })) << "no control panel";
    bar.SelectTabByName(QStringLiteral("Analysis"));
    CAnalysisTab& analysis = group->GetAnalysisTab();
    ASSERT_TRUE(WaitFor([&] { return analysis.GetQWidget()->isVisible(); }))
        << "the Analysis page does not show";
    Prompter().ExpectMessageBox(QStringLiteral("An error occurred trying to launch analysis."),
                                IDOK);
    Click(&analysis, CAnalysisTab::kLaunchButton);
}

}  // namespace
