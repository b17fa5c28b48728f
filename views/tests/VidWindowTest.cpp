#include "views/AnnotateDoc.h"
#include "views/BayerColorDlg.h"
#include "views/TstDocument.h"
#include "views/VidDoc.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

#include "frames/BayerColorFilter.h"
#include "frames/FrameSource.h"
#include "frames/FrameSourcePtr.h"
#include "frames/IFrameChangeListener.h"
#include "frames/IFrameWindowAdapter.h"
#include "frames/SampleRecording.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComVariant.h"
#include "platform/com/MemorySettingsStore.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/Menu.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/WinApp.h"
#include "platform/media/tests/TestAviWriter.h"
#include "resources/ColorAdjustmentTemplate.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"
#include "testsupport/IsolatedTest.h"
#include "views/DrawRect.h"
#include "views/OverlayListener.h"
#include "views/StreamWnd.h"
#include "views/VidViewRegionAdapter.h"
#include "views/VidViewToolAdapter.h"
#include "views/ZoomTransform.h"
#include "views/tests/RecordingPlayBar.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <vector>

namespace {

// The main window as the video window sees it: a window that answers the settings interface.
class CSettingsMainWnd : public CWnd, public CMemorySettingsStore {};

// A frame source that counts the frames it reads.
class CCountingSource : public CFrameSource {
public:
    int ReadFrame(int n) override {
        ++reads;
        return CFrameSource::ReadFrame(n);
    }
    int reads = 0;
};

// A menu item that remembers what its update handler made of it.
class EnableProbe : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        enabled = bOn;
        CCmdUI::Enable(bOn);
    }
    BOOL enabled = -1;
};

class VidWindowTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_app = std::make_unique<CWinApp>("vid");
        ASSERT_TRUE(m_main.Create(nullptr, "main", 0, CRect(0, 0, 800, 600), nullptr, 0));
        m_app->m_pMainWnd = &m_main;
        m_template = std::make_unique<CMultiDocTemplate>(
            145, RUNTIME_CLASS(CVidDoc), RUNTIME_CLASS(CVidFrame), RUNTIME_CLASS(CVidView));
    }
    void TearDown() override {
        if (!m_token.expired())
            m_frame->DestroyWindow();
        m_template.reset();
        m_app->m_pMainWnd = nullptr;
        m_main.DestroyWindow();
        m_app.reset();
        IsolatedTest::TearDown();
    }

    void SetSetting(const char* key, LONG value) {
        m_main.SetSetting(QString::fromLatin1(key), CComVariant(value), -1);
    }

    // Opens a video window whose view has a client area of width x height.
    void OpenWindow(int width = 252, int height = 188) {
        CDocument* doc = m_template->OpenDocumentFile(QString(), TRUE);
        ASSERT_NE(doc, nullptr);
        POSITION pos = doc->GetFirstViewPosition();
        m_view = dynamic_cast<CVidView*>(doc->GetNextView(pos));
        ASSERT_NE(m_view, nullptr);
        m_frame = dynamic_cast<CVidFrame*>(m_view->GetParentFrame());
        ASSERT_NE(m_frame, nullptr);
        m_token = m_frame->GetLifeToken();
        ASSERT_NE(m_view->GetStreamWnd(), nullptr);
        m_view->MoveWindow(0, 0, width, height);
    }

    // Opens the sample recording in a counting source.
    CFrameSourcePtr SampleSource(int fromDevice = 0) {
        const QString path = WorkPath("sample.raw");
        EXPECT_TRUE(CSampleRecording::Write(path));
        auto* source = new CCountingSource;
        CFrameSourcePtr ptr(source);
        EXPECT_EQ(source->Open(path), 1);
        source->SetFromDevice(fromDevice);
        m_counting = source;
        return ptr;
    }

    QImage Render() const { return m_view->GetStreamWnd()->GetQWidget()->grab().toImage(); }

    std::unique_ptr<CWinApp> m_app;
    CSettingsMainWnd m_main;
    std::unique_ptr<CMultiDocTemplate> m_template;
    CVidView* m_view = nullptr;
    CVidFrame* m_frame = nullptr;
    std::weak_ptr<bool> m_token;
    CCountingSource* m_counting = nullptr;
};

TEST_F(VidWindowTest, DocumentsAreDynamicallyCreatable) {
    for (const CRuntimeClass* runtimeClass : {RUNTIME_CLASS(CVidDoc), RUNTIME_CLASS(CTstDocument),
                                              RUNTIME_CLASS(CVidFrame), RUNTIME_CLASS(CVidView)}) {
        std::unique_ptr<CObject> object(runtimeClass->CreateObject());
        ASSERT_NE(object, nullptr) << runtimeClass->m_lpszClassName;
        EXPECT_TRUE(object->IsKindOf(runtimeClass));
    }
    EXPECT_STREQ(RUNTIME_CLASS(CVidDoc)->m_lpszClassName, "CVidDoc");
    EXPECT_STREQ(RUNTIME_CLASS(CTstDocument)->m_lpszClassName, "CTstDocument");
    EXPECT_STREQ(RUNTIME_CLASS(CVidView)->m_lpszClassName, "CVidView");
}

