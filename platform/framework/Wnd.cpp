#include "platform/framework/Wnd.h"

#include "platform/framework/CmdUI.h"
#include "platform/framework/Cursor.h"
#include "platform/framework/DC.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageQueue.h"
#include "platform/framework/RunningOperation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QMutex>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <vector>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

const CWnd CWnd::wndTop;
const CWnd CWnd::wndBottom;

struct CWnd::CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool fromQt;
    bool defaultRequested;
    CurrentMessage* previous;
};

// The plain widget of windows made by Create: it takes mouse and key input for itself (a
// window's input never goes on to its parent) and reports its end to its window object while
// it is still a whole widget, so WM_DESTROY handlers may still look at it.
class CWndWidget : public QWidget {
public:
    explicit CWndWidget(QWidget* parent) : QWidget(parent) {
        setMouseTracking(true);
        setAutoFillBackground(true);
    }
    ~CWndWidget() override {
        if (CWnd* wnd = CWnd::FromWidgetPermanent(this))
            wnd->WidgetDestroyed(true);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
    void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }
    void keyPressEvent(QKeyEvent* e) override { e->accept(); }
    void keyReleaseEvent(QKeyEvent* e) override { e->accept(); }
};

// Hands the events of the window's widget to the window object before the widget sees them.
class CWnd::EventFilter : public QObject {
public:
    explicit EventFilter(CWnd* owner) : m_owner(owner) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        CWnd* owner = m_owner;
        if (!owner || watched != owner->m_widget)
            return false;
        return owner->HandleQtEvent(event);
    }

private:
    CWnd* m_owner;
};

namespace {

constexpr const char* kCtrlIdProperty = "rmCtrlId";
constexpr const char* kDestroyedProperty = "rmDestroyed";
constexpr const char* kNonClientProperty = "rmNonClient";
constexpr UINT kMinTimerMs = 10;

// Live handles, readable from any thread (IsWindow, PostMessage); widget lookups are made on
// the user-interface thread only.
struct WindowRegistry {
    QMutex mutex;
    QHash<HWND, CWnd*> byHandle;
    QHash<const QWidget*, CWnd*> byWidget;
};

WindowRegistry& Registry() {
    static WindowRegistry registry;
    return registry;
}

HWND NewHandle() {
    // Starts above the sentinel handles and is never reused.
    static std::atomic<uintptr_t> s_next{16};
    return reinterpret_cast<HWND>(s_next.fetch_add(1));
}

bool IsUserInterfaceThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// Learns from the update handler of a command whether it is enabled.
class EnableProbe : public CCmdUI {
public:
    explicit EnableProbe(UINT nID) { m_nID = nID; }
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        m_enabled = bOn != FALSE;
    }
    bool m_enabled = true;
};

// What the framework has said of a widget: its control id, whether its window is destroyed and
// whether it belongs to its window's frame. Window walks read these for every child at every
// lookup, so they are kept in a table of their own rather than read back from the widget's
// dynamic properties by name; the properties are still set, for whoever reads the widget.
// User-interface thread only.
struct WidgetMarks {
    int ctrlId = 0;
    bool destroyed = false;
    bool nonClient = false;
};

QHash<const QObject*, WidgetMarks>& MarksTable() {
    static QHash<const QObject*, WidgetMarks> table;
    return table;
}

const WidgetMarks* MarksOf(const QWidget* w) {
    const QHash<const QObject*, WidgetMarks>& table = MarksTable();
    const auto found = table.constFind(w);
    return found == table.constEnd() ? nullptr : &*found;
}

// The marks of w to change; the entry goes with the widget.
WidgetMarks& MarksToChange(QWidget* w) {
    QHash<const QObject*, WidgetMarks>& table = MarksTable();
    auto found = table.find(w);
    if (found == table.end()) {
        // What another module's framework may have said of it holds until changed here.
        found = table.insert(w, WidgetMarks{w->property(kCtrlIdProperty).toInt(),
                                            w->property(kDestroyedProperty).toBool(),
                                            w->property(kNonClientProperty).toBool()});
        QObject::connect(w, &QObject::destroyed, [w] { MarksTable().remove(w); });
    }
    return *found;
}

// Whether w is a window of its own: not destroyed, not part of a frame.
bool IsChildWindowWidget(const QWidget* w) {
    if (const WidgetMarks* marks = MarksOf(w))
        return !marks->destroyed && !marks->nonClient;
    // Marked, if at all, by the framework of another module (each loadable module has its own
    // copy): the widget's properties tell.
    return !w->property(kDestroyedProperty).toBool() && !w->property(kNonClientProperty).toBool();
}

int CtrlIdOf(const QWidget* w) {
    const WidgetMarks* marks = MarksOf(w);
    return marks ? marks->ctrlId : w->property(kCtrlIdProperty).toInt();
}

// The first child window of parent, topmost first (Qt keeps children bottom to top), for which
// stop returns true; null when none does.
template <typename Stop>
QWidget* WalkChildWindows(const QWidget* parent, Stop stop) {
    const QObjectList& children = parent->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* w = qobject_cast<QWidget*>(*it);
        if (w && !w->isWindow() && IsChildWindowWidget(w) && stop(w))
            return w;
    }
    return nullptr;
}

