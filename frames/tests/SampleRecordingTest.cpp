#include "frames/FrameSource.h"
#include "frames/SampleRecording.h"
#include "testsupport/IsolatedTest.h"

#include <cmath>

using namespace imaging;

namespace {

class SampleRecordingTest : public IsolatedTest {};

TEST_F(SampleRecordingTest, OpensAsAnEightBitRecordingWithAMovingDisc) {
    const QString path = WorkPath("sample.raw");
    ASSERT_TRUE(CSampleRecording::Write(path));
    CFrameSource source;
    ASSERT_EQ(source.Open(path), 1);
    EXPECT_EQ(source.GetFrameCount(), CSampleRecording::kFrames);
    EXPECT_EQ(source.GetBitCount(), 8);
    EXPECT_EQ(source.IsColor(), 0);
    EXPECT_EQ(source.GetRecordedRate(), CSampleRecording::kRate);
    EXPECT_EQ(source.GetFirstFrameNumber(), CSampleRecording::kFirstFrame);
    EXPECT_EQ(source.GetExposure(), 5000000);
    QString date, time;
    ASSERT_EQ(source.GetStartTimeText(&date, &time), 1);  // from the side file
    EXPECT_EQ(date, "2026-01-15");

    double lastX = -1;
    for (int n : {0, 50, 120}) {
        CFrameImage image;
        ASSERT_EQ(source.GetFrame(n, &image, 0), 1);
        double x = 0, y = 0;
        CSampleRecording::DiscCentre(n, &x, &y);
        const QImage q = image.GetBitmap()->AsQImage();
        const int cx = static_cast<int>(x), cy = static_cast<int>(y);
        EXPECT_EQ(qGray(q.pixel(cx, cy)), 240) << n;  // upright: the disc where it was drawn
        EXPECT_LT(qGray(q.pixel((cx + 128) % CSampleRecording::kWidth, cy)), 120) << n;
        EXPECT_NE(x, lastX);
        lastX = x;
    }
}

}  // namespace
