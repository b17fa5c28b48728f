// The BMP encoder and decoder: a file header, a 40-byte info header, the 565 channel masks or
// the palette, then rows bottom-up, each padded to four bytes. Every field is little-endian and
// written and read one by one.

#include "platform/imaging/Codecs.h"
#include "platform/imaging/PixelConvert.h"
#include "platform/wintypes/BitmapInfo.h"

#include <cstring>

namespace imaging::detail {

namespace {

constexpr DWORD kMask565[3] = {0xF800, 0x07E0, 0x001F};
constexpr DWORD kMask555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr DWORD kMask888[3] = {0xFF0000, 0x00FF00, 0x0000FF};

void Put16(QByteArray* out, WORD v) {
    out->append(static_cast<char>(v & 0xFF));
    out->append(static_cast<char>(v >> 8));
}

void Put32(QByteArray* out, DWORD v) {
    Put16(out, static_cast<WORD>(v & 0xFFFF));
    Put16(out, static_cast<WORD>(v >> 16));
}

WORD Get16(const BYTE* p) {
    return static_cast<WORD>(p[0] | p[1] << 8);
}

DWORD Get32(const BYTE* p) {
    return DWORD{p[0]} | DWORD{p[1]} << 8 | DWORD{p[2]} << 16 | DWORD{p[3]} << 24;
}

bool MasksAre(const BYTE* p, const DWORD (&masks)[3]) {
    return Get32(p) == masks[0] && Get32(p + 4) == masks[1] && Get32(p + 8) == masks[2];
}

// Info header sizes in use: the plain header and its longer successors, whose extra fields
// (channel masks, colour space) start at byte 40.
bool KnownInfoHeaderSize(DWORD size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

std::unique_ptr<Bitmap> Refuse(Status* status) {
    *status = UnknownImageFormat;
    return nullptr;
}

}  // namespace

Status EncodeBmp(Bitmap& bitmap, QByteArray* out) {
    const PixelFormat format = bitmap.GetPixelFormat();
    BitmapData pixels;
    Status status = bitmap.LockBits(nullptr, ImageLockModeRead, format, &pixels);
    if (status != Ok)
        return status;
    ColorPalette palette;
    bitmap.GetPalette(&palette);
    const WORD bits = static_cast<WORD>(GetPixelFormatSize(format));
    const UINT colors =
        format == PixelFormat8bppIndexed ? PaletteEntriesToWrite(pixels, palette) : 0;
    const bool masks = format == PixelFormat16bppRGB565;
    const DWORD rowBytes = DibRowBytes(static_cast<LONG>(pixels.Width), bits);
    const DWORD imageBytes = rowBytes * pixels.Height;
    const DWORD offBits =
        kBitmapFileHeaderBytes + kBitmapInfoHeaderBytes + (masks ? 12 : 0) + 4 * colors;

    out->clear();
    out->reserve(static_cast<qsizetype>(offBits) + imageBytes);
    Put16(out, 0x4D42);
    Put32(out, offBits + imageBytes);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, offBits);

    Put32(out, kBitmapInfoHeaderBytes);
    Put32(out, pixels.Width);
    Put32(out, pixels.Height);  // Positive: rows bottom-up.
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, masks ? BI_BITFIELDS : BI_RGB);
    Put32(out, imageBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, colors);
    Put32(out, 0);

    if (masks) {
        for (DWORD mask : kMask565)
            Put32(out, mask);
    }
    for (UINT i = 0; i < colors; ++i) {
        const ARGB c = PaletteColor(palette, static_cast<BYTE>(i));
        out->append(static_cast<char>(c & 0xFF));
        out->append(static_cast<char>((c >> 8) & 0xFF));
        out->append(static_cast<char>((c >> 16) & 0xFF));
        out->append('\0');
    }
    const qsizetype used = static_cast<qsizetype>(pixels.Width) * (bits / 8);
    for (UINT y = pixels.Height; y-- > 0;) {
        out->append(static_cast<const char*>(pixels.Scan0) + static_cast<size_t>(y) * pixels.Stride,
                    used);
        out->append(static_cast<qsizetype>(rowBytes) - used, '\0');
    }
    return bitmap.UnlockBits(&pixels);
}

