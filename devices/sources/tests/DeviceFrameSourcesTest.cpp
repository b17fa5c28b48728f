#include "devices/sources/DeviceFrameSources.h"

#include "devices/core/Device.h"
#include "devices/core/DeviceVideoStream.h"
#include "devices/sim/SimCamera.h"
#include "devices/sim/tests/SimHostClock.h"
#include "frames/FrameImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace imaging;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// A camera recording 1000 frames at 1000 frames per second, triggered at frame 700 with 400
// frames after the trigger: its memory then holds frames 100 to 1099.
class DeviceFrameSourcesTest : public ::testing::Test {
protected:
    std::unique_ptr<CDevice> MakeCamera(bool colour) {
        m_clock.nowNs = 0;
        const int64_t frameBytes = int64_t{DriverRowBytes(kWidth, colour ? 24 : 8)} * kHeight;
        auto camera =
            std::make_unique<CSimCamera>(&m_clock.services, 1, 0, colour, 1000 * frameBytes);
        m_camera = camera.get();
        EXPECT_EQ(camera->SetResolution(kWidth, kHeight), 0);
        EXPECT_EQ(camera->SetRecordRate(1000), 0);
        DriverTriggerSetting setting;
        setting.postTriggerFrames = 400;
        EXPECT_EQ(camera->SetTriggerSetting(setting), 0);
        CDeviceDescriptor descriptor(CDeviceId(kDeviceTypeCamera, 1, 0));
        descriptor.m_name = QStringLiteral("Left camera");
        return std::make_unique<CDevice>(descriptor, std::move(camera));
    }
    void Record(CDevice* device, int64_t triggerFrame) {
        ASSERT_EQ(device->SetMode(kModeArmed), 0);
        m_clock.AtTick(triggerFrame, 1000);
        ASSERT_EQ(device->Trigger(), 0);
        m_clock.AtTick(triggerFrame + 399, 1000);
        m_camera->Poll();
        ASSERT_EQ(device->GetMode(), kModeStopped);
    }
    // The frame number the camera writes at the start of the frame's first stored row, the
    // bottom row of the picture.
    static uint32_t FrameNumberOf(CFrameImage& image, PixelFormat format) {
        BitmapData data;
        if (!image.LockBits(nullptr, ImageLockModeRead, format, &data))
            return ~0u;
        uint32_t number = 0;
        std::memcpy(&number,
                    static_cast<const BYTE*>(data.Scan0) + int64_t{data.Stride} * (data.Height - 1),
                    4);
        image.UnlockBits(&data);
        return number;
    }

    SimHostClock m_clock;
    CSimCamera* m_camera = nullptr;
};

}  // namespace

TEST_F(DeviceFrameSourcesTest, NoRecordingNoSource) {
    EXPECT_TRUE(DeviceFrameSources::GetLatestRecording(nullptr).IsEmpty());
    CDevice bare(CDeviceDescriptor(CDeviceId(kDeviceTypeCamera, 1, 0)), nullptr);
    EXPECT_TRUE(DeviceFrameSources::GetLatestRecording(&bare).IsEmpty());
    std::unique_ptr<CDevice> device = MakeCamera(false);
    ASSERT_EQ(device->SetMode(kModeLive), 0);
    EXPECT_TRUE(DeviceFrameSources::GetLatestRecording(device.get()).IsEmpty()) << "live";
    ASSERT_EQ(device->SetMode(kModeArmed), 0);
    EXPECT_TRUE(DeviceFrameSources::GetLatestRecording(device.get()).IsEmpty()) << "armed";
    // Stopped at once: the camera holds no frame.
    ASSERT_EQ(device->SetMode(kModeIdle), 0);
    EXPECT_TRUE(DeviceFrameSources::GetLatestRecording(device.get()).IsEmpty()) << "idle";
}