TEST_F(VidWindowTest, ToolCommandsSelectTheirAnnotationTools) {
    struct Case {
        UINT command;
        int tool;
    };
    const Case cases[] = {
        {32930, 15}, {32931, 17}, {32932, 16}, {32933, 18}, {32934, 19},
        {32935, 20}, {32937, 21}, {32936, -1}, {32929, -1}, {32938, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CVidView::ToolOfCommand(c.command), c.tool) << c.command;
}

TEST_F(VidWindowTest, ToolCommandsHandTheirToolsToTheStreamWindow) {
    OpenWindow();
    CStreamWnd* stream = m_view->GetStreamWnd();
    EXPECT_EQ(stream->GetTool(), -1);
    std::vector<int> tools;
    for (UINT id : {32930u, 32931u, 32932u, 32933u, 32934u, 32935u, 32937u}) {
        EnableProbe probe;
        probe.m_nID = id;
        EXPECT_TRUE(probe.DoUpdate(m_frame, TRUE)) << id;
        EXPECT_EQ(probe.enabled, TRUE) << id;
        m_frame->SendMessage(WM_COMMAND, id, 0);
        tools.push_back(stream->GetTool());
    }
    EXPECT_EQ(tools, (std::vector<int>{15, 17, 16, 18, 19, 20, 21}));
}

TEST_F(VidWindowTest, CommandsOfToolsThatAreNotThereAreDisabled) {
    OpenWindow();
    // Overlays, zoom regions, histograms, debugging, colour adjustment and annotation tools.
    for (UINT id : {32828u, 32866u, 32883u, 32884u, 32885u, 32894u, 32895u, 32897u, 32899u, 32900u,
                    32901u, 32902u, 32906u, 32907u, 32913u}) {
        EnableProbe probe;
        probe.m_nID = id;
        EXPECT_TRUE(probe.DoUpdate(m_frame, TRUE)) << id;
        EXPECT_EQ(probe.enabled, FALSE) << id;
    }
}

TEST_F(VidWindowTest, ClosingADeviceRecordingAsksToEraseDeviceMemory) {
    enum Setting { kAbsent, kOff, kOn };
    struct Case {
        const char* name;
        Setting setting;
        int fromDevice;
        bool throughFileClose;
        int answer;  // 0: no question expected
        bool closed;
    };
    const Case cases[] = {
        {"device, no setting, No", kAbsent, 1, false, IDNO, false},
        {"device, no setting, Yes", kAbsent, 1, false, IDYES, true},
        {"device, setting on, No", kOn, 1, false, IDNO, false},
        {"device, setting off", kOff, 1, false, 0, true},
        {"file", kAbsent, 0, false, 0, true},
        {"File/Close, device, No", kAbsent, 1, true, IDNO, false},
        {"File/Close, device, Yes", kAbsent, 1, true, IDYES, true},
        {"File/Close, device, setting off", kOff, 1, true, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_main.SetSetting(
            QStringLiteral("AppBehave:bPrompt4CloseFromDevice"),
            c.setting == kAbsent ? CComVariant() : CComVariant(LONG(c.setting == kOn)), -1);
        OpenWindow();
        m_view->SetFrameSource(SampleSource(c.fromDevice));
        if (c.answer)
            Prompter().ExpectMessageBox(QString::fromLatin1(CVidFrame::kEraseQuestion), c.answer);
        if (c.throughFileClose)
            m_frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE, 0);
        else
            m_frame->SendMessage(WM_CLOSE);
        EXPECT_EQ(m_token.expired(), c.closed);
        if (!m_token.expired())
            m_frame->DestroyWindow();
    }
}

// A play group's frame as a member frame sees it: it records the notifications passed up.
class CGroupFrame : public CFrameWnd {
public:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        notified.push_back(reinterpret_cast<const NMHDR*>(lParam)->idFrom);
        *pResult = 0;
        (void)wParam;
        return TRUE;
    }
    std::vector<UINT_PTR> notified;
};

class CGroupView : public CView {
public:
    void OnDraw(CDC*) override {}
};

TEST_F(VidWindowTest, PlayCommandsGoToThePlayControlAndTheSkipSpinToTheGroup) {
    OpenWindow();
    CPlayControlWnd& play = m_frame->GetPlayControl();
    EXPECT_TRUE(m_frame->IsCreated());
    ASSERT_NE(play.GetSafeHwnd(), nullptr);
    m_frame->SendMessage(WM_COMMAND, PlayControlId::kContinuous, 0);
    EXPECT_EQ(play.GetContinuous(), 1);
    // Base Sync (2011) is not one of the play commands the frame passes on.
    m_frame->SendMessage(WM_COMMAND, PlayControlId::kBaseSync, 0);
    EXPECT_EQ(play.GetBaseSync(), 0);

    auto* group = new CGroupFrame;  // deletes itself with its window
    ASSERT_TRUE(
        group->Create(nullptr, "group", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, 0));
    auto* host = new CGroupView;
    ASSERT_TRUE(
        host->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), group, 1));
    CViewChildedFrame::AttachToParentView(host, m_frame);
    for (UINT id : {PlayControlId::kSkipSpin, PlayControlId::kRateSlider}) {
        NMHDR header;
        header.idFrom = id;
        header.code = UDN_DELTAPOS;
        LRESULT result = -1;
        m_frame->OnNotify(id, reinterpret_cast<LPARAM>(&header), &result);
    }
    EXPECT_EQ(group->notified, (std::vector<UINT_PTR>{PlayControlId::kSkipSpin}));
    CViewChildedFrame::AttachToParentView(nullptr, m_frame);
    group->DestroyWindow();
}

