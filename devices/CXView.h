#pragma once

// CCXView: a video view that shows live video. The live source has one frame, the one due now;
// a timer reads it again at the live rate, never faster than the display can show.

#include "views/VidView.h"

class CCXView : public CVidView {
    DECLARE_DYNAMIC(CCXView)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT_PTR kLiveTimerId = 1377;

    // Plays source (empty: stops) at rateHz frames per second.
    void PlayLive(const CFrameSourcePtr& source, double rateHz);
    // The timer period the live video repaints at, in milliseconds.
    UINT GetLivePeriodMs() const { return m_livePeriodMs; }
    // The live frames shown since the view began to play.
    int GetLiveFramesShown() const { return m_liveFramesShown; }
    // The display's refresh rate that caps the live rate (tests fix it; 0 asks the screen).
    static void SetDisplayRefreshHz(double hz);
    static double DisplayRefreshHz();
    // Shows the frame due now.
    void OnTimer(UINT_PTR nIDEvent);

protected:
    void OnDestroy();

private:
    UINT m_livePeriodMs = 0;
    int m_liveFramesShown = 0;
};
