#include "tracking/VideoAnalysis.h"

#include "frames/FrameSource.h"
#include "groups/MeasurementFormFrame.h"
#include "groups/MeasurementView.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/Document.h"
#include "platform/framework/RunningOperation.h"
#include "tracking/CalibrationPanel.h"
#include "views/VidView.h"

#include <algorithm>
#include <cmath>

#include <vector>

namespace {

constexpr int kInitialFeatures = 1;

}  // namespace

CVideoAnalysis::CVideoAnalysis(const CFrameSourcePtr& source, CVidView* view)
    : m_source(source), m_view(view), m_trackerSource(source) {
    m_settings.SetPositionSource(this);
    m_settings.SetSizeSource(this);
    m_settings.SetRegistryBase(QString::fromLatin1(kRegistryBase));
    m_settings.LoadFromRegistry();

    m_features.SetFrameSource(this);
    m_features.SetPositionSource(this);
    m_features.SetHost(this);
    m_features.SetFeatureLimits(kMaxFeatures, kInitialFeatures);
    m_features.SetFeatureCountForRecording(kInitialFeatures);
    // The picking tool is allowed for every video member.
    m_features.GetIndexValues().SetAt(CTrackFeatureSet::kToolKey, 1);
    m_features.SetToolEnabled(true);
    // A feature set moves on to the next frame after the last feature of a frame.
    m_features.SetAutoNextFeature(true);

    m_export.SetRecordingInfo(this);
    m_export.SetFeatureSet(&m_features);
    m_export.SetSettings(&m_settings);

    m_trackOverlay.SetFeatureSet(&m_features);
    m_trackOverlay.SetCalibration(&m_settings);
    m_trackOverlay.SetShowCurrentMarkers(1);
    m_trackOverlay.SetShowRegions(1);
    m_axes.SetCalibration(&m_settings);
    m_axes.SetSizeSource(this);
    if (m_view) {
        m_trackOverlay.SetDisplayHost(m_view);
        m_axes.SetDisplayHost(m_view);
        COverlayHost& host = m_view->GetOverlayHost();
        COverlayListener* listener = nullptr;
        m_settings.GetListener(&listener);
        host.Add(listener);
        m_features.GetListener(&listener);
        host.Add(listener);
        CDrawingOverlayListener* drawing = nullptr;
        m_trackOverlay.GetListener(&drawing);
        host.Add(drawing);
        m_axes.GetListener(&drawing);
        host.Add(drawing);
        m_view->SetAnalysisOverlays(this);
    }
}

CVideoAnalysis::~CVideoAnalysis() {
    m_features.StopAutoTracking();
    CCalibrationPanel::DetachFromAll(this);
    if (m_view)
        m_view->SetAnalysisOverlays(nullptr);
}

void CVideoAnalysis::AddExtraOverlay(IOverlayDraw* drawing) {
    if (std::find(m_extraOverlays.begin(), m_extraOverlays.end(), drawing) == m_extraOverlays.end())
        m_extraOverlays.push_back(drawing);
    Repaint();
}

void CVideoAnalysis::RemoveExtraOverlay(IOverlayDraw* drawing) {
    std::erase(m_extraOverlays, drawing);
    Repaint();
}

IVideoAnalysis* CVideoAnalysis::Create(const CFrameSourcePtr& source, CView* view) {
    return new CVideoAnalysis(source, dynamic_cast<CVidView*>(view));
}

CVidView* CVideoAnalysis::GetView() const {
    return m_view;
}

void CVideoAnalysis::OnViewGone() {
    m_features.StopAutoTracking();
    m_trackOverlay.SetDisplayHost(nullptr);
    m_axes.SetDisplayHost(nullptr);
    m_view = nullptr;
}

bool CVideoAnalysis::GetRecordingCalibration(CCalibrationData* calibration) {
    BYTE calibrated = 0;
    m_settings.IsCalibrated(&calibrated);
    if (!calibrated || !calibration)
        return false;
    m_settings.GetCalibration(calibration);
    return true;
}

CMeasurementView* CVideoAnalysis::GroupView() const {
    CDocument* doc = m_view ? m_view->GetGroupDocument() : nullptr;
    if (!doc)
        return nullptr;
    POSITION at = doc->GetFirstViewPosition();
    while (at)
        if (auto* view = dynamic_cast<CMeasurementView*>(doc->GetNextView(at)))
            return view;
    return nullptr;
}

CMeasurementFormFrame* CVideoAnalysis::GroupFrame() const {
    CMeasurementView* group = GroupView();
    return group ? dynamic_cast<CMeasurementFormFrame*>(group->GetParentFrame()) : nullptr;
}

void CVideoAnalysis::Repaint() {
    CDrawingOverlayListener* drawing = nullptr;
    m_trackOverlay.GetListener(&drawing);
    drawing->Invalidate();
}

void CVideoAnalysis::DrawOverlays(CDC* dc, const CRect& area) {
    m_trackOverlay.Draw(dc, area);
    m_axes.Draw(dc, area);
    for (IOverlayDraw* drawing : m_extraOverlays)
        drawing->Draw(dc, area);
}

