#pragma once

// CTrackFeatureSet: the tracking data of one recording in a play group: a numbered list of
// features with their tracking settings, and for every feature and frame the tracked centre (in
// tenths of a pixel) and region (in pixels). The user sets features with the picking tool,
// clears and locks them, chooses the auto-tracked feature and starts automatic tracking runs;
// the tracking overlay draws what the set holds and the analysis export reads it. Every change
// the user can see ends with a repaint through the embedded listener.

#include "frames/MovieSettingsList.h"
#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinTypes.h"
#include "tracking/FeatureTrackerSet.h"
#include "tracking/ITrackingRunHost.h"
#include "tracking/records/TrackFeature.h"
#include "tracking/records/TrackPoint.h"
#include "tracking/records/TrackRegion.h"
#include "tracking/records/TrackSample.h"
#include "tracking/sectioned/SectionedList.h"
#include "views/IndexedDWordArray.h"
#include "views/OverlayListener.h"

#include <QString>

#include <vector>

class CFile;
class IPositionSource;
class ITrackFeatureHost;
class ITrackFrameSource;

class CTrackFeatureSet : public ITrackingRunHost {
public:
    // What TrackedPoint returns for a report it cannot place.
    static constexpr HRESULT kUnknownTracker = 13;
    // Regions above this many square pixels make a run ask first.
    static constexpr int kLargeRegionArea = 15000;
    // Keys of the index-value array that allow the picking tool and indexed editing.
    static constexpr int kToolKey = 0;
    static constexpr int kIndexKey = 1;

    CTrackFeatureSet();
    ~CTrackFeatureSet() override;
    CTrackFeatureSet(const CTrackFeatureSet&) = delete;
    CTrackFeatureSet& operator=(const CTrackFeatureSet&) = delete;

    // Features. E_POINTER for null outs.
    HRESULT GetFeatureCount(int* out) const;
    // Takes n (clamped to 0) when it is below MaxFeatures.
    HRESULT SetFeatureCount(int n);
    // Item i (a default item past the end); defined = it exists and its Param6 is non-zero.
    HRESULT GetFeature(int i, bool* defined, CTrackFeature* out) const;
    HRESULT SetFeature(int i, bool* stored, const CTrackFeature* in);
    HRESULT CopyFeaturesFrom(const CTrackFeatureSet* other);
    HRESULT AddFeature();
    // Deletes every feature whose flag is non-zero, from the highest index down; each takes its
    // points, regions and tracking settings with it.
    HRESULT DeleteFeatures(const std::vector<BYTE>* flags);
    HRESULT GetListener(COverlayListener** out);
    CIndexedDWordArray& GetIndexValues() { return m_indexValues; }
    HRESULT SetWord(int32_t word);
    // Borrowed; they must outlive the set or be cleared.
    HRESULT SetFrameSource(ITrackFrameSource* source);
    HRESULT SetPositionSource(IPositionSource* source);
    HRESULT SetHost(ITrackFeatureHost* host);
    HRESULT GetFrameSource(ITrackFrameSource** out) const;
    HRESULT SetFeatureLimits(int maxFeatures, int initialFeatures);
    // Sizes the lists for the recording's frame count; E_FAIL when that is unknown.
    HRESULT SetFeatureCountForRecording(int n);

    // The run's packed report: tracker index in the high 16 bits of the frame word, the frame
    // in its low 16 bits; y10 in the high and x10 in the low 16 bits of the position word.
    HRESULT TrackedPoint(uint32_t frameWord, uint32_t positionWord);
    HRESULT StoreTrackedPoint(int tracker, int frame, int x10, int y10);

    // Queries; found = present. E_POINTER for a null record out.
    HRESULT GetPoint(int frame, int feature, bool* found, CTrackPoint* out) const;
    HRESULT FindPreviousPoint(int frame, int feature, bool* found, CTrackPoint* out,
                              int* foundFrame) const;
    HRESULT GetRegion(int frame, int feature, bool* found, CTrackRegion* out) const;
    HRESULT GetSample(int feature, CTrackSample* out) const;
    HRESULT HasPointsAt(int frame, bool* out) const;
    HRESULT GetFeaturesInUse(int* out) const;
    // The frame source's counts; -1 without one or when it fails.
    HRESULT GetFrameCount(int* out) const;
    HRESULT GetCurrentFrame(int* out) const;
    HRESULT GetSelectedFeature(int* out) const;
    HRESULT SetSelectedFeature(int i, bool notify);

    // Tracking settings per feature ("TS").
    HRESULT GetSampleCount(int* out) const;
    HRESULT GetSampleItem(int i, bool* enabled, CTrackSample* out) const;
    HRESULT SetSampleItem(int i, bool* stored, const CTrackSample* in);
    HRESULT CopySamplesFrom(const CTrackFeatureSet* other);

