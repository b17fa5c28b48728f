#include "views/PanZoomView.h"

#include "platform/framework/CmdUI.h"
#include "platform/framework/DC.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/MDIFrameWnd.h"
#include "platform/framework/Menu.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/WinApp.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kHighestZoom = 1000.0;
constexpr COLORREF kReticleColour = 0xC0C0C0;
constexpr COLORREF kSelectionColour = 0x808080;
constexpr COLORREF kZoomBoxColour = 0xC0C0C0;
constexpr COLORREF kRulerColour = 0x0000FF;
constexpr COLORREF kRulerTextColour = 0xC0C0C0;
constexpr int kRulerStep = 50;
// Window-position flags of the frame resize: no z-order change, frame changed, no bit copy.
constexpr UINT kResizeAtOrigin = 0x124;
constexpr UINT kResizeInPlace = 0x126;

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

// XOR line work with one pen; restores the device context when it goes.
class XorPen {
public:
    XorPen(CDC* dc, COLORREF colour) : m_dc(dc), m_pen(PS_SOLID, 1, colour) {
        m_oldRop = m_dc->SetROP2(R2_XORPEN);
        m_oldPen = m_dc->SelectObject(&m_pen);
    }
    ~XorPen() {
        m_dc->SelectObject(m_oldPen);
        m_dc->SetROP2(m_oldRop);
    }
    XorPen(const XorPen&) = delete;
    XorPen& operator=(const XorPen&) = delete;

    void Line(int x1, int y1, int x2, int y2) {
        m_dc->MoveTo(x1, y1);
        m_dc->LineTo(x2, y2);
    }
    // A closed outline through the four corners; each corner pixel is drawn once.
    void Outline(const CRect& r) {
        m_dc->MoveTo(r.left, r.top);
        m_dc->LineTo(r.right, r.top);
        m_dc->LineTo(r.right, r.bottom);
        m_dc->LineTo(r.left, r.bottom);
        m_dc->LineTo(r.left, r.top);
    }
    // An outline whose sides leave out their middle thirds.
    void Brackets(const CRect& r) {
        const int w = r.right - r.left;
        const int h = r.bottom - r.top;
        const int w3 = w / 3;
        const int h3 = h / 3;
        Line(r.left, r.top, r.left + w3, r.top);
        Line(r.right - w3, r.top, r.right, r.top);
        Line(r.right, r.top, r.right, r.top + h3);
        Line(r.right, r.bottom - h3, r.right, r.bottom);
        Line(r.right, r.bottom, r.right - w3, r.bottom);
        Line(r.left + w3, r.bottom, r.left, r.bottom);
        Line(r.left, r.bottom, r.left, r.bottom - h3);
        Line(r.left, r.top + h3, r.left, r.top);
    }

private:
    CDC* m_dc;
    CPen m_pen;
    CPen* m_oldPen = nullptr;
    int m_oldRop = 0;
};

}  // namespace

IMPLEMENT_DYNCREATE(CPanZoomView, CView)

BEGIN_MESSAGE_MAP(CPanZoomView, CView)
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
ON_UPDATE_COMMAND_UI(CPanZoomView::kShowReticle, OnUpdateShowReticle)
ON_UPDATE_COMMAND_UI(CPanZoomView::kShowRulers, OnUpdateShowRulers)
ON_UPDATE_COMMAND_UI_RANGE(CPanZoomView::kInfoUpperLeft, CPanZoomView::kInfoHide,
                           OnUpdateInfoCorner)
ON_UPDATE_COMMAND_UI_RANGE(CPanZoomView::kZoomBoxUpperLeft, CPanZoomView::kZoomBoxHide,
                           OnUpdateZoomBoxCorner)
END_MESSAGE_MAP()

CPanZoomView::CPanZoomView() = default;
CPanZoomView::~CPanZoomView() = default;

void CPanZoomView::OnDraw(CDC*) {}

