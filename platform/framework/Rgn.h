#pragma once

// CRgn: an area of whole pixels for hit tests and clipping. As with rectangles, the right
// and bottom edges given to a region lie outside it.

#include "platform/framework/GdiConstants.h"
#include "platform/framework/GdiObject.h"
#include "platform/wintypes/Point.h"
#include "platform/wintypes/Rect.h"

#include <QRegion>

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)

public:
    CRgn() = default;

    // The corners may come in any order.
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(const CRect& rect);
    // The pixels whose centres lie inside the closed outline, by ALTERNATE (even-odd) or
    // WINDING fill. Fewer than three points give an empty region; a null list or a negative
    // count fails.
    BOOL CreatePolygonRgn(const CPoint* points, int count, int fillMode);

    // This = a (mode) b; RGN_COPY takes a alone. This region must have been created, as must
    // the operands. Returns NULLREGION, SIMPLEREGION, COMPLEXREGION or RGN_ERROR.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);

    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(const CPoint& p) const { return PtInRegion(p.x, p.y); }
    // The bounding rectangle; returns the region kind (RGN_ERROR when not created).
    int GetRgnBox(CRect* rect) const;
    int OffsetRgn(int dx, int dy);

    const QRegion& GetRegion() const { return m_region; }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION of any region.
    static int KindOf(const QRegion& region);

protected:
    void Reset() override { m_region = QRegion(); }

private:
    QRegion m_region;
};
