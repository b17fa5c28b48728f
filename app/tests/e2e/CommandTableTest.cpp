#include "app/tests/e2e/E2eSupport.h"
#include "platform/framework/ActionCmdUI.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/PropertySheet.h"
#include "shell/MainFrame.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>
#include <QWidgetAction>

// The command table of a project with a video open: every command the menus name is there,
// enabled as its update handler says, every enabled item does something a user can see, and
// every toolbar button has an icon and a tip.

namespace {

// Answers every prompt with Cancel (or No, or the first button) and counts them.
class CancellingPrompter : public IPrompter {
public:
    CancellingPrompter() : m_previous(AfxSetPrompter(this)) {}
    ~CancellingPrompter() override { AfxSetPrompter(m_previous); }
    int MessageBox(const MessageBoxPrompt& prompt) override {
        ++count;
        last = prompt.text;
        const UINT buttons = prompt.type & 0xF;
        if (buttons == MB_YESNO)
            return IDNO;
        return buttons == MB_OK ? IDOK : IDCANCEL;
    }
    FileDialogAnswer FileDialog(const FileDialogPrompt&) override {
        ++count;
        return {};
    }
    std::optional<QString> BrowseForFolder(const FolderPrompt&) override {
        ++count;
        return std::nullopt;
    }
    std::optional<COLORREF> ChooseColor(const ColorPrompt&) override {
        ++count;
        return std::nullopt;
    }
    int count = 0;
    QString last;

private:
    IPrompter* m_previous;
};

// What a user can see change: windows, their places, bars, check marks and the clipboard.
QStringList Observable(QMainWindow* window) {
    QStringList state;
    for (QWidget* widget : QApplication::allWidgets()) {
        const CWnd* wnd = CWnd::FromWidgetPermanent(widget);
        if (wnd && widget->isVisible() &&
            (dynamic_cast<const CFrameWnd*>(wnd) || widget->isWindow()))
            state << QStringLiteral("%1 %2 %3,%4 %5x%6")
                         .arg(QString::fromLatin1(typeid(*wnd).name()))
                         .arg(widget->windowTitle())
                         .arg(widget->x())
                         .arg(widget->y())
                         .arg(widget->width())
                         .arg(widget->height());
    }
    for (QToolBar* bar : window->findChildren<QToolBar*>())
        state << QStringLiteral("bar %1 %2").arg(bar->windowTitle()).arg(bar->isVisible());
    for (const MenuItem& item : MenuItems(window))
        state << QStringLiteral("%1 %2").arg(item.path).arg(item.action->isChecked());
    if (const QMimeData* data = QGuiApplication::clipboard()->mimeData())
        state << QStringLiteral("clipboard %1").arg(data->hasImage());
    if (CVidView* video = FindWindowOf<CVidView>())
        state << QStringLiteral("tool %1").arg(video->GetStreamWnd() ? 1 : 0);
    state.sort();
    return state;
}

// The project's menu with the sample open: each path, and whether it is enabled.
const std::vector<std::pair<QString, bool>> kProjectCommands = {
    {"File/Open...", true},
    {"File/Open Video File...", true},
    {"File/Open Video in Form View...", true},
    {"File/Open Play Group...", true},
    {"File/Open Data File...", true},
    {"File/Open Camera...", true},
    {"File/New Play Project", true},
    {"File/Close", true},
    {"File/Save", true},
    {"File/Save As...", true},
    {"File/Exit", true},
    {"Edit/Copy/Application Window", true},
    {"Edit/Program Options...", true},
    {"Edit/System Configuration...", true},
    {"Edit/Record Options...", true},
    {"View/Main Toolbar", true},
    {"View/Quick (Play) File Addition Toolbar", true},
    {"View/Quick (Record) Device Addition Toolbar", true},
    {"View/Video Controls Toolbar", true},
    {"View/Project Layout Toolbar", true},
    {"View/Video Tools Toolbar", true},
    {"View/One-step save toolbar", false},
    {"View/Status Bar", true},
    {"View/Control Bar", true},
    {"View/Control Panel", true},
    {"Playback/Add Video", true},
    {"Playback/Add Data", true},
    {"Playback/Import Play Project", true},
    {"Playback/Save Active Playback As...", true},
    {"Playback/Save active data playback", false},
    {"Playback/Export To Text...", false},
    {"Playback/Export To Excel...", false},
    {"Playback/Save All Playbacks from Device Memory", false},
    {"Playback/Save complete project session", true},
    {"Playback/Edit Record Parameters...", true},
    {"Playback/Save Record Parameters", true},
    {"Playback/Play Controller - Settings from Slowest", true},
    {"Playback/Play Controller - Settings from Active", true},
    // A video on top has no graph to number.
    {"Playback/Video-centric Graph", false},
    {"Playback/Data-centric Graph", false},
    {"Tools/Background Image Mixer", true},
    {"Tools/One-step save settings", true},
    {"Tools/Data Display...", true},
    {"Tools/Data Acquisition...", true},
    {"Tools/Data Sensor...", true},
    {"Tools/Auto-Record Controller...", true},
    {"Tools/Auto-Record Control Panel...", true},
    {"Tools/3-D Capture Wizard...", true},
    {"Tools/Convert Vidra 2.0 Files to Play Group...", true},
    {"Window/Cascade", true},
    {"Window/Tile Horizontally", true},
    {"Window/Tile Vertically", true},
    {"Window/Arrange Windows", true},
    {"Window/Auto-Arrange Windows", true},
    {"Window/Close All Windows", true},
    {"Window/Close All Groups", true},
    {"Window/Windows...", true},
    {"Help/Contents...", false},
    {"Help/Index...", true},
    {"Help/Search...", true},
    {"Help/Check for Updates...", true},
    {"Help/About Vidra Player...", true},
};

using CommandTableTest = ProgramTest;

TEST_F(CommandTableTest, EveryCommandIsThereAndDoesSomething) {
    // A copy of the sample: the commands include saving.
    const QString sample = WorkPath(QStringLiteral("sample.raw"));
    const QString config = QStringLiteral(SAMPLE_RECORDING_PATH).chopped(4) + ".cfg";
    ASSERT_TRUE(QFile::copy(QStringLiteral(SAMPLE_RECORDING_PATH), sample));
    ASSERT_TRUE(QFile::copy(config, WorkPath(QStringLiteral("sample.cfg"))));
    CMainFrame* frame = StartProgram({sample});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    ASSERT_TRUE(WaitFor([] { return FindWindowOf<CVidView>() != nullptr; }));

    // Every toolbar button, the play group's own among them, shows an icon and names itself.
    int buttons = 0;
    for (QToolBar* bar : window->findChildren<QToolBar*>()) {
        for (QAction* action : bar->actions()) {
            // Controls placed on a bar (a combo box) are no buttons.
            if (action->isSeparator() || qobject_cast<QWidgetAction*>(action))
                continue;
            ++buttons;
            const UINT id = CActionCmdUI::GetCommandId(action);
            EXPECT_FALSE(action->icon().pixmap(16, 16).isNull()) << "button " << id;
            EXPECT_FALSE(action->toolTip().isEmpty()) << "button " << id;
        }
    }
    EXPECT_GT(buttons, 20);

    std::vector<MenuItem> items = MenuItems(window);
    for (const MenuItem& item : items)
        EXPECT_FALSE(item.path.endsWith(QLatin1Char('/')))
            << "a blank item in " << item.path.toStdString();
    for (const auto& [path, enabled] : kProjectCommands) {
        const auto it = std::find_if(items.begin(), items.end(),
                                     [&](const MenuItem& item) { return item.path == path; });
        ASSERT_NE(it, items.end()) << path.toStdString() << " is missing";
        EXPECT_EQ(it->action->isEnabled(), enabled) << path.toStdString();
    }

    // Every enabled item once, prompts answered with Cancel and dialogs closed as they show.
    CancellingPrompter prompter;
    int dialogs = 0;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (!widget->isVisible())
                continue;
            CWnd* wnd = CWnd::FromWidgetPermanent(widget);
            if (auto* dialog = dynamic_cast<CDialog*>(wnd)) {
                ++dialogs;
                dialog->EndDialog(IDCANCEL);
            } else if (auto* sheet = dynamic_cast<CPropertySheet*>(wnd)) {
                ++dialogs;
                sheet->EndDialog(IDCANCEL);
            }
        }
    });
    closer.start();
    // Closing and exiting end the session the rest needs; the flow test covers Exit.
    const QStringList last = {"File/Close", "File/Exit", "Window/Close All Windows",
                              "Window/Close All Groups"};
    for (const auto& [path, enabled] : kProjectCommands) {
        if (!enabled || last.contains(path))
            continue;
        SCOPED_TRACE(path.toStdString());
        items = MenuItems(window);
        const auto it = std::find_if(items.begin(), items.end(),
                                     [&](const MenuItem& item) { return item.path == path; });
        ASSERT_NE(it, items.end());
        const QStringList before = Observable(window);
        const int prompts = prompter.count;
        const int shown = dialogs;
        it->action->trigger();
        WaitFor([] { return false; }, 50);
        const bool effect =
            prompter.count != prompts || dialogs != shown || Observable(window) != before;
        EXPECT_TRUE(effect) << path.toStdString() << " has no effect a user can see";
        // Toggles go back, so the next item starts from the same state.
        if (it->action->isCheckable() && !path.startsWith(QLatin1String("Playback/Play")))
            for (const MenuItem& again : MenuItems(window))
                if (again.path == path) {
                    again.action->trigger();
                    WaitFor([] { return false; }, 50);
                }
    }
    closer.stop();
}

