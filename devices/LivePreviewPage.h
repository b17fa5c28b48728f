#pragma once

// CLivePreviewPage: the capture wizard's second page. While it shows, both cameras' live
// pictures are drawn ten times a second into their previews, each fitted to its preview and
// zoomed and panned on its own: the +/- buttons zoom, dragging pans, a double click centres.

#include "devices/WizardPage.h"
#include "frames/FrameImage.h"
#include "platform/wintypes/ColorRef.h"
#include "platform/wintypes/Point.h"
#include "platform/wintypes/Rect.h"

#include <functional>
#include <memory>

class CDC;

class CLivePreviewPage : public CWizardPage {
    DECLARE_DYNAMIC(CLivePreviewPage)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT IDD = 30091;
    enum Control : int {
        kMessage = 2193,
        kPreview1 = 2200,
        kPreview2 = 2201,
        kZoomOut1 = 1002,
        kZoomIn1 = 1004,
        kZoomIn2 = 1005,
        kZoomOut2 = 1006,
    };
    static constexpr UINT_PTR kPreviewTimer = 1125;
    static constexpr UINT kPreviewPeriodMs = 100;
    static constexpr COLORREF kBackground = RGB(64, 64, 64);
    static constexpr int kCameras = 2;

    // Fills the image with the current frame of camera 0 or 1: TRUE, or FALSE when there is none.
    using FrameReader = std::function<BOOL(int camera, CFrameImage* image)>;

    CLivePreviewPage();
    ~CLivePreviewPage() override;

    void SetFrameReader(FrameReader reader) { m_reader = std::move(reader); }

    int OnWizardNext() override;
    int OnWizardCancel() override;
    int UpdateNextButton(CWnd* button) override { return Enable(button); }
    int UpdateBackButton(CWnd* button) override { return Enable(button); }
    int UpdateFinishButton(CWnd* button) override { return Disable(button); }
    int UpdateCancelButton(CWnd* button) override { return Enable(button); }
    void OnShowPage(BOOL show) override;

    // One tick of the previews: each camera's current frame into its preview.
    void OnTimer(UINT_PTR nIDEvent);
    // Zoom of camera 0 or 1: out by 0.8 down to 1.0, in by 1.25 while below 20.
    void ZoomOut(int camera);
    void ZoomIn(int camera);
    double GetZoom(int camera) const { return m_zoom[camera]; }
    void SetZoom(int camera, double zoom) { m_zoom[camera] = zoom; }
    CPoint GetPan(int camera) const { return m_pan[camera]; }

    // Draws camera c's last frame into a preview of that client rectangle: the frame fitted,
    // zoomed and panned, the rest of the preview grey.
    void DrawPreview(int camera, CDC* dc, const CRect& client);
    // The preview of camera 0 or 1 in page coordinates.
    CRect GetPreviewRect(int camera) const;

protected:
    BOOL OnInitDialog() override;
    void OnZoomOut1() { ZoomOut(0); }
    void OnZoomIn1() { ZoomIn(0); }
    void OnZoomOut2() { ZoomOut(1); }
    void OnZoomIn2() { ZoomIn(1); }
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);

private:
    void StopPreview();
    void Redraw(int camera);
    void DragTo(CPoint point);

    FrameReader m_reader;
    std::unique_ptr<CWnd> m_previews[kCameras];
    CFrameImage m_images[kCameras];
    bool m_haveImage[kCameras] = {false, false};
    double m_zoom[kCameras] = {1.0, 1.0};
    // The scale of the last drawing, image pixels to preview pixels.
    double m_scale[kCameras] = {1.0, 1.0};
    CPoint m_pan[kCameras];
    int m_dragging = -1;
    CPoint m_pressPoint;
    CPoint m_pressPan;
};
