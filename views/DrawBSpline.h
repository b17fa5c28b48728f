#pragma once

// CDrawBSpline: a smooth quadratic B-spline curve whose control polygon is the vertex list.

#include "views/DrawPolygon.h"

class CDrawBSpline : public CDrawPolygon {
    DECLARE_SERIAL(CDrawBSpline)

public:
    static constexpr int kType = 5;

    CDrawBSpline();
};
