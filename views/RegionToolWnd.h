#pragma once

// CRegionToolWnd: a window object that holds a region rectangle over a video view and the
// region frame source that shows the rectangle cut out of the view's frames. It draws the
// rectangle on the view in cyan through an overlay listener of the view.

#include "frames/FrameSourcePtr.h"
#include "frames/IOverlayDraw.h"
#include "frames/IRegion.h"
#include "platform/framework/Wnd.h"
#include "views/DrawingOverlayListener.h"

class COverlayHost;
class CRegionFrameSource;
class IStreamDisplay;

class CRegionToolWnd : public CWnd, public IRegionRect, public IOverlayDraw {
public:
    CRegionToolWnd();
    // Gives the source up (one still shown elsewhere keeps the last rectangle) and takes the
    // listener out of the view's overlays.
    ~CRegionToolWnd() override;

    // The video view the region lies on (not owned; null: none).
    HRESULT SetHost(IStreamDisplay* host);
    // A region frame source over inner that cuts out this window's rectangle.
    HRESULT CreateRegionSource(const CFrameSourcePtr& inner);
    // The view's overlays (not owned): this window's listener joins them.
    HRESULT SetListener(COverlayHost* listener);
    HRESULT GetSource(CFrameSourcePtr* out);
    // Stored as given; the view is redrawn unless windows follow the region source already.
    HRESULT SetRect(int left, int top, int right, int bottom);
    HRESULT GetRect(int out[4]) override;
    // Turns region selection on the host view on or off: the host's answer; E_FAIL without a
    // host.
    HRESULT Open(bool select);

    // The outline in cyan, one pixel wide, mapped through the host's current zoom; E_POINTER
    // without a host.
    HRESULT Draw(CDC* dc, const CRect& area) override;

    CDrawingOverlayListener& GetOverlayListener() { return m_overlay; }

private:
    void LeaveOverlays();

    IStreamDisplay* m_host = nullptr;
    COverlayHost* m_listener = nullptr;
    CDrawingOverlayListener m_overlay;
    int m_left = 10;
    int m_top = 10;
    int m_right = 20;
    int m_bottom = 20;
    CFrameSourcePtr m_source;
    // m_source when this window made it: it asks the window for its rectangle.
    CRegionFrameSource* m_regionSource = nullptr;
};
