#include "tracking/CoordAxesOverlay.h"

#include "platform/framework/DC.h"
#include "platform/framework/GdiConstants.h"
#include "platform/framework/Pen.h"
#include "tracking/AnalysisSettings.h"
#include "tracking/IPositionSource.h"
#include "views/DrawMarker.h"
#include "views/IStreamDisplay.h"
#include "views/ZoomTransform.h"

#include <cmath>

namespace {

constexpr int kOriginStyle = 0;
constexpr int kAxesStyle = 1;
constexpr int kFirstPointStyle = 3;
constexpr int kSecondPointStyle = 4;

struct Style {
    COLORREF colour = 0;
    int shape = 0;
    int halfSize = 3;
    int penWidth = 1;
};

Style StyleOf(CAnalysisSettings& settings, int index) {
    CTrackFeature record;
    settings.GetFeature(index, nullptr, &record);
    LONG colour = 0, shape = 0, half = 0, pen = 0;
    record.GetParam4(&colour);
    record.GetParam1(&shape);
    record.GetParam2(&half);
    record.GetParam5(&pen);
    return {static_cast<COLORREF>(colour), static_cast<int>(shape), static_cast<int>(half),
            static_cast<int>(pen)};
}

void Marker(CDC* dc, const CPoint& p, const Style& s, int shape, int halfSize) {
    DrawMarker(dc, p.x, p.y, GetRValue(s.colour), GetGValue(s.colour), GetBValue(s.colour), shape,
               halfSize, s.penWidth, 0);
}

// The end of an axis of length L from the origin towards (dx, dy); the point itself when the
// direction has no length.
void AxisEnd(double ox, double oy, double dx, double dy, int length, double* ex, double* ey) {
    const double r = std::hypot(dx, dy);
    if (r == 0) {
        *ex = ox + dx;
        *ey = oy + dy;
        return;
    }
    *ex = ox + std::round(length * dx / r);
    *ey = oy + std::round(length * dy / r);
}

void Axis(CDC* dc, const CPoint& from, const CPoint& to, const QString& letter) {
    dc->MoveTo(from);
    dc->LineTo(to);
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double r = std::hypot(dx, dy);
    if (r == 0)
        return;
    const double ux = dx / r;
    const double uy = dy / r;
    for (int side : {-1, 1}) {
        const CPoint barb(static_cast<int>(std::lround(to.x - 8 * ux - side * 3 * uy)),
                          static_cast<int>(std::lround(to.y - 8 * uy + side * 3 * ux)));
        dc->MoveTo(to);
        dc->LineTo(barb);
    }
    const int cx = static_cast<int>(std::lround(to.x + 10 * ux));
    const int cy = static_cast<int>(std::lround(to.y + 10 * uy));
    CRect box(cx - 10, cy - 10, cx + 10, cy + 10);
    dc->DrawText(letter, &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

}  // namespace

CCoordAxesOverlay::CCoordAxesOverlay() : m_listener(this) {}

HRESULT CCoordAxesOverlay::GetListener(CDrawingOverlayListener** out) {
    if (!out)
        return E_POINTER;
    *out = &m_listener;
    return S_OK;
}

HRESULT CCoordAxesOverlay::SetSizeSource(IImageSizeSource* source) {
    m_sizeSource = source;
    return S_OK;
}

HRESULT CCoordAxesOverlay::SetCalibration(CAnalysisSettings* settings) {
    m_settings = settings;
    return S_OK;
}

HRESULT CCoordAxesOverlay::SetDisplayHost(IStreamDisplay* host) {
    m_host = host;
    return S_OK;
}

HRESULT CCoordAxesOverlay::SetVisible(BYTE visible) {
    m_visible = visible;
    m_listener.Invalidate();
    return S_OK;
}

HRESULT CCoordAxesOverlay::GetVisible(BYTE* out) const {
    if (!out)
        return E_POINTER;
    *out = m_visible;
    return S_OK;
}

HRESULT CCoordAxesOverlay::Draw(CDC* dc, const CRect&) {
    if (!m_host)
        return E_POINTER;
    if (!dc || !m_settings || !m_sizeSource || !m_visible)
        return S_OK;
    int width = 0;
    int height = 0;
    if (m_sizeSource->GetSize(&width, &height) != S_OK)
        return S_OK;
    CZoomTransform* transform = nullptr;
    if (m_host->GetZoomTransform(&transform) != S_OK || !transform)
        return S_OK;
    const CZoomTransform& t = *transform;
    CCalibrationData calibration;
    m_settings->GetCalibration(&calibration);
    double ox = 0, oy = 0, px = 0, py = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int nature = 0;
    calibration.GetOrigin(&ox, &oy);
    calibration.GetPositiveX(&px, &py);
    calibration.GetFirstPoint(&x1, &y1);
    calibration.GetSecondPoint(&x2, &y2);
    calibration.GetCoordNature(&nature);

    const Style origin = StyleOf(*m_settings, kOriginStyle);
    const Style axes = StyleOf(*m_settings, kAxesStyle);
    const CPoint originWindow = t.ImageToWindowPixel(ox, oy);
    Marker(dc, originWindow, origin, 4, 3);

    int length = width / 4;
    if (height / 2 < length)
        length = height / 4;
    const double dx = px - ox;
    const double dy = py - oy;
    double xEndX = 0, xEndY = 0, yEndX = 0, yEndY = 0;
    AxisEnd(ox, oy, dx, dy, length, &xEndX, &xEndY);
    if (nature != 0)
        AxisEnd(ox, oy, dy, -dx, length, &yEndX, &yEndY);
    else
        AxisEnd(ox, oy, -dy, dx, length, &yEndX, &yEndY);

    CPen pen(PS_SOLID, 2, axes.colour);
    CPen* previous = dc->SelectObject(&pen);
    const int mode = dc->SetBkMode(TRANSPARENT);
    const COLORREF text = dc->SetTextColor(axes.colour);
    Axis(dc, originWindow, t.ImageToWindowPixel(xEndX, xEndY), QStringLiteral("x"));
    Axis(dc, originWindow, t.ImageToWindowPixel(yEndX, yEndY), QStringLiteral("y"));
    dc->SetTextColor(text);
    dc->SetBkMode(mode);
    dc->SelectObject(previous);

    const Style first = StyleOf(*m_settings, kFirstPointStyle);
    const Style second = StyleOf(*m_settings, kSecondPointStyle);
    Marker(dc, t.ImageToWindowPixel(x1, y1), first, first.shape, first.halfSize);
    Marker(dc, t.ImageToWindowPixel(x2, y2), second, second.shape, second.halfSize);
    transform->Release();
    return S_OK;
}
