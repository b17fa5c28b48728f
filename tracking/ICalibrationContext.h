#pragma once

// ICalibrationContext: what the calibration panel takes of the active video: its calibration
// settings, its reticle and image size, the view its axes are drawn over and the list of
// further drawings over that view.

class CAnalysisSettings;
class CVidView;
class IImageSizeSource;
class IOverlayDraw;
class IPositionSource;

class ICalibrationContext {
public:
    virtual CAnalysisSettings& GetCalibrationSettings() = 0;
    virtual IPositionSource* GetReticleSource() = 0;
    virtual IImageSizeSource* GetImageSizeSource() = 0;
    // Null when the video has no view.
    virtual CVidView* GetContextView() const = 0;
    virtual void AddExtraOverlay(IOverlayDraw* drawing) = 0;
    virtual void RemoveExtraOverlay(IOverlayDraw* drawing) = 0;

protected:
    ~ICalibrationContext() = default;
};
