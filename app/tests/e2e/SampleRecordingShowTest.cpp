#include "app/tests/e2e/E2eSupport.h"
#include "frames/SampleRecording.h"
#include "groups/GeneralView.h"
#include "groups/MeasurementView.h"
#include "shell/MainFrame.h"
#include "views/VidView.h"
#include "views/panels/PlayControlTab.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

// Starts the program on the sample recording and checks what the user sees: the recording's
// frame in the video window, and that Play moves it on.

namespace {

constexpr UINT kPlayButton = 2001;

using SampleRecordingShowTest = ProgramTest;

TEST_F(SampleRecordingShowTest, SampleOpensIntoAProjectAndPlays) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    QWidget* window = frame->GetQWidget();

    CVidView* video = FindWindowOf<CVidView>();
    ASSERT_NE(video, nullptr) << "no video window";
    EXPECT_NE(FindWindowOf<CMeasurementView>(), nullptr) << "no play group";
    EXPECT_NE(FindWindowOf<CGeneralView>(), nullptr) << "no project";
    CPlayControlTab* page = FindWindowOf<CPlayControlTab>();
    ASSERT_NE(page, nullptr) << "no play-control page";
    QWidget* area = video->GetQWidget();
    ASSERT_TRUE(area->isVisible());

    // The first frame shown is the recording's, not a black or empty area.
    QImage before;
    const bool shown = WaitFor([&] {
        before = GrabFromScreen(window, area);
        return Spread(before) > 10;
    });
    ASSERT_TRUE(shown) << "the video area is flat";
    const int firstFrame = page->GetDlgItemText(CPlayControlTab::kFrameField).toInt();
    EXPECT_EQ(firstFrame, CSampleRecording::kFirstFrame);
    // The first frame of the recording, where the disc is; not merely some texture.
    const double distance = DistanceToSampleFrame(before, 0);
    EXPECT_GE(distance, 0) << "no picture in the video area";
    EXPECT_LT(distance, 6.0) << "the video area does not show the recording's first frame";
    EXPECT_GT(DistanceToSampleFrame(before, CSampleRecording::kFrames / 4), distance + 2)
        << "the picture does not tell the first frame from a later one";

    EXPECT_TRUE(WaitFor([&] { return page->GetListedCount() == 1; }, 3000))
        << "the page lists " << page->GetListedCount() << " playbacks";

    // Play, pressed as the user presses it.
    auto* play = qobject_cast<QAbstractButton*>(page->GetDlgItem(kPlayButton)->GetQWidget());
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->visibleRegion().boundingRect(), play->rect()) << "Play is not wholly in view";
    play->click();
    QImage after;
    const bool moved = WaitFor(
        [&] { return page->GetDlgItemText(CPlayControlTab::kFrameField).toInt() > firstFrame; });
    EXPECT_TRUE(moved) << "the frame number stays at " << firstFrame;
    const bool changed = WaitFor([&] {
        after = GrabFromScreen(window, area);
        return after != before && Spread(after) > 10;
    });
    EXPECT_TRUE(changed) << "the video area did not change";
}

}  // namespace