void CPanZoomView::SetReticlePosition(int x, int y) {
    m_reticle = CPoint(x, y);
    if (CFrameWnd* frame = GetParentFrame())
        if (CWnd* host = frame->GetParent())
            host->PostMessage(kReticleMovedMessage);
}

void CPanZoomView::OnSelectionComplete() {}

CWnd* CPanZoomView::SetRedrawTarget(CWnd* pTarget) {
    CWnd* previous = m_pRedrawTarget;
    m_pRedrawTarget = pTarget;
    return previous;
}

void CPanZoomView::SetImageSize(int width, int height) {
    m_imageWidth = std::max(width, 0);
    m_imageHeight = std::max(height, 0);
}

void CPanZoomView::SetFrameBorder(int width, int height) {
    m_frameBorderWidth = width;
    m_frameBorderHeight = height;
}

void CPanZoomView::SetFitMode(BOOL fit) {
    m_fitMode = fit;
}

void CPanZoomView::Redraw() {
    const UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN;
    if (GetSafeHwnd() && IsWindowVisible())
        RedrawWindow(nullptr, nullptr, flags);
    else if (m_pRedrawTarget && m_pRedrawTarget->GetSafeHwnd())
        m_pRedrawTarget->RedrawWindow(nullptr, nullptr, flags);
}

void CPanZoomView::SetInfoCorner(int corner) {
    m_infoCorner = corner;
    if (GetSafeHwnd())
        Redraw();
}

void CPanZoomView::ShowRulers(BOOL show) {
    m_rulersShown = show;
}

void CPanZoomView::ShowReticle(BOOL show) {
    m_reticleShown = show;
    m_reticleDrag = FALSE;
}

BOOL CPanZoomView::GetReticlePosition(CPoint* point) const {
    if (!m_reticleShown)
        return FALSE;
    if (point)
        *point = m_reticle;
    return TRUE;
}

void CPanZoomView::BeginRegionSelection(BOOL selecting) {
    m_selectionMode = selecting;
    m_selectionState = 1;
    m_zoomMode = FALSE;
    m_panMode = FALSE;
    m_zoomDrag = FALSE;
    m_panDrag = FALSE;
}

BOOL CPanZoomView::GetSelection(CRect* rect) const {
    if (!m_selectionMode)
        return FALSE;
    if (rect)
        *rect = m_selection;
    return TRUE;
}

double CPanZoomView::GetScale() const {
    return m_useFitFactor ? m_fitFactor * m_zoom : m_zoom;
}

void CPanZoomView::GetPan(CPoint* pan) const {
    if (pan)
        *pan = CPoint(m_panX, m_panY);
}

void CPanZoomView::GetImageSize(CPoint* size) const {
    if (size)
        *size = CPoint(m_imageWidth, m_imageHeight);
}

void CPanZoomView::GetClientSize(CPoint* size) const {
    if (!size)
        return;
    CRect client;
    if (GetSafeHwnd())
        GetClientRect(&client);
    *size = CPoint(client.Width(), client.Height());
}

CPanZoomView::Geometry CPanZoomView::GetGeometry() const {
    CPoint client;
    GetClientSize(&client);
    Geometry g;
    g.panX = m_panX;
    g.panY = m_panY;
    g.scale = GetScale();
    g.clientWidth = client.x;
    g.clientHeight = client.y;
    return g;
}

CPoint CPanZoomView::GetImageOffset() const {
    const Geometry g = GetGeometry();
    const double s = g.scale == 0.0 ? 1.0 : g.scale;
    return CPoint(static_cast<int>(std::trunc(m_panX - m_imageWidth * 0.5)) +
                      static_cast<int>(std::trunc(g.clientWidth / (2.0 * s))),
                  static_cast<int>(std::trunc(m_panY - m_imageHeight * 0.5)) +
                      static_cast<int>(std::trunc(g.clientHeight / (2.0 * s))));
}

