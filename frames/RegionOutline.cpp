#include "frames/RegionOutline.h"

#include "frames/IImageToWindowMap.h"
#include "platform/framework/DC.h"
#include "platform/framework/Wnd.h"

namespace {

CPoint MapCorner(IImageToWindowMap* map, int x, int y) {
    if (!map)
        return CPoint(x, y);
    double windowX = x;
    double windowY = y;
    map->ImageToWindow(x, y, &windowX, &windowY);
    return CPoint(static_cast<int>(windowX), static_cast<int>(windowY));
}

}  // namespace

void DrawRegionOutline(const CRect& region, COLORREF colour, int width, CDC* dc, CWnd* window,
                       IImageToWindowMap* map) {
    if (!dc) {
        if (window && window->GetSafeHwnd())
            window->Invalidate(FALSE);
        return;
    }
    CRect rect = region;
    rect.NormalizeRect();
    CPen pen(PS_SOLID, width, colour);
    CPen* previous = dc->SelectObject(&pen);
    const CPoint topLeft = MapCorner(map, rect.left, rect.top);
    const CPoint bottomRight = MapCorner(map, rect.right, rect.bottom);
    dc->MoveTo(topLeft.x, topLeft.y);
    dc->LineTo(bottomRight.x, topLeft.y);
    dc->LineTo(bottomRight.x, bottomRight.y);
    dc->LineTo(topLeft.x, bottomRight.y);
    dc->LineTo(topLeft.x, topLeft.y);
    dc->SelectObject(previous);
}
