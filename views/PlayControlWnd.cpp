#include "views/PlayControlWnd.h"

#include "platform/framework/Clock.h"
#include "platform/framework/IPrompter.h"
#include "views/IPlayBar.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

IMPLEMENT_DYNAMIC(CPlayControlWnd, CWnd)

namespace {

constexpr UINT kMinTimerMs = 10;
constexpr int kMaxSkip = 98;
constexpr int kMinSpin = 1;
constexpr int kMaxSpin = 99;

// The timer period for a period in milliseconds: truncated, at least 10 ms, and never beyond
// what a timer takes (a very low rate).
UINT TimerMs(double periodMs) {
    UINT ms = 0;
    if (periodMs >= static_cast<double>(INT_MAX))
        ms = INT_MAX;
    else if (periodMs > 0)
        ms = static_cast<UINT>(periodMs);
    return std::max(ms, kMinTimerMs);
}

// Rounds into the int range; NaN gives -1 like a missing rate.
int RoundToInt(double value) {
    if (std::isnan(value))
        return -1;
    const double rounded = std::round(value);
    if (rounded >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(rounded);
}

int ClampToInt(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

}  // namespace

BEGIN_MESSAGE_MAP(CPlayControlWnd, CWnd)
ON_WM_CREATE()
ON_WM_TIMER()
ON_WM_KEYDOWN()
ON_COMMAND(PlayControlId::kPlay, OnPlay)
ON_COMMAND(PlayControlId::kPlayBackward, OnPlayBackward)
ON_COMMAND(PlayControlId::kStop, OnStop)
ON_COMMAND(PlayControlId::kFwd, OnFwd)
ON_COMMAND(PlayControlId::kBack, OnBack)
ON_COMMAND(PlayControlId::kRew, OnRew)
ON_COMMAND(PlayControlId::kFFwd, OnFFwd)
ON_COMMAND(PlayControlId::kContinuous, OnToggleContinuous)
ON_COMMAND(PlayControlId::kSynchronize, OnToggleSynchronize)
ON_COMMAND(PlayControlId::kBaseSync, OnToggleBaseSync)
ON_COMMAND(PlayControlId::kJump, OnJump)
ON_COMMAND(PlayControlId::kZero, OnZero)
ON_CONTROL(EN_CHANGE, PlayControlId::kSkipEdit, OnSkipEditChanged)
ON_NOTIFY(NM_RELEASEDCAPTURE, PlayControlId::kRateSlider, OnRateSliderNotify)
ON_NOTIFY(UDN_DELTAPOS, PlayControlId::kSkipSpin, OnSkipSpinNotify)
ON_MESSAGE(kPlayBarTracking, OnBarTracking)
ON_MESSAGE(kPlayBarReleased, OnBarReleased)
ON_MESSAGE(kPlayBarResetLimits, OnBarResetLimits)
END_MESSAGE_MAP()

CPlayControlWnd::CPlayControlWnd() {
    std::fill(std::begin(m_rateRing), std::end(m_rateRing), -1.0);
}

bool CPlayControlWnd::IsPlayControlId(UINT id) {
    return id == PlayControlId::kRateSlider || id == PlayControlId::kPositionSlide ||
           (id >= PlayControlId::kPlay && id <= PlayControlId::kSynchronize) ||
           (id >= PlayControlId::kPlayBackward && id <= PlayControlId::kBaseSync) ||
           id == PlayControlId::kSkipSpin;
}

void CPlayControlWnd::SetRewindCallback(TargetCallback fn, void* context) {
    m_rewind.Set(fn, context);
}
void CPlayControlWnd::SetFastForwardCallback(TargetCallback fn, void* context) {
    m_fastForward.Set(fn, context);
}
void CPlayControlWnd::SetGetFrameNumberCallback(QueryCallback fn, void* context) {
    m_frameNumber.Set(fn, context);
}
void CPlayControlWnd::SetGetFrameCountCallback(QueryCallback fn, void* context) {
    m_frameCount.Set(fn, context);
}
void CPlayControlWnd::SetGetTimeCallback(RateCallback fn, void* context) {
    m_time.Set(fn, context);
}
void CPlayControlWnd::SetFrameInfoCallback(FrameInfoCallback fn, void* context) {
    m_frameInfo.Set(fn, context);
}
void CPlayControlWnd::SetFrameChangedCallback(ValueCallback fn, void* context) {
    m_frameChanged.Set(fn, context);
}
void CPlayControlWnd::SetZeroCallback(ValueCallback fn, void* context) {
    m_zero.Set(fn, context);
}
void CPlayControlWnd::SetSynchronizeCallback(SynchronizeCallback fn, void* context) {
    m_synchronizeCb.Set(fn, context);
}
void CPlayControlWnd::SetBaseSyncCallback(ValueCallback fn, void* context) {
    m_baseSyncCb.Set(fn, context);
}
void CPlayControlWnd::SetContinuousCallback(ValueCallback fn, void* context) {
    m_continuousCb.Set(fn, context);
}
void CPlayControlWnd::SetSkipChangedCallback(ValueCallback fn, void* context) {
    m_skipChanged.Set(fn, context);
}
void CPlayControlWnd::SetGetCurrentFrameCallback(QueryCallback fn, void* context) {
    m_currentFrame.Set(fn, context);
}

int CPlayControlWnd::QueryFrameCount() {
    int value = -1;
    if (m_frameCount)
        m_frameCount.fn(m_frameCount.context, m_frame, &value);
    return value;
}

int CPlayControlWnd::QueryOrigin() {
    int value = -1;
    if (m_frameNumber)
        m_frameNumber.fn(m_frameNumber.context, m_frame, &value);
    return value;
}

int CPlayControlWnd::QueryCurrentFrame() {
    int value = -1;
    if (m_currentFrame)
        m_currentFrame.fn(m_currentFrame.context, -1, &value);
    return value;
}

double CPlayControlWnd::QueryRecordedRate() {
    double rate = -1.0;
    if (!m_time || !m_time.fn(m_time.context, &rate))
        return -1.0;
    return rate;
}

void CPlayControlWnd::SetInLimit(BOOL enabled, int frame) {
    m_in.enabled = enabled ? 1 : 0;
    m_in.frame = frame;
}

BOOL CPlayControlWnd::GetInLimit(int* frame) const {
    if (frame)
        *frame = m_in.frame;
    return m_in.enabled;
}

void CPlayControlWnd::SetOutLimit(BOOL enabled, int frame) {
    m_out.enabled = enabled ? 1 : 0;
    m_out.frame = frame;
}

BOOL CPlayControlWnd::GetOutLimit(int* frame) const {
    if (frame)
        *frame = m_out.frame;
    return m_out.enabled;
}

void CPlayControlWnd::ShowSynchronize() {
    if (m_bar)
        m_bar->SetCheck2007(m_synchronize);
}

void CPlayControlWnd::ShowBaseSync() {
    if (m_bar)
        m_bar->SetCheck2011(m_baseSync);
}

void CPlayControlWnd::ShowContinuous() {
    if (m_bar)
        m_bar->SetCheck2006(m_continuous);
}

int CPlayControlWnd::SetSkip(int skip) {
    m_skip = std::clamp(skip, 0, kMaxSkip);
    return m_skip;
}

int CPlayControlWnd::SetSkipAndShow(int skip) {
    SetSkip(skip);
    if (m_bar && m_bar->GetSpeedField() != m_skip + 1)
        m_bar->SetSpeedField(m_skip + 1);
    return m_skip;
}

void CPlayControlWnd::ShowSkip() {
    if (m_bar)
        m_bar->SetSpeedField(m_skip + 1);
}

void CPlayControlWnd::SetRate(double rate) {
    if (!std::isfinite(rate) || rate <= 0.0)
        return;
    m_state.SetRate(rate);
    m_ringSize = static_cast<int>(std::clamp(std::round(2.0 * rate), 1.0, double(kRingCapacity)));
    std::fill(std::begin(m_rateRing), std::end(m_rateRing), -1.0);
    m_ringIndex = 0;
}

void CPlayControlWnd::SetSliderRange(int minimum, int maximum) {
    if (m_bar)
        m_bar->SetRange(minimum, maximum);
}

void CPlayControlWnd::SetSliderRangeIfChanged(int minimum, int maximum) {
    if (!m_bar)
        return;
    int shownMin = minimum;
    int shownMax = maximum;
    m_bar->GetRange(&shownMin, &shownMax);
    if (shownMin == minimum && shownMax == maximum)
        return;
    m_bar->SetRange(minimum, maximum);
    m_echo[kPlayBarInMarker - 1] = 1;
    m_echo[kPlayBarOutMarker - 1] = 1;
}

void CPlayControlWnd::ResetRange() {
    const int count = QueryFrameCount();
    // Without frames there is no range to show.
    if (m_bar && count >= 1) {
        m_bar->SetRange(0, count - 1);
        m_bar->SetInOutPoints(m_in.enabled ? m_in.frame : 0,
                              m_out.enabled ? m_out.frame : count - 1);
        int position = 0;
        m_bar->GetPosition(&position);
        if (position != 0) {
            m_bar->SetPosition(0);
            m_echo[kPlayBarPosition - 1] = 1;
        }
    }
    UpdateReadout();
}

void CPlayControlWnd::GotoFrame(int frame, BOOL notify) {
    m_frame = frame;
    ApplyFrame(notify);
}

void CPlayControlWnd::Clear() {
    SetSliderRange(0, 1);
    m_in = Limit();
    m_out = Limit();
    UpdateReadout();
    GotoFrame(0, TRUE);
}

void CPlayControlWnd::ApplyFrame(BOOL notify) {
    if (m_in.enabled && m_frame < m_in.frame)
        m_frame = m_in.frame;
    if (m_out.enabled && m_frame > m_out.frame)
        m_frame = m_out.frame;
    UpdateBar();
    if (notify && m_frameChanged) {
        m_lastNotifiedFrame = m_frame;
        m_frameChanged.fn(m_frameChanged.context, m_frame);
    }
    if (m_playing && m_measureNext)
        MeasureTick();
}

void CPlayControlWnd::MeasureTick() {
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    m_measureNext = 0;
    if (frequency.QuadPart <= 0)
        return;
    const double nowMs =
        static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
    // A tick that took no time gives no rate.
    if (m_lastTickMs > 0 && nowMs > m_lastTickMs) {
        m_rateRing[m_ringIndex] = 1000.0 / (nowMs - m_lastTickMs);
        if (++m_ringIndex >= m_ringSize)
            m_ringIndex = 0;
        double sum = 0.0;
        int samples = 0;
        for (int i = 0; i < m_ringSize; ++i) {
            if (m_rateRing[i] > 0) {
                sum += m_rateRing[i];
                ++samples;
            }
        }
        m_measuredRate = samples ? sum / samples : 0.0;
        if (m_bar)
            m_bar->SetSpeedText((m_skip + 1) * m_measuredRate);
    }
    m_lastTickMs = nowMs;
}

void CPlayControlWnd::UpdateBar() {
    if (m_bar) {
        int position = m_frame;
        m_bar->GetPosition(&position);
        if (position != m_frame) {
            m_bar->SetPosition(m_frame);
            m_echo[kPlayBarPosition - 1] = 1;
        }
    }
    UpdateReadout();
}

void CPlayControlWnd::UpdateReadout() {
    const int count = QueryFrameCount();
    const int origin = QueryOrigin();
    const int rate = RoundToInt(QueryRecordedRate());
    const int lo = m_in.enabled ? m_in.frame : 0;
    const int hi = m_out.enabled ? m_out.frame : count - 1;
    if (lo >= 0 && hi >= 0)
        SetSliderRangeIfChanged(lo, hi);
    if (m_bar) {
        int minimum = 0;
        int maximum = -1;
        m_bar->GetRange(&minimum, &maximum);
        // The scale changes only with the range, the origin or the rate: not every frame.
        const std::array<int, 4> scale{minimum, maximum, origin, rate};
        if (scale != m_scaleShown) {
            m_scaleShown = scale;
            m_bar->UpdateScaleLabels(std::max(rate, 0), ClampToInt(int64_t{origin} - minimum));
        }
        const int number = ClampToInt(int64_t{m_frame} - origin);
        m_bar->SetFrameField(number);
        m_bar->SetTimeField(rate > 0 ? static_cast<double>(number) / rate : number);
    }
    if (m_frameInfo) {
        int a = 0;
        int b = 0;
        int c = 0;
        m_frameInfo.fn(m_frameInfo.context, &a, &b, &c);
    }
}

CPlayControlWnd::StepRange CPlayControlWnd::ComputeStepRange() {
    StepRange range;
    range.count = QueryFrameCount();
    range.last = range.count - 1;
    if (m_out.enabled) {
        if (m_out.frame >= range.count)
            m_out.frame = range.count - 1;
        range.last = m_out.frame;
    }
    range.first = 0;
    if (m_in.enabled) {
        if (m_in.frame < 0)
            m_in.frame = 0;
        range.first = m_in.frame;
    }
    return range;
}

void CPlayControlWnd::ArmTimer(double periodMs) {
    m_timerMs = TimerMs(periodMs);
    SetTimer(kPlayTimerId, m_timerMs);
}

void CPlayControlWnd::DisarmTimer() {
    KillTimer(kPlayTimerId);
    m_timerMs = 0;
}

void CPlayControlWnd::StartPlay(bool backward) {
    m_playing = 0;
    m_backward = 0;
    DisarmTimer();
    ArmTimer(1.0 / m_state.GetRate() * 1000.0);
    m_lastTickMs = -1.0;
    m_periodMs = -1.0;
    m_measuredRate = 0.0;
    m_state.SetPlaying(true);
    m_playing = 1;
    m_backward = backward ? 1 : 0;
}

void CPlayControlWnd::StopPlay() {
    m_playing = 0;
    m_backward = 0;
    m_state.SetPlaying(false);
    DisarmTimer();
}

void CPlayControlWnd::OnPlay() {
    StartPlay(false);
}

void CPlayControlWnd::OnPlayBackward() {
    StartPlay(true);
}

void CPlayControlWnd::OnStop() {
    StopPlay();
}

int CPlayControlWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    return CWnd::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

void CPlayControlWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kPlayTimerId || !m_playing) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    DisarmTimer();
    const StepRange range = ComputeStepRange();
    bool stopped = false;
    if (range.count < 1) {
        // Nothing left to play (the member went away).
        StopPlay();
        stopped = true;
    } else if (m_backward) {
        if (m_frame > range.first)
            m_frame = m_frame - m_skip >= 1 ? m_frame - m_skip - 1 : 0;
        else if (m_continuous)
            m_frame = range.last;
        else {
            StopPlay();
            stopped = true;
        }
    } else {
        if (m_frame < range.last)
            m_frame = int64_t{m_frame} + m_skip + 1 < range.count ? m_frame + m_skip + 1
                                                                  : range.count - 1;
        else if (m_continuous)
            m_frame = range.first;
        else {
            StopPlay();
            stopped = true;
        }
    }

