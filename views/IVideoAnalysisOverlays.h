#pragma once

// IVideoAnalysisOverlays: the analysis objects of a video window (its calibration axes, its
// tracking overlay and feature set), which the tracking layer above makes for the view. The
// view draws them over the frame and offers them the commands of its calibration and tracking
// menus.

#include "platform/wintypes/Rect.h"
#include "platform/wintypes/WinTypes.h"

class CCalibrationData;
class CCmdUI;
class CDC;

class IVideoAnalysisOverlays {
public:
    // Draws over the frame; area is the stream window's client rectangle.
    virtual void DrawOverlays(CDC* dc, const CRect& area) = 0;
    // False for a command that is not one of theirs.
    virtual bool OnAnalysisCommand(UINT id) = 0;
    virtual bool OnUpdateAnalysisCommand(CCmdUI* cmdUI) = 0;
    // The view is going: it must not be used again.
    virtual void OnViewGone() = 0;
    // The recording's own calibration into calibration; false, with nothing written, when the
    // recording has none.
    virtual bool GetRecordingCalibration(CCalibrationData* calibration) = 0;

protected:
    ~IVideoAnalysisOverlays() = default;
};