// The child windows of parent, topmost first.
std::vector<QWidget*> ChildWindows(const QWidget* parent) {
    std::vector<QWidget*> result;
    WalkChildWindows(parent, [&result](QWidget* w) {
        result.push_back(w);
        return false;
    });
    return result;
}

UINT MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

LPARAM PackPoint(const QPoint& p) {
    return MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y()));
}

// The button message for a press, release or double click, or 0 for other buttons.
UINT ButtonMessage(Qt::MouseButton button, QEvent::Type type) {
    UINT base = 0;
    switch (button) {
        case Qt::LeftButton:
            base = WM_LBUTTONDOWN;
            break;
        case Qt::RightButton:
            base = WM_RBUTTONDOWN;
            break;
        case Qt::MiddleButton:
            base = WM_MBUTTONDOWN;
            break;
        default:
            return 0;
    }
    if (type == QEvent::MouseButtonRelease)
        return base + 1;
    if (type == QEvent::MouseButtonDblClick)
        return base + 2;
    return base;
}

UINT VirtualKey(const QKeyEvent* e) {
    const int key = e->key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<UINT>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<UINT>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
    const bool keypad = (e->modifiers() & Qt::KeypadModifier) != 0;
    switch (key) {
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK_TAB;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Shift:
            return VK_SHIFT;
        case Qt::Key_Control:
            return VK_CONTROL;
        case Qt::Key_Alt:
            return VK_MENU;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_End:
            return VK_END;
        case Qt::Key_Home:
            return VK_HOME;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_Insert:
            return VK_INSERT;
        case Qt::Key_Delete:
            return VK_DELETE;
        case Qt::Key_Plus:
            return keypad ? VK_ADD : VK_OEM_PLUS;
        case Qt::Key_Minus:
            return keypad ? VK_SUBTRACT : VK_OEM_MINUS;
        default:
            return 0;
    }
}

// A window's rectangle includes its frame: a top-level window goes where its title bar stays
// in sight (the window manager places the frame there), a child where its parent says.
void PlaceWidget(QWidget* widget, int x, int y, int width, int height) {
    if (widget->isWindow()) {
        widget->resize(width, height);
        widget->move(x, y);
        // Once the window exists, Qt places its client area unless told the frame's place.
        if (QWindow* handle = widget->windowHandle();
            handle && widget->testAttribute(Qt::WA_WState_Created))
            handle->setFramePosition(QPoint(x, y));
    } else {
        widget->setGeometry(x, y, width, height);
    }
}

}  // namespace

CWnd* MessageMapWndFromHandle(WPARAM handle) {
    return CWnd::FromHandle(reinterpret_cast<HWND>(handle));
}

void SetNonClientWidget(QWidget* widget) {
    if (!widget)
        return;
    MarksToChange(widget).nonClient = true;
    widget->setProperty(kNonClientProperty, true);
}

BOOL IsWindow(HWND hWnd) {
    if (!hWnd)
        return FALSE;
    WindowRegistry& r = Registry();
    QMutexLocker lock(&r.mutex);
    return r.byHandle.contains(hWnd) ? TRUE : FALSE;
}

CWnd::CWnd() : m_alive(std::make_shared<bool>(true)) {}

CWnd::~CWnd() {
    // Virtual calls now reach this class only: WM_DESTROY goes to CWnd's map and
    // PostNcDestroy does nothing.
    m_wrapperOnly = false;
    if (m_widget)
        DestroyWindow();
    *m_alive = false;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd)
        return nullptr;
    WindowRegistry& r = Registry();
    QMutexLocker lock(&r.mutex);
    return r.byHandle.value(hWnd, nullptr);
}

CWnd* CWnd::FromWidgetPermanent(const QWidget* widget) {
    if (!widget)
        return nullptr;
    WindowRegistry& r = Registry();
    QMutexLocker lock(&r.mutex);
    return r.byWidget.value(widget, nullptr);
}

CWnd* CWnd::FromWidget(QWidget* widget) {
    if (!widget || !IsChildWindowWidget(widget))
        return nullptr;
    if (CWnd* wnd = FromWidgetPermanent(widget))
        return wnd;
    auto* wrapper = new CWnd;
    wrapper->m_wrapperOnly = true;
    wrapper->AttachWidget(widget, false);
    return wrapper;
}

QWidget* CWnd::CreateWidget(QWidget* parent) {
    return new CWndWidget(parent);
}

BOOL CWnd::Create(const char*, const QString& windowName, DWORD dwStyle, const CRect& rect,
                  CWnd* pParentWnd, UINT nID, void* pCreateParams) {
    if (m_widget)
        return FALSE;
    QWidget* parentWidget = pParentWnd ? pParentWnd->m_widget : nullptr;
    const bool child = (dwStyle & WS_CHILD) != 0;
    if (child && !parentWidget)
        return FALSE;
    QWidget* widget = CreateWidget(child ? parentWidget : nullptr);
    if (!child && parentWidget)
        widget->setParent(parentWidget, widget->windowFlags() | Qt::Window);
    PlaceWidget(widget, rect.left, rect.top, rect.Width(), rect.Height());
    m_style = dwStyle & ~(WS_VISIBLE | WS_DISABLED);
    AttachWidget(widget, true);
    SetDlgCtrlID(static_cast<int>(nID));
    SetWindowText(windowName);
    if (dwStyle & WS_DISABLED)
        widget->setEnabled(false);

    CREATESTRUCT cs;
    cs.lpCreateParams = pCreateParams;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.Width();
    cs.cy = rect.Height();
    cs.style = dwStyle;
    cs.nID = nID;
    cs.lpszName = windowName;
    const std::shared_ptr<bool> alive = m_alive;
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        if (*alive)
            DestroyWindow();
        return FALSE;
    }
    if (!*alive || !m_widget)
        return FALSE;
    SendMessage(WM_SIZE, SIZE_RESTORED,
                MAKELPARAM(static_cast<WORD>(rect.Width()), static_cast<WORD>(rect.Height())));
    if (*alive && m_widget && (dwStyle & WS_VISIBLE))
        m_widget->show();
    return TRUE;
}

