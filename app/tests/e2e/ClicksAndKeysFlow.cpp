#include "app/tests/e2e/E2eSupport.h"
#include "groups/GeneralFrame.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "platform/framework/ActionCmdUI.h"
#include "platform/framework/Dialog.h"
#include "shell/MainFrame.h"
#include "views/AnnotateDoc.h"
#include "views/AnnotateView.h"
#include "views/DrawLengthCalibration.h"
#include "views/DrawPropsDlg.h"
#include "views/DrawText.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include <functional>
#include <optional>

// What a user reaches with real clicks and keys: a field inside a group box of a dialog takes
// the click and the typing, a text annotation gets its text typed, the keys reach the
// annotation a click selected, and a program started with a file shows its main window
// maximised.

namespace {

// A click at the middle of control as the X server hands it over: to the dialog's window at
// that place, so that the widget found there gets it.
void ClickThroughWindow(QWidget* control) {
    QWidget* top = control->window();
    QWindow* handle = top->windowHandle();
    ASSERT_NE(handle, nullptr);
    const QPoint at = control->mapTo(top, control->rect().center());
    QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, at);
}

// Typing into whatever has the keys in the window of widget: select all, then the text.
void TypeIntoWindow(QWidget* widget, const char* text) {
    QWindow* handle = widget->window()->windowHandle();
    ASSERT_NE(handle, nullptr);
    QTest::keyClick(handle, Qt::Key_A, Qt::ControlModifier);
    for (const char* c = text; *c; ++c)
        QTest::keyClick(handle, *c);
}

// Runs act on the modal dialog of class T once it shows.
template <class T>
void WhenModal(QTimer& timer, const std::function<void(T*)>& act) {
    QObject::connect(&timer, &QTimer::timeout, [&timer, act] {
        auto* dialog = dynamic_cast<T*>(CWnd::FromWidget(QApplication::activeModalWidget()));
        if (!dialog)
            return;
        timer.stop();
        act(dialog);
    });
    timer.start(50);
}

bool Choose(QMainWindow* window, const QString& path) {
    for (const MenuItem& item : MenuItems(window)) {
        if (item.path == path && item.action->isEnabled()) {
            item.action->trigger();
            return true;
        }
    }
    return false;
}

using ClicksAndKeysFlow = ProgramTest;