std::unique_ptr<Bitmap> DecodeBmp(const QByteArray& bytes, Status* status) {
    const auto* data = reinterpret_cast<const BYTE*>(bytes.constData());
    const int64_t size = bytes.size();
    if (size < kBitmapFileHeaderBytes + 4 || Get16(data) != 0x4D42)
        return Refuse(status);
    const DWORD offBits = Get32(data + 10);
    const BYTE* info = data + kBitmapFileHeaderBytes;
    const DWORD infoSize = Get32(info);
    if (!KnownInfoHeaderSize(infoSize) || kBitmapFileHeaderBytes + int64_t{infoSize} > size)
        return Refuse(status);

    const auto width = static_cast<LONG>(Get32(info + 4));
    const auto height = static_cast<LONG>(Get32(info + 8));
    const WORD planes = Get16(info + 12);
    const WORD bits = Get16(info + 14);
    const DWORD compression = Get32(info + 16);
    const DWORD colorsUsed = Get32(info + 32);
    if (width <= 0 || height == 0 || height == INT32_MIN || planes != 1)
        return Refuse(status);

    // Channel masks follow a 40-byte header, or sit inside a longer one.
    int64_t tableStart = kBitmapFileHeaderBytes + int64_t{infoSize};
    const BYTE* maskBytes = nullptr;
    if (compression == BI_BITFIELDS) {
        if (infoSize == kBitmapInfoHeaderBytes) {
            if (tableStart + 12 > size)
                return Refuse(status);
            maskBytes = data + tableStart;
            tableStart += 12;
        } else {
            maskBytes = info + kBitmapInfoHeaderBytes;
        }
    } else if (compression != BI_RGB) {
        return Refuse(status);
    }

    PixelFormat format = 0;
    if (bits == 8 && !maskBytes) {
        format = PixelFormat8bppIndexed;
    } else if (bits == 16) {
        if (!maskBytes || MasksAre(maskBytes, kMask555))
            format = PixelFormat16bppRGB555;
        else if (MasksAre(maskBytes, kMask565))
            format = PixelFormat16bppRGB565;
    } else if (bits == 24 && !maskBytes) {
        format = PixelFormat24bppRGB;
    } else if (bits == 32 && (!maskBytes || MasksAre(maskBytes, kMask888))) {
        format = PixelFormat32bppRGB;
    }
    if (format == 0)
        return Refuse(status);

    const int64_t colors = format == PixelFormat8bppIndexed ? (colorsUsed ? colorsUsed : 256) : 0;
    if (colors > kMaxPaletteEntries || tableStart + 4 * colors > offBits || offBits > size)
        return Refuse(status);

    // The rows must all be present before anything is allocated for them.
    const int64_t rowBytes = StrideFor(width, format);
    const int64_t rows = height < 0 ? -int64_t{height} : height;
    const int64_t available = size - offBits;
    if (rowBytes > available || rows > available / rowBytes)
        return Refuse(status);

    auto bitmap = std::make_unique<Bitmap>(width, static_cast<int32_t>(rows), format);
    if (Status made = bitmap->GetLastStatus(); made != Ok) {
        *status = made;
        return nullptr;
    }
    if (format == PixelFormat8bppIndexed) {
        ColorPalette palette;
        palette.Count = static_cast<UINT>(colors);
        bool grey = true;
        for (UINT i = 0; i < palette.Count; ++i) {
            const BYTE* entry = data + tableStart + 4 * i;
            palette.Entries[i] = MakeARGB(0xFF, entry[2], entry[1], entry[0]);
            grey = grey && entry[0] == entry[1] && entry[1] == entry[2];
        }
        palette.Flags = grey ? PaletteFlagsGrayScale : 0;
        bitmap->SetPalette(&palette);
    }
    const BYTE* pixels = data + offBits;
    const Status filled = height < 0 ? FillRows(*bitmap, pixels, rowBytes)
                                     : FillRows(*bitmap, pixels + (rows - 1) * rowBytes, -rowBytes);
    if (filled != Ok) {
        *status = filled;
        return nullptr;
    }
    *status = Ok;
    return bitmap;
}

}  // namespace imaging::detail
