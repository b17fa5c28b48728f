#pragma once

// CVideoAnalysis: the analysis objects of one video member of a play group: its calibration
// settings, its feature tracking set, the tracking overlay and the coordinate-axes overlay,
// wired to the member's video view, which draws them and offers them its "View Calibration",
// "Clear All Forward" and "Tracking" commands. The view's reticle is the picking tool, its
// selection the drawn region.

#include "frames/FrameSourcePtr.h"
#include "groups/IVideoAnalysis.h"
#include "tracking/AnalysisExport.h"
#include "tracking/AnalysisSettings.h"
#include "tracking/CoordAxesOverlay.h"
#include "tracking/FrameSourceAdapter.h"
#include "tracking/ICalibrationContext.h"
#include "tracking/IPositionSource.h"
#include "tracking/IRecordingInfoSource.h"
#include "tracking/ITrackFrameSource.h"
#include "tracking/TrackFeatureSet.h"
#include "tracking/TrackOverlay.h"
#include "views/IVideoAnalysisOverlays.h"

#include <vector>

class CMeasurementFormFrame;
class CMeasurementView;
class CVidView;
class CView;

class CVideoAnalysis : public IVideoAnalysis,
                       public IVideoAnalysisOverlays,
                       public IPositionSource,
                       public IImageSizeSource,
                       public ITrackFrameSource,
                       public ITrackFeatureHost,
                       public ICalibrationContext,
                       public IRecordingInfoSource {
public:
    // The registry path under which the default calibration lies.
    static constexpr const char* kRegistryBase = "Software\\Tolvar\\Vidra OS";
    static constexpr int kMaxFeatures = 20;
    // Half the side of the region a click gives a feature when no region is drawn.
    static constexpr int kDefaultRegionHalfSize = 10;

    // view may be null (the objects then draw nowhere); borrowed, followed until it goes.
    CVideoAnalysis(const CFrameSourcePtr& source, CVidView* view);
    ~CVideoAnalysis() override;
    CVideoAnalysis(const CVideoAnalysis&) = delete;
    CVideoAnalysis& operator=(const CVideoAnalysis&) = delete;

    // The factory the play group's document calls for each new video member.
    static IVideoAnalysis* Create(const CFrameSourcePtr& source, CView* view);

    CAnalysisSettings& GetSettings() { return m_settings; }
    CTrackFeatureSet& GetFeatureSet() { return m_features; }
    CTrackOverlay& GetTrackOverlay() { return m_trackOverlay; }
    CCoordAxesOverlay& GetAxesOverlay() { return m_axes; }
    CVidView* GetView() const;
    // ICalibrationContext: further drawings (the calibration panel's axes) are borrowed.
    CAnalysisSettings& GetCalibrationSettings() override { return m_settings; }
    IPositionSource* GetReticleSource() override { return this; }
    IImageSizeSource* GetImageSizeSource() override { return this; }
    CVidView* GetContextView() const override { return m_view; }
    void AddExtraOverlay(IOverlayDraw* drawing) override;
    void RemoveExtraOverlay(IOverlayDraw* drawing) override;

    // IVideoAnalysisOverlays.
    void DrawOverlays(CDC* dc, const CRect& area) override;
    bool OnAnalysisCommand(UINT id) override;
    bool OnUpdateAnalysisCommand(CCmdUI* cmdUI) override;
    void OnViewGone() override;
    // The current calibration once one was applied to the recording (its Type is set).
    bool GetRecordingCalibration(CCalibrationData* calibration) override;

    // IPositionSource over the view's reticle and selection.
    HRESULT Reset(int value) override;
    HRESULT Switch(int on) override;
    HRESULT IsActive(bool* active) override;
    HRESULT GetPickedPosition(double* x, double* y) override;
    HRESULT GetDrawnRegion(double* left, double* top, double* right, double* bottom) override;
    // IImageSizeSource and ITrackFrameSource over the recording and its view.
    HRESULT GetSize(int* width, int* height) override;
    HRESULT GetFrameCount(int* count) override;
    HRESULT GetCurrentFrame(int* frame) override;
    HRESULT GoToFrame(int frame) override;
    HRESULT GetDisplaySettings(CLutParamSet* colour, CLutParamSet* grey) override;
    HRESULT ApplyDisplaySettings(const CLutParamSet& colour, const CLutParamSet& grey) override;
    ITrackerFrameSource* GetTrackerSource() override { return &m_trackerSource; }
    // ITrackFeatureHost.
    void OnFeatureSelected(int feature) override;
    // IRecordingInfoSource over the recording and its view's rate.
    int GetTriggerFrameIndex() override;
    double GetFrameRate() override;
    QString GetFileName() override;

private:
    // The play group the video belongs to: its view and frame, null outside a group.
    CMeasurementView* GroupView() const;
    CMeasurementFormFrame* GroupFrame() const;
    void Repaint();
    void ExportAnalysis(int kind);
    bool ToggleSwitch(UINT id);
    bool SwitchState(UINT id) const;

    CFrameSourcePtr m_source;
    CVidView* m_view = nullptr;
    CFrameSourceAdapter m_trackerSource;
    CAnalysisSettings m_settings;
    CTrackFeatureSet m_features;
    CTrackOverlay m_trackOverlay;
    CCoordAxesOverlay m_axes;
    CAnalysisExport m_export;
    std::vector<IOverlayDraw*> m_extraOverlays;
};
