#pragma once

// CPlayDataCallback: carries tracked feature points between a play group's track data and the
// measurement points of its active video window: pulling shows every tracked point of the shown
// features as a measurement point, pushing moves the track points to where the user has moved
// the measurement points since the pull. Made by the play group's view with the group's
// document; owns nothing.

#include "groups/IPlayDataGatherer.h"
#include "platform/wintypes/WinError.h"

#include <map>
#include <utility>

class CMeasurementFormDoc;
class CMeasurementView;
class CTrackFeatureSet;
class IMeasurementPointHost;

class CPlayDataCallback : public IPlayDataGatherer {
public:
    // Both borrowed; either may be null.
    CPlayDataCallback(CMeasurementFormDoc* doc, CMeasurementView* view);
    ~CPlayDataCallback() override = default;
    CPlayDataCallback(const CPlayDataCallback&) = delete;
    CPlayDataCallback& operator=(const CPlayDataCallback&) = delete;

    // E_FAIL without a track set for the active view, else S_OK.
    HRESULT PushMeasurementPointsToTracks() override;
    // S_OK always; changed (optional) is left alone without a track set.
    HRESULT PullTrackPoints(bool* changed) override;

    // The active video view's measurement points and the track set of its recording: the view
    // null unless it shows a video member, the set null unless that member is a file video of
    // the group.
    void FindTrackSetForActiveView(IMeasurementPointHost** view, CTrackFeatureSet** set) const;

    // Where each pulled measurement point was put, by (frame, feature), in image pixels.
    using PulledPoints = std::map<std::pair<int, int>, std::pair<double, double>>;

    // The two directions for a given view and set. Track positions are tenths of a pixel, the
    // measurement points' image pixels: pulling multiplies by 0.1, pushing by 10. Pull records
    // what it showed in pulled; Push moves only the points the user moved away from there (a
    // point the tracker moved since stays where the tracker put it) and records the new place.
    static HRESULT Pull(IMeasurementPointHost* view, CTrackFeatureSet* set, bool* changed,
                        PulledPoints* pulled);
    static HRESULT Push(IMeasurementPointHost* view, CTrackFeatureSet* set, PulledPoints* pulled);

private:
    CMeasurementFormDoc* m_doc;
    CMeasurementView* m_view;
    // What the last pull showed, and from which set (compared only, never followed).
    PulledPoints m_pulled;
    const CTrackFeatureSet* m_pulledFrom = nullptr;
};
