#include "views/VidView.h"

#include "frames/CfgFileInfo.h"
#include "frames/ChangedFrameVidView.h"
#include "frames/IDataChannel.h"
#include "frames/IFrameWindowAdapter.h"
#include "frames/IRegion.h"
#include "platform/com/ComCreate.h"
#include "platform/com/ComVariant.h"
#include "platform/com/DispatchCall.h"
#include "platform/com/ISettingsStore.h"
#include "platform/framework/ActionCmdUI.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/Menu.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/WinApp.h"
#include "views/AnnotateView.h"
#include "views/BayerColorDlg.h"
#include "views/DrawingOverlayListener.h"
#include "views/IVideoAnalysisOverlays.h"
#include "views/MeasurePointNote.h"
#include "views/StreamWnd.h"
#include "views/VidFrame.h"
#include "views/VidViewRegionAdapter.h"
#include "views/VidViewToolAdapter.h"
#include "views/ZoomTransform.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

IMPLEMENT_DYNCREATE(CVidView, CPlaybackView)

const std::vector<std::pair<UINT, const char*>>& CVidView::TrackingMenuItems() {
    static const std::vector<std::pair<UINT, const char*>> items = {
        {kSetFeature, "Set Feature"},
        {kAddFeature, "Add Feature"},
        {kDeleteFeature, "Delete Feature"},
        {kAutoTrackFeature, "Auto Track This Feature"},
        {0, ""},
        {kStartAutoTracking, "Start Auto Tracking"},
        {kStopAutoTracking, "Stop Auto Tracking"},
        {0, ""},
        {kShowWholeTrail, "Show Whole Trail"},
        {kShowTrailUpToCurrent, "Show Trail Up To Current"},
        {kShowCurrentMarkers, "Show Current Markers"},
        {kShowRegions, "Show Regions"},
        {kShowSearchWindows, "Show Search Windows"},
        {kShowLegend, "Show Legend"},
        {0, ""},
        {kClearAllTracks, "Clear All Tracks"},
        {kShowTrackPoints, "Show Track Points as Measurement Points"},
        {0, ""},
        {kExportAnalysisText, "Export Analysis to Text File..."},
        {kExportAnalysisWorkbook, "Export Analysis to Excel..."},
        {kExportAnalysisTemplate, "Export Analysis to Excel Template..."},
        {kCalibrationPanel, "Calibration Panel..."},
    };
    return items;
}

BEGIN_MESSAGE_MAP(CVidView, CPlaybackView)
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_CONTEXTMENU()
ON_COMMAND_RANGE(CVidView::kAddScaleCalibration, CVidView::kVideoInformation, OnToolCommand)
ON_COMMAND_RANGE(CVidView::kAddMeasurementPoint, CVidView::kAddMeasurementPoint, OnToolCommand)
ON_UPDATE_COMMAND_UI_RANGE(CVidView::kAddScaleCalibration, CVidView::kVideoInformation,
                           OnUpdateToolCommand)
ON_UPDATE_COMMAND_UI(CVidView::kAddMeasurementPoint, OnUpdateToolCommand)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
ON_UPDATE_COMMAND_UI(CVidView::kCalibration, OnUpdateNotAvailable)
ON_UPDATE_COMMAND_UI(CVidView::kClearAllForward, OnUpdateNotAvailable)
ON_UPDATE_COMMAND_UI(CVidView::kDebugging1, OnUpdateNotAvailable)
ON_UPDATE_COMMAND_UI(CVidView::kDebugging2, OnUpdateNotAvailable)
ON_UPDATE_COMMAND_UI(CVidView::kDebugging3, OnUpdateNotAvailable)
ON_COMMAND(CVidView::kDefineZoomRegion, OnDefineZoomRegion)
ON_COMMAND(CVidView::kSetZoomRegion, OnSetZoomRegion)
ON_COMMAND(CVidView::kShowZoomRegion, OnShowZoomRegion)
ON_COMMAND(CVidView::kRemoveZoomRegion, OnRemoveZoomRegion)
ON_UPDATE_COMMAND_UI(CVidView::kDefineZoomRegion, OnUpdateZoomRegion)
ON_UPDATE_COMMAND_UI(CVidView::kSetZoomRegion, OnUpdateZoomRegion)
ON_UPDATE_COMMAND_UI(CVidView::kRemoveZoomRegion, OnUpdateZoomRegion)
ON_UPDATE_COMMAND_UI(CVidView::kShowZoomRegion, OnUpdateZoomRegion)
ON_COMMAND(CVidView::kHistogramOutput, OnHistogramOutput)
ON_COMMAND(CVidView::kShowMeanHistogramPlot, OnShowMeanHistogramPlot)
ON_COMMAND(CVidView::kRemoveHistogramOutput, OnRemoveHistogramOutput)
ON_UPDATE_COMMAND_UI(CVidView::kHistogramOutput, OnUpdateHistogramOutput)
ON_UPDATE_COMMAND_UI(CVidView::kShowMeanHistogramPlot, OnUpdateHistogramItem)
ON_UPDATE_COMMAND_UI(CVidView::kRemoveHistogramOutput, OnUpdateHistogramItem)
ON_UPDATE_COMMAND_UI(CVidView::kDebugging4, OnUpdateNotAvailable)
ON_UPDATE_COMMAND_UI(CVidView::kDebugging5, OnUpdateNotAvailable)
ON_COMMAND(CVidView::kColorAdjustment, OnColorAdjustment)
ON_UPDATE_COMMAND_UI(CVidView::kColorAdjustment, OnUpdateColorAdjustment)
END_MESSAGE_MAP()

