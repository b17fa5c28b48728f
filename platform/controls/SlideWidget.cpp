#include "platform/controls/SlideWidget.h"

#include "platform/com/ComPtr.h"
#include "platform/controls/SlideControl.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <cstdlib>

namespace {

const QColor kPointerColors[CSlideControl::kPointerCount] = {Qt::darkBlue, Qt::darkGreen,
                                                             Qt::darkRed};

int16_t StockButton(Qt::MouseButtons buttons) {
    int16_t code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

int16_t StockShift(Qt::KeyboardModifiers modifiers) {
    int16_t code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

}  // namespace

CSlideWidget::CSlideWidget(CSlideControl* control, QWidget* parent)
    : QWidget(parent), m_control(control) {
    setMouseTracking(false);
}

int CSlideWidget::PositionOf(double value) const {
    const int span = std::max(0, width() - 1 - 2 * kTrackMargin);
    if (!m_control || m_control->Maximum() == m_control->Minimum())
        return kTrackMargin;
    const double share =
        (value - m_control->Minimum()) / (m_control->Maximum() - m_control->Minimum());
    return kTrackMargin + static_cast<int>(std::lround(share * span));
}

double CSlideWidget::ValueAt(int x) const {
    const int span = std::max(1, width() - 1 - 2 * kTrackMargin);
    const double share = static_cast<double>(x - kTrackMargin) / span;
    return m_control->Minimum() + share * (m_control->Maximum() - m_control->Minimum());
}

int CSlideWidget::NearestPointer(int x) const {
    int best = 1;
    int bestDistance = std::abs(x - PositionOf(m_control->PointerValue(1)));
    for (int index = 2; index <= CSlideControl::kPointerCount; ++index) {
        const int distance = std::abs(x - PositionOf(m_control->PointerValue(index)));
        if (distance < bestDistance) {
            best = index;
            bestDistance = distance;
        }
    }
    return best;
}

void CSlideWidget::DragTo(int x) {
    const double before = m_control->PointerValue(m_dragged);
    m_control->SetPointerValue(m_dragged, ValueAt(x));
    const double after = m_control->PointerValue(m_dragged);
    if (after != before) {
        m_control->FireEvent(CSlideControl::kEventValueChanging,
                             {CComVariant(static_cast<LONG>(m_dragged)), CComVariant(after)});
    }
}

void CSlideWidget::FireMouse(int event, const QMouseEvent* mouse) {
    const QPoint p = mouse->position().toPoint();
    const Qt::MouseButtons button =
        mouse->type() == QEvent::MouseMove ? mouse->buttons() : Qt::MouseButtons(mouse->button());
    m_control->FireEvent(
        static_cast<DISPID>(event),
        {CComVariant(StockButton(button)), CComVariant(StockShift(mouse->modifiers())),
         CComVariant(static_cast<LONG>(p.x())), CComVariant(static_cast<LONG>(p.y()))});
}

QRect CSlideWidget::MarkedSpan() const {
    if (!m_control)
        return {};
    const int in = PositionOf(m_control->PointerValue(2));
    const int out = PositionOf(m_control->PointerValue(3));
    const int y = height() / 2;
    return QRect(QPoint(std::min(in, out), y - 1), QPoint(std::max(in, out), y + 1));
}

void CSlideWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int y = height() / 2;
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRect(kTrackMargin, y - 2, std::max(0, width() - 1 - 2 * kTrackMargin), 4);
    if (!m_control)
        return;
    painter.fillRect(MarkedSpan(), isEnabled()
                                       ? palette().color(QPalette::Highlight)
                                       : palette().color(QPalette::Disabled, QPalette::Mid));
    painter.setPen(Qt::NoPen);
    // The play position last, so that it stays visible over the in and out points.
    for (int index = CSlideControl::kPointerCount; index >= 1; --index) {
        const int x = PositionOf(m_control->PointerValue(index));
        const QPoint triangle[3] = {{x, y + 3}, {x - 5, y + 11}, {x + 5, y + 11}};
        painter.setBrush(isEnabled() ? kPointerColors[index - 1]
                                     : palette().color(QPalette::Disabled, QPalette::Text));
        painter.drawPolygon(triangle, 3);
    }
}

void CSlideWidget::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (!m_control)
        return;
    // A sink may let the control go while an event is delivered.
    const CComPtr<CSlideControl> keep(m_control);
    m_pressed = true;
    FireMouse(CSlideControl::kEventMouseDown, event);
    if (event->button() == Qt::LeftButton && m_control) {
        m_dragged = NearestPointer(event->position().toPoint().x());
        DragTo(event->position().toPoint().x());
    }
}

void CSlideWidget::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!m_control || !m_dragged)
        return;
    const CComPtr<CSlideControl> keep(m_control);
    DragTo(event->position().toPoint().x());
}

void CSlideWidget::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!m_control)
        return;
    const CComPtr<CSlideControl> keep(m_control);
    const int dragged = event->button() == Qt::LeftButton ? m_dragged : 0;
    const bool clicked = m_pressed && dragged != 0;
    if (dragged) {
        m_dragged = 0;
        m_control->FireEvent(CSlideControl::kEventValueChanged,
                             {CComVariant(static_cast<LONG>(dragged)),
                              CComVariant(m_control->PointerValue(dragged))});
    }
    m_pressed = false;
    if (m_control)
        FireMouse(CSlideControl::kEventMouseUp, event);
    if (clicked && m_control)
        m_control->FireEvent(CSlideControl::kEventClick, {});
}

void CSlideWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (!m_control || event->button() != Qt::LeftButton)
        return;
    const CComPtr<CSlideControl> keep(m_control);
    m_control->FireEvent(CSlideControl::kEventDblClick, {});
}
