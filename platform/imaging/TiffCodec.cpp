// The TIFF encoder and decoder over libtiff, on bytes in memory. Written files are uncompressed
// strips: an 8-bit bitmap as grey (when its palette is the grey ramp) or as a palette image of
// 256 colours, every other format as 8-bit RGB. The decoder reads the first image of 8-bit grey,
// palette and RGB files in strips. Sequence frames are read row by row (FrameFiles.h).

#include "platform/imaging/Codecs.h"
#include "platform/imaging/FrameFiles.h"
#include "platform/imaging/PixelConvert.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace imaging::detail {

namespace {

// A growable file in memory for libtiff's client I/O.
struct MemoryFile {
    const char* readData = nullptr;
    int64_t readSize = 0;
    QByteArray* written = nullptr;
    int64_t position = 0;

    int64_t Size() const { return written ? written->size() : readSize; }
};

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t count) {
    auto* file = static_cast<MemoryFile*>(handle);
    if (file->written || count < 0)
        return -1;
    const int64_t n = std::clamp<int64_t>(file->readSize - file->position, 0, count);
    std::memcpy(buffer, file->readData + file->position, static_cast<size_t>(n));
    file->position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t WriteProc(thandle_t handle, void* buffer, tmsize_t count) {
    auto* file = static_cast<MemoryFile*>(handle);
    if (!file->written || count < 0)
        return -1;
    const int64_t end = file->position + count;
    if (end > file->written->size())
        file->written->resize(end, '\0');
    std::memcpy(file->written->data() + file->position, buffer, static_cast<size_t>(count));
    file->position = end;
    return count;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(handle);
    const int64_t base = whence == SEEK_CUR   ? file->position
                         : whence == SEEK_END ? file->Size()
                                              : 0;
    const int64_t target = base + static_cast<int64_t>(offset);
    if (target < 0 || target > INT32_MAX)
        return static_cast<toff_t>(-1);
    file->position = target;
    return static_cast<toff_t>(target);
}

int CloseProc(thandle_t) {
    return 0;
}

toff_t SizeProc(thandle_t handle) {
    return static_cast<toff_t>(static_cast<MemoryFile*>(handle)->Size());
}

int MapProc(thandle_t, void**, toff_t*) {
    return 0;
}

void UnmapProc(thandle_t, void*, toff_t) {}

// libtiff's messages would go to the terminal; a failure is reported through the status.
int Quiet(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// Opens a TIFF over the memory file; closes it at the end of scope.
class Tiff {
public:
    Tiff(MemoryFile* file, const char* mode) {
        TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
        TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
        TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
        TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t{1} << 28);
        m_tiff = TIFFClientOpenExt("memory", mode, file, ReadProc, WriteProc, SeekProc, CloseProc,
                                   SizeProc, MapProc, UnmapProc, options);
        TIFFOpenOptionsFree(options);
    }
    ~Tiff() {
        if (m_tiff)
            TIFFClose(m_tiff);
    }
    Tiff(const Tiff&) = delete;
    Tiff& operator=(const Tiff&) = delete;
    TIFF* get() const { return m_tiff; }
    // Flushes and closes; false when the last writes failed.
    bool Close() {
        const bool flushed = TIFFFlush(m_tiff) == 1;
        TIFFClose(m_tiff);
        m_tiff = nullptr;
        return flushed;
    }

private:
    TIFF* m_tiff = nullptr;
};

std::unique_ptr<Bitmap> Refuse(Status* status) {
    *status = UnknownImageFormat;
    return nullptr;
}

}  // namespace

