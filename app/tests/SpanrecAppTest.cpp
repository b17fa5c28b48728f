#include "app/AboutDlg.h"
#include "app/SpanrecApp.h"
#include "app/SplashWnd.h"
#include "frames/SampleRecording.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/RecentFileList.h"
#include "platform/framework/RecordingPrompter.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/ToolBar.h"
#include "platform/registry/Registry.h"
#include "resources/ProgramResources.h"
#include "shell/ChildFrame.h"
#include "shell/DlgUpdateCheck.h"
#include "shell/MainFrame.h"
#include "shell/SpanrecDoc.h"
#include "shell/SpanrecView.h"
#include "testsupport/IsolatedTest.h"
#include "testsupport/LocalHttpServer.h"
#include "testsupport/UpdateCheckOff.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <QUrl>
#include <QWidget>

#include <csignal>

namespace {

class SpanrecAppTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        TurnStartupUpdateCheckOff();
    }

    void TearDown() override {
        for (QProcess* process : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(10000);
            }
            delete process;
        }
        IsolatedTest::TearDown();
    }

    QProcess* Start(const QString& promptLog) {
        auto* process = new QProcess;
        m_processes.push_back(process);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert(kPromptLogVariable, promptLog);
        // The program registers its file types with the desktop at start.
        env.insert("XDG_DATA_HOME", WorkPath("xdg"));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(WorkDir());
        process->start(PROGRAM_PATH, {});
        EXPECT_TRUE(process->waitForStarted(10000));
        return process;
    }

    // Waits until the running program holds the single-instance lock.
    static bool WaitForLock() {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 30000) {
            if (QFileInfo(CVidraApp::LockFilePath()).size() > 0)
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    std::vector<QProcess*> m_processes;
};

TEST_F(SpanrecAppTest, SecondStartIsRefusedAndTheFirstRunsOn) {
    QProcess* first = Start(WorkPath("first.log"));
    ASSERT_TRUE(WaitForLock());

    QProcess* second = Start(WorkPath("second.log"));
    ASSERT_TRUE(second->waitForFinished(30000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_NE(second->exitCode(), 0);
    const std::vector<RecordedPrompt> prompts = CRecordingPrompter::ReadLog(WorkPath("second.log"));
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, "Another instance of this application was detected. Shutting Down.");
    EXPECT_EQ(prompts[0].type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));

    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_TRUE(CRecordingPrompter::ReadLog(WorkPath("first.log")).empty());
}

TEST_F(SpanrecAppTest, LockOfAKilledRunDoesNotBlockTheNextStart) {
    QProcess* crashed = Start(WorkPath("crashed.log"));
    ASSERT_TRUE(WaitForLock());
    crashed->kill();
    ASSERT_TRUE(crashed->waitForFinished(10000));
    ASSERT_TRUE(QFileInfo::exists(CVidraApp::LockFilePath()));

    QProcess* next = Start(WorkPath("next.log"));
    // Still running after a while: it took the lock over instead of refusing.
    EXPECT_FALSE(next->waitForFinished(3000));
    EXPECT_EQ(next->state(), QProcess::Running);
    EXPECT_TRUE(CRecordingPrompter::ReadLog(WorkPath("next.log")).empty());
}

class SpanrecAppStartTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        TurnStartupUpdateCheckOff();
        // Start-up registers the file types with the desktop: into this test's folder.
        m_hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        m_oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", WorkPath("xdg").toUtf8());
    }

    void TearDown() override {
        if (CSplashWnd* splash = CSplashWnd::Current())
            splash->HideSplashScreen();
        if (m_app.m_pMainWnd)
            m_app.m_pMainWnd->DestroyWindow();
        m_app.ExitInstance();
        if (m_hadDataHome)
            qputenv("XDG_DATA_HOME", m_oldDataHome);
        else
            qunsetenv("XDG_DATA_HOME");
        IsolatedTest::TearDown();
    }

    CSpanrecApp m_app;
    bool m_hadDataHome = false;
    QByteArray m_oldDataHome;
};

