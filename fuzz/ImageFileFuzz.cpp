// An image file opened as a bitmap (the decoder is chosen by the file's signature: BMP, TIFF,
// JPEG or PNG), its pixels locked in its own format and as 24-bit colour, and saved again.

#include "fuzz/FuzzSupport.h"
#include "platform/imaging/Bitmap.h"
#include "platform/imaging/ImageCodecs.h"

#include <vector>

using namespace imaging;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzFile(data, size, QStringLiteral("input.img"));
    std::unique_ptr<Bitmap> bitmap = Bitmap::FromFile(path);
    if (!bitmap)
        return 0;
    for (const PixelFormat format : {bitmap->GetPixelFormat(), PixelFormat24bppRGB}) {
        BitmapData locked;
        if (bitmap->LockBits(nullptr, ImageLockModeRead, format, &locked) == Ok)
            bitmap->UnlockBits(&locked);
    }
    UINT count = 0;
    UINT bytes = 0;
    GetImageEncodersSize(&count, &bytes);
    std::vector<ImageCodecInfo> encoders(count);
    GetImageEncoders(count, bytes, encoders.data());
    for (const ImageCodecInfo& encoder : encoders)
        bitmap->Save(FuzzFile(nullptr, 0, QStringLiteral("saved.img")), &encoder.Clsid, nullptr);
    return 0;
}
