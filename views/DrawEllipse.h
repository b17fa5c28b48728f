#pragma once

// CDrawEllipse: the ellipse inscribed in the rectangle of its first two points, drawn
// translucently.

#include "views/DrawObject.h"

class CDrawEllipse : public CDrawObject {
    DECLARE_SERIAL(CDrawEllipse)

public:
    static constexpr int kType = 3;
    // The opacity (of 255) at which outline and fill are blended over the frame.
    static constexpr int kAlpha = 125;

    CDrawEllipse();

    // Inside the ellipse hits the body (never for a zero axis); a point within 4 units wins
    // over the body.
    BOOL HitTest(CDoublePoint p, int* hitPart) override;
    // The halo first when selected, then outline and fill blended at kAlpha, then the handles
    // and the centre mark.
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;
};
