#include "devices/core/DeviceVideoStream.h"

#include "devices/core/Device.h"
#include "devices/sim/SimCamera.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/wintypes/BitmapInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

DriverImageFormat Format(int bits, int width, int height) {
    DriverImageFormat format;
    format.bitsPerPixel = bits;
    format.width = width;
    format.height = height;
    format.rowBytes = DriverRowBytes(width, bits);
    return format;
}

// Releases the creator's reference at the end of a test.
struct StreamHolder {
    CDeviceVideoStream* stream;
    ~StreamHolder() { stream->Release(); }
    CDeviceVideoStream* operator->() const { return stream; }
};

}  // namespace

TEST(DeviceVideoStreamTest, RowBytesForNarrowWidths) {
    struct Case {
        int width, grey, colour;
    };
    const Case cases[] = {{1, 4, 4},  {2, 4, 8},  {3, 4, 12}, {4, 4, 12},
                          {5, 8, 16}, {6, 8, 20}, {7, 8, 24}, {8, 8, 24}};
    for (const Case& c : cases) {
        EXPECT_EQ(CDeviceVideoStream::RowBytes(c.width, 8), c.grey) << c.width;
        EXPECT_EQ(CDeviceVideoStream::RowBytes(c.width, 24), c.colour) << c.width;
        // Every row holds its pixels.
        EXPECT_GE(c.grey, c.width);
        EXPECT_GE(c.colour, 3 * c.width);
    }
}

TEST(DeviceVideoStreamTest, InfoNeedsItsWholeBlock) {
    StreamHolder stream{new CDeviceVideoStream(Format(8, 320, 240), 250.0, 17)};
    AviStreamInfo info;
    EXPECT_EQ(stream->Info(&info, 139), AVIERR_BUFFERTOOSMALL);
    EXPECT_EQ(stream->Info(&info, CDeviceVideoStream::InfoBytes() - 1), AVIERR_BUFFERTOOSMALL);
    EXPECT_EQ(stream->Info(nullptr, sizeof(info)), AVIERR_BUFFERTOOSMALL);
    ASSERT_EQ(stream->Info(&info, sizeof(info)), AVIERR_OK);
    EXPECT_EQ(info.fccType, streamtypeVIDEO);
    EXPECT_EQ(info.fccHandler, MakeFourCC('C', 'a', 'm', 'r'));
    EXPECT_EQ(info.scale, 1u);
    EXPECT_EQ(info.rate, 250u);
    EXPECT_EQ(info.length, 17u);
    EXPECT_EQ(info.frame, CRect(0, 0, 320, 240));
    EXPECT_EQ(std::u16string(info.name), u"Camera video");
}

TEST(DeviceVideoStreamTest, ReadFormatSizesAndHeaders) {
    struct Case {
        int bits;
        LONG size;
    };
    for (const Case& c : {Case{8, 1064}, Case{24, 40}}) {
        StreamHolder stream{new CDeviceVideoStream(Format(c.bits, 5, 3), 30, 1)};
        LONG size = 0;
        EXPECT_EQ(stream->ReadFormat(0, nullptr, &size), AVIERR_OK);
        EXPECT_EQ(size, c.size);
        std::vector<unsigned char> buffer(static_cast<size_t>(c.size), 0xAB);
        size = 0;
        EXPECT_EQ(stream->ReadFormat(0, buffer.data(), &size), AVIERR_OK);
        EXPECT_EQ(size, c.size) << "a zero size only asks";
        size = c.size - 1;
        EXPECT_EQ(stream->ReadFormat(0, buffer.data(), &size), AVIERR_BUFFERTOOSMALL);
        size = c.size;
        ASSERT_EQ(stream->ReadFormat(0, buffer.data(), &size), AVIERR_OK);
        BITMAPINFOHEADER header;
        std::memcpy(&header, buffer.data(), sizeof(header));
        EXPECT_EQ(header.biPlanes, 1);
        EXPECT_EQ(header.biBitCount, c.bits);
        EXPECT_EQ(header.biWidth, 5);
        EXPECT_EQ(header.biHeight, 3);
        EXPECT_EQ(header.biSizeImage, static_cast<DWORD>(DriverRowBytes(5, c.bits) * 3));
        if (c.bits == 8) {
            EXPECT_EQ(buffer[40 + 4 * 200], 200);
            EXPECT_EQ(buffer[40 + 4 * 200 + 2], 200);
            EXPECT_EQ(buffer[40 + 4 * 200 + 3], 0);
        }
    }
}

