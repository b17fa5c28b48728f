#include "platform/imaging/Bitmap.h"

#include "platform/imaging/Codecs.h"
#include "platform/imaging/PixelConvert.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace imaging {

namespace {

// The most pixel bytes one bitmap holds: row offsets stay within a 32-bit stride × height.
constexpr int64_t kMaxPixelBytes = INT32_MAX;

bool RectInside(const Rect& r, int32_t width, int32_t height) {
    return r.X >= 0 && r.Y >= 0 && r.Width > 0 && r.Height > 0 && int64_t{r.X} + r.Width <= width &&
           int64_t{r.Y} + r.Height <= height;
}

int BytesPerPixel(PixelFormat format) {
    return GetPixelFormatSize(format) / 8;
}

// Writes bytes to a hidden name beside path and renames it over path once every byte is out,
// so that a failed write leaves any earlier file of that name as it was. No sync to disk: an
// image sequence writes hundreds of files, and a sync per file would cost more than the rest.
bool WriteReplacing(const QString& path, const QByteArray& bytes) {
    static std::atomic<unsigned> s_counter{0};
    const QFileInfo info(path);
    const QString temporary = info.absoluteDir().filePath(QStringLiteral(".%1.%2-%3.part")
                                                              .arg(info.fileName())
                                                              .arg(getpid())
                                                              .arg(s_counter.fetch_add(1)));
    const QByteArray temporaryName = QFile::encodeName(temporary);
    std::FILE* file = std::fopen(temporaryName.constData(), "wbx");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()),
                                     file) == static_cast<size_t>(bytes.size());
    const bool closed = std::fclose(file) == 0;
    if (written && closed &&
        std::rename(temporaryName.constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    std::remove(temporaryName.constData());
    return false;
}

}  // namespace

// An active lock: where the caller's rows are and, for a converted lock, the copy they live in.
struct Bitmap::Lock {
    Rect rect;
    UINT flags = 0;
    PixelFormat format = 0;
    int32_t stride = 0;
    std::unique_ptr<BYTE[]> copy;  // Null when the caller works on the bitmap's own rows.
    void* scan0 = nullptr;
};

Bitmap::Bitmap(int32_t width, int32_t height, PixelFormat format) {
    Allocate(width, height, format);
}

Bitmap::Bitmap(int32_t width, int32_t height, int32_t stride, PixelFormat format,
               const BYTE* scan0) {
    if (!scan0 || (IsSupportedPixelFormat(format) && (stride < 0 ? -int64_t{stride} : stride) <
                                                         int64_t{width} * BytesPerPixel(format))) {
        Fail(InvalidParameter);
        return;
    }
    if (Allocate(width, height, format, false))
        SetRows(stride, scan0);
}

Bitmap::~Bitmap() = default;

bool Bitmap::Allocate(int32_t width, int32_t height, PixelFormat format, bool zeroed) {
    if (width <= 0 || height <= 0 || !IsSupportedPixelFormat(format)) {
        Fail(InvalidParameter);
        return false;
    }
    const int64_t stride = detail::StrideFor(width, format);
    const int64_t bytes = stride * height;
    if (bytes > kMaxPixelBytes) {
        Fail(OutOfMemory);
        return false;
    }
    // Zeroed, so the padding at the end of each row never carries stale memory into a file.
    if (zeroed)
        m_pixels.reset(new (std::nothrow) BYTE[static_cast<size_t>(bytes)]());
    else
        m_pixels.reset(new (std::nothrow) BYTE[static_cast<size_t>(bytes)]);
    if (!m_pixels) {
        Fail(OutOfMemory);
        return false;
    }
    m_rows = m_pixels.get();
    m_keeper.reset();
    m_width = width;
    m_height = height;
    m_stride = static_cast<int32_t>(stride);
    m_format = format;
    if (format == PixelFormat8bppIndexed)
        m_palette = GreyPalette();
    return true;
}

bool Bitmap::OwnRows(bool keep) {
    if (!RowsShared())
        return true;
    const size_t bytes = static_cast<size_t>(m_stride) * static_cast<size_t>(m_height);
    std::unique_ptr<BYTE[]> pixels(new (std::nothrow) BYTE[bytes]);
    if (!pixels)
        return false;
    if (keep)
        std::memcpy(pixels.get(), m_rows, bytes);
    m_pixels = std::move(pixels);
    m_rows = m_pixels.get();
    m_keeper.reset();
    return true;
}

