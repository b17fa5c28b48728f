// A ".bmp" read into a frame bitmap, then turned into 24-bit rows and a colour table the way the
// views and the export use it.

#include "frames/Dib.h"
#include "fuzz/FuzzSupport.h"
#include "platform/framework/File.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzFile(data, size, QStringLiteral("input.bmp"));
    CDib dib;
    CFile file(path, CFile::modeRead);
    if (!dib.ReadBmp(file))
        return 0;
    CSize extent;
    dib.GetSize(&extent);
    std::vector<BYTE> rgb(static_cast<size_t>(DibRowBytes(extent.cx, 24)) *
                          static_cast<size_t>(extent.cy));
    dib.ToRgb24(rgb.data(), true);
    dib.CreatePalette();
    CDib copy;
    copy.Copy(dib);
    return 0;
}
