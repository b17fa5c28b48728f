#include "sensordata/ReadoutDelegate.h"

#include "platform/framework/PaintClip.h"

#include <QApplication>
#include <QListView>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Texts of a read-out seldom repeat for long: past this many the shaped texts start afresh.
constexpr int kMaxShaped = 512;
// The characters texts are put together from, and what is known of a pair of them.
constexpr size_t kLatin1 = 256;
constexpr qint8 kUnknown = 0;
constexpr qint8 kComposes = 1;
constexpr qint8 kApart = -1;
// What a drawn glyph may show beyond the ink of its outline (smoothing, hinting).
constexpr double kInkMargin = 2.0;

}  // namespace

int CReadoutDelegate::TextMargin(const QWidget* view) {
    const QStyle* style = view ? view->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
}

const CReadoutDelegate::Shaped& CReadoutDelegate::Shape(const QString& text,
                                                        const QFont& font) const {
    if (font != m_font) {
        m_rowExtra = QSize(-1, -1);
        m_shaped.clear();
        m_glyphs.fill(Glyph());
        m_pairs.assign(m_pairs.size(), kUnknown);
        m_inks.clear();
        m_rawFont = QRawFont();
        m_font = font;
    } else if (m_shaped.size() >= kMaxShaped) {
        m_shaped.clear();
    }
    auto found = m_shaped.find(text);
    if (found == m_shaped.end()) {
        Shaped shaped;
        if (!Compose(text, font, &shaped)) {
            shaped = ShapeWhole(text, font);
            shaped.ink = InkOf(shaped);
            ++m_shapedTexts;
        }
        found = m_shaped.insert(text, shaped);
    }
    return *found;
}

CReadoutDelegate::Shaped CReadoutDelegate::ShapeWhole(const QString& text, const QFont& font,
                                                      double* advance) const {
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    Shaped shaped;
    shaped.width = line.isValid() ? line.naturalTextWidth() : 0.0;
    shaped.runs = layout.glyphRuns();
    if (advance)
        *advance = line.isValid() ? line.cursorToX(static_cast<int>(text.size())) : 0.0;
    return shaped;
}

const CReadoutDelegate::Glyph& CReadoutDelegate::GlyphOf(char16_t c, const QFont& font) const {
    Glyph& glyph = m_glyphs[c];
    if (glyph.known)
        return glyph;
    glyph.known = true;
    const Shaped alone = ShapeWhole(QString(QChar(c)), font, &glyph.advance);
    if (alone.runs.size() == 1 && alone.runs.front().glyphIndexes().size() == 1) {
        const QGlyphRun& run = alone.runs.front();
        // Every composed run is drawn in one font: the first character's.
        if (!m_rawFont.isValid())
            m_rawFont = run.rawFont();
        glyph.usable = run.rawFont() == m_rawFont && run.flags() == QGlyphRun::GlyphRunFlags();
        glyph.index = run.glyphIndexes().front();
        glyph.position = run.positions().front();
        glyph.width = alone.width;
        if (glyph.usable)
            glyph.ink = Ink(glyph.index).translated(glyph.position);
    }
    return glyph;
}

bool CReadoutDelegate::PairComposes(char16_t a, char16_t b, const QFont& font) const {
    if (m_pairs.empty())
        m_pairs.assign(kLatin1 * kLatin1, kUnknown);
    qint8& known = m_pairs[size_t(a) * kLatin1 + b];
    if (known != kUnknown)
        return known == kComposes;
    const Glyph& first = GlyphOf(a, font);
    const Glyph& second = GlyphOf(b, font);
    const QChar pair[] = {QChar(a), QChar(b)};
    const Shaped both = ShapeWhole(QString(pair, 2), font);
    bool same = first.usable && second.usable && both.runs.size() == 1;
    if (same) {
        const QGlyphRun& run = both.runs.front();
        same = run.rawFont() == m_rawFont && run.flags() == QGlyphRun::GlyphRunFlags() &&
               run.glyphIndexes() == QList<quint32>({first.index, second.index}) &&
               run.positions() == QList<QPointF>({first.position,
                                                  second.position + QPointF(first.advance, 0.0)}) &&
               both.width == first.advance + second.width;
    }
    known = same ? kComposes : kApart;
    return same;
}