TEST(DeviceVideoStreamTest, ReadChecksFrameAndBuffer) {
    std::vector<int> asked;
    StreamHolder stream{
        new CDeviceVideoStream(Format(8, 6, 2), 30, 3, [&](int frame, void* buffer, int64_t size) {
            asked.push_back(frame);
            std::memset(buffer, frame, size);
            return 0;
        })};
    std::vector<unsigned char> buffer(64, 0xEE);
    LONG bytes = -1;
    LONG samples = -1;
    for (LONG bad : {-1, 3, 100})
        EXPECT_EQ(stream->Read(bad, 1, buffer.data(), 64, &bytes, &samples), AVIERR_BADPARAM);
    EXPECT_EQ(stream->Read(1, 1, buffer.data(), 15, &bytes, &samples), AVIERR_BUFFERTOOSMALL);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(stream->Read(2, 1, nullptr, 0, &bytes, &samples), AVIERR_OK);
    EXPECT_EQ(bytes, 16);
    EXPECT_EQ(samples, 1);
    EXPECT_TRUE(asked.empty()) << "a size question reads nothing";
    EXPECT_EQ(stream->Read(2, 1, buffer.data(), 64, nullptr, nullptr), AVIERR_OK);
    EXPECT_EQ(asked, std::vector<int>{2});
    EXPECT_EQ(buffer[15], 2);
    EXPECT_EQ(buffer[16], 0xEE) << "only the frame's bytes are written";

    StreamHolder silent{new CDeviceVideoStream(Format(24, 4, 4), 30, 2)};
    EXPECT_EQ(silent->Read(0, 1, buffer.data(), 64, &bytes, &samples), AVIERR_FILEREAD)
        << "the default reader has no frames";
}

TEST(DeviceVideoStreamTest, StreamsOfADeviceThatIsGoneReadNothing) {
    SimHostClock clock;
    auto* device =
        new CDevice(CDeviceDescriptor(CDeviceId(kDeviceTypeCamera, 1, 0)),
                    std::make_unique<CSimCamera>(&clock.services, 1, 0, false, int64_t(64) << 20));
    ASSERT_EQ(device->SetResolution(320, 240), 0);
    StreamHolder live{device->CreateLiveStream()};
    StreamHolder recording{device->CreateRecordingStream()};
    std::vector<unsigned char> buffer(320 * 240);
    const LONG size = static_cast<LONG>(buffer.size());
    EXPECT_EQ(live->Read(0, 1, buffer.data(), size, nullptr, nullptr), AVIERR_OK);
    device->Destroy(1);
    EXPECT_EQ(live->Read(0, 1, buffer.data(), size, nullptr, nullptr), AVIERR_FILEREAD);
    // A size question still has its answer.
    LONG bytes = 0;
    EXPECT_EQ(live->Read(0, 1, nullptr, 0, &bytes, nullptr), AVIERR_OK);
    EXPECT_EQ(bytes, size);
    EXPECT_EQ(recording->Read(0, 1, buffer.data(), size, nullptr, nullptr), AVIERR_BADPARAM)
        << "it was made while the camera held nothing";
}

// Live rows go straight where they are shown: the same pixels as a whole frame, in any row
// order, the padding of the picture untouched; rows of another size are refused unwritten.
TEST(DeviceVideoStreamTest, LiveRowsAreTheFramesPixelsWhereverTheyGo) {
    SimHostClock clock;
    constexpr int kHeight = 240;
    for (const bool colour : {false, true}) {
        SCOPED_TRACE(colour);
        auto* device = new CDevice(
            CDeviceDescriptor(CDeviceId(kDeviceTypeCamera, 1, 0)),
            std::make_unique<CSimCamera>(&clock.services, 1, 0, colour, int64_t(64) << 20));
        ASSERT_EQ(device->SetResolution(320, kHeight), 0);
        clock.AtTick(17, 100);
        StreamHolder live{device->CreateLiveStream()};
        const int pixels = 320 * (colour ? 3 : 1);
        std::vector<BYTE> whole(static_cast<size_t>(live->GetFrameBytes()));
        ASSERT_EQ(live->Read(0, 1, whole.data(), static_cast<LONG>(whole.size()), nullptr, nullptr),
                  AVIERR_OK);
        const ptrdiff_t stride = pixels + 8;
        std::vector<BYTE> shown(static_cast<size_t>(stride) * kHeight, 0xEE);
        // Bottom row first, as a picture shown upright takes a bottom-up frame.
        BYTE* bottom = shown.data() + (kHeight - 1) * stride;
        ASSERT_EQ(live->ReadRows(0, bottom, -stride), AVIERR_OK);
        const int rowBytes = live->GetFrameBytes() / kHeight;
        for (int y = 0; y < kHeight; ++y) {
            const BYTE* row = bottom - y * stride;
            ASSERT_EQ(std::memcmp(row, whole.data() + y * rowBytes, pixels), 0) << y;
            EXPECT_EQ(row[pixels], 0xEE) << y;
        }
        ASSERT_EQ(device->SetResolution(640, 480), 0);
        std::vector<BYTE> before = shown;
        EXPECT_EQ(live->ReadRows(0, bottom, -stride), AVIERR_FILEREAD);
        EXPECT_EQ(shown, before);
        device->Destroy(1);
        EXPECT_EQ(live->ReadRows(0, bottom, -stride), AVIERR_FILEREAD);
    }
    // A stream without rows is read whole.
    StreamHolder plain{new CDeviceVideoStream(Format(8, 4, 4), 30, 1)};
    BYTE rows[16];
    EXPECT_EQ(plain->ReadRows(0, rows, 4), AVIERR_UNSUPPORTED);
}
