#pragma once

// CPanZoomView: a view that shows one image of a known size scaled into its client area and
// lets the user zoom, pan, place a reticle, select a region and show rulers and a zoom box.
// It holds no pixels: a subclass paints the image and calls the geometry and overlay helpers
// here. Overlay line work uses R2_XORPEN, so drawing the same overlay twice erases it; the
// painters draw into the device context they are given, normally the subclass's memory image.
// Without an image (width or height 0) there is no scale arithmetic: the scale stays 1 and
// nothing is resized.

#include "platform/framework/View.h"
#include "platform/wintypes/Point.h"
#include "platform/wintypes/Rect.h"
#include "platform/wintypes/Size.h"
#include "shell/IImageReadout.h"

class CCmdUI;
class CMenu;

class CPanZoomView : public CView {
    DECLARE_DYNCREATE(CPanZoomView)
    DECLARE_MESSAGE_MAP()

public:
    // Posted (no parameters) to the parent of the parent frame when the reticle moves.
    static constexpr UINT kReticleMovedMessage = 1624;

    enum Command : UINT {
        kViewActual = 32775,
        kFitInWindow = 32776,
        kPanMode = 32777,
        kZoomMode = 32778,
        kShowReticle = 32779,
        kShowRulers = 32780,
        kInfoUpperLeft = 32781,
        kInfoUpperRight = 32782,
        kInfoLowerLeft = 32783,
        kInfoLowerRight = 32784,
        kInfoHide = 32785,
        kZoomBoxUpperLeft = 32786,
        kZoomBoxUpperRight = 32787,
        kZoomBoxLowerLeft = 32788,
        kZoomBoxLowerRight = 32789,
        kZoomBoxHide = 32790,
    };
    // Corner numbering of the information box and the zoom box.
    enum Corner { kHidden = -1, kUpperLeft = 0, kUpperRight = 1, kLowerRight = 2, kLowerLeft = 3 };
    // Where in an image pixel ImageToClient lands: its corner, its centre or its far edge.
    enum MapMode { kMapCorner = 0, kMapCentre = 1, kMapFarEdge = 2 };

    // The values a mapping works with; callers may substitute their own.
    struct Geometry {
        double panX = 0.0;
        double panY = 0.0;
        double scale = 1.0;
        int clientWidth = 0;
        int clientHeight = 0;
    };

    CPanZoomView();
    ~CPanZoomView() override;

    void OnDraw(CDC* pDC) override;

    // Stores the reticle position (image pixels) and tells the window that hosts the frame.
    virtual void SetReticlePosition(int x, int y);
    // A region selection was completed; the reticle already sits at its centre.
    virtual void OnSelectionComplete();
    // The window redrawn in this one's place while this one is hidden; returns the previous.
    virtual CWnd* SetRedrawTarget(CWnd* pTarget);

    // Set by the subclass when it shows a frame.
    void SetImageSize(int width, int height);
    // Width and height the parent frame adds around the client area.
    void SetFrameBorder(int width, int height);
    void SetFitMode(BOOL fit);
    BOOL GetFitMode() const { return m_fitMode; }
    void SetUseFitFactor(BOOL use) { m_useFitFactor = use; }

    void Redraw();
    void SetInfoCorner(int corner);
    int GetInfoCorner() const { return m_infoCorner; }
    int GetZoomBoxCorner() const { return m_zoomBoxCorner; }
    void ShowRulers(BOOL show);
    void ShowReticle(BOOL show);
    BOOL IsReticleShown() const { return m_reticleShown; }
    // FALSE while the reticle is hidden.
    BOOL GetReticlePosition(CPoint* point) const;
    BOOL AreRulersShown() const { return m_rulersShown; }
    BOOL IsPanMode() const { return m_panMode; }
    BOOL IsZoomMode() const { return m_zoomMode; }
    // Starts (non-zero) or ends a region selection; ends pan and zoom modes.
    void BeginRegionSelection(BOOL selecting);
    // The selection in image pixels (right and bottom excluded); FALSE unless selecting.
    BOOL GetSelection(CRect* rect) const;
    // Window pixels per image pixel.
    double GetScale() const;
    double GetZoom() const { return m_zoom; }
    double GetFitFactor() const { return m_fitFactor; }
    void GetPan(CPoint* pan) const;
    void GetImageSize(CPoint* size) const;
    void GetClientSize(CPoint* size) const;
    // The negated image pixel shown at the client's upper-left corner.
    CPoint GetImageOffset() const;
    void AppendViewMenu(CMenu* pMenu);
    // The status panes' values as the last paint left the view: the reticle position (while
    // shown), the part of the image inside the client area, the image size and the size the
    // image is drawn at. FALSE without an image.
    BOOL GetReadout(IImageReadout::Value value, CSize* size) const;
    void FitInWindow();
    void SetZoomPercent(int percent);

