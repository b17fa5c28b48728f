#include "platform/controls/GraphWidget.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QColor ToColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A step of 1, 2 or 5 times a power of ten that cuts the span into at most maxTicks parts.
double NiceStep(double span, int maxTicks) {
    const double raw = span / std::max(maxTicks, 1);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * magnitude >= raw)
            return m * magnitude;
    }
    return 10.0 * magnitude;
}

// The tick values of a span at that step, lowest first.
std::vector<double> Ticks(double low, double high, double step) {
    std::vector<double> ticks;
    if (!(step > 0.0) || !std::isfinite(low) || !std::isfinite(high))
        return ticks;
    const double first = std::ceil(low / step - 1e-9) * step;
    for (int i = 0; i < 1000; ++i) {
        const double t = first + i * step;
        if (t > high + step * 1e-9)
            break;
        ticks.push_back(std::abs(t) < step * 1e-9 ? 0.0 : t);
    }
    return ticks;
}

constexpr int kPixelsPerMajorTick = 80;
constexpr int kMinorPerMajor = 5;
constexpr int kMinBand = 3;

}  // namespace

CGraphWidget::CGraphWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGraphWidget::RemoveAllPlots() {
    m_plots.clear();
    m_lastX.clear();
    ContentChanged();
}

void CGraphWidget::RemoveAllCursors() {
    m_cursors.clear();
    m_draggedCursor = 0;
    update();
}

int CGraphWidget::AddPlot() {
    m_plots.emplace_back();
    ContentChanged();
    return PlotCount();
}

CGraphWidget::Plot* CGraphWidget::PlotAt(int plot) {
    return plot >= 1 && plot <= PlotCount() ? &m_plots[plot - 1] : nullptr;
}

CGraphWidget::Cursor* CGraphWidget::CursorAt(int cursor) {
    return cursor >= 1 && cursor <= CursorCount() ? &m_cursors[cursor - 1] : nullptr;
}

const CGraphWidget::Cursor* CGraphWidget::CursorAt(int cursor) const {
    return cursor >= 1 && cursor <= CursorCount() ? &m_cursors[cursor - 1] : nullptr;
}

void CGraphWidget::SetPlotColor(int plot, COLORREF color) {
    if (Plot* p = PlotAt(plot)) {
        p->color = color & 0xFFFFFF;
        ContentChanged();
    }
}

void CGraphWidget::SetPlotFlag(int plot, bool on) {
    if (Plot* p = PlotAt(plot))
        p->flag = on;
}

bool CGraphWidget::PlotXY(int plot, const float* x, int xCount, const float* y, int yCount) {
    Plot* p = PlotAt(plot);
    if (!p || xCount != yCount || xCount < 0 || (xCount > 0 && (!x || !y)))
        return false;
    p->x.assign(x, x + xCount);
    p->y.assign(y, y + yCount);
    p->ascending = std::is_sorted(p->x.begin(), p->x.end());
    p->yLow = std::numeric_limits<float>::max();
    p->yHigh = std::numeric_limits<float>::lowest();
    for (float v : p->y) {
        if (std::isfinite(v)) {
            p->yLow = std::min(p->yLow, v);
            p->yHigh = std::max(p->yHigh, v);
        }
    }
    m_lastX = p->x;
    for (Cursor& c : m_cursors)
        c.index = std::clamp(c.index, 0, std::max(0, static_cast<int>(m_lastX.size()) - 1));
    ContentChanged();
    return true;
}

void CGraphWidget::SetAxisCaption(GraphAxis axis, const QString& caption) {
    AxisOf(axis).caption = caption;
    update();
}

void CGraphWidget::SetAxisRange(GraphAxis axis, float first, float last) {
    Axis& a = AxisOf(axis);
    a.rangeSet = true;
    a.first = first;
    a.last = last;
    a.zoomed = false;
    ContentChanged();
}

