#include "platform/media/AviSaveGraph.h"

#include "platform/media/VideoCompressors.h"
#include "platform/media/VideoEncoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <unistd.h>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// The expressions of the steps as the save assistant reports them.
constexpr const char* kCreateMux =
    "CoCreateInstance(CLSID_AviDest, NULL, CLSCTX_INPROC_SERVER, IID_IBaseFilter, "
    "(void**)&pAVIMux)";
constexpr const char* kFindCodec = "FindCodecFilter(szCodec, &pNullCodec)";
constexpr const char* kConnectCodec =
    "pBitmapFilterOutPin->Connect(pNullCodecInPin, &(AM_MEDIA_TYPE)m_OutVideoType)";
constexpr const char* kConnectMux = "pBitmapFilterOutPin->Connect(pAVIMuxInPin, NULL)";
constexpr const char* kConnectCodecMux = "pNullCodecOutPin->Connect(pAVIMuxInPin, NULL)";
constexpr const char* kSetFileName = "pFileSink2->SetFileName(Filepath, NULL)";
constexpr const char* kConnectWriter = "pAVIMuxOutPin->Connect(pFileWriterInPin, NULL)";
constexpr const char* kRun = "m_pSaveMediaControl->Run()";
constexpr const char* kSetFormat = "pBitmapFilter->SetSaveEnvironment(this, m_pFS)";

constexpr int kFramesPerSecond = 5;
// Large writes: the file grows by a megabyte or more a frame.
constexpr int kIoBufferBytes = 1 << 18;

std::atomic<int64_t> s_writeLimit{-1};

// The output file behind the muxer's I/O context: counts what was written and keeps the
// first failure, so that a full disk is seen even where FFmpeg does not look.
struct FileSink {
    std::FILE* file = nullptr;
    int64_t written = 0;
    int64_t limit = -1;
    bool failed = false;
};

int WritePacket(void* opaque, uint8_t* data, int size) {
    auto* sink = static_cast<FileSink*>(opaque);
    if (sink->failed)
        return AVERROR(EIO);
    if (sink->limit >= 0 && sink->written + size > sink->limit) {
        sink->failed = true;
        return AVERROR(ENOSPC);
    }
    if (std::fwrite(data, 1, static_cast<size_t>(size), sink->file) != static_cast<size_t>(size)) {
        sink->failed = true;
        return AVERROR(EIO);
    }
    sink->written += size;
    return size;
}

int64_t SeekFile(void* opaque, int64_t offset, int whence) {
    auto* sink = static_cast<FileSink*>(opaque);
    if (whence == AVSEEK_SIZE) {
        const off_t here = ftello(sink->file);
        if (here < 0 || fseeko(sink->file, 0, SEEK_END) != 0)
            return -1;
        const off_t size = ftello(sink->file);
        return fseeko(sink->file, here, SEEK_SET) == 0 ? size : -1;
    }
    if (fseeko(sink->file, offset, whence & ~AVSEEK_FORCE) != 0)
        return -1;
    return ftello(sink->file);
}

bool IsGreyRamp(const AviImageFormat& format) {
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& c = format.palette[i];
        if (c.rgbRed != i || c.rgbGreen != i || c.rgbBlue != i)
            return false;
    }
    return true;
}

}  // namespace

struct CAviSaveGraph::Impl {
    QNAVIFrameSource* provider = nullptr;
    AviImageFormat format;
    bool formatSet = false;
    ErrorReporter reporter;

    QString target;
    QString tempPath;
    bool discard = false;  // Stop leaves the target alone
    FileSink sink;
    AVFormatContext* output = nullptr;
    AVIOContext* io = nullptr;
    AVStream* stream = nullptr;
    AVCodecContext* encoder = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* picture = nullptr;
    AVPacket* packet = nullptr;
    uint32_t argbPalette[256] = {};
    bool grey = false;

    std::thread worker;
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    bool running = false;
    bool done = false;
    std::atomic<bool> stopRequested{false};
    std::atomic<int> samples{0};
    bool writeFailed = false;
    bool trailerWritten = false;
    bool succeeded = false;

    void Report(const char* expression) const {
        if (reporter)
            reporter(FailureText(E_FAIL, expression));
    }

    int64_t FrameSize() const {
        return FrameBytes(format.width, format.height, format.bitsPerPixel);
    }

