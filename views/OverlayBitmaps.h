#pragma once

// COverlayBitmaps: the pictures of the measurement overlays: the note icon, which is also the
// measure point's jump button, the move-here button in its two states and the drag handle. Each
// is 32 x 32 pixels on white, and white is left out where it is drawn. The program holds one
// copy of each, taken from the resources when a module carries the bitmap and drawn here
// otherwise; every object draws that copy.

#include "platform/framework/Bitmap.h"
#include "platform/wintypes/Rect.h"
#include "platform/wintypes/WinTypes.h"

class CDC;

class COverlayBitmaps {
public:
    static constexpr UINT kNote = 388;
    // The move-here button while the point already is on the current frame.
    static constexpr UINT kMoveHereDone = 390;
    static constexpr UINT kMoveHere = 391;
    static constexpr UINT kDragHandle = 392;
    static constexpr int kSide = 32;
    static constexpr COLORREF kTransparent = 0xFFFFFF;

    // The shared bitmap of id; an uncreated bitmap for any other id. Copies share its pixels.
    static const CBitmap& Get(UINT id);
    // Draws bitmap id stretched into r (right and bottom excluded), white left out.
    static void Draw(CDC* dc, UINT id, const CRect& r);
};
