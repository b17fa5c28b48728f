#pragma once

// CPZView: a view that knows how a frame is zoomed and panned inside a window and turns mouse
// input into zoom, pan and reticle changes. It draws nothing itself. As the invisible
// companion of a stream window it has no window of its own: the owner copies its zoom state in
// (SetTransform) before each mouse call, calls the mouse handlers directly, names itself as
// the redraw target and reads back the display choices (reticle, rulers, corners).
// Without an image (width or height 0) no zoom arithmetic runs and nothing is resized.

#include "platform/framework/View.h"
#include "platform/wintypes/Point.h"
#include "views/ZoomTransform.h"

class CCmdUI;

class CPZView : public CView {
    DECLARE_DYNCREATE(CPZView)
    DECLARE_MESSAGE_MAP()

public:
    // Posted (no parameters) to the parent of the parent frame when the reticle moves.
    static constexpr UINT kReticleMovedMessage = 1624;

    CPZView();
    ~CPZView() override;

    void OnDraw(CDC* pDC) override;

    // Stores the reticle point (image pixels) and, with a window, tells the frame's host.
    virtual void SetReticlePoint(int x, int y);
    // Reserved for views built on this one; does nothing here.
    virtual void OnSelectionComplete();

    // Takes offset, scale, window size and image size of the owner's transform; the scale
    // becomes the base factor. Null changes nothing.
    void SetTransform(const CZoomTransform* pTransform);
    const CZoomTransform& GetTransform() const { return m_transform; }
    BOOL GetReticlePoint(CPoint* point) const;
    // The window redrawn in this view's place while it has none; returns the previous.
    CWnd* SetRedrawTarget(CWnd* pTarget);
    void Redraw();

    // Window point to image pixel. With every argument left at -1 the view's own state applies
    // (offsets, effective scale, client size or else the transform's window size). Otherwise
    // offsets (-1, -1) and scale -1.0 still mean the view's own; a scale of 0 counts as 1; with a
    // window size the mapping is centred, without one anchored at the corner.
    void WindowToImage(CPoint* out, int x, int y, int offsetX = -1, int offsetY = -1,
                       double scale = -1.0, int windowWidth = -1, int windowHeight = -1,
                       BOOL clamp = FALSE) const;
    // The same in floats. In the default form the window size comes from the transform. In
    // any other form *x and *y come in as offsets subtracted before truncation.
    void WindowToImageF(double wx, double wy, double* x, double* y, int offsetX = -1,
                        int offsetY = -1, double scale = -1.0, int windowWidth = -1,
                        int windowHeight = -1, BOOL clamp = FALSE) const;

    // Called by the owner for the companion, or by messages for a view with a window.
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

    void SetZoomPercent(int percent);
    void FitInWindow();

    double GetZoom() const { return m_zoom; }
    double GetBaseFactor() const { return m_baseFactor; }
    // Zoom times base factor (when used): window pixels per image pixel.
    double GetEffectiveScale() const;
    CPoint GetOffset() const { return CPoint(m_offsetX, m_offsetY); }
    BOOL IsZoomMode() const { return m_zoomMode; }
    BOOL IsPanMode() const { return m_panMode; }
    BOOL IsReticleShown() const { return m_reticleShown; }
    BOOL IsReticleActive() const { return m_reticleActive; }
    BOOL AreRulersShown() const { return m_rulersShown; }
    int GetInfoCorner() const { return m_infoCorner; }
    int GetZoomBoxCorner() const { return m_zoomBoxCorner; }

protected:
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

    CZoomTransform m_transform;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    BOOL m_freeZoom = FALSE;
    double m_zoom = 1.0;
    double m_baseFactor = 1.0;
    BOOL m_useBaseFactor = TRUE;
    int m_offsetX = 0;
    int m_offsetY = 0;
    BOOL m_zoomMode = FALSE;
    BOOL m_zoomDrag = FALSE;
    BOOL m_panMode = FALSE;
    BOOL m_panDrag = FALSE;
    CPoint m_anchor;
    CPoint m_pressOffset;
    double m_pressZoom = 1.0;
    BOOL m_temporaryMode = FALSE;
    BOOL m_reticleActive = FALSE;
    BOOL m_reticleShown = FALSE;
    CPoint m_reticle;
    BOOL m_rulersShown = FALSE;
    int m_infoCorner = 0;
    int m_zoomBoxCorner = 1;
    CWnd* m_pRedrawTarget = nullptr;

private:
    bool HasImage() const { return m_imageWidth > 0 && m_imageHeight > 0; }
    // The base factor as a divisor: an unset or zero factor counts as 1.
    double Base() const;
    double ClampZoom(double zoom) const;
    void ClampOffsets();
    // Offsets that keep the image point under the anchor in place when the zoom went from
    // oldZoom to the current one, in a window of that size.
    void OffsetsAround(CPoint anchor, double width, double height, double oldZoom);
    bool DragTo(CPoint point);
    void MoveReticleTo(CPoint point);
    BOOL GetAvailableSize(CSize* size) const;
    void ResizeParentFrame(int width, int height, BOOL keepPosition);
};
