#include "testsupport/IsolatedTest.h"

#include "platform/framework/ActionCmdUI.h"
#include "platform/framework/Archive.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/DC.h"
#include "platform/framework/DocManager.h"
#include "platform/framework/Document.h"
#include "platform/framework/FormView.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/MDIClientWnd.h"
#include "platform/framework/MDIFrameWnd.h"
#include "platform/framework/Menu.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/RecentFileList.h"
#include "platform/framework/RunningOperation.h"
#include "platform/framework/StatusBar.h"
#include "platform/framework/ToolBar.h"
#include "platform/framework/View.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/WriteDestinationCheck.h"
#include "platform/registry/Registry.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QtTest/QTest>

#include <functional>
#include <memory>
#include <utility>

namespace {

enum : UINT {
    ID_EVERYONE = 32800,
    ID_VIEW_ONLY,
    ID_DOC_ONLY,
    ID_TEMPLATE_ONLY,
    ID_CHILD_ONLY,
    ID_MAIN_ONLY,
    ID_APP_ONLY,
    ID_NOBODY,
    ID_TOGGLED,
    ID_INDICATOR = 200,
};

constexpr UINT kAlphaResource = 129;
constexpr UINT kBetaResource = 145;

// Who handled the commands, in order.
QStringList g_handled;
QStringList g_updates;
int g_docsAlive = 0;
bool g_toggledEnabled = false;

#define RECORDING_HANDLERS(name) \
    void OnEveryone() {          \
        g_handled.append(name);  \
    }                            \
    void OnOwn() {               \
        g_handled.append(name);  \
    }

class TestDoc : public CDocument {
    DECLARE_DYNCREATE(TestDoc)
    DECLARE_MESSAGE_MAP()
public:
    TestDoc() { ++g_docsAlive; }
    ~TestDoc() override { --g_docsAlive; }
    int m_value = 0;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << static_cast<int32_t>(m_value);
        else {
            int32_t v = 0;
            ar >> v;
            m_value = v;
        }
    }
    RECORDING_HANDLERS("doc")
};
IMPLEMENT_DYNCREATE(TestDoc, CDocument)
BEGIN_MESSAGE_MAP(TestDoc, CDocument)
ON_COMMAND(ID_DOC_ONLY, OnOwn)
END_MESSAGE_MAP()

// Fills its client area with the colour of its document's value.
class TestView : public CView {
    DECLARE_DYNCREATE(TestView)
    DECLARE_MESSAGE_MAP()
public:
    void OnDraw(CDC* pDC) override {
        CRect rc;
        GetClientRect(&rc);
        pDC->FillSolidRect(rc, RGB(0, 0, 255));
        pDC->FillSolidRect(CRect(0, 0, 10, 10), RGB(255, 0, 0));
    }
    void OnUpdateToggled(CCmdUI* pCmdUI) { pCmdUI->Enable(g_toggledEnabled); }
    void OnUpdateIndicator(CCmdUI* pCmdUI) {
        pCmdUI->Enable(g_toggledEnabled);
        pCmdUI->SetText("42 (h)");
    }
    void OnToggled() {}
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override {
        g_updates.append(QString("update %1").arg(lHint));
        CView::OnUpdate(pSender, lHint, pHint);
    }
    void OnKeyDown(UINT, UINT, UINT) { g_handled.append("key"); }
    RECORDING_HANDLERS("view")
};
IMPLEMENT_DYNCREATE(TestView, CView)
BEGIN_MESSAGE_MAP(TestView, CView)
ON_COMMAND(ID_EVERYONE, OnEveryone)
ON_COMMAND(ID_VIEW_ONLY, OnOwn)
ON_COMMAND(ID_TOGGLED, OnToggled)
ON_UPDATE_COMMAND_UI(ID_TOGGLED, OnUpdateToggled)
ON_UPDATE_COMMAND_UI(ID_INDICATOR, OnUpdateIndicator)
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

// Draws a red square at (110, 60) of a 1000 x 800 area.
class TestScrollView : public CScrollView {
    DECLARE_DYNCREATE(TestScrollView)
public:
    void OnInitialUpdate() override {
        SetScrollSizes(MM_TEXT, CSize(1000, 800));
        CScrollView::OnInitialUpdate();
    }
    void OnDraw(CDC* pDC) override {
        pDC->FillSolidRect(0, 0, 1000, 800, RGB(255, 255, 255));
        pDC->FillSolidRect(110, 60, 20, 20, RGB(255, 0, 0));
    }
};
IMPLEMENT_DYNCREATE(TestScrollView, CScrollView)

constexpr UINT kFormTemplate = 343;
constexpr int kFormControl = 1062;

class TestFormView : public CFormView {
    DECLARE_DYNCREATE(TestFormView)
public:
    TestFormView() : CFormView(kFormTemplate) {}
};
IMPLEMENT_DYNCREATE(TestFormView, CFormView)

class TestChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(TestChild)
    DECLARE_MESSAGE_MAP()
public:
    RECORDING_HANDLERS("child")
};
IMPLEMENT_DYNCREATE(TestChild, CMDIChildWnd)
BEGIN_MESSAGE_MAP(TestChild, CMDIChildWnd)
ON_COMMAND(ID_EVERYONE, OnEveryone)
ON_COMMAND(ID_CHILD_ONLY, OnOwn)
END_MESSAGE_MAP()

class TestTemplate : public CMultiDocTemplate {
    DECLARE_MESSAGE_MAP()
public:
    using CMultiDocTemplate::CMultiDocTemplate;
    RECORDING_HANDLERS("template")
};
BEGIN_MESSAGE_MAP(TestTemplate, CMultiDocTemplate)
ON_COMMAND(ID_EVERYONE, OnEveryone)
ON_COMMAND(ID_TEMPLATE_ONLY, OnOwn)
END_MESSAGE_MAP()

class TestMainFrame : public CMDIFrameWnd {
    DECLARE_MESSAGE_MAP()
public:
    CToolBar m_toolBar;
    CStatusBar m_statusBar;
    int OnCreate(LPCREATESTRUCT cs) {
        if (CMDIFrameWnd::OnCreate(cs) == -1)
            return -1;
        EnableDocking(CBRS_ALIGN_ANY);
        static const UINT kButtons[] = {ID_TOGGLED, ID_SEPARATOR, ID_MAIN_ONLY, ID_NOBODY};
        m_toolBar.CreateEx(this);
        m_toolBar.SetButtons(kButtons, 4);
        static const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR};
        m_statusBar.Create(this);
        m_statusBar.SetIndicators(kIndicators, 2);
        m_statusBar.SetTipText(1, "Reticle Position");
        return 0;
    }
    RECORDING_HANDLERS("main")
};
BEGIN_MESSAGE_MAP(TestMainFrame, CMDIFrameWnd)
ON_WM_CREATE()
ON_COMMAND(ID_EVERYONE, OnEveryone)
ON_COMMAND(ID_MAIN_ONLY, OnOwn)
END_MESSAGE_MAP()

