#pragma once

// What a painter's current paint may touch.

class QPainter;
class QRectF;

// Whether painter, as it stands, paints nothing of rect (in its own coordinates): rect lies
// wholly outside the area the paint event opened, or outside the painter's clip. False where
// that cannot be told (no engine, a transform beyond a shift).
bool PaintsNothingOf(const QPainter& painter, const QRectF& rect);