namespace {

// The annotation tool each tool command selects; the tool numbers are not in command order.
struct ToolCommand {
    UINT command;
    int tool;
};
constexpr ToolCommand kToolCommands[] = {
    {CVidView::kAddScaleCalibration, 15}, {CVidView::kAddVelocityCaliper, 17},
    {CVidView::kAddCaliper, 16},          {CVidView::kAddGotoNote, 18},
    {CVidView::kFrameSlider, 19},         {CVidView::kVideoInformation, 20},
    {CVidView::kAddMeasurementPoint, 21},
};

constexpr const char* kModifyStateProgId = "Levora.QnCBasicLutModifyState";
constexpr DISPID kDispidTakeModifyState = 17;

// The stream window stands 2 pixels beyond the view on every side, hiding its own border.
constexpr int kStreamOverlap = 2;

IDispatch* CreateModifyState() {
    CLSID clsid;
    if (CLSIDFromProgID(QString::fromLatin1(kModifyStateProgId), &clsid) != S_OK)
        return nullptr;
    IDispatch* object = nullptr;
    if (CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                         reinterpret_cast<void**>(&object)) != S_OK)
        return nullptr;
    return object;
}

}  // namespace

CVidView::CVidView()
    : m_frameChangeAdapter(std::make_unique<CChangedFrameVidView>(this)),
      m_toolAdapter(std::make_unique<CVidViewToolAdapter>()),
      m_regionAdapter(std::make_unique<CVidViewRegionAdapter>(static_cast<IStreamDisplay*>(this))) {
    // The modify-state object lives in the look-up-table editor's module; without that module
    // the view works, only the editor's live adjustments do not reach it.
    m_modifyState.Attach(CreateModifyState());
}

CVidView::~CVidView() {
    // A play group may still hold the adapter's notifiers for a moment: it must not reach a
    // view that is gone.
    m_frameChangeAdapter->DetachView();
    if (m_analysis)
        m_analysis->OnViewGone();
}

HRESULT CVidView::GetFrameChangeAdapter(IIdUnknown** out) const {
    if (!out || !m_frameChangeAdapter)
        return E_POINTER;
    *out = m_frameChangeAdapter.get();
    return S_OK;
}

void CVidView::MovieSetCurrentFrame(int frame, int force) {
    SetCurrentFrame(frame, force);
}

void CVidView::MovieSetFrame(int frame) {
    // As when the window's own play bar steps: the view moves and its play group hears of it.
    SetCurrentFrame(frame, 0);
    SetGroupCallback(GetCurrentFrame());
}

int CVidView::MovieGetCurrentFrame() {
    return GetCurrentFrame();
}

int CVidView::MovieGetSourceKind() {
    return GetSourceKind();
}

CFrameSourcePtr CVidView::MovieGetFrameSource() {
    return m_source;
}

int CVidView::MovieGetInPoint(int* frame) {
    return GetInPoint(frame);
}

int CVidView::MovieGetOutPoint(int* frame) {
    return GetOutPoint(frame);
}

void CVidView::MovieGetDisplayLuts(CLutParamSet* colour, CLutParamSet* bw) {
    GetDisplayLuts(colour, bw);
}