    const double previousMs = m_lastTickMs;
    m_measureNext = 1;
    ApplyFrame(TRUE);

    const double targetMs = 1000.0 / m_state.GetRate();
    if (previousMs <= 0) {
        m_periodMs = targetMs * 0.5;
    } else {
        const double elapsedMs = m_lastTickMs - previousMs;
        m_periodMs = std::clamp(m_periodMs + 0.6 * (targetMs - elapsedMs), 0.0, targetMs);
    }
    // The owner may have stopped play from its frame-changed callback.
    if (!stopped && m_playing)
        ArmTimer(m_periodMs);
}

void CPlayControlWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    UINT command = 0;
    switch (nChar) {
        case VK_SPACE:
        case 'V':
            command = PlayControlId::kStop;
            break;
        case 'B':
            command = PlayControlId::kBack;
            break;
        case 'C':
            command = PlayControlId::kPlay;
            break;
        case 'G':
            command = PlayControlId::kBaseSync;
            break;
        case 'L':
            command = PlayControlId::kContinuous;
            break;
        case 'M':
            command = PlayControlId::kFFwd;
            break;
        case 'N':
            command = PlayControlId::kFwd;
            break;
        case 'S':
            command = PlayControlId::kSynchronize;
            break;
        case 'X':
            command = PlayControlId::kPlayBackward;
            break;
        case 'Z':
            command = PlayControlId::kRew;
            break;
        default:
            CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
            return;
    }
    SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
}