    bool OpenEncoder(const QString& encoderName) {
        bool found = false;
        encoder = OpenVideoEncoder(encoderName, format.width, format.height, grey,
                                   (output->oformat->flags & AVFMT_GLOBALHEADER) != 0, &found);
        if (!encoder) {
            Report(found ? kConnectCodec : kFindCodec);
            return false;
        }
        const AVPixelFormat input = format.bitsPerPixel == 8
                                        ? (grey ? AV_PIX_FMT_GRAY8 : AV_PIX_FMT_PAL8)
                                        : AV_PIX_FMT_BGR24;
        scaler = sws_getContext(format.width, format.height, input, format.width, format.height,
                                encoder->pix_fmt, SWS_POINT, nullptr, nullptr, nullptr);
        picture = av_frame_alloc();
        if (!scaler || !picture) {
            Report(kConnectCodec);
            return false;
        }
        picture->format = encoder->pix_fmt;
        picture->width = format.width;
        picture->height = format.height;
        if (av_frame_get_buffer(picture, 0) < 0) {
            Report(kConnectCodec);
            return false;
        }
        return true;
    }

    bool WritePackets() {
        for (;;) {
            const int r = avcodec_receive_packet(encoder, packet);
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
                return true;
            if (r < 0)
                return false;
            av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
            packet->stream_index = stream->index;
            if (av_interleaved_write_frame(output, packet) < 0)
                return false;
        }
    }

    // The next frame into the file: 1 written, 0 when the provider has no more, -1 on a failure.
    // An uncompressed frame: the provider fills the packet itself, so that its rows are
    // copied once on their way to the muxer.
    int NextRawFrame(int position, int sample) {
        const int size = static_cast<int>(FrameSize());
        if (av_new_packet(packet, size) < 0)
            return -1;
        if (provider->GetFrame(position, packet->data, size) != 0) {
            av_packet_unref(packet);
            return 0;
        }
        packet->pts = packet->dts = sample;
        packet->duration = 1;
        packet->flags |= AV_PKT_FLAG_KEY;
        packet->stream_index = stream->index;
        if (format.bitsPerPixel == 8 && sample == 0) {
            uint8_t* side = av_packet_new_side_data(packet, AV_PKT_DATA_PALETTE, AVPALETTE_SIZE);
            if (!side)
                return -1;
            std::memcpy(side, argbPalette, AVPALETTE_SIZE);
        }
        av_packet_rescale_ts(packet, AVRational{1, kFramesPerSecond}, stream->time_base);
        return av_interleaved_write_frame(output, packet) >= 0 ? 1 : -1;
    }

    // A frame for the compressor: bottom-up rows from the provider into the encoder's picture.
    int NextCodedFrame(std::vector<uint8_t>& buffer, int position, int sample) {
        if (provider->GetFrame(position, buffer.data(), static_cast<int>(buffer.size())) != 0)
            return 0;
        const int stride = static_cast<int>(FrameBytes(format.width, 1, format.bitsPerPixel));
        if (av_frame_make_writable(picture) < 0)
            return -1;
        if (grey && picture->format == AV_PIX_FMT_YUVJ420P) {
            // Full-range luma of a grey level is the level itself and its chroma the middle:
            // the rows go straight into the luma plane, top first.
            for (int y = 0; y < format.height; ++y)
                std::memcpy(picture->data[0] + static_cast<ptrdiff_t>(y) * picture->linesize[0],
                            buffer.data() + static_cast<size_t>(format.height - 1 - y) * stride,
                            static_cast<size_t>(format.width));
            const int chromaRows = (format.height + 1) / 2;
            const size_t chromaBytes = static_cast<size_t>((format.width + 1) / 2);
            for (int plane = 1; plane <= 2; ++plane) {
                for (int y = 0; y < chromaRows; ++y)
                    std::memset(
                        picture->data[plane] + static_cast<ptrdiff_t>(y) * picture->linesize[plane],
                        128, chromaBytes);
            }
        } else {
            // The encoders take rows top first: start at the last stored row and walk up.
            const uint8_t* source[4] = {
                buffer.data() + static_cast<size_t>(format.height - 1) * stride,
                reinterpret_cast<const uint8_t*>(argbPalette), nullptr, nullptr};
            const int sourceStride[4] = {-stride, 0, 0, 0};
            sws_scale(scaler, source, sourceStride, 0, format.height, picture->data,
                      picture->linesize);
        }
        picture->pts = sample;
        if (avcodec_send_frame(encoder, picture) < 0)
            return -1;
        return WritePackets() ? 1 : -1;
    }

