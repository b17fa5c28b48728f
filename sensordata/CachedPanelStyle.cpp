#include "sensordata/CachedPanelStyle.h"

#include <QPainter>
#include <QStyleOption>
#include <QWidget>

namespace {

// A field's looks seldom change: past this many the panels start afresh.
constexpr int kMaxPanels = 16;

}  // namespace

void CCachedPanelStyle::Install(QWidget* field) {
    if (!field)
        return;
    auto* style = new CCachedPanelStyle;
    style->setParent(field);
    field->setStyle(style);
}

void CCachedPanelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                      QPainter* painter, const QWidget* widget) const {
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    // Copied only where the copy lands on whole pixels as the drawing would.
    if (element != PE_PanelLineEdit || !frame || option->rect.isEmpty() ||
        painter->device()->devicePixelRatio() != 1.0 ||
        painter->transform().type() > QTransform::TxTranslate || painter->opacity() != 1.0 ||
        painter->compositionMode() != QPainter::CompositionMode_SourceOver) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const Look key{option->rect.size(),
                   quint64(option->state.toInt()),
                   option->palette.cacheKey(),
                   int(option->direction),
                   frame->lineWidth,
                   frame->midLineWidth,
                   int(frame->features.toInt()),
                   int(frame->frameShape)};
    auto found = m_panels.find(key);
    if (found == m_panels.end()) {
        if (m_panels.size() >= kMaxPanels)
            m_panels.clear();
        // Drawn alone on a clear image: copied over what lies below, it blends as drawn there.
        QImage panel(option->rect.size(), QImage::Format_ARGB32_Premultiplied);
        panel.fill(Qt::transparent);
        {
            QPainter p(&panel);
            QStyleOptionFrame at = *frame;
            at.rect = QRect(QPoint(0, 0), option->rect.size());
            QProxyStyle::drawPrimitive(element, &at, &p, widget);
        }
        ++m_drawn;
        found = m_panels.insert(key, panel);
    }
    painter->drawImage(option->rect.topLeft(), *found);
}
