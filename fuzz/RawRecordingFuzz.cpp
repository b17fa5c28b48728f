// A ".raw" recording opened as the program opens a movie, and its frames read and decoded.

#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzFile(data, size, QStringLiteral("input.raw"));
    CFrameSource source;
    if (!source.Open(path))
        return 0;
    // A recording cut short keeps the frame count of its header and the frames past the end of
    // the file fail to read; those are all alike, so after the first that fails only the last
    // one is read (a header may claim a billion frames in a few bytes).
    const int frames = source.GetFrameCount();
    for (int n = 0; n < frames; ++n) {
        CFrameImage image;
        if (!source.GetFrame(n, &image, 0)) {
            source.GetFrame(frames - 1, &image, 0);
            break;
        }
    }
    source.Close();
    return 0;
}
