#pragma once

// CCachedPanelStyle: the style of a read-out field whose text is rewritten many times a second.
// The field's frame and background are drawn by the application's style once for each look and
// size and copied at every repaint after; everything else is the application's style's. The
// field looks the same.

#include <QHash>
#include <QImage>
#include <QProxyStyle>

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
    mutable QHash<QString, QImage> m_panels;
    mutable int m_drawn = 0;
};
