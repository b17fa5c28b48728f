#pragma once

// IRegionRect: a rectangle in image pixels that a region frame source cuts out of its inner
// source's frames. IRegion (id 7): the region object of a cropped frame source.

#include "frames/FrameSourcePtr.h"
#include "frames/IIdUnknown.h"
#include "platform/wintypes/WinTypes.h"

#include <QString>

class IImageMapHost;

class IRegionRect {
public:
    // left, top, right, bottom as stored (right may lie left of left); E_POINTER for null.
    virtual HRESULT GetRect(int out[4]) = 0;

protected:
    ~IRegionRect() = default;
};

class IRegion : public virtual IIdUnknown, public IRegionRect {
public:
    static constexpr int kId = kIdRegion;

    // Where the outline finds its image-to-window map when drawn (not owned).
    virtual HRESULT SetMapperHost(IImageMapHost* host) = 0;
    virtual HRESULT SetPen(BYTE red, BYTE green, BYTE blue, int width) = 0;
    // Width and height are cut toward zero to multiples of 4; the view is then redrawn.
    virtual HRESULT SetRect(int left, int top, int right, int bottom) = 0;
    virtual HRESULT GetSource(CFrameSourcePtr* out) = 0;
    // Has the owner show the cropped frames in a video window titled title; E_POINTER
    // without an owner.
    virtual HRESULT Open(const QString& title) = 0;
};
