#include "frames/FrameImage.h"
#include "platform/framework/Button.h"
#include "platform/framework/DC.h"
#include "platform/framework/Document.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "shell/DlgOptionsBase.h"
#include "shell/DlgWindowList.h"
#include "shell/IImageReadout.h"
#include "shell/MainFrame.h"
#include "shell/PlaceholderFrame.h"
#include "shell/PlaceholderView.h"
#include "shell/VidraApp.h"
#include "shell/ViewChildedFrame.h"
#include "testsupport/IsolatedTest.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <set>
#include <vector>

namespace {

// A record controller that reports whether it is recording.
class CTestRecorderDoc : public CDocument, public IRecordingState {
    DECLARE_DYNCREATE(CTestRecorderDoc)

public:
    BOOL IsRecording() const override { return s_recording; }
    static inline BOOL s_recording = FALSE;
};

IMPLEMENT_DYNCREATE(CTestRecorderDoc, CDocument)

// A project that remembers the paths it was opened with.
class CTestProjectDoc : public CDocument {
    DECLARE_DYNCREATE(CTestProjectDoc)

public:
    BOOL OnOpenDocument(const QString& pathName) override {
        s_opened.push_back(pathName);
        return TRUE;
    }
    static inline QStringList s_opened;
};

IMPLEMENT_DYNCREATE(CTestProjectDoc, CDocument)

// A view that shows frames, as the status panes ask of it: each value is the pane's number
// times its base; hidden gives no values.
class CReadoutView : public CView, public IImageReadout {
    DECLARE_DYNCREATE(CReadoutView)

public:
    void OnDraw(CDC*) override {}
    BOOL GetReadout(Value value, CSize* size) const override {
        if (hidden)
            return FALSE;
        *size = CSize(base * (value + 1), base * (value + 1) + 1);
        return TRUE;
    }
    int base = 10;
    bool hidden = false;
};

IMPLEMENT_DYNCREATE(CReadoutView, CView)

// The project code's closer as the main frame sees it: it records the views it is given.
struct HostedClose {
    static BOOL Close(CView* view) {
        s_views.push_back(view);
        return s_hosts;
    }
    static inline std::vector<CView*> s_views;
    static inline BOOL s_hosts = TRUE;
};

// Buttons for the main toolbar: a bar without any stays hidden.
const CResourceModule& ToolBarModule() {
    static const CResourceModule module = [] {
        CResourceModule m;
        m.name = QStringLiteral("main frame tests");
        ToolBarTemplate bar;
        bar.id = 0xE820;
        bar.buttons = {ID_FILE_OPEN_VIDEO};
        m.toolBars.push_back(bar);
        return m;
    }();
    return module;
}

class MainFrameTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&ToolBarModule());
        // The main frame saves its option files there when it goes.
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
        CTestRecorderDoc::s_recording = FALSE;
        CTestProjectDoc::s_opened.clear();
        HostedClose::s_views.clear();
        m_app.AddDocTemplateWithKey("DT:Gen",
                                    new CMultiDocTemplate(0, RUNTIME_CLASS(CTestProjectDoc),
                                                          RUNTIME_CLASS(CPlaceholderFrame),
                                                          RUNTIME_CLASS(CPlaceholderView)));
        m_app.AddDocTemplateWithKey("DT:Rec",
                                    new CMultiDocTemplate(134, RUNTIME_CLASS(CTestRecorderDoc),
                                                          RUNTIME_CLASS(CPlaceholderFrame),
                                                          RUNTIME_CLASS(CPlaceholderView)));
        m_frame = new CMainFrame;
        ASSERT_TRUE(m_frame->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app.m_pMainWnd = m_frame;
    }

    void TearDown() override {
        CResourceChain::RemoveModule(&ToolBarModule());
        CTestRecorderDoc::s_recording = FALSE;
        CVidraFrameWnd::SetHostedFramesCloser(nullptr);
        while (CMainFrame::GetCloseBlockCount() > 0)
            CMainFrame::AdjustCloseBlockCount(FALSE);
        if (FrameAlive())
            m_frame->DestroyWindow();
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }

    // A destroyed main frame deletes itself and leaves the application.
    bool FrameAlive() const { return m_app.m_pMainWnd == m_frame; }

    CVidraApp m_app{QStringLiteral("Vidra Player")};
    CMainFrame* m_frame = nullptr;
};

