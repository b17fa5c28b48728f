#pragma once

// CVideoTriggerSettings: a video trigger's settings record (id 11). It learns the baseline of
// a value measured per frame, and the first time a later value leaves the band round it, posts
// kMsgVideoTriggered through the message poster it owns (id 6), whose window the trigger's
// owner sets.

#include "frames/IMessagePoster.h"
#include "frames/IVideoTriggerSettings.h"
#include "frames/IdObjectBase.h"

#include <memory>

class CMessagePoster;

// Posted (0, 0) once per trigger to the window of the record's message poster.
inline constexpr UINT kMsgVideoTriggered = 1592;

class CVideoTriggerSettings : public CIdObjectBase, public IVideoTriggerSettings {
public:
    CVideoTriggerSettings();
    ~CVideoTriggerSettings() override;
    CVideoTriggerSettings(const CVideoTriggerSettings&) = delete;
    CVideoTriggerSettings& operator=(const CVideoTriggerSettings&) = delete;

    // Ids 1, 6 (the owned poster) and 11.
    HRESULT QueryInterfaceById(int id, void** out) override;

    HRESULT SetEnabled(int enabled) override;
    HRESULT Reset() override;
    HRESULT SetDirections(int above, int below) override;
    HRESULT GetDirections(int* above, int* below) override;
    HRESULT SetBaseline(int frames, double aboveOffset, double belowOffset) override;
    HRESULT GetBaseline(int* frames, double* aboveOffset, double* belowOffset) override;
    // Learns the baseline until it has frames + 1 values; then, when enabled and not yet
    // triggered, a value strictly beyond an active limit triggers. One post per trigger, even
    // when negative offsets put a value beyond both limits at once.
    HRESULT AddSample(double value) override;
    HRESULT IsTriggered(int* triggered) override;
    HRESULT IsBaselineReady(int* ready) override;
    HRESULT GetBaselineMean(double* mean) override;
    HRESULT GetLimits(double* upper, double* lower) override;

    // The owned poster, for an outer object that answers id 6 for this record.
    IMessagePoster* GetPoster() const;

private:
    void Trigger();

    std::unique_ptr<CMessagePoster> m_poster;
    int m_enabled = 1;
    int m_triggerAbove = 0;
    int m_triggerBelow = 0;
    int m_baselineFrames = 0;
    double m_aboveOffset = 0.0;
    double m_belowOffset = 0.0;
    int m_baselineReady = 0;
    int m_samplesTaken = 0;
    double m_sum = 0.0;
    int m_triggered = 0;
    double m_upperLimit = 0.0;
    double m_lowerLimit = 0.0;
    double m_baselineMean = 0.0;
};
