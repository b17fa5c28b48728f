#pragma once

// CAnalysisCalculator: derives the exported numbers from a recording's feature set and its
// calibration: the positions of the features at the frames that hold tracking data, as raw
// pixels or in the calibrated coordinate system, in pixels or in the chosen units, and the
// speeds between frames. A position the feature set does not hold is (0, 0).

#include "platform/wintypes/WinError.h"

#include <vector>

class CAnalysisSettings;
class CTrackFeatureSet;

struct AnalysisOptions {
    bool applyCoordinateSystem = false;
    bool convertUnits = false;
    int units = -1;  // -1 pixels, 0 ft, 1 in, 2 m, 3 mm, 4 cm
};

class CAnalysisCalculator {
public:
    // Both borrowed.
    void SetFeatureSet(const CTrackFeatureSet* features) { m_features = features; }
    void SetSettings(CAnalysisSettings* settings) { m_settings = settings; }

    // One row per frame k with tracking data: k - trigger, its time (seven decimals), then x and
    // y of every feature. E_FAIL without a feature set or settings; no rows without frames or
    // features.
    HRESULT GetTable(int trigger, double rate, const AnalysisOptions& options,
                     std::vector<double>* table, int* rows, int* columns) const;
    // The position of one feature at one frame; valid tells whether the set holds it.
    HRESULT GetPosition(int frame, int feature, const AnalysisOptions& options, double* x,
                        double* y, bool* valid) const;
    // x and y of one feature at every frame (0 where it has no point).
    HRESULT GetSeries(int feature, const AnalysisOptions& options, std::vector<double>* x,
                      std::vector<double>* y) const;
    // The speed of one feature at every frame, from its positions at the neighbouring frames
    // (one-sided at the ends) and the rate, in the position's units per second; 0 where a
    // neighbour is missing.
    HRESULT GetSpeeds(int feature, double rate, const AnalysisOptions& options,
                      std::vector<double>* speeds) const;
    // The distance covered from the first frame up to every frame, summed over valid steps.
    HRESULT GetDistances(int feature, const AnalysisOptions& options,
                         std::vector<double>* distances) const;

    // The time of frame number n at rate, printed with seven decimals and read back so that
    // the table holds exactly what a listing of it shows. A rate not above 0 is taken as 1.
    static double FrameTime(int n, double rate);

private:
    int FrameCount() const;
    int FeatureCount() const;

    const CTrackFeatureSet* m_features = nullptr;
    CAnalysisSettings* m_settings = nullptr;
};
