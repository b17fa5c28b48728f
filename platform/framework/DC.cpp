#include "platform/framework/DC.h"

#include "platform/framework/PaintClip.h"
#include "platform/framework/SysColor.h"

#include <QFontMetricsF>
#include <QPolygon>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <utility>

IMPLEMENT_DYNAMIC(CDC, CObject)

namespace {

// A coordinate moved by a distance rounded to whole pixels, held within the int range: text may
// be written at a position as far out as a drawing's coordinates go.
int MovedBy(int from, double by) {
    const double moved = static_cast<double>(from) + std::round(by);
    return static_cast<int>(
        std::clamp(moved, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

QRect ToQRect(const CRect& r) {
    CRect n = r;
    n.NormalizeRect();
    return QRect(n.left, n.top, n.Width(), n.Height());
}

// Dash patterns of one-pixel pens, in pixels, starting with a dash.
std::vector<int> ThinPattern(int style) {
    switch (style) {
        case PS_DASH:
            return {18, 6};
        case PS_DOT:
            return {3, 3};
        case PS_DASHDOT:
            return {9, 6, 3, 6};
        case PS_DASHDOTDOT:
            return {9, 3, 3, 3, 3, 3};
        default:
            return {};
    }
}

// Products of two 33-bit coordinate differences need more than 64 bits.
__extension__ using Wide = __int128;

// floor(a / b) for b > 0.
long long FloorDiv(Wide a, Wide b) {
    Wide q = a / b;
    if ((a % b != 0) && (a < 0))
        --q;
    return static_cast<long long>(q);
}

// The pixels of the line from a towards b, b itself left out; each pixel goes to `on` or,
// in a dash gap, to `off`. `step` carries the dash position from one segment to the next.
// Only the pixels near `visible` are listed, so far-away lines of a deep zoom cost nothing.
void StepLine(QPoint a, QPoint b, const QRect& visible, const std::vector<int>& pattern,
              long long& step, QPolygon& on, QPolygon& off) {
    const long long dx = static_cast<long long>(b.x()) - a.x();
    const long long dy = static_cast<long long>(b.y()) - a.y();
    const long long n = std::max(std::llabs(dx), std::llabs(dy));
    if (n == 0)
        return;
    // The range of steps whose pixel lies inside the visible area (widened by a pixel).
    double lo = 0.0;
    double hi = static_cast<double>(n);
    auto limit = [&](long long origin, long long delta, int low, int high) {
        if (delta == 0) {
            if (origin < low - 1 || origin > high + 1)
                hi = -1.0;
            return;
        }
        double t0 = (static_cast<double>(low - 1) - origin) * n / delta;
        double t1 = (static_cast<double>(high + 1) - origin) * n / delta;
        if (t0 > t1)
            std::swap(t0, t1);
        lo = std::max(lo, t0);
        hi = std::min(hi, t1);
    };
    limit(a.x(), dx, visible.left(), visible.right());
    limit(a.y(), dy, visible.top(), visible.bottom());
    long long period = 0;
    for (int len : pattern)
        period += len;
    if (hi >= lo) {
        const long long first = std::max(0LL, static_cast<long long>(std::floor(lo)) - 1);
        const long long last = std::min(n, static_cast<long long>(std::ceil(hi)) + 2);
        for (long long i = first; i < last; ++i) {
            const QPoint p(static_cast<int>(a.x() + FloorDiv(Wide(2) * dx * i + n, Wide(2) * n)),
                           static_cast<int>(a.y() + FloorDiv(Wide(2) * dy * i + n, Wide(2) * n)));
            bool dash = true;
            if (period > 0) {
                long long pos = (step + i) % period;
                for (size_t k = 0; k < pattern.size(); ++k) {
                    if (pos < pattern[k]) {
                        dash = (k % 2) == 0;
                        break;
                    }
                    pos -= pattern[k];
                }
            }
            (dash ? on : off).append(p);
        }
    }
    step += n;
}

// The box of the points widened by the margin, kept within a range whose width still fits
// an int.
QRect BoundsOf(const std::vector<QPoint>& points, int margin) {
    if (points.empty())
        return {};
    static constexpr long long kLimit = 1LL << 29;
    long long l = points[0].x(), r = l, t = points[0].y(), b = t;
    for (const QPoint& p : points) {
        l = std::min<long long>(l, p.x());
        r = std::max<long long>(r, p.x());
        t = std::min<long long>(t, p.y());
        b = std::max<long long>(b, p.y());
    }
    auto clamp = [](long long v) { return static_cast<int>(std::clamp(v, -kLimit, kLimit)); };
    return QRect(QPoint(clamp(l - margin), clamp(t - margin)),
                 QPoint(clamp(r + margin), clamp(b + margin)));
}

Qt::PenCapStyle CapOf(int style) {
    switch (style & PS_ENDCAP_MASK) {
        case PS_ENDCAP_SQUARE:
            return Qt::SquareCap;
        case PS_ENDCAP_FLAT:
            return Qt::FlatCap;
        default:
            return Qt::RoundCap;
    }
}

Qt::PenJoinStyle JoinOf(int style) {
    switch (style & PS_JOIN_MASK) {
        case PS_JOIN_BEVEL:
            return Qt::BevelJoin;
        case PS_JOIN_MITER:
            return Qt::MiterJoin;
        default:
            return Qt::RoundJoin;
    }
}

// The pen as Qt strokes it: wide pens, and the curves of thin ones.
QPen QtPen(const CPen& pen) {
    const int style = pen.GetStyle() & PS_STYLE_MASK;
    const bool geometric = (pen.GetStyle() & PS_TYPE_MASK) == PS_GEOMETRIC;
    const int width = std::max(1, pen.GetWidth());
    QPen qpen(ToQColor(pen.GetColor()), width);
    if (width == 1 && !geometric) {
        qpen.setCosmetic(true);
        qpen.setCapStyle(Qt::FlatCap);
        qpen.setJoinStyle(Qt::MiterJoin);
    } else {
        qpen.setCapStyle(geometric ? CapOf(pen.GetStyle()) : Qt::RoundCap);
        qpen.setJoinStyle(geometric ? JoinOf(pen.GetStyle()) : Qt::RoundJoin);
    }
    // A cosmetic pen wider than one pixel draws solid lines.
    const bool dashed = style >= PS_DASH && style <= PS_DASHDOTDOT && (geometric || width == 1);
    if (dashed) {
        // One-pixel pens keep the pixel lengths of straight lines; wider ones scale with
        // the width.
        static const QList<qreal> kPatterns[] = {{3, 1}, {1, 1}, {3, 1, 1, 1}, {3, 1, 1, 1, 1, 1}};
        QList<qreal> pattern;
        if (width == 1) {
            for (int length : ThinPattern(style))
                pattern.append(length);
        } else {
            pattern = kPatterns[style - PS_DASH];
        }
        qpen.setDashPattern(pattern);
        // Round or square caps would close the gaps of a wide dashed line.
        qpen.setCapStyle(Qt::FlatCap);
    }
    return qpen;
}

bool IsThin(const CPen& pen) {
    return pen.GetWidth() <= 1;
}

bool IsNullPen(const CPen& pen) {
    return (pen.GetStyle() & PS_STYLE_MASK) == PS_NULL;
}

// Strips '&' prefixes: "&x" becomes x, underlined; "&&" becomes '&'.
QString StripPrefix(const QString& text, int* underline) {
    QString out;
    out.reserve(text.size());
    *underline = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&')
                *underline = static_cast<int>(out.size());
        } else if (text[i] == '&') {
            continue;
        }
        out.append(text[i]);
    }
    return out;
}

}  // namespace

CDC::CDC() {
    InitState();
}

CDC::CDC(QImage* target) : m_image(target) {
    InitState();
    if (target != nullptr && !target->isNull())
        Begin(target);
}

CDC::CDC(QWidget* widget) : m_widget(widget) {
    InitState();
    if (widget != nullptr)
        Begin(widget);
}

CDC::~CDC() {
    if (m_painter.isActive())
        m_painter.end();
}

void CDC::InitState() {
    m_state = State();
    m_state.pen.CreateStockObject(BLACK_PEN);
    m_state.brush.CreateStockObject(WHITE_BRUSH);
    const LOGFONT defaultFont;
    m_state.font.CreateFontIndirect(&defaultFont);
}

bool CDC::Begin(QPaintDevice* device) {
    if (!m_painter.begin(device))
        return false;
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    ApplyClip();
    return true;
}

void CDC::ApplyClip() {
    if (!m_painter.isActive())
        return;
    if (m_state.clipped)
        m_painter.setClipRegion(m_state.clip);
    else
        m_painter.setClipping(false);
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    (void)dc;
    if (HasTarget() || m_isMemory)
        return FALSE;
    m_bitmap.CreateCompatibleBitmap(nullptr, 1, 1);
    m_image = m_bitmap.GetImage();
    m_isMemory = true;
    return Begin(m_image) ? TRUE : FALSE;
}

BOOL CDC::DeleteDC() {
    if (!HasTarget())
        return FALSE;
    m_painter.end();
    m_image = nullptr;
    m_widget = nullptr;
    m_isMemory = false;
    m_bitmap.DeleteObject();
    return TRUE;
}

QPainter* CDC::GetPainter() {
    return HasTarget() ? &m_painter : nullptr;
}

CPen* CDC::SelectObject(CPen* pen) {
    if (pen == nullptr || pen->GetSafeHandle() == nullptr)
        return nullptr;
    m_oldPens.push_back(m_state.pen);
    m_state.pen = *pen;
    return &m_oldPens.back();
}

CBrush* CDC::SelectObject(CBrush* brush) {
    if (brush == nullptr || brush->GetSafeHandle() == nullptr)
        return nullptr;
    m_oldBrushes.push_back(m_state.brush);
    m_state.brush = *brush;
    return &m_oldBrushes.back();
}

CFont* CDC::SelectObject(CFont* font) {
    if (font == nullptr || font->GetSafeHandle() == nullptr)
        return nullptr;
    m_oldFonts.push_back(m_state.font);
    m_state.font = *font;
    return &m_oldFonts.back();
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    if (!m_isMemory || bitmap == nullptr || bitmap->GetImage() == nullptr)
        return nullptr;
    m_oldBitmaps.push_back(m_bitmap);
    m_bitmap = *bitmap;
    m_painter.end();
    m_image = m_bitmap.GetImage();
    Begin(m_image);
    return &m_oldBitmaps.back();
}

COLORREF CDC::SetTextColor(COLORREF color) {
    return std::exchange(m_state.textColor, color & 0x00FFFFFF);
}

COLORREF CDC::SetBkColor(COLORREF color) {
    return std::exchange(m_state.bkColor, color & 0x00FFFFFF);
}

int CDC::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return std::exchange(m_state.bkMode, mode);
}

