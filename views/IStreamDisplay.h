#pragma once

// IStreamDisplay: what the region and analysis tools ask of a video view about the stream
// window that shows its frames: region selection, the reticle and the image-to-window mapping.
// Every operation answers E_FAIL while the view has no stream window.

#include "platform/wintypes/WinError.h"

class CZoomTransform;

class IStreamDisplay {
public:
    // Starts or ends a region selection (ending pan and zoom modes).
    virtual HRESULT SetSelectionMode(bool on) = 0;
    // E_POINTER for a null out.
    virtual HRESULT GetSelectionMode(bool* on) = 0;
    virtual HRESULT ShowReticle(bool show) = 0;
    // E_POINTER for a null out.
    virtual HRESULT IsReticleShown(bool* shown) = 0;
    // The reticle in image pixels; E_POINTER for a null out or while the reticle is hidden.
    virtual HRESULT GetReticlePosition(double* x, double* y) = 0;
    // The selection in image pixels (left, top, right, bottom), all 0.0 without a selection;
    // E_POINTER for a null out.
    virtual HRESULT GetSelection(double* left, double* top, double* right, double* bottom) = 0;
    // A new transform holding one reference for the caller (who releases it), filled with the
    // stream window's pan, scale, client size and image size. E_POINTER for a null out.
    virtual HRESULT GetZoomTransform(CZoomTransform** out) = 0;

protected:
    ~IStreamDisplay() = default;
};
