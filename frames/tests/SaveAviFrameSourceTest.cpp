#include "frames/Dib.h"
#include "frames/FrameImage.h"
#include "frames/SaveAviFrameSource.h"
#include "platform/media/AviSaveGraph.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kWidth = 30;  // rows of 30 and 90 bytes: two bytes of padding either way
constexpr int kHeight = 5;

// A DIB of the given depth (rows bottom-up, padded) with a colour table that is not grey.
void MakeDib(CDib* dib, int bits) {
    std::vector<BYTE> packed(static_cast<size_t>(kWidth) * kHeight * (bits / 8));
    for (size_t i = 0; i < packed.size(); ++i)
        packed[i] = static_cast<BYTE>(i * 37 + 11);
    ASSERT_TRUE(dib->Create(packed.data(), kWidth, kHeight, bits));
    if (bits == 8) {
        for (int k = 0; k < 256; ++k)
            dib->GetColourTable()[k] = {static_cast<BYTE>(k), static_cast<BYTE>(255 - k),
                                        static_cast<BYTE>(k * 3), 0};
        dib->CreatePalette();
    }
}

// What the saved frame holds: the DIB's rows, bottom-up, converted to targetBits, with zero
// padding.
std::vector<BYTE> Expected(const CDib& dib, int bits, int targetBits) {
    const int64_t stride = CAviSaveGraph::FrameBytes(kWidth, 1, targetBits);
    const int64_t dibStride = CAviSaveGraph::FrameBytes(kWidth, 1, bits);
    std::vector<BYTE> frame(static_cast<size_t>(stride * kHeight), 0);
    for (int y = 0; y < kHeight; ++y) {
        const BYTE* from = dib.GetBits() + y * dibStride;
        BYTE* to = frame.data() + y * stride;
        for (int x = 0; x < kWidth; ++x) {
            if (bits == targetBits) {
                for (int b = 0; b < bits / 8; ++b)
                    to[x * bits / 8 + b] = from[x * bits / 8 + b];
            } else if (bits == 8) {
                const RGBQUAD c = dib.GetColourTable()[from[x]];
                to[3 * x] = c.rgbBlue;
                to[3 * x + 1] = c.rgbGreen;
                to[3 * x + 2] = c.rgbRed;
            } else {
                to[x] = static_cast<BYTE>((from[3 * x] + from[3 * x + 1] + from[3 * x + 2]) / 3);
            }
        }
    }
    return frame;
}

// The save graph hands the provider fresh, uninitialised memory: every byte of the frame,
// the padding of each row included, must come from the image.
TEST(SaveAviFrameSourceTest, RowsGoBottomUpInTheTargetDepthWithZeroPadding) {
    struct Case {
        int bits, targetBits;
    };
    for (const Case c : {Case{8, 8}, Case{24, 24}, Case{8, 24}, Case{24, 8}}) {
        SCOPED_TRACE(testing::Message() << c.bits << " to " << c.targetBits);
        CDib dib;
        MakeDib(&dib, c.bits);
        CFrameImage image;
        ASSERT_TRUE(image.FillFromDib(&dib));
        const std::vector<BYTE> want = Expected(dib, c.bits, c.targetBits);
        std::vector<BYTE> frame(want.size(), 0xAB);
        ASSERT_TRUE(CSaveAviFrameSource::CopyBottomUp(image, c.targetBits, frame.data(),
                                                      static_cast<int>(frame.size())));
        EXPECT_EQ(frame, want);
        EXPECT_FALSE(CSaveAviFrameSource::CopyBottomUp(image, c.targetBits, frame.data(),
                                                       static_cast<int>(frame.size()) - 1))
            << "a buffer one byte short";
    }
}

}  // namespace
