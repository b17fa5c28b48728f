#pragma once

// DrawMarker with the colour as one colour word (0x00BBGGRR): the plot markers of the channel
// lists, drawn by the same code as the tracking markers: 0 plus, 1 diagonal cross, 2 triangle,
// 3 square, 4 circle, any other shape a plus; size is the half width.

#include "platform/wintypes/ColorRef.h"

class CDC;

void DrawMarker(CDC* dc, int x, int y, COLORREF colour, int shape, int size, int penWidth);