void CGraphWidget::SetGridLines(GraphAxis axis, bool major, bool minor) {
    Axis& a = AxisOf(axis);
    a.major = major;
    a.minor = minor;
    ContentChanged();
}

void CGraphWidget::SetGridColors(GraphAxis axis, COLORREF major, COLORREF minor) {
    Axis& a = AxisOf(axis);
    a.majorColor = major & 0xFFFFFF;
    a.minorColor = minor & 0xFFFFFF;
    ContentChanged();
}

void CGraphWidget::SetPlotAreaColor(COLORREF color) {
    m_plotAreaColor = color & 0xFFFFFF;
    ContentChanged();
}

void CGraphWidget::SetMouseMode(GraphMouseMode mode) {
    m_mouseMode = mode;
    m_pressed = false;
    m_draggedCursor = 0;
    update();
}

int CGraphWidget::AddCursor() {
    m_cursors.emplace_back();
    update();
    return CursorCount();
}

void CGraphWidget::SetCursorStyle(int cursor, int crosshair, int point, int snap) {
    if (Cursor* c = CursorAt(cursor))
        c->style = {crosshair, point, snap};
}

void CGraphWidget::SetCursorEnabled(int cursor, bool enabled) {
    if (Cursor* c = CursorAt(cursor)) {
        c->enabled = enabled;
        update();
    }
}

int CGraphWidget::NearestIndex(double x) const {
    const int n = static_cast<int>(m_lastX.size());
    if (n == 0)
        return 0;
    if (std::is_sorted(m_lastX.begin(), m_lastX.end())) {
        const auto it = std::lower_bound(m_lastX.begin(), m_lastX.end(), x);
        const int i = static_cast<int>(it - m_lastX.begin());
        if (i == 0)
            return 0;
        if (i == n)
            return n - 1;
        return x - m_lastX[i - 1] <= m_lastX[i] - x ? i - 1 : i;
    }
    int best = 0;
    for (int i = 1; i < n; ++i) {
        if (std::abs(m_lastX[i] - x) < std::abs(m_lastX[best] - x))
            best = i;
    }
    return best;
}

void CGraphWidget::SetCursorPosition(int cursor, double x) {
    if (Cursor* c = CursorAt(cursor))
        MoveCursor(*c, NearestIndex(x));
}

int CGraphWidget::GetCursorIndex(int cursor) const {
    const Cursor* c = CursorAt(cursor);
    return c ? c->index : 0;
}

void CGraphWidget::SetCursorIndex(int cursor, int index) {
    if (Cursor* c = CursorAt(cursor))
        MoveCursor(*c, std::clamp(index, 0, std::max(0, static_cast<int>(m_lastX.size()) - 1)));
}

QRect CGraphWidget::CursorStrip(const Cursor& cursor) const {
    double x = 0.0;
    if (!cursor.enabled || !CursorX(cursor, &x))
        return {};
    const QRect area = PlotArea(size());
    const int px = static_cast<int>(std::lround(ToPixel(x, 0.0, size()).x()));
    return QRect(px - 1, area.top(), 3, area.height()).intersected(area);
}

void CGraphWidget::MoveCursor(Cursor& cursor, int index) {
    // Only the strips where the cursor was and is are painted again.
    const QRect before = CursorStrip(cursor);
    cursor.index = index;
    update(before);
    update(CursorStrip(cursor));
}

void CGraphWidget::SetCursorMovedHandler(CursorMovedHandler handler) {
    m_cursorMoved = std::move(handler);
}

