#include "frames/ChangedFrameDataView.h"
#include "frames/IDataChannel.h"
#include "frames/IFrameWindowAdapter.h"
#include "frames/IListenerList.h"
#include "frames/IRegion.h"
#include "frames/IVideoTriggerSettings.h"
#include "frames/SampleRecording.h"
#include "platform/framework/DC.h"
#include "platform/framework/MessageQueue.h"
#include "platform/framework/Wnd.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"
#include "views/IStreamDisplay.h"
#include "views/OverlayHost.h"
#include "views/RegionToolWnd.h"
#include "views/VidViewRegionAdapter.h"
#include "views/VidViewToolAdapter.h"
#include "views/ZoomTransform.h"

#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QImage>

#include <memory>
#include <vector>

namespace {

// Counts the frame-change notices that reach a data window.
class CNoticeWnd : public CWnd {
public:
    int notices = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kMsgDataFrameChanged)
            ++notices;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A play group's window adapter: ShowData opens a "data window" (a notice window with its
// listener adapter) once per data set; ShowVideo records what it was asked to show.
class FakeHost : public IFrameWindowAdapter {
public:
    HRESULT ShowVideo(const CFrameSourcePtr& source, const QString& title) override {
        videos.push_back(source);
        videoTitles.push_back(title);
        return S_OK;
    }
    HRESULT ShowData(const CSensorDataRef& data, const QString& title,
                     IIdUnknown** listener) override {
        dataTitles.push_back(title);
        shownData = data;
        if (windowOpen)
            return S_OK;  // brought to the front: no new listener
        windowOpen = true;
        if (listener)
            *listener = &adapter;
        return S_OK;
    }
    HRESULT CloseVideo(const CFrameSourcePtr&) override { return S_OK; }
    HRESULT CloseData(const CSensorDataRef&) override { return S_OK; }
    HRESULT FindVideoWindow(const CFrameSourcePtr&, CFrameWnd** out) override {
        *out = nullptr;
        return E_FAIL;
    }

    CNoticeWnd window;
    CChangedFrameDataView adapter{&window};
    bool windowOpen = false;
    CSensorDataRef shownData;
    std::vector<QString> dataTitles;
    std::vector<CFrameSourcePtr> videos;
    std::vector<QString> videoTitles;
};

// A video view as the region tools see it: the identity zoom, selection mode recorded.
class FakeStreamDisplay : public IStreamDisplay {
public:
    HRESULT SetSelectionMode(bool on) override {
        selecting = on;
        return S_OK;
    }
    HRESULT GetSelectionMode(bool* on) override {
        *on = selecting;
        return S_OK;
    }
    HRESULT ShowReticle(bool) override { return S_OK; }
    HRESULT IsReticleShown(bool* shown) override {
        *shown = false;
        return S_OK;
    }
    HRESULT GetReticlePosition(double*, double*) override { return E_POINTER; }
    HRESULT GetSelection(double*, double*, double*, double*) override { return S_OK; }
    HRESULT GetZoomTransform(CZoomTransform** out) override {
        auto* transform = new CZoomTransform;
        transform->AddRef();
        *out = transform;
        return S_OK;
    }

    bool selecting = false;
};

QImage BlankImage() {
    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

int ListenerCount(const CFrameSourcePtr& source) {
    int count = -1;
    source->GetNotifier()->GetCount(&count);
    return count;
}

}  // namespace

class VidViewAdaptersTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        ASSERT_TRUE(m_host.window.Create(nullptr, "data", 0, CRect(0, 0, 10, 10), nullptr, 0));
        const QString path = WorkPath("sample.raw");
        ASSERT_TRUE(CSampleRecording::Write(path));
        m_inner = CFrameSourcePtr(new CFrameSource);
        ASSERT_EQ(m_inner->Open(path), 1);
    }

    FakeHost m_host;
    CFrameSourcePtr m_inner;
};

TEST_F(VidViewAdaptersTest, AFrameChangeReachesTheDataWindowOpenedForTheHistory) {
    auto adapter = std::make_unique<CVidViewToolAdapter>();
    adapter->SetHost(&m_host);
    IIdUnknown* item = nullptr;
    ASSERT_EQ(adapter->CreateProcessed(m_inner, &item), S_OK);
    auto* channel = QueryId<IDataChannel>(item);
    ASSERT_NE(channel, nullptr);
    channel->SetHistoryLength(m_inner->GetFrameCount());
    ASSERT_EQ(channel->Open("Mean Pixel Value : sample.raw"), S_OK);
    ASSERT_EQ(m_host.dataTitles, std::vector<QString>{"Mean Pixel Value : sample.raw"});
    CSensorDataRef data;
    channel->GetData(&data);
    EXPECT_EQ(m_host.shownData.Get(), data.Get());

    const CFrameSourcePtr derived = adapter->GetDerivedSource();
    ASSERT_FALSE(derived.IsEmpty());
    EXPECT_EQ(ListenerCount(derived), 1) << "the data window follows the derived source";
    // Opening again only brings the window forward: nothing is linked twice.
    channel->Open("again");
    EXPECT_EQ(m_host.dataTitles.size(), 1u) << "the source is followed already";

    for (int n : {3, 4, 5})
        m_inner->MoveToFrame(n, 1, 0);
    AfxPumpMessage();
    EXPECT_EQ(m_host.window.notices, 3);
    EXPECT_NE(data->GetData()->ChannelSamples(0)->back(), 0.0f) << "the frames were measured";

    // Removing the output unlinks the window: later frames no longer reach it.
    adapter->Release();
    EXPECT_EQ(ListenerCount(derived), 0);
    int peers = -1;
    m_host.adapter.GetNotifier()->GetCount(&peers);
    EXPECT_EQ(peers, 0);
    m_inner->MoveToFrame(6, 1, 0);
    AfxPumpMessage();
    EXPECT_EQ(m_host.window.notices, 3);
}

