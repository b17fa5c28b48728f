// An AVI series of two members made of the same bytes, opened as the program opens a movie
// and every frame read across the member boundary.

#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFile(data, size, QStringLiteral("series_01.avi"));
    const QString path = FuzzFile(data, size, QStringLiteral("series.avi"));
    CFrameSource source;
    if (!source.Open(path))
        return 0;
    for (int n = 0; n < source.GetFrameCount(); ++n) {
        CFrameImage image;
        source.GetFrame(n, &image, 0);
        source.GetSegmentBoundary(n, -1);
        source.GetSegmentBoundary(n, 1);
    }
    return 0;
}