TEST_F(SpanrecAppStartTest, StartWithoutArgumentsShowsTheEmptyMaximisedMainWindow) {
    ASSERT_TRUE(m_app.InitInstance());
    auto* frame = dynamic_cast<CMainFrame*>(m_app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsZoomed());
    EXPECT_EQ(frame->GetWindowText(), "Vidra Player");
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 0);
    EXPECT_TRUE(frame->GetMDIChildren().empty());
    EXPECT_EQ(frame->GetStatusBar().GetCount(), 5);
    EXPECT_NE(CSplashWnd::Current(), nullptr);
    for (int i = 0; i < CVidraFrameWnd::kToolBarCount; ++i) {
        // Without stored settings the bars with a "View:" key show, as their defaults say,
        // unless none of their commands is built yet.
        CToolBar& bar = frame->GetToolBar(i);
        EXPECT_EQ(bar.IsVisible(), CVidraFrameWnd::ToolBarKey(i) != nullptr && bar.GetCount() > 0)
            << i;
    }
}

TEST_F(SpanrecAppStartTest, ServerSwitchesStartNormallyAndUnregisterEnds) {
    const struct {
        const char* argument;
        BOOL started;
    } cases[] = {{"/Embedding", TRUE}, {"-Automation", TRUE}, {"/Unregister", FALSE}};
    for (const auto& c : cases) {
        m_app.SetArguments({c.argument});
        if (!c.started)
            Prompter().ExpectMessageBox(QString::fromLatin1(kUnregisterDoneText), IDOK);
        EXPECT_EQ(m_app.InitInstance(), c.started) << c.argument;
        CWnd* frame = m_app.m_pMainWnd;
        ASSERT_NE(frame, nullptr);
        if (c.started) {
            EXPECT_TRUE(frame->IsWindowVisible()) << c.argument;
            EXPECT_TRUE(frame->IsZoomed()) << c.argument;
        }
        EXPECT_EQ(m_app.GetOpenDocumentCount(), 0);
        if (CSplashWnd* splash = CSplashWnd::Current())
            splash->HideSplashScreen();
        frame->DestroyWindow();
        m_app.ExitInstance();
    }
}

TEST_F(SpanrecAppStartTest, TemplatesFollowTheTableAndAMissingFileFailsToOpen) {
    ASSERT_TRUE(m_app.InitInstance());
    const char* keys[] = {"DT:Orig",       "DT:Rec",        "DT:Rec2",          "DT:Cam",
                          "DT:Cam2",       "DT:Meas",       "DT:Meas2",         "DT:Vid",
                          "DT:QNSens",     "DT:QNSensVCF",  "DT:QNSensPlay",    "DT:QNSensPlayVCF",
                          "DT:PmoSensVCF", "DT:PmoPlayVCF", "DT:NotesBasicVCF", "DT:Gen"};
    POSITION pos = m_app.GetFirstDocTemplatePosition();
    for (int i = 0; i < CSpanrecApp::kTemplateCount; ++i) {
        ASSERT_NE(pos, nullptr);
        CDocTemplate* docTemplate = m_app.GetNextDocTemplate(pos);
        EXPECT_EQ(docTemplate, m_app.GetTemplate(i));
        EXPECT_EQ(m_app.KeyOfTemplate(docTemplate), keys[i]);
    }
    EXPECT_EQ(pos, nullptr);

    // Every kind is the real one now: a record controller file that is not there fails to open.
    const QString missing = WorkPath("clip.recc");
    Prompter().ExpectMessageBox(
        QStringLiteral("Failed to open document %1.\n%1 was not found.").arg(missing), IDOK);
    EXPECT_EQ(m_app.CreateDocumentByKey("DT:Rec", missing, TRUE), nullptr);
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 0);
}

