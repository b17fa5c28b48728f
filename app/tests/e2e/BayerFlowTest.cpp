#include "app/tests/e2e/E2eSupport.h"
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

// A colour camera's raw recording (a mono mosaic titled RAW...) opened from the menu shows in
// colour; the video's context menu opens its colour adjustment, whose "Display Bayer" shows the
// mosaic and whose Apply changes the colours of the picture.

namespace {

using BayerFlowTest = ProgramTest;

// How far the picture is from grey: the largest channel difference of any pixel.
int Colourfulness(const QImage& shot) {
    int most = 0;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2) {
            const QRgb c = shot.pixel(x, y);
            most = std::max({most, std::abs(qRed(c) - qGreen(c)), std::abs(qGreen(c) - qBlue(c))});
        }
    return most;
}

// The part of the picture that the colour window, moved to the screen's left edge, leaves free.
QImage RightPart(const QImage& shot) {
    return shot.copy(shot.width() * 3 / 5, 0, shot.width() * 2 / 5, shot.height());
}

// Mean absolute grey difference of two shots of one size.
double Distance(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return 255;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
    return sum / std::max(1, a.width() * a.height());
}

int MeanRed(const QImage& shot) {
    int64_t sum = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            sum += qRed(shot.pixel(x, y));
    return static_cast<int>(sum / std::max(1, shot.width() * shot.height()));
}

TEST_F(BayerFlowTest, ColourAdjustmentFromTheVideosMenuShowsTheMosaicAndApplies) {
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
    QWidget* area = video->GetQWidget();
    WaitFor([] { return false; }, 300);
    QImage colour;
    ASSERT_TRUE(WaitFor([&] {
        colour = GrabFromScreen(window, area);
        return Spread(colour) > 10;
    })) << "the video area is flat";
    EXPECT_GT(Colourfulness(colour), 20) << "the mosaic is not shown in colour";

    // A right click on the picture, and the context menu's "Bayer Color Adjustment".
    bool offered = false;
    const PopupMenuTracker previous =
        AfxSetPopupMenuTracker([&](QMenu* menu, const QPoint&) -> QAction* {
            for (QAction* action : menu->actions())
                if (PlainMenuText(action->text()) == "Bayer Color Adjustment") {
                    offered = action->isEnabled();
                    return offered ? action : nullptr;
                }
            return nullptr;
        });
    QWidget* picture = video->GetStreamWnd()->GetQWidget();
    QContextMenuEvent request(QContextMenuEvent::Mouse, picture->rect().center(),
                              picture->mapToGlobal(picture->rect().center()));
    QApplication::sendEvent(picture, &request);
    AfxSetPopupMenuTracker(previous);
    ASSERT_TRUE(offered) << "the context menu offers no colour adjustment";
    CBayerColorDlg* dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        dialog = FindWindowOf<CBayerColorDlg>();
        return dialog && dialog->GetQWidget()->isVisible();
    })) << "no colour adjustment window";
    EXPECT_EQ(dialog->GetQWidget()->windowTitle(), "RAW0001_2.avi [File] - Color Adjustment");
    EXPECT_EQ(dialog->GetDlgItemText(CBayerColorDlg::kDisplayMode), "Display Bayer");

    dialog->GetQWidget()->move(0,
                               window->height() - dialog->GetQWidget()->frameGeometry().height());
    const auto shot = [&] { return RightPart(GrabFromScreen(window, area)); };
    WaitFor([] { return false; }, 200);
    const QImage decoded = shot();

    // The mosaic, shown through the recording's own colour table, is another picture.
    Click(dialog, CBayerColorDlg::kDisplayMode);
    EXPECT_TRUE(WaitFor([&] {
        const QImage mosaic = shot();
        return Spread(mosaic) > 10 && Distance(mosaic, decoded) > 10;
    })) << "Display Bayer does not show the mosaic";
    EXPECT_EQ(dialog->GetDlgItemText(CBayerColorDlg::kDisplayMode), "Display Color");
    Click(dialog, CBayerColorDlg::kDisplayMode);
    EXPECT_TRUE(WaitFor([&] { return Distance(shot(), decoded) < 2; }))
        << "Display Color does not bring the decoded picture back";

    // No red at all: the picture's red goes to nothing as soon as Apply is pressed.
    const int redBefore = MeanRed(shot());
    ASSERT_GT(redBefore, 20);
    for (int i = 0; i < 3; ++i)
        dialog->SetDlgItemText(CBayerColorDlg::kCurrentEdits[i], QStringLiteral("0"));
    Click(dialog, CBayerColorDlg::kApply);
    EXPECT_TRUE(WaitFor([&] { return MeanRed(shot()) < redBefore / 4; }))
        << "Apply did not change the picture";
    Click(dialog, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !dialog->GetQWidget()->isVisible(); })) << "Dismiss";
}

}  // namespace
