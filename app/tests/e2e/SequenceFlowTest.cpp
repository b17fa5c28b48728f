#include "app/tests/e2e/E2eSupport.h"
#include "frames/tests/SequenceFiles.h"
#include "shell/MainFrame.h"
#include "views/VidView.h"
#include "views/panels/PlayControlTab.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTest>

// A numbered TIFF sequence as another program writes it, opened from File/Open Video File...
// and stepped frame by frame with the keys.

namespace {

using SequenceFlowTest = ProgramTest;

TEST_F(SequenceFlowTest, ANumberedTiffSequenceOpensFromTheMenuAndSteps) {
    // Numbers 7 to 11 without 9, in a folder whose names hold other numbers too.
    for (int n : {7, 8, 10, 11})
        ASSERT_TRUE(WriteSequenceImage(WorkPath(QString("shot%1.tif").arg(n, 5, 10, QChar('0'))),
                                       SequenceImageKind::kTiffRgb8, 96, 72, n));
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());

    Prompter().AnswerFileDialog({WorkPath(QStringLiteral("shot00008.tif"))});
    QAction* open = MenuAction(window, QStringLiteral("File/Open Video File..."));
    ASSERT_NE(open, nullptr);
    open->trigger();
    CVidView* video = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (video = FindWindowOf<CVidView>()) != nullptr; }))
        << "the sequence did not open";
    CPlayControlTab* page = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (page = FindWindowOf<CPlayControlTab>()) != nullptr; }));
    const auto frameNumber = [&] {
        return page->GetDlgItemText(CPlayControlTab::kFrameField).toInt();
    };
    QWidget* area = video->GetQWidget();
    // The window settles on its size first.
    WaitFor([] { return false; }, 300);
    QImage first;
    ASSERT_TRUE(WaitFor([&] {
        first = GrabFromScreen(window, area);
        return Spread(first) > 10;
    })) << "the video area is flat";
    const int start = frameNumber();
    EXPECT_EQ(start, -7) << "the first frame is not numbered after the first file";

    window->activateWindow();
    QTest::keyClick(window, Qt::Key_Right);
    ASSERT_TRUE(WaitFor([&] { return frameNumber() == start + 1; }, 3000))
        << "Right did not step: " << start << " -> " << frameNumber();
    QImage second;
    EXPECT_TRUE(WaitFor([&] {
        second = GrabFromScreen(window, area);
        return second != first && Spread(second) > 10;
    })) << "stepping did not show the next file";
    QTest::keyClick(window, Qt::Key_Left);
    EXPECT_TRUE(WaitFor([&] { return frameNumber() == start; }, 3000)) << "Left did not step";
    // The same picture again, whatever the frame number painted over it.
    const auto distance = [](const QImage& a, const QImage& b) {
        if (a.size() != b.size())
            return 255.0;
        double sum = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
        return sum / (a.width() * a.height());
    };
    const double apart = distance(first, second);
    EXPECT_GT(apart, 1.0);
    EXPECT_TRUE(WaitFor([&] { return distance(GrabFromScreen(window, area), first) < apart / 4; }))
        << "stepping back did not show the first file again";
}

}  // namespace
