#include "sensordata/DataAcqWnd.h"

#include "devices/core/DeviceManager.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroup.h"
#include "devices/sim/SimDriver.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/controls/GraphWidget.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "sensordata/DataDeviceRegistry.h"
#include "sensordata/StandardRates.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SondrelModule.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

// A data card the program drives itself (no driver), with the limits a test gives it: the
// arithmetic of the parameters needs nothing else.
std::unique_ptr<CDataAcqWnd> BareCard(int channelsOn, int aggregateRate, int bufferSamples) {
    auto card = std::make_unique<CDataAcqWnd>(
        CDeviceDescriptor(CDeviceId(kDeviceTypeDataCard, 1, 0)), nullptr);
    CAcqSettings& settings = card->GetAcqSettings();
    settings.SetChannelCount(std::max(1, (channelsOn + 1) / 2));
    for (int c = 0; c < channelsOn; ++c)
        settings.m_on[c] = 1;
    settings.m_nMaxAggregateRate = aggregateRate;
    settings.UpdateMaxChannelRate();
    card->SetBufferCapacity(bufferSamples);
    return card;
}

std::vector<int> SamplesPerFrame(const CDataAcqWnd& card, int frameRate, int channelsOn) {
    int count = 0;
    card.ListSamplesPerFrame(frameRate, channelsOn, nullptr, &count);
    std::vector<int> values(static_cast<size_t>(count));
    card.ListSamplesPerFrame(frameRate, channelsOn, values.data(), &count);
    return values;
}

struct Params {
    int rate, d, frames, post, edge, percent;
    bool operator==(const Params&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Params& p) {
    return os << "{r " << p.rate << ", d " << p.d << ", frames " << p.frames << ", post " << p.post
              << ", edge " << p.edge << ", " << p.percent << "%}";
}

Params Stored(const CDataAcqWnd& card) {
    Params p{};
    int samples = 0;
    card.GetSampleParams(&p.rate, &p.d, &samples, &p.post, &p.edge);
    p.frames = card.GetFrameCount();
    p.percent = card.GetPreTriggerPercent();
    return p;
}

}  // namespace

