#include "app/AboutDlg.h"
#include "app/tests/e2e/E2eSupport.h"
#include "platform/framework/ActionCmdUI.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/media/tests/TestAviWriter.h"
#include "shell/DlgWindowList.h"
#include "shell/MainFrame.h"
#include "views/VidView.h"
#include "views/panels/PlayControlTab.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

// Drives the program only through its menus, toolbars and keys, as a user who never types a
// command line: opening a recording, playing it, the View toggles, the options, the window
// list, About and Exit. Leaves screenshots in the build folder.

namespace {

QStringList MenuPaths(QMainWindow* window) {
    QStringList paths;
    for (const MenuItem& item : MenuItems(window))
        paths.append(item.path);
    return paths;
}

// Runs check on the modal dialog of class T once it shows, then closes it with result.
template <class T>
void WhenShown(std::function<void(T*)> check, int result, bool* seen) {
    ::WhenShown<T>(
        [check, result](T* dialog) {
            check(dialog);
            dialog->EndDialog(result);
        },
        seen);
}

void SaveShot(QWidget* widget, const QString& name) {
    const QString folder = QStringLiteral(E2E_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    GrabFromScreen(widget->window(), widget).save(folder + QLatin1Char('/') + name);
}

// The main window's menus with no document open.
const QStringList kMainMenu = {
    "File/Open...",
    "File/Open Video File...",
    "File/Open Video in Form View...",
    "File/Open Play Group...",
    "File/Open Data File...",
    "File/Open Camera...",
    "File/Open Data Card...",
    "File/New Play Project",
    "File/Recent File",
    "File/Exit",
    "Edit/Copy/Application Window",
    "Edit/Program Options...",
    "Edit/System Configuration...",
    "Edit/Record Options...",
    "View/Main Toolbar",
    "View/Quick (Play) File Addition Toolbar",
    "View/Quick (Record) Device Addition Toolbar",
    "View/Video Controls Toolbar",
    "View/Project Layout Toolbar",
    "View/Video Tools Toolbar",
    "View/One-step save toolbar",
    "View/Status Bar",
    "View/Control Bar",
    "Tools/Background Image Mixer",
    "Tools/One-step save settings",
    "Tools/Data Display...",
    "Tools/Data Acquisition...",
    "Tools/Data Sensor...",
    "Tools/Auto-Record Controller...",
    "Tools/Auto-Record Control Panel...",
    "Tools/3-D Capture Wizard...",
    "Tools/Convert Vidra 2.0 Files to Play Group...",
    "Window/Cascade",
    "Window/Close All Windows",
    "Window/Close All Groups",
    "Window/Windows...",
    "Help/Contents...",
    "Help/Index...",
    "Help/Search...",
    "Help/Check for Updates...",
    "Help/About Vidra Player...",
};

using MenusToolbarsKeysTest = ProgramTest;

TEST_F(MenusToolbarsKeysTest, AUserReachesTheProgramThroughMenusToolbarsAndKeys) {
    const QString clip = WorkPath(QStringLiteral("clip.avi"));
    TestAviLayout layout;
    layout.width = 64;
    layout.height = 48;
    layout.frames = 40;
    ASSERT_TRUE(WriteTestAvi(clip, layout));

    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    EXPECT_EQ(MenuPaths(window), kMainMenu);

    // Every toolbar button shows an icon and names its command.
    int buttons = 0;
    for (QToolBar* bar : window->findChildren<QToolBar*>()) {
        for (QAction* action : bar->actions()) {
            // A docked dialog bar (the record control panel) is a panel, not a button.
            if (action->isSeparator() || qobject_cast<QWidgetAction*>(action))
                continue;
            ++buttons;
            EXPECT_FALSE(action->icon().isNull())
                << "button " << CActionCmdUI::GetCommandId(action) << " has no icon";
            EXPECT_FALSE(action->icon().pixmap(16, 16).isNull());
            EXPECT_FALSE(action->toolTip().isEmpty())
                << "button " << CActionCmdUI::GetCommandId(action) << " has no tip";
        }
    }
    EXPECT_GT(buttons, 10);

    // File/Open Video File..., answered in the file dialog.
    Prompter().AnswerFileDialog({clip});
    QAction* open = FindItem(window, QStringLiteral("File/Open Video File..."));
    ASSERT_NE(open, nullptr);
    open->trigger();
    ASSERT_TRUE(WaitFor([] { return FindWindowOf<CVidView>() != nullptr; })) << "no video window";
    CPlayControlTab* page = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (page = FindWindowOf<CPlayControlTab>()) != nullptr; }));
    const auto frameNumber = [&] {
        return page->GetDlgItemText(CPlayControlTab::kFrameField).toInt();
    };
    WaitFor([] { return false; }, 300);
    SaveShot(window, QStringLiteral("main-frame-with-project.png"));

    // With a project open its own menus show, among them the play group's.
    const QStringList projectMenu = MenuPaths(window);
    for (const char* path : {"File/Close", "File/Save", "Playback/Add Video",
                             "Window/Arrange Windows", "View/Control Panel"})
        EXPECT_TRUE(projectMenu.contains(QString::fromLatin1(path))) << path;

    // The Play button of the Video Controls toolbar plays.
    QToolButton* play = nullptr;
    for (QToolBar* bar : window->findChildren<QToolBar*>()) {
        for (QAction* action : bar->actions()) {
            if (CActionCmdUI::GetCommandId(action) == 2001)
                play = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        }
    }
    ASSERT_NE(play, nullptr) << "no Play button";
    ASSERT_TRUE(play->isVisible());
    const int start = frameNumber();
    QTest::mouseClick(play, Qt::LeftButton);
    EXPECT_TRUE(WaitFor([&] { return frameNumber() > start; })) << "Play did not play";
    SaveShot(window, QStringLiteral("toolbars-and-status-panes.png"));

    // Ctrl+Space stops; the arrow keys step one frame.
    window->activateWindow();
    QTest::keyClick(window, Qt::Key_Space, Qt::ControlModifier);
    int stopped = frameNumber();
    WaitFor([&] {
        const int now = frameNumber();
        const bool still = now == stopped;
        stopped = now;
        return still;
    });
    stopped = frameNumber();
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_TRUE(WaitFor([&] { return frameNumber() == stopped + 1; }, 3000))
        << "Right did not step: " << stopped << " -> " << frameNumber();
    QTest::keyClick(window, Qt::Key_Left);
    EXPECT_TRUE(WaitFor([&] { return frameNumber() == stopped; }, 3000)) << "Left did not step";

    // View/Main Toolbar hides the main toolbar and shows it again.
    QToolBar* mainBar = frame->GetToolBar(CVidraFrameWnd::kMainToolBar).GetToolBarCtrl();
    ASSERT_TRUE(mainBar->isVisible());
    QAction* toggle = FindItem(window, QStringLiteral("View/Main Toolbar"));
    ASSERT_NE(toggle, nullptr);
    EXPECT_TRUE(toggle->isChecked());
    toggle->trigger();
    EXPECT_FALSE(mainBar->isVisible());
    EXPECT_FALSE(FindItem(window, QStringLiteral("View/Main Toolbar"))->isChecked());
    FindItem(window, QStringLiteral("View/Main Toolbar"))->trigger();
    EXPECT_TRUE(mainBar->isVisible());

    // Edit/Program Options... opens the options sheet.
    bool seen = false;
    WhenShown<CDlgProgramOptions>(
        [](CDlgProgramOptions* sheet) { SaveShot(sheet->GetQWidget(), "program-options.png"); },
        IDCANCEL, &seen);
    FindItem(window, QStringLiteral("Edit/Program Options..."))->trigger();
    EXPECT_TRUE(seen) << "no options sheet";

    // Window/Windows... lists the open windows.
    seen = false;
    QStringList listed;
    WhenShown<CDlgWindowList>(
        [&](CDlgWindowList* dialog) {
            auto* list =
                dialog->GetDlgItem(IDC_WINDOW_LIST)->GetQWidget()->findChild<QListWidget*>();
            if (!list)
                list =
                    qobject_cast<QListWidget*>(dialog->GetDlgItem(IDC_WINDOW_LIST)->GetQWidget());
            for (int i = 0; list && i < list->count(); ++i)
                listed.append(list->item(i)->text());
        },
        -1, &seen);
    FindItem(window, QStringLiteral("Window/Windows..."))->trigger();
    EXPECT_TRUE(seen) << "no window list";
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed.front(), frame->MDIGetActive()->GetWindowText());

    // Help/About shows the About box.
    seen = false;
    QString aboutTitle;
    WhenShown<CAboutDlg>([&](CAboutDlg* about) { aboutTitle = about->GetQWidget()->windowTitle(); },
                         IDOK, &seen);
    FindItem(window, QStringLiteral("Help/About Vidra Player..."))->trigger();
    EXPECT_TRUE(seen) << "no About box";
    EXPECT_EQ(aboutTitle, QStringLiteral("About Vidra Player"));

    // File/Exit closes the program; opening and playing changed nothing, so nothing is asked.
    FindItem(window, QStringLiteral("File/Exit"))->trigger();
    EXPECT_TRUE(WaitFor([&] { return m_app.m_pMainWnd == nullptr; })) << "still running";
}

}  // namespace
