#pragma once

// CMeasurementView: the view of a play group. Each member playback lives in its own hosted
// frame beside the group's frame; the view owns the group's play control and keeps every
// member in step with it, turning one frame change into one target frame per member by the
// time elapsed since each member's synchronisation mark or zero point.

#include "frames/IMeasViewSync.h"
#include "groups/FrameParentingView.h"
#include "groups/IDataMemberView.h"
#include "groups/IPlayDataGatherer.h"
#include "groups/IPlayGroupMembers.h"
#include "groups/IPlayGroupView.h"
#include "groups/PlayGroupPlaybackList.h"
#include "views/PlayControlWnd.h"
#include "views/VidFrame.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CChangedFrameMeasView;
class CNoteItem;
class CNotesBasicView;
class CMeasurementFormDoc;
class CPlaybackView;
class INotifier;

class CMeasurementView : public CFrameParentingView,
                         public IPlayGroupMembers,
                         public IMeasViewSync,
                         public IPlayGroupView,
                         public IPlaybackSourceOwner {
    DECLARE_DYNCREATE(CMeasurementView)
    DECLARE_MESSAGE_MAP()

public:
    // Where the play control takes its range and rate from.
    static constexpr int kSettingsFromActive = 0;
    static constexpr int kSettingsFromSlowest = 1;

    // Makes the play-data gatherer of each group view (the gatherer belongs to a layer above
    // the groups); installed by the program. Without one the view keeps none.
    using PlayDataFactory =
        std::function<IPlayDataGatherer*(CMeasurementFormDoc*, CMeasurementView*)>;
    static void SetPlayDataFactory(PlayDataFactory factory);

    CMeasurementView();
    ~CMeasurementView() override;

    void OnInitialUpdate() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void OnDraw(CDC* pDC) override;

    CMeasurementFormDoc* GetGroupDoc() const;

    // IPlayGroupView.
    CWnd* GetOwnerParentingView() override { return GetContainer(); }
    void SetUpMember(CView* memberView, int viewFlag) override {
        AttachPlayback(memberView, viewFlag);
    }
    int GetActiveVideoSourceId() override;
    // Windows opened for the group from outside its member list (derived sources) keep the
    // play control in step the way members do.
    bool GetMemberFrameChangedCallback(FrameChangedFn* fn, void** context) override;

    // Takes the member the document has just added into the group: its source, identity,
    // rate and frames, base sync, its synchronisation key and the callbacks that keep it in
    // step. With markAtZero 1 the member is synchronised from its zero frame. 0 without a
    // document or when memberView is no playback.
    int AttachPlayback(CView* memberView, int markAtZero);

    // The members as the control-panel pages list them.
    IPlaybackSourceList* GetPlaybackSourceList() override { return &m_playbackList; }

    // IPlayGroupMembers.
    int GetMemberCount() override;
    CPlaybackView* GetMemberPlayback(int index) override;
    void AddMember(int type) override;
    int SetExtraValue(int value) override;
    int GetExtraValue() override;

    // Moves the group to frame: the playback named by type and id (the top one when id < 1)
    // goes there, and with propagate every member synchronised to it follows. A negative frame
    // is the play control's. A call made while one runs returns at once.
    void SynchronizeToFrame(int frame, int type, int id, int propagate) override;

    // The window that holds the member frames: the parenting view around the group's frame,
    // else this view.
    CFrameParentingView* GetContainer() const;
    // The playback view of the top-most member frame; null when the top frame shows none.
    CPlaybackView* GetActivePlaybackView() const;
    // The active playback, or with the settings taken from the slowest, the slowest playback
    // base-synchronised with it.
    CPlaybackView* GetControllingPlayback() const;
    // The base-synchronised playback named name with the lowest rate; ties keep the upper one.
    CPlaybackView* FindSlowestSynced(const QString& name) const;
    CPlaybackView* FindPlayback(int type, int id) const;
    // The top-most member playback for which match holds; null when none does.
    CPlaybackView* FindTopPlayback(const std::function<bool(const CPlaybackView*)>& match) const;

    // Tools/Notes: opens a notes window on the playback on top, showing its global note and
    // the note of its current frame. The new view, or null when none could be opened.
    CNotesBasicView* OpenNotesWindow();
    // The member's notes get text: the global note (scope 0) or the note of the member's
    // current frame, or scan for a data member (scope 1). False when the member or its notes
    // are missing or id < 1.
    bool EditNote(int type, int id, int scope, const QString& text);
    // Steps the members that items show current notes of to the nearest note in time after
    // (backwards: before) where they stand, each by its own rate. False when none has one.
    bool StepToNote(const std::vector<CNoteItem>& items, bool backwards);
    // The notes windows in the container, top first.
    std::vector<CNotesBasicView*> NotesWindows() const;
    void RefreshNotesWindows();
    // Closes the notes windows that show notes of the member.
    void CloseNotesWindowsOf(int type, int id);

    // Copies the controlling playback's state into the play control.
    void RefreshPlayControl();
    // A data member's time moved: with the settings from the slowest and convert set, frame is
    // rescaled from rate to the slowest member's rate first. Returns 1.
    int OnDataTimeChanged(int frame, int convert, double rate, const QString& name);
    // Every member synchronised with the top one gets in and out points halfWidth frames
    // around its zero frame, kept inside its frames.
    void AutoBracket(int halfWidth);

    // Tells the top member's frame where the play control stands.
    void NotifyTopFrame();
    // The play control's zero button: with "AppBehave:bAutoBracket" set, brackets the
    // synchronised members around their zero frames.
    void OnZero();

    CPlayControlWnd& GetPlayControl() { return m_playControl; }
    // Made at the end of the initial update; null before, or without a factory. While the play
    // control steps, it moves the tracks to the measurement points of the active video.
    IPlayDataGatherer* GetPlayDataGatherer() const { return m_playData.get(); }
    int GetSettingsSource() const { return m_settingsSource; }
    void SetSettingsSource(int source) { m_settingsSource = source; }
    int GetLastSynchronizedFrame() const { return m_lastSyncFrame; }
    BOOL IsAutoArrange() const { return m_autoArrange; }
    void SetMaximizeOnFirstUpdate(BOOL on) { m_maximizeOnFirstUpdate = on; }

    // Targets of the play control's rewind and fast-forward buttons, from the controlling
    // playback's zero frame z and frame count n: rewinding goes to z when past it, else to 0;
    // fast-forwarding goes to z when before it, else to the last frame. Segment and batch
    // recordings step between their boundaries instead.
    BOOL RewindTarget(int frame, int* target);
    BOOL FastForwardTarget(int frame, int* target);

    // The id the group knows a member by: a video's frame-source id, else its member index.
    static int SourceIdOf(const CPlaybackView* playback);
    // The zero frame of a member: the recording's zero point; -1 when it has none.
    static int ZeroFrameOf(const CPlaybackView* playback);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();

    void OnAddVideo();
    void OnAddData();
    void OnImportPlayGroup();
    void OnEditRecordParameters();
    void OnSaveRecordParameters();
    void OnUpdateTopIsVideo(CCmdUI* pCmdUI);
    void OnUpdateTopIsData(CCmdUI* pCmdUI);
    void OnSaveActivePlayback();
    void OnUpdateSaveActivePlayback(CCmdUI* pCmdUI);
    // The data member on top exported as ".au2" text, or to a workbook after asking whether
    // its channels are headed in real units.
    void OnExportDataText();
    void OnExportDataExcel();
    void OnSaveFromDeviceMemory();
    void OnUpdateSaveFromDeviceMemory(CCmdUI* pCmdUI);
    void OnSaveProjectSession();
    void OnArrangeWindows();
    // The graph numbering of the playback on top, followed by its frame-changed notification.
    void SetTopGraphNumbering(int mode);
    void OnVideoCentricGraph();
    void OnDataCentricGraph();
    void OnUpdateVideoCentricGraph(CCmdUI* pCmdUI);
    void OnUpdateDataCentricGraph(CCmdUI* pCmdUI);
    void OnAutoArrange();
    void OnUpdateAutoArrange(CCmdUI* pCmdUI);
    void OnArrangeIfAuto();
    void OnCascade();
    void OnTileHorizontally();
    void OnTileVertically();
    void OnSettingsFromActive();
    void OnSettingsFromSlowest();
    void OnUpdateSettingsFromActive(CCmdUI* pCmdUI);
    void OnUpdateSettingsFromSlowest(CCmdUI* pCmdUI);
    void OnUpdateDisabled(CCmdUI* pCmdUI);
    void OnToolsNotes();
    void OnUpdateToolsNotes(CCmdUI* pCmdUI);

private:
    // Calls fn for every playback view in a member frame of the container, from the top; the
    // container's walking cursor is restored afterwards.
    template <typename Fn>
    void ForEachPlayback(Fn fn) const;
    void ArrangeMembers();
    // A member's window went, wherever it was hosted: the document lets the member go.
    void OnMemberGone(int type, int id);

    static BOOL RewindCallback(void* context, int frame, int* target);
    static BOOL FastForwardCallback(void* context, int frame, int* target);
    static void FrameNumberCallback(void* context, int frame, int* value);
    static void FrameCountCallback(void* context, int frame, int* value);
    static void CurrentFrameCallback(void* context, int frame, int* value);
    static BOOL TimeCallback(void* context, double* rate);
    static void FrameChangedCallback(void* context, int frame);
    static void ZeroCallback(void* context, int value);
    static void SynchronizeCallback(void* context, int frame, int on);
    static void BaseSyncCallback(void* context, int on);
    static void ContinuousCallback(void* context, int on);
    static void SkipChangedCallback(void* context, int skip);
    static void MemberFrameChangedCallback(void* context, int frame);
    static void VideoGroupCallback(void* context, intptr_t frame);
    static int DataTimeCallback(void* context, int frame, int convert, double rate,
                                const QString& name);

    int m_lastSyncFrame = -1;
    BOOL m_initialized = FALSE;
    BOOL m_autoArrange = TRUE;
    CPlayControlWnd m_playControl;
    int m_settingsSource = kSettingsFromActive;
    BOOL m_maximizeOnFirstUpdate = FALSE;
    int m_extraValue = 0;
    std::unique_ptr<CChangedFrameMeasView> m_frameListener;
    std::unique_ptr<IPlayDataGatherer> m_playData;
    // Where the frame-change listener is advised: a video's second notifier, valid while the
    // video's frame lives.
    struct ListenerLink {
        std::weak_ptr<bool> memberLife;
        INotifier* notifier;
        int cookie;
    };
    std::vector<ListenerLink> m_listenerLinks;
    CPlayGroupPlaybackList m_playbackList{this};
    // Expires with this object, which may go before its window does.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