Status Bitmap::ShowExternalRows(int32_t width, int32_t height, int32_t stride, PixelFormat format,
                                const BYTE* scan0, std::shared_ptr<const void> keeper) {
    if (!scan0 || !keeper || width <= 0 || height <= 0 || !IsSupportedPixelFormat(format) ||
        stride != detail::StrideFor(width, format) || int64_t{stride} * height > kMaxPixelBytes)
        return Fail(InvalidParameter);
    if (m_lock)
        return Fail(WrongState);
    m_pixels.reset();
    // Never written through: every writer first takes a copy of its own (OwnRows).
    m_rows = const_cast<BYTE*>(scan0);
    m_keeper = std::move(keeper);
    m_width = width;
    m_height = height;
    m_stride = stride;
    m_format = format;
    return Ok;
}

Status Bitmap::ShareRowsOf(const Bitmap& source) {
    if (&source == this)
        return m_rows ? Ok : Fail(InvalidParameter);
    if (!source.m_rows)
        return Fail(InvalidParameter);
    std::shared_ptr<const void> keeper = source.m_keeper;
    if (!keeper)
        keeper = source.m_pixels;
    const Status status = ShowExternalRows(source.m_width, source.m_height, source.m_stride,
                                           source.m_format, source.m_rows, std::move(keeper));
    if (status == Ok)
        m_palette = source.m_palette;
    return status;
}

Status Bitmap::Fail(Status status) const {
    m_lastStatus = status;
    return status;
}

std::unique_ptr<Bitmap> Bitmap::FromFile(const QString& path, Status* status) {
    Status ignored;
    Status& result = status ? *status : ignored;
    QFile file(path);
    if (!file.exists()) {
        result = FileNotFound;
        return nullptr;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result = Win32Error;
        return nullptr;
    }
    if (file.size() > kMaxPixelBytes) {
        result = OutOfMemory;
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size()) {
        result = Win32Error;
        return nullptr;
    }
    const auto startsWith = [&bytes](const char* magic, qsizetype length) {
        return bytes.size() >= length && std::memcmp(bytes.constData(), magic, length) == 0;
    };
    if (startsWith("BM", 2))
        return detail::DecodeBmp(bytes, &result);
    if (startsWith("II*\0", 4) || startsWith("MM\0*", 4))
        return detail::DecodeTiff(bytes, &result);
    if (startsWith("\xFF\xD8\xFF", 3))
        return detail::DecodeJpeg(bytes, &result);
    if (startsWith("\x89PNG\r\n\x1A\n", 8))
        return detail::DecodePng(bytes, &result);
    result = UnknownImageFormat;
    return nullptr;
}

Status Bitmap::GetLastStatus() const {
    const Status status = m_lastStatus;
    m_lastStatus = Ok;
    return status;
}

UINT Bitmap::GetWidth() const {
    return static_cast<UINT>(m_width);
}

UINT Bitmap::GetHeight() const {
    return static_cast<UINT>(m_height);
}

PixelFormat Bitmap::GetPixelFormat() const {
    return m_format;
}

Status Bitmap::SetRows(int32_t stride, const BYTE* scan0) {
    const size_t rowBytes = static_cast<size_t>(m_width) * BytesPerPixel(m_format);
    if (!m_rows || !scan0 ||
        (stride < 0 ? -int64_t{stride} : stride) < int64_t{m_width} * BytesPerPixel(m_format))
        return Fail(InvalidParameter);
    if (m_lock)
        return Fail(WrongState);
    // The rows given may lie in external memory this bitmap lets go of here (rows of its own
    // are given up only while others still hold them).
    const std::shared_ptr<const void> previous = m_keeper;
    if (!OwnRows(false))
        return Fail(OutOfMemory);
    for (int32_t y = 0; y < m_height; ++y) {
        std::memcpy(Row(y), scan0 + int64_t{y} * stride, rowBytes);
        std::memset(Row(y) + rowBytes, 0, static_cast<size_t>(m_stride) - rowBytes);
    }
    return Ok;
}

