#include "frames/DataChannel.h"
#include "frames/IDerivedSourceOwner.h"
#include "frames/IImageToWindowMap.h"
#include "frames/IMessagePoster.h"
#include "frames/IVideoTriggerSettings.h"
#include "frames/ProcessedFrameSource.h"
#include "frames/RegionFrameSource.h"
#include "frames/RegionObject.h"
#include "frames/SampleRecording.h"
#include "frames/TriggerDataChannel.h"
#include "platform/framework/DC.h"
#include "platform/framework/Wnd.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"

#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QImage>

#include <thread>
#include <vector>

namespace {

// An owner that records what the objects ask of it.
class FakeOwner : public IDerivedSourceOwner, public IOverlayRedraw {
public:
    HRESULT OpenFor(IIdUnknown* asker, const QString& title) override {
        askers.push_back(asker);
        titles.push_back(title);
        return S_OK;
    }
    HRESULT GetListener(IOverlayRedraw** out) override {
        if (!out)
            return E_POINTER;
        *out = this;
        return S_OK;
    }
    HRESULT Invalidate() override {
        ++redraws;
        return S_OK;
    }

    std::vector<IIdUnknown*> askers;
    std::vector<QString> titles;
    int redraws = 0;
};

// Doubles image pixels into window pixels and shifts them by (1, 2).
class FakeMapHost : public IImageMapHost, public IImageToWindowMap {
public:
    HRESULT GetImageMap(IImageToWindowMap** out) override {
        if (!available)
            return E_FAIL;
        ++handedOut;
        *out = this;
        return S_OK;
    }
    void ImageToWindow(double x, double y, double* wx, double* wy) override {
        *wx = 2 * x + 1;
        *wy = 2 * y + 2;
    }
    void ReleaseMap() override { --handedOut; }

