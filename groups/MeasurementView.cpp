#include "groups/MeasurementView.h"

#include "frames/CfgFileInfo.h"
#include "frames/ChangedFrameMeasView.h"
#include "frames/FileNames.h"
#include "frames/FrameSource.h"
#include "frames/IDataPlayView.h"
#include "frames/IListenerList.h"
#include "frames/SaveVideoParams.h"
#include "groups/GeneralDoc.h"
#include "groups/GroupSettings.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementFormFrame.h"
#include "groups/NoteItem.h"
#include "groups/NotesBasicView.h"
#include "groups/NotesFile.h"
#include "groups/PlayStepTargets.h"
#include "groups/RecordingNotes.h"
#include "platform/com/ISettingsStore.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/WinApp.h"
#include "sensordata/model/VidraData.h"
#include "shell/DlgEditParameters.h"
#include "shell/SaveSettings.h"
#include "shell/VidraFrameWnd.h"
#include "shell/ViewChildedFrame.h"
#include "views/IPlayBar.h"
#include "views/PlaybackView.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

CMeasurementView::PlayDataFactory& PlayDataFactoryRef() {
    static CMeasurementView::PlayDataFactory s_factory;
    return s_factory;
}

// Command ids of the group's menus and toolbar.
constexpr UINT kCmdAddVideo = 32802;
constexpr UINT kCmdAddData = 32805;
constexpr UINT kCmdImportPlayGroup = 32807;
constexpr UINT kCmdSaveActivePlayback = 32808;
constexpr UINT kCmdSaveActiveDataPlayback = 32824;
constexpr UINT kCmdSaveFromDeviceMemory = 32825;
constexpr UINT kCmdSaveProjectSession = 32841;
constexpr UINT kCmdExportDataText = 32832;
constexpr UINT kCmdExportDataExcel = 32833;
// "Would you like to Export the data using real units?"
constexpr UINT kIdsExportRealUnits = 16390;
constexpr UINT kCmdEditRecordParameters = 32834;
constexpr UINT kCmdSaveRecordParameters = 32835;
constexpr UINT kCmdSnapkeepActive = 32860;
constexpr UINT kCmdArrangeWindows = 32891;
constexpr UINT kCmdAutoArrange = 32892;
constexpr UINT kCmdArrangeIfAuto = 32952;
constexpr UINT kCmdCascade = 32868;
constexpr UINT kCmdCascadeToo = 32870;
constexpr UINT kCmdTileHorizontally = 32871;
constexpr UINT kCmdTileVertically = 32968;
constexpr UINT kCmdSettingsFromActive = 32946;
constexpr UINT kCmdSettingsFromSlowest = 32947;
constexpr UINT kCmdToolsNotes = CRecordingNotes::kToolsNotesCommand;
constexpr UINT kCmdDataCentricGraph = 32846;
constexpr UINT kCmdVideoCentricGraph = 32847;

// One synchronisation at a time in the whole program: moving a member reports back through
// its callbacks, which would otherwise start another.
bool g_synchronizing = false;

CPlaybackView* PlaybackOf(CFrameWnd* frame) {
    return frame ? dynamic_cast<CPlaybackView*>(frame->GetActiveView()) : nullptr;
}

// A frame number scaled by the time since an origin: trunc(rate * seconds) + origin.
// The frame source a video member shows; null for other members and a video without one.
CFrameSource* VideoSourceOf(const CPlaybackView* playback) {
    const auto* video = dynamic_cast<const CVidView*>(playback);
    if (!video)
        return nullptr;
    const CFrameSourcePtr source = video->GetFrameSource();
    // The view keeps its own reference, so the pointer outlives this copy.
    return source.IsEmpty() ? nullptr : source.operator->();
}

// The data set a data member on top shows; empty for any other top.
CSharedRef<CSensorDataSet> DataSetOf(CPlaybackView* playback) {
    auto* data = playback && playback->GetSourceType() == CPlaybackView::kDataMember
                     ? dynamic_cast<IDataPlayView*>(playback)
                     : nullptr;
    return data ? data->DataGetDataSet() : CSharedRef<CSensorDataSet>();
}

int TimedFrame(double rate, double seconds, int origin) {
    return static_cast<int>(std::trunc(rate * seconds)) + origin;
}

}  // namespace

IMPLEMENT_DYNCREATE(CMeasurementView, CFrameParentingView)

BEGIN_MESSAGE_MAP(CMeasurementView, CFrameParentingView)
ON_WM_SIZE()
ON_WM_PAINT()
ON_COMMAND(kCmdAddVideo, OnAddVideo)
ON_COMMAND(kCmdAddData, OnAddData)
ON_COMMAND(kCmdImportPlayGroup, OnImportPlayGroup)
ON_COMMAND(kCmdSaveActivePlayback, OnSaveActivePlayback)
ON_COMMAND(kCmdSaveActiveDataPlayback, OnSaveActivePlayback)
ON_UPDATE_COMMAND_UI(kCmdSaveActivePlayback, OnUpdateSaveActivePlayback)
ON_UPDATE_COMMAND_UI(kCmdSaveActiveDataPlayback, OnUpdateTopIsData)
ON_COMMAND(kCmdExportDataText, OnExportDataText)
ON_UPDATE_COMMAND_UI(kCmdExportDataText, OnUpdateTopIsData)
ON_COMMAND(kCmdExportDataExcel, OnExportDataExcel)
ON_UPDATE_COMMAND_UI(kCmdExportDataExcel, OnUpdateTopIsData)
ON_COMMAND(kCmdSaveFromDeviceMemory, OnSaveFromDeviceMemory)
ON_UPDATE_COMMAND_UI(kCmdSaveFromDeviceMemory, OnUpdateSaveFromDeviceMemory)
ON_COMMAND(kCmdSaveProjectSession, OnSaveProjectSession)
ON_COMMAND(kCmdEditRecordParameters, OnEditRecordParameters)
ON_UPDATE_COMMAND_UI(kCmdEditRecordParameters, OnUpdateTopIsVideo)
ON_COMMAND(kCmdSaveRecordParameters, OnSaveRecordParameters)
ON_UPDATE_COMMAND_UI(kCmdSaveRecordParameters, OnUpdateTopIsVideo)
ON_COMMAND(kCmdArrangeWindows, OnArrangeWindows)
ON_COMMAND(kCmdAutoArrange, OnAutoArrange)
ON_UPDATE_COMMAND_UI(kCmdAutoArrange, OnUpdateAutoArrange)
ON_COMMAND(kCmdArrangeIfAuto, OnArrangeIfAuto)
ON_COMMAND(kCmdCascade, OnCascade)
ON_COMMAND(kCmdCascadeToo, OnCascade)
ON_COMMAND(kCmdTileHorizontally, OnTileHorizontally)
ON_COMMAND(kCmdTileVertically, OnTileVertically)
ON_COMMAND(kCmdSettingsFromActive, OnSettingsFromActive)
ON_COMMAND(kCmdSettingsFromSlowest, OnSettingsFromSlowest)
ON_COMMAND(kCmdToolsNotes, OnToolsNotes)
ON_COMMAND(kCmdVideoCentricGraph, OnVideoCentricGraph)
ON_COMMAND(kCmdDataCentricGraph, OnDataCentricGraph)
ON_UPDATE_COMMAND_UI(kCmdVideoCentricGraph, OnUpdateVideoCentricGraph)
ON_UPDATE_COMMAND_UI(kCmdDataCentricGraph, OnUpdateDataCentricGraph)
ON_UPDATE_COMMAND_UI(kCmdToolsNotes, OnUpdateToolsNotes)
ON_UPDATE_COMMAND_UI(kCmdSettingsFromActive, OnUpdateSettingsFromActive)
ON_UPDATE_COMMAND_UI(kCmdSettingsFromSlowest, OnUpdateSettingsFromSlowest)
// The one-step save has nothing to save yet.
ON_UPDATE_COMMAND_UI(kCmdSnapkeepActive, OnUpdateDisabled)
END_MESSAGE_MAP()

