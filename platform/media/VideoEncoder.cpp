#include "platform/media/VideoEncoder.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace {

constexpr int kFramesPerSecond = 5;

}  // namespace

AVPixelFormat VideoEncoderFormat(const QString& encoderName, bool grey) {
    if (encoderName == QLatin1String("mjpeg"))
        return AV_PIX_FMT_YUVJ420P;
    if (encoderName == QLatin1String("ffv1"))
        return grey ? AV_PIX_FMT_GRAY8 : AV_PIX_FMT_BGR0;
    if (encoderName == QLatin1String("huffyuv"))
        return AV_PIX_FMT_RGB24;
    return AV_PIX_FMT_YUV420P;
}

AVCodecContext* OpenVideoEncoder(const QString& encoderName, int width, int height, bool grey,
                                 bool globalHeader, bool* found) {
    const AVCodec* codec = avcodec_find_encoder_by_name(encoderName.toLatin1().constData());
    if (found)
        *found = codec != nullptr;
    if (!codec)
        return nullptr;
    AVCodecContext* encoder = avcodec_alloc_context3(codec);
    if (!encoder)
        return nullptr;
    encoder->width = width;
    encoder->height = height;
    encoder->pix_fmt = VideoEncoderFormat(encoderName, grey);
    encoder->time_base = {1, kFramesPerSecond};
    encoder->framerate = {kFramesPerSecond, 1};
    encoder->max_b_frames = 0;
    encoder->thread_count = 1;
    if (codec->id == AV_CODEC_ID_MJPEG || codec->id == AV_CODEC_ID_MPEG4) {
        encoder->flags |= AV_CODEC_FLAG_QSCALE;
        encoder->global_quality = FF_QP2LAMBDA * 2;
    }
    if (globalHeader)
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    if (codec->id == AV_CODEC_ID_H264)
        av_dict_set(&options, "bf", "0", 0);
    const int opened = avcodec_open2(encoder, codec, &options);
    av_dict_free(&options);
    if (opened < 0)
        avcodec_free_context(&encoder);
    return encoder;
}