TEST_F(SpanrecAppStartTest, SplashGoesOnAnyPressAndSwallowsIt) {
    ASSERT_TRUE(m_app.InitInstance());
    const struct {
        UINT message;
        BOOL swallowed;
    } cases[] = {{WM_MOUSEMOVE, FALSE},
                 {WM_KEYDOWN, TRUE},
                 {WM_LBUTTONDOWN, TRUE},
                 {WM_RBUTTONDOWN, TRUE},
                 {WM_MBUTTONDOWN, TRUE}};
    for (const auto& c : cases) {
        CSplashWnd::EnableSplashScreen(TRUE);
        CSplashWnd::ShowSplashScreen(m_app.m_pMainWnd);
        ASSERT_NE(CSplashWnd::Current(), nullptr);
        MSG msg;
        msg.message = c.message;
        EXPECT_EQ(CSplashWnd::PreTranslateAppMessage(&msg), c.swallowed) << c.message;
        EXPECT_EQ(CSplashWnd::Current() == nullptr, c.swallowed != FALSE) << c.message;
        if (CSplashWnd* splash = CSplashWnd::Current())
            splash->HideSplashScreen();
    }
    // With no splash, a press goes on to its window.
    MSG key;
    key.message = WM_KEYDOWN;
    EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(&key));
}

TEST_F(SpanrecAppStartTest, AboutBoxNamesTheProgramAndLinksToSupport) {
    CProgramResources::Register();
    CAboutDlg about;
    ASSERT_TRUE(about.Create(IDD_ABOUTBOX));
    EXPECT_EQ(about.GetWindowText(), "About Vidra Player");
    EXPECT_EQ(about.GetDlgItemText(1005), "Vidra Player");
    EXPECT_EQ(about.GetDlgItemText(1006), "Version 5.0.0.3 -- Player");
    EXPECT_EQ(about.GetDlgItemText(1007), "For technical support please contact:");
    QString mail;
    ASSERT_TRUE(LoadString(16386, mail));
    EXPECT_EQ(about.GetDlgItemText(1009), mail);
    const auto* link = dynamic_cast<CStaticLink*>(about.GetDlgItem(1009));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->m_link, "mailto:" + mail);
    EXPECT_NE(dynamic_cast<CStaticLink*>(about.GetDlgItem(1010)), nullptr);
    about.DestroyWindow();
}

TEST_F(SpanrecAppStartTest, SplashHidesWhenItsTimerFires) {
    CSplashWnd::EnableSplashScreen(TRUE);
    CSplashWnd::ShowSplashScreen(nullptr);
    CSplashWnd* splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    splash->OnTimer(CSplashWnd::kTimerId);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
}

}  // namespace

