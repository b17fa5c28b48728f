#pragma once

// CCoordAxesOverlay: draws a calibration's coordinate system over a frame: the origin, the x
// axis towards the positive-x point, the y axis at right angles on the side the coordinate
// nature selects, arrow heads, the letters "x" and "y", and the two scale points, in the
// display styles of the calibration settings.

#include "frames/IOverlayDraw.h"
#include "platform/wintypes/WinError.h"
#include "views/DrawingOverlayListener.h"

class CAnalysisSettings;
class IImageSizeSource;
class IStreamDisplay;

class CCoordAxesOverlay : public IOverlayDraw {
public:
    CCoordAxesOverlay();
    ~CCoordAxesOverlay() = default;
    CCoordAxesOverlay(const CCoordAxesOverlay&) = delete;
    CCoordAxesOverlay& operator=(const CCoordAxesOverlay&) = delete;

    // E_POINTER for a null out.
    HRESULT GetListener(CDrawingOverlayListener** out);
    // Borrowed pointers.
    HRESULT SetSizeSource(IImageSizeSource* source);
    HRESULT SetCalibration(CAnalysisSettings* settings);
    HRESULT SetDisplayHost(IStreamDisplay* host);
    // Repaints the view it is attached to.
    HRESULT SetVisible(BYTE visible);
    HRESULT GetVisible(BYTE* out) const;

    // E_POINTER without display host; nothing drawn while hidden or without calibration or size.
    HRESULT Draw(CDC* dc, const CRect& area) override;

private:
    BYTE m_visible = 0;
    CAnalysisSettings* m_settings = nullptr;
    IImageSizeSource* m_sizeSource = nullptr;
    IStreamDisplay* m_host = nullptr;
    CDrawingOverlayListener m_listener;
};
