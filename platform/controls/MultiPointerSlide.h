#pragma once

// CMultiPointerSlide: a horizontal slide with several pointers on one integer range, each
// shown or hidden on its own, drawn in a colour the owner chooses. The user drags the nearest
// visible pointer; the owner hears the mouse and the new values through callbacks. Values the
// owner sets never call back.

#include "platform/wintypes/ColorRef.h"

#include <QWidget>

#include <functional>
#include <vector>

class CMultiPointerSlide : public QWidget {
public:
    // Pixels between each end of the track and the widget's edge.
    static constexpr int kTrackMargin = 6;

    // (x in widget pixels) for mouse-down, mouse-move with the button held and double-click.
    using MouseCallback = std::function<void(int x)>;
    // (1-based pointer, new value) while a pointer is dragged.
    using ValueCallback = std::function<void(int pointer, int value)>;

    CMultiPointerSlide(int pointerCount, QWidget* parent);

    void SetRange(int minimum, int maximum);
    int Minimum() const { return m_minimum; }
    int Maximum() const { return m_maximum; }
    int PointerCount() const { return static_cast<int>(m_pointers.size()); }
    // pointer is 1-based; out-of-range pointers are ignored (value 0, hidden).
    void SetPointerValue(int pointer, int value);
    int PointerValue(int pointer) const;
    void SetPointerVisible(int pointer, bool visible);
    bool PointerVisible(int pointer) const;
    void SetColor(COLORREF color);
    COLORREF Color() const { return m_color; }

    void SetMouseDownCallback(MouseCallback callback) { m_onMouseDown = std::move(callback); }
    void SetMouseMoveCallback(MouseCallback callback) { m_onMouseMove = std::move(callback); }
    void SetDoubleClickCallback(MouseCallback callback) { m_onDoubleClick = std::move(callback); }
    void SetValueCallback(ValueCallback callback) { m_onValue = std::move(callback); }

    // The x position of a value on the track, and the value nearest to x.
    int PositionOf(int value) const;
    int ValueAt(int x) const;

    QSize sizeHint() const override { return {200, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Pointer {
        int value = 0;
        bool visible = true;
    };
    bool Valid(int pointer) const { return pointer >= 1 && pointer <= PointerCount(); }
    // The visible pointer nearest to x (lowest number among equals), 0 when none is visible.
    int NearestPointer(int x) const;
    void DragTo(int x);

    int m_minimum = 0;
    int m_maximum = 100;
    std::vector<Pointer> m_pointers;
    COLORREF m_color = 0xC0C0C0;
    int m_dragged = 0;
    MouseCallback m_onMouseDown;
    MouseCallback m_onMouseMove;
    MouseCallback m_onDoubleClick;
    ValueCallback m_onValue;
};
