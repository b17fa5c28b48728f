#include "views/MeasurePointNote.h"

#include "frames/MovieAdapter.h"
#include "platform/framework/DC.h"
#include "platform/framework/Pen.h"
#include "platform/wintypes/CLocale.h"

#include <atomic>

namespace {

std::atomic<uint32_t> s_nextSerial{1};

// A button face: a light square with a dark symbol for the part.
void DrawButton(CDC* dc, const CPoint& at, int part, bool hovered) {
    constexpr int kSide = 24;
    const CRect r(at.x - kSide / 2, at.y - kSide / 2, at.x + kSide / 2, at.y + kSide / 2);
    if (hovered)
        dc->FillSolidRect(r.left - 2, r.top - 2, kSide + 4, kSide + 4, 0xC0C0C0);
    dc->FillSolidRect(r, 0xF0F0F0);
    CPen pen(PS_SOLID, 2, 0x000000);
    CPen* old = dc->SelectObject(&pen);
    const int c = at.x;
    const int m = at.y;
    if (part == CMeasurePointNote::kJumpButton) {
        dc->MoveTo(c - 6, m - 6);
        dc->LineTo(c + 4, m);
        dc->LineTo(c - 6, m + 6);
    } else if (part == CMeasurePointNote::kMoveHereButton) {
        dc->MoveTo(c - 6, m);
        dc->LineTo(c + 6, m);
        dc->MoveTo(c, m - 6);
        dc->LineTo(c, m + 6);
    } else {
        dc->MoveTo(c - 6, m - 6);
        dc->LineTo(c + 6, m + 6);
        dc->MoveTo(c + 6, m - 6);
        dc->LineTo(c - 6, m + 6);
    }
    dc->SelectObject(old);
}

}  // namespace

CMeasurePointNote::CMeasurePointNote() : m_serial(s_nextSerial++) {
    m_type = kType;
    m_offFrameOpacity = 175.0 / 255.0;
    SetImageSpace(TRUE);
}

void CMeasurePointNote::GetLinkPair(uint32_t* pointId, uint32_t* serial) const {
    if (pointId)
        *pointId = static_cast<uint32_t>(m_pointId);
    if (serial)
        *serial = m_serial;
}

COLORREF CMeasurePointNote::SetMarkerColor(COLORREF colour) {
    const COLORREF old = m_markerColour;
    m_markerColour = colour;
    SetModified(TRUE);
    return old;
}

void CMeasurePointNote::SetMarkerStyle(int shape, int size, int penWidth) {
    m_markerShape = shape;
    m_markerSize = size;
    m_markerPenWidth = penWidth;
}

void CMeasurePointNote::MovePoint(int index, CDoublePoint p, BOOL snap) {
    if (GetFrame() != GetCurrentFrame())
        return;
    CDrawJumpNote::MovePoint(index, p, snap);
    SetModified(TRUE);
}

BOOL CMeasurePointNote::HasMarkedPoint() const {
    return m_dragging || CDrawJumpNote::HasMarkedPoint();
}

BOOL CMeasurePointNote::ClearPointMarks() {
    m_hoverPart = -1;
    if (m_dragging) {
        m_dragging = FALSE;
        return TRUE;
    }
    return CDrawJumpNote::ClearPointMarks();
}

QString CMeasurePointNote::PointLabel() const {
    const CDoublePoint p = GetPoint(0, FALSE);
    return QFormatC("(%d, %d). Frame %d.", TruncToInt(p.x), TruncToInt(p.y), DisplayedFrame());
}

bool CMeasurePointNote::ShowsPart(int part) const {
    const bool active = IsSelected() || m_dragging;
    switch (part) {
        case kMarker:
            return true;
        case kJumpButton:
        case kMoveHereButton:
            return active && GetFrame() != GetCurrentFrame();
        case kDragHandle:
            return active;
        default:
            return false;
    }
}

