#include "devices/sim/SimCamera.h"

#include "devices/sim/tests/SimHostClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace {

uint32_t FrameNumberIn(const std::vector<unsigned char>& frame) {
    uint32_t number = 0;
    std::memcpy(&number, frame.data(), 4);
    return number;
}

}  // namespace

TEST(SimCameraTest, LiveFramesFollowTheHostClock) {
    SimHostClock clock;
    CSimCamera camera(&clock.services, 1, 0, false, int64_t(64) << 20);
    ASSERT_EQ(camera.SetResolution(320, 240), 0);
    ASSERT_EQ(camera.SetRecordRate(250), 0);
    ASSERT_EQ(camera.SetMode(kModeLive), 0);
    DriverImageFormat format;
    ASSERT_EQ(camera.GetImageFormat(&format), 0);
    std::vector<unsigned char> frame(static_cast<size_t>(format.rowBytes) * format.height);
    struct Case {
        int64_t ns;
        int64_t expected;
    };
    // 250 frames per second: one every 4 ms.
    for (const Case& c : {Case{0, 0}, Case{3999999, 0}, Case{4000000, 1}, Case{1000000000, 250},
                          Case{2002000000, 500}}) {
        clock.nowNs = c.ns;
        int64_t number = -1;
        ASSERT_EQ(camera.ReadLiveFrame(frame.data(), static_cast<int64_t>(frame.size()), &number),
                  0);
        EXPECT_EQ(number, c.expected) << c.ns;
        EXPECT_EQ(FrameNumberIn(frame), static_cast<uint32_t>(c.expected));
    }
    // A rate change goes on from the frame due now.
    clock.nowNs = 1000000000;
    ASSERT_EQ(camera.SetRecordRate(1000), 0);
    EXPECT_EQ(camera.CurrentFrame(), 250);
    clock.nowNs += 10000000;
    EXPECT_EQ(camera.CurrentFrame(), 260);
    EXPECT_NE(camera.ReadLiveFrame(frame.data(), static_cast<int64_t>(frame.size()) - 1, nullptr),
              0);
    std::vector<double> rates;
    camera.GetRateList(&rates);
    EXPECT_LE(rates.size(), 30u);
    EXPECT_EQ(camera.SetRecordRate(333), 1);
}

TEST(SimCameraTest, ContentIsAPureFunctionOfTheFrameNumber) {
    struct Case {
        int width, height;
        bool colour;
    };
    for (const Case& c : {Case{320, 240, false}, Case{320, 240, true}, Case{7, 5, true}}) {
        const int rowBytes = DriverRowBytes(c.width, c.colour ? 24 : 8);
        std::vector<unsigned char> a(static_cast<size_t>(rowBytes) * c.height);
        std::vector<unsigned char> b(a.size());
        CSimCamera::RenderFrame(41, c.width, c.height, rowBytes, c.colour, a.data());
        CSimCamera::RenderFrame(41, c.width, c.height, rowBytes, c.colour, b.data());
        EXPECT_EQ(a, b);
        CSimCamera::RenderFrame(42, c.width, c.height, rowBytes, c.colour, b.data());
        EXPECT_NE(a, b);
    }
    // The bright square sits where SquareAt says, on the gradient everywhere else.
    const int width = 320;
    const int height = 240;
    std::vector<unsigned char> frame(static_cast<size_t>(width) * height);
    CSimCamera::RenderFrame(10, width, height, width, false, frame.data());
    int x = 0;
    int y = 0;
    CSimCamera::SquareAt(10, width, height, &x, &y);
    EXPECT_EQ(frame[static_cast<size_t>(y + 5) * width + x + 5], 255);
    EXPECT_EQ(frame[static_cast<size_t>(200) * width + 300], (300 + 200 + 10) & 0xFF);
}

