#include "sensordata/PlotMarker.h"

#include "tracking/DrawMarker.h"

void DrawMarker(CDC* dc, int x, int y, COLORREF colour, int shape, int size, int penWidth) {
    DrawMarker(dc, x, y, GetRValue(colour), GetGValue(colour), GetBValue(colour), shape, size,
               penWidth);
}