BOOL CMeasurePointNote::HitTest(CDoublePoint, int* hitPart) {
    ResetHit(hitPart);
    m_hoverPart = -1;
    // The buttons are window positions: the click is taken where the view saw it.
    const CDoublePoint click = LastHitWindowPoint();
    double best = 1600000.0;
    int bestIndex = -1;
    for (int i = GetPointCount() - 1; i >= 0; --i) {
        const CDoublePoint at = i == 0 ? CDoublePoint(m_marker.x, m_marker.y) : GetPoint(i, FALSE);
        const double dx = at.x - click.x;
        const double dy = at.y - click.y;
        const double d2 = dx * dx + dy * dy;
        if (d2 < kHitRadiusSquared && d2 <= best) {
            best = d2;
            bestIndex = i;
        }
    }
    if (bestIndex < 0)
        return FALSE;
    if (hitPart)
        *hitPart = bestIndex;
    m_hoverPart = bestIndex;
    m_dragging = TRUE;
    auto* movie = static_cast<CMovieAdapter*>(GetOwnerPointer());
    const bool offFrame = GetFrame() != GetCurrentFrame();
    if (WasSingleClickTest() && offFrame && bestIndex == kJumpButton) {
        if (movie && GetFrame() >= 0)
            movie->SetCurrentFrame(GetFrame());
        SetClickHandled();
    } else if (WasSingleClickTest() && offFrame && bestIndex == kMoveHereButton) {
        SetFrame(GetCurrentFrame());
        if (movie && GetFrame() >= 0)
            movie->SetCurrentFrame(GetFrame());
        SetClickHandled();
    } else if (WasDoubleClickTest() && bestIndex == kDragHandle) {
        SetClickHandled();
    }
    return TRUE;
}

void CMeasurePointNote::Draw(CDC* dc, const CZoomTransform* t, int) {
    if (!dc || GetPointCount() < 1)
        return;
    SetText(PointLabel());
    const CDoublePoint window = GetDisplayPoint(0, t, TRUE);
    m_marker = CPoint(TruncToInt(window.x), TruncToInt(window.y));
    SetPoint(kJumpButton, {window.x + kButtonSpacing, window.y}, FALSE, TRUE);
    SetPoint(kMoveHereButton, {window.x + 2 * kButtonSpacing, window.y}, FALSE, TRUE);
    SetPoint(kDragHandle, {window.x, window.y - kButtonSpacing}, FALSE, TRUE);
    QString face;
    int height = 18;
    GetFont(&face, &height, nullptr, nullptr, nullptr, nullptr);
    if (m_hoverPart == kMarker)
        DrawTextAt(dc, this, {window.x + 5, window.y + 10}, GetText(), GetTextColor(),
                   GetFillColor(), FALSE, height);
    const auto hint = [&](const QString& text, const CPoint& at) {
        DrawTextAt(dc, this, {static_cast<double>(at.x), at.y - 40.0}, text, GetTextColor(),
                   GetFillColor(), FALSE, height);
    };
    for (int part = kJumpButton; part <= kDragHandle; ++part) {
        if (!ShowsPart(part))
            continue;
        const CDoublePoint p = GetPoint(part, FALSE);
        const CPoint at(TruncToInt(p.x), TruncToInt(p.y));
        if (at.x < 0 && at.y < 0)
            continue;
        DrawButton(dc, at, part, m_hoverPart == part);
        if (m_hoverPart != part)
            continue;
        if (part == kJumpButton)
            hint(QFormatC("Jump to frame %d.", DisplayedFrame()), at);
        else if (part == kMoveHereButton)
            hint(QStringLiteral("Move point to current frame."), at);
        else
            hint(QStringLiteral("Click and Drag: Measure distance and velocity."), at);
    }
    if (m_marker.x < 0 && m_marker.y < 0)
        return;
    const int size = m_hoverPart == kMarker ? m_markerSize + 2 : m_markerSize;
    CPen pen(PS_SOLID, m_markerPenWidth, m_markerColour);
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(m_marker.x - size, m_marker.y);
    dc->LineTo(m_marker.x + size + 1, m_marker.y);
    dc->MoveTo(m_marker.x, m_marker.y - size);
    dc->LineTo(m_marker.x, m_marker.y + size + 1);
    dc->SelectObject(old);
}