TEST_F(MainFrameTest, StatusBarHasFourPanesWithTheirTips) {
    CStatusBar& bar = m_frame->GetStatusBar();
    ASSERT_EQ(bar.GetCount(), 5);
    const struct {
        UINT id;
        const char* tip;
    } panes[] = {{ID_INDICATOR_RETICLE, "Reticle Position"},
                 {ID_INDICATOR_VISIBLE_REGION, "Visible Region Size"},
                 {ID_INDICATOR_IMAGE_SIZE, "Actual Image Size"},
                 {ID_INDICATOR_ZOOMED_SIZE, "Zoomed Image Size"}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bar.GetItemID(i + 1), panes[i].id);
        EXPECT_EQ(bar.GetTipText(i + 1), panes[i].tip);
    }
}

TEST_F(MainFrameTest, StatusPanesShowTheWorkingViewThroughHostedFrames) {
    m_app.AddDocTemplateWithKey("DT:Img", new CMultiDocTemplate(0, RUNTIME_CLASS(CTestProjectDoc),
                                                                RUNTIME_CLASS(CPlaceholderFrame),
                                                                RUNTIME_CLASS(CReadoutView)));
    CStatusBar& bar = m_frame->GetStatusBar();
    const auto panes = [&] {
        m_app.OnIdle(0);
        QStringList texts;
        for (int i = 1; i <= 4; ++i)
            texts << bar.GetShownPaneText(i);
        return texts;
    };
    EXPECT_EQ(panes(), QStringList({"", "", "", ""})) << "no window open";

    CDocument* doc = m_app.CreateDocumentByKey("DT:Img", QString(), TRUE);
    ASSERT_NE(doc, nullptr);
    POSITION pos = doc->GetFirstViewPosition();
    auto* outer = dynamic_cast<CReadoutView*>(doc->GetNextView(pos));
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(panes(), QStringList({" 10 (h) x 11 (v) pixels ", " 20 (h) x 21 (v) pixels ",
                                    " 30 (h) x 31 (v) pixels ", " 40 (h) x 41 (v) pixels "}));

    // A frame hosted inside the view: its view is the one the user works in.
    auto* hosted = new CViewChildedFrame;
    ASSERT_TRUE(hosted->LoadFrame(0, WS_OVERLAPPEDWINDOW));
    CViewChildedFrame::AttachToParentView(outer, hosted);
    auto* inner = new CReadoutView;
    inner->base = 7;
    ASSERT_TRUE(inner->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 60), hosted,
                              AFX_IDW_PANE_FIRST));
    hosted->SetActiveView(inner, FALSE);
    EXPECT_EQ(panes().front(), " 7 (h) x 8 (v) pixels ");

    // A view with nothing to show clears text and icon.
    inner->hidden = true;
    EXPECT_EQ(panes(), QStringList({"", "", "", ""}));
    EXPECT_TRUE(bar.GetPaneIcon(1).isNull());
    hosted->DestroyWindow();
    EXPECT_EQ(panes().back(), " 40 (h) x 41 (v) pixels ");
}

TEST_F(MainFrameTest, FramesAreDrawnWithTheFramesZoomMode) {
    CFrameImage image;
    ASSERT_TRUE(image.Create(2, 1, imaging::PixelFormat8bppIndexed, false));
    imaging::BitmapData data;
    ASSERT_TRUE(image.LockBits(nullptr, imaging::ImageLockModeWrite,
                               imaging::PixelFormat8bppIndexed, &data));
    static_cast<BYTE*>(data.Scan0)[0] = 255;
    static_cast<BYTE*>(data.Scan0)[1] = 0;
    ASSERT_TRUE(image.UnlockBits(&data));
    const auto greyLevels = [&](int mode) {
        VARIANT value;
        value.vt = VT_I4;
        value.lVal = mode;
        EXPECT_EQ(m_frame->SetSetting("Video:ZoomMode", value, -1), S_OK);
        QImage target(16, 1, QImage::Format_RGB32);
        CDC dc(&target);
        image.Draw(&dc, 0, 0, 16, 1);
        dc.DeleteDC();
        std::set<int> levels;
        for (int x = 0; x < 16; ++x)
            levels.insert(qGreen(target.pixel(x, 0)));
        return levels.size();
    };
    EXPECT_EQ(greyLevels(0), 2u);
    EXPECT_GT(greyLevels(1), 2u) << "bilinear smoothing asked for by the main frame's setting";
}