CRect CPanZoomView::UpdateDisplayRect(const CRect& client) {
    const int cw = client.Width();
    const int ch = client.Height();
    if (!HasImage() || cw <= 0 || ch <= 0) {
        m_fitFactor = 1.0;
        m_stretchX = 1.0;
        m_stretchY = 1.0;
        return CRect();
    }
    const double W = m_imageWidth;
    const double H = m_imageHeight;
    int dw = cw;
    if (m_fitMode) {
        m_stretchX = cw / W;
        m_stretchY = ch / H;
        if (W / H <= static_cast<double>(cw) / ch)
            dw = static_cast<int>(ch * W / H);
    }
    m_fitFactor = dw / W;
    const double s = GetScale();
    const int w = Round(W * s);
    const int h = Round(w / (W / H));
    const int left = Round(m_panX * s) - w / 2 + cw / 2;
    const int top = Round(m_panY * s) - h / 2 + ch / 2;
    return CRect(left, top, left + w, top + h);
}

CPoint CPanZoomView::ImageToClient(double x, double y, int mode) const {
    return ImageToClient(x, y, mode, GetGeometry());
}

CPoint CPanZoomView::ImageToClient(double x, double y, int mode, const Geometry& g) const {
    double d = 0.0;
    switch (mode) {
        case kMapCorner:
            break;
        case kMapCentre:
            d = 0.5;
            break;
        case kMapFarEdge:
            d = 1.0;
            break;
        default:
            return CPoint(static_cast<int>(x), static_cast<int>(y));
    }
    return CPoint(Round((x + d + g.panX - m_imageWidth / 2.0) * g.scale) + g.clientWidth / 2,
                  Round((y + d + g.panY - m_imageHeight / 2.0) * g.scale) + g.clientHeight / 2);
}

CPoint CPanZoomView::ClientToImage(int x, int y, BOOL clamp) const {
    const Geometry g = GetGeometry();
    const double s = g.scale == 0.0 ? 1.0 : g.scale;
    CPoint p(Round((x - g.clientWidth / 2) / s + m_imageWidth / 2.0) - m_panX,
             Round((y - g.clientHeight / 2) / s + m_imageHeight / 2.0) - m_panY);
    if (clamp) {
        p.x = std::clamp(p.x, 0, std::max(m_imageWidth - 1, 0));
        p.y = std::clamp(p.y, 0, std::max(m_imageHeight - 1, 0));
    }
    return p;
}

double CPanZoomView::ClampZoom(double zoom) const {
    return std::clamp(zoom, LowestZoom(), kHighestZoom);
}

void CPanZoomView::ClampPan() {
    if (m_fitMode || m_zoom <= 0.0)
        return;
    // The window centre shows image point size/2 - pan and the window spans size/zoom image
    // pixels, so the pan may move the image half the hidden part either way. The same limit
    // holds in both directions: a one-sided limit would let the image leave the window on one
    // side while the other side could not reach its edge.
    const double hidden = (m_zoom - 1.0) / (2.0 * m_zoom);
    const int limitX = std::max(Round(m_imageWidth * hidden), 0);
    const int limitY = std::max(Round(m_imageHeight * hidden), 0);
    m_panX = std::clamp(m_panX, -limitX, limitX);
    m_panY = std::clamp(m_panY, -limitY, limitY);
}

void CPanZoomView::PanAround(CPoint start, CPoint p, CSize c, double oldZoom) {
    const double f = PanFactor() == 0.0 ? 1.0 : PanFactor();
    const double change = 1.0 / m_zoom - 1.0 / oldZoom;
    m_panX = start.x + Round((p.x - c.cx / 2.0) / f * change);
    m_panY = start.y + Round((p.y - c.cy / 2.0) / f * change);
    ClampPan();
}

void CPanZoomView::ZoomDragTo(CPoint point) {
    const double old = m_zoom;
    m_zoom = ClampZoom(m_dragStartZoom + (m_dragStart.y - point.y) * 0.01);
    CPoint client;
    GetClientSize(&client);
    PanAround(m_dragStartPan, m_dragStart, CSize(client.x, client.y), m_dragStartZoom);
    if (m_zoom != old)
        Redraw();
}