TEST_F(DeviceFrameSourcesTest, LatestRecordingReadsTheHeldFramesInOrder) {
    struct Case {
        bool colour;
        PixelFormat format;
    };
    for (const Case& c : {Case{false, PixelFormat8bppIndexed}, Case{true, PixelFormat24bppRGB}}) {
        SCOPED_TRACE(c.colour ? "colour" : "mono");
        std::unique_ptr<CDevice> device = MakeCamera(c.colour);
        Record(device.get(), 700);
        CFrameSourcePtr source = DeviceFrameSources::GetLatestRecording(device.get());
        ASSERT_FALSE(source.IsEmpty());
        EXPECT_EQ(source->IsFromDevice(), 1);
        EXPECT_EQ(source->IsOpen(), 1);
        EXPECT_EQ(source->GetFrameCount(), 1000);
        EXPECT_EQ(source->GetFirstFrameNumber(), -600) << "the trigger frame is frame number 0";
        EXPECT_EQ(source->GetRecordedRate(), 1000);
        EXPECT_EQ(source->IsColor(), c.colour ? 1 : 0);
        EXPECT_EQ(source->GetFilePath(), QStringLiteral("Left camera"));
        int width = 0;
        int height = 0;
        source->GetImageSize(&width, &height);
        EXPECT_EQ(width, kWidth);
        EXPECT_EQ(height, kHeight);
        CFrameImage image;
        for (int index : {0, 1, 600, 999}) {
            ASSERT_EQ(source->GetFrame(index, &image, 0), 1) << index;
            EXPECT_EQ(image.GetBitmap()->GetPixelFormat(), c.format);
            EXPECT_EQ(FrameNumberOf(image, c.format), static_cast<uint32_t>(100 + index)) << index;
        }
        // Every window that asks shares the one source.
        CFrameSourcePtr again = DeviceFrameSources::GetLatestRecording(device.get());
        EXPECT_EQ(again.Get(), source.Get());
    }
}

TEST_F(DeviceFrameSourcesTest, ANewRecordingEndsTheOldSource) {
    std::unique_ptr<CDevice> device = MakeCamera(false);
    Record(device.get(), 700);
    CFrameSourcePtr first = DeviceFrameSources::GetLatestRecording(device.get());
    ASSERT_FALSE(first.IsEmpty());
    CFrameImage image;
    ASSERT_EQ(first->GetFrame(5, &image, 0), 1);

    Record(device.get(), 3000);
    EXPECT_EQ(first->GetFrame(6, &image, 0), 0) << "the memory holds another recording now";
    CFrameSourcePtr second = DeviceFrameSources::GetLatestRecording(device.get());
    ASSERT_FALSE(second.IsEmpty());
    EXPECT_NE(second.Get(), first.Get());
    ASSERT_EQ(second->GetFrame(6, &image, 0), 1);
    EXPECT_EQ(FrameNumberOf(image, PixelFormat8bppIndexed), 3000u - 600u + 6u);
}

TEST_F(DeviceFrameSourcesTest, MemoryMayBeOverwrittenOnceNoWindowPlaysTheRecording) {
    std::unique_ptr<CDevice> device = MakeCamera(false);
    EXPECT_EQ(device->MayOverwriteMemory(), 1) << "nothing held";
    Record(device.get(), 700);
    EXPECT_EQ(device->MayOverwriteMemory(), 1) << "held, but nobody plays it";
    {
        CFrameSourcePtr playing = DeviceFrameSources::GetLatestRecording(device.get());
        ASSERT_FALSE(playing.IsEmpty());
        EXPECT_EQ(device->MayOverwriteMemory(), 0);
    }
    EXPECT_EQ(device->MayOverwriteMemory(), 1);
}

TEST_F(DeviceFrameSourcesTest, OpeningNoStreamClosesTheSource) {
    std::unique_ptr<CDevice> device = MakeCamera(false);
    Record(device.get(), 700);
    CFrameSourcePtr held = DeviceFrameSources::GetLatestRecording(device.get());
    ASSERT_FALSE(held.IsEmpty());
    CFrameSource source;
    IAVIStream* stream = device->CreateRecordingStream();
    ASSERT_EQ(source.OpenStream(stream, QStringLiteral("first")), 1);
    stream->Release();
    EXPECT_EQ(source.GetFrameCount(), 1000);
    EXPECT_EQ(source.IsFromDevice(), 0) << "only the device's own source is marked";
    EXPECT_EQ(source.OpenStream(nullptr, QStringLiteral("none")), 0);
    EXPECT_EQ(source.IsOpen(), 0);
    EXPECT_EQ(source.GetFrameCount(), -1);
    CFrameImage image;
    EXPECT_EQ(source.GetFrame(0, &image, 0), 0);
}

TEST_F(DeviceFrameSourcesTest, ASourceThatOutlivesItsDeviceFailsItsReads) {
    std::unique_ptr<CDevice> device = MakeCamera(false);
    Record(device.get(), 700);
    CFrameSourcePtr source = DeviceFrameSources::GetLatestRecording(device.get());
    ASSERT_FALSE(source.IsEmpty());
    device.release()->Destroy(1);
    CFrameImage image;
    EXPECT_EQ(source->GetFrame(3, &image, 0), 0);
    EXPECT_EQ(source->GetFrameCount(), 1000);
}
