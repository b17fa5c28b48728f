#include "views/DrawMarker.h"

#include "platform/framework/DC.h"
#include "platform/framework/GdiConstants.h"
#include "platform/framework/Pen.h"

#include <algorithm>

void DrawMarker(CDC* dc, int x, int y, int red, int green, int blue, int shape, int halfSize,
                int penWidth, int) {
    if (!dc)
        return;
    constexpr int kFar = 1 << 28;
    x = std::clamp(x, -kFar, kFar);
    y = std::clamp(y, -kFar, kFar);
    CPen pen(PS_SOLID, std::min(penWidth, kMaxMarkerSize), RGB(red, green, blue));
    CPen* previous = dc->SelectObject(&pen);
    const int d = std::clamp(halfSize, -kMaxMarkerSize, kMaxMarkerSize);
    switch (shape) {
        case 1:
            dc->MoveTo(x - d, y - d);
            dc->LineTo(x + d, y + d);
            dc->MoveTo(x + d, y - d);
            dc->LineTo(x - d, y + d);
            break;
        case 2:
            dc->MoveTo(x, y - d);
            dc->LineTo(x + d, y + d);
            dc->LineTo(x - d, y + d);
            dc->LineTo(x, y - d);
            break;
        case 3:
            dc->MoveTo(x - d, y - d);
            dc->LineTo(x + d, y - d);
            dc->LineTo(x + d, y + d);
            dc->LineTo(x - d, y + d);
            dc->LineTo(x - d, y - d);
            break;
        case 4:
            dc->Arc(x - d, y - d, x + d, y + d, x - d, y - d, x - d, y - d);
            break;
        default:
            dc->MoveTo(x - d, y);
            dc->LineTo(x + d, y);
            dc->MoveTo(x, y - d);
            dc->LineTo(x, y + d);
            break;
    }
    dc->SelectObject(previous);
}

void DrawMarker(CDC* dc, int x, int y, COLORREF colour, int shape, int halfSize, int penWidth) {
    DrawMarker(dc, x, y, GetRValue(colour), GetGValue(colour), GetBValue(colour), shape, halfSize,
               penWidth);
}