// A frame hosted inside another window's view: its status pane names the frame.
class HostedFrame : public CFrameWnd {
    DECLARE_MESSAGE_MAP()
public:
    explicit HostedFrame(QString name) : m_name(std::move(name)) {}
    CStatusBar m_statusBar;
    QString m_name;
    int OnCreate(LPCREATESTRUCT cs) {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        static const UINT kIndicators[] = {ID_INDICATOR};
        m_statusBar.Create(this);
        m_statusBar.SetIndicators(kIndicators, 1);
        return 0;
    }
    void OnUpdateIndicator(CCmdUI* pCmdUI) { pCmdUI->SetText(m_name); }
    // Made as a window of its own, then put inside host as a child widget.
    bool CreateIn(CWnd* host) {
        if (!LoadFrame(kAlphaResource, WS_OVERLAPPEDWINDOW, nullptr))
            return false;
        GetQWidget()->setParent(host->GetQWidget(), Qt::Widget);
        GetQWidget()->show();
        return true;
    }
};
BEGIN_MESSAGE_MAP(HostedFrame, CFrameWnd)
ON_WM_CREATE()
ON_UPDATE_COMMAND_UI(ID_INDICATOR, OnUpdateIndicator)
END_MESSAGE_MAP()

class TestApp : public CWinApp {
    DECLARE_MESSAGE_MAP()
public:
    TestApp() : CWinApp("Reel Test") {}
    TestTemplate* m_alpha = nullptr;
    TestTemplate* m_beta = nullptr;
    TestMainFrame* m_main = nullptr;
    BOOL InitInstance() override {
        SetRegistryKey("Tolvar");
        LoadStdProfileSettings(10);
        m_alpha = new TestTemplate(kAlphaResource, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestChild),
                                   RUNTIME_CLASS(TestView));
        m_alpha->SetDocString("\nAlpha\nAlpha\nAlpha Files (*.alp)\n.alp\n\n");
        AddDocTemplate(m_alpha);
        m_beta = new TestTemplate(kBetaResource, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestChild),
                                  RUNTIME_CLASS(TestView));
        m_beta->SetDocString("\nBeta\nBeta\nBeta Files (*.bet)\n.bet\n\n");
        AddDocTemplate(m_beta);
        m_main = new TestMainFrame;
        if (!m_main->LoadFrame(128))
            return FALSE;
        m_main->SetTitle("Vidra Player");
        m_pMainWnd = m_main;
        m_main->DragAcceptFiles();
        m_main->MoveWindow(0, 0, 800, 600);
        m_main->ShowWindow(SW_SHOW);
        return TRUE;
    }
    bool m_swallowKeys = false;
    // With m_quitOnIdle, ends Run's loop from idle time with code 3 after updating the bars.
    bool m_quitOnIdle = false;
    int m_idleRounds = 0;
    BOOL OnIdle(LONG lCount) override {
        const BOOL more = CWinApp::OnIdle(lCount);
        if (m_quitOnIdle && lCount == 0 && ++m_idleRounds == 1)
            PostQuitMessage(3);
        return more;
    }
    std::vector<MSG> m_buttons;
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN) {
            g_handled.append("pre");
            if (m_swallowKeys)
                return TRUE;
        }
        if (pMsg->message == WM_LBUTTONDOWN)
            m_buttons.push_back(*pMsg);
        return CWinApp::PreTranslateMessage(pMsg);
    }
    RECORDING_HANDLERS("app")
};
BEGIN_MESSAGE_MAP(TestApp, CWinApp)
ON_COMMAND(ID_EVERYONE, OnEveryone)
ON_COMMAND(ID_APP_ONLY, OnOwn)
END_MESSAGE_MAP()

class AppTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        g_handled.clear();
        g_updates.clear();
        g_toggledEnabled = false;
        m_app = std::make_unique<TestApp>();
        ASSERT_TRUE(m_app->InitInstance());
    }
    void TearDown() override {
        if (m_app->m_pMainWnd)
            m_app->m_pMainWnd->DestroyWindow();
        m_app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(g_docsAlive, 0);
        IsolatedTest::TearDown();
    }
    TestMainFrame* Main() { return m_app->m_main; }
    TestDoc* NewAlpha() {
        return static_cast<TestDoc*>(m_app->m_alpha->OpenDocumentFile(QString()));
    }
    CView* FirstView(CDocument* doc) {
        POSITION pos = doc->GetFirstViewPosition();
        return doc->GetNextView(pos);
    }

    std::unique_ptr<TestApp> m_app;
};

TEST_F(AppTest, TemplatesCreateTitledDocumentsInMdiChildren) {
    CDocument* a1 = NewAlpha();
    CDocument* a2 = NewAlpha();
    CDocument* b1 = m_app->m_beta->OpenDocumentFile(QString());
    ASSERT_TRUE(a1 && a2 && b1);
    EXPECT_EQ(a1->GetTitle(), "Alpha1");
    EXPECT_EQ(a2->GetTitle(), "Alpha2");
    EXPECT_EQ(b1->GetTitle(), "Beta1");
    EXPECT_EQ(a1->GetDocTemplate(), m_app->m_alpha);
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 3);

    const std::vector<CMDIChildWnd*> children = Main()->GetMDIChildren();
    ASSERT_EQ(children.size(), 3u);
    CView* view = FirstView(b1);
    EXPECT_EQ(children.front(), view->GetParentFrame());
    EXPECT_EQ(Main()->MDIGetActive(), view->GetParentFrame());
    EXPECT_EQ(Main()->GetActiveView(), view);
    EXPECT_EQ(Main()->GetActiveFrame()->GetActiveDocument(), b1);
    EXPECT_EQ(view->GetParentFrame()->GetParentFrame(), Main());
    EXPECT_EQ(children.front()->GetSubWindow()->windowTitle(), "Beta1");

    // Activation by the MDI client's message brings the first document back.
    CFrameWnd* first = FirstView(a1)->GetParentFrame();
    Main()->GetMDIClient()->SendMessage(WM_MDIACTIVATE,
                                        reinterpret_cast<WPARAM>(first->GetSafeHwnd()));
    EXPECT_EQ(Main()->MDIGetActive(), first);
    EXPECT_EQ(Main()->GetMDIChildren().front(), first);

    // Cascading sets the children apart; the Window commands need an active child.
    auto* cascade = new QAction(Main()->GetQWidget());
    CActionCmdUI::BindCommand(cascade, ID_WINDOW_CASCADE, Main());
    CActionCmdUI::UpdateActions({cascade}, Main(), TRUE);
    EXPECT_TRUE(cascade->isEnabled());
    for (CMDIChildWnd* child : Main()->GetMDIChildren())
        child->GetSubWindow()->move(0, 0);
    cascade->trigger();
    QSet<QPoint> corners;
    for (CMDIChildWnd* child : Main()->GetMDIChildren())
        corners.insert(child->GetSubWindow()->pos());
    EXPECT_EQ(corners.size(), 3);
}