TEST(StandardRatesTest, TheTableIsTheDivisorsOfTwentyMillion) {
    std::vector<int> divisors;
    for (int r = 2; r <= 1250000; ++r) {
        if (20000000 % r == 0)
            divisors.push_back(r);
    }
    std::vector<int> rates(100, -1);
    int count = 100;
    GetStandardRates(rates.data(), &count);
    EXPECT_EQ(count, 65);
    EXPECT_EQ(GetStandardRateCount(), 65);
    rates.resize(65);
    EXPECT_EQ(rates, divisors);

    std::vector<int> untouched(3, -1);
    for (int asked : {0, -4}) {
        count = asked;
        GetStandardRates(untouched.data(), &count);
        EXPECT_EQ(count, asked);
        EXPECT_EQ(untouched, std::vector<int>(3, -1));
    }
    count = 3;
    GetStandardRates(untouched.data(), &count);
    EXPECT_EQ(untouched, (std::vector<int>{2, 4, 5}));

    const struct {
        int rate, standard;
    } cases[] = {{3125, 1}, {3000, 0}, {2, 1}, {1, 0}, {1250000, 1}, {2500000, 0}, {-5, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(IsStandardRate(c.rate), c.standard) << c.rate;
}

TEST(DataAcqWndTest, SamplesPerFrameAreTheTableRatesOfWholeFrames) {
    auto card = BareCard(1, 100000, 1 << 20);
    EXPECT_EQ(SamplesPerFrame(*card, 1000, 1),
              (std::vector<int>{1, 2, 4, 5, 8, 10, 16, 20, 25, 32, 40, 50, 80, 100}));
    // Two channels share the aggregate: the table walk ends at 50 000.
    EXPECT_EQ(SamplesPerFrame(*card, 1000, 2),
              (std::vector<int>{1, 2, 4, 5, 8, 10, 16, 20, 25, 32, 40, 50}));
    // A frame rate below 1 counts as 1: every table rate up to the limit, no division by 0.
    std::vector<int> all;
    for (int i = 0; i < kStandardRateCount && StandardRate(i) <= 100000; ++i)
        all.push_back(StandardRate(i));
    EXPECT_EQ(SamplesPerFrame(*card, 0, 1), all);
    EXPECT_EQ(SamplesPerFrame(*card, -3, 1), all);
}

TEST(DataAcqWndTest, FindNearestRateTakesTheSmallestWholeFrameRateNotBelowTheRequest) {
    auto card = BareCard(1, 100000, 1 << 20);
    const struct {
        int rate, d, wantRate, wantD, exact;
    } cases[] = {
        {1000, 10, 1000, 10, 1},
        // Frame rate 300: 3125 holds whole frames at 625 (its smallest divisor from 300 up).
        {3000, 10, 3125, 5, 0},
        // Samples per frame below 1 count as 1.
        {1000, 0, 1000, 1, 1},
        // A rate below its samples per frame: the frame rate counts as 1.
        {5, 10, 5, 5, 0},
        // Above the per-channel maximum nothing fits: the first rate at the maximum.
        {200000, 1, 100000, 100000, 0},
    };
    for (const auto& c : cases) {
        int rate = -1;
        int d = -1;
        EXPECT_EQ(card->FindNearestRate(c.rate, c.d, &rate, &d), c.exact) << c.rate << "/" << c.d;
        EXPECT_EQ(rate, c.wantRate) << c.rate << "/" << c.d;
        EXPECT_EQ(d, c.wantD) << c.rate << "/" << c.d;
    }
}

TEST(DataAcqWndTest, CounterRangeFollowsTheCounterKind) {
    auto card = BareCard(1, 100000, 1 << 20);
    ASSERT_EQ(card->ApplyParams(1000, 10, 1000, 500, 1), 0);
    const struct {
        int kind, rate;
        double seconds;
    } cases[] = {
        {CDataAcqWnd::kFixedCounter, 0, 167.0},
        {CDataAcqWnd::kFixedCounter, 5000, 167.0},
        {CDataAcqWnd::kRateCounter, 0, 16777215.0 / 1500000.0},
        {CDataAcqWnd::kRateCounter, 2000, 16777215.0 / 2000.0},
        // Frames of the stored 10 samples: 1000 / 10, or 1 500 000 / 10 without a rate.
        {CDataAcqWnd::kFrameCounter, 1000, 16777215.0 / 100.0},
        {CDataAcqWnd::kFrameCounter, 5, 16777215.0 / 150000.0},
        {CDataAcqWnd::kHalfFrameCounter, 1000, 16777215.0 / 200.0},
        // A negative rate is the current one.
        {CDataAcqWnd::kRateCounter, -1, 16777215.0 / 1000.0},
        {2, 1000, -1.0},
        {9, 1000, -1.0},
    };
    for (const auto& c : cases) {
        card->SetCounterKind(c.kind);
        EXPECT_DOUBLE_EQ(card->GetMaxCounterSeconds(c.rate), c.seconds)
            << "kind " << c.kind << " rate " << c.rate;
    }
}

TEST(DataAcqWndTest, ApplyParamsClampsAndSaysWhatItChanged) {
    const struct {
        const char* name;
        int kind, buffer, acquiringFirst;
        int rate, d, samples, post;
        int status;
        Params stored;
    } cases[] = {
        {"as asked", 0, 1 << 20, 0, 1000, 10, 1000, 500, 0, {1000, 10, 100, 491, 1, 51}},
        {"samples below d + 1", 0, 1 << 20, 0, 1000, 10, 5, 500, 0, {1000, 10, 2, 11, 1, 0}},
        {"d below 1", 0, 1 << 20, 0, 1000, 0, 100, 50, 0, {1000, 1, 100, 50, 1, 51}},
        {"rate outside the table",
         0,
         1 << 20,
         0,
         3000,
         10,
         1000,
         500,
         3,
         {3000, 10, 100, 491, 1, 51}},
        {"buffer", 0, 400, 0, 1000, 10, 1000, 500, 4, {1000, 10, 40, 391, 1, 3}},
        // The counter range is negative: the post-trigger samples fall to max(2, d).
        {"unknown counter", 7, 1 << 20, 0, 1000, 10, 1000, 500, 5, {1000, 10, 100, 11, 1, 99}},
        {"unknown counter, d 1", 7, 1 << 20, 0, 1000, 1, 1000, 500, 5, {1000, 1, 1000, 3, 1, 100}},
        // 167 s at 2 scans/s: 334 samples at most after the trigger.
        {"counter range", 0, 1 << 20, 0, 2, 1, 1000, 900, 5, {2, 1, 1000, 334, 1, 67}},
        {"a rate below d", 0, 1 << 20, 0, 5, 10, 100, 50, 0, {5, 10, 10, 41, 1, 60}},
    };
    for (const auto& c : cases) {
        auto card = BareCard(1, 100000, c.buffer);
        card->SetCounterKind(c.kind);
        EXPECT_EQ(card->ApplyParams(c.rate, c.d, c.samples, c.post, 1), c.status) << c.name;
        EXPECT_EQ(Stored(*card), c.stored) << c.name;
    }

    // Above the per-channel maximum the largest samples per frame of the frame rate that makes
    // a table rate is taken, and the rate rounded to it.
    auto fast = BareCard(4, 100000, 1 << 20);
    EXPECT_EQ(fast->ApplyParams(40000, 4, 4000, 2000, 2), 0);
    EXPECT_EQ(Stored(*fast), (Params{20000, 2, 2000, 1999, 2, 51}));
}

TEST(DataAcqWndTest, TheFrameFormKeepsThePostTriggerSamples) {
    auto card = BareCard(1, 100000, 1 << 20);
    ASSERT_EQ(card->ApplyParams(1000, 10, 1000, 500, 1), 0);
    for (int trip = 0; trip < 3; ++trip) {
        int frameRate = 0, d = 0, frames = 0, postFrames = 0, edge = 0;
        card->GetFrameParams(&frameRate, &d, &frames, &postFrames, &edge);
        EXPECT_EQ(frameRate, 100);
        EXPECT_EQ(postFrames, 49);
        EXPECT_EQ(card->ApplyFrameParams(frameRate, d, frames, postFrames, edge), 0);
        EXPECT_EQ(Stored(*card), (Params{1000, 10, 100, 491, 1, 51})) << "trip " << trip;
    }
    EXPECT_EQ(card->ReapplyParams(), 0);
    EXPECT_EQ(Stored(*card), (Params{1000, 10, 100, 491, 1, 51}));

    // Frames that hold more samples than an int counts are cut to the buffer (then whole frames
    // of the 10 000 samples the rate limit leaves), not wrapped; the post-trigger samples to the
    // counter.
    EXPECT_EQ(card->ApplyFrameParams(10, 100000, 1000000, 500000, 1), 5);
    EXPECT_EQ(Stored(*card), (Params{100000, 10000, 105, 1040001, 1, 1}));
}

TEST(DataAcqWndTest, LimitsFollowTheChannelsThatAreOn) {
    auto card = BareCard(4, 100000, 4000);
    EXPECT_EQ(card->GetMaxSamplesPerChannel(), 1000);
    EXPECT_DOUBLE_EQ(card->GetMaxChannelRate(), 25000.0);
    card->GetAcqSettings().m_on.fill(0);
    EXPECT_EQ(card->GetMaxSamplesPerChannel(), -1);
    EXPECT_DOUBLE_EQ(card->GetMaxChannelRate(), 100000.0);
    // A flag other than 1 does not count as on.
    card->GetAcqSettings().m_on[0] = 2;
    card->GetAcqSettings().m_on[1] = 1;
    EXPECT_EQ(card->GetMaxSamplesPerChannel(), 4000);

    const struct {
        int mode, allowed, can;
    } triggers[] = {{0, 0, 1}, {2, 0, 1}, {1, 0, 0}, {1, 1, 1}};
    for (const auto& t : triggers) {
        card->SetTriggerMode(t.mode);
        card->SetTriggerAllowed(t.allowed);
        EXPECT_EQ(card->CanTrigger(), t.can) << t.mode << "/" << t.allowed;
    }
}

TEST(DataAcqWndTest, TheRegistryFindsDataDevicesByHandleAndFollowsTheCurrentOne) {
    auto first = BareCard(1, 100000, 1000);
    auto second = BareCard(1, 100000, 1000);
    int a = 0, b = 0;
    first->GetHandle(&a);
    second->GetHandle(&b);
    CDeviceId id(9, 9, 9);
    const int before = FindDataDevice(b, &id);
    EXPECT_GE(before, 0);
    EXPECT_EQ(id, CDeviceId(kDeviceTypeDataCard, 1, 0));
    EXPECT_EQ(FindDataDevice(-7, &id), -1);
    EXPECT_EQ(id, CDeviceId()) << "the default id when none matches";

    const int previous = SetCurrentDataDevice(b);
    int index = -2;
    EXPECT_EQ(GetDataDevice(-1, nullptr, &index), second.get());
    EXPECT_EQ(index, before);
    EXPECT_EQ(GetDataDeviceCallback(nullptr, -1), second.get());
    EXPECT_EQ(GetDataDevice(a), first.get());
    EXPECT_EQ(SetCurrentDataDevice(-1), b);
    EXPECT_EQ(GetDataDevice(-1, nullptr, &index), nullptr);
    EXPECT_EQ(index, -1);
    second.reset();
    EXPECT_EQ(FindDataDevice(b, nullptr), -1) << "a device that went is gone from the registry";
    SetCurrentDataDevice(previous);
}

namespace {

// A simulated card of four channels on an injected clock, opened through the driver layer as
// the program opens it, with its window shown.
class LiveCardTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        CResourceChain::AddModule(RmResourceModule());
        DriverLoader::ResetForTests();
        OpenDevices::ResetForTests();
        DriverLoader::ScanFolders({});
        SimDriverConfig config;
        config.cameras = 0;
        config.cards = 1;
        config.cardChannels = 4;
        DriverLoader::RegisterDriver(QStringLiteral("sim"),
                                     MakeSimFamilies(config, &m_clock.services));
        InstallDataCardFactory();
        m_card = dynamic_cast<CDataAcqWnd*>(
            DriverLoader::OpenById(CDeviceId(kDeviceTypeDataCard, 1, 0)));
    }
    void TearDown() override {
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        CResourceChain::RemoveModule(RmResourceModule());
        IsolatedTest::TearDown();
    }

    // Moves the clock on by one timer period and runs the tick.
    void NextTick() {
        m_clock.nowNs += int64_t(CDataAcqWnd::kTickMs) * 1000000;
        m_card->Tick();
    }

    static double Sine(int64_t scan) {
        return 2.5 * std::sin(2 * std::numbers::pi * scan / 1000.0);
    }
    static double Ramp(int64_t scan) {
        const double t = scan / 1000.0;
        return -5.0 + 10.0 * (t - std::floor(t));
    }

    SimHostClock m_clock;
    CDataAcqWnd* m_card = nullptr;
};

// The y of the first pixel of the colour in column x, or -1.
int FirstRowOf(const QImage& image, int x, QRgb colour) {
    for (int y = 0; y < image.height(); ++y) {
        if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
            return y;
    }
    return -1;
}

}  // namespace