namespace {

TEST_F(SpanrecAppStartTest, StartRegistersWithTheDesktopAndUnregisterRemovesIt) {
    const QString entry = WorkPath("xdg/applications/reelmark.desktop");
    ASSERT_TRUE(m_app.InitInstance());
    EXPECT_TRUE(QFileInfo::exists(entry));
    if (CSplashWnd* splash = CSplashWnd::Current())
        splash->HideSplashScreen();
    m_app.m_pMainWnd->DestroyWindow();
    m_app.ExitInstance();

    m_app.SetArguments({"/Unregister"});
    Prompter().ExpectMessageBox(QString::fromLatin1(kUnregisterDoneText), IDOK);
    EXPECT_FALSE(m_app.InitInstance());
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_TRUE(QDir(WorkPath("xdg")).isEmpty());
}

TEST_F(SpanrecAppStartTest, FileOpenAsksForTheProgramsFileTypesAndRoutesTheChoice) {
    ASSERT_TRUE(m_app.InitInstance());
    // No project is open, so the file makes a new one with a play group, which reports the
    // file it cannot read.
    Prompter().AnswerFileDialog({WorkPath("clip.avi")});
    Prompter().ExpectMessageBox(QStringLiteral("Error loading video from file."), IDOK);
    EXPECT_TRUE(m_app.OnCmdMsg(ID_FILE_OPEN, CN_COMMAND, nullptr, nullptr));

    ASSERT_EQ(Prompter().FilePrompts().size(), 1u);
    const FileDialogPrompt& prompt = Prompter().FilePrompts()[0];
    EXPECT_TRUE(prompt.open);
    EXPECT_EQ(
        prompt.filter,
        "Video File Types (*.avi;*.raw;*.bmp;*.tif;*.jpg;*.pvi)|*.avi;*.raw;*.bmp;*.tif;*.jpg;"
        "*.pvi|Data Files (*.mdat;*.au2;*.vidatqn)|*.mdat;*.au2;*.vidatqn|Play Group Files "
        "(*.playgrp)|*.playgrp|All Files (*.*)|*.*||");
    EXPECT_EQ(prompt.defaultExt, "avi");
    EXPECT_EQ(prompt.flags & (OFN_FILEMUSTEXIST | OFN_HIDEREADONLY),
              OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 0) << "the failed open leaves no window";
    EXPECT_TRUE(m_app.GetRecentFileList()->GetPaths().isEmpty());

    Prompter().AnswerFileDialog({});
    EXPECT_TRUE(m_app.OnCmdMsg(ID_FILE_OPEN, CN_COMMAND, nullptr, nullptr));
}

// A file that is there but cannot be read leaves the recent-file list as it was: not added,
// and not moved up when the list already held it, whether it opens a project of its own or
// goes into the play group of an open one.
TEST_F(SpanrecAppStartTest, AFailedOpenLeavesTheRecentFilesAsTheyWere) {
    ASSERT_TRUE(m_app.InitInstance());
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    const QString listed = WorkPath("listed.avi");
    const QString broken = WorkPath("broken.avi");
    const QString sample = WorkPath("sample.raw");
    ASSERT_TRUE(write(listed, "RIFF no video here") && write(broken, "RIFF nor here"));
    ASSERT_TRUE(CSampleRecording::Write(sample));
    m_app.AddToRecentFileList(listed);
    m_app.AddToRecentFileList(WorkPath("newer.playgrp"));

    for (const bool projectOpen : {false, true}) {
        if (projectOpen) {
            ASSERT_NE(m_app.OpenDocumentFile(sample), nullptr);
        }
        const QStringList before = m_app.GetRecentFileList()->GetPaths();
        for (const QString& path : {broken, listed}) {
            SCOPED_TRACE(testing::Message()
                         << path.toStdString() << (projectOpen ? " into a project" : ""));
            Prompter().AnswerFileDialog({path});
            Prompter().ExpectMessageBox(QStringLiteral("Error loading video from file."), IDOK);
            EXPECT_TRUE(m_app.OnCmdMsg(ID_FILE_OPEN, CN_COMMAND, nullptr, nullptr));
            EXPECT_EQ(m_app.GetRecentFileList()->GetPaths(), before);
        }
    }
}

TEST_F(SpanrecAppStartTest, DroppedFilesGoThroughTheRouter) {
    ASSERT_TRUE(m_app.InitInstance());
    auto* frame = dynamic_cast<CMainFrame*>(m_app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    // With both "open in existing" settings off every file makes a new project, each in turn.
    VARIANT off;
    off.vt = VT_I4;
    off.lVal = 0;
    ASSERT_TRUE(SUCCEEDED(frame->SetSetting("AppBehave:bOpenInExisting", off, -1)));
    ASSERT_TRUE(SUCCEEDED(frame->SetSetting("AppBehave:bOpenPGInExisting", off, -1)));
    // The missing video is reported; the missing group file adds nothing and says nothing.
    Prompter().ExpectMessageBox(QStringLiteral("Error loading video from file."), IDOK);
    frame->OnDropFiles({WorkPath("a.avi"), WorkPath("b.playgrp")});
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 2) << "only the group file's project is left";
}

TEST_F(SpanrecAppStartTest, DropsAreTakenAsCopyOrLinkNeverAsMove) {
    ASSERT_TRUE(m_app.InitInstance());
    QWidget* window = m_app.m_pMainWnd->GetQWidget();
    ASSERT_NE(window, nullptr);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(WorkPath("none.playgrp"))});
    const struct {
        Qt::DropActions offered;
        Qt::DropAction taken;  // IgnoreAction: the drop is refused
    } cases[] = {
        {Qt::CopyAction | Qt::MoveAction, Qt::CopyAction},
        {Qt::MoveAction | Qt::LinkAction, Qt::LinkAction},
        {Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction},
        {Qt::MoveAction, Qt::IgnoreAction},
    };
    int dropped = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.offered));
        const QPointF at(10, 10);
        // The source proposes a move, as a file manager does for a drag inside one disk.
        QDragEnterEvent enter(at.toPoint(), c.offered, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(window, &enter);
        QDragMoveEvent move(at.toPoint(), c.offered, &data, Qt::LeftButton, Qt::NoModifier);
        move.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(window, &move);
        QDropEvent drop(at, c.offered, &data, Qt::LeftButton, Qt::NoModifier);
        drop.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(window, &drop);
        const bool taken = c.taken != Qt::IgnoreAction;
        const QDropEvent* const events[] = {&enter, &move, &drop};
        for (const QDropEvent* e : events) {
            EXPECT_EQ(e->isAccepted(), taken);
            if (taken) {
                EXPECT_EQ(e->dropAction(), c.taken);
            }
        }
        dropped += taken ? 1 : 0;
        // The first drop taken opened the (missing, so empty) group file in a project; the
        // later ones went into that project.
        EXPECT_EQ(m_app.GetOpenDocumentCount(), dropped > 0 ? 2 : 0);
    }
}

}  // namespace

