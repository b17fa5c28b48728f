#pragma once

// CVidView: the view of a video window. It shows one recording of a play group through the
// stream window that fills its client area, keeps the two display look-up-table parameter sets
// the frames are shown with, hosts the overlay listeners of the tools that draw over the video,
// and carries the window's frame-change adapter so that play groups can link it with others.

#include "frames/FrameSourcePtr.h"
#include "frames/IMovieView.h"
#include "frames/lutparams/LutParamSet.h"
#include "platform/com/ComPtr.h"
#include "platform/com/IDispatch.h"
#include "shell/IImageReadout.h"
#include "views/IMeasurementPointHost.h"
#include "views/INoteMarker.h"
#include "views/IStreamDisplay.h"
#include "views/OverlayHost.h"
#include "views/PlaybackView.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class CChangedFrameVidView;
class CStreamWnd;
class CVidViewRegionAdapter;
class CVidViewToolAdapter;
class IIdUnknown;
class IVideoAnalysisOverlays;

class CVidView : public CPlaybackView,
                 public IStreamDisplay,
                 public IMovieView,
                 public IImageReadout,
                 public IMeasurementPointHost {
    DECLARE_DYNCREATE(CVidView)
    DECLARE_MESSAGE_MAP()

public:
    // The stream window's control id.
    static constexpr UINT kStreamWndId = 10001;
    // The "Annotate" pop-up of the context menu.
    static constexpr UINT kAnnotateMenu = 147;
    // The measurement overlays' pop-up of the context menu.
    static constexpr UINT kMeasureMenu = 146;

    enum Command : UINT {
        kCalibration = 32828,
        kClearAllForward = 32866,
        kDebugging1 = 32883,
        kDebugging2 = 32884,
        kDebugging3 = 32885,
        kDefineZoomRegion = 32894,
        kSetZoomRegion = 32895,
        kRemoveZoomRegion = 32897,
        kShowZoomRegion = 32899,
        kHistogramOutput = 32900,
        kShowMeanHistogramPlot = 32901,
        kRemoveHistogramOutput = 32902,
        kDebugging4 = 32906,
        kDebugging5 = 32907,
        kColorAdjustment = 32913,
        kAddScaleCalibration = 32930,
        kAddVelocityCaliper = 32931,
        kAddCaliper = 32932,
        kAddGotoNote = 32933,
        kFrameSlider = 32934,
        kVideoInformation = 32935,
        kAddMeasurementPoint = 32937,
        // The commands of the "Tracking" menu, handled by the analysis objects.
        kFirstTrackingCommand = 32970,
        kSetFeature = 32970,
        kAddFeature = 32971,
        kDeleteFeature = 32972,
        kAutoTrackFeature = 32973,
        kStartAutoTracking = 32974,
        kStopAutoTracking = 32975,
        kShowWholeTrail = 32976,
        kShowTrailUpToCurrent = 32977,
        kShowCurrentMarkers = 32978,
        kShowRegions = 32979,
        kShowSearchWindows = 32980,
        kShowLegend = 32981,
        kClearAllTracks = 32982,
        kCalibrationPanel = 32983,
        kExportAnalysisText = 32984,
        kExportAnalysisWorkbook = 32985,
        kExportAnalysisTemplate = 32986,
        kShowTrackPoints = 32987,
        kLastTrackingCommand = 32989,
    };
    // The "Tracking" pop-up of the context menu in its order; id 0 is a separator.
    static const std::vector<std::pair<UINT, const char*>>& TrackingMenuItems();

    // fn(context, value): what the play group hears from SetGroupCallback.
    using GroupCallback = void (*)(void* context, intptr_t value);

    CVidView();
    ~CVidView() override;

    // An integer setting of the main window's settings store; nothing without a store or a
    // value.
    static std::optional<int> IntegerSetting(const char* key);
    // The annotation tool a tool command selects, -1 for a command that is not a tool command.
    // A tool command hands its tool to the stream window, which keeps it for its annotations.
    static int ToolOfCommand(UINT nID);

    // Shows frame (never below 0) through the stream window with the view's two parameter
    // sets and tells the frame-changed callback. With force the frame is read from the source
    // again even when it is the source's current frame.
    void SetCurrentFrame(int frame, int force) override;
    // The recording numbers its frames from frame from now on (not saved until the user saves
    // its parameters).
    BOOL SetZeroFrame(int frame) override;

    // Added operations of every video view.
    virtual void SetGroupCallback(intptr_t value);
    // Hands the five values to every overlay listener of the view; the host's result.
    virtual HRESULT BroadcastToOverlays(intptr_t v1, intptr_t v2, intptr_t v3, intptr_t v4,
                                        intptr_t v5);

    void SetGroupCallbackFunction(GroupCallback fn, void* context);

    // Shares source with the stream window, then shows the current frame from it. An empty
    // holder detaches the view from its recording.
    void SetFrameSource(const CFrameSourcePtr& source);
    CFrameSourcePtr GetFrameSource() const { return m_source; }

    // Takes copies of both sets and shows the current frame again through them.
    void SetDisplayLuts(const CLutParamSet& colourSet, const CLutParamSet& bwSet);
    // Copies the view's sets out; a null pointer is skipped.
    void GetDisplayLuts(CLutParamSet* colourSet, CLutParamSet* bwSet) const;

    // Sends state (an automation object of the look-up-table editor) to the view's modify-state
    // object. Does nothing for a null pointer or while that object is not available.
    void SetModifyState(IDispatch** state);
    // Whether the modify-state object could be created (its module is registered).
    bool HasModifyState() const { return static_cast<bool>(m_modifyState); }
    // The modify-state object itself (borrowed), nullptr while it is not available.
    IDispatch* GetModifyState() const { return m_modifyState.Get(); }

    // The adapter through which play groups link this view with others (ids 2, 4 and 5); it
    // stays the view's. E_POINTER for a null out.
    HRESULT GetFrameChangeAdapter(IIdUnknown** out) const;

    // The recording's notes (not owned): they mark noted frames and take right clicks on
    // their mark.
    HRESULT SetNotes(INoteMarker* notes);
    INoteMarker* GetNotes() const { return m_notes; }
    // The play group's frame-window adapter (an IFrameWindowAdapter*): the view's adapters
    // show what their tools open through it.
    void SetToolContext(intptr_t value);
    intptr_t GetToolContext() const { return m_toolContext; }
    // The adapters of the histogram output and the zoom region; they stay the view's.
    CVidViewToolAdapter* GetToolAdapter() const { return m_toolAdapter.get(); }
    CVidViewRegionAdapter* GetRegionAdapter() const { return m_regionAdapter.get(); }
    // "Mean Pixel Value" or "Zoom", followed by " : " and the parent window's text when the
    // view has a parent window.
    QString ToolTitle(const QString& label) const;

    // IStreamDisplay.
    HRESULT SetSelectionMode(bool on) override;
    HRESULT GetSelectionMode(bool* on) override;
    HRESULT ShowReticle(bool show) override;
    HRESULT IsReticleShown(bool* shown) override;
    HRESULT GetReticlePosition(double* x, double* y) override;
    HRESULT GetSelection(double* left, double* top, double* right, double* bottom) override;
    HRESULT GetZoomTransform(CZoomTransform** out) override;

    // IMovieView, for the adapters that hand this view to the movie tools and play groups.
    void MovieSetCurrentFrame(int frame, int force) override;
    void MovieSetFrame(int frame) override;
    int MovieGetCurrentFrame() override;
    int MovieGetSourceKind() override;
    CFrameSourcePtr MovieGetFrameSource() override;
    int MovieGetInPoint(int* frame) override;
    int MovieGetOutPoint(int* frame) override;
    void MovieGetDisplayLuts(CLutParamSet* colour, CLutParamSet* bw) override;
    void MovieSetDisplayLuts(const CLutParamSet& colour, const CLutParamSet& bw) override;
    void MovieSetFrameSource(const CFrameSourcePtr& source) override;
    void MovieSetGroupMember(int memberType, int sourceKind) override;
    void MovieSetFrameChangedCallback(FrameChangedFn fn, void* context) override;
    void MovieNotifyFrameChanged() override;
    void MovieSetFrameCount(int count) override;

    // IMeasurementPointHost, through the annotation editor of the stream window: a tracked
    // point becomes a measurement point on its frame, with the feature as its id, drawn in the
    // feature's marker style. E_FAIL without an editor.
    HRESULT AddMeasurementPoint(double x, double y, int point, int feature,
                                const CTrackFeature& record) override;
    HRESULT GetMeasurementPoints(std::vector<MeasurementPointEntry>* out) override;

    COverlayHost& GetOverlayHost() { return m_overlayHost; }
    // Borrowed; the analysis objects clear it before they go. Drawn after the adapters' marks.
    void SetAnalysisOverlays(IVideoAnalysisOverlays* overlays);
    IVideoAnalysisOverlays* GetAnalysisOverlays() const { return m_analysis; }
    // Null until the initial update made it.
    CStreamWnd* GetStreamWnd() const { return m_pStream.get(); }
    // The stream window's values for the status panes.
    BOOL GetReadout(Value value, CSize* size) const override;
    BOOL IsClosing() const { return m_bClosing; }

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    // The view's menu: the stream window's View commands, Clear, colour adjustment, the zoom
    // region and the histogram output.
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnFileClose();
    void OnColorAdjustment();
    void OnUpdateColorAdjustment(CCmdUI* pCmdUI);
    void OnUpdateNotAvailable(CCmdUI* pCmdUI);
    void OnToolCommand(UINT nID);
    // Enabled once the stream window exists.
    void OnUpdateToolCommand(CCmdUI* pCmdUI);
    // The histogram output: a processed source over the view's source whose mean pixel
    // values show in a data window of the group.
    void OnHistogramOutput();
    void OnShowMeanHistogramPlot();
    void OnRemoveHistogramOutput();
    // Enabled while the view shows an open recording in its stream window.
    void OnUpdateHistogramOutput(CCmdUI* pCmdUI);
    // Enabled while the histogram output exists.
    void OnUpdateHistogramItem(CCmdUI* pCmdUI);
    // The zoom region: the user selects a rectangle (Define), makes it the region (Set), shows
    // its cropped frames in a zoom window of the group (Show) and removes it (Remove).
    void OnDefineZoomRegion();
    void OnSetZoomRegion();
    void OnShowZoomRegion();
    void OnRemoveZoomRegion();
    // One rule for the four: the view shows an open recording in its stream window.
    void OnUpdateZoomRegion(CCmdUI* pCmdUI);

private:
    void ApplyDisplaySettings();
    bool ShowsOpenSource() const;
    // Draws the adapters' marks over the frame at the end of each stream window paint.
    static void PaintOverlays(CWnd* context, CDC* pDC);
    // True while the overlays PaintOverlays draws cannot change from one frame to the next: no
    // analysis marks, no note marker, and no overlay listener that draws.
    static bool OverlaysStill(CWnd* context);

    std::unique_ptr<CStreamWnd> m_pStream;
    std::unique_ptr<CChangedFrameVidView> m_frameChangeAdapter;
    CLutParamSet m_colourSet;
    CLutParamSet m_bwSet;
    CComPtr<IDispatch> m_modifyState;
    CFrameSourcePtr m_source;
    COverlayHost m_overlayHost;
    INoteMarker* m_notes = nullptr;
    intptr_t m_toolContext = 0;
    GroupCallback m_groupCallback = nullptr;
    void* m_groupCallbackContext = nullptr;
    BOOL m_bClosing = FALSE;
    std::unique_ptr<CVidViewToolAdapter> m_toolAdapter;
    std::unique_ptr<CVidViewRegionAdapter> m_regionAdapter;
    IVideoAnalysisOverlays* m_analysis = nullptr;
};
