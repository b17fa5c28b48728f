#pragma once

// The encoders and decoders behind Bitmap::Save and Bitmap::FromFile, working on bytes in
// memory so that files are written whole or not at all.

#include "platform/imaging/Bitmap.h"

#include <QByteArray>

#include <memory>

namespace imaging::detail {

// Encoder positions in the list GetImageEncoders gives.
enum EncoderIndex { kBmpEncoder = 0, kJpegEncoder = 1, kTiffEncoder = 2, kPngEncoder = 3 };
inline constexpr int kEncoderCount = 4;

// The position of the encoder with that class id, or -1.
int FindEncoder(const CodecId& clsid);

inline constexpr int kDefaultJpegQuality = 75;

Status EncodeBmp(Bitmap& bitmap, QByteArray* out);
Status EncodeJpeg(Bitmap& bitmap, int quality, QByteArray* out);
Status EncodeTiff(Bitmap& bitmap, QByteArray* out);
Status EncodePng(Bitmap& bitmap, QByteArray* out);

// Each returns null on failure with the cause in *status.
std::unique_ptr<Bitmap> DecodeBmp(const QByteArray& bytes, Status* status);
std::unique_ptr<Bitmap> DecodeJpeg(const QByteArray& bytes, Status* status);
std::unique_ptr<Bitmap> DecodeTiff(const QByteArray& bytes, Status* status);
std::unique_ptr<Bitmap> DecodePng(const QByteArray& bytes, Status* status);

// The palette entries an encoder writes for an 8-bit bitmap: the palette's count, widened to
// cover the largest pixel value in use so that every pixel has a colour in the file.
UINT PaletteEntriesToWrite(const BitmapData& pixels, const ColorPalette& palette);

// False when a compressed stream of `fileBytes` could not hold `pixels` pixels even at the best
// ratio its codec reaches, so a few hostile bytes cannot make a decoder allocate gigabytes.
constexpr bool PlausibleSize(int64_t pixels, int64_t fileBytes) {
    constexpr int64_t kMaxPixelsPerByte = 8192;
    return pixels <= kMaxPixelsPerByte * fileBytes;
}

// Fills a freshly made bitmap's pixels from rows in its own format (top row first).
Status FillRows(Bitmap& bitmap, const BYTE* top, int64_t stride);

}  // namespace imaging::detail