void CMeasurementView::SetPlayDataFactory(PlayDataFactory factory) {
    PlayDataFactoryRef() = std::move(factory);
}

CMeasurementView::CMeasurementView()
    : m_frameListener(std::make_unique<CChangedFrameMeasView>(this)) {
    // The member frames keep the places arrangement gives them; OnSize decides.
    m_bLayOutOnSize = FALSE;
    // A play group of its own in the main window closes its members on Close All Windows.
    CVidraFrameWnd::SetHostedFramesCloser(&CGeneralDoc::CloseHostedFrames);
}

CMeasurementView::~CMeasurementView() {
    for (const ListenerLink& link : m_listenerLinks)
        if (!link.memberLife.expired())
            link.notifier->Unadvise(link.cookie);
    m_frameListener.reset();
    if (m_playControl.GetSafeHwnd())
        m_playControl.DestroyWindow();
}

void CMeasurementView::OnInitialUpdate() {
    if (m_initialized)
        return;
    CFrameParentingView::OnInitialUpdate();
    CFrameWnd* frame = GetParentFrame();
    m_playControl.Create(nullptr, QStringLiteral("play controller"), WS_CHILD, CRect(),
                         frame ? static_cast<CWnd*>(frame) : this, 0);
    m_playControl.SetRewindCallback(RewindCallback, this);
    m_playControl.SetFastForwardCallback(FastForwardCallback, this);
    m_playControl.SetGetFrameNumberCallback(FrameNumberCallback, this);
    m_playControl.SetGetFrameCountCallback(FrameCountCallback, this);
    m_playControl.SetGetCurrentFrameCallback(CurrentFrameCallback, this);
    m_playControl.SetGetTimeCallback(TimeCallback, this);
    m_playControl.SetFrameChangedCallback(FrameChangedCallback, this);
    m_playControl.SetZeroCallback(ZeroCallback, this);
    m_playControl.SetSynchronizeCallback(SynchronizeCallback, this);
    m_playControl.SetBaseSyncCallback(BaseSyncCallback, this);
    m_playControl.SetContinuousCallback(ContinuousCallback, this);
    m_playControl.SetSkipChangedCallback(SkipChangedCallback, this);
    if (const PlayDataFactory& factory = PlayDataFactoryRef())
        m_playData.reset(factory(dynamic_cast<CMeasurementFormDoc*>(GetDocument()), this));
    m_initialized = TRUE;
    // The document reads its pending path once the view is ready. That waits for the event
    // loop: whoever created the group (a project) places its frame first, and the members
    // join the group where it lives. A group that has members by then was filled already.
    if (QWidget* widget = GetQWidget()) {
        QTimer::singleShot(0, widget, [widget] {
            // A view destroyed meanwhile (its group failed to open) is gone while its widget
            // still waits for deletion: only a widget that is still the view's counts.
            auto* view = dynamic_cast<CMeasurementView*>(CWnd::FromWidgetPermanent(widget));
            auto* doc = view ? dynamic_cast<CMeasurementFormDoc*>(view->GetDocument()) : nullptr;
            if (doc && !doc->GetPendingPath().isEmpty() && doc->GetVideoCount() == 0 &&
                doc->GetDataCount() == 0)
                doc->LoadPlayGroup(0);
        });
    }
    Invalidate();
    if (m_maximizeOnFirstUpdate && frame)
        frame->ShowWindow(SW_SHOWMAXIMIZED);
}

BOOL CMeasurementView::OnCmdMsg(UINT nID, int nCode, void* pExtra,
                                AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_initialized && m_playControl.GetSafeHwnd() &&
        m_playControl.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameParentingView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CMeasurementView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The simple play bar reports to the view's frame as it would to its own play control.
    if (m_initialized && m_playControl.GetSafeHwnd() &&
        (message == kPlayBarTracking || message == kPlayBarReleased ||
         message == kPlayBarResetLimits) &&
        m_playControl.SendMessage(message, wParam, lParam) != 0)
        return 1;
    return CFrameParentingView::WindowProc(message, wParam, lParam);
}

void CMeasurementView::OnDraw(CDC*) {}

void CMeasurementView::OnPaint() {
    // The member frames paint themselves; the background is the erase pass's.
    Default();
}

void CMeasurementView::OnSize(UINT, int, int) {
    Default();
    if (m_autoArrange)
        ArrangeMembers();
}

CMeasurementFormDoc* CMeasurementView::GetGroupDoc() const {
    return dynamic_cast<CMeasurementFormDoc*>(m_pDocument);
}

int CMeasurementView::GetMemberCount() {
    const CMeasurementFormDoc* doc = GetGroupDoc();
    return doc ? doc->GetVideoCount() + doc->GetDataCount() : -1;
}