BOOL CWnd::Attach(QWidget* widget) {
    if (m_widget || !widget || FromWidgetPermanent(widget))
        return FALSE;
    AttachWidget(widget, false);
    return TRUE;
}

QWidget* CWnd::Detach() {
    QWidget* widget = m_widget;
    DetachWidget();
    return widget;
}

void CWnd::AttachWidget(QWidget* widget, bool isOwnWidget) {
    m_widget = widget;
    m_hWnd = NewHandle();
    {
        WindowRegistry& r = Registry();
        QMutexLocker lock(&r.mutex);
        r.byHandle.insert(m_hWnd, this);
        r.byWidget.insert(widget, this);
    }
    m_filter = new EventFilter(this);
    widget->installEventFilter(m_filter);
    if (!isOwnWidget) {
        QObject::connect(widget, &QObject::destroyed, m_filter, [this] { WidgetDestroyed(false); });
    }
}

void CWnd::DetachWidget() {
    if (!m_widget)
        return;
    m_timers.clear();
    m_trackingLeave = false;
    {
        WindowRegistry& r = Registry();
        QMutexLocker lock(&r.mutex);
        r.byHandle.remove(m_hWnd);
        r.byWidget.remove(m_widget);
    }
    m_widget->removeEventFilter(m_filter);
    delete m_filter;
    m_filter = nullptr;
    m_widget = nullptr;
    m_hWnd = nullptr;
}

void CWnd::FinishDestroy() {
    m_destroying = false;
    if (m_wrapperOnly)
        delete this;
    else
        PostNcDestroy();
}

void CWnd::WidgetDestroyed(bool widgetStillUsable) {
    if (!m_widget)
        return;
    const std::shared_ptr<bool> alive = m_alive;
    if (widgetStillUsable && !m_destroying) {
        m_destroying = true;
        WindowProc(WM_DESTROY, 0, 0);
        if (!*alive)
            return;
    }
    DetachWidget();
    FinishDestroy();
}

BOOL CWnd::DestroyWindow() {
    if (!m_widget || m_destroying)
        return FALSE;
    QWidget* widget = m_widget;

    // Parent first, then descendants depth first, as the handles go.
    std::vector<std::pair<CWnd*, std::weak_ptr<bool>>> tree{{this, m_alive}};
    for (QWidget* w : widget->findChildren<QWidget*>()) {
        if (CWnd* wnd = FromWidgetPermanent(w); wnd && !wnd->m_destroying)
            tree.emplace_back(wnd, wnd->m_alive);
    }
    auto isAlive = [](const std::weak_ptr<bool>& token) {
        auto p = token.lock();
        return p && *p;
    };
    for (auto& [wnd, token] : tree)
        wnd->m_destroying = true;
    for (auto& [wnd, token] : tree) {
        if (isAlive(token) && wnd->m_widget)
            wnd->WindowProc(WM_DESTROY, 0, 0);
    }
    for (auto& [wnd, token] : tree) {
        if (isAlive(token))
            wnd->DetachWidget();
    }
    // The widget may be in the middle of delivering the Qt event that led here, so Qt
    // deletes it once that is over; it is hidden and no longer anyone's window until then.
    MarksToChange(widget).destroyed = true;
    widget->setProperty(kDestroyedProperty, true);
    widget->hide();
    widget->deleteLater();

    for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
        if (isAlive(it->second))
            it->first->FinishDestroy();
    }
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsUserInterfaceThread())
        return ::SendMessage(m_hWnd, message, wParam, lParam);
    if (!m_widget)
        return 0;
    return WindowProc(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep) {
    if (!m_widget)
        return;
    for (QWidget* w : ChildWindows(m_widget)) {
        CWnd* child = FromWidget(w);
        if (!child)
            continue;
        const std::shared_ptr<bool> alive = child->m_alive;
        child->SendMessage(message, wParam, lParam);
        if (bDeep && *alive)
            child->SendMessageToDescendants(message, wParam, lParam, TRUE);
    }
}