bool CReadoutDelegate::Compose(const QString& text, const QFont& font, Shaped* shaped) const {
    // Lines, underlines and the like are drawn with the runs; characters outside Latin-1 may
    // join, reorder or come from other fonts.
    if (text.isEmpty() || font.underline() || font.overline() || font.strikeOut())
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0) || u == 0xAD || u > 0xFF)
            return false;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!GlyphOf(text[i].unicode(), font).usable ||
            (i > 0 && !PairComposes(text[i - 1].unicode(), text[i].unicode(), font)))
            return false;
    }
    QList<quint32> indexes;
    QList<QPointF> positions;
    indexes.reserve(text.size());
    positions.reserve(text.size());
    double x = 0.0;
    QRectF ink;
    for (const QChar c : text) {
        const Glyph& glyph = m_glyphs[c.unicode()];
        indexes.push_back(glyph.index);
        positions.push_back(glyph.position + QPointF(x, 0.0));
        ink |= glyph.ink.translated(x, 0.0);
        x += glyph.advance;
    }
    const Glyph& last = m_glyphs[text.back().unicode()];
    QGlyphRun run;
    run.setRawFont(m_rawFont);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    shaped->runs = {run};
    shaped->width = x - last.advance + last.width;
    shaped->ink = ink;
    return true;
}

CReadoutDelegate::Span CReadoutDelegate::ChangedSpan(const QString& before, const QString& after,
                                                     const QFont& font, double* widthBefore,
                                                     double* widthAfter) const {
    constexpr Span kUnknown{0.0, std::numeric_limits<double>::max()};
    // Copies: shaping the second text may drop the first from the cache.
    const Shaped oldShaped = Shape(before, font);
    const Shaped& nowShaped = Shape(after, font);
    if (widthBefore)
        *widthBefore = oldShaped.width;
    if (widthAfter)
        *widthAfter = nowShaped.width;
    const QList<QGlyphRun>& old = oldShaped.runs;
    const QList<QGlyphRun> now = nowShaped.runs;
    // Runs of the composed texts' font only: the ink of their glyphs is known.
    if (old.size() != 1 || now.size() != 1 || !(old.front().rawFont() == m_rawFont) ||
        !(now.front().rawFont() == m_rawFont) || old.front().flags() != now.front().flags())
        return kUnknown;
    const QList<quint32> oldGlyphs = old.front().glyphIndexes();
    const QList<quint32> newGlyphs = now.front().glyphIndexes();
    const QList<QPointF> oldAt = old.front().positions();
    const QList<QPointF> newAt = now.front().positions();
    const qsizetype oldCount = oldGlyphs.size();
    const qsizetype newCount = newGlyphs.size();
    // The glyphs that stay at their places: a head from the start and a tail from the end.
    qsizetype head = 0;
    while (head < oldCount && head < newCount && oldGlyphs[head] == newGlyphs[head] &&
           oldAt[head] == newAt[head])
        ++head;
    qsizetype tail = 0;
    while (tail < oldCount - head && tail < newCount - head &&
           oldGlyphs[oldCount - 1 - tail] == newGlyphs[newCount - 1 - tail] &&
           oldAt[oldCount - 1 - tail] == newAt[newCount - 1 - tail])
        ++tail;
    if (head == oldCount && head == newCount)
        return kUnknown;
    Span span = kUnknown;
    // Left of the ink of the glyphs from the head's end on, old and new, the row stays as it
    // was; right of the ink of those before the tail too.
    double left = std::numeric_limits<double>::max();
    double right = std::numeric_limits<double>::lowest();
    for (const QGlyphRun* run : {&old.front(), &now.front()}) {
        const QList<quint32> glyphs = run->glyphIndexes();
        const QList<QPointF> at = run->positions();
        for (qsizetype j = head; j < glyphs.size(); ++j) {
            const QRectF ink = Ink(glyphs[j]);
            left = std::min(left, at[j].x() + ink.left());
            if (j < glyphs.size() - tail)
                right = std::max(right, at[j].x() + ink.right());
        }
    }
    if (head > 0 && left != std::numeric_limits<double>::max())
        span.left = std::max(0.0, left - kInkMargin);
    if (tail > 0 && right != std::numeric_limits<double>::lowest())
        span.right = std::max(span.left, right + kInkMargin);
    return span;
}

QRectF CReadoutDelegate::Ink(quint32 glyph) const {
    auto found = m_inks.find(glyph);
    if (found == m_inks.end())
        found = m_inks.insert(glyph, m_rawFont.boundingRect(glyph));
    return *found;
}

