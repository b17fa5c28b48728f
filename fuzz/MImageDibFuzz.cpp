// A ".bmp" loaded into the tracker's image through a region of interest, as a tracking run loads
// a frame: the first 16 bytes are the inclusive rectangle (left, top, right, bottom, little
// endian), the rest is the bitmap file.

#include "frames/Dib.h"
#include "fuzz/FuzzSupport.h"
#include "platform/framework/File.h"
#include "tracking/MImage.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 16)
        return 0;
    int32_t corners[4];
    std::memcpy(corners, data, sizeof corners);
    const QString path = FuzzFile(data + 16, size - 16, QStringLiteral("input.bmp"));
    CDib dib;
    CFile file(path, CFile::modeRead);
    if (!dib.ReadBmp(file))
        return 0;
    const CRect rect(corners[0], corners[1], corners[2], corners[3]);
    CMImage image;
    image.LoadFromDib(dib, &rect);
    image.LoadFromDib(dib, nullptr);
    return 0;
}
