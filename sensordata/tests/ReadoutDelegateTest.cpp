#include "sensordata/ReadoutDelegate.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <QGlyphRun>
#include <QImage>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QTextLayout>

namespace {

// The same rows drawn by the style and by the read-out painter: plain rows, an empty one, one
// too long for its row (cut short by the style) and a selected one.
TEST(ReadoutDelegateTest, RowsLookAndMeasureAsTheStyleDrawsThem) {
    const QStringList lines = {"Ch5 (Stroke):", "61.0000 mm",
                               "-0.0100 V",     "",
                               "Ch12 (Force):", "a line far too long for its row",
                               "7.0100 V"};
    for (const bool enabled : {true, false}) {
        SCOPED_TRACE(enabled);
        QListWidget list;
        list.resize(110, 160);
        list.addItems(lines);
        list.item(2)->setSelected(true);
        list.setEnabled(enabled);
        const auto render = [&list] {
            QImage image(list.size(), QImage::Format_RGB32);
            image.fill(Qt::white);
            list.render(&image);
            return image;
        };
        const auto sizes = [&list] {
            std::vector<QSize> out;
            for (int row = 0; row < list.count(); ++row)
                out.push_back(list.sizeHintForIndex(list.model()->index(row, 0)));
            return out;
        };
        list.setItemDelegate(new QStyledItemDelegate(&list));
        const QImage styled = render();
        const std::vector<QSize> styledSizes = sizes();
        list.setItemDelegate(new CReadoutDelegate(&list));
        EXPECT_EQ(sizes(), styledSizes);
        EXPECT_TRUE(render() == styled);
    }
}

// A text put together from glyphs seen before is the text shaped whole: the same glyphs at the
// same places and the same width, also where neighbours kern or join, and in the font asked
// for after another one was used.
TEST(ReadoutDelegateTest, ComposedTextsAreTheShapedTexts) {
    const auto expectShapedWhole = [](const CReadoutDelegate& delegate, const QString& text,
                                      const QFont& font) {
        SCOPED_TRACE(text.toStdString());
        QTextLayout layout(text, font);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> expected = layout.glyphRuns();
        const QList<QGlyphRun> runs = delegate.GlyphRuns(text, font);
        ASSERT_EQ(runs.size(), expected.size());
        for (qsizetype i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].glyphIndexes(), expected[i].glyphIndexes());
            EXPECT_EQ(runs[i].positions(), expected[i].positions());
            EXPECT_TRUE(runs[i].rawFont() == expected[i].rawFont());
        }
        EXPECT_EQ(delegate.TextWidth(text, font), line.naturalTextWidth());
    };
    QFont font = QApplication::font();
    CReadoutDelegate delegate;
    // Among them pairs that kern (AV, Te) or join (fi), and glyphs that overhang (V).
    const QStringList texts = {
        "0123456789", "-.V AeTfi", "0.4012 V", "-15.9876 V",       "AV",           "Te",
        "fi",         "TeAV 10",   "9.8765 V", "x\u00b0C \u00b5m", "\u00b5x\u00b0"};
    for (const QString& text : texts)
        expectShapedWhole(delegate, text, font);
    // New values of known characters are not shaped again.
    const int shaped = delegate.ShapedTextCount();
    for (const QString text : {"3.2109 V", "-0.0001 V", "98.7654 V"})
        expectShapedWhole(delegate, text, font);
    EXPECT_EQ(delegate.ShapedTextCount(), shaped);
    // Another font: nothing of the first is used.
    font.setPointSizeF(font.pointSizeF() * 2.5);
    for (const QString& text : texts)
        expectShapedWhole(delegate, text, font);
    font.setUnderline(true);
    expectShapedWhole(delegate, "0.4012 V", font);
}

}  // namespace