TEST_F(VidViewAdaptersTest, ReleaseKeepsHasChannelAndLetsTheRecordingClose) {
    for (bool extended : {false, true}) {
        SCOPED_TRACE(extended ? "extended" : "plain");
        CVidViewToolAdapter adapter;
        int has = -1;
        EXPECT_EQ(adapter.HasChannel(nullptr), E_FAIL);
        adapter.HasChannel(&has);
        EXPECT_EQ(has, 0);
        IIdUnknown* item = nullptr;
        if (extended)
            adapter.CreateProcessedEx(m_inner, nullptr, &item);
        else
            adapter.CreateProcessed(m_inner, &item);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(QueryId<IVideoTriggerSettings>(item) != nullptr, extended);
        adapter.HasChannel(&has);
        EXPECT_EQ(has, 1);
        EXPECT_FALSE(m_inner.IsUnique()) << "the derived source reads through the recording";

        ASSERT_EQ(adapter.Release(), S_OK);
        adapter.HasChannel(&has);
        EXPECT_EQ(has, 1) << "still reported after Release";
        CFrameSourcePtr source;
        IIdUnknown* channel = item;
        ASSERT_EQ(adapter.GetSource(0, &source, &channel), S_OK);
        ASSERT_FALSE(source.IsEmpty());
        EXPECT_EQ(source->IsOpen(), 0) << "a new, empty source";
        EXPECT_EQ(channel, nullptr);
        // The derived source and its channel held each other; both are gone now.
        EXPECT_TRUE(m_inner.IsUnique());
    }
}

TEST_F(VidViewAdaptersTest, AnAdapterGoneWhileItsSourceLivesOnLeavesNoOwnerBehind) {
    CFrameSourcePtr cropped;
    IIdUnknown* item = nullptr;
    FakeStreamDisplay view;
    {
        CVidViewRegionAdapter adapter(&view);
        adapter.SetHost(&m_host);
        ASSERT_EQ(adapter.CreateCropped(m_inner, 1, &item), S_OK);
        auto* region = QueryId<IRegion>(item);
        ASSERT_NE(region, nullptr);
        region->SetRect(8, 8, 40, 24);
        ASSERT_EQ(region->Open("Zoom : sample.raw"), S_OK);
        ASSERT_EQ(m_host.videos.size(), 1u);
        EXPECT_EQ(m_host.videoTitles[0], "Zoom : sample.raw");
        cropped = m_host.videos[0];  // the zoom window holds the cropped source
        EXPECT_EQ(cropped.Get(), adapter.GetDerivedSource().Get());
        m_host.videos.clear();
    }
    // The view and its adapter are gone; the zoom window still shows the cropped frames.
    auto* region = QueryId<IRegion>(item);
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(region->Open("Zoom"), E_POINTER);
    EXPECT_EQ(region->SetRect(0, 0, 16, 16), S_OK);
    QImage image = BlankImage();
    {
        CDC dc(&image);
        EXPECT_EQ(QueryId<IOverlayDraw>(item, kIdRegionDrawing)->Draw(&dc, CRect(0, 0, 80, 60)),
                  E_POINTER)
            << "no view left to map into";
    }
    CFrameImage frame;
    EXPECT_EQ(cropped->GetFrame(2, &frame, 0), 1);
    EXPECT_EQ(frame.GetWidth(), 16u);
    cropped.Release();
    EXPECT_TRUE(m_inner.IsUnique());
}

TEST_F(VidViewAdaptersTest, OutOfTheirSources) {
    CVidViewToolAdapter tool;
    FakeStreamDisplay view;
    CVidViewRegionAdapter region(&view);
    CFrameSourcePtr source;
    IIdUnknown* item = nullptr;
    EXPECT_EQ(tool.GetSource(0, nullptr, &item), E_POINTER);
    EXPECT_EQ(tool.GetSource(0, &source, nullptr), E_POINTER);
    EXPECT_EQ(region.GetSource(0, nullptr, nullptr), E_POINTER);
    region.CreateCropped(m_inner, 0, nullptr);
    EXPECT_EQ(region.GetSource(0, nullptr, &item), S_OK);
    EXPECT_NE(QueryId<IRegion>(item), nullptr);
    EXPECT_EQ(region.GetSource(0, &source, nullptr), S_OK);
    EXPECT_EQ(source.Get(), region.GetDerivedSource().Get());
    IOverlayRedraw* listener = nullptr;
    EXPECT_EQ(tool.GetListener(nullptr), E_POINTER);
    EXPECT_EQ(tool.GetListener(&listener), S_OK);
    EXPECT_EQ(listener, &tool.GetOverlayListener());
    // Without a host nothing opens, and that is no failure.
    tool.CreateProcessed(m_inner, &item);
    EXPECT_EQ(QueryId<IDataChannel>(item)->Open("Mean Pixel Value"), S_OK);
    EXPECT_TRUE(m_host.dataTitles.empty());
}

