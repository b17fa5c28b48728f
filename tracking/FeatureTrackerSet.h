#pragma once

// CFeatureTrackerSet: the trackers of a feature set and the automatic tracking run that steps
// them frame by frame, forward or backward, on the user-interface thread, pumping its messages
// between trackers so that the program stays responsive and the run can be stopped.

#include "platform/wintypes/WinTypes.h"

#include <memory>
#include <vector>

class CFeatureTracker;
class ITrackingRunHost;

class CFeatureTrackerSet {
public:
    // Posted to any window of the thread, it stops a running run.
    static constexpr UINT kStopMessage = 0x536;

    // Installs the imaging error hook.
    CFeatureTrackerSet();
    ~CFeatureTrackerSet();
    CFeatureTrackerSet(const CFeatureTrackerSet&) = delete;
    CFeatureTrackerSet& operator=(const CFeatureTrackerSet&) = delete;

    // The tracker of that feature, made and appended when there is none. Owned by the set.
    CFeatureTracker* FindOrAddTracker(int featureNumber);
    // Deletes every tracker.
    void Clear();
    int GetCount() const { return static_cast<int>(m_trackers.size()); }
    CFeatureTracker* GetTracker(int index) const;

    // Borrowed; told of points, frames and the run's end.
    void SetHost(ITrackingRunHost* host) { m_host = host; }
    void SetFrameCount(int frames) { m_frameCount = frames; }
    // 0 forward, anything else backward.
    void SetDirection(BYTE direction) { m_direction = direction; }
    // Frames skipped between tracked frames.
    void SetStep(int step) { m_step = step; }
    bool IsRunning() const { return m_running != 0; }
    // Ends the run after the current tracker, without RunComplete. Takes effect when called
    // from a message handled by the run's own pump (or from the host).
    void Stop() { m_running = 0; }

    // Tracks from startFrame until the recording's end in the run's direction, until no
    // tracker is active, or until stopped. A set without trackers does nothing.
    void Run(int startFrame);

private:
    // Handles the thread's waiting messages; a waiting stop message, or the answer No at an
    // imaging error, ends the run.
    void PumpMessages();

    std::vector<std::unique_ptr<CFeatureTracker>> m_trackers;
    ITrackingRunHost* m_host = nullptr;
    int m_frameCount = 0;
    BYTE m_direction = 0;
    int m_step = 0;
    int m_running = 0;
};