void CPanZoomView::PanDragTo(CPoint point) {
    const CPoint old(m_panX, m_panY);
    double perPixel = PanFactor() * m_zoom;
    if (perPixel == 0.0)
        perPixel = 1.0;
    m_panX = m_dragStartPan.x - static_cast<int>((m_dragStart.x - point.x) / perPixel);
    m_panY = m_dragStartPan.y - static_cast<int>((m_dragStart.y - point.y) / perPixel);
    ClampPan();
    if (CPoint(m_panX, m_panY) != old)
        Redraw();
}

void CPanZoomView::CentreSelectionOn(CPoint centre) {
    const int w = m_selection.right - m_selection.left;
    const int h = m_selection.bottom - m_selection.top;
    const int hw = (w - 1) / 2;
    const int hh = (h - 1) / 2;
    if (HasImage()) {
        if (centre.x - hw < 0)
            centre.x = w / 2;
        else if (centre.x + hw + 1 > m_imageWidth)
            centre.x = m_imageWidth - w / 2 - 1;
        if (centre.y - hh < 0)
            centre.y = h / 2;
        else if (centre.y + hh + 1 > m_imageHeight)
            centre.y = m_imageHeight - h / 2 - 1;
    }
    m_selectionCentre = centre;
    m_selection = CRect(centre.x - hw, centre.y - hh, centre.x + hw + 1, centre.y + hh + 1);
}

void CPanZoomView::SelectionDragTo(CPoint point) {
    const CPoint p = ClientToImage(point.x, point.y, TRUE);
    if (m_selectionState == 0) {
        CentreSelectionOn(p);
    } else if (m_selectionState == 2) {
        m_selection.right = p.x;
        m_selection.bottom = p.y;
        const int dx = m_selection.right - m_selection.left;
        const int dy = m_selection.bottom - m_selection.top;
        if (dx != 0 && dx % 2 == 0)
            m_selection.right -= dx > 0 ? 1 : -1;
        if (dy != 0 && dy % 2 == 0)
            m_selection.bottom -= dy > 0 ? 1 : -1;
    }
    Redraw();
}

void CPanZoomView::OnLButtonDown(UINT nFlags, CPoint point) {
    if (nFlags & MK_SHIFT) {
        const BOOL pan = (nFlags & MK_CONTROL) != 0;
        m_panMode = pan;
        m_zoomMode = !pan;
        m_modesByModifier = TRUE;
    }
    if (m_zoomMode || m_panMode) {
        m_dragStart = point;
        m_dragStartPan = CPoint(m_panX, m_panY);
        m_dragStartZoom = m_zoom;
        m_zoomDrag = m_zoomMode;
        m_panDrag = m_panMode;
        return;
    }
    if (m_reticleShown) {
        const CPoint p = ClientToImage(point.x, point.y, TRUE);
        SetReticlePosition(p.x, p.y);
        m_reticleDrag = TRUE;
        Redraw();
    } else if (m_selectionMode) {
        const CPoint p = ClientToImage(point.x, point.y, TRUE);
        switch (m_selectionState) {
            case 0:
                CentreSelectionOn(p);
                m_selectionDrag = TRUE;
                break;
            case 1:
                m_selection = CRect(p.x, p.y, p.x, p.y);
                m_selectionState = 2;
                m_selectionDrag = TRUE;
                break;
            default:
                m_selectionState = 1;
                m_selectionDrag = FALSE;
                break;
        }
        Redraw();
    }
}

void CPanZoomView::OnMouseMove(UINT, CPoint point) {
    if (m_zoomDrag) {
        ZoomDragTo(point);
    } else if (m_panDrag) {
        PanDragTo(point);
    } else if (m_reticleDrag) {
        const CPoint p = ClientToImage(point.x, point.y, TRUE);
        SetReticlePosition(p.x, p.y);
        Redraw();
    } else if (m_selectionDrag) {
        SelectionDragTo(point);
    }
}