TEST_F(LiveCardTest, DataCardsOpenAsAcquisitionWindowsOverTheirDriver) {
    ASSERT_NE(m_card, nullptr);
    CDeviceDescriptor descriptor;
    m_card->GetDescriptor(&descriptor);
    EXPECT_EQ(descriptor.m_name, QStringLiteral("Simulated data card 1"));
    EXPECT_EQ(DriverLoader::OpenById(CDeviceId(kDeviceTypeDataCard, 1, 0)), m_card)
        << "opened once";
    int handle = 0;
    m_card->GetHandle(&handle);
    EXPECT_EQ(GetDataDevice(handle), m_card);
    // The card's limits: 200 000 scans/s over all four channels, every channel on.
    EXPECT_EQ(m_card->GetMaxAggregateRate(), 200000);
    EXPECT_EQ(m_card->GetAcqSettings().ChannelsOn(), 4);
    EXPECT_EQ(m_card->GetAcqSettings().ChannelNumbers(), 4);
    EXPECT_EQ(Stored(*m_card), (Params{1000, 10, 100, 491, 1, 51}));
    // The parameters reached the card.
    double rate = 0;
    m_card->Driver()->GetRecordRate(&rate);
    EXPECT_EQ(rate, 1000.0);
    DriverTriggerSetting trigger;
    m_card->Driver()->GetTriggerSetting(&trigger);
    EXPECT_EQ(trigger.postTriggerFrames, 491);
}