TEST(SimCameraTest, ArmTriggerAndDownload) {
    SimHostClock clock;
    const int width = 320;
    const int height = 240;
    const int64_t frameBytes = int64_t(width) * height;
    CSimCamera camera(&clock.services, 1, 0, false, 1000 * frameBytes);
    ASSERT_EQ(camera.SetResolution(width, height), 0);
    ASSERT_EQ(camera.SetRecordRate(1000), 0);
    int maxFrames = 0;
    camera.GetMaxFrames(&maxFrames);
    ASSERT_EQ(maxFrames, 1000);
    DriverTriggerSetting setting;
    setting.postTriggerFrames = 400;
    ASSERT_EQ(camera.SetTriggerSetting(setting), 0);
    ASSERT_EQ(camera.SetMode(kModeArmed), 0);
    EXPECT_GT(clock.polls, 0) << "an armed camera asks to be polled";
    clock.AtTick(700, 1000);
    ASSERT_EQ(camera.Trigger(), 0);
    EXPECT_EQ(camera.IsTriggered(), 1);
    EXPECT_EQ(camera.Trigger(), 1) << "only once";
    clock.AtTick(1098, 1000);
    EXPECT_EQ(camera.GetMode(), kModeArmed);
    clock.AtTick(1099, 1000);
    camera.Poll();
    EXPECT_EQ(camera.GetMode(), kModeStopped);

    int count = 0;
    camera.GetRecordedFrames(&count);
    EXPECT_EQ(count, 1000);
    int triggerIndex = 0;
    camera.GetTriggerIndex(&triggerIndex);
    EXPECT_EQ(triggerIndex, 600);
    int pre = 0;
    camera.GetPreTriggerFrames(&pre);
    EXPECT_EQ(pre, 600);
    std::vector<unsigned char> frame(static_cast<size_t>(frameBytes));
    for (int index : {0, 1, 599, 600, 999}) {
        ASSERT_EQ(camera.ReadMemoryFrame(index, frame.data(), frameBytes), 0);
        EXPECT_EQ(FrameNumberIn(frame), static_cast<uint32_t>(100 + index)) << index;
    }
    EXPECT_NE(camera.ReadMemoryFrame(1000, frame.data(), frameBytes), 0);
    EXPECT_NE(camera.ReadMemoryFrame(-1, frame.data(), frameBytes), 0);
    EXPECT_NE(camera.ReadMemoryFrame(0, frame.data(), frameBytes - 1), 0);
    int64_t total = 0;
    int64_t used = 0;
    camera.GetMemoryBytes(&total, &used);
    EXPECT_EQ(used, total);

    // The memory holds frames of one size: no other size while they are held; live again, the
    // same size keeps them and another lets them go.
    EXPECT_EQ(camera.SetResolution(640, 480), 1);
    EXPECT_EQ(camera.SetActiveArea({0, 0, 320, 240}), 1);
    ASSERT_EQ(camera.SetMode(kModeLive), 0);
    ASSERT_EQ(camera.SetActiveArea({0, 0, 320, 240}), 0);
    EXPECT_EQ(camera.ReadMemoryFrame(5, frame.data(), frameBytes), 0);
    ASSERT_EQ(camera.SetResolution(640, 480), 0);
    camera.GetRecordedFrames(&count);
    EXPECT_EQ(count, 0);
    std::vector<unsigned char> large(640 * 480);
    EXPECT_NE(camera.ReadMemoryFrame(0, large.data(), static_cast<int64_t>(large.size())), 0);
}

TEST(SimCameraTest, EarlyTriggerKeepsOnlyFramesSinceArming) {
    SimHostClock clock;
    CSimCamera camera(&clock.services, 1, 0, false, 1000 * int64_t(320) * 240);
    camera.SetResolution(320, 240);
    camera.SetRecordRate(1000);
    DriverTriggerSetting setting;
    setting.postTriggerFrames = 400;
    camera.SetTriggerSetting(setting);
    clock.AtTick(50, 1000);
    camera.SetMode(kModeArmed);
    clock.AtTick(80, 1000);
    camera.Trigger();
    clock.AtTick(479, 1000);
    EXPECT_EQ(camera.GetMode(), kModeStopped);
    const std::vector<int64_t>& held = camera.HeldFrames();
    ASSERT_EQ(held.size(), 430u);
    EXPECT_EQ(held.front(), 50);
    EXPECT_EQ(held.back(), 479);
}