TEST_F(VidWindowTest, TheMembersPlayBarFollowsTheGroupWithoutTellingItBack) {
    OpenWindow();
    CPlayControlWnd& play = m_frame->GetPlayControl();
    RecordingPlayBar bar;
    play.SetPlayBar(&bar);
    std::vector<int> told;
    play.SetFrameChangedCallback(
        [](void* context, int frame) { static_cast<std::vector<int>*>(context)->push_back(frame); },
        &told);
    CGroupView group;
    m_frame->SendMessage(kMemberFrameMovedMessage, reinterpret_cast<WPARAM>(&group), 42);
    EXPECT_EQ(play.GetCurrentFrame(), 42);
    EXPECT_EQ(bar.position, 42);
    EXPECT_TRUE(told.empty()) << "the group moved the member already";
    play.SetPlayBar(nullptr);
}

TEST_F(VidWindowTest, ThePlayGroupsCloseMessageClosesWithoutAsking) {
    OpenWindow();
    m_view->SetFrameSource(SampleSource(1));
    m_frame->SendMessage(kClosePlaybackMessage);
    EXPECT_TRUE(m_token.expired());
}

// Edited annotations are asked about before their window closes, and before the program
// closes every document: Cancel keeps the window, No drops them, Yes writes the ".ant" file.
TEST_F(VidWindowTest, ClosingAsksAboutChangedAnnotations) {
    struct Case {
        const char* name;
        bool program;
        int answer;
        bool closed;
        bool written;
    };
    const Case cases[] = {
        {"window, Cancel", false, IDCANCEL, false, false},
        {"window, No", false, IDNO, true, false},
        {"window, Yes", false, IDYES, true, true},
        {"program, Cancel", true, IDCANCEL, false, false},
        {"program, Yes", true, IDYES, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenWindow();
        CAnnotateDoc* annotations = m_view->GetStreamWnd()->GetAnnotateDoc();
        ASSERT_NE(annotations, nullptr);
        annotations->SetName(WorkPath("take.avi"));
        auto* rect = new CDrawRect;
        rect->SetModified(TRUE);
        annotations->GetObjectList()->push_back(rect);
        QFile::remove(WorkPath("take.ant"));
        Prompter().ExpectMessageBox(QStringLiteral("Annotations have been modified for %1.\nWould "
                                                   "you like to save your changes before closing?")
                                        .arg(WorkPath("take.avi")),
                                    c.answer);
        if (c.written)
            Prompter().ExpectMessageBox(QStringLiteral("Annotations successfully saved to file %1.")
                                            .arg(WorkPath("take.ant")),
                                        IDOK);
        if (c.program) {
            EXPECT_EQ(m_template->SaveAllModified(), c.answer != IDCANCEL);
        } else {
            m_frame->SendMessage(WM_CLOSE);
        }
        EXPECT_EQ(m_token.expired(), c.closed);
        EXPECT_EQ(QFile::exists(WorkPath("take.ant")), c.written);
        if (!m_token.expired()) {
            annotations->ClearAllModified();
            m_frame->DestroyWindow();
        }
    }
}

TEST_F(VidWindowTest, DisplaySettingsAreAppliedAtInitialUpdate) {
    struct Case {
        LONG reticle;
        LONG rulers;
        LONG info;
    };
    for (const Case& c : {Case{1, 0, 0}, Case{0, 1, 1}}) {
        SetSetting("Video:ShowReticle", c.reticle);
        SetSetting("Video:ShowRulers", c.rulers);
        SetSetting("Video:ShowInfo", c.info);
        OpenWindow();
        CStreamWnd* stream = m_view->GetStreamWnd();
        EXPECT_EQ(stream->IsReticleShown(), c.reticle);
        EXPECT_EQ(stream->AreRulersShown(), c.rulers);
        EXPECT_EQ(stream->GetInfoCorner(),
                  c.info ? CPanZoomView::kUpperLeft : CPanZoomView::kHidden);
        m_frame->DestroyWindow();
    }
}

// Pixels of the rendered stream window: (R, G, B) as numbers.
struct Rgb {
    int r;
    int g;
    int b;
};

Rgb At(const QImage& image, int x, int y) {
    const QRgb pixel = image.pixel(x, y);
    return {qRed(pixel), qGreen(pixel), qBlue(pixel)};
}

bool Near(int a, int b) {
    return std::abs(a - b) <= 2;
}

int CountRed(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const Rgb p = At(image, x, y);
            count += p.r > 200 && p.g < 60 && p.b < 60;
        }
    return count;
}

// The smallest rectangle holding every red pixel of area.
QRect RedBounds(const QImage& image, const QRect& area) {
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const Rgb p = At(image, x, y);
            if (p.r > 200 && p.g < 60 && p.b < 60)
                bounds |= QRect(x, y, 1, 1);
        }
    return bounds;
}

class VidRenderTest : public VidWindowTest {
protected:
    static constexpr int kFrame = 30;

    // A window whose stream window (2 pixels larger on each side) shows the sample recording
    // at its own size, so that window pixels are image pixels; or a window widthFactor times
    // as wide.
    void OpenSample(LONG reticle, LONG rulers, LONG info, int widthFactor = 1) {
        SetSetting("Video:ShowReticle", reticle);
        SetSetting("Video:ShowRulers", rulers);
        SetSetting("Video:ShowInfo", info);
        OpenWindow(CSampleRecording::kWidth * widthFactor - 4, CSampleRecording::kHeight - 4);
        m_view->SetFrameSource(SampleSource());
        m_view->SetCurrentFrame(kFrame, 0);
    }

