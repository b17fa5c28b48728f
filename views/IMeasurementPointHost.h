#pragma once

// IMeasurementPointHost: the measurement points that a video view's annotations hold, as the
// play data callback exchanges them with the track data: it adds points for tracked features
// and reads every point back with its feature and frame.

#include "platform/wintypes/WinError.h"

#include <vector>

class CTrackFeature;

struct MeasurementPointEntry {
    int feature = -1;  // -1: the point belongs to no feature
    int frame = 0;
    double x = 0.0;  // image pixels
    double y = 0.0;
};

class IMeasurementPointHost {
public:
    virtual HRESULT AddMeasurementPoint(double x, double y, int point, int feature,
                                        const CTrackFeature& record) = 0;
    // Empties out, then fills it with every measurement point in list order.
    virtual HRESULT GetMeasurementPoints(std::vector<MeasurementPointEntry>* out) = 0;

protected:
    ~IMeasurementPointHost() = default;
};