bool CVideoAnalysis::SwitchState(UINT id) const {
    BYTE on = 0;
    switch (id) {
        case CVidView::kShowWholeTrail:
            m_trackOverlay.GetShowWholeTrail(&on);
            break;
        case CVidView::kShowTrailUpToCurrent:
            m_trackOverlay.GetShowTrailUpToCurrent(&on);
            break;
        case CVidView::kShowCurrentMarkers:
            m_trackOverlay.GetShowCurrentMarkers(&on);
            break;
        case CVidView::kShowRegions:
            m_trackOverlay.GetShowRegions(&on);
            break;
        case CVidView::kShowSearchWindows:
            m_trackOverlay.GetShowSearchWindows(&on);
            break;
        case CVidView::kShowLegend:
            m_trackOverlay.GetShowLegend(&on);
            break;
        case CVidView::kCalibration:
            m_axes.GetVisible(&on);
            break;
        default:
            break;
    }
    return on != 0;
}

bool CVideoAnalysis::ToggleSwitch(UINT id) {
    const BYTE on = SwitchState(id) ? 0 : 1;
    switch (id) {
        case CVidView::kShowWholeTrail:
            m_trackOverlay.SetShowWholeTrail(on);
            break;
        case CVidView::kShowTrailUpToCurrent:
            m_trackOverlay.SetShowTrailUpToCurrent(on);
            break;
        case CVidView::kShowCurrentMarkers:
            m_trackOverlay.SetShowCurrentMarkers(on);
            break;
        case CVidView::kShowRegions:
            m_trackOverlay.SetShowRegions(on);
            break;
        case CVidView::kShowSearchWindows:
            m_trackOverlay.SetShowSearchWindows(on);
            break;
        case CVidView::kShowLegend:
            m_trackOverlay.SetShowLegend(on);
            break;
        case CVidView::kCalibration:
            m_axes.SetVisible(on);
            return true;
        default:
            return false;
    }
    Repaint();
    return true;
}

bool CVideoAnalysis::OnAnalysisCommand(UINT id) {
    int selected = 0;
    m_features.GetSelectedFeature(&selected);
    switch (id) {
        case CVidView::kClearAllForward: {
            int frame = -1;
            GetCurrentFrame(&frame);
            if (frame >= 0)
                m_features.ClearFromAll(frame);
            return true;
        }
        case CVidView::kSetFeature:
            m_features.SetFeatureHere();
            return true;
        case CVidView::kAddFeature: {
            m_features.AddFeature();
            int count = 0;
            m_features.GetFeaturesInUse(&count);
            m_features.SetSelectedFeature(count - 1, true);
            return true;
        }
        case CVidView::kDeleteFeature: {
            std::vector<BYTE> flags(static_cast<size_t>(selected) + 1, 0);
            flags.back() = 1;
            m_features.DeleteFeatures(&flags);
            return true;
        }
        case CVidView::kAutoTrackFeature:
            m_features.SwitchAutoTrackedFeature(selected, true);
            return true;
        case CVidView::kStartAutoTracking: {
            // The run lets messages through: a close of its window, group or project stops it
            // first, as Stop Auto Tracking does.
            const CRunningOperation running({m_view ? m_view->GetDocument() : nullptr,
                                             m_view ? m_view->GetGroupDocument() : nullptr},
                                            [this] { m_features.StopAutoTracking(); });
            m_features.StartAutoTracking(0, 1);
            return true;
        }
        case CVidView::kStopAutoTracking:
            m_features.StopAutoTracking();
            return true;
        case CVidView::kClearAllTracks:
            m_features.ClearAllTracks();
            return true;
        case CVidView::kCalibrationPanel:
            if (CMeasurementFormFrame* frame = GroupFrame(); frame && frame->ShowCalibrationPanel())
                frame->GetCalibrationPanel()->AttachAnalysis(this);
            return true;
        case CVidView::kShowTrackPoints:
            if (CMeasurementView* group = GroupView())
                if (IPlayDataGatherer* gatherer = group->GetPlayDataGatherer())
                    gatherer->PullTrackPoints(nullptr);
            return true;
        case CVidView::kExportAnalysisText:
            ExportAnalysis(CAnalysisExport::kTextFile);
            return true;
        case CVidView::kExportAnalysisWorkbook:
            ExportAnalysis(CAnalysisExport::kWorkbook);
            return true;
        case CVidView::kExportAnalysisTemplate:
            ExportAnalysis(CAnalysisExport::kWorkbookFromTemplate);
            return true;
        default:
            return ToggleSwitch(id);
    }
}

