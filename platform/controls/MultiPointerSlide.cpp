#include "platform/controls/MultiPointerSlide.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

CMultiPointerSlide::CMultiPointerSlide(int pointerCount, QWidget* parent)
    : QWidget(parent), m_pointers(static_cast<size_t>(std::max(pointerCount, 1))) {
    setMinimumHeight(16);
}

void CMultiPointerSlide::SetRange(int minimum, int maximum) {
    m_minimum = std::min(minimum, maximum);
    m_maximum = std::max(minimum, maximum);
    for (Pointer& pointer : m_pointers)
        pointer.value = std::clamp(pointer.value, m_minimum, m_maximum);
    update();
}

void CMultiPointerSlide::SetPointerValue(int pointer, int value) {
    if (!Valid(pointer))
        return;
    m_pointers[pointer - 1].value = std::clamp(value, m_minimum, m_maximum);
    update();
}

int CMultiPointerSlide::PointerValue(int pointer) const {
    return Valid(pointer) ? m_pointers[pointer - 1].value : 0;
}

void CMultiPointerSlide::SetPointerVisible(int pointer, bool visible) {
    if (!Valid(pointer))
        return;
    m_pointers[pointer - 1].visible = visible;
    update();
}

bool CMultiPointerSlide::PointerVisible(int pointer) const {
    return Valid(pointer) && m_pointers[pointer - 1].visible;
}

void CMultiPointerSlide::SetColor(COLORREF color) {
    m_color = color;
    update();
}

int CMultiPointerSlide::PositionOf(int value) const {
    const int span = std::max(width() - 2 * kTrackMargin - 1, 1);
    const int range = std::max(m_maximum - m_minimum, 1);
    return kTrackMargin +
           static_cast<int>(std::lround(static_cast<double>(value - m_minimum) * span / range));
}

int CMultiPointerSlide::ValueAt(int x) const {
    const int span = std::max(width() - 2 * kTrackMargin - 1, 1);
    const double value =
        m_minimum + static_cast<double>(x - kTrackMargin) * (m_maximum - m_minimum) / span;
    return std::clamp(static_cast<int>(std::lround(value)), m_minimum, m_maximum);
}

int CMultiPointerSlide::NearestPointer(int x) const {
    int nearest = 0;
    int best = 0;
    for (int i = 1; i <= PointerCount(); ++i) {
        if (!m_pointers[i - 1].visible)
            continue;
        const int distance = std::abs(PositionOf(m_pointers[i - 1].value) - x);
        if (nearest == 0 || distance < best) {
            nearest = i;
            best = distance;
        }
    }
    return nearest;
}

void CMultiPointerSlide::DragTo(int x) {
    if (!m_dragged)
        return;
    const int value = ValueAt(x);
    m_pointers[m_dragged - 1].value = value;
    update();
    if (m_onValue)
        m_onValue(m_dragged, value);
}

void CMultiPointerSlide::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor fill(GetRValue(m_color), GetGValue(m_color), GetBValue(m_color));
    const int mid = height() / 2;
    painter.fillRect(QRect(kTrackMargin, mid - 2, width() - 2 * kTrackMargin, 4), fill);
    painter.setPen(isEnabled() ? Qt::black : Qt::gray);
    painter.drawRect(QRect(kTrackMargin, mid - 2, width() - 2 * kTrackMargin - 1, 3));
    for (int i = 1; i <= PointerCount(); ++i) {
        if (!m_pointers[i - 1].visible)
            continue;
        const int px = PositionOf(m_pointers[i - 1].value);
        const QPoint tip[3] = {{px, mid}, {px - 5, height() - 1}, {px + 5, height() - 1}};
        painter.setBrush(isEnabled() ? fill.darker(150) : QColor(Qt::gray));
        painter.drawPolygon(tip, 3);
    }
}

void CMultiPointerSlide::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int x = static_cast<int>(event->position().x());
    if (m_onMouseDown)
        m_onMouseDown(x);
    m_dragged = NearestPointer(x);
    DragTo(x);
}

void CMultiPointerSlide::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !m_dragged)
        return;
    const int x = static_cast<int>(event->position().x());
    if (m_onMouseMove)
        m_onMouseMove(x);
    DragTo(x);
}

void CMultiPointerSlide::mouseReleaseEvent(QMouseEvent*) {
    m_dragged = 0;
}

void CMultiPointerSlide::mouseDoubleClickEvent(QMouseEvent* event) {
    m_dragged = 0;
    if (event->button() == Qt::LeftButton && m_onDoubleClick)
        m_onDoubleClick(static_cast<int>(event->position().x()));
}
