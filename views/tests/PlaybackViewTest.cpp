#include "platform/framework/Document.h"
#include "platform/framework/FrameworkIds.h"
#include "shell/ViewChildedFrame.h"
#include "testsupport/IsolatedTest.h"
#include "views/PlaybackView.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// A member view as the play group sees one; the test owns it (no self-deletion) so that its
// recorded rectangles can be read after its window is gone.
class TestMemberView : public CPlaybackView {
public:
    void PostNcDestroy() override {}
    CRect ScreenRect() const { return m_screenRect; }
    CRect ParentRect() const {
        CRect r;
        GetParentRect(&r);
        return r;
    }
};

// A member that reads frames: the group drives it through the base's virtuals alone.
class FrameReadingView : public TestMemberView {
public:
    void SetCurrentFrame(int frame, int force) override {
        CPlaybackView::SetCurrentFrame(frame, force);
        reads.push_back({GetCurrentFrame(), force});
        NotifyFrameChanged();
    }
    int GetFirstFrameNumber(int* first) const override {
        if (first)
            *first = -20;
        return 1;
    }
    struct Read {
        int frame;
        int force;
        bool operator==(const Read&) const = default;
    };
    std::vector<Read> reads;
};

struct Heard {
    std::vector<int> frames;
    static void Callback(void* context, int frame) {
        static_cast<Heard*>(context)->frames.push_back(frame);
    }
};

class PlaybackViewTest : public IsolatedTest {};

TEST_F(PlaybackViewTest, FreshViewHoldsTheDocumentedDefaults) {
    TestMemberView view;
    EXPECT_STREQ(view.GetRuntimeClass()->m_lpszClassName, "CPlaybackView");
    EXPECT_TRUE(view.IsKindOf(RUNTIME_CLASS(CMView)));
    EXPECT_EQ(view.GetCurrentFrame(), 0);
    int frame = 99;
    EXPECT_EQ(view.GetInPoint(&frame), 0);
    EXPECT_EQ(frame, -1);
    frame = 99;
    EXPECT_EQ(view.GetOutPoint(&frame), 0);
    EXPECT_EQ(frame, -1);
    int first = 99;
    EXPECT_EQ(view.GetFrameNumberOrigin(&first), 0);
    EXPECT_EQ(first, -1);
    EXPECT_DOUBLE_EQ(view.GetFrameRate(), 1.0);
    EXPECT_EQ(view.GetFrameCount(), 0);
    CPoint size(5, 5);
    view.GetImageSize(&size);
    EXPECT_EQ(size, CPoint(0, 0));
    EXPECT_EQ(view.GetBaseSync(), 0);
    EXPECT_EQ(view.GetContinuous(), 0);
    EXPECT_TRUE(view.GetSourceName().isEmpty());
    EXPECT_TRUE(view.GetDocumentTitle().isEmpty());
    // The base knows no source: nothing is written and nothing saved.
    first = 7;
    EXPECT_EQ(view.GetFirstFrameNumber(&first), 0);
    EXPECT_EQ(first, 7);
    EXPECT_EQ(view.SaveSource(1), 0);
    view.SetValue(42);
    EXPECT_EQ(view.GetValue(), 0);
}

TEST_F(PlaybackViewTest, StoresKeepTheirRules) {
    TestMemberView view;
    view.SetCurrentFrame(-5, 0);
    EXPECT_EQ(view.GetCurrentFrame(), 0);
    view.SetCurrentFrame(12, 1);
    EXPECT_EQ(view.GetCurrentFrame(), 12);

    for (double rate : {0.0, -3.0, std::nan(""), -std::numeric_limits<double>::infinity()}) {
        view.SetFrameRate(500.0);
        view.SetFrameRate(rate);
        EXPECT_DOUBLE_EQ(view.GetFrameRate(), 1.0) << rate;
    }
    view.SetFrameRate(0.5);
    EXPECT_DOUBLE_EQ(view.GetFrameRate(), 0.5);

    view.SetInPoint(1, 30);
    view.SetOutPoint(1, 90);
    EXPECT_EQ(view.GetInPoint(nullptr), 1);  // the flag without writing
    int frame = 0;
    EXPECT_EQ(view.GetOutPoint(&frame), 1);
    EXPECT_EQ(frame, 90);
    view.SetFrameNumberOrigin(1, -20);
    EXPECT_EQ(view.GetFrameNumberOrigin(nullptr), 1);

    view.SetGroupMember(CPlaybackView::kVideoMember, 4, CPlaybackView::kDeviceRecording, 77);
    EXPECT_EQ(view.GetSourceType(), 3);
    EXPECT_EQ(view.GetMemberIndex(), 4);
    EXPECT_EQ(view.GetSourceKind(), 1);
    EXPECT_EQ(view.GetMemberParam(), 77);
}