void CVidView::MovieSetDisplayLuts(const CLutParamSet& colour, const CLutParamSet& bw) {
    SetDisplayLuts(colour, bw);
}

void CVidView::MovieSetFrameSource(const CFrameSourcePtr& source) {
    SetFrameSource(source);
    // A window a tool opens learns the recording's timing and layout as a member the group
    // opened does; without them its times would count at one frame a second.
    if (source.IsEmpty())
        return;
    SetFrameRate(source->GetRecordedRate());
    int width = 0;
    int height = 0;
    source->GetImageSize(&width, &height);
    SetImageSize(width, height);
    SetShutter(source->GetExposure());
    SetBitDepth(source->GetBitCount());
}

void CVidView::MovieSetGroupMember(int memberType, int sourceKind) {
    SetGroupMember(memberType, GetMemberIndex(), sourceKind, GetMemberParam());
}

void CVidView::MovieSetFrameChangedCallback(FrameChangedFn fn, void* context) {
    SetFrameChangedCallback(fn, context);
}

void CVidView::MovieNotifyFrameChanged() {
    NotifyFrameChanged();
}

void CVidView::MovieSetFrameCount(int count) {
    SetFrameCount(count);
}

int CVidView::ToolOfCommand(UINT nID) {
    const auto* found =
        std::find_if(std::begin(kToolCommands), std::end(kToolCommands),
                     [nID](const ToolCommand& entry) { return entry.command == nID; });
    return found == std::end(kToolCommands) ? -1 : found->tool;
}

BOOL CVidView::SetZeroFrame(int frame) {
    if (m_source.IsEmpty())
        return FALSE;
    CCfgFileInfo info;
    m_source->GetCfgFileInfo(&info);
    info.m_firstFrame = -frame;
    m_source->SetCfgFileInfo(info);
    return TRUE;
}

void CVidView::SetCurrentFrame(int frame, int force) {
    CPlaybackView::SetCurrentFrame(frame, force);
    const int current = GetCurrentFrame();
    if (force && !m_source.IsEmpty() && m_source->IsOpen())
        m_source->MoveToFrame(current, 0, 1);
    if (m_pStream)
        m_pStream->ShowFrameWithLuts(current, m_colourSet, m_bwSet);
    NotifyFrameChanged();
}

std::optional<int> CVidView::IntegerSetting(const char* key) {
    auto* store = dynamic_cast<ISettingsStore*>(AfxGetMainWnd());
    if (!store)
        return std::nullopt;
    CComVariant value;
    // A store may answer an unknown key with an empty value: that is no setting either.
    if (store->GetSetting(QString::fromLatin1(key), &value) != S_OK || value.vt == VT_EMPTY ||
        value.ChangeType(VT_I4) != S_OK)
        return std::nullopt;
    return static_cast<int>(value.lVal);
}

BOOL CVidView::GetReadout(Value value, CSize* size) const {
    return m_pStream && m_pStream->GetReadout(value, size);
}

void CVidView::SetGroupCallback(intptr_t value) {
    if (m_groupCallback && m_groupCallbackContext)
        m_groupCallback(m_groupCallbackContext, value);
}

HRESULT CVidView::BroadcastToOverlays(intptr_t v1, intptr_t v2, intptr_t v3, intptr_t v4,
                                      intptr_t v5) {
    return m_overlayHost.Broadcast(v1, v2, v3, v4, v5);
}

void CVidView::SetGroupCallbackFunction(GroupCallback fn, void* context) {
    m_groupCallback = fn;
    m_groupCallbackContext = context;
}

void CVidView::SetFrameSource(const CFrameSourcePtr& source) {
    m_source = source;
    if (m_pStream)
        m_pStream->SetFrameSource(m_source);
    SetCurrentFrame(GetCurrentFrame(), 0);
}

void CVidView::SetDisplayLuts(const CLutParamSet& colourSet, const CLutParamSet& bwSet) {
    m_colourSet = colourSet;
    m_bwSet = bwSet;
    SetCurrentFrame(GetCurrentFrame(), 1);
}

void CVidView::GetDisplayLuts(CLutParamSet* colourSet, CLutParamSet* bwSet) const {
    if (colourSet)
        *colourSet = m_colourSet;
    if (bwSet)
        *bwSet = m_bwSet;
}

void CVidView::SetModifyState(IDispatch** state) {
    if (!state || !*state || !m_modifyState)
        return;
    DispatchInvoke(m_modifyState.Get(), kDispidTakeModifyState, DISPATCH_METHOD,
                   {CComVariant(*state)}, nullptr);
}