int IntSetting(ISettingsStore& store, const QString& key) {
    VARIANT value;
    EXPECT_EQ(store.GetSetting(key, &value, -1), S_OK) << key.toStdString();
    EXPECT_EQ(value.vt, VT_I4) << key.toStdString();
    return value.lVal;
}

TEST_F(MainFrameTest, UnknownSettingFailsWhereAStoreAnswersEmpty) {
    VARIANT value;
    EXPECT_EQ(m_frame->GetSetting("No:Such", &value, -1), E_FAIL);
    EXPECT_EQ(value.vt, VT_EMPTY);
    EXPECT_EQ(m_frame->GetSetting("View:MainTB", nullptr, -1), E_FAIL);
    for (ISettingsStore* store : {static_cast<ISettingsStore*>(&m_frame->GetProgramOptions()),
                                  static_cast<ISettingsStore*>(&m_frame->GetSnapkeepOptions())}) {
        VARIANT own;
        EXPECT_EQ(store->GetSetting("No:Such", &own, -1), S_OK);
        EXPECT_EQ(own.vt, VT_EMPTY);
    }
    VARIANT one;
    one.vt = VT_I4;
    one.lVal = 1;
    EXPECT_EQ(m_frame->SetSetting("No:Such", one, -1), E_FAIL);
}

TEST_F(MainFrameTest, ToggleMainToolbarTwiceRestoresKeyAndBar) {
    CToolBar& bar = m_frame->GetToolBar(CVidraFrameWnd::kMainToolBar);
    ASSERT_EQ(IntSetting(*m_frame, "View:MainTB"), 1);
    EXPECT_TRUE(bar.IsVisible());
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_MAIN_TOOLBAR);
    EXPECT_EQ(IntSetting(*m_frame, "View:MainTB"), 0);
    EXPECT_FALSE(bar.IsVisible());
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_MAIN_TOOLBAR);
    EXPECT_EQ(IntSetting(*m_frame, "View:MainTB"), 1);
    EXPECT_TRUE(bar.IsVisible());
}

TEST_F(MainFrameTest, SettingsReachTheRegistryWhenTheFrameIsDestroyed) {
    const QString key = "AppBehave:bPR_StartMax";
    VARIANT off;
    off.vt = VT_I4;
    off.lVal = 0;
    ASSERT_EQ(m_frame->SetSetting(key, off, -1), S_OK);
    EXPECT_EQ(IntSetting(*m_frame, key), 0);
    {
        CDlgProgramOptions stored;
        stored.LoadAllFromRegistry();
        EXPECT_EQ(IntSetting(stored, key), 1);
    }
    m_frame->DestroyWindow();
    CDlgProgramOptions stored;
    stored.LoadAllFromRegistry();
    EXPECT_EQ(IntSetting(stored, key), 0);

    // A new main frame starts from the saved value.
    m_frame = new CMainFrame;
    ASSERT_TRUE(m_frame->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    m_app.m_pMainWnd = m_frame;
    EXPECT_EQ(IntSetting(*m_frame, key), 0);
}

TEST_F(MainFrameTest, NewPlayProjectRefusedWhenGroupsAreFlattened) {
    VARIANT on;
    on.vt = VT_I4;
    on.lVal = 1;
    ASSERT_EQ(m_frame->SetSetting("AppBehave:bFlatten_to_2", on, -1), S_OK);
    Prompter().ExpectMessageBox(
        "Your current Program Option settings do not allow additional Play Groups.", IDOK);
    m_frame->SendMessage(WM_COMMAND, ID_FILE_NEW_PLAY_PROJECT);
    EXPECT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 0);
}

