#pragma once

// CSlideWidget: the window of a slide control: a horizontal track with the control's pointers,
// dragged with the left mouse button. The stretch between pointers 2 and 3 (the in and out
// points of a play control) is filled in the highlight colour, so the marked range shows. It holds
// no values of its own; it shows its control's and reports the user's actions to it as events. A
// widget whose control is gone shows an empty track and ignores input.

#include <QWidget>

class CSlideControl;

class CSlideWidget : public QWidget {
public:
    // Pixels between each end of the track and the widget's edge.
    static constexpr int kTrackMargin = 6;

    CSlideWidget(CSlideControl* control, QWidget* parent);

    // The control is going: the widget stops using it.
    void DetachControl() { m_control = nullptr; }
    // The x position of a value on the track (the range ends map to the track ends).
    int PositionOf(double value) const;
    // The track's marked stretch between pointers 2 and 3 (either order); empty without a
    // control.
    QRect MarkedSpan() const;
    // The pointer being dragged (1-based), 0 when none.
    int DraggedPointer() const { return m_dragged; }

    QSize sizeHint() const override { return {200, 32}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The value under x, before the control applies step and range.
    double ValueAt(int x) const;
    // The pointer nearest to x (the lowest index among equals).
    int NearestPointer(int x) const;
    // Moves the dragged pointer under x; fires the changing event when its value changed.
    void DragTo(int x);
    void FireMouse(int event, const QMouseEvent* mouse);

    CSlideControl* m_control;
    int m_dragged = 0;
    bool m_pressed = false;
};