QRectF CReadoutDelegate::InkOf(const Shaped& shaped) const {
    QRectF ink;
    for (const QGlyphRun& run : shaped.runs) {
        if (!m_rawFont.isValid() || !(run.rawFont() == m_rawFont))
            return QRectF();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> at = run.positions();
        for (qsizetype j = 0; j < glyphs.size(); ++j)
            ink |= Ink(glyphs[j]).translated(at[j]);
    }
    return ink;
}

QList<QGlyphRun> CReadoutDelegate::GlyphRuns(const QString& text, const QFont& font) const {
    return Shape(text, font).runs;
}

double CReadoutDelegate::TextWidth(const QString& text, const QFont& font) const {
    return Shape(text, font).width;
}

bool CReadoutDelegate::IsPlain(const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (option.state & (QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver))
        return false;
    if (option.direction != Qt::LeftToRight)
        return false;
    const QVariant display = index.data(Qt::DisplayRole);
    if (display.userType() != QMetaType::QString || display.toString().contains(QLatin1Char('\n')))
        return false;
    for (int role : {Qt::DecorationRole, Qt::CheckStateRole, Qt::BackgroundRole, Qt::ForegroundRole,
                     Qt::FontRole, Qt::TextAlignmentRole}) {
        if (index.data(role).isValid())
            return false;
    }
    return true;
}

QSize CReadoutDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    if (!IsPlain(option, index))
        return QStyledItemDelegate::sizeHint(option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    const double width = TextWidth(text, option.font);
    if (m_rowExtra.width() < 0) {
        // The style's size of this row tells what it adds to the text of any plain row.
        const QSize styled = QStyledItemDelegate::sizeHint(option, index);
        m_rowExtra = QSize(styled.width() - static_cast<int>(std::ceil(width)), styled.height());
    }
    return QSize(static_cast<int>(std::ceil(width)) + m_rowExtra.width(), m_rowExtra.height());
}

void CReadoutDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const int margin = TextMargin(option.widget);
    const QString text =
        IsPlain(option, index) ? index.data(Qt::DisplayRole).toString() : QString();
    const Shaped* shaped = text.isNull() ? nullptr : &Shape(text, option.font);
    // Text wider than its row is cut short by the style.
    const bool plain = shaped && shaped->width <= option.rect.width() - 2 * margin;
    if (const auto* view = qobject_cast<const QListView*>(option.widget); view && !m_paintingRows) {
        RowPaint& row = m_rowPaints[index.row()];
        row.option = option;
        row.scroll =
            QPoint(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
        row.viewport = view->viewport()->size();
        row.plain = plain;
    }
    if (!plain) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QPalette::ColorGroup group =
        option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(option.state & QStyle::State_Active))
        group = QPalette::Inactive;
    const int lineHeight = QFontMetrics(option.font).height();
    const QPointF origin(option.rect.left() + margin,
                         option.rect.top() + (option.rect.height() - lineHeight) / 2);
    // Rows that the list paints only because they lie between rows that changed keep their
    // glyphs as they are.
    if (!shaped->ink.isNull() &&
        PaintsNothingOf(*painter, shaped->ink.translated(origin).adjusted(-kInkMargin, -kInkMargin,
                                                                          kInkMargin, kInkMargin)))
        return;
    const QPen pen = painter->pen();
    painter->setPen(option.palette.color(group, QPalette::Text));
    // A row repainted where its glyphs changed leaves out the glyphs whose ink lies wholly
    // left or right of that.
    const Span painted = PaintedSpan(painter);
    const double left = painted.left - origin.x();
    const double right = painted.right - origin.x();
    for (const QGlyphRun& run : shaped->runs) {
        const QList<QPointF> positions = run.positions();
        const QList<quint32> glyphs = run.glyphIndexes();
        qsizetype from = 0;
        qsizetype to = positions.size();
        if (run.rawFont() == m_rawFont) {
            while (from < to && positions[from].x() + Ink(glyphs[from]).right() + kInkMargin < left)
                ++from;
            while (to > from &&
                   positions[to - 1].x() + Ink(glyphs[to - 1]).left() - kInkMargin > right)
                --to;
        }
        if (from == 0 && to == positions.size()) {
            painter->drawGlyphRun(origin, run);
        } else if (from < to) {
            QGlyphRun part = run;
            part.setGlyphIndexes(glyphs.mid(from, to - from));
            part.setPositions(positions.mid(from, to - from));
            painter->drawGlyphRun(origin, part);
        }
    }
    painter->setPen(pen);
}

