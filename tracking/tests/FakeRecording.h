#pragma once

// CFakeRecording: a recording and the picking tool of its view that answer as a test sets them:
// the image size, the frame count, the current frame (moves to a frame are counted), the picked
// position and the drawn region. Its display settings cannot be read unless a test says so, and
// it has no way into its frames unless a test gives one.
// CFakeStreamView: the same recording shown unzoomed in a stream window whose reticle stands at
// the picked position, without a selection.

#include "platform/wintypes/Rect.h"
#include "tracking/IPositionSource.h"
#include "tracking/ITrackFrameSource.h"
#include "views/IStreamDisplay.h"
#include "views/ZoomTransform.h"

class CFakeRecording : public ITrackFrameSource, public IPositionSource {
public:
    CFakeRecording(int imageWidth, int imageHeight, int frameCount)
        : width(imageWidth), height(imageHeight), frames(frameCount) {}
    virtual ~CFakeRecording() = default;

    HRESULT GetSize(int* w, int* h) override {
        *w = width;
        *h = height;
        return S_OK;
    }
    HRESULT GetFrameCount(int* count) override {
        *count = frames;
        return S_OK;
    }
    HRESULT GetCurrentFrame(int* frame) override {
        *frame = current;
        return S_OK;
    }
    HRESULT GoToFrame(int frame) override {
        current = frame;
        ++moves;
        return S_OK;
    }
    HRESULT GetDisplaySettings(CLutParamSet*, CLutParamSet*) override { return displaySettings; }
    HRESULT ApplyDisplaySettings(const CLutParamSet&, const CLutParamSet&) override { return S_OK; }
    ITrackerFrameSource* GetTrackerSource() override { return tracker; }

    HRESULT Reset(int) override { return S_OK; }
    HRESULT Switch(int) override { return S_OK; }
    HRESULT IsActive(bool* active) override {
        *active = false;
        return S_OK;
    }
    HRESULT GetPickedPosition(double* x, double* y) override {
        *x = pickX;
        *y = pickY;
        return S_OK;
    }
    HRESULT GetDrawnRegion(double* l, double* t, double* r, double* b) override {
        *l = region.left;
        *t = region.top;
        *r = region.right;
        *b = region.bottom;
        return S_OK;
    }

    int width;
    int height;
    int frames;
    int current = 0;
    int moves = 0;
    double pickX = 0;
    double pickY = 0;
    CRect region{1, 2, 30, 40};
    HRESULT displaySettings = E_FAIL;
    ITrackerFrameSource* tracker = nullptr;
};

class CFakeStreamView : public CFakeRecording, public IStreamDisplay, public IImageSizeSource {
public:
    using CFakeRecording::CFakeRecording;

    HRESULT GetSize(int* w, int* h) override { return CFakeRecording::GetSize(w, h); }
    HRESULT SetSelectionMode(bool) override { return S_OK; }
    HRESULT GetSelectionMode(bool* on) override {
        *on = false;
        return S_OK;
    }
    HRESULT ShowReticle(bool) override { return S_OK; }
    HRESULT IsReticleShown(bool* shown) override {
        *shown = true;
        return S_OK;
    }
    HRESULT GetReticlePosition(double* x, double* y) override { return GetPickedPosition(x, y); }
    HRESULT GetSelection(double* l, double* t, double* r, double* b) override {
        *l = *t = *r = *b = 0.0;
        return S_OK;
    }
    HRESULT GetZoomTransform(CZoomTransform** out) override {
        *out = new CZoomTransform;
        (*out)->AddRef();
        return S_OK;
    }
};
