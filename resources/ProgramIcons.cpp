#include "resources/ProgramIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>
#include <map>

namespace {

using Glyph = std::function<void(QPainter&)>;

const QColor kInk(0x2e, 0x34, 0x36);
const QColor kAccent(0x34, 0x65, 0xa4);
const QColor kPlus(0x4e, 0x9a, 0x06);

void Frame(QPainter& p, QRectF r) {
    // A film frame: a rectangle with sprocket holes along its top and bottom.
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0xd3, 0xd7, 0xcf));
    p.drawRect(r);
    p.setBrush(kInk);
    for (qreal x = r.left() + 1.5; x < r.right() - 1; x += 3) {
        p.drawRect(QRectF(x, r.top() + 1, 1, 1));
        p.drawRect(QRectF(x, r.bottom() - 2, 1, 1));
    }
}

void Plus(QPainter& p) {
    p.setPen(QPen(kPlus, 2));
    p.drawLine(QPointF(12, 9), QPointF(12, 15));
    p.drawLine(QPointF(9, 12), QPointF(15, 12));
}

void Windows(QPainter& p, std::initializer_list<QRectF> rects) {
    for (const QRectF& r : rects) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawRect(r);
        p.setBrush(kAccent);
        p.drawRect(QRectF(r.left(), r.top(), r.width(), 2));
    }
}

void Jaws(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.drawLine(QPointF(2, 4), QPointF(14, 4));
    p.drawLine(QPointF(3, 4), QPointF(3, 12));
    p.drawLine(QPointF(11, 4), QPointF(11, 12));
}

