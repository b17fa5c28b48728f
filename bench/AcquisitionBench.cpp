// One tick of a data card's live acquisition: 16 channels at 10 000 scans/s shown in a
// 10 000-scan window. The tick enters as the window's timer does (WM_TIMER 1155): the card's
// 1000 new scans are read, moved into the rolling window and the data display rebuilt; then the
// graph paints itself into a 1000 x 400 image. The baseline, measured in the same run on the
// same samples, is a bare memcpy of the window's samples plus QPainter::drawPolyline of the
// same points mapped to the same pixels.

#include "bench/RatioReporter.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimDriver.h"
#include "platform/controls/GraphWidget.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/DataDisplayDlg.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SondrelModule.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kChannels = 16;
constexpr int kRate = 10000;
constexpr int kWindow = 10000;
constexpr int64_t kTickNs = int64_t(CDataAcqWnd::kTickMs) * 1000000;
constexpr QSize kImage(1000, 400);

struct HostClock {
    int64_t nowNs = 0;
    DriverHostServices services;
    HostClock() {
        services.now = [](void* self) { return static_cast<HostClock*>(self)->nowNs; };
        services.context = this;
    }
};

// The card, its window and the clock, made once: every benchmark works on the same samples.
struct Live {
    HostClock clock;
    CDataAcqWnd* card = nullptr;
    CGraphWidget* graph = nullptr;

    Live() {
        CProgramResources::Register();
        CResourceChain::AddModule(RmResourceModule());
        DriverLoader::ScanFolders({});
        SimDriverConfig config;
        config.cameras = 0;
        config.cards = 1;
        config.cardChannels = kChannels;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, &clock.services));
        InstallDataCardFactory();
        card = dynamic_cast<CDataAcqWnd*>(
            DriverLoader::OpenById(CDeviceId(kDeviceTypeDataCard, 1, 0)));
        card->ShowWindowFor(nullptr);
        card->ApplyParams(kRate, 10, kWindow, kWindow / 2, 1);
        card->StartAcquisition();
        graph = card->GetDataDisplay()->GetQWidget()->findChild<CGraphWidget*>();
        // A full window before the measured ticks.
        for (int i = 0; i < kWindow * 10 / kRate; ++i)
            Tick();
    }
    void Tick() {
        clock.nowNs += kTickNs;
        card->SendMessage(WM_TIMER, CDataAcqWnd::kAcquisitionTimer, 0);
    }
};

Live& TheLive() {
    static Live* live = new Live;
    return *live;
}

void AcquisitionTick(benchmark::State& state) {
    Live& live = TheLive();
    QImage image(kImage, QImage::Format_RGB32);
    for (auto _ : state) {
        live.Tick();
        QPainter painter(&image);
        live.graph->Render(painter, kImage);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void MemcpyAndPolyline(benchmark::State& state) {
    Live& live = TheLive();
    const CVidraData& data = live.card->GetLiveData();
    std::vector<float> copy(size_t(kChannels) * kWindow);
    QImage image(kImage, QImage::Format_RGB32);
    const QRect area = CGraphWidget::PlotArea(kImage);
    // The same linear map the graph uses, worked out once.
    const QPointF origin = live.graph->ToPixel(0, 0, kImage);
    const QPointF unit = live.graph->ToPixel(1, 1, kImage) - origin;
    std::vector<QPointF> points(kWindow);
    for (auto _ : state) {
        for (int k = 0; k < kChannels; ++k)
            std::memcpy(copy.data() + size_t(k) * kWindow, data.m_channels[size_t(k)].data(),
                        kWindow * sizeof(float));
        QPainter painter(&image);
        painter.fillRect(QRect(QPoint(0, 0), kImage), Qt::black);
        painter.setClipRect(area);
        painter.setPen(QPen(Qt::green, 0));
        for (int k = 0; k < kChannels; ++k) {
            const float* y = copy.data() + size_t(k) * kWindow;
            for (int i = 0; i < kWindow; ++i)
                points[size_t(i)] =
                    QPointF(origin.x() + i * unit.x(), origin.y() + y[i] * unit.y());
            painter.drawPolyline(points.data(), kWindow);
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

}  // namespace

BENCHMARK(AcquisitionTick)->Name("acquisition/tick_16x10k")->Unit(benchmark::kMillisecond);
BENCHMARK(MemcpyAndPolyline)->Name("memcpy+polyline/16x10k")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double tickMs = reporter.Time("acquisition/tick_16x10k");
    char path[160];
    std::snprintf(path, sizeof path,
                  "live acquisition tick, 16 channels at 10 000 scans/s (%.1f %% of the tick)",
                  100.0 * tickMs / CDataAcqWnd::kTickMs);
    reporter.PrintRatio(path, "acquisition/tick_16x10k", "memcpy+polyline/16x10k", 2.0);
    benchmark::Shutdown();
    return 0;
}
