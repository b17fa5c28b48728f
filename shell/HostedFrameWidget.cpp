#include "shell/HostedFrameWidget.h"

#include "platform/framework/Wnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTitleBar>

#include <algorithm>
#include <vector>

namespace {

// How much of a dragged window stays inside its parent, so it can always be taken back.
constexpr int kKeepVisible = 32;
constexpr int kMinimumWidth = 120;
// The length of a grip's end that resizes both ways.
constexpr int kCorner = 16;

constexpr Qt::WindowFlags kTitleBarFlags = Qt::Window | Qt::WindowTitleHint |
                                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                           Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
constexpr Qt::WindowFlags kPlainTitleBarFlags = Qt::Window | Qt::WindowTitleHint;

}  // namespace

class CHostedFrameWidget::TitleBar : public QWidget {
public:
    explicit TitleBar(CHostedFrameWidget* owner) : QWidget(owner), m_owner(owner) {
        SetNonClientWidget(this);
    }

    QStyleOptionTitleBar Option() const {
        QStyleOptionTitleBar opt;
        opt.initFrom(this);
        opt.rect = rect();
        opt.text = m_owner->windowTitle();
        opt.icon = m_owner->windowIcon();
        opt.titleBarFlags = m_owner->m_systemMenu ? kTitleBarFlags : kPlainTitleBarFlags;
        opt.titleBarState = static_cast<int>(m_owner->windowState());
        opt.subControls = QStyle::SC_All;
        opt.activeSubControls = m_pressed;
        if (m_owner->m_active) {
            opt.state |= QStyle::State_Active;
            // Styles read the active look from either place.
            opt.titleBarState |=
                static_cast<int>(Qt::WindowActive) | static_cast<int>(QStyle::State_Active);
            opt.palette.setCurrentColorGroup(QPalette::Active);
        } else {
            opt.state &= ~QStyle::State_Active;
            opt.palette.setCurrentColorGroup(QPalette::Inactive);
        }
        return opt;
    }

