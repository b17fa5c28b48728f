#pragma once

#include "app/SpanrecApp.h"
#include "platform/framework/Wnd.h"
#include "testsupport/IsolatedTest.h"

#include <QApplication>
#include <QImage>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class CMainFrame;
class QAction;
class QMainWindow;
class QMenu;

// What every end-to-end test of the running program shares: waiting on the event loop, reading
// the screen as the X server holds it, and a fixture that starts and stops the program.

// Pumps the event loop until done() holds or the deadline passes.
bool WaitFor(const std::function<bool()>& done, int milliseconds = 10000);

// The region of the screen where area shows inside window.
QImage GrabFromScreen(QWidget* window, QWidget* area);

// Mean absolute grey difference between the picture in shot and frame n of the sample, both
// reduced to a coarse grid; -1 when no picture is found.
double DistanceToSampleFrame(const QImage& shot, int n);

// How far the shot is from a single flat colour (0: black, blank or any flat fill).
double Spread(const QImage& shot);

// The first live window of class T, or null.
template <class T>
T* FindWindowOf() {
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* wnd = dynamic_cast<T*>(CWnd::FromWidgetPermanent(widget)))
            return wnd;
    }
    return nullptr;
}

// Runs act on the window of class T as soon as it shows (a modal one included: the check runs
// from the event loop the window's own run spins) and sets done first.
template <class T>
void WhenShown(const std::function<void(T*)>& act, bool* done) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act, done] {
        T* window = FindWindowOf<T>();
        if (!window || !window->GetQWidget() || !window->GetQWidget()->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        *done = true;
        act(window);
    });
    timer->start();
}

// A menu text as the user reads it, without the mnemonics and the key hint.
QString PlainMenuText(const QString& text);

struct MenuItem {
    QString path;  // "Title/Item" or "Title/Sub-menu/Item"
    QAction* action;
};

// Every visible item of the window's menu bar, each menu opened as the user opens it so that
// its items are updated first.
std::vector<MenuItem> MenuItems(QMainWindow* window);

// The menu-bar item at path ("Title/Item"), or null when the menu bar has none.
QAction* MenuAction(QMainWindow* window, const QString& path);

// The menu-bar item at path ("Title/Item"), opening only the menus along the path; null when
// a step is missing.
QAction* FindItem(QMainWindow* window, const QString& path);

// The first enabled item of menu or its sub-menus (each opened on the way) whose text, as the
// user reads it, is text; null when there is none.
QAction* FindItem(QMenu* menu, const QString& text);

// The enabled item at path ("Item" or "Sub-menu/Item", texts as the user reads them) inside
// menu, each sub-menu updated as it opens; null when there is none.
QAction* FindPath(QMenu* menu, const QString& path);

// What a context menu offered: the texts of its own items as the user reads them, and whether
// the item asked for was there (enabled) and checked. True when it was there.
struct ContextMenuChoice {
    QStringList items;
    bool found = false;
    bool checked = false;
    explicit operator bool() const { return found; }
};

// Opens the context menu of window as a right click in the middle of its client area does, or
// of widget clicked at `at` (its middle by default), and chooses the item reading text: a path
// (FindPath) when text holds a '/', else the first enabled item of that text in the menu or a
// sub-menu (FindItem). With onlyLook nothing is chosen.
ContextMenuChoice ChooseFromContextMenu(CWnd* window, const QString& text, bool onlyLook = false);
ContextMenuChoice ChooseFromContextMenu(QWidget* widget, const QString& text,
                                        std::optional<QPoint> at = std::nullopt);

// Drags with the left button across area, by way of the middle between the points.
void Drag(QWidget* area, QPoint from, QPoint to);

// Pixels of the shot whose every colour is within 40 of colour's.
int CountNear(const QImage& shot, QRgb colour);

// Clicks the enabled button id of dialog (a test failure when it is missing or disabled).
void Click(CWnd* dialog, int id);

// Opens the drop-down list id of page, picks the entry of that text and closes the list, as a
// user does.
void ChooseFromDropDown(CWnd* page, int id, const QString& text);

class ProgramTest : public IsolatedTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program with arguments as its command line, sized to the screen as a window
    // manager would, and waits until its main window shows. Null when the start failed.
    CMainFrame* StartProgram(const QStringList& arguments);

    CSpanrecApp m_app;
};
