#include "views/DrawPolygon.h"

#include "platform/framework/Archive.h"
#include "platform/framework/DC.h"
#include "views/DrawGeometry.h"

#include <cmath>

IMPLEMENT_SERIAL(CDrawPolygon, CDrawObject, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

CDrawPolygon::CDrawPolygon() {
    m_type = kType;
}

void CDrawPolygon::Serialize(CArchive& ar) {
    CDrawObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_closed;
    } else {
        ar >> m_closed;
    }
}

BOOL CDrawPolygon::HitTest(CDoublePoint p, int* hitPart) {
    ResetHit(hitPart);
    std::vector<CDoublePoint> points;
    GetSnappedPoints(&points);
    if (points.size() < 2)
        return FALSE;
    bool hit = false;
    if (DrawGeometry::PixelInsideOutline(points, p)) {
        hit = true;
        if (hitPart)
            *hitPart = kHitBody;
    }
    if (HitVertex(p, hitPart, &points))
        hit = true;
    return hit;
}

BOOL CDrawPolygon::InsertVertex(CDoublePoint p) {
    const std::vector<CDoublePoint>& points = Points();
    const size_t n = points.size();
    if (n < 3)
        return SetPoint(static_cast<int>(n), p, TRUE, TRUE);
    size_t best = 0;
    CDoublePoint bestMid;
    double bestDistSq = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const CDoublePoint& a = points[i == 0 ? n - 1 : i - 1];
        const CDoublePoint& b = points[i];
        const CDoublePoint mid((a.x + b.x) / 2.0, (a.y + b.y) / 2.0);
        const double dx = mid.x - p.x;
        const double dy = mid.y - p.y;
        const double distSq = dx * dx + dy * dy;
        if (i == 0 || distSq < bestDistSq) {
            best = i;
            bestMid = mid;
            bestDistSq = distSq;
        }
    }
    InsertPointAt(static_cast<int>(best), bestMid);
    SetModified(TRUE);
    return TRUE;
}

BOOL CDrawPolygon::GetDisplayPoints(std::vector<CDoublePoint>* out, const CZoomTransform* t) const {
    if (!out)
        return FALSE;
    out->clear();
    for (int i = 0; i < GetPointCount(); ++i)
        out->push_back(GetDisplayPoint(i, t, TRUE));
    return !out->empty();
}

void CDrawPolygon::GetSnappedPoints(std::vector<CDoublePoint>* out) const {
    if (!out)
        return;
    out->clear();
    for (int i = 0; i < GetPointCount(); ++i)
        out->push_back(GetPoint(i, TRUE));
}

void CDrawPolygon::SetClosed(BOOL closed) {
    m_closed = closed;
    SetModified(TRUE);
}

CDoublePoint CDrawPolygon::OutlineCentre(const std::vector<CDoublePoint>& outline) {
    CDoublePoint centre(-1.0, -1.0);
    if (outline.empty() || DrawGeometry::OutlineCrossesItself(outline))
        return centre;
    std::vector<CDoublePoint> closed = outline;
    closed.push_back(outline.front());
    DrawGeometry::AreaCentroid(closed, &centre);
    return centre;
}

void CDrawPolygon::CopyFrom(const CDrawPolygon& other) {
    CDrawObject::CopyFrom(other);
    m_closed = other.m_closed;
}

void CDrawPolygon::Draw(CDC* dc, const CZoomTransform* t, int) {
    DrawWith(dc, t, &CDrawPolygon::DrawPolyShape);
}

void CDrawPolygon::DrawWith(CDC* dc, const CZoomTransform* t, ShapeRoutine shape) {
    std::vector<CDoublePoint> points;
    if (!dc || !GetDisplayPoints(&points, t))
        return;
    const int width = TruncToInt(GetLineThickness() * DrawScale(t));
    if (IsSelected()) {
        shape(dc, points, FALSE, m_closed, PS_SOLID, width + kHaloExtraWidth, kHaloColor, 0);
    }
    shape(dc, points, GetFilled(), m_closed, GetLineStyle(), width, GetLineColor(), GetFillColor());
    const CDoublePoint centre = OutlineCentre(points);
    DrawPointHandles(dc, GetLineThickness(), t);
    if (centre.x >= 0.0 && centre.y >= 0.0) {
        const CDoublePoint at(std::trunc(centre.x), std::trunc(centre.y));
        DrawCentreMark(dc, GetLineThickness(), t, &at);
    }
}

void CDrawPolygon::DrawPolyShape(CDC* dc, const std::vector<CDoublePoint>& points, BOOL filled,
                                 BOOL closed, int style, int width, COLORREF line, COLORREF fill) {
    if (!dc || points.empty())
        return;
    CPen pen;
    CreateGeometricPen(pen, style, width, line);
    CBrush brush(fill);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    if (filled) {
        std::vector<CPoint> vertices;
        vertices.reserve(points.size());
        for (const CDoublePoint& p : points)
            vertices.push_back(p.ToPoint());
        dc->Polygon(vertices.data(), static_cast<int>(vertices.size()));
    } else {
        dc->MoveTo(points.front().ToPoint());
        for (size_t i = 1; i < points.size(); ++i)
            dc->LineTo(points[i].ToPoint());
        if (closed && points.back() != points.front())
            dc->LineTo(points.front().ToPoint());
    }
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}