    static int Level(int x, int y) { return CSampleRecording::Level(kFrame, x, y); }
};

TEST_F(VidRenderTest, ShowsTheFrameWithReticleRulersAndInfoBox) {
    OpenSample(1, 1, 1);
    CStreamWnd* stream = m_view->GetStreamWnd();
    stream->SetReticlePosition(100, 80);
    const QImage image = Render();
    ASSERT_EQ(image.size(), QSize(CSampleRecording::kWidth, CSampleRecording::kHeight));

    // The frame itself, away from every overlay.
    for (const QPoint p : {QPoint(180, 120), QPoint(60, 170), QPoint(220, 40)}) {
        const Rgb pixel = At(image, p.x(), p.y());
        EXPECT_TRUE(Near(pixel.r, Level(p.x(), p.y())) && pixel.g == pixel.r && pixel.b == pixel.r)
            << p.x() << "," << p.y() << ": " << pixel.r << " for " << Level(p.x(), p.y());
    }
    // The reticle: grey XOR lines through the centre of image pixel (100, 80).
    for (const QPoint p : {QPoint(100, 150), QPoint(160, 80)}) {
        const Rgb pixel = At(image, p.x(), p.y());
        EXPECT_EQ(pixel.r, Level(p.x(), p.y()) ^ 0xC0) << p.x() << "," << p.y();
        EXPECT_EQ(pixel.g, Level(p.x(), p.y()) ^ 0xC0) << p.x() << "," << p.y();
    }
    // A ruler tick every 50 image pixels along the top edge, red XOR, at image pixel 150.
    int ticks = 0;
    for (int x = 148; x <= 152; ++x) {
        const Rgb pixel = At(image, x, 4);
        ticks += pixel.r == (Level(x, 4) ^ 0xFF) && pixel.g == Level(x, 4);
    }
    EXPECT_EQ(ticks, 1);
    // The information box in red, inside the rulers.
    EXPECT_GT(CountRed(image, QRect(15, 15, 100, 60)), 30);
}

TEST_F(VidRenderTest, InfoBoxStandsInTheChosenCorner) {
    // Twice the sample's width: the box's lines in the harness font are wider than the sample.
    OpenSample(0, 0, 1, 2);
    CStreamWnd* stream = m_view->GetStreamWnd();
    const QRect whole(0, 0, 2 * CSampleRecording::kWidth, CSampleRecording::kHeight);
    for (int corner = CPanZoomView::kUpperLeft; corner <= CPanZoomView::kLowerLeft; ++corner) {
        SCOPED_TRACE(corner);
        stream->SetInfoCorner(corner);
        const QRect box = RedBounds(Render(), whole);
        ASSERT_FALSE(box.isEmpty());
        // The box is smaller than the window: it touches the two margins of its corner only.
        const bool left = corner == CPanZoomView::kUpperLeft || corner == CPanZoomView::kLowerLeft;
        const bool top = corner == CPanZoomView::kUpperLeft || corner == CPanZoomView::kUpperRight;
        EXPECT_EQ(box.left() <= 10, left) << box.left();
        EXPECT_EQ(box.right() >= whole.right() - 10, !left) << box.right();
        EXPECT_EQ(box.top() <= 10, top) << box.top();
        EXPECT_EQ(box.bottom() >= whole.bottom() - 12, !top) << box.bottom();
    }
    stream->SetInfoCorner(CPanZoomView::kHidden);
    EXPECT_EQ(CountRed(Render(), whole), 0);
}

TEST_F(VidRenderTest, NewDisplayTablesReadTheCurrentFrameAgain) {
    OpenSample(0, 0, 0);
    const int reads = m_counting->reads;
    m_view->SetCurrentFrame(kFrame, 0);
    EXPECT_EQ(m_counting->reads, reads);  // the frame shown already is not read again

    CLutParamSet reversed;
    for (int channel = 0; channel < CLutParamSet::kChannels; ++channel)
        reversed.SetReverse(channel, 1);
    m_view->SetDisplayLuts(reversed, reversed);
    EXPECT_EQ(m_counting->reads, reads + 1);
    EXPECT_EQ(m_view->GetCurrentFrame(), kFrame);
    const Rgb pixel = At(Render(), 180, 120);
    EXPECT_TRUE(Near(pixel.r, 255 - Level(180, 120))) << pixel.r << " for " << Level(180, 120);

    CLutParamSet colour;
    CLutParamSet bw;
    m_view->GetDisplayLuts(&colour, &bw);
    EXPECT_TRUE(colour == reversed);
    EXPECT_TRUE(bw == reversed);
}

// Counts the stream window's mouse reports.
int g_mouseReports = 0;
void CountMouse(CWnd*, UINT, WPARAM, int, int) {
    ++g_mouseReports;
}

