#include "platform/imaging/ImageCodecs.h"

#include "platform/imaging/Codecs.h"

namespace imaging {

namespace {

constexpr ImageCodecInfo kEncoders[detail::kEncoderCount] = {
    {{0xF4D21DDF, 0xDDA2, 0x4354, {0xA7, 0x61, 0x5F, 0xAC, 0x8E, 0x13, 0xE7, 0x90}}, u"image/bmp"},
    {{0x8DCED572, 0x2C4C, 0x42AE, {0x9D, 0xE2, 0x0B, 0x42, 0x4D, 0xEB, 0x97, 0x87}}, u"image/jpeg"},
    {{0x907C361C, 0xE1CE, 0x43A1, {0xB5, 0x25, 0x94, 0xC3, 0xF2, 0x4B, 0xC5, 0x2C}}, u"image/tiff"},
    {{0x41478107, 0x0AC8, 0x4D99, {0xB6, 0x47, 0x3C, 0x4F, 0xA0, 0x80, 0xAD, 0x55}}, u"image/png"},
};

}  // namespace

const CodecId EncoderQuality = {
    0x9C99D4D7, 0xFAEF, 0x420A, {0x95, 0xA5, 0xE7, 0x6E, 0xF2, 0xF8, 0x09, 0xFA}};

Status GetImageEncodersSize(UINT* numEncoders, UINT* size) {
    if (!numEncoders || !size)
        return InvalidParameter;
    *numEncoders = detail::kEncoderCount;
    *size = sizeof(kEncoders);
    return Ok;
}

Status GetImageEncoders(UINT numEncoders, UINT size, ImageCodecInfo* encoders) {
    if (!encoders || numEncoders != detail::kEncoderCount || size != sizeof(kEncoders))
        return InvalidParameter;
    for (int i = 0; i < detail::kEncoderCount; ++i)
        encoders[i] = kEncoders[i];
    return Ok;
}

}  // namespace imaging

namespace imaging::detail {

int FindEncoder(const CodecId& clsid) {
    for (int i = 0; i < kEncoderCount; ++i) {
        if (kEncoders[i].Clsid == clsid)
            return i;
    }
    return -1;
}

}  // namespace imaging::detail
