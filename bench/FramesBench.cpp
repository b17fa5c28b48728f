// The frame path of a RAW recording as the program runs it, against what it stands on:
// - CFrameSource::GetFrame, frame after frame, against a pread of the same frames;
// - GetFrameDib's colour-to-grey display mapping of a read frame whose display table changed,
//   against cv::LUT of the same frame through the same table.
// Every repetition reads frames it has not read before, in order, from a 240-frame recording.

#include "bench/RatioReporter.h"
#include "frames/DisplayLut.h"
#include "frames/FrameSource.h"

#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>

#include <QDir>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kSide = 1024;
constexpr int kRawFrames = 240;
constexpr int kFramesPerRepetition = 80;
constexpr int kRawDataOffset = 1024;

// Frame n of the recording: noise, different in every frame.
std::vector<BYTE> Frame(int n) {
    std::vector<BYTE> f(kSide * kSide);
    std::mt19937 random(static_cast<unsigned>(1024 + n));
    for (size_t i = 0; i < f.size(); i += 4) {
        const uint32_t r = random();
        std::memcpy(&f[i], &r, 4);
    }
    return f;
}

// A RAW recording of kRawFrames 8-bit frames in the temporary folder, written once.
const QString& RawPath() {
    static const QString path = [] {
        const QString p = QDir::tempPath() + QString("/reelmark_bench_%1.raw").arg(::getpid());
        QFile f(p);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        QByteArray header(kRawDataOffset, 0);
        std::memcpy(header.data(), "OP05", 4);
        const auto put = [&header](int at, int32_t v) {
            for (int i = 0; i < 4; ++i)
                header[at + i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
        };
        put(8, kRawFrames);
        put(12, kSide);
        put(16, kSide);
        put(24, kRawDataOffset);
        put(28, 8);
        put(68, 1000);
        f.write(header);
        for (int n = 0; n < kRawFrames; ++n) {
            const std::vector<BYTE> frame = Frame(n);
            f.write(reinterpret_cast<const char*>(frame.data()), kSide * kSide);
        }
        return p;
    }();
    return path;
}

// The next frame index of one benchmark: repetitions go on where the last one stopped.
int NextFrame(int* counter) {
    const int n = *counter;
    *counter = (n + 1) % kRawFrames;
    return n;
}

void SourceGetFrame(benchmark::State& state) {
    static int next = 0;
    CFrameSource source;
    if (!source.Open(RawPath())) {
        state.SkipWithError("the RAW file did not open");
        return;
    }
    CFrameImage image;
    for (auto _ : state) {
        if (!source.GetFrame(NextFrame(&next), &image, 0)) {
            state.SkipWithError("a frame did not read");
            return;
        }
        benchmark::DoNotOptimize(image.GetBitmap());
    }
}

void PlainPread(benchmark::State& state) {
    static int next = 0;
    const int fd = ::open(QFile::encodeName(RawPath()).constData(), O_RDONLY);
    std::vector<BYTE> frame(kSide * kSide);
    for (auto _ : state) {
        const off_t at = kRawDataOffset + static_cast<off_t>(NextFrame(&next)) * kSide * kSide;
        const ssize_t got = ::pread(fd, frame.data(), frame.size(), at);
        benchmark::DoNotOptimize(got);
        benchmark::DoNotOptimize(frame.data());
    }
    ::close(fd);
}

// Two colour sets that turn colours into grey levels, differing in brightness so that each
// step builds its table afresh; the black-and-white set stays.
struct DisplaySets {
    DisplaySets() {
        for (CLutParamSet* set : {&colour[0], &colour[1], &bw})
            ResetLutParams(set);
        for (int i = 0; i < 2; ++i) {
            colour[i].SetColor2BW(1);
            colour[i].SetContrast(0, 40);
            colour[i].SetBrightness(0, i ? -12 : 12);
        }
    }
    CLutParamSet colour[2];
    CLutParamSet bw;
};

void SourceDisplayGrey(benchmark::State& state) {
    CFrameSource source;
    if (!source.Open(RawPath())) {
        state.SkipWithError("the RAW file did not open");
        return;
    }
    const DisplaySets sets;
    CFrameImage image;
    source.GetFrameDib(0, &image, sets.colour[0], sets.bw, 0);
    int step = 0;
    for (auto _ : state) {
        ++step;
        source.GetFrameDib(0, &image, sets.colour[step & 1], sets.bw, 0);
        benchmark::DoNotOptimize(image.GetBitmap());
    }
}

void OpenCvLut(benchmark::State& state) {
    const DisplaySets sets;
    CDisplayLut lut;
    lut.Build(sets.colour[0], 0);
    BYTE levels[256];
    lut.GreyLevels(nullptr, 256, levels);
    const cv::Mat table(1, 256, CV_8U, levels);
    std::vector<BYTE> frame = Frame(0);
    const cv::Mat src(kSide, kSide, CV_8U, frame.data());
    cv::Mat dst(kSide, kSide, CV_8U);
    for (auto _ : state) {
        cv::LUT(src, table, dst);
        benchmark::DoNotOptimize(dst.data);
        benchmark::ClobberMemory();
    }
}

}  // namespace

int main(int argc, char** argv) {
    cv::setNumThreads(1);
    benchmark::RegisterBenchmark("source/get_frame_raw", SourceGetFrame)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(kFramesPerRepetition);
    benchmark::RegisterBenchmark("posix/pread", PlainPread)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(kFramesPerRepetition);
    benchmark::RegisterBenchmark("source/display_grey", SourceDisplayGrey)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("opencv/LUT", OpenCvLut)->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("CFrameSource::GetFrame, RAW", "source/get_frame_raw", "posix/pread", 1.1);
    reporter.PrintRatio("colour-to-grey display mapping (GetFrameDib)", "source/display_grey",
                        "opencv/LUT", 1.2);
    benchmark::Shutdown();
    QFile::remove(RawPath());
    return 0;
}
