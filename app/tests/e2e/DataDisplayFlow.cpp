#include "app/tests/e2e/E2eSupport.h"
#include "platform/controls/GraphWidget.h"
#include "platform/framework/Button.h"
#include "platform/framework/Menu.h"
#include "platform/registry/Registry.h"
#include "sensordata/DataDisplayDlg.h"
#include "sensordata/FormatSettingsDlg.h"
#include "sensordata/GraphConfigDlg.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SensorResourceIds.h"
#include "shell/MainFrame.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QTest>

#include <cmath>
#include <functional>

// A user opens a data file in the data display from the Tools menu, steps the cursor and drags
// it, sets a channel's label, units and factor in the format settings, and turns on the scaled
// view in the graph configuration; the read-out follows each step.

namespace {

constexpr int kScans = 200;
constexpr int kZero = 50;

// Two channels at 100 Hz: channel 0 a ramp, channel 1 a sine.
QString WriteDataFile(const QString& path) {
    CSensorDataSet set;
    if (set.Init(2, kScans, 1, 100.0, kZero) != S_OK)
        return QString();
    CVidraData* d = set.GetData();
    for (int s = 0; s < kScans; ++s) {
        (*d->ChannelSamples(0))[s] = 0.01f * s;
        (*d->ChannelSamples(1))[s] = std::sin(s * 0.05f);
    }
    return set.Save(path) == S_OK ? path : QString();
}

QStringList ValueLines(CDataDisplayDlg* display) {
    auto* list = static_cast<CListBox*>(display->GetDlgItem(DataDisplayId::kValuesList));
    QStringList lines;
    for (int i = 0; list && i < list->GetCount(); ++i)
        lines << list->GetText(i);
    return lines;
}

int CountColour(const QImage& shot, QRgb colour) {
    int count = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            count += (shot.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return count;
}

using DataDisplayFlow = ProgramTest;

TEST_F(DataDisplayFlow, ToolsDataDisplayPlotsStepsAndFollowsTheSettings) {
    const QString file = WriteDataFile(WorkPath(QStringLiteral("run.mdat")));
    ASSERT_FALSE(file.isEmpty());
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());

    Prompter().AnswerFileDialog({file});
    QAction* open = MenuAction(window, QStringLiteral("Tools/Data Display..."));
    ASSERT_NE(open, nullptr);
    open->trigger();
    CDataDisplayDlg* display = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        display = FindWindowOf<CDataDisplayDlg>();
        return display && display->GetQWidget()->isVisible();
    })) << "no data display";
    EXPECT_EQ(display->GetQWidget()->windowTitle(), QStringLiteral("Data Display - run.mdat"));
    EXPECT_EQ(display->GetDlgItemText(DataDisplayId::kIndexField), QStringLiteral("-50"));
    EXPECT_EQ(ValueLines(display), QStringList({"Ch0 ():", "0.0000 V", "Ch1 ():", "0.0000 V"}));

    // Both channels are drawn in their colours on the black plot area.
    auto* graph = display->GetQWidget()->findChild<CGraphWidget*>();
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->AxisCaption(GraphAxis::X), QStringLiteral("Frame-Data Index"));
    EXPECT_TRUE(WaitFor([&] {
        const QImage shot = GrabFromScreen(window, graph);
        return CountColour(shot, qRgb(0, 255, 0)) > 50 && CountColour(shot, qRgb(255, 0, 0)) > 50;
    })) << "the channels are not on the screen";

    // Fwd steps one sample; a drag in the graph puts the cursor under the mouse.
    Click(display, DataDisplayId::kFwd);
    EXPECT_EQ(display->GetDlgItemText(DataDisplayId::kIndexField), QStringLiteral("-49"));
    EXPECT_EQ(display->GetDlgItemText(DataDisplayId::kTimeField), QStringLiteral("-0.4900"));
    const QPoint at = graph->ToPixel(100 - kZero, 0.5, graph->size()).toPoint();
    QTest::mousePress(graph, Qt::LeftButton, {}, at);
    QTest::mouseRelease(graph, Qt::LeftButton, {}, at);
    EXPECT_NEAR(display->GetDlgItemText(DataDisplayId::kIndexField).toInt(), 50, 1);

    // Format Settings from the context menu: channel 0 becomes "Stroke" in mm, factor 2.
    bool offered = false;
    const PopupMenuTracker previous =
        AfxSetPopupMenuTracker([&](QMenu* menu, const QPoint&) -> QAction* {
            for (QAction* action : menu->actions())
                if (PlainMenuText(action->text()) == QStringLiteral("Format Settings...")) {
                    offered = action->isEnabled();
                    return offered ? action : nullptr;
                }
            return nullptr;
        });
    bool settingsShown = false;
    WhenShown<CFormatSettingsDlg>(
        [](CFormatSettingsDlg* settings) {
            EXPECT_EQ(settings->GetQWidget()->windowTitle(), QStringLiteral("Format Settings"));
            settings->SetDlgItemText(FormatSettingsId::kLabel, QStringLiteral("Stroke"));
            settings->SetDlgItemText(FormatSettingsId::kUnits, QStringLiteral("mm"));
            settings->SetDlgItemText(FormatSettingsId::kFactor, QStringLiteral("2"));
            Click(settings, IDOK);
        },
        &settingsShown);
    QWidget* surface = display->GetQWidget();
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                              surface->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(surface, &request);
    AfxSetPopupMenuTracker(previous);
    ASSERT_TRUE(offered) << "the context menu offers no format settings";
    ASSERT_TRUE(WaitFor([&] { return settingsShown; }));
    const int index = display->GetDlgItemText(DataDisplayId::kIndexField).toInt();
    const int scan = index + kZero;
    EXPECT_EQ(ValueLines(display).value(0), QStringLiteral("Ch0 (Stroke):"));

    // The graph configuration turns the scaled view on: seconds, and the factor applied.
    bool configShown = false;
    WhenShown<CGraphConfigDlg>(
        [](CGraphConfigDlg* config) {
            EXPECT_EQ(config->GetQWidget()->windowTitle(), QStringLiteral("Graph Configuration"));
            config->CheckDlgButton(GraphConfigId::kScaledView, BST_CHECKED);
            Click(config, IDOK);
        },
        &configShown);
    Click(display, DataDisplayId::kConfigure);
    ASSERT_TRUE(WaitFor([&] { return configShown; }));
    EXPECT_EQ(graph->AxisCaption(GraphAxis::X), QStringLiteral("Time (seconds)"));
    EXPECT_EQ(ValueLines(display).value(1),
              QString::asprintf("%6.4f mm", 2.0 * double(0.01f * float(scan))));

    // The settings were kept for the next run.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tolvar\\Vidra\\Stamping\\Label", 0,
                           KEY_READ, &key),
              ERROR_SUCCESS);
    QString label;
    EXPECT_EQ(RegQueryString(key, QStringLiteral("Channel 1"), &label), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(label, QStringLiteral("Stroke"));
}

