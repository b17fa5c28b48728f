#include "platform/framework/Cursor.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace {

QPointer<QWidget> s_target;
HCURSOR s_current = nullptr;

}  // namespace

HCURSOR AfxLoadStandardCursor(int id) {
    static const QCursor arrow(Qt::ArrowCursor);
    static const QCursor wait(Qt::WaitCursor);
    static const QCursor hand(Qt::PointingHandCursor);
    switch (id) {
        case IDC_WAIT:
            return &wait;
        case IDC_HAND:
            return &hand;
        default:
            return &arrow;
    }
}

HCURSOR SetCursor(HCURSOR cursor) {
    const HCURSOR previous = s_current;
    s_current = cursor;
    QWidget* widget = s_target ? s_target.data() : QApplication::widgetAt(QCursor::pos());
    if (widget && cursor)
        widget->setCursor(*cursor);
    return previous;
}

void SetCursorTarget(QWidget* widget) {
    s_target = widget;
}

CWaitCursor::CWaitCursor() {
    QApplication::setOverrideCursor(*AfxLoadStandardCursor(IDC_WAIT));
}

CWaitCursor::~CWaitCursor() {
    QApplication::restoreOverrideCursor();
}
