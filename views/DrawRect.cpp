#include "views/DrawRect.h"

#include "platform/framework/Archive.h"
#include "platform/framework/DC.h"

IMPLEMENT_SERIAL(CDrawRect, CDrawObject, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

CDrawRect::CDrawRect() {
    m_type = kType;
}

BOOL CDrawRect::HitTest(CDoublePoint p, int* hitPart) {
    ResetHit(hitPart);
    CRect r;
    if (!GetPointRect(&r))
        return FALSE;
    r.NormalizeRect();
    bool hit = false;
    if (r.PtInRect(p.ToPoint())) {
        hit = true;
        if (hitPart)
            *hitPart = kHitBody;
    }
    if (HitVertex(p, hitPart))
        hit = true;
    return hit;
}

void CDrawRect::Draw(CDC* dc, const CZoomTransform* t, int) {
    CRect r;
    if (!dc || !GetDisplayRect(&r, t))
        return;
    const int width = TruncToInt(GetLineThickness() * DrawScale(t));
    if (IsSelected())
        DrawRectOutline(dc, &r, FALSE, PS_SOLID, width + kHaloExtraWidth, kHaloColor, 0);
    DrawRectOutline(dc, &r, GetFilled(), GetLineStyle(), width, GetLineColor(), GetFillColor());
    DrawPointHandles(dc, GetLineThickness(), t);
    DrawCentreMark(dc, GetLineThickness(), t, nullptr);
}
