#include "groups/GeneralFrame.h"

#include "groups/GeneralDoc.h"
#include "groups/GeneralView.h"
#include "groups/IControlPanelPages.h"
#include "groups/IProjectRecordState.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementFormFrame.h"
#include "groups/MeasurementView.h"
#include "platform/com/ComVariant.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/MultiDocTemplate.h"
#include "resources/ProgramResources.h"
#include "shell/DlgOptionsBase.h"
#include "shell/MainFrame.h"
#include "shell/VidraApp.h"
#include "shell/ViewChildedFrame.h"
#include "testsupport/IsolatedTest.h"
#include "views/PlaybackView.h"
#include "views/panels/TabDlg.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <memory>
#include <vector>

namespace {

constexpr UINT kPageTemplate = 9901;
constexpr UINT kGroupCommand = 2001;  // a play-control command

CResourceModule PageModule() {
    CResourceModule module;
    module.name = QStringLiteral("project frame tests");
    DialogTemplate page;
    page.id = kPageTemplate;
    page.style = WS_CHILD;
    page.cx = 100;
    page.cy = 60;
    module.dialogs = {page};
    return module;
}

// A group frame as the project sees it: it records the tool codes it is given and, like the
// play-group frame, puts a page of its own into the project's control panel.
class CFakeGroupFrame : public CViewChildedFrame, public IControlPanelPages {
    DECLARE_DYNCREATE(CFakeGroupFrame)
    DECLARE_MESSAGE_MAP()

public:
    void ActivateFrame(int nCmdShow) override {
        if (nCmdShow <= -1) {
            codes.push_back(nCmdShow);
            return;
        }
        CViewChildedFrame::ActivateFrame(nCmdShow);
    }
    void AttachToControlPanel(CControlPanelBar* bar) override {
        page = std::make_unique<CTabDlg>(kPageTemplate);
        if (page->Create(bar))
            bar->AddPage(page.get(), pageName, 0);
    }

    std::vector<int> codes;
    std::unique_ptr<CTabDlg> page;
    QString pageName = QStringLiteral("Playback");
    int groupCommands = 0;

protected:
    void OnGroupCommand() { ++groupCommands; }
};
IMPLEMENT_DYNCREATE(CFakeGroupFrame, CViewChildedFrame)
BEGIN_MESSAGE_MAP(CFakeGroupFrame, CViewChildedFrame)
ON_COMMAND(kGroupCommand, OnGroupCommand)
END_MESSAGE_MAP()

class CFakeRecordFrame : public CFakeGroupFrame {
    DECLARE_DYNCREATE(CFakeRecordFrame)

public:
    CFakeRecordFrame() { pageName = QStringLiteral("Devices"); }
};
IMPLEMENT_DYNCREATE(CFakeRecordFrame, CFakeGroupFrame)

// The play-group view records the closes it hears of.
class CFakePlayGroupView : public CFrameParentingView {
    DECLARE_DYNCREATE(CFakePlayGroupView)

public:
    LRESULT OnChildFrameClose(WPARAM wParam, LPARAM) override {
        closes.push_back(wParam);
        return 1;
    }
    std::vector<WPARAM> closes;
};
IMPLEMENT_DYNCREATE(CFakePlayGroupView, CFrameParentingView)

class CFakeRecordView : public CFrameParentingView, public IProjectRecordState {
    DECLARE_DYNCREATE(CFakeRecordView)

public:
    int GetRecordGroupState() const override { return state; }
    CView* FindDeviceWindow(int, int) override { return nullptr; }
    IRecordGroupListener* GetGroupListener() override { return nullptr; }
    LRESULT OnChildFrameClose(WPARAM, LPARAM) override {
        ++asked;
        return closeAnswer;
    }
    int state = 0;
    LRESULT closeAnswer = 1;
    int asked = 0;
};
IMPLEMENT_DYNCREATE(CFakeRecordView, CFrameParentingView)

class CFakeMemberView : public CView {
    DECLARE_DYNCREATE(CFakeMemberView)

public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CFakeMemberView, CView)

class CFakePlaybackView : public CFakeMemberView {
    DECLARE_DYNCREATE(CFakePlaybackView)
};
IMPLEMENT_DYNCREATE(CFakePlaybackView, CFakeMemberView)

class CFakeCameraView : public CFakePlaybackView {
    DECLARE_DYNCREATE(CFakeCameraView)
};
IMPLEMENT_DYNCREATE(CFakeCameraView, CFakePlaybackView)

// A real playback view, as the play group's members and the camera windows have.
class CFakeGroupPlayback : public CPlaybackView {
    DECLARE_DYNCREATE(CFakeGroupPlayback)

public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CFakeGroupPlayback, CPlaybackView)

class CFakeGroupDoc : public CDocument {
    DECLARE_DYNCREATE(CFakeGroupDoc)
};
IMPLEMENT_DYNCREATE(CFakeGroupDoc, CDocument)

class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override { enabled = bOn; }
    void SetCheck(int nCheck) override { checked = nCheck; }
    BOOL enabled = TRUE;
    int checked = -1;
};

class GeneralFrameTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
        CProgramResources::Register();
        CResourceChain::AddModule(&m_module);
        m_main = new CMainFrame;
        ASSERT_TRUE(m_main->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app.m_pMainWnd = m_main;
        m_main->ShowWindow(SW_SHOW);
        m_main->MoveWindow(0, 0, 1200, 900);
        CProjectGroupKinds kinds;
        kinds.playGroupView =
            m_realPlayGroup ? RUNTIME_CLASS(CMeasurementView) : RUNTIME_CLASS(CFakePlayGroupView);
        kinds.playGroupFrame =
            m_realPlayGroup ? RUNTIME_CLASS(CMeasurementFormFrame) : RUNTIME_CLASS(CFakeGroupFrame);
        kinds.recordControllerView = RUNTIME_CLASS(CFakeRecordView);
        kinds.recordControllerFrame = RUNTIME_CLASS(CFakeRecordFrame);
        kinds.playbackView = RUNTIME_CLASS(CFakePlaybackView);
        kinds.cameraView = RUNTIME_CLASS(CFakeCameraView);
        CGeneralDoc::SetGroupKinds(kinds);
        AddTemplate("DT:Gen", RUNTIME_CLASS(CGeneralDoc), RUNTIME_CLASS(CGeneralFrame),
                    RUNTIME_CLASS(CGeneralView));
        if (m_realPlayGroup)
            AddTemplate("DT:Meas2", RUNTIME_CLASS(CMeasurementFormDoc),
                        RUNTIME_CLASS(CMeasurementFormFrame), RUNTIME_CLASS(CMeasurementView));
        else
            AddTemplate("DT:Meas2", RUNTIME_CLASS(CFakeGroupDoc), RUNTIME_CLASS(CFakeGroupFrame),
                        RUNTIME_CLASS(CFakePlayGroupView));
        AddTemplate("DT:Rec", RUNTIME_CLASS(CFakeGroupDoc), RUNTIME_CLASS(CFakeRecordFrame),
                    RUNTIME_CLASS(CFakeRecordView));
    }

    void TearDown() override {
        CGeneralDoc::SetGroupKinds(CProjectGroupKinds());
        if (m_app.m_pMainWnd == m_main)
            m_main->DestroyWindow();
        CResourceChain::RemoveModule(&m_module);
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }

    void AddTemplate(const char* key, const CRuntimeClass* doc, const CRuntimeClass* frame,
                     const CRuntimeClass* view) {
        m_app.AddDocTemplateWithKey(QString::fromLatin1(key),
                                    new CMultiDocTemplate(0, doc, frame, view));
    }

    // A project with both groups (the empty record group placeholder), or with only the
    // record group.
    CGeneralDoc* OpenProject(bool withPlayGroup = true) {
        return OpenProjectAt(withPlayGroup ? "__xxx1234emptyrecordgroupXXX" : "", withPlayGroup);
    }
    CGeneralDoc* OpenProjectAt(const char* path, bool withPlayGroup) {
        auto* project = dynamic_cast<CGeneralDoc*>(
            m_app.CreateDocumentByKey("DT:Gen", QString::fromLatin1(path), TRUE));
        if (project && !withPlayGroup)
            project->CreateRecordGroup(QString(), nullptr);
        QCoreApplication::processEvents();
        return project;
    }

    void SetSetting(const char* key, LONG on) {
        ASSERT_EQ(m_main->SetSetting(QString::fromLatin1(key), CComVariant(on), -1), S_OK);
    }

    static CGeneralFrame* FrameOf(CGeneralDoc* project) {
        return dynamic_cast<CGeneralFrame*>(project->GetProjectView()->GetParentFrame());
    }
    static CGeneralView* ViewOf(CGeneralDoc* project) {
        return dynamic_cast<CGeneralView*>(project->GetProjectView());
    }
    static CFakeGroupFrame* GroupFrame(CView* groupView) {
        return groupView ? dynamic_cast<CFakeGroupFrame*>(groupView->GetParentFrame()) : nullptr;
    }
    static QStringList TabNames(CControlPanelBar& bar) {
        QStringList names;
        for (int tab = 0; tab < bar.GetTabCtrl().GetItemCount(); ++tab)
            names << bar.GetTabCtrl().GetItemText(tab);
        return names;
    }

    // A visible member frame with a view of viewClass hosted in the group view.
    static CFrameWnd* AddMember(CView* groupView, const CRuntimeClass* viewClass) {
        auto* frame = new CViewChildedFrame;
        EXPECT_TRUE(frame->LoadFrame(0, WS_OVERLAPPEDWINDOW));
        auto* view = static_cast<CView*>(viewClass->CreateObject());
        EXPECT_TRUE(view->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50),
                                 frame, AFX_IDW_PANE_FIRST));
        frame->SetActiveView(view, FALSE);
        CViewChildedFrame::AttachToParentView(groupView, frame);
        frame->ShowWindow(SW_SHOW);
        return frame;
    }

    // The play group is the real one: its document, frame and view.
    bool m_realPlayGroup = false;
    CResourceModule m_module = PageModule();
    CVidraApp m_app{QStringLiteral("Vidra Player")};
    CMainFrame* m_main = nullptr;
};

