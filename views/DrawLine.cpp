#include "views/DrawLine.h"

#include "platform/framework/Archive.h"
#include "views/DrawGeometry.h"

IMPLEMENT_SERIAL(CDrawLine, CDrawObject, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

CDrawLine::CDrawLine() {
    m_type = kType;
}

void CDrawLine::Serialize(CArchive& ar) {
    CDrawObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_arrowHead << m_arrowTail;
    } else {
        ar >> m_arrowHead >> m_arrowTail;
    }
}

BOOL CDrawLine::HitTest(CDoublePoint p, int* hitPart) {
    ResetHit(hitPart);
    if (GetPointCount() < 2)
        return FALSE;
    bool hit = false;
    if (DrawGeometry::HitSegment(p, GetPoint(0, TRUE), GetPoint(1, TRUE), GetLineThickness())) {
        hit = true;
        if (hitPart)
            *hitPart = kHitBody;
    }
    if (HitVertex(p, hitPart))
        hit = true;
    return hit;
}

BOOL CDrawLine::SetArrowHead(BOOL arrow) {
    const BOOL old = m_arrowHead;
    m_arrowHead = arrow;
    SetModified(TRUE);
    return old;
}

BOOL CDrawLine::SetArrowTail(BOOL arrow) {
    const BOOL old = m_arrowTail;
    m_arrowTail = arrow;
    SetModified(TRUE);
    return old;
}

void CDrawLine::CopyFrom(const CDrawLine& other) {
    CDrawObject::CopyFrom(other);
    m_arrowHead = other.m_arrowHead;
    m_arrowTail = other.m_arrowTail;
}