Status Bitmap::CopyPixels(const Bitmap& source) {
    if (!m_rows || !source.m_rows || source.m_width != m_width || source.m_height != m_height ||
        source.m_format != m_format)
        return Fail(InvalidParameter);
    if (m_lock)
        return Fail(WrongState);
    if (&source != this) {
        if (!OwnRows(false))
            return Fail(OutOfMemory);
        std::memcpy(m_rows, source.m_rows,
                    static_cast<size_t>(m_stride) * static_cast<size_t>(m_height));
        m_palette = source.m_palette;
    }
    return Ok;
}

std::unique_ptr<Bitmap> Bitmap::Clone() const {
    return Clone(Rect{0, 0, m_width, m_height}, PixelFormatDontCare);
}

std::unique_ptr<Bitmap> Bitmap::Clone(int32_t x, int32_t y, int32_t width, int32_t height,
                                      PixelFormat format) const {
    return Clone(Rect{x, y, width, height}, format);
}

std::unique_ptr<Bitmap> Bitmap::Clone(const Rect& rect, PixelFormat format) const {
    if (format == PixelFormatDontCare)
        format = m_format;
    if (!m_rows || !RectInside(rect, m_width, m_height) || !IsSupportedPixelFormat(format) ||
        (format == PixelFormat8bppIndexed && m_format != PixelFormat8bppIndexed)) {
        Fail(InvalidParameter);
        return nullptr;
    }
    auto clone = std::make_unique<Bitmap>(rect.Width, rect.Height, format);
    if (!clone->m_pixels) {
        Fail(clone->GetLastStatus());
        return nullptr;
    }
    clone->m_palette = m_palette;
    std::vector<BYTE> scratch(static_cast<size_t>(rect.Width) * 3);
    const size_t offset = static_cast<size_t>(rect.X) * BytesPerPixel(m_format);
    for (int32_t y = 0; y < rect.Height; ++y)
        detail::ConvertRow(Row(rect.Y + y) + offset, m_format, clone->Row(y), format, rect.Width,
                           m_palette, nullptr, scratch.data());
    return clone;
}

Status Bitmap::RotateFlip(RotateFlipType type) {
    if (!m_rows || type < RotateNoneFlipNone || type > Rotate270FlipX)
        return Fail(InvalidParameter);
    if (m_lock)
        return Fail(WrongState);
    if (type == RotateNoneFlipNone)
        return Ok;
    if (type == RotateNoneFlipY) {
        if (!OwnRows())
            return Fail(OutOfMemory);
        std::vector<BYTE> row(static_cast<size_t>(m_stride));
        for (int32_t top = 0, bottom = m_height - 1; top < bottom; ++top, --bottom) {
            std::memcpy(row.data(), Row(top), row.size());
            std::memcpy(Row(top), Row(bottom), row.size());
            std::memcpy(Row(bottom), row.data(), row.size());
        }
        return Ok;
    }
    const int turns = type & 3;
    const bool mirror = (type & 4) != 0;
    const int32_t width = turns % 2 ? m_height : m_width;
    const int32_t height = turns % 2 ? m_width : m_height;
    const int64_t stride = detail::StrideFor(width, m_format);
    std::unique_ptr<BYTE[]> pixels(new (std::nothrow) BYTE[static_cast<size_t>(stride * height)]);
    if (!pixels)
        return Fail(OutOfMemory);
    const int pixelBytes = BytesPerPixel(m_format);
    for (int32_t y = 0; y < height; ++y) {
        BYTE* out = pixels.get() + y * stride;
        for (int32_t x = 0; x < width; ++x, out += pixelBytes) {
            // Undo the mirror, then the turn, to find where this pixel came from.
            const int32_t tx = mirror ? width - 1 - x : x;
            int32_t sx = tx;
            int32_t sy = y;
            switch (turns) {
                case 1:
                    sx = y;
                    sy = m_height - 1 - tx;
                    break;
                case 2:
                    sx = m_width - 1 - tx;
                    sy = m_height - 1 - y;
                    break;
                case 3:
                    sx = m_width - 1 - y;
                    sy = tx;
                    break;
                default:
                    break;
            }
            std::memcpy(out, Row(sy) + static_cast<size_t>(sx) * pixelBytes, pixelBytes);
        }
        std::memset(out, 0, static_cast<size_t>(pixels.get() + (y + 1) * stride - out));
    }
    m_pixels = std::move(pixels);
    m_rows = m_pixels.get();
    m_keeper.reset();
    m_width = width;
    m_height = height;
    m_stride = static_cast<int32_t>(stride);
    return Ok;
}

