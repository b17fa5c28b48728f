// Saving 500 frames of 1024 x 1024 8-bit through the program's save entry (the frame source's
// Save, which hands the request to its save controller, as the menus reach it after the
// dialogs and as the play groups' re-save calls it): as an uncompressed AVI and
// as MJPEG against libavcodec + libavformat encoding and muxing the same frames to the same
// codec, and as a BMP sequence against writing the same bytes with plain buffered I/O.

#include "bench/RatioReporter.h"
#include "frames/FrameSource.h"
#include "shell/SaveController.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <unistd.h>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kSide = 1024;
constexpr int kFrames = 500;
constexpr int kRawHeader = 72;

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

QString InFolder(const char* name) {
    return Folder().filePath(QString::fromLatin1(name));
}

// A RAW recording of moving ramps.
bool WriteRecording(const QString& path) {
    std::FILE* f = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!f)
        return false;
    unsigned char header[kRawHeader] = {};
    const auto put = [&header](int at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            header[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    std::memcpy(header, "OP05", 4);
    put(8, kFrames);
    put(12, kSide);
    put(16, kSide);
    put(24, kRawHeader);
    put(28, 8);
    put(68, 100);
    bool ok = std::fwrite(header, 1, kRawHeader, f) == kRawHeader;
    std::vector<unsigned char> frame(static_cast<size_t>(kSide) * kSide);
    for (int n = 0; ok && n < kFrames; ++n) {
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                frame[static_cast<size_t>(y) * kSide + x] =
                    static_cast<unsigned char>((x + 2 * y + 3 * n) & 0xFF);
        ok = std::fwrite(frame.data(), 1, frame.size(), f) == frame.size();
    }
    return std::fclose(f) == 0 && ok;
}

// Frame n of the recording as stored (rows top first).
bool ReadStoredFrame(std::FILE* f, int n, std::vector<unsigned char>* frame) {
    frame->resize(static_cast<size_t>(kSide) * kSide);
    return fseeko(f, kRawHeader + static_cast<off_t>(n) * kSide * kSide, SEEK_SET) == 0 &&
           std::fread(frame->data(), 1, frame->size(), f) == frame->size();
}

// Every run starts without dirty pages of earlier runs, so that the kernel's writing back of
// one run's file does not fall on the next run, whichever side of a ratio that is.
void Settle() {
    ::sync();
}

CFrameSource& Source() {
    static CFrameSource source;
    static const bool opened = [] {
        const bool written = WriteRecording(InFolder("bench.raw"));
        Settle();
        return written && source.Open(InFolder("bench.raw")) == 1;
    }();
    (void)opened;
    return source;
}

void OursAvi(benchmark::State& state, const char* codec) {
    CFrameSource& source = Source();  // writes the recording on first use
    for (auto _ : state) {
        CSaveVideoParams params;
        params.m_outputKind = CSaveVideoParams::kAvi;
        params.m_outputPath = InFolder("ours.avi");
        params.m_codecName = QString::fromLatin1(codec);
        params.m_quiet = 1;
        if (source.Save(&params) != 1)
            state.SkipWithError("save failed");
    }
    QFile::remove(InFolder("ours.avi"));
    QFile::remove(InFolder("ours.cfg"));
    Settle();
}

void OursRaw(benchmark::State& state) {
    OursAvi(state, "- No Compression -");
}

void OursMjpeg(benchmark::State& state) {
    OursAvi(state, "Motion JPEG (MJPEG)");
}

// libavformat (and for MJPEG libavcodec) alone over the same stored frames.
void TheirsAvi(benchmark::State& state, bool mjpeg) {
    Source();  // writes the recording on first use
    std::FILE* in = std::fopen(QFile::encodeName(InFolder("bench.raw")).constData(), "rb");
    std::vector<unsigned char> frame;
    std::vector<unsigned char> flipped(static_cast<size_t>(kSide) * kSide);
    for (auto _ : state) {
        AVFormatContext* out = nullptr;
        const QByteArray name = QFile::encodeName(InFolder("theirs.avi"));
        avformat_alloc_output_context2(&out, nullptr, "avi", name.constData());
        AVStream* stream = avformat_new_stream(out, nullptr);
        stream->time_base = {1, 5};
        AVCodecContext* encoder = nullptr;
        SwsContext* scaler = nullptr;
        AVFrame* picture = nullptr;
        if (mjpeg) {
            const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
            encoder = avcodec_alloc_context3(codec);
            encoder->width = kSide;
            encoder->height = kSide;
            encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
            encoder->time_base = {1, 5};
            encoder->flags |= AV_CODEC_FLAG_QSCALE;
            encoder->global_quality = FF_QP2LAMBDA * 2;
            encoder->thread_count = 1;
            avcodec_open2(encoder, codec, nullptr);
            avcodec_parameters_from_context(stream->codecpar, encoder);
            scaler = sws_getContext(kSide, kSide, AV_PIX_FMT_GRAY8, kSide, kSide,
                                    AV_PIX_FMT_YUVJ420P, SWS_POINT, nullptr, nullptr, nullptr);
            picture = av_frame_alloc();
            picture->format = AV_PIX_FMT_YUVJ420P;
            picture->width = kSide;
            picture->height = kSide;
            av_frame_get_buffer(picture, 0);
        } else {
            stream->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
            stream->codecpar->codec_id = AV_CODEC_ID_RAWVIDEO;
            stream->codecpar->format = AV_PIX_FMT_PAL8;
            stream->codecpar->bits_per_coded_sample = 8;
            stream->codecpar->width = kSide;
            stream->codecpar->height = kSide;
        }
        avio_open(&out->pb, name.constData(), AVIO_FLAG_WRITE);
        AVDictionary* options = nullptr;
        av_dict_set(&options, "flipped_raw_rgb", "1", 0);
        if (avformat_write_header(out, &options) < 0)
            state.SkipWithError("no header");
        av_dict_free(&options);
        AVPacket* packet = av_packet_alloc();
        const auto drain = [&] {
            while (avcodec_receive_packet(encoder, packet) == 0) {
                av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
                packet->stream_index = 0;
                av_interleaved_write_frame(out, packet);
            }
        };
        for (int n = 0; n < kFrames; ++n) {
            ReadStoredFrame(in, n, &frame);
            if (mjpeg) {
                const uint8_t* src[4] = {frame.data(), nullptr, nullptr, nullptr};
                const int stride[4] = {kSide, 0, 0, 0};
                av_frame_make_writable(picture);
                sws_scale(scaler, src, stride, 0, kSide, picture->data, picture->linesize);
                picture->pts = n;
                avcodec_send_frame(encoder, picture);
                drain();
            } else {
                for (int y = 0; y < kSide; ++y)
                    std::memcpy(&flipped[static_cast<size_t>(kSide - 1 - y) * kSide],
                                &frame[static_cast<size_t>(y) * kSide], kSide);
                av_new_packet(packet, static_cast<int>(flipped.size()));
                std::memcpy(packet->data, flipped.data(), flipped.size());
                packet->pts = packet->dts = n;
                packet->duration = 1;
                packet->flags |= AV_PKT_FLAG_KEY;
                av_packet_rescale_ts(packet, AVRational{1, 5}, stream->time_base);
                av_interleaved_write_frame(out, packet);
            }
        }
        if (mjpeg) {
            avcodec_send_frame(encoder, nullptr);
            drain();
        }
        av_write_trailer(out);
        avio_closep(&out->pb);
        av_packet_free(&packet);
        av_frame_free(&picture);
        sws_freeContext(scaler);
        avcodec_free_context(&encoder);
        avformat_free_context(out);
    }
    std::fclose(in);
    QFile::remove(InFolder("theirs.avi"));
    Settle();
}

void TheirsRaw(benchmark::State& state) {
    TheirsAvi(state, false);
}

void TheirsMjpeg(benchmark::State& state) {
    TheirsAvi(state, true);
}

void OursBmp(benchmark::State& state) {
    CFrameSource& source = Source();  // writes the recording on first use
    QDir(Folder().path()).mkpath(QStringLiteral("ours"));
    for (auto _ : state) {
        CSaveVideoParams params;
        params.m_outputKind = CSaveVideoParams::kSequence;
        params.m_imageType = CSaveVideoParams::kBmp;
        params.m_outputPath = InFolder("ours/f.bmp");
        params.m_outputStem = InFolder("ours/f_");
        params.m_quiet = 1;
        if (source.Save(&params) != 1)
            state.SkipWithError("save failed");
    }
    QDir(InFolder("ours")).removeRecursively();
    Settle();
}

// The same BMP files (header, grey palette, rows bottom-up) written with fwrite.
void PlainBmp(benchmark::State& state) {
    Source();  // writes the recording on first use
    std::FILE* in = std::fopen(QFile::encodeName(InFolder("bench.raw")).constData(), "rb");
    QDir(Folder().path()).mkpath(QStringLiteral("plain"));
    std::vector<unsigned char> frame;
    std::vector<unsigned char> file(14 + 40 + 1024 + static_cast<size_t>(kSide) * kSide);
    const auto put32 = [&file](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 14 + 40 + 1024);
    put32(14, 40);
    put32(18, kSide);
    put32(22, kSide);
    file[26] = 1;
    file[28] = 8;
    put32(34, static_cast<uint32_t>(kSide) * kSide);
    put32(46, 256);
    for (int i = 0; i < 256; ++i)
        put32(54 + 4 * static_cast<size_t>(i), static_cast<uint32_t>(i * 0x010101));
    for (auto _ : state) {
        for (int n = 0; n < kFrames; ++n) {
            ReadStoredFrame(in, n, &frame);
            for (int y = 0; y < kSide; ++y)
                std::memcpy(&file[1078 + static_cast<size_t>(kSide - 1 - y) * kSide],
                            &frame[static_cast<size_t>(y) * kSide], kSide);
            char name[64];
            std::snprintf(name, sizeof name, "plain/f_%03d.bmp", n);
            std::FILE* out = std::fopen(QFile::encodeName(InFolder(name)).constData(), "wb");
            std::fwrite(file.data(), 1, file.size(), out);
            std::fclose(out);
        }
    }
    std::fclose(in);
    QDir(InFolder("plain")).removeRecursively();
    Settle();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    av_log_set_level(AV_LOG_FATAL);
    CSaveController::Install();
    for (const auto& [name, fn] :
         {std::pair{"save/avi_uncompressed", &OursRaw},
          std::pair{"ffmpeg/avi_rawvideo", &TheirsRaw}, std::pair{"save/avi_mjpeg", &OursMjpeg},
          std::pair{"ffmpeg/avi_mjpeg", &TheirsMjpeg}, std::pair{"save/bmp_sequence", &OursBmp},
          std::pair{"plain/bmp_fwrite", &PlainBmp}})
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->Iterations(1);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("save 500 frames as uncompressed AVI", "save/avi_uncompressed",
                        "ffmpeg/avi_rawvideo", 1.2);
    reporter.PrintRatio("save 500 frames as MJPEG AVI", "save/avi_mjpeg", "ffmpeg/avi_mjpeg", 1.2);
    reporter.PrintRatio("save 500 frames as BMP sequence", "save/bmp_sequence", "plain/bmp_fwrite",
                        1.5);
    benchmark::Shutdown();
    return 0;
}
