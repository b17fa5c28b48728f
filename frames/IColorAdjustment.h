#pragma once

// IColorAdjustment: the colour adjustment window a frame source keeps for its Bayer colour
// filter. The window itself belongs to a higher layer, which hands the frame source a factory
// (CFrameSource::SetColorAdjustmentFactory); the source owns what the factory makes.

#include <QString>

#include <functional>
#include <memory>

class CBayerColorFilter;
class CWnd;

class IColorAdjustment {
public:
    virtual ~IColorAdjustment() = default;
    // Shows the window with the caption of the kind (0 a recorded file, 1 a live camera), bound
    // to the view it was asked from (null: none).
    virtual void ShowFor(int captionKind, CWnd* view) = 0;
};

// Makes the window for a filter of the recording at path (the filter outlives the window).
using ColorAdjustmentFactory =
    std::function<std::unique_ptr<IColorAdjustment>(CBayerColorFilter*, const QString& path)>;
