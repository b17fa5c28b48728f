#include "platform/media/tests/TestAviWriter.h"

#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <cstring>

void TestAviPixel(const TestAviLayout& layout, int frame, int x, int y, BYTE bgr[3]) {
    bgr[0] = static_cast<BYTE>(x * 255 / (layout.width > 1 ? layout.width - 1 : 1));
    bgr[1] = static_cast<BYTE>(y * 255 / (layout.height > 1 ? layout.height - 1 : 1));
    bgr[2] = static_cast<BYTE>(40 + (frame * 37) % 180);
}

BYTE TestAviIndex(int frame, int x, int y) {
    return static_cast<BYTE>(x + 3 * y + 5 * frame);
}

void TestAviPaletteColour(int index, BYTE bgr[3]) {
    bgr[0] = static_cast<BYTE>(index);
    bgr[1] = static_cast<BYTE>(255 - index);
    bgr[2] = static_cast<BYTE>(index * 3);
}

namespace {

struct Writer {
    AVFormatContext* output = nullptr;
    AVCodecContext* encoder = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVFrame* rgb = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scaler = nullptr;
    bool paletteSent = false;

    ~Writer() {
        sws_freeContext(scaler);
        av_packet_free(&packet);
        av_frame_free(&rgb);
        av_frame_free(&frame);
        avcodec_free_context(&encoder);
        if (output) {
            if (output->pb)
                avio_closep(&output->pb);
            avformat_free_context(output);
        }
    }

    bool Drain(bool pal8) {
        for (;;) {
            const int r = avcodec_receive_packet(encoder, packet);
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
                return true;
            if (r < 0)
                return false;
            if (pal8 && !paletteSent) {
                uint8_t* side =
                    av_packet_new_side_data(packet, AV_PKT_DATA_PALETTE, AVPALETTE_SIZE);
                if (!side)
                    return false;
                std::memcpy(side, frame->data[1], AVPALETTE_SIZE);
                paletteSent = true;
            }
            av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
            packet->stream_index = stream->index;
            if (av_interleaved_write_frame(output, packet) < 0)
                return false;
        }
    }
};

}  // namespace