TEST(SimCameraTest, DioAndVideoTriggers) {
    SimHostClock clock;
    CSimCamera camera(&clock.services, 1, 0, false, 100 * int64_t(320) * 240);
    camera.SetResolution(320, 240);
    camera.SetRecordRate(1000);

    DriverTriggerSetting dio;
    dio.type = 1;
    dio.postTriggerFrames = 10;
    camera.SetTriggerSetting(dio);
    camera.SetMode(kModeArmed);
    clock.AtTick(30, 1000);
    camera.SetDio6(0);
    EXPECT_EQ(camera.IsTriggered(), 0);
    camera.SetDio6(1);
    EXPECT_EQ(camera.IsTriggered(), 1);
    clock.AtTick(39, 1000);
    EXPECT_EQ(camera.GetMode(), kModeStopped);
    EXPECT_EQ(camera.HeldFrames()[30], 30) << "the trigger frame follows the pre-trigger frames";

    // Video trigger: the region is where the bright square passes; the first frame whose
    // region mean reaches the high level is the trigger frame. The region alone switches it on:
    // the trigger input plays no part.
    DriverTriggerSetting video;
    video.type = 0;
    video.postTriggerFrames = 5;
    camera.SetTriggerSetting(video);
    int squareX = 0;
    int squareY = 0;
    CSimCamera::SquareAt(60, 320, 240, &squareX, &squareY);
    camera.SetVideoTriggerRegion({squareX, squareY, squareX + 8, squareY + 8});
    // Only a region all inside the square has a mean of 255.
    camera.SetVideoTriggerLevels(0, 255);
    int64_t expected = -1;
    for (int64_t frame = 40; frame <= 60 && expected < 0; ++frame) {
        int x = 0;
        int y = 0;
        CSimCamera::SquareAt(frame, 320, 240, &x, &y);
        if (x <= squareX && x + CSimCamera::kSquareSize >= squareX + 8 && y <= squareY &&
            y + CSimCamera::kSquareSize >= squareY + 8)
            expected = frame;
    }
    ASSERT_GT(expected, 40);
    clock.AtTick(40, 1000);
    camera.SetMode(kModeArmed);
    clock.AtTick(expected - 1, 1000);
    camera.Poll();
    EXPECT_EQ(camera.IsTriggered(), 0);
    clock.AtTick(100, 1000);
    camera.Poll();
    EXPECT_EQ(camera.IsTriggered(), 1);
    int triggerIndex = 0;
    camera.GetTriggerIndex(&triggerIndex);
    EXPECT_EQ(camera.HeldFrames()[triggerIndex], expected);
}

TEST(SimCameraTest, TriggerEdgesOfTheDioInput) {
    struct Case {
        int type;
        int from;
        int to;
        int triggered;
    };
    const Case cases[] = {{kTriggerRisingEdge, 0, 1, 1},
                          {kTriggerRisingEdge, 1, 0, 0},
                          {kTriggerFallingEdge, 1, 0, 1},
                          {kTriggerFallingEdge, 0, 1, 0},
                          {kTriggerEitherEdge, 1, 0, 1},
                          {kTriggerEitherEdge, 0, 1, 1},
                          {0, 0, 1, 0}};
    for (const Case& c : cases) {
        SimHostClock clock;
        CSimCamera camera(&clock.services, 1, 0, false, 100 * int64_t(320) * 240);
        camera.SetResolution(320, 240);
        DriverTriggerSetting setting;
        setting.type = c.type;
        setting.postTriggerFrames = 10;
        ASSERT_EQ(camera.SetTriggerSetting(setting), 0) << c.type;
        camera.SetDio6(c.from);
        camera.SetMode(kModeArmed);
        camera.SetDio6(c.to);
        EXPECT_EQ(camera.IsTriggered(), c.triggered) << c.type << " " << c.from << c.to;
    }
    SimHostClock clock;
    CSimCamera camera(&clock.services, 1, 0, false, int64_t(64) << 20);
    int mask = 0;
    ASSERT_EQ(camera.GetTriggerTypes(&mask), 0);
    EXPECT_EQ(mask, 0b1110);
    DriverTriggerSetting level;
    level.type = kTriggerRecordOnHigh;
    EXPECT_EQ(camera.SetTriggerSetting(level), 1) << "a type the camera does not offer";
}