int CDC::SetROP2(int mode) {
    if (mode != R2_COPYPEN && mode != R2_XORPEN)
        return 0;
    return std::exchange(m_state.rop2, mode);
}

UINT CDC::SetTextAlign(UINT flags) {
    return std::exchange(m_state.textAlign, flags);
}

int CDC::SetPolyFillMode(int mode) {
    if (mode != ALTERNATE && mode != WINDING)
        return 0;
    return std::exchange(m_state.polyFillMode, mode);
}

void CDC::Render(const QRect& bounds, const std::function<void(QPainter&)>& draw, bool forceXor) {
    if (!HasTarget())
        return;
    const bool xorPixels = forceXor || m_state.rop2 == R2_XORPEN;
    m_painter.save();
    if (!xorPixels) {
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        draw(m_painter);
        m_painter.restore();
        return;
    }
    if (m_image == nullptr) {
        // A window's backing store is a raster image too; Qt's XOR raster operation is
        // exact there for opaque pixels.
        m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        draw(m_painter);
        m_painter.restore();
        return;
    }
    // Paint the primitive alone into a scratch image, then XOR each painted pixel's colour
    // into the target: every pixel is inverted exactly once per primitive, so a second
    // drawing restores the image.
    QRect area = bounds.intersected(m_image->rect());
    if (m_state.clipped)
        area = area.intersected(m_state.clip.boundingRect());
    if (area.isEmpty()) {
        m_painter.restore();
        return;
    }
    QImage scratch(area.size(), QImage::Format_ARGB32);
    scratch.fill(0);
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(-area.topLeft());
        if (m_state.clipped)
            p.setClipRegion(m_state.clip);
        draw(p);
    }
    QImage result(area.size(), QImage::Format_ARGB32);
    result.fill(0);
    const QImage& target = *m_image;
    for (int y = 0; y < area.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        QRgb* r = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            if (qAlpha(s[x]) == 0)
                continue;
            const QRgb d = target.pixel(area.x() + x, area.y() + y);
            r[x] = 0xFF000000u | ((d ^ s[x]) & 0x00FFFFFFu);
        }
    }
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.drawImage(area.topLeft(), result);
    m_painter.restore();
}

