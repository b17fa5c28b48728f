#include "views/PZView.h"

#include "platform/framework/CmdUI.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/MDIFrameWnd.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/WinApp.h"
#include "views/PanZoomView.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kHighestZoom = 1000.0;
// Invalidate, no erase, update now.
constexpr UINT kRedrawFlags = 0x121;

int Trunc(double v) {
    return static_cast<int>(std::trunc(v));
}

}  // namespace

IMPLEMENT_DYNCREATE(CPZView, CView)

BEGIN_MESSAGE_MAP(CPZView, CView)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_MOUSEWHEEL()
ON_COMMAND(CPanZoomView::kViewActual, OnViewActual)
ON_COMMAND(CPanZoomView::kFitInWindow, OnFitInWindow)
ON_COMMAND(CPanZoomView::kPanMode, OnPanMode)
ON_COMMAND(CPanZoomView::kZoomMode, OnZoomMode)
ON_COMMAND(CPanZoomView::kShowReticle, OnShowReticle)
ON_COMMAND(CPanZoomView::kShowRulers, OnShowRulers)
ON_COMMAND_RANGE(CPanZoomView::kInfoUpperLeft, CPanZoomView::kInfoHide, OnInfoCorner)
ON_COMMAND_RANGE(CPanZoomView::kZoomBoxUpperLeft, CPanZoomView::kZoomBoxHide, OnZoomBoxCorner)
ON_UPDATE_COMMAND_UI(CPanZoomView::kPanMode, OnUpdatePanMode)
ON_UPDATE_COMMAND_UI(CPanZoomView::kZoomMode, OnUpdateZoomMode)
END_MESSAGE_MAP()

CPZView::CPZView() = default;
CPZView::~CPZView() = default;

void CPZView::OnDraw(CDC*) {}

void CPZView::SetReticlePoint(int x, int y) {
    m_reticle = CPoint(x, y);
    if (!GetSafeHwnd())
        return;
    if (CFrameWnd* frame = GetParentFrame())
        if (CWnd* host = frame->GetParent())
            host->PostMessage(kReticleMovedMessage);
}

void CPZView::OnSelectionComplete() {}

void CPZView::SetTransform(const CZoomTransform* pTransform) {
    if (!pTransform)
        return;
    m_transform.CopyValues(*pTransform);
    double scale = 1.0;
    pTransform->GetScale(&scale);
    m_baseFactor = scale;
    double w = 0.0;
    double h = 0.0;
    pTransform->GetImageSize(&w, &h);
    m_imageWidth = Trunc(w);
    m_imageHeight = Trunc(h);
    pTransform->GetOffset(&w, &h);
    m_offsetX = Trunc(w);
    m_offsetY = Trunc(h);
}

BOOL CPZView::GetReticlePoint(CPoint* point) const {
    if (point)
        *point = m_reticle;
    return TRUE;
}

CWnd* CPZView::SetRedrawTarget(CWnd* pTarget) {
    CWnd* previous = m_pRedrawTarget;
    m_pRedrawTarget = pTarget;
    return previous;
}

void CPZView::Redraw() {
    if (GetSafeHwnd()) {
        if (IsWindowVisible())
            RedrawWindow(nullptr, nullptr, kRedrawFlags);
    } else if (m_pRedrawTarget && m_pRedrawTarget->GetSafeHwnd()) {
        m_pRedrawTarget->RedrawWindow(nullptr, nullptr, kRedrawFlags);
    }
}

double CPZView::Base() const {
    return m_baseFactor > 0.0 ? m_baseFactor : 1.0;
}

double CPZView::GetEffectiveScale() const {
    return m_useBaseFactor ? m_zoom * Base() : m_zoom;
}