// A client object of the program's own that records the child frames it hears of.
class TestClient : public CMDIClientWnd {
public:
    using CMDIClientWnd::CMDIClientWnd;
    std::vector<std::pair<std::string, CMDIChildWnd*>> heard;

    void OnMDIChildCreated(CMDIChildWnd* pChild) override {
        // The child is whole by then: its window and its view exist.
        EXPECT_NE(pChild->GetDescendantWindow(AFX_IDW_PANE_FIRST), nullptr);
        heard.emplace_back("created", pChild);
    }
    void OnMDIChildDestroying(CMDIChildWnd* pChild) override {
        EXPECT_NE(pChild->GetSafeHwnd(), nullptr);
        heard.emplace_back("destroying", pChild);
    }
};

TEST_F(AppTest, SubclassedClientHearsOfEveryChildMadeAndDestroyed) {
    TestClient client(Main());
    QWidget* area = Main()->GetMDIClient()->GetQWidget();
    ASSERT_TRUE(Main()->SubclassMDIClient(&client));
    EXPECT_EQ(Main()->GetMDIClient(), &client);
    EXPECT_EQ(client.GetQWidget(), area);
    EXPECT_FALSE(Main()->SubclassMDIClient(&client));

    auto* a = dynamic_cast<CMDIChildWnd*>(FirstView(NewAlpha())->GetParentFrame());
    auto* b = dynamic_cast<CMDIChildWnd*>(FirstView(NewAlpha())->GetParentFrame());
    ASSERT_TRUE(a && b);
    // The client's own messages still work.
    client.SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->GetSafeHwnd()));
    EXPECT_EQ(Main()->MDIGetActive(), a);
    a->SendMessage(WM_CLOSE);
    using Heard = std::vector<std::pair<std::string, CMDIChildWnd*>>;
    EXPECT_EQ(client.heard, (Heard{{"created", a}, {"created", b}, {"destroying", a}}));
    // The frame goes before the client object does.
    Main()->DestroyWindow();
    EXPECT_EQ(client.heard.size(), 4u);
}

TEST_F(AppTest, UpdateAllViewsSkipsTheSender) {
    CDocument* doc = NewAlpha();
    CView* view = FirstView(doc);
    EXPECT_EQ(g_updates, QStringList{"update 0"});  // the initial update
    g_updates.clear();
    doc->UpdateAllViews(nullptr, 7);
    doc->UpdateAllViews(view, 8);
    EXPECT_EQ(g_updates, QStringList{"update 7"});
}

TEST_F(AppTest, TemplatesMatchFilesByExtensionOfTheLastComponent) {
    const struct {
        QString path;
        CDocTemplate::Confidence alpha;
    } cases[] = {
        {"clip.alp", CDocTemplate::yesAttemptNative},
        {"/data/CLIP.ALP", CDocTemplate::yesAttemptNative},
        {"clip.alpx", CDocTemplate::yesAttemptForeign},
        {"clip.bet", CDocTemplate::yesAttemptForeign},
        {"folder.alp/clip", CDocTemplate::yesAttemptForeign},
        {"alp", CDocTemplate::yesAttemptForeign},
    };
    for (const auto& c : cases) {
        CDocument* match = reinterpret_cast<CDocument*>(1);
        EXPECT_EQ(m_app->m_alpha->MatchDocType(c.path, match), c.alpha) << c.path.toStdString();
        EXPECT_EQ(match, nullptr);
    }
}

TEST_F(AppTest, CommandsRouteFromActiveViewToApplication) {
    NewAlpha();
    const struct {
        UINT id;
        QString handler;
    } cases[] = {
        {ID_EVERYONE, "view"},          {ID_VIEW_ONLY, "view"},   {ID_DOC_ONLY, "doc"},
        {ID_TEMPLATE_ONLY, "template"}, {ID_CHILD_ONLY, "child"}, {ID_MAIN_ONLY, "main"},
        {ID_APP_ONLY, "app"},
    };
    for (const auto& c : cases) {
        g_handled.clear();
        Main()->SendMessage(WM_COMMAND, c.id);
        EXPECT_EQ(g_handled, QStringList{c.handler}) << c.id;
    }
    g_handled.clear();
    Main()->SendMessage(WM_COMMAND, ID_NOBODY);
    EXPECT_TRUE(g_handled.isEmpty());

    // Without a document window the main frame comes first, the application last.
    Main()->MDIGetActive()->SendMessage(WM_CLOSE);
    g_handled.clear();
    Main()->SendMessage(WM_COMMAND, ID_EVERYONE);
    Main()->SendMessage(WM_COMMAND, ID_APP_ONLY);
    EXPECT_EQ(g_handled, (QStringList{"main", "app"}));
}

TEST_F(AppTest, ClosingTheLastViewDeletesTheDocument) {
    NewAlpha();
    m_app->m_beta->OpenDocumentFile(QString());
    ASSERT_EQ(g_docsAlive, 2);
    Main()->MDIGetActive()->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_docsAlive, 1);
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 1);
    EXPECT_EQ(Main()->GetMDIChildren().size(), 1u);
    EXPECT_EQ(Main()->MDIGetActive(), Main()->GetMDIChildren().front());
    POSITION pos = m_app->m_beta->GetFirstDocPosition();
    EXPECT_EQ(pos, nullptr);
}

TEST_F(AppTest, SaveModifiedPromptDecidesTheClose) {
    TestDoc* doc = NewAlpha();
    doc->m_value = 77;
    doc->SetModifiedFlag();
    CFrameWnd* frame = Main()->MDIGetActive();

    Prompter().ExpectMessageBox("Save changes to Alpha1?", IDCANCEL);
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_docsAlive, 1);
    EXPECT_EQ(Prompter().Prompts().back().caption, "Reel Test");

    // Yes asks for a name, writes the file and closes.
    const QString path = WorkPath("saved.alp");
    Prompter().ExpectMessageBox("Save changes to Alpha1?", IDYES);
    Prompter().AnswerFileDialog({path});
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_docsAlive, 0);
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_FALSE(QFile::exists(path + ".saving"));

    auto* reopened = static_cast<TestDoc*>(m_app->OpenDocumentFile(path));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->m_value, 77);
    EXPECT_EQ(reopened->GetTitle(), "saved.alp");
    EXPECT_EQ(reopened->GetDocTemplate(), m_app->m_alpha);
    // The same path again brings the open document forward.
    EXPECT_EQ(m_app->OpenDocumentFile(path), reopened);
    EXPECT_EQ(g_docsAlive, 1);

    // No drops the changes.
    reopened->SetModifiedFlag();
    Prompter().ExpectMessageBox("Save changes to saved.alp?", IDNO);
    Main()->MDIGetActive()->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_docsAlive, 0);
}

