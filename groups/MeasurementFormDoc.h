#pragma once

// CMeasurementFormDoc: the model of one play group. It holds the group's members (videos and
// sensor-data recordings, each with its path and origin), opens files and device markers as new
// members in windows of their own that it takes into the group's container, closes them,
// stores the group as a ".playgrp" list of paths and reads it back.
//
// Member arrays are index-aligned: the videos with their flags, paths, notes and analysis
// objects; the data sets with their flags, paths and notes. Other code names members by source
// id or data id, never by index.
//
// It also re-saves its recordings together (ResaveGroup, SaveGroupToFolder,
// SaveGroupFromDeviceMemory): see CSyncResavePass for how the outputs are named and cut.

#include "devices/core/DeviceId.h"
#include "frames/FrameSourcePtr.h"
#include "frames/IMeasFrameDoc.h"
#include "frames/SharedRef.h"
#include "groups/IProjectPlayGroup.h"
#include "groups/IVideoAnalysis.h"
#include "platform/framework/Document.h"
#include "platform/wintypes/WinMessages.h"
#include "sensordata/model/SensorDataSet.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class CFrameWnd;
class CMeasFrameAdapter;
class CPlayGroupAdapter;
class CPlaybackView;
class CRecordingNotes;
class CSaveDocCallback;
class CSaveVideoParams;
class CView;
class CWnd;
class IDeviceMemory;
class IPlayGroupView;
class ISaveDoneCallback;

using CMemberDataRef = CSharedRef<CSensorDataSet>;

class CMeasurementFormDoc : public CDocument, public IMeasFrameDoc, public IProjectPlayGroup {
    DECLARE_DYNCREATE(CMeasurementFormDoc)
    DECLARE_MESSAGE_MAP()

public:
    // Member type codes and origins.
    static constexpr int kTypeNone = 0;
    static constexpr int kTypeData = 2;
    static constexpr int kTypeVideo = 3;
    static constexpr int kFromFile = 0;
    static constexpr int kFromDeviceMemory = 1;

    // The type strings of the play-group template.
    static constexpr const char* kDocString =
        "\nPlay Group\nPlay Group\nPlay Group Files (*.playgrp)\n.playgrp\nPlaygroup.Document\n"
        "Playgroup Document";
    // The form view's template opens no group files of its own.
    static constexpr const char* kFormDocString = "\nPlay Group\n\n\n\n\n";
    // Text in a path that makes it a device marker rather than a file.
    static constexpr const char* kDeviceMarker = "addplaybackXXX";

    // Makes the data set of a new data member; the program installs it. Without one no data
    // member can be added.
    using DataSetFactory = std::function<CSensorDataSet*()>;
    static void SetDataSetFactory(DataSetFactory factory);
    // Makes the analysis objects of a new video member for its view; the tracking layer
    // installs it. Without one a video member has none.
    using AnalysisFactory = std::function<IVideoAnalysis*(const CFrameSourcePtr&, CView*)>;
    static void SetAnalysisFactory(AnalysisFactory factory);
    // What device markers open: the program installs it (not owned; null: no device is found
    // and a marker opens an empty window).
    static void SetDeviceMemory(IDeviceMemory* memory);

    // Whether path is a device marker rather than a file.
    static bool IsDeviceMarker(const QString& path);
    // The device identity a marker carries after the marker text ("#type#subtype#index#");
    // false for a path that is no marker or names no device.
    static bool ParseDeviceMarker(const QString& path, CDeviceId* id);
    // The marker that opens the memory of the device id as a member.
    static QString DeviceMarkerPath(const CDeviceId& id);

    CMeasurementFormDoc();
    ~CMeasurementFormDoc() override;