void CDC::StrokeThin(const std::vector<QPoint>& vertices, bool closed) {
    const CPen& pen = m_state.pen;
    if (IsNullPen(pen) || vertices.size() < 2)
        return;
    const std::vector<int> pattern = ThinPattern(pen.GetStyle() & PS_STYLE_MASK);
    const QRect visible = DeviceRect();
    QPolygon on, off;
    long long step = 0;
    for (size_t i = 0; i + 1 < vertices.size(); ++i)
        StepLine(vertices[i], vertices[i + 1], visible, pattern, step, on, off);
    if (closed)
        StepLine(vertices.back(), vertices.front(), visible, pattern, step, on, off);
    const QColor color = ToQColor(pen.GetColor());
    const bool gaps = m_state.bkMode == OPAQUE && !off.isEmpty();
    const QColor gapColor = ToQColor(m_state.bkColor);
    Render(BoundsOf(vertices, 1), [&](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(color, 1));
        p.drawPoints(on);
        if (gaps) {
            p.setPen(QPen(gapColor, 1));
            p.drawPoints(off);
        }
    });
}

void CDC::StrokePath(const std::vector<QPoint>& vertices, bool closed) {
    const CPen& pen = m_state.pen;
    if (IsNullPen(pen) || vertices.size() < 2)
        return;
    if (IsThin(pen)) {
        StrokeThin(vertices, closed);
        return;
    }
    const QPolygon polygon(QList<QPoint>(vertices.begin(), vertices.end()));
    const QPen qpen = QtPen(pen);
    Render(BoundsOf(vertices, pen.GetWidth() + 2), [&](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        p.setPen(qpen);
        if (closed)
            p.drawPolygon(polygon);
        else
            p.drawPolyline(polygon);
    });
}

QBrush CDC::QtBrush(const CBrush& brush) const {
    if (brush.GetSafeHandle() == nullptr || brush.GetStyle() == BS_NULL)
        return Qt::NoBrush;
    if (brush.GetStyle() == BS_SOLID)
        return QBrush(ToQColor(brush.GetColor()));
    QImage tile(8, 8, QImage::Format_ARGB32);
    tile.fill(m_state.bkMode == OPAQUE ? ToQColor(m_state.bkColor).rgb() : 0u);
    const QRgb ink = ToQColor(brush.GetColor()).rgb();
    const int hatch = brush.GetHatch();
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool horizontal = y == 0;
            const bool vertical = x == 0;
            const bool fdiag = x == y;
            const bool bdiag = x + y == 7;
            bool set = false;
            switch (hatch) {
                case HS_HORIZONTAL:
                    set = horizontal;
                    break;
                case HS_VERTICAL:
                    set = vertical;
                    break;
                case HS_FDIAGONAL:
                    set = fdiag;
                    break;
                case HS_BDIAGONAL:
                    set = bdiag;
                    break;
                case HS_CROSS:
                    set = horizontal || vertical;
                    break;
                default:
                    set = fdiag || bdiag;
                    break;
            }
            if (set)
                tile.setPixel(x, y, ink);
        }
    }
    return QBrush(tile);
}

void CDC::FillPolygon(const std::vector<QPoint>& vertices) {
    const QBrush brush = QtBrush(m_state.brush);
    if (brush.style() == Qt::NoBrush || vertices.size() < 3)
        return;
    const QPolygon polygon(QList<QPoint>(vertices.begin(), vertices.end()));
    const Qt::FillRule rule = m_state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
    Render(BoundsOf(vertices, 1), [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(brush);
        p.drawPolygon(polygon, rule);
    });
}

CPoint CDC::MoveTo(int x, int y) {
    return std::exchange(m_state.position, CPoint(x, y));
}

BOOL CDC::LineTo(int x, int y) {
    if (!HasTarget())
        return FALSE;
    const QPoint from(m_state.position.x, m_state.position.y);
    StrokePath({from, QPoint(x, y)}, false);
    m_state.position = CPoint(x, y);
    return TRUE;
}