    QStyle::SubControl HitTest(const QPoint& pos) const {
        const QStyleOptionTitleBar opt = Option();
        return style()->hitTestComplexControl(QStyle::CC_TitleBar, &opt, pos, this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QStyleOptionTitleBar opt = Option();
        style()->drawComplexControl(QStyle::CC_TitleBar, &opt, &painter, this);
    }

    void mousePressEvent(QMouseEvent* e) override {
        e->accept();
        const UINT message = e->button() == Qt::LeftButton    ? WM_LBUTTONDOWN
                             : e->button() == Qt::RightButton ? WM_RBUTTONDOWN
                                                              : WM_MBUTTONDOWN;
        QPointer<TitleBar> self(this);
        if (!m_owner->ActivateFromPress(HTCAPTION, message) || !self ||
            e->button() != Qt::LeftButton)
            return;
        const QStyle::SubControl hit = HitTest(e->position().toPoint());
        if (IsButton(hit)) {
            m_pressed = hit;
            update();
        } else if (!m_owner->isMaximized()) {
            m_dragging = true;
            m_grabOffset = e->globalPosition().toPoint() - m_owner->pos();
        }
    }

    void mouseMoveEvent(QMouseEvent* e) override {
        e->accept();
        QWidget* parent = m_owner->parentWidget();
        if (!m_dragging || !parent)
            return;
        QPoint to = e->globalPosition().toPoint() - m_grabOffset;
        const int width = m_owner->width();
        to.setX(std::clamp(to.x(), kKeepVisible - width,
                           std::max(kKeepVisible - width, parent->width() - kKeepVisible)));
        to.setY(std::clamp(to.y(), 0, std::max(0, parent->height() - height() - kBorder)));
        m_owner->move(to);
    }

    void mouseReleaseEvent(QMouseEvent* e) override {
        e->accept();
        m_dragging = false;
        const QStyle::SubControl pressed = m_pressed;
        m_pressed = QStyle::SC_None;
        update();
        if (pressed == QStyle::SC_None || HitTest(e->position().toPoint()) != pressed)
            return;
        CWnd* frame = CWnd::FromWidgetPermanent(m_owner);
        if (!frame)
            return;
        switch (pressed) {
            case QStyle::SC_TitleBarCloseButton:
                frame->SendMessage(WM_CLOSE);
                break;
            case QStyle::SC_TitleBarMinButton:
                frame->ShowWindow(SW_MINIMIZE);
                break;
            case QStyle::SC_TitleBarMaxButton:
                frame->ShowWindow(SW_SHOWMAXIMIZED);
                break;
            case QStyle::SC_TitleBarNormalButton:
                frame->ShowWindow(SW_RESTORE);
                break;
            default:
                break;
        }
    }

    void mouseDoubleClickEvent(QMouseEvent* e) override {
        e->accept();
        CWnd* frame = CWnd::FromWidgetPermanent(m_owner);
        if (!frame || e->button() != Qt::LeftButton || IsButton(HitTest(e->position().toPoint())))
            return;
        frame->ShowWindow(m_owner->isMinimized() || m_owner->isMaximized() ? SW_RESTORE
                                                                           : SW_SHOWMAXIMIZED);
    }

private:
    static bool IsButton(QStyle::SubControl hit) {
        return hit == QStyle::SC_TitleBarCloseButton || hit == QStyle::SC_TitleBarMinButton ||
               hit == QStyle::SC_TitleBarMaxButton || hit == QStyle::SC_TitleBarNormalButton;
    }

    CHostedFrameWidget* m_owner;
    QStyle::SubControl m_pressed = QStyle::SC_None;
    bool m_dragging = false;
    QPoint m_grabOffset;
};

// One side of the sizing border; its ends also move the neighbouring side.
class CHostedFrameWidget::Grip : public QWidget {
public:
    Grip(CHostedFrameWidget* owner, Qt::Edge edge) : QWidget(owner), m_owner(owner), m_edge(edge) {
        SetNonClientWidget(this);
        setMouseTracking(true);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        e->accept();
        const UINT message = e->button() == Qt::LeftButton ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
        QPointer<Grip> self(this);
        if (!m_owner->ActivateFromPress(HTBORDER, message) || !self ||
            e->button() != Qt::LeftButton || m_owner->isMinimized() || m_owner->isMaximized())
            return;
        m_sizing = EdgesAt(e->position().toPoint());
        m_start = m_owner->geometry();
        m_grab = e->globalPosition().toPoint();
    }

    void mouseMoveEvent(QMouseEvent* e) override {
        e->accept();
        if (!m_sizing) {
            UpdateCursor(EdgesAt(e->position().toPoint()));
            return;
        }
        const QPoint delta = e->globalPosition().toPoint() - m_grab;
        const int minHeight = m_owner->GetTitleBarHeight() + 2 * kBorder;
        QRect r = m_start;
        if (m_sizing & Qt::LeftEdge)
            r.setLeft(std::min(m_start.left() + delta.x(), m_start.right() - kMinimumWidth + 1));
        if (m_sizing & Qt::RightEdge)
            r.setRight(std::max(m_start.right() + delta.x(), m_start.left() + kMinimumWidth - 1));
        if (m_sizing & Qt::TopEdge)
            r.setTop(std::min(m_start.top() + delta.y(), m_start.bottom() - minHeight + 1));
        if (m_sizing & Qt::BottomEdge)
            r.setBottom(std::max(m_start.bottom() + delta.y(), m_start.top() + minHeight - 1));
        m_owner->setGeometry(r);
    }