TEST_F(ClicksAndKeysFlow, FieldsInsideGroupBoxesTakeClicksAndTypedText) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    CVidView* video = FindWindowOf<CVidView>();
    ASSERT_NE(video, nullptr);
    CStreamWnd* stream = video->GetStreamWnd();
    QWidget* area = stream->GetQWidget();
    ASSERT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, area)) > 10; }));
    video->ShowReticle(false);
    CDrawObjectList& objects = *stream->GetAnnotateDoc()->GetObjectList();
    const int w = area->width();
    const int h = area->height();

    // The Length field of the scale calibration sits inside the "Calibration Scale" box.
    ASSERT_TRUE(ChooseFromContextMenu(stream, "Measure/Add Scale Calibration"));
    QTimer calibrate;
    bool answered = false;
    WhenModal<CDialog>(calibrate, [&](CDialog* dialog) {
        QWidget* length = dialog->GetDlgItem(2206)->GetQWidget();
        ClickThroughWindow(length);
        EXPECT_TRUE(length->hasFocus()) << "the click did not reach the Length field";
        TypeIntoWindow(length, "10");
        ClickThroughWindow(dialog->GetDlgItem(IDOK)->GetQWidget());
        answered = true;
    });
    Drag(area, {w / 4, h / 5}, {w * 3 / 4, h / 5});
    calibrate.stop();
    ASSERT_TRUE(answered) << "no calibration properties";
    ASSERT_EQ(objects.size(), 1u);
    CCalibrationData calibration;
    static_cast<CDrawLengthCalibration*>(objects[0])->GetCalibration(&calibration);
    double distance = 0.0;
    calibration.GetDistance(&distance);
    EXPECT_EQ(distance, 10.0);

    // A text box gets its text in the properties a double-click on it opens.
    ASSERT_TRUE(Choose(window, "Annotate/Text"));
    const QPoint place(w / 3, h / 2);
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, place);
    ASSERT_EQ(objects.size(), 2u);
    auto* text = dynamic_cast<CDrawText*>(objects[1]);
    ASSERT_NE(text, nullptr);
    QTimer type;
    answered = false;
    WhenModal<CDrawPropsDlg>(type, [&](CDrawPropsDlg* dialog) {
        QWidget* field = dialog->GetDlgItem(CDrawPropsDlg::kText)->GetQWidget();
        ClickThroughWindow(field);
        TypeIntoWindow(field, "gate");
        ClickThroughWindow(dialog->GetDlgItem(IDOK)->GetQWidget());
        answered = true;
    });
    QTest::mouseDClick(area, Qt::LeftButton, Qt::NoModifier, place);
    type.stop();
    ASSERT_TRUE(answered) << "a double-click on the text opened nothing";
    EXPECT_EQ(text->GetText(), "gate");

    const QString path = WorkPath("typed.ant");
    Prompter().AnswerFileDialog({path});
    Prompter().ExpectMessageBox(
        QStringLiteral("Annotations successfully saved to file %1.").arg(path), IDOK);
    ASSERT_TRUE(Choose(window, "Annotate/Save Annotations As..."));
    Prompter().ExpectMessageBox("Delete all annotations?", IDYES);
    ASSERT_TRUE(Choose(window, "Annotate/Delete All Annotations"));
    Prompter().AnswerFileDialog({path});
    ASSERT_TRUE(Choose(window, "Annotate/Open Annotations..."));
    ASSERT_EQ(objects.size(), 2u);
    auto* loaded = dynamic_cast<CDrawText*>(objects[1]);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetText(), "gate");

    // A click selects the text; the keys then reach it, wherever they were before.
    ASSERT_TRUE(Choose(window, "Annotate/Select"));
    window->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return window->isActiveWindow(); }));
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, place);
    ASSERT_TRUE(loaded->IsSelected());
    QWidget* keys = QApplication::focusWidget();
    ASSERT_NE(keys, nullptr);
    const double y = loaded->GetPoint(0, FALSE).y;
    QTest::keyClick(keys, Qt::Key_Down);
    EXPECT_EQ(loaded->GetPoint(0, FALSE).y, y + 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(loaded->GetPoint(0, FALSE).y, y);
    Prompter().ExpectMessageBox("Delete selected annotation?", IDYES);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_TRUE(WaitFor([&] { return objects.size() == 1; })) << "Delete did not reach the editor";
}