TEST_F(MainFrameTest, NewPlayProjectOpensAProjectWithOneEmptyPlayGroup) {
    VARIANT off;
    off.vt = VT_I4;
    off.lVal = 0;
    ASSERT_EQ(m_frame->SetSetting("AppBehave:bFlatten_to_2", off, -1), S_OK);
    m_frame->SendMessage(WM_COMMAND, ID_FILE_NEW_PLAY_PROJECT);
    EXPECT_EQ(CTestProjectDoc::s_opened, QStringList({"__xxx3456empthplaygropXXX"}))
        << "the path that asks the project for an empty play group";
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 1);
}

TEST_F(MainFrameTest, CloseAllWindowsGoesThroughEachProjectView) {
    const struct {
        const char* what;
        bool closer;
        BOOL hosts;
        int left;
    } cases[] = {
        {"project views close their hosted windows themselves", true, TRUE, 2},
        {"other windows close", true, FALSE, 0},
        {"without the project code every window closes", false, TRUE, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HostedClose::s_views.clear();
        HostedClose::s_hosts = c.hosts;
        CVidraFrameWnd::SetHostedFramesCloser(c.closer ? &HostedClose::Close : nullptr);
        std::vector<CView*> views;
        for (int i = 0; i < 2; ++i) {
            CDocument* doc = m_app.CreateDocumentByKey("DT:Gen", QString(), TRUE);
            ASSERT_NE(doc, nullptr);
            POSITION pos = doc->GetFirstViewPosition();
            views.push_back(doc->GetNextView(pos));
        }
        m_frame->SendMessage(WM_COMMAND, ID_WINDOW_CLOSE_ALL);
        if (c.closer) {
            std::sort(views.begin(), views.end());
            std::sort(HostedClose::s_views.begin(), HostedClose::s_views.end());
            EXPECT_EQ(HostedClose::s_views, views);
        }
        EXPECT_EQ(m_app.GetOpenDocumentCount(), c.left);
        m_app.CloseAllDocuments(FALSE);
    }
}

TEST_F(MainFrameTest, WindowListActivatesOnlyTheChosenWindow) {
    CProgramResources::Register();
    for (int i = 0; i < 2; ++i)
        ASSERT_NE(m_app.CreateDocumentByKey("DT:Gen", QString(), TRUE), nullptr);
    // The list names the windows in the order the frame keeps them, the active one first.
    const std::vector<CMDIChildWnd*> listed = m_frame->GetMDIChildren();
    ASSERT_EQ(listed.size(), 2u);
    ASSERT_EQ(m_frame->MDIGetActive(), listed[0]);
    const struct {
        int selected;
        int button;
        int activeAfter;
    } cases[] = {{1, IDCANCEL, 0}, {-1, IDOK, 0}, {1, IDOK, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog =
                dynamic_cast<CDlgWindowList*>(CWnd::FromWidget(QApplication::activeModalWidget()));
            ASSERT_NE(dialog, nullptr);
            seen = true;
            auto* list = dynamic_cast<CListBox*>(dialog->GetDlgItem(IDC_WINDOW_LIST));
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->GetCount(), 2);
            list->SetCurSel(c.selected);
            dialog->SendMessage(WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), 0);
        });
        m_frame->SendMessage(WM_COMMAND, ID_WINDOW_LIST);
        EXPECT_TRUE(seen);
        EXPECT_EQ(m_frame->MDIGetActive(), listed[static_cast<size_t>(c.activeAfter)]);
    }
    m_app.CloseAllDocuments(FALSE);
}

TEST_F(MainFrameTest, FeaturesNotOfferedSaySo) {
    for (UINT id : {ID_TOOLS_BACKGROUND_MIXER, ID_TOOLS_ONE_STEP_SAVE_SETTINGS}) {
        Prompter().ExpectMessageBox("Sorry, this feature is not available.", IDOK);
        m_frame->SendMessage(WM_COMMAND, id);
    }
    EXPECT_EQ(Prompter().Prompts().size(), 2u);
}

