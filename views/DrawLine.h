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

    BOOL SetArrowHead(BOOL arrow);
    BOOL GetArrowHead() const { return m_arrowHead; }
    BOOL SetArrowTail(BOOL arrow);
    BOOL GetArrowTail() const { return m_arrowTail; }

    void CopyFrom(const CDrawLine& other);

private:
    BOOL m_arrowHead = 1;
    BOOL m_arrowTail = 0;
};