    bool available = true;
    int handedOut = 0;
};

std::vector<float> Samples(const CSensorDataRef& data, int channel) {
    const std::vector<float>* samples = data->GetData()->ChannelSamples(channel);
    return samples ? *samples : std::vector<float>();
}

QImage BlankImage() {
    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

// A CFrameSource counted listener: how often it heard of a change, and of which frame.
class CountingListener : public CIdObjectBase, public IFrameChangeListener {
public:
    HRESULT QueryInterfaceById(int id, void** out) override {
        HRESULT result = E_FAIL;
        if (AnswerCommonQuery(id, out, &result))
            return result;
        if (id != kIdFrameChangeListener)
            return E_FAIL;
        *out = static_cast<IFrameChangeListener*>(this);
        return S_OK;
    }
    HRESULT OnFrameChanged(int frame, int) override {
        frames.push_back(frame);
        return S_OK;
    }
    std::vector<int> frames;
};

}  // namespace

class DerivedSourcesTest : public IsolatedTest {
protected:
    CFrameSourcePtr OpenSample() {
        const QString path = WorkPath("sample.raw");
        EXPECT_TRUE(CSampleRecording::Write(path));
        CFrameSourcePtr source(new CFrameSource);
        EXPECT_EQ(source->Open(path), 1);
        return source;
    }
    static double SampleMean(int n, const CRect& r) {
        double sum = 0.0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                sum += CSampleRecording::Level(n, x, y);
        return sum / (r.Width() * r.Height());
    }
};

TEST_F(DerivedSourcesTest, HistoryLengthAndClearing) {
    CDataChannel channel(nullptr);
    CSensorDataRef data;
    ASSERT_EQ(channel.GetData(&data), S_OK);
    EXPECT_EQ(data->GetScanCount(), 100);
    EXPECT_EQ(data->GetActiveChannelCount(), 1);

    for (int scans : {0, -5}) {
        channel.SetHistoryLength(scans);
        EXPECT_EQ(data->GetScanCount(), 100) << scans;
    }
    channel.SetHistoryLength(4);
    for (double v : {1.0, 2.0, 3.0})
        channel.AddValue(v);
    EXPECT_EQ(Samples(data, 0), (std::vector<float>{0.0f, 1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(channel.ClearHistory(), S_OK);
    EXPECT_EQ(Samples(data, 0), (std::vector<float>(4, 0.0f))) << "length kept, values zero";

    // A history without any stored channel clears to the default length.
    data->Init(0, 7, 1, 10.0, 0);
    ASSERT_EQ(data->GetScanCount(), -1);
    channel.ClearHistory();
    EXPECT_EQ(data->GetScanCount(), 100);
    EXPECT_EQ(data->GetActiveChannelCount(), 1);

    EXPECT_EQ(channel.GetData(nullptr), E_POINTER);
    EXPECT_EQ(channel.GetSource(nullptr), E_POINTER);
}

TEST_F(DerivedSourcesTest, TriggerChannelKeepsLimitsValueAndLimit) {
    CTriggerDataChannel channel(nullptr);
    CSensorDataRef data;
    channel.GetData(&data);
    ASSERT_EQ(data->GetActiveChannelCount(), 3);
    ASSERT_EQ(data->GetScanCount(), 100);
    auto* trigger = QueryId<IVideoTriggerSettings>(&channel);
    ASSERT_NE(trigger, nullptr);
    int frames = 0, above = 0, below = 0;
    double up = 0.0, down = 0.0;
    trigger->GetBaseline(&frames, &up, &down);
    trigger->GetDirections(&above, &below);
    EXPECT_EQ(frames, 10);
    EXPECT_DOUBLE_EQ(up, 10.0);
    EXPECT_DOUBLE_EQ(down, 10.0);
    EXPECT_EQ(above, 1);
    EXPECT_EQ(below, 1);

    channel.SetHistoryLength(12);
    EXPECT_EQ(data->GetActiveChannelCount(), 3);
    // Eleven values learn the baseline; until then each value is stored three times.
    for (int i = 0; i < 10; ++i)
        channel.AddValue(50.0);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(Samples(data, c).back(), 50.0f) << c;
    channel.AddValue(50.0);
    channel.AddValue(55.0);
    EXPECT_EQ(Samples(data, 0).back(), 60.0f);
    EXPECT_EQ(Samples(data, 1).back(), 55.0f);
    EXPECT_EQ(Samples(data, 2).back(), 40.0f);

    // Clearing also starts the trigger's learning again.
    channel.ClearHistory();
    int ready = -1;
    trigger->IsBaselineReady(&ready);
    EXPECT_EQ(ready, 0);
    EXPECT_EQ(Samples(data, 1), std::vector<float>(12, 0.0f));
}

TEST_F(DerivedSourcesTest, ObjectsAnswerTheirIds) {
    CDataChannel plain(nullptr);
    CTriggerDataChannel trigger(nullptr);
    CRegionObject region(nullptr);
    struct Case {
        IIdUnknown* object;
        std::vector<int> answered;
        std::vector<int> refused;
    };
    const Case cases[] = {
        {&plain, {1, 8}, {6, 7, 11, 33}},
        {&trigger, {1, 6, 8, 11}, {7, 33}},
        {&region, {1, 7, 33}, {6, 8, 11}},
    };
    for (const Case& c : cases) {
        for (int id : c.answered) {
            void* out = nullptr;
            EXPECT_EQ(c.object->QueryInterfaceById(id, &out), S_OK) << id;
            EXPECT_NE(out, nullptr) << id;
        }
        for (int id : c.refused) {
            void* out = nullptr;
            EXPECT_EQ(c.object->QueryInterfaceById(id, &out), E_FAIL) << id;
            EXPECT_EQ(out, nullptr) << id;
        }
        EXPECT_EQ(c.object->QueryInterfaceById(1, nullptr), E_POINTER);
    }
    // The trigger channel hands out its record's poster, which posts for the record.
    auto* poster = QueryId<IMessagePoster>(&trigger);
    ASSERT_NE(poster, nullptr);
    EXPECT_EQ(QueryId<IDataChannel>(poster), static_cast<IDataChannel*>(&trigger))
        << "the record's outer is the channel";
}

TEST_F(DerivedSourcesTest, OpenAsksTheOwnerUnlessTheSourceIsFollowedAlready) {
    FakeOwner owner;
    CDataChannel channel(&owner);
    EXPECT_EQ(channel.Open("Mean Pixel Value"), S_OK);
    ASSERT_EQ(owner.askers.size(), 1u);
    EXPECT_EQ(owner.askers[0], static_cast<IIdUnknown*>(&channel));
    EXPECT_EQ(owner.titles[0], "Mean Pixel Value");

    CFrameSourcePtr source(new CFrameSource);
    CountingListener window;
    int cookie = 0;
    source->Advise(&window, &cookie);
    channel.SetSource(source);
    EXPECT_EQ(channel.Open("again"), S_OK);
    EXPECT_EQ(owner.askers.size(), 1u) << "a window follows the source already";
    source->Unadvise(cookie);
    channel.SetSource(CFrameSourcePtr());

    channel.SetOwner(nullptr);
    EXPECT_EQ(channel.Open("orphan"), E_POINTER);
    CRegionObject region(nullptr);
    EXPECT_EQ(region.Open("Zoom"), E_POINTER);
    CRegionObject owned(&owner);
    EXPECT_EQ(owned.Open("Zoom"), S_OK);
    EXPECT_EQ(owner.askers.back(), static_cast<IIdUnknown*>(&owned));
}

TEST_F(DerivedSourcesTest, MarkerIsARedHInTheLowerLeft) {
    CDataChannel channel(nullptr);
    QImage image = BlankImage();
    {
        CDC dc(&image);
        EXPECT_EQ(channel.Draw(&dc, CRect(0, 0, 80, 60)), S_OK);
    }
    const QRgb red = qRgb(255, 0, 0);
    // Strokes: x = 5 and x = 20 from y = 35 to 55, and the bar at y = 45.
    for (QPoint p : {QPoint(5, 40), QPoint(20, 50), QPoint(12, 45)})
        EXPECT_EQ(image.pixel(p), red) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(12, 38), QPoint(12, 52), QPoint(30, 45), QPoint(5, 20)})
        EXPECT_NE(image.pixel(p), red) << p.x() << "," << p.y();
    EXPECT_EQ(channel.Draw(nullptr, CRect(0, 0, 80, 60)), E_FAIL);
}

TEST_F(DerivedSourcesTest, RegionSnapsToStepsOfFourAndRedrawsTheView) {
    FakeOwner owner;
    CRegionObject region(&owner);
    int rect[4] = {};
    region.GetRect(rect);
    EXPECT_EQ(std::vector<int>(rect, rect + 4), (std::vector<int>{10, 10, 20, 20}));
    struct Case {
        int in[4];
        int out[4];
    };
    const Case cases[] = {
        {{0, 0, 7, 9}, {0, 0, 4, 8}},
        {{10, 10, 3, 3}, {10, 10, 6, 6}},
        {{-3, 2, 5, 2}, {-3, 2, 5, 2}},
        {{4, 4, 4, 4}, {4, 4, 4, 4}},
    };
    int redraws = 0;
    for (const Case& c : cases) {
        region.SetRect(c.in[0], c.in[1], c.in[2], c.in[3]);
        region.GetRect(rect);
        EXPECT_EQ(std::vector<int>(rect, rect + 4), std::vector<int>(c.out, c.out + 4));
        EXPECT_EQ(owner.redraws, ++redraws);
    }
    EXPECT_EQ(region.GetRect(nullptr), E_POINTER);
}

TEST_F(DerivedSourcesTest, RegionOutlineIsMappedIntoTheView) {
    FakeMapHost host;
    CRegionObject region(nullptr);
    QImage image = BlankImage();
    {
        CDC dc(&image);
        EXPECT_EQ(region.Draw(&dc, CRect(0, 0, 80, 60)), E_POINTER) << "no mapper host yet";
    }
    region.SetMapperHost(&host);
    // Given right to left: the outline is the same rectangle, (4, 4)-(20, 16) in the image.
    region.SetRect(20, 16, 4, 4);
    {
        CDC dc(&image);
        EXPECT_EQ(region.Draw(&dc, CRect(0, 0, 80, 60)), S_OK);
    }
    EXPECT_EQ(host.handedOut, 0) << "the map is given back";
    const QRgb yellow = qRgb(255, 255, 0);
    // Window corners (9, 10) and (41, 34).
    for (QPoint p : {QPoint(20, 10), QPoint(41, 20), QPoint(20, 34), QPoint(9, 20)})
        EXPECT_EQ(image.pixel(p), yellow) << p.x() << "," << p.y();
    EXPECT_NE(image.pixel(20, 20), yellow) << "an outline, not a fill";

    // Neither a device context nor a window, or no map: nothing is drawn, and that is no
    // failure.
    EXPECT_EQ(region.Draw(nullptr, CRect()), S_OK);
    EXPECT_EQ(host.handedOut, 0);
    host.available = false;
    QImage untouched = BlankImage();
    {
        CDC dc(&untouched);
        EXPECT_EQ(region.Draw(&dc, CRect(0, 0, 80, 60)), S_OK);
    }
    EXPECT_EQ(untouched, BlankImage());
}

TEST_F(DerivedSourcesTest, ProcessedSourceFollowsItsInnerSourceAndMeasuresEachFrame) {
    CFrameSourcePtr inner = OpenSample();
    CDataChannel* channel = nullptr;
    CFrameSourcePtr processed(new CProcessedFrameSource(inner, nullptr, &channel));
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(processed->IsOpen(), 1);
    EXPECT_EQ(processed->GetFrameCount(), CSampleRecording::kFrames);
    EXPECT_EQ(processed->GetFirstFrameNumber(), CSampleRecording::kFirstFrame);
    int width = 0, height = 0;
    processed->GetImageSize(&width, &height);
    EXPECT_EQ(width, CSampleRecording::kWidth);
    EXPECT_EQ(height, CSampleRecording::kHeight);
    EXPECT_NE(processed->GetIdInterface(), nullptr);

    CountingListener window;
    int cookie = 0;
    processed->Advise(&window, &cookie);
    channel->SetHistoryLength(3);
    for (int n : {7, 8, 9})
        ASSERT_EQ(inner->MoveToFrame(n, 1, 0), 1);
    EXPECT_EQ(window.frames, (std::vector<int>{7, 8, 9})) << "the change reaches its listeners";
    CSensorDataRef data;
    channel->GetData(&data);
    const CRect whole(0, 0, CSampleRecording::kWidth, CSampleRecording::kHeight);
    const std::vector<float> history = Samples(data, 0);
    ASSERT_EQ(history.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(history[static_cast<size_t>(i)], SampleMean(7 + i, whole), 1e-3) << i;
    processed->Unadvise(cookie);

    // The derived source goes first: the inner one no longer calls it.
    processed.Release();
    EXPECT_TRUE(inner.IsUnique());
    EXPECT_EQ(inner->MoveToFrame(10, 1, 0), 1);
    int listeners = -1;
    inner->GetNotifier()->GetCount(&listeners);
    EXPECT_EQ(listeners, 0);
}

// The source under a derived one steps and tells it, which reads through it, while another
// thread reads the derived source: both take the two read locks in one order.
TEST_F(DerivedSourcesTest, DerivedSourceReadsOnAnotherThreadWhileItsInnerSourceSteps) {
    CFrameSourcePtr inner = OpenSample();
    CDataChannel* channel = nullptr;
    CFrameSourcePtr processed(new CProcessedFrameSource(inner, nullptr, &channel));
    constexpr int kSteps = 10000;
    int reads = 0;
    std::thread reader([&] {
        CFrameImage image;
        for (int i = 0; i < kSteps; ++i)
            reads += processed->GetFrame((i * 7) % CSampleRecording::kFrames, &image, 0);
    });
    int steps = 0;
    for (int i = 0; i < kSteps; ++i)
        steps += inner->MoveToFrame(i % CSampleRecording::kFrames, 1, 0);
    reader.join();
    EXPECT_EQ(reads, kSteps);
    EXPECT_EQ(steps, kSteps);
}

TEST_F(DerivedSourcesTest, ExtendedSourcePostsItsTriggerToTheGivenWindow) {
    CFrameSourcePtr inner = OpenSample();
    CWnd window;
    ASSERT_TRUE(window.Create(nullptr, "trigger", 0, CRect(0, 0, 10, 10), nullptr, 0));
    CTriggerDataChannel* channel = nullptr;
    CFrameSourcePtr processed(
        new CProcessedFrameSourceEx(inner, nullptr, window.GetSafeHwnd(), &channel));
    ASSERT_NE(channel, nullptr);
    auto* trigger = QueryId<IVideoTriggerSettings>(channel);
    ASSERT_NE(trigger, nullptr);
    // The disc moving over the background changes the mean by less than a level: a band of
    // 0.001 round the baseline of the first eleven frames is soon left.
    trigger->SetBaseline(10, 0.001, 0.001);
    for (int n = 0; n < 40; ++n)
        inner->MoveToFrame(n, 1, 0);
    int triggered = 0;
    trigger->IsTriggered(&triggered);
    EXPECT_EQ(triggered, 1);
}

TEST_F(DerivedSourcesTest, CroppedSourceCutsOutItsRegion) {
    CFrameSourcePtr inner = OpenSample();
    FakeOwner owner;
    CRegionObject* region = nullptr;
    CFrameSourcePtr cropped(new CCroppedFrameSource(inner, &owner, 2, &region));
    ASSERT_NE(region, nullptr);
    int width = 0, height = 0;
    cropped->GetImageSize(&width, &height);
    EXPECT_EQ(width, 10);
    EXPECT_EQ(height, 10);

    struct Case {
        int rect[4];
        CRect expected;  // empty: the frame cannot be cut out
    };
    const Case cases[] = {
        {{40, 30, 72, 46}, CRect(40, 30, 72, 46)},
        {{72, 46, 40, 30}, CRect(40, 30, 72, 46)},          // right to left, bottom to top
        {{240, 180, 280, 200}, CRect(240, 180, 256, 192)},  // kept inside the frame
        {{300, 300, 340, 340}, CRect()},
    };
    for (const Case& c : cases) {
        region->SetRect(c.rect[0], c.rect[1], c.rect[2], c.rect[3]);
        CFrameImage image;
        const int read = cropped->GetFrame(5, &image, 0);
        cropped->MoveToFrame(6, 0, 0);  // the next case reads again
        if (c.expected.IsRectEmpty()) {
            EXPECT_EQ(read, 0);
            continue;
        }
        ASSERT_EQ(read, 1);
        ASSERT_EQ(image.GetWidth(), static_cast<UINT>(c.expected.Width()));
        ASSERT_EQ(image.GetHeight(), static_cast<UINT>(c.expected.Height()));
        cropped->GetImageSize(&width, &height);
        EXPECT_EQ(width, c.expected.Width());
        EXPECT_NEAR(CProcessedFrameSource::MeanPixelValue(image), SampleMean(5, c.expected), 1e-3);
    }
}