BOOL CDC::Polyline(const CPoint* points, int count) {
    if (!HasTarget() || points == nullptr || count < 2)
        return FALSE;
    std::vector<QPoint> vertices;
    vertices.reserve(count);
    for (int i = 0; i < count; ++i)
        vertices.emplace_back(points[i].x, points[i].y);
    StrokePath(vertices, false);
    return TRUE;
}

BOOL CDC::Polygon(const CPoint* points, int count) {
    if (!HasTarget() || points == nullptr || count < 2)
        return FALSE;
    std::vector<QPoint> vertices;
    vertices.reserve(count);
    for (int i = 0; i < count; ++i)
        vertices.emplace_back(points[i].x, points[i].y);
    FillPolygon(vertices);
    StrokePath(vertices, true);
    return TRUE;
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    if (!HasTarget())
        return FALSE;
    CRect r(x1, y1, x2, y2);
    r.NormalizeRect();
    if (r.IsRectEmpty())
        return TRUE;
    const CPen& pen = m_state.pen;
    if (IsNullPen(pen)) {
        // Without a pen the filled area is one pixel narrower and shorter.
        FillPolygon({{r.left, r.top},
                     {r.right - 1, r.top},
                     {r.right - 1, r.bottom - 1},
                     {r.left, r.bottom - 1}});
        return TRUE;
    }
    FillPolygon({{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}});
    CRect path(r.left, r.top, r.right - 1, r.bottom - 1);
    if ((pen.GetStyle() & PS_STYLE_MASK) == PS_INSIDEFRAME && pen.GetWidth() > 1) {
        const int inset = pen.GetWidth() / 2;
        path.DeflateRect(inset, inset);
        path.right = std::max(path.right, path.left);
        path.bottom = std::max(path.bottom, path.top);
    }
    StrokePath({{path.left, path.top},
                {path.right, path.top},
                {path.right, path.bottom},
                {path.left, path.bottom}},
               true);
    return TRUE;
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) {
    if (!HasTarget())
        return FALSE;
    CRect r(x1, y1, x2, y2);
    r.NormalizeRect();
    if (r.IsRectEmpty())
        return TRUE;
    const QRect bounds(r.left - 1, r.top - 1, r.Width() + 2, r.Height() + 2);
    const QBrush brush = QtBrush(m_state.brush);
    if (brush.style() != Qt::NoBrush) {
        Render(bounds, [&](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(brush);
            p.drawEllipse(QRectF(r.left, r.top, r.Width(), r.Height()));
        });
    }
    if (!IsNullPen(m_state.pen)) {
        const QPen qpen = QtPen(m_state.pen);
        Render(bounds.adjusted(-m_state.pen.GetWidth(), -m_state.pen.GetWidth(),
                               m_state.pen.GetWidth(), m_state.pen.GetWidth()),
               [&](QPainter& p) {
                   p.setBrush(Qt::NoBrush);
                   p.setPen(qpen);
                   p.drawEllipse(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1));
               });
    }
    return TRUE;
}

BOOL CDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (!HasTarget())
        return FALSE;
    CRect r(x1, y1, x2, y2);
    r.NormalizeRect();
    if (r.IsRectEmpty() || IsNullPen(m_state.pen))
        return TRUE;
    const double cx = r.left + (r.Width() - 1) / 2.0;
    const double cy = r.top + (r.Height() - 1) / 2.0;
    const double start = std::atan2(cy - y3, x3 - cx);
    double span = std::atan2(cy - y4, x4 - cx) - start;
    while (span <= 1e-9)
        span += 2.0 * std::numbers::pi;
    if (span >= 2.0 * std::numbers::pi - 1e-9) {
        const QPen qpen = QtPen(m_state.pen);
        const int w = m_state.pen.GetWidth() + 1;
        Render(QRect(r.left - w, r.top - w, r.Width() + 2 * w, r.Height() + 2 * w),
               [&](QPainter& p) {
                   p.setBrush(Qt::NoBrush);
                   p.setPen(qpen);
                   p.drawEllipse(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1));
               });
        return TRUE;
    }
    // A part of the ellipse is walked as short chords between the points where rays from
    // the centre meet it, so it keeps to the same box as the whole ellipse.
    const double a = (r.Width() - 1) / 2.0;
    const double b = (r.Height() - 1) / 2.0;
    const int steps = std::max(4, static_cast<int>(std::ceil(span * (a + b))));
    std::vector<QPoint> points;
    points.reserve(steps + 1);
    for (int i = 0; i <= steps; ++i) {
        const double t = start + span * i / steps;
        const double c = std::cos(t);
        const double sn = std::sin(t);
        const double denom = std::hypot(b * c, a * sn);
        const double radius = denom > 0.0 ? a * b / denom : 0.0;
        const QPoint p(static_cast<int>(std::lround(cx + radius * c)),
                       static_cast<int>(std::lround(cy - radius * sn)));
        if (points.empty() || points.back() != p)
            points.push_back(p);
    }
    StrokePath(points, false);
    return TRUE;
}

void CDC::FillSolidRect(const CRect& rect, COLORREF color) {
    SetBkColor(color);
    if (!HasTarget())
        return;
    const QRect r = ToQRect(rect);
    if (r.isEmpty() || (m_widget && PaintsNothingOf(m_painter, r)))
        return;
    m_painter.save();
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.fillRect(r, ToQColor(color));
    m_painter.restore();
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    FillSolidRect(CRect(x, y, x + cx, y + cy), color);
}

void CDC::FillRect(const CRect& rect, CBrush* brush) {
    if (!HasTarget() || brush == nullptr)
        return;
    const QBrush qbrush = QtBrush(*brush);
    const QRect r = ToQRect(rect);
    if (qbrush.style() == Qt::NoBrush || r.isEmpty())
        return;
    m_painter.save();
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.fillRect(r, qbrush);
    m_painter.restore();
}