    // Recomputes the fit factor and stretch for a client area and returns where the image is
    // displayed in it; called at every paint. Empty without an image or client area.
    CRect UpdateDisplayRect(const CRect& client);
    Geometry GetGeometry() const;
    // Image pixel to client pixel; a mode other than 0..2 returns the point unchanged.
    CPoint ImageToClient(double x, double y, int mode) const;
    CPoint ImageToClient(double x, double y, int mode, const Geometry& geometry) const;
    // Client pixel to image pixel, limited to the image when clamp is set.
    CPoint ClientToImage(int x, int y, BOOL clamp) const;

    // Overlay painters; each leaves the device context's selections as it found them.
    void DrawReticle(CDC* pDC);
    void DrawSelection(CDC* pDC);
    void DrawZoomBox(CDC* pDC);
    void DrawRulers(CDC* pDC);

protected:
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnViewActual();
    void OnFitInWindow();
    void OnPanMode();
    void OnZoomMode();
    void OnShowReticle();
    void OnShowRulers();
    void OnInfoCorner(UINT nID);
    void OnZoomBoxCorner(UINT nID);
    void OnUpdatePanMode(CCmdUI* pCmdUI);
    void OnUpdateZoomMode(CCmdUI* pCmdUI);
    void OnUpdateShowReticle(CCmdUI* pCmdUI);
    void OnUpdateShowRulers(CCmdUI* pCmdUI);
    void OnUpdateInfoCorner(CCmdUI* pCmdUI);
    void OnUpdateZoomBoxCorner(CCmdUI* pCmdUI);

    int m_imageWidth = 0;
    int m_imageHeight = 0;
    int m_frameBorderWidth = 0;
    int m_frameBorderHeight = 0;
    BOOL m_fitMode = FALSE;
    double m_zoom = 1.0;
    double m_fitFactor = 1.0;
    BOOL m_useFitFactor = TRUE;
    int m_panX = 0;
    int m_panY = 0;
    double m_stretchX = 1.0;
    double m_stretchY = 1.0;
    BOOL m_zoomMode = FALSE;
    BOOL m_zoomDrag = FALSE;
    BOOL m_panMode = FALSE;
    BOOL m_panDrag = FALSE;
    CPoint m_dragStart;
    CPoint m_dragStartPan;
    double m_dragStartZoom = 1.0;
    BOOL m_modesByModifier = FALSE;
    int m_zoomBoxCorner = kUpperRight;
    int m_infoCorner = kUpperLeft;
    BOOL m_reticleShown = FALSE;
    BOOL m_reticleDrag = FALSE;
    CPoint m_reticle;
    BOOL m_selectionMode = FALSE;
    int m_selectionState = 0;
    CPoint m_selectionCentre;
    CRect m_selection;
    BOOL m_selectionDrag = FALSE;
    BOOL m_rulersShown = FALSE;
    CWnd* m_pRedrawTarget = nullptr;

private:
    bool HasImage() const { return m_imageWidth > 0 && m_imageHeight > 0; }
    double LowestZoom() const { return m_fitMode ? 0.1 : 1.0; }
    double ClampZoom(double zoom) const;
    // Divisor that turns window pixels into image pixels at zoom 1.
    double PanFactor() const { return m_useFitFactor ? m_fitFactor : 1.0; }
    void ClampPan();
    // Pan that keeps the image point under p (window pixels, in an area of size c) in place
    // when the zoom goes from oldZoom to the current zoom.
    void PanAround(CPoint start, CPoint p, CSize c, double oldZoom);
    void ZoomDragTo(CPoint point);
    void PanDragTo(CPoint point);
    void SelectionDragTo(CPoint point);
    void CentreSelectionOn(CPoint centre);
    // The area Fit In Window and View Actual may fill: the main window's client area less the
    // frame border; FALSE when there is none (no main window, minimised, empty).
    BOOL GetAvailableSize(CSize* size) const;
    void ResizeParentFrame(int width, int height, BOOL keepPosition);
};