namespace {

// Sets an Options value of the program in the test's registry.
void SetOption(const QString& name, DWORD value) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tolvar\\Vidra OS\\Options", KEY_WRITE, &key),
        ERROR_SUCCESS);
    RegSetDword(key, name, value);
    RegCloseKey(key);
}

void SetUpdateServer(const QString& address) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tolvar\\Vidra OS\\Options", KEY_WRITE, &key),
        ERROR_SUCCESS);
    RegSetString(key, "Update Server", address);
    RegCloseKey(key);
}

TEST_F(SpanrecAppStartTest, StartupUpdateCheckAsksOnlyWhenItIsOn) {
    LocalHttpServer server;
    server.Answer(200, "Vidra 4.0 Player, 5.0.1.0, http://example/get, notes\n");
    SetUpdateServer(server.Address());

    // Off (the fixture's setting): no connection at all, nothing recorded.
    ASSERT_TRUE(m_app.InitInstance());
    EXPECT_EQ(server.Connections(), 0);
    EXPECT_EQ(CDlgUpdateCheck::ReadLastCheckTime(), 0);
    if (CSplashWnd* splash = CSplashWnd::Current())
        splash->HideSplashScreen();
    m_app.m_pMainWnd->DestroyWindow();
    m_app.ExitInstance();

    // On: the server names a newer version and the user is asked; No shows nothing more.
    SetOption("Update : bUpdateCheck", 1);
    Prompter().ExpectMessageBox(
        "A new version of this product is available for download.\nDo you wish to view "
        "information about the update now?",
        IDNO);
    ASSERT_TRUE(m_app.InitInstance());
    EXPECT_EQ(server.Paths(), QStringList{"/html/latest_versions.txt"});
    EXPECT_NE(CDlgUpdateCheck::ReadLastCheckTime(), 0);
    if (CSplashWnd* splash = CSplashWnd::Current())
        splash->HideSplashScreen();
    m_app.m_pMainWnd->DestroyWindow();
    m_app.ExitInstance();

    // Within the interval the next start does not ask again.
    ASSERT_TRUE(m_app.InitInstance());
    EXPECT_EQ(server.Paths().size(), 1);
}

}  // namespace

namespace {

TEST_F(SpanrecAppStartTest, FirstDocumentKindShowsItsPlaceholderView) {
    ASSERT_TRUE(m_app.InitInstance());
    CDocument* doc = m_app.CreateDocumentByKey("DT:Orig", QString(), TRUE);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->IsKindOf(RUNTIME_CLASS(CSpanrecDoc)));
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = doc->GetNextView(pos);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CSpanrecView)));
    EXPECT_TRUE(view->GetParentFrame()->IsKindOf(RUNTIME_CLASS(CChildFrame)));
    EXPECT_EQ(CSpanrecView::PlaceholderText(), "This is the main document of CSpanrecView.");
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 1);
}

}  // namespace