void CVidView::SetToolContext(intptr_t value) {
    m_toolContext = value;
    auto* host = reinterpret_cast<IFrameWindowAdapter*>(value);
    m_toolAdapter->SetHost(host);
    m_regionAdapter->SetHost(host);
}

QString CVidView::ToolTitle(const QString& label) const {
    CWnd* parent = GetParent();
    return parent ? label + QStringLiteral(" : ") + parent->GetWindowText() : label;
}

HRESULT CVidView::SetNotes(INoteMarker* notes) {
    m_notes = notes;
    return S_OK;
}

HRESULT CVidView::SetSelectionMode(bool on) {
    if (!m_pStream)
        return E_FAIL;
    m_pStream->BeginRegionSelection(on);
    return S_OK;
}

HRESULT CVidView::GetSelectionMode(bool* on) {
    if (!on)
        return E_POINTER;
    if (!m_pStream)
        return E_FAIL;
    CRect selection;
    *on = m_pStream->GetSelection(&selection) != FALSE;
    return S_OK;
}

HRESULT CVidView::ShowReticle(bool show) {
    if (!m_pStream)
        return E_FAIL;
    m_pStream->ShowReticle(show);
    return S_OK;
}

HRESULT CVidView::IsReticleShown(bool* shown) {
    if (!shown)
        return E_POINTER;
    if (!m_pStream)
        return E_FAIL;
    *shown = m_pStream->IsReticleShown() != FALSE;
    return S_OK;
}

HRESULT CVidView::GetReticlePosition(double* x, double* y) {
    if (!x || !y)
        return E_POINTER;
    if (!m_pStream)
        return E_FAIL;
    CPoint point;
    if (!m_pStream->GetReticlePosition(&point))
        return E_POINTER;
    *x = point.x;
    *y = point.y;
    return S_OK;
}

HRESULT CVidView::GetSelection(double* left, double* top, double* right, double* bottom) {
    if (!left || !top || !right || !bottom)
        return E_POINTER;
    if (!m_pStream)
        return E_FAIL;
    CRect selection;
    if (!m_pStream->GetSelection(&selection))
        selection.SetRectEmpty();
    *left = selection.left;
    *top = selection.top;
    *right = selection.right;
    *bottom = selection.bottom;
    return S_OK;
}

HRESULT CVidView::GetZoomTransform(CZoomTransform** out) {
    if (!out)
        return E_POINTER;
    if (!m_pStream)
        return E_FAIL;
    const CPanZoomView::Geometry geometry = m_pStream->GetGeometry();
    CPoint image;
    m_pStream->GetImageSize(&image);
    auto* transform = new CZoomTransform;
    transform->SetOffset(geometry.panX, geometry.panY);
    transform->SetScale(geometry.scale);
    transform->SetWindowSize(geometry.clientWidth, geometry.clientHeight);
    transform->SetImageSize(image.x, image.y);
    transform->AddRef();
    *out = transform;
    return S_OK;
}

void CVidView::OnInitialUpdate() {
    CPlaybackView::OnInitialUpdate();
    CRect client;
    GetClientRect(&client);
    auto stream = std::make_unique<CStreamWnd>();
    if (!stream->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, client, this, kStreamWndId))
        return;
    m_pStream = std::move(stream);
    m_pStream->SetMovieView(this);
    // Length calibrations read from an annotation file take the recording's own calibration.
    if (CAnnotateView* editor = m_pStream->GetAnnotateView())
        editor->SetRecordingCalibrationSource([this](CCalibrationData* calibration) {
            return m_analysis && m_analysis->GetRecordingCalibration(calibration);
        });
    m_pStream->SetInfoCorner(CPanZoomView::kHidden);
    // The tools' marks are drawn over the frame and repaint the stream window when they change.
    m_pStream->SetPaintCallback(&CVidView::PaintOverlays, this, &CVidView::OverlaysStill);
    m_overlayHost.SetWindow(m_pStream->GetSafeHwnd());
    m_overlayHost.Add(&m_toolAdapter->GetOverlayListener());
    m_overlayHost.Add(&m_regionAdapter->GetOverlayListener());
    ApplyDisplaySettings();
    if (!m_source.IsEmpty())
        m_pStream->SetFrameSource(m_source);
    SetCurrentFrame(GetCurrentFrame(), 0);
}