TEST_F(PlaybackViewTest, GroupDrivesAMemberThroughTheBaseVirtuals) {
    FrameReadingView member;
    Heard heard;
    member.SetFrameChangedCallback(&Heard::Callback, &heard);
    CPlaybackView& view = member;
    view.SetCurrentFrame(-3, 1);
    view.SetCurrentFrame(8, 0);
    EXPECT_EQ(member.reads, (std::vector<FrameReadingView::Read>{{0, 1}, {8, 0}}));
    EXPECT_EQ(heard.frames, (std::vector<int>{0, 8}));
    int first = 0;
    EXPECT_EQ(view.GetFirstFrameNumber(&first), 1);
    EXPECT_EQ(first, -20);
}

TEST_F(PlaybackViewTest, FrameChangedCallbackNeedsFunctionAndContext) {
    TestMemberView view;
    Heard heard;
    view.SetCurrentFrame(6, 0);
    view.NotifyFrameChanged();  // nothing set: nothing happens
    view.SetFrameChangedCallback(&Heard::Callback, nullptr);
    view.NotifyFrameChanged();
    view.SetFrameChangedCallback(&Heard::Callback, &heard);
    view.NotifyFrameChanged();
    EXPECT_EQ(heard.frames, (std::vector<int>{6}));
}

struct MapCase {
    const char* name;
    double rateA;
    int offset;
    int countB;
    double rateB;
    int last;
    int first;
    int outFirst;
    int outLast;
};

TEST_F(PlaybackViewTest, MapFrameRangeByRate) {
    const MapCase cases[] = {
        {"faster member: last frame's span rounded up", 1000, 0, 100, 500, 20, 10, 20, 41},
        {"slower member: floor of both ends", 500, 0, 100, 1000, 20, 10, 5, 10},
        {"last limited by the count", 1000, 0, 30, 500, 20, 10, 20, 29},
        {"offset moves both ends", 1000, 5, 100, 500, 20, 10, 25, 46},
        {"first not below 0", 1000, -30, 100, 500, 20, 10, 0, 11},
        {"same rate", 250, 0, 100, 250, 20, 10, 10, 20},
        {"unknown rate A counts as 1", 0, 0, 100, 2, 20, 10, 5, 10},
        {"negative rate B counts as 1", 2, 0, 100, -4, 20, 10, 20, 41},
        {"empty member", 1000, 0, 0, 500, 20, 10, 20, -1},
    };
    for (const MapCase& c : cases) {
        SCOPED_TRACE(c.name);
        int outFirst = -99, outLast = -99;
        EXPECT_EQ(CPlaybackView::MapFrameRangeByRate(c.rateA, c.offset, c.countB, c.rateB, c.last,
                                                     c.first, &outFirst, &outLast),
                  1);
        EXPECT_EQ(outFirst, c.outFirst);
        EXPECT_EQ(outLast, c.outLast);
    }
    int out = -99;
    EXPECT_EQ(CPlaybackView::MapFrameRangeByRate(1000, 0, 100, 500, 20, 10, &out, nullptr), 0);
    EXPECT_EQ(CPlaybackView::MapFrameRangeByRate(1000, 0, 100, 500, 20, 10, nullptr, &out), 0);
    EXPECT_EQ(out, -99);
    // Absurd ratios saturate instead of overflowing.
    int a = 0, b = 0;
    EXPECT_EQ(CPlaybackView::MapFrameRangeByRate(1e300, 0, 100, 1e-300, 20, 10, &a, &b), 1);
    EXPECT_EQ(a, std::numeric_limits<int>::max());
    EXPECT_EQ(b, 99);
}

TEST_F(PlaybackViewTest, SourceNameIsTheFolderAndTheShortenedFileName) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"E:\\rec\\day1\\take.avi", "day1\\take"},
        {"/data/rec/day1/take.avi", "day1\\take"},
        {"E:\\rec\\day1\\{v3}take.avi", "day1\\take"},
        {"E:\\rec\\day1\\take{d2}.raw", "day1\\take"},
        {"E:\\seq\\img_0001.bmp", "seq\\img"},
        {"E:\\seq\\{v1}img_0001.TIF", "seq\\img"},
        {"E:\\rec\\}odd.avi", "rec\\}odd"},
        {"take.avi", "take"},
    };
    TestMemberView view;
    for (const auto& c : cases) {
        view.SetSourceName(c.path);
        EXPECT_EQ(view.GetSourceName(), QString(c.name)) << c.path;
    }
    view.SetSourceName(QString());
    EXPECT_TRUE(view.GetSourceName().isEmpty());
}

class PlaybackViewFrameTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        ASSERT_TRUE(m_top.Create(nullptr, "top", 0, CRect(0, 0, 800, 600), nullptr, 0));
        m_top.ShowWindow(SW_SHOW);
        m_host = new TestMemberView;
        ASSERT_TRUE(m_host->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE,
                                   CRect(10, 20, 710, 520), &m_top, 1));
    }
    void TearDown() override {
        m_top.DestroyWindow();
        delete m_host;
        IsolatedTest::TearDown();
    }
    // A childed frame inside the host view, holding a member view of that class.
    template <class View>
    View* MakeMember(const CRect& where, View* view) {
        auto* frame = new CViewChildedFrame;
        EXPECT_TRUE(frame->LoadFrame(0, WS_OVERLAPPEDWINDOW));
        CViewChildedFrame::AttachToParentView(m_host, frame);
        frame->MoveWindow(where);
        frame->ShowWindow(SW_SHOW);
        EXPECT_TRUE(view->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50),
                                 frame, AFX_IDW_PANE_FIRST));
        return view;
    }
    static CRect OnScreen(CWnd* wnd) {
        CRect r;
        wnd->GetWindowRect(&r);
        return r;
    }

    CWnd m_top;
    TestMemberView* m_host = nullptr;
};

TEST_F(PlaybackViewFrameTest, RecordsTheFramePlacementOnUpdateActivateAndDestroy) {
    TestMemberView view;
    MakeMember(CRect(30, 40, 330, 240), &view);
    CFrameWnd* frame = view.GetParentFrame();
    ASSERT_NE(frame, nullptr);

    view.OnInitialUpdate();
    EXPECT_EQ(view.ParentRect(), CRect(30, 40, 330, 240));
    EXPECT_EQ(view.ScreenRect(), OnScreen(frame));

    frame->MoveWindow(CRect(60, 70, 260, 170));
    view.SendMessage(WM_ACTIVATE, WA_ACTIVE);
    EXPECT_EQ(view.ParentRect(), CRect(60, 70, 260, 170));
    EXPECT_EQ(view.ScreenRect(), OnScreen(frame));

    frame->MoveWindow(CRect(5, 6, 105, 106));
    const CRect lastOnScreen = OnScreen(frame);
    frame->DestroyWindow();
    EXPECT_EQ(view.ParentRect(), CRect(5, 6, 105, 106));
    EXPECT_EQ(view.ScreenRect(), lastOnScreen);

    // Without a frame nothing is recorded; the setters store as given.
    view.SetParentRect(1, 2, 3, 4);
    view.SetScreenRect(5, 6, 7, 8);
    view.OnInitialUpdate();
    EXPECT_EQ(view.ParentRect(), CRect(1, 2, 3, 4));
    EXPECT_EQ(view.ScreenRect(), CRect(5, 6, 7, 8));
}

TEST_F(PlaybackViewFrameTest, ActivationRaisesTheFrameAndLetsTheControlsFollow) {
    TestMemberView first;
    TestMemberView second;
    MakeMember(CRect(0, 0, 200, 100), &first);
    MakeMember(CRect(50, 50, 250, 150), &second);
    Heard heard;
    first.SetFrameChangedCallback(&Heard::Callback, &heard);
    first.SetCurrentFrame(17, 0);
    ASSERT_EQ(m_host->GetTopWindow(), second.GetParentFrame());

    first.GetParentFrame()->SetActiveView(&first);
    EXPECT_EQ(m_host->GetTopWindow(), first.GetParentFrame());
    EXPECT_EQ(heard.frames, (std::vector<int>{17}));
    // Deactivation does not call back; WM_ACTIVATE does, after recording the placement.
    first.OnActivateView(FALSE, &second, &first);
    EXPECT_EQ(heard.frames, (std::vector<int>{17}));
    first.SetCurrentFrame(18, 0);
    first.SendMessage(WM_ACTIVATE, WA_ACTIVE);
    EXPECT_EQ(heard.frames, (std::vector<int>{17, 18}));
    EXPECT_EQ(first.ParentRect(), CRect(0, 0, 200, 100));
    first.GetParentFrame()->DestroyWindow();
    second.GetParentFrame()->DestroyWindow();
}

TEST_F(PlaybackViewFrameTest, DocumentTitleComesFromTheViewsDocument) {
    CDocument document;
    document.m_bAutoDelete = FALSE;
    document.SetTitle("take.avi");
    TestMemberView view;
    document.AddView(&view);
    EXPECT_EQ(view.GetDocumentTitle(), QString("take.avi"));
    document.RemoveView(&view);
}

}  // namespace
