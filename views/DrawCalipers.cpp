#include "views/DrawCalipers.h"

#include "platform/framework/DC.h"
#include "views/DrawGeometry.h"

CDrawCalipers::CDrawCalipers() {
    m_type = kType;
    m_trackVariant = TRUE;
    m_handleA = 0.05;
    m_handleB = 0.95;
    m_fixedSize = TRUE;
    SetAlwaysDrawn(TRUE);
    SetSeparateFrames(TRUE);
}

void CDrawCalipers::OffsetPoints(CDoublePoint, BOOL) {}

void CDrawCalipers::OffsetPointsInSpace(CDoublePoint, CDoublePoint, BOOL) {}

void CDrawCalipers::SetEndLink(int index, const LinkPair* pair) {
    if ((index == 0 || index == 1) && pair)
        m_links[index] = *pair;
}

void CDrawCalipers::GetEndLink(int index, LinkPair* pair) const {
    if ((index == 0 || index == 1) && pair)
        *pair = m_links[index];
}

BOOL CDrawCalipers::HitTest(CDoublePoint p, int* hitPart) {
    ResetHit(hitPart);
    Geometry g;
    if (!GetCaliperGeometry(&g, nullptr, 0.0, TRUE))
        return FALSE;
    const BOOL hit = DrawGeometry::HitSegment(p, g.handles[0], g.handles[1], GetLineThickness());
    if (hit && hitPart)
        *hitPart = kHitBody;
    if (NearHandle(g.handles[2], p)) {
        if (WasDoubleClickTest())
            CycleLabelMode();
        SetClickHandled();
    }
    return hit;
}

void CDrawCalipers::Draw(CDC* dc, const CZoomTransform* t, int viewState) {
    // The jaws and labels collapse onto the line between the two measure points.
    m_offset = 0.0;
    if (!dc || GetEndFrame(0) < 0 || GetEndFrame(1) < 0) {
        UpdateLabels();
        return;
    }
    CDrawCalipersB::Draw(dc, t, viewState);
}