    void mouseReleaseEvent(QMouseEvent* e) override {
        e->accept();
        m_sizing = {};
    }

private:
    Qt::Edges EdgesAt(const QPoint& pos) const {
        Qt::Edges edges = m_edge;
        const bool horizontal = m_edge == Qt::TopEdge || m_edge == Qt::BottomEdge;
        const int along = horizontal ? pos.x() : pos.y();
        const int length = horizontal ? width() : height();
        if (along < kCorner)
            edges |= horizontal ? Qt::LeftEdge : Qt::TopEdge;
        else if (along >= length - kCorner)
            edges |= horizontal ? Qt::RightEdge : Qt::BottomEdge;
        return edges;
    }

    void UpdateCursor(Qt::Edges edges) {
        const bool left = edges & Qt::LeftEdge;
        const bool right = edges & Qt::RightEdge;
        const bool top = edges & Qt::TopEdge;
        const bool bottom = edges & Qt::BottomEdge;
        if ((left && top) || (right && bottom))
            setCursor(Qt::SizeFDiagCursor);
        else if ((right && top) || (left && bottom))
            setCursor(Qt::SizeBDiagCursor);
        else if (left || right)
            setCursor(Qt::SizeHorCursor);
        else
            setCursor(Qt::SizeVerCursor);
    }

    CHostedFrameWidget* m_owner;
    Qt::Edge m_edge;
    Qt::Edges m_sizing;
    QRect m_start;
    QPoint m_grab;
};

CHostedFrameWidget::CHostedFrameWidget(QWidget* parent) : QMainWindow(parent) {
    m_titleBar = new TitleBar(this);
    const Qt::Edge edges[4] = {Qt::TopEdge, Qt::LeftEdge, Qt::RightEdge, Qt::BottomEdge};
    for (int i = 0; i < 4; ++i)
        m_grips[i] = new Grip(this, edges[i]);
    UpdateDecorations();
    WatchParent();
}

QWidget* CHostedFrameWidget::GetTitleBar() const {
    return m_titleBar;
}

QRect CHostedFrameWidget::GetButtonRect(QStyle::SubControl button) const {
    const QStyleOptionTitleBar opt = m_titleBar->Option();
    const QRect r = style()->subControlRect(QStyle::CC_TitleBar, &opt, button, m_titleBar);
    return r.isValid() ? r : QRect();
}

int CHostedFrameWidget::GetTitleBarHeight() const {
    const QStyleOptionTitleBar opt = m_titleBar->Option();
    return style()->pixelMetric(QStyle::PM_TitleBarHeight, &opt, m_titleBar);
}

void CHostedFrameWidget::SetCaptionActive(bool active) {
    if (m_active == active)
        return;
    m_active = active;
    m_titleBar->update();
}

void CHostedFrameWidget::SetSystemMenu(bool shown) {
    if (m_systemMenu == shown)
        return;
    m_systemMenu = shown;
    m_titleBar->update();
}

bool CHostedFrameWidget::ActivateFromPress(UINT hitTest, UINT buttonMessage) {
    CWnd* frame = CWnd::FromWidgetPermanent(this);
    if (!frame)
        return true;
    const HWND handle = frame->GetSafeHwnd();
    CWnd* top = frame->GetTopLevelParent();
    const LRESULT answer = frame->SendMessage(
        WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top ? top->GetSafeHwnd() : nullptr),
        MAKELPARAM(hitTest, buttonMessage));
    if (!IsWindow(handle))
        return false;
    if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) {
        raise();
        frame->SendMessage(WM_CHILDACTIVATE);
        if (!IsWindow(handle))
            return false;
    }
    return answer != MA_ACTIVATEANDEAT && answer != MA_NOACTIVATEANDEAT;
}

