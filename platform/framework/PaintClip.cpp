#include "platform/framework/PaintClip.h"

#include <QPaintEngine>
#include <QPainter>
#include <QRegion>

bool PaintsNothingOf(const QPainter& painter, const QRectF& rect) {
    const QPaintEngine* engine = painter.paintEngine();
    const QTransform& device = painter.deviceTransform();
    if (!engine || device.type() > QTransform::TxTranslate)
        return false;
    // A widget's paint touches only the area its paint event names (the engine's clip, in the
    // window's pixels); an empty clip leaves all of it open.
    const QRegion& system = engine->systemClip();
    if (!system.isEmpty() &&
        !system.intersects(rect.translated(device.dx(), device.dy()).toAlignedRect()))
        return true;
    return painter.hasClipping() && !painter.clipBoundingRect().intersects(rect);
}
