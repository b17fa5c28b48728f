#include "views/DrawDimLength.h"

#include "platform/framework/Archive.h"
#include "platform/framework/Bitmap.h"
#include "platform/framework/DC.h"
#include "platform/wintypes/CLocale.h"
#include "views/DrawGeometry.h"
#include "views/DrawLine.h"
#include "views/DrawText.h"
#include "views/ZoomTransform.h"

#include <cmath>

IMPLEMENT_SERIAL(CDrawDimLength, CDrawObject, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

namespace {

constexpr double kDefaultLabelPosition = 0.1;
constexpr int kMeasureBitmapSide = 10;

double Distance(const CDoublePoint& a, const CDoublePoint& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

}  // namespace

CDrawDimLength::CDrawDimLength() {
    m_type = kType;
    SetFilled(FALSE);
}

void CDrawDimLength::Serialize(CArchive& ar) {
    CDrawObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_labelText << m_labelHeight << m_textAngle << m_bold << m_italic << m_underline
           << m_faceName << m_labelPosition << m_offset;
        return;
    }
    ar >> m_labelText >> m_labelHeight >> m_textAngle >> m_bold >> m_italic >> m_underline >>
        m_faceName >> m_labelPosition >> m_offset;
    m_labelHeight = StoredExtent(m_labelHeight);
    m_textAngle %= 3600;
    if (!std::isfinite(m_labelPosition) || std::fabs(m_labelPosition) > kMaxStoredCoordinate)
        m_labelPosition = kDefaultLabelPosition;
    m_offset = std::isfinite(m_offset) ? StoredCoordinate(m_offset) : 0.0;
    SetModified(FALSE);
}

void CDrawDimLength::MovePoint(int index, CDoublePoint p, BOOL snap) {
    if (snap)
        p = Snap(p);
    if (index < 0 || index >= GetPointCount())
        return;
    CDrawObject::MovePoint(index, p, FALSE);
    if (GetPointCount() >= 2) {
        const CDoublePoint a = GetPoint(0, FALSE);
        const CDoublePoint b = GetPoint(1, FALSE);
        m_textAngle =
            TruncToInt(std::atan2(b.y - a.y, b.x - a.x) * DrawGeometry::kTenthDegreesPerRadianDown);
    }
    if (index == 2)
        m_offset = Distance(GetPoint(0, FALSE), p);
    SetModified(TRUE);
}

void CDrawDimLength::UpdateValue() {
    m_value = GetPointCount() >= 2
                  ? m_scaleFactor * Distance(GetPoint(0, FALSE), GetPoint(1, FALSE))
                  : 0.0;
    if (!m_customLabel)
        m_labelText = QFormatC("%.4g", m_value);
}

void CDrawDimLength::SetLabel(BOOL custom, const QString& text) {
    m_customLabel = custom;
    UpdateValue();
    if (custom)
        m_labelText = text;
}

void CDrawDimLength::SetFont(const QString& face, int height, BOOL bold, BOOL italic,
                             BOOL underline) {
    m_faceName = face;
    m_labelHeight = height;
    m_bold = bold;
    m_italic = italic;
    m_underline = underline;
    SetModified(TRUE);
}

CDrawDimLength::Construction CDrawDimLength::Construct(const CDoublePoint& p0,
                                                       const CDoublePoint& p1,
                                                       const CDoublePoint& p2, bool hasThird,
                                                       double z, double offset, BOOL flag) const {
    const double dx = p1.x - p0.x;
    const double dy = p1.y - p0.y;
    const double length = std::hypot(dx, dy);
    // Coincident ends have no direction; the dimension then lies along x so that nothing
    // divides by zero.
    const CDoublePoint u =
        length > 0.0 ? CDoublePoint(dx / length, dy / length) : CDoublePoint(1.0, 0.0);
    const CDoublePoint n(-u.y, u.x);
    double s = 1.0;
    if (hasThird && length > 0.0 && (dx * (p2.y - p0.y) - (p2.x - p0.x) * dy) / length < 0.0)
        s = -1.0;
    const auto at = [&](double t, double d) {
        return CDoublePoint(p0.x + std::trunc(t * dx) + std::trunc(d * n.x),
                            p0.y + std::trunc(t * dy) + std::trunc(d * n.y));
    };
    const double labelAt = (1.0 - m_labelPosition) / 2.0;
    Construction c;
    c[0] = p0;
    c[8] = p1;
    c[1] = at(0.0, 6.0 * s * z);
    c[7] = at(1.0, 6.0 * s * z);
    c[2] = at(0.0, s * z * offset);
    c[6] = at(1.0, s * z * offset);
    c[3] = at(0.0, (offset + 8.0) * s * z);
    c[5] = at(1.0, (offset + 8.0) * s * z);
    if (s > 0.0)
        c[4] = at(labelAt, (offset + 2.0) * z);
    else if (flag)
        c[4] = at(labelAt, -(m_labelHeight + offset + 5.0) * z);
    else
        c[4] = at(labelAt, -(offset + 5.0) * z);
    return c;
}

BOOL CDrawDimLength::GetGeometry(Construction* out, const CZoomTransform* t, double offset,
                                 BOOL flag) const {
    if (!out || GetPointCount() < 1)
        return FALSE;
    // Offsets follow the zoom unless the object keeps its size on the screen.
    double z = 1.0;
    if (t && !IsUnitScale()) {
        t->GetScale(&z);
        if (z == -1.0)
            z = 1.0;
    }
    const bool hasThird = GetPointCount() > 2;
    *out = Construct(GetDisplayPoint(0, t, FALSE), GetDisplayPoint(1, t, FALSE),
                     hasThird ? GetDisplayPoint(2, t, FALSE) : CDoublePoint(), hasThird, z,
                     offset == kStoredOffset ? m_offset : offset, flag);
    return TRUE;
}

BOOL CDrawDimLength::GetOutline(std::vector<CDoublePoint>* out, double offset, BOOL flag) const {
    if (!out || GetPointCount() < 1)
        return FALSE;
    const bool hasThird = GetPointCount() > 2;
    const Construction c = Construct(GetPoint(0, FALSE), GetPoint(1, FALSE),
                                     hasThird ? GetPoint(2, FALSE) : CDoublePoint(), hasThird, 1.0,
                                     offset == kStoredOffset ? m_offset : offset, flag);
    *out = {c[1], c[3], c[5], c[7]};
    return TRUE;
}

BOOL CDrawDimLength::HitTest(CDoublePoint p, int* hitPart) {
    ResetHit(hitPart);
    std::vector<CDoublePoint> outline;
    if (!GetOutline(&outline, kStoredOffset, TRUE))
        return FALSE;
    bool hit = false;
    if (DrawGeometry::PixelInsideOutline(outline, p)) {
        hit = true;
        if (hitPart)
            *hitPart = kHitBody;
    }
    if (HitVertex(p, hitPart))
        hit = true;
    return hit;
}

double CDrawDimLength::DrawLabel(CDC* dc, const CDoublePoint& at, double zoom) {
    const CDoublePoint end = CDrawText::DrawTextWithFont(
        dc, m_labelFont, at, m_labelText, m_faceName, TruncToInt(m_labelHeight * zoom), m_textAngle,
        m_bold, m_italic, m_underline, GetTextColor(), GetFillColor(), GetFilled());
    return Distance(at, end);
}

void CDrawDimLength::RenderLabel(CDC* dc, const CZoomTransform* t, BOOL flag) {
    UpdateValue();
    Construction c;
    if (!GetGeometry(&c, t, m_plainLine ? 0.0 : kStoredOffset, flag))
        return;
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(dc ? dc : &memory, kMeasureBitmapSide, kMeasureBitmapSide))
        return;
    CBitmap* old = memory.SelectObject(&bitmap);
    const double extent = DrawLabel(&memory, c[4], HandleScale(t));
    memory.SelectObject(old);
    const double line = Distance(c[2], c[6]);
    if (line > 0.0)
        m_labelPosition = extent / line;
}