CGraphWidget::Span CGraphWidget::FullSpan(GraphAxis axis) const {
    const Axis& a = AxisOf(axis);
    Span s;
    bool known = false;
    if (a.rangeSet) {
        s = {std::min<double>(a.first, a.last), std::max<double>(a.first, a.last)};
        known = true;
    } else {
        double low = std::numeric_limits<double>::max();
        double high = std::numeric_limits<double>::lowest();
        for (const Plot& p : m_plots) {
            if (p.x.empty())
                continue;
            if (axis == GraphAxis::Y) {
                if (p.yLow > p.yHigh)
                    continue;
                low = std::min<double>(low, p.yLow);
                high = std::max<double>(high, p.yHigh);
            } else {
                const auto [mn, mx] = std::minmax_element(p.x.begin(), p.x.end());
                low = std::min<double>(low, *mn);
                high = std::max<double>(high, *mx);
            }
            known = true;
        }
        if (known)
            s = {low, high};
    }
    if (!known || !std::isfinite(s.low) || !std::isfinite(s.high))
        return Span{};
    // A single value (one scan, a flat line) still needs a span to divide by.
    if (s.high - s.low <= std::abs(s.low) * 1e-6) {
        const double half = s.low != 0.0 ? std::abs(s.low) * 0.5 : 0.5;
        s = {s.low - half, s.high + half};
    }
    return s;
}

CGraphWidget::Span CGraphWidget::VisibleSpan(GraphAxis axis) const {
    const Axis& a = AxisOf(axis);
    return a.zoomed ? a.view : FullSpan(axis);
}

QRect CGraphWidget::PlotArea(QSize size) {
    return QRect(kLeftMargin, kTopMargin, std::max(1, size.width() - kLeftMargin - kRightMargin),
                 std::max(1, size.height() - kTopMargin - kBottomMargin));
}

QPointF CGraphWidget::ToPixel(double x, double y, QSize size) const {
    const QRect area = PlotArea(size);
    const Span xs = VisibleSpan(GraphAxis::X);
    const Span ys = VisibleSpan(GraphAxis::Y);
    return {area.left() + (x - xs.low) / (xs.high - xs.low) * (area.width() - 1),
            area.bottom() - (y - ys.low) / (ys.high - ys.low) * (area.height() - 1)};
}

double CGraphWidget::ValueAt(GraphAxis axis, double pixel) const {
    const QRect area = PlotArea(size());
    const Span s = VisibleSpan(axis);
    if (axis == GraphAxis::X)
        return s.low + (pixel - area.left()) / std::max(1, area.width() - 1) * (s.high - s.low);
    return s.low + (area.bottom() - pixel) / std::max(1, area.height() - 1) * (s.high - s.low);
}

bool CGraphWidget::CursorX(const Cursor& cursor, double* x) const {
    if (m_lastX.empty())
        return false;
    *x = m_lastX[std::clamp(cursor.index, 0, static_cast<int>(m_lastX.size()) - 1)];
    return true;
}

void CGraphWidget::DrawGrid(QPainter& painter, QSize size) const {
    const QRect area = PlotArea(size);
    for (GraphAxis axisId : {GraphAxis::X, GraphAxis::Y}) {
        const Axis& axis = AxisOf(axisId);
        if (!axis.major && !axis.minor)
            continue;
        const Span s = VisibleSpan(axisId);
        const int pixels = axisId == GraphAxis::X ? area.width() : area.height();
        const double step = NiceStep(s.high - s.low, std::max(1, pixels / kPixelsPerMajorTick));
        const auto line = [&](double v) {
            if (axisId == GraphAxis::X) {
                const int px = static_cast<int>(std::lround(ToPixel(v, s.low, size).x()));
                painter.drawLine(px, area.top(), px, area.bottom());
            } else {
                const int py = static_cast<int>(std::lround(ToPixel(s.low, v, size).y()));
                painter.drawLine(area.left(), py, area.right(), py);
            }
        };
        if (axis.minor) {
            painter.setPen(QPen(ToColor(axis.minorColor), 0));
            for (double v : Ticks(s.low, s.high, step / kMinorPerMajor))
                line(v);
        }
        if (axis.major) {
            painter.setPen(QPen(ToColor(axis.majorColor), 0));
            for (double v : Ticks(s.low, s.high, step))
                line(v);
        }
    }
}