TEST_F(VidRenderTest, MouseIsNotReportedInZoomOrPanMode) {
    OpenSample(1, 0, 0);
    CStreamWnd* stream = m_view->GetStreamWnd();
    stream->SetMouseCallback(m_view, CountMouse);
    struct Case {
        const char* name;
        UINT modeCommand;  // 0: neither mode
        int reports;
    };
    const Case cases[] = {
        {"zoom mode", CPanZoomView::kZoomMode, 0},
        {"pan mode", CPanZoomView::kPanMode, 0},
        {"neither", 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.modeCommand)
            stream->SendMessage(WM_COMMAND, c.modeCommand, 0);
        g_mouseReports = 0;
        stream->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(40, 30));
        // Mouse input that reaches the view goes on to the stream window.
        m_view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(41, 30));
        QCoreApplication::processEvents();
        EXPECT_EQ(g_mouseReports, c.reports);
        if (c.modeCommand)
            stream->SendMessage(WM_COMMAND, c.modeCommand, 0);
    }
}

TEST_F(VidRenderTest, StreamDisplayAnswersForTheStreamWindow) {
    OpenSample(0, 0, 0);
    IStreamDisplay* display = m_view;
    double x = -1;
    double y = -1;
    EXPECT_EQ(display->GetReticlePosition(&x, &y), E_POINTER);  // hidden
    EXPECT_EQ(display->ShowReticle(true), S_OK);
    m_view->GetStreamWnd()->SetReticlePosition(30, 40);
    EXPECT_EQ(display->GetReticlePosition(&x, &y), S_OK);
    EXPECT_EQ(x, 30.0);
    EXPECT_EQ(y, 40.0);
    bool shown = false;
    EXPECT_EQ(display->IsReticleShown(&shown), S_OK);
    EXPECT_TRUE(shown);

    double edges[4] = {-1, -1, -1, -1};
    EXPECT_EQ(display->GetSelection(&edges[0], &edges[1], &edges[2], &edges[3]), S_OK);
    EXPECT_EQ(edges[0] + edges[1] + edges[2] + edges[3], 0.0);
    bool selecting = true;
    EXPECT_EQ(display->GetSelectionMode(&selecting), S_OK);
    EXPECT_FALSE(selecting);
    EXPECT_EQ(display->SetSelectionMode(true), S_OK);
    EXPECT_EQ(display->GetSelectionMode(&selecting), S_OK);
    EXPECT_TRUE(selecting);

    EXPECT_EQ(display->GetSelectionMode(nullptr), E_POINTER);
    EXPECT_EQ(display->IsReticleShown(nullptr), E_POINTER);
    EXPECT_EQ(display->GetReticlePosition(nullptr, &y), E_POINTER);
    EXPECT_EQ(display->GetSelection(&edges[0], nullptr, &edges[2], &edges[3]), E_POINTER);
    EXPECT_EQ(display->GetZoomTransform(nullptr), E_POINTER);

    CZoomTransform* transform = nullptr;
    ASSERT_EQ(display->GetZoomTransform(&transform), S_OK);
    ASSERT_NE(transform, nullptr);
    double a = 0;
    double b = 0;
    transform->GetImageSize(&a, &b);
    EXPECT_EQ(a, CSampleRecording::kWidth);
    EXPECT_EQ(b, CSampleRecording::kHeight);
    transform->GetWindowSize(&a, &b);
    EXPECT_EQ(a, CSampleRecording::kWidth);
    EXPECT_EQ(b, CSampleRecording::kHeight);
    transform->GetScale(&a);
    EXPECT_DOUBLE_EQ(a, 1.0);
    EXPECT_EQ(transform->Release(), 0);
}

TEST_F(VidRenderTest, TheFrameChangeAdapterMovesTheView) {
    OpenSample(0, 0, 0);
    EXPECT_EQ(m_view->GetFrameChangeAdapter(nullptr), E_POINTER);
    IIdUnknown* adapter = nullptr;
    ASSERT_EQ(m_view->GetFrameChangeAdapter(&adapter), S_OK);
    auto* listener = QueryId<IFrameChangeListener>(adapter);
    ASSERT_NE(listener, nullptr);
    EXPECT_EQ(listener->OnFrameChanged(12, 0), S_OK);
    EXPECT_EQ(m_view->GetCurrentFrame(), 12);
    EXPECT_EQ(m_view->GetStreamWnd()->GetCurrentFrame(), 12);
}

// Records the values the play group hears from the view.
std::vector<intptr_t> g_groupValues;
void RecordGroupValue(void*, intptr_t value) {
    g_groupValues.push_back(value);
}

TEST_F(VidRenderTest, MovingLikeThePlayBarTellsThePlayGroup) {
    OpenSample(0, 0, 0);
    g_groupValues.clear();
    m_view->MovieSetFrame(-4);  // no callback yet
    int context = 0;
    m_view->SetGroupCallbackFunction(RecordGroupValue, &context);
    m_view->MovieSetFrame(7);
    m_view->MovieSetCurrentFrame(9, 0);  // a plain move is not reported
    m_view->MovieSetFrame(-4);
    EXPECT_EQ(g_groupValues, (std::vector<intptr_t>{7, 0}));
    EXPECT_EQ(m_view->GetCurrentFrame(), 0);
}

TEST_F(VidRenderTest, ClosingTheWindowLetsGoOfTheRecording) {
    OpenSample(0, 0, 0);
    const CFrameSourcePtr source = m_view->GetFrameSource();
    EXPECT_GT(source.UseCount(), 2);  // ours, the view's and the stream window's
    m_frame->DestroyWindow();
    EXPECT_EQ(source.UseCount(), 1);
}

