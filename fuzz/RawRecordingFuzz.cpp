// A ".raw" recording opened as the program opens a movie, and its frames read and decoded, both
// as copies and as a window shows them (read in place from the mapped file where it can be).

#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "fuzz/FuzzSupport.h"

namespace {

// Reads every pixel of the image, so that a frame shown from a range the file does not hold
// shows up.
void ReadEveryPixel(CFrameImage& image) {
    imaging::Bitmap* bitmap = image.GetBitmap();
    imaging::BitmapData data;
    if (!bitmap ||
        !image.LockBits(nullptr, imaging::ImageLockModeRead, bitmap->GetPixelFormat(), &data))
        return;
    const UINT rowBytes = data.Width * (imaging::GetPixelFormatSize(data.PixelFormat) / 8);
    volatile BYTE sum = 0;
    for (UINT y = 0; y < data.Height; ++y) {
        const BYTE* row =
            static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        for (UINT x = 0; x < rowBytes; ++x)
            sum = static_cast<BYTE>(sum + row[x]);
    }
    image.UnlockBits(&data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzFile(data, size, QStringLiteral("input.raw"));
    CFrameSource source;
    if (!source.Open(path))
        return 0;
    // A recording cut short keeps the frame count of its header and the frames past the end of
    // the file fail to read; those are all alike, so after the first that fails only the last
    // one is read (a header may claim a billion frames in a few bytes).
    const int frames = source.GetFrameCount();
    CLutParamSet colour;
    CLutParamSet bw;
    ResetLutParams(&colour);
    ResetLutParams(&bw);
    CFrameImage shown;
    for (int n = 0; n < frames; ++n) {
        CFrameImage image;
        if (!source.GetFrame(n, &image, 0)) {
            source.GetFrame(frames - 1, &image, 0);
            if (source.GetFrameDib(frames - 1, &shown, colour, bw, 0))
                ReadEveryPixel(shown);
            break;
        }
        if (source.GetFrameDib(n, &shown, colour, bw, 0))
            ReadEveryPixel(shown);
    }
    source.Close();
    return 0;
}