bool WriteTestAvi(const QString& path, const TestAviLayout& layout) {
    av_log_set_level(AV_LOG_FATAL);
    Writer w;
    const QByteArray name = QFile::encodeName(path);
    if (avformat_alloc_output_context2(&w.output, nullptr, "avi", name.constData()) < 0)
        return false;
    AVCodecID id = AV_CODEC_ID_RAWVIDEO;
    AVPixelFormat format = AV_PIX_FMT_BGR24;
    switch (layout.kind) {
        case TestAviKind::RawBgr24:
            break;
        case TestAviKind::RawPal8:
            format = AV_PIX_FMT_PAL8;
            break;
        case TestAviKind::Mjpeg:
            id = AV_CODEC_ID_MJPEG;
            format = AV_PIX_FMT_YUVJ420P;
            break;
        case TestAviKind::Ffv1:
            id = AV_CODEC_ID_FFV1;
            format = AV_PIX_FMT_0RGB32;
            break;
        case TestAviKind::Mpeg4:
            id = AV_CODEC_ID_MPEG4;
            format = AV_PIX_FMT_YUV420P;
            break;
    }
    const AVCodec* codec = avcodec_find_encoder(id);
    if (!codec)
        return false;
    w.encoder = avcodec_alloc_context3(codec);
    w.encoder->width = layout.width;
    w.encoder->height = layout.height;
    w.encoder->pix_fmt = format;
    w.encoder->time_base = {1, 25};
    w.encoder->framerate = {25, 1};
    w.encoder->max_b_frames = 0;
    if (layout.keyInterval > 0)
        w.encoder->gop_size = layout.keyInterval;
    if (id == AV_CODEC_ID_MJPEG || id == AV_CODEC_ID_MPEG4) {
        w.encoder->flags |= AV_CODEC_FLAG_QSCALE;
        w.encoder->global_quality = FF_QP2LAMBDA * 2;
    }
    if (w.output->oformat->flags & AVFMT_GLOBALHEADER)
        w.encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(w.encoder, codec, nullptr) < 0)
        return false;
    w.stream = avformat_new_stream(w.output, nullptr);
    if (!w.stream || avcodec_parameters_from_context(w.stream->codecpar, w.encoder) < 0)
        return false;
    w.stream->time_base = w.encoder->time_base;
    if (avio_open(&w.output->pb, name.constData(), AVIO_FLAG_WRITE) < 0)
        return false;
    if (avformat_write_header(w.output, nullptr) < 0)
        return false;

    w.frame = av_frame_alloc();
    w.rgb = av_frame_alloc();
    w.packet = av_packet_alloc();
    w.frame->format = format;
    w.frame->width = layout.width;
    w.frame->height = layout.height;
    w.rgb->format = AV_PIX_FMT_BGR24;
    w.rgb->width = layout.width;
    w.rgb->height = layout.height;
    if (av_frame_get_buffer(w.frame, 0) < 0 || av_frame_get_buffer(w.rgb, 0) < 0)
        return false;
    const bool pal8 = format == AV_PIX_FMT_PAL8;
    for (int f = 0; f < layout.frames; ++f) {
        if (av_frame_make_writable(w.frame) < 0)
            return false;
        if (pal8) {
            for (int y = 0; y < layout.height; ++y)
                for (int x = 0; x < layout.width; ++x)
                    w.frame->data[0][y * w.frame->linesize[0] + x] = TestAviIndex(f, x, y);
            auto* palette = reinterpret_cast<uint32_t*>(w.frame->data[1]);
            for (int i = 0; i < 256; ++i) {
                BYTE c[3];
                TestAviPaletteColour(i, c);
                palette[i] = 0xFF000000u | (uint32_t{c[2]} << 16) | (uint32_t{c[1]} << 8) | c[0];
            }
        } else {
            AVFrame* target = format == AV_PIX_FMT_BGR24 ? w.frame : w.rgb;
            for (int y = 0; y < layout.height; ++y)
                for (int x = 0; x < layout.width; ++x)
                    TestAviPixel(layout, f, x, y,
                                 target->data[0] + y * target->linesize[0] + 3 * x);
            if (target != w.frame) {
                w.scaler = sws_getCachedContext(w.scaler, layout.width, layout.height,
                                                AV_PIX_FMT_BGR24, layout.width, layout.height,
                                                format, SWS_BICUBIC, nullptr, nullptr, nullptr);
                sws_scale(w.scaler, w.rgb->data, w.rgb->linesize, 0, layout.height, w.frame->data,
                          w.frame->linesize);
            }
        }
        w.frame->pts = f;
        if (avcodec_send_frame(w.encoder, w.frame) < 0 || !w.Drain(pal8))
            return false;
    }
    if (avcodec_send_frame(w.encoder, nullptr) < 0 || !w.Drain(pal8))
        return false;
    return av_write_trailer(w.output) == 0;
}

bool InsertJunkChunk(const QString& path, const QByteArray& payload) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray data = file.readAll();
    file.close();
    if (data.size() < 12 || !data.startsWith("RIFF"))
        return false;
    QByteArray chunk("JUNK");
    const auto size = static_cast<uint32_t>(payload.size());
    for (int i = 0; i < 4; ++i)
        chunk.append(static_cast<char>((size >> (8 * i)) & 0xFF));
    chunk.append(payload);
    if (payload.size() & 1)
        chunk.append('\0');
    data.insert(12, chunk);
    const auto riff = static_cast<uint32_t>(data.size() - 8);
    for (int i = 0; i < 4; ++i)
        data[4 + i] = static_cast<char>((riff >> (8 * i)) & 0xFF);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(data) == data.size();
}