void CGraphWidget::DrawPlot(QPainter& painter, const Plot& plot, QSize size) const {
    const int n = static_cast<int>(plot.x.size());
    if (n == 0)
        return;
    const QRect area = PlotArea(size);
    const Span xs = VisibleSpan(GraphAxis::X);
    const Span ys = VisibleSpan(GraphAxis::Y);
    const double sx = (area.width() - 1) / (xs.high - xs.low);
    const double sy = (area.height() - 1) / (ys.high - ys.low);
    // Far-off points are pulled in just past the area so that the clip cuts their lines.
    const double xLimit = area.width() * 4.0;
    const double yLimit = area.height() * 4.0;
    const auto px = [&](float x) {
        return area.left() + std::clamp((x - xs.low) * sx, -xLimit, xLimit);
    };
    const auto py = [&](float y) {
        return area.bottom() - std::clamp((y - ys.low) * sy, -yLimit, yLimit);
    };
    painter.setPen(QPen(ToColor(plot.color), 0));

    int first = 0;
    int last = n - 1;
    if (plot.ascending) {
        first = static_cast<int>(std::lower_bound(plot.x.begin(), plot.x.end(), xs.low) -
                                 plot.x.begin());
        last = static_cast<int>(std::upper_bound(plot.x.begin(), plot.x.end(), xs.high) -
                                plot.x.begin());
        first = std::max(0, first - 1);
        last = std::min(n - 1, last);
    }
    const int count = last - first + 1;
    if (!plot.ascending || count <= 2 * area.width()) {
        // Whole pixels, as the column strokes use, so that both ways light the same rows.
        std::vector<QPoint> points;
        points.reserve(count);
        for (int i = first; i <= last; ++i) {
            if (std::isfinite(plot.y[i]) && std::isfinite(plot.x[i]))
                points.emplace_back(static_cast<int>(std::lround(px(plot.x[i]))),
                                    static_cast<int>(std::lround(py(plot.y[i]))));
        }
        if (points.size() == 1)
            painter.drawPoint(points.front());
        else
            painter.drawPolyline(points.data(), static_cast<int>(points.size()));
        return;
    }
    // One vertical stroke per pixel column from the lowest to the highest point in it; each
    // column starts at the last point of the one before, so the joining line is covered too.
    // The points lie inside the x range here, so their columns need no clamping.
    std::vector<QLine> strokes;
    strokes.reserve(area.width() + 2);
    const double columnAt = area.left() - xs.low * sx + 0.5;
    const double rowAt = area.bottom() + ys.low * sy + 0.5;
    const double rowLow = area.top() - 2.0;
    const double rowHigh = area.bottom() + 2.0;
    const float* xv = plot.x.data();
    const float* yv = plot.y.data();
    int column = std::numeric_limits<int>::min();
    int low = 0;
    int high = 0;
    int previous = 0;
    bool havePrevious = false;
    for (int i = first; i <= last; ++i) {
        const double y = yv[i];
        if (!(y == y))  // NaN: a gap
            continue;
        // Both values are clamped to positive pixels, where truncation is rounding down.
        const int c = static_cast<int>(
            std::clamp(xv[i] * sx + columnAt, area.left() - 2.0, area.right() + 2.0));
        const int r = static_cast<int>(std::clamp(rowAt - y * sy, rowLow, rowHigh));
        if (c != column) {
            if (column != std::numeric_limits<int>::min())
                strokes.emplace_back(column, low, column, high);
            column = c;
            low = high = havePrevious ? previous : r;
        }
        low = std::min(low, r);
        high = std::max(high, r);
        previous = r;
        havePrevious = true;
    }
    if (column != std::numeric_limits<int>::min())
        strokes.emplace_back(column, low, column, high);
    painter.drawLines(strokes.data(), static_cast<int>(strokes.size()));
}

