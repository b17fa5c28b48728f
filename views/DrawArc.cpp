#include "views/DrawArc.h"

#include "platform/framework/Archive.h"
#include "platform/framework/DC.h"
#include "views/DrawGeometry.h"
#include "views/DrawLine.h"

#include <algorithm>
#include <cmath>
#include <vector>

IMPLEMENT_SERIAL(CDrawArc, CDrawObject, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

namespace {

constexpr double kPi = 3.14159265358979323846;
// A third point at most this far from the chord makes no circle.
constexpr double kLeastBulge = 1.0;
constexpr double kRadiusTolerance = 1.0;
// Length of the drawn curve per segment, in window pixels.
constexpr double kSegmentLength = 3.0;
constexpr int kMaxSegments = 720;

// The sweep from angle `from` to angle `to` that passes the angle `via`: positive turns as
// atan2 counts, negative the other way.
double SweepThrough(double from, double via, double to) {
    const auto ccw = [](double a, double b) {
        double d = std::fmod(b - a, 2.0 * kPi);
        return d < 0.0 ? d + 2.0 * kPi : d;
    };
    const double total = ccw(from, to);
    return ccw(from, via) <= total ? total : total - 2.0 * kPi;
}

}  // namespace

CDrawArc::CDrawArc() {
    m_type = kType;
}

void CDrawArc::Serialize(CArchive& ar) {
    CDrawObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_arrowStart << m_arrowEnd;
        return;
    }
    ar >> m_arrowStart >> m_arrowEnd;
    UpdateGeometry();
    SetModified(FALSE);
}

void CDrawArc::UpdateGeometry() {
    m_centreX = m_centreY = m_radius = -1.0;
    if (GetPointCount() < 3)
        return;
    const CDoublePoint p[3] = {GetPoint(0, FALSE), GetPoint(1, FALSE), GetPoint(2, FALSE)};
    const double chord = std::hypot(p[1].x - p[0].x, p[1].y - p[0].y);
    const double d =
        chord > 0.0
            ? ((p[2].y - p[0].y) * (p[1].x - p[0].x) - (p[2].x - p[0].x) * (p[1].y - p[0].y)) /
                  chord
            : 0.0;
    m_direction = d < 0.0 ? 1 : 0;
    if (d >= -kLeastBulge && d <= kLeastBulge)
        return;
    CDoublePoint centre;
    double radius = 0.0;
    if (!DrawGeometry::CircleThroughPoints(p, 3, &centre, &radius))
        return;
    if (std::fabs(radius - std::hypot(centre.x - p[0].x, centre.y - p[0].y)) >= kRadiusTolerance)
        return;
    m_centreX = std::trunc(centre.x);
    m_centreY = std::trunc(centre.y);
    m_radius = radius;
}

void CDrawArc::MovePoint(int index, CDoublePoint p, BOOL snap) {
    CDrawObject::MovePoint(index, p, snap);
    UpdateGeometry();
}

void CDrawArc::OffsetPoints(CDoublePoint offset, BOOL snap) {
    CDrawObject::OffsetPoints(offset, snap);
    UpdateGeometry();
}

BOOL CDrawArc::HitTest(CDoublePoint p, int* hitPart) {
    return HitPointOutline(p, hitPart);
}

BOOL CDrawArc::SetArrowAtStart(BOOL arrow) {
    const BOOL old = m_arrowStart;
    m_arrowStart = arrow;
    SetModified(TRUE);
    return old;
}

BOOL CDrawArc::SetArrowAtEnd(BOOL arrow) {
    const BOOL old = m_arrowEnd;
    m_arrowEnd = arrow;
    SetModified(TRUE);
    return old;
}

void CDrawArc::Draw(CDC* dc, const CZoomTransform* t, int) {
    std::vector<CDoublePoint> pts;
    if (!dc || !GetMappedPoints(&pts, t))
        return;
    const double z = DrawScale(t);
    const int width = std::max(1, TruncToInt(GetLineThickness() * z));
    const double arrowSize = std::trunc(z * 6.0);

    // The drawn path, in window pixels: the line, the two segments, or the sampled arc.
    std::vector<CDoublePoint> path;
    CDoublePoint centre;
    double radius = 0.0;
    if (pts.size() == 2) {
        path = pts;
    } else if (m_radius < 0.0 ||
               !DrawGeometry::CircleThroughPoints(pts.data(), 3, &centre, &radius)) {
        path = {pts[0], pts[1], pts[2]};
    } else {
        const double from = std::atan2(pts[0].y - centre.y, pts[0].x - centre.x);
        const double via = std::atan2(pts[2].y - centre.y, pts[2].x - centre.x);
        const double to = std::atan2(pts[1].y - centre.y, pts[1].x - centre.x);
        const double sweep = SweepThrough(from, via, to);
        // Held below the limit before counting, so that a vast radius cannot overflow.
        const double wanted =
            std::min(std::fabs(sweep) * radius / kSegmentLength, static_cast<double>(kMaxSegments));
        const int segments = std::clamp(TruncToInt(wanted) + 1, 2, kMaxSegments);
        path.push_back(pts[0]);
        for (int i = 1; i < segments; ++i) {
            const double a = from + sweep * i / segments;
            path.emplace_back(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a));
        }
        path.push_back(pts[1]);
    }

    const auto stroke = [&](int style, int w, COLORREF colour) {
        std::vector<CPoint> line;
        for (const CDoublePoint& p : path)
            line.push_back(p.ToPoint());
        CPen pen;
        CreateGeometricPen(pen, style, w, colour);
        CPen* old = dc->SelectObject(&pen);
        dc->Polyline(line.data(), static_cast<int>(line.size()));
        dc->SelectObject(old);
        // Each arrow follows the path's first (last) piece that has a length.
        const auto arrowAt = [&](int tip, int step) {
            const int count = static_cast<int>(path.size());
            for (int i = tip + step; i >= 0 && i < count; i += step) {
                if (path[i] != path[tip]) {
                    CDrawLine::DrawArrowLine(dc, path[tip], path[i], style, w, colour, TRUE, FALSE,
                                             arrowSize);
                    return;
                }
            }
        };
        if (m_arrowStart)
            arrowAt(0, 1);
        if (m_arrowEnd)
            arrowAt(static_cast<int>(path.size()) - 1, -1);
    };
    if (IsSelected())
        stroke(PS_SOLID, width + kHaloExtraWidth, kHaloColor);
    stroke(GetLineStyle(), width, GetLineColor());
    DrawPointHandles(dc, GetLineThickness(), t);
}

void CDrawArc::CopyFrom(const CDrawArc& other) {
    CDrawObject::CopyFrom(other);
    m_arrowStart = other.m_arrowStart;
    m_arrowEnd = other.m_arrowEnd;
    m_centreX = other.m_centreX;
    m_centreY = other.m_centreY;
    m_radius = other.m_radius;
    m_direction = other.m_direction;
}
