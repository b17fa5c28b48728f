#pragma once

// CDrawCalipers: a caliper drawn between two measure points. Each end holds the link pair of
// its measure point (see CMeasurePointNote::GetLinkPair) and a frame, both set by the editor
// view; it cannot be dragged as a whole and has no end handles. It is stored as a
// CDrawCalipersB and comes back as one.

#include "views/DrawCalipersB.h"

#include <cstdint>

class CDrawCalipers : public CDrawCalipersB {
public:
    static constexpr int kType = 16;
    struct LinkPair {
        uint32_t pointId = 0;
        uint32_t serial = 0;
        bool operator==(const LinkPair&) const = default;
    };

    CDrawCalipers();

    void OffsetPoints(CDoublePoint offset, BOOL snap) override;
    void OffsetPointsInSpace(CDoublePoint imageOffset, CDoublePoint windowOffset,
                             BOOL snap) override;
    // Hits only the measured segment (the whole object) and the middle handle.
    BOOL HitTest(CDoublePoint p, int* hitPart) override;
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;

    // End 0 or 1; other indexes and null pointers are ignored.
    void SetEndLink(int index, const LinkPair* pair);
    void GetEndLink(int index, LinkPair* pair) const;

private:
    LinkPair m_links[2];
};
