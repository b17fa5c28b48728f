// One step of a play group at full speed: four base-synchronised video members of 1024 x 1024
// frames at one rate, so that every step moves each of them to a new frame; the play control
// moves the top one, every member reads and paints its frame. Printed as a ratio to four
// preads of the same frames, measured in the same run. Every repetition goes on to frames it
// has not shown yet, from recordings of 240 frames.

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

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kSide = 1024;
constexpr int kFrames = 240;
constexpr int kStepsPerRepetition = 80;
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

// The members' recordings, written once and removed at the end.
const std::vector<QString>& Recordings() {
    static const std::vector<QString> paths = [] {
        std::vector<QString> p;
        for (int i = 0; i < kMembers; ++i)
            p.push_back(WriteRecording(i, 1000));
        return p;
    }();
    return paths;
}

// The frame of the next step; repetitions go on where the last one stopped.
int NextFrame(int* counter) {
    *counter = (*counter + 1) % kFrames;
    return *counter;
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

    std::vector<CVidView*> members;
    for (int i = 0; i < kMembers; ++i) {
        const QString& path = Recordings()[static_cast<size_t>(i)];
        auto* source = new CFrameSource;
        CFrameSourcePtr ptr(source);
        CDocument* doc = vidTemplate.OpenDocumentFile(QString(), TRUE);
        POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr;
        auto* view = doc ? dynamic_cast<CVidView*>(doc->GetNextView(pos)) : nullptr;
        if (!view || source->Open(path) != 1) {
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

    static int frame = 0;
    CPlayControlWnd& control = group->GetPlayControl();
    control.GotoFrame(frame, TRUE);
    QApplication::processEvents();
    for (auto _ : state) {
        NextFrame(&frame);
        // Each member's stream window reads its frame; the event loop then paints it, as the
        // play timer's next turn would.
        control.GotoFrame(frame, TRUE);
        QApplication::processEvents();
    }

    for (CVidView* member : members)
        member->GetParentFrame()->DestroyWindow();
    main.DestroyWindow();
    app.m_pMainWnd = nullptr;
}

// What the step stands on: each member's frame read from its file.
void FourPreads(benchmark::State& state) {
    static int frame = 0;
    std::vector<int> files;
    for (const QString& path : Recordings())
        files.push_back(::open(QFile::encodeName(path).constData(), O_RDONLY));
    std::vector<char> buffer(kSide * kSide);
    for (auto _ : state) {
        const off_t at = kDataOffset + static_cast<off_t>(NextFrame(&frame)) * kSide * kSide;
        for (const int fd : files)
            benchmark::DoNotOptimize(::pread(fd, buffer.data(), buffer.size(), at));
        benchmark::DoNotOptimize(buffer.data());
    }
    for (const int fd : files)
        ::close(fd);
}

}  // namespace

BENCHMARK(SynchronisationStep)
    ->Name("group/sync_step_4x1024")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kStepsPerRepetition);
BENCHMARK(FourPreads)
    ->Name("posix/pread_4x1024")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kStepsPerRepetition);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("play group step, 4 members", "group/sync_step_4x1024",
                        "posix/pread_4x1024", 1.5);
    benchmark::Shutdown();
    for (const QString& path : Recordings())
        QFile::remove(path);
    return 0;
}
