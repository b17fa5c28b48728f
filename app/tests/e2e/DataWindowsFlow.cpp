#include "app/tests/e2e/E2eSupport.h"
#include "app/tests/e2e/SimulatedDeviceTest.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "groups/GeneralView.h"
#include "platform/controls/GraphWidget.h"
#include "platform/excel/tests/XlsxReader.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/Menu.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/DataDeviceRegistry.h"
#include "sensordata/DataDisplayDlg.h"
#include "sensordata/DataPlayView.h"
#include "sensordata/DataQNPlayFrameVCF.h"
#include "sensordata/DataQNSensorFrameVCF.h"
#include "sensordata/DataSensorView.h"
#include "sensordata/TestTriggerDlg.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SensorResourceIds.h"
#include "shell/DlgTextInput.h"
#include "shell/MainFrame.h"
#include "testsupport/OpenedFiles.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>

// A user opens data files from File/Open Data File: each shows in a data window of a play
// group, with its graph and its play bar; the cursor dragged in the graph moves the play bar,
// the bar's step moves the cursor, and a damaged file is refused. Then, from Tools/Data
// Sensor, the user picks a simulated data card in Device Selection and watches its live data
// in a sensor window of the play project, renames the card from the window's context menu and
// shows its test trigger.

namespace {

// Two channels at 1000 scans/s, 10 scans per frame, zero point at scan 100: a ramp and a sine.
QString WriteDataFile(const QString& path) {
    CSensorDataSet set;
    if (set.Init(2, 1000, 10, 1000.0, 100) != S_OK)
        return QString();
    CVidraData* d = set.GetData();
    for (int s = 0; s < 1000; ++s) {
        (*d->ChannelSamples(0))[s] = 0.002f * s;
        (*d->ChannelSamples(1))[s] = std::sin(s * 0.02f);
    }
    const HRESULT written =
        path.endsWith(QLatin1String(".au2")) ? set.ExportText(path) : set.Save(path);
    return written == S_OK ? path : QString();
}

std::vector<CDataPlayView*> DataViews() {
    std::vector<CDataPlayView*> views;
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* view = dynamic_cast<CDataPlayView*>(CWnd::FromWidgetPermanent(widget)))
            views.push_back(view);
    return views;
}

// Opens path with File/Open Data File...; refusal, when given, is the message that follows.
void OpenDataFile(ScriptedPrompter& prompter, QMainWindow* window, const QString& path,
                  const QString& refusal = QString()) {
    prompter.AnswerFileDialog({path});
    if (!refusal.isEmpty())
        prompter.ExpectMessageBox(refusal, IDOK);
    QAction* open = MenuAction(window, QStringLiteral("File/Open Data File..."));
    ASSERT_NE(open, nullptr);
    open->trigger();
}

using DataWindowsFlow = ProgramTest;