Status Bitmap::LockBits(const Rect* rect, UINT flags, PixelFormat format, BitmapData* lockedData) {
    const Rect area = rect ? *rect : Rect{0, 0, m_width, m_height};
    const UINT modes = ImageLockModeRead | ImageLockModeWrite;
    if (!m_rows || !lockedData || !RectInside(area, m_width, m_height) || (flags & modes) == 0 ||
        (flags & ~modes) != 0 || !IsSupportedPixelFormat(format) ||
        (format == PixelFormat8bppIndexed && m_format != PixelFormat8bppIndexed))
        return Fail(InvalidParameter);
    if (m_lock)
        return Fail(WrongState);
    if ((flags & ImageLockModeWrite) && !OwnRows())
        return Fail(OutOfMemory);
    auto lock = std::make_unique<Lock>();
    lock->rect = area;
    lock->flags = flags;
    lock->format = format;
    BYTE* const origin = Row(area.Y) + static_cast<size_t>(area.X) * BytesPerPixel(m_format);
    if (format == m_format) {
        lock->stride = m_stride;
        lock->scan0 = origin;
    } else {
        const int64_t stride = detail::StrideFor(area.Width, format);
        const size_t bytes = static_cast<size_t>(stride * area.Height);
        lock->copy.reset(new (std::nothrow) BYTE[bytes]);
        if (!lock->copy)
            return Fail(OutOfMemory);
        std::memset(lock->copy.get(), 0, bytes);
        lock->stride = static_cast<int32_t>(stride);
        lock->scan0 = lock->copy.get();
        if (flags & ImageLockModeRead) {
            std::vector<BYTE> scratch(static_cast<size_t>(area.Width) * 3);
            for (int32_t y = 0; y < area.Height; ++y)
                detail::ConvertRow(origin + static_cast<size_t>(y) * m_stride, m_format,
                                   lock->copy.get() + y * stride, format, area.Width, m_palette,
                                   nullptr, scratch.data());
        }
    }
    lockedData->Width = static_cast<UINT>(area.Width);
    lockedData->Height = static_cast<UINT>(area.Height);
    lockedData->Stride = lock->stride;
    lockedData->PixelFormat = format;
    lockedData->Scan0 = lock->scan0;
    m_lock = std::move(lock);
    return Ok;
}

Status Bitmap::UnlockBits(BitmapData* lockedData) {
    if (!m_lock)
        return Fail(WrongState);
    if (!lockedData || lockedData->Scan0 != m_lock->scan0)
        return Fail(InvalidParameter);
    const Lock& lock = *m_lock;
    if (lock.copy && (lock.flags & ImageLockModeWrite)) {
        const Rect& area = lock.rect;
        BYTE* const origin = Row(area.Y) + static_cast<size_t>(area.X) * BytesPerPixel(m_format);
        detail::PaletteMatcher matcher(m_palette);
        std::vector<BYTE> scratch(static_cast<size_t>(area.Width) * 3);
        for (int32_t y = 0; y < area.Height; ++y)
            detail::ConvertRow(lock.copy.get() + static_cast<size_t>(y) * lock.stride, lock.format,
                               origin + static_cast<size_t>(y) * m_stride, m_format, area.Width,
                               m_palette, &matcher, scratch.data());
    }
    m_lock.reset();
    return Ok;
}

Status Bitmap::GetPalette(ColorPalette* palette) const {
    if (!m_rows || !palette)
        return Fail(InvalidParameter);
    *palette = m_palette;
    return Ok;
}

Status Bitmap::SetPalette(const ColorPalette* palette) {
    if (!m_rows || !palette || palette->Count > kMaxPaletteEntries)
        return Fail(InvalidParameter);
    m_palette = *palette;
    return Ok;
}