    void Stream() {
        std::vector<uint8_t> buffer(encoder ? static_cast<size_t>(FrameSize()) : 0);
        int position = -1;
        bool ok = true;
        while (!stopRequested.load()) {
            const int sample = samples.load();
            const int next =
                encoder ? NextCodedFrame(buffer, position, sample) : NextRawFrame(position, sample);
            if (next == 0) {
                ok = !provider->ReadFailed();
                break;
            }
            if (next < 0) {
                ok = false;
                break;
            }
            position = sample;
            samples.store(sample + 1);
        }
        if (ok && encoder) {
            ok = avcodec_send_frame(encoder, nullptr) >= 0 && WritePackets();
        }
        trailerWritten = ok && av_write_trailer(output) >= 0;
        avio_flush(io);
        writeFailed = !ok || sink.failed || io->error < 0;
        {
            std::lock_guard<std::mutex> lock(doneMutex);
            done = true;
        }
        doneSignal.notify_all();
    }

    void Release() {
        sws_freeContext(scaler);
        scaler = nullptr;
        av_frame_free(&picture);
        av_packet_free(&packet);
        avcodec_free_context(&encoder);
        if (output) {
            output->pb = nullptr;
            avformat_free_context(output);
            output = nullptr;
        }
        if (io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
        if (sink.file) {
            if (std::fclose(sink.file) != 0)
                writeFailed = true;
            sink.file = nullptr;
        }
    }
};

CAviSaveGraph::CAviSaveGraph(QNAVIFrameSource* provider) : m(std::make_unique<Impl>()) {
    m->provider = provider;
}

CAviSaveGraph::~CAviSaveGraph() {
    Stop();
}

int CAviSaveGraph::SetImageFormat(const AviImageFormat& format) {
    if (format.width <= 0 || format.height <= 0 ||
        (format.bitsPerPixel != 8 && format.bitsPerPixel != 24) ||
        FrameBytes(format.width, format.height, format.bitsPerPixel) > INT32_MAX)
        return 0;
    m->format = format;
    m->formatSet = true;
    m->grey = format.bitsPerPixel == 8 && IsGreyRamp(format);
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& c = format.palette[i];
        m->argbPalette[i] =
            0xFF000000u | (uint32_t{c.rgbRed} << 16) | (uint32_t{c.rgbGreen} << 8) | c.rgbBlue;
    }
    return 1;
}

int64_t CAviSaveGraph::FrameBytes(int width, int height, int bitsPerPixel) {
    const int64_t row = (int64_t{width} * bitsPerPixel + 31) / 32 * 4;
    return row * height;
}

void CAviSaveGraph::SetErrorReporter(ErrorReporter reporter) {
    m->reporter = std::move(reporter);
}