LRESULT CWnd::Default() {
    if (!m_current)
        return 0;
    return DefWindowProc(m_current->message, m_current->wParam, m_current->lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A frame's close that would delete what a running operation uses cancels the operation
    // and comes again once it has ended.
    if (message == WM_CLOSE && IsFrameWnd()) {
        const std::weak_ptr<bool> alive = m_alive;
        if (CRunningOperation::CancelBeforeClose(
                CRunningOperation::DocumentsClosedWith(this), this, [this, alive] {
                    if (const std::shared_ptr<bool> live = alive.lock(); live && *live)
                        SendMessage(WM_CLOSE);
                }))
            return 0;
    }
    CurrentMessage current{message, wParam, lParam, m_nextFromQt, false, m_current};
    m_nextFromQt = false;
    const std::shared_ptr<bool> alive = m_alive;
    m_current = &current;
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    if (*alive) {
        m_current = current.previous;
        if (current.fromQt && current.defaultRequested)
            m_qtDefaultRequested = true;
    }
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    // A notification no ON_NOTIFY handler took may still have an ON_MESSAGE(WM_NOTIFY) one.
    if (message == WM_NOTIFY && OnNotify(wParam, lParam, pResult))
        return TRUE;
    const MessageMapEntry* entry = FindMessageEntry(message);
    if (!entry)
        return FALSE;
    MessageMapCall call;
    call.message = message;
    call.wParam = wParam;
    call.lParam = lParam;
    entry->pfn(this, call);
    *pResult = call.result;
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Input that came from Qt gets Qt's own handling once the handler returns.
    if (m_current && m_current->fromQt && m_current->message == message && message != WM_CLOSE &&
        message != WM_SETCURSOR) {
        m_current->defaultRequested = true;
        return 0;
    }
    switch (message) {
        case WM_CLOSE:
            DestroyWindow();
            return 0;
        case WM_SETCURSOR: {
            if (CWnd* parent = GetParent(); parent && (GetStyle() & WS_CHILD)) {
                if (parent->SendMessage(WM_SETCURSOR, wParam, lParam))
                    return TRUE;
            }
            // Nobody chose: the window under the mouse shows its own cursor again.
            CWnd* under = FromHandle(reinterpret_cast<HWND>(wParam));
            QWidget* widget = under && under->m_widget ? under->m_widget : m_widget;
            if (widget)
                widget->unsetCursor();
            return FALSE;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEACTIVATE:
            // A child's parent decides first; without an answer the window is activated.
            if (CWnd* parent = GetParent(); parent && (GetStyle() & WS_CHILD)) {
                if (LRESULT answer = parent->SendMessage(message, wParam, lParam))
                    return answer;
            }
            return MA_ACTIVATE;
        case WM_MOUSEWHEEL:
        case WM_CONTEXTMENU:
            if (CWnd* parent = GetParent(); parent && (GetStyle() & WS_CHILD))
                return parent->SendMessage(message, wParam, lParam);
            return 0;
        default:
            return 0;
    }
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    if (lParam != 0) {
        CWnd* control = FromHandle(reinterpret_cast<HWND>(lParam));
        if (control && control->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr))
            return TRUE;
    }
    if (lParam == 0 && nCode == CN_COMMAND) {
        // A menu command or accelerator whose item an update handler disables now is dropped,
        // even when its menu or toolbar has not been updated since.
        EnableProbe probe(nID);
        if (OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &probe, nullptr) && !probe.m_enabled)
            return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND)
        return OnCmdMsg(0, RmNotifyCode(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam)), nullptr,
                        nullptr);
    if (message == WM_NOTIFY && lParam) {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        LRESULT ignored = 0;
        AFX_NOTIFY notify{pResult ? pResult : &ignored, hdr};
        return OnCmdMsg(0, RmNotifyCode(WM_REFLECT_BASE + WM_NOTIFY, hdr->code), &notify, nullptr);
    }
    return FALSE;
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (!hdr)
        return FALSE;
    *pResult = 0;
    if (CWnd* control = FromHandle(hdr->hwndFrom);
        control && control->OnChildNotify(WM_NOTIFY, 0, lParam, pResult))
        return TRUE;
    AFX_NOTIFY notify{pResult, hdr};
    return OnCmdMsg(static_cast<UINT>(hdr->idFrom), RmNotifyCode(WM_NOTIFY, hdr->code), &notify,
                    nullptr);
}

void CWnd::PostNcDestroy() {}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

bool TranslateQtInput(QWidget* widget, QEvent* event, MSG* msg) {
    QWidget* owner = widget;
    CWnd* wnd = nullptr;
    while (owner && !(wnd = CWnd::FromWidgetPermanent(owner)))
        owner = owner->parentWidget();
    auto point = [&](const QMouseEvent* e) {
        return PackPoint(owner ? widget->mapTo(owner, e->position().toPoint())
                               : e->position().toPoint());
    };
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            auto* e = static_cast<QMouseEvent*>(event);
            msg->message = ButtonMessage(e->button(), e->type());
            if (!msg->message)
                return false;
            msg->wParam = MouseKeyFlags(e->buttons(), e->modifiers());
            msg->lParam = point(e);
            break;
        }
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            msg->message = WM_MOUSEMOVE;
            msg->wParam = MouseKeyFlags(e->buttons(), e->modifiers());
            msg->lParam = point(e);
            break;
        }
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* e = static_cast<QKeyEvent*>(event);
            const UINT vk = VirtualKey(e);
            if (!vk)
                return false;
            const bool down = e->type() == QEvent::KeyPress;
            msg->message = down ? WM_KEYDOWN : WM_KEYUP;
            msg->wParam = vk;
            msg->lParam = MAKELPARAM(1, static_cast<WORD>(down ? (e->isAutoRepeat() ? KF_REPEAT : 0)
                                                               : KF_UP | KF_REPEAT));
            break;
        }
        default:
            return false;
    }
    msg->hwnd = wnd ? wnd->GetSafeHwnd() : nullptr;
    return true;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse) {
    if (!m_widget)
        return 0;
    auto it = m_timers.find(nIDEvent);
    if (it == m_timers.end()) {
        auto* timer = new QTimer;
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, timer, [this, nIDEvent] {
            if (m_widget)
                WindowProc(WM_TIMER, nIDEvent, 0);
        });
        // A timer may be killed from its own WM_TIMER handler, so Qt deletes it afterwards.
        it = m_timers
                 .emplace(nIDEvent, std::unique_ptr<QTimer, void (*)(QTimer*)>(timer,
                                                                               [](QTimer* t) {
                                                                                   t->stop();
                                                                                   t->deleteLater();
                                                                               }))
                 .first;
    }
    it->second->start(static_cast<int>(std::max(nElapse, kMinTimerMs)));
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return m_timers.erase(nIDEvent) ? TRUE : FALSE;
}

