// AVI reading and display frames against what they stand on:
// - sequential decoding of a 1000-frame 1024 x 1024 MJPEG file through AVIStreamGetFrame,
//   against libavcodec decoding the same packets and sws_scale turning them into BGR24;
// - random access to uncompressed 1024 x 1024 frames against reading the same frames in order
//   (the mean time per frame is printed as well);
// - GetFrameDib of a cached frame whose display tables changed (a remap only) against a full
//   read of a frame.
// Prints our time as a ratio to theirs.

#include "bench/RatioReporter.h"
#include "frames/FrameSource.h"
#include "platform/media/AviFile.h"
#include "platform/media/AviGetFrame.h"
#include "platform/media/AviStreamFunctions.h"
#include "platform/media/tests/TestAviWriter.h"

#include <benchmark/benchmark.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <QDir>
#include <QFile>
#include <QString>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 1024;
constexpr int kMjpegFrames = 1000;
constexpr int kRawFrames = 48;

QString TempPath(const char* name) {
    return QDir::tempPath() + QString("/reelmark_bench_%1_%2").arg(::getpid()).arg(name);
}

const QString& MjpegPath() {
    static const QString path = [] {
        const QString p = TempPath("mjpeg.avi");
        WriteTestAvi(p, {TestAviKind::Mjpeg, kSide, kSide, kMjpegFrames, 0});
        return p;
    }();
    return path;
}

const QString& RawPath() {
    static const QString path = [] {
        const QString p = TempPath("pal8.avi");
        WriteTestAvi(p, {TestAviKind::RawPal8, kSide, kSide, kRawFrames, 0});
        return p;
    }();
    return path;
}

struct OpenedStream {
    PAVIFILE file = nullptr;
    IAVIStream* stream = nullptr;
    PGETFRAME reader = nullptr;
    explicit OpenedStream(const QString& path) {
        if (AVIFileOpen(&file, path, OF_READ, nullptr) == AVIERR_OK &&
            AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == AVIERR_OK)
            reader = AVIStreamGetFrameOpen(stream, nullptr);
    }
    ~OpenedStream() {
        AVIStreamGetFrameClose(reader);
        AVIStreamRelease(stream);
        AVIFileRelease(file);
    }
};

void MjpegThroughGetFrame(benchmark::State& state) {
    OpenedStream opened(MjpegPath());
    if (!opened.reader) {
        state.SkipWithError("the MJPEG file did not open");
        return;
    }
    for (auto _ : state) {
        for (LONG n = 0; n < kMjpegFrames; ++n)
            benchmark::DoNotOptimize(AVIStreamGetFrame(opened.reader, n));
    }
}

void MjpegThroughLibavcodec(benchmark::State& state) {
    const QByteArray name = QFile::encodeName(MjpegPath());
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, name.constData(), nullptr, nullptr) < 0 ||
        avformat_find_stream_info(format, nullptr) < 0) {
        state.SkipWithError("the MJPEG file did not open");
        return;
    }
    AVStream* stream = format->streams[0];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, stream->codecpar);
    avcodec_open2(decoder, codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    SwsContext* scaler = nullptr;
    const int stride = kSide * 3;
    std::vector<uint8_t> bgr(static_cast<size_t>(stride) * kSide);
    for (auto _ : state) {
        av_seek_frame(format, 0, 0, AVSEEK_FLAG_BACKWARD);
        avcodec_flush_buffers(decoder);
        while (av_read_frame(format, packet) >= 0) {
            avcodec_send_packet(decoder, packet);
            av_packet_unref(packet);
            while (avcodec_receive_frame(decoder, frame) == 0) {
                scaler = sws_getCachedContext(scaler, frame->width, frame->height,
                                              static_cast<AVPixelFormat>(frame->format),
                                              frame->width, frame->height, AV_PIX_FMT_BGR24,
                                              SWS_BILINEAR, nullptr, nullptr, nullptr);
                uint8_t* planes[4] = {bgr.data(), nullptr, nullptr, nullptr};
                const int strides[4] = {stride, 0, 0, 0};
                sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
                benchmark::DoNotOptimize(bgr.data());
                av_frame_unref(frame);
            }
        }
    }
    sws_freeContext(scaler);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
}

