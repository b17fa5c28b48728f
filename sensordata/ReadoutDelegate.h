#pragma once

// CReadoutDelegate: paints the rows of a read-out list whose texts are rewritten many times a
// second. A plain row (no icon, box, colours or font of its own, neither selected nor current,
// one line that fits the row) is drawn from glyphs shaped once per text, and measured the same
// way; any other row is painted and measured by the style as before. Both look the same.
// User-interface thread only.

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QSize>
#include <QStyledItemDelegate>

class CReadoutDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The width that text takes in font.
    double TextWidth(const QString& text, const QFont& font) const;
    // The room left and right of a row's text in view.
    static int TextMargin(const QWidget* view);

private:
    struct Shaped {
        QList<QGlyphRun> runs;
        double width = 0.0;
    };
    const Shaped& Shape(const QString& text, const QFont& font) const;
    static bool IsPlain(const QStyleOptionViewItem& option, const QModelIndex& index);

    mutable QHash<QString, Shaped> m_shaped;
    mutable QFont m_font;
    // What the style adds to a plain row's text width, and its height, in m_font.
    mutable QSize m_rowExtra{-1, -1};
};