void CHostedFrameWidget::UpdateDecorations() {
    const bool hosted = !isWindow();
    const int title = hosted ? GetTitleBarHeight() : 0;
    const int border = hosted ? kBorder : 0;
    setContentsMargins(border, border + title, border, border);
    m_titleBar->setVisible(hosted);
    for (Grip* grip : m_grips)
        grip->setVisible(hosted);
    // A child window has no menu bar; the frame's menu shows only while it is a window.
    if (QWidget* menu = menuWidget())
        menu->setVisible(!hosted);
    if (!hosted)
        return;
    const int w = width();
    const int h = height();
    m_titleBar->setGeometry(kBorder, kBorder, std::max(0, w - 2 * kBorder), title);
    m_grips[0]->setGeometry(0, 0, w, kBorder);
    m_grips[1]->setGeometry(0, 0, kBorder, h);
    m_grips[2]->setGeometry(w - kBorder, 0, kBorder, h);
    m_grips[3]->setGeometry(0, h - kBorder, w, kBorder);
    m_titleBar->raise();
    for (Grip* grip : m_grips)
        grip->raise();
}

QRect CHostedFrameWidget::MinimizedGeometry() const {
    QWidget* parent = parentWidget();
    const int height = GetTitleBarHeight() + 2 * kBorder;
    const int bottom = parent ? parent->height() - height : 0;
    // The first slot along the bottom that no other minimised sibling takes.
    std::vector<int> taken;
    if (parent) {
        for (QObject* o : parent->children()) {
            auto* sibling = dynamic_cast<CHostedFrameWidget*>(o);
            if (sibling && sibling != this && sibling->isMinimized() && !sibling->isHidden())
                taken.push_back(sibling->x() / kMinimizedWidth);
        }
    }
    int slot = 0;
    while (std::find(taken.begin(), taken.end(), slot) != taken.end())
        ++slot;
    return QRect(slot * kMinimizedWidth, std::max(0, bottom), kMinimizedWidth, height);
}

void CHostedFrameWidget::PlaceForState(Qt::WindowStates oldState) {
    QWidget* parent = parentWidget();
    if (isMinimized())
        SetGeometryKeepingState(MinimizedGeometry());
    else if (isMaximized() && parent)
        SetGeometryKeepingState(parent->rect());
    else if ((oldState & (Qt::WindowMinimized | Qt::WindowMaximized)) && m_normalGeometry.isValid())
        setGeometry(m_normalGeometry);
}

void CHostedFrameWidget::SetGeometryKeepingState(const QRect& rect) {
    // Qt takes any change of geometry as the end of a maximised state; this one is not.
    const Qt::WindowStates state = windowState();
    m_placing = true;
    setGeometry(rect);
    if (windowState() != state)
        setWindowState(state);
    m_placing = false;
}

void CHostedFrameWidget::WatchParent() {
    if (m_watchedParent)
        m_watchedParent->removeEventFilter(this);
    m_watchedParent = isWindow() ? nullptr : parentWidget();
    if (m_watchedParent)
        m_watchedParent->installEventFilter(this);
}

bool CHostedFrameWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_watchedParent && event->type() == QEvent::Resize) {
        // A maximised window keeps filling its parent; a minimised one stays at the bottom.
        if (isMaximized())
            SetGeometryKeepingState(m_watchedParent->rect());
        else if (isMinimized())
            move(x(), std::max(0, m_watchedParent->height() - height()));
    }
    return QMainWindow::eventFilter(watched, event);
}

bool CHostedFrameWidget::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::ParentChange:
            UpdateDecorations();
            WatchParent();
            break;
        case QEvent::WindowTitleChange:
            m_titleBar->update();
            break;
        default:
            break;
    }
    return QMainWindow::event(event);
}

void CHostedFrameWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && !isWindow() && !m_placing) {
        const Qt::WindowStates oldState = static_cast<QWindowStateChangeEvent*>(event)->oldState();
        if (!(oldState & (Qt::WindowMinimized | Qt::WindowMaximized)))
            m_normalGeometry = geometry();
        PlaceForState(oldState);
        m_titleBar->update();
    }
    QMainWindow::changeEvent(event);
}

void CHostedFrameWidget::resizeEvent(QResizeEvent* event) {
    UpdateDecorations();
    QMainWindow::resizeEvent(event);
}
