#include "platform/media/CompressorPreview.h"

#include "platform/media/VideoCompressors.h"
#include "platform/media/VideoEncoder.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <cstring>

struct CCompressorPreview::Impl {
    AviImageFormat format;
    uint32_t argbPalette[256] = {};
    AVCodecContext* encoder = nullptr;
    AVCodecContext* decoder = nullptr;
    SwsContext* toEncoder = nullptr;
    SwsContext* toPixels = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* decoded = nullptr;
    AVPacket* packet = nullptr;
    std::vector<uint32_t> latest;
    int64_t pts = 0;

    ~Impl() {
        sws_freeContext(toEncoder);
        sws_freeContext(toPixels);
        av_frame_free(&picture);
        av_frame_free(&decoded);
        av_packet_free(&packet);
        avcodec_free_context(&encoder);
        avcodec_free_context(&decoder);
    }

    // Every picture the decoder has ready, the last one kept as pixels.
    bool Decode() {
        for (;;) {
            const int r = avcodec_receive_frame(decoder, decoded);
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
                return true;
            if (r < 0)
                return false;
            toPixels = sws_getCachedContext(toPixels, decoded->width, decoded->height,
                                            static_cast<AVPixelFormat>(decoded->format),
                                            format.width, format.height, AV_PIX_FMT_BGRA, SWS_POINT,
                                            nullptr, nullptr, nullptr);
            if (!toPixels)
                return false;
            latest.resize(static_cast<size_t>(format.width) * format.height);
            uint8_t* target[4] = {reinterpret_cast<uint8_t*>(latest.data()), nullptr, nullptr,
                                  nullptr};
            const int targetStride[4] = {format.width * 4, 0, 0, 0};
            sws_scale(toPixels, decoded->data, decoded->linesize, 0, decoded->height, target,
                      targetStride);
            av_frame_unref(decoded);
        }
    }
};

CCompressorPreview::CCompressorPreview() = default;

CCompressorPreview::~CCompressorPreview() = default;

bool CCompressorPreview::Open(const QString& compressorName, const AviImageFormat& format) {
    m = std::make_unique<Impl>();
    m->format = format;
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& c = format.palette[i];
        m->argbPalette[i] =
            0xFF000000u | (uint32_t{c.rgbRed} << 16) | (uint32_t{c.rgbGreen} << 8) | c.rgbBlue;
    }
    const QString encoderName = VideoCompressorEncoder(compressorName);
    if (encoderName.isEmpty() || format.width <= 0 || format.height <= 0)
        return false;
    m->encoder = OpenVideoEncoder(encoderName, format.width, format.height, false, false, nullptr);
    if (!m->encoder)
        return false;
    const AVCodec* decoder = avcodec_find_decoder(m->encoder->codec_id);
    m->decoder = decoder ? avcodec_alloc_context3(decoder) : nullptr;
    if (!m->decoder)
        return false;
    m->decoder->width = format.width;
    m->decoder->height = format.height;
    m->decoder->thread_count = 1;
    if (m->encoder->extradata_size > 0) {
        m->decoder->extradata = static_cast<uint8_t*>(av_mallocz(
            static_cast<size_t>(m->encoder->extradata_size) + AV_INPUT_BUFFER_PADDING_SIZE));
        if (!m->decoder->extradata)
            return false;
        std::memcpy(m->decoder->extradata, m->encoder->extradata,
                    static_cast<size_t>(m->encoder->extradata_size));
        m->decoder->extradata_size = m->encoder->extradata_size;
    }
    if (avcodec_open2(m->decoder, decoder, nullptr) < 0)
        return false;
    const AVPixelFormat input = format.bitsPerPixel == 8 ? AV_PIX_FMT_PAL8 : AV_PIX_FMT_BGR24;
    m->toEncoder = sws_getContext(format.width, format.height, input, format.width, format.height,
                                  m->encoder->pix_fmt, SWS_POINT, nullptr, nullptr, nullptr);
    m->picture = av_frame_alloc();
    m->decoded = av_frame_alloc();
    m->packet = av_packet_alloc();
    if (!m->toEncoder || !m->picture || !m->decoded || !m->packet)
        return false;
    m->picture->format = m->encoder->pix_fmt;
    m->picture->width = format.width;
    m->picture->height = format.height;
    return av_frame_get_buffer(m->picture, 0) >= 0;
}

bool CCompressorPreview::Preview(const uint8_t* frame, std::vector<uint32_t>* pixels) {
    if (!m || !m->picture || !frame || !pixels || av_frame_make_writable(m->picture) < 0)
        return false;
    const AviImageFormat& f = m->format;
    const int stride = static_cast<int>(CAviSaveGraph::FrameBytes(f.width, 1, f.bitsPerPixel));
    const uint8_t* source[4] = {frame + static_cast<size_t>(f.height - 1) * stride,
                                reinterpret_cast<const uint8_t*>(m->argbPalette), nullptr, nullptr};
    const int sourceStride[4] = {-stride, 0, 0, 0};
    sws_scale(m->toEncoder, source, sourceStride, 0, f.height, m->picture->data,
              m->picture->linesize);
    m->picture->pts = m->pts++;
    if (avcodec_send_frame(m->encoder, m->picture) < 0)
        return false;
    for (;;) {
        const int r = avcodec_receive_packet(m->encoder, m->packet);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
            break;
        if (r < 0)
            return false;
        const int sent = avcodec_send_packet(m->decoder, m->packet);
        av_packet_unref(m->packet);
        if (sent < 0 || !m->Decode())
            return false;
    }
    if (m->latest.empty())
        return false;
    *pixels = m->latest;
    return true;
}

void CCompressorPreview::Plain(const AviImageFormat& format, const uint8_t* frame,
                               std::vector<uint32_t>* pixels) {
    if (!frame || !pixels || format.width <= 0 || format.height <= 0)
        return;
    const int64_t stride = CAviSaveGraph::FrameBytes(format.width, 1, format.bitsPerPixel);
    pixels->resize(static_cast<size_t>(format.width) * format.height);
    for (int y = 0; y < format.height; ++y) {
        const uint8_t* row = frame + (format.height - 1 - y) * stride;
        uint32_t* out = pixels->data() + static_cast<size_t>(y) * format.width;
        for (int x = 0; x < format.width; ++x) {
            if (format.bitsPerPixel == 8) {
                const RGBQUAD& c = format.palette[row[x]];
                out[x] = 0xFF000000u | (uint32_t{c.rgbRed} << 16) | (uint32_t{c.rgbGreen} << 8) |
                         c.rgbBlue;
            } else {
                const uint8_t* p = row + 3 * x;
                out[x] = 0xFF000000u | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
            }
        }
    }
}
