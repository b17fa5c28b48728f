#include "views/MeasurePointNote.h"

#include "frames/MovieAdapter.h"
#include "platform/framework/DC.h"
#include "platform/framework/Pen.h"
#include "platform/wintypes/CLocale.h"
#include "views/DrawMarker.h"
#include "views/OverlayBitmaps.h"

#include <atomic>

namespace {

std::atomic<uint32_t> s_nextSerial{1};
constexpr COLORREF kHoverFrameColour = 0xC0C0C0;

// A button's bitmap centred on its place; a hovered one gets a grey frame two pixels outside,
// drawn with XOR so that it shows on any picture.
void DrawButton(CDC* dc, const CPoint& at, UINT bitmap, bool hovered) {
    constexpr int kSide = COverlayBitmaps::kSide;
    const CRect r(at.x - kSide / 2, at.y - kSide / 2, at.x - kSide / 2 + kSide,
                  at.y - kSide / 2 + kSide);
    if (hovered) {
        CPen pen(PS_SOLID, 1, kHoverFrameColour);
        CPen* old = dc->SelectObject(&pen);
        const int mode = dc->SetROP2(R2_XORPEN);
        const CRect f(r.left - 2, r.top - 2, r.right + 2, r.bottom + 2);
        dc->MoveTo(f.left, f.top);
        dc->LineTo(f.right, f.top);
        dc->LineTo(f.right, f.bottom);
        dc->LineTo(f.left, f.bottom);
        dc->LineTo(f.left, f.top);
        dc->SetROP2(mode);
        dc->SelectObject(old);
    }
    COverlayBitmaps::Draw(dc, bitmap, r);
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

void CMeasurePointNote::OffsetPoints(CDoublePoint offset, BOOL snap) {
    if (GetIndex() != 0)
        return;
    CDrawJumpNote::OffsetPoints(offset, snap);
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
        UINT bitmap = COverlayBitmaps::kDragHandle;
        if (part == kJumpButton)
            bitmap = COverlayBitmaps::kNote;
        else if (part == kMoveHereButton)
            bitmap = GetFrame() == GetCurrentFrame() ? COverlayBitmaps::kMoveHereDone
                                                     : COverlayBitmaps::kMoveHere;
        DrawButton(dc, at, bitmap, m_hoverPart == part);
        if (m_hoverPart != part)
            continue;
        if (part == kJumpButton)
            hint(QFormatC("Jump to frame %d.", DisplayedFrame()), at);
        else if (part == kMoveHereButton && bitmap == COverlayBitmaps::kMoveHere)
            hint(QStringLiteral("Move point to current frame."), at);
        else if (part == kDragHandle)
            hint(QStringLiteral("Click and Drag: Measure distance and velocity."), at);
    }
    if (m_marker.x < 0 && m_marker.y < 0)
        return;
    const int size = m_hoverPart == kMarker ? m_markerSize + 2 : m_markerSize;
    DrawMarker(dc, m_marker.x, m_marker.y, GetRValue(m_markerColour), GetGValue(m_markerColour),
               GetBValue(m_markerColour), m_markerShape, size, m_markerPenWidth);
}