// The peak of the process's resident memory so far, in kB.
long PeakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// 814 bytes: no stored channel, every channel off, no labels or units, marker -1, and a total
// of 2^31-1 scans that no array holds.
QByteArray NoChannelsClaimingScans() {
    QByteArray b("\x01\x00", 2);
    b += QByteArray(4 + 256 + 24, '\0');
    for (int i = 0; i < 64; ++i)
        b += QByteArray("\x00\x00\x80\x3F", 4);
    b += QByteArray(256 + 2 + 2, '\0');
    b += QByteArray("\xFF\xFF\xFF\xFF\x00\x00\x00\x00\xFF\xFF\xFF\x7F", 12);
    return b;
}

TEST_F(DataDisplayFlow, AFileClaimingScansThatNoChannelHoldsFailsToOpen) {
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    QAction* open = MenuAction(window, QStringLiteral("File/Open Data File..."));
    ASSERT_NE(open, nullptr);
    const QByteArray hostile = NoChannelsClaimingScans();
    ASSERT_EQ(hostile.size(), 814);
    const long peakBefore = PeakResidentKb();
    // The whole file and its cuts inside the header, the strings and the last word.
    for (const int size : {814, 813, 810, 802, 300, 6, 0}) {
        SCOPED_TRACE(size);
        const QString path = WorkPath(QStringLiteral("hostile%1.mdat").arg(size));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(hostile.left(size));
        file.close();
        const size_t prompts = Prompter().Prompts().size();
        Prompter().AnswerFileDialog({path});
        Prompter().ExpectMessageBox(QStringLiteral("Failed to open document %1.").arg(path), IDOK);
        open->trigger();
        ASSERT_TRUE(WaitFor([&] { return Prompter().Prompts().size() == prompts + 2; }))
            << "no failed open said";
        EXPECT_EQ(FindWindowOf<CDataDisplayDlg>(), nullptr);
    }
    EXPECT_LT(PeakResidentKb() - peakBefore, 100 * 1024);
}

}  // namespace
