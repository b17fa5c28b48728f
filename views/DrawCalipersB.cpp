#include "views/DrawCalipersB.h"

#include "views/CalipersPropsDlg.h"
#include "views/PropsDialogHandler.h"

#include "frames/MovieAdapter.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Brush.h"
#include "platform/framework/DC.h"
#include "platform/wintypes/CLocale.h"
#include "views/DrawLine.h"
#include "views/ZoomTransform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

IMPLEMENT_SERIAL(CDrawCalipersB, CDrawDimLength, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

namespace {

constexpr double kHandleRadiusSquared = 16.0;

// p0 + round((p1 - p0) t) + round(offset n), n the unit normal of p0-p1; a zero-length line
// takes the x axis, so nothing divides by zero.
CDoublePoint PointAlong(const CDoublePoint& p0, const CDoublePoint& p1, double t, double offset) {
    const double dx = p1.x - p0.x;
    const double dy = p1.y - p0.y;
    const double length = std::hypot(dx, dy);
    const CDoublePoint n =
        length > 0.0 ? CDoublePoint(-dy / length, dx / length) : CDoublePoint(0.0, 1.0);
    return {p0.x + std::round(dx * t) + std::round(offset * n.x),
            p0.y + std::round(dy * t) + std::round(offset * n.y)};
}

double Length(const CDoublePoint& a, const CDoublePoint& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

CRect BoxOf(std::initializer_list<CDoublePoint> points) {
    double l = 1e300, t = 1e300, r = -1e300, b = -1e300;
    for (const CDoublePoint& p : points) {
        l = std::min(l, p.x);
        t = std::min(t, p.y);
        r = std::max(r, p.x);
        b = std::max(b, p.y);
    }
    return CRect(TruncToInt(l), TruncToInt(t), TruncToInt(r) + 1, TruncToInt(b) + 1);
}

}  // namespace

CDrawCalipersB::CDrawCalipersB() {
    m_type = kType;
    SetPropertiesHandler(new CPropsDialogHandler<CCalipersPropsDlg>);
}

CMovieAdapter* CDrawCalipersB::Movie() const {
    return static_cast<CMovieAdapter*>(GetOwnerPointer());
}

void CDrawCalipersB::MovePoint(int index, CDoublePoint p, BOOL snap) {
    CDrawDimLength::MovePoint(index, p, snap);
    if (index == 0 || index == 1) {
        m_endFrames[index] = GetCurrentFrame();
        if (!m_separateFrames)
            m_endFrames[0] = m_endFrames[1] = GetCurrentFrame();
    }
    SetModified(TRUE);
}

HRESULT CDrawCalipersB::SetCalibration(const CCalibrationData* source) {
    return source ? m_calibration.CopyFrom(*source) : 0;
}

void CDrawCalipersB::SetEndFrame(int index, int frame) {
    if (index == 0 || index == 1)
        m_endFrames[index] = frame;
}

int CDrawCalipersB::GetEndFrame(int index) const {
    return index == 0 || index == 1 ? m_endFrames[index] : -1;
}

bool CDrawCalipersB::Speed(double* speed, double calibrated) const {
    const int n = std::abs(m_endFrames[1] - m_endFrames[0]);
    if (m_endFrames[0] == -1 || m_endFrames[1] == -1 || n <= 0)
        return false;
    double rate = -1.0;
    if (CMovieAdapter* movie = Movie())
        movie->GetFrameRate(&rate);
    // An unknown rate gives no speed rather than a negative one.
    if (!(rate > 0.0))
        return false;
    *speed = rate * calibrated / n;
    return true;
}

void CDrawCalipersB::UpdateLabels() {
    UpdateValue();
    const double d = GetValue();
    const int n = std::abs(m_endFrames[1] - m_endFrames[0]);
    double p = 1.0;
    m_calibration.GetPixelsPerUnit(&p);
    if (!(p > 0.0))
        p = 1.0;
    const double c = d / p;
    int units = CCalibrationData::kUnitsPixels;
    m_calibration.GetUnits(&units);
    QString unit;
    m_calibration.GetUnitName(units, &unit, FALSE);
    double v = 0.0;
    const bool hasSpeed = Speed(&v, c);
    const bool framesSet = m_endFrames[0] != -1 && m_endFrames[1] != -1;

    QString label0 = m_labelText;
    QString label1;
    if (!IsCustomLabel()) {
        label0 = QFormatC("%.4gp", d);
        if (m_trackVariant) {
            if (framesSet && n > 0)
                label1 = QFormatC("%.4gp / %df  ", d, n);
        } else if (!framesSet) {
            label1 = QFormatC("%.4gp / ?f  ", d);
        } else {
            label1 = QFormatC("%.4gp / %df  ", d, n);
        }
    }
    if (m_labelMode == kUnits) {
        label0 = QFormatC("%.4g ", c) + unit;
        if (m_trackVariant)
            label1.clear();
        if (hasSpeed)
            label1 = QFormatC("%.4g ", v) + unit + QStringLiteral("/sec");
    } else if (m_labelMode == kBoth) {
        label0 += QStringLiteral("( ") + QFormatC("%.4g ", c) + unit + QStringLiteral(" )");
        if (hasSpeed)
            label1 += QStringLiteral("( ") + QFormatC("%.4g ", v) + unit + QStringLiteral("/sec )");
    }
    m_labelText = label0;
    m_label1 = label1;
}

double CDrawCalipersB::CaliperZoom(const CZoomTransform* t) const {
    double z = 1.0;
    if (t && IsImageSpace() && !m_fixedSize) {
        t->GetScale(&z);
        if (z == -1.0)
            z = 1.0;
    }
    return z;
}

BOOL CDrawCalipersB::GetCaliperGeometry(Geometry* out, const CZoomTransform* t, double textSize,
                                        BOOL flag) const {
    if (!out || GetPointCount() < 1)
        return FALSE;
    const double z = CaliperZoom(t);
    const CDoublePoint p0 = GetDisplayPoint(0, t, FALSE);
    const CDoublePoint p1 = GetPointCount() > 1 ? GetDisplayPoint(1, t, FALSE) : p0;
    double s = 1.0;
    if (GetPointCount() > 2) {
        const CDoublePoint p2 = GetDisplayPoint(2, t, FALSE);
        if ((p1.x - p0.x) * (p2.y - p0.y) - (p1.y - p0.y) * (p2.x - p0.x) < 0.0)
            s = -1.0;
    }
    const double T = textSize == kStoredOffset ? m_offset : textSize;
    const double H = m_labelHeight;
    const double at = (1.0 - m_labelPosition) * 0.5;
    auto& g = out->points;
    g[0] = p0;
    g[8] = p1;
    g[1] = PointAlong(p0, p1, 0.0, 6.0 * s * z);
    g[7] = PointAlong(p0, p1, 1.0, 6.0 * s * z);
    g[2] = PointAlong(p0, p1, 0.0, T * s * z);
    g[6] = PointAlong(p0, p1, 1.0, T * s * z);
    g[3] = PointAlong(p0, p1, 0.0, (T + 8.0) * s * z);
    g[5] = PointAlong(p0, p1, 1.0, (T + 8.0) * s * z);
    double first = 0.0;
    double second = 0.0;
    if (s > 0.0) {
        first = ((T + 2.0) - H - 3.0 - 3.0) * z;
        second = (T + 2.0) * z;
    } else if (flag) {
        first = -((H + T + 5.0) * z);
        second = -((T + 2.0 - 3.0) * z);
    } else {
        first = second = H - (T + 5.0) * z;
    }
    g[4] = PointAlong(p0, p1, at, first);
    out->secondAnchor = PointAlong(p0, p1, at, second);
    out->handles = {PointAlong(g[2], g[6], m_handleA, 0.0), PointAlong(g[2], g[6], m_handleB, 0.0),
                    PointAlong(g[2], g[6], m_midFraction, 0.0)};
    return TRUE;
}

bool CDrawCalipersB::NearHandle(const CDoublePoint& handle, const CDoublePoint& p) {
    const double dx = handle.x - p.x;
    const double dy = handle.y - p.y;
    return dx * dx + dy * dy < kHandleRadiusSquared;
}

void CDrawCalipersB::CycleLabelMode() {
    m_labelMode = (m_labelMode + 1) % 3;
    if (CMovieAdapter* movie = Movie()) {
        int frame = 0;
        movie->GetCurrentFrame(&frame);
        movie->SetCurrentFrame(frame);
    }
}

BOOL CDrawCalipersB::HitTest(CDoublePoint p, int* hitPart) {
    const BOOL hit = CDrawDimLength::HitTest(p, hitPart);
    Geometry g;
    if (!GetCaliperGeometry(&g, nullptr, m_plainLine ? 0.0 : kStoredOffset, TRUE))
        return hit;
    const int jaw = NearHandle(g.handles[0], p) ? 0 : NearHandle(g.handles[1], p) ? 1 : -1;
    const bool middle = jaw < 0 && NearHandle(g.handles[2], p);
    if (WasDoubleClickTest()) {
        CMovieAdapter* movie = Movie();
        if (jaw >= 0 && movie && m_endFrames[jaw] >= 0)
            movie->SetCurrentFrame(m_endFrames[jaw]);
        if (middle)
            CycleLabelMode();
    }
    if (jaw >= 0 || middle)
        SetClickHandled();
    return hit;
}

void CDrawCalipersB::DrawHandle(CDC* dc, const CDoublePoint& at, double zoom) const {
    const double h = std::max(zoom * GetLineThickness() * 2.5, 2.0) * 0.5;
    const int side = std::max(static_cast<int>(std::lround(h)), 1);
    const int x = static_cast<int>(std::lround(at.x - h / 2.0));
    const int y = static_cast<int>(std::lround(at.y - h / 2.0));
    dc->FillSolidRect(x, y, side, side, kHandleColour);
}

void CDrawCalipersB::Draw(CDC* dc, const CZoomTransform* t, int) {
    if (!dc)
        return;
    UpdateLabels();
    const double z = CaliperZoom(t);
    Geometry g;
    if (!GetCaliperGeometry(&g, t, m_plainLine ? 0.0 : kStoredOffset, TRUE))
        return;
    const auto& c = g.points;
    const int width = std::max(1, TruncToInt(GetLineThickness() * z));
    const auto drawJaw = [&](int end) {
        const CDoublePoint tipA = end ? c[7] : c[1];
        const CDoublePoint tipB = end ? c[5] : c[3];
        const CDoublePoint baseA = end ? c[6] : c[2];
        const CDoublePoint baseB = end ? g.handles[1] : g.handles[0];
        const int alpha = m_endFrames[end] == GetCurrentFrame() ? 255 : m_offFrameAlpha;
        const CRect box = m_plainLine ? BoxOf({c[2], c[6]}) : BoxOf({tipA, tipB, baseA, baseB});
        DrawTranslucent(dc, box, alpha, [&](CDC& memory, CPoint shift) {
            const CDoublePoint d(shift.x, shift.y);
            const auto line = [&](CDoublePoint a, CDoublePoint b) {
                a = {a.x + d.x, a.y + d.y};
                b = {b.x + d.x, b.y + d.y};
                if (IsSelected())
                    CDrawLine::DrawArrowLine(&memory, a, b, PS_SOLID, width + kHaloExtraWidth,
                                             kHaloColor, FALSE, FALSE, 0.0);
                CDrawLine::DrawArrowLine(&memory, a, b, GetLineStyle(), width, GetLineColor(),
                                         FALSE, FALSE, 0.0);
            };
            if (m_plainLine) {
                line(c[2], c[6]);
                return;
            }
            line(tipA, tipB);
            line(baseA, baseB);
        });
    };
    drawJaw(1);
    drawJaw(0);

    const QString label1 = m_label1;
    double extent = DrawLabel(dc, c[4], z);
    if (m_separateFrames && !label1.isEmpty()) {
        const QString label0 = m_labelText;
        m_labelText = label1;
        extent = DrawLabel(dc, g.secondAnchor, z);
        m_labelText = label0;
    }
    const double base = Length(c[2], c[6]);
    if (base > 0.0)
        m_labelPosition = extent / base;

    // Point 2 stays on the jaw base line, so the jaws keep their side.
    if (IsImageSpace() && GetPointCount() >= 2)
        SetPoint(2, MapPoint(c[2], t), FALSE, TRUE);
    if (!m_trackVariant)
        DrawPointHandles(dc, GetLineThickness(), t);
    const double handleZoom = IsImageSpace() ? z : 1.0;
    const COLORREF background = dc->GetBkColor();
    // Between measure points only the middle handle is drawn: the ends are the points'.
    for (size_t i = m_trackVariant ? 2 : 0; i < g.handles.size(); ++i) {
        if (g.handles[i].x < 0.0 && g.handles[i].y < 0.0)
            break;
        DrawHandle(dc, g.handles[i], handleZoom);
    }
    dc->SetBkColor(background);
}