void CPanZoomView::OnLButtonUp(UINT, CPoint point) {
    if (m_zoomMode || m_panMode) {
        if (m_zoomDrag)
            ZoomDragTo(point);
        else if (m_panDrag)
            PanDragTo(point);
        m_zoomDrag = FALSE;
        m_panDrag = FALSE;
        if (m_modesByModifier) {
            m_zoomMode = FALSE;
            m_panMode = FALSE;
            m_modesByModifier = FALSE;
        }
        return;
    }
    if (m_reticleDrag) {
        const CPoint p = ClientToImage(point.x, point.y, TRUE);
        SetReticlePosition(p.x, p.y);
        Redraw();
    } else if (m_selectionDrag && (m_selectionState == 1 || m_selectionState == 2)) {
        m_selection.NormalizeRect();
        const CPoint centre((m_selection.left + m_selection.right) / 2,
                            (m_selection.top + m_selection.bottom) / 2);
        CentreSelectionOn(centre);
        SetReticlePosition(m_selectionCentre.x, m_selectionCentre.y);
        OnSelectionComplete();
        Redraw();
    }
    m_reticleDrag = FALSE;
    m_selectionDrag = FALSE;
    m_selectionState = 0;
}

BOOL CPanZoomView::OnMouseWheel(UINT, short zDelta, CPoint pt) {
    CRect outer;
    GetWindowRect(&outer);
    const double old = m_zoom;
    const double step = 1.0 + std::abs(zDelta) / 400.0;
    const double zoom = zDelta > 0 ? m_zoom * step : zDelta < 0 ? m_zoom / step : m_zoom;
    m_zoom = ClampZoom(zoom);
    if (m_zoom != old) {
        PanAround(CPoint(m_panX, m_panY), CPoint(pt.x - outer.left, pt.y - outer.top),
                  CSize(outer.Width(), outer.Height()), old);
        Redraw();
    }
    return TRUE;
}

BOOL CPanZoomView::GetAvailableSize(CSize* size) const {
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->GetSafeHwnd() || main->IsIconic())
        return FALSE;
    CRect area;
    auto* mdi = dynamic_cast<CMDIFrameWnd*>(main);
    if (mdi && mdi->GetMDIClient() && mdi->GetMDIClient()->GetSafeHwnd())
        mdi->GetMDIClient()->GetClientRect(&area);
    else
        main->GetClientRect(&area);
    size->cx = area.Width() - m_frameBorderWidth;
    size->cy = area.Height() - m_frameBorderHeight;
    return size->cx > 0 && size->cy > 0;
}

void CPanZoomView::ResizeParentFrame(int width, int height, BOOL keepPosition) {
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetWindowPos(nullptr, 0, 0, width, height,
                            keepPosition ? kResizeInPlace : kResizeAtOrigin);
}

void CPanZoomView::FitInWindow() {
    m_zoom = 1.0;
    m_panX = 0;
    m_panY = 0;
    CSize area;
    if (!m_fitMode && HasImage() && GetAvailableSize(&area)) {
        const double r = std::max(static_cast<double>(m_imageWidth) / area.cx,
                                  static_cast<double>(m_imageHeight) / area.cy);
        const double scale = 1.0 / r;
        ResizeParentFrame(m_frameBorderWidth + Round(m_imageWidth * scale),
                          m_frameBorderHeight + Round(m_imageHeight * scale), FALSE);
    }
    Redraw();
}

