#include "platform/controls/GraphWidget.h"

#include "testsupport/IsolatedTest.h"

#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QTest>

#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr QSize kSize(400, 300);
constexpr COLORREF kGreen = 0x00FF00;

QColor Color(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Eleven points 0..10 on a flat line at 6, both axes 0..10.
class GraphWidgetTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_graph.resize(kSize);
        for (int i = 0; i <= 10; ++i) {
            m_x.push_back(float(i));
            m_y.push_back(6.0f);
        }
        m_graph.SetPlotColor(m_graph.AddPlot(), kGreen);
        ASSERT_TRUE(m_graph.PlotXY(1, m_x.data(), int(m_x.size()), m_y.data(), int(m_y.size())));
        m_graph.SetAxisRange(GraphAxis::X, 0, 10);
        m_graph.SetAxisRange(GraphAxis::Y, 0, 10);
    }
    QImage Render() const {
        QImage image(kSize, QImage::Format_RGB32);
        image.setDevicePixelRatio(1.0);
        QPainter painter(&image);
        m_graph.Render(painter, kSize);
        return image;
    }
    QPoint Pixel(double x, double y) const {
        const QPointF p = m_graph.ToPixel(x, y, kSize);
        return {int(std::lround(p.x())), int(std::lround(p.y()))};
    }

    CGraphWidget m_graph;
    std::vector<float> m_x;
    std::vector<float> m_y;
};

TEST_F(GraphWidgetTest, PlotColourOnBlackAndOnWhite) {
    for (COLORREF area : {COLORREF(0x000000), COLORREF(0xFFFFFF)}) {
        m_graph.SetPlotAreaColor(area);
        const QImage image = Render();
        EXPECT_EQ(image.pixelColor(Pixel(2.5, 6)), Color(kGreen)) << area;
        EXPECT_EQ(image.pixelColor(Pixel(7.5, 6)), Color(kGreen)) << area;
        EXPECT_EQ(image.pixelColor(Pixel(2.5, 8)), Color(area)) << area;
        EXPECT_EQ(image.pixelColor(Pixel(7.5, 2)), Color(area)) << area;
    }
}

TEST_F(GraphWidgetTest, GridLinesInTheirColours) {
    m_graph.SetPlotAreaColor(0x000000);
    const QImage bare = Render();
    EXPECT_EQ(bare.pixelColor(Pixel(5, 2.5)), QColor(Qt::black));
    for (GraphAxis axis : {GraphAxis::X, GraphAxis::Y}) {
        m_graph.SetGridLines(axis, true, true);
        m_graph.SetGridColors(axis, 0x808080, 0x404040);
    }
    const QImage image = Render();
    // Major lines at 0, 5 and 10, minor ones at every unit between.
    EXPECT_EQ(image.pixelColor(Pixel(5, 2.5)), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(image.pixelColor(Pixel(2.5, 5)), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(image.pixelColor(Pixel(1, 2.5)), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(image.pixelColor(Pixel(2.5, 3)), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(image.pixelColor(Pixel(2.5, 3.5)), QColor(Qt::black));
    // The plot lies over the grid.
    EXPECT_EQ(image.pixelColor(Pixel(5, 6)), Color(kGreen));
}

TEST_F(GraphWidgetTest, LongPlotCoversThePixelsOfTheFullLine) {
    const int n = 100000;
    std::vector<float> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[i] = 10.0f * i / (n - 1);
        y[i] = 5.0f + 4.0f * std::sin(i * 0.0021f) * std::cos(i * 0.00007f);
    }
    ASSERT_TRUE(m_graph.PlotXY(1, x.data(), n, y.data(), n));
    m_graph.SetPlotAreaColor(0x000000);
    const QImage ours = Render();

    QImage line(kSize, QImage::Format_RGB32);
    line.fill(Qt::black);
    {
        QPainter painter(&line);
        painter.setClipRect(CGraphWidget::PlotArea(kSize));
        painter.setPen(QPen(Color(kGreen), 0));
        std::vector<QPointF> points;
        for (int i = 0; i < n; ++i)
            points.push_back(m_graph.ToPixel(x[i], y[i], kSize));
        painter.drawPolyline(points.data(), n);
    }
    const QRect area = CGraphWidget::PlotArea(kSize);
    const auto near = [&](const QImage& image, int px, int py) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (image.pixelColor(px + dx, py + dy) == Color(kGreen))
                    return true;
            }
        }
        return false;
    };
    int lineOnly = 0;
    int oursOnly = 0;
    int covered = 0;
    for (int py = area.top() + 1; py < area.bottom(); ++py) {
        for (int px = area.left() + 1; px < area.right(); ++px) {
            const bool inLine = line.pixelColor(px, py) == Color(kGreen);
            const bool inOurs = ours.pixelColor(px, py) == Color(kGreen);
            covered += inLine;
            lineOnly += inLine && !near(ours, px, py);
            oursOnly += inOurs && !near(line, px, py);
        }
    }
    EXPECT_GT(covered, area.width());
    EXPECT_EQ(lineOnly, 0);
    EXPECT_EQ(oursOnly, 0);
}