Status Bitmap::Save(const QString& path, const CodecId* encoderClsid,
                    const EncoderParameters* params) {
    const int encoder = encoderClsid ? detail::FindEncoder(*encoderClsid) : -1;
    if (!m_rows || encoder < 0 || (params && params->Count > 1))
        return Fail(InvalidParameter);
    if (m_lock)
        return Fail(WrongState);
    int quality = detail::kDefaultJpegQuality;
    if (params && params->Count == 1) {
        const EncoderParameter& p = params->Parameter[0];
        if (encoder != detail::kJpegEncoder || !(p.Guid == EncoderQuality) ||
            p.Type != EncoderParameterValueTypeLong || p.NumberOfValues != 1 || !p.Value ||
            *static_cast<const ULONG*>(p.Value) > 100)
            return Fail(InvalidParameter);
        quality = static_cast<int>(*static_cast<const ULONG*>(p.Value));
    }
    QByteArray bytes;
    Status status = GenericError;
    switch (encoder) {
        case detail::kBmpEncoder:
            status = detail::EncodeBmp(*this, &bytes);
            break;
        case detail::kJpegEncoder:
            status = detail::EncodeJpeg(*this, quality, &bytes);
            break;
        case detail::kTiffEncoder:
            status = detail::EncodeTiff(*this, &bytes);
            break;
        case detail::kPngEncoder:
            status = detail::EncodePng(*this, &bytes);
            break;
        default:
            break;
    }
    if (status != Ok)
        return Fail(status);
    if (!WriteReplacing(path, bytes))
        return Fail(Win32Error);
    return Ok;
}

QImage Bitmap::AsQImage() const {
    if (!m_rows)
        return {};
    QImage::Format format = QImage::Format_Invalid;
    switch (m_format) {
        case PixelFormat8bppIndexed:
            format = QImage::Format_Indexed8;
            break;
        case PixelFormat16bppRGB555:
            format = QImage::Format_RGB555;
            break;
        case PixelFormat16bppRGB565:
            format = QImage::Format_RGB16;
            break;
        case PixelFormat24bppRGB:
            format = QImage::Format_BGR888;
            break;
        case PixelFormat32bppRGB:
            format = QImage::Format_RGB32;
            break;
        default:
            return {};
    }
    QImage image(static_cast<const uchar*>(m_rows), m_width, m_height, m_stride, format);
    if (m_format == PixelFormat8bppIndexed) {
        // Frame after frame of a recording comes with the same colours: the table built last
        // on this thread is handed on again instead of a new one.
        thread_local QList<QRgb> last;
        QRgb colors[kMaxPaletteEntries];
        for (UINT i = 0; i < kMaxPaletteEntries; ++i)
            colors[i] = detail::PaletteColor(m_palette, static_cast<BYTE>(i)) | 0xFF000000u;
        if (last.size() != static_cast<qsizetype>(kMaxPaletteEntries) ||
            !std::equal(colors, colors + kMaxPaletteEntries, last.cbegin()))
            last = QList<QRgb>(colors, colors + kMaxPaletteEntries);
        image.setColorTable(last);
    }
    return image;
}

}  // namespace imaging

namespace imaging::detail {

Status FillRows(Bitmap& bitmap, const BYTE* top, int64_t stride) {
    BitmapData data;
    const Status status =
        bitmap.LockBits(nullptr, ImageLockModeWrite, bitmap.GetPixelFormat(), &data);
    if (status != Ok)
        return status;
    const size_t rowBytes =
        static_cast<size_t>(data.Width) * (GetPixelFormatSize(data.PixelFormat) / 8);
    for (UINT y = 0; y < data.Height; ++y)
        std::memcpy(static_cast<BYTE*>(data.Scan0) + static_cast<size_t>(y) * data.Stride,
                    top + static_cast<int64_t>(y) * stride, rowBytes);
    return bitmap.UnlockBits(&data);
}

UINT PaletteEntriesToWrite(const BitmapData& pixels, const ColorPalette& palette) {
    UINT count = palette.Count;
    for (UINT y = 0; y < pixels.Height && count < kMaxPaletteEntries; ++y) {
        const BYTE* row =
            static_cast<const BYTE*>(pixels.Scan0) + static_cast<size_t>(y) * pixels.Stride;
        for (UINT x = 0; x < pixels.Width; ++x)
            count = std::max<UINT>(count, UINT{row[x]} + 1);
    }
    return count;
}

}  // namespace imaging::detail
