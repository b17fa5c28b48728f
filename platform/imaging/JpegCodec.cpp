// The JPEG encoder and decoder over TurboJPEG. An 8-bit bitmap whose palette is the grey ramp is
// written as a one-channel grey JPEG; every other bitmap as colour with full-resolution chroma
// (no subsampling), which keeps measurement detail at high quality settings.

#include "platform/imaging/Codecs.h"
#include "platform/imaging/PixelConvert.h"

#include <turbojpeg.h>

namespace imaging::detail {

namespace {

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

}  // namespace

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