TEST_F(GraphWidgetTest, ZoomToARubberBandAndPanByADrag) {
    m_graph.SetMouseMode(GraphMouseMode::Zoom);
    const QPoint from = Pixel(2, 8);
    const QPoint to = Pixel(6, 4);
    QTest::mousePress(&m_graph, Qt::LeftButton, {}, from);
    QTest::mouseMove(&m_graph, to);
    QTest::mouseRelease(&m_graph, Qt::LeftButton, {}, to);
    CGraphWidget::Span x = m_graph.VisibleSpan(GraphAxis::X);
    CGraphWidget::Span y = m_graph.VisibleSpan(GraphAxis::Y);
    EXPECT_NEAR(x.low, 2.0, 0.05);
    EXPECT_NEAR(x.high, 6.0, 0.05);
    EXPECT_NEAR(y.low, 4.0, 0.05);
    EXPECT_NEAR(y.high, 8.0, 0.05);

    // A drag to the right by a quarter of the area moves the view left by a quarter of it.
    m_graph.SetMouseMode(GraphMouseMode::Pan);
    const int quarter = (CGraphWidget::PlotArea(kSize).width() - 1) / 4;
    const QPoint start = Pixel(4, 6);
    QTest::mousePress(&m_graph, Qt::LeftButton, {}, start);
    QTest::mouseMove(&m_graph, start + QPoint(quarter, 0));
    QTest::mouseRelease(&m_graph, Qt::LeftButton, {}, start + QPoint(quarter, 0));
    const CGraphWidget::Span panned = m_graph.VisibleSpan(GraphAxis::X);
    EXPECT_NEAR(panned.low,
                x.low - (x.high - x.low) * quarter / (CGraphWidget::PlotArea(kSize).width() - 1),
                1e-6);
    EXPECT_NEAR(panned.high - panned.low, x.high - x.low, 1e-9);
    EXPECT_NEAR(m_graph.VisibleSpan(GraphAxis::Y).low, y.low, 1e-9);

    // Setting the range again shows it whole.
    m_graph.SetAxisRange(GraphAxis::X, 0, 10);
    EXPECT_EQ(m_graph.VisibleSpan(GraphAxis::X).low, 0.0);
    EXPECT_EQ(m_graph.VisibleSpan(GraphAxis::X).high, 10.0);
}

TEST_F(GraphWidgetTest, CursorSitsOnThePointsLastDrawn) {
    const int cursor = m_graph.AddCursor();
    m_graph.SetCursorEnabled(cursor, true);
    struct Case {
        double x;
        int index;
    };
    for (const Case& c : {Case{6.4, 6}, Case{6.6, 7}, Case{-3, 0}, Case{42, 10}}) {
        m_graph.SetCursorPosition(cursor, c.x);
        EXPECT_EQ(m_graph.GetCursorIndex(cursor), c.index) << c.x;
    }
    for (int index : {0, 3, 10}) {
        m_graph.SetCursorIndex(cursor, index);
        EXPECT_EQ(m_graph.GetCursorIndex(cursor), index);
    }
    m_graph.SetCursorIndex(cursor, 11);
    EXPECT_EQ(m_graph.GetCursorIndex(cursor), 10);
    m_graph.SetCursorIndex(cursor, -1);
    EXPECT_EQ(m_graph.GetCursorIndex(cursor), 0);
    EXPECT_EQ(m_graph.GetCursorIndex(cursor + 1), 0);

    // A drag in cursor mode moves the cursor and reports the x under the mouse.
    std::vector<double> reported;
    m_graph.SetCursorMovedHandler([&](int, double x) { reported.push_back(x); });
    QTest::mousePress(&m_graph, Qt::LeftButton, {}, Pixel(3.2, 6));
    QTest::mouseMove(&m_graph, Pixel(8.1, 6));
    QTest::mouseRelease(&m_graph, Qt::LeftButton, {}, Pixel(8.1, 6));
    EXPECT_EQ(m_graph.GetCursorIndex(cursor), 8);
    ASSERT_FALSE(reported.empty());
    EXPECT_NEAR(reported.front(), 3.2, 0.05);
    EXPECT_NEAR(reported.back(), 8.1, 0.05);

    // Drawn cursor on the plot area.
    m_graph.SetCursorIndex(cursor, 4);
    EXPECT_EQ(Render().pixelColor(Pixel(4, 2)), QColor(Qt::white));
    EXPECT_EQ(Render().pixelColor(Pixel(4.5, 2)), QColor(Qt::black));
}