TEST(SimCameraTest, VideoTriggerItemsLevelAndRegion) {
    SimHostClock clock;
    CSimCamera camera(&clock.services, 1, 0, false, 100 * int64_t(320) * 240);
    camera.SetResolution(320, 240);
    camera.SetRecordRate(1000);
    int count = 0;
    ASSERT_EQ(camera.GetVideoTriggerItemCount(&count), 0);
    EXPECT_EQ(count, 4);
    struct Item {
        int item;
        int value;
        int result;
    };
    for (const Item& c :
         {Item{kVideoTriggerRising, 250, 0}, Item{kVideoTriggerFalling, 0, 0},
          Item{kVideoTriggerTraining, 25, 0}, Item{kVideoTriggerTrainOnRecord, 1, 0},
          Item{kVideoTriggerRising, 256, 1}, Item{kVideoTriggerTraining, 0, 1}, Item{4, 1, 1}}) {
        EXPECT_EQ(camera.SetVideoTriggerItem(c.item, c.value), c.result)
            << c.item << " " << c.value;
    }
    int value = -1;
    camera.GetVideoTriggerItem(kVideoTriggerRising, &value);
    EXPECT_EQ(value, 250) << "a refused value keeps the one before";
    camera.GetVideoTriggerItem(kVideoTriggerTraining, &value);
    EXPECT_EQ(value, 25);
    EXPECT_EQ(camera.GetVideoTriggerItem(4, &value), 1);

    // The level is the region's mean in the frame due now: all 255 inside the square.
    clock.AtTick(70, 1000);
    int x = 0;
    int y = 0;
    CSimCamera::SquareAt(70, 320, 240, &x, &y);
    ASSERT_EQ(camera.SetVideoTriggerRegion({x + 4, y + 4, x + 12, y + 12}), 0);
    double level = 0;
    ASSERT_EQ(camera.GetVideoTriggerLevel(&level), 0);
    EXPECT_DOUBLE_EQ(level, 255.0);

    // Arming with train-on-record sets the levels round the mean of the last 25 frames (the
    // square sits in the region in only a few of them); the square's frame triggers at once.
    DriverTriggerSetting setting;
    setting.postTriggerFrames = 5;
    camera.SetTriggerSetting(setting);
    camera.SetMode(kModeArmed);
    int rising = 0;
    int falling = 0;
    camera.GetVideoTriggerItem(kVideoTriggerRising, &rising);
    camera.GetVideoTriggerItem(kVideoTriggerFalling, &falling);
    EXPECT_EQ(rising - falling, 32);
    EXPECT_LT(rising, 250);
    EXPECT_EQ(camera.IsTriggered(), 1);
    int triggerIndex = -1;
    clock.AtTick(80, 1000);
    camera.GetTriggerIndex(&triggerIndex);
    EXPECT_EQ(camera.HeldFrames()[static_cast<size_t>(triggerIndex)], 70);

    // Cleared, the region no longer triggers: only a software trigger ends the recording.
    ASSERT_EQ(camera.ClearVideoTriggerRegion(), 0);
    camera.SetVideoTriggerItem(kVideoTriggerRising, 1);
    camera.SetVideoTriggerItem(kVideoTriggerTrainOnRecord, 0);
    camera.SetMode(kModeArmed);
    clock.AtTick(200, 1000);
    camera.Poll();
    EXPECT_EQ(camera.IsTriggered(), 0);
    EXPECT_EQ(camera.Trigger(), 0);
}

