#pragma once

// PeakInfo: where an image (or its region of interest) is brightest and darkest, in image
// pixels; the first occurrence in column-major order wins ties.
struct PeakInfo {
    int MaxValue = 0;
    int MinValue = 0;
    int MaxX = 0;
    int MaxY = 0;
    int MinX = 0;
    int MinY = 0;
};

// The same for a float image, whose extremes keep their fractions.
struct PeakInfoFloat {
    float MaxValue = 0.0f;
    float MinValue = 0.0f;
    int MaxX = 0;
    int MaxY = 0;
    int MinX = 0;
    int MinY = 0;
};