Status EncodeTiff(Bitmap& bitmap, QByteArray* out) {
    ColorPalette palette;
    bitmap.GetPalette(&palette);
    const bool indexed = bitmap.GetPixelFormat() == PixelFormat8bppIndexed;
    const bool grey = indexed && IsIdentityGrey(palette);
    const PixelFormat format = indexed ? PixelFormat8bppIndexed : PixelFormat24bppRGB;
    BitmapData pixels;
    Status status = bitmap.LockBits(nullptr, ImageLockModeRead, format, &pixels);
    if (status != Ok)
        return status;

    out->clear();
    MemoryFile file;
    file.written = out;
    Tiff tiff(&file, "w");
    bool ok = tiff.get() != nullptr;
    if (ok) {
        TIFF* t = tiff.get();
        const uint16_t samples = indexed ? 1 : 3;
        const uint16_t photometric = grey      ? PHOTOMETRIC_MINISBLACK
                                     : indexed ? PHOTOMETRIC_PALETTE
                                               : PHOTOMETRIC_RGB;
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, pixels.Width);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, pixels.Height);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, photometric);
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
        TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
        if (photometric == PHOTOMETRIC_PALETTE) {
            std::vector<uint16_t> map(3 * kMaxPaletteEntries);
            for (UINT i = 0; i < kMaxPaletteEntries; ++i) {
                const ARGB c = PaletteColor(palette, static_cast<BYTE>(i));
                map[i] = static_cast<uint16_t>(((c >> 16) & 0xFF) * 257);
                map[kMaxPaletteEntries + i] = static_cast<uint16_t>(((c >> 8) & 0xFF) * 257);
                map[2 * kMaxPaletteEntries + i] = static_cast<uint16_t>((c & 0xFF) * 257);
            }
            TIFFSetField(t, TIFFTAG_COLORMAP, map.data(), map.data() + kMaxPaletteEntries,
                         map.data() + 2 * kMaxPaletteEntries);
        }
        std::vector<BYTE> row(static_cast<size_t>(pixels.Width) * samples);
        for (UINT y = 0; ok && y < pixels.Height; ++y) {
            const BYTE* in =
                static_cast<const BYTE*>(pixels.Scan0) + static_cast<size_t>(y) * pixels.Stride;
            if (indexed) {
                std::memcpy(row.data(), in, row.size());
            } else {
                for (size_t i = 0; i < row.size(); i += 3) {
                    row[i] = in[i + 2];
                    row[i + 1] = in[i + 1];
                    row[i + 2] = in[i];
                }
            }
            ok = TIFFWriteScanline(t, row.data(), y, 0) == 1;
        }
        ok = tiff.Close() && ok;
    }
    bitmap.UnlockBits(&pixels);
    return ok ? Ok : GenericError;
}

std::unique_ptr<Bitmap> DecodeTiff(const QByteArray& bytes, Status* status) {
    MemoryFile file;
    file.readData = bytes.constData();
    file.readSize = bytes.size();
    Tiff tiff(&file, "rm");
    TIFF* t = tiff.get();
    if (!t)
        return Refuse(status);
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bits = 0;
    uint16_t samples = 0;
    uint16_t photometric = 0;
    uint16_t planar = 0;
    if (!TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(t, TIFFTAG_IMAGELENGTH, &height) ||
        !TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &photometric) ||
        !TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &bits) ||
        !TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &samples) ||
        !TIFFGetFieldDefaulted(t, TIFFTAG_PLANARCONFIG, &planar))
        return Refuse(status);
    const bool single = samples == 1 && (photometric == PHOTOMETRIC_MINISBLACK ||
                                         photometric == PHOTOMETRIC_MINISWHITE ||
                                         photometric == PHOTOMETRIC_PALETTE);
    const bool rgb = samples >= 3 && photometric == PHOTOMETRIC_RGB;
    if (TIFFIsTiled(t) || bits != 8 || (!single && !rgb) ||
        (samples > 1 && planar != PLANARCONFIG_CONTIG) || width == 0 || height == 0 ||
        width > INT32_MAX || height > INT32_MAX ||
        !PlausibleSize(int64_t{width} * height, bytes.size()) ||
        TIFFScanlineSize64(t) != uint64_t{width} * samples)
        return Refuse(status);

    ColorPalette palette = GreyPalette();
    if (photometric == PHOTOMETRIC_PALETTE) {
        uint16_t* red = nullptr;
        uint16_t* green = nullptr;
        uint16_t* blue = nullptr;
        if (!TIFFGetField(t, TIFFTAG_COLORMAP, &red, &green, &blue))
            return Refuse(status);
        bool grey = true;
        for (UINT i = 0; i < kMaxPaletteEntries; ++i) {
            palette.Entries[i] =
                MakeARGB(0xFF, static_cast<BYTE>(red[i] >> 8), static_cast<BYTE>(green[i] >> 8),
                         static_cast<BYTE>(blue[i] >> 8));
            grey = grey && red[i] >> 8 == green[i] >> 8 && green[i] >> 8 == blue[i] >> 8;
        }
        palette.Flags = grey ? PaletteFlagsGrayScale : 0;
    } else if (photometric == PHOTOMETRIC_MINISWHITE) {
        for (UINT i = 0; i < kMaxPaletteEntries; ++i) {
            const BYTE v = static_cast<BYTE>(255 - i);
            palette.Entries[i] = MakeARGB(0xFF, v, v, v);
        }
    }

    const PixelFormat format = single ? PixelFormat8bppIndexed : PixelFormat24bppRGB;
    auto bitmap =
        std::make_unique<Bitmap>(static_cast<int32_t>(width), static_cast<int32_t>(height), format);
    if (Status made = bitmap->GetLastStatus(); made != Ok) {
        *status = made;
        return nullptr;
    }
    if (single)
        bitmap->SetPalette(&palette);
    BitmapData pixels;
    if (Status locked = bitmap->LockBits(nullptr, ImageLockModeWrite, format, &pixels);
        locked != Ok) {
        *status = locked;
        return nullptr;
    }
    std::vector<BYTE> row(static_cast<size_t>(width) * samples);
    bool ok = true;
    for (uint32_t y = 0; ok && y < height; ++y) {
        ok = TIFFReadScanline(t, row.data(), y, 0) == 1;
        BYTE* out = static_cast<BYTE*>(pixels.Scan0) + static_cast<size_t>(y) * pixels.Stride;
        if (single) {
            std::memcpy(out, row.data(), width);
        } else {
            for (uint32_t x = 0; x < width; ++x, out += 3) {
                const BYTE* in = row.data() + static_cast<size_t>(x) * samples;
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
            }
        }
    }
    bitmap->UnlockBits(&pixels);
    if (!ok)
        return Refuse(status);
    *status = Ok;
    return bitmap;
}

}  // namespace imaging::detail

