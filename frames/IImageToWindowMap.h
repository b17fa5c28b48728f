#pragma once

// IImageToWindowMap: maps image pixels to the window pixels of the view that shows the image
// zoomed and panned. IImageMapHost hands out one for the view's current zoom.

#include "platform/wintypes/WinError.h"

class IImageToWindowMap {
public:
    virtual void ImageToWindow(double x, double y, double* windowX, double* windowY) = 0;
    // Gives the map back to its host; the caller uses it no more.
    virtual void ReleaseMap() = 0;

protected:
    ~IImageToWindowMap() = default;
};

class IImageMapHost {
public:
    // S_OK with a map the caller releases; E_FAIL while there is no view to map into.
    virtual HRESULT GetImageMap(IImageToWindowMap** out) = 0;

protected:
    ~IImageMapHost() = default;
};
