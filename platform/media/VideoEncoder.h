#pragma once

// The encoder a compressor name stands for, set up alike for the save and for its preview:
// the pixel format the encoder takes (exact for the lossless ones), 5 frames per second, no
// B-frames and one thread, fixed high quality for the JPEG and MPEG-4 encoders.

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <QString>

// The pixel format an encoder gets; grey frames keep one plane where the encoder allows.
AVPixelFormat VideoEncoderFormat(const QString& encoderName, bool grey);
// An opened encoder context for frames of that size, or null when the encoder is missing
// (*found false) or does not open.
AVCodecContext* OpenVideoEncoder(const QString& encoderName, int width, int height, bool grey,
                                 bool globalHeader, bool* found);