TEST_F(AppTest, ClosingBySubWindowAndMainFrameAsksFirst) {
    TestDoc* doc = NewAlpha();
    doc->SetModifiedFlag();
    QMdiSubWindow* sub = Main()->MDIGetActive()->GetSubWindow();

    // The sub-window's own close button goes through the frame's close.
    Prompter().ExpectMessageBox("Save changes to Alpha1?", IDCANCEL);
    sub->close();
    EXPECT_EQ(g_docsAlive, 1);
    EXPECT_EQ(Main()->GetMDIChildren().size(), 1u);

    // Closing the main window asks for every document, then closes them all.
    NewAlpha();
    Prompter().ExpectMessageBox("Save changes to Alpha1?", IDCANCEL);
    Main()->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_docsAlive, 2);
    EXPECT_EQ(m_app->m_pMainWnd, Main());

    Prompter().ExpectMessageBox("Save changes to Alpha1?", IDNO);
    Main()->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_docsAlive, 0);
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
}

// A look-up that wrapped the sub-window (its frame's parent) leaves its close button asking
// the frame first.
TEST_F(AppTest, SubWindowLookedUpStillAsksBeforeItCloses) {
    TestDoc* doc = NewAlpha();
    doc->SetModifiedFlag();
    CMDIChildWnd* child = Main()->MDIGetActive();
    QMdiSubWindow* sub = child->GetSubWindow();
    ASSERT_NE(CWnd::FromWidget(sub), nullptr);
    Prompter().ExpectMessageBox("Save changes to Alpha1?", IDCANCEL);
    sub->close();
    EXPECT_EQ(g_docsAlive, 1);
    ASSERT_EQ(Main()->GetMDIChildren().size(), 1u);
    Prompter().ExpectMessageBox("Save changes to Alpha1?", IDNO);
    sub->close();
    EXPECT_EQ(g_docsAlive, 0);
    EXPECT_TRUE(Main()->GetMDIChildren().empty());
}

TEST_F(AppTest, FailedOpenAndSaveAreReportedAndLeaveNothingBehind) {
    const QString truncated = WorkPath("truncated.alp");
    {
        QFile f(truncated);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("ab");
    }
    Prompter().ExpectMessageBox(
        QString("Failed to open document %1.\nAn attempt was made to read %1 past its end.")
            .arg(truncated),
        IDOK);
    EXPECT_EQ(m_app->OpenDocumentFile(truncated), nullptr);
    EXPECT_EQ(g_docsAlive, 0);
    EXPECT_TRUE(Main()->GetMDIChildren().empty());
    EXPECT_TRUE(m_app->GetRecentFileList()->GetPaths().isEmpty());

    // A save into a folder that is not there fails and keeps the document as it was.
    TestDoc* doc = NewAlpha();
    doc->SetModifiedFlag();
    const QString nowhere = WorkPath("missing/x.alp");
    Prompter().ExpectMessageBox(
        QString("Failed to save document %1.\n%1 contains an invalid path.").arg(nowhere), IDOK);
    EXPECT_FALSE(doc->DoSave(nowhere));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), "Alpha1");
}

// A save to another file asks the installed check first and writes nothing when it refuses;
// a document writing its own file is not asked.
TEST_F(AppTest, SavesAskTheWriteCheckBeforeWritingAnotherFile) {
    QStringList asked;
    bool allow = false;
    SetWriteDestinationCheck([&](const QString& path) {
        asked << path;
        return allow;
    });
    TestDoc* doc = NewAlpha();
    doc->SetModifiedFlag();
    const QString held = WorkPath("held.alp");
    EXPECT_FALSE(doc->DoSave(held));
    EXPECT_FALSE(QFile::exists(held));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(asked, QStringList{held});
    allow = true;
    EXPECT_TRUE(doc->DoSave(held));
    EXPECT_TRUE(QFile::exists(held));
    allow = false;
    EXPECT_TRUE(doc->DoSave(held)) << "its own file";
    EXPECT_EQ(asked.size(), 2);
    SetWriteDestinationCheck({});
}

TEST_F(AppTest, RecentFilesPersistInTheProfile) {
    for (int i = 0; i < 12; ++i) {
        TestDoc* doc = NewAlpha();
        doc->SetPathName(WorkPath(QString("f%1.alp").arg(i)));
    }
    NewAlpha()->SetPathName(WorkPath("f3.alp"));
    EXPECT_EQ(m_app->GetRecentFileList()->GetPaths().size(), 10);
    EXPECT_EQ(m_app->ExitInstance(), 0);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Tolvar\\Reel Test\\Recent File List", 0,
                           KEY_READ, &key),
              ERROR_SUCCESS);
    QString first;
    QString tenth;
    QString eleventh;
    EXPECT_EQ(RegQueryString(key, "File1", &first), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryString(key, "File10", &tenth), ERROR_SUCCESS);
    EXPECT_NE(RegQueryString(key, "File11", &eleventh), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(first, WorkPath("f3.alp"));
    EXPECT_EQ(tenth, WorkPath("f2.alp"));

    CRecentFileList readBack("Recent File List", "File%d", 10);
    readBack.ReadList();
    EXPECT_EQ(readBack.GetPaths(), m_app->GetRecentFileList()->GetPaths());
}

TEST_F(AppTest, CommandLineSwitchesAreNeverFiles) {
    const struct {
        QStringList args;
        int command;
        QString file;
        bool embedded;
        bool automated;
    } cases[] = {
        {{}, CCommandLineInfo::FileNew, "", false, false},
        {{"/Embedding"}, CCommandLineInfo::FileNew, "", true, false},
        {{"-embedding", "x.alp"}, CCommandLineInfo::FileOpen, "x.alp", true, false},
        {{"/AUTOMATION"}, CCommandLineInfo::FileNew, "", false, true},
        {{"-Unregserver"}, CCommandLineInfo::AppUnregister, "", false, false},
        {{"/Unregister"}, CCommandLineInfo::AppUnregister, "", false, false},
        {{"/home/user/clip.alp"}, CCommandLineInfo::FileOpen, "/home/user/clip.alp", false, false},
        {{"-unknown", "a.alp", "b.alp"}, CCommandLineInfo::FileOpen, "a.alp", false, false},
    };
    for (const auto& c : cases) {
        CCommandLineInfo info;
        m_app->SetArguments(c.args);
        m_app->ParseCommandLine(info);
        EXPECT_EQ(static_cast<int>(info.m_nShellCommand), c.command)
            << c.args.join(' ').toStdString();
        EXPECT_EQ(info.m_strFileName, c.file);
        EXPECT_EQ(info.m_bRunEmbedded != FALSE, c.embedded);
        EXPECT_EQ(info.m_bRunAutomated != FALSE, c.automated);
    }

    // Started embedded with a file: nothing opens.
    CCommandLineInfo embedded;
    m_app->SetArguments({"/Embedding", WorkPath("x.alp")});
    m_app->ParseCommandLine(embedded);
    EXPECT_TRUE(m_app->ProcessShellCommand(embedded));
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 0);

    // Unregistering removes the shell types through the document manager and ends the start.
    struct CountingManager : CDocManager {
        int* unregistered;
        explicit CountingManager(int* counter) : unregistered(counter) {}
        void UnregisterShellFileTypes() override { ++*unregistered; }
    };
    int unregistered = 0;
    CDocManager* own = m_app->m_pDocManager;
    m_app->m_pDocManager = new CountingManager(&unregistered);
    CCommandLineInfo unregister;
    m_app->SetArguments({"-Unregserver"});
    m_app->ParseCommandLine(unregister);
    EXPECT_FALSE(m_app->ProcessShellCommand(unregister));
    EXPECT_EQ(unregistered, 1);
    delete m_app->m_pDocManager;
    m_app->m_pDocManager = own;

    // A file that is not there ends the start with a message.
    CCommandLineInfo missing;
    m_app->SetArguments({WorkPath("missing.alp")});
    m_app->ParseCommandLine(missing);
    Prompter().ExpectMessageBox(
        QString("Cannot open the file %1: it does not exist.").arg(WorkPath("missing.alp")), IDOK);
    EXPECT_FALSE(m_app->ProcessShellCommand(missing));
}

