#pragma once

// DrawMarker: the marker symbols of tracked features, measure points, scale points, the origin
// and marker cells of lists: 0 plus, 1 diagonal cross, 2 triangle, 3 square, 4 circle; any other
// shape a plus.

#include "platform/wintypes/ColorRef.h"

class CDC;

// The largest half size and pen width drawn; sizes come from files, larger ones are drawn at
// this size.
constexpr int kMaxMarkerSize = 1 << 12;

// Draws the symbol centred on window point (x, y) with a solid pen of penWidth in the colour;
// the pen selected before is put back. reserved is ignored. Points beyond 2^28 pixels are drawn
// there.
void DrawMarker(CDC* dc, int x, int y, int red, int green, int blue, int shape, int halfSize,
                int penWidth, int reserved = 0);

// The same symbol with the colour as one colour word (0x00BBGGRR), as channel lists keep it.
void DrawMarker(CDC* dc, int x, int y, COLORREF colour, int shape, int halfSize, int penWidth);
