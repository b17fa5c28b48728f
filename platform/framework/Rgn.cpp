#include "platform/framework/Rgn.h"

#include <QPolygon>

#include <algorithm>

IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) {
    CRect r(x1, y1, x2, y2);
    r.NormalizeRect();
    m_region = r.IsRectEmpty() ? QRegion() : QRegion(r.left, r.top, r.Width(), r.Height());
    MarkCreated();
    return TRUE;
}

BOOL CRgn::CreateRectRgnIndirect(const CRect& rect) {
    return CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
}

BOOL CRgn::CreatePolygonRgn(const CPoint* points, int count, int fillMode) {
    if (points == nullptr || count < 0 || (fillMode != ALTERNATE && fillMode != WINDING))
        return FALSE;
    QPolygon polygon;
    polygon.reserve(count);
    for (int i = 0; i < count; ++i)
        polygon.append(QPoint(points[i].x, points[i].y));
    m_region = count < 3
                   ? QRegion()
                   : QRegion(polygon, fillMode == ALTERNATE ? Qt::OddEvenFill : Qt::WindingFill);
    MarkCreated();
    return TRUE;
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode) {
    if (GetSafeHandle() == nullptr || a == nullptr || a->GetSafeHandle() == nullptr)
        return RGN_ERROR;
    if (mode == RGN_COPY) {
        m_region = a->m_region;
        return KindOf(m_region);
    }
    if (b == nullptr || b->GetSafeHandle() == nullptr)
        return RGN_ERROR;
    switch (mode) {
        case RGN_AND:
            m_region = a->m_region.intersected(b->m_region);
            break;
        case RGN_OR:
            m_region = a->m_region.united(b->m_region);
            break;
        case RGN_XOR:
            m_region = a->m_region.xored(b->m_region);
            break;
        case RGN_DIFF:
            m_region = a->m_region.subtracted(b->m_region);
            break;
        default:
            return RGN_ERROR;
    }
    return KindOf(m_region);
}

BOOL CRgn::PtInRegion(int x, int y) const {
    return m_region.contains(QPoint(x, y)) ? TRUE : FALSE;
}

int CRgn::GetRgnBox(CRect* rect) const {
    if (rect == nullptr || GetSafeHandle() == nullptr)
        return RGN_ERROR;
    const QRect box = m_region.boundingRect();
    *rect = m_region.isEmpty()
                ? CRect()
                : CRect(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
    return KindOf(m_region);
}

int CRgn::OffsetRgn(int dx, int dy) {
    if (GetSafeHandle() == nullptr)
        return RGN_ERROR;
    m_region.translate(dx, dy);
    return KindOf(m_region);
}

int CRgn::KindOf(const QRegion& region) {
    if (region.isEmpty())
        return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
