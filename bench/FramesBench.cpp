// The frame path's two hot loops against what they stand on: a 1024 x 1024 8-bit frame turned
// into display levels through a display table, against OpenCV's cv::LUT on the same data; and
// reading a RAW recording frame by frame through its stream, against a plain pread loop over
// the same file. Prints our time as a ratio to theirs.

#include "bench/RatioReporter.h"
#include "frames/DisplayLut.h"
#include "frames/RawStream.h"
#include "platform/media/AviStreamFunctions.h"

#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include "bench/RatioReporter.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 1024;
constexpr int kRawFrames = 32;
constexpr int kRawDataOffset = 1024;

const std::vector<BYTE>& Frame() {
    static const std::vector<BYTE> frame = [] {
        std::vector<BYTE> f(kSide * kSide);
        std::mt19937 random(1024);
        for (auto& s : f)
            s = static_cast<BYTE>(random());
        return f;
    }();
    return frame;
}

CLutParamSet Params() {
    CLutParamSet p;
    p.SetBrightness(0, 12);
    p.SetContrast(0, 40);
    p.SetGamma(0, 1.8);
    return p;
}

void DisplayTableGrey8(benchmark::State& state) {
    CDisplayLut lut;
    lut.Build(Params(), 1);
    RGBQUAD colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    std::vector<BYTE> dst(kSide * kSide);
    for (auto _ : state) {
        lut.ConvertToGrey(Frame().data(), dst.data(), 8, true, kSide, kSide, colours);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}

void OpenCvLut(benchmark::State& state) {
    CDisplayLut lut;
    const RGBQUAD* palette = lut.Build(Params(), 1);
    cv::Mat table(1, 256, CV_8U);
    for (int i = 0; i < 256; ++i)
        table.at<BYTE>(i) = palette[i].rgbRed;
    const cv::Mat src(kSide, kSide, CV_8U, const_cast<BYTE*>(Frame().data()));
    cv::Mat dst(kSide, kSide, CV_8U);
    for (auto _ : state) {
        cv::LUT(src, table, dst);
        benchmark::DoNotOptimize(dst.data);
        benchmark::ClobberMemory();
    }
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
        for (int n = 0; n < kRawFrames; ++n)
            f.write(reinterpret_cast<const char*>(Frame().data()), kSide * kSide);
        return p;
    }();
    return path;
}

void RawStreamRead(benchmark::State& state) {
    IAVIStream* stream = OpenRawStream(RawPath());
    if (!stream) {
        state.SkipWithError("the RAW file did not open");
        return;
    }
    std::vector<BYTE> frame(kSide * kSide);
    for (auto _ : state) {
        for (LONG n = 0; n < kRawFrames; ++n) {
            LONG bytes = 0;
            AVIStreamRead(stream, n, 1, frame.data(), static_cast<LONG>(frame.size()), &bytes,
                          nullptr);
            benchmark::DoNotOptimize(frame.data());
        }
    }
    AVIStreamRelease(stream);
}

void PlainPread(benchmark::State& state) {
    const int fd = ::open(QFile::encodeName(RawPath()).constData(), O_RDONLY);
    std::vector<BYTE> frame(kSide * kSide);
    for (auto _ : state) {
        for (int n = 0; n < kRawFrames; ++n) {
            const ssize_t got = ::pread(fd, frame.data(), frame.size(),
                                        kRawDataOffset + static_cast<off_t>(n) * kSide * kSide);
            benchmark::DoNotOptimize(got);
            benchmark::DoNotOptimize(frame.data());
        }
    }
    ::close(fd);
}

}  // namespace

int main(int argc, char** argv) {
    cv::setNumThreads(1);
    benchmark::RegisterBenchmark("display_table/grey8", DisplayTableGrey8)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("opencv/LUT", OpenCvLut)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("raw_stream/read", RawStreamRead)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("posix/pread", PlainPread)->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("display_table/grey8", "opencv/LUT", 1.2);
    reporter.PrintRatio("raw_stream/read", "posix/pread", 1.1);
    benchmark::Shutdown();
    QFile::remove(RawPath());
    return 0;
}
