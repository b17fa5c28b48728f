#include "app/tests/e2e/E2eSupport.h"
#include "frames/BayerColorFilter.h"
#include "frames/FrameSource.h"
#include "platform/framework/Menu.h"
#include "platform/media/tests/TestAviWriter.h"
#include "shell/MainFrame.h"
#include "views/BayerColorDlg.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMainWindow>
#include <QMenu>
#include <QTest>

#include <algorithm>

// A colour camera's raw recording opened from the menu; its colour adjustment, from the video's
// context menu, balances on a region dragged over the picture after "Select Region", outlines
// that region in cyan over the picture and changes the colours shown.

namespace {

using BayerBalanceFlowTest = ProgramTest;

// Pixels of the outline's colour exactly (the picture itself may have a few).
int CyanPixels(const QImage& shot) {
    int cyan = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            cyan += (shot.pixel(x, y) & 0xFFFFFF) == 0x00FFFF;
    return cyan;
}

TEST_F(BayerBalanceFlowTest, GrayBalanceOnARegionDraggedOverThePicture) {
    const QString recording = WorkPath(QStringLiteral("RAW0001_2.avi"));
    ASSERT_TRUE(WriteTestAvi(recording, {TestAviKind::RawPal8, 96, 72, 6, 0}));
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    Prompter().AnswerFileDialog({recording});
    QAction* open = MenuAction(window, QStringLiteral("File/Open Video File..."));
    ASSERT_NE(open, nullptr);
    open->trigger();
    CVidView* video = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (video = FindWindowOf<CVidView>()) != nullptr; }));
    QWidget* picture = video->GetStreamWnd()->GetQWidget();
    WaitFor([] { return false; }, 300);
    ASSERT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, picture)) > 10; }))
        << "the video area is flat";

    ASSERT_TRUE(ChooseFromContextMenu(picture, QStringLiteral("Bayer Color Adjustment")))
        << "the context menu offers no colour adjustment";
    CBayerColorDlg* dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        dialog = FindWindowOf<CBayerColorDlg>();
        return dialog && dialog->GetQWidget()->isVisible();
    })) << "no colour adjustment window";
    // Out of the picture's way.
    dialog->GetQWidget()->move(window->width() - dialog->GetQWidget()->frameGeometry().width(),
                               window->height() - dialog->GetQWidget()->frameGeometry().height());
    WaitFor([] { return false; }, 200);
    const int cyanBefore = CyanPixels(GrabFromScreen(window, picture));

    // "Select Region", then, with the reticle out of the way, a drag over the middle of the
    // picture.
    bool reticle = false;
    video->IsReticleShown(&reticle);
    if (reticle) {
        ASSERT_TRUE(ChooseFromContextMenu(picture, QStringLiteral("Show Reticle")));
    }
    Click(dialog, CBayerColorDlg::kSelectRegion);
    const QRect drag(picture->width() / 4, picture->height() / 4, picture->width() / 3,
                     picture->height() / 3);
    QTest::mousePress(picture, Qt::LeftButton, Qt::NoModifier, drag.topLeft());
    QTest::mouseMove(picture, drag.center());
    QTest::mouseMove(picture, drag.bottomRight());
    QTest::mouseRelease(picture, Qt::LeftButton, Qt::NoModifier, drag.bottomRight());
    double edges[4] = {};
    ASSERT_EQ(video->GetSelection(&edges[0], &edges[1], &edges[2], &edges[3]), S_OK);
    const CRect region(static_cast<int>(std::min(edges[0], edges[2])),
                       static_cast<int>(std::min(edges[1], edges[3])),
                       static_cast<int>(std::max(edges[0], edges[2])),
                       static_cast<int>(std::max(edges[1], edges[3])));
    ASSERT_FALSE(region.IsRectEmpty()) << "the drag selected nothing";

    // The warnings the region's means call for are answered; a balanced region changes nothing.
    CBayerColorFilter* filter = video->GetFrameSource()->GetColourFilter();
    ASSERT_NE(filter, nullptr);
    int means[3] = {};
    ASSERT_TRUE(filter->RegionMeans(region, means));
    const bool equal = means[0] == means[1] && means[1] == means[2];
    if (std::any_of(means, means + 3, [](int m) { return m == 255; }))
        Prompter().ExpectMessageBox(
            "One or more channels were saturated (= 255) during the balance operation.\nFor best "
            "results, avoid saturation by selecting a region in the image which should appear "
            "gray.",
            IDOK);
    if (std::any_of(means, means + 3, [](int m) { return m == 0; }))
        Prompter().ExpectMessageBox(
            "One or more channels were found to be zero during the balance operation.\nFor best "
            "results, select a region in the image which should appear gray.",
            IDOK);
    if (equal)
        Prompter().ExpectMessageBox(
            "All channels were found to be equal during the balance operation.\nRegion already "
            "balanced.  No change was made to the color coefficients.\n",
            IDOK);
    float rowsBefore[3][3];
    dialog->GetShownCoefficients(rowsBefore);
    Click(dialog, CBayerColorDlg::kBalanceNow);
    float rowsAfter[3][3];
    dialog->GetShownCoefficients(rowsAfter);
    EXPECT_EQ(std::equal(&rowsBefore[0][0], &rowsBefore[0][0] + 9, &rowsAfter[0][0]), equal)
        << "the balance did not change the coefficients";
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(dialog->GetDlgItemText(CBayerColorDlg::kMeanEdits[c]),
                  QString::number(means[2 - c]));

    // The region stays outlined in cyan once the view's own selection mark is gone.
    video->SetSelectionMode(false);
    // At least half the outline's length, whatever the zoom maps it to.
    const int outline = std::max(1, (region.Width() + region.Height()));
    EXPECT_TRUE(WaitFor([&] {
        return CyanPixels(GrabFromScreen(window, picture)) > cyanBefore + outline;
    })) << "the balance region is not outlined";
    Click(dialog, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !dialog->GetQWidget()->isVisible(); })) << "Dismiss";
}

}  // namespace
