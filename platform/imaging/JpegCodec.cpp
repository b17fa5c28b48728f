// The JPEG encoder and decoder over TurboJPEG. An 8-bit bitmap whose palette is the grey ramp is
// written as a one-channel grey JPEG; every other bitmap as colour with full-resolution chroma
// (no subsampling), which keeps measurement detail at high quality settings. Sequence frames
// decode straight into their bitmap rows (FrameFiles.h).

#include "platform/imaging/Codecs.h"
#include "platform/imaging/FrameFiles.h"
#include "platform/imaging/PixelConvert.h"

#include <turbojpeg.h>

namespace imaging::detail {

// Owns a TurboJPEG instance.
class TjHandle {
public:
    explicit TjHandle(tjhandle handle) : m_handle(handle) {}
    ~TjHandle() {
        if (m_handle)
            tjDestroy(m_handle);
    }
    TjHandle(const TjHandle&) = delete;
    TjHandle& operator=(const TjHandle&) = delete;
    tjhandle get() const { return m_handle; }

private:
    tjhandle m_handle;
};

Status EncodeJpeg(Bitmap& bitmap, int quality, QByteArray* out) {
    ColorPalette palette;
    bitmap.GetPalette(&palette);
    const PixelFormat own = bitmap.GetPixelFormat();
    const bool grey = own == PixelFormat8bppIndexed && IsIdentityGrey(palette);
    const bool direct = grey || own == PixelFormat24bppRGB || own == PixelFormat32bppRGB;
    const PixelFormat format = direct ? own : PixelFormat24bppRGB;
    const int tjFormat = grey ? TJPF_GRAY : format == PixelFormat32bppRGB ? TJPF_BGRX : TJPF_BGR;

    TjHandle compressor(tjInitCompress());
    if (!compressor.get())
        return OutOfMemory;
    BitmapData pixels;
    Status status = bitmap.LockBits(nullptr, ImageLockModeRead, format, &pixels);
    if (status != Ok)
        return status;
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    const int result = tjCompress2(
        compressor.get(), static_cast<const unsigned char*>(pixels.Scan0),
        static_cast<int>(pixels.Width), pixels.Stride, static_cast<int>(pixels.Height), tjFormat,
        &jpeg, &jpegSize, grey ? TJSAMP_GRAY : TJSAMP_444, quality < 1 ? 1 : quality, 0);
    bitmap.UnlockBits(&pixels);
    if (result == 0)
        *out = QByteArray(reinterpret_cast<const char*>(jpeg), static_cast<qsizetype>(jpegSize));
    tjFree(jpeg);
    return result == 0 ? Ok : GenericError;
}

std::unique_ptr<Bitmap> DecodeJpeg(const QByteArray& bytes, Status* status) {
    TjHandle decompressor(tjInitDecompress());
    if (!decompressor.get()) {
        *status = OutOfMemory;
        return nullptr;
    }
    const auto* jpeg = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto jpegSize = static_cast<unsigned long>(bytes.size());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colorspace = 0;
    if (tjDecompressHeader3(decompressor.get(), jpeg, jpegSize, &width, &height, &subsampling,
                            &colorspace) != 0) {
        *status = UnknownImageFormat;
        return nullptr;
    }
    if (!PlausibleSize(int64_t{width} * height, bytes.size())) {
        *status = UnknownImageFormat;
        return nullptr;
    }
    const bool grey = colorspace == TJCS_GRAY;
    auto bitmap = std::make_unique<Bitmap>(width, height,
                                           grey ? PixelFormat8bppIndexed : PixelFormat24bppRGB);
    if (Status made = bitmap->GetLastStatus(); made != Ok) {
        *status = made;
        return nullptr;
    }
    BitmapData pixels;
    if (Status locked =
            bitmap->LockBits(nullptr, ImageLockModeWrite, bitmap->GetPixelFormat(), &pixels);
        locked != Ok) {
        *status = locked;
        return nullptr;
    }
    // A damaged stream fails here, warnings included, rather than showing a half-grey picture.
    const int result =
        tjDecompress2(decompressor.get(), jpeg, jpegSize, static_cast<unsigned char*>(pixels.Scan0),
                      width, pixels.Stride, height, grey ? TJPF_GRAY : TJPF_BGR, TJFLAG_LIMITSCANS);
    bitmap->UnlockBits(&pixels);
    if (result != 0) {
        *status = UnknownImageFormat;
        return nullptr;
    }
    *status = Ok;
    return bitmap;
}

}  // namespace imaging::detail

namespace imaging {

namespace {

constexpr int kMaxJpegSide = 0xFFFF;

struct JpegParams {
    int width = 0;
    int height = 0;
    int channels = 0;
};

bool ReadParams(tjhandle handle, const QByteArray& bytes, JpegParams* params) {
    int subsampling = 0;
    int colorspace = 0;
    if (tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(bytes.constData()),
                            static_cast<unsigned long>(bytes.size()), &params->width,
                            &params->height, &subsampling, &colorspace) != 0)
        return false;
    params->channels = colorspace == TJCS_GRAY ? 1 : 3;
    return params->width > 0 && params->height > 0 && params->width <= kMaxJpegSide &&
           params->height <= kMaxJpegSide &&
           detail::PlausibleSize(int64_t{params->width} * params->height, bytes.size());
}

size_t RowBytes(const JpegParams& params) {
    return (static_cast<size_t>(params.width) * params.channels + 3) & ~size_t{3};
}

}  // namespace

bool ReadJpegHeader(const QByteArray& bytes, BITMAPINFOHEADER* header) {
    detail::TjHandle handle(tjInitDecompress());
    JpegParams params;
    if (!handle.get() || !header || !ReadParams(handle.get(), bytes, &params))
        return false;
    *header = BITMAPINFOHEADER{};
    header->biWidth = params.width;
    header->biHeight = params.height;
    header->biBitCount = static_cast<WORD>(params.channels * 8);
    header->biSizeImage = static_cast<DWORD>(RowBytes(params) * params.height);
    header->biClrUsed = params.channels == 1 ? 256 : 0;
    return true;
}

bool ReadJpegImage(const QByteArray& bytes, BYTE* dst, size_t dstBytes) {
    detail::TjHandle handle(tjInitDecompress());
    JpegParams params;
    if (!handle.get() || !dst || !ReadParams(handle.get(), bytes, &params))
        return false;
    const size_t pitch = RowBytes(params);
    if (pitch * params.height > dstBytes)
        return false;
    // Bottom-up like the header's positive height; a damaged stream fails instead of showing a
    // half-grey picture.
    return tjDecompress2(handle.get(), reinterpret_cast<const unsigned char*>(bytes.constData()),
                         static_cast<unsigned long>(bytes.size()), dst, params.width,
                         static_cast<int>(pitch), params.height,
                         params.channels == 1 ? TJPF_GRAY : TJPF_BGR,
                         TJFLAG_BOTTOMUP | TJFLAG_LIMITSCANS) == 0;
}

}  // namespace imaging