    BOOL OnNewDocument() override;
    // Stores path for LoadPlayGroup; nothing is read yet.
    BOOL OnOpenDocument(const QString& pathName) override;
    // Saves the group view's active video with its source's one-step save.
    BOOL OnSaveDocument(const QString& pathName) override;
    // Closes every playback of the group, then the group.
    void OnCloseDocument() override;
    // The group's own close: once the user lets it go, its playbacks close while the group
    // view they report to is still there.
    BOOL CanCloseFrame(CFrameWnd* pFrame) override;
    // TRUE at once when the group is unmodified or holds no file member; otherwise the
    // standard save-changes question (Cancel: FALSE; Yes: FALSE when the save fails).
    BOOL SaveModified() override;
    // A group holding playbacks of a device's memory first offers to re-save them
    // (ResaveGroup); then the group file is saved (SaveGroupFileAs).
    BOOL DoSave(const QString& pathName, BOOL bReplace = TRUE) override;
    // Saves to pathName when it is a group file, else asks for a group file name first; then
    // the changed notes of the file members. FALSE when no group file was written.
    BOOL SaveGroupFileAs(const QString& pathName);
    BOOL DoFileSave() override;
    // The group's path is only ever a group file: a recording the group was opened with
    // leaves it untitled, so no save can write over the recording.
    void SetPathName(const QString& pathName, BOOL bAddToMRU = TRUE) override;
    // Whether path names a file of the play-group kind (by its extension).
    static bool IsPlayGroupPath(const QString& path);
    // Whether loading from the pending path (LoadPlayGroup) left the group without the single
    // file it was opened with.
    bool HasOpenFailed() const { return m_openFailed; }
    // Whether the media file of the last LoadPlayGroup did not open, whatever else the group
    // holds.
    bool HasLoadFailed() const { return m_loadFailed; }

    // Opening members.
    // Opens one path (video, data file, group file or device marker) as new members. FALSE
    // when a video could not be opened or its window not made; nothing is added then.
    BOOL AddPlaybackFromFile(const QString& path, int viewFlag, int takePathName,
                             CDocument** outDoc, CView** outView) override;
    // Adds the companions of a file the caller has already opened; FALSE when there is none.
    BOOL OpenFileWithSimilarlyNamed(const QString& path) override;
    // Appends the companions of path to the pending list: for an untagged video the ".au2"
    // file of the same title, for a tagged file the first file of each other tag.
    BOOL CollectSimilarlyNamedFiles(const QString& path);
    // Opens every pending path in order, then empties the list.
    BOOL OpenPendingFiles();
    void SetPendingPath(const QString& path) override { m_pendingGroupPath = path; }
    const QString& GetPendingPath() const { return m_pendingGroupPath; }
    const QStringList& GetPendingList() const { return m_pendingList; }
    const QString& GetLastPlaybackPath() const { return m_lastPlaybackPath; }

    // A new, hidden member document of the template "DT:Vid" / "DT:PmoPlayVCF" /
    // "DT:NotesBasicVCF" with its frame taken into the group's container. FALSE, with
    // nothing left behind, when the template cannot make the document, view or frame.
    BOOL ParentVideoFrame(const QString& path, CDocument** outDoc, CView** outView, BOOL show);
    BOOL ParentDataFrame(const QString& path, CDocument** outDoc, CView** outView,
                         CFrameWnd** outFrame, BOOL show);
    BOOL ParentNotesFrame(const QString& path, CDocument** outDoc, CView** outView,
                          CFrameWnd** outFrame);

    // Members.
    BOOL AddVideoEntry(const CFrameSourcePtr& source, int flag, const QString& path);
    BOOL AddDataEntry(const CMemberDataRef& data, int flag, const QString& path);
    // The notes of the member just added: sized to its frames (and scans), read from the side
    // file beside path and kept at the member's index. A video's notes are linked with its view
    // (marker drawing, overlay host) and with the group view.
    void LoadVideoNotes(const QString& path, CFrameSource* source, CView* view);
    void LoadDataNotes(const QString& path, const CMemberDataRef& data);
    // Writes the side files of the file members whose notes changed; false when one failed.
    bool WriteMemberNotes();
    int GetVideoCount() const { return static_cast<int>(m_videos.size()); }
    int GetDataCount() const { return static_cast<int>(m_data.size()); }
    // Null when i is out of range or the source is not open.
    CFrameSource* GetVideoSource(int i) const;
    CFrameSourcePtr GetVideoSourcePtr(int i) const;
    int GetVideoSourceId(int i) const;
    int FindVideoBySourceId(int id) const;
    CFrameSource* GetVideoSourceById(int id, int* outIndex) const;
    CFrameSourcePtr GetVideoSourcePtrById(int id, int* outIndex) const;
    CMemberDataRef GetDataRef(int i) const;
    int GetDataSourceId(int i) const;
    int FindDataById(int id) const;
    CMemberDataRef GetDataRefById(int id, int* outIndex) const;
    CRecordingNotes* GetVideoNotes(int i) const;
    CRecordingNotes* GetDataNotes(int i) const;
    CRecordingNotes* GetNotesFor(int type, int id) const;
    // The path a current member was opened from; "" for another type or an unknown id.
    QString GetPathFor(int type, int id) const;
    int GetVideoFlag(int i) const;
    int GetDataFlag(int i) const;
    QString GetVideoPath(int i) const;
    QString GetDataPath(int i) const;
    // The group view calls these together when a member window closes.
    BOOL RemoveVideo(int i);
    BOOL RemoveData(int i);
    BOOL RemoveVideoNotes(int i);
    BOOL RemoveDataNotes(int i);
    BOOL RemoveVideoAnalysisObjects(int i);
    // The analysis objects of video i; null out of range or when it has none.
    IVideoAnalysis* GetVideoAnalysis(int i) const;
    int GetVideoAnalysisCount() const { return static_cast<int>(m_analysis.size()); }
    // Length of each per-video array and each per-data array, in member order: lets checks
    // see that they stay aligned.
    std::vector<int> GetVideoArrayLengths() const;
    std::vector<int> GetDataArrayLengths() const;
    BOOL HasDeviceMemoryEntry() const;
    BOOL HasFileEntry() const;
    void SetLastAdded(int type, int index, int id, int kind, int handle);
    void GetLastAdded(int* type, int* index, int* id, int* kind, int* handle) const;

