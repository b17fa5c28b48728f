#include "views/DrawDimAngle.h"

#include "platform/framework/Archive.h"
#include "platform/framework/DC.h"
#include "platform/wintypes/CLocale.h"
#include "views/DrawGeometry.h"
#include "views/DrawLine.h"
#include "views/DrawText.h"

#include <algorithm>
#include <cmath>
#include <vector>

IMPLEMENT_SERIAL(CDrawDimAngle, CDrawObject, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

namespace {

// Degrees per radian as stored files were made with it (180 / 3.14159).
constexpr double kDegreesPerRadian = 57.295827908797776;
constexpr double kSmallestDrawnArc = 0.005;
constexpr double kArcRadiusFraction = 0.3;
constexpr double kLabelFraction = 0.33;
constexpr double kLabelClearance = 5.0;
constexpr double kPi = 3.14159265358979323846;
// Segments of the drawn angle arc per half turn.
constexpr int kArcSegmentsPerHalfTurn = 36;

}  // namespace

CDrawDimAngle::CDrawDimAngle() {
    m_type = kType;
    SetFilled(FALSE);
}

void CDrawDimAngle::Serialize(CArchive& ar) {
    CDrawObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_labelText << m_labelHeight << m_textAngle << m_bold << m_italic << m_underline
           << m_faceName;
        return;
    }
    ar >> m_labelText >> m_labelHeight >> m_textAngle >> m_bold >> m_italic >> m_underline >>
        m_faceName;
    m_labelHeight = StoredExtent(m_labelHeight);
    m_textAngle %= 3600;
    SetModified(FALSE);
}

double CDrawDimAngle::AngleOf(const CDoublePoint& end0, const CDoublePoint& vertex,
                              const CDoublePoint& end2) {
    const double ax = end0.x - vertex.x, ay = end0.y - vertex.y;
    const double bx = end2.x - vertex.x, by = end2.y - vertex.y;
    const double la = std::hypot(ax, ay);
    const double lb = std::hypot(bx, by);
    if (la == 0.0 || lb == 0.0)
        return 0.0;
    // Rounding may carry the cosine of (anti)parallel arms just past +-1, where acos is NaN.
    const double cosine = std::clamp((ax * bx + ay * by) / (la * lb), -1.0, 1.0);
    return std::acos(cosine) * kDegreesPerRadian;
}

void CDrawDimAngle::UpdateValue() {
    m_value = GetPointCount() >= 3
                  ? AngleOf(GetPoint(0, FALSE), GetPoint(1, FALSE), GetPoint(2, FALSE))
                  : 0.0;
    if (!m_customLabel)
        m_labelText = QFormatC("%.2f", m_value) + QChar(0x00B0);
}

void CDrawDimAngle::SetLabel(BOOL custom, const QString& text) {
    m_customLabel = custom;
    UpdateValue();
    if (custom)
        m_labelText = text;
}

void CDrawDimAngle::SetFont(const QString& face, int height, BOOL bold, BOOL italic,
                            BOOL underline) {
    m_faceName = face;
    m_labelHeight = height;
    m_bold = bold;
    m_italic = italic;
    m_underline = underline;
    SetModified(TRUE);
}

void CDrawDimAngle::MovePoint(int index, CDoublePoint p, BOOL snap) {
    if (snap)
        p = Snap(p);
    if (index < 0 || index >= GetPointCount())
        return;
    CDrawObject::MovePoint(index, p, FALSE);
    if (GetPointCount() >= 3 && (index == 1 || index == 2)) {
        const CDoublePoint v = GetPoint(1, FALSE);
        const CDoublePoint e = GetPoint(2, FALSE);
        m_textAngle =
            TruncToInt(std::atan2(e.y - v.y, e.x - v.x) * DrawGeometry::kTenthDegreesPerRadianDown);
    }
    SetModified(TRUE);
}