TEST_F(VidWindowTest, WithoutTheEditorModuleModifyStatesGoNowhere) {
    OpenWindow();
    EXPECT_FALSE(m_view->HasModifyState());
    // A state object with a counted reference: the view neither calls nor keeps it.
    class CState : public CComObject<IDispatch> {
    public:
        HRESULT Invoke(DISPID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
            ++calls;
            return S_OK;
        }
        int calls = 0;
    };
    CComPtr<CState> state;
    state.Attach(new CState);
    state->AddRef();
    IDispatch* raw = state.Get();
    m_view->SetModifyState(&raw);
    m_view->SetModifyState(nullptr);
    EXPECT_EQ(state->calls, 0);
    state->AddRef();
    EXPECT_EQ(state->Release(), 1u);
}

TEST_F(VidRenderTest, ContextMenuOffersTheStreamWindowsViewCommands) {
    OpenSample(0, 0, 0);
    struct Item {
        QString text;
        bool enabled;
    };
    std::vector<Item> top;
    std::vector<Item> viewItems;
    std::vector<Item> clearItems;
    std::vector<Item> trackingItems;
    const PopupMenuTracker previous =
        AfxSetPopupMenuTracker([&](QMenu* menu, const QPoint&) -> QAction* {
            QAction* zoomMode = nullptr;
            for (QAction* action : menu->actions()) {
                top.push_back({action->text(), action->isEnabled()});
                if (!action->menu())
                    continue;
                // Sub-menus run their update handlers as they open.
                emit action->menu()->aboutToShow();
                auto& items = action->text() == "View"    ? viewItems
                              : action->text() == "Clear" ? clearItems
                                                          : trackingItems;
                for (QAction* sub : action->menu()->actions()) {
                    if (sub->isSeparator())
                        continue;
                    items.push_back({sub->text(), sub->isEnabled()});
                    if (sub->text() == "Zoom Mode")
                        zoomMode = sub;
                }
            }
            return zoomMode;
        });
    // A right click on the stream window reaches the view.
    m_view->GetStreamWnd()->SendMessage(WM_CONTEXTMENU, 0, MAKELPARAM(20, 20));
    AfxSetPopupMenuTracker(previous);

    ASSERT_EQ(top.size(), 13u);
    EXPECT_EQ(top[0].text, "View");
    EXPECT_EQ(top[1].text, "Clear");
    EXPECT_EQ(top[2].text, "Bayer Color Adjustment");
    EXPECT_FALSE(top[2].enabled);
    // The zoom region and the histogram output, behind separators ("").
    const std::pair<const char*, bool> tools[] = {
        {"", true},
        {"Define Zoom Region", true},
        {"Set Zoom Region", true},
        {"Show Zoom Region", true},
        {"Remove Zoom Region", true},
        {"", true},
        {" Histogram Output.", true},
        {" Show Mean Histogram Plot.", false},  // no histogram output yet
        {" Remove Histogram Output.", false},
    };
    for (size_t i = 0; i < std::size(tools); ++i) {
        EXPECT_EQ(top[3 + i].text, QString::fromUtf8(tools[i].first)) << i;
        if (*tools[i].first) {
            EXPECT_EQ(top[3 + i].enabled, tools[i].second) << tools[i].first;
        }
    }
    // The analysis objects' commands come last; without them every one is off.
    EXPECT_EQ(top[12].text, "Tracking");
    ASSERT_EQ(trackingItems.size(), CVidView::TrackingMenuItems().size() - 4);  // no separators
    EXPECT_EQ(trackingItems.front().text, "Set Feature");
    EXPECT_EQ(trackingItems.back().text, "Calibration Panel...");
    for (const Item& item : trackingItems)
        EXPECT_FALSE(item.enabled) << item.text.toStdString();
    ASSERT_EQ(clearItems.size(), 1u);
    EXPECT_EQ(clearItems[0].text, "Clear All Forward");
    EXPECT_FALSE(clearItems[0].enabled);
    ASSERT_FALSE(viewItems.empty());
    EXPECT_EQ(viewItems.front().text, "View Actual");
    EXPECT_EQ(viewItems.back().text, "View Calibration");
    EXPECT_FALSE(viewItems.back().enabled);
    // The chosen View command went to the stream window.
    EXPECT_TRUE(m_view->GetStreamWnd()->IsZoomMode());
}

// The play group's window adapter as the view's tools see it: what they ask it to show.
class RecordingWindowAdapter : public IFrameWindowAdapter {
public:
    HRESULT ShowVideo(const CFrameSourcePtr& source, const QString& title) override {
        videos.emplace_back(source, title);
        return S_OK;
    }
    HRESULT ShowData(const CSharedRef<CSensorDataSet>& data, const QString& title,
                     IIdUnknown**) override {
        dataSets.emplace_back(data, title);
        return S_OK;
    }
    HRESULT CloseVideo(const CFrameSourcePtr&) override { return S_OK; }
    HRESULT CloseData(const CSharedRef<CSensorDataSet>&) override { return S_OK; }
    HRESULT FindVideoWindow(const CFrameSourcePtr&, CFrameWnd** out) override {
        *out = nullptr;
        return E_FAIL;
    }

    std::vector<std::pair<CFrameSourcePtr, QString>> videos;
    std::vector<std::pair<CSharedRef<CSensorDataSet>, QString>> dataSets;
};