CPlaybackView* CMeasurementView::GetMemberPlayback(int index) {
    const CMeasurementFormDoc* doc = GetGroupDoc();
    if (!doc || index < 0)
        return nullptr;
    const int videos = doc->GetVideoCount();
    if (index < videos)
        return FindPlayback(CPlaybackView::kVideoMember, doc->GetVideoSourceId(index));
    if (index - videos < doc->GetDataCount())
        return FindPlayback(CPlaybackView::kDataMember, doc->GetDataSourceId(index - videos));
    return nullptr;
}

void CMeasurementView::AddMember(int type) {
    if (type == CPlaybackView::kVideoMember)
        OnAddVideo();
    else if (type == CPlaybackView::kDataMember)
        OnAddData();
}

int CMeasurementView::GetActiveVideoSourceId() {
    CPlaybackView* top = GetActivePlaybackView();
    return top && top->GetSourceType() == CPlaybackView::kVideoMember ? SourceIdOf(top) : -1;
}

int CMeasurementView::AttachPlayback(CView* memberView, int markAtZero) {
    CMeasurementFormDoc* doc = GetGroupDoc();
    auto* playback = dynamic_cast<CPlaybackView*>(memberView);
    if (!doc || !playback)
        return 0;
    int type = 0;
    int index = -1;
    int id = -1;
    int kind = 0;
    int handle = 0;
    doc->GetLastAdded(&type, &index, &id, &kind, &handle);
    auto* video = dynamic_cast<CVidView*>(playback);
    int zero = 0;
    if (type == CPlaybackView::kVideoMember && video) {
        video->SetFrameSource(doc->GetVideoSourcePtr(index));
        video->SetGroupMember(type, index, kind, handle);
        if (const CFrameSource* source = VideoSourceOf(video)) {
            video->SetFrameRate(source->GetRecordedRate());
            video->SetFrameCount(source->GetFrameCount());
            int width = 0;
            int height = 0;
            source->GetImageSize(&width, &height);
            video->SetImageSize(width, height);
            video->SetShutter(source->GetExposure());
            video->SetBitDepth(source->GetBitCount());
        }
        zero = ZeroFrameOf(video);
    } else if (type == CPlaybackView::kDataMember) {
        // The member is known by its data set's id; rate and frames are the data view's own.
        // The scan its user moves to moves the group.
        playback->SetGroupMember(type, id, kind, handle);
        zero = ZeroFrameOf(playback);
        if (auto* data = dynamic_cast<IDataMemberView*>(playback))
            data->SetTimeRange(DataTimeCallback, this);
    } else {
        return 0;
    }
    playback->SetGroupDocument(doc);
    if (kind == CPlaybackView::kDeviceRecording)
        playback->SetFrameNumberOrigin(0, zero);
    if (markAtZero == 1)
        playback->SetFrameNumberOrigin(1, zero);
    playback->SetBaseSync(1);

    const QString groupPath = doc->GetPathName();
    const QString memberPath = doc->GetPathFor(type, id);
    if (groupPath.endsWith(QLatin1String(".playgrp"), Qt::CaseInsensitive)) {
        playback->SetSourceName(groupPath);
    } else if (kind == CPlaybackView::kDeviceRecording) {
        playback->SetSourceName(QStringLiteral("--- Latest Recording ---"));
    } else {
        playback->SetSourceName(memberPath);
        playback->SetSourcePath(memberPath);
    }

    m_playControl.ResetRange();
    playback->SetFrameChangedCallback(MemberFrameChangedCallback, this);
    playback->NotifyFrameChanged();
    if (video) {
        video->SetGroupCallbackFunction(VideoGroupCallback, this);
        // Changes that reach the video from its source come on to the group with its ids.
        IIdUnknown* adapter = nullptr;
        CFrameWnd* frame = video->GetParentFrame();
        if (frame && SUCCEEDED(video->GetFrameChangeAdapter(&adapter)))
            if (auto* notifier = QueryId<INotifier>(adapter, kIdNotifier2)) {
                int cookie = 0;
                if (SUCCEEDED(notifier->Advise(m_frameListener.get(), &cookie)))
                    m_listenerLinks.push_back({frame->GetLifeToken(), notifier, cookie});
            }
    }
    // The member's frame may live in a project's view rather than in this one: its going is
    // heard from its window, as long as this view is there to hear it.
    if (CFrameWnd* frame = playback->GetParentFrame()) {
        QWidget* widget = frame->GetQWidget();
        QObject::connect(
            widget, &QObject::destroyed, widget,
            [this, alive = std::weak_ptr<bool>(m_alive), type, id = SourceIdOf(playback)] {
                if (!alive.expired())
                    OnMemberGone(type, id);
            });
    }
    m_playbackList.SetChanged(1);
    return 1;
}

