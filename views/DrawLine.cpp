#include "views/DrawLine.h"

#include "platform/framework/Archive.h"
#include "platform/framework/DC.h"
#include "views/DrawGeometry.h"

#include <algorithm>
#include <cmath>

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

void CDrawLine::Draw(CDC* dc, const CZoomTransform* t, int) {
    CDoublePoint start, end;
    if (!dc || !GetDisplayEnds(&start, &end, t))
        return;
    const double scale = DrawScale(t);
    const int width = TruncToInt(GetLineThickness() * scale);
    const double arrowSize = std::trunc(scale * 6.0);
    if (IsSelected()) {
        DrawArrowLine(dc, start, end, PS_SOLID, width + kHaloExtraWidth, kHaloColor, m_arrowHead,
                      m_arrowTail, arrowSize);
    }
    DrawArrowLine(dc, start, end, GetLineStyle(), width, GetLineColor(), m_arrowHead, m_arrowTail,
                  arrowSize);
    DrawPointHandles(dc, GetLineThickness(), t);
}

void CDrawLine::DrawArrowLine(CDC* dc, CDoublePoint start, CDoublePoint end, int style, int width,
                              COLORREF color, BOOL arrowAtStart, BOOL arrowAtEnd, double size) {
    if (!dc)
        return;
    CPen pen;
    CreateGeometricPen(pen, style, width, color);
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(start.ToPoint());
    dc->LineTo(end.ToPoint());

    const double s = std::max(size, 0.6666666666666666);
    const double dx = end.x - start.x;
    const double dy = end.y - start.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length > 0.0) {
        const CDoublePoint u(dx / length, dy / length);
        const CDoublePoint across(-u.y, u.x);
        const CDoublePoint back(std::trunc(3.0 * s * u.x), std::trunc(3.0 * s * u.y));
        const CDoublePoint barb(std::trunc(1.5 * s * across.x), std::trunc(1.5 * s * across.y));
        const auto arrow = [&](const CDoublePoint& tip, const CDoublePoint& base) {
            dc->MoveTo(CDoublePoint(base.x + barb.x, base.y + barb.y).ToPoint());
            dc->LineTo(tip.ToPoint());
            dc->MoveTo(CDoublePoint(base.x - barb.x, base.y - barb.y).ToPoint());
            dc->LineTo(tip.ToPoint());
        };
        if (arrowAtStart)
            arrow(start, CDoublePoint(start.x + back.x, start.y + back.y));
        if (arrowAtEnd)
            arrow(end, CDoublePoint(end.x - back.x, end.y - back.y));
    }
    dc->SelectObject(old);
}