TEST_F(VidViewAdaptersTest, TheViewDrawsTheMarksThroughTheAdapters) {
    const QRgb red = qRgb(255, 0, 0);
    const QRgb yellow = qRgb(255, 255, 0);
    CVidViewToolAdapter tool;
    FakeStreamDisplay view;
    CVidViewRegionAdapter region(&view);
    const CRect area(0, 0, 80, 60);
    QImage image = BlankImage();
    {
        CDC dc(&image);
        EXPECT_EQ(tool.GetOverlayListener().Draw(&dc, area), S_OK);
        EXPECT_EQ(region.GetOverlayListener().Draw(&dc, area), S_OK);
    }
    EXPECT_EQ(image, BlankImage()) << "nothing to mark yet";

    IIdUnknown* item = nullptr;
    tool.CreateProcessed(m_inner, nullptr);
    region.CreateCropped(m_inner, 0, &item);
    QueryId<IRegion>(item)->SetRect(40, 8, 60, 20);
    {
        CDC dc(&image);
        tool.GetOverlayListener().Draw(&dc, area);
        region.GetOverlayListener().Draw(&dc, area);
    }
    EXPECT_EQ(image.pixel(5, 45), red) << "the H of the histogram output";
    EXPECT_EQ(image.pixel(50, 8), yellow) << "the region's outline";

    tool.Release();
    region.Release();
    image = BlankImage();
    {
        CDC dc(&image);
        tool.GetOverlayListener().Draw(&dc, area);
        region.GetOverlayListener().Draw(&dc, area);
    }
    EXPECT_EQ(image, BlankImage()) << "removed outputs leave no mark";
}

TEST_F(VidViewAdaptersTest, RegionToolWindowHoldsItsRectangleAndDrawsItInCyan) {
    FakeStreamDisplay view;
    COverlayHost overlays;
    CFrameSourcePtr regionSource;
    {
        CRegionToolWnd tool;
        int rect[4] = {};
        ASSERT_EQ(tool.GetRect(rect), S_OK);
        EXPECT_EQ(std::vector<int>(rect, rect + 4), (std::vector<int>{10, 10, 20, 20}));
        EXPECT_EQ(tool.GetRect(nullptr), E_POINTER);
        EXPECT_EQ(tool.GetSource(nullptr), E_POINTER);
        EXPECT_EQ(tool.Open(true), E_FAIL);
        QImage image = BlankImage();
        {
            CDC dc(&image);
            EXPECT_EQ(tool.Draw(&dc, CRect(0, 0, 80, 60)), E_POINTER);
        }

        tool.SetHost(&view);
        EXPECT_EQ(tool.Open(true), S_OK);
        EXPECT_TRUE(view.selecting);
        tool.SetListener(&overlays);
        EXPECT_EQ(overlays.GetCount(), 1);
        // Stored as given: no steps of four here.
        tool.SetRect(30, 20, 7, 9);
        tool.GetRect(rect);
        EXPECT_EQ(std::vector<int>(rect, rect + 4), (std::vector<int>{30, 20, 7, 9}));
        {
            CDC dc(&image);
            EXPECT_EQ(tool.Draw(&dc, CRect(0, 0, 80, 60)), S_OK);
        }
        const QRgb cyan = qRgb(0, 255, 255);
        for (QPoint p : {QPoint(15, 9), QPoint(30, 15), QPoint(15, 20), QPoint(7, 15)})
            EXPECT_EQ(image.pixel(p), cyan) << p.x() << "," << p.y();

        ASSERT_EQ(tool.CreateRegionSource(m_inner), S_OK);
        tool.GetSource(&regionSource);
        CFrameImage frame;
        ASSERT_EQ(regionSource->GetFrame(1, &frame, 0), 1);
        EXPECT_EQ(frame.GetWidth(), 23u);
        EXPECT_EQ(frame.GetHeight(), 11u);
    }
    EXPECT_EQ(overlays.GetCount(), 0) << "the window leaves the view's overlays";
    // A window that still shows the region source keeps the last rectangle.
    CFrameImage frame;
    ASSERT_EQ(regionSource->GetFrame(2, &frame, 0), 1);
    EXPECT_EQ(frame.GetWidth(), 23u);
    regionSource.Release();
    EXPECT_TRUE(m_inner.IsUnique());
}
