#pragma once

// IPositionSource: what the calibration and the feature set ask of a video view's picking
// tool: its reticle (the picked position) and the region the user drew, and switching the tool.
// Operations return status codes; a non-zero result is a failure.

#include "platform/wintypes/WinError.h"

class IPositionSource {
public:
    // Drops what the tool holds (value 0).
    virtual HRESULT Reset(int value) = 0;
    // Switches the tool (the reticle) on or off.
    virtual HRESULT Switch(int on) = 0;
    virtual HRESULT IsActive(bool* active) = 0;
    // The reticle's position in image pixels.
    virtual HRESULT GetPickedPosition(double* x, double* y) = 0;
    // The drawn region in image pixels; all zero when there is none.
    virtual HRESULT GetDrawnRegion(double* left, double* top, double* right, double* bottom) = 0;

protected:
    ~IPositionSource() = default;
};

// IImageSizeSource: the size of the video image a calibration belongs to.
class IImageSizeSource {
public:
    virtual HRESULT GetSize(int* width, int* height) = 0;

protected:
    ~IImageSizeSource() = default;
};