    // Closing members: every hosted playback frame in the container (visible or not), or
    // the visible ones that show a device's latest recording.
    BOOL CloseAllPlaybacks();
    BOOL CloseLatestRecordingPlaybacks();
    // The visible member frame whose playback carries deviceHandle as member parameter.
    CFrameWnd* FindDevicePlaybackFrame(int deviceHandle) const;
    CPlayGroupAdapter* GetPlayGroupAdapter() const { return m_groupAdapter.get(); }
    // The adapter every video member's view gets as its tool context.
    CMeasFrameAdapter* GetFrameWindowAdapter() const { return m_frameAdapter.get(); }

    // IMeasFrameDoc: the group's container, a new shown video or data member window, and the
    // group view's member callback.
    CWnd* GetMemberFrameParent() override { return GetContainer(); }
    CFrameWnd* ParentNewVideoFrame() override;
    CFrameWnd* ParentNewDataFrame() override;
    bool GetMemberFrameChangedCallback(FrameChangedFn* fn, void** context) override;

    // The group file.
    // Writes the group's file members, one path a line, through a temporary file. FALSE, with
    // the document unchanged, when the file cannot be written.
    BOOL WritePlayGroupFile(const QString& path);
    // Fills the pending list from a group file: TRUE when at least one listed file exists.
    BOOL ReadPlayGroupFile(const QString& path, int modifiedAfterOpen);
    BOOL PromptPlayGroupFileName(const QString& defaultName, QString* outPath);
    // Loads the group from the pending group path (a group file, a media file or a device
    // marker).
    void LoadPlayGroup(int modifiedAfterOpen) override;

    // The window holding the group's frame and every member frame; null without a view.
    CWnd* GetContainer() const;
    // The playback view a hosted member frame shows, or null.
    static CPlaybackView* PlaybackOfFrame(CWnd* frame);
    // The frames of this group's video and data playbacks of one source kind (1 device memory,
    // 0 file) in the container, top first.
    std::vector<HWND> PlaybackFrames(int sourceKind) const;

    // Synchronized re-save. The first and the sixth value of ResaveGroup, the first of
    // OpenInNewProject and the first and third of SaveGroupFromDeviceMemory (which opens no
    // new group) are not used.
    // The "Synchronized Save List..." dialog chooses the playbacks of the source kind
    // deviceMemory and the options (its own asking replaces askEach and askFirst); the first
    // output is asked for. FALSE when the dialog is cancelled, else TRUE.
    BOOL ResaveGroup(int, int deviceMemory, int openInNewGroup, int addToGroup, int askEach, int,
                     int askFirst, const QString& title);
    // The same with the first output proposed as folder/name; the recordings of the device's
    // memory when the group holds any, else those of files. Every output written is appended to
    // outPaths (when given). TRUE only when something was saved and no save failed.
    BOOL SaveGroupToFolder(const QString& folder, const QString& name, QStringList* outPaths);
    // Every playback of the source kind deviceMemory, without the list dialog: each is asked
    // for when askEach is set; outputs after the first are tagged. With writeGroupFile and
    // something saved, the group the saved files joined is saved as a group file under a name
    // the user confirms. TRUE.
    BOOL SaveGroupFromDeviceMemory(int, int deviceMemory, int openInNewGroup, int addToGroup,
                                   int askEach, int writeGroupFile);
    // The question where to save one member (the video's save dialog, the data-file dialog):
    // 1 when confirmed, the answer in params; 0 when cancelled or the member is unknown.
    int PreparePlaybackSave(int id, int type, CSaveVideoParams* params);
    // Saves one member as params say. The member's notes follow the saved range beside the
    // output, and only then does the output go to params' done-callback. FALSE when the
    // member is unknown or the save failed (the failure was reported).
    BOOL SavePlayback(int id, int type, CSaveVideoParams* params);
    // The output becomes path with tag in front of its extension, named for params' output
    // kind.
    static void InsertNameTag(CSaveVideoParams* params, const QString& path, const QString& tag);
    // The defaults of a request for a member of type (a data file's kind for type 2).
    BOOL InitSaveRequest(int id, int type, CSaveVideoParams* params);
    BOOL SetSaveRequestRange(int id, int type, CSaveVideoParams* params, int first, int last);
    // A new play group for re-saved recordings: alone in the main window when the creation
    // option 0 is set, else the play group of a new project. FALSE when none could be made.
    BOOL OpenInNewProject(int, CDocument** outGroup);
    // The callback that hands saved recordings to a group: this group's, except beside a record
    // controller, where recordings go to the play group of a play project (opened when there
    // is none).
    ISaveDoneCallback* GetGroupSaveCallback();