void CDC::FrameRect(const CRect& rect, CBrush* brush) {
    if (!HasTarget() || brush == nullptr)
        return;
    const QBrush qbrush = QtBrush(*brush);
    const QRect r = ToQRect(rect);
    if (qbrush.style() == Qt::NoBrush || r.isEmpty())
        return;
    m_painter.save();
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), qbrush);
    m_painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), qbrush);
    m_painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), qbrush);
    m_painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), qbrush);
    m_painter.restore();
}

void CDC::Draw3dRect(const CRect& rect, COLORREF topLeft, COLORREF bottomRight) {
    Draw3dRect(rect.left, rect.top, rect.Width(), rect.Height(), topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

void CDC::DrawFocusRect(const CRect& rect) {
    const QRect r = ToQRect(rect);
    if (!HasTarget() || r.isEmpty())
        return;
    QPolygon dots;
    auto add = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            dots.append(QPoint(x, y));
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        add(x, r.top());
        if (r.bottom() != r.top())
            add(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        add(r.left(), y);
        if (r.right() != r.left())
            add(r.right(), y);
    }
    Render(
        r,
        [&](QPainter& p) {
            p.setPen(QPen(Qt::white, 1));
            p.drawPoints(dots);
        },
        true);
}

int CDC::TextWidth(const QString& text) const {
    const QFontMetricsF fm(m_state.font.GetQFont());
    return static_cast<int>(std::lround(fm.horizontalAdvance(text)));
}

void CDC::DrawTextRun(QPointF origin, const QString& text, int underlineIndex) {
    TEXTMETRIC tm;
    m_state.font.GetTextMetrics(&tm);
    const int width = TextWidth(text);
    m_painter.save();
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.translate(origin);
    m_painter.rotate(-m_state.font.GetLogFontRef().lfEscapement / 10.0);
    if (m_state.bkMode == OPAQUE)
        m_painter.fillRect(QRectF(0, 0, width, tm.tmHeight), ToQColor(m_state.bkColor));
    m_painter.setFont(m_state.font.GetQFont());
    m_painter.setPen(ToQColor(m_state.textColor));
    m_painter.drawText(QPointF(0, tm.tmAscent), text);
    if (underlineIndex >= 0 && underlineIndex < text.size()) {
        const int x0 = TextWidth(text.left(underlineIndex));
        const int x1 = TextWidth(text.left(underlineIndex + 1));
        m_painter.fillRect(QRectF(x0, tm.tmAscent + 1, x1 - x0, 1), ToQColor(m_state.textColor));
    }
    m_painter.restore();
}

BOOL CDC::TextOut(int x, int y, const QString& text) {
    return ExtTextOut(x, y, 0, nullptr, text);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, const CRect* rect, const QString& text) {
    if (!HasTarget())
        return FALSE;
    const UINT align = m_state.textAlign;
    const bool updateCp = (align & TA_UPDATECP) != 0;
    const QPointF reference =
        updateCp ? QPointF(m_state.position.x, m_state.position.y) : QPointF(x, y);
    TEXTMETRIC tm;
    m_state.font.GetTextMetrics(&tm);
    const int width = TextWidth(text);
    const double angle =
        m_state.font.GetLogFontRef().lfEscapement / 10.0 * std::numbers::pi / 180.0;
    // Along the text line and down across it, in device pixels.
    const QPointF along(std::cos(angle), -std::sin(angle));
    const QPointF down(std::sin(angle), std::cos(angle));
    double dx = 0.0;
    if ((align & TA_CENTER) == TA_CENTER)
        dx = -width / 2.0;
    else if ((align & TA_RIGHT) == TA_RIGHT)
        dx = -width;
    double dy = 0.0;
    if ((align & TA_BASELINE) == TA_BASELINE)
        dy = -tm.tmAscent;
    else if ((align & TA_BOTTOM) == TA_BOTTOM)
        dy = -tm.tmHeight;
    const QPointF origin = reference + along * dx + down * dy;

    m_painter.save();
    if (rect != nullptr && (options & ETO_OPAQUE) != 0)
        m_painter.fillRect(ToQRect(*rect), ToQColor(m_state.bkColor));
    if (rect != nullptr && (options & ETO_CLIPPED) != 0)
        m_painter.setClipRect(ToQRect(*rect), Qt::IntersectClip);
    DrawTextRun(origin, text, -1);
    m_painter.restore();

    if (updateCp) {
        double advance = 0.0;
        if ((align & TA_CENTER) == TA_CENTER)
            advance = 0.0;
        else if ((align & TA_RIGHT) == TA_RIGHT)
            advance = -width;
        else
            advance = width;
        m_state.position.x = MovedBy(m_state.position.x, along.x() * advance);
        m_state.position.y = MovedBy(m_state.position.y, along.y() * advance);
    }
    return TRUE;
}

int CDC::DrawText(const QString& text, CRect* rect, UINT format) {
    if (rect == nullptr)
        return 0;
    TEXTMETRIC tm;
    m_state.font.GetTextMetrics(&tm);
    const int lineHeight = tm.tmHeight;
    struct Line {
        QString text;
        int underline = -1;
    };
    std::vector<Line> lines;

    QStringList paragraphs;
    if ((format & DT_SINGLELINE) != 0) {
        QString one = text;
        one.replace("\r\n", " ").replace('\r', ' ').replace('\n', ' ');
        paragraphs.append(one);
    } else {
        QString normalised = text;
        normalised.replace("\r\n", "\n").replace('\r', '\n');
        paragraphs = normalised.split('\n');
    }
    const bool wrap = (format & DT_WORDBREAK) != 0 && (format & DT_SINGLELINE) == 0;
    const int limit = rect->Width();
    for (const QString& paragraph : paragraphs) {
        int underline = -1;
        const QString plain =
            (format & DT_NOPREFIX) != 0 ? paragraph : StripPrefix(paragraph, &underline);
        if (!wrap) {
            lines.push_back({plain, underline});
            continue;
        }
        // Greedy breaking at blanks; a word wider than the rectangle keeps a line of its own.
        qsizetype start = 0;
        while (true) {
            qsizetype end = start;
            qsizetype lastFit = -1;
            while (end <= plain.size()) {
                const qsizetype next = plain.indexOf(' ', end);
                const qsizetype wordEnd = next < 0 ? plain.size() : next;
                if (lastFit >= 0 && TextWidth(plain.mid(start, wordEnd - start)) > limit)
                    break;
                lastFit = wordEnd;
                if (next < 0)
                    break;
                end = next + 1;
            }
            const QString piece = plain.mid(start, lastFit - start);
            const int ul = underline >= start && underline < lastFit
                               ? static_cast<int>(underline - start)
                               : -1;
            lines.push_back({piece, ul});
            qsizetype resume = lastFit;
            while (resume < plain.size() && plain[resume] == ' ')
                ++resume;
            if (resume >= plain.size())
                break;
            start = resume;
        }
    }

    int maxWidth = 0;
    for (const Line& line : lines)
        maxWidth = std::max(maxWidth, TextWidth(line.text));
    const int total = lineHeight * static_cast<int>(lines.size());
    if ((format & DT_CALCRECT) != 0) {
        rect->right = rect->left + maxWidth;
        rect->bottom = rect->top + total;
        return total;
    }
    if (!HasTarget())
        return 0;

    int y = rect->top;
    if ((format & DT_SINGLELINE) != 0) {
        if ((format & DT_VCENTER) != 0)
            y = rect->top + (rect->Height() - lineHeight) / 2;
        else if ((format & DT_BOTTOM) != 0)
            y = rect->bottom - lineHeight;
    }
    const int startY = y;
    m_painter.save();
    if ((format & DT_NOCLIP) == 0)
        m_painter.setClipRect(ToQRect(*rect), Qt::IntersectClip);
    for (const Line& line : lines) {
        const int w = TextWidth(line.text);
        int x = rect->left;
        if ((format & DT_CENTER) != 0)
            x = rect->left + (rect->Width() - w) / 2;
        else if ((format & DT_RIGHT) != 0)
            x = rect->right - w;
        DrawTextRun(QPointF(x, y), line.text, line.underline);
        y += lineHeight;
    }
    m_painter.restore();
    return startY - rect->top + total;
}

CSize CDC::GetTextExtent(const QString& text) const {
    TEXTMETRIC tm;
    m_state.font.GetTextMetrics(&tm);
    return CSize(TextWidth(text), tm.tmHeight);
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) const {
    if (metrics == nullptr)
        return FALSE;
    m_state.font.GetTextMetrics(metrics);
    return TRUE;
}

BOOL CDC::DrawIcon(int x, int y, const QImage& icon) {
    if (!HasTarget() || icon.isNull())
        return FALSE;
    Blit(QPoint(x, y), icon.convertToFormat(QImage::Format_ARGB32_Premultiplied),
         QPainter::CompositionMode_SourceOver);
    return TRUE;
}

BOOL CDC::DrawState(const CPoint& p, const CSize& size, const QImage& icon, UINT flags) {
    if (!HasTarget() || icon.isNull() || (flags & 0x000F) != DST_ICON)
        return FALSE;
    QImage image = icon.convertToFormat(QImage::Format_ARGB32);
    if (size.cx > 0 && size.cy > 0)
        image = image.copy(0, 0, size.cx, size.cy);
    if ((flags & DSS_DISABLED) == 0) {
        Blit(QPoint(p.x, p.y), image, QPainter::CompositionMode_SourceOver);
        return TRUE;
    }
    QImage shape(image.size(), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            shape.setPixel(x, y, qAlpha(image.pixel(x, y)) >= 128 ? 0xFFFFFFFFu : 0u);
    }
    auto inColour = [&](COLORREF c) {
        QImage out = shape;
        const QRgb ink = ToQColor(c).rgb();
        for (int y = 0; y < out.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x)
                row[x] = row[x] != 0 ? ink : 0u;
        }
        return out;
    };
    Blit(QPoint(p.x + 1, p.y + 1), inColour(GetSysColor(COLOR_3DHILIGHT)),
         QPainter::CompositionMode_SourceOver);
    Blit(QPoint(p.x, p.y), inColour(GetSysColor(COLOR_3DSHADOW)),
         QPainter::CompositionMode_SourceOver);
    return TRUE;
}

BOOL CDC::DrawState(const CPoint& p, const CSize& size, CBitmap* bitmap, UINT flags) {
    if (!HasTarget() || bitmap == nullptr || bitmap->GetImage() == nullptr ||
        (flags & 0x000F) != DST_BITMAP)
        return FALSE;
    QImage image = bitmap->GetImage()->convertToFormat(QImage::Format_ARGB32);
    if ((flags & DSS_DISABLED) != 0) {
        // A bitmap's shape is every pixel that is not white.
        for (int y = 0; y < image.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] = (row[x] & 0x00FFFFFFu) == 0x00FFFFFFu ? 0u : 0xFF000000u;
        }
    }
    return DrawState(p, size, image, DST_ICON | (flags & DSS_DISABLED));
}