void CGraphWidget::DrawCursors(QPainter& painter, QSize size) const {
    const QRect area = PlotArea(size);
    const QColor color = qGray(ToColor(m_plotAreaColor).rgb()) < 128 ? Qt::white : Qt::black;
    painter.setPen(QPen(color, 0));
    for (const Cursor& cursor : m_cursors) {
        double x = 0.0;
        if (!cursor.enabled || !CursorX(cursor, &x))
            continue;
        const int px = static_cast<int>(std::lround(ToPixel(x, 0.0, size).x()));
        if (px >= area.left() && px <= area.right())
            painter.drawLine(px, area.top(), px, area.bottom());
    }
}

void CGraphWidget::DrawAxes(QPainter& painter, QSize size) const {
    const QRect area = PlotArea(size);
    const QColor text = palette().color(QPalette::WindowText);
    painter.setPen(QPen(text, 0));
    painter.drawRect(area.adjusted(-1, -1, 0, 0));
    const QFontMetrics metrics(painter.font());
    for (GraphAxis axisId : {GraphAxis::X, GraphAxis::Y}) {
        const Span s = VisibleSpan(axisId);
        const int pixels = axisId == GraphAxis::X ? area.width() : area.height();
        const double step = NiceStep(s.high - s.low, std::max(1, pixels / kPixelsPerMajorTick));
        for (double v : Ticks(s.low, s.high, step)) {
            const QString label = QString::number(v, 'g', 6);
            if (axisId == GraphAxis::X) {
                const int px = static_cast<int>(std::lround(ToPixel(v, s.low, size).x()));
                painter.drawLine(px, area.bottom() + 1, px, area.bottom() + 4);
                painter.drawText(QRect(px - 40, area.bottom() + 5, 80, metrics.height()),
                                 Qt::AlignHCenter | Qt::AlignTop, label);
            } else {
                const int py = static_cast<int>(std::lround(ToPixel(s.low, v, size).y()));
                painter.drawLine(area.left() - 5, py, area.left() - 2, py);
                painter.drawText(
                    QRect(0, py - metrics.height() / 2, area.left() - 7, metrics.height()),
                    Qt::AlignRight | Qt::AlignVCenter, label);
            }
        }
    }
    const QString xCaption = AxisOf(GraphAxis::X).caption;
    if (!xCaption.isEmpty())
        painter.drawText(QRect(area.left(), size.height() - metrics.height() - 2, area.width(),
                               metrics.height()),
                         Qt::AlignHCenter, xCaption);
    const QString yCaption = AxisOf(GraphAxis::Y).caption;
    if (!yCaption.isEmpty()) {
        painter.save();
        painter.translate(2, area.center().y());
        painter.rotate(-90);
        painter.drawText(QRect(-area.height() / 2, 0, area.height(), metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, yCaption);
        painter.restore();
    }
}

void CGraphWidget::ContentChanged() {
    ++m_content;
    update();
}

bool CGraphWidget::LayerKey::operator==(const LayerKey& other) const {
    return size == other.size && ratio == other.ratio && content == other.content &&
           window == other.window && x.low == other.x.low && x.high == other.x.high &&
           y.low == other.y.low && y.high == other.y.high;
}

void CGraphWidget::RenderPlotArea(QPainter& painter, QSize size) const {
    painter.fillRect(QRect(QPoint(0, 0), size), palette().color(QPalette::Window));
    const QRect area = PlotArea(size);
    painter.fillRect(area, ToColor(m_plotAreaColor));
    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawGrid(painter, size);
    for (const Plot& plot : m_plots)
        DrawPlot(painter, plot, size);
    painter.restore();
}

void CGraphWidget::RenderOverlay(QPainter& painter, QSize size, bool axes) const {
    painter.save();
    painter.setClipRect(PlotArea(size));
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawCursors(painter, size);
    if (m_pressed && m_mouseMode == GraphMouseMode::Zoom) {
        painter.setPen(QPen(Qt::gray, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(m_pressAt, m_mouseAt).normalized());
    }
    painter.restore();
    if (axes)
        DrawAxes(painter, size);
}

void CGraphWidget::Render(QPainter& painter, QSize size) const {
    RenderPlotArea(painter, size);
    RenderOverlay(painter, size, true);
}

void CGraphWidget::paintEvent(QPaintEvent* event) {
    const LayerKey key{size(),
                       devicePixelRatioF(),
                       m_content,
                       palette().color(QPalette::Window).rgb(),
                       VisibleSpan(GraphAxis::X),
                       VisibleSpan(GraphAxis::Y)};
    if (m_layer.isNull() || !(key == m_layerKey)) {
        m_layer = QImage(size() * key.ratio, QImage::Format_RGB32);
        m_layer.setDevicePixelRatio(key.ratio);
        QPainter layer(&m_layer);
        RenderPlotArea(layer, size());
        m_layerKey = key;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_layer);
    // The axes lie outside the plot area: a paint inside it (a moving cursor) leaves them be.
    RenderOverlay(painter, size(), !PlotArea(size()).contains(event->rect()));
}

void CGraphWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !PlotArea(size()).contains(event->pos()))
        return QWidget::mousePressEvent(event);
    m_pressed = true;
    m_pressAt = m_mouseAt = event->pos();
    m_panStartX = VisibleSpan(GraphAxis::X);
    m_panStartY = VisibleSpan(GraphAxis::Y);
    if (m_mouseMode != GraphMouseMode::Cursor)
        return;
    // A press near a cursor takes that one; elsewhere the first cursor jumps to the press.
    m_draggedCursor = 0;
    for (int i = 1; i <= CursorCount(); ++i) {
        double x = 0.0;
        if (m_cursors[i - 1].enabled && CursorX(m_cursors[i - 1], &x) &&
            std::abs(ToPixel(x, 0.0, size()).x() - event->pos().x()) <= kCursorGrip) {
            m_draggedCursor = i;
            break;
        }
    }
    if (!m_draggedCursor && CursorCount() > 0)
        m_draggedCursor = 1;
    mouseMoveEvent(event);
}

void CGraphWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed)
        return QWidget::mouseMoveEvent(event);
    m_mouseAt = event->pos();
    switch (m_mouseMode) {
        case GraphMouseMode::Cursor:
            if (m_draggedCursor) {
                const double x = ValueAt(GraphAxis::X, event->pos().x());
                SetCursorPosition(m_draggedCursor, x);
                if (m_cursorMoved)
                    m_cursorMoved(m_draggedCursor, x);
            }
            break;
        case GraphMouseMode::Pan: {
            const QRect area = PlotArea(size());
            const double dx = double(m_mouseAt.x() - m_pressAt.x()) /
                              std::max(1, area.width() - 1) * (m_panStartX.high - m_panStartX.low);
            const double dy = double(m_mouseAt.y() - m_pressAt.y()) /
                              std::max(1, area.height() - 1) * (m_panStartY.high - m_panStartY.low);
            Axis& x = AxisOf(GraphAxis::X);
            Axis& y = AxisOf(GraphAxis::Y);
            x.zoomed = y.zoomed = true;
            x.view = {m_panStartX.low - dx, m_panStartX.high - dx};
            y.view = {m_panStartY.low + dy, m_panStartY.high + dy};
            update();
            break;
        }
        case GraphMouseMode::Zoom:
            update();
            break;
    }
}

void CGraphWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_pressed || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    mouseMoveEvent(event);
    m_pressed = false;
    m_draggedCursor = 0;
    if (m_mouseMode == GraphMouseMode::Zoom) {
        const QRect band = QRect(m_pressAt, m_mouseAt).normalized();
        if (band.width() >= kMinBand && band.height() >= kMinBand) {
            const Span x{ValueAt(GraphAxis::X, band.left()), ValueAt(GraphAxis::X, band.right())};
            const Span y{ValueAt(GraphAxis::Y, band.bottom()), ValueAt(GraphAxis::Y, band.top())};
            AxisOf(GraphAxis::X).view = x;
            AxisOf(GraphAxis::Y).view = y;
            AxisOf(GraphAxis::X).zoomed = AxisOf(GraphAxis::Y).zoomed = true;
        }
    }
    update();
}