namespace imaging {

namespace {

constexpr uint32_t kMaxTiffSide = 0xFFFF;
constexpr uint64_t kMaxRgbaPixels = uint64_t{1} << 26;

struct TiffTags {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bits = 0;
    uint16_t samples = 0;
    uint16_t photometric = 0;
    uint16_t planar = 0;
    uint16_t orientation = ORIENTATION_TOPLEFT;
};

// The tags of the first image, with the sides checked; false when any is missing or the sides
// are out of range.
bool ReadTags(TIFF* t, int64_t fileBytes, TiffTags* tags) {
    if (!TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &tags->width) ||
        !TIFFGetField(t, TIFFTAG_IMAGELENGTH, &tags->height) ||
        !TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &tags->bits) ||
        !TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &tags->samples) ||
        !TIFFGetFieldDefaulted(t, TIFFTAG_PLANARCONFIG, &tags->planar))
        return false;
    if (!TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &tags->photometric))
        tags->photometric = tags->samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    TIFFGetFieldDefaulted(t, TIFFTAG_ORIENTATION, &tags->orientation);
    return tags->width > 0 && tags->height > 0 && tags->width <= kMaxTiffSide &&
           tags->height <= kMaxTiffSide &&
           detail::PlausibleSize(int64_t{tags->width} * tags->height, fileBytes);
}

// The layout of the strips we read ourselves; everything else goes through libtiff's RGBA
// reader, which knows every depth, sample count, tile layout and photometric it supports.
bool ReadsStrips(TIFF* t, const TiffTags& tags, TiffRowLayout* layout) {
    if (TIFFIsTiled(t) || (tags.samples > 1 && tags.planar != PLANARCONFIG_CONTIG))
        return false;
    const bool grey =
        tags.photometric == PHOTOMETRIC_MINISBLACK || tags.photometric == PHOTOMETRIC_MINISWHITE;
    if (tags.samples == 1 && tags.bits == 8 && (grey || tags.photometric == PHOTOMETRIC_PALETTE))
        *layout = TiffRowLayout::kIndexed8;
    else if (tags.samples == 1 && tags.bits == 16 && tags.photometric == PHOTOMETRIC_MINISBLACK)
        *layout = TiffRowLayout::kGrey16;
    else if (tags.samples == 3 && tags.bits == 8 && tags.photometric == PHOTOMETRIC_RGB)
        *layout = TiffRowLayout::kBgr24;
    else
        return false;
    return TIFFScanlineSize64(t) == uint64_t{tags.width} * tags.samples * (tags.bits / 8);
}

// Where row y of the file (as stored) lands from the top of the picture as seen, and whether
// its pixels run right to left.
int ShownRow(const TiffTags& tags, int y, bool* mirrored) {
    const uint16_t o = tags.orientation;
    *mirrored = o == ORIENTATION_TOPRIGHT || o == ORIENTATION_BOTRIGHT;
    const bool upsideDown = o == ORIENTATION_BOTRIGHT || o == ORIENTATION_BOTLEFT;
    return upsideDown ? static_cast<int>(tags.height) - 1 - y : y;
}

void Mirror(BYTE* row, uint32_t width, size_t pixelBytes) {
    for (uint32_t a = 0, b = width - 1; a < b; ++a, --b)
        std::swap_ranges(row + a * pixelBytes, row + (a + 1) * pixelBytes, row + b * pixelBytes);
}

}  // namespace