namespace {

// Before member i of that type leaves the group: its notes changed since they were written are
// offered for saving beside its recording, as the group's save would write them.
void OfferNotesBeforeTheyGo(CMeasurementFormDoc* doc, int type, int i) {
    const bool video = type == CPlaybackView::kVideoMember;
    CRecordingNotes* notes = video ? doc->GetVideoNotes(i) : doc->GetDataNotes(i);
    const int flag = video ? doc->GetVideoFlag(i) : doc->GetDataFlag(i);
    // Notes of a device's memory have no file to go beside, as in the group's own save.
    if (!notes || !notes->IsModified() || flag != CMeasurementFormDoc::kFromFile)
        return;
    const QString path = video ? doc->GetVideoPath(i) : doc->GetDataPath(i);
    if (AfxMessageBox(QStringLiteral("Save changes to the notes of %1?").arg(path),
                      MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
        CNotesFile().SaveNotes(
            path, *notes, video ? CMeasurementFormDoc::kTypeVideo : CMeasurementFormDoc::kTypeData);
}

}  // namespace

void CMeasurementView::OnMemberGone(int type, int id) {
    CMeasurementFormDoc* doc = GetGroupDoc();
    if (!doc)
        return;
    CloseNotesWindowsOf(type, id);
    if (type == CPlaybackView::kVideoMember) {
        const int i = doc->FindVideoBySourceId(id);
        if (i >= 0) {
            OfferNotesBeforeTheyGo(doc, type, i);
            doc->RemoveVideo(i);
            doc->RemoveVideoNotes(i);
            doc->RemoveVideoAnalysisObjects(i);
        }
    } else if (type == CPlaybackView::kDataMember) {
        const int i = doc->FindDataById(id);
        if (i >= 0) {
            OfferNotesBeforeTheyGo(doc, type, i);
            doc->RemoveData(i);
            doc->RemoveDataNotes(i);
        }
    }
    m_playbackList.SetChanged(1);
}

int CMeasurementView::SetExtraValue(int value) {
    m_extraValue = value;
    return value;
}

int CMeasurementView::GetExtraValue() {
    return m_extraValue;
}

CFrameParentingView* CMeasurementView::GetContainer() const {
    if (const auto* frame = dynamic_cast<const CViewChildedFrame*>(GetParentFrame()))
        if (auto* parent = dynamic_cast<CFrameParentingView*>(frame->GetParentView()))
            return parent;
    return const_cast<CMeasurementView*>(this);
}

template <typename Fn>
void CMeasurementView::ForEachPlayback(Fn fn) const {
    CFrameParentingView* container = GetContainer();
    CFrameWnd* saved = container->SetChildFrameCursor(nullptr);
    while (CFrameWnd* frame = container->GetNextChildFrame())
        if (CPlaybackView* playback = PlaybackOf(frame))
            fn(playback);
    container->SetChildFrameCursor(saved);
}

CPlaybackView* CMeasurementView::GetActivePlaybackView() const {
    return dynamic_cast<CPlaybackView*>(GetContainer()->GetFirstChildView());
}

CPlaybackView* CMeasurementView::GetControllingPlayback() const {
    CPlaybackView* active = GetActivePlaybackView();
    if (active && m_settingsSource == kSettingsFromSlowest && active->GetBaseSync())
        return FindSlowestSynced(active->GetSourceName());
    return active;
}

CPlaybackView* CMeasurementView::FindSlowestSynced(const QString& name) const {
    CPlaybackView* slowest = nullptr;
    ForEachPlayback([&](CPlaybackView* playback) {
        if (playback->GetBaseSync() && playback->GetSourceName() == name &&
            (!slowest || playback->GetFrameRate() < slowest->GetFrameRate()))
            slowest = playback;
    });
    return slowest;
}

CPlaybackView* CMeasurementView::FindPlayback(int type, int id) const {
    CPlaybackView* found = nullptr;
    ForEachPlayback([&](CPlaybackView* playback) {
        if (!found && playback->GetSourceType() == type && SourceIdOf(playback) == id)
            found = playback;
    });
    return found;
}

CPlaybackView* CMeasurementView::FindTopPlayback(
    const std::function<bool(const CPlaybackView*)>& match) const {
    CPlaybackView* found = nullptr;
    ForEachPlayback([&](CPlaybackView* playback) {
        if (!found && match(playback))
            found = playback;
    });
    return found;
}

std::vector<CNotesBasicView*> CMeasurementView::NotesWindows() const {
    std::vector<CNotesBasicView*> windows;
    ForEachPlayback([&](CPlaybackView* playback) {
        if (auto* notes = dynamic_cast<CNotesBasicView*>(playback))
            windows.push_back(notes);
    });
    return windows;
}

CNotesBasicView* CMeasurementView::OpenNotesWindow() {
    CMeasurementFormDoc* doc = GetGroupDoc();
    CPlaybackView* reference = FindTopPlayback([](const CPlaybackView* playback) {
        return !dynamic_cast<const CNotesBasicView*>(playback);
    });
    if (!doc || !reference)
        return nullptr;
    const int type = reference->GetSourceType();
    const int id = SourceIdOf(reference);
    CDocument* notesDoc = nullptr;
    CView* view = nullptr;
    if (!doc->ParentNotesFrame(QString(), &notesDoc, &view, nullptr))
        return nullptr;
    auto* notes = dynamic_cast<CNotesBasicView*>(view);
    if (!notes)
        return nullptr;
    const QString title = GetFileNameFromPath(doc->GetPathFor(type, id));
    notes->SetMode(2);
    notes->SetItem(0, type, id, CNoteItem::kGlobal, title);
    notes->SetItem(1, type, id, CNoteItem::kCurrent, title);
    notes->SetGroupView(this);
    notes->Refresh();
    notes->UpdateCaption();
    m_playControl.ResetRange();
    notes->SetFrameChangedCallback(
        [](void* context, int) { static_cast<CMeasurementView*>(context)->RefreshPlayControl(); },
        this);
    return notes;
}

void CMeasurementView::OnToolsNotes() {
    OpenNotesWindow();
}

void CMeasurementView::OnUpdateToolsNotes(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetGroupDoc() && GetMemberCount() > 0);
}

bool CMeasurementView::EditNote(int type, int id, int scope, const QString& text) {
    CMeasurementFormDoc* doc = GetGroupDoc();
    CRecordingNotes* notes = doc && id >= 1 ? doc->GetNotesFor(type, id) : nullptr;
    if (!notes)
        return false;
    bool set = false;
    if (scope == CNoteItem::kGlobal) {
        set = notes->SetGlobalNote(text);
    } else if (CPlaybackView* member = FindPlayback(type, id)) {
        set = type == CPlaybackView::kDataMember
                  ? notes->SetDataNote(member->GetCurrentFrame(), text)
                  : notes->SetFrameNote(member->GetCurrentFrame(), text);
    }
    return set;
}

bool CMeasurementView::StepToNote(const std::vector<CNoteItem>& items, bool backwards) {
    CMeasurementFormDoc* doc = GetGroupDoc();
    if (!doc)
        return false;
    struct Step {
        int type, id, current;
        double rate;
    };
    std::vector<Step> steps;
    double dt = 1e15;
    for (const CNoteItem& item : items) {
        if (item.GetScope() != CNoteItem::kCurrent)
            continue;
        CRecordingNotes* notes = doc->GetNotesFor(item.GetType(), item.GetId());
        CPlaybackView* member = FindPlayback(item.GetType(), item.GetId());
        if (!notes || !member)
            continue;
        const int c = member->GetCurrentFrame();
        const double r = std::max(member->GetFrameRate(), 1.0);
        const int n = item.GetType() == CPlaybackView::kDataMember
                          ? notes->FindDataNote(c, backwards)
                          : notes->FindFrameNote(c, backwards);
        if (n < 0 || n == c)
            continue;
        dt = std::min(dt, std::abs(n - c) / r);
        steps.push_back({item.GetType(), item.GetId(), c, r});
    }
    if (steps.empty())
        return false;
    for (int type : {CPlaybackView::kVideoMember, CPlaybackView::kDataMember}) {
        for (const Step& step : steps) {
            if (step.type != type)
                continue;
            const int delta = static_cast<int>(std::trunc(step.rate * dt));
            SynchronizeToFrame(backwards ? step.current - delta : step.current + delta, step.type,
                               step.id, 1);
            RefreshNotesWindows();
        }
    }
    return true;
}

void CMeasurementView::RefreshNotesWindows() {
    for (CNotesBasicView* notes : NotesWindows())
        notes->Refresh();
}

void CMeasurementView::CloseNotesWindowsOf(int type, int id) {
    for (CNotesBasicView* notes : NotesWindows()) {
        const auto& items = notes->GetItems();
        const bool linked = std::any_of(items.begin(), items.end(), [&](const CNoteItem& item) {
            return item.GetType() == type && item.GetId() == id;
        });
        if (CFrameWnd* frame = notes->GetParentFrame(); linked && frame)
            frame->PostMessage(WM_CLOSE);
    }
}

int CMeasurementView::SourceIdOf(const CPlaybackView* playback) {
    if (const CFrameSource* source = VideoSourceOf(playback)) {
        unsigned id = 0;
        source->GetSourceId(&id);
        return static_cast<int>(id);
    }
    return playback ? playback->GetMemberIndex() : -1;
}

int CMeasurementView::ZeroFrameOf(const CPlaybackView* playback) {
    if (!playback)
        return -1;
    // A recording numbers its frames from its trigger: frame 0 carries the number -zero.
    if (const CFrameSource* source = VideoSourceOf(playback)) {
        const int first = source->GetFrameCount() > 0 ? source->GetFirstFrameNumber() : 1;
        return -first;
    }
    int zero = -1;
    return playback->GetFirstFrameNumber(&zero) ? zero : -1;
}

void CMeasurementView::SynchronizeToFrame(int frame, int type, int id, int propagate) {
    if (g_synchronizing)
        return;
    g_synchronizing = true;
    if (frame < 0)
        frame = m_playControl.GetCurrentFrame();

    CPlaybackView* reference = id > 0 ? FindPlayback(type, id) : GetActivePlaybackView();
    if (reference && m_settingsSource == kSettingsFromSlowest && reference->GetBaseSync())
        if (CPlaybackView* slowest = FindSlowestSynced(reference->GetSourceName()))
            reference = slowest;

    if (frame != m_lastSyncFrame) {
        m_lastSyncFrame = frame;
        if (reference)
            reference->SetCurrentFrame(frame, 0);
    }

    if (reference) {
        int in = 0;
        if (m_playControl.GetInLimit(&in))
            reference->SetInPoint(1, in);
        else
            reference->SetInPoint(0, 0);
        int out = 0;
        if (m_playControl.GetOutLimit(&out) && out > 0)
            reference->SetOutPoint(1, out);
        else
            reference->SetOutPoint(0, reference->GetFrameCount() - 1);
    }

    if (propagate && reference) {
        int markFrame = 0;
        const int markOn = reference->GetFrameNumberOrigin(&markFrame);
        const double rate = reference->GetFrameRate();
        const int zero = ZeroFrameOf(reference);
        const QString name = reference->GetSourceName();
        const bool baseSync = reference->GetBaseSync() && !name.isEmpty();
        if (markOn || baseSync) {
            const double sinceMark = (frame - markFrame) / rate;
            const double sinceZero = (frame - zero) / rate;
            ForEachPlayback([&](CPlaybackView* member) {
                if (member == reference)
                    return;
                int target = -1;
                const double r = member->GetFrameRate();
                if (baseSync && member->GetBaseSync() && member->GetSourceName() == name)
                    target = TimedFrame(r, sinceZero, ZeroFrameOf(member));
                int memberMark = 0;
                if (member->GetFrameNumberOrigin(&memberMark))
                    target = TimedFrame(r, sinceMark, memberMark);
                // A member already on its frame is left as it is: nothing to read or paint.
                if (target < 0 || target == member->GetCurrentFrame())
                    return;
                member->SetCurrentFrame(target, 0);
                const int memberType = member->GetSourceType();
                if (memberType == CPlaybackView::kVideoMember ||
                    memberType == CPlaybackView::kDataMember)
                    if (CFrameWnd* memberFrame = member->GetParentFrame())
                        memberFrame->SendMessage(kMemberFrameMovedMessage,
                                                 reinterpret_cast<WPARAM>(this), target);
            });
        }
    }

    if (m_playControl.GetCurrentFrame() != frame)
        m_playControl.GotoFrame(frame, FALSE);
    g_synchronizing = false;
    RefreshNotesWindows();
}

void CMeasurementView::NotifyTopFrame() {
    CPlaybackView* top = GetActivePlaybackView();
    if (CFrameWnd* frame = top ? top->GetParentFrame() : nullptr)
        frame->SendMessage(kMemberFrameMovedMessage, reinterpret_cast<WPARAM>(this),
                           m_playControl.GetCurrentFrame());
}

void CMeasurementView::RefreshPlayControl() {
    CPlaybackView* playback = GetControllingPlayback();
    if (!playback)
        return;
    m_playControl.SetSynchronize(playback->GetFrameNumberOrigin(nullptr));
    m_playControl.ShowSynchronize();
    m_playControl.SetBaseSync(playback->GetBaseSync());
    m_playControl.ShowBaseSync();
    m_playControl.SetContinuous(playback->GetContinuous());
    m_playControl.ShowContinuous();
    m_playControl.SetSkipAndShow(playback->GetSkipFrames());
    m_playControl.SetSliderRange(0, playback->GetFrameCount() - 1);
    int in = 0;
    const int inOn = playback->GetInPoint(&in);
    m_playControl.SetInLimit(inOn, in);
    int out = 0;
    const int outOn = playback->GetOutPoint(&out);
    m_playControl.SetOutLimit(outOn, out);
    m_playControl.UpdateReadout();
    m_playControl.GotoFrame(playback->GetCurrentFrame(), FALSE);
}

int CMeasurementView::DataTimeCallback(void* context, int frame, int convert, double rate,
                                       const QString& name) {
    return static_cast<CMeasurementView*>(context)->OnDataTimeChanged(frame, convert, rate, name);
}

int CMeasurementView::OnDataTimeChanged(int frame, int convert, double rate, const QString& name) {
    if (m_settingsSource == kSettingsFromSlowest && convert) {
        if (CPlaybackView* slowest = FindSlowestSynced(name)) {
            double slowestRate = slowest->GetFrameRate();
            if (slowestRate <= 0)
                slowestRate = 1.0;
            if (rate <= 0)
                rate = 1.0;
            frame = static_cast<int>(std::trunc(frame * slowestRate / rate));
        }
    }
    SynchronizeToFrame(frame, 0, -1, 1);
    return 1;
}

void CMeasurementView::AutoBracket(int halfWidth) {
    CPlaybackView* reference = GetActivePlaybackView();
    if (!reference)
        return;
    const bool referenceMarked = reference->GetFrameNumberOrigin(nullptr) != 0;
    auto bracket = [halfWidth](CPlaybackView* member) {
        const int zero = ZeroFrameOf(member);
        const int last = std::max(member->GetFrameCount() - 1, 0);
        member->SetInPoint(1, std::clamp(zero - halfWidth, 0, last));
        member->SetOutPoint(1, std::clamp(zero + halfWidth, 0, last));
    };
    bracket(reference);
    if (referenceMarked)
        ForEachPlayback([&](CPlaybackView* member) {
            if (member != reference && member->GetFrameNumberOrigin(nullptr))
                bracket(member);
        });
    reference->SetCurrentFrame(reference->GetCurrentFrame(), 0);
    reference->NotifyFrameChanged();
}

void CMeasurementView::OnZero() {
    if (CPlaybackView* reference = GetActivePlaybackView()) {
        const QString name = reference->GetSourceName();
        const bool baseSync = reference->GetBaseSync() != 0;
        // Videos keep the zero in their source, data files in their data set.
        auto zeroHere = [](CPlaybackView* member) {
            member->SetZeroFrame(member->GetCurrentFrame());
        };
        zeroHere(reference);
        if (baseSync)
            ForEachPlayback([&](CPlaybackView* member) {
                if (member != reference && member->GetBaseSync() && member->GetSourceName() == name)
                    zeroHere(member);
            });
        reference->SetCurrentFrame(reference->GetCurrentFrame(), 0);
        reference->NotifyFrameChanged();
    }
    if (GroupIntegerSetting(QStringLiteral("AppBehave:bAutoBracket"), 0))
        AutoBracket(GroupIntegerSetting(QStringLiteral("AppBehave:lAutoBrackHalfWidth"), 15));
    // The recordings of the devices' memory are saved right after zeroing when the user chose
    // so, asked for one by one only when that is chosen too.
    if (SaveAfterZeroSetting().value_or(0) != 0)
        if (CMeasurementFormDoc* doc = GetGroupDoc())
            doc->SaveGroupFromDeviceMemory(
                0, 1, 0, 0, GroupIntegerSetting(QStringLiteral("AppBehave:bSaveWithUserQuery"), 1),
                1);
}

BOOL CMeasurementView::RewindTarget(int frame, int* target) {
    if (!target)
        return FALSE;
    const CPlaybackView* playback = GetControllingPlayback();
    *target = PlayStepTargets::Rewind(VideoSourceOf(playback), frame, ZeroFrameOf(playback),
                                      playback ? playback->GetFrameCount() : 0, m_lastSyncFrame);
    return TRUE;
}

BOOL CMeasurementView::FastForwardTarget(int frame, int* target) {
    if (!target)
        return FALSE;
    const CPlaybackView* playback = GetControllingPlayback();
    *target =
        PlayStepTargets::FastForward(VideoSourceOf(playback), frame, ZeroFrameOf(playback),
                                     playback ? playback->GetFrameCount() : 0, m_lastSyncFrame);
    return TRUE;
}

void CMeasurementView::ArrangeMembers() {
    // Videos across the top, data playback frames below them (no band without that kind).
    const CRuntimeClass* data = CGeneralDoc::GetGroupKinds().dataPlayFrame;
    GetContainer()->ArrangeChildFrames(RUNTIME_CLASS(CVidFrame),
                                       data ? data : RUNTIME_CLASS(CPlaybackView), FALSE, FALSE);
}

void CMeasurementView::OnAddVideo() {
    CFileDialog dialog(TRUE, QStringLiteral("avi"), QString(), OFN_HIDEREADONLY,
                       QStringLiteral("Recognized File Types (*.avi;*.raw;*.bmp;*.tif;*.jpg)|"
                                      "*.avi;*.raw;*.bmp;*.tif;*.jpg|AVI Files (*.avi)|*.avi|"
                                      "RAW Files (*.raw)|*.raw|Image Sequences "
                                      "(*.bmp;*.tif;*.jpg)|*.bmp;*.tif;*.jpg|All Files "
                                      "(*.*)|*.*||"),
                       this);
    if (dialog.DoModal() == IDOK)
        if (CMeasurementFormDoc* doc = GetGroupDoc())
            doc->AddPlaybackFromFile(dialog.GetPathName(), 0, 1, nullptr, nullptr);
}

void CMeasurementView::OnAddData() {
    CFileDialog dialog(TRUE, QStringLiteral("mdat"), QString(), OFN_HIDEREADONLY,
                       QStringLiteral(" (*.mdat;*.au2;*.vidatqn)|*.mdat;*.au2;*.vidatqn| All "
                                      "Files (*.*)|*.*||"),
                       this);
    dialog.m_ofn.lpstrTitle = QStringLiteral("Load Data File");
    if (dialog.DoModal() == IDOK)
        if (CMeasurementFormDoc* doc = GetGroupDoc())
            doc->AddPlaybackFromFile(dialog.GetPathName(), 0, 1, nullptr, nullptr);
}

void CMeasurementView::OnImportPlayGroup() {
    CFileDialog dialog(TRUE, QStringLiteral("playgrp"), QString(), OFN_HIDEREADONLY,
                       QStringLiteral("Play Group Files (*.playgrp)|*.playgrp| All Files "
                                      "(*.*)|*.*||"),
                       this);
    dialog.m_ofn.lpstrTitle = QStringLiteral("Import Play Group File");
    CMeasurementFormDoc* doc = GetGroupDoc();
    if (dialog.DoModal() != IDOK || !doc)
        return;
    doc->SetPendingPath(dialog.GetPathName());
    if (doc->ReadPlayGroupFile(dialog.GetPathName(), 0))
        doc->OpenPendingFiles();
}

// The dialog shows the shutter in microseconds; the source keeps nanoseconds. A value the user
// left as shown keeps what the source had, so an unknown rate or exposure stays unknown. The
// zero frame is the trigger: frame 0 carries the number -zero.
void CMeasurementView::OnEditRecordParameters() {
    CPlaybackView* video = GetActivePlaybackView();
    CFrameSource* source = VideoSourceOf(video);
    if (!source)
        return;
    CCfgFileInfo info;
    source->GetCfgFileInfo(&info);
    const int shownRate = std::max(info.m_rate, 0);
    const int shownShutter = std::max(info.m_exposureNs, 0) / 1000;
    CDlgEditParameters dialog(this);
    const int shownZero =
        info.m_firstFrame == std::numeric_limits<int>::min() ? 0 : -info.m_firstFrame;
    dialog.SetValues(shownRate, shownShutter, shownZero);
    if (dialog.DoModal() != IDOK)
        return;
    int rate = 0, shutter = 0, zeroFrame = 0;
    dialog.GetValues(&rate, &shutter, &zeroFrame);
    if (rate != shownRate) {
        info.m_rate = rate;
        info.m_rateHz = rate;
    }
    if (shutter != shownShutter)
        info.m_exposureNs = std::min(shutter, std::numeric_limits<int>::max() / 1000) * 1000;
    if (zeroFrame != shownZero)
        info.m_firstFrame = -std::max(zeroFrame, -std::numeric_limits<int>::max());
    source->SetCfgFileInfo(info);
    video->SetFrameRate(source->GetRecordedRate());
    video->SetShutter(source->GetExposure());
    video->NotifyFrameChanged();
    video->Invalidate();
}

void CMeasurementView::OnSaveRecordParameters() {
    const CFrameSource* source = VideoSourceOf(GetActivePlaybackView());
    if (!source)
        return;
    if (source->SaveCfgFile())
        AfxMessageBox(QStringLiteral("Recorded parameters saved successfully."));
    else
        AfxMessageBox(QStringLiteral(
            "An error occurred while trying to save recorded parameters.  Unable to save."));
}

// The playback on top is saved alone, through the group's own save steps: its in and out
// points are the range, its zero frame numbers the frames.
void CMeasurementView::OnSaveActivePlayback() {
    CMeasurementFormDoc* doc = GetGroupDoc();
    CPlaybackView* top = GetActivePlaybackView();
    if (!doc || !top)
        return;
    const int type = top->GetSourceType();
    if (type != CPlaybackView::kVideoMember && type != CPlaybackView::kDataMember)
        return;
    const int id = SourceIdOf(top);
    CSaveVideoParams params;
    doc->InitSaveRequest(id, type, &params);
    params.m_sourcePath = top->GetDocumentTitle();
    params.m_zeroOffset = std::max(ZeroFrameOf(top), 0);
    int in = -1;
    int out = -1;
    top->GetInPoint(&in);
    top->GetOutPoint(&out);
    doc->SetSaveRequestRange(id, type, &params, in, out);
    if (doc->PreparePlaybackSave(id, type, &params))
        doc->SavePlayback(id, type, &params);
}

void CMeasurementView::OnUpdateSaveActivePlayback(CCmdUI* pCmdUI) {
    const CPlaybackView* top = GetActivePlaybackView();
    const int type = top ? top->GetSourceType() : 0;
    pCmdUI->Enable(type == CPlaybackView::kVideoMember || type == CPlaybackView::kDataMember);
}

void CMeasurementView::OnUpdateTopIsData(CCmdUI* pCmdUI) {
    const CPlaybackView* top = GetActivePlaybackView();
    pCmdUI->Enable(top && top->GetSourceType() == CPlaybackView::kDataMember);
}

// A copy is exported, so that the playback may go on changing its data while the file is
// written.
void CMeasurementView::OnExportDataText() {
    const CSharedRef<CSensorDataSet> data = DataSetOf(GetActivePlaybackView());
    if (data.IsEmpty() || !data->GetData())
        return;
    CSensorDataSet copy;
    copy.GetData()->Copy(*data->GetData());
    copy.ExportTextPrompt();
}

void CMeasurementView::OnExportDataExcel() {
    CPlaybackView* top = GetActivePlaybackView();
    const CSharedRef<CSensorDataSet> data = DataSetOf(top);
    CFrameWnd* frame = top ? top->GetParentFrame() : nullptr;
    if (data.IsEmpty() || !frame)
        return;
    QString question;
    LoadString(kIdsExportRealUnits, question);
    const int answer = AfxMessageBox(question, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL)
        return;
    data->ExportToExcel(GetFileTitle(frame->GetWindowText(), false), answer == IDYES ? 1 : 0);
}

void CMeasurementView::OnSaveFromDeviceMemory() {
    if (CMeasurementFormDoc* doc = GetGroupDoc())
        doc->SaveGroupFromDeviceMemory(0, 1, 1, 1, 1, 1);
}

void CMeasurementView::OnUpdateSaveFromDeviceMemory(CCmdUI* pCmdUI) {
    const CMeasurementFormDoc* doc = GetGroupDoc();
    pCmdUI->Enable(doc && doc->HasDeviceMemoryEntry());
}

void CMeasurementView::OnSaveProjectSession() {
    if (CMeasurementFormDoc* doc = GetGroupDoc())
        doc->SaveGroupFromDeviceMemory(0, doc->HasDeviceMemoryEntry() ? 1 : 0, 1, 1, 1, 1);
}

void CMeasurementView::OnUpdateTopIsVideo(CCmdUI* pCmdUI) {
    const CPlaybackView* top = GetActivePlaybackView();
    pCmdUI->Enable(top && top->GetSourceType() == CPlaybackView::kVideoMember);
}

void CMeasurementView::SetTopGraphNumbering(int mode) {
    CPlaybackView* top = GetActivePlaybackView();
    if (!top)
        return;
    top->SetGraphNumberingMode(mode);
    top->NotifyFrameChanged();
}

void CMeasurementView::OnVideoCentricGraph() {
    SetTopGraphNumbering(0);
}

void CMeasurementView::OnDataCentricGraph() {
    SetTopGraphNumbering(1);
}

// Only a data playback draws a graph; a video on top has none to number.
void CMeasurementView::OnUpdateVideoCentricGraph(CCmdUI* pCmdUI) {
    const CPlaybackView* top = GetActivePlaybackView();
    const bool data = top && top->GetSourceType() == CPlaybackView::kDataMember;
    pCmdUI->Enable(data);
    pCmdUI->SetCheck(data && top->GetGraphNumberingMode() == 0 ? 1 : 0);
}

void CMeasurementView::OnUpdateDataCentricGraph(CCmdUI* pCmdUI) {
    const CPlaybackView* top = GetActivePlaybackView();
    const bool data = top && top->GetSourceType() == CPlaybackView::kDataMember;
    pCmdUI->Enable(data);
    pCmdUI->SetCheck(data && top->GetGraphNumberingMode() == 1 ? 1 : 0);
}

void CMeasurementView::OnArrangeWindows() {
    ArrangeMembers();
}

void CMeasurementView::OnAutoArrange() {
    m_autoArrange = !m_autoArrange;
    if (m_autoArrange)
        ArrangeMembers();
}

void CMeasurementView::OnUpdateAutoArrange(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_autoArrange ? 1 : 0);
}