void CVidView::ApplyDisplaySettings() {
    if (const auto reticle = IntegerSetting("Video:ShowReticle"))
        m_pStream->ShowReticle(*reticle != 0);
    if (const auto rulers = IntegerSetting("Video:ShowRulers"))
        m_pStream->ShowRulers(*rulers != 0);
    if (const auto info = IntegerSetting("Video:ShowInfo"))
        m_pStream->SetInfoCorner(*info ? CPanZoomView::kUpperLeft : CPanZoomView::kHidden);
}

void CVidView::OnDraw(CDC* pDC) {
    if (m_pStream && !m_pStream->IsWindowVisible())
        m_pStream->Paint(pDC, nullptr);
}

BOOL CVidView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    const bool analysisCommand = nID == kCalibration || nID == kClearAllForward ||
                                 (nID >= kFirstTrackingCommand && nID <= kLastTrackingCommand);
    if (m_analysis && analysisCommand) {
        if (pHandlerInfo)
            return TRUE;
        if (nCode == CN_COMMAND && m_analysis->OnAnalysisCommand(nID))
            return TRUE;
        if (nCode == CN_UPDATE_COMMAND_UI &&
            m_analysis->OnUpdateAnalysisCommand(static_cast<CCmdUI*>(pExtra)))
            return TRUE;
    }
    if (m_pStream && m_pStream->GetSafeHwnd() &&
        m_pStream->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CPlaybackView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CVidView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pStream && m_pStream->GetSafeHwnd()) {
        if ((message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) || message == WM_MOUSEWHEEL) {
            m_pStream->PostMessage(message, wParam, lParam);
            return 0;
        }
        if (message == WM_KEYDOWN)
            m_pStream->PostMessage(message, wParam, lParam);
    }
    return CPlaybackView::WindowProc(message, wParam, lParam);
}

void CVidView::OnSize(UINT nType, int cx, int cy) {
    CPlaybackView::OnSize(nType, cx, cy);
    if (!m_pStream || !m_pStream->GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    client.InflateRect(kStreamOverlap, kStreamOverlap);
    m_pStream->MoveWindow(client);
}

void CVidView::OnDestroy() {
    SetFrameSource(CFrameSourcePtr());
    m_bClosing = TRUE;
    if (m_analysis) {
        m_analysis->OnViewGone();
        m_analysis = nullptr;
    }
    m_overlayHost.SetWindow(nullptr);
    CPlaybackView::OnDestroy();
}

void CVidView::OnContextMenu(CWnd*, CPoint point) {
    // From the keyboard the menu opens at the view's corner.
    if (point.x == -1 && point.y == -1) {
        point = CPoint(0, 0);
        ClientToScreen(&point);
    } else if (m_notes) {
        CRect window;
        GetWindowRect(&window);
        if (m_notes->HitTestMarker(point.x, point.y, window, GetCurrentFrame()))
            return;
    }
    CMenu view;
    view.CreatePopupMenu();
    if (m_pStream)
        m_pStream->AppendViewMenu(&view);
    view.AppendMenu(MF_SEPARATOR);
    view.AppendMenu(MF_STRING, kCalibration, QStringLiteral("View Calibration"));
    CMenu clear;
    clear.CreatePopupMenu();
    clear.AppendMenu(MF_STRING, kClearAllForward, QStringLiteral("Clear All Forward"));
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(&view), QStringLiteral("View"));
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(&clear), QStringLiteral("Clear"));
    menu.AppendMenu(MF_STRING, kColorAdjustment, QStringLiteral("Bayer Color Adjustment"));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, kDefineZoomRegion, QStringLiteral("Define Zoom Region"));
    menu.AppendMenu(MF_STRING, kSetZoomRegion, QStringLiteral("Set Zoom Region"));
    menu.AppendMenu(MF_STRING, kShowZoomRegion, QStringLiteral("Show Zoom Region"));
    menu.AppendMenu(MF_STRING, kRemoveZoomRegion, QStringLiteral("Remove Zoom Region"));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, kHistogramOutput, QStringLiteral(" Histogram Output."));
    menu.AppendMenu(MF_STRING, kShowMeanHistogramPlot,
                    QStringLiteral(" Show Mean Histogram Plot."));
    menu.AppendMenu(MF_STRING, kRemoveHistogramOutput, QStringLiteral(" Remove Histogram Output."));
    CMenu tracking;
    tracking.CreatePopupMenu();
    for (const auto& [id, text] : TrackingMenuItems())
        tracking.AppendMenu(id ? MF_STRING : MF_SEPARATOR, id, QString::fromLatin1(text));
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(&tracking), QStringLiteral("Tracking"));
    // The annotation editor's commands, from their pop-up resource.
    std::unique_ptr<CMenu> annotate(CMenu::LoadResourceMenu(kAnnotateMenu));
    if (annotate && annotate->GetSubMenu(0)) {
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(annotate->GetSubMenu(0)),
                        QStringLiteral("Annotate"));
    }
    std::unique_ptr<CMenu> measure(CMenu::LoadResourceMenu(kMeasureMenu));
    if (measure && measure->GetSubMenu(0))
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(measure->GetSubMenu(0)),
                        QStringLiteral("Measure"));
    // The sub-menus' items are updated as each opens, like the top level's before tracking.
    const std::function<void(CMenu&)> updateSubMenus = [&](CMenu& parent) {
        for (int i = 0; i < parent.GetMenuItemCount(); ++i) {
            if (CMenu* sub = parent.GetSubMenu(i)) {
                CActionCmdUI::UpdateBeforeShow(sub->GetQMenu(), this);
                updateSubMenus(*sub);
            }
        }
    };
    updateSubMenus(menu);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

