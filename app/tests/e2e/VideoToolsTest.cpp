#include "app/tests/e2e/E2eSupport.h"
#include "frames/FrameImage.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/Menu.h"
#include "sensordata/DataPlayView.h"
#include "sensordata/model/SensorDataSet.h"
#include "shell/MainFrame.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"
#include "views/VidViewRegionAdapter.h"
#include "views/VidViewToolAdapter.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <vector>

// A user marks a zoom region on the sample's video window and opens it, then asks for the
// histogram output of the mean pixel value; all through the video window's context menu.

namespace {

// Every video view of the program.
std::vector<CVidView*> VideoViews() {
    std::vector<CVidView*> views;
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* view = dynamic_cast<CVidView*>(CWnd::FromWidgetPermanent(widget)))
            views.push_back(view);
    return views;
}

using VideoToolsTest = ProgramTest;

TEST_F(VideoToolsTest, ZoomRegionAndHistogramOutputFromTheContextMenu) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    QWidget* window = frame->GetQWidget();
    ASSERT_EQ(VideoViews().size(), 1u);
    CVidView* video = VideoViews().front();
    CStreamWnd* stream = video->GetStreamWnd();
    ASSERT_NE(stream, nullptr);
    QWidget* area = stream->GetQWidget();
    ASSERT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, area)) > 10; }));
    const QString title = video->GetParent()->GetWindowText();
    ASSERT_FALSE(title.isEmpty());

    // Define the region: with the reticle out of the way, drag a rectangle over the middle of
    // the picture.
    bool reticle = false;
    video->IsReticleShown(&reticle);
    if (reticle) {
        ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Show Reticle"));
    }
    video->IsReticleShown(&reticle);
    ASSERT_FALSE(reticle);
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Define Zoom Region"));
    const QPoint from(area->width() / 3, area->height() / 3);
    const QPoint to(area->width() * 2 / 3, area->height() * 2 / 3);
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(area, (from + to) / 2);
    QTest::mouseMove(area, to);
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, to);
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Set Zoom Region"));
    ASSERT_FALSE(video->GetRegionAdapter()->GetDerivedSource().IsEmpty()) << "no region made";
    // Its yellow outline marks the picture.
    EXPECT_TRUE(WaitFor([&] {
        return CountNear(GrabFromScreen(window, area), qRgb(255, 255, 0)) > 20;
    })) << "no outline on the video";

    // Show it: a zoom window of the play group shows the cut-out frames.
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Show Zoom Region"));
    ASSERT_TRUE(WaitFor([] { return VideoViews().size() == 2; })) << "no zoom window";
    CVidView* zoom = VideoViews().front() == video ? VideoViews().back() : VideoViews().front();
    EXPECT_EQ(zoom->GetParent()->GetWindowText(), "Zoom : " + title);
    const CFrameSourcePtr cropped = zoom->GetFrameSource();
    ASSERT_EQ(cropped.Get(), video->GetRegionAdapter()->GetDerivedSource().Get());
    int width = 0;
    int height = 0;
    cropped->GetImageSize(&width, &height);
    EXPECT_GT(width, 4);
    EXPECT_EQ(width % 4, 0);
    EXPECT_EQ(height % 4, 0);
    EXPECT_EQ(zoom->GetFrameRate(), video->GetFrameRate()) << "the zoom window's times";
    QWidget* zoomArea = zoom->GetStreamWnd()->GetQWidget();
    EXPECT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, zoomArea)) > 10; }))
        << "the zoom window shows no picture";
    // Showing it again brings the same window forward.
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Show Zoom Region"));
    EXPECT_EQ(VideoViews().size(), 2u);

    // The histogram output measures the frames into a data window of the play group.
    EXPECT_FALSE(ChooseFromContextMenu(video->GetStreamWnd(), " Remove Histogram Output."))
        << "nothing to remove";
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), " Histogram Output."));
    ASSERT_FALSE(video->GetToolAdapter()->GetDerivedSource().IsEmpty());
    EXPECT_TRUE(WaitFor([&] {
        return CountNear(GrabFromScreen(window, area), qRgb(255, 0, 0)) > 20;
    })) << "no histogram mark on the video";
    EXPECT_TRUE(WaitFor([] {
        auto* data = FindWindowOf<CDataPlayView>();
        return data && !data->GetDataSet().IsEmpty() && data->GetQWidget()->isVisible();
    })) << "no data window shows the histogram";
    EXPECT_EQ(VideoViews().size(), 2u);
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), " Remove Histogram Output."));
    EXPECT_TRUE(video->GetToolAdapter()->GetDerivedSource().IsEmpty());
    EXPECT_TRUE(WaitFor([&] {
        return CountNear(GrabFromScreen(window, area), qRgb(255, 0, 0)) == 0;
    })) << "the histogram mark stays";

    // Removing the region takes its outline away; the zoom window keeps its frames.
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Remove Zoom Region"));
    EXPECT_TRUE(video->GetRegionAdapter()->GetDerivedSource().IsEmpty());
    EXPECT_TRUE(WaitFor([&] {
        return CountNear(GrabFromScreen(window, area), qRgb(255, 255, 0)) == 0;
    })) << "the outline stays";
    CFrameImage image;
    EXPECT_EQ(cropped->GetFrame(3, &image, 0), 1);
}

}  // namespace