void CPanZoomView::SetZoomPercent(int percent) {
    const double p = percent * 0.01;
    if (m_fitMode) {
        m_zoom = ClampZoom(p / (m_fitFactor == 0.0 ? 1.0 : m_fitFactor));
        m_panX = 0;
        m_panY = 0;
        Redraw();
        return;
    }
    CSize area;
    if (!HasImage() || p <= 0.0 || !GetAvailableSize(&area))
        return;
    const int wantedWidth = Round(m_imageWidth * p);
    const int wantedHeight = Round(m_imageHeight * p);
    const double r = std::max(static_cast<double>(wantedWidth) / area.cx,
                              static_cast<double>(wantedHeight) / area.cy);
    if (r <= 1.0) {
        m_zoom = 1.0;
        m_panX = 0;
        m_panY = 0;
        ResizeParentFrame(m_frameBorderWidth + wantedWidth, m_frameBorderHeight + wantedHeight,
                          TRUE);
    } else {
        // The client centre shows image point size/2 - pan whatever the scale, so the pan
        // only needs the new zoom's limits.
        m_zoom = ClampZoom(r);
        ResizeParentFrame(m_frameBorderWidth + Round(wantedWidth / r),
                          m_frameBorderHeight + Round(wantedHeight / r), FALSE);
        ClampPan();
    }
    Redraw();
}

void CPanZoomView::AppendViewMenu(CMenu* pMenu) {
    if (!pMenu)
        return;
    auto checked = [](BOOL on) { return MF_STRING | (on ? MF_CHECKED : 0u); };
    pMenu->AppendMenu(MF_STRING, kViewActual, "View Actual");
    pMenu->AppendMenu(MF_STRING, kFitInWindow, "Fit In Window");
    pMenu->AppendMenu(MF_SEPARATOR);
    pMenu->AppendMenu(checked(m_panMode), kPanMode, "Pan Mode");
    pMenu->AppendMenu(checked(m_zoomMode), kZoomMode, "Zoom Mode");
    pMenu->AppendMenu(MF_SEPARATOR);
    pMenu->AppendMenu(checked(m_reticleShown), kShowReticle, "Show Reticle");
    pMenu->AppendMenu(checked(m_rulersShown), kShowRulers, "Show Rulers");
    pMenu->AppendMenu(MF_SEPARATOR);

    struct CornerItem {
        UINT offset;
        int corner;
        const char* text;
    };
    static constexpr CornerItem kCorners[] = {{0, kUpperLeft, "Upper-Left"},
                                              {1, kUpperRight, "Upper-Right"},
                                              {2, kLowerLeft, "Lower-Left"},
                                              {3, kLowerRight, "Lower-Right"},
                                              {4, kHidden, "Hide"}};
    auto appendCorners = [&](UINT firstId, int current, const char* title) {
        CMenu sub;
        sub.CreatePopupMenu();
        for (const CornerItem& item : kCorners)
            sub.AppendMenu(checked(item.corner == current), firstId + item.offset, item.text);
        pMenu->AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(&sub), title);
    };
    appendCorners(kInfoUpperLeft, m_infoCorner, "Show Information");
    appendCorners(kZoomBoxUpperLeft, m_zoomBoxCorner, "Show Zoom Box");
}

BOOL CPanZoomView::GetReadout(IImageReadout::Value value, CSize* size) const {
    if (!size || !HasImage())
        return FALSE;
    const double s = GetScale();
    const int w = Round(m_imageWidth * s);
    const int h = Round(w / (static_cast<double>(m_imageWidth) / m_imageHeight));
    switch (value) {
        case IImageReadout::kReticlePosition:
            if (!m_reticleShown)
                return FALSE;
            *size = CSize(m_reticle.x, m_reticle.y);
            return TRUE;
        case IImageReadout::kVisibleRegion: {
            CPoint client;
            GetClientSize(&client);
            *size = CSize(std::min(m_imageWidth, static_cast<int>(client.x / s)),
                          std::min(m_imageHeight, static_cast<int>(client.y / s)));
            return TRUE;
        }
        case IImageReadout::kImageSize:
            *size = CSize(m_imageWidth, m_imageHeight);
            return TRUE;
        case IImageReadout::kZoomedSize:
            *size = CSize(w, h);
            return TRUE;
    }
    return FALSE;
}