bool CAviSaveGraph::BuildSaveGraph(const QString& path, const QString& codecName) {
    av_log_set_level(AV_LOG_FATAL);
    if (!m->provider || !m->formatSet || m->output) {
        m->Report(kSetFormat);
        return false;
    }
    const bool compressed = codecName != QLatin1String(kNoCompression);
    const QString encoderName = compressed ? VideoCompressorEncoder(codecName) : QString();
    if (compressed && encoderName.isEmpty()) {
        m->Report(kFindCodec);
        return false;
    }
    if (avformat_alloc_output_context2(&m->output, nullptr, "avi", nullptr) < 0 || !m->output) {
        m->Report(kCreateMux);
        return false;
    }
    m->packet = av_packet_alloc();
    if (!m->packet) {
        m->Report(kCreateMux);
        return false;
    }
    if (compressed && !m->OpenEncoder(encoderName))
        return false;
    m->stream = avformat_new_stream(m->output, nullptr);
    if (!m->stream) {
        m->Report(compressed ? kConnectCodecMux : kConnectMux);
        return false;
    }
    m->stream->time_base = {1, kFramesPerSecond};
    if (compressed) {
        if (avcodec_parameters_from_context(m->stream->codecpar, m->encoder) < 0) {
            m->Report(kConnectCodecMux);
            return false;
        }
    } else {
        AVCodecParameters* par = m->stream->codecpar;
        par->codec_type = AVMEDIA_TYPE_VIDEO;
        par->codec_id = AV_CODEC_ID_RAWVIDEO;
        par->codec_tag = 0;
        par->format = m->format.bitsPerPixel == 8 ? AV_PIX_FMT_PAL8 : AV_PIX_FMT_BGR24;
        par->bits_per_coded_sample = m->format.bitsPerPixel;
        par->width = m->format.width;
        par->height = m->format.height;
    }
    m->stream->avg_frame_rate = {kFramesPerSecond, 1};

    // The temporary file sits in the target folder, so that the rename stays on one volume.
    const QFileInfo info(path);
    m->target = info.absoluteFilePath();
    static std::atomic<unsigned> s_counter{0};
    m->tempPath = info.absoluteDir().filePath(QStringLiteral(".%1.%2-%3.part")
                                                  .arg(info.fileName())
                                                  .arg(getpid())
                                                  .arg(s_counter.fetch_add(1)));
    m->sink.file = std::fopen(QFile::encodeName(m->tempPath).constData(), "wb+x");
    if (!m->sink.file) {
        m->Report(kSetFileName);
        return false;
    }
    // The muxer's I/O context buffers already; a second buffer in stdio only splits its
    // writes.
    std::setvbuf(m->sink.file, nullptr, _IONBF, 0);
    m->sink.limit = s_writeLimit.load();
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
    m->io = buffer ? avio_alloc_context(buffer, kIoBufferBytes, 1, &m->sink, nullptr, &WritePacket,
                                        &SeekFile)
                   : nullptr;
    if (!m->io) {
        av_free(buffer);
        m->Report(kConnectWriter);
        return false;
    }
    m->io->seekable = AVIO_SEEKABLE_NORMAL;
    m->output->pb = m->io;
    m->output->flags |= AVFMT_FLAG_CUSTOM_IO;
    // The buffer goes out when full, not after every frame: a flush per frame would leave
    // the rest of the file's writes misaligned by the few bytes of a chunk header.
    m->output->flush_packets = 0;
    return true;
}

bool CAviSaveGraph::Run() {
    if (!m->output || m->running) {
        m->Report(kRun);
        return false;
    }
    AVDictionary* options = nullptr;
    // Uncompressed rows are stored bottom-up, as the frames come.
    av_dict_set(&options, "flipped_raw_rgb", "1", 0);
    const int written = avformat_write_header(m->output, &options);
    av_dict_free(&options);
    if (written < 0) {
        m->writeFailed = true;
        m->Report(kRun);
        return false;
    }
    m->running = true;
    m->worker = std::thread([this] { m->Stream(); });
    return true;
}

bool CAviSaveGraph::IsDone() {
    if (!m->running)
        return true;
    std::unique_lock<std::mutex> lock(m->doneMutex);
    return m->doneSignal.wait_for(lock, std::chrono::milliseconds(100), [this] { return m->done; });
}

void CAviSaveGraph::Stop() {
    if (!m->output && m->tempPath.isEmpty())
        return;
    m->stopRequested.store(true);
    if (m->worker.joinable())
        m->worker.join();
    const bool complete = m->running && m->trailerWritten && !m->writeFailed;
    m->Release();
    const bool placed = complete && !m->writeFailed && !m->discard &&
                        std::rename(QFile::encodeName(m->tempPath).constData(),
                                    QFile::encodeName(m->target).constData()) == 0;
    if (!placed)
        QFile::remove(m->tempPath);
    m->succeeded = placed;
    m->running = false;
    m->tempPath.clear();
}

void CAviSaveGraph::Discard() {
    m->discard = true;
    Stop();
    m->discard = false;
}

bool CAviSaveGraph::Succeeded() const {
    return m->succeeded;
}

int CAviSaveGraph::SamplesWritten() const {
    return m->samples.load();
}

QString CAviSaveGraph::FailureText(HRESULT hr, const char* expression) {
    return QStringLiteral("FAILED(hr=0x%1) in %2\n")
        .arg(static_cast<uint32_t>(hr), 0, 16)
        .arg(QString::fromLatin1(expression))
        .left(1023);
}

void CAviSaveGraph::SetWriteLimitForTests(int64_t bytes) {
    s_writeLimit.store(bytes);
}