TEST_F(DataWindowsFlow, DataFilesOpenInAPlayGroupsDataWindowWithItsPlayBar) {
    const QString mdat = WriteDataFile(WorkPath(QStringLiteral("run.mdat")));
    const QString au2 = WriteDataFile(WorkPath(QStringLiteral("bench.au2")));
    ASSERT_FALSE(mdat.isEmpty());
    ASSERT_FALSE(au2.isEmpty());
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());

    OpenDataFile(Prompter(), window, mdat);
    CDataPlayView* view = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        view = DataViews().empty() ? nullptr : DataViews().front();
        return view && view->GetQWidget()->isVisible();
    })) << "no data window";
    auto* dataFrame = dynamic_cast<CDataQNPlayFrameVCF*>(view->GetParentFrame());
    ASSERT_NE(dataFrame, nullptr);
    EXPECT_EQ(dataFrame->GetWindowText(), QStringLiteral("run.mdat"));
    EXPECT_EQ(view->GetSourceType(), CPlaybackView::kDataMember) << "a member of a play group";
    EXPECT_EQ(view->GetFrameCount(), 1000);

    // The graph shows both channels; the play bar carries its icons and the time.
    CDataDisplayDlg* display = view->GetPanelHost().GetDataDisplay();
    ASSERT_NE(display, nullptr);
    auto* graph = display->GetQWidget()->findChild<CGraphWidget*>();
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->PlotCount(), 2);
    EXPECT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, graph)) > 5; }))
        << "no traces on the screen";
    CDataPlayBar& bar = dataFrame->GetPlayBar();
    ASSERT_TRUE(bar.IsVisible());
    for (int id : {2001, 2002, 2003, 2004, 2005, 2009, 2010}) {
        auto* button = qobject_cast<QAbstractButton*>(bar.GetDlgItem(id)->GetQWidget());
        ASSERT_NE(button, nullptr) << id;
        EXPECT_FALSE(button->icon().isNull()) << id;
        EXPECT_TRUE(button->isVisible()) << id;
    }

    // The cursor dragged in the graph moves the play bar; the bar's step moves the cursor.
    const QPoint at = graph->ToPixel(400, 0.5, graph->size()).toPoint();
    QTest::mousePress(graph, Qt::LeftButton, {}, at);
    QTest::mouseRelease(graph, Qt::LeftButton, {}, at);
    const int scan = display->GetCursorIndex();
    EXPECT_NEAR(scan, 500, 3);
    EXPECT_EQ(view->GetCurrentFrame(), scan);
    EXPECT_EQ(bar.GetDlgItemText(DataPlayBarId::kTimeField),
              QString::asprintf("%5.4f", (scan - 100) / 1000.0));
    Click(&bar, 2005);
    EXPECT_EQ(display->GetCursorIndex(), scan + 1);
    EXPECT_EQ(bar.GetDlgItemInt(DataPlayBarId::kFrameField, nullptr, TRUE), scan + 1 - 100);

    // A text data file opens the same way; a damaged one is refused and says so.
    OpenDataFile(Prompter(), window, au2);
    ASSERT_TRUE(WaitFor([&] { return DataViews().size() == 2; })) << "no second data window";
    const QString damaged = WorkPath(QStringLiteral("damaged.mdat"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x01\x00\x40\x00not data");
    file.close();
    OpenDataFile(Prompter(), window, damaged,
                 QStringLiteral("Failed to open document %1.").arg(damaged));
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(DataViews().size(), 2u);
}

// The data window on top of its play group exports from the Playback menu: to a text file and,
// headed in real units, to a workbook; both hold the same numbers.
TEST_F(DataWindowsFlow, TheDataWindowOnTopExportsToTextAndToAWorkbook) {
    OpenedFiles opened;
    const QString mdat = WriteDataFile(WorkPath(QStringLiteral("run.mdat")));
    ASSERT_FALSE(mdat.isEmpty());
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    OpenDataFile(Prompter(), window, mdat);
    ASSERT_TRUE(WaitFor([&] { return !DataViews().empty(); })) << "no data window";
    CDataPlayView* view = DataViews().front();
    view->GetParentFrame()->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    const QString text = WorkPath(QStringLiteral("run.au2"));
    const QString book = WorkPath(QStringLiteral("run.xlsx"));
    QAction* toText = FindItem(window, QStringLiteral("Playback/Export To Text..."));
    QAction* toExcel = FindItem(window, QStringLiteral("Playback/Export To Excel..."));
    ASSERT_NE(toText, nullptr);
    ASSERT_NE(toExcel, nullptr);
    Prompter().AnswerFileDialog({text});
    MenuAction(window, QStringLiteral("Playback/Export To Text..."))->trigger();
    Prompter().ExpectMessageBox(
        QStringLiteral("Would you like to Export the data using real units?"), IDYES);
    Prompter().AnswerFileDialog({book});
    MenuAction(window, QStringLiteral("Playback/Export To Excel..."))->trigger();
    ASSERT_TRUE(WaitFor([&] { return opened.paths.contains(book); })) << "no workbook shown";

    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 11 + 1000);
    XlsxReader reader;
    ASSERT_TRUE(reader.Open(book));
    const auto cells = reader.Cells(1);
    int heading = -1;
    for (const auto& [name, cell] : cells)
        if (name.startsWith('A') && cell.value == "Index")
            heading = name.mid(1).toInt();
    ASSERT_GT(heading, 0);
    EXPECT_EQ(cells.at(QString("C%1").arg(heading)).value, "Ch. 0 (units)");
    for (int s = 0; s < 1000; ++s) {
        const QStringList fields = lines[11 + s].split('\t', Qt::SkipEmptyParts);
        ASSERT_EQ(fields.size(), 4);
        for (int column = 0; column < 4; ++column) {
            const QString name = QString("%1%2").arg(QChar('A' + column)).arg(heading + 1 + s);
            ASSERT_EQ(cells.count(name), 1u) << name.toStdString();
            const double inText = fields[column].trimmed().toDouble();
            EXPECT_NEAR(cells.at(name).value.toDouble(), inText,
                        1e-6 * std::max(1.0, std::fabs(inText)))
                << name.toStdString();
        }
    }
}

