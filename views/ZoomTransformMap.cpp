#include "views/ZoomTransformMap.h"

#include "views/IStreamDisplay.h"
#include "views/ZoomTransform.h"

HRESULT CZoomTransformMap::OfStreamDisplay(IStreamDisplay* view, IImageToWindowMap** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    CZoomTransform* transform = nullptr;
    if (!view || view->GetZoomTransform(&transform) != S_OK || !transform)
        return E_FAIL;
    *out = new CZoomTransformMap(transform);
    return S_OK;
}

void CZoomTransformMap::ImageToWindow(double x, double y, double* windowX, double* windowY) {
    m_transform->ImageToWindowExact(x, y, CZoomTransform::kCorner, windowX, windowY);
}

void CZoomTransformMap::ReleaseMap() {
    m_transform->Release();
    delete this;
}
