#include "frames/ChangedFrameDataView.h"
#include "frames/IDataPlayView.h"
#include "frames/MeasFrameAdapter.h"
#include "frames/SampleRecording.h"
#include "platform/framework/FrameWnd.h"
#include "sensordata/model/SensorDataSet.h"

#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <vector>

namespace {

// A video window's view as the adapter sees it; deletes itself with its window.
class FakeVidView : public CWnd, public IMovieView {
public:
    void MovieSetCurrentFrame(int, int) override {}
    void MovieSetFrame(int) override {}
    int MovieGetCurrentFrame() override { return 0; }
    int MovieGetSourceKind() override { return 0; }
    CFrameSourcePtr MovieGetFrameSource() override { return source; }
    int MovieGetInPoint(int*) override { return 0; }
    int MovieGetOutPoint(int*) override { return 0; }
    void MovieGetDisplayLuts(CLutParamSet*, CLutParamSet*) override {}
    void MovieSetDisplayLuts(const CLutParamSet&, const CLutParamSet&) override {}
    void MovieSetFrameSource(const CFrameSourcePtr& newSource) override { source = newSource; }
    void MovieSetGroupMember(int type, int kind) override {
        memberType = type;
        sourceKind = kind;
    }
    void MovieSetFrameChangedCallback(FrameChangedFn fn, void* context) override {
        callback = fn;
        callbackContext = context;
    }
    void MovieNotifyFrameChanged() override {
        if (callback)
            callback(callbackContext, 0);
    }
    void MovieSetFrameCount(int count) override { frameCount = count; }

    CFrameSourcePtr source;
    int memberType = 0;
    int sourceKind = 0;
    int frameCount = 0;
    FrameChangedFn callback = nullptr;
    void* callbackContext = nullptr;

protected:
    void PostNcDestroy() override { delete this; }
};

// A data window's view as the adapter sees it; deletes itself with its window.
class FakeDataView : public CWnd, public IDataPlayView {
public:
    FakeDataView() : adapter(this) {}
    void DataSetDataSet(const CSharedRef<CSensorDataSet>& newData) override { data = newData; }
    CSharedRef<CSensorDataSet> DataGetDataSet() override { return data; }
    IIdUnknown* DataGetFrameChangeAdapter() override { return &adapter; }

    CSharedRef<CSensorDataSet> data;
    CChangedFrameDataView adapter;

protected:
    void PostNcDestroy() override { delete this; }
};

// A member frame that refuses to close, as one whose user answers No.
class RefusingFrame : public CFrameWnd {
public:
    static inline int closeRequests = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CLOSE) {
            ++closeRequests;
            return 0;
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};

// A bar of a member frame (the play control, a title bar); deletes itself with its window.
class FakeBar : public CWnd {
protected:
    void PostNcDestroy() override { delete this; }
};

// A play group: a window whose children are member frames, each holding its video view as the
// pane view and a bar above it, so the view is not the frame's first child window.
class FakeGroupDoc : public IMeasFrameDoc {
public:
    FakeGroupDoc() {
        EXPECT_TRUE(window.Create(nullptr, "group", 0, CRect(0, 0, 400, 300), nullptr, 0));
    }
    ~FakeGroupDoc() { window.DestroyWindow(); }

    CWnd* GetMemberFrameParent() override { return &window; }
    CFrameWnd* ParentNewVideoFrame() override { return NewFrame(new FakeVidView); }
    CFrameWnd* ParentNewDataFrame() override {
        if (!dataWindows)
            return nullptr;
        return NewFrame(new FakeDataView);
    }
    CFrameWnd* NewFrame(CWnd* view) {
        CFrameWnd* frame = refuseClose ? new RefusingFrame : new CFrameWnd;
        if (!frame->LoadFrame(0, WS_OVERLAPPEDWINDOW))
            return nullptr;
        // Hosted the way member frames are: a child widget of the group's window.
        QWidget* widget = frame->GetQWidget();
        widget->setParent(window.GetQWidget(),
                          (widget->windowFlags() & ~Qt::WindowType_Mask) | Qt::Widget);
        EXPECT_TRUE(view->Create(nullptr, "view", WS_CHILD, CRect(0, 0, 50, 50), frame,
                                 AFX_IDW_PANE_FIRST));
        // Made after the view, as a video frame makes its play control: it is on top.
        auto* bar = new FakeBar;
        EXPECT_TRUE(bar->Create(nullptr, "bar", WS_CHILD, CRect(0, 0, 50, 10), frame, 0));
        ++framesMade;
        return frame;
    }
    bool GetMemberFrameChangedCallback(FrameChangedFn* fn, void** context) override {
        if (!withCallback)
            return false;
        *fn = &FakeGroupDoc::OnMemberFrame;
        *context = this;
        return true;
    }