void CPZView::WindowToImage(CPoint* out, int x, int y, int offsetX, int offsetY, double scale,
                            int windowWidth, int windowHeight, BOOL clamp) const {
    if (!out)
        return;
    const bool ownWindow =
        offsetX == -1 && offsetY == -1 && scale == -1.0 && windowWidth == -1 && windowHeight == -1;
    if (offsetX == -1 && offsetY == -1) {
        offsetX = m_offsetX;
        offsetY = m_offsetY;
    }
    if (scale == -1.0)
        scale = GetEffectiveScale();
    if (ownWindow) {
        // The client area; a companion without a window has its owner's in the transform.
        CRect client;
        if (GetSafeHwnd())
            GetClientRect(&client);
        if (!client.IsRectEmpty()) {
            windowWidth = client.Width();
            windowHeight = client.Height();
        } else {
            double w = -1.0;
            double h = -1.0;
            m_transform.GetWindowSize(&w, &h);
            windowWidth = Trunc(w);
            windowHeight = Trunc(h);
        }
    }
    CZoomTransform mapping;
    mapping.SetOffset(offsetX, offsetY);
    mapping.SetScale(scale == 0.0 ? 1.0 : scale);
    if (!(windowWidth == -1 && windowHeight == -1)) {
        mapping.SetWindowSize(windowWidth, windowHeight);
        mapping.SetImageSize(m_imageWidth, m_imageHeight);
    }
    double ix = 0.0;
    double iy = 0.0;
    mapping.WindowToImage(x, y, &ix, &iy);
    CPoint p(Trunc(ix), Trunc(iy));
    if (clamp) {
        p.x = std::clamp(p.x, 0, std::max(m_imageWidth - 1, 0));
        p.y = std::clamp(p.y, 0, std::max(m_imageHeight - 1, 0));
    }
    *out = p;
}

void CPZView::WindowToImageF(double wx, double wy, double* x, double* y, int offsetX, int offsetY,
                             double scale, int windowWidth, int windowHeight, BOOL clamp) const {
    if (!x || !y)
        return;
    const bool ownForm =
        offsetX == -1 && offsetY == -1 && scale == -1.0 && windowWidth == -1 && windowHeight == -1;
    double rx = 0.0;
    double ry = 0.0;
    if (ownForm) {
        double w = -1.0;
        double h = -1.0;
        m_transform.GetWindowSize(&w, &h);
        CZoomTransform mapping;
        mapping.SetOffset(m_offsetX, m_offsetY);
        mapping.SetScale(GetEffectiveScale());
        if (!(w == -1.0 && h == -1.0)) {
            mapping.SetWindowSize(w, h);
            mapping.SetImageSize(m_imageWidth, m_imageHeight);
        }
        mapping.WindowToImage(wx, wy, &rx, &ry);
    } else {
        const double inverse = 1.0 / (scale == 0.0 ? 1.0 : scale);
        const bool centred = !(windowWidth == -1 && windowHeight == -1);
        if (centred) {
            rx = Trunc((wx - windowWidth * 0.5) * inverse + m_imageWidth * 0.5 - *x);
            ry = Trunc((wy - windowHeight * 0.5) * inverse + m_imageHeight * 0.5 - *y);
        } else {
            rx = Trunc(wx * inverse - *x);
            ry = Trunc(wy * inverse - *y);
        }
    }
    if (clamp) {
        rx = std::clamp(rx, 0.0, std::max(m_imageWidth - 1.0, 0.0));
        ry = std::clamp(ry, 0.0, std::max(m_imageHeight - 1.0, 0.0));
    }
    *x = std::trunc(rx);
    *y = std::trunc(ry);
}

double CPZView::ClampZoom(double zoom) const {
    return std::clamp(zoom, m_freeZoom ? 0.1 : 1.0, kHighestZoom);
}

void CPZView::ClampOffsets() {
    if (m_freeZoom || m_zoom <= 0.0)
        return;
    // The window centre shows image point size/2 - offset and spans size/zoom image pixels,
    // so the offset may move the image half the hidden part either way.
    const double hidden = (m_zoom - 1.0) / (2.0 * m_zoom);
    const int limitX = std::max(Trunc(m_imageWidth * hidden), 0);
    const int limitY = std::max(Trunc(m_imageHeight * hidden), 0);
    m_offsetX = std::clamp(m_offsetX, -limitX, limitX);
    m_offsetY = std::clamp(m_offsetY, -limitY, limitY);
}

void CPZView::OffsetsAround(CPoint anchor, double width, double height, double oldZoom) {
    const double change = (1.0 / Base()) * (1.0 / m_zoom - 1.0 / oldZoom);
    m_offsetX = m_pressOffset.x + Trunc((anchor.x - width * 0.5) * change);
    m_offsetY = m_pressOffset.y + Trunc((anchor.y - height * 0.5) * change);
    ClampOffsets();
}

