#pragma once

// CFeatureTracker: follows one feature from frame to frame: it loads each frame from the frame
// source, predicts the feature's position with one Kalman filter per axis (x, y, angle), lets
// the template matcher find it there, and carries it on the prediction through missed frames.

#include "tracking/ImageOps.h"
#include "tracking/KalmanFilter.h"
#include "tracking/MImage.h"
#include "tracking/TemplateMatcher.h"
#include "tracking/TrackerSettings.h"

class CTrackSample;
class ITrackerFrameSource;

class CFeatureTracker {
public:
    CFeatureTracker() = default;
    CFeatureTracker(const CFeatureTracker&) = delete;
    CFeatureTracker& operator=(const CFeatureTracker&) = delete;

    // Starts tracking the rectangle (pixels of the current frame, loaded when none is yet) with
    // the feature's settings. False without a frame source, when the settings are not enabled
    // or when the frame cannot be loaded.
    bool Start(int left, int top, int width, int height, const CTrackSample& settings);
    // Records the frame range (an end of -1 or -2: to the end in the run's direction), loads
    // the current frame and starts.
    bool StartAt(int left, int top, int width, int height, const CTrackSample& settings,
                 int startFrame, int endFrame);

    // Borrowed; it must outlive the tracker's use of it.
    void SetFrameSource(ITrackerFrameSource* source) { m_frameSource = source; }
    bool HasFrameSource() const { return m_frameSource != nullptr; }
    void SetCurrentFrame(int frame) { m_currentFrame = frame; }
    int GetCurrentFrame() const { return m_currentFrame; }
    int GetStartFrame() const { return m_startFrame; }
    int GetEndFrame() const { return m_endFrame; }
    int GetFeatureNumber() const { return m_featureNumber; }
    void SetFeatureNumber(int number) { m_featureNumber = number; }

    // Moves the frame source to the current frame and loads it; false without a source or
    // when the frame cannot be had.
    bool LoadFrame();
    // Tracks the loaded frame.
    void Step();
    bool IsActive() const { return m_matcher.GetActive() != 0; }
    // The centre of the feature in the last frame stepped (the prediction after a miss).
    void GetPosition(double* x, double* y) const;

    // The region's top-left and angle for the last frame, and whether they were predicted.
    int GetOriginX() const { return m_originX; }
    int GetOriginY() const { return m_originY; }
    int GetAngle() const { return m_angle; }
    bool IsPredicted() const { return m_predicted != 0; }
    int GetMissBudget() const { return m_missBudget; }
    CTemplateMatcher& GetMatcher() { return m_matcher; }

private:
    ITrackerFrameSource* m_frameSource = nullptr;
    CMImage m_frame;
    CMImage m_templateImage;
    CImageOps m_ops;
    CTemplateMatcher m_matcher;
    TrackerSettings m_settings;
    double m_firstNoise = 1.0;
    CKalmanFilter m_filterX;
    CKalmanFilter m_filterY;
    CKalmanFilter m_filterAngle;
    int m_originX = 0;
    int m_originY = 0;
    int m_angle = 0;
    int m_predicted = 0;
    double m_measuredX = 0.0;
    double m_measuredY = 0.0;
    int m_missBudget = 0;
    int m_frameCounter = 0;
    int m_currentFrame = 0;
    int m_startFrame = 0;
    int m_endFrame = -1;
    int m_featureNumber = 0;
};
