#include "views/DrawRect.h"

#include "platform/framework/Archive.h"

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
