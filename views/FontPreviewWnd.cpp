#include "views/FontPreviewWnd.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

namespace {

// Paints the face name centred on the tooltip background.
class PreviewWidget : public QWidget {
public:
    PreviewWidget()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
        setAttribute(Qt::WA_ShowWithoutActivating);
    }
    void SetFace(const QString& face, const QFont& font) {
        m_face = face;
        m_font = font;
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::ToolTipBase));
        p.setPen(palette().color(QPalette::ToolTipText));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        p.setFont(m_font);
        p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_face);
    }

private:
    QString m_face;
    QFont m_font;
};

}  // namespace

CFontPreviewWnd::~CFontPreviewWnd() {
    // The popup was taken over, not made by the window object: it is deleted here.
    delete Detach();
}

BOOL CFontPreviewWnd::Create() {
    if (GetSafeHwnd())
        return TRUE;
    return Attach(new PreviewWidget);
}

void CFontPreviewWnd::ShowFace(int x, int y, const QString& face) {
    auto* widget = static_cast<PreviewWidget*>(GetQWidget());
    if (!widget || face == m_face)
        return;
    m_face = face;
    QFont font(face);
    font.setPixelSize(kFaceHeight);
    const QFontMetrics metrics(font);
    widget->SetFace(face, font);
    widget->setGeometry(x, y, metrics.horizontalAdvance(face) + kPadding,
                        metrics.height() + kPadding);
    widget->show();
    widget->raise();
    widget->repaint();
}