bool CPZView::DragTo(CPoint point) {
    const double oldZoom = m_zoom;
    const CPoint oldOffset(m_offsetX, m_offsetY);
    if (m_zoomDrag) {
        m_zoom = ClampZoom(m_pressZoom + (m_anchor.y - point.y) * 0.01);
        double w = 0.0;
        double h = 0.0;
        m_transform.GetWindowSize(&w, &h);
        OffsetsAround(m_anchor, w, h, m_pressZoom);
    } else if (m_panDrag) {
        const double perPixel = m_zoom * Base();
        m_offsetX = m_pressOffset.x - Trunc((m_anchor.x - point.x) / perPixel);
        m_offsetY = m_pressOffset.y - Trunc((m_anchor.y - point.y) / perPixel);
        ClampOffsets();
    }
    return m_zoom != oldZoom || CPoint(m_offsetX, m_offsetY) != oldOffset;
}

void CPZView::MoveReticleTo(CPoint point) {
    CPoint p;
    WindowToImage(&p, point.x, point.y, -1, -1, -1.0, -1, -1, TRUE);
    SetReticlePoint(p.x, p.y);
}

void CPZView::OnLButtonDown(UINT nFlags, CPoint point) {
    if (nFlags & MK_SHIFT) {
        const BOOL pan = (nFlags & MK_CONTROL) != 0;
        m_panMode = pan;
        m_zoomMode = !pan;
        m_temporaryMode = TRUE;
    }
    if (!m_zoomMode && !m_panMode) {
        if (m_reticleShown) {
            MoveReticleTo(point);
            m_reticleActive = TRUE;
            Redraw();
        }
        return;
    }
    m_pressZoom = m_zoom;
    m_anchor = point;
    m_pressOffset = CPoint(m_offsetX, m_offsetY);
    m_zoomDrag = m_zoomMode;
    m_panDrag = m_panMode;
}

void CPZView::OnMouseMove(UINT, CPoint point) {
    if (!m_zoomMode && !m_panMode) {
        if (m_reticleShown && m_reticleActive) {
            MoveReticleTo(point);
            Redraw();
        }
        return;
    }
    if ((m_zoomDrag || m_panDrag) && DragTo(point))
        Redraw();
}

void CPZView::OnLButtonUp(UINT, CPoint point) {
    if (!m_zoomMode && !m_panMode) {
        if (m_reticleShown && m_reticleActive) {
            MoveReticleTo(point);
            Redraw();
        }
        m_reticleActive = FALSE;
        return;
    }
    if (m_temporaryMode) {
        m_zoomMode = FALSE;
        m_panMode = FALSE;
        m_temporaryMode = FALSE;
    } else if ((m_zoomDrag || m_panDrag) && DragTo(point)) {
        Redraw();
    }
    m_zoomDrag = FALSE;
    m_panDrag = FALSE;
}

BOOL CPZView::OnMouseWheel(UINT, short zDelta, CPoint pt) {
    CRect outer;
    if (GetSafeHwnd())
        GetWindowRect(&outer);
    m_anchor = CPoint(pt.x - outer.left, pt.y - outer.top);
    m_pressZoom = m_zoom;
    m_pressOffset = CPoint(m_offsetX, m_offsetY);
    const double step = 1.0 + std::abs(zDelta) * 0.25 * 0.01;
    if (zDelta > 0)
        m_zoom *= step;
    else if (zDelta < 0)
        m_zoom /= step;
    m_zoom = ClampZoom(m_zoom);
    OffsetsAround(m_anchor, outer.Width(), outer.Height(), m_pressZoom);
    if (m_zoom != m_pressZoom)
        Redraw();
    return TRUE;
}

BOOL CPZView::GetAvailableSize(CSize* size) const {
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->GetSafeHwnd() || main->IsIconic())
        return FALSE;
    CRect area;
    auto* mdi = dynamic_cast<CMDIFrameWnd*>(main);
    if (mdi && mdi->GetMDIClient() && mdi->GetMDIClient()->GetSafeHwnd())
        mdi->GetMDIClient()->GetClientRect(&area);
    else
        main->GetClientRect(&area);
    *size = CSize(area.Width(), area.Height());
    return size->cx > 0 && size->cy > 0;
}