TEST_F(AppTest, IdleUpdatesToolbarAndStatusPanes) {
    NewAlpha();
    QAction* toggled = Main()->m_toolBar.GetButtonAction(0);
    QAction* mainOnly = Main()->m_toolBar.GetButtonAction(2);
    QAction* nobody = Main()->m_toolBar.GetButtonAction(3);
    ASSERT_TRUE(toggled && mainOnly && nobody);

    for (const bool enabled : {false, true, false}) {
        g_toggledEnabled = enabled;
        m_app->OnIdle(0);
        EXPECT_EQ(toggled->isEnabled(), enabled);
        EXPECT_TRUE(mainOnly->isEnabled());
        EXPECT_FALSE(nobody->isEnabled());
        EXPECT_EQ(Main()->m_statusBar.GetShownPaneText(1), enabled ? "42 (h)" : "");
    }
    EXPECT_EQ(Main()->m_statusBar.GetTipText(1), "Reticle Position");

    // A button sends its command through the same routing.
    g_handled.clear();
    mainOnly->trigger();
    EXPECT_EQ(g_handled, QStringList{"main"});

    // Without a view the view's handlers are gone: the pane goes blank, the button grey.
    g_toggledEnabled = true;
    Main()->MDIGetActive()->SendMessage(WM_CLOSE);
    m_app->OnIdle(0);
    EXPECT_FALSE(toggled->isEnabled());
    EXPECT_EQ(Main()->m_statusBar.GetShownPaneText(1), "");

    Main()->ShowControlBar(&Main()->m_toolBar, FALSE, FALSE);
    EXPECT_TRUE(Main()->m_toolBar.GetQWidget()->isHidden());
}

TEST_F(AppTest, IdleUpdatesTheBarsOfFramesHostedInViews) {
    // A frame inside the MDI child's view, and one inside a plain child window of that frame:
    // the program's idle time reaches both through their hosts.
    CView* view = FirstView(NewAlpha());
    auto* outer = new HostedFrame("outer");
    ASSERT_TRUE(outer->CreateIn(view));
    CWnd holder;
    ASSERT_TRUE(
        holder.Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), outer, 7));
    auto* inner = new HostedFrame("inner");
    ASSERT_TRUE(inner->CreateIn(&holder));
    EXPECT_EQ(outer->m_statusBar.GetShownPaneText(0), "");
    m_app->OnIdle(0);
    EXPECT_EQ(outer->m_statusBar.GetShownPaneText(0), "outer");
    EXPECT_EQ(inner->m_statusBar.GetShownPaneText(0), "inner");

    // A frame that is gone is left out; the others go on.
    inner->DestroyWindow();
    outer->m_name = "again";
    m_app->OnIdle(0);
    EXPECT_EQ(outer->m_statusBar.GetShownPaneText(0), "again");
    holder.DestroyWindow();
    outer->DestroyWindow();
}

TEST_F(AppTest, WidgetTreeAndViewPaintingThroughTheChildFrame) {
    CDocument* doc = NewAlpha();
    CView* view = FirstView(doc);
    auto* main = qobject_cast<QMainWindow*>(Main()->GetQWidget());
    ASSERT_NE(main, nullptr);
    auto* area = qobject_cast<QMdiArea*>(main->centralWidget());
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(Main()->GetMDIClient()->GetQWidget(), area);
    ASSERT_EQ(area->subWindowList().size(), 1);
    QMdiSubWindow* sub = area->subWindowList().front();
    auto* childMain = qobject_cast<QMainWindow*>(sub->widget());
    ASSERT_NE(childMain, nullptr);
    EXPECT_EQ(childMain, view->GetParentFrame()->GetQWidget());
    EXPECT_EQ(childMain->centralWidget(), view->GetQWidget());
    EXPECT_EQ(view->GetDlgCtrlID(), static_cast<int>(AFX_IDW_PANE_FIRST));
    EXPECT_EQ(main->findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(main->statusBar(), Main()->m_statusBar.GetQWidget());

    sub->resize(300, 200);
    QCoreApplication::processEvents();
    const QImage shot = main->grab().toImage();
    const QPoint origin = view->GetQWidget()->mapTo(main, QPoint(0, 0));
    const QSize size = view->GetQWidget()->size();
    ASSERT_GT(size.width(), 20);
    ASSERT_GT(size.height(), 20);
    EXPECT_EQ(QColor(shot.pixel(origin + QPoint(2, 2))), QColor(255, 0, 0));
    EXPECT_EQ(QColor(shot.pixel(origin + QPoint(15, 15))), QColor(0, 0, 255));
    EXPECT_EQ(QColor(shot.pixel(origin + QPoint(size.width() - 1, size.height() - 1))),
              QColor(0, 0, 255));
}

TEST_F(AppTest, PopupMenuReturnsTheChosenCommand) {
    NewAlpha();
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_VIEW_ONLY, "View");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_TOGGLED, "Toggled");
    EXPECT_EQ(menu.GetMenuItemCount(), 3);
    EXPECT_EQ(menu.GetMenuItemID(2), ID_TOGGLED);

    QString chosen;
    bool toggledEnabled = true;
    const PopupMenuTracker previous =
        AfxSetPopupMenuTracker([&](QMenu* m, const QPoint&) -> QAction* {
            QAction* result = nullptr;
            for (QAction* a : m->actions()) {
                if (a->text() == "Toggled")
                    toggledEnabled = a->isEnabled();
                if (a->text() == chosen)
                    result = a;
            }
            return result;
        });
    CWnd* frame = Main()->MDIGetActive();
    chosen = "View";
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, frame), static_cast<BOOL>(ID_VIEW_ONLY));
    EXPECT_FALSE(toggledEnabled);  // its update handler ran before the menu showed
    EXPECT_TRUE(g_handled.isEmpty());

    chosen = "View";
    EXPECT_TRUE(menu.TrackPopupMenu(0, 10, 10, frame));
    EXPECT_EQ(g_handled, QStringList{"view"});

    chosen = "nothing";
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, frame), 0);
    AfxSetPopupMenuTracker(previous);
}

