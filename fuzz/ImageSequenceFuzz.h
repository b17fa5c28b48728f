#pragma once

// What the image-sequence targets share: the bytes become the first file of a numbered set
// opened as the program opens a movie, and every frame is read and decoded, shown both plainly
// and through the display tables.

#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "fuzz/FuzzSupport.h"

inline int FuzzImageSequenceFile(const uint8_t* data, size_t size, const QString& extension) {
    const QString path = FuzzFile(data, size, QStringLiteral("input0001.") + extension);
    CFrameSource source;
    if (!source.Open(path))
        return 0;
    for (int n = 0; n < source.GetFrameCount(); ++n) {
        CFrameImage image;
        source.GetFrame(n, &image, 0);
        source.GetDisplayFrame(n, &image, 1, 0);
    }
    return 0;
}