void CPlayControlWnd::OnFwd() {
    const int count = QueryFrameCount();
    const int64_t next = int64_t{QueryCurrentFrame()} + m_skip + 1;
    m_frame = next < count - 1 ? static_cast<int>(next) : count - 1;
    // No member frames: stay on frame 0 rather than hand the owner a negative frame.
    m_frame = std::max(m_frame, 0);
    ApplyFrame(TRUE);
}

void CPlayControlWnd::OnBack() {
    m_frame = ClampToInt(std::max<int64_t>(int64_t{QueryCurrentFrame()} - m_skip - 1, 0));
    ApplyFrame(TRUE);
}

void CPlayControlWnd::OnRew() {
    int target = 0;
    if (m_rewind && m_rewind.fn(m_rewind.context, m_frame, &target)) {
        m_frame = target;
    } else {
        m_frame = ComputeStepRange().first;
    }
    ApplyFrame(TRUE);
}

void CPlayControlWnd::OnFFwd() {
    int target = 0;
    if (m_fastForward && m_fastForward.fn(m_fastForward.context, m_frame, &target)) {
        m_frame = target;
    } else {
        const StepRange range = ComputeStepRange();
        // Without member frames there is no last frame to go to.
        if (range.last < 0)
            return;
        m_frame = range.last;
    }
    ApplyFrame(TRUE);
}

