#pragma once

// CDrawBSpline: a smooth quadratic B-spline curve whose control polygon is the vertex list.

#include "views/DrawPolygon.h"

class CDrawBSpline : public CDrawPolygon {
    DECLARE_SERIAL(CDrawBSpline)

public:
    static constexpr int kType = 5;

    CDrawBSpline();

    // As the polygon, with the curve in place of the outline; handles and centre mark belong
    // to the control polygon.
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;

    // The curve of the control points, filled or as a line (under three points the straight
    // segment or the single point). The samples go to curveOut when given; dc may be null.
    static void DrawBSplineShape(CDC* dc, const std::vector<CDoublePoint>& control, BOOL filled,
                                 BOOL closed, int style, int width, COLORREF line, COLORREF fill,
                                 std::vector<CDoublePoint>* curveOut);
};