void CMeasurementView::OnArrangeIfAuto() {
    if (m_autoArrange)
        ArrangeMembers();
}

void CMeasurementView::OnCascade() {
    GetContainer()->CascadeChildFrames();
}

void CMeasurementView::OnTileHorizontally() {
    GetContainer()->TileChildFramesHorizontally();
}

void CMeasurementView::OnTileVertically() {
    GetContainer()->TileChildFramesVertically();
}

void CMeasurementView::OnSettingsFromActive() {
    m_settingsSource = kSettingsFromActive;
}

void CMeasurementView::OnSettingsFromSlowest() {
    m_settingsSource = kSettingsFromSlowest;
}

void CMeasurementView::OnUpdateSettingsFromActive(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_settingsSource == kSettingsFromActive ? 1 : 0);
}

void CMeasurementView::OnUpdateSettingsFromSlowest(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_settingsSource == kSettingsFromSlowest ? 1 : 0);
}

void CMeasurementView::OnUpdateDisabled(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}

BOOL CMeasurementView::RewindCallback(void* context, int frame, int* target) {
    return context ? static_cast<CMeasurementView*>(context)->RewindTarget(frame, target) : 0;
}

BOOL CMeasurementView::FastForwardCallback(void* context, int frame, int* target) {
    return context ? static_cast<CMeasurementView*>(context)->FastForwardTarget(frame, target) : 0;
}

