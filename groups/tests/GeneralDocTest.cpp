#include "groups/GeneralDoc.h"

#include "devices/core/Device.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroup.h"
#include "groups/FrameParentingView.h"
#include "groups/IProjectPlayGroup.h"
#include "groups/IProjectRecordGroup.h"
#include "groups/IProjectRecordState.h"
#include "groups/tests/ProjectStandInFrame.h"
#include "platform/com/ComVariant.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/RecentFileList.h"
#include "shell/DlgOptionsBase.h"
#include "shell/MainFrame.h"
#include "shell/PlaceholderDoc.h"
#include "shell/PlaceholderFrame.h"
#include "shell/PlaceholderView.h"
#include "shell/VidraApp.h"
#include "shell/VidraFrameWnd.h"
#include "shell/ViewChildedFrame.h"
#include "testsupport/IsolatedTest.h"

#include <QStringList>

namespace {

// The frame of a group as the template makes it: a hosted frame.
class CFakeGroupFrame : public CViewChildedFrame {
    DECLARE_DYNCREATE(CFakeGroupFrame)
};
IMPLEMENT_DYNCREATE(CFakeGroupFrame, CViewChildedFrame)

class CFakeRecordFrame : public CFakeGroupFrame {
    DECLARE_DYNCREATE(CFakeRecordFrame)
};
IMPLEMENT_DYNCREATE(CFakeRecordFrame, CFakeGroupFrame)

// Group views host their members' frames.
class CFakePlayGroupView : public CFrameParentingView {
    DECLARE_DYNCREATE(CFakePlayGroupView)
};
IMPLEMENT_DYNCREATE(CFakePlayGroupView, CFrameParentingView)

// The controller's own listener: what reaches it.
class CLoggedListener : public IRecordGroupListener {
public:
    HRESULT AddPlayback(int handle) override { return Log(QStringLiteral("play %1").arg(handle)); }
    HRESULT OnStateChanged(int oldState, int newState) override {
        return Log(QStringLiteral("state %1 %2").arg(oldState).arg(newState));
    }
    HRESULT OnRecordingEnded(int state) override {
        return Log(QStringLiteral("ended %1").arg(state));
    }
    HRESULT OnBeforeLive() override { return Log(QStringLiteral("before live")); }
    HRESULT OnGroupChanged() override { return Log(QStringLiteral("changed")); }
    QStringList calls;

private:
    HRESULT Log(const QString& call) {
        calls << call;
        return E_NOTIMPL;
    }
};

class CFakeRecordView : public CFrameParentingView, public IProjectRecordState {
    DECLARE_DYNCREATE(CFakeRecordView)

public:
    int GetRecordGroupState() const override { return 0; }
    CView* FindDeviceWindow(int, int) override { return nullptr; }
    IRecordGroupListener* GetGroupListener() override { return &listener; }
    CLoggedListener listener;
};
IMPLEMENT_DYNCREATE(CFakeRecordView, CFrameParentingView)

class CFakePlaybackView : public CView {
    DECLARE_DYNCREATE(CFakePlaybackView)

public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CFakePlaybackView, CView)

class CFakeCameraView : public CFakePlaybackView {
    DECLARE_DYNCREATE(CFakeCameraView)
};
IMPLEMENT_DYNCREATE(CFakeCameraView, CFakePlaybackView)

// The group documents record what the project asks of them.
class CFakeGroupDoc : public CDocument {
public:
    BOOL DoFileSave() override {
        calls << "save";
        return TRUE;
    }
    BOOL DoSave(const QString& path, BOOL bReplace) override {
        calls << QStringLiteral("save as %1 %2").arg(path).arg(bReplace);
        if (!s_saveAsPath.isEmpty())
            SetPathName(s_saveAsPath, FALSE);
        return !s_saveAsPath.isEmpty();
    }