BOOL CDrawDimAngle::HitTest(CDoublePoint p, int* hitPart) {
    return HitPointOutline(p, hitPart);
}

void CDrawDimAngle::Draw(CDC* dc, const CZoomTransform* t, int) {
    std::vector<CDoublePoint> pts;
    if (!dc || !GetMappedPoints(&pts, t))
        return;
    UpdateValue();
    const double z = DrawScale(t);
    const int width = TruncToInt(GetLineThickness() * z);
    const CDoublePoint& vertex = pts[1];
    const auto arms = [&](int style, int w, COLORREF colour) {
        CDrawLine::DrawArrowLine(dc, vertex, pts[0], style, w, colour, FALSE, FALSE, 0.0);
        if (pts.size() > 2)
            CDrawLine::DrawArrowLine(dc, vertex, pts[2], style, w, colour, FALSE, FALSE, 0.0);
    };
    if (IsSelected())
        arms(PS_SOLID, width + kHaloExtraWidth, kHaloColor);
    arms(GetLineStyle(), width, GetLineColor());

    if (pts.size() > 2) {
        const CDoublePoint& end2 = pts[2];
        const double bx = end2.x - vertex.x, by = end2.y - vertex.y;
        const double lb = std::hypot(bx, by);
        if (m_value > kSmallestDrawnArc && lb > 0.0) {
            const double radius = kArcRadiusFraction * lb;
            const double from = std::atan2(pts[0].y - vertex.y, pts[0].x - vertex.x);
            double sweep = std::atan2(by, bx) - from;
            if (sweep > kPi)
                sweep -= 2.0 * kPi;
            if (sweep < -kPi)
                sweep += 2.0 * kPi;
            const int segments =
                std::max(2, TruncToInt(std::fabs(sweep) / kPi * kArcSegmentsPerHalfTurn) + 1);
            std::vector<CPoint> arc;
            for (int i = 0; i <= segments; ++i) {
                const double a = from + sweep * i / segments;
                arc.push_back(
                    CDoublePoint(vertex.x + radius * std::cos(a), vertex.y + radius * std::sin(a))
                        .ToPoint());
            }
            CPen pen;
            CreateGeometricPen(pen, GetLineStyle(), width, GetLineColor());
            CPen* old = dc->SelectObject(&pen);
            dc->Polyline(arc.data(), static_cast<int>(arc.size()));
            dc->SelectObject(old);
        }
        // The label sits along the second arm, on the side away from the first.
        if (lb > 0.0) {
            const CDoublePoint n(-by / lb, bx / lb);
            const double firstSide = bx * (pts[0].y - vertex.y) - (pts[0].x - vertex.x) * by;
            const double away = firstSide > 0.0 ? -1.0 : 1.0;
            double d = away * (GetLineThickness() * z + kLabelClearance);
            if (away < 0.0)
                d -= m_labelHeight * z;
            const CDoublePoint at(vertex.x + std::trunc(kLabelFraction * bx) + std::trunc(d * n.x),
                                  vertex.y + std::trunc(kLabelFraction * by) + std::trunc(d * n.y));
            CDrawText::DrawTextWithFont(dc, m_labelFont, at, m_labelText, m_faceName,
                                        TruncToInt(m_labelHeight * z), m_textAngle, m_bold,
                                        m_italic, m_underline, GetTextColor(), GetFillColor(),
                                        GetFilled());
        }
    }
    DrawPointHandles(dc, GetLineThickness(), t);
}

void CDrawDimAngle::CopyFrom(const CDrawDimAngle& other) {
    CDrawObject::CopyFrom(other);
    SetFilled(other.GetFilled());
    m_value = other.m_value;
    m_faceName = other.m_faceName;
    m_labelHeight = other.m_labelHeight;
    m_textAngle = other.m_textAngle;
    m_bold = other.m_bold;
    m_italic = other.m_italic;
    m_underline = other.m_underline;
    m_customLabel = other.m_customLabel;
    SetModified(TRUE);
}
