// A full repaint of the data graph with 16 plots of 100 000 points into a 1200 x 500 image, as
// the graph widget paints itself, against QPainter::drawPolyline of the same points mapped to
// the same pixels, measured in the same run.

#include "bench/RatioReporter.h"
#include "platform/controls/GraphWidget.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <vector>

namespace {

constexpr int kPlots = 16;
constexpr int kPoints = 100000;
constexpr QSize kSize(1200, 500);

struct Plots {
    std::vector<float> x;
    std::vector<std::vector<float>> y;
};

const Plots& Data() {
    static const Plots plots = [] {
        Plots p;
        p.x.resize(kPoints);
        for (int i = 0; i < kPoints; ++i)
            p.x[i] = i * 0.001f;
        p.y.assign(kPlots, std::vector<float>(kPoints));
        for (int k = 0; k < kPlots; ++k)
            for (int i = 0; i < kPoints; ++i)
                p.y[k][i] =
                    k + 0.4f * std::sin(i * (0.001f + 0.0003f * k)) + 0.05f * std::sin(i * 0.37f);
        return p;
    }();
    return plots;
}

CGraphWidget& Graph() {
    static CGraphWidget* graph = [] {
        auto* g = new CGraphWidget;
        g->resize(kSize);
        const Plots& p = Data();
        for (int k = 0; k < kPlots; ++k) {
            const int plot = g->AddPlot();
            g->SetPlotColor(plot, 0x00FF00);
            g->PlotXY(plot, p.x.data(), kPoints, p.y[k].data(), kPoints);
        }
        g->SetAxisRange(GraphAxis::X, p.x.front(), p.x.back());
        for (GraphAxis axis : {GraphAxis::X, GraphAxis::Y})
            g->SetGridLines(axis, true, true);
        return g;
    }();
    return *graph;
}

void GraphRepaint(benchmark::State& state) {
    CGraphWidget& graph = Graph();
    QImage image(kSize, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        graph.Render(painter, kSize);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void Polyline(benchmark::State& state) {
    CGraphWidget& graph = Graph();
    const Plots& p = Data();
    const QRect area = CGraphWidget::PlotArea(kSize);
    QImage image(kSize, QImage::Format_RGB32);
    std::vector<QPointF> points(kPoints);
    // The same linear map the graph uses, worked out once.
    const QPointF origin = graph.ToPixel(0, 0, kSize);
    const QPointF unit = graph.ToPixel(1, 1, kSize) - origin;
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(QRect(QPoint(0, 0), kSize), Qt::black);
        painter.setClipRect(area);
        painter.setPen(QPen(Qt::green, 0));
        for (int k = 0; k < kPlots; ++k) {
            for (int i = 0; i < kPoints; ++i)
                points[i] =
                    QPointF(origin.x() + p.x[i] * unit.x(), origin.y() + p.y[k][i] * unit.y());
            painter.drawPolyline(points.data(), kPoints);
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

}  // namespace

BENCHMARK(GraphRepaint)->Name("graph/repaint_16x100k")->Unit(benchmark::kMillisecond);
BENCHMARK(Polyline)->Name("qpainter/polyline_16x100k")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("data graph repaint, 16 plots of 100 000 points", "graph/repaint_16x100k",
                        "qpainter/polyline_16x100k", 0.25);
    benchmark::Shutdown();
    return 0;
}