    static inline QString s_saveAsPath;
    QStringList calls;
};

class CFakePlayGroupDoc : public CFakeGroupDoc, public IProjectPlayGroup {
    DECLARE_DYNCREATE(CFakePlayGroupDoc)

public:
    BOOL OnOpenDocument(const QString& path) override {
        calls << "open " + path;
        return TRUE;
    }
    void SetPendingPath(const QString& path) override { calls << "pending " + path; }
    void LoadPlayGroup(int) override { calls << "load"; }
    // Every file fails here, as a file of no known kind does.
    BOOL AddPlaybackFromFile(const QString& path, int, int, CDocument**, CView**) override {
        calls << "add " + path;
        return FALSE;
    }
    BOOL OpenFileWithSimilarlyNamed(const QString& path) override {
        calls << "similar " + path;
        return FALSE;
    }
};
IMPLEMENT_DYNCREATE(CFakePlayGroupDoc, CDocument)

class CFakeRecordGroupDoc : public CFakeGroupDoc, public IProjectRecordGroup {
    DECLARE_DYNCREATE(CFakeRecordGroupDoc)

public:
    // Only record configurations open.
    BOOL OnOpenDocument(const QString& path) override {
        calls << "open " + path;
        return path.endsWith(".cfg");
    }
    void StoreConfigurationPath(const QString& path) override { calls << "store " + path; }
    void ReloadDeviceSet() override { calls << "reload"; }
    CRecordGroup* GetRecordGroup() override { return &group; }
    HRESULT LinkInterfaceObject(IIdUnknown*) override {
        calls << "link";
        return S_OK;
    }
    CRecordGroup group;
};
IMPLEMENT_DYNCREATE(CFakeRecordGroupDoc, CDocument)

// A project view that answers the project messages the main frame passes on.
class CAnsweringProjectView : public CFrameParentingView {
    DECLARE_DYNCREATE(CAnsweringProjectView)
    DECLARE_MESSAGE_MAP()

public:
    LRESULT OnProjectMessage(WPARAM wParam, LPARAM lParam) {
        return static_cast<LRESULT>(wParam + lParam);
    }
};
IMPLEMENT_DYNCREATE(CAnsweringProjectView, CFrameParentingView)

BEGIN_MESSAGE_MAP(CAnsweringProjectView, CFrameParentingView)
ON_MESSAGE(WM_PROJECT_MESSAGE_11036, OnProjectMessage)
ON_MESSAGE(WM_PROJECT_MESSAGE_21124, OnProjectMessage)
ON_MESSAGE(WM_PROJECT_MESSAGE_21125, OnProjectMessage)
END_MESSAGE_MAP()

class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override { enabled = bOn; }
    BOOL enabled = TRUE;
};

class GeneralDocTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
        m_main = new CMainFrame;
        ASSERT_TRUE(m_main->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app.m_pMainWnd = m_main;
        // Hosted frames count as visible only inside a shown window.
        m_main->ShowWindow(SW_SHOW);
        CProjectGroupKinds kinds;
        kinds.playGroupView = RUNTIME_CLASS(CFakePlayGroupView);
        kinds.playGroupFrame = RUNTIME_CLASS(CFakeGroupFrame);
        kinds.recordControllerView = RUNTIME_CLASS(CFakeRecordView);
        kinds.recordControllerFrame = RUNTIME_CLASS(CFakeRecordFrame);
        kinds.playbackView = RUNTIME_CLASS(CFakePlaybackView);
        kinds.cameraView = RUNTIME_CLASS(CFakeCameraView);
        CGeneralDoc::SetGroupKinds(kinds);
        AddTemplate("DT:Gen", RUNTIME_CLASS(CGeneralDoc), RUNTIME_CLASS(CProjectStandInFrame),
                    RUNTIME_CLASS(CFrameParentingView));
    }

    void TearDown() override {
        CGeneralDoc::SetGroupKinds(CProjectGroupKinds());
        CFakeGroupDoc::s_saveAsPath.clear();
        if (m_app.m_pMainWnd == m_main)
            m_main->DestroyWindow();
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }

    void AddTemplate(const char* key, const CRuntimeClass* doc, const CRuntimeClass* frame,
                     const CRuntimeClass* view) {
        m_app.AddDocTemplateWithKey(QString::fromLatin1(key),
                                    new CMultiDocTemplate(0, doc, frame, view));
    }
    void UseFakeGroups() {
        AddTemplate("DT:Meas2", RUNTIME_CLASS(CFakePlayGroupDoc), RUNTIME_CLASS(CFakeGroupFrame),
                    RUNTIME_CLASS(CFakePlayGroupView));
        AddTemplate("DT:Rec", RUNTIME_CLASS(CFakeRecordGroupDoc), RUNTIME_CLASS(CFakeRecordFrame),
                    RUNTIME_CLASS(CFakeRecordView));
    }
    void UsePlaceholderGroups() {
        for (const char* key : {"DT:Meas2", "DT:Rec"})
            AddTemplate(key, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
                        RUNTIME_CLASS(CPlaceholderView));
    }
    void SetOpenSimilarlyNamed(LONG on) {
        ASSERT_EQ(m_main->SetSetting("AppBehave:bOpenSimilarlyNamed", CComVariant(on), -1), S_OK);
    }

    CGeneralDoc* OpenProject(const QString& path = QString()) {
        return dynamic_cast<CGeneralDoc*>(m_app.CreateDocumentByKey("DT:Gen", path, TRUE));
    }

    // A visible member frame with a view of viewClass on top in the group view.
    static CView* AddMember(CView* groupView, const CRuntimeClass* viewClass) {
        auto* frame = new CViewChildedFrame;
        EXPECT_TRUE(frame->LoadFrame(0, WS_OVERLAPPEDWINDOW));
        auto* view = static_cast<CView*>(viewClass->CreateObject());
        EXPECT_TRUE(view->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50),
                                 frame, AFX_IDW_PANE_FIRST));
        frame->SetActiveView(view, FALSE);
        CViewChildedFrame::AttachToParentView(groupView, frame);
        frame->ShowWindow(SW_SHOW);
        return view;
    }

    static void Raise(CView* groupView) {
        groupView->GetParentFrame()->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0,
                                                  SWP_NOMOVE | SWP_NOSIZE);
    }

    static int HostedCount(CGeneralDoc* project) {
        project->GetProjectView()->SetChildFrameCursor(nullptr);
        return project->GetProjectView()->CountChildFrames();
    }

    template <class Doc>
    static Doc* GroupOf(CView* view) {
        return view ? dynamic_cast<Doc*>(view->GetDocument()) : nullptr;
    }

    CVidraApp m_app{QStringLiteral("Vidra Player")};
    CMainFrame* m_main = nullptr;
};

TEST_F(GeneralDocTest, ProjectsAreNumberedInTheRunAndTitledByNumber) {
    UseFakeGroups();
    CGeneralDoc* first = OpenProject();
    CGeneralDoc* second = OpenProject();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(second->GetProjectNumber(), first->GetProjectNumber() + 1);
    EXPECT_EQ(first->GetTitle(),
              QStringLiteral("Project Window %1").arg(first->GetProjectNumber()));
    EXPECT_EQ(second->GetTitle(),
              QStringLiteral("Project Window %1").arg(second->GetProjectNumber()));
    EXPECT_EQ(HostedCount(first), 0) << "a new project is empty";
}

TEST_F(GeneralDocTest, GroupKindsNotBuiltYetReportAsThePlaceholderSays) {
    UsePlaceholderGroups();
    // The empty record group fails, so the path goes on as a file: it is not tried as a
    // record configuration while record groups are stand-ins, and the empty play group fails
    // too.
    Prompter().ExpectMessageBox(CPlaceholderDoc::NotAvailableText("DT:Rec"), IDOK);
    Prompter().ExpectMessageBox(CPlaceholderDoc::NotAvailableText("DT:Meas2"), IDOK);
    CGeneralDoc* project = OpenProject("__xxx1234emptyrecordgroupXXX");
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(Prompter().Prompts().size(), 2u);
    EXPECT_EQ(project->GetTitle(),
              QStringLiteral("Project Window %1").arg(project->GetProjectNumber()));
    EXPECT_EQ(HostedCount(project), 0);
}

TEST_F(GeneralDocTest, EmptyRecordGroupPlaceholderGivesBothGroups) {
    UseFakeGroups();
    CGeneralDoc* project = OpenProject("__xxx1234emptyrecordgroupXXX");
    ASSERT_NE(project, nullptr);
    CView* play = project->FindPlayGroupView();
    CView* record = project->FindRecordGroupView();
    ASSERT_TRUE(play && record);
    EXPECT_EQ(HostedCount(project), 2);
    EXPECT_EQ(project->GetTitle(), play->GetDocument()->GetTitle());
    EXPECT_TRUE(GroupOf<CFakePlayGroupDoc>(play)->calls.isEmpty()) << "created empty";
    EXPECT_TRUE(GroupOf<CFakeRecordGroupDoc>(record)->calls.isEmpty());
}