TEST_F(LiveCardTest, TheShownWindowOwnsItsCardUntilItCloses) {
    ASSERT_NE(m_card, nullptr);
    CDeviceManager keepDevices;  // the card outlives the groups
    int handle = -1;
    m_card->GetHandle(&handle);
    ASSERT_TRUE(m_card->ShowWindowFor(nullptr));
    EXPECT_EQ(OpenDevices::GetOwnerFlagByHandle(handle), 1);
    {
        CRecordGroup group;
        EXPECT_EQ(group.AddDevice(handle), -1) << "a record group may not take the shown card";
    }
    m_card->SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(m_card->IsWindowVisible());
    EXPECT_EQ(OpenDevices::GetOwnerFlagByHandle(handle), 0);
    CRecordGroup group;
    EXPECT_EQ(group.AddDevice(handle), 0);
}

TEST_F(LiveCardTest, TenTicksFillTheLiveDataAndMoveTheTraces) {
    ASSERT_NE(m_card, nullptr);
    ASSERT_TRUE(m_card->ShowWindowFor(nullptr));
    CDataDisplayDlg* display = m_card->GetDataDisplay();
    ASSERT_NE(display, nullptr) << "the window's panel gave its display to the card";
    auto* graph = display->GetQWidget()->findChild<CGraphWidget*>();
    ASSERT_NE(graph, nullptr);
    ASSERT_EQ(m_card->StartAcquisition(), 0);
    EXPECT_EQ(m_card->IsAcquiring(), 1);
    EXPECT_EQ(m_card->GetRecordState(), 2);
    EXPECT_EQ(m_card->StartAcquisition(), 1) << "already running";

    // The sine (green) and the ramp (red) are drawn; noise and output lie along 0 and would
    // cover them there.
    m_card->GetFormatSettings().m_displayed[2] = false;
    m_card->GetFormatSettings().m_displayed[3] = false;
    const QSize size(400, 240);
    const QRgb colours[] = {qRgb(0, 255, 0), qRgb(255, 0, 0)};
    std::vector<int> previous;
    const CVidraData& live = m_card->GetLiveData();
    for (int tick = 1; tick <= 10; ++tick) {
        NextTick();
        ASSERT_EQ(live.m_nTotalScans, 1000);
        ASSERT_EQ(live.m_channels.size(), 4u);
        // Scans 1 .. 100 x tick have come in, the newest last; the rest of the window is empty.
        const int64_t newest = 100 * tick;
        for (int i : {0, 500, 899, 900, 950, 999}) {
            const int64_t scan = newest - (999 - i);
            const double sine = scan >= 1 ? Sine(scan) : 0.0;
            const double ramp = scan >= 1 ? Ramp(scan) : 0.0;
            EXPECT_NEAR(live.m_channels[0][size_t(i)], sine, 1e-5) << "tick " << tick << " i " << i;
            EXPECT_NEAR(live.m_channels[1][size_t(i)], ramp, 1e-5) << "tick " << tick << " i " << i;
        }
        QImage image(size, QImage::Format_RGB32);
        QPainter painter(&image);
        graph->Render(painter, size);
        painter.end();
        // Probes in the newest tenth of the window, which every tick refills.
        std::vector<int> rows;
        int found = 0;
        for (QRgb colour : colours) {
            for (int index : {920, 950, 980}) {
                const int x = static_cast<int>(graph->ToPixel(index, 0, size).x());
                rows.push_back(FirstRowOf(image, x, colour));
                found += rows.back() >= 0 ? 1 : 0;
            }
        }
        EXPECT_GE(found, 4) << "both traces are drawn, tick " << tick;
        EXPECT_NE(rows, previous) << "the traces moved, tick " << tick;
        previous = rows;
    }
    EXPECT_EQ(graph->PlotCount(), 2);

    m_card->StopAcquisition();
    EXPECT_EQ(m_card->IsAcquiring(), 0);
    const std::vector<float> kept = live.m_channels[0];
    NextTick();
    EXPECT_EQ(live.m_channels[0], kept) << "a stopped acquisition takes no more scans";
}

