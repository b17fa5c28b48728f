#pragma once

// CDrawArc: the circular arc from point 0 to point 1 through point 2, with optional arrows at
// either end. Centre, radius and direction are derived from the points after every load, move
// and offset; a third point within a pixel of the chord gives no circle (two segments).

#include "views/DrawObject.h"

class CDrawArc : public CDrawObject {
    DECLARE_SERIAL(CDrawArc)

public:
    static constexpr int kType = 9;

    CDrawArc();

    // The shared record, then the start and end arrow flags.
    void Serialize(CArchive& ar) override;
    void MovePoint(int index, CDoublePoint p, BOOL snap) override;
    void OffsetPoints(CDoublePoint offset, BOOL snap) override;
    // Inside the triangle of the points hits the body; a point within 4 units wins over it.
    BOOL HitTest(CDoublePoint p, int* hitPart) override;
    // Two points: the line 0-1; three without a circle: 0-1-2; else the arc.
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;

    // Recomputes centre, radius and direction from the points.
    void UpdateGeometry();

    BOOL SetArrowAtStart(BOOL arrow);
    BOOL GetArrowAtStart() const { return m_arrowStart; }
    BOOL SetArrowAtEnd(BOOL arrow);
    BOOL GetArrowAtEnd() const { return m_arrowEnd; }
    // (-1, -1) and -1.0 while there is no circle.
    CDoublePoint GetCentre() const { return {m_centreX, m_centreY}; }
    double GetRadius() const { return m_radius; }
    int GetDirection() const { return m_direction; }

    void CopyFrom(const CDrawArc& other);

private:
    BOOL m_arrowStart = 0;
    BOOL m_arrowEnd = 0;
    double m_centreX = -1.0;
    double m_centreY = -1.0;
    double m_radius = -1.0;
    int m_direction = 0;
};