// Which groups a project opened with a path gets, and what its play group is asked.
struct OpenCase {
    const char* path;
    bool playGroup;
    bool recordGroup;
    const char* playCalls;  // joined by "|"
    const char* title;      // null: "Project Window <n>"
};

TEST_F(GeneralDocTest, OpenPathTable) {
    UseFakeGroups();
    SetOpenSimilarlyNamed(1);
    const OpenCase cases[] = {
        {"_xxx3456empthplaygropXXX", true, false, "", nullptr},
        // A placeholder only at the first character makes an ordinary file path.
        {"xxx3456empthplaygropXXX.avi", true, false,
         "add xxx3456empthplaygropXXX.avi|similar xxx3456empthplaygropXXX.avi",
         "xxx3456empthplaygropXXX"},
        {"/data/rig.cfg", false, true, "", nullptr},
        // Neither a configuration nor a playable file: still an empty play group.
        {"/data/notes.txt", true, false, "add /data/notes.txt|similar /data/notes.txt", "notes"},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.path);
        CGeneralDoc* project = OpenProject(c.path);
        ASSERT_NE(project, nullptr);
        EXPECT_EQ(project->GetOpenPath(), QString::fromLatin1(c.path));
        auto* play = GroupOf<CFakePlayGroupDoc>(project->FindPlayGroupView());
        auto* record = GroupOf<CFakeRecordGroupDoc>(project->FindRecordGroupView());
        EXPECT_EQ(play != nullptr, c.playGroup);
        EXPECT_EQ(record != nullptr, c.recordGroup);
        if (play) {
            EXPECT_EQ(play->calls.join('|'), QString::fromLatin1(c.playCalls));
        }
        const QString title =
            c.title ? QString::fromLatin1(c.title)
                    : (play ? play->GetTitle()
                            : QStringLiteral("Project Window %1").arg(project->GetProjectNumber()));
        EXPECT_EQ(project->GetTitle(), title);
        project->OnCloseDocument();
    }
}

TEST_F(GeneralDocTest, PlaceholderPathsAreNeitherTheProjectsPathNorRecentFiles) {
    UseFakeGroups();
    m_app.LoadStdProfileSettings(4);
    const struct {
        const char* path;
        const char* pathName;
    } cases[] = {
        {"__xxx3456empthplaygropXXX", ""},
        {"__xxx1234emptyrecordgroupXXX", ""},
        // A file that is not one of the groups' own never becomes the project's: opening
        // it leaves the recent-file list to the opener, which knows whether it opened.
        {"/data/notes.txt", ""},
        {"/data/take.avi", ""},
        {"/data/take.playgrp", "/data/take.playgrp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        CGeneralDoc* project = OpenProject(c.path);
        ASSERT_NE(project, nullptr);
        EXPECT_EQ(project->GetPathName(), QString::fromLatin1(c.pathName));
        EXPECT_EQ(project->GetOpenPath(), QString::fromLatin1(c.path));
        project->OnCloseDocument();
    }
    EXPECT_EQ(m_app.GetRecentFileList()->GetPaths(), QStringList({"/data/take.playgrp"}));
}

TEST_F(GeneralDocTest, SimilarlyNamedFilesOnlyWhenTheSettingIsOn) {
    UseFakeGroups();
    SetOpenSimilarlyNamed(0);
    CGeneralDoc* project = OpenProject("/data/take.avi");
    auto* play = GroupOf<CFakePlayGroupDoc>(project->FindPlayGroupView());
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->calls, QStringList{"add /data/take.avi"});
    EXPECT_EQ(play->GetTitle(), "take");
    // The group is untitled until saved, and opening it is no change to save.
    EXPECT_TRUE(play->GetPathName().isEmpty());
    EXPECT_FALSE(play->IsModified());
}