TEST_F(GeneralFrameTest, ShowsBarsAndTheGroupsPagesMoveIntoItsControlPanel) {
    CGeneralDoc* project = OpenProject();
    ASSERT_NE(project, nullptr);
    CGeneralFrame* frame = FrameOf(project);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(ViewOf(project), nullptr);
    EXPECT_TRUE(frame->IsWindowVisible());

    CControlPanelBar& panel = frame->GetControlPanelBar();
    ASSERT_NE(panel.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(panel.IsVisible());
    EXPECT_EQ(TabNames(panel), QStringList({"Devices", "Playback", "Image Process"}))
        << "each hosted group put its page into the project's control panel, beside the "
           "project's own image page";
    EXPECT_EQ(panel.GetCurTab(), 0);

    CTabCtrl& groupTabs = frame->GetGroupBar().GetTabCtrl();
    ASSERT_NE(groupTabs.GetSafeHwnd(), nullptr);
    EXPECT_EQ(TabNames(frame->GetGroupBar()), QStringList({"Record Group", "Play Group"}));

    // Both groups are shown inside the project.
    for (CView* group : {project->FindPlayGroupView(), project->FindRecordGroupView()}) {
        ASSERT_NE(group, nullptr);
        EXPECT_TRUE(group->GetParentFrame()->IsWindowVisible());
    }
}

TEST_F(GeneralFrameTest, GroupsMadeAfterTheProjectFilledPutTheirPagesIntoItsControlPanel) {
    CGeneralDoc* project = OpenProjectAt("", true);  // an empty project
    ASSERT_NE(project, nullptr);
    CControlPanelBar& panel = FrameOf(project)->GetControlPanelBar();
    const QStringList before = TabNames(panel);
    // As a dropped file or a record configuration makes them later.
    ASSERT_TRUE(project->CreatePlayGroup(QString(), nullptr));
    EXPECT_EQ(TabNames(panel), before + QStringList({"Playback"}));
    ASSERT_TRUE(project->CreateRecordGroup(QString(), nullptr));
    EXPECT_EQ(TabNames(panel), before + QStringList({"Playback", "Devices"}));
}

TEST_F(GeneralFrameTest, GroupButtonsSelectWhichGroupShowsItsTools) {
    CGeneralDoc* project = OpenProject();
    ASSERT_NE(project, nullptr);
    CGeneralFrame* frame = FrameOf(project);
    CFakeGroupFrame* play = GroupFrame(project->FindPlayGroupView());
    CFakeGroupFrame* record = GroupFrame(project->FindRecordGroupView());
    ASSERT_TRUE(frame && play && record);
    // The project view is the frame's active view, as when the user works in it.
    frame->SetActiveView(ViewOf(project), FALSE);

    const struct {
        UINT button;
        int mode;
        int playCode;
        int recordCode;
    } cases[] = {
        {kSecondTabButton, kPlayGroupMode, -1, -3},
        {kFirstTabButton, kRecordGroupMode, -3, -1},
    };
    for (const auto& c : cases) {
        play->codes.clear();
        record->codes.clear();
        EXPECT_TRUE(frame->OnCmdMsg(c.button, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(frame->GetGroupMode(), c.mode);
        QCoreApplication::processEvents();
        ASSERT_FALSE(play->codes.empty()) << c.button;
        EXPECT_EQ(play->codes.back(), c.playCode) << c.button;
        ASSERT_FALSE(record->codes.empty()) << c.button;
        EXPECT_EQ(record->codes.back(), c.recordCode) << c.button;
    }

    // Updating the project's views with a hint selects that mode.
    project->UpdateAllViews(nullptr, kPlayGroupHint);
    EXPECT_EQ(frame->GetGroupMode(), kPlayGroupMode);

    // Leaving the project hides both groups' tools: docked panels too when the project takes
    // them in.
    for (const LONG dock : {0, 1}) {
        SetSetting("AppBehave:bPR_DockPanelToPR", dock);
        CGeneralDoc* other = OpenProject();
        ASSERT_NE(other, nullptr);
        CFakeGroupFrame* otherPlay = GroupFrame(other->FindPlayGroupView());
        CFakeGroupFrame* otherRecord = GroupFrame(other->FindRecordGroupView());
        otherPlay->codes.clear();
        otherRecord->codes.clear();
        ViewOf(other)->ShowGroupFramesForMode(FALSE);
        const std::vector<int> expected = {dock ? -2 : -4};
        EXPECT_EQ(otherPlay->codes, expected) << dock;
        EXPECT_EQ(otherRecord->codes, expected) << dock;
    }
}

TEST_F(GeneralFrameTest, GroupButtonsAreEnabledOnlyForGroupsTheProjectHas) {
    CGeneralDoc* project = OpenProject(false);
    ASSERT_NE(project, nullptr);
    ASSERT_EQ(project->FindPlayGroupView(), nullptr);
    CGeneralView* view = ViewOf(project);
    CTestCmdUI play;
    view->OnCmdMsg(kSecondTabButton, CN_UPDATE_COMMAND_UI, &play, nullptr);
    EXPECT_FALSE(play.enabled);
    CTestCmdUI record;
    view->OnCmdMsg(kFirstTabButton, CN_UPDATE_COMMAND_UI, &record, nullptr);
    EXPECT_TRUE(record.enabled);

    // "Add something" gives the project its play group.
    EXPECT_TRUE(view->OnCmdMsg(ID_ADD_PLAY_GROUP, CN_COMMAND, nullptr, nullptr));
    EXPECT_NE(project->FindPlayGroupView(), nullptr);
    view->OnCmdMsg(kSecondTabButton, CN_UPDATE_COMMAND_UI, &play, nullptr);
    EXPECT_TRUE(play.enabled);
}

TEST_F(GeneralFrameTest, ControlPanelCommandsShowAndHideTheBar) {
    CGeneralDoc* project = OpenProject();
    ASSERT_NE(project, nullptr);
    CGeneralFrame* frame = FrameOf(project);
    CControlPanelBar& panel = frame->GetControlPanelBar();
    const struct {
        UINT command;
        bool visibleAfter;
    } steps[] = {
        {ID_HIDE_CONTROL_PANEL, false}, {ID_HIDE_CONTROL_PANEL, false},
        {ID_VIEW_CONTROL_PANEL, true},  {ID_VIEW_CONTROL_PANEL, false},
        {ID_SHOW_CONTROL_PANEL, true},  {ID_SHOW_CONTROL_PANEL, true},
    };
    for (const auto& step : steps) {
        EXPECT_TRUE(frame->OnCmdMsg(step.command, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(bool(panel.IsVisible()), step.visibleAfter) << step.command;
        CTestCmdUI toggle;
        frame->OnCmdMsg(ID_VIEW_CONTROL_PANEL, CN_UPDATE_COMMAND_UI, &toggle, nullptr);
        EXPECT_EQ(toggle.checked, step.visibleAfter ? 1 : 0);
        CTestCmdUI show;
        frame->OnCmdMsg(ID_SHOW_CONTROL_PANEL, CN_UPDATE_COMMAND_UI, &show, nullptr);
        EXPECT_EQ(show.checked, step.visibleAfter ? 1 : 0);
        CTestCmdUI hide;
        frame->OnCmdMsg(ID_HIDE_CONTROL_PANEL, CN_UPDATE_COMMAND_UI, &hide, nullptr);
        EXPECT_EQ(hide.checked, step.visibleAfter ? 0 : 1);
    }
}

TEST_F(GeneralFrameTest, NarrowFrameHidesTheGroupBarPicture) {
    CGeneralDoc* project = OpenProject();
    ASSERT_NE(project, nullptr);
    CGeneralFrame* frame = FrameOf(project);
    CWnd* picture = frame->GetGroupBar().GetDlgItem(kGroupBarPicture);
    ASSERT_NE(picture, nullptr);
    frame->ShowControlBar(&frame->GetGroupBar(), TRUE, FALSE);
    frame->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELONG(369, 400));
    EXPECT_FALSE(picture->IsWindowVisible());
    frame->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELONG(500, 400));
    EXPECT_TRUE(picture->IsWindowVisible());
    CRect rect;
    picture->GetWindowRect(&rect);
    frame->GetGroupBar().ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(390, 4, 496, 45));
}

TEST_F(GeneralFrameTest, NewFramesCascadeOverFourFifthsOfTheClient) {
    SetSetting("AppBehave:bPR_StartMax", 0);
    const QSize area = m_main->GetMDIArea()->viewport()->size();
    QRect previous;
    for (int i = 0; i < 12; ++i) {
        CGeneralDoc* project = OpenProject(false);
        ASSERT_NE(project, nullptr);
        const QRect placed = FrameOf(project)->GetSubWindow()->geometry();
        EXPECT_EQ(placed.size(), QSize((4 * area.width() - 8) / 5, (4 * area.height() - 8) / 5));
        EXPECT_EQ(placed.x(), placed.y());
        if (i > 0 && placed.topLeft() != QPoint(0, 0)) {
            EXPECT_GT(placed.x(), previous.x()) << "one step further in";
            EXPECT_LE(placed.right(), area.width());
        }
        previous = placed;
    }
    EXPECT_LT(previous.x() + previous.width(), area.width() + 1);
}

TEST_F(GeneralFrameTest, SettingsChooseMaximisedStartAndCaptionButtons) {
    for (const LONG on : {0, 1}) {
        SetSetting("AppBehave:bPR_StartMax", on);
        SetSetting("AppBehave:bPR_RemoveMaxMinClose", on);
        CGeneralDoc* project = OpenProject(false);
        ASSERT_NE(project, nullptr);
        CGeneralFrame* frame = FrameOf(project);
        EXPECT_EQ(frame->GetSubWindow()->isMaximized(), on == 1);
        EXPECT_EQ(bool(frame->RemovesCaptionButtons()), on == 1);
        EXPECT_EQ((frame->GetStyle() & (WS_SYSMENU | WS_THICKFRAME)) == 0, on == 1);
    }
}

// How the project frame's close ends.
struct CloseCase {
    const char* name;
    bool playGroup;
    int recordState;
    bool modified;
    int answer;  // to the play group's save question, 0: not asked
    bool closes;
};

TEST_F(GeneralFrameTest, CloseTable) {
    const CloseCase cases[] = {
        {"recording refuses", true, kRecordGroupRecording, true, 0, false},
        {"cancel keeps the project", true, 0, true, IDCANCEL, false},
        {"no closes", true, 0, true, IDNO, true},
        {"unmodified group closes", true, 0, false, 0, true},
        {"no play group, no question", false, 0, false, 0, true},
    };
    for (const CloseCase& c : cases) {
        CGeneralDoc* project = OpenProject(c.playGroup);
        ASSERT_NE(project, nullptr) << c.name;
        CGeneralFrame* frame = FrameOf(project);
        auto* record = dynamic_cast<CFakeRecordView*>(project->FindRecordGroupView());
        ASSERT_NE(record, nullptr) << c.name;
        record->state = c.recordState;
        CView* play = project->FindPlayGroupView();
        if (play && c.modified) {
            play->GetDocument()->SetTitle(QStringLiteral("Group"));
            play->GetDocument()->SetModifiedFlag(TRUE);
        }
        const size_t prompts = Prompter().Prompts().size();
        if (c.recordState == kRecordGroupRecording)
            Prompter().ExpectMessageBox(
                QStringLiteral("Please complete the recording before closing."), IDOK);
        else if (c.answer)
            Prompter().ExpectMessageBox(QStringLiteral("Save changes to Group?"), c.answer);
        const std::weak_ptr<bool> alive = frame->GetLifeToken();
        frame->SendMessage(WM_CLOSE);
        QCoreApplication::processEvents();
        EXPECT_EQ(alive.expired(), c.closes) << c.name;
        const bool asked = c.recordState == kRecordGroupRecording || c.answer;
        ASSERT_EQ(Prompter().Prompts().size(), prompts + (asked ? 1 : 0)) << c.name;
        if (c.recordState == kRecordGroupRecording) {
            EXPECT_EQ(Prompter().Prompts().back().caption, QStringLiteral("Unable to Close"));
            EXPECT_EQ(Prompter().Prompts().back().type & MB_ICONMASK, MB_ICONINFORMATION);
        }
        if (!alive.expired()) {
            record->state = 0;
            if (play)
                play->GetDocument()->SetModifiedFlag(FALSE);
            frame->SendMessage(WM_CLOSE);
            QCoreApplication::processEvents();
            EXPECT_TRUE(alive.expired()) << c.name;
        }
    }
}

TEST_F(GeneralFrameTest, RecordControllerDecidesHostedClosesBeforeThePlayGroupHearsOfThem) {
    CGeneralDoc* project = OpenProject();
    ASSERT_NE(project, nullptr);
    auto* record = dynamic_cast<CFakeRecordView*>(project->FindRecordGroupView());
    auto* play = dynamic_cast<CFakePlayGroupView*>(project->FindPlayGroupView());
    ASSERT_TRUE(record && play);
    const WPARAM closing = reinterpret_cast<WPARAM>(play->GetParentFrame()->GetSafeHwnd());

    record->closeAnswer = 0;
    EXPECT_EQ(ViewOf(project)->OnChildFrameClose(closing, 0), 0);
    EXPECT_EQ(record->asked, 1);
    EXPECT_TRUE(play->closes.empty()) << "a refused close removes nothing";

    record->closeAnswer = 1;
    EXPECT_EQ(ViewOf(project)->OnChildFrameClose(closing, 0), 1);
    EXPECT_EQ(play->closes, std::vector<WPARAM>({closing}));
}

TEST_F(GeneralFrameTest, ThePlayGroupsPlaybacksCloseWhateverTheRecordControllerGuards) {
    CGeneralDoc* project = OpenProject();
    ASSERT_NE(project, nullptr);
    auto* record = dynamic_cast<CFakeRecordView*>(project->FindRecordGroupView());
    auto* play = dynamic_cast<CFakePlayGroupView*>(project->FindPlayGroupView());
    ASSERT_TRUE(record && play);
    // Say the controller refuses every close while a device's memory plays.
    record->closeAnswer = 0;
    struct Case {
        const char* name;
        bool groupMember;
        LRESULT answer;
    };
    for (const Case& c :
         {Case{"member of the play group", true, 1}, Case{"playback of no group", false, 0}}) {
        SCOPED_TRACE(c.name);
        CFrameWnd* member = AddMember(ViewOf(project), RUNTIME_CLASS(CFakeGroupPlayback));
        auto* playback = dynamic_cast<CPlaybackView*>(member->GetActiveView());
        ASSERT_NE(playback, nullptr);
        if (c.groupMember)
            playback->SetGroupDocument(play->GetDocument());
        const int asked = record->asked;
        const WPARAM closing = reinterpret_cast<WPARAM>(member->GetSafeHwnd());
        EXPECT_EQ(ViewOf(project)->OnChildFrameClose(closing, 0), c.answer);
        EXPECT_EQ(record->asked, asked + (c.groupMember ? 0 : 1));
        EXPECT_EQ(!play->closes.empty() && play->closes.back() == closing, c.groupMember);
        member->DestroyWindow();
    }
}

TEST_F(GeneralFrameTest, ActivatingAWindowSelectsItsGroup) {
    CGeneralDoc* project = OpenProject();
    ASSERT_NE(project, nullptr);
    CGeneralFrame* frame = FrameOf(project);
    CView* play = project->FindPlayGroupView();
    CView* record = project->FindRecordGroupView();
    ASSERT_TRUE(play && record);
    AddMember(play, RUNTIME_CLASS(CFakePlaybackView));
    AddMember(record, RUNTIME_CLASS(CFakeCameraView));
    const auto activate = [&](CView* group) {
        return ViewOf(project)->OnChildFrameActivate(
            reinterpret_cast<WPARAM>(group->GetParentFrame()->GetSafeHwnd()),
            kChildedActivatedByNestedView);
    };
    EXPECT_EQ(activate(play), 1);
    EXPECT_EQ(frame->GetGroupMode(), kPlayGroupMode) << "a video window is the play group's";
    EXPECT_EQ(activate(record), 1);
    EXPECT_EQ(frame->GetGroupMode(), kRecordGroupMode) << "a camera window is the record group's";
}

TEST_F(GeneralFrameTest, PlayControlCommandsGoToTheGroupsFirst) {
    CGeneralDoc* project = OpenProject();
    ASSERT_NE(project, nullptr);
    CFakeGroupFrame* play = GroupFrame(project->FindPlayGroupView());
    ASSERT_NE(play, nullptr);
    EXPECT_TRUE(ViewOf(project)->OnCmdMsg(kGroupCommand, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(play->groupCommands, 1);
    EXPECT_EQ(ViewOf(project)->SendMessage(kProjectViewQuery), 1);
    EXPECT_EQ(FrameOf(project)->SendMessage(kProjectFrameQuery), 1);
}

TEST_F(GeneralFrameTest, GroupsStayWhereTheUserLeftThemUnlessAutoArranged) {
    CGeneralDoc* project = OpenProject();
    ASSERT_NE(project, nullptr);
    CGeneralView* view = ViewOf(project);
    CFrameWnd* play = project->FindPlayGroupView()->GetParentFrame();
    play->MoveWindow(7, 9, 120, 80);
    view->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELONG(640, 480));
    CRect rect;
    play->GetWindowRect(&rect);
    view->ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(7, 9, 127, 89));

    EXPECT_TRUE(view->OnCmdMsg(ID_WINDOW_AUTO_ARRANGE, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(view->IsAutoArrange());
    CTestCmdUI check;
    view->OnCmdMsg(ID_WINDOW_AUTO_ARRANGE, CN_UPDATE_COMMAND_UI, &check, nullptr);
    EXPECT_EQ(check.checked, 1);
    play->GetWindowRect(&rect);
    view->ScreenToClient(&rect);
    EXPECT_EQ(rect.top, 0) << "the groups stand side by side from the top";
    EXPECT_NE(rect, CRect(7, 9, 127, 89));
}

class MeasurementFormFrameTest : public GeneralFrameTest {
protected:
    MeasurementFormFrameTest() { m_realPlayGroup = true; }

    static CMeasurementFormFrame* PlayFrame(CGeneralDoc* project) {
        CView* view = project->FindPlayGroupView();
        return view ? dynamic_cast<CMeasurementFormFrame*>(view->GetParentFrame()) : nullptr;
    }
};

TEST_F(MeasurementFormFrameTest, PlayControlPageMovesIntoTheProjectsControlPanel) {
    CGeneralDoc* project = OpenProjectAt("_xxx3456empthplaygropXXX", true);
    ASSERT_NE(project, nullptr);
    CMeasurementFormFrame* play = PlayFrame(project);
    ASSERT_NE(play, nullptr);
    CControlPanelBar& panel = FrameOf(project)->GetControlPanelBar();
    EXPECT_EQ(TabNames(panel),
              QStringList({"Playback", "Measurement", "Analysis", "Image Process"}));
    EXPECT_EQ(panel.GetTabPage(2, 0), &play->GetAnalysisTab());
    EXPECT_EQ(play->GetAnalysisTab().GetParent(), &panel);
    CPlayControlTab& page = play->GetPlayControlTab();
    ASSERT_NE(page.GetSafeHwnd(), nullptr);
    EXPECT_EQ(page.GetParent(), &panel) << "the page lives in the project's panel";
    EXPECT_EQ(panel.GetTabPage(0, 0), &page);
    EXPECT_TRUE(page.IsWindowVisible());
    EXPECT_EQ(page.GetOwnerLink(),
              dynamic_cast<IPlaybackSourceOwner*>(project->FindPlayGroupView()))
        << "the page reaches the group's playbacks through the group view";
    EXPECT_EQ(play->GetGroupMembers(),
              dynamic_cast<IPlayGroupMembers*>(project->FindPlayGroupView()));
    CDlgMeasure& palette = play->GetMeasurePalette();
    EXPECT_EQ(palette.GetParent(), &panel);
    EXPECT_EQ(panel.GetTabPage(1, 0), &palette);
    EXPECT_FALSE(palette.IsWindowVisible()) << "the first tab is the one shown";
    panel.SelectTab(1, 0);
    EXPECT_TRUE(palette.IsWindowVisible());
    EXPECT_FALSE(page.IsWindowVisible());

    // Closing the project takes the page down with its frame, not with the panel.
    const std::weak_ptr<bool> alive = FrameOf(project)->GetLifeToken();
    FrameOf(project)->SendMessage(WM_CLOSE);
    QCoreApplication::processEvents();
    EXPECT_TRUE(alive.expired());
}

TEST_F(MeasurementFormFrameTest, APlayGroupMadeLaterPutsItsPageIntoTheProjectsControlPanel) {
    CGeneralDoc* project = OpenProjectAt("", true);  // an empty project
    ASSERT_NE(project, nullptr);
    CControlPanelBar& panel = FrameOf(project)->GetControlPanelBar();
    const QStringList before = TabNames(panel);
    ASSERT_TRUE(project->CreatePlayGroup(QString(), nullptr));
    CMeasurementFormFrame* play = PlayFrame(project);
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(TabNames(panel), before + QStringList({"Playback", "Measurement", "Analysis"}));
    const int first = static_cast<int>(before.size());
    EXPECT_EQ(panel.GetTabPage(first, 0), &play->GetPlayControlTab());
    EXPECT_EQ(panel.GetTabPage(first + 1, 0), &play->GetMeasurePalette());
    EXPECT_EQ(panel.GetTabPage(first + 2, 0), &play->GetAnalysisTab());

    // A group that goes while its project stays takes its pages out of the project's panel.
    play->DestroyWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(panel.GetTabPage(first, 0), nullptr);
    EXPECT_EQ(panel.GetTabPage(first + 1, 0), nullptr);
    EXPECT_EQ(panel.GetTabPage(first + 2, 0), nullptr);
    panel.SelectTab(first + 2, 0);
}

TEST_F(MeasurementFormFrameTest, InsideARecordControllersProjectThePageStaysHidden) {
    CGeneralDoc* project = OpenProject();
    ASSERT_NE(project, nullptr);
    ASSERT_NE(project->FindRecordGroupView(), nullptr);
    CMeasurementFormFrame* play = PlayFrame(project);
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(TabNames(FrameOf(project)->GetControlPanelBar()),
              QStringList({"Devices", "Image Process"}));
    for (CWnd* page : {static_cast<CWnd*>(&play->GetPlayControlTab()),
                       static_cast<CWnd*>(&play->GetMeasurePalette()),
                       static_cast<CWnd*>(&play->GetAnalysisTab())}) {
        ASSERT_NE(page->GetSafeHwnd(), nullptr) << "made all the same";
        EXPECT_FALSE(page->IsWindowVisible());
    }
}

TEST_F(MeasurementFormFrameTest, ToolBarsFollowTheirSettings) {
    const struct {
        LONG group;
        LONG view;
    } cases[] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (const auto& c : cases) {
        SetSetting("View:PlayProjTBinProj", c.group);
        SetSetting("View:VideoViewTBinProj", c.view);
        CGeneralDoc* project = OpenProjectAt("_xxx3456empthplaygropXXX", true);
        ASSERT_NE(project, nullptr);
        CMeasurementFormFrame* play = PlayFrame(project);
        ASSERT_NE(play, nullptr);
        CToolBar& group = play->GetGroupToolBar();
        CToolBar& view = play->GetViewToolBar();
        EXPECT_EQ(group.GetSafeHwnd() != nullptr, c.group == 1);
        EXPECT_EQ(view.GetSafeHwnd() != nullptr, c.view == 1);
        if (c.group) {
            ASSERT_EQ(group.GetCount(), 3);
            EXPECT_EQ(group.GetItemID(0), 32802u);
            EXPECT_EQ(group.GetItemID(2), 32807u);
        }
        if (c.view) {
            ASSERT_EQ(view.GetCount(), 8);
            EXPECT_EQ(view.GetItemID(2), 0u) << "a separator";
            EXPECT_EQ(view.GetItemID(7), 32780u);
        }
    }
}

TEST_F(MeasurementFormFrameTest, NegativeActivationsShowAndHideTheControlPanelBar) {
    CGeneralDoc* project = OpenProjectAt("_xxx3456empthplaygropXXX", true);
    ASSERT_NE(project, nullptr);
    CMeasurementFormFrame* play = PlayFrame(project);
    ASSERT_NE(play, nullptr);
    CControlPanelBar& bar = play->GetControlPanelBar();
    ASSERT_NE(bar.GetSafeHwnd(), nullptr) << "the group builds its own control panel";
    const struct {
        BOOL showBar;
        int code;
        bool visibleAfter;
    } steps[] = {
        {TRUE, -2, false}, {TRUE, -1, true},   {TRUE, -3, false},  {TRUE, -1, true},
        {TRUE, -4, true},  {FALSE, -1, false}, {FALSE, -4, false},
    };
    // Hosted in the project, the frame itself stays hidden: the project speaks of the bar only,
    // and the group's empty frame never comes in front of its members.
    play->ShowWindow(SW_HIDE);
    for (const auto& step : steps) {
        play->SetShowBar(step.showBar);
        play->ActivateFrame(step.code);
        EXPECT_EQ(bool(bar.IsVisible()), step.visibleAfter) << step.code;
        EXPECT_FALSE(play->GetQWidget()->isVisible()) << step.code;
    }
}

TEST_F(MeasurementFormFrameTest, TheGroupsOwnControlPanelHoldsItsPlaybackPage) {
    CGeneralDoc* project = OpenProjectAt("_xxx3456empthplaygropXXX", true);
    ASSERT_NE(project, nullptr);
    CMeasurementFormFrame* play = PlayFrame(project);
    ASSERT_NE(play, nullptr);
    CControlPanelBar& own = play->GetControlPanelBar();
    ASSERT_NE(own.GetSafeHwnd(), nullptr);
    EXPECT_EQ(TabNames(own),
              QStringList({"Playback", "Play Control", "Image Process", "Analysis"}));
    CPlaybackTab& playback = play->GetPlaybackTab();
    ASSERT_NE(playback.GetSafeHwnd(), nullptr);
    EXPECT_EQ(own.GetTabPage(0, 0), &playback);
    EXPECT_EQ(playback.GetOwnerLink(),
              dynamic_cast<IPlaybackSourceOwner*>(project->FindPlayGroupView()));
    // The play-control page went to the project's panel and is no longer the group's.
    EXPECT_EQ(own.GetTabPage(1, 0), nullptr);
    EXPECT_EQ(play->GetPlayControlTab().GetParent(), &FrameOf(project)->GetControlPanelBar());
    // So did the analysis page.
    EXPECT_EQ(own.GetTabPage(3, 0), nullptr);
    // Its play buttons reach the group's play control through the frame.
    auto* view = dynamic_cast<CMeasurementView*>(project->FindPlayGroupView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetPlayControl().GetPlayBar(), &play->GetPlayControlTab());
}

TEST_F(MeasurementFormFrameTest, SerialNumbersCountTheFramesAlive) {
    CGeneralDoc* first = OpenProjectAt("_xxx3456empthplaygropXXX", true);
    CGeneralDoc* second = OpenProjectAt("_xxx3456empthplaygropXXX", true);
    ASSERT_TRUE(first && second);
    const int firstSerial = PlayFrame(first)->GetFrameSerial();
    const int secondSerial = PlayFrame(second)->GetFrameSerial();
    EXPECT_EQ(secondSerial, firstSerial + 1);
    FrameOf(first)->SendMessage(WM_CLOSE);
    QCoreApplication::processEvents();
    CGeneralDoc* third = OpenProjectAt("_xxx3456empthplaygropXXX", true);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(PlayFrame(third)->GetFrameSerial(), secondSerial);
}

TEST_F(MeasurementFormFrameTest, RearmCommandsTurnTheProjectBackToItsRecordGroup) {
    const struct {
        UINT command;
        LONG recordAfterSave;
        int modeAfter;
    } cases[] = {
        {ID_ZERO_BRACKET_SAVE_REARM, 1, kRecordGroupMode},
        {ID_ZERO_BRACKET_SAVE_REARM, 0, kPlayGroupMode},
        {ID_CLOSE_PLAYBACKS_REARM, 1, kRecordGroupMode},
        {ID_CLOSE_PLAYBACKS_REARM, 0, kPlayGroupMode},
    };
    CGeneralDoc* project = OpenProject();
    ASSERT_NE(project, nullptr);
    CGeneralFrame* frame = FrameOf(project);
    auto* group = dynamic_cast<CMeasurementView*>(project->FindPlayGroupView());
    ASSERT_NE(group, nullptr);
    CPlayControlWnd& playControl = group->GetPlayControl();
    for (const auto& c : cases) {
        SetSetting("AppBehave:bRecordAfterSave", c.recordAfterSave);
        frame->SetGroupMode(kPlayGroupMode);
        playControl.SetSliderRange(0, 100);
        playControl.GotoFrame(50, FALSE);
        EXPECT_TRUE(ViewOf(project)->OnCmdMsg(c.command, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(frame->GetGroupMode(), c.modeAfter) << c.command << " " << c.recordAfterSave;
        // Re-arming empties the group's play controls for the next recording.
        EXPECT_EQ(playControl.GetCurrentFrame(), c.recordAfterSave ? 0 : 50) << c.command;
        QCoreApplication::processEvents();
    }
}

}  // namespace