void CMeasurementView::FrameNumberCallback(void* context, int, int* value) {
    if (!context || !value)
        return;
    *value = ZeroFrameOf(static_cast<CMeasurementView*>(context)->GetControllingPlayback());
}

void CMeasurementView::FrameCountCallback(void* context, int, int* value) {
    if (!context || !value)
        return;
    const CPlaybackView* playback =
        static_cast<CMeasurementView*>(context)->GetControllingPlayback();
    *value = playback ? playback->GetFrameCount() : -1;
}

void CMeasurementView::CurrentFrameCallback(void* context, int, int* value) {
    if (!context || !value)
        return;
    const CPlaybackView* playback =
        static_cast<CMeasurementView*>(context)->GetControllingPlayback();
    *value = playback ? playback->GetCurrentFrame() : -1;
}

BOOL CMeasurementView::TimeCallback(void* context, double* rate) {
    if (!context || !rate)
        return 0;
    const CPlaybackView* playback =
        static_cast<CMeasurementView*>(context)->GetControllingPlayback();
    *rate = playback ? playback->GetFrameRate() : -1.0;
    return playback != nullptr;
}

bool CMeasurementView::GetMemberFrameChangedCallback(FrameChangedFn* fn, void** context) {
    if (!fn || !context)
        return false;
    *fn = MemberFrameChangedCallback;
    *context = this;
    return true;
}