TEST_F(GeneralDocTest, FilesGoIntoTheExistingGroupElseANewOne) {
    UseFakeGroups();
    CGeneralDoc loose;
    CDocument* group = &loose;
    EXPECT_FALSE(loose.OpenPlayGroupFile("/a.playgrp", &group)) << "no view";
    EXPECT_FALSE(loose.OpenRecordConfiguration("/a.cfg", &group));

    CGeneralDoc* project = OpenProject();
    ASSERT_TRUE(project->OpenPlayGroupFile("/a.playgrp", &group));
    auto* play = dynamic_cast<CFakePlayGroupDoc*>(group);
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->calls, QStringList{"open /a.playgrp"});
    CDocument* again = nullptr;
    ASSERT_TRUE(project->OpenPlayGroupFile("/b.playgrp", &again));
    EXPECT_EQ(again, play);
    EXPECT_EQ(play->calls, (QStringList{"open /a.playgrp", "pending /b.playgrp", "load"}));

    ASSERT_TRUE(project->OpenRecordConfiguration("/rig.cfg", &group));
    auto* record = dynamic_cast<CFakeRecordGroupDoc*>(group);
    ASSERT_NE(record, nullptr);
    ASSERT_TRUE(project->OpenRecordConfiguration("/other.cfg", &again));
    EXPECT_EQ(again, record);
    EXPECT_EQ(record->calls, (QStringList{"open /rig.cfg", "store /other.cfg", "reload"}));
    EXPECT_EQ(HostedCount(project), 2);

    // A failing group gives no document and no frame.
    EXPECT_TRUE(project->OpenRecordConfiguration("/x.txt", &again)) << "existing group";
    CGeneralDoc* other = OpenProject();
    ASSERT_TRUE(other->OpenRecordConfiguration("/x.txt", &again));
    EXPECT_EQ(again, nullptr);
    EXPECT_EQ(HostedCount(other), 0);
}