    // Editing. Each fails (E_FAIL, nothing changed) when the lists are not ready, the tool is
    // not enabled, an index lies outside the lists or the user keeps a feature's lock.
    HRESULT SetFeatureHere();
    // x, y in whole pixels.
    HRESULT SetPointAndRegion(int frame, int feature, int x, int y, int left, int top, int right,
                              int bottom);
    HRESULT SetFeatureAt(int frame, int feature);
    // Moves an existing point to (x10, y10) with the region given; the point and region keep
    // how they were set unless they change. Used by the measurement points' push.
    HRESULT MovePoint(int frame, int feature, int x10, int y10, const CRect& region);
    HRESULT StoreDisplaySettingsHere(int feature);
    HRESULT StoreDisplaySettings(int frame, int feature);
    // mode 1 tracks one frame on; direction < 0 runs backward.
    HRESULT StartAutoTracking(int mode, int direction);
    HRESULT StopAutoTracking();
    HRESULT SetAutoNextFeature(bool on);
    HRESULT GetAutoNextFeature(bool* out) const;
    HRESULT SetWrapFeatures(bool on);
    HRESULT GetWrapFeatures(bool* out) const;
    HRESULT SetIndexSwitch(bool on);
    HRESULT GetIndexSwitch(bool* out) const;
    HRESULT SetToolActive(bool on);
    HRESULT GetToolActive(bool* out) const;
    HRESULT SetToolEnabled(bool on);
    HRESULT IsTracking(bool* out) const;
    HRESULT SetStepAfterSet(int32_t step);
    HRESULT ClearAllTracks();
    HRESULT ClearFrom(int frame, int feature);
    HRESULT ClearFromAll(int frame);
    HRESULT ClearUpTo(int frame, int feature);
    HRESULT ClearUpToAll(int frame);
    HRESULT ClearAt(int feature, int frame);
    HRESULT ClearAtAll(int frame);
    // kind 1 everything, 2 what the user set, 4 what a run set.
    HRESULT ClearByKind(int feature, int kind);
    HRESULT IsAutoTrackedHere(bool* out) const;
    HRESULT IsAutoTrackedAtFrame(int frame, bool* out) const;
    HRESULT IsTrackedAtFrame(int frame, int feature, bool* out) const;
    HRESULT ApplyMovieSettings(int index);
    // Appends the lists to an open file (the caller created it).
    HRESULT Save(CFile& file);
    // Replaces the lists with those of the file; without keepTracks only features and settings
    // are taken. E_FAIL, with nothing changed, when the file cannot be opened.
    HRESULT Load(const QString& path, bool keepTracks);
    HRESULT SwitchAutoTrackedFeature(int feature, bool ask);

    // The two advance settings (AutoNextFeature, WrapFeatures) as words, which the push of the
    // measurement points clears while it moves points.
    void GetAdvanceModes(int* autoNext, int* wrap) const;
    void SetAdvanceModes(int autoNext, int wrap);
    // The auto-tracked feature: the first defined one with Flag3 set; -1 for none.
    int AutoTrackedFeature() const;
    int GetFrameListCount() const { return m_frameCount; }

    // ITrackingRunHost.
    void TrackedPoint(int tracker, int frame, int x10, int y10) override;
    void FrameDone(int frame, int reserved) override;
    void RunComplete(int reserved1, int reserved2) override;

private:
    void ResizeLists(int count);
    void ResizeLists(int frames, int count);
    void GiveStartingValues();
    bool InFeatures(int feature) const { return feature >= 0 && feature < m_fo.GetNumLists(); }
    bool InFrames(int frame) const { return frame >= 0 && frame < m_frameCount; }
    bool InPoints(int frame, int feature) const;
    bool InRegions(int frame, int feature) const;
    bool IsDefined(int feature) const;
    bool IsTrackedAt(int frame, int feature) const;
    bool IsAutoTrackedAt(int frame) const;
    bool HasRunResults(int feature) const;
    // True when the feature is not locked or the user overrides the lock.
    bool PassLockCheck(int feature) const;
    void ClearRange(int feature, int first, int end);
    bool ClearRangeChecked(int feature, int first, int end);
    void EraseRunResults(int feature);
    void SetItems(int frame, int feature, const CTrackPoint* point, const CTrackRegion* region);
    void AdvanceAfterSet();
    void MoveFrameOn();
    // The movie-settings entry of the view's current display settings; -1 for none.
    int DisplaySettingsEntry();
    // False when the frame reads and every pixel of rect in it has one value: a flat template
    // gives the matcher nothing to correlate.
    bool RegionHasContrast(int frame, const CRect& rect);
    bool SetFeatureAtImpl(int frame, int feature);
    void DeleteFeature(int index);
    void Notify();
    bool RunTracking();

    int32_t m_word = 0;
    ITrackFrameSource* m_frameSource = nullptr;
    ITrackFeatureHost* m_host = nullptr;
    IPositionSource* m_positionSource = nullptr;
    COverlayListener m_listener;
    CIndexedDWordArray m_indexValues;
    bool m_toolActive = false;
    bool m_toolEnabled = false;
    bool m_listsReady = false;
    int32_t m_frameCount = 0;
    int32_t m_maxFeatures = 0;
    int32_t m_initialFeatures = 0;
    int32_t m_featureCount = 0;
    bool m_autoNextFeature = true;
    bool m_wrapFeatures = true;
    bool m_backward = false;
    int32_t m_stepAfterSet = 0;
    int32_t m_selectedFeature = 0;
    CSectionedList<CTrackFeature> m_fo;
    CSectionedList<CTrackSample> m_ts;
    CSectionedList<CTrackPoint> m_fc;
    CSectionedList<CTrackRegion> m_fr;
    std::vector<int32_t> m_runFeatures;
    CMovieSettingsList m_movieSettings;
    bool m_indexSwitch = false;
    bool m_savedWrap = true;
    bool m_switchedSourceOn = false;
    int32_t m_styleCounter = 0;
    CFeatureTrackerSet m_trackers;
};
