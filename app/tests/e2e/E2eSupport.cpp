#include "app/tests/e2e/E2eSupport.h"

#include "app/SplashWnd.h"
#include "frames/SampleRecording.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/Menu.h"
#include "shell/MainFrame.h"
#include "testsupport/UpdateCheckOff.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <map>

#include <gtest/gtest.h>

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

QImage GrabFromScreen(QWidget* window, QWidget* area) {
    const QPoint origin = area->mapTo(window, QPoint(0, 0));
    const QPixmap shot = window->screen()->grabWindow(window->winId(), origin.x(), origin.y(),
                                                      area->width(), area->height());
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

// The picture is the bounding box of the pixels that differ from the area's background (its
// corner), so that scaling and the recording's fine texture do not count.
double DistanceToSampleFrame(const QImage& shot, int n) {
    // The window's edge lines are left out; the background is the commonest colour along
    // the ring just inside them.
    constexpr int kInset = 3;
    if (shot.width() <= 2 * kInset || shot.height() <= 2 * kInset)
        return -1;
    std::map<QRgb, int> ring;
    for (int x = kInset; x < shot.width() - kInset; ++x) {
        ++ring[shot.pixel(x, kInset)];
        ++ring[shot.pixel(x, shot.height() - 1 - kInset)];
    }
    for (int y = kInset; y < shot.height() - kInset; ++y) {
        ++ring[shot.pixel(kInset, y)];
        ++ring[shot.pixel(shot.width() - 1 - kInset, y)];
    }
    const QRgb background =
        std::max_element(ring.begin(), ring.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    int left = shot.width(), top = shot.height(), right = -1, bottom = -1;
    for (int y = kInset; y < shot.height() - kInset; ++y) {
        for (int x = kInset; x < shot.width() - kInset; ++x) {
            if (shot.pixel(x, y) != background) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < left || bottom < top)
        return -1;
    QImage frame(CSampleRecording::kWidth, CSampleRecording::kHeight, QImage::Format_RGB32);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const int level = CSampleRecording::Level(n, x, y);
            frame.setPixel(x, y, qRgb(level, level, level));
        }
    const QSize grid(32, 24);
    const QImage shown = shot.copy(left, top, right - left + 1, bottom - top + 1)
                             .scaled(grid, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage wanted = frame.scaled(grid, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    int count = 0;
    // Inner cells only: the picture's edges blend with the background.
    for (int y = 1; y < grid.height() - 1; ++y)
        for (int x = 1; x < grid.width() - 1; ++x, ++count)
            sum += std::abs(qGray(shown.pixel(x, y)) - qGray(wanted.pixel(x, y)));
    return sum / count;
}

// How far the shot is from a single flat colour (0: black, blank or any flat fill).
double Spread(const QImage& shot) {
    double sum = 0, squares = 0;
    const double count = double(shot.width()) * shot.height();
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const int g = qGray(shot.pixel(x, y));
            sum += g;
            squares += double(g) * g;
        }
    }
    const double mean = sum / count;
    return std::sqrt(std::max(0.0, squares / count - mean * mean));
}

QString PlainMenuText(const QString& text) {
    QString plain = text.section(QLatin1Char('\t'), 0, 0);
    plain.remove(QLatin1Char('&'));
    return plain;
}

namespace {

void CollectMenuItems(QMenu* menu, const QString& prefix, std::vector<MenuItem>& items) {
    emit menu->aboutToShow();
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        const QString path = prefix + PlainMenuText(action->text());
        if (action->menu())
            CollectMenuItems(action->menu(), path + QLatin1Char('/'), items);
        else
            items.push_back({path, action});
    }
}

}  // namespace

std::vector<MenuItem> MenuItems(QMainWindow* window) {
    std::vector<MenuItem> items;
    for (QAction* title : window->menuBar()->actions()) {
        if (title->menu())
            CollectMenuItems(title->menu(), PlainMenuText(title->text()) + QLatin1Char('/'), items);
    }
    return items;
}

void ProgramTest::SetUp() {
    IsolatedTest::SetUp();
    TurnStartupUpdateCheckOff();
    qputenv("XDG_DATA_HOME", WorkPath("xdg").toUtf8());
}

void ProgramTest::TearDown() {
    if (CSplashWnd* splash = CSplashWnd::Current())
        splash->HideSplashScreen();
    if (m_app.m_pMainWnd)
        m_app.m_pMainWnd->DestroyWindow();
    m_app.ExitInstance();
    qunsetenv("XDG_DATA_HOME");
    IsolatedTest::TearDown();
}

CMainFrame* ProgramTest::StartProgram(const QStringList& arguments) {
    m_app.SetArguments(arguments);
    if (!m_app.InitInstance())
        return nullptr;
    if (CSplashWnd* splash = CSplashWnd::Current())
        splash->HideSplashScreen();
    auto* frame = dynamic_cast<CMainFrame*>(m_app.m_pMainWnd);
    if (!frame)
        return nullptr;
    QWidget* window = frame->GetQWidget();
    // The bare server has no window manager to maximise the window: size it as one would.
    window->setGeometry(window->screen()->availableGeometry());
    if (!WaitFor([&] { return window->windowHandle() && window->windowHandle()->isExposed(); }))
        return nullptr;
    return frame;
}

QAction* MenuAction(QMainWindow* window, const QString& path) {
    for (const MenuItem& item : MenuItems(window)) {
        if (item.path == path)
            return item.action;
    }
    return nullptr;
}

QAction* FindItem(QMainWindow* window, const QString& path) {
    QList<QAction*> actions = window->menuBar()->actions();
    QAction* found = nullptr;
    for (const QString& part : path.split(QLatin1Char('/'))) {
        found = nullptr;
        for (QAction* action : actions) {
            if (PlainMenuText(action->text()) == part) {
                found = action;
                break;
            }
        }
        if (!found)
            return nullptr;
        if (QMenu* menu = found->menu()) {
            emit menu->aboutToShow();
            actions = menu->actions();
        }
    }
    return found;
}

QAction* FindItem(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (QMenu* sub = action->menu()) {
            emit sub->aboutToShow();
            if (QAction* found = FindItem(sub, text))
                return found;
        } else if (PlainMenuText(action->text()) == text && action->isEnabled()) {
            return action;
        }
    }
    return nullptr;
}