class LiveSensorFlow : public SimulatedDeviceTest {
protected:
    LiveSensorFlow() : SimulatedDeviceTest(0, 0, 1) {}
};

TEST_F(LiveSensorFlow, ADataCardFromDeviceSelectionShowsLiveInASensorWindow) {
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    QAction* open = MenuAction(window, QStringLiteral("Tools/Data Sensor..."));
    ASSERT_NE(open, nullptr);

    bool selected = false;
    WhenShown<CDeviceSelectionDlg>(
        [&](CDeviceSelectionDlg* dialog) {
            EXPECT_EQ(dialog->GetDeviceKind(), 0) << "the sensor side asks for no kind";
            auto* families =
                static_cast<CListBox*>(dialog->GetDlgItem(CDeviceSelectionDlg::kFamilyList));
            for (int i = 0; i < families->GetCount(); ++i) {
                if (families->GetText(i) == QStringLiteral("Simulated data card"))
                    families->SetCurSel(i);
            }
            Click(dialog, CDeviceSelectionDlg::kScan);
            auto* devices =
                static_cast<CListBox*>(dialog->GetDlgItem(CDeviceSelectionDlg::kDeviceList));
            devices->SetCurSel(0);
            Click(dialog, IDOK);
        },
        &selected);
    open->trigger();
    ASSERT_TRUE(WaitFor([&] { return selected; })) << "no Device Selection";

    CDataSensorView* view = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        view = FindWindowOf<CDataSensorView>();
        return view && view->GetQWidget()->isVisible();
    })) << "no sensor window";
    auto* sensorFrame = dynamic_cast<CDataQNSensorFrameVCF*>(view->GetParentFrame());
    ASSERT_NE(sensorFrame, nullptr);
    EXPECT_NE(dynamic_cast<CGeneralView*>(sensorFrame->GetParentView()), nullptr)
        << "the window lives in a play project";
    EXPECT_EQ(sensorFrame->GetWindowText(), QStringLiteral("Simulated data card 1"));
    auto* card = dynamic_cast<CDataAcqWnd*>(view->GetDevice());
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->IsAcquiring(), 1);

    // The card's traces move in the window.
    auto* graph = view->GetPanelHost().GetDataDisplay()->GetQWidget()->findChild<CGraphWidget*>();
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, graph)) > 5; }))
        << "no traces on the screen";
    const QImage first = GrabFromScreen(window, graph);
    EXPECT_TRUE(WaitFor([&] { return GrabFromScreen(window, graph) != first; }))
        << "the traces stand still";

    // Active, the window's card is the current data device.
    int handle = -1;
    card->GetHandle(&handle);
    sensorFrame->SendMessage(WM_CHILDACTIVATE);
    EXPECT_TRUE(WaitFor([&] { return GetCurrentDataDevice() == handle; }));

    // The context menu renames the card.
    QWidget* surface = view->GetPanelHost().GetDataDisplay()->GetQWidget();
    bool asked = false;
    WhenShown<CDlgTextInput>(
        [&](CDlgTextInput* dialog) {
            EXPECT_EQ(dialog->GetQWidget()->windowTitle(), QStringLiteral("Device Name"));
            EXPECT_EQ(dialog->GetDlgItemText(CDlgTextInput::kPromptId),
                      QStringLiteral("Please enter the device name."));
            dialog->SetDlgItemText(CDlgTextInput::kTextId, QStringLiteral("Rig card"));
            Click(dialog, IDOK);
        },
        &asked);
    EXPECT_EQ(
        ChooseFromContextMenu(surface, QStringLiteral("Change Device Name"), QPoint(20, 40)).items,
        QStringList({"Change Device Name", "Device Information", "Show Test Trigger Dialog"}));
    ASSERT_TRUE(WaitFor([&] { return asked; })) << "no name asked";
    EXPECT_TRUE(WaitFor([&] { return sensorFrame->GetWindowText() == "Rig card"; }));

    // And shows its test trigger.
    ChooseFromContextMenu(surface, QStringLiteral("Show Test Trigger Dialog"), QPoint(20, 40));
    ASSERT_NE(card->GetTestTrigger(), nullptr);
    EXPECT_TRUE(WaitFor([&] { return card->GetTestTrigger()->GetQWidget()->isVisible(); }));
}

}  // namespace
