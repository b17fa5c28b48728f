#include "app/tests/e2e/E2eSupport.h"
#include "groups/GeneralFrame.h"
#include "platform/controls/SlideWidget.h"
#include "platform/framework/Menu.h"
#include "platform/media/tests/TestAviWriter.h"
#include "shell/MainFrame.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"
#include "views/panels/PlayControlTab.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QAction>
#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QTabBar>
#include <QTest>

// What the user sees of a video's display state: the status panes filled from the video in
// front, "Show Information" from the video's View menu putting the information box in its corner
// and taking it away again with the menu's check marks following, and the in and out markers of the
// play control narrowing the slider to the marked range with its scale.

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr int kFrames = 40;
constexpr UINT kJumpButton = 1127;

void SaveShot(QWidget* widget, const QString& name) {
    // What the test changed is painted first: the server holds only painted pixels.
    WaitFor([] { return false; }, 300);
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

// Each item of a pop-up menu with its path, each sub-menu opened as the user opens it.
void CollectItems(QMenu* menu, const QString& prefix,
                  const std::function<void(const QString&, QAction*)>& visit) {
    emit menu->aboutToShow();
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        const QString path = prefix + PlainMenuText(action->text());
        if (action->menu())
            CollectItems(action->menu(), path + QLatin1Char('/'), visit);
        else
            visit(path, action);
    }
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

    // The panes show the video in front, inside the project and its play group.
    CStatusBar& bar = frame->GetStatusBar();
    const QString imageSize = QStringLiteral(" %1 (h) x %2 (v) pixels ").arg(kWidth).arg(kHeight);
    // The panes are filled on idle, as the program's message loop runs it.
    EXPECT_TRUE(WaitFor([&] {
        m_app.OnIdle(0);
        return bar.GetShownPaneText(3) == imageSize;
    })) << "actual size pane: '"
        << bar.GetShownPaneText(3).toStdString() << "'";
    for (int pane = 1; pane <= 4; ++pane) {
        EXPECT_TRUE(bar.GetShownPaneText(pane).endsWith(" (v) pixels ")) << pane;
        EXPECT_FALSE(bar.GetPaneIcon(pane).isNull()) << pane;
    }
    SaveShot(window, QStringLiteral("status-panes-filled.png"));
    SaveShot(page->GetQWidget(), QStringLiteral("playback-page.png"));

    // The project's control panel names its page on a tab the page leaves in view.
    auto* project = FindWindowOf<CGeneralFrame>();
    ASSERT_NE(project, nullptr);
    CTabCtrl& tabs = project->GetControlPanelBar().GetTabCtrl();
    QStringList names;
    for (int i = 0; i < tabs.GetItemCount(); ++i)
        names << tabs.GetItemText(i);
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names.first(), "Playback");
    names.sort();
    EXPECT_EQ(names,
              QStringList({"Analysis", "Calibration", "Image Process", "Measurement", "Playback"}));
    auto* tabBar = qobject_cast<QTabBar*>(tabs.GetQWidget());
    ASSERT_NE(tabBar, nullptr);
    QWidget* panel = project->GetControlPanelBar().GetQWidget();
    const QRect tab(tabBar->mapTo(panel, tabBar->tabRect(0).topLeft()), tabBar->tabRect(0).size());
    const QRect pageArea(page->GetQWidget()->mapTo(panel, QPoint()), page->GetQWidget()->size());
    EXPECT_TRUE(tabBar->isVisible());
    EXPECT_FALSE(tab.intersects(pageArea))
        << "the page covers its tab: tab " << tab.x() << "," << tab.y() << " " << tab.width() << "x"
        << tab.height() << " page " << pageArea.x() << "," << pageArea.y();

    // The video's context menu: its View pop-up with "Show Information", no entry without a
    // text, and the item of the current corner checked.
    QWidget* area = video->GetQWidget();
    const QString upperLeft = QStringLiteral("View/Show Information/Upper-Left");
    const QString hide = QStringLiteral("View/Show Information/Hide");
    // Opens the context menu and chooses the item at path (none when empty); gives the items
    // with their check marks.
    const auto contextMenu = [&](const QString& choose) {
        std::vector<std::pair<QString, bool>> items;
        AfxSetPopupMenuTracker([&](QMenu* menu, const QPoint&) -> QAction* {
            QAction* chosen = nullptr;
            CollectItems(menu, QString(), [&](const QString& path, QAction* action) {
                items.emplace_back(path, action->isChecked());
                if (path == choose)
                    chosen = action;
            });
            return chosen;
        });
        video->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(video->GetSafeHwnd()),
                           MAKELPARAM(-1, -1));
        AfxSetPopupMenuTracker({});
        return items;
    };
    const auto checked = [](const std::vector<std::pair<QString, bool>>& items,
                            const QString& path) {
        for (const auto& [itemPath, on] : items) {
            if (itemPath == path)
                return on;
        }
        ADD_FAILURE() << "no item " << path.toStdString();
        return false;
    };
    auto items = contextMenu(QString());
    for (const auto& [path, on] : items)
        EXPECT_FALSE(path.endsWith(QLatin1Char('/')) || path.contains("//"))
            << "a blank entry: " << path.toStdString();
    EXPECT_TRUE(checked(items, hide));
    EXPECT_EQ(RedInUpperLeft(GrabFromScreen(window, area)), 0);

    contextMenu(upperLeft);
    EXPECT_EQ(stream->GetInfoCorner(), CPanZoomView::kUpperLeft);
    EXPECT_TRUE(WaitFor([&] { return RedInUpperLeft(GrabFromScreen(window, area)) > 20; }))
        << "no information box in the upper-left corner";
    items = contextMenu(QString());
    EXPECT_TRUE(checked(items, upperLeft));
    EXPECT_FALSE(checked(items, hide));
    SaveShot(area, QStringLiteral("information-box.png"));

    contextMenu(hide);
    EXPECT_TRUE(WaitFor([&] { return RedInUpperLeft(GrabFromScreen(window, area)) == 0; }))
        << "the information box stays";
    EXPECT_TRUE(checked(contextMenu(QString()), hide));
    for (const MenuItem& item : MenuItems(window))
        EXPECT_FALSE(item.path.endsWith(QLatin1Char('/')) || item.path.contains("//"))
            << "a blank entry: " << item.path.toStdString();
    // A right click beside the bars opens no menu of its own: the View menu is where bars are
    // shown and hidden, by name.
    QList<QMainWindow*> frameWindows = window->findChildren<QMainWindow*>();
    frameWindows << window;
    for (QMainWindow* frameWindow : frameWindows) {
        std::unique_ptr<QMenu> bars(frameWindow->createPopupMenu());
        EXPECT_EQ(bars, nullptr) << frameWindow->windowTitle().toStdString();
    }

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