bool ReadTiffFrameInfo(const QByteArray& bytes, TiffFrameInfo* info) {
    detail::MemoryFile file;
    file.readData = bytes.constData();
    file.readSize = bytes.size();
    detail::Tiff tiff(&file, "rm");
    TiffTags tags;
    if (!tiff.get() || !ReadTags(tiff.get(), bytes.size(), &tags))
        return false;
    TiffFrameInfo result;
    result.width = static_cast<int>(tags.width);
    result.height = static_cast<int>(tags.height);
    if (!ReadsStrips(tiff.get(), tags, &result.layout))
        result.layout = TiffRowLayout::kBgr24;
    if (result.layout == TiffRowLayout::kIndexed8) {
        result.colours.resize(256);
        uint16_t* red = nullptr;
        uint16_t* green = nullptr;
        uint16_t* blue = nullptr;
        if (tags.photometric == PHOTOMETRIC_PALETTE &&
            !TIFFGetField(tiff.get(), TIFFTAG_COLORMAP, &red, &green, &blue))
            return false;
        for (int i = 0; i < 256; ++i) {
            RGBQUAD& c = result.colours[static_cast<size_t>(i)];
            if (red) {
                c.rgbRed = static_cast<BYTE>(red[i] >> 8);
                c.rgbGreen = static_cast<BYTE>(green[i] >> 8);
                c.rgbBlue = static_cast<BYTE>(blue[i] >> 8);
            } else {
                const int level = tags.photometric == PHOTOMETRIC_MINISWHITE ? 255 - i : i;
                c.rgbRed = c.rgbGreen = c.rgbBlue = static_cast<BYTE>(level);
            }
        }
    }
    *info = std::move(result);
    return true;
}

bool ReadTiffFrameRows(const QByteArray& bytes, const TiffFrameInfo& info,
                       const std::function<void(int y, const BYTE* pixels)>& row) {
    detail::MemoryFile file;
    file.readData = bytes.constData();
    file.readSize = bytes.size();
    detail::Tiff tiff(&file, "rm");
    TIFF* t = tiff.get();
    TiffTags tags;
    if (!t || !ReadTags(t, bytes.size(), &tags) || tags.width != uint32_t(info.width) ||
        tags.height != uint32_t(info.height))
        return false;
    TiffRowLayout layout = TiffRowLayout::kBgr24;
    const bool strips = ReadsStrips(t, tags, &layout);
    if (!strips && info.layout != TiffRowLayout::kBgr24)
        return false;
    if (strips && layout != info.layout)
        return false;
    if (!strips) {
        // The reader wants the whole picture at once; beyond this it is refused rather than
        // risk an allocation the machine cannot make.
        if (uint64_t{tags.width} * tags.height > kMaxRgbaPixels)
            return false;
        std::vector<uint32_t> raster(size_t{tags.width} * tags.height);
        if (TIFFReadRGBAImageOriented(t, tags.width, tags.height, raster.data(),
                                      ORIENTATION_TOPLEFT, 0) != 1)
            return false;
        std::vector<BYTE> out(size_t{tags.width} * 3);
        for (uint32_t y = 0; y < tags.height; ++y) {
            const uint32_t* in = raster.data() + size_t{y} * tags.width;
            for (uint32_t x = 0; x < tags.width; ++x) {
                out[3 * x] = static_cast<BYTE>(TIFFGetB(in[x]));
                out[3 * x + 1] = static_cast<BYTE>(TIFFGetG(in[x]));
                out[3 * x + 2] = static_cast<BYTE>(TIFFGetR(in[x]));
            }
            row(static_cast<int>(y), out.data());
        }
        return true;
    }
    const size_t pixelBytes = size_t{tags.samples} * (tags.bits / 8);
    const size_t rowBytes = size_t{tags.width} * pixelBytes;
    uint32_t rowsPerStrip = tags.height;
    TIFFGetFieldDefaulted(t, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = std::clamp<uint32_t>(rowsPerStrip, 1, tags.height);
    std::vector<BYTE> strip(rowBytes * rowsPerStrip);
    for (uint32_t first = 0; first < tags.height; first += rowsPerStrip) {
        const uint32_t rows = std::min(rowsPerStrip, tags.height - first);
        const tmsize_t want = static_cast<tmsize_t>(rowBytes * rows);
        if (TIFFReadEncodedStrip(t, TIFFComputeStrip(t, first, 0), strip.data(), want) != want)
            return false;
        for (uint32_t r = 0; r < rows; ++r) {
            BYTE* line = strip.data() + r * rowBytes;
            if (layout == TiffRowLayout::kBgr24)
                for (uint32_t x = 0; x < tags.width; ++x)
                    std::swap(line[3 * x], line[3 * x + 2]);
            bool mirrored = false;
            const int shown = ShownRow(tags, static_cast<int>(first + r), &mirrored);
            if (mirrored)
                Mirror(line, tags.width, pixelBytes);
            row(shown, line);
        }
    }
    return true;
}

}  // namespace imaging