HRESULT CVidView::AddMeasurementPoint(double x, double y, int point, int feature,
                                      const CTrackFeature& record) {
    CAnnotateView* editor = m_pStream ? m_pStream->GetAnnotateView() : nullptr;
    if (!editor)
        return E_FAIL;
    if (!editor->AddMeasurePoint(point, {x, y}, feature, &record))
        return E_FAIL;
    return S_OK;
}

HRESULT CVidView::GetMeasurementPoints(std::vector<MeasurementPointEntry>* out) {
    if (!out)
        return E_POINTER;
    out->clear();
    CAnnotateView* editor = m_pStream ? m_pStream->GetAnnotateView() : nullptr;
    if (!editor)
        return E_FAIL;
    std::vector<CDrawObject*> points;
    editor->GetMeasurePoints(&points);
    for (CDrawObject* object : points) {
        MeasurementPointEntry entry;
        if (auto* point = dynamic_cast<CMeasurePointNote*>(object))
            point->GetPointId(&entry.feature);
        entry.frame = object->GetFrame();
        const CDoublePoint p = object->GetPoint(0, TRUE);
        entry.x = p.x;
        entry.y = p.y;
        out->push_back(entry);
    }
    return S_OK;
}

void CVidView::OnFileClose() {
    if (auto* frame = dynamic_cast<CVidFrame*>(GetParentFrame()))
        frame->CloseWithDeviceCheck();
}

void CVidView::OnToolCommand(UINT nID) {
    const int tool = ToolOfCommand(nID);
    if (m_pStream && tool >= 0)
        m_pStream->SetTool(tool);
}

void CVidView::OnUpdateToolCommand(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pStream != nullptr);
}

void CVidView::OnColorAdjustment() {
    CBayerColorDlg::Install();
    if (!m_source.IsEmpty())
        m_source->ShowColorAdjustment(0, this);
}

void CVidView::OnUpdateColorAdjustment(CCmdUI* pCmdUI) {
    // Only a Bayer recording has colours to adjust.
    pCmdUI->Enable(!m_source.IsEmpty() && m_source->IsBayerColor());
}

void CVidView::OnUpdateNotAvailable(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}

void CVidView::PaintOverlays(CWnd* context, CDC* pDC) {
    auto* view = static_cast<CVidView*>(context);
    if (!view->m_pStream)
        return;
    CRect area;
    view->m_pStream->GetClientRect(&area);
    // Every listener that draws does, in the order it joined: the view's own tools and any
    // window that marks the picture (the colour adjustment's balance region).
    for (int i = 0; i < view->m_overlayHost.GetCount(); ++i)
        if (auto* drawing = dynamic_cast<CDrawingOverlayListener*>(view->m_overlayHost.GetAt(i)))
            drawing->Draw(pDC, area);
    if (view->m_analysis)
        view->m_analysis->DrawOverlays(pDC, area);
    // The note mark sits in the corner of the view's own rectangle, where its hit test looks.
    if (view->m_notes) {
        CRect client = area;
        client.DeflateRect(kStreamOverlap, kStreamOverlap);
        view->m_notes->DrawMarker(*pDC, client);
    }
}

