#include "devices/CXView.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CCXView, CVidView)

BEGIN_MESSAGE_MAP(CCXView, CVidView)
ON_WM_TIMER()
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

double s_refreshHz = 0.0;

}  // namespace

void CCXView::SetDisplayRefreshHz(double hz) {
    s_refreshHz = hz;
}

double CCXView::DisplayRefreshHz() {
    if (s_refreshHz > 0)
        return s_refreshHz;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double hz = screen ? screen->refreshRate() : 0.0;
    return hz >= 1.0 ? hz : 60.0;
}

void CCXView::PlayLive(const CFrameSourcePtr& source, double rateHz) {
    KillTimer(kLiveTimerId);
    m_liveFramesShown = 0;
    SetFrameSource(source);
    if (source.IsEmpty())
        return;
    const double shownHz = std::min(rateHz > 0 ? rateHz : 30.0, DisplayRefreshHz());
    m_livePeriodMs = static_cast<UINT>(std::max(1.0, std::ceil(1000.0 / shownHz)));
    SetTimer(kLiveTimerId, m_livePeriodMs);
}

void CCXView::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kLiveTimerId) {
        CVidView::OnTimer(nIDEvent);
        return;
    }
    if (GetFrameSource().IsEmpty())
        return;
    // The live source's only frame is read again each time: it is the frame due now.
    SetCurrentFrame(0, 1);
    ++m_liveFramesShown;
}

void CCXView::OnDestroy() {
    KillTimer(kLiveTimerId);
    CVidView::OnDestroy();
}
