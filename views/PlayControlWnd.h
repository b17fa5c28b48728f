#pragma once

// CPlayControlWnd: the invisible child window that drives playback for its owner (a video
// window, a play group, a record controller). It keeps the play state, steps the frame on its
// timer with the period corrected against the high-resolution clock so that the achieved rate
// follows the requested one, mirrors the state on a play bar, and talks to its owner only
// through callbacks given as (function, context) pairs. A pair with a null function or context
// is skipped; a query through a missing pair yields -1 (-1.0 for the rate).

#include "platform/framework/Wnd.h"
#include "views/PlayState.h"

class IPlayBar;

// Commands and controls of the play bar that owners route to the play control.
namespace PlayControlId {
inline constexpr UINT kPlay = 2001;
inline constexpr UINT kRew = 2002;
inline constexpr UINT kStop = 2003;
inline constexpr UINT kBack = 2004;
inline constexpr UINT kFwd = 2005;
inline constexpr UINT kContinuous = 2006;
inline constexpr UINT kSynchronize = 2007;
inline constexpr UINT kSkipEdit = 2008;
inline constexpr UINT kPlayBackward = 2009;
inline constexpr UINT kFFwd = 2010;
inline constexpr UINT kBaseSync = 2011;
inline constexpr UINT kSkipSpin = 2013;
inline constexpr UINT kJump = 1127;
inline constexpr UINT kZero = 1138;
inline constexpr UINT kRateSlider = 1311;
inline constexpr UINT kPositionSlide = 1317;
}  // namespace PlayControlId

// The play timer.
inline constexpr UINT_PTR kPlayTimerId = 1124;

class CPlayControlWnd : public CWnd {
    DECLARE_DYNAMIC(CPlayControlWnd)
    DECLARE_MESSAGE_MAP()

public:
    // fn(context, frame, out target): nonzero when it gave a target.
    using TargetCallback = BOOL (*)(void* context, int frame, int* target);
    // fn(context, frame, out value): frame-number origin, frame count, owner's current frame.
    using QueryCallback = void (*)(void* context, int frame, int* value);
    // fn(context, out rate): nonzero when the recorded rate is valid.
    using RateCallback = BOOL (*)(void* context, double* rate);
    // fn(context, out a, out b, out c): after each readout refresh; the values are the owner's.
    using FrameInfoCallback = void (*)(void* context, int* a, int* b, int* c);
    // fn(context, value): the frame (frame changed, zero), a flag or the skip.
    using ValueCallback = void (*)(void* context, int value);
    // fn(context, frame, on).
    using SynchronizeCallback = void (*)(void* context, int frame, int on);

    CPlayControlWnd();
    ~CPlayControlWnd() override = default;

    // Whether an owner routes this command or control id to the play control.
    static bool IsPlayControlId(UINT id);

    void SetRewindCallback(TargetCallback fn, void* context);
    void SetFastForwardCallback(TargetCallback fn, void* context);
    void SetGetFrameNumberCallback(QueryCallback fn, void* context);
    void SetGetFrameCountCallback(QueryCallback fn, void* context);
    void SetGetTimeCallback(RateCallback fn, void* context);
    void SetFrameInfoCallback(FrameInfoCallback fn, void* context);
    void SetFrameChangedCallback(ValueCallback fn, void* context);
    void SetZeroCallback(ValueCallback fn, void* context);
    void SetSynchronizeCallback(SynchronizeCallback fn, void* context);
    void SetBaseSyncCallback(ValueCallback fn, void* context);
    void SetContinuousCallback(ValueCallback fn, void* context);
    void SetSkipChangedCallback(ValueCallback fn, void* context);
    void SetGetCurrentFrameCallback(QueryCallback fn, void* context);

    // The panel that mirrors the state; not owned, may be null.
    void SetPlayBar(IPlayBar* bar) { m_bar = bar; }
    IPlayBar* GetPlayBar() const { return m_bar; }

    void SetInLimit(BOOL enabled, int frame);
    // Returns whether the limit is enabled; frame may be null.
    BOOL GetInLimit(int* frame) const;
    void SetOutLimit(BOOL enabled, int frame);
    BOOL GetOutLimit(int* frame) const;

    // Store only; Show... pushes the flag to the play bar.
    void SetSynchronize(int on) { m_synchronize = on; }
    void SetBaseSync(int on) { m_baseSync = on; }
    void SetContinuous(int on) { m_continuous = on; }
    void ShowSynchronize();
    void ShowBaseSync();
    void ShowContinuous();

    // Frames skipped per step, kept in 0..98; returns the stored value.
    int SetSkip(int skip);
    // SetSkip, then the bar's skip spin shows skip + 1 when it shows something else.
    int SetSkipAndShow(int skip);
    void ShowSkip();
    // The requested rate in frames per second; a rate that is not a positive finite number is
    // ignored. Empties the achieved-rate ring and sizes it to about two seconds of ticks.
    void SetRate(double rate);