TEST_F(ClicksAndKeysFlow, StartedWithAFileTheMainWindowFirstShowsMaximised) {
    // The state the main window has when it first appears on the screen.
    struct FirstShow : QObject {
        std::optional<Qt::WindowStates> state;
        bool eventFilter(QObject* watched, QEvent* event) override {
            auto* main = qobject_cast<QMainWindow*>(watched);
            if (event->type() == QEvent::Show && main && main->isWindow() && !state)
                state = main->windowState();
            return false;
        }
    } first;
    qApp->installEventFilter(&first);
    m_app.SetArguments({QStringLiteral(SAMPLE_RECORDING_PATH)});
    const BOOL started = m_app.InitInstance();
    qApp->removeEventFilter(&first);
    ASSERT_TRUE(started);
    ASSERT_NE(FindWindowOf<CVidView>(), nullptr) << "the file did not open";
    ASSERT_TRUE(first.state.has_value()) << "the main window never showed";
    EXPECT_TRUE(*first.state & Qt::WindowMaximized) << "shown at its default size first";
    QWidget* window = m_app.m_pMainWnd->GetQWidget();
    EXPECT_TRUE(window->isMaximized());
    EXPECT_TRUE(window->screen()->geometry().contains(window->frameGeometry().topLeft()));

    window->setGeometry(window->screen()->availableGeometry());
    QWidget* area = FindWindowOf<CVidView>()->GetStreamWnd()->GetQWidget();
    ASSERT_TRUE(WaitFor([&] { return area->isVisible(); }));

    // While the video plays, the toolbar's Stop and steps stay at hand.
    const auto button = [&](UINT id) -> QAction* {
        for (QToolBar* bar : window->findChildren<QToolBar*>()) {
            for (QAction* action : bar->actions()) {
                if (CActionCmdUI::GetCommandId(action) == id && bar->isVisible())
                    return action;
            }
        }
        return nullptr;
    };
    QAction* play = button(2001);
    QAction* stop = button(2003);
    ASSERT_TRUE(play && stop);
    m_app.OnIdle(0);
    ASSERT_TRUE(play->isEnabled());
    play->trigger();
    WaitFor([] { return false; }, 500);
    m_app.OnIdle(0);
    EXPECT_TRUE(stop->isEnabled()) << "Stop is greyed while the video plays";
    // Every toolbar that shows them, the project's own among them.
    int shown = 0;
    for (QToolBar* bar : window->findChildren<QToolBar*>()) {
        if (!bar->isVisible())
            continue;
        for (QAction* action : bar->actions()) {
            const UINT id = CActionCmdUI::GetCommandId(action);
            if (id == 2001 || id == 2003 || id == 2004 || id == 2005 || id == 2009) {
                ++shown;
                EXPECT_TRUE(action->isEnabled())
                    << id << " on " << bar->windowTitle().toStdString();
            }
        }
    }
    EXPECT_GE(shown, 5);
    stop->trigger();

    // Ctrl+W, pressed over the video, closes the window that shows it.
    window->activateWindow();
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, area->rect().center());
    QWidget* keys = QApplication::focusWidget();
    ASSERT_NE(keys, nullptr);
    QTest::keyClick(keys, Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(WaitFor([] { return FindWindowOf<CVidView>() == nullptr; }))
        << "Ctrl+W closed nothing";
}

// The close button of a project's window asks about the changes in it, as closing the main
// window does; Cancel keeps it open.
TEST_F(ClicksAndKeysFlow, AChangedProjectsOwnCloseButtonAsks) {
    const QString sample = WorkPath("sample.raw");
    const QString second = WorkPath("second.raw");
    ASSERT_TRUE(QFile::copy(QStringLiteral(SAMPLE_RECORDING_PATH), sample));
    ASSERT_TRUE(QFile::copy(QStringLiteral(SAMPLE_RECORDING_PATH), second));
    CMainFrame* frame = StartProgram({sample});
    ASSERT_NE(frame, nullptr);
    CMeasurementView* groupView = FindWindowOf<CMeasurementView>();
    ASSERT_NE(groupView, nullptr);
    auto* group = dynamic_cast<CMeasurementFormDoc*>(groupView->GetDocument());
    ASSERT_NE(group, nullptr);
    frame->OnDropFiles({second});
    ASSERT_TRUE(WaitFor([&] { return group->GetVideoCount() == 2; }, 5000));
    ASSERT_TRUE(group->IsModified());

    CGeneralFrame* project = FindWindowOf<CGeneralFrame>();
    ASSERT_NE(project, nullptr);
    QMdiSubWindow* sub = project->GetSubWindow();
    ASSERT_NE(sub, nullptr);
    // The close button of the project's title bar, clicked where the style draws it.
    sub->showNormal();
    ASSERT_TRUE(WaitFor([&] { return sub->isVisible() && !sub->isMaximized(); }));
    QStyleOptionTitleBar title;
    title.initFrom(sub);
    title.subControls = QStyle::SC_All;
    title.titleBarFlags = sub->windowFlags();
    title.titleBarState = static_cast<int>(sub->windowState());
    title.rect = QRect(0, 0, sub->width(),
                       sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &title, sub));
    const QRect close = sub->style()->subControlRect(QStyle::CC_TitleBar, &title,
                                                     QStyle::SC_TitleBarCloseButton, sub);
    ASSERT_TRUE(close.isValid());
    Prompter().ExpectMessageBox(QStringLiteral("Save changes to sample?"), IDCANCEL);
    QWidget* top = frame->GetQWidget();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      sub->mapTo(top, close.center()));
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(Prompter().Prompts().size(), 1u) << "closed without a question";
    EXPECT_NE(FindWindowOf<CGeneralFrame>(), nullptr) << "Cancel did not keep the project";
}

}  // namespace
