#include "sensordata/StyleListCtrl.h"

#include "platform/framework/DC.h"
#include "platform/framework/ResourceChain.h"
#include "views/DrawMarker.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>

IMPLEMENT_DYNAMIC(CStyleListCtrl, CListCtrl)

namespace {

// The numbers after the leading word of a cell's text; missing ones are 0.
std::vector<int> Numbers(const QString& text, int count) {
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<int> numbers(static_cast<size_t>(count), 0);
    for (int i = 0; i < count && i + 1 < parts.size(); ++i)
        numbers[static_cast<size_t>(i)] = parts[i + 1].toInt();
    return numbers;
}

QColor FromColorRef(int colour) {
    const auto c = static_cast<COLORREF>(colour);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

class StyleCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRect cell = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        painter->save();
        painter->fillRect(cell, selected ? palette.highlight() : QBrush(Qt::white));
        const QString text = index.data(Qt::DisplayRole).toString();
        if (text.startsWith(QLatin1String("fooColor"))) {
            const std::vector<int> n = Numbers(text, 1);
            painter->fillRect(cell.adjusted(2, 2, -2, -2), FromColorRef(n[0]));
        } else if (text.startsWith(QLatin1String("fooShape"))) {
            const std::vector<int> n = Numbers(text, 4);
            QImage image(cell.size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            {
                CDC dc(&image);
                DrawMarker(&dc, cell.width() / 2, cell.height() / 2, static_cast<COLORREF>(n[0]),
                           n[1], n[2], n[3]);
            }
            painter->drawImage(cell.topLeft(), image);
        } else if (text.startsWith(QLatin1String("fooIcon"))) {
            const std::vector<int> n = Numbers(text, 3);
            QImage icon = CResourceChain::LoadIcon(static_cast<UINT>(n[0]));
            if (!icon.isNull() && n[1] > 0 && n[2] > 0)
                icon = icon.scaled(n[1], n[2]);
            if (!icon.isNull())
                painter->drawImage(cell.topLeft() + QPoint(2, (cell.height() - icon.height()) / 2),
                                   icon);
        } else {
            painter->setPen(selected ? palette.highlightedText().color() : QColor(Qt::black));
            const QRect area = cell.adjusted(3, 0, -3, 0);
            painter->drawText(area, Qt::AlignVCenter | Qt::AlignLeft,
                              option.fontMetrics.elidedText(text, Qt::ElideRight, area.width()));
        }
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.rect = cell;
            focus.state = option.state;
            focus.backgroundColor = selected ? palette.highlight().color() : QColor(Qt::white);
            QStyle* style = option.widget ? option.widget->style() : QApplication::style();
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
        }
        painter->restore();
    }
};

}  // namespace

void CStyleListCtrl::PreSubclassWindow() {
    CListCtrl::PreSubclassWindow();
    if (auto* tree = qobject_cast<QTreeWidget*>(GetQWidget()))
        tree->setItemDelegate(new StyleCellDelegate(tree));
}

int CStyleListCtrl::GetSelectedIndex() const {
    return GetNextItem(-1, LVNI_SELECTED);
}

void CStyleListCtrl::SelectOnly(int row) {
    for (int i = 0; i < GetItemCount(); ++i) {
        const UINT wanted = i == row ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
        if (GetItemState(i, LVIS_SELECTED | LVIS_FOCUSED) != wanted)
            SetItemState(i, wanted, LVIS_SELECTED | LVIS_FOCUSED);
    }
}