void CMeasurementView::MemberFrameChangedCallback(void* context, int) {
    if (!context)
        return;
    auto* view = static_cast<CMeasurementView*>(context);
    view->RefreshPlayControl();
    // A member tells the group when it comes forward, too: the calibration panel follows.
    if (auto* frame = dynamic_cast<CMeasurementFormFrame*>(view->GetParentFrame()))
        frame->AttachCalibrationToActiveVideo();
}

void CMeasurementView::VideoGroupCallback(void* context, intptr_t frame) {
    FrameChangedCallback(context, static_cast<int>(frame));
}

void CMeasurementView::FrameChangedCallback(void* context, int frame) {
    if (!context)
        return;
    auto* view = static_cast<CMeasurementView*>(context);
    // Measurement points moved on the frame being left go into the tracks before it changes.
    if (view->m_playData)
        view->m_playData->PushMeasurementPointsToTracks();
    view->SynchronizeToFrame(frame, 0, -1, 1);
    view->NotifyTopFrame();
}

void CMeasurementView::ZeroCallback(void* context, int) {
    if (context)
        static_cast<CMeasurementView*>(context)->OnZero();
}

void CMeasurementView::SynchronizeCallback(void* context, int frame, int on) {
    if (!context)
        return;
    auto* view = static_cast<CMeasurementView*>(context);
    if (CPlaybackView* top = view->GetActivePlaybackView())
        top->SetFrameNumberOrigin(on, frame);
    view->m_playControl.SetSynchronize(on);
    view->m_playControl.ShowSynchronize();
    view->NotifyTopFrame();
}

void CMeasurementView::BaseSyncCallback(void* context, int on) {
    if (!context)
        return;
    auto* view = static_cast<CMeasurementView*>(context);
    if (CPlaybackView* top = view->GetActivePlaybackView())
        top->SetBaseSync(on);
    view->m_playControl.SetBaseSync(on);
    view->m_playControl.ShowBaseSync();
    view->NotifyTopFrame();
}

void CMeasurementView::ContinuousCallback(void* context, int on) {
    if (!context)
        return;
    auto* view = static_cast<CMeasurementView*>(context);
    if (CPlaybackView* top = view->GetActivePlaybackView())
        top->SetContinuous(on);
    view->m_playControl.SetContinuous(on);
    view->m_playControl.ShowContinuous();
    view->NotifyTopFrame();
}

void CMeasurementView::SkipChangedCallback(void* context, int skip) {
    if (!context)
        return;
    auto* view = static_cast<CMeasurementView*>(context);
    if (CPlaybackView* top = view->GetActivePlaybackView())
        top->SetSkipFrames(skip);
    view->m_playControl.SetSkipAndShow(skip);
    view->NotifyTopFrame();
}