bool CVidView::OverlaysStill(CWnd* context) {
    auto* view = static_cast<CVidView*>(context);
    if (view->m_analysis || view->m_notes)
        return false;
    for (int i = 0; i < view->m_overlayHost.GetCount(); ++i) {
        const COverlayListener* listener = view->m_overlayHost.GetAt(i);
        if (!dynamic_cast<const CDrawingOverlayListener*>(listener))
            continue;
        // The view's own two adapters say whether they draw; any other drawing is taken to
        // follow the frame.
        const bool quietTool = view->m_toolAdapter &&
                               listener == &view->m_toolAdapter->GetOverlayListener() &&
                               !view->m_toolAdapter->DrawsMark();
        const bool quietRegion = view->m_regionAdapter &&
                                 listener == &view->m_regionAdapter->GetOverlayListener() &&
                                 !view->m_regionAdapter->DrawsMark();
        if (!quietTool && !quietRegion)
            return false;
    }
    return true;
}

void CVidView::SetAnalysisOverlays(IVideoAnalysisOverlays* overlays) {
    m_analysis = overlays;
    if (m_pStream && m_pStream->GetSafeHwnd())
        m_pStream->Invalidate(FALSE);
}

bool CVidView::ShowsOpenSource() const {
    return m_pStream && !m_source.IsEmpty() && m_source->IsOpen();
}

void CVidView::OnHistogramOutput() {
    if (!ShowsOpenSource())
        return;
    if (m_toolAdapter->GetDerivedSource().IsEmpty()) {
        IIdUnknown* item = nullptr;
        m_toolAdapter->CreateProcessed(m_source, &item);
        if (auto* channel = QueryId<IDataChannel>(item))
            channel->SetHistoryLength(m_source->GetFrameCount());
    }
    OnShowMeanHistogramPlot();
    Invalidate(TRUE);
}

void CVidView::OnShowMeanHistogramPlot() {
    CFrameSourcePtr source;
    IIdUnknown* item = nullptr;
    m_toolAdapter->GetSource(0, &source, &item);
    if (auto* channel = QueryId<IDataChannel>(item))
        channel->Open(ToolTitle(QStringLiteral("Mean Pixel Value")));
}

void CVidView::OnRemoveHistogramOutput() {
    m_toolAdapter->Release();
    Invalidate(TRUE);
    if (m_pStream)
        m_pStream->Invalidate(FALSE);
}

void CVidView::OnUpdateHistogramOutput(CCmdUI* pCmdUI) {
    pCmdUI->Enable(ShowsOpenSource());
}

void CVidView::OnUpdateHistogramItem(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!m_toolAdapter->GetDerivedSource().IsEmpty());
}

void CVidView::OnDefineZoomRegion() {
    SetSelectionMode(true);
}

void CVidView::OnSetZoomRegion() {
    double corners[4] = {0.0, 0.0, 0.0, 0.0};
    if (!ShowsOpenSource() ||
        GetSelection(&corners[0], &corners[1], &corners[2], &corners[3]) != S_OK)
        return;
    const int left = static_cast<int>(corners[0]);
    const int top = static_cast<int>(corners[1]);
    const int right = static_cast<int>(corners[2]);
    const int bottom = static_cast<int>(corners[3]);
    if (right - left <= 1 || bottom - top <= 1)
        return;
    IIdUnknown* item = nullptr;
    if (m_regionAdapter->GetDerivedSource().IsEmpty())
        m_regionAdapter->CreateCropped(m_source, 0, &item);
    else
        m_regionAdapter->GetSource(0, nullptr, &item);
    if (auto* region = QueryId<IRegion>(item))
        region->SetRect(left, top, right, bottom);
    SetSelectionMode(false);
    Invalidate(FALSE);
}

void CVidView::OnShowZoomRegion() {
    IIdUnknown* item = nullptr;
    m_regionAdapter->GetSource(0, nullptr, &item);
    if (auto* region = QueryId<IRegion>(item))
        region->Open(ToolTitle(QStringLiteral("Zoom")));
}

void CVidView::OnRemoveZoomRegion() {
    m_regionAdapter->Release();
    Invalidate(TRUE);
    if (m_pStream)
        m_pStream->Invalidate(FALSE);
}

void CVidView::OnUpdateZoomRegion(CCmdUI* pCmdUI) {
    pCmdUI->Enable(ShowsOpenSource());
}
