#include "tracking/FeatureTrackerSet.h"

#include "tracking/FeatureTracker.h"
#include "tracking/ITrackingRunHost.h"
#include "tracking/TrackingErrors.h"

#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageQueue.h"

#include <algorithm>

CFeatureTrackerSet::CFeatureTrackerSet() {
    InstallTrackingErrorHook();
}

CFeatureTrackerSet::~CFeatureTrackerSet() = default;

CFeatureTracker* CFeatureTrackerSet::FindOrAddTracker(int featureNumber) {
    for (const auto& tracker : m_trackers) {
        if (tracker->GetFeatureNumber() == featureNumber)
            return tracker.get();
    }
    m_trackers.push_back(std::make_unique<CFeatureTracker>());
    m_trackers.back()->SetFeatureNumber(featureNumber);
    return m_trackers.back().get();
}

void CFeatureTrackerSet::Clear() {
    m_trackers.clear();
}

CFeatureTracker* CFeatureTrackerSet::GetTracker(int index) const {
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_trackers[static_cast<size_t>(index)].get();
}

void CFeatureTrackerSet::PumpMessages() {
    MSG msg;
    if (PeekMessage(&msg, nullptr, kStopMessage, kStopMessage, PM_NOREMOVE))
        m_running = 0;
    if (!AfxPumpMessage()) {
        // The program is closing: the request is left, with exit code 1, for the main loop
        // to see when the run is over.
        AfxTakeQuitRequest(nullptr);
        PostQuitMessage(1);
    }
    if (TakeTrackingStopRequest())
        m_running = 0;
}

void CFeatureTrackerSet::Run(int startFrame) {
    if (m_trackers.empty())
        return;
    const bool forward = m_direction == 0;
    const int advance = std::max(0, m_step) + 1;
    int frame = startFrame;
    m_running = 1;
    while (m_running) {
        const bool anyActive = std::any_of(m_trackers.begin(), m_trackers.end(),
                                           [](const auto& t) { return t->IsActive(); });
        if (!anyActive || (forward ? frame >= m_frameCount : frame < 0))
            break;
        bool anyTracked = false;
        for (size_t i = 0; i < m_trackers.size() && m_running; ++i) {
            CFeatureTracker& tracker = *m_trackers[i];
            tracker.SetCurrentFrame(frame);
            int end = tracker.GetEndFrame();
            if (end == -1 || end == -2)
                end = forward ? m_frameCount - 1 : 0;
            const int start = tracker.GetStartFrame();
            const bool inRange =
                forward ? frame >= start && frame <= end : frame <= start && frame >= end;
            bool tracked = false;
            double x = 0.0;
            double y = 0.0;
            bool lost = false;
            if (inRange && tracker.IsActive() && tracker.LoadFrame()) {
                tracker.Step();
                if (tracker.IsActive()) {
                    tracker.GetPosition(&x, &y);
                    tracked = true;
                } else {
                    lost = true;
                }
            }
            if (lost) {
                // A feature the matcher dropped would otherwise end its track without a word.
                AfxMessageBox(
                    QStringLiteral("Feature %1 was lost at frame %2; its tracking stopped.")
                        .arg(tracker.GetFeatureNumber() + 1)
                        .arg(frame));
            }
            PumpMessages();
            if (tracked && m_running) {
                anyTracked = true;
                if (m_host) {
                    m_host->TrackedPoint(static_cast<int>(i), frame, static_cast<int>(x * 10.0),
                                         static_cast<int>(y * 10.0));
                }
            }
        }
        if (anyTracked && m_running && m_host)
            m_host->FrameDone(frame, 0);
        frame += forward ? advance : -advance;
    }
    if (m_running && m_host)
        m_host->RunComplete(0, 0);
    m_running = 0;
}
