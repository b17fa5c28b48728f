#include "views/DrawEllipse.h"

#include "platform/framework/Archive.h"
#include "platform/framework/DC.h"

IMPLEMENT_SERIAL(CDrawEllipse, CDrawObject, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

CDrawEllipse::CDrawEllipse() {
    m_type = kType;
}

BOOL CDrawEllipse::HitTest(CDoublePoint p, int* hitPart) {
    ResetHit(hitPart);
    CRect r;
    if (!GetPointRect(&r))
        return FALSE;
    // Half axes and centre in integer division, as the rectangle gives them. Wide in 64 bits
    // so that far-flung corners cannot overflow.
    const long long a = (static_cast<long long>(r.right) - r.left) / 2;
    const long long b = (static_cast<long long>(r.bottom) - r.top) / 2;
    const long long cx = (static_cast<long long>(r.left) + r.right) / 2;
    const long long cy = (static_cast<long long>(r.top) + r.bottom) / 2;
    bool hit = false;
    if (a != 0 && b != 0) {
        const double dx = p.x - static_cast<double>(cx);
        const double dy = p.y - static_cast<double>(cy);
        const double aa = static_cast<double>(a) * static_cast<double>(a);
        const double bb = static_cast<double>(b) * static_cast<double>(b);
        if (dx * dx / aa + dy * dy / bb <= 1.0) {
            hit = true;
            if (hitPart)
                *hitPart = kHitBody;
        }
    }
    if (HitVertex(p, hitPart))
        hit = true;
    return hit;
}

void CDrawEllipse::Draw(CDC* dc, const CZoomTransform* t, int) {
    CRect r;
    if (!dc || !GetDisplayRect(&r, t))
        return;
    const int width = TruncToInt(GetLineThickness() * DrawScale(t));
    if (IsSelected())
        DrawEllipseShape(dc, &r, FALSE, PS_SOLID, width + kHaloExtraWidth, kHaloColor, 0);
    CRect shape = r;
    shape.NormalizeRect();
    DrawTranslucent(dc, shape, kAlpha, [&](CDC& memory, CPoint shift) {
        CRect moved = shape;
        moved.OffsetRect(shift);
        DrawEllipseShape(&memory, &moved, GetFilled(), GetLineStyle(), width, GetLineColor(),
                         GetFillColor());
    });
    DrawPointHandles(dc, GetLineThickness(), t);
    DrawCentreMark(dc, GetLineThickness(), t, nullptr);
}
