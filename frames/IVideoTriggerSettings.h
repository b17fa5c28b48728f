#pragma once

// IVideoTriggerSettings (id 11): the settings and state of a trigger that fires once when a
// value measured per frame leaves a band around the baseline learnt from the first frames.

#include "frames/IIdUnknown.h"

class IVideoTriggerSettings : public virtual IIdUnknown {
public:
    static constexpr int kId = kIdTriggerSettings;

    // Every operation answers S_OK; null out-pointers are skipped.
    virtual HRESULT SetEnabled(int enabled) = 0;
    // Back to learning: the baseline and the latch are cleared, the settings kept.
    virtual HRESULT Reset() = 0;
    virtual HRESULT SetDirections(int above, int below) = 0;
    virtual HRESULT GetDirections(int* above, int* below) = 0;
    // The baseline is the mean of the first frames + 1 values; the band reaches aboveOffset
    // over it and belowOffset under it.
    virtual HRESULT SetBaseline(int frames, double aboveOffset, double belowOffset) = 0;
    virtual HRESULT GetBaseline(int* frames, double* aboveOffset, double* belowOffset) = 0;
    virtual HRESULT AddSample(double value) = 0;
    virtual HRESULT IsTriggered(int* triggered) = 0;
    virtual HRESULT IsBaselineReady(int* ready) = 0;
    virtual HRESULT GetBaselineMean(double* mean) = 0;
    virtual HRESULT GetLimits(double* upper, double* lower) = 0;
};