void CPanZoomView::OnViewActual() {
    SetZoomPercent(100);
}

void CPanZoomView::OnFitInWindow() {
    FitInWindow();
}

void CPanZoomView::OnPanMode() {
    m_panMode = !m_panMode;
    m_zoomMode = FALSE;
    m_zoomDrag = FALSE;
    m_panDrag = FALSE;
    Redraw();
}

void CPanZoomView::OnZoomMode() {
    m_zoomMode = !m_zoomMode;
    m_panMode = FALSE;
    m_zoomDrag = FALSE;
    m_panDrag = FALSE;
    Redraw();
}

void CPanZoomView::OnShowReticle() {
    ShowReticle(!m_reticleShown);
    Redraw();
}

void CPanZoomView::OnShowRulers() {
    ShowRulers(!m_rulersShown);
    Redraw();
}

namespace {

// Menu order of the corner commands: upper-left, upper-right, lower-left, lower-right, hide.
int CornerOfCommand(UINT offset) {
    static constexpr int kCornerByOffset[] = {CPanZoomView::kUpperLeft, CPanZoomView::kUpperRight,
                                              CPanZoomView::kLowerLeft, CPanZoomView::kLowerRight,
                                              CPanZoomView::kHidden};
    return offset < 5 ? kCornerByOffset[offset] : CPanZoomView::kHidden;
}

}  // namespace

void CPanZoomView::OnInfoCorner(UINT nID) {
    m_infoCorner = CornerOfCommand(nID - kInfoUpperLeft);
    Redraw();
}

void CPanZoomView::OnZoomBoxCorner(UINT nID) {
    m_zoomBoxCorner = CornerOfCommand(nID - kZoomBoxUpperLeft);
    Redraw();
}

void CPanZoomView::OnUpdateInfoCorner(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(CornerOfCommand(pCmdUI->m_nID - kInfoUpperLeft) == m_infoCorner ? 1 : 0);
}

void CPanZoomView::OnUpdateZoomBoxCorner(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(CornerOfCommand(pCmdUI->m_nID - kZoomBoxUpperLeft) == m_zoomBoxCorner ? 1 : 0);
}

void CPanZoomView::OnUpdatePanMode(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_panMode ? 1 : 0);
}

void CPanZoomView::OnUpdateZoomMode(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_zoomMode ? 1 : 0);
}

void CPanZoomView::OnUpdateShowReticle(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_reticleShown ? 1 : 0);
}

void CPanZoomView::OnUpdateShowRulers(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_rulersShown ? 1 : 0);
}

void CPanZoomView::DrawReticle(CDC* pDC) {
    if (!pDC || !m_reticleShown)
        return;
    const Geometry g = GetGeometry();
    const CPoint at = ImageToClient(m_reticle.x, m_reticle.y, kMapCentre, g);
    XorPen pen(pDC, kReticleColour);
    pen.Line(0, at.y, g.clientWidth, at.y);
    pen.Line(at.x, 0, at.x, g.clientHeight);
}

void CPanZoomView::DrawSelection(CDC* pDC) {
    if (!pDC || !m_selectionMode)
        return;
    const Geometry g = GetGeometry();
    const CPoint a = ImageToClient(m_selection.left, m_selection.top, kMapCorner, g);
    const CPoint b = ImageToClient(m_selection.right, m_selection.bottom, kMapCorner, g);
    XorPen pen(pDC, kSelectionColour);
    pen.Outline(CRect(a.x, a.y, b.x, b.y));
}

