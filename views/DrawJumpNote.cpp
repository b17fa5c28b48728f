#include "views/DrawJumpNote.h"

#include "views/JumpNotePropsDlg.h"
#include "views/OverlayBitmaps.h"
#include "views/PropsDialogHandler.h"

#include "frames/MovieAdapter.h"
#include "platform/framework/Archive.h"
#include "platform/framework/DC.h"
#include "platform/framework/Pen.h"
#include "platform/wintypes/CLocale.h"

#include <algorithm>

IMPLEMENT_SERIAL(CDrawJumpNote, CDrawText, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

CDrawJumpNote::CDrawJumpNote() {
    m_type = kType;
    SetPropertiesHandler(new CPropsDialogHandler<CJumpNotePropsDlg>);
    SetAlwaysDrawn(TRUE);
    SetImageSpace(FALSE);
}

int CDrawJumpNote::Opacity() const {
    if (GetFrame() == GetCurrentFrame())
        return 255;
    return 255 - static_cast<int>(m_offFrameOpacity * 255.0);
}

CRect CDrawJumpNote::IconRectAt(const CDoublePoint& anchor) {
    const int x = TruncToInt(anchor.x);
    const int y = TruncToInt(anchor.y);
    const int left = x - kIconSide / 2 - kIconGap - kIconSide / 2;
    const int top = y - kIconSide / 2;
    return {left, top, left + kIconSide - 1, top + kIconSide - 1};
}

int CDrawJumpNote::DisplayedFrame() const {
    int first = 0;
    if (auto* movie = static_cast<CMovieAdapter*>(GetOwnerPointer()))
        movie->GetFirstFrameNumber(&first);
    return GetFrame() - first;
}

void CDrawJumpNote::DrawIcon(CDC* dc, const CRect& r) {
    COverlayBitmaps::Draw(dc, COverlayBitmaps::kNote, r);
}

BOOL CDrawJumpNote::HitTest(CDoublePoint p, int* hitPart) {
    if (GetPointCount() < 1) {
        ResetHit(hitPart);
        return FALSE;
    }
    BOOL hit = CDrawText::HitTest(p, hitPart);
    CRect icon = IconRectAt(GetPoint(0, FALSE));
    icon.NormalizeRect();
    const bool onIcon = icon.PtInRect(CPoint(TruncToInt(p.x), TruncToInt(p.y)));
    if (onIcon && !hit) {
        hit = TRUE;
        if (hitPart)
            *hitPart = kHitBody;
    }
    if (onIcon && WasDoubleClickTest()) {
        auto* movie = static_cast<CMovieAdapter*>(GetOwnerPointer());
        if (movie && GetFrame() >= 0)
            movie->SetCurrentFrame(GetFrame());
        SetClickHandled();
    }
    return hit;
}

void CDrawJumpNote::Draw(CDC* dc, const CZoomTransform*, int) {
    if (!dc || GetPointCount() < 1)
        return;
    const CDoublePoint anchor = GetPoint(0, FALSE);
    const QString label = QFormatC("%d: ", DisplayedFrame()) + GetText();
    QString face;
    int height = 18;
    GetFont(&face, &height, nullptr, nullptr, nullptr, nullptr);
    const CRect icon = IconRectAt(anchor);
    // The layer spans the icon and a generous text box; its exact extent is only a bound.
    const CRect box(icon.left, icon.top, TruncToInt(anchor.x) + 40 * std::max(1, int(label.size())),
                    std::max(icon.bottom + 1, TruncToInt(anchor.y) + height + 1));
    CDoublePoint end = anchor;
    DrawTranslucent(dc, box, Opacity(), [&](CDC& memory, CPoint shift) {
        CRect r = icon;
        r.right += 1;
        r.bottom += 1;
        r.OffsetRect(shift.x, shift.y);
        DrawIcon(&memory, r);
        const CDoublePoint at(anchor.x + shift.x, anchor.y + shift.y);
        const CDoublePoint e = DrawTextAt(&memory, this, at, label, GetTextColor(), GetFillColor(),
                                          GetFilled(), height);
        end = {e.x - shift.x, e.y - shift.y};
        if (IsSelected()) {
            // The frame rings the label's box, clear of the letters it surrounds.
            CRect frame(TruncToInt(at.x), TruncToInt(at.y), TruncToInt(e.x),
                        TruncToInt(at.y) + height);
            frame.InflateRect(kHaloExtraWidth, kHaloExtraWidth);
            DrawRectOutline(&memory, &frame, FALSE, PS_SOLID, kHaloExtraWidth, kHaloColor, 0);
        }
    });
    SetPoint(1, end, FALSE, TRUE);
}
