#pragma once

// CDrawLine: a straight line between its two points, with open arrow heads at either end.

#include "views/DrawObject.h"

class CDrawLine : public CDrawObject {
    DECLARE_SERIAL(CDrawLine)

public:
    static constexpr int kType = 1;

    CDrawLine();

    // The shared record, then the arrow-head and arrow-tail flags.
    void Serialize(CArchive& ar) override;
    // The segment between points 0 and 1 (tolerance (thickness + 4) / 2) hits the body; a
    // point within 4 units wins over the body.
    BOOL HitTest(CDoublePoint p, int* hitPart) override;
    // The halo first when selected, then the line with its arrows, then the end handles.
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;

    // A line from start to end with open arrows (two barbs) at the ends asked for. Arrows grow
    // with `size` (at least 2/3); a zero-length line gets none.
    static void DrawArrowLine(CDC* dc, CDoublePoint start, CDoublePoint end, int style, int width,
                              COLORREF color, BOOL arrowAtStart, BOOL arrowAtEnd, double size);

    BOOL SetArrowHead(BOOL arrow);
    BOOL GetArrowHead() const { return m_arrowHead; }
    BOOL SetArrowTail(BOOL arrow);
    BOOL GetArrowTail() const { return m_arrowTail; }

    void CopyFrom(const CDrawLine& other);

private:
    BOOL m_arrowHead = 1;
    BOOL m_arrowTail = 0;
};
