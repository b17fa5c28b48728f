#pragma once

// CZoomTransformMap: the image-to-window map over one zoom transform of a video view's stream
// window, for the frame layer's objects that draw over the view.

#include "frames/IImageToWindowMap.h"

class CZoomTransform;
class IStreamDisplay;

class CZoomTransformMap final : public IImageToWindowMap {
public:
    // A map for the current zoom of view (the caller releases it): S_OK, E_FAIL without a view
    // or a stream window, E_POINTER for a null out.
    static HRESULT OfStreamDisplay(IStreamDisplay* view, IImageToWindowMap** out);

    // Image pixel corners to window pixels.
    void ImageToWindow(double x, double y, double* windowX, double* windowY) override;
    // Gives the transform back and deletes the map.
    void ReleaseMap() override;

private:
    // transform: one reference, handed over.
    explicit CZoomTransformMap(CZoomTransform* transform) : m_transform(transform) {}
    ~CZoomTransformMap() = default;

    CZoomTransform* m_transform;
};
