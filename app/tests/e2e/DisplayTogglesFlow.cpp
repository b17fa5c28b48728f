#include "app/tests/e2e/E2eSupport.h"
#include "platform/controls/SlideWidget.h"
#include "platform/media/tests/TestAviWriter.h"
#include "shell/MainFrame.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"
#include "views/panels/PlayControlTab.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QTest>

// What the user sees of a video's display state: the status panes filled from the video in
// front, "Show Information" from the View menu putting the information box in its corner and
// taking it away again with the menu's check marks following, and the in and out markers of
// the play control narrowing the slider to the marked range with its scale.

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr int kFrames = 40;
constexpr UINT kJumpButton = 1127;

void SaveShot(QWidget* widget, const QString& name) {
    const QString folder = QStringLiteral(E2E_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    GrabFromScreen(widget->window(), widget).save(folder + QLatin1Char('/') + name);
}

// Pixels of the information box's red text in the shot's upper-left quarter.
int RedInUpperLeft(const QImage& shot) {
    int red = 0;
    for (int y = 0; y < shot.height() / 2; ++y) {
        for (int x = 0; x < shot.width() / 2; ++x) {
            const QColor c = shot.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 90 && c.blue() < 90;
        }
    }
    return red;
}

QAction* FindMenuItem(QMainWindow* window, const QString& path) {
    for (const MenuItem& item : MenuItems(window)) {
        if (item.path == path)
            return item.action;
    }
    return nullptr;
}

// Drags the slide's pointer at value from to value to, with the real mouse.
void DragPointer(CSlideWidget* slide, double from, double to) {
    const int y = slide->height() / 2;
    QTest::mousePress(slide, Qt::LeftButton, Qt::NoModifier, QPoint(slide->PositionOf(from), y));
    QTest::mouseMove(slide, QPoint(slide->PositionOf(to), y));
    QTest::mouseRelease(slide, Qt::LeftButton, Qt::NoModifier, QPoint(slide->PositionOf(to), y));
}

using DisplayTogglesFlow = ProgramTest;

TEST_F(DisplayTogglesFlow, ShowInformationStatusPanesAndTheMarkedRange) {
    const QString clip = WorkPath(QStringLiteral("clip.avi"));
    TestAviLayout layout;
    layout.width = kWidth;
    layout.height = kHeight;
    layout.frames = kFrames;
    ASSERT_TRUE(WriteTestAvi(clip, layout));
    CMainFrame* frame = StartProgram({clip});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    CVidView* video = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (video = FindWindowOf<CVidView>()) != nullptr; }));
    CStreamWnd* stream = video->GetStreamWnd();
    ASSERT_NE(stream, nullptr);
    CPlayControlTab* page = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (page = FindWindowOf<CPlayControlTab>()) != nullptr; }));

    for (const MenuItem& item : MenuItems(window))
        printf("MENU %s\n", qPrintable(item.path));

    // The panes show the video in front, inside the project and its play group.
    CStatusBar& bar = frame->GetStatusBar();
    const QString imageSize = QStringLiteral(" %1 (h) x %2 (v) pixels ").arg(kWidth).arg(kHeight);
    EXPECT_TRUE(WaitFor([&] { return bar.GetShownPaneText(3) == imageSize; }))
        << "actual size pane: '" << bar.GetShownPaneText(3).toStdString() << "'";
    for (int pane = 1; pane <= 4; ++pane) {
        EXPECT_TRUE(bar.GetShownPaneText(pane).endsWith(" (v) pixels ")) << pane;
        EXPECT_FALSE(bar.GetPaneIcon(pane).isNull()) << pane;
    }
    SaveShot(window, QStringLiteral("status-panes-filled.png"));
    SaveShot(page->GetQWidget(), QStringLiteral("playback-page.png"));

    // View/Show Information: the box appears in the chosen corner, checked in the menu.
    QWidget* area = video->GetQWidget();
    const QString upperLeft = QStringLiteral("View/Show Information/Upper-Left");
    const QString hide = QStringLiteral("View/Show Information/Hide");
    ASSERT_NE(FindMenuItem(window, upperLeft), nullptr) << "no Show Information in the View menu";
    EXPECT_TRUE(FindMenuItem(window, hide)->isChecked());
    EXPECT_EQ(RedInUpperLeft(GrabFromScreen(window, area)), 0);
    FindMenuItem(window, upperLeft)->trigger();
    EXPECT_EQ(stream->GetInfoCorner(), CPanZoomView::kUpperLeft);
    EXPECT_TRUE(WaitFor([&] { return RedInUpperLeft(GrabFromScreen(window, area)) > 20; }))
        << "no information box in the upper-left corner";
    EXPECT_TRUE(FindMenuItem(window, upperLeft)->isChecked());
    EXPECT_FALSE(FindMenuItem(window, hide)->isChecked());
    SaveShot(area, QStringLiteral("information-box.png"));
    FindMenuItem(window, hide)->trigger();
    EXPECT_TRUE(WaitFor([&] { return RedInUpperLeft(GrabFromScreen(window, area)) == 0; }))
        << "the information box stays";
    EXPECT_TRUE(FindMenuItem(window, hide)->isChecked());

    // The markers, dragged on the slide, narrow the slider to the marked range.
    auto* slide = dynamic_cast<CSlideWidget*>(page->GetSlideWidget());
    ASSERT_NE(slide, nullptr);
    page->SetDlgItemText(CPlayControlTab::kJumpField, QStringLiteral("20"));
    page->SendMessage(WM_COMMAND, kJumpButton, 0);
    ASSERT_TRUE(
        WaitFor([&] { return page->GetDlgItemText(CPlayControlTab::kFrameField) == "20"; }));
    DragPointer(slide, 0, 5);
    int minimum = -1;
    int maximum = -1;
    page->GetRange(&minimum, &maximum);
    DragPointer(slide, maximum, 30);
    int in = -1;
    int out = -1;
    page->GetInOutPoints(&in, &out);
    EXPECT_EQ(in, 5);
    EXPECT_EQ(out, 30);
    page->GetRange(&minimum, &maximum);
    EXPECT_EQ(minimum, 5);
    EXPECT_EQ(maximum, 30);
    EXPECT_EQ(slide->MarkedSpan().left(), slide->PositionOf(5));
    EXPECT_EQ(slide->MarkedSpan().right(), slide->PositionOf(30));
    // The scale under the slider counts from the marked range's first frame.
    EXPECT_EQ(page->GetDlgItemText(1019), "5");
    EXPECT_EQ(page->GetDlgItemText(1013), "30");
    SaveShot(page->GetQWidget(), QStringLiteral("playback-page-marked-range.png"));
}

}  // namespace
