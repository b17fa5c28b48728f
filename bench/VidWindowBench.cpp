// One step of a video window as the play control drives it: the window moves to the next frame
// (the source reads it, the display tables map it) and the event loop paints it. Printed as a
// fraction of the rate of a pread of the same frame measured in the same run. Every repetition
// goes on to frames it has not shown yet, in order, from a recording of 240 frames.
//
// The live display of a 1024 x 1024 simulated camera, one new frame per timer tick of its camera
// window, is printed as a fraction of the video window's rate on the same size.

#include "bench/RatioReporter.h"
#include "devices/CamDoc.h"
#include "devices/CamFrmSimple.h"
#include "devices/CamView.h"
#include "devices/core/Device.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/DriverLoader.h"
#include "devices/sim/SimDriver.h"
#include "frames/FrameSource.h"
#include "platform/framework/Document.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/WinApp.h"
#include "views/VidDoc.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kSide = 1024;
constexpr int kFrames = 240;
constexpr int kStepsPerRepetition = 80;
constexpr int kDataOffset = 1024;

// An 8-bit RAW recording of kFrames noise frames in the temporary folder, written once.
const QString& Recording() {
    static const QString path = [] {
        const QString p = QDir::tempPath() + QString("/reelmark_vwbench_%1.raw").arg(::getpid());
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        QByteArray header(kDataOffset, 0);
        std::memcpy(header.data(), "OP05", 4);
        const auto put = [&header](int at, int32_t v) {
            for (int i = 0; i < 4; ++i)
                header[at + i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
        };
        put(8, kFrames);
        put(12, kSide);
        put(16, kSide);
        put(24, kDataOffset);
        put(28, 8);
        put(68, 1000);
        f.write(header);
        std::vector<uint32_t> frame(kSide * kSide / 4);
        std::mt19937 random(7);
        for (int n = 0; n < kFrames; ++n) {
            for (auto& s : frame)
                s = random();
            f.write(reinterpret_cast<const char*>(frame.data()), kSide * kSide);
        }
        return p;
    }();
    return path;
}

// The frame of the next step; repetitions go on where the last one stopped.
int NextFrame(int* counter) {
    *counter = (*counter + 1) % kFrames;
    return *counter;
}

void VideoWindowStep(benchmark::State& state) {
    CWinApp app("bench");
    CWnd main;
    main.Create(nullptr, "main", WS_VISIBLE, CRect(0, 0, 700, 500), nullptr, 0);
    app.m_pMainWnd = &main;
    CMultiDocTemplate vidTemplate(145, RUNTIME_CLASS(CVidDoc), RUNTIME_CLASS(CVidFrame),
                                  RUNTIME_CLASS(CVidView));
    auto* source = new CFrameSource;
    CFrameSourcePtr ptr(source);
    CDocument* doc = vidTemplate.OpenDocumentFile(QString(), TRUE);
    POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr;
    auto* view = doc ? dynamic_cast<CVidView*>(doc->GetNextView(pos)) : nullptr;
    if (!view || source->Open(Recording()) != 1) {
        state.SkipWithError("the video window did not open");
        return;
    }
    CWnd* frame = view->GetParentFrame();
    frame->MoveWindow(0, 0, 640, 440);
    frame->ShowWindow(SW_SHOW);
    view->SetFrameSource(ptr);
    view->SetFrameCount(kFrames);
    // Shown and painted once before timing, as on screen.
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();

    static int next = 0;
    for (auto _ : state) {
        view->SetCurrentFrame(NextFrame(&next), 0);
        QApplication::processEvents();
    }
    frame->DestroyWindow();
    main.DestroyWindow();
    app.m_pMainWnd = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The host clock of the simulated camera, moved on one frame per step.
int64_t s_nowNs = 0;

void LiveCameraStep(benchmark::State& state) {
    CWinApp app("bench");
    CWnd main;
    main.Create(nullptr, "main", WS_VISIBLE, CRect(0, 0, 700, 500), nullptr, 0);
    app.m_pMainWnd = &main;
    static DriverHostServices host;
    host.now = [](void*) { return s_nowNs; };
    host.requestPoll = [](void*, int64_t) {};
    SimDriverConfig config;
    config.cameras = 1;
    config.colourCameras = 0;
    config.cards = 0;
    DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, &host));
    CDeviceManager manager;
    const CDeviceId id(kDeviceTypeCamera, 1, 0);
    CDevice* device = DriverLoader::OpenById(id);
    double rate = 0;
    if (!device || device->SetResolution(kSide, kSide) != 0 || device->GetRecordRate(&rate) != 0) {
        state.SkipWithError("the camera did not open at 1024 x 1024");
        return;
    }
    CMultiDocTemplate camTemplate(141, RUNTIME_CLASS(CCamDoc), RUNTIME_CLASS(CCamFrmSimple),
                                  RUNTIME_CLASS(CCamView));
    CDocument* doc =
        camTemplate.OpenDocumentFile(QString(CCamDoc::kDeviceMarker) + "__" + id.ToString(), TRUE);
    POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr;
    auto* view = doc ? dynamic_cast<CCamView*>(doc->GetNextView(pos)) : nullptr;
    if (!view) {
        state.SkipWithError("the camera window did not open");
        return;
    }
    CWnd* frame = view->GetParentFrame();
    frame->MoveWindow(0, 0, 640, 440);
    frame->ShowWindow(SW_SHOW);
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
    // The loop below is the view's timer: left running, its own ticks would paint frames the
    // loop does not count.
    view->KillTimer(CCXView::kLiveTimerId);

    const auto periodNs = static_cast<int64_t>(1e9 / rate);
    for (auto _ : state) {
        s_nowNs += periodNs;
        view->OnTimer(CCXView::kLiveTimerId);
        QApplication::processEvents();
    }
    frame->DestroyWindow();
    main.DestroyWindow();
    app.m_pMainWnd = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    DriverLoader::ResetForTests();
}

void PlainPread(benchmark::State& state) {
    static int next = 0;
    const int fd = ::open(QFile::encodeName(Recording()).constData(), O_RDONLY);
    std::vector<char> buffer(kSide * kSide);
    for (auto _ : state) {
        const off_t at = kDataOffset + static_cast<off_t>(NextFrame(&next)) * kSide * kSide;
        benchmark::DoNotOptimize(::pread(fd, buffer.data(), buffer.size(), at));
        benchmark::DoNotOptimize(buffer.data());
    }
    ::close(fd);
}

}  // namespace

BENCHMARK(VideoWindowStep)
    ->Name("vidwindow/step_1024")
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(kStepsPerRepetition);
BENCHMARK(LiveCameraStep)
    ->Name("camera/live_step_1024")
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(kStepsPerRepetition);
BENCHMARK(PlainPread)
    ->Name("posix/pread_1024")
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(kStepsPerRepetition);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRate("video window step (read, display tables, paint)", "vidwindow/step_1024",
                       "posix/pread_1024", 0.7);
    reporter.PrintRate("live camera display against the video window", "camera/live_step_1024",
                       "vidwindow/step_1024", 0.9);
    benchmark::Shutdown();
    QFile::remove(Recording());
    return 0;
}
