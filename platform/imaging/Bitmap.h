#pragma once

// Bitmap: an image that owns its pixels (or reads rows that another owner keeps, see
// ShowExternalRows), in one of five formats (8-bit indexed with a palette,
// 16-bit 555 and 565, 24-bit and 32-bit RGB), with clone, rotate and flip, locked access to its
// rows, and saving and loading through the image codecs.
//
// Failures are returned as a Status and also kept as the last status (GetLastStatus). A bitmap
// whose construction failed has no pixels: it reports width 0 and every operation on it answers
// InvalidParameter. Not thread-safe; one thread uses a bitmap at a time.

#include "platform/imaging/BitmapData.h"
#include "platform/imaging/ColorPalette.h"
#include "platform/imaging/ImageCodecs.h"
#include "platform/imaging/PixelFormat.h"
#include "platform/imaging/RotateFlipType.h"
#include "platform/imaging/Status.h"

#include <QImage>
#include <QString>

#include <memory>

namespace imaging {

class Bitmap {
public:
    // A bitmap of that size and format with every pixel zero; an 8-bit bitmap starts with the
    // grey palette. Sizes must be positive and the pixels fit in 2^31 bytes.
    Bitmap(int32_t width, int32_t height, PixelFormat format);
    // A bitmap holding a copy of the caller's rows: row y starts at scan0 + y × stride (a
    // negative stride walks upwards from scan0). The caller's memory is not kept.
    Bitmap(int32_t width, int32_t height, int32_t stride, PixelFormat format, const BYTE* scan0);
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    // Decodes a BMP, TIFF, JPEG or PNG file, recognised by its content. Null on failure, with
    // the cause in *status when given.
    static std::unique_ptr<Bitmap> FromFile(const QString& path, Status* status = nullptr);

    // The last failure since the previous call, which clears it.
    Status GetLastStatus() const;

    UINT GetWidth() const;
    UINT GetHeight() const;
    PixelFormat GetPixelFormat() const;

    // Copies the caller's rows (laid out as for the constructor) over this bitmap's pixels,
    // keeping its size, format and palette. InvalidParameter without pixels or rows, or for a
    // stride shorter than a row; WrongState while locked.
    Status SetRows(int32_t stride, const BYTE* scan0);
    // Copies the pixels and palette of a bitmap of the same size and format over this one's,
    // keeping this one's memory. InvalidParameter for another size or format; WrongState while
    // this one is locked.
    Status CopyPixels(const Bitmap& source);

    // Makes the bitmap read rows it does not own: row y at scan0 + y × stride, laid out as the
    // bitmap's own rows would be (stride the format's padded row), kept alive by keeper for as
    // long as the bitmap reads them. Nothing is written there: the first change to the pixels
    // (a write lock, SetRows, CopyPixels, RotateFlip) copies them into memory of its own. The
    // palette stays. InvalidParameter for another stride, no rows or an unknown format;
    // WrongState while locked.
    Status ShowExternalRows(int32_t width, int32_t height, int32_t stride, PixelFormat format,
                            const BYTE* scan0, std::shared_ptr<const void> keeper);
    // True while the pixels are rows another owner keeps.
    bool HasExternalRows() const { return m_keeper != nullptr; }
    // Makes the bitmap show source's pixels and palette without copying them: both read the same
    // rows, and whichever changes its pixels first takes a copy of its own. InvalidParameter
    // when source has no pixels; WrongState while this bitmap is locked.
    Status ShareRowsOf(const Bitmap& source);
    // True while another bitmap or owner reads these rows too, so that a change would copy them.
    bool RowsShared() const { return m_keeper || (m_pixels && m_pixels.use_count() > 1); }
    // The top row of the pixels (null without pixels), for reading.
    const BYTE* GetRows() const { return m_rows; }

    // A copy of the whole bitmap, palette included; null when this bitmap has no pixels.
    std::unique_ptr<Bitmap> Clone() const;
    // A copy of a rectangle, which must lie inside the bitmap and have an area, converted to
    // `format` (PixelFormatDontCare keeps this one's). Null on failure (InvalidParameter).
    std::unique_ptr<Bitmap> Clone(const Rect& rect, PixelFormat format) const;
    std::unique_ptr<Bitmap> Clone(int32_t x, int32_t y, int32_t width, int32_t height,
                                  PixelFormat format) const;

    // Turns and mirrors the pixels in place; the palette stays. WrongState while locked.
    Status RotateFlip(RotateFlipType type);

    // Lends out the rows of a rectangle (null: the whole bitmap) in `format`. The bitmap's own
    // format gives its rows in place. Another format gives a converted copy (an indexed
    // bitmap's pixels through its palette; 8-bit indexed is only available from an indexed
    // bitmap) that UnlockBits writes back, the whole rectangle, when the lock mode has
    // ImageLockModeWrite, mapping colours to the nearest palette entry (the first of equals)
    // for an indexed bitmap. One lock at a time.
    Status LockBits(const Rect* rect, UINT flags, PixelFormat format, BitmapData* lockedData);
    // Ends the lock that `lockedData` describes.
    Status UnlockBits(BitmapData* lockedData);

    Status GetPalette(ColorPalette* palette) const;
    // Count must be at most 256. Pixel values beyond the count show as opaque black.
    Status SetPalette(const ColorPalette* palette);

    // Encodes the bitmap with the encoder of that class id (ImageCodecs.h) and writes it to a
    // temporary file that replaces `path` only once complete. An unknown encoder or a parameter
    // the encoder does not take: InvalidParameter. WrongState while locked.
    Status Save(const QString& path, const CodecId* encoderClsid,
                const EncoderParameters* params = nullptr);

    // The pixels seen as a QImage without copying; valid until this bitmap changes or dies.
    // A null image when the bitmap has no pixels.
    QImage AsQImage() const;

private:
    Status Fail(Status status) const;
    // With zeroed false the caller writes every row at once (the padding is zeroed anyway).
    bool Allocate(int32_t width, int32_t height, PixelFormat format, bool zeroed = true);
    // Gives a bitmap over rows it does not own alone rows of its own, with their pixels when
    // keep (else the caller overwrites every byte); false when out of memory.
    bool OwnRows(bool keep = true);
    BYTE* Row(int32_t y) const { return m_rows + static_cast<size_t>(y) * m_stride; }

    struct Lock;

    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_stride = 0;
    PixelFormat m_format = 0;
    // Shared with the bitmaps that show these rows (ShareRowsOf); written only while not.
    std::shared_ptr<BYTE[]> m_pixels;
    // The rows read and written: m_pixels, or external rows that m_keeper keeps alive. External
    // rows are never written through this pointer.
    BYTE* m_rows = nullptr;
    std::shared_ptr<const void> m_keeper;
    ColorPalette m_palette;
    std::unique_ptr<Lock> m_lock;
    mutable Status m_lastStatus = Ok;
};

}  // namespace imaging
