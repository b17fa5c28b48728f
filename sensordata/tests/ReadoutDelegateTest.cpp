#include "sensordata/ReadoutDelegate.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>
#include <QStyledItemDelegate>

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

}  // namespace