    void SetSliderRange(int minimum, int maximum);
    // Sets the bar's range only when it differs; the markers then move with it, so their echoes
    // are expected.
    void SetSliderRangeIfChanged(int minimum, int maximum);
    // The bar's range and markers to the whole member, its position to 0, the readout refreshed.
    void ResetRange();
    void GotoFrame(int frame, BOOL notify);
    // The bar's range, frame number, time and the frame-info callback, for the current frame.
    void UpdateReadout();
    // Range 0..1, limits off, frame 0 applied with notification.
    void Clear();

    int GetCurrentFrame() const { return m_frame; }
    bool IsPlaying() const { return m_playing != 0; }
    bool IsBackward() const { return m_backward != 0; }
    int GetSkip() const { return m_skip; }
    int GetSynchronize() const { return m_synchronize; }
    int GetBaseSync() const { return m_baseSync; }
    int GetContinuous() const { return m_continuous; }
    int GetSyncAnchor() const { return m_syncAnchor; }
    double GetRate() const { return m_state.GetRate(); }
    // Mean of the recent instantaneous rates of timed ticks; 0 before the second tick.
    double GetMeasuredRate() const { return m_measuredRate; }
    const CPlayState& GetPlayState() const { return m_state; }
    // The frame last passed to the frame-changed callback, -1 before the first.
    int GetLastNotifiedFrame() const { return m_lastNotifiedFrame; }
    // The period the play timer runs with, 0 while it does not run.
    UINT GetTimerPeriodMs() const { return m_timerMs; }

    // Control notifications of the play bar: the rate slider released its capture (1311), the
    // skip spin is about to move (2013; position and delta are rewritten to the value it keeps,
    // the result is 0).
    void OnRateSliderReleased();
    LRESULT OnSkipSpinDeltaPos(int* position, int* delta);

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnTimer(UINT_PTR nIDEvent);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

    void OnPlay();
    void OnPlayBackward();
    void OnStop();
    void OnFwd();
    void OnBack();
    void OnRew();
    void OnFFwd();
    void OnToggleContinuous();
    void OnToggleSynchronize();
    void OnToggleBaseSync();
    void OnJump();
    void OnZero();
    void OnSkipEditChanged();
    void OnRateSliderNotify(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSkipSpinNotify(NMHDR* pNMHDR, LRESULT* pResult);
    LRESULT OnBarTracking(WPARAM kind, LPARAM value);
    LRESULT OnBarReleased(WPARAM kind, LPARAM value);
    LRESULT OnBarResetLimits(WPARAM, LPARAM);

private:
    template <typename Fn>
    struct Callback {
        Fn fn = nullptr;
        void* context = nullptr;
        void Set(Fn f, void* c) {
            fn = f;
            context = c;
        }
        explicit operator bool() const { return fn && context; }
    };
    struct Limit {
        int enabled = 0;
        int frame = 0;
    };
    // The frames a step may reach; corrects limits that lie outside the member.
    struct StepRange {
        int count;
        int first;
        int last;
    };

    static constexpr int kRingCapacity = 50;

    void StartPlay(bool backward);
    void StopPlay();
    void ArmTimer(double periodMs);
    void DisarmTimer();
    StepRange ComputeStepRange();
    void ApplyFrame(BOOL notify);
    void UpdateBar();
    void MeasureTick();
    LRESULT OnBarSlider(WPARAM kind, LPARAM value, bool released);
    void ResetLimits();
    // Queries through the callbacks, -1 when missing.
    int QueryFrameCount();
    int QueryOrigin();
    int QueryCurrentFrame();
    double QueryRecordedRate();

    int m_frame = 0;
    CPlayState m_state;
    int m_continuous = 0;
    int m_backward = 0;
    int m_synchronize = 0;
    int m_baseSync = 0;
    double m_measuredRate = 0.0;
    double m_lastTickMs = -1.0;  // not positive: unknown
    double m_periodMs = -1.0;
    int m_skip = 0;
    int m_syncAnchor = 0;
    int m_playing = 0;
    int m_measureNext = 0;
    double m_rateRing[kRingCapacity];  // instantaneous rates; not positive: empty
    int m_ringIndex = 0;
    int m_ringSize = 20;
    Limit m_out;
    Limit m_in;
    int m_lastNotifiedFrame = -1;
    UINT m_timerMs = 0;
    IPlayBar* m_bar = nullptr;
    // Set when this window moved the bar's position, in or out marker itself, so that the
    // tracking notification echoing it is ignored once.
    int m_echo[3] = {0, 0, 0};
    // What the bar's scale labels were last drawn for: range, origin and rate.
    std::array<int, 4> m_scaleShown{0, -1, 0, 0};

    Callback<TargetCallback> m_rewind;
    Callback<TargetCallback> m_fastForward;
    Callback<QueryCallback> m_frameNumber;
    Callback<QueryCallback> m_frameCount;
    Callback<RateCallback> m_time;
    Callback<FrameInfoCallback> m_frameInfo;
    Callback<ValueCallback> m_frameChanged;
    Callback<ValueCallback> m_zero;
    Callback<SynchronizeCallback> m_synchronizeCb;
    Callback<ValueCallback> m_baseSyncCb;
    Callback<ValueCallback> m_continuousCb;
    Callback<ValueCallback> m_skipChanged;
    Callback<QueryCallback> m_currentFrame;
};
