#include "platform/framework/MessageQueue.h"

#include "platform/framework/Wnd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QMutex>
#include <QObject>
#include <QThread>

#include <atomic>
#include <deque>

namespace {

// Lives on the user-interface thread; each posted message wakes it once with a Qt event, and
// it delivers the oldest waiting message (a message already taken by PeekMessage leaves
// nothing to deliver for its wake-up).
class PostedMessageDispatcher : public QObject {
public:
    static const QEvent::Type kWakeUp;

    bool event(QEvent* e) override {
        if (e->type() != kWakeUp)
            return QObject::event(e);
        MSG msg;
        if (Take(&msg, nullptr, 0, 0))
            DispatchMessage(&msg);
        return true;
    }

    void Post(const MSG& msg) {
        {
            QMutexLocker lock(&m_mutex);
            m_queue.push_back(msg);
        }
        QCoreApplication::postEvent(this, new QEvent(kWakeUp));
    }

    bool Find(MSG* out, HWND hWnd, UINT filterMin, UINT filterMax, bool remove) {
        QMutexLocker lock(&m_mutex);
        for (auto it = m_queue.begin(); it != m_queue.end(); ++it) {
            if (hWnd && it->hwnd != hWnd)
                continue;
            if ((filterMin || filterMax) && (it->message < filterMin || it->message > filterMax))
                continue;
            *out = *it;
            if (remove)
                m_queue.erase(it);
            return true;
        }
        return false;
    }

    bool Take(MSG* out, HWND hWnd, UINT filterMin, UINT filterMax) {
        return Find(out, hWnd, filterMin, filterMax, true);
    }

private:
    QMutex m_mutex;
    std::deque<MSG> m_queue;
};

const QEvent::Type PostedMessageDispatcher::kWakeUp =
    static_cast<QEvent::Type>(QEvent::registerEventType());

// Made on first use from whichever thread and moved to the application's thread; it lives
// for the rest of the process.
PostedMessageDispatcher* Dispatcher() {
    static PostedMessageDispatcher* const s_dispatcher = [] {
        auto* d = new PostedMessageDispatcher;
        if (QCoreApplication* app = QCoreApplication::instance())
            d->moveToThread(app->thread());
        return d;
    }();
    return s_dispatcher;
}

std::atomic<bool> s_quitRequested{false};
std::atomic<int> s_quitCode{0};

bool OnUserInterfaceThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

}  // namespace

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!QCoreApplication::instance() || !IsWindow(hWnd))
        return FALSE;
    Dispatcher()->Post(MSG{hWnd, message, wParam, lParam});
    return TRUE;
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!QCoreApplication::instance())
        return 0;
    if (OnUserInterfaceThread()) {
        CWnd* wnd = CWnd::FromHandle(hWnd);
        return wnd ? wnd->SendMessage(message, wParam, lParam) : 0;
    }
    LRESULT result = 0;
    QMetaObject::invokeMethod(
        Dispatcher(),
        [&] {
            if (CWnd* wnd = CWnd::FromHandle(hWnd))
                result = wnd->SendMessage(message, wParam, lParam);
        },
        Qt::BlockingQueuedConnection);
    return result;
}

BOOL PeekMessage(MSG* msg, HWND hWnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (!QCoreApplication::instance())
        return FALSE;
    return Dispatcher()->Find(msg, hWnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0)
               ? TRUE
               : FALSE;
}

LRESULT DispatchMessage(const MSG* msg) {
    CWnd* wnd = CWnd::FromHandle(msg->hwnd);
    return wnd ? wnd->SendMessage(msg->message, msg->wParam, msg->lParam) : 0;
}

BOOL AfxPumpMessage() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return s_quitRequested ? FALSE : TRUE;
}

void PostQuitMessage(int exitCode) {
    s_quitCode = exitCode;
    s_quitRequested = true;
    QCoreApplication::exit(exitCode);
}

BOOL AfxTakeQuitRequest(int* exitCode) {
    if (!s_quitRequested.exchange(false))
        return FALSE;
    if (exitCode)
        *exitCode = s_quitCode;
    return TRUE;
}