void CPlayControlWnd::OnToggleContinuous() {
    m_continuous = !m_continuous;
    if (m_continuousCb)
        m_continuousCb.fn(m_continuousCb.context, m_continuous);
}

void CPlayControlWnd::OnToggleBaseSync() {
    m_baseSync = !m_baseSync;
    if (m_baseSyncCb)
        m_baseSyncCb.fn(m_baseSyncCb.context, m_baseSync);
}

void CPlayControlWnd::OnToggleSynchronize() {
    m_synchronize = !m_synchronize;
    if (m_synchronize)
        m_syncAnchor = m_frame;
    // Without an owner's frame the play control's own stays.
    const int current = QueryCurrentFrame();
    if (current >= 0)
        m_frame = current;
    if (m_synchronizeCb)
        m_synchronizeCb.fn(m_synchronizeCb.context, m_frame, m_synchronize);
}

void CPlayControlWnd::OnJump() {
    const int number = m_bar ? m_bar->GetJumpFrame() : 0;
    const int64_t target = int64_t{QueryOrigin()} + number;
    if (target < 0 || target >= QueryFrameCount()) {
        AfxMessageBox("Invalid frame entered.");
        return;
    }
    m_frame = static_cast<int>(target);
    ApplyFrame(TRUE);
    ApplyFrame(TRUE);
}

