#pragma once

// CDrawRect: an axis-aligned rectangle spanned by its first two points.

#include "views/DrawObject.h"

class CDrawRect : public CDrawObject {
    DECLARE_SERIAL(CDrawRect)

public:
    static constexpr int kType = 2;

    CDrawRect();

    // Inside the normalised rectangle (right and bottom edges outside) hits the body; a point
    // within 4 units wins over the body.
    BOOL HitTest(CDoublePoint p, int* hitPart) override;
    // The halo first when selected, then the rectangle, its handles and its centre mark.
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;
};