void ReadUncompressed(benchmark::State& state, bool random) {
    OpenedStream opened(RawPath());
    if (!opened.reader) {
        state.SkipWithError("the uncompressed file did not open");
        return;
    }
    std::vector<LONG> order(kRawFrames);
    std::iota(order.begin(), order.end(), 0);
    if (random)
        std::shuffle(order.begin(), order.end(), std::mt19937(48));
    for (auto _ : state) {
        for (LONG n : order)
            benchmark::DoNotOptimize(AVIStreamGetFrame(opened.reader, n));
    }
}

void UncompressedRandom(benchmark::State& state) {
    ReadUncompressed(state, true);
}

void UncompressedSequential(benchmark::State& state) {
    ReadUncompressed(state, false);
}

void DisplayFrame(benchmark::State& state, bool remapOnly) {
    CFrameSource source;
    if (!source.Open(RawPath())) {
        state.SkipWithError("the uncompressed file did not open");
        return;
    }
    CLutParamSet colour[2];
    CLutParamSet bw;
    ResetLutParams(&colour[0]);
    ResetLutParams(&colour[1]);
    ResetLutParams(&bw);
    colour[0].SetBrightness(0, 8);
    colour[1].SetBrightness(0, -8);
    CFrameImage image;
    int step = 0;
    for (auto _ : state) {
        ++step;
        if (remapOnly)
            source.GetFrameDib(0, &image, colour[step & 1], bw, 0);
        else
            source.GetFrameDib(step & 1, &image, colour[0], bw, 0);
        benchmark::DoNotOptimize(image.GetBitmap());
    }
}

void DisplayRemap(benchmark::State& state) {
    DisplayFrame(state, true);
}

void DisplayFullRead(benchmark::State& state) {
    DisplayFrame(state, false);
}

// The shared ratios, and the mean time per frame of a run.
class AviReporter : public RatioReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        RatioReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                m_times[run.run_name.function_name] = run.GetAdjustedRealTime();
    }

    // Mean milliseconds per frame of a run in milliseconds that read `frames` frames per
    // iteration.
    void PrintPerFrame(const std::string& name, int frames, double goalMs) const {
        const auto a = m_times.find(name);
        if (a == m_times.end())
            return;
        const double ms = a->second / frames;
        std::printf("%-28s %.3f ms per frame (goal <= %.1f ms)%s\n", name.c_str(), ms, goalMs,
                    ms <= goalMs ? "" : "  ABOVE GOAL");
    }

private:
    std::map<std::string, double> m_times;
};

}  // namespace

int main(int argc, char** argv) {
    av_log_set_level(AV_LOG_FATAL);
    benchmark::RegisterBenchmark("avi/mjpeg_getframe", MjpegThroughGetFrame)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);
    benchmark::RegisterBenchmark("ffmpeg/mjpeg_decode_sws", MjpegThroughLibavcodec)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);
    benchmark::RegisterBenchmark("avi/uncompressed_random", UncompressedRandom)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("avi/uncompressed_sequential", UncompressedSequential)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("source/dib_remap_only", DisplayRemap)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("source/dib_full_read", DisplayFullRead)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    AviReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("AVIStreamGetFrame, MJPEG AVI", "avi/mjpeg_getframe",
                        "ffmpeg/mjpeg_decode_sws", 1.1);
    reporter.PrintRatio("uncompressed AVI, random order", "avi/uncompressed_random",
                        "avi/uncompressed_sequential", 3.0);
    reporter.PrintPerFrame("avi/uncompressed_random", kRawFrames, 2.0);
    reporter.PrintRatio("GetFrameDib remap only", "source/dib_remap_only", "source/dib_full_read",
                        0.5);
    benchmark::Shutdown();
    QFile::remove(MjpegPath());
    QFile::remove(RawPath());
    return 0;
}