void CPlayControlWnd::OnZero() {
    if (m_zero)
        m_zero.fn(m_zero.context, m_frame);
}

void CPlayControlWnd::OnSkipEditChanged() {
    SetSkipAndShow(m_bar ? m_bar->GetSpeedField() - 1 : 0);
}

void CPlayControlWnd::OnRateSliderReleased() {
    SetRate(m_bar ? m_bar->GetSpeed() : 1.0);
}

void CPlayControlWnd::OnRateSliderNotify(NMHDR*, LRESULT* pResult) {
    OnRateSliderReleased();
    *pResult = 0;
}

void CPlayControlWnd::OnSkipSpinNotify(NMHDR* pNMHDR, LRESULT* pResult) {
    auto* updown = reinterpret_cast<NMUPDOWN*>(pNMHDR);
    *pResult = OnSkipSpinDeltaPos(&updown->iPos, &updown->iDelta);
}

LRESULT CPlayControlWnd::OnSkipSpinDeltaPos(int* position, int* delta) {
    // The spin runs reversed: up lowers the value.
    const int value =
        ClampToInt(std::clamp<int64_t>(int64_t{*position} - *delta, kMinSpin, kMaxSpin));
    *position = value;
    *delta = 0;
    if (m_skipChanged)
        m_skipChanged.fn(m_skipChanged.context, value - 1);
    return 0;
}