const std::map<QString, Glyph>& Glyphs() {
    static const std::map<QString, Glyph> glyphs = {
        {QStringLiteral("open-play-group"),
         [](QPainter& p) {
             Frame(p, QRectF(1.5, 1.5, 9, 7));
             Frame(p, QRectF(5.5, 7.5, 9, 7));
         }},
        {QStringLiteral("add-video"),
         [](QPainter& p) {
             Frame(p, QRectF(1.5, 2.5, 11, 8));
             Plus(p);
         }},
        {QStringLiteral("add-data"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.drawLine(QPointF(1.5, 1), QPointF(1.5, 11.5));
             p.drawLine(QPointF(1.5, 11.5), QPointF(12, 11.5));
             p.setPen(QPen(kAccent, 1.5));
             p.drawPolyline(QPolygonF({{2, 9}, {5, 5}, {8, 7}, {11, 2}}));
             Plus(p);
         }},
        {QStringLiteral("import-play-project"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(Qt::white);
             p.drawRect(QRectF(5.5, 5.5, 9, 9));
             p.setPen(QPen(kAccent, 2));
             p.drawLine(QPointF(1, 1), QPointF(9, 9));
             p.drawLine(QPointF(9, 9), QPointF(9, 5));
             p.drawLine(QPointF(9, 9), QPointF(5, 9));
         }},
        {QStringLiteral("add-device"),
         [](QPainter& p) {
             // A camera body with its lens, and the plus of the other add commands.
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(0xd3, 0xd7, 0xcf));
             p.drawRect(QRectF(1.5, 3.5, 8, 6));
             p.setBrush(kAccent);
             p.drawEllipse(QRectF(3.5, 4.5, 4, 4));
             Plus(p);
         }},
        {QStringLiteral("data-card"),
         [](QPainter& p) {
             // A plug-in card: its board, the contacts along its edge and a signal on it.
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(0x73, 0xd2, 0x16));
             p.drawRect(QRectF(1.5, 2.5, 13, 9));
             p.setBrush(QColor(0xed, 0xd4, 0x00));
             for (qreal x = 3; x < 14; x += 3)
                 p.drawRect(QRectF(x, 11.5, 1.5, 3));
             p.setPen(QPen(kInk, 1.5));
             p.drawPolyline(QPolygonF({{3, 9}, {6, 5}, {9, 8}, {12, 4}}));
         }},
        {QStringLiteral("add-play-group"),
         [](QPainter& p) {
             Windows(p, {QRectF(1.5, 1.5, 7, 6), QRectF(4.5, 4.5, 7, 6)});
             Plus(p);
         }},
        {QStringLiteral("arrange"),
         [](QPainter& p) {
             Windows(p, {QRectF(0.5, 2.5, 7, 11), QRectF(8.5, 2.5, 7, 11)});
         }},
        {QStringLiteral("auto-arrange"),
         [](QPainter& p) {
             Windows(p, {QRectF(0.5, 2.5, 7, 11), QRectF(8.5, 2.5, 7, 11)});
             p.setPen(QPen(kPlus, 1.5));
             p.drawArc(QRectF(5, 6, 6, 6), 0, 270 * 16);
         }},
        {QStringLiteral("cascade"),
         [](QPainter& p) {
             Windows(p, {QRectF(0.5, 0.5, 9, 8), QRectF(3.5, 3.5, 9, 8), QRectF(6.5, 6.5, 9, 8)});
         }},
        {QStringLiteral("tile-horizontally"),
         [](QPainter& p) {
             Windows(p, {QRectF(0.5, 0.5, 15, 7), QRectF(0.5, 8.5, 15, 7)});
         }},
        {QStringLiteral("tile-vertically"),
         [](QPainter& p) {
             Windows(p, {QRectF(0.5, 0.5, 7, 15), QRectF(8.5, 0.5, 7, 15)});
         }},
        {QStringLiteral("play-backward"),
         [](QPainter& p) {
             p.setPen(Qt::NoPen);
             p.setBrush(kInk);
             p.drawPolygon(QPolygonF({{13, 2}, {13, 14}, {3, 8}}));
         }},
        {QStringLiteral("rewind"),
         [](QPainter& p) {
             // Two triangles to the left, against a bar: back to the start.
             p.setPen(Qt::NoPen);
             p.setBrush(kInk);
             p.drawRect(QRectF(1, 3, 2, 10));
             p.drawPolygon(QPolygonF({{9, 3}, {9, 13}, {3, 8}}));
             p.drawPolygon(QPolygonF({{15, 3}, {15, 13}, {9, 8}}));
         }},
        {QStringLiteral("fast-forward"),
         [](QPainter& p) {
             p.setPen(Qt::NoPen);
             p.setBrush(kInk);
             p.drawPolygon(QPolygonF({{1, 3}, {1, 13}, {7, 8}}));
             p.drawPolygon(QPolygonF({{7, 3}, {7, 13}, {13, 8}}));
             p.drawRect(QRectF(13, 3, 2, 10));
         }},
        {QStringLiteral("pan-mode"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.5));
             p.drawLine(QPointF(8, 1), QPointF(8, 15));
             p.drawLine(QPointF(1, 8), QPointF(15, 8));
             p.setPen(Qt::NoPen);
             p.setBrush(kInk);
             p.drawPolygon(QPolygonF({{8, 0}, {5, 4}, {11, 4}}));
             p.drawPolygon(QPolygonF({{8, 16}, {5, 12}, {11, 12}}));
             p.drawPolygon(QPolygonF({{0, 8}, {4, 5}, {4, 11}}));
             p.drawPolygon(QPolygonF({{16, 8}, {12, 5}, {12, 11}}));
         }},
        {QStringLiteral("reticle"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QRectF(3.5, 3.5, 9, 9));
             p.setPen(QPen(QColor(0xcc, 0, 0), 1));
             p.drawLine(QPointF(8, 0), QPointF(8, 16));
             p.drawLine(QPointF(0, 8), QPointF(16, 8));
         }},
        {QStringLiteral("rulers"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(0xfc, 0xe9, 0x4f));
             p.drawRect(QRectF(0.5, 0.5, 15, 4));
             p.drawRect(QRectF(0.5, 0.5, 4, 15));
             for (int i = 6; i < 16; i += 3) {
                 p.drawLine(QPointF(i + 0.5, 1), QPointF(i + 0.5, 3));
                 p.drawLine(QPointF(1, i + 0.5), QPointF(3, i + 0.5));
             }
         }},
        {QStringLiteral("scale-calibration"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.5));
             p.drawLine(QPointF(2, 8), QPointF(14, 8));
             p.drawLine(QPointF(2, 4), QPointF(2, 12));
             p.drawLine(QPointF(14, 4), QPointF(14, 12));
         }},
        {QStringLiteral("caliper"), [](QPainter& p) { Jaws(p); }},
        {QStringLiteral("velocity-caliper"),
         [](QPainter& p) {
             Jaws(p);
             p.setPen(QPen(kAccent, 1.5));
             p.drawLine(QPointF(4, 13), QPointF(14, 13));
             p.drawLine(QPointF(14, 13), QPointF(11, 10.5));
         }},
        {QStringLiteral("goto-note"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(0xfc, 0xe9, 0x4f));
             p.drawRect(QRectF(1.5, 1.5, 10, 10));
             p.setPen(QPen(kAccent, 2));
             p.drawLine(QPointF(7, 13), QPointF(14, 13));
             p.drawLine(QPointF(14, 13), QPointF(11, 10));
         }},
        {QStringLiteral("frame-slider"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 2));
             p.drawLine(QPointF(1, 8), QPointF(15, 8));
             p.setPen(QPen(kInk, 1));
             p.setBrush(kAccent);
             p.drawRect(QRectF(6.5, 3.5, 3, 9));
         }},
        {QStringLiteral("video-information"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(Qt::white);
             p.drawRect(QRectF(1.5, 1.5, 13, 13));
             p.setPen(QPen(kAccent, 2));
             p.drawLine(QPointF(8, 7), QPointF(8, 12));
             p.drawPoint(QPointF(8, 4));
         }},
        {QStringLiteral("measurement-point"),
         [](QPainter& p) {
             p.setPen(QPen(kAccent, 1.5));
             p.drawLine(QPointF(3, 3), QPointF(13, 13));
             p.drawLine(QPointF(13, 3), QPointF(3, 13));
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(0xcc, 0, 0));
             p.drawEllipse(QRectF(6, 6, 4, 4));
         }},
    };
    return glyphs;
}

// Draws the glyph at whatever size the toolbar asks for.
class GlyphEngine : public QIconEngine {
public:
    explicit GlyphEngine(Glyph glyph) : m_glyph(std::move(glyph)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.4);
        m_glyph(*painter);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new GlyphEngine(m_glyph); }

private:
    Glyph m_glyph;
};

}  // namespace

QIcon CProgramIcons::Draw(const QString& name) {
    static const QString prefix = QStringLiteral("reelmark-");
    if (!name.startsWith(prefix))
        return QIcon();
    const auto it = Glyphs().find(name.mid(prefix.size()));
    return it == Glyphs().end() ? QIcon() : QIcon(new GlyphEngine(it->second));
}
