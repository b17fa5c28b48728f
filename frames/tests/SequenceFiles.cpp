#include "frames/tests/SequenceFiles.h"

#include "platform/imaging/Bitmap.h"
#include "platform/imaging/ImageCodecs.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <string>
#include <vector>

using namespace imaging;

namespace {

bool Encoder(const std::u16string& mime, CodecId* clsid) {
    UINT count = 0;
    UINT size = 0;
    if (GetImageEncodersSize(&count, &size) != Ok)
        return false;
    std::vector<ImageCodecInfo> encoders(count);
    if (GetImageEncoders(count, size, encoders.data()) != Ok)
        return false;
    for (const ImageCodecInfo& info : encoders)
        if (mime == info.MimeType) {
            *clsid = info.Clsid;
            return true;
        }
    return false;
}

// Encodes through Bitmap::Save into a scratch file and hands back its bytes.
QByteArray Encode(Bitmap& bitmap, const std::u16string& mime) {
    CodecId clsid;
    if (!Encoder(mime, &clsid))
        return {};
    QTemporaryDir dir;
    const QString path = dir.path() + "/image";
    ULONG quality = 100;
    EncoderParameters params;
    params.Count = 1;
    params.Parameter[0] = {EncoderQuality, 1, EncoderParameterValueTypeLong, &quality};
    if (bitmap.Save(path, &clsid, mime == u"image/jpeg" ? &params : nullptr) != Ok)
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray EncodedImage(SequenceImageKind kind, int width, int height, int frame,
                        const std::u16string& mime) {
    const bool grey = IsGreyKind(kind);
    Bitmap bitmap(width, height, grey ? PixelFormat8bppIndexed : PixelFormat24bppRGB);
    if (grey) {
        const ColorPalette palette = GreyPalette();
        bitmap.SetPalette(&palette);
    }
    BitmapData data;
    if (bitmap.LockBits(nullptr, ImageLockModeWrite, bitmap.GetPixelFormat(), &data) != Ok)
        return {};
    for (int y = 0; y < height; ++y) {
        BYTE* row = static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        for (int x = 0; x < width; ++x) {
            if (grey)
                row[x] = SequenceLevel(frame, x, y);
            else
                SequenceColour(frame, x, y, row + 3 * x);
        }
    }
    bitmap.UnlockBits(&data);
    return Encode(bitmap, mime);
}

void Put16(QByteArray* out, int value) {
    out->append(static_cast<char>(value & 0xFF));
    out->append(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(QByteArray* out, uint32_t value) {
    Put16(out, static_cast<int>(value & 0xFFFF));
    Put16(out, static_cast<int>(value >> 16));
}

// An uncompressed little-endian TIFF of 16-bit samples in one strip, as camera software writes
// it: the grey samples carry the level in their high byte and noise in the low one, the RGB
// samples each colour byte twice. gap lies between the file header and the pixels.
QByteArray Tiff16(bool rgb, bool bottomUp, int width, int height, int frame,
                  const QByteArray& gap = QByteArray()) {
    const int samples = rgb ? 3 : 1;
    QByteArray pixels;
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x) {
            const int y = bottomUp ? height - 1 - row : row;
            if (!rgb) {
                Put16(&pixels, SequenceLevel(frame, x, y) << 8 | ((x * 31 + y) & 0xFF));
                continue;
            }
            BYTE bgr[3];
            SequenceColour(frame, x, y, bgr);
            for (int c = 2; c >= 0; --c)
                Put16(&pixels, bgr[c] * 257);
        }
    struct Entry {
        int tag;
        int type;  // 3 short, 4 long
        uint32_t count;
        uint32_t value;
    };
    const uint32_t bitsAt = 8;  // the three bits-per-sample shorts of an RGB image
    const uint32_t pixelsAt = 16 + static_cast<uint32_t>(gap.size());
    const std::vector<Entry> entries = {
        {256, 3, 1, static_cast<uint32_t>(width)},
        {257, 3, 1, static_cast<uint32_t>(height)},
        {258, 3, static_cast<uint32_t>(samples), rgb ? bitsAt : 16},
        {259, 3, 1, 1},
        {262, 3, 1, rgb ? 2u : 1u},
        {273, 4, 1, pixelsAt},
        {274, 3, 1, bottomUp ? 4u : 1u},
        {277, 3, 1, static_cast<uint32_t>(samples)},
        {278, 3, 1, static_cast<uint32_t>(height)},
        {279, 4, 1, static_cast<uint32_t>(pixels.size())},
        {284, 3, 1, 1},
    };
    QByteArray out("II*\0", 4);
    Put32(&out, pixelsAt + static_cast<uint32_t>(pixels.size()));
    for (int i = 0; i < 3; ++i)
        Put16(&out, 16);
    Put16(&out, 0);
    out += gap;
    out += pixels;
    Put16(&out, static_cast<int>(entries.size()));
    for (const Entry& e : entries) {
        Put16(&out, e.tag);
        Put16(&out, e.type);
        Put32(&out, e.count);
        if (e.type == 3 && e.count == 1) {
            Put16(&out, static_cast<int>(e.value));
            Put16(&out, 0);
        } else {
            Put32(&out, e.value);
        }
    }
    Put32(&out, 0);
    return out;
}

}  // namespace

QByteArray SequenceCameraBlock(const QByteArray& name) {
    QByteArray block(1024, '\0');
    block.replace(0, name.size(), name);
    const int dateAt = name.startsWith('M') ? 8 : 10;
    const char date[] = {0x24, 0x03, 0x15, 0x13, 0x45, 0x59};
    block.replace(dateAt, 6, QByteArray(date, 6));
    block[dateAt + 6] = 'x';  // the camera's own fields follow
    return block;
}

QByteArray SequenceTiffWithCameraHeader(int width, int height, int frame) {
    const QByteArray gap = QByteArray(128 - 16, '\0') + QByteArray("\0\0\x17\x85", 4) +
                           SequenceCameraBlock("FASTCAM-10");
    return Tiff16(false, false, width, height, frame, gap);
}

bool IsGreyKind(SequenceImageKind kind) {
    return kind == SequenceImageKind::kBmp8 || kind == SequenceImageKind::kTiffGrey8 ||
           kind == SequenceImageKind::kTiffGrey16 ||
           kind == SequenceImageKind::kTiffGrey16BottomUp || kind == SequenceImageKind::kJpegGrey;
}

BYTE SequenceLevel(int frame, int x, int y) {
    return static_cast<BYTE>(40 + 4 * x + 5 * y + 10 * frame);
}

void SequenceColour(int frame, int x, int y, BYTE bgr[3]) {
    bgr[0] = static_cast<BYTE>(30 + 6 * x + 8 * frame);
    bgr[1] = static_cast<BYTE>(60 + 8 * y + 5 * frame);
    bgr[2] = static_cast<BYTE>(90 + 3 * (x + y) + 6 * frame);
}

QByteArray SequenceImageBytes(SequenceImageKind kind, int width, int height, int frame) {
    switch (kind) {
        case SequenceImageKind::kBmp8:
        case SequenceImageKind::kBmp24:
            return EncodedImage(kind, width, height, frame, u"image/bmp");
        case SequenceImageKind::kTiffGrey8:
        case SequenceImageKind::kTiffRgb8:
            return EncodedImage(kind, width, height, frame, u"image/tiff");
        case SequenceImageKind::kTiffGrey16:
            return Tiff16(false, false, width, height, frame);
        case SequenceImageKind::kTiffGrey16BottomUp:
            return Tiff16(false, true, width, height, frame);
        case SequenceImageKind::kTiffRgb16:
            return Tiff16(true, false, width, height, frame);
        case SequenceImageKind::kJpegGrey:
        case SequenceImageKind::kJpegColour:
            return EncodedImage(kind, width, height, frame, u"image/jpeg");
    }
    return {};
}

bool WriteSequenceImage(const QString& path, SequenceImageKind kind, int width, int height,
                        int frame) {
    const QByteArray bytes = SequenceImageBytes(kind, width, height, frame);
    QFile file(path);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}