TEST_F(MainFrameTest, CloseIsRefusedWhileRecording) {
    CDocument* doc = m_app.CreateDocumentByKey("DT:Rec", QString(), TRUE);
    ASSERT_NE(doc, nullptr);
    CTestRecorderDoc::s_recording = TRUE;
    Prompter().ExpectMessageBox("Please complete the recording before closing.", IDOK);
    m_frame->SendMessage(WM_CLOSE);
    ASSERT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(Prompter().Prompts()[0].caption, "Unable to Close Device");
    EXPECT_EQ(Prompter().Prompts()[0].type & MB_ICONMASK, UINT(MB_ICONINFORMATION));
    EXPECT_TRUE(FrameAlive());
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 1);
    EXPECT_FALSE(m_frame->IsClosing());

    CTestRecorderDoc::s_recording = FALSE;
    m_frame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(FrameAlive());
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 0);
}

TEST_F(MainFrameTest, CancelAtTheSavePromptKeepsEverythingOpen) {
    CDocument* doc = m_app.CreateDocumentByKey("DT:Rec", QString(), TRUE);
    ASSERT_NE(doc, nullptr);
    doc->SetTitle("Rec");
    doc->SetModifiedFlag(TRUE);
    Prompter().ExpectMessageBox("Save changes to Rec?", IDCANCEL);
    m_frame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(FrameAlive());
    EXPECT_FALSE(m_frame->IsClosing());
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 1);
    doc->SetModifiedFlag(FALSE);
}

TEST_F(MainFrameTest, CloseBlockHoldsTheFrameUntilReleased) {
    {
        CMainFrame::CloseBlock outer;
        CMainFrame::CloseBlock inner;
        m_frame->SendMessage(WM_CLOSE);
        EXPECT_TRUE(FrameAlive());
    }
    // Removing more blocks than were added never goes below zero.
    CMainFrame::AdjustCloseBlockCount(FALSE);
    EXPECT_EQ(CMainFrame::GetCloseBlockCount(), 0);
    m_frame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(FrameAlive());
}

class CountingDelegate : public IIndexedValuesDelegate {
public:
    HRESULT First(intptr_t value) override {
        firstValue = value;
        return S_FALSE;
    }
    HRESULT Second(intptr_t argument, intptr_t* value) override {
        *value = argument * 2;
        return S_OK;
    }
    intptr_t firstValue = 0;
};

TEST_F(MainFrameTest, IndexedListGrowsWithMinusOneAndDelegates) {
    IIndexedValues& list = *m_frame;
    intptr_t value = 5;
    EXPECT_EQ(list.GetAt(0, &value), E_FAIL);
    EXPECT_EQ(value, -1);
    EXPECT_EQ(list.SetAt(-1, 3), E_FAIL);
    EXPECT_EQ(list.SetAt(3, 30), S_OK);
    const struct {
        int index;
        HRESULT hr;
        intptr_t value;
    } cases[] = {{0, S_OK, -1}, {2, S_OK, -1}, {3, S_OK, 30}, {4, E_FAIL, -1}, {-1, E_FAIL, -1}};
    for (const auto& c : cases) {
        value = 77;
        EXPECT_EQ(list.GetAt(c.index, &value), c.hr) << c.index;
        EXPECT_EQ(value, c.value) << c.index;
    }
    EXPECT_EQ(list.GetAt(3, nullptr), E_FAIL);

    value = 9;
    EXPECT_EQ(list.DelegateFirst(1), E_FAIL);
    EXPECT_EQ(list.DelegateSecond(4, &value), E_FAIL);
    EXPECT_EQ(value, 0);
    CountingDelegate delegate;
    EXPECT_EQ(list.SetDelegate(&delegate), S_OK);
    EXPECT_EQ(list.DelegateFirst(12), S_FALSE);
    EXPECT_EQ(delegate.firstValue, 12);
    EXPECT_EQ(list.DelegateSecond(4, &value), S_OK);
    EXPECT_EQ(value, 8);
}

TEST_F(MainFrameTest, MissingHelpFileIsReported) {
    Prompter().ExpectMessageBox("Unable to open help file: " + CMainFrame::HelpFilePaths().back(),
                                IDOK);
    m_frame->SendMessage(WM_COMMAND, ID_HELP_INDEX_PAGE);
    ASSERT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(Prompter().Prompts()[0].caption, "Vidra Player");
    EXPECT_EQ(Prompter().Prompts()[0].type & MB_ICONMASK, UINT(MB_ICONERROR));
}

}  // namespace