TEST(SimCameraTest, ScriptedRefusalsAndCallLog) {
    SimHostClock clock;
    CSimCamera camera(&clock.services, 1, 0, false, int64_t(64) << 20);
    camera.Script().Refuse("SetMode", 5);
    camera.Script().Refuse("Trigger", 3, 2);
    EXPECT_EQ(camera.SetMode(kModeLive), 5);
    EXPECT_EQ(camera.SetMode(kModeLive), 0) << "one refusal only";
    EXPECT_EQ(camera.Trigger(), 3);
    EXPECT_EQ(camera.Trigger(), 3);
    EXPECT_EQ(camera.Trigger(), 1) << "not armed";
    EXPECT_EQ(camera.SetResolution(333, 333), 1);
    EXPECT_EQ(camera.Script().CallLog(),
              (std::vector<std::string>{"SetMode", "SetMode", "Trigger", "Trigger", "Trigger",
                                        "SetResolution"}));
}

TEST(SimCameraTest, ActiveAreaLimitsAndChanges) {
    SimHostClock clock;
    CSimCamera camera(&clock.services, 1, 0, false, int64_t(64) << 20);
    DriverActiveAreaLimits limits;
    ASSERT_EQ(camera.GetActiveAreaLimits(&limits), 0);
    EXPECT_EQ(limits.sensorWidth, 1280);
    EXPECT_EQ(limits.sensorHeight, 1024);
    EXPECT_EQ(limits.minWidth, 320);
    EXPECT_EQ(limits.minHeight, 240);
    struct Case {
        DriverRect area;
        int result;
    };
    const Case cases[] = {
        {{0, 0, 1280, 1024}, 0},      // the whole sensor
        {{100, 50, 420, 290}, 0},     // the smallest area, moved
        {{960, 784, 1280, 1024}, 0},  // in the far corner
        {{962, 784, 1282, 1024}, 1},  // over the right edge
        {{-2, 0, 318, 240}, 1},       // left of the sensor
        {{0, 0, 304, 240}, 1},        // too narrow
        {{0, 0, 328, 240}, 1},        // off the width step
        {{0, 0, 320, 241}, 1},        // off the height step
        {{1, 0, 321, 240}, 1},        // odd origin
        {{0, 0, 0, 0}, 1},
    };
    for (const Case& c : cases) {
        DriverRect before;
        camera.GetActiveArea(&before);
        EXPECT_EQ(camera.SetActiveArea(c.area), c.result) << c.area.left << "," << c.area.top;
        DriverRect after;
        camera.GetActiveArea(&after);
        const DriverRect expected = c.result == 0 ? c.area : before;
        EXPECT_EQ(after.left, expected.left);
        EXPECT_EQ(after.top, expected.top);
        EXPECT_EQ(after.right, expected.right);
        EXPECT_EQ(after.bottom, expected.bottom);
    }
    // The area's size is the resolution; a listed resolution keeps the origin where it fits.
    ASSERT_EQ(camera.SetActiveArea({800, 600, 1120, 840}), 0);
    int width = 0;
    int height = 0;
    camera.GetResolution(&width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    ASSERT_EQ(camera.SetResolution(640, 480), 0);
    DriverRect area;
    camera.GetActiveArea(&area);
    EXPECT_EQ(area.left, 640);
    EXPECT_EQ(area.top, 544);
    EXPECT_EQ(area.right, 1280);
    EXPECT_EQ(area.bottom, 1024);

    // The largest area at a rate: the whole sensor at every listed rate, fewer rows beyond.
    EXPECT_EQ(camera.GetMaxActiveArea(2000, 24, &width, &height), 0);
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 1024);
    EXPECT_EQ(camera.GetMaxActiveArea(5000, 24, &width, &height), 0);
    EXPECT_EQ(height, 408) << "1280 x 1024 x 3 x 2000 bytes a second in rows of 3840 bytes";
    EXPECT_EQ(camera.GetMaxActiveArea(100000, 8, &width, &height), 1) << "not even 240 rows";
    EXPECT_EQ(camera.GetMaxActiveArea(0, 8, &width, &height), 1);
    EXPECT_EQ(camera.GetMaxActiveArea(1000, 16, &width, &height), 1);

    // No changes while armed.
    DriverTriggerSetting setting;
    setting.postTriggerFrames = 10;
    camera.SetTriggerSetting(setting);
    ASSERT_EQ(camera.SetMode(kModeArmed), 0);
    EXPECT_EQ(camera.SetActiveArea({0, 0, 320, 240}), 1);
}