    // Opens path as the group's video without a window of its own, for a view that shows it
    // itself. FALSE, after "Error loading video from file.", when it cannot be opened.
    BOOL AddVideoWithoutWindow(const QString& path);

    // The title of a video member's window: the path for a recording, the sequence form
    // ("shots/img_*.bmp") for a numbered image; only the file-name part without fullTitles.
    static QString VideoMemberTitle(const QString& path, bool fullTitles);
    // The filter extension of the template registered under key ("" when there is none).
    static QString TemplateFilterExtension(const QString& key);
    // Whether extension, lower-cased, is one of the ";"-separated entries of a filter
    // (".avi;.raw"); a whole entry must match, never a part of one.
    static bool FilterContainsExtension(const QString& filter, const QString& extension);

protected:
    // Appends the video's analysis objects (none without an analysis factory).
    virtual void AttachAnalysisObjects(const CFrameSourcePtr& source, CView* view);

private:
    IPlayGroupView* GetGroupView() const;
    // The group file's extension: from this document's template, else from "DT:Meas2".
    QString GroupFilterExtension() const;
    BOOL AddVideoFile(const QString& path, BOOL fullTitles, int viewFlag, int takePathName,
                      CDocument** outDoc, CView** outView);
    BOOL AddDataFile(const QString& path, BOOL fullTitles, int viewFlag, int takePathName,
                     CDocument** outDoc, CView** outView);
    // A device marker's member: the camera's latest recording or the card's memory, titled
    // "Hardware Memory : " and the device's name. The window is shown even when the device is
    // not found (no member then).
    void AddDeviceMemory(const QString& markerPath, int viewFlag, CDocument** outDoc,
                         CView** outView);
    BOOL ParentFrame(const char* key, const QString& path, int sizeRule, BOOL show,
                     CDocument** outDoc, CView** outView, CFrameWnd** outFrame);
    void SetUpMember(CView* view, int viewFlag);
    void UpdateMembersAndArrange();
    // Asks whether the playbacks of device memory are to be re-saved and re-saves them unless
    // the answer is No; nothing without such playbacks.
    void OfferDeviceMemoryResave();
    // The group a record controller's recordings are saved to, or this group.
    CMeasurementFormDoc* SaveTargetGroup();
    // Reads a group file and opens what it lists; a file already being opened this way is
    // refused, so a group that lists itself cannot recurse.
    BOOL OpenGroupFile(const QString& path, int modifiedAfterOpen);

    QString m_pendingGroupPath;
    std::unique_ptr<CSaveDocCallback> m_saveCallback;
    std::vector<CFrameSourcePtr> m_videos;
    std::vector<CMemberDataRef> m_data;
    std::vector<std::unique_ptr<CRecordingNotes>> m_videoNotes;
    std::vector<std::unique_ptr<CRecordingNotes>> m_dataNotes;
    std::vector<int> m_videoFlags;
    std::vector<int> m_dataFlags;
    QStringList m_videoPaths;
    QStringList m_dataPaths;
    QStringList m_pendingList;
    int m_modifiedAfterOpen = 0;
    bool m_openFailed = false;
    bool m_loadFailed = false;
    int m_lastAdded[5] = {kTypeNone, -1, -1, -1, -1};
    std::vector<std::unique_ptr<IVideoAnalysis>> m_analysis;
    std::unique_ptr<CMeasFrameAdapter> m_frameAdapter;
    std::unique_ptr<CPlayGroupAdapter> m_groupAdapter;
    QString m_lastPlaybackPath;
};