COLORREF CDC::GetPixel(int x, int y) const {
    if (m_image == nullptr || !m_image->rect().contains(x, y) ||
        (m_state.clipped && !m_state.clip.contains(QPoint(x, y))))
        return CLR_INVALID;
    const QRgb p = m_image->pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    if (!HasTarget() || GetPixel(x, y) == CLR_INVALID)
        return CLR_INVALID;
    m_painter.save();
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.fillRect(QRect(x, y, 1, 1), ToQColor(color));
    m_painter.restore();
    return color & 0x00FFFFFF;
}

void CDC::Blit(const QPoint& at, const QImage& piece, QPainter::CompositionMode mode) {
    m_painter.save();
    m_painter.setCompositionMode(mode);
    m_painter.drawImage(at, piece);
    m_painter.restore();
}

QImage CDC::SourcePiece(CDC* src, int xSrc, int ySrc, int width, int height, int dstWidth,
                        int dstHeight) const {
    if (src == nullptr || src->m_image == nullptr || width <= 0 || height <= 0 || dstWidth == 0 ||
        dstHeight == 0)
        return {};
    QImage piece =
        src->m_image->copy(QRect(xSrc, ySrc, width, height)).convertToFormat(QImage::Format_RGB32);
    if (std::abs(dstWidth) != width || std::abs(dstHeight) != height)
        piece = piece.scaled(std::abs(dstWidth), std::abs(dstHeight), Qt::IgnoreAspectRatio,
                             Qt::FastTransformation);
    if (dstWidth < 0 || dstHeight < 0)
        piece = piece.mirrored(dstWidth < 0, dstHeight < 0);
    return piece;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop) {
    QPainter::CompositionMode mode;
    switch (rop) {
        case SRCCOPY:
            mode = QPainter::CompositionMode_Source;
            break;
        case SRCAND:
            mode = QPainter::RasterOp_SourceAndDestination;
            break;
        case SRCPAINT:
            mode = QPainter::RasterOp_SourceOrDestination;
            break;
        default:
            return FALSE;
    }
    if (!HasTarget())
        return FALSE;
    // A rectangle inside another image of the same format, moved without scaling, is drawn
    // straight from that image: the same pixels as a copied piece, without copying it first.
    if (src != nullptr && src != this && src->m_image != nullptr && m_image != src->m_image &&
        width > 0 && height > 0 && src->m_image->format() == QImage::Format_RGB32 &&
        src->m_image->rect().contains(QRect(xSrc, ySrc, width, height)) &&
        m_painter.transform().type() <= QTransform::TxTranslate) {
        m_painter.save();
        m_painter.setCompositionMode(mode);
        m_painter.drawImage(QPoint(x, y), *src->m_image, QRect(xSrc, ySrc, width, height));
        m_painter.restore();
        return TRUE;
    }
    const QImage piece = SourcePiece(src, xSrc, ySrc, width, height, width, height);
    if (piece.isNull())
        return FALSE;
    Blit(QPoint(x, y), piece, mode);
    return TRUE;
}

