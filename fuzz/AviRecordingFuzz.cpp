// An ".avi" recording opened as the program opens a movie, and every frame read and decoded
// through the frame source.

#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzFile(data, size, QStringLiteral("input.avi"));
    CFrameSource source;
    if (!source.Open(path))
        return 0;
    for (int n = 0; n < source.GetFrameCount(); ++n) {
        CFrameImage image;
        source.GetFrame(n, &image, 0);
    }
    source.Close();
    return 0;
}