TEST_F(AppTest, FilesDroppedOnTheMainFrameOpen) {
    const QString path = WorkPath("dropped.bet");
    {
        TestDoc* doc = static_cast<TestDoc*>(m_app->m_beta->OpenDocumentFile(QString()));
        doc->m_value = 5;
        ASSERT_TRUE(doc->OnSaveDocument(path));
        doc->OnCloseDocument();
    }
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QWidget* target = Main()->GetQWidget();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    ASSERT_EQ(m_app->GetOpenDocumentCount(), 1);
    auto* doc = static_cast<TestDoc*>(Main()->GetActiveDocument());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_value, 5);
    EXPECT_EQ(doc->GetDocTemplate(), m_app->m_beta);
    EXPECT_EQ(m_app->GetRecentFileList()->GetPaths().front(), path);
}

TEST_F(AppTest, ApplicationSeesInputFirstAndMaySwallowIt) {
    CView* view = FirstView(NewAlpha());
    QWidget* widget = view->GetQWidget();
    QTest::keyPress(widget, Qt::Key_A);
    EXPECT_EQ(g_handled, (QStringList{"pre", "key"}));

    g_handled.clear();
    m_app->m_swallowKeys = true;
    QTest::keyPress(widget, Qt::Key_A);
    EXPECT_EQ(g_handled, QStringList{"pre"});

    // A press on a plain widget inside the view is the view's message, in its co-ordinates,
    // seen once although Qt hands it on to the parents.
    auto* plain = new QWidget(widget);
    plain->setGeometry(20, 30, 40, 40);
    plain->show();
    QTest::mousePress(plain, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    ASSERT_EQ(m_app->m_buttons.size(), 1u);
    EXPECT_EQ(m_app->m_buttons[0].hwnd, view->GetSafeHwnd());
    EXPECT_EQ(m_app->m_buttons[0].lParam, MAKELPARAM(25, 36));
    QTest::mouseRelease(plain, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    QTest::mousePress(plain, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    EXPECT_EQ(m_app->m_buttons.size(), 2u);
}

TEST_F(AppTest, RunUpdatesTheBarsWhenIdleUntilTheQuit) {
    NewAlpha();
    g_toggledEnabled = true;
    QAction* toggled = Main()->m_toolBar.GetButtonAction(0);
    toggled->setEnabled(false);
    m_app->m_quitOnIdle = true;
    EXPECT_EQ(m_app->Run(), 3);
    EXPECT_EQ(m_app->m_idleRounds, 1);
    EXPECT_TRUE(toggled->isEnabled());
    EXPECT_FALSE(m_app->IsRunning());
}

TEST_F(AppTest, ScrollViewShowsTheScrolledPart) {
    auto* scrolling = new CMultiDocTemplate(150, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestChild),
                                            RUNTIME_CLASS(TestScrollView));
    m_app->AddDocTemplate(scrolling);
    auto* view = static_cast<TestScrollView*>(FirstView(scrolling->OpenDocumentFile(QString())));
    ASSERT_NE(view, nullptr);
    QScrollArea* area = view->GetScrollArea();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(view->GetParentFrame()->GetQWidget()->findChild<QScrollArea*>(), area);
    EXPECT_EQ(view->GetTotalSize(), CSize(1000, 800));
    Main()->MDIGetActive()->GetSubWindow()->resize(300, 200);
    QCoreApplication::processEvents();
    EXPECT_GT(area->horizontalScrollBar()->maximum(), 0);

    view->ScrollToPosition(CPoint(100, 50));
    EXPECT_EQ(view->GetScrollPosition(), CPoint(100, 50));
    const QImage shot = area->viewport()->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(15, 15)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(shot.pixel(5, 5)), QColor(255, 255, 255));

    // The view's own window going takes the scroll area with it.
    view->DestroyWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Main()->MDIGetActive()->GetQWidget()->findChild<QScrollArea*>(), nullptr);
}

TEST_F(AppTest, FormViewIsBuiltFromItsTemplate) {
    auto* forms = new CMultiDocTemplate(151, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestChild),
                                        RUNTIME_CLASS(TestFormView));
    m_app->AddDocTemplate(forms);

    // Without its template the form cannot be made, and nothing is left open.
    Prompter().ExpectMessageBox("Failed to create empty document.", IDOK);
    EXPECT_EQ(forms->OpenDocumentFile(QString()), nullptr);
    EXPECT_EQ(g_docsAlive, 0);
    EXPECT_TRUE(Main()->GetMDIChildren().empty());

    AfxSetFormTemplateBuilder([](CWnd* form, UINT nID, CSize* size) -> BOOL {
        if (nID != kFormTemplate)
            return FALSE;
        auto* control = new CWnd;
        control->Create(nullptr, "list", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 30), form,
                        kFormControl);
        *size = CSize(400, 300);
        return TRUE;
    });
    CDocument* doc = forms->OpenDocumentFile(QString());
    AfxSetFormTemplateBuilder(nullptr);
    ASSERT_NE(doc, nullptr);
    auto* view = static_cast<TestFormView*>(FirstView(doc));
    CWnd* control = view->GetDlgItem(kFormControl);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetWindowText(), "list");
    EXPECT_EQ(view->GetTotalSize(), CSize(400, 300));
    delete control;
}

TEST_F(AppTest, ClosingTheMainWindowEndsTheLoop) {
    NewAlpha();
    Main()->PostMessage(WM_CLOSE);
    EXPECT_EQ(m_app->Run(), 0);
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
    EXPECT_EQ(g_docsAlive, 0);
}