// The user's zoom, pan and cursor stay while every tick redraws the live traces.
TEST_F(LiveCardTest, TicksKeepTheUsersZoomPanAndCursor) {
    ASSERT_NE(m_card, nullptr);
    ASSERT_TRUE(m_card->ShowWindowFor(nullptr));
    CDataDisplayDlg* display = m_card->GetDataDisplay();
    ASSERT_NE(display, nullptr);
    auto* graph = display->GetQWidget()->findChild<CGraphWidget*>();
    ASSERT_NE(graph, nullptr);
    ASSERT_EQ(m_card->StartAcquisition(), 0);
    NextTick();
    const auto mouse = [&](QEvent::Type type, QPoint at) {
        QMouseEvent event(type, at, graph->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(graph, &event);
    };
    const auto drag = [&](QPoint from, QPoint to) {
        mouse(QEvent::MouseButtonPress, from);
        mouse(QEvent::MouseMove, to);
        mouse(QEvent::MouseButtonRelease, to);
    };
    const auto span = [&] {
        const CGraphWidget::Span x = graph->VisibleSpan(GraphAxis::X);
        const CGraphWidget::Span y = graph->VisibleSpan(GraphAxis::Y);
        return std::vector<double>{x.low, x.high, y.low, y.high};
    };
    const std::vector<double> full = span();
    const QRect area = CGraphWidget::PlotArea(graph->size());
    display->SetCursorIndex(600, false);
    display->SetMouseMode(CDataDisplayDlg::kZoomMode);
    drag(area.topLeft() + QPoint(area.width() / 4, 10), area.center());
    display->SetMouseMode(CDataDisplayDlg::kPanMode);
    drag(area.center(), area.center() + QPoint(30, 20));
    const std::vector<double> chosen = span();
    ASSERT_LT(chosen[1] - chosen[0], full[1] - full[0]) << "no zoom";
    ASSERT_NE(chosen[0], full[0]);

    const std::vector<float> before = m_card->GetLiveData().m_channels[0];
    for (int tick = 0; tick < 3; ++tick)
        NextTick();
    EXPECT_NE(m_card->GetLiveData().m_channels[0], before) << "no new scans came in";
    EXPECT_EQ(span(), chosen);
    EXPECT_EQ(display->GetCursorIndex(), 600);
}

TEST_F(LiveCardTest, ALongPauseKeepsOnlyTheNewestWindow) {
    ASSERT_NE(m_card, nullptr);
    ASSERT_EQ(m_card->StartAcquisition(), 0);
    // 2.35 s later: 2350 scans made, the window holds the newest 1000 (scans 1351 .. 2350).
    m_clock.nowNs = 2350000000;
    m_card->Tick();
    const CVidraData& live = m_card->GetLiveData();
    EXPECT_NEAR(live.m_channels[1].front(), Ramp(1351), 1e-5);
    EXPECT_NEAR(live.m_channels[1].back(), Ramp(2350), 1e-5);
    EXPECT_NEAR(live.m_channels[0][500], Sine(1851), 1e-5);
}

TEST_F(LiveCardTest, ChannelsSwitchedOffLeaveTheLiveData) {
    ASSERT_NE(m_card, nullptr);
    ASSERT_EQ(m_card->StartAcquisition(), 0);
    m_card->GetAcqSettings().m_on[0] = 0;
    m_card->ReapplyParams();
    NextTick();
    const CVidraData& live = m_card->GetLiveData();
    ASSERT_EQ(live.m_channels.size(), 3u);
    EXPECT_EQ(live.m_onFlags[0], 0);
    // Stored array 0 is now channel 1, the ramp.
    EXPECT_NEAR(live.m_channels[0].back(), Ramp(100), 1e-5);
}
