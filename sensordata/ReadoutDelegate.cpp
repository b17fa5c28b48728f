#include "sensordata/ReadoutDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

#include <cmath>

namespace {

// Texts of a read-out seldom repeat for long: past this many the shaped texts start afresh.
constexpr int kMaxShaped = 512;

}  // namespace

int CReadoutDelegate::TextMargin(const QWidget* view) {
    const QStyle* style = view ? view->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
}

const CReadoutDelegate::Shaped& CReadoutDelegate::Shape(const QString& text,
                                                        const QFont& font) const {
    if (font != m_font || m_shaped.size() >= kMaxShaped) {
        if (font != m_font)
            m_rowExtra = QSize(-1, -1);
        m_shaped.clear();
        m_font = font;
    }
    auto found = m_shaped.find(text);
    if (found == m_shaped.end()) {
        QTextLayout layout(text, font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        Shaped shaped;
        shaped.width = line.isValid() ? line.naturalTextWidth() : 0.0;
        shaped.runs = layout.glyphRuns();
        found = m_shaped.insert(text, shaped);
    }
    return *found;
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
    if (!shaped || shaped->width > option.rect.width() - 2 * margin) {
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
    const QPen pen = painter->pen();
    painter->setPen(option.palette.color(group, QPalette::Text));
    for (const QGlyphRun& run : shaped->runs)
        painter->drawGlyphRun(origin, run);
    painter->setPen(pen);
}