void CReadoutDelegate::RepaintRows(QListView* view, const QRegion& region) {
    if (view != m_view) {
        if (m_view)
            m_view->viewport()->removeEventFilter(this);
        m_view = view;
        m_pending = QRegion();
        m_rowPaints.clear();
        view->viewport()->installEventFilter(this);
        // Rows that come, go or change with the view told lie elsewhere or look otherwise.
        QAbstractItemModel* model = view->model();
        const auto forget = [this] { m_rowPaints.clear(); };
        connect(model, &QAbstractItemModel::modelReset, this, forget);
        connect(model, &QAbstractItemModel::layoutChanged, this, forget);
        connect(model, &QAbstractItemModel::rowsInserted, this, forget);
        connect(model, &QAbstractItemModel::rowsRemoved, this, forget);
        connect(model, &QAbstractItemModel::rowsMoved, this, forget);
        connect(model, &QAbstractItemModel::dataChanged, this, forget);
    }
    m_pending += region;
    view->viewport()->update(region);
}

bool CReadoutDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint || !m_view || watched != m_view->viewport() ||
        m_pending.isEmpty())
        return false;
    const QRegion region = static_cast<QPaintEvent*>(event)->region();
    const bool painted = PaintPendingRows(m_view->viewport(), region);
    m_pending = QRegion();
    return painted;
}

bool CReadoutDelegate::PaintPendingRows(QWidget* viewport, const QRegion& region) {
    QListView& view = *m_view;
    // Nothing but the rows to paint: no other part to repaint, no alternate row colours, no
    // drop marks or selection bands.
    if (!(region - m_pending).isEmpty() || view.alternatingRowColors() ||
        view.dragDropMode() != QAbstractItemView::NoDragDrop ||
        (view.selectionMode() != QAbstractItemView::SingleSelection &&
         view.selectionMode() != QAbstractItemView::NoSelection) ||
        view.itemDelegate() != this)
        return false;
    const QPoint scroll(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
    const QSize size = viewport->size();
    const int rows = view.model() ? view.model()->rowCount(view.rootIndex()) : 0;
    // The view paints every row that meets the region's bounds: each of them as the view last
    // painted it, drawn from its glyphs then. What the view painted at another scroll or size
    // is of no more use.
    const QRect bounds = region.boundingRect();
    std::vector<std::pair<int, const RowPaint*>> painting;
    QRegion covered;
    m_rowPaints.removeIf([&scroll, &size](const auto& known) {
        return known.value().scroll != scroll || known.value().viewport != size;
    });
    for (auto it = m_rowPaints.cbegin(); it != m_rowPaints.cend(); ++it) {
        if (!it->option.rect.intersects(bounds))
            continue;
        if (it.key() >= rows || !it->plain || view.isRowHidden(it.key()))
            return false;
        painting.emplace_back(it.key(), &*it);
        covered += it->option.rect;
    }
    // A row not known would be left out.
    if (!(QRegion(bounds) - covered).isEmpty())
        return false;
    std::sort(painting.begin(), painting.end());
    QPainter painter(viewport);
    m_paintingRows = true;
    for (const auto& [row, known] : painting)
        paint(&painter, known->option, view.model()->index(row, 0, view.rootIndex()));
    m_paintingRows = false;
    ++m_rowRepaints;
    return true;
}

CReadoutDelegate::Span CReadoutDelegate::PaintedSpan(const QPainter* painter) {
    constexpr Span kAll{-std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
    const QPaintEngine* engine = painter->paintEngine();
    const QTransform& device = painter->deviceTransform();
    if (!engine || device.type() > QTransform::TxTranslate)
        return kAll;
    const QRegion system = engine->systemClip();
    Span span = kAll;
    if (!system.isEmpty()) {
        const QRect bounds = system.boundingRect();
        span = {bounds.left() - device.dx(), bounds.right() + 1 - device.dx()};
    }
    if (painter->hasClipping()) {
        const QRectF clip = painter->clipBoundingRect();
        span = {std::max(span.left, clip.left()), std::min(span.right, clip.right())};
    }
    return span;
}