    static void OnMemberFrame(void* context, int frame) {
        static_cast<FakeGroupDoc*>(context)->notified.push_back(frame);
    }
    FakeVidView* ViewOf(CFrameWnd* frame) {
        return dynamic_cast<FakeVidView*>(frame->GetDlgItem(AFX_IDW_PANE_FIRST));
    }
    // A frame that shows source without going through the adapter.
    CFrameWnd* Show(const CFrameSourcePtr& source) {
        CFrameWnd* frame = ParentNewVideoFrame();
        ViewOf(frame)->MovieSetFrameSource(source);
        return frame;
    }
    int FrameCount() {
        int count = 0;
        for (CWnd* child = window.GetTopWindow(); child; child = child->GetNextWindow())
            count += child->IsFrameWnd() ? 1 : 0;
        return count;
    }

    FakeDataView* DataViewOf(CFrameWnd* frame) {
        return dynamic_cast<FakeDataView*>(frame->GetDlgItem(AFX_IDW_PANE_FIRST));
    }
    CFrameWnd* ShowData(const CSharedRef<CSensorDataSet>& data) {
        CFrameWnd* frame = ParentNewDataFrame();
        DataViewOf(frame)->DataSetDataSet(data);
        return frame;
    }

    CWnd window;
    bool withCallback = true;
    bool dataWindows = true;
    bool refuseClose = false;
    int framesMade = 0;
    std::vector<int> notified;
};

}  // namespace

class MeasFrameAdapterTest : public IsolatedTest {};

TEST_F(MeasFrameAdapterTest, WithoutADocumentNothingIsShownOrFound) {
    CMeasFrameAdapter adapter(nullptr);
    CFrameSourcePtr source(new CFrameSource);
    EXPECT_EQ(adapter.ShowVideo(source, "Zoom"), E_FAIL);
    EXPECT_EQ(adapter.FindVideoWindow(source, nullptr), E_POINTER);
    CFrameWnd* frame = reinterpret_cast<CFrameWnd*>(&adapter);
    EXPECT_EQ(adapter.FindVideoWindow(source, &frame), E_FAIL);
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(adapter.CloseVideo(source), S_OK);
}

TEST_F(MeasFrameAdapterTest, ShowVideoOpensOneMemberWindowAndLaterBringsItForward) {
    const QString path = WorkPath("sample.raw");
    ASSERT_TRUE(CSampleRecording::Write(path));
    CFrameSourcePtr source(new CFrameSource);
    ASSERT_TRUE(source->Open(path));
    CFrameSourcePtr other(new CFrameSource);

    FakeGroupDoc doc;
    CMeasFrameAdapter adapter(&doc);
    ASSERT_EQ(adapter.ShowVideo(source, "Zoom : cam1"), S_OK);
    CFrameWnd* shown = nullptr;
    ASSERT_EQ(adapter.FindVideoWindow(CFrameSourcePtr(source), &shown), S_OK);
    EXPECT_EQ(shown->GetWindowText(), "Zoom : cam1");
    FakeVidView* view = doc.ViewOf(shown);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->source.Get(), source.Get());
    EXPECT_EQ(view->memberType, 3);
    EXPECT_EQ(view->sourceKind, 2);
    EXPECT_EQ(view->frameCount, CSampleRecording::kFrames);
    EXPECT_EQ(doc.notified, std::vector<int>{0});

    // Another member goes on top; showing the first source again brings its window forward
    // and opens nothing.
    ASSERT_EQ(adapter.ShowVideo(other, "Other"), S_OK);
    CRect before;
    shown->GetWindowRect(&before);
    EXPECT_NE(doc.window.GetTopWindow(), shown);
    ASSERT_EQ(adapter.ShowVideo(source, "Again"), S_OK);
    EXPECT_EQ(doc.framesMade, 2);
    EXPECT_EQ(doc.window.GetTopWindow(), shown);
    EXPECT_EQ(shown->GetWindowText(), "Zoom : cam1");
    CRect after;
    shown->GetWindowRect(&after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(doc.notified.size(), 2u);
}

TEST_F(MeasFrameAdapterTest, WithoutTheGroupCallbackTheNewViewIsNotNotified) {
    FakeGroupDoc doc;
    doc.withCallback = false;
    CMeasFrameAdapter adapter(&doc);
    CFrameSourcePtr source(new CFrameSource);
    ASSERT_EQ(adapter.ShowVideo(source, "Video"), S_OK);
    CFrameWnd* frame = nullptr;
    ASSERT_EQ(adapter.FindVideoWindow(source, &frame), S_OK);
    EXPECT_EQ(doc.ViewOf(frame)->callback, nullptr);
    EXPECT_EQ(doc.ViewOf(frame)->frameCount, 0);
    EXPECT_TRUE(doc.notified.empty());
}

