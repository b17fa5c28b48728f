#pragma once

// The outline that marks a region over a video view: four strokes round the rectangle, its
// corners mapped from image to window pixels.

#include "platform/wintypes/ColorRef.h"
#include "platform/wintypes/Rect.h"

class CDC;
class CWnd;
class IImageToWindowMap;

// Draws region (image pixels, either corner order) with a solid pen of width and colour into
// dc. A window without a device context cannot be painted outside its paint event here, so it
// is asked to repaint, and its overlays draw the outline then; with neither, nothing happens.
// Without a map the corners are taken as window pixels.
void DrawRegionOutline(const CRect& region, COLORREF colour, int width, CDC* dc, CWnd* window,
                       IImageToWindowMap* map);