TEST(SimCameraTest, MovingTheAreaShiftsTheGradient) {
    SimHostClock clock;
    CSimCamera camera(&clock.services, 1, 0, false, int64_t(64) << 20);
    ASSERT_EQ(camera.SetActiveArea({100, 40, 420, 280}), 0);
    ASSERT_EQ(camera.SetRecordRate(1000), 0);
    clock.AtTick(20, 1000);
    std::vector<unsigned char> frame(320 * 240);
    ASSERT_EQ(camera.ReadLiveFrame(frame.data(), static_cast<int64_t>(frame.size()), nullptr), 0);
    int squareX = 0;
    int squareY = 0;
    CSimCamera::SquareAt(20, 320, 240, &squareX, &squareY);
    const int x = squareX < 160 ? 300 : 10;
    const int y = 200;
    EXPECT_EQ(frame[static_cast<size_t>(y) * 320 + x], (x + 100 + y + 40 + 20) & 0xFF);
    EXPECT_EQ(FrameNumberIn(frame), 20u);
}

TEST(SimCameraTest, ColourProcessorMakesTheColourImage) {
    SimHostClock clock;
    CSimCamera mono(&clock.services, 1, 0, false, int64_t(64) << 20);
    EXPECT_EQ(mono.GetColourProcessor(), nullptr);
    CSimCamera camera(&clock.services, 1, 1, true, int64_t(64) << 20);
    IDriverColourProcessor* processor = camera.GetColourProcessor();
    ASSERT_NE(processor, nullptr);
    ASSERT_EQ(camera.SetResolution(320, 240), 0);
    const std::vector<std::string> presets = processor->GetPresetNames();
    ASSERT_EQ(presets.size(), 3u);
    EXPECT_EQ(presets[0], "Daylight (5600 K)");

    // The mean blue, green and red of a grey stretch of the live image (left of the square).
    const auto pixelAt = [&](int x, int y, int channel) {
        std::vector<unsigned char> frame(static_cast<size_t>(DriverRowBytes(320, 24)) * 240);
        camera.ReadLiveFrame(frame.data(), static_cast<int64_t>(frame.size()), nullptr);
        return frame[static_cast<size_t>(y) * DriverRowBytes(320, 24) + x * 3 + channel];
    };
    int squareX = 0;
    int squareY = 0;
    CSimCamera::SquareAt(0, 320, 240, &squareX, &squareY);
    const int x = squareX < 160 ? 300 : 10;
    const int y = 100;
    const int scene = (x + y) & 0xFF;
    // Factory coefficients: grey comes out grey.
    DriverColourCoefficients factory;
    ASSERT_EQ(processor->GetFactoryCoefficients(&factory), 0);
    DriverColourCoefficients current;
    ASSERT_EQ(processor->GetCoefficients(&current), 0);
    EXPECT_EQ(std::memcmp(&factory, &current, sizeof factory), 0);
    for (int channel = 0; channel < 3; ++channel)
        EXPECT_EQ(pixelAt(x, y, channel), scene) << channel;

    // Tungsten light on a daylight scene: red falls, blue rises; gains scale the preset's rows
    // and 100 % gives the preset back.
    DriverColourCoefficients tungsten;
    ASSERT_EQ(processor->ApplyPreset(1, &tungsten), 0);
    EXPECT_FLOAT_EQ(tungsten.rows[0][0], 1.15f);
    EXPECT_LT(pixelAt(x, y, 2), scene);
    EXPECT_GT(pixelAt(x, y, 0), scene);
    DriverColourCoefficients gained;
    ASSERT_EQ(processor->ApplyGains(50, 100, 200, &gained), 0);
    EXPECT_FLOAT_EQ(gained.rows[0][0], 0.575f);
    EXPECT_FLOAT_EQ(gained.rows[1][1], 1.0f);
    EXPECT_FLOAT_EQ(gained.rows[2][2], 4.8f);
    ASSERT_EQ(processor->ApplyGains(100, 100, 100, &gained), 0);
    EXPECT_EQ(std::memcmp(&gained, &tungsten, sizeof gained), 0);
    EXPECT_EQ(processor->ApplyGains(-1, 100, 100, &gained), 1);
    EXPECT_EQ(processor->ApplyPreset(3, &gained), 1);

    // A balance on a grey region reports the means it found and greys the region.
    const DriverRect region{x - 4, y - 4, x + 4, y + 4};
    int red = 0;
    int green = 0;
    int blue = 0;
    ASSERT_EQ(processor->BalanceRegion(region, &red, &green, &blue), 0);
    EXPECT_LT(red, green);
    EXPECT_GT(blue, green);
    ASSERT_EQ(processor->BalanceRegion(region, &red, &green, &blue), 0);
    EXPECT_NEAR(red, green, 1);
    EXPECT_NEAR(blue, green, 1);
    EXPECT_EQ(processor->BalanceRegion({10, 10, 10, 20}, &red, &green, &blue), 1) << "empty";
    EXPECT_EQ(processor->BalanceRegion({400, 0, 500, 10}, &red, &green, &blue), 1) << "outside";

    // Coefficients set by hand; the frame number stays readable whatever the colours.
    DriverColourCoefficients zero;
    for (auto& row : zero.rows)
        std::fill(std::begin(row), std::end(row), 0.0f);
    ASSERT_EQ(processor->SetCoefficients(zero), 0);
    EXPECT_EQ(pixelAt(x, y, 1), 0);
    std::vector<unsigned char> frame(static_cast<size_t>(DriverRowBytes(320, 24)) * 240);
    clock.AtTick(77, 1000);
    camera.ReadLiveFrame(frame.data(), static_cast<int64_t>(frame.size()), nullptr);
    EXPECT_EQ(FrameNumberIn(frame), 77u);
    zero.rows[1][1] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(processor->SetCoefficients(zero), 1);
}

