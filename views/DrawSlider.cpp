#include "views/DrawSlider.h"

#include "views/PropsDialogHandler.h"
#include "views/SliderPropsDlg.h"

#include "frames/MovieAdapter.h"
#include "platform/framework/Archive.h"
#include "platform/framework/DC.h"
#include "platform/framework/Pen.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CDrawSlider, CDrawRect, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

namespace {

constexpr double kMarginFraction = 0.01;

CRect Normalised(CRect r) {
    r.NormalizeRect();
    return r;
}

}  // namespace

CDrawSlider::CDrawSlider() {
    m_type = kType;
    SetPropertiesHandler(new CPropsDialogHandler<CSliderPropsDlg>);
    SetImageSpace(FALSE);
    SetAlwaysDrawn(TRUE);
}

int CDrawSlider::Margin(const CRect& r) const {
    return static_cast<int>(std::lround(r.Width() * kMarginFraction));
}

int CDrawSlider::MarkerX(const CRect& r, int frame, int count) const {
    const int m = Margin(r);
    if (count < 2)
        return r.left + m;
    return r.left + m +
           static_cast<int>(
               std::lround(static_cast<double>(r.Width() - 2 * m) * frame / (count - 1)));
}

int CDrawSlider::FrameAt(const CRect& r, int x, int count) const {
    const int m = Margin(r);
    const int trackWidth = r.Width() - 2 * m;
    if (count < 1 || trackWidth < 2)
        return count == 1 ? 0 : -1;
    const double f = static_cast<double>(x - (r.left + m)) / (trackWidth - 1);
    return static_cast<int>(std::lround((count - 1) * f));
}

BOOL CDrawSlider::HitTest(CDoublePoint p, int* hitPart) {
    ResetHit(hitPart);
    CRect r;
    if (!GetDisplayRect(&r, nullptr))
        return FALSE;
    r = Normalised(r);
    if (r.IsRectEmpty())
        return FALSE;
    const CPoint q(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
    const int k = kCornerSize;
    const CRect corners[] = {
        {r.left, r.top, r.left + k, r.top + k},
        {r.left, r.bottom - k, r.left + k, r.bottom},
        {r.right - k, r.top, r.right, r.top + k},
        {r.right - k, r.bottom - k, r.right, r.bottom},
    };
    BOOL corner = FALSE;
    for (const CRect& c : corners) {
        if (c.PtInRect(q)) {
            corner = TRUE;
            if (hitPart)
                *hitPart = kHitBody;
            break;
        }
    }
    const int m = Margin(r);
    const int mid = r.top + r.Height() / 2;
    const int quarter = r.Height() / 4;
    const CRect track(r.left + m, mid - quarter, r.right - m, mid + quarter);
    auto* movie = static_cast<CMovieAdapter*>(GetOwnerPointer());
    if (!corner && track.PtInRect(q) && WasSingleClickTest() && movie) {
        int count = 0;
        movie->GetFrameCount(&count);
        const int frame = FrameAt(r, q.x, count);
        if (frame >= 0 && frame < count)
            movie->SetCurrentFrame(frame);
    }
    if (HitVertex(p, hitPart))
        return TRUE;
    return corner;
}

void CDrawSlider::Draw(CDC* dc, const CZoomTransform*, int) {
    CRect r;
    if (!dc || !GetDisplayRect(&r, nullptr))
        return;
    r = Normalised(r);
    if (r.IsRectEmpty())
        return;
    const int width = std::max(1, GetLineThickness());
    if (IsSelected())
        DrawRectOutline(dc, &r, FALSE, PS_SOLID, width + kHaloExtraWidth, kHaloColor, kHaloColor);
    auto* movie = static_cast<CMovieAdapter*>(GetOwnerPointer());
    int count = 0;
    if (movie)
        movie->GetFrameCount(&count);
    DrawTranslucent(dc, r, kAlpha, [&](CDC& memory, CPoint shift) {
        CRect s = r;
        s.OffsetRect(shift.x, shift.y);
        CPen pen;
        CreateGeometricPen(pen, GetLineStyle(), width, GetLineColor());
        CPen* old = memory.SelectObject(&pen);
        if (GetFilled())
            memory.FillSolidRect(s, GetFillColor());
        const int k = kCornerSize;
        const auto corner = [&](int x, int y, int dx, int dy) {
            memory.MoveTo(x, y);
            memory.LineTo(x + dx, y);
            memory.MoveTo(x, y);
            memory.LineTo(x, y + dy);
            memory.MoveTo(x + dx, y);
            memory.LineTo(x, y + dy);
        };
        corner(s.left, s.top, k, k);
        corner(s.right - 1, s.top, -k, k);
        corner(s.left, s.bottom - 1, k, -k);
        corner(s.right - 1, s.bottom - 1, -k, -k);
        const int m = Margin(s);
        const int mid = s.top + s.Height() / 2;
        const int q = s.Height() / 4;
        memory.MoveTo(s.left + m, mid);
        memory.LineTo(s.right - m, mid);
        memory.MoveTo(s.left + m, mid - q);
        memory.LineTo(s.left + m, mid + q);
        memory.MoveTo(s.right - m, mid - q);
        memory.LineTo(s.right - m, mid + q);
        if (movie) {
            const int x = MarkerX(s, GetCurrentFrame(), count);
            memory.MoveTo(x, mid - q);
            memory.LineTo(x, mid + q);
        }
        memory.SelectObject(old);
    });
    DrawPointHandles(dc, GetLineThickness(), nullptr);
}
