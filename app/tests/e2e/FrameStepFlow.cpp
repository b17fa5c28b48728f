#include "app/tests/e2e/E2eSupport.h"
#include "frames/SampleRecording.h"
#include "shell/MainFrame.h"
#include "views/VidView.h"
#include "views/panels/PlayControlTab.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

// Steps the sample recording frame by frame with the play controls' Step Forward, as the user
// steps it, and checks that each step shows the recording's own next frame: the frame read and
// the scaled picture painted from it are the ones of that frame number, in order.

namespace {

constexpr UINT kStepForwardButton = 2005;
constexpr int kSteps = 12;

using FrameStepFlow = ProgramTest;

TEST_F(FrameStepFlow, EachStepShowsTheNextFrameOfTheRecording) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    QWidget* window = frame->GetQWidget();
    CVidView* video = FindWindowOf<CVidView>();
    ASSERT_NE(video, nullptr) << "no video window";
    CPlayControlTab* page = FindWindowOf<CPlayControlTab>();
    ASSERT_NE(page, nullptr) << "no play-control page";
    QWidget* area = video->GetQWidget();
    const auto shownNumber = [&] {
        return page->GetDlgItemText(CPlayControlTab::kFrameField).toInt();
    };
    ASSERT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, area)) > 10; }))
        << "the video area is flat";
    ASSERT_EQ(shownNumber(), CSampleRecording::kFirstFrame);

    auto* step = qobject_cast<QAbstractButton*>(page->GetDlgItem(kStepForwardButton)->GetQWidget());
    ASSERT_NE(step, nullptr);
    QImage first;
    QImage shot;
    for (int n = 1; n <= kSteps; ++n) {
        SCOPED_TRACE(n);
        step->click();
        ASSERT_TRUE(WaitFor([&] { return shownNumber() == CSampleRecording::kFirstFrame + n; }))
            << "the frame number stays at " << shownNumber();
        // The picture of frame n, nearer to it than to the frames either side of it.
        double distance = -1;
        const bool matches = WaitFor([&] {
            shot = GrabFromScreen(window, area);
            distance = DistanceToSampleFrame(shot, n);
            return distance >= 0 && distance < 6.0 &&
                   distance < DistanceToSampleFrame(shot, n - 1) &&
                   distance < DistanceToSampleFrame(shot, n + 1);
        });
        EXPECT_TRUE(matches) << "the video area is " << distance << " from frame " << n;
        if (n == 1)
            first = shot;
    }
    EXPECT_GT(DistanceToSampleFrame(shot, 1), DistanceToSampleFrame(shot, kSteps))
        << "the picture did not move on with the steps";
    EXPECT_NE(shot, first);
}

}  // namespace
