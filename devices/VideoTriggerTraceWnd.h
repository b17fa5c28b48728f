#pragma once

// CVideoTriggerTraceWnd: the "Video Trigger Level" window: the trace of the level a camera's
// video trigger measures in its region, sampled ten times a second, with the rising and
// falling levels across it.

#include "platform/framework/Wnd.h"

#include <deque>
#include <functional>

class CVideoTriggerTraceWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr const char* kTitle = "Video Trigger Level";
    static constexpr UINT_PTR kSampleTimer = 1;
    static constexpr UINT kSamplePeriodMs = 100;
    static constexpr size_t kMaxSamples = 300;

    struct Sample {
        double level = 0.0;
        int rising = 0;
        int falling = 0;
    };
    // Fills the sample; false when there is nothing to measure (no camera).
    using Sampler = std::function<bool(Sample*)>;

    explicit CVideoTriggerTraceWnd(Sampler sampler);

    // Makes the window (once) and shows it in front.
    BOOL Open();
    // Takes one sample now; false when the sampler had none.
    bool TakeSample();
    const std::deque<Sample>& GetSamples() const { return m_samples; }

protected:
    void OnTimer(UINT_PTR nIDEvent);
    void OnPaint();
    void OnClose();

private:
    Sampler m_sampler;
    std::deque<Sample> m_samples;
};
