#pragma once

// CCachedPanelStyle: the style of a read-out field whose text is rewritten many times a second.
// The field's frame and background are drawn by the application's style once for each look and
// size and copied at every repaint after; everything else is the application's style's. The
// field looks the same.

#include <QHash>
#include <QImage>
#include <QProxyStyle>
#include <QSize>

class QWidget;

class CCachedPanelStyle : public QProxyStyle {
public:
    // Gives field a style of this kind, which goes with the field.
    static void Install(QWidget* field);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    // How many panels were drawn by the application's style (for tests).
    int DrawnPanelCount() const { return m_drawn; }

private:
    // What a panel's look depends on.
    struct Look {
        QSize size;
        quint64 state = 0;
        qint64 palette = 0;
        int direction = 0;
        int lineWidth = 0;
        int midLineWidth = 0;
        int features = 0;
        int shape = 0;
        bool operator==(const Look&) const = default;
        friend size_t qHash(const Look& look, size_t seed = 0) {
            return qHashMulti(seed, look.size.width(), look.size.height(), look.state, look.palette,
                              look.direction, look.lineWidth, look.midLineWidth, look.features,
                              look.shape);
        }
    };
    mutable QHash<Look, QImage> m_panels;
    mutable int m_drawn = 0;
};