void CWnd::SetWindowText(const QString& text) {
    if (!m_widget)
        return;
    if (auto* editor = qobject_cast<QPlainTextEdit*>(m_widget)) {
        editor->setPlainText(text);
        return;
    }
    // The text of a combo box with an edit field is that field's.
    if (auto* combo = qobject_cast<QComboBox*>(m_widget); combo && combo->isEditable()) {
        combo->setEditText(text);
        return;
    }
    const QMetaObject* meta = m_widget->metaObject();
    const int index = meta->indexOfProperty("text");
    if (index >= 0 && meta->property(index).isWritable())
        m_widget->setProperty("text", text);
    else
        m_widget->setWindowTitle(text);
}

QString CWnd::GetWindowText() const {
    if (!m_widget)
        return {};
    if (auto* editor = qobject_cast<QPlainTextEdit*>(m_widget))
        return editor->toPlainText();
    if (auto* combo = qobject_cast<QComboBox*>(m_widget); combo && combo->isEditable())
        return combo->currentText();
    if (m_widget->metaObject()->indexOfProperty("text") >= 0)
        return m_widget->property("text").toString();
    return m_widget->windowTitle();
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    if (!m_widget)
        return FALSE;
    const BOOL wasVisible = m_widget->isVisible() ? TRUE : FALSE;
    switch (nCmdShow) {
        case SW_HIDE:
            m_widget->hide();
            break;
        case SW_SHOWMAXIMIZED:
            m_widget->showMaximized();
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            m_widget->showMinimized();
            break;
        case SW_RESTORE:
        case SW_SHOWNORMAL:
            // A child window may be minimised or maximised inside its parent too.
            m_widget->showNormal();
            break;
        default:
            m_widget->show();
            break;
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    return m_widget && m_widget->isVisible() ? TRUE : FALSE;
}

BOOL CWnd::IsIconic() const {
    return m_widget && m_widget->isMinimized() ? TRUE : FALSE;
}

BOOL CWnd::IsZoomed() const {
    return m_widget && m_widget->isMaximized() ? TRUE : FALSE;
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    if (!m_widget)
        return FALSE;
    const BOOL wasDisabled = m_widget->isEnabled() ? FALSE : TRUE;
    m_widget->setEnabled(bEnable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return m_widget && m_widget->isEnabled() ? TRUE : FALSE;
}

CWnd* CWnd::SetFocus() {
    CWnd* previous = GetFocus();
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
    return previous;
}

CWnd* CWnd::GetFocus() {
    return FromWidget(QApplication::focusWidget());
}

DWORD CWnd::GetStyle() const {
    if (!m_widget)
        return m_style;
    DWORD style = m_style & ~(WS_VISIBLE | WS_DISABLED | WS_CHILD);
    if (m_widget->isVisible())
        style |= WS_VISIBLE;
    if (!m_widget->isEnabled())
        style |= WS_DISABLED;
    if (!m_widget->isWindow())
        style |= WS_CHILD;
    return style;
}

CWnd* CWnd::GetParent() const {
    return m_widget ? FromWidget(m_widget->parentWidget()) : nullptr;
}

CWnd* CWnd::SetParent(CWnd* pWndNewParent) {
    if (!m_widget)
        return nullptr;
    CWnd* old = GetParent();
    const bool visible = m_widget->isVisible();
    QWidget* newParent = pWndNewParent ? pWndNewParent->m_widget : nullptr;
    Qt::WindowFlags flags = m_widget->windowFlags();
    if (!newParent)
        flags |= Qt::Window;
    m_widget->setParent(newParent, flags);
    if (visible)
        m_widget->show();
    return old;
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (CWnd* p = GetParent(); p; p = p->GetParent()) {
        if (p->IsFrameWnd())
            return static_cast<CFrameWnd*>(p);
    }
    return nullptr;
}

CWnd* CWnd::GetTopLevelParent() const {
    return m_widget ? FromWidget(m_widget->window()) : nullptr;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    if (!m_widget)
        return nullptr;
    QWidget* found = WalkChildWindows(m_widget, [nID](QWidget* w) { return CtrlIdOf(w) == nID; });
    return found ? FromWidget(found) : nullptr;
}

int CWnd::GetDlgCtrlID() const {
    return m_widget ? CtrlIdOf(m_widget) : 0;
}

int CWnd::SetDlgCtrlID(int nID) {
    if (!m_widget)
        return 0;
    WidgetMarks& marks = MarksToChange(m_widget);
    const int old = marks.ctrlId;
    marks.ctrlId = nID;
    m_widget->setProperty(kCtrlIdProperty, nID);
    return old;
}

CWnd* CWnd::GetDescendantWindow(int nID) const {
    if (!m_widget)
        return nullptr;
    if (CWnd* direct = GetDlgItem(nID))
        return direct;
    for (QWidget* w : ChildWindows(m_widget)) {
        CWnd* child = FromWidget(w);
        if (CWnd* found = child ? child->GetDescendantWindow(nID) : nullptr)
            return found;
    }
    return nullptr;
}

CWnd* CWnd::GetWindow(UINT nCmd) const {
    if (!m_widget)
        return nullptr;
    if (nCmd == GW_CHILD) {
        const std::vector<QWidget*> children = ChildWindows(m_widget);
        return children.empty() ? nullptr : FromWidget(children.front());
    }
    QWidget* parent = m_widget->parentWidget();
    if (!parent || m_widget->isWindow())
        return nullptr;
    const std::vector<QWidget*> siblings = ChildWindows(parent);
    const auto self = std::find(siblings.begin(), siblings.end(), m_widget);
    switch (nCmd) {
        case GW_HWNDFIRST:
            return FromWidget(siblings.front());
        case GW_HWNDLAST:
            return FromWidget(siblings.back());
        case GW_HWNDNEXT:
            return self != siblings.end() && self + 1 != siblings.end() ? FromWidget(*(self + 1))
                                                                        : nullptr;
        case GW_HWNDPREV:
            return self != siblings.begin() && self != siblings.end() ? FromWidget(*(self - 1))
                                                                      : nullptr;
        default:
            return nullptr;
    }
}

void CWnd::GetClientRect(CRect* rect) const {
    if (!m_widget) {
        rect->SetRectEmpty();
        return;
    }
    rect->SetRect(0, 0, m_widget->width(), m_widget->height());
}

void CWnd::GetWindowRect(CRect* rect) const {
    if (!m_widget) {
        rect->SetRectEmpty();
        return;
    }
    const QRect r = m_widget->isWindow()
                        ? m_widget->frameGeometry()
                        : QRect(m_widget->mapToGlobal(QPoint(0, 0)), m_widget->size());
    rect->SetRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

void CWnd::ScreenToClient(CPoint* point) const {
    if (!m_widget)
        return;
    const QPoint p = m_widget->mapFromGlobal(QPoint(point->x, point->y));
    point->x = p.x();
    point->y = p.y();
}

void CWnd::ScreenToClient(CRect* rect) const {
    CPoint topLeft = rect->TopLeft();
    ScreenToClient(&topLeft);
    rect->OffsetRect(topLeft.x - rect->left, topLeft.y - rect->top);
}

void CWnd::ClientToScreen(CPoint* point) const {
    if (!m_widget)
        return;
    const QPoint p = m_widget->mapToGlobal(QPoint(point->x, point->y));
    point->x = p.x();
    point->y = p.y();
}

void CWnd::ClientToScreen(CRect* rect) const {
    CPoint topLeft = rect->TopLeft();
    ClientToScreen(&topLeft);
    rect->OffsetRect(topLeft.x - rect->left, topLeft.y - rect->top);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    if (!m_widget)
        return;
    PlaceWidget(m_widget, x, y, nWidth, nHeight);
    if (bRepaint)
        m_widget->update();
}

void CWnd::MoveWindow(const CRect& rect, BOOL bRepaint) {
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    if (!m_widget)
        return FALSE;
    if (!(nFlags & SWP_NOZORDER)) {
        if (pWndInsertAfter == &wndTop)
            m_widget->raise();
        else if (pWndInsertAfter == &wndBottom)
            m_widget->lower();
        else if (pWndInsertAfter && pWndInsertAfter->m_widget)
            m_widget->stackUnder(pWndInsertAfter->m_widget);
    }
    if (!(nFlags & SWP_NOMOVE))
        m_widget->move(x, y);
    if (!(nFlags & SWP_NOSIZE))
        m_widget->resize(cx, cy);
    if (nFlags & SWP_SHOWWINDOW)
        m_widget->show();
    if (nFlags & SWP_HIDEWINDOW)
        m_widget->hide();
    return TRUE;
}

void CWnd::Invalidate(BOOL) {
    if (m_widget)
        m_widget->update();
}

void CWnd::InvalidateRect(const CRect* rect, BOOL bErase) {
    if (!m_widget)
        return;
    if (!rect) {
        Invalidate(bErase);
        return;
    }
    m_widget->update(rect->left, rect->top, rect->Width(), rect->Height());
}

BOOL CWnd::RedrawWindow(const CRect* rectUpdate, const QRegion* rgnUpdate, UINT flags) {
    if (!m_widget)
        return FALSE;
    // Invalidating and painting at once is Qt's repaint: it marks the area and paints every
    // dirty part of the window before returning, without posting a request that wakes the event
    // loop (one posted before finds nothing left to paint). Inside a paint of the widget, or
    // with nothing of the area on the widget, the posted request serves as before.
    if ((flags & (RDW_INVALIDATE | RDW_UPDATENOW)) == (RDW_INVALIDATE | RDW_UPDATENOW) &&
        m_widget->isVisible() && m_widget->updatesEnabled() &&
        !m_widget->testAttribute(Qt::WA_WState_InPaintEvent)) {
        QRegion area = m_widget->rect();
        if (rgnUpdate)
            area &= *rgnUpdate;
        else if (rectUpdate)
            area &=
                QRect(rectUpdate->left, rectUpdate->top, rectUpdate->Width(), rectUpdate->Height());
        if (area.rectCount() == 1) {
            m_widget->repaint(area.boundingRect());
            return TRUE;
        }
        if (!area.isEmpty()) {
            m_widget->repaint(area);
            return TRUE;
        }
    }
    if (flags & RDW_INVALIDATE) {
        if (rgnUpdate)
            m_widget->update(*rgnUpdate);
        else
            InvalidateRect(rectUpdate);
    }
    if (flags & RDW_UPDATENOW)
        UpdateWindow();
    return TRUE;
}

void CWnd::UpdateWindow() {
    if (m_widget && m_widget->isVisible())
        QCoreApplication::sendPostedEvents(m_widget->window(), QEvent::UpdateRequest);
}

void CWnd::SetRedraw(BOOL bRedraw) {
    if (m_widget)
        m_widget->setUpdatesEnabled(bRedraw != FALSE);
}

int CWnd::MessageBox(const QString& text, const QString& caption, UINT nType) {
    return AfxPrompter().MessageBox(
        MessageBoxPrompt{text, caption.isNull() ? AfxGetAppTitle() : caption, nType, m_widget});
}

bool CWnd::DispatchFromQt(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const std::shared_ptr<bool> alive = m_alive;
    m_qtDefaultRequested = false;
    m_nextFromQt = true;
    const LRESULT r = WindowProc(message, wParam, lParam);
    if (!*alive)
        return true;
    m_nextFromQt = false;
    if (result)
        *result = r;
    if (!m_widget)
        return true;
    return !m_qtDefaultRequested;
}

bool CWnd::PaintFromQt(const QRegion& region) {
    const std::shared_ptr<bool> alive = m_alive;
    m_paintRegion = region;
    // The erase drawing ends before WM_PAINT, whose handler opens its own paint DC.
    if (FindMessageEntry(WM_ERASEBKGND)) {
        CDC dc(m_widget);
        WindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc), 0);
        if (!*alive || !m_widget)
            return true;
    }
    const bool handled = DispatchFromQt(WM_PAINT, 0, 0);
    if (*alive)
        m_paintRegion = QRegion();
    return handled;
}

bool CWnd::HandleQtEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            auto* e = static_cast<QMouseEvent*>(event);
            const UINT message = ButtonMessage(e->button(), e->type());
            if (!message)
                return false;
            if (e->type() == QEvent::MouseButtonPress) {
                // The window (and, through DefWindowProc, its parents) decides first whether
                // the click activates and whether it goes on.
                const std::shared_ptr<bool> alive = m_alive;
                CWnd* top = GetTopLevelParent();
                const LRESULT answer = WindowProc(
                    WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top ? top->m_hWnd : nullptr),
                    MAKELPARAM(HTCLIENT, message));
                if (!*alive || !m_widget || answer == MA_ACTIVATEANDEAT ||
                    answer == MA_NOACTIVATEANDEAT)
                    return true;
            }
            return DispatchFromQt(message, MouseKeyFlags(e->buttons(), e->modifiers()),
                                  PackPoint(e->position().toPoint()));
        }
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            const std::shared_ptr<bool> alive = m_alive;
            if (e->buttons() == Qt::NoButton) {
                SetCursorTarget(m_widget);
                DispatchFromQt(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hWnd),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
                SetCursorTarget(nullptr);
                if (!*alive || !m_widget)
                    return true;
            }
            return DispatchFromQt(WM_MOUSEMOVE, MouseKeyFlags(e->buttons(), e->modifiers()),
                                  PackPoint(e->position().toPoint()));
        }
        case QEvent::Wheel: {
            auto* e = static_cast<QWheelEvent*>(event);
            const auto delta = static_cast<short>(e->angleDelta().y());
            return DispatchFromQt(
                WM_MOUSEWHEEL,
                MAKEWPARAM(static_cast<WORD>(MouseKeyFlags(e->buttons(), e->modifiers())),
                           static_cast<WORD>(delta)),
                PackPoint(e->globalPosition().toPoint()));
        }
        case QEvent::KeyPress: {
            auto* e = static_cast<QKeyEvent*>(event);
            const std::shared_ptr<bool> alive = m_alive;
            bool handled = false;
            if (const UINT vk = VirtualKey(e)) {
                const WORD flags = e->isAutoRepeat() ? KF_REPEAT : 0;
                handled = DispatchFromQt(WM_KEYDOWN, vk, MAKELPARAM(1, flags));
                if (!*alive || !m_widget)
                    return true;
            }
            const QString text = e->text();
            for (const QChar ch : text) {
                handled = DispatchFromQt(WM_CHAR, ch.unicode(), MAKELPARAM(1, 0)) || handled;
                if (!*alive || !m_widget)
                    return true;
            }
            return handled;
        }
        case QEvent::KeyRelease: {
            auto* e = static_cast<QKeyEvent*>(event);
            const UINT vk = VirtualKey(e);
            if (!vk)
                return false;
            return DispatchFromQt(WM_KEYUP, vk,
                                  MAKELPARAM(1, static_cast<WORD>(KF_UP | KF_REPEAT)));
        }
        case QEvent::Resize: {
            auto* e = static_cast<QResizeEvent*>(event);
            const UINT type = m_widget->isMinimized()   ? SIZE_MINIMIZED
                              : m_widget->isMaximized() ? SIZE_MAXIMIZED
                                                        : SIZE_RESTORED;
            DispatchFromQt(WM_SIZE, type,
                           MAKELPARAM(static_cast<WORD>(e->size().width()),
                                      static_cast<WORD>(e->size().height())));
            return false;
        }
        case QEvent::Paint:
            return PaintFromQt(static_cast<QPaintEvent*>(event)->region());
        case QEvent::ContextMenu: {
            auto* e = static_cast<QContextMenuEvent*>(event);
            const LPARAM where = e->reason() == QContextMenuEvent::Keyboard
                                     ? MAKELPARAM(0xFFFF, 0xFFFF)
                                     : PackPoint(e->globalPos());
            return DispatchFromQt(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), where);
        }
        case QEvent::Close:
            // A Qt window that a look-up merely wrapped closes as Qt closes it: an MDI
            // sub-window first asks the frame inside it, which may refuse.
            if (m_wrapperOnly)
                return false;
            event->ignore();
            DispatchFromQt(WM_CLOSE, 0, 0);
            return true;
        case QEvent::Leave:
            if (m_trackingLeave) {
                m_trackingLeave = false;
                DispatchFromQt(WM_MOUSELEAVE, 0, 0);
            }
            return false;
        case QEvent::FocusIn:
            DispatchFromQt(WM_SETFOCUS, 0, 0);
            return false;
        case QEvent::FocusOut:
            DispatchFromQt(WM_KILLFOCUS, 0, 0);
            return false;
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
            if (m_widget->isWindow()) {
                const WORD state =
                    event->type() == QEvent::WindowActivate ? WA_ACTIVE : WA_INACTIVE;
                DispatchFromQt(WM_ACTIVATE, MAKEWPARAM(state, m_widget->isMinimized() ? 1 : 0), 0);
            }
            return false;
        default:
            return false;
    }
}

