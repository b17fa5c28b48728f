#pragma once

// BitmapData: the pixel rows a bitmap lends out between LockBits and UnlockBits, with the
// rectangle and lock modes that ask for them.

#include "platform/imaging/PixelFormat.h"
#include "platform/wintypes/WinTypes.h"

namespace imaging {

// A rectangle as origin and size, in pixels.
struct Rect {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

enum ImageLockMode : UINT {
    ImageLockModeRead = 1,
    ImageLockModeWrite = 2,
};

struct BitmapData {
    UINT Width = 0;
    UINT Height = 0;
    int32_t Stride = 0;  // Bytes from one row to the next; rows run top to bottom.
    imaging::PixelFormat PixelFormat = 0;
    void* Scan0 = nullptr;  // The top row of the locked rectangle.
};

}  // namespace imaging