void CPZView::ResizeParentFrame(int width, int height, BOOL keepPosition) {
    if (!GetSafeHwnd())
        return;
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetWindowPos(nullptr, 0, 0, width, height,
                            SWP_NOZORDER | SWP_NOACTIVATE | (keepPosition ? SWP_NOMOVE : 0));
}

void CPZView::SetZoomPercent(int percent) {
    if (m_freeZoom) {
        m_zoom = ClampZoom(percent / 100.0 / Base());
        m_offsetX = 0;
        m_offsetY = 0;
        Redraw();
        return;
    }
    CSize area;
    if (!HasImage() || percent <= 0 || !GetAvailableSize(&area))
        return;
    const int targetWidth = Trunc(m_imageWidth * percent / 100.0);
    const int targetHeight = Trunc(m_imageHeight * percent / 100.0);
    const double r = std::max(static_cast<double>(targetWidth) / area.cx,
                              static_cast<double>(targetHeight) / area.cy);
    if (r <= 1.0) {
        m_zoom = 1.0;
        m_offsetX = 0;
        m_offsetY = 0;
        ResizeParentFrame(targetWidth, targetHeight, TRUE);
    } else {
        const int frameWidth = Trunc(targetWidth / r);
        const int frameHeight = Trunc(targetHeight / r);
        m_zoom = ClampZoom(r);
        // The fractional quotient, so that zoom times base factor shows the wanted size.
        if (frameWidth > 0)
            m_baseFactor = static_cast<double>(frameWidth) / m_imageWidth;
        // Around the client centre the change of zoom moves nothing; only the limits apply.
        ClampOffsets();
        ResizeParentFrame(frameWidth, frameHeight, FALSE);
    }
    Redraw();
}

void CPZView::FitInWindow() {
    m_zoom = 1.0;
    m_offsetX = 0;
    m_offsetY = 0;
    CSize area;
    if (!m_freeZoom && HasImage() && GetAvailableSize(&area)) {
        const double s = 1.0 / std::max(static_cast<double>(m_imageWidth) / area.cx,
                                        static_cast<double>(m_imageHeight) / area.cy);
        ResizeParentFrame(Trunc(m_imageWidth * s), Trunc(m_imageHeight * s), FALSE);
    }
    Redraw();
}

void CPZView::OnViewActual() {
    SetZoomPercent(100);
}

void CPZView::OnFitInWindow() {
    FitInWindow();
}

void CPZView::OnPanMode() {
    m_panMode = !m_panMode;
    m_zoomMode = FALSE;
    m_zoomDrag = FALSE;
    m_panDrag = FALSE;
}

void CPZView::OnZoomMode() {
    m_zoomMode = !m_zoomMode;
    m_panMode = FALSE;
    m_zoomDrag = FALSE;
    m_panDrag = FALSE;
}

void CPZView::OnShowReticle() {
    m_reticleShown = !m_reticleShown;
    m_reticleActive = FALSE;
    Redraw();
}

void CPZView::OnShowRulers() {
    m_rulersShown = !m_rulersShown;
    Redraw();
}

namespace {

// Menu order of the corner commands: upper-left, upper-right, lower-left, lower-right, hide.
int CornerOfCommand(UINT offset) {
    static constexpr int kCornerByOffset[] = {0, 1, 3, 2, -1};
    return offset < 5 ? kCornerByOffset[offset] : -1;
}

}  // namespace

void CPZView::OnInfoCorner(UINT nID) {
    m_infoCorner = CornerOfCommand(nID - CPanZoomView::kInfoUpperLeft);
    if (GetSafeHwnd())
        Redraw();
}

void CPZView::OnZoomBoxCorner(UINT nID) {
    m_zoomBoxCorner = CornerOfCommand(nID - CPanZoomView::kZoomBoxUpperLeft);
    if (GetSafeHwnd())
        Redraw();
}

void CPZView::OnUpdatePanMode(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_panMode ? 1 : 0);
}

void CPZView::OnUpdateZoomMode(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_zoomMode ? 1 : 0);
}