BOOL CDC::TransparentBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc,
                         int srcWidth, int srcHeight, UINT transparent) {
    if (!HasTarget() || width <= 0 || height <= 0)
        return FALSE;
    QImage piece = SourcePiece(src, xSrc, ySrc, srcWidth, srcHeight, width, height);
    if (piece.isNull())
        return FALSE;
    piece = piece.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(transparent).rgb() & 0x00FFFFFFu;
    for (int row = 0; row < piece.height(); ++row) {
        QRgb* p = reinterpret_cast<QRgb*>(piece.scanLine(row));
        for (int col = 0; col < piece.width(); ++col) {
            if ((p[col] & 0x00FFFFFFu) == key)
                p[col] = 0;
        }
    }
    Blit(QPoint(x, y), piece, QPainter::CompositionMode_SourceOver);
    return TRUE;
}

BOOL CDC::AlphaBlend(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, BLENDFUNCTION blend) {
    if (!HasTarget() || blend.BlendOp != AC_SRC_OVER || blend.AlphaFormat != 0 || width <= 0 ||
        height <= 0)
        return FALSE;
    const QImage piece = SourcePiece(src, xSrc, ySrc, srcWidth, srcHeight, width, height);
    if (piece.isNull())
        return FALSE;
    const int alpha = blend.SourceConstantAlpha;
    if (m_image == nullptr) {
        m_painter.save();
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        m_painter.setOpacity(alpha / 255.0);
        m_painter.drawImage(QPoint(x, y), piece);
        m_painter.restore();
        return TRUE;
    }
    // Blended here rather than by the painter's opacity, whose rounding can be off by more
    // than one level.
    const QRect area = QRect(x, y, width, height).intersected(m_image->rect());
    if (area.isEmpty())
        return TRUE;
    QImage result(area.size(), QImage::Format_RGB32);
    const QImage& target = *m_image;
    auto mix = [alpha](int s, int d) { return (s * alpha + d * (255 - alpha) + 127) / 255; };
    for (int row = 0; row < area.height(); ++row) {
        QRgb* r = reinterpret_cast<QRgb*>(result.scanLine(row));
        for (int col = 0; col < area.width(); ++col) {
            const QRgb s = piece.pixel(area.x() - x + col, area.y() - y + row);
            const QRgb d = target.pixel(area.x() + col, area.y() + row);
            r[col] =
                qRgb(mix(qRed(s), qRed(d)), mix(qGreen(s), qGreen(d)), mix(qBlue(s), qBlue(d)));
        }
    }
    Blit(area.topLeft(), result, QPainter::CompositionMode_SourceOver);
    return TRUE;
}