TEST_F(GraphWidgetTest, UnequalArraysAreRefusedAndOneValueRangesDraw) {
    const float x[3] = {0, 1, 2};
    const float y[2] = {1, 2};
    EXPECT_FALSE(m_graph.PlotXY(1, x, 3, y, 2));
    EXPECT_FALSE(m_graph.PlotXY(2, x, 2, y, 2));
    // The plot kept its points.
    EXPECT_EQ(Render().pixelColor(Pixel(2.5, 6)), Color(kGreen));

    m_graph.SetAxisRange(GraphAxis::X, 3, 3);
    const float one[1] = {3};
    const float value[1] = {5};
    ASSERT_TRUE(m_graph.PlotXY(1, one, 1, value, 1));
    const QPointF p = m_graph.ToPixel(3, 5, kSize);
    EXPECT_TRUE(std::isfinite(p.x()) && std::isfinite(p.y()));
    EXPECT_TRUE(CGraphWidget::PlotArea(kSize).contains(p.toPoint()));
    Render();

    m_graph.RemoveAllPlots();
    EXPECT_EQ(m_graph.PlotCount(), 0);
    EXPECT_EQ(m_graph.AddPlot(), 1);
}

// The widget paints its plot area from a kept picture: after each kind of change its own
// painting is still what Render draws.
TEST_F(GraphWidgetTest, ThePaintedGraphFollowsEveryChange) {
    const auto painted = [&] {
        return m_graph.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    m_graph.SetCursorEnabled(m_graph.AddCursor(), true);
    const std::vector<float> rising = {1, 2, 3, 4, 5, 6, 7, 8, 9, 9.5f, 9.8f};
    const std::vector<std::function<void()>> changes = {
        [] {},
        [&] { m_graph.SetCursorIndex(1, 7); },
        [&] { m_graph.PlotXY(1, m_x.data(), int(m_x.size()), rising.data(), int(rising.size())); },
        [&] { m_graph.SetPlotAreaColor(0xFFFFFF); },
        [&] { m_graph.SetPlotColor(1, 0x0000FF); },
        [&] { m_graph.SetGridLines(GraphAxis::Y, true, false); },
        [&] { m_graph.SetAxisRange(GraphAxis::X, 2, 8); },
        [&] { m_graph.SetCursorIndex(1, 3); },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        changes[i]();
        EXPECT_EQ(painted(), Render()) << "after change " << i;
    }
}

// On the screen a moving cursor repaints only the strips where it was and where it is; what the
// screen then shows is the whole graph with the cursor in its new place.
TEST_F(GraphWidgetTest, AMovingCursorRepaintsWhereItWasAndWhereItIs) {
    m_graph.SetCursorEnabled(m_graph.AddCursor(), true);
    m_graph.SetCursorIndex(1, 7);
    m_graph.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_graph));
    QImage screen = m_graph.grab().toImage().convertToFormat(QImage::Format_RGB32);

    struct PaintRecorder : QObject {
        QRegion painted;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent*>(event)->region();
            return false;
        }
    } recorder;
    m_graph.installEventFilter(&recorder);
    m_graph.SetCursorIndex(1, 3);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    m_graph.removeEventFilter(&recorder);

    const QRect area = CGraphWidget::PlotArea(kSize);
    ASSERT_FALSE(recorder.painted.isEmpty()) << "nothing repainted";
    for (int index : {7, 3})
        EXPECT_TRUE(recorder.painted.contains(QPoint(Pixel(index, 5).x(), area.center().y())))
            << "the cursor's place at " << index << " was not repainted";
    EXPECT_LT(recorder.painted.boundingRect().width(), area.width()) << "the whole graph repainted";
    // What those paints put on the screen over what it showed before.
    QPainter painter(&screen);
    m_graph.render(&painter, recorder.painted.boundingRect().topLeft(), recorder.painted);
    painter.end();
    EXPECT_EQ(screen, Render());
}

}  // namespace