TEST_F(VidRenderTest, HistogramOutputMeasuresTheViewsRecordingAndShowsItsHistory) {
    OpenSample(0, 0, 0);
    RecordingWindowAdapter group;
    m_view->SetToolContext(reinterpret_cast<intptr_t>(static_cast<IFrameWindowAdapter*>(&group)));
    m_frame->SetWindowText("sample.raw");
    m_frame->SendMessage(WM_COMMAND, CVidView::kHistogramOutput, 0);
    ASSERT_EQ(group.dataSets.size(), 1u);
    EXPECT_EQ(group.dataSets[0].second, "Mean Pixel Value : sample.raw");
    EXPECT_EQ(group.dataSets[0].first->GetScanCount(), CSampleRecording::kFrames)
        << "one value for every frame of the recording";
    const CFrameSourcePtr processed = m_view->GetToolAdapter()->GetDerivedSource();
    ASSERT_FALSE(processed.IsEmpty());

    // The view's frames are measured as it shows them; the mark is drawn over the frame.
    m_view->SetCurrentFrame(kFrame + 1, 0);
    EXPECT_NE(group.dataSets[0].first->GetData()->ChannelSamples(0)->back(), 0.0f);
    const QImage marked = Render();
    EXPECT_EQ(marked.pixel(5, marked.height() - 15), qRgb(255, 0, 0)) << "the H in the lower left";

    // Again: the same output is shown again, nothing new is made.
    m_frame->SendMessage(WM_COMMAND, CVidView::kShowMeanHistogramPlot, 0);
    m_frame->SendMessage(WM_COMMAND, CVidView::kHistogramOutput, 0);
    EXPECT_EQ(group.dataSets.size(), 3u);
    EXPECT_EQ(m_view->GetToolAdapter()->GetDerivedSource().Get(), processed.Get());

    m_frame->SendMessage(WM_COMMAND, CVidView::kRemoveHistogramOutput, 0);
    EXPECT_TRUE(m_view->GetToolAdapter()->GetDerivedSource().IsEmpty());
    EnableProbe probe;
    probe.m_nID = CVidView::kRemoveHistogramOutput;
    probe.DoUpdate(m_frame, TRUE);
    EXPECT_EQ(probe.enabled, FALSE);
}

TEST_F(VidRenderTest, ZoomRegionFromTheSelectionShowsItsCroppedFrames) {
    OpenSample(0, 0, 0);
    RecordingWindowAdapter group;
    m_view->SetToolContext(reinterpret_cast<intptr_t>(static_cast<IFrameWindowAdapter*>(&group)));
    m_frame->SetWindowText("sample.raw");
    CStreamWnd* stream = m_view->GetStreamWnd();

    // Without a selection there is no region.
    m_frame->SendMessage(WM_COMMAND, CVidView::kSetZoomRegion, 0);
    EXPECT_TRUE(m_view->GetRegionAdapter()->GetDerivedSource().IsEmpty());

    m_frame->SendMessage(WM_COMMAND, CVidView::kDefineZoomRegion, 0);
    stream->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30));
    stream->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(75, 51));
    stream->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(75, 51));
    double left = 0, top = 0, right = 0, bottom = 0;
    ASSERT_EQ(m_view->GetSelection(&left, &top, &right, &bottom), S_OK);
    ASSERT_GT(right - left, 1.0);
    m_frame->SendMessage(WM_COMMAND, CVidView::kSetZoomRegion, 0);
    const CFrameSourcePtr cropped = m_view->GetRegionAdapter()->GetDerivedSource();
    ASSERT_FALSE(cropped.IsEmpty());

    m_frame->SendMessage(WM_COMMAND, CVidView::kShowZoomRegion, 0);
    ASSERT_EQ(group.videos.size(), 1u);
    EXPECT_EQ(group.videos[0].first.Get(), cropped.Get());
    EXPECT_EQ(group.videos[0].second, "Zoom : sample.raw");
    CFrameImage frame;
    ASSERT_EQ(cropped->GetFrame(kFrame, &frame, 0), 1);
    // Width and height in steps of four, from the selection's corner.
    const int width = static_cast<int>(right - left) / 4 * 4;
    EXPECT_EQ(frame.GetWidth(), static_cast<UINT>(width));
    EXPECT_EQ(frame.GetHeight(), static_cast<UINT>(static_cast<int>(bottom - top) / 4 * 4));

    // The outline is drawn in yellow over the frame until the region is removed.
    const QRgb yellow = qRgb(255, 255, 0);
    const int x = static_cast<int>(left) + width / 2;
    EXPECT_EQ(Render().pixel(x, static_cast<int>(top)), yellow);
    m_frame->SendMessage(WM_COMMAND, CVidView::kRemoveZoomRegion, 0);
    EXPECT_TRUE(m_view->GetRegionAdapter()->GetDerivedSource().IsEmpty());
    EXPECT_NE(Render().pixel(x, static_cast<int>(top)), yellow);
}