// The commands of the groups and the project that only some states let a user run: each one
// reaches its handler by its id, and each one that a menu carries is where the user looks.
TEST_F(CommandTableTest, GroupCommandsAreHandledByTheirIdsAndSitInTheirMenus) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    ASSERT_TRUE(WaitFor([] { return FindWindowOf<CVidView>() != nullptr; }));
    const struct {
        UINT id;
        const char* path;  // null: a command without a menu item
    } commands[] = {
        {32838, "View/Quick (Record) Device Addition Toolbar"},
        {32847, "Playback/Video-centric Graph"},
        {32846, "Playback/Data-centric Graph"},
        {32852, "Record/Zero, Bracket, Save, Re-Arm"},
        {32856, "Record/Close Playbacks and Rearm"},
    };
    const std::vector<MenuItem> items = MenuItems(window);
    for (const auto& c : commands) {
        SCOPED_TRACE(c.id);
        AFX_CMDHANDLERINFO info{};
        EXPECT_TRUE(frame->OnCmdMsg(c.id, CN_COMMAND, nullptr, &info)) << "nothing handles it";
        if (!c.path)
            continue;
        const auto it = std::find_if(items.begin(), items.end(), [&](const MenuItem& item) {
            return item.path == QLatin1String(c.path);
        });
        ASSERT_NE(it, items.end()) << c.path << " is missing";
        EXPECT_EQ(CActionCmdUI::GetCommandId(it->action), c.id) << c.path;
    }
    // The device bar shows its buttons, so its View item shows and hides something.
    QToolBar* deviceBar = nullptr;
    for (QToolBar* bar : window->findChildren<QToolBar*>())
        if (bar->windowTitle() == "Quick (Record) Device Addition Toolbar")
            deviceBar = bar;
    ASSERT_NE(deviceBar, nullptr);
    EXPECT_TRUE(deviceBar->isVisible());
    EXPECT_EQ(deviceBar->actions().size(), 3);
}

}  // namespace