bool CVideoAnalysis::OnUpdateAnalysisCommand(CCmdUI* cmdUI) {
    if (!cmdUI)
        return false;
    bool tracking = false;
    m_features.IsTracking(&tracking);
    switch (cmdUI->m_nID) {
        case CVidView::kStopAutoTracking:
            cmdUI->Enable(tracking);
            return true;
        case CVidView::kSetFeature:
        case CVidView::kAddFeature:
        case CVidView::kDeleteFeature:
        case CVidView::kAutoTrackFeature:
        case CVidView::kStartAutoTracking:
        case CVidView::kClearAllTracks:
        case CVidView::kClearAllForward:
        case CVidView::kCalibrationPanel:
        case CVidView::kShowTrackPoints:
        case CVidView::kExportAnalysisText:
        case CVidView::kExportAnalysisWorkbook:
        case CVidView::kExportAnalysisTemplate:
            cmdUI->Enable(!tracking);
            return true;
        case CVidView::kShowWholeTrail:
        case CVidView::kShowTrailUpToCurrent:
        case CVidView::kShowCurrentMarkers:
        case CVidView::kShowRegions:
        case CVidView::kShowSearchWindows:
        case CVidView::kShowLegend:
        case CVidView::kCalibration:
            cmdUI->Enable(TRUE);
            cmdUI->SetCheck(SwitchState(cmdUI->m_nID) ? 1 : 0);
            return true;
        default:
            return false;
    }
}

HRESULT CVideoAnalysis::Reset(int) {
    return S_OK;
}

HRESULT CVideoAnalysis::Switch(int on) {
    return m_view ? m_view->ShowReticle(on != 0) : E_FAIL;
}

HRESULT CVideoAnalysis::IsActive(bool* active) {
    return m_view ? m_view->IsReticleShown(active) : E_FAIL;
}

HRESULT CVideoAnalysis::GetPickedPosition(double* x, double* y) {
    return m_view ? m_view->GetReticlePosition(x, y) : E_FAIL;
}

HRESULT CVideoAnalysis::GetDrawnRegion(double* left, double* top, double* right, double* bottom) {
    if (!m_view || !left || !top || !right || !bottom)
        return E_FAIL;
    if (m_view->GetSelection(left, top, right, bottom) != S_OK)
        return E_FAIL;
    if (*right > *left && *bottom > *top)
        return S_OK;
    // Without a drawn selection a click defines the feature with a region of the usual size
    // round the reticle, so that it can be tracked.
    double x = 0;
    double y = 0;
    if (m_view->GetReticlePosition(&x, &y) != S_OK)
        return E_FAIL;
    *left = std::trunc(x) - kDefaultRegionHalfSize;
    *top = std::trunc(y) - kDefaultRegionHalfSize;
    *right = std::trunc(x) + kDefaultRegionHalfSize + 1;
    *bottom = std::trunc(y) + kDefaultRegionHalfSize + 1;
    return S_OK;
}

HRESULT CVideoAnalysis::GetSize(int* width, int* height) {
    if (!width || !height)
        return E_POINTER;
    if (m_source.IsEmpty() || !m_source->IsOpen())
        return E_FAIL;
    m_source->GetImageSize(width, height);
    return *width > 0 && *height > 0 ? S_OK : E_FAIL;
}

HRESULT CVideoAnalysis::GetFrameCount(int* count) {
    if (!count)
        return E_POINTER;
    if (m_source.IsEmpty() || !m_source->IsOpen())
        return E_FAIL;
    *count = m_source->GetFrameCount();
    return S_OK;
}

HRESULT CVideoAnalysis::GetCurrentFrame(int* frame) {
    if (!frame)
        return E_POINTER;
    if (!m_view)
        return E_FAIL;
    *frame = m_view->GetCurrentFrame();
    return S_OK;
}

HRESULT CVideoAnalysis::GoToFrame(int frame) {
    if (!m_view)
        return E_FAIL;
    m_view->SetCurrentFrame(frame, 0);
    return S_OK;
}

HRESULT CVideoAnalysis::GetDisplaySettings(CLutParamSet* colour, CLutParamSet* grey) {
    if (!m_view)
        return E_FAIL;
    m_view->GetDisplayLuts(colour, grey);
    return S_OK;
}

HRESULT CVideoAnalysis::ApplyDisplaySettings(const CLutParamSet& colour, const CLutParamSet& grey) {
    if (!m_view)
        return E_FAIL;
    m_view->SetDisplayLuts(colour, grey);
    return S_OK;
}

void CVideoAnalysis::OnFeatureSelected(int) {
    Repaint();
}

void CVideoAnalysis::ExportAnalysis(int kind) {
    // A calibrated recording is exported in its coordinate system and units, any other in
    // image pixels.
    BYTE calibrated = 0;
    m_settings.IsCalibrated(&calibrated);
    int units = CCalibrationData::kUnitsPixels;
    if (calibrated) {
        CCalibrationData calibration;
        m_settings.GetCalibration(&calibration);
        calibration.GetUnits(&units);
    }
    m_export.Export(kind, units, calibrated != 0, calibrated != 0);
}

int CVideoAnalysis::GetTriggerFrameIndex() {
    // The exported numbering is the one the view shows: the first frame keeps its number.
    return m_source.Get() && m_source->IsOpen() ? -m_source->GetFirstFrameNumber() : 0;
}

double CVideoAnalysis::GetFrameRate() {
    if (m_view)
        return m_view->GetFrameRate();
    return m_source.Get() ? m_source->GetRecordedRate() : 1.0;
}

QString CVideoAnalysis::GetFileName() {
    return m_source.Get() ? m_source->GetFilePath() : QString();
}
