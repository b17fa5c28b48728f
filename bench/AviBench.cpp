// AVI reading as the program runs it, CFrameSource::GetFrame frame after frame, against what it
// stands on, measured in the same run on the same files:
// - a 1024 x 1024 8-bit uncompressed file against bare libavformat and the rawvideo decoder;
// - a 1024 x 1024 MJPEG file against bare libavcodec and the same swscale conversion to BGR24;
// - the uncompressed frames in random order against the same frames in order;
// - GetFrameDib of a cached frame whose display tables changed (a remap only) against a full
//   read of a frame.
// Every repetition of the in-order rows goes on to frames it has not read yet, in order.

#include "bench/RatioReporter.h"
#include "frames/FrameSource.h"
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
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 1024;
constexpr int kMjpegFrames = 1000;
constexpr int kRawFrames = 240;
constexpr int kFramesPerRepetition = 80;

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

// The next frame index of one benchmark: repetitions go on where the last one stopped.
int NextFrame(int* counter, int frames) {
    const int n = *counter;
    *counter = (n + 1) % frames;
    return n;
}

void SourceGetFrame(benchmark::State& state, const QString& path, int frames, int* next) {
    CFrameSource source;
    if (!source.Open(path)) {
        state.SkipWithError("the AVI file did not open");
        return;
    }
    CFrameImage image;
    for (auto _ : state) {
        if (!source.GetFrame(NextFrame(next, frames), &image, 0)) {
            state.SkipWithError("a frame did not read");
            return;
        }
        benchmark::DoNotOptimize(image.GetBitmap());
    }
}

void UncompressedGetFrame(benchmark::State& state) {
    static int next = 0;
    SourceGetFrame(state, RawPath(), kRawFrames, &next);
}

void MjpegGetFrame(benchmark::State& state) {
    static int next = 0;
    SourceGetFrame(state, MjpegPath(), kMjpegFrames, &next);
}

// Bare libavformat and a decoder over one file, packets in file order; at the end of the file
// it starts again from the first.
class BareDecoder {
public:
    explicit BareDecoder(const QString& path) {
        const QByteArray name = QFile::encodeName(path);
        if (avformat_open_input(&m_format, name.constData(), nullptr, nullptr) < 0 ||
            avformat_find_stream_info(m_format, nullptr) < 0)
            return;
        const AVCodecParameters* par = m_format->streams[0]->codecpar;
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        m_decoder = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(m_decoder, par);
        if (avcodec_open2(m_decoder, codec, nullptr) < 0)
            return;
        m_packet = av_packet_alloc();
        m_frame = av_frame_alloc();
    }
    ~BareDecoder() {
        av_frame_free(&m_frame);
        av_packet_free(&m_packet);
        avcodec_free_context(&m_decoder);
        avformat_close_input(&m_format);
    }
    bool IsOpen() const { return m_frame != nullptr; }
    // The next picture, valid until the next call; null at a failure.
    const AVFrame* Next() {
        av_frame_unref(m_frame);
        for (;;) {
            if (avcodec_receive_frame(m_decoder, m_frame) == 0)
                return m_frame;
            if (av_read_frame(m_format, m_packet) < 0) {
                av_seek_frame(m_format, 0, 0, AVSEEK_FLAG_BACKWARD);
                avcodec_flush_buffers(m_decoder);
                if (av_read_frame(m_format, m_packet) < 0)
                    return nullptr;
            }
            avcodec_send_packet(m_decoder, m_packet);
            av_packet_unref(m_packet);
        }
    }

private:
    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_decoder = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
};

void UncompressedLibav(benchmark::State& state) {
    static BareDecoder decoder(RawPath());
    if (!decoder.IsOpen()) {
        state.SkipWithError("the uncompressed file did not open");
        return;
    }
    for (auto _ : state) {
        const AVFrame* frame = decoder.Next();
        if (!frame) {
            state.SkipWithError("a frame did not decode");
            return;
        }
        benchmark::DoNotOptimize(frame->data[0]);
    }
}

void MjpegLibavSws(benchmark::State& state) {
    static BareDecoder decoder(MjpegPath());
    if (!decoder.IsOpen()) {
        state.SkipWithError("the MJPEG file did not open");
        return;
    }
    SwsContext* scaler = nullptr;
    const int stride = kSide * 3;
    std::vector<uint8_t> bgr(static_cast<size_t>(stride) * kSide);
    for (auto _ : state) {
        const AVFrame* frame = decoder.Next();
        if (!frame) {
            state.SkipWithError("a frame did not decode");
            return;
        }
        scaler = sws_getCachedContext(
            scaler, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
            frame->width, frame->height, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
        uint8_t* planes[4] = {bgr.data(), nullptr, nullptr, nullptr};
        const int strides[4] = {stride, 0, 0, 0};
        sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
        benchmark::DoNotOptimize(bgr.data());
    }
    sws_freeContext(scaler);
}

// Every frame of the uncompressed file once per iteration, in order or shuffled.
void ReadUncompressed(benchmark::State& state, bool random) {
    CFrameSource source;
    if (!source.Open(RawPath())) {
        state.SkipWithError("the uncompressed file did not open");
        return;
    }
    std::vector<int> order(kRawFrames);
    std::iota(order.begin(), order.end(), 0);
    if (random)
        std::shuffle(order.begin(), order.end(), std::mt19937(48));
    CFrameImage image;
    for (auto _ : state) {
        for (const int n : order)
            benchmark::DoNotOptimize(source.GetFrame(n, &image, 0));
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

}  // namespace

int main(int argc, char** argv) {
    av_log_set_level(AV_LOG_FATAL);
    benchmark::RegisterBenchmark("source/get_frame_avi_raw", UncompressedGetFrame)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(kFramesPerRepetition);
    benchmark::RegisterBenchmark("ffmpeg/rawvideo", UncompressedLibav)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(kFramesPerRepetition);
    benchmark::RegisterBenchmark("source/get_frame_mjpeg", MjpegGetFrame)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(kFramesPerRepetition);
    benchmark::RegisterBenchmark("ffmpeg/mjpeg_decode_sws", MjpegLibavSws)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(kFramesPerRepetition);
    benchmark::RegisterBenchmark("source/avi_random", UncompressedRandom)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("source/avi_sequential", UncompressedSequential)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("source/dib_remap_only", DisplayRemap)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("source/dib_full_read", DisplayFullRead)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("CFrameSource::GetFrame, uncompressed AVI", "source/get_frame_avi_raw",
                        "ffmpeg/rawvideo", 1.1);
    reporter.PrintRatio("CFrameSource::GetFrame, MJPEG AVI", "source/get_frame_mjpeg",
                        "ffmpeg/mjpeg_decode_sws", 1.1);
    reporter.PrintRatio("uncompressed AVI, random order", "source/avi_random",
                        "source/avi_sequential", 3.0);
    reporter.PrintRatio("GetFrameDib remap only", "source/dib_remap_only", "source/dib_full_read",
                        0.5);
    benchmark::Shutdown();
    QFile::remove(MjpegPath());
    QFile::remove(RawPath());
    return 0;
}