void CDrawDimLength::Draw(CDC* dc, const CZoomTransform* t, int) {
    if (!dc)
        return;
    UpdateValue();
    Construction c;
    if (!GetGeometry(&c, t, m_plainLine ? 0.0 : kStoredOffset, TRUE))
        return;
    const double scale = HandleScale(t);
    const int width = TruncToInt(GetLineThickness() * scale);
    const double arrowSize = std::trunc(scale * 6.0);
    const auto lines = [&](int style, int w, COLORREF colour, BOOL arrows) {
        if (m_plainLine) {
            CDrawLine::DrawArrowLine(dc, c[2], c[6], style, w, colour, FALSE, FALSE, arrowSize);
            return;
        }
        CDrawLine::DrawArrowLine(dc, c[1], c[3], style, w, colour, FALSE, FALSE, arrowSize);
        CDrawLine::DrawArrowLine(dc, c[7], c[5], style, w, colour, FALSE, FALSE, arrowSize);
        CDrawLine::DrawArrowLine(dc, c[2], c[6], style, w, colour, arrows, arrows, arrowSize);
    };
    if (IsSelected())
        lines(PS_SOLID, width + kHaloExtraWidth, kHaloColor, FALSE);
    lines(GetLineStyle(), width, GetLineColor(), TRUE);

    const double extent = DrawLabel(dc, c[4], scale);
    const double line = Distance(c[2], c[6]);
    if (line > 0.0)
        m_labelPosition = extent / line;

    // The offset handle stays on the dimension line; putting it there is no edit.
    if (!m_plainLine && GetPointCount() >= 2)
        SetPoint(2, IsImageSpace() ? MapPoint(c[2], t) : c[2], FALSE, FALSE);
    DrawPointHandles(dc, GetLineThickness(), t);
}

void CDrawDimLength::CopyFrom(const CDrawDimLength& other) {
    CDrawObject::CopyFrom(other);
    SetFilled(other.GetFilled());
    m_value = other.m_value;
    m_labelPosition = other.m_labelPosition;
    m_offset = other.m_offset;
    m_faceName = other.m_faceName;
    m_labelHeight = other.m_labelHeight;
    m_textAngle = other.m_textAngle;
    m_bold = other.m_bold;
    m_italic = other.m_italic;
    m_underline = other.m_underline;
    m_scaleFactor = other.m_scaleFactor;
    m_customLabel = other.m_customLabel;
    m_plainLine = other.m_plainLine;
    SetModified(TRUE);
}