TEST(SimCameraTest, TheRecordClockTimesTheFrames) {
    SimHostClock clock;
    CSimCamera camera(&clock.services, 1, 0, false, int64_t(64) << 20);
    DriverRecordParams params;
    ASSERT_EQ(camera.GetRecordParams(&params), 0);
    EXPECT_EQ(params.ClockFrequency(), 1e6);
    EXPECT_EQ(params.Counter(1) + params.Counter(2), 1000);  // 1000 fps

    // The external source at the same rate: twice the ticks.
    params.SetClockSource(1);
    ASSERT_EQ(camera.SetRecordParams(params, 1, 1), 0);
    ASSERT_EQ(camera.GetRecordParams(&params), 0);
    EXPECT_EQ(params.Counter(1) + params.Counter(2), 2000);
    // Counters set by hand make the rate, which the rate's own value then keeps.
    params.SetCounter(1, 1500);
    params.SetCounter(2, 2500);
    ASSERT_EQ(camera.SetRecordParams(params, 0, 1), 0);
    double rate = 0;
    camera.GetRecordRate(&rate);
    EXPECT_DOUBLE_EQ(rate, 500);
    ASSERT_EQ(camera.SetRecordRate(rate), 0);
    ASSERT_EQ(camera.GetRecordParams(&params), 0);
    EXPECT_EQ(params.Counter(1), 1500);
    // The exposure in ticks, up to a frame period.
    int64_t low = 0;
    int64_t high = 0;
    ASSERT_EQ(camera.GetExposureTickRange(&low, &high), 0);
    EXPECT_EQ(high, 4000);
    EXPECT_EQ(camera.SetExposureTicks(high + 1), 1);
    ASSERT_EQ(camera.SetExposureTicks(1000), 0);
    double exposure = 0;
    camera.GetExposure(&exposure);
    EXPECT_DOUBLE_EQ(exposure, 0.0005);

    // The standard record mode keeps the clock and takes no counters.
    params.SetClockSource(0);
    EXPECT_EQ(camera.SetRecordParams(params, 1, 0), 1);
    params.SetClockSource(1);
    EXPECT_EQ(camera.SetRecordParams(params, 0, 0), 1);
    EXPECT_EQ(camera.SetRecordParams(params, 1, 0), 0);
}