TEST_F(VidWindowTest, OverlaysAddedToTheViewGetThePicturesWindow) {
    OpenWindow();
    COverlayHost& host = m_view->GetOverlayHost();
    HWND window = nullptr;
    EXPECT_EQ(host.GetWindow(&window), S_OK);
    EXPECT_EQ(window, m_view->GetStreamWnd()->GetSafeHwnd());
    COverlayListener overlay;
    ASSERT_EQ(host.Add(&overlay), S_OK);
    HWND attached = nullptr;
    overlay.GetAttachment(&attached, nullptr);
    EXPECT_EQ(attached, m_view->GetStreamWnd()->GetSafeHwnd())
        << "the overlay repaints the window that shows the picture";
    BOOL visible = FALSE;
    m_frame->ShowWindow(SW_SHOW);
    EXPECT_EQ(host.IsVisible(&visible), S_OK);
    EXPECT_TRUE(visible);
    EXPECT_EQ(overlay.Invalidate(), S_OK);
    host.Remove(&overlay);
}

// The colour adjustment outlines the region it balanced on in cyan over the picture of the
// view it serves, in image pixels mapped to the window; without a view it draws nothing.
TEST_F(VidWindowTest, ColourBalanceRegionIsOutlinedOverTheView) {
    CResourceModule module;
    module.name = QStringLiteral("colour adjustment");
    module.dialogs = {ColorAdjustmentTemplate()};
    CResourceChain::AddModule(&module);
    constexpr int kImageWidth = 64;
    constexpr int kImageHeight = 48;
    const QString path = WorkPath("RAW0001.avi");
    ASSERT_TRUE(WriteTestAvi(path, {TestAviKind::RawPal8, kImageWidth, kImageHeight, 3, 0}));
    SetSetting("Video:ShowReticle", 0);
    SetSetting("Video:ShowRulers", 0);
    SetSetting("Video:ShowInfo", 0);
    // The stream window is 2 pixels larger on each side: window pixels are image pixels.
    OpenWindow(kImageWidth - 4, kImageHeight - 4);
    auto* source = new CFrameSource;
    CFrameSourcePtr held(source);
    ASSERT_EQ(source->Open(path), 1);
    m_view->SetFrameSource(held);
    m_view->SetCurrentFrame(0, 0);
    {
        CBayerColorDlg dialog(source->GetColourFilter(), QStringLiteral("RAW0001.avi"));
        ASSERT_TRUE(dialog.Create(CBayerColorDlg::kTemplate, nullptr));
        EXPECT_EQ(dialog.Draw(nullptr, CRect()), E_POINTER);
        dialog.ShowFor(0, m_view);

        const CRect region(10, 8, 40, 30);
        CWnd* stream = m_view->GetStreamWnd();
        ASSERT_EQ(m_view->SetSelectionMode(true), S_OK);
        stream->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(region.left, region.top));
        stream->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(region.right, region.bottom));
        stream->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(region.right, region.bottom));
        double edges[4] = {};
        ASSERT_EQ(m_view->GetSelection(&edges[0], &edges[1], &edges[2], &edges[3]), S_OK);
        const CRect selected(static_cast<int>(edges[0]), static_cast<int>(edges[1]),
                             static_cast<int>(edges[2]), static_cast<int>(edges[3]));
        ASSERT_FALSE(selected.IsRectEmpty());
        // The balance warns as the region's means say; the outline does not depend on it.
        int means[3] = {};
        ASSERT_TRUE(source->GetColourFilter()->RegionMeans(selected, means));
        if (std::any_of(means, means + 3, [](int m) { return m == 255; }))
            Prompter().ExpectMessageBox(
                "One or more channels were saturated (= 255) during the balance operation.\nFor "
                "best results, avoid saturation by selecting a region in the image which should "
                "appear gray.",
                IDOK);
        if (std::any_of(means, means + 3, [](int m) { return m == 0; }))
            Prompter().ExpectMessageBox(
                "One or more channels were found to be zero during the balance operation.\nFor "
                "best results, select a region in the image which should appear gray.",
                IDOK);
        if (means[0] == means[1] && means[1] == means[2])
            Prompter().ExpectMessageBox(
                "All channels were found to be equal during the balance operation.\nRegion "
                "already balanced.  No change was made to the color coefficients.\n",
                IDOK);
        auto* balance = qobject_cast<QAbstractButton*>(
            dialog.GetDlgItem(CBayerColorDlg::kBalanceNow)->GetQWidget());
        ASSERT_NE(balance, nullptr);
        balance->click();
        EXPECT_EQ(dialog.GetBalanceRegion(), selected);
        // The view's own selection mark goes, so that only the outline is left.
        m_view->SetSelectionMode(false);
        m_view->SetCurrentFrame(0, 1);
        const QImage shot = Render();
        auto cyanNear = [&shot](int x, int y) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (shot.valid(x + dx, y + dy) &&
                        (shot.pixel(x + dx, y + dy) & 0xFFFFFF) == 0x00FFFF)
                        return true;
            return false;
        };
        const int midX = (selected.left + selected.right) / 2;
        const int midY = (selected.top + selected.bottom) / 2;
        EXPECT_TRUE(cyanNear(midX, selected.top));
        EXPECT_TRUE(cyanNear(midX, selected.bottom));
        EXPECT_TRUE(cyanNear(selected.left, midY));
        EXPECT_TRUE(cyanNear(selected.right, midY));
        EXPECT_FALSE(cyanNear(midX, midY));
    }
    // The window went: the view draws without it.
    m_view->SetCurrentFrame(0, 1);
    const QImage after = Render();
    int cyan = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            cyan += (after.pixel(x, y) & 0xFFFFFF) == 0x00FFFF;
    EXPECT_EQ(cyan, 0);
    CResourceChain::RemoveModule(&module);
}

}  // namespace
