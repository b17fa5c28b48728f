#pragma once

// IDerivedSourceOwner: what a data channel or region object asks of the view adapter that had
// its frame source made: to show what it carries in a window, and to redraw the view.

#include "frames/FrameSourcePtr.h"
#include "platform/wintypes/WinError.h"

#include <QString>

class IIdUnknown;

// A view's overlay listener as the objects over a video see it: it redraws the view.
class IOverlayRedraw {
public:
    virtual HRESULT Invalidate() = 0;

protected:
    ~IOverlayRedraw() = default;
};

class IDerivedSourceOwner;

// What the owner sets on a data channel or region object.
class IDerivedSourceLink {
public:
    // The derived source the object belongs to. Holding it keeps that source alive, so the
    // owner empties it when it lets the source go.
    virtual void SetSource(const CFrameSourcePtr& source) = 0;
    // The owner goes away: requests from now on find no owner.
    virtual void SetOwner(IDerivedSourceOwner* owner) = 0;

protected:
    ~IDerivedSourceLink() = default;
};

class IDerivedSourceOwner {
public:
    // Shows asker's data set or frames in a window titled title.
    virtual HRESULT OpenFor(IIdUnknown* asker, const QString& title) = 0;
    // The view's overlay listener; E_POINTER for a null out.
    virtual HRESULT GetListener(IOverlayRedraw** out) = 0;

protected:
    ~IDerivedSourceOwner() = default;
};