TEST_F(GeneralDocTest, SaveGoesToTheGroupOnTop) {
    UseFakeGroups();
    CGeneralDoc* project = OpenProject("__xxx1234emptyrecordgroupXXX");
    CFrameParentingView* view = project->GetProjectView();
    CView* playView = project->FindPlayGroupView();
    CView* recordView = project->FindRecordGroupView();
    auto* play = GroupOf<CFakePlayGroupDoc>(playView);
    auto* record = GroupOf<CFakeRecordGroupDoc>(recordView);
    ASSERT_TRUE(play && record);

    // Empty groups: nothing to save, whichever is on top.
    Prompter().ExpectMessageBox("No open files to save.", IDOK);
    EXPECT_TRUE(view->OnCmdMsg(ID_FILE_SAVE, CN_COMMAND, nullptr, nullptr));
    CTestCmdUI ui;
    view->OnCmdMsg(ID_FILE_SAVE, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    EXPECT_FALSE(ui.enabled);

    AddMember(playView, RUNTIME_CLASS(CFakePlaybackView));
    AddMember(recordView, RUNTIME_CLASS(CFakeCameraView));
    Raise(playView);
    ui.enabled = TRUE;
    view->OnCmdMsg(ID_FILE_SAVE, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    EXPECT_TRUE(ui.enabled);
    view->OnCmdMsg(ID_SAVE_RECORD_CONFIGURATION, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    EXPECT_FALSE(ui.enabled);
    view->OnCmdMsg(ID_FILE_SAVE, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(play->calls, QStringList{"save"});

    // A camera window on top: the record group saves, though a camera view is a playback view.
    Raise(recordView);
    ui.enabled = TRUE;
    view->OnCmdMsg(ID_SAVE_RECORD_CONFIGURATION, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    EXPECT_TRUE(ui.enabled);
    view->OnCmdMsg(ID_FILE_SAVE, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    EXPECT_TRUE(ui.enabled) << "the play-group condition holds for a camera view too";
    view->OnCmdMsg(ID_FILE_SAVE, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(record->calls, QStringList{"save"});
    EXPECT_EQ(play->calls, QStringList{"save"});

    // Save As: the project takes the path and title the group saved under.
    CFakeGroupDoc::s_saveAsPath = WorkPath("rig2.cfg");
    view->OnCmdMsg(ID_SAVE_RECORD_CONFIGURATION_AS, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(record->calls.last(), "save as  1");
    EXPECT_EQ(project->GetPathName(), WorkPath("rig2.cfg"));
    EXPECT_EQ(project->GetTitle(), "rig2");
}

TEST_F(GeneralDocTest, SaveAsWithoutATargetSaysNothing) {
    UseFakeGroups();
    CGeneralDoc* project = OpenProject("_xxx3456empthplaygropXXX");
    const QString title = project->GetTitle();
    project->GetProjectView()->OnCmdMsg(ID_FILE_SAVE_AS, CN_COMMAND, nullptr, nullptr);
    EXPECT_TRUE(Prompter().Prompts().empty());
    EXPECT_EQ(project->GetTitle(), title);
}

TEST_F(GeneralDocTest, TitleFollowsTheFirstVisibleGroup) {
    UseFakeGroups();
    CGeneralDoc* project = OpenProject("__xxx1234emptyrecordgroupXXX");
    CView* playView = project->FindPlayGroupView();
    CView* recordView = project->FindRecordGroupView();
    playView->GetDocument()->SetTitle("Plays");
    recordView->GetDocument()->SetTitle("Rig");

    project->UpdateProjectTitle();
    EXPECT_EQ(project->GetTitle(), "Rig") << "created first";
    Raise(playView);
    project->UpdateProjectTitle();
    EXPECT_EQ(project->GetTitle(), "Rig") << "creation order, not z-order";
    recordView->GetParentFrame()->ShowWindow(SW_HIDE);
    project->UpdateProjectTitle();
    EXPECT_EQ(project->GetTitle(), "Plays");
    playView->GetParentFrame()->ShowWindow(SW_HIDE);
    project->UpdateProjectTitle();
    EXPECT_EQ(project->GetTitle(), "");
}

TEST_F(GeneralDocTest, FileCloseClosesTheWindowOnTopNotTheProject) {
    UseFakeGroups();
    CGeneralDoc* project = OpenProject("__xxx1234emptyrecordgroupXXX");
    CFrameParentingView* view = project->GetProjectView();
    CView* playView = project->FindPlayGroupView();
    Raise(playView);
    // The playbacks inside the group on top are the windows on top; each has its document.
    CView* lower = AddMember(playView, RUNTIME_CLASS(CFakePlaybackView));
    CView* upper = AddMember(playView, RUNTIME_CLASS(CFakePlaybackView));
    (new CDocument)->AddView(lower);
    (new CDocument)->AddView(upper);
    const auto upperFrame = upper->GetParentFrame()->GetLifeToken();
    const auto lowerFrame = lower->GetParentFrame()->GetLifeToken();

    EXPECT_TRUE(view->OnCmdMsg(ID_FILE_CLOSE, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(upperFrame.expired());
    EXPECT_FALSE(lowerFrame.expired());
    EXPECT_EQ(project->FindPlayGroupView(), playView);
    EXPECT_EQ(project->GetProjectView(), view) << "the project stays";

    // Close All Windows closes the visible groups through their host.
    view->CloseChildFrames();
    EXPECT_EQ(HostedCount(project), 0);
    EXPECT_EQ(project->GetProjectView(), view);
}

TEST_F(GeneralDocTest, AGroupThatCannotBeHostedIsClosedAgain) {
    // A group whose frame is an ordinary MDI window cannot go into the project view.
    AddTemplate("DT:Meas2", RUNTIME_CLASS(CFakePlayGroupDoc), RUNTIME_CLASS(CPlaceholderFrame),
                RUNTIME_CLASS(CFakePlayGroupView));
    CGeneralDoc* project = OpenProject();
    const size_t windows = m_main->GetMDIChildren().size();
    CDocument* group = project;
    EXPECT_FALSE(project->CreatePlayGroup(QString(), &group));
    EXPECT_EQ(group, nullptr);
    EXPECT_EQ(m_main->GetMDIChildren().size(), windows);
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 1);
}

TEST_F(GeneralDocTest, ProjectMessagesAtTheMainFrameReachTheActiveProject) {
    UseFakeGroups();
    AddTemplate("DT:Gen2", RUNTIME_CLASS(CGeneralDoc), RUNTIME_CLASS(CProjectStandInFrame),
                RUNTIME_CLASS(CAnsweringProjectView));
    for (UINT message : {11036u, 21124u, 21125u})
        EXPECT_EQ(m_main->SendMessage(message, 1, 2), 0) << "no project: " << message;
    ASSERT_NE(m_app.CreateDocumentByKey("DT:Gen2", QString(), TRUE), nullptr);
    for (UINT message : {11036u, 21124u, 21125u})
        EXPECT_EQ(m_main->SendMessage(message, 1, 2), 3) << message;
}

}  // namespace

TEST_F(GeneralDocTest, TheProjectListensToItsRecordGroupAndPassesOnTheControllersOperations) {
    UseFakeGroups();
    for (const char* path : {"__xxx1234emptyrecordgroupXXX", "/data/rig.cfg"}) {
        SCOPED_TRACE(path);
        CGeneralDoc* project = OpenProject(path);
        ASSERT_NE(project, nullptr);
        auto* view = dynamic_cast<CFakeRecordView*>(project->FindRecordGroupView());
        auto* record = GroupOf<CFakeRecordGroupDoc>(view);
        ASSERT_NE(record, nullptr);
        CRecordGroup& group = record->group;
        EXPECT_EQ(group.GetStateListener(), project);

        // What the group tells: the state change stays with the project (S_OK), the rest
        // reaches the controller's listener, whose answers the project does not pass back.
        EXPECT_EQ(project->OnStateChanged(1, 2), S_OK);
        EXPECT_EQ(project->OnRecordingEnded(1), S_OK);
        EXPECT_EQ(project->OnBeforeLive(), S_OK);
        group.NotifyListeners();
        EXPECT_EQ(view->listener.calls, (QStringList{"ended 1", "before live", "changed"}));
        project->OnCloseDocument();
    }

    // A project that opened a file as a play group has no record group to listen to, and one
    // without a view answers E_FAIL to all but the state change.
    CGeneralDoc* project = OpenProject("/data/take.avi");
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->FindRecordGroupView(), nullptr);
    EXPECT_EQ(project->OnRecordingEnded(1), S_OK) << "nobody to tell, but a view";
    CGeneralDoc loose;
    EXPECT_EQ(loose.AddPlayback(1), E_FAIL);
    EXPECT_EQ(loose.OnStateChanged(1, 2), S_OK);
    EXPECT_EQ(loose.OnRecordingEnded(1), E_FAIL);
    EXPECT_EQ(loose.OnBeforeLive(), E_FAIL);
    EXPECT_EQ(loose.OnGroupChanged(), E_FAIL);
}

TEST_F(GeneralDocTest, AddPlaybackAddsTheOpenDevicesMemoryToThePlayGroup) {
    UseFakeGroups();
    OpenDevices::ResetForTests();
    auto* camera = new CDevice(CDeviceDescriptor(CDeviceId(3, 1, 0)), nullptr);
    OpenDevices::Add(camera);
    int handle = -1;
    camera->GetHandle(&handle);

    // A project with a record group only: the play group is made for the playback.
    CGeneralDoc* project = OpenProject("/data/rig.cfg");
    ASSERT_NE(project, nullptr);
    ASSERT_EQ(project->FindPlayGroupView(), nullptr);
    EXPECT_EQ(project->AddPlayback(handle), S_OK);
    auto* play = GroupOf<CFakePlayGroupDoc>(project->FindPlayGroupView());
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->calls, QStringList{"add __addplaybackXXXdevice#3#1#0#"});

    // Through the group, which asks the project; a device that is not open adds nothing and
    // is still no failure of the project's.
    auto* record = GroupOf<CFakeRecordGroupDoc>(project->FindRecordGroupView());
    ASSERT_NE(record, nullptr);
    record->group.AddDevice(handle);
    EXPECT_EQ(record->group.PlayBackDevice(handle), S_OK);
    EXPECT_EQ(project->AddPlayback(handle + 100), S_OK);
    EXPECT_EQ(play->calls, (QStringList{"add __addplaybackXXXdevice#3#1#0#",
                                        "add __addplaybackXXXdevice#3#1#0#"}));
    record->group.RemoveDevice(handle);
    project->OnCloseDocument();
    OpenDevices::DestroyAll();
}