QAction* FindPath(QMenu* menu, const QString& path) {
    const std::function<QAction*(QMenu*, const QString&)> find = [&](QMenu* in,
                                                                     const QString& prefix) {
        emit in->aboutToShow();
        for (QAction* action : in->actions()) {
            const QString here = prefix + PlainMenuText(action->text());
            if (QMenu* sub = action->menu()) {
                if (QAction* found = find(sub, here + QLatin1Char('/')))
                    return found;
            } else if (here == path && action->isEnabled()) {
                return action;
            }
        }
        return static_cast<QAction*>(nullptr);
    };
    return find(menu, QString());
}

namespace {

// Runs open with a pop-up tracker in place that notes what the menu offers and picks the item
// reading text.
ContextMenuChoice TrackContextMenu(const QString& text, bool onlyLook,
                                   const std::function<void()>& open) {
    ContextMenuChoice choice;
    const PopupMenuTracker previous =
        AfxSetPopupMenuTracker([&](QMenu* menu, const QPoint&) -> QAction* {
            for (QAction* action : menu->actions())
                choice.items << PlainMenuText(action->text());
            QAction* item =
                text.contains(QLatin1Char('/')) ? FindPath(menu, text) : FindItem(menu, text);
            choice.found = item != nullptr;
            choice.checked = item && item->isChecked();
            return onlyLook ? nullptr : item;
        });
    open();
    AfxSetPopupMenuTracker(previous);
    return choice;
}

}  // namespace

ContextMenuChoice ChooseFromContextMenu(CWnd* window, const QString& text, bool onlyLook) {
    return TrackContextMenu(text, onlyLook, [window] {
        CRect client;
        window->GetClientRect(&client);
        CPoint centre = client.CenterPoint();
        window->ClientToScreen(&centre);
        window->SendMessage(WM_CONTEXTMENU, 0, MAKELPARAM(centre.x, centre.y));
    });
}

ContextMenuChoice ChooseFromContextMenu(QWidget* widget, const QString& text,
                                        std::optional<QPoint> at) {
    return TrackContextMenu(text, false, [widget, at] {
        const QPoint point = at.value_or(widget->rect().center());
        QContextMenuEvent request(QContextMenuEvent::Mouse, point, widget->mapToGlobal(point));
        QApplication::sendEvent(widget, &request);
    });
}

void Drag(QWidget* area, QPoint from, QPoint to) {
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(area, (from + to) / 2);
    QTest::mouseMove(area, to);
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, to);
}

int CountNear(const QImage& shot, QRgb colour) {
    int count = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb p = shot.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colour)) < 40 &&
                std::abs(qGreen(p) - qGreen(colour)) < 40 &&
                std::abs(qBlue(p) - qBlue(colour)) < 40)
                ++count;
        }
    return count;
}

void Click(CWnd* dialog, int id) {
    CWnd* item = dialog->GetDlgItem(id);
    ASSERT_NE(item, nullptr) << id;
    auto* button = qobject_cast<QAbstractButton*>(item->GetQWidget());
    ASSERT_NE(button, nullptr) << id;
    ASSERT_TRUE(button->isEnabled()) << id;
    button->click();
}

void ChooseFromDropDown(CWnd* page, int id, const QString& text) {
    auto* box = static_cast<CComboBox*>(page->GetDlgItem(id));
    ASSERT_NE(box, nullptr) << id;
    auto* combo = qobject_cast<QComboBox*>(box->GetQWidget());
    ASSERT_NE(combo, nullptr);
    box->ShowDropDown(TRUE);
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    box->ShowDropDown(FALSE);
}
