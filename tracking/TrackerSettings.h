#pragma once

// TrackerSettings: a feature's tracking settings as the tracker and its matcher take them from
// the feature's stored record when tracking starts.

class CTrackSample;

struct TrackerSettings {
    int InUse = 0;
    int FilterX = 0;
    int FilterY = 0;
    int FilterAngle = 0;
    double ProcessNoise = 1.0;  // q of the three filters; their r is 1.0.
    double MaxJumpSquared = 160.0;
    double SearchScale = 1.6;
    double ThresholdFraction = 0.75;
    double RecentreScale = 1.2;
    int TemplateMask = 0;
    int RotationSearch = 0;
    double RotationRange = 10.0;
    double RotationStep = 1.0;
    int RefinePeak = 0;
    int Reserved = 0;  // Kept with the settings; nothing reads it.

    // Value1 jump limit, Value2 re-centre scale, Value3 search scale, Value4 threshold
    // fraction, Count template mask, Flag1 rotation search, Value5 and Value6 rotation range and
    // step, Flag2/3/4 angle/x/y filters, Value7 process noise, Flag5 refine peak, Flag6 kept.
    static TrackerSettings FromSample(const CTrackSample& sample);
};