LRESULT CPlayControlWnd::OnBarTracking(WPARAM kind, LPARAM value) {
    return OnBarSlider(kind, value, false);
}

LRESULT CPlayControlWnd::OnBarReleased(WPARAM kind, LPARAM value) {
    return OnBarSlider(kind, value, true);
}

LRESULT CPlayControlWnd::OnBarSlider(WPARAM kind, LPARAM value, bool released) {
    if (value < 0 || kind < kPlayBarPosition || kind > kPlayBarOutMarker)
        return -1;
    const int frame = ClampToInt(value);
    int& echo = m_echo[kind - 1];
    if (!released && echo) {
        echo = 0;
        return -1;
    }

    if (kind == kPlayBarPosition) {
        int in = INT_MIN;
        int out = INT_MAX;
        if (m_bar)
            m_bar->GetInOutPoints(&in, &out);
        if (frame < in || frame > out) {
            if (m_bar) {
                m_bar->SetPosition(m_frame);
                m_echo[kPlayBarPosition - 1] = 1;
            }
            return -1;
        }
        if (m_playing)
            return released ? 1 : 0;
        m_frame = frame;
        ApplyFrame(TRUE);
        return 0;
    }

    int position = m_frame;
    int in = 0;
    int out = 0;
    if (m_bar) {
        m_bar->GetPosition(&position);
        m_bar->GetInOutPoints(&in, &out);
    }
    if (kind == kPlayBarInMarker) {
        m_in.frame = std::min(frame, position);
        m_in.enabled = 1;
        if (m_bar && in != m_in.frame) {
            m_bar->SetInPoint(m_in.frame);
            echo = 1;
        }
    } else {
        m_out.frame = std::max(frame, position);
        m_out.enabled = 1;
        if (m_bar && out != m_out.frame) {
            m_bar->SetOutPoint(m_out.frame);
            echo = 1;
        }
    }
    if (released)
        ApplyFrame(TRUE);
    return 0;
}

void CPlayControlWnd::ResetLimits() {
    const int count = QueryFrameCount();
    m_in = Limit();
    m_out = Limit{0, count - 1};
    if (count >= 1)
        SetSliderRange(0, count - 1);
}

LRESULT CPlayControlWnd::OnBarResetLimits(WPARAM, LPARAM) {
    ResetLimits();
    if (m_frameChanged)
        m_frameChanged.fn(m_frameChanged.context, m_frame);
    return 0;
}