// A close arriving while an operation that uses the document pumps messages: the operation
// is cancelled and nothing it uses goes before it has ended; then the close goes on with its
// own question, whose Cancel keeps everything open.
TEST_F(AppTest, CloseDuringAnOperationCancelsItFirstAndGoesOnAfterIt) {
    using Close = std::function<void(CDocument*)>;
    const Close frame = [](CDocument* doc) {
        POSITION pos = doc->GetFirstViewPosition();
        doc->GetNextView(pos)->GetParentFrame()->SendMessage(WM_CLOSE);
    };
    const Close document = [](CDocument* doc) { doc->OnCloseDocument(); };
    const Close closeAll = [this](CDocument*) { m_app->CloseAllDocuments(FALSE); };
    const Close mainWindow = [this](CDocument*) { Main()->SendMessage(WM_CLOSE); };
    const Close exit = [this](CDocument*) { Main()->SendMessage(WM_COMMAND, ID_APP_EXIT); };
    struct Case {
        const char* name;
        Close close;
        bool modified;
        int answer;    // to "Save changes to Alpha1?"; 0: not asked
        int docsLeft;  // of the operation's document and another one
        bool mainGoes;
    };
    const Case cases[] = {
        {"frame", frame, false, 0, 1, false},
        {"frame, No", frame, true, IDNO, 1, false},
        {"frame, Yes", frame, true, IDYES, 1, false},
        {"frame, Cancel", frame, true, IDCANCEL, 2, false},
        {"document", document, true, 0, 1, false},
        {"close all", closeAll, true, 0, 0, false},
        {"main window", mainWindow, false, 0, 0, true},
        {"main window, No", mainWindow, true, IDNO, 0, true},
        {"main window, Cancel", mainWindow, true, IDCANCEL, 2, false},
        {"exit, No", exit, true, IDNO, 0, true},
        {"exit, Cancel", exit, true, IDCANCEL, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        TestDoc* doc = NewAlpha();
        ASSERT_NE(m_app->m_beta->OpenDocumentFile(QString()), nullptr);
        doc->SetModifiedFlag(c.modified);
        const std::size_t promptsBefore = Prompter().Prompts().size();
        int cancels = 0;
        {
            CRunningOperation operation({doc}, [&cancels] { ++cancels; });
            // The close comes through the operation's own message loop.
            c.close(doc);
            EXPECT_EQ(cancels, 1);
            EXPECT_TRUE(operation.IsCancelled());
            // The operation winds down, still letting messages through: nothing goes yet and
            // nothing is asked while it runs.
            for (int i = 0; i < 3; ++i)
                QCoreApplication::processEvents();
            POSITION alpha = m_app->m_alpha->GetFirstDocPosition();
            ASSERT_NE(alpha, nullptr);
            EXPECT_EQ(m_app->m_alpha->GetNextDoc(alpha), doc);
            EXPECT_NE(doc->GetFirstViewPosition(), nullptr);
            EXPECT_EQ(m_app->m_pMainWnd, Main());
            EXPECT_EQ(Prompter().Prompts().size(), promptsBefore);
            if (c.answer != 0)
                Prompter().ExpectMessageBox("Save changes to Alpha1?", c.answer);
            if (c.answer == IDYES)
                Prompter().AnswerFileDialog({WorkPath("kept.alp")});
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(Prompter().Prompts().size(),
                  promptsBefore + (c.answer != 0 ? 1u : 0u) + (c.answer == IDYES ? 1u : 0u));
        EXPECT_EQ(g_docsAlive, c.docsLeft);
        EXPECT_EQ(m_app->m_pMainWnd == nullptr, c.mainGoes);
        EXPECT_EQ(cancels, 1);
        if (c.docsLeft == 2) {
            // The program still answers: the document closes on the next try.
            doc->SetModifiedFlag(FALSE);
            doc->OnCloseDocument();
            EXPECT_EQ(g_docsAlive, 1);
            EXPECT_NE(m_app->m_beta->GetFirstDocPosition(), nullptr);
        }
    }
}

// Closing what an operation does not use leaves it alone, and a second close while the first
// waits is not run twice.
TEST_F(AppTest, OperationsAreCancelledOnlyByClosesOfWhatTheyUse) {
    TestDoc* used = NewAlpha();
    TestDoc* unused = NewAlpha();
    int cancels = 0;
    {
        CRunningOperation operation({used}, [&cancels] { ++cancels; });
        EXPECT_TRUE(CRunningOperation::IsRunning(used));
        EXPECT_FALSE(CRunningOperation::IsRunning(unused));
        unused->OnCloseDocument();
        EXPECT_EQ(cancels, 0);
        EXPECT_EQ(g_docsAlive, 1);
        POSITION pos = used->GetFirstViewPosition();
        CFrameWnd* frame = used->GetNextView(pos)->GetParentFrame();
        frame->SendMessage(WM_CLOSE);
        frame->SendMessage(WM_CLOSE);
        EXPECT_EQ(cancels, 2);
        EXPECT_EQ(g_docsAlive, 1);
    }
    EXPECT_FALSE(CRunningOperation::IsRunning(used));
    QCoreApplication::processEvents();
    EXPECT_EQ(g_docsAlive, 0);
    EXPECT_EQ(Main()->GetMDIChildren().size(), 0u);
}

// A bar of the program's own: 24 pixels high, counting its idle updates.
class TestBar : public CControlBar {
public:
    int m_updates = 0;
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override {
        return bHorz ? CSize(100, 24) : CSize(30, 100);
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override { ++m_updates; }
};

TEST_F(AppTest, ControlBarsDockShowAndUpdate) {
    TestBar bar;
    ASSERT_TRUE(bar.Create(Main(), WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 0xE810));
    auto* main = static_cast<QMainWindow*>(Main()->GetQWidget());
    auto* strip = qobject_cast<QToolBar*>(bar.GetDockWidget());
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(main->toolBarArea(strip), Qt::BottomToolBarArea);
    EXPECT_EQ(bar.GetParentFrame(), Main());
    EXPECT_EQ(Main()->GetControlBar(0xE810), &bar);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.GetQWidget()->height(), 24);

    m_app->OnIdle(0);
    EXPECT_EQ(bar.m_updates, 1);
    Main()->ShowControlBar(&bar, FALSE, FALSE);
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_TRUE(strip->isHidden());
    Main()->ShowControlBar(&bar, TRUE, FALSE);
    EXPECT_TRUE(bar.IsVisible());

    // The toolbar docks on the side asked for and swaps its image sets.
    Main()->m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
    Main()->DockControlBar(&Main()->m_toolBar, AFX_IDW_DOCKBAR_LEFT);
    QToolBar* tools = Main()->m_toolBar.GetToolBarCtrl();
    EXPECT_EQ(main->toolBarArea(tools), Qt::LeftToolBarArea);
    EXPECT_TRUE(tools->isMovable());
    QImage small(3 * 16, 16, QImage::Format_RGB32);
    small.fill(Qt::red);
    QImage large(3 * 32, 32, QImage::Format_RGB32);
    large.fill(Qt::blue);
    Main()->m_toolBar.SetImages(small, CSize(16, 16), FALSE);
    Main()->m_toolBar.SetImages(large, CSize(32, 32), TRUE);
    EXPECT_EQ(tools->iconSize(), QSize(16, 16));
    EXPECT_FALSE(Main()->m_toolBar.GetButtonAction(0)->icon().isNull());
    EXPECT_TRUE(Main()->m_toolBar.GetButtonAction(1)->icon().isNull());  // the separator
    Main()->m_toolBar.UseLargeImages(TRUE);
    EXPECT_EQ(tools->iconSize(), QSize(32, 32));

    // The View menu's toolbar command flips the bar with that id.
    Main()->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(tools->isHidden());
    Main()->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_FALSE(tools->isHidden());
    bar.DestroyWindow();
    EXPECT_EQ(Main()->GetControlBar(0xE810), nullptr);
}

// Menus and accelerators from a resource table, as the resource chain will give them.
class ResourceTablesTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        AfxSetMenuLoader([](UINT nID, CMenu& menu) -> BOOL {
            if (nID != 128 && nID != kAlphaResource)
                return FALSE;
            CMenu file;
            file.CreatePopupMenu();
            file.AppendMenu(MF_STRING, ID_MAIN_ONLY, "Main");
            file.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
            file.AppendMenu(MF_SEPARATOR);
            if (nID == kAlphaResource)
                file.AppendMenu(MF_STRING, ID_TOGGLED, "Toggled");
            menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(&file),
                            nID == 128 ? "&File" : "&Alpha");
            return TRUE;
        });
        AfxSetAcceleratorLoader([](UINT nID) {
            return nID == 128 ? std::vector<ACCEL>{{FVIRTKEY | FCONTROL, 'M', ID_MAIN_ONLY},
                                                   {FVIRTKEY | FSHIFT, VK_F1 + 4, ID_APP_ONLY},
                                                   {0, 'v', ID_VIEW_ONLY}}
                              : std::vector<ACCEL>{};
        });
        g_handled.clear();
        g_updates.clear();
        g_toggledEnabled = false;
        m_app = std::make_unique<TestApp>();
        ASSERT_TRUE(m_app->InitInstance());
    }
    void TearDown() override {
        if (m_app->m_pMainWnd)
            m_app->m_pMainWnd->DestroyWindow();
        m_app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        AfxSetMenuLoader(nullptr);
        AfxSetAcceleratorLoader(nullptr);
        IsolatedTest::TearDown();
    }
    QStringList MenuBarTitles() {
        QStringList titles;
        auto* main = static_cast<QMainWindow*>(m_app->m_main->GetQWidget());
        for (QAction* a : main->menuBar()->actions())
            titles.append(a->text());
        return titles;
    }
    std::unique_ptr<TestApp> m_app;
};

