#pragma once

// INoteMarker: what a video view asks of its recording's notes: to mark a noted frame on the
// picture, and whether a right click hit that mark (the notes then open instead of the menu).

#include "platform/wintypes/Rect.h"

class CDC;

class INoteMarker {
public:
    virtual void DrawMarker(CDC& dc, const CRect& rect) = 0;
    // (x, y) and rect in screen coordinates; true when the click was taken.
    virtual bool HitTestMarker(int x, int y, const CRect& rect, int frame) = 0;

protected:
    ~INoteMarker() = default;
};
