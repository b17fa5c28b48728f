#pragma once

// IOverlayDraw: the drawing interface of the objects that mark a video view (a data channel's
// marker, a region's outline): they draw into the view's device context over the frame.

#include "platform/wintypes/Rect.h"
#include "platform/wintypes/WinError.h"

class CDC;

class IOverlayDraw {
public:
    // area: the view's client rectangle in window pixels.
    virtual HRESULT Draw(CDC* dc, const CRect& area) = 0;

protected:
    ~IOverlayDraw() = default;
};