TEST_F(MeasFrameAdapterTest, FindMatchesBySourceIdAndCloseClosesEveryWindowOfTheSource) {
    FakeGroupDoc doc;
    CMeasFrameAdapter adapter(&doc);
    CFrameSourcePtr a(new CFrameSource);
    CFrameSourcePtr b(new CFrameSource);
    CFrameSourcePtr missing(new CFrameSource);
    doc.Show(a);
    CFrameWnd* frameB = doc.Show(b);
    doc.Show(a);
    doc.Show(CFrameSourcePtr());  // a member that shows nothing yet

    CFrameWnd* found = nullptr;
    ASSERT_EQ(adapter.FindVideoWindow(b, &found), S_OK);
    EXPECT_EQ(found, frameB);
    ASSERT_EQ(adapter.FindVideoWindow(a, &found), S_OK);
    EXPECT_EQ(doc.ViewOf(found)->source.Get(), a.Get());
    EXPECT_EQ(adapter.FindVideoWindow(missing, &found), E_FAIL);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(adapter.FindVideoWindow(CFrameSourcePtr(), &found), E_FAIL);

    ASSERT_EQ(doc.FrameCount(), 4);
    EXPECT_EQ(adapter.CloseVideo(a), S_OK);
    EXPECT_EQ(doc.FrameCount(), 2);
    EXPECT_EQ(adapter.FindVideoWindow(a, &found), E_FAIL);
    ASSERT_EQ(adapter.FindVideoWindow(b, &found), S_OK);
    EXPECT_EQ(adapter.CloseVideo(missing), S_OK);
    EXPECT_EQ(doc.FrameCount(), 2);
}

TEST_F(MeasFrameAdapterTest, ShowDataOpensOneDataWindowAndReportsItsListener) {
    FakeGroupDoc doc;
    CMeasFrameAdapter adapter(&doc);
    CSharedRef<CSensorDataSet> data(new CSensorDataSet);
    IIdUnknown* listener = nullptr;
    ASSERT_EQ(adapter.ShowData(data, "Mean Pixel Value : cam1", &listener), S_OK);
    CFrameWnd* shown = nullptr;
    ASSERT_EQ(adapter.FindDataWindow(data, &shown), S_OK);
    EXPECT_EQ(shown->GetWindowText(), "Mean Pixel Value : cam1");
    FakeDataView* view = doc.DataViewOf(shown);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->data.Get(), data.Get());
    EXPECT_EQ(listener, static_cast<IIdUnknown*>(&view->adapter));

    ASSERT_EQ(adapter.ShowVideo(CFrameSourcePtr(new CFrameSource), "Other"), S_OK);
    EXPECT_NE(doc.window.GetTopWindow(), shown);
    listener = nullptr;
    ASSERT_EQ(adapter.ShowData(data, "Again", &listener), S_OK);
    EXPECT_EQ(doc.framesMade, 2);
    EXPECT_EQ(doc.window.GetTopWindow(), shown);
    EXPECT_EQ(shown->GetWindowText(), "Mean Pixel Value : cam1");
    EXPECT_EQ(listener, nullptr) << "an existing window is only brought forward";

    // A group that cannot make data windows shows nothing.
    doc.dataWindows = false;
    EXPECT_EQ(adapter.ShowData(CSharedRef<CSensorDataSet>(new CSensorDataSet), "New", nullptr),
              E_FAIL);
    EXPECT_EQ(CMeasFrameAdapter(nullptr).ShowData(data, "None", nullptr), E_FAIL);
}

TEST_F(MeasFrameAdapterTest, CloseDataClosesEveryWindowOfTheDataSet) {
    FakeGroupDoc doc;
    CMeasFrameAdapter adapter(&doc);
    CSharedRef<CSensorDataSet> a(new CSensorDataSet);
    CSharedRef<CSensorDataSet> b(new CSensorDataSet);
    doc.ShowData(a);
    doc.ShowData(b);
    doc.ShowData(a);
    doc.Show(CFrameSourcePtr(new CFrameSource));  // a video window is never a data window
    ASSERT_EQ(doc.FrameCount(), 4);
    EXPECT_EQ(adapter.CloseData(a), S_OK);
    EXPECT_EQ(doc.FrameCount(), 2);
    CFrameWnd* found = nullptr;
    EXPECT_EQ(adapter.FindDataWindow(a, &found), E_FAIL);
    EXPECT_EQ(adapter.FindDataWindow(b, &found), S_OK);
    EXPECT_EQ(adapter.CloseData(CSharedRef<CSensorDataSet>(new CSensorDataSet)), S_OK);
    EXPECT_EQ(adapter.CloseData(CSharedRef<CSensorDataSet>()), S_OK);
    EXPECT_EQ(doc.FrameCount(), 2);
}

TEST_F(MeasFrameAdapterTest, AWindowThatRefusesToCloseIsAskedOnce) {
    FakeGroupDoc doc;
    doc.refuseClose = true;
    CMeasFrameAdapter adapter(&doc);
    CFrameSourcePtr source(new CFrameSource);
    CSharedRef<CSensorDataSet> data(new CSensorDataSet);
    doc.Show(source);
    doc.ShowData(data);
    RefusingFrame::closeRequests = 0;
    EXPECT_EQ(adapter.CloseVideo(source), S_OK);
    EXPECT_EQ(RefusingFrame::closeRequests, 1);
    EXPECT_EQ(adapter.CloseData(data), S_OK);
    EXPECT_EQ(RefusingFrame::closeRequests, 2);
    EXPECT_EQ(doc.FrameCount(), 2);
}
