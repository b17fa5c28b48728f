#include "platform/controls/QnGraphDlg.h"

#include "platform/com/DispatchCall.h"
#include "platform/controls/GraphWidget.h"
#include "platform/controls/QnGraphControl.h"
#include "testsupport/IsolatedTest.h"

#include <QWidget>

namespace {

class QnGraphDlgTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        ASSERT_TRUE(m_graph.Create(&m_window, QRect(0, 0, 300, 200), 1023));
        m_widget = qobject_cast<CGraphWidget*>(m_graph.GetWidget());
        ASSERT_NE(m_widget, nullptr);
    }

    QWidget m_window;
    CQnGraphDlg m_graph;
    CGraphWidget* m_widget = nullptr;
};

TEST_F(QnGraphDlgTest, CallsReachTheGraphByDispatchId) {
    EXPECT_EQ(m_widget->property("controlId").toInt(), 1023);
    EXPECT_EQ(m_widget->geometry(), QRect(0, 0, 300, 200));
    EXPECT_EQ(m_graph.PlotXY(2, {0, 1, 2}, {5, 6, 7}, 0x0000FF), 2);
    EXPECT_EQ(m_widget->PlotCount(), 2);
    EXPECT_EQ(m_graph.PlotXY(1, {0, 1, 2}, {5, 6}, 0x0000FF), -1);
    EXPECT_EQ(m_graph.PlotXY(0, {0}, {5}, 0x0000FF), -1);
    EXPECT_EQ(m_graph.SetCursorIndex(1), 1);
    EXPECT_EQ(m_graph.SetCursorIndex(9), 2);
    EXPECT_EQ(m_widget->GetCursorIndex(1), 2);
    EXPECT_EQ(m_graph.SetMouseMode(6), 0);
    EXPECT_EQ(m_widget->MouseMode(), GraphMouseMode::Zoom);
    EXPECT_EQ(m_graph.SetMouseMode(2), -1);
    EXPECT_EQ(m_graph.SetXCaption(QStringLiteral("Time (seconds)")), 0);
    EXPECT_EQ(m_widget->AxisCaption(GraphAxis::X), QStringLiteral("Time (seconds)"));
    EXPECT_EQ(m_graph.SetPlotAreaColor(0xFFFFFF), 0);
    EXPECT_EQ(m_graph.Clear(), 0);
    EXPECT_EQ(m_widget->PlotCount(), 0);
    EXPECT_EQ(m_widget->CursorCount(), 0);

    m_graph.ShowWindow(false);
    EXPECT_TRUE(m_widget->isHidden());
    m_graph.EnableWindow(false);
    EXPECT_FALSE(m_widget->isEnabled());

    // Properties and unknown members are not there.
    CComVariant result;
    EXPECT_EQ(DispatchGet(m_graph.GetControl(), CQnGraphControl::kDispClear, &result),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(DispatchInvoke(m_graph.GetControl(), 99, DISPATCH_METHOD, {}, &result),
              DISP_E_MEMBERNOTFOUND);
}

TEST_F(QnGraphDlgTest, EmptyWrapperFailsEveryCall) {
    CQnGraphDlg empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_FALSE(empty.Create(nullptr, QRect(), 1));
    EXPECT_EQ(empty.PlotXY(1, {0}, {0}, 0), -1);
    EXPECT_EQ(empty.SetMouseMode(1), -1);
    EXPECT_EQ(empty.Clear(), -1);
    EXPECT_EQ(empty.SetXCaption(QString()), -1);
    EXPECT_EQ(empty.SetCursorIndex(0), -1);
    EXPECT_EQ(empty.SetPlotAreaColor(0), -1);
    empty.ShowWindow(true);
    empty.EnableWindow(true);
    // A wrapper holds one control.
    EXPECT_FALSE(m_graph.Create(&m_window, QRect(), 1));

    // The control outlives a widget whose window went: calls answer without a graph.
    CQnGraphDlg orphan;
    {
        QWidget window;
        ASSERT_TRUE(orphan.Create(&window, QRect(0, 0, 10, 10), 5));
    }
    EXPECT_EQ(orphan.GetWidget(), nullptr);
    EXPECT_EQ(orphan.PlotXY(1, {0}, {0}, 0), -1);
    EXPECT_EQ(orphan.Clear(), 0);
}

}  // namespace
