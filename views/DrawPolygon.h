#pragma once

// CDrawPolygon: a shape of any number of vertices, open or closed, filled or not; a click can
// insert a vertex into the nearest edge.

#include "views/DrawObject.h"

#include <vector>

class CDrawPolygon : public CDrawObject {
    DECLARE_SERIAL(CDrawPolygon)

public:
    static constexpr int kType = 4;

    CDrawPolygon();

    // The shared record, then the closed flag.
    void Serialize(CArchive& ar) override;
    // Inside the vertex outline (even-odd rule, closed or not) hits the body; a vertex within
    // 4 units wins over the body. Fewer than two vertices never hit.
    BOOL HitTest(CDoublePoint p, int* hitPart) override;
    // The halo first when selected, then the shape, the vertex handles and, when the outline
    // does not cross itself, the centre mark at its centroid.
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;

    // Under three vertices appends p (snapped); otherwise inserts the midpoint of the edge
    // whose midpoint lies nearest to p, between that edge's ends.
    virtual BOOL InsertVertex(CDoublePoint p);
    // out receives every vertex in window coordinates, truncated; false when there is none.
    virtual BOOL GetDisplayPoints(std::vector<CDoublePoint>* out, const CZoomTransform* t) const;
    void GetSnappedPoints(std::vector<CDoublePoint>* out) const;

    void SetClosed(BOOL closed);
    BOOL GetClosed() const { return m_closed; }
    // The centre mark's place: the area centroid of the outline, or (-1, -1) when the outline
    // crosses itself or encloses no area.
    static CDoublePoint OutlineCentre(const std::vector<CDoublePoint>& outline);

    void CopyFrom(const CDrawPolygon& other);

    // A vertex outline: filled (always closed) or drawn as lines, closed back to the first
    // point when `closed` and the ends differ.
    static void DrawPolyShape(CDC* dc, const std::vector<CDoublePoint>& points, BOOL filled,
                              BOOL closed, int style, int width, COLORREF line, COLORREF fill);

protected:
    // The drawing shared by the polygon and the B-spline; `shape` draws the outline or curve.
    using ShapeRoutine = void (*)(CDC*, const std::vector<CDoublePoint>&, BOOL, BOOL, int, int,
                                  COLORREF, COLORREF);
    void DrawWith(CDC* dc, const CZoomTransform* t, ShapeRoutine shape);

    BOOL m_closed = 1;
};
