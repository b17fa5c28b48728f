// One step of a play group at full speed: four base-synchronised video members of 1024 x 1024
// frames at one rate, so that every step moves each of them to a new frame; the play control
// moves the top one, every member reads and paints its frame. Printed as a ratio to the 10 ms
// period of a 100 frames/s play timer.

#include "bench/RatioReporter.h"
#include "frames/FrameSource.h"
#include "groups/MeasurementView.h"
#include "platform/framework/Document.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/WinApp.h"
#include "shell/ViewChildedFrame.h"
#include "views/StreamWnd.h"
#include "views/VidDoc.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QWidget>

#include <unistd.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kSide = 1024;
constexpr int kFrames = 64;
constexpr int kDataOffset = 1024;
constexpr int kMembers = 4;

// An 8-bit RAW recording of kFrames noise frames in the temporary folder at rate.
QString WriteRecording(int index, int rate) {
    const QString path =
        QDir::tempPath() + QString("/reelmark_pgbench_%1_%2.raw").arg(::getpid()).arg(index);
    QFile f(path);
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
    put(68, rate);
    f.write(header);
    std::vector<char> frame(kSide * kSide);
    std::mt19937 random(index);
    for (int n = 0; n < kFrames; ++n) {
        for (auto& s : frame)
            s = static_cast<char>(random());
        f.write(frame.data(), static_cast<qint64>(frame.size()));
    }
    return path;
}

void SynchronisationStep(benchmark::State& state) {
    CWinApp app("bench");
    CWnd main;
    main.Create(nullptr, "main", WS_VISIBLE, CRect(0, 0, 1400, 1000), nullptr, 0);
    app.m_pMainWnd = &main;
    auto* group = new CMeasurementView;
    group->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 1300, 900), &main,
                  AFX_IDW_PANE_FIRST);
    group->OnInitialUpdate();
    CMultiDocTemplate vidTemplate(145, RUNTIME_CLASS(CVidDoc), RUNTIME_CLASS(CVidFrame),
                                  RUNTIME_CLASS(CVidView));

    std::vector<QString> paths;
    std::vector<CVidView*> members;
    for (int i = 0; i < kMembers; ++i) {
        paths.push_back(WriteRecording(i, 1000));
        auto* source = new CFrameSource;
        CFrameSourcePtr ptr(source);
        CDocument* doc = vidTemplate.OpenDocumentFile(QString(), TRUE);
        POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr;
        auto* view = doc ? dynamic_cast<CVidView*>(doc->GetNextView(pos)) : nullptr;
        if (!view || source->Open(paths.back()) != 1) {
            state.SkipWithError("a member did not open");
            return;
        }
        auto* frame = static_cast<CViewChildedFrame*>(view->GetParentFrame());
        CViewChildedFrame::AttachToParentView(group, frame);
        frame->MoveWindow((i % 2) * 640, (i / 2) * 440, 640, 440);
        frame->ShowWindow(SW_SHOW);
        view->SetFrameSource(ptr);
        view->SetGroupMember(CPlaybackView::kVideoMember, i + 1, 0, 0);
        view->SetFrameRate(1000);
        view->SetFrameCount(kFrames);
        view->SetBaseSync(1);
        view->SetSourceName(QStringLiteral("bench.playgrp"));
        members.push_back(view);
    }

    // The windows are shown and painted once before timing, as on screen.
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();

    int frame = 0;
    CPlayControlWnd& control = group->GetPlayControl();
    for (auto _ : state) {
        frame = (frame + 1) % kFrames;
        // Each member's stream window reads its frame; the event loop then paints it, as the
        // play timer's next turn would.
        control.GotoFrame(frame, TRUE);
        QApplication::processEvents();
    }

    for (CVidView* member : members)
        member->GetParentFrame()->DestroyWindow();
    main.DestroyWindow();
    app.m_pMainWnd = nullptr;
    for (const QString& path : paths)
        QFile::remove(path);
}

// The play timer's period at 100 frames per second, as a measured run would report it.
void TimerPeriod(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(0.010);
}

}  // namespace

BENCHMARK(SynchronisationStep)->Name("group/sync_step_4x1024")->Unit(benchmark::kMillisecond);
BENCHMARK(TimerPeriod)->Name("timer/period_100fps")->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("group/sync_step_4x1024", "timer/period_100fps/manual_time", 0.5);
    benchmark::Shutdown();
    return 0;
}
