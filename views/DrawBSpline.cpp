#include "views/DrawBSpline.h"

#include "platform/framework/Archive.h"
#include "platform/framework/DC.h"
#include "views/DrawGeometry.h"

IMPLEMENT_SERIAL(CDrawBSpline, CDrawPolygon, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

CDrawBSpline::CDrawBSpline() {
    m_type = kType;
    m_closed = 0;
}

void CDrawBSpline::Draw(CDC* dc, const CZoomTransform* t, int) {
    DrawWith(dc, t,
             [](CDC* target, const std::vector<CDoublePoint>& control, BOOL filled, BOOL closed,
                int style, int width, COLORREF line, COLORREF fill) {
                 DrawBSplineShape(target, control, filled, closed, style, width, line, fill,
                                  nullptr);
             });
}

void CDrawBSpline::DrawBSplineShape(CDC* dc, const std::vector<CDoublePoint>& control, BOOL filled,
                                    BOOL closed, int style, int width, COLORREF line, COLORREF fill,
                                    std::vector<CDoublePoint>* curveOut) {
    const std::vector<CDoublePoint> samples = DrawGeometry::SampleBSpline(control, closed);
    if (curveOut)
        *curveOut = samples;
    if (!dc || samples.empty())
        return;
    CPen pen;
    CreateGeometricPen(pen, style, width, line);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush brush(fill);
    CBrush* oldBrush = filled ? dc->SelectObject(&brush) : nullptr;
    if (control.size() < 3) {
        dc->MoveTo(control.front().ToPoint());
        dc->LineTo(control.back().ToPoint());
    } else {
        std::vector<CPoint> vertices;
        vertices.reserve(samples.size());
        for (const CDoublePoint& p : samples)
            vertices.push_back(p.ToPoint());
        if (filled)
            dc->Polygon(vertices.data(), static_cast<int>(vertices.size()));
        else
            dc->Polyline(vertices.data(), static_cast<int>(vertices.size()));
    }
    if (oldBrush)
        dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}
