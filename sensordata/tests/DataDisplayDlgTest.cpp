#include "platform/controls/GraphWidget.h"
#include "platform/framework/ResourceChain.h"
#include "sensordata/DataDisplayDlg.h"
#include "sensordata/FormatSettingsDlg.h"
#include "sensordata/ReadoutDelegate.h"
#include "sensordata/model/VidraData.h"
#include "sensordata/tests/RecordingGraph.h"
#include "sensorres/SensorResourceIds.h"
#include "sensorres/SondrelModule.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QListWidget>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>

#include <functional>
#include <vector>

#include <sys/resource.h>

namespace {

constexpr int kScans = 4;

// The process's largest resident size so far.
long PeakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Channels 2 and 5 on, four scans at 100 Hz, zero point 1, second origin 3; channel 5 is
// "Stroke" in mm with factor 2 and offset 1.
class DataDisplayDlgTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(RmResourceModule());
        m_data.m_onFlags[2] = 1;
        m_data.m_onFlags[5] = 1;
        m_data.m_channels = {{1, 2, 3, 4}, {10, 20, 30, 40}};
        m_data.m_nTotalScans = kScans;
        m_data.m_nScanRate = 100;
        m_data.m_nScansPerFrame = 1;
        m_data.m_nFrameCount = kScans;
        m_data.m_nZP = 1;
        m_data.m_nSecondOrigin = 3;
        m_settings.m_displayed[5] = true;
        m_settings.m_labels[5] = QStringLiteral("Stroke");
        m_settings.m_units[5] = QStringLiteral("mm");
        m_settings.m_factors[5] = 2.0f;
        m_settings.m_offsets[5] = 1.0f;
        m_settings.m_nCaptionChannel = 5;
        m_dlg.SetGraph(&m_graph);
        m_dlg.SetFormatSettings(&m_settings);
        m_dlg.SetCursorCallback(
            [](void* context, int index) {
                static_cast<std::vector<int>*>(context)->push_back(index);
            },
            &m_notified);
    }
    void TearDown() override {
        if (m_dlg.GetSafeHwnd())
            m_dlg.DestroyWindow();
        CResourceChain::RemoveModule(RmResourceModule());
        IsolatedTest::TearDown();
    }
    void CreateWindow() {
        ASSERT_TRUE(m_dlg.Create(nullptr, &m_data));
        m_notified.clear();
    }
    void Click(int id) {
        CWnd* button = m_dlg.GetDlgItem(id);
        ASSERT_NE(button, nullptr) << id;
        qobject_cast<QAbstractButton*>(button->GetQWidget())->click();
    }
    // Whether the screen shows list inside parent as a full repaint of the list would.
    static bool ShownAsRepainted(CWnd& parent, QWidget* list) {
        const QPoint at = list->mapTo(parent.GetQWidget(), QPoint(0, 0));
        const QImage shown = QGuiApplication::primaryScreen()
                                 ->grabWindow(parent.GetQWidget()->winId(), at.x(), at.y(),
                                              list->width(), list->height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        return shown == list->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QStringList ListLines() {
        CListBox* list = static_cast<CListBox*>(m_dlg.GetDlgItem(DataDisplayId::kValuesList));
        QStringList lines;
        for (int i = 0; list && i < list->GetCount(); ++i)
            lines << list->GetText(i);
        return lines;
    }

    // Steps the cursor of a shown read-out through cursors: each time the list reads
    // "Ch5 (Stroke):" and values[cursor], and the window shows what a full repaint of the list
    // shows.
    void ExpectReadoutRepaintsAsCursorSteps(const char* const (&values)[4],
                                            std::initializer_list<int> cursors) {
        CWnd parent;
        ASSERT_TRUE(parent.Create(nullptr, QStringLiteral("panel"), WS_VISIBLE,
                                  CRect(0, 0, 700, 500), nullptr, 0));
        ASSERT_TRUE(m_dlg.Create(&parent, &m_data, SensorRes::kDataDisplayChildTemplate));
        m_dlg.MoveWindow(0, 0, 700, 500);
        m_dlg.ShowWindow(SW_SHOW);
        QCoreApplication::processEvents();
        QWidget* list = m_dlg.GetDlgItem(DataDisplayId::kValuesList)->GetQWidget();
        ASSERT_TRUE(list->isVisible());
        for (const int cursor : cursors) {
            SCOPED_TRACE(cursor);
            m_dlg.SetCursorIndex(cursor, false);
            QCoreApplication::processEvents();
            EXPECT_EQ(ListLines(), QStringList({"Ch5 (Stroke):", values[cursor]}));
            EXPECT_TRUE(ShownAsRepainted(parent, list));
        }
        m_dlg.DestroyWindow();
        parent.DestroyWindow();
    }

    CVidraData m_data;
    CFormatSettingsDlg m_settings;
    CRecordingGraph m_graph;
    CDataDisplayDlg m_dlg{nullptr, &m_data};
    std::vector<int> m_notified;
};

TEST_F(DataDisplayDlgTest, BuildPlotDrawsTheDisplayedChannelsOnly) {
    struct Case {
        int scaled;
        int captionChannel;
        int black;
        std::vector<float> x;
        std::vector<float> y;
        QString yCaption;
        QString xCaption;
        QString gridColors;
        QString plotArea;
    };
    const std::vector<Case> cases = {
        {1,
         5,
         1,
         {-0.01f, 0.0f, 0.01f, 0.02f},
         {21, 41, 61, 81},
         "Stroke (mm)",
         "Time (seconds)",
         "808080 404040",
         "000000"},
        {1,
         2,
         0,
         {-0.01f, 0.0f, 0.01f, 0.02f},
         {21, 41, 61, 81},
         "",
         "Time (seconds)",
         "808080 c0c0c0",
         "ffffff"},
        {0,
         5,
         1,
         {-1, 0, 1, 2},
         {10, 20, 30, 40},
         "",
         "Frame-Data Index",
         "808080 404040",
         "000000"},
    };
    for (const Case& c : cases) {
        m_graph = CRecordingGraph();
        m_settings.m_nScaledView = c.scaled;
        m_settings.m_nCaptionChannel = c.captionChannel;
        m_settings.m_nBlackBackground = c.black;
        m_dlg.BuildPlot();
        SCOPED_TRACE(c.xCaption.toStdString() + " caption channel " +
                     std::to_string(c.captionChannel));
        EXPECT_EQ(m_graph.calls.mid(0, 3),
                  QStringList({"RemoveAllPlots", "RemoveAllCursors", "Caption 2 "}));
        EXPECT_EQ(m_graph.CallsStartingWith("AddPlot").size(), 1);
        EXPECT_EQ(m_graph.CallsStartingWith("PlotColor"),
                  QStringList{QStringLiteral("PlotColor 1 %1")
                                  .arg(CVidraData::DefaultPlotColor(5), 6, 16, QChar('0'))});
        EXPECT_EQ(m_graph.CallsStartingWith("PlotFlag"), QStringList{"PlotFlag 1 1"});
        ASSERT_EQ(m_graph.xs.size(), 1u);
        EXPECT_EQ(m_graph.xs[0], c.x);
        EXPECT_EQ(m_graph.ys[0], c.y);
        EXPECT_EQ(m_graph.CallsStartingWith("Range 1"),
                  QStringList{QStringLiteral("Range 1 %1 %2").arg(c.x.front()).arg(c.x.back())});
        EXPECT_EQ(m_graph.CallsStartingWith("Caption 2").last(), "Caption 2 " + c.yCaption);
        EXPECT_EQ(m_graph.xCaption, c.xCaption);
        EXPECT_EQ(m_graph.CallsStartingWith("PlotArea"), QStringList{"PlotArea " + c.plotArea});
        EXPECT_EQ(m_graph.CallsStartingWith("Grid"),
                  QStringList({"Grid 1 1 1", "GridColors 1 " + c.gridColors, "Grid 2 1 1",
                               "GridColors 2 " + c.gridColors}));
        EXPECT_EQ(m_graph.calls.mid(m_graph.calls.indexOf("AddCursor")),
                  QStringList({"AddCursor", "CursorStyle 1 1 5 0", "CursorEnabled 1 1",
                               QStringLiteral("CursorPosition 1 %1").arg(c.x.front())}));
    }
}

TEST_F(DataDisplayDlgTest, NothingDisplayedLeavesTheXCaption) {
    m_settings.m_displayed.fill(false);
    m_settings.m_nGridLines = 0;
    m_dlg.BuildPlot();
    EXPECT_TRUE(m_graph.CallsStartingWith("AddPlot").isEmpty());
    EXPECT_EQ(m_graph.xCaption, QStringLiteral("before"));
    EXPECT_EQ(m_graph.CallsStartingWith("Grid"), QStringList({"Grid 1 0 0", "Grid 2 0 0"}));
    // A channel that is off is never drawn, displayed or not.
    m_settings.m_displayed[7] = true;
    m_dlg.BuildPlot();
    EXPECT_TRUE(m_graph.CallsStartingWith("AddPlot").isEmpty());
}

// A model whose total claims scans that no drawn array holds: the plot takes what is drawn,
// with nothing drawn it holds nothing, and the steps stay where the cursor is.
TEST_F(DataDisplayDlgTest, ThePlotHoldsTheDrawnScansOnly) {
    struct Case {
        const char* name;
        bool arrays;     // channels 2 and 5 keep their four samples
        bool displayed;  // channel 5 is displayed
        int totalScans;
        int plotted;
    };
    const Case cases[] = {
        {"arrays, none displayed", true, false, 1 << 26, 0},
        {"a displayed array of four", true, true, 1 << 26, 4},
        {"total below the arrays", true, true, 3, 3},
        {"no stored array", false, false, 1 << 26, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.arrays) {
            m_data.m_onFlags.fill(0);
            m_data.m_channels.clear();
        }
        m_settings.m_displayed[5] = c.displayed;
        m_data.m_nTotalScans = c.totalScans;
        m_graph = CRecordingGraph();
        const long peakBefore = PeakResidentKb();
        m_dlg.BuildPlot();
        EXPECT_LT(PeakResidentKb() - peakBefore, 100 * 1024);
        if (c.plotted == 0) {
            EXPECT_TRUE(m_graph.CallsStartingWith("PlotXY").isEmpty());
            EXPECT_TRUE(m_graph.CallsStartingWith("Range").isEmpty());
            EXPECT_EQ(m_graph.CallsStartingWith("CursorPosition"),
                      QStringList{"CursorPosition 1 0"});
        } else {
            EXPECT_EQ(m_graph.CallsStartingWith("PlotXY"),
                      QStringList{QStringLiteral("PlotXY 1 %1 %1").arg(c.plotted)});
        }
    }
}

TEST_F(DataDisplayDlgTest, WithNothingPlottedTheStepsStay) {
    m_data.m_onFlags.fill(0);
    m_data.m_channels.clear();
    m_data.m_nTotalScans = 1000;
    CreateWindow();
    Click(DataDisplayId::kFwd);
    Click(DataDisplayId::kBack);
    EXPECT_EQ(m_graph.cursorIndex, 0);
    EXPECT_TRUE(m_notified.empty());
}

TEST_F(DataDisplayDlgTest, BusyOrWithoutSettingsNothingHappens) {
    m_dlg.SetBusy(true);
    m_dlg.BuildPlot();
    m_dlg.SetBusy(false);
    m_dlg.SetFormatSettings(nullptr);
    m_dlg.BuildPlot();
    EXPECT_TRUE(m_graph.calls.isEmpty());
}

TEST_F(DataDisplayDlgTest, OneScanDrawsWithoutDividingByZero) {
    m_data.m_channels = {{1}, {10}};
    m_data.m_nTotalScans = 1;
    m_data.m_nZP = 0;
    m_dlg.BuildPlot();
    EXPECT_EQ(m_graph.CallsStartingWith("Range 1"), QStringList{"Range 1 0 0"});
    EXPECT_EQ(m_graph.CallsStartingWith("PlotXY"), QStringList{"PlotXY 1 1 1"});
}

TEST_F(DataDisplayDlgTest, ReadoutShowsTheCursorSampleClamped) {
    CreateWindow();
    struct Case {
        int cursor;
        int scaled;
        QString index;
        QString time;
        QStringList lines;
    };
    const std::vector<Case> cases = {
        {2, 0, "1", "0.0100", {"Ch5 (Stroke):", "30.0000 V"}},
        {2, 1, "1", "0.0100", {"Ch5 (Stroke):", "61.0000 mm"}},
        {-1, 0, "-1", "-0.0100", {"Ch5 (Stroke):", "10.0000 V"}},
        {99, 1, "2", "0.0200", {"Ch5 (Stroke):", "81.0000 mm"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cursor);
        m_settings.m_nScaledView = c.scaled;
        m_graph.cursorIndex = c.cursor;
        m_dlg.UpdateReadout();
        EXPECT_EQ(m_dlg.GetDlgItemText(DataDisplayId::kIndexField), c.index);
        EXPECT_EQ(m_dlg.GetDlgItemText(DataDisplayId::kTimeField), c.time);
        EXPECT_EQ(ListLines(), c.lines);
    }
}

// The read-out's rows are rewritten in place as the cursor steps: the window shows what a full
// repaint of the list shows.
TEST_F(DataDisplayDlgTest, SteppedReadoutShowsTheNewValues) {
    const char* const values[] = {"10.0000 V", "20.0000 V", "30.0000 V", "40.0000 V"};
    ExpectReadoutRepaintsAsCursorSteps(values, {1, 3, 0, 2});
}

// Values that share their first digits repaint only the rest of their rows: the window still
// shows what a full repaint shows, also where the value gets shorter or longer.
TEST_F(DataDisplayDlgTest, ReadoutRowsRepaintFromTheFirstChangedGlyph) {
    m_data.m_channels[1] = {10.0f, 10.0625f, 10.5f, -10.5f};
    const char* const values[] = {"10.0000 V", "10.0625 V", "10.5000 V", "-10.5000 V"};
    ExpectReadoutRepaintsAsCursorSteps(values, {1, 2, 0, 3, 2, 1});
}

// Values that differ in their middle glyphs only repaint those: the window shows what a full
// repaint shows, with units after the value, and where a glyph of the same place changes
// width or the value changes length.
TEST_F(DataDisplayDlgTest, ReadoutRowsRepaintOnlyTheChangedGlyphs) {
    m_data.m_channels[1] = {10.0625f, 10.1625f, 11.1625f, 1.1625f};
    m_settings.m_nScaledView = 1;
    m_settings.m_factors[5] = 1.0f;
    m_settings.m_offsets[5] = 0.0f;
    m_settings.m_units[5] = QStringLiteral("mV");
    const char* const values[] = {"10.0625 mV", "10.1625 mV", "11.1625 mV", "1.1625 mV"};
    ExpectReadoutRepaintsAsCursorSteps(values, {1, 0, 2, 1, 3, 2, 0});
}

// Several channels step at once, their headings between the changed values: the window shows
// what a full repaint of the list shows, also after the list was made smaller or scrolled
// between two steps.
TEST_F(DataDisplayDlgTest, ReadoutOfSeveralChannelsRepaintsAsAWholeAfterResizingAndScrolling) {
    m_data.m_onFlags[7] = 1;
    m_data.m_channels.push_back({-5.5f, 6.25f, -7.0f, 8.125f});
    m_settings.m_displayed[2] = true;
    m_settings.m_displayed[7] = true;
    CWnd parent;
    ASSERT_TRUE(parent.Create(nullptr, QStringLiteral("panel"), WS_VISIBLE, CRect(0, 0, 700, 500),
                              nullptr, 0));
    ASSERT_TRUE(m_dlg.Create(&parent, &m_data, SensorRes::kDataDisplayChildTemplate));
    m_dlg.MoveWindow(0, 0, 700, 500);
    m_dlg.ShowWindow(SW_SHOW);
    QCoreApplication::processEvents();
    auto* list =
        qobject_cast<QListWidget*>(m_dlg.GetDlgItem(DataDisplayId::kValuesList)->GetQWidget());
    ASSERT_NE(list, nullptr);
    const auto step = [&](int cursor) {
        SCOPED_TRACE(cursor);
        m_dlg.SetCursorIndex(cursor, false);
        QCoreApplication::processEvents();
        ASSERT_EQ(ListLines().size(), 6);
        EXPECT_EQ(ListLines()[3], QString::number(10.0 * (cursor + 1), 'f', 4) + " V");
        EXPECT_TRUE(ShownAsRepainted(parent, list));
    };
    for (const int cursor : {1, 3, 0})
        step(cursor);
    m_dlg.MoveWindow(0, 0, 700, 150);
    QCoreApplication::processEvents();
    ASSERT_GT(list->verticalScrollBar()->maximum(), 0);
    for (const int cursor : {2, 1})
        step(cursor);
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    QCoreApplication::processEvents();
    for (const int cursor : {3, 0, 2})
        step(cursor);
    list->verticalScrollBar()->setValue(0);
    QCoreApplication::processEvents();
    step(1);
    // A selected row, a row no longer selected and new colours between two steps.
    list->setCurrentRow(3);
    QCoreApplication::processEvents();
    for (const int cursor : {2, 0})
        step(cursor);
    list->setCurrentRow(-1);
    list->clearSelection();
    QCoreApplication::processEvents();
    step(3);
    QPalette palette = list->palette();
    palette.setColor(QPalette::Text, Qt::darkRed);
    list->setPalette(palette);
    QCoreApplication::processEvents();
    for (const int cursor : {1, 2})
        step(cursor);
    // Most steps went without the list measuring its rows.
    const auto* readout = dynamic_cast<const CReadoutDelegate*>(list->itemDelegate());
    ASSERT_NE(readout, nullptr);
    EXPECT_GE(readout->RowRepaintCount(), 3);
    m_dlg.DestroyWindow();
    parent.DestroyWindow();
}

// A channel's label and units read out as they are now, also after they changed.
TEST_F(DataDisplayDlgTest, ReadoutFollowsChangedLabelsAndUnits) {
    CreateWindow();
    m_graph.cursorIndex = 1;
    m_settings.m_nScaledView = 1;
    struct Case {
        QString label;
        QString units;
        QStringList lines;
    };
    const std::vector<Case> cases = {
        {"Stroke", "mm", {"Ch5 (Stroke):", "41.0000 mm"}},
        {"Weg \u00b0", "\u00b5m", {"Ch5 (Weg \u00b0):", "41.0000 \u00b5m"}},
        {"", "", {"Ch5 ():", "41.0000 "}},
        {QString("ab") + QChar(0) + "c", "mm", {"Ch5 (ab):", "41.0000 mm"}},
        {"Stroke", "mm", {"Ch5 (Stroke):", "41.0000 mm"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label.toStdString());
        m_settings.m_labels[5] = c.label;
        m_settings.m_units[5] = c.units;
        m_dlg.UpdateReadout();
        EXPECT_EQ(ListLines(), c.lines);
    }
}

TEST_F(DataDisplayDlgTest, StartUpPutsTheCursorAtZeroAndTellsTheOwner) {
    m_graph.cursorIndex = 2;
    ASSERT_TRUE(m_dlg.Create(nullptr, &m_data));
    EXPECT_EQ(m_graph.cursorIndex, 0);
    EXPECT_EQ(m_notified, std::vector<int>{0});
    EXPECT_EQ(m_dlg.IsDlgButtonChecked(DataDisplayId::kCursorMode), 1u);
}

// The sensor panel's layout: a child of the panel's window, with its own button texts.
TEST_F(DataDisplayDlgTest, ChildLayoutInsideAParentWindow) {
    CWnd parent;
    ASSERT_TRUE(parent.Create(nullptr, QStringLiteral("panel"), WS_VISIBLE, CRect(0, 0, 700, 500),
                              nullptr, 0));
    ASSERT_TRUE(m_dlg.Create(&parent, &m_data, SensorRes::kDataDisplayChildTemplate));
    EXPECT_EQ(m_dlg.GetParent(), &parent);
    EXPECT_EQ(m_dlg.GetDlgItemText(DataDisplayId::kConfigure), QStringLiteral("Configure Graph"));
    EXPECT_EQ(m_dlg.GetDlgItemText(DataDisplayId::kValuesButton), QStringLiteral("Display Values"));
    EXPECT_EQ(m_dlg.GetDlgItemText(DataDisplayId::kIndexField), QStringLiteral("-1"));
    m_dlg.DestroyWindow();
    parent.DestroyWindow();
}

TEST_F(DataDisplayDlgTest, StepsMoveOneSampleAndStopAtTheEnds) {
    CreateWindow();
    m_dlg.SetCursorIndex(2, false);
    Click(DataDisplayId::kFwd);
    EXPECT_EQ(m_graph.cursorIndex, 3);
    EXPECT_EQ(m_notified, std::vector<int>{3});
    // At the last sample Fwd does nothing.
    Click(DataDisplayId::kFwd);
    EXPECT_EQ(m_graph.cursorIndex, 3);
    EXPECT_EQ(m_notified, std::vector<int>{3});
    Click(DataDisplayId::kBack);
    Click(DataDisplayId::kBack);
    EXPECT_EQ(m_graph.cursorIndex, 1);
    // Back stops at index 1.
    Click(DataDisplayId::kBack);
    EXPECT_EQ(m_graph.cursorIndex, 1);
    EXPECT_EQ(m_notified, std::vector<int>({3, 2, 1}));
}

TEST_F(DataDisplayDlgTest, DataCentricCountsFromTheSecondOrigin) {
    CreateWindow();
    m_dlg.SetCursorIndex(2, false);
    EXPECT_EQ(m_dlg.GetDlgItemText(DataDisplayId::kIndexField), QStringLiteral("1"));
    m_graph.calls.clear();
    Click(DataDisplayId::kDataCentric);
    EXPECT_TRUE(m_dlg.IsDataCentric());
    m_graph.cursorIndex = 2;
    m_dlg.UpdateReadout();
    EXPECT_EQ(m_dlg.GetDlgItemText(DataDisplayId::kIndexField), QStringLiteral("-1"));
    ASSERT_FALSE(m_graph.xs.empty());
    EXPECT_EQ(m_graph.xs.back(), std::vector<float>({-3, -2, -1, 0}));
    // The graph's position maps back to a scan through the same origin.
    m_dlg.OnGraphCursorMoved(-2.0);
    EXPECT_EQ(m_graph.cursorIndex, 1);
}

TEST_F(DataDisplayDlgTest, MouseModesAndRebuildRequests) {
    CreateWindow();
    m_dlg.SetCursorIndex(3, false);
    m_graph.calls.clear();
    m_dlg.RequestRebuild();
    EXPECT_TRUE(m_graph.calls.isEmpty());
    Click(DataDisplayId::kZoomMode);
    EXPECT_EQ(m_dlg.GetMouseMode(), CDataDisplayDlg::kZoomMode);
    EXPECT_EQ(m_graph.calls, QStringList{"MouseMode 6"});
    m_dlg.RequestRebuild();
    EXPECT_TRUE(m_graph.calls.contains("RemoveAllPlots"));
    EXPECT_EQ(m_graph.cursorIndex, 3);
    m_graph.calls.clear();
    Click(DataDisplayId::kPanMode);
    EXPECT_EQ(m_graph.calls, QStringList{"MouseMode 3"});
}

TEST_F(DataDisplayDlgTest, LayoutFollowsTheSizeAndTheSidePanel) {
    struct Case {
        int w, h;
        bool panel;
        CRect graph, list, indexField, timeField;
    };
    const std::vector<Case> cases = {
        {600,
         400,
         true,
         {0, 25, 500, 400},
         {510, 28, 590, 323},
         {510, 342, 575, 360},
         {510, 378, 575, 396}},
        {300,
         200,
         true,
         {0, 25, 200, 200},
         {210, 28, 290, 123},
         {210, 142, 275, 160},
         {210, 178, 275, 196}},
        {600, 400, false, {0, 25, 590, 400}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        const CDataDisplayDlg::Layout l = CDataDisplayDlg::ComputeLayout(c.w, c.h, c.panel);
        EXPECT_EQ(l.graph, c.graph) << c.w;
        if (!c.panel)
            continue;
        EXPECT_EQ(l.list, c.list) << c.w;
        EXPECT_EQ(l.indexField, c.indexField) << c.w;
        EXPECT_EQ(l.timeField, c.timeField) << c.w;
        EXPECT_EQ(l.indexLabel, CRect(c.w - 90, c.h - 73, c.w - 10, c.h - 59));
        EXPECT_EQ(l.timeLabel, CRect(c.w - 90, c.h - 37, c.w - 10, c.h - 23));
    }
    // The window puts its controls there, and the values button takes the panel away.
    CreateWindow();
    m_dlg.ShowWindow(SW_SHOW);
    m_dlg.MoveWindow(0, 0, 600, 400);
    CRect client;
    m_dlg.GetClientRect(&client);
    CRect list;
    m_dlg.GetDlgItem(DataDisplayId::kValuesList)->GetWindowRect(&list);
    m_dlg.ScreenToClient(&list);
    EXPECT_EQ(list, CDataDisplayDlg::ComputeLayout(client.Width(), client.Height(), true).list);
    Click(DataDisplayId::kValuesButton);
    EXPECT_FALSE(m_dlg.IsSidePanelShown());
    EXPECT_FALSE(m_dlg.GetDlgItem(DataDisplayId::kValuesList)->IsWindowVisible());
}

}  // namespace

// Live data is redrawn every tick: while the plots stand for the same channels over the same
// scans only their samples change, so the axis range and the cursor stay as the user left
// them; another shape builds the graph anew.
TEST_F(DataDisplayDlgTest, UpdatePlotReplacesOnlyTheSamplesOfTheSameShape) {
    m_dlg.BuildPlot();
    m_graph = CRecordingGraph();
    m_data.m_channels[1] = {11, 22, 33, 44};
    m_dlg.UpdatePlot();
    EXPECT_EQ(m_graph.calls,
              QStringList({QStringLiteral("PlotColor 1 %1")
                               .arg(CVidraData::DefaultPlotColor(5), 6, 16, QChar('0')),
                           "PlotXY 1 4 4"}));
    ASSERT_EQ(m_graph.ys.size(), 1u);
    EXPECT_EQ(m_graph.ys[0], (std::vector<float>{11, 22, 33, 44}));

    for (const auto& change : std::vector<std::function<void()>>{
             [&] { m_settings.m_displayed[2] = true; },  // another channel shown
             [&] { m_data.m_nTotalScans = 3; },          // other scans
             [&] { m_data.m_nZP = 2; }}) {               // another axis
        change();
        m_graph = CRecordingGraph();
        m_dlg.UpdatePlot();
        EXPECT_EQ(m_graph.calls.mid(0, 2), QStringList({"RemoveAllPlots", "RemoveAllCursors"}));
    }
}

// The program's own graph under the mouse: a press tells the owner of the new cursor, and
// a zoom and the cursor survive the redraw of live data.
TEST_F(DataDisplayDlgTest, ThePressMovesTheCursorAndAZoomSurvivesLiveRedraws) {
    CDataDisplayDlg display(nullptr, &m_data);
    display.SetFormatSettings(&m_settings);
    ASSERT_TRUE(display.Create(nullptr, &m_data));
    display.MoveWindow(0, 0, 640, 400);
    auto* graph = display.GetQWidget()->findChild<CGraphWidget*>();
    ASSERT_NE(graph, nullptr);
    const auto mouse = [&](QEvent::Type type, QPoint at) {
        QMouseEvent event(type, at, graph->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(graph, &event);
    };
    // A press in cursor mode puts the cursor there and tells the owner, although the graph
    // moved its own cursor first.
    std::vector<int> told;
    display.SetCursorCallback(
        [](void* context, int index) { static_cast<std::vector<int>*>(context)->push_back(index); },
        &told);
    const QPoint onScan3(graph->ToPixel(2.0, 0.0, graph->size()).toPoint().x(),
                         CGraphWidget::PlotArea(graph->size()).center().y());
    mouse(QEvent::MouseButtonPress, onScan3);
    mouse(QEvent::MouseButtonRelease, onScan3);
    EXPECT_EQ(display.GetCursorIndex(), 3);
    EXPECT_EQ(told, std::vector<int>{3});
    display.SetCursorIndex(2, false);
    display.SetMouseMode(CDataDisplayDlg::kZoomMode);
    const QRect area = CGraphWidget::PlotArea(graph->size());
    const QPoint from(area.left() + area.width() / 4, area.top() + 10);
    const QPoint to(area.left() + area.width() / 2, area.bottom() - 10);
    mouse(QEvent::MouseButtonPress, from);
    mouse(QEvent::MouseMove, to);
    mouse(QEvent::MouseButtonRelease, to);
    const CGraphWidget::Span zoomed = graph->VisibleSpan(GraphAxis::X);
    const CGraphWidget::Span full{-1.0, 2.0};
    ASSERT_LT(zoomed.high - zoomed.low, full.high - full.low) << "no zoom";

    for (float& v : m_data.m_channels[1])
        v += 1.0f;
    display.UpdatePlot();
    EXPECT_DOUBLE_EQ(graph->VisibleSpan(GraphAxis::X).low, zoomed.low);
    EXPECT_DOUBLE_EQ(graph->VisibleSpan(GraphAxis::X).high, zoomed.high);
    EXPECT_EQ(display.GetCursorIndex(), 2);
    // A build goes back to the whole range.
    display.BuildPlot();
    EXPECT_DOUBLE_EQ(graph->VisibleSpan(GraphAxis::X).low, full.low);
    EXPECT_DOUBLE_EQ(graph->VisibleSpan(GraphAxis::X).high, full.high);
    display.DestroyWindow();
}
