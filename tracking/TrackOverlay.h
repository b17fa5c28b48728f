#pragma once

// CTrackOverlay: paints the results of feature tracking over a video frame: a marker per
// tracked feature and frame (the whole trail, the trail up to the current frame, or the current
// frame only), each feature's region with its number, name and search window, a legend box,
// and the lines that join features (plain lines, calibrated lengths and angles). Saves and loads
// its line definitions ("LC") and their members ("LG") in the sectioned format.

#include "frames/IOverlayDraw.h"
#include "platform/wintypes/WinError.h"
#include "tracking/records/FeatureStyle.h"
#include "tracking/sectioned/SectionedList.h"
#include "views/DrawingOverlayListener.h"

#include <QString>

#include <vector>

class CAnalysisSettings;
class CTrackFeatureSet;
class CZoomTransform;
class IStreamDisplay;

class CTrackOverlay : public IOverlayDraw {
public:
    // The emphasised marker of the current frame while a trail shows.
    static constexpr COLORREF kCurrentColour = 0x00FF0200;
    static constexpr COLORREF kRegionColour = 0x00FFFF00;
    // How a line definition is drawn: Style1 holds the kind bits, Style2 the visibility mode,
    // Style3 the highlight flag, Style5 and Style6 the arrow head and tail.
    static constexpr LONG kLengthLine = 1;
    static constexpr LONG kAngleLine = 2;
    static constexpr LONG kNeverShown = 2;
    static constexpr LONG kCurrentFrameOnly = 0;
    static constexpr LONG kUpToCurrent = -1;

    CTrackOverlay();
    ~CTrackOverlay() = default;
    CTrackOverlay(const CTrackOverlay&) = delete;
    CTrackOverlay& operator=(const CTrackOverlay&) = delete;

    // Getters give E_POINTER for a null out; setters S_OK. Pointers are borrowed.
    HRESULT GetListener(CDrawingOverlayListener** out);
    HRESULT GetFeatureSet(CTrackFeatureSet** out) const;
    HRESULT SetFeatureSet(CTrackFeatureSet* set);
    HRESULT SetDisplayHost(IStreamDisplay* host);
    HRESULT SetCalibration(CAnalysisSettings* calibration);
    HRESULT SetShowLegend(BYTE on);
    HRESULT GetShowLegend(BYTE* out) const;
    HRESULT SetShowCurrentMarkers(BYTE on);
    HRESULT GetShowCurrentMarkers(BYTE* out) const;
    // Setting either trail on clears the other.
    HRESULT SetShowWholeTrail(BYTE on);
    HRESULT GetShowWholeTrail(BYTE* out) const;
    HRESULT SetShowRegions(BYTE on);
    HRESULT GetShowRegions(BYTE* out) const;
    HRESULT SetSwitchP1(BYTE on);
    HRESULT GetSwitchP1(BYTE* out) const;
    HRESULT SetShowTrailUpToCurrent(BYTE on);
    HRESULT GetShowTrailUpToCurrent(BYTE* out) const;
    HRESULT SetSwitchP2(BYTE on);
    HRESULT GetSwitchP2(BYTE* out) const;
    HRESULT SetShowSearchWindows(BYTE on);
    HRESULT GetShowSearchWindows(BYTE* out) const;
    // -1 without a calibration.
    HRESULT GetReadoutUnits(int* out) const;
    HRESULT SetReadoutUnits(int units);
    HRESULT GetSwitchS(BYTE* out) const;
    HRESULT SetSwitchS(BYTE on);
    HRESULT GetSwitchQ1(BYTE* out) const;
    HRESULT SetSwitchQ1(BYTE on);
    HRESULT GetSwitchQ2(BYTE* out) const;
    HRESULT SetSwitchQ2(BYTE on);
    // The most features one line joins; a file with longer lines is damaged.
    static constexpr int kMaxLineMembers = 256;
    // The line lists; saving writes a temporary file and renames it. E_FAIL when the file
    // cannot be written or read (the lists stay as they were on a failed load).
    HRESULT Save(const QString& path);
    HRESULT Load(const QString& path);

    // Appends a line definition joining the features, in order.
    void AddLine(const CFeatureStyle& style, const std::vector<int>& features);
    int GetLineCount() const { return m_lines.GetNumLists(); }
    std::vector<int> GetLineMembers(int line) const;
    CFeatureStyle GetLineStyle(int line) const;

    // E_POINTER without feature set or display host.
    HRESULT Draw(CDC* dc, const CRect& area) override;

private:
    void DrawTrail(CDC* dc, const CZoomTransform& t, int current);
    void DrawLines(CDC* dc, const CZoomTransform& t, int current);
    void DrawLinesAt(CDC* dc, const CZoomTransform& t, int frame, int current);
    void DrawLegend(CDC* dc);
    void DrawRegions(CDC* dc, const CZoomTransform& t, int current);
    void DrawFeatureMarker(CDC* dc, const CZoomTransform& t, int frame, int feature,
                           bool emphasised);
    // Member lists are stored padded with -1 to the longest line.
    void StoreMembers(const std::vector<std::vector<int>>& members);
    std::vector<std::vector<int>> AllMembers() const;

    CTrackFeatureSet* m_featureSet = nullptr;
    IStreamDisplay* m_host = nullptr;
    CAnalysisSettings* m_calibration = nullptr;
    BYTE m_wholeTrail = 0;
    BYTE m_currentMarkers = 0;
    BYTE m_p1 = 0;
    BYTE m_regions = 0;
    BYTE m_trailUpToCurrent = 0;
    BYTE m_p2 = 0;
    BYTE m_searchWindows = 0;
    BYTE m_s = 0;
    BYTE m_q1 = 0;
    BYTE m_q2 = 0;
    BYTE m_legend = 0;
    CSectionedList<CFeatureStyle> m_lines;
    CSectionedList<int32_t> m_members;
    int m_readoutUnits = -1;
    CDrawingOverlayListener m_listener;
};