TEST_F(ResourceTablesTest, TemplateMenusReplaceTheFrameMenuWhileActive) {
    EXPECT_EQ(MenuBarTitles(), QStringList{"&File"});
    m_app->m_alpha->OpenDocumentFile(QString());
    EXPECT_EQ(MenuBarTitles(), QStringList{"&Alpha"});

    // Items send their commands through the main frame's routing, and their update
    // handlers run before the menu opens.
    QMenu* alpha = m_app->m_alpha->GetSharedMenu()->GetSubMenu(0)->GetQMenu();
    ASSERT_NE(alpha, nullptr);
    alpha->actions()[0]->trigger();
    EXPECT_EQ(g_handled, QStringList{"main"});
    emit alpha->aboutToShow();
    EXPECT_FALSE(alpha->actions()[3]->isEnabled());
    g_toggledEnabled = true;
    emit alpha->aboutToShow();
    EXPECT_TRUE(alpha->actions()[3]->isEnabled());

    // Beta has no menu of its own: the frame's shows while it is active.
    m_app->m_beta->OpenDocumentFile(QString());
    EXPECT_EQ(MenuBarTitles(), QStringList{"&File"});
    m_app->m_main->MDIGetActive()->SendMessage(WM_CLOSE);
    EXPECT_EQ(MenuBarTitles(), QStringList{"&Alpha"});
    m_app->m_main->MDIGetActive()->SendMessage(WM_CLOSE);
    EXPECT_EQ(MenuBarTitles(), QStringList{"&File"});
}

TEST_F(ResourceTablesTest, RecentFilesFillTheirPlaceInTheMenu) {
    QMenu* file =
        static_cast<QMainWindow*>(m_app->m_main->GetQWidget())->menuBar()->actions()[0]->menu();
    ASSERT_NE(file, nullptr);
    auto texts = [&] {
        QStringList t;
        for (QAction* a : file->actions())
            t.append(a->isSeparator() ? "-" : a->text() + (a->isEnabled() ? "" : " (off)"));
        return t;
    };
    emit file->aboutToShow();
    EXPECT_EQ(texts(), (QStringList{"Main", "Recent File (off)", "-"}));

    const QString first = WorkPath("one.alp");
    const QString second = WorkPath("two.alp");
    {
        QFile f(first);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4, '\0'));
    }
    m_app->AddToRecentFileList(first);
    m_app->AddToRecentFileList(second);
    emit file->aboutToShow();
    EXPECT_EQ(texts(), (QStringList{"Main", "&1 " + second, "&2 " + first, "-"}));

    // An entry opens its file and moves up; one gone from the disk leaves the list.
    file->actions()[2]->trigger();
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 1);
    emit file->aboutToShow();
    EXPECT_EQ(texts(), (QStringList{"Main", "&1 " + first, "&2 " + second, "-"}));
    Prompter().ExpectMessageBox(QString("Cannot open the file %1: it does not exist.").arg(second),
                                IDOK);
    file->actions()[2]->trigger();
    emit file->aboutToShow();
    EXPECT_EQ(texts(), (QStringList{"Main", "&1 " + first, "-"}));
}

TEST_F(ResourceTablesTest, AcceleratorsSendTheirCommands) {
    const std::vector<QAction*>& keys = m_app->m_main->GetAcceleratorActions();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
    EXPECT_EQ(keys[1]->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F5));
    EXPECT_EQ(keys[2]->shortcut(), QKeySequence(Qt::Key_V));
    m_app->m_alpha->OpenDocumentFile(QString());
    for (QAction* key : keys)
        key->trigger();
    EXPECT_EQ(g_handled, (QStringList{"main", "app", "view"}));
}

// A key of the frame's table works while a child window has the focus: nothing of the child's
// own takes the same key.
TEST_F(ResourceTablesTest, FrameKeysReachTheirCommandsFromAChild) {
    m_app->m_main->SetAccelerators(
        {{FVIRTKEY | FCONTROL, 'W', ID_MAIN_ONLY}, {FVIRTKEY | FCONTROL, VK_F1 + 3, ID_MAIN_ONLY}});
    QWidget* main = m_app->m_main->GetQWidget();
    main->show();
    m_app->m_alpha->OpenDocumentFile(QString());
    CMDIChildWnd* child = m_app->m_main->MDIGetActive();
    ASSERT_NE(child, nullptr);
    QApplication::setActiveWindow(main);
    child->GetQWidget()->setFocus();
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_W, Qt::CTRL | Qt::Key_F4}) {
        g_handled.clear();
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key.key(), key.keyboardModifiers());
        EXPECT_EQ(g_handled.count("main"), 1) << QKeySequence(key).toString().toStdString();
    }
}

}  // namespace
