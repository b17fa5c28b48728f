#include "sensordata/CachedPanelStyle.h"

#include <gtest/gtest.h>

#include <functional>

#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

namespace {

// Two fields side by side, one drawn by the application's style and one with the copied panel:
// they look the same through changes of text, size, state and colours, and the panel is drawn
// again only when its look changes.
TEST(CachedPanelStyleTest, FieldsLookAsTheStyleDrawsThem) {
    QWidget parent;
    parent.resize(400, 80);
    QLineEdit plain(&parent);
    QLineEdit cached(&parent);
    CCachedPanelStyle::Install(&cached);
    auto* style = dynamic_cast<CCachedPanelStyle*>(cached.style());
    ASSERT_NE(style, nullptr);
    const auto place = [&](QSize size) {
        plain.setGeometry(QRect(QPoint(10, 10), size));
        cached.setGeometry(QRect(QPoint(200, 10), size));
    };
    const auto expectSame = [&] {
        const QImage a = parent.grab(plain.geometry()).toImage();
        const QImage b = parent.grab(cached.geometry()).toImage();
        EXPECT_TRUE(a == b);
    };
    place(QSize(90, 22));
    for (QLineEdit* field : {&plain, &cached})
        field->setReadOnly(true);
    parent.show();

    for (const QString text : {"0", "0.1234", "-15.9876", "12345678901234567890"}) {
        SCOPED_TRACE(text.toStdString());
        plain.setText(text);
        cached.setText(text);
        expectSame();
    }
    // A new text is no new look.
    EXPECT_EQ(style->DrawnPanelCount(), 1);

    const struct {
        const char* change;
        int newLooks;
        std::function<void(QLineEdit*)> apply;
    } changes[] = {
        {"disabled", 1, [](QLineEdit* f) { f->setEnabled(false); }},
        {"enabled again", 0, [](QLineEdit* f) { f->setEnabled(true); }},
        {"base colour", 1,
         [](QLineEdit* f) {
             QPalette palette = f->palette();
             palette.setColor(QPalette::Base, QColor(255, 240, 200));
             f->setPalette(palette);
         }},
        {"frameless", 1, [](QLineEdit* f) { f->setFrame(false); }},
    };
    int drawn = style->DrawnPanelCount();
    for (const auto& change : changes) {
        SCOPED_TRACE(change.change);
        change.apply(&plain);
        change.apply(&cached);
        expectSame();
        drawn += change.newLooks;
        EXPECT_EQ(style->DrawnPanelCount(), drawn);
    }
    cached.setFrame(true);
    plain.setFrame(true);
    place(QSize(140, 30));
    expectSame();
}

}  // namespace
