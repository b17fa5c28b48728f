#pragma once

// IImageReadout: what a view that shows frames tells the main window's status panes: where
// the reticle stands, how much of the image is visible, the image's own size and the size it
// is drawn at, all in pixels.

#include "platform/wintypes/Size.h"

class IImageReadout {
public:
    enum Value { kReticlePosition, kVisibleRegion, kImageSize, kZoomedSize };

    // FALSE when the view has no such value now (no image, reticle hidden).
    virtual BOOL GetReadout(Value value, CSize* size) const = 0;

protected:
    ~IImageReadout() = default;
};
