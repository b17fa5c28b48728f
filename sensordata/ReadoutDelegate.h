#pragma once

// CReadoutDelegate: paints the rows of a read-out list whose texts are rewritten many times a
// second. A plain row (no icon, box, colours or font of its own, neither selected nor current,
// one line that fits the row) is drawn from glyphs shaped once per text, and measured the same
// way; any other row is painted and measured by the style as before. Both look the same.
// A new text of characters whose glyphs were seen before, side by side in every pair it holds,
// is put together from them instead of being shaped again: the values of a read-out differ at
// every step but are made of a few characters. User-interface thread only.

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QRawFont>
#include <QRegion>
#include <QSize>
#include <QStyledItemDelegate>

#include <array>
#include <vector>

class QListView;

class CReadoutDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The width that text takes in font.
    double TextWidth(const QString& text, const QFont& font) const;
    // The glyphs text is drawn with in font, placed from the top left of its line.
    QList<QGlyphRun> GlyphRuns(const QString& text, const QFont& font) const;
    // Where in its line the ink of the glyphs that differ between text before and text after
    // lies, as the left and right end of a stretch: outside it the two look the same. The
    // left end is 0 and the right one the largest double where that is unknown. The texts'
    // widths (TextWidth) come with it where asked for.
    struct Span {
        double left = 0.0;
        double right = 0.0;
    };
    Span ChangedSpan(const QString& before, const QString& after, const QFont& font,
                     double* widthBefore = nullptr, double* widthAfter = nullptr) const;
    // Repaints region of view, whose rows this paints, where rows have new texts. Where
    // every row there looked as it did at the view's last paint of it but for its text, the
    // rows are painted from what that paint knew, without the view measuring and walking every
    // row in between; otherwise the view paints the region as ever.
    void RepaintRows(QListView* view, const QRegion& region);
    // How many repaints of rows went without the view (for tests).
    int RowRepaintCount() const { return m_rowRepaints; }
    // How many texts were shaped as a whole, not put together from known glyphs (for tests).
    int ShapedTextCount() const { return m_shapedTexts; }
    // The room left and right of a row's text in view.
    static int TextMargin(const QWidget* view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Paints the rows of the pending region without the view; false where it cannot.
    bool PaintPendingRows(QWidget* viewport, const QRegion& region);

    struct Shaped {
        QList<QGlyphRun> runs;
        double width = 0.0;
        // Where the ink of all its glyphs lies from the top left of its line; null where
        // unknown (glyphs of other fonts).
        QRectF ink;
    };
    // One character shaped alone: its glyph, where the glyph sits and how far the next
    // character goes on; the width of a text ending in it adds its overhang.
    struct Glyph {
        bool known = false;
        bool usable = false;
        quint32 index = 0;
        QPointF position;
        double advance = 0.0;
        double width = 0.0;
        QRectF ink;  // from its place
    };
    const Shaped& Shape(const QString& text, const QFont& font) const;
    // The text shaped as a whole; advance, when given, is where a character after it goes.
    Shaped ShapeWhole(const QString& text, const QFont& font, double* advance = nullptr) const;
    // The text from the glyphs of its characters; false when one of them or one pair of
    // neighbours does not shape the same on its own (kerning, ligatures, other fonts).
    bool Compose(const QString& text, const QFont& font, Shaped* shaped) const;
    // c and a, b are Latin-1 codes.
    const Glyph& GlyphOf(char16_t c, const QFont& font) const;
    bool PairComposes(char16_t a, char16_t b, const QFont& font) const;
    static bool IsPlain(const QStyleOptionViewItem& option, const QModelIndex& index);
    // Where the ink of a glyph of m_rawFont lies from its place.
    QRectF Ink(quint32 glyph) const;
    // The left and right edge of what painter paints now, in its coordinates.
    static Span PaintedSpan(const QPainter* painter);
    // The ink of shaped's glyphs, or a null rectangle.
    QRectF InkOf(const Shaped& shaped) const;

    mutable QHash<QString, Shaped> m_shaped;
    mutable QFont m_font;
    // What the style adds to a plain row's text width, and its height, in m_font.
    mutable QSize m_rowExtra{-1, -1};
    // The glyphs of single characters and which pairs of them compose, in m_font.
    mutable std::array<Glyph, 256> m_glyphs;  // by Latin-1 code
    mutable std::vector<qint8> m_pairs;       // by both codes, made at first use
    mutable QRawFont m_rawFont;
    mutable QHash<quint32, QRectF> m_inks;  // of glyphs in m_rawFont
    mutable int m_shapedTexts = 0;

    // What the view's last paint of a row gave it, at which scroll and viewport size, and
    // whether the row was drawn from its glyphs.
    struct RowPaint {
        QStyleOptionViewItem option;
        QPoint scroll;
        QSize viewport;
        bool plain = false;
    };
    mutable QHash<int, RowPaint> m_rowPaints;
    QPointer<QListView> m_view;  // whose rows are pending
    QRegion m_pending;
    bool m_paintingRows = false;
    int m_rowRepaints = 0;
};