void CPanZoomView::DrawZoomBox(CDC* pDC) {
    if (!pDC || m_zoomBoxCorner == kHidden || !HasImage())
        return;
    const Geometry g = GetGeometry();
    const double s = g.scale == 0.0 ? 1.0 : g.scale;
    const CPoint offset = GetImageOffset();
    if (m_fitMode) {
        if (offset.x >= 0 && offset.y >= 0 &&
            m_imageWidth + offset.x <= static_cast<int>(std::trunc(g.clientWidth / s)) &&
            m_imageHeight + offset.y <= static_cast<int>(std::trunc(g.clientHeight / s)))
            return;
    } else if (m_zoom <= 1.0) {
        return;
    }
    const int boxHeight = std::min(g.clientHeight / 10, 50);
    const int boxWidth = Round(boxHeight * static_cast<double>(m_imageWidth) / m_imageHeight);
    if (boxHeight <= 0 || boxWidth <= 0)
        return;
    const int margin = m_fitMode ? 20 : 5;
    const bool right = m_zoomBoxCorner == kUpperRight || m_zoomBoxCorner == kLowerRight;
    const bool bottom = m_zoomBoxCorner == kLowerRight || m_zoomBoxCorner == kLowerLeft;
    const int left = right ? g.clientWidth - margin - boxWidth : margin;
    const int top = bottom ? g.clientHeight - margin - boxHeight : margin;
    const CRect box(left, top, left + boxWidth, top + boxHeight);

    XorPen pen(pDC, kZoomBoxColour);
    pen.Brackets(box);
    CRect outer = box;
    outer.InflateRect(2, 2);
    pen.Brackets(outer);

    // The visible part of the image at the box's scale; the offset is the negated image
    // point at the client's corner.
    const double k = static_cast<double>(boxHeight) / m_imageHeight;
    CRect visible(box.left + Round(-offset.x * k), box.top + Round(-offset.y * k), 0, 0);
    visible.right = visible.left + Round(g.clientWidth / s * k);
    visible.bottom = visible.top + Round(g.clientHeight / s * k);
    visible.IntersectRect(visible, box);
    if (!visible.IsRectEmpty())
        pen.Outline(visible);
}

void CPanZoomView::DrawRulers(CDC* pDC) {
    if (!pDC || !m_rulersShown)
        return;
    const Geometry g = GetGeometry();
    const int cw = g.clientWidth;
    const int ch = g.clientHeight;
    {
        XorPen pen(pDC, kRulerColour);
        pen.Outline(CRect(0, 0, cw - 1, ch - 1));
        for (int column = 0; column < m_imageWidth + kRulerStep; column += kRulerStep) {
            const int x = ImageToClient(column, 0, kMapCentre, g).x;
            const int length = column % 100 == 0 ? 10 : 7;
            pen.Line(x, 0, x, length);
            pen.Line(x, ch - 1, x, ch - 1 - length);
        }
        for (int row = 0; row < m_imageHeight + kRulerStep; row += kRulerStep) {
            const int y = ImageToClient(0, row, kMapCentre, g).y;
            const int length = row % 100 == 0 ? 10 : 7;
            pen.Line(0, y, length, y);
            pen.Line(cw - 1, y, cw - 1 - length, y);
        }
    }

    const COLORREF oldColour = pDC->SetTextColor(kRulerTextColour);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    CFont across;
    across.CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    CFont* oldFont = pDC->SelectObject(&across);
    for (int column = 0; column < m_imageWidth + kRulerStep; column += 100) {
        const int x = ImageToClient(column, 0, kMapCentre, g).x;
        CRect label(x + 3, 2, x + 100, 20);
        pDC->DrawText(QString::number(column), &label, DT_SINGLELINE);
    }
    CFont down;
    down.CreateFont(10, 0, 900, 900, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    pDC->SelectObject(&down);
    for (int row = 0; row < m_imageHeight + kRulerStep; row += 100) {
        const int y = ImageToClient(0, row, kMapCentre, g).y;
        CRect label(2, y + 3, 20, y + 100);
        pDC->DrawText(QString::number(row), &label, DT_SINGLELINE);
    }
    pDC->SelectObject(oldFont);
    pDC->SetBkMode(oldMode);
    pDC->SetTextColor(oldColour);
}
