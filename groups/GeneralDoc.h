#pragma once

// CGeneralDoc: the document of a project, the window that gathers at most one play group and
// one record group as hosted frames of its frame-parenting view. It keeps no data of its own
// beyond its number and the path it was opened with: it creates its groups (by template key),
// routes Save and Save As to the group on top, and keeps its title in step with its groups. It
// listens to its record group, through which a device's recording arrives as a playback in its
// play group.

#include "devices/core/IRecordGroupListener.h"
#include "groups/ProjectGroupKinds.h"
#include "platform/framework/Document.h"

class CCmdUI;
class CFrameParentingView;
class CView;

// Placeholder paths that open a project with empty groups (found after the first character).
inline constexpr const char* kEmptyRecordGroupPlaceholder = "xxx1234emptyrecordgroupXXX";
inline constexpr const char* kEmptyPlayGroupPlaceholder = "xxx3456empthplaygropXXX";

inline constexpr UINT ID_SAVE_RECORD_CONFIGURATION = 32927;
inline constexpr UINT ID_SAVE_RECORD_CONFIGURATION_AS = 32928;

// Hints of UpdateAllViews that select the group whose tools are shown.
inline constexpr LPARAM kRecordGroupHint = 0;
inline constexpr LPARAM kPlayGroupHint = 1;

class CGeneralDoc : public CDocument, public IRecordGroupListener {
    DECLARE_DYNCREATE(CGeneralDoc)
    DECLARE_MESSAGE_MAP()

public:
    CGeneralDoc();

    // Which classes are play groups, record groups and their member views; set once at start-up.
    static void SetGroupKinds(const CProjectGroupKinds& kinds);
    static const CProjectGroupKinds& GetGroupKinds();

    // The main frame's handler of the project messages: they go to the active project's view
    // (0 when no project is active). Installed with the first project.
    static LRESULT HandleProjectMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The main frame's Close All Windows: a frame-parenting view closes its hosted frames
    // (TRUE); FALSE for any other view. Installed with the first project or play group.
    static BOOL CloseHostedFrames(CView* view);

    // 1 for the first project of the run, then counting up.
    int GetProjectNumber() const { return m_projectNumber; }
    const QString& GetOpenPath() const { return m_strOpenPath; }

    // Remembers the path and starts as a new project: nothing is read from it.
    BOOL OnOpenDocument(const QString& pathName) override;
    // A record group the project listens to is handed back to its controller first.
    void OnCloseDocument() override;
    // A placeholder path that asks for empty groups names no file: it is neither the project's
    // path nor a recent file. Nor is a recording: opened, the project only takes a play-group
    // file; otherwise it takes the file its group saved under (SaveAllAs).
    void SetPathName(const QString& pathName, BOOL bAddToMRU = TRUE) override;
    // Whether the file the project was opened with could not be opened (the play group
    // reported it); the opener closes such a project again.
    bool HasOpenFailed() const { return m_openFailed; }

    // Fills the project at the first update of its view: title "Project Window <n>", then the
    // groups the open path asks for.
    void InitializeProject();

    // New play group (record group) of the project, by template key, hosted in the project
    // view and hidden; in a project frame its pages go into the control panel. *ppGroup is
    // null first, the group's document on success. FALSE when no document, view or hosted
    // frame came of it; a half-made group is closed again.
    BOOL CreatePlayGroup(const QString& path, CDocument** ppGroup);
    BOOL CreateRecordGroup(const QString& path, CDocument** ppGroup);
    // Opens the file in the existing play group (record group), else in a new one. FALSE only
    // when the project has no view.
    BOOL OpenPlayGroupFile(const QString& path, CDocument** ppGroup);
    BOOL OpenRecordConfiguration(const QString& path, CDocument** ppGroup);

    // The title of the first visible group (in creation order), or none.
    void UpdateProjectTitle();

    // The project becomes the state listener of the record group of group (a record-group
    // document); nothing for another document.
    void ListenToRecordGroup(CDocument* group);

    // IRecordGroupListener. AddPlayback opens the recording of the open device with that handle
    // as a member of the project's play group (made when there is none), in the place of the
    // device's window in the record controller, with the camera's display tables, and shows the
    // "Playback" page. The last three operations go on to the controller's own listener. All
    // answer E_FAIL when the project has no view, else S_OK whatever happened inside; a state
    // change is the controller's business and always answers S_OK.
    HRESULT AddPlayback(int deviceHandle) override;
    HRESULT OnStateChanged(int oldState, int newState) override;
    HRESULT OnRecordingEnded(int state) override;
    HRESULT OnBeforeLive() override;
    HRESULT OnGroupChanged() override;

    // The project's view, when it is a frame-parenting view.
    CFrameParentingView* GetProjectView() const;
    // The views of the project's play group and record group, or null.
    CView* FindPlayGroupView() const;
    CView* FindRecordGroupView() const;

    // File/Save, Save Record Configuration: the document of the group on top saves itself;
    // "No open files to save." when there is none.
    void SaveAll();
    // File/Save As: the same group saves under a name the user chooses; the project takes it.
    void SaveAllAs();

protected:
    void OnUpdateSavePlayGroup(CCmdUI* pCmdUI);
    void OnUpdateSaveRecordGroup(CCmdUI* pCmdUI);

private:
    BOOL CreateGroup(const char* key, LPARAM hint, const QString& path, CDocument** ppGroup);
    // The innermost view on top: the top-most visible hosted frame's view, followed down through
    // nested parenting views.
    CView* TopMostView() const;
    // The view of the group that owns the view on top, or null.
    CView* SaveTarget() const;
    static BOOL IsOfKind(const CObject* object, const CRuntimeClass* kind);
    // The record controller's own listener, or null without a record group.
    IRecordGroupListener* ControllerListener() const;

    static int s_projectCount;

    QString m_strOpenPath;
    int m_projectNumber;
    bool m_openFailed = false;
};
