// One step of a play group at full speed: four base-synchronised video members of 1024 x 1024
// frames at one rate, so that every step moves each of them to a new frame; the play control
// moves the top one, every member reads and paints its frame. Printed as a ratio to four
// preads of the same frames, measured in the same run. Every repetition goes on to frames it
// has not shown yet, from recordings of 240 frames.
//
// And one step of a group of a 1024 x 1024 video beside a data member of 16 channels and
// 1 000 000 scans, synchronised with it: the video reads and paints its frame, the data's
// cursor moves to its scan, its read-out follows and its graph repaints. Printed as a ratio to
// the step of the same video alone in its group, with the share of a 10 ms period it takes;
// that share is the goal, since the data window's own controls cost what a step that updates
// no controls does not.

#include "bench/RatioReporter.h"
#include "frames/FrameSource.h"
#include "groups/MeasurementView.h"
#include "platform/framework/Document.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/WinApp.h"
#include "sensordata/DataPlayDoc.h"
#include "sensordata/DataPlayView.h"
#include "sensordata/DataQNPlayFrameVCF.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SondrelModule.h"
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

#include <cmath>
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
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

constexpr int kDataChannels = 16;
constexpr int kDataScans = 1000000;

// A data set of 16 channels of 1 000 000 scans at 1000 scans/s: slow waves with a little noise.
CSharedRef<CSensorDataSet> BigDataSet() {
    CSharedRef<CSensorDataSet> set(new CSensorDataSet);
    set->Init(kDataChannels, kDataScans, 1, 1000.0, 0);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-0.05f, 0.05f);
    CVidraData& data = *set->GetData();
    for (int k = 0; k < kDataChannels; ++k) {
        std::vector<float>& samples = data.m_channels[static_cast<size_t>(k)];
        for (int s = 0; s < kDataScans; ++s)
            samples[static_cast<size_t>(s)] =
                k + 0.4f * std::sin(s * (0.0001f + 0.00003f * k)) + noise(random);
    }
    return set;
}

// A group of the first recording's video, with the big data member beside it when withData;
// the play control moves the video, the group the rest.
void SyncStep(benchmark::State& state, bool withData) {
    CWinApp app("bench");
    CResourceChain::AddModule(RmResourceModule());
    CWnd main;
    main.Create(nullptr, "main", WS_VISIBLE, CRect(0, 0, 1400, 1000), nullptr, 0);
    app.m_pMainWnd = &main;
    auto* group = new CMeasurementView;
    group->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 1300, 940), &main,
                  AFX_IDW_PANE_FIRST);
    group->OnInitialUpdate();
    CMultiDocTemplate vidTemplate(145, RUNTIME_CLASS(CVidDoc), RUNTIME_CLASS(CVidFrame),
                                  RUNTIME_CLASS(CVidView));
    CMultiDocTemplate dataTemplate(151, RUNTIME_CLASS(CDataPlayDoc),
                                   RUNTIME_CLASS(CDataQNPlayFrameVCF),
                                   RUNTIME_CLASS(CDataPlayView));

    auto* source = new CFrameSource;
    CFrameSourcePtr ptr(source);
    CDocument* doc = vidTemplate.OpenDocumentFile(QString(), TRUE);
    POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr;
    auto* video = doc ? dynamic_cast<CVidView*>(doc->GetNextView(pos)) : nullptr;
    if (!video || source->Open(Recordings()[0]) != 1) {
        state.SkipWithError("the video did not open");
        return;
    }
    auto* videoFrame = static_cast<CViewChildedFrame*>(video->GetParentFrame());
    CViewChildedFrame::AttachToParentView(group, videoFrame);
    videoFrame->MoveWindow(0, 0, 640, 460);
    videoFrame->ShowWindow(SW_SHOW);
    video->SetFrameSource(ptr);
    video->SetGroupMember(CPlaybackView::kVideoMember, 1, 0, 0);
    video->SetFrameRate(1000);
    video->SetFrameCount(kFrames);
    video->SetBaseSync(1);
    video->SetSourceName(QStringLiteral("bench.playgrp"));

    CDataPlayView* data = nullptr;
    if (withData) {
        auto* dataDoc = dynamic_cast<CDataPlayDoc*>(dataTemplate.OpenDocumentFile(QString(), TRUE));
        pos = dataDoc ? dataDoc->GetFirstViewPosition() : nullptr;
        data = dataDoc ? dynamic_cast<CDataPlayView*>(dataDoc->GetNextView(pos)) : nullptr;
        if (!data) {
            state.SkipWithError("the data window did not open");
            return;
        }
        dataDoc->SetDataSet(BigDataSet(), 1);
        auto* dataFrame = static_cast<CViewChildedFrame*>(data->GetParentFrame());
        CViewChildedFrame::AttachToParentView(group, dataFrame);
        dataFrame->MoveWindow(0, 470, 1280, 460);
        dataFrame->ShowWindow(SW_SHOW);
        data->SetGroupMember(CPlaybackView::kDataMember, 2, 0, 0);
        data->SetBaseSync(1);
        data->SetSourceName(QStringLiteral("bench.playgrp"));
    }
    videoFrame->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    // The windows are shown and painted once before timing, as on screen.
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();

    static int frame = 0;
    CPlayControlWnd& control = group->GetPlayControl();
    control.GotoFrame(frame, TRUE);
    QApplication::processEvents();
    for (auto _ : state) {
        NextFrame(&frame);
        control.GotoFrame(frame, TRUE);
        QApplication::processEvents();
    }
    if (data && data->GetCurrentFrame() != frame)
        state.SkipWithError("the data member did not follow");

    if (data)
        data->GetParentFrame()->DestroyWindow();
    videoFrame->DestroyWindow();
    main.DestroyWindow();
    app.m_pMainWnd = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CResourceChain::RemoveModule(RmResourceModule());
}

void VideoWithData(benchmark::State& state) {
    SyncStep(state, true);
}

void VideoAlone(benchmark::State& state) {
    SyncStep(state, false);
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
BENCHMARK(VideoWithData)
    ->Name("group/sync_step_video_data16x1M")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kStepsPerRepetition);
BENCHMARK(VideoAlone)
    ->Name("group/sync_step_video_alone")
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
    reporter.PrintRatioOfPeriod("play group step, video + 16 x 1M data",
                                "group/sync_step_video_data16x1M", "group/sync_step_video_alone",
                                0.10, 10.0);
    benchmark::Shutdown();
    for (const QString& path : Recordings())
        QFile::remove(path);
    return 0;
}