int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnContextMenu(CWnd*, CPoint) {
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnActivate(UINT, CWnd*, BOOL) {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnMButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnMButtonUp(UINT, CPoint) {
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnMouseLeave() {
    Default();
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
    CWnd* wnd = track ? CWnd::FromHandle(track->hwndTrack) : nullptr;
    if (!wnd)
        return FALSE;
    if (track->dwFlags & TME_LEAVE)
        wnd->m_trackingLeave = (track->dwFlags & TME_CANCEL) == 0;
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    CWnd* item = pParent ? pParent->GetDlgItem(static_cast<int>(nID)) : nullptr;
    return item ? SubclassWindow(item->m_hWnd) : FALSE;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    CWnd* current = FromHandle(hWnd);
    if (m_widget || !current || current == this || !current->m_wrapperOnly)
        return FALSE;
    QWidget* widget = current->m_widget;
    // The temporary wrapper made for look-ups gives the widget up to this object.
    current->DetachWidget();
    delete current;
    AttachWidget(widget, false);
    PreSubclassWindow();
    return TRUE;
}

void CWnd::SetDlgItemText(int nID, const QString& text) {
    if (CWnd* item = GetDlgItem(nID))
        item->SetWindowText(text);
}

QString CWnd::GetDlgItemText(int nID) const {
    CWnd* item = GetDlgItem(nID);
    return item ? item->GetWindowText() : QString();
}

void CWnd::SetDlgItemInt(int nID, UINT value, BOOL bSigned) {
    SetDlgItemText(nID,
                   bSigned ? QString::number(static_cast<int>(value)) : QString::number(value));
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
    bool ok = false;
    const QString text = GetDlgItemText(nID).trimmed();
    const UINT value = bSigned ? static_cast<UINT>(text.toInt(&ok)) : text.toUInt(&ok);
    if (lpTrans)
        *lpTrans = ok ? TRUE : FALSE;
    return ok ? value : 0;
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) {
    CWnd* item = GetDlgItem(nIDButton);
    QWidget* widget = item ? item->m_widget : nullptr;
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        box->setCheckState(nCheck == 2 ? Qt::PartiallyChecked
                                       : (nCheck ? Qt::Checked : Qt::Unchecked));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget);
               button && button->isCheckable()) {
        // An exclusive group keeps one button checked; the program may clear them all.
        QButtonGroup* group = button->group();
        const bool exclusive = group && group->exclusive();
        if (exclusive)
            group->setExclusive(false);
        button->setChecked(nCheck != 0);
        if (exclusive)
            group->setExclusive(true);
    }
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const {
    CWnd* item = GetDlgItem(nIDButton);
    QWidget* widget = item ? item->m_widget : nullptr;
    if (auto* box = qobject_cast<QCheckBox*>(widget))
        return box->checkState() == Qt::PartiallyChecked ? 2 : (box->isChecked() ? 1 : 0);
    auto* button = qobject_cast<QAbstractButton*>(widget);
    return button && button->isChecked() ? 1 : 0;
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        CheckDlgButton(id, id == nIDCheckButton ? 1 : 0);
}