int CDC::DrawDib(const QRect& dst, const QRect& srcUpright, const void* bits,
                 const BITMAPINFOHEADER* header, int firstRow, int rowCount) {
    if (!HasTarget() || bits == nullptr || header == nullptr)
        return 0;
    const int width = header->biWidth;
    const int height = std::abs(header->biHeight);
    const int bpp = header->biBitCount;
    if (header->biCompression != BI_RGB || width <= 0 || height <= 0 ||
        (bpp != 8 && bpp != 24 && bpp != 32) || srcUpright.isEmpty() || dst.width() == 0 ||
        dst.height() == 0)
        return 0;
    const bool bottomUp = header->biHeight > 0;
    const DWORD stride = DibRowBytes(width, static_cast<WORD>(bpp));
    QRgb palette[256] = {};
    if (bpp == 8) {
        const int count = header->biClrUsed == 0 ? 256 : std::min<int>(header->biClrUsed, 256);
        const BYTE* table = reinterpret_cast<const BYTE*>(header) + header->biSize;
        for (int i = 0; i < count; ++i)
            palette[i] = qRgb(table[4 * i + 2], table[4 * i + 1], table[4 * i]);
    }
    QImage piece(srcUpright.size(), QImage::Format_ARGB32);
    piece.fill(0);
    int rowsDrawn = 0;
    for (int row = 0; row < piece.height(); ++row) {
        const int upright = srcUpright.top() + row;
        if (upright < 0 || upright >= height)
            continue;
        const int stored = bottomUp ? height - 1 - upright : upright;
        if (stored < firstRow || stored >= firstRow + rowCount)
            continue;
        ++rowsDrawn;
        const BYTE* line =
            static_cast<const BYTE*>(bits) + static_cast<size_t>(stored - firstRow) * stride;
        QRgb* out = reinterpret_cast<QRgb*>(piece.scanLine(row));
        for (int col = 0; col < piece.width(); ++col) {
            const int x = srcUpright.left() + col;
            if (x < 0 || x >= width)
                continue;
            if (bpp == 8) {
                out[col] = palette[line[x]];
            } else {
                const BYTE* px = line + static_cast<size_t>(x) * (bpp / 8);
                out[col] = qRgb(px[2], px[1], px[0]);
            }
        }
    }
    if (std::abs(dst.width()) != piece.width() || std::abs(dst.height()) != piece.height())
        piece = piece.scaled(std::abs(dst.width()), std::abs(dst.height()), Qt::IgnoreAspectRatio,
                             Qt::FastTransformation);
    if (dst.width() < 0 || dst.height() < 0)
        piece = piece.mirrored(dst.width() < 0, dst.height() < 0);
    const QPoint at(dst.width() < 0 ? dst.left() + dst.width() : dst.left(),
                    dst.height() < 0 ? dst.top() + dst.height() : dst.top());
    Blit(at, piece, QPainter::CompositionMode_SourceOver);
    return rowsDrawn;
}

int CDC::StretchDIBits(int xDst, int yDst, int dstWidth, int dstHeight, int xSrc, int ySrc,
                       int srcWidth, int srcHeight, const void* bits,
                       const BITMAPINFOHEADER* header, UINT usage, DWORD rop) {
    if (header == nullptr || usage != DIB_RGB_COLORS || rop != SRCCOPY)
        return 0;
    const int height = std::abs(header->biHeight);
    const int top = header->biHeight > 0 ? height - ySrc - srcHeight : ySrc;
    QRect dst;
    dst.setRect(xDst, yDst, dstWidth, dstHeight);
    return DrawDib(dst, QRect(xSrc, top, srcWidth, srcHeight), bits, header, 0, height);
}

int CDC::SetDIBitsToDevice(int xDst, int yDst, int width, int height, int xSrc, int ySrc,
                           UINT startScan, UINT scanCount, const void* bits,
                           const BITMAPINFOHEADER* header, UINT usage) {
    if (header == nullptr || usage != DIB_RGB_COLORS || width <= 0 || height <= 0)
        return 0;
    const int dibHeight = std::abs(header->biHeight);
    const int top = header->biHeight > 0 ? dibHeight - ySrc - height : ySrc;
    return DrawDib(QRect(xDst, yDst, width, height), QRect(xSrc, top, width, height), bits, header,
                   static_cast<int>(startScan), static_cast<int>(scanCount));
}

int CDC::SelectClipRgn(CRgn* region) {
    if (region == nullptr) {
        m_state.clipped = false;
        m_state.clip = QRegion();
        ApplyClip();
        return SIMPLEREGION;
    }
    if (region->GetSafeHandle() == nullptr)
        return RGN_ERROR;
    m_state.clipped = true;
    m_state.clip = region->GetRegion();
    ApplyClip();
    return CRgn::KindOf(m_state.clip);
}

QRect CDC::DeviceRect() const {
    if (m_image != nullptr)
        return m_image->rect();
    if (m_widget != nullptr)
        return m_widget->rect();
    return {};
}

int CDC::GetClipBox(CRect* rect) const {
    if (rect == nullptr)
        return RGN_ERROR;
    const QRect box = m_state.clipped ? m_state.clip.boundingRect() : DeviceRect();
    *rect = box.isEmpty()
                ? CRect()
                : CRect(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
    return m_state.clipped ? CRgn::KindOf(m_state.clip) : SIMPLEREGION;
}

int CDC::SaveDC() {
    m_saved.push_back(m_state);
    return static_cast<int>(m_saved.size());
}

BOOL CDC::RestoreDC(int savedDC) {
    const int depth = static_cast<int>(m_saved.size());
    const int level = savedDC < 0 ? depth + 1 + savedDC : savedDC;
    if (savedDC == 0 || level < 1 || level > depth)
        return FALSE;
    m_state = m_saved[level - 1];
    m_saved.resize(level - 1);
    ApplyClip();
    return TRUE;
}
