#include "platform/framework/ControlWidgets.h"

#include "platform/framework/Button.h"
#include "platform/framework/DC.h"
#include "platform/framework/DrawItem.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/ListCtrl.h"
#include "platform/framework/TreeCtrl.h"
#include "platform/framework/Wnd.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QRadioButton>
#include <QStyleOption>
#include <QStyledItemDelegate>

namespace {

constexpr const char* kStyleProperty = "rmStyle";

CWnd* ParentWindow(QWidget* control) {
    return control ? CWnd::FromWidget(control->parentWidget()) : nullptr;
}

// A check box or radio button that only the program changes (BS_CHECKBOX, BS_RADIOBUTTON,
// BS_3STATE): a click is reported but does not toggle it.
template <typename Base>
class ManualButton : public Base {
public:
    using Base::Base;

protected:
    void nextCheckState() override {}
};

// Draws the entries of an owner-drawn combo box through their owner.
class OwnerDrawDelegate : public QStyledItemDelegate {
public:
    explicit OwnerDrawDelegate(QComboBox* combo) : QStyledItemDelegate(combo), m_combo(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QImage image(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(option.palette.base().color());
        {
            CDC dc(&image);
            DRAWITEMSTRUCT dis;
            dis.CtlType = ODT_COMBOBOX;
            dis.itemID = static_cast<UINT>(index.row());
            dis.itemState = (option.state & QStyle::State_Selected) ? ODS_SELECTED : 0;
            dis.pDC = &dc;
            dis.rcItem = CRect(0, 0, image.width(), image.height());
            dis.itemData = index.data(Qt::UserRole).value<qulonglong>();
            SendDrawItem(m_combo, dis);
        }
        painter->drawImage(option.rect.topLeft(), image);
    }

private:
    QComboBox* m_combo;
};

QWidget* MakeButton(const DialogItemTemplate& item, QWidget* parent) {
    switch (item.style & BS_TYPEMASK) {
        case BS_CHECKBOX:
            return new ManualButton<QCheckBox>(item.text, parent);
        case BS_3STATE: {
            auto* box = new ManualButton<QCheckBox>(item.text, parent);
            box->setTristate(true);
            return box;
        }
        case BS_AUTOCHECKBOX:
            return new QCheckBox(item.text, parent);
        case BS_AUTO3STATE: {
            auto* box = new QCheckBox(item.text, parent);
            box->setTristate(true);
            return box;
        }
        case BS_RADIOBUTTON:
            return new ManualButton<QRadioButton>(item.text, parent);
        case BS_AUTORADIOBUTTON:
            return new QRadioButton(item.text, parent);
        case BS_GROUPBOX: {
            // A group box frames the controls inside it and takes no click: the mouse reaches
            // whatever lies under it, whatever the template's order.
            auto* box = new QGroupBox(item.text, parent);
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            return box;
        }
        case BS_OWNERDRAW:
            return new RmOwnerDrawButton(item.text, parent);
        default: {
            auto* button = new QPushButton(item.text, parent);
            button->setDefault((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
            return button;
        }
    }
}

QWidget* MakeControl(const DialogItemTemplate& item, QWidget* parent) {
    switch (item.type) {
        case DlgControl::Button: {
            QWidget* w = MakeButton(item, parent);
            if (auto* button = dynamic_cast<QAbstractButton*>(w)) {
                QObject::connect(button, &QAbstractButton::clicked, button,
                                 [button] { SendControlCommand(button, BN_CLICKED); });
            }
            return w;
        }
        case DlgControl::Static:
            return new QLabel(item.text, parent);
        case DlgControl::Edit: {
            if (item.style & ES_MULTILINE) {
                auto* text = new RmMultiLineEdit(parent);
                text->setPlainText(item.text);
                text->setReadOnly((item.style & ES_READONLY) != 0);
                QObject::connect(text, &QPlainTextEdit::textChanged, text,
                                 [text] { SendControlCommand(text, EN_CHANGE); });
                return text;
            }
            auto* edit = new RmEdit(parent);
            edit->setText(item.text);
            edit->setReadOnly((item.style & ES_READONLY) != 0);
            if (item.style & ES_PASSWORD)
                edit->setEchoMode(QLineEdit::Password);
            QObject::connect(edit, &QLineEdit::textChanged, edit,
                             [edit] { SendControlCommand(edit, EN_CHANGE); });
            return edit;
        }
        case DlgControl::ComboBox:
            return new RmComboBox(parent, item.style);
        case DlgControl::ListBox: {
            auto* list = new RmListBox(parent);
            list->setSortingEnabled((item.style & LBS_SORT) != 0);
            if (item.style & LBS_EXTENDEDSEL)
                list->setSelectionMode(QAbstractItemView::ExtendedSelection);
            if (item.style & LBS_NOTIFY) {
                QObject::connect(list, &QListWidget::currentRowChanged, list, [list] {
                    if (!list->m_quiet)
                        SendControlCommand(list, LBN_SELCHANGE);
                });
                QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                                 [list] { SendControlCommand(list, LBN_DBLCLK); });
            }
            return list;
        }
        case DlgControl::ListView:
            return new RmListView(parent, item.style);
        case DlgControl::TreeView:
            return new RmTreeView(parent);
        case DlgControl::Tab: {
            auto* tabs = new RmTabBar(parent);
            if (item.style & TCS_VERTICAL)
                tabs->setShape(QTabBar::RoundedWest);
            return tabs;
        }
        case DlgControl::Spin:
            return new RmSpin(parent);
        case DlgControl::Progress: {
            auto* bar = new QProgressBar(parent);
            bar->setRange(0, 100);
            bar->setValue(0);
            bar->setTextVisible(false);
            bar->setProperty("rmStep", 10);
            return bar;
        }
        case DlgControl::Slider:
            return new RmSlider(parent, item.style);
    }
    return new QWidget(parent);
}

}  // namespace

DWORD ControlStyle(const QWidget* control) {
    return control ? control->property(kStyleProperty).toUInt() : 0;
}

QWidget* CreateDialogControl(const DialogItemTemplate& item, QWidget* parent, const CRect& rect) {
    QWidget* w = MakeControl(item, parent);
    w->setProperty(kStyleProperty, static_cast<uint>(item.style));
    int height = rect.Height();
    // A drop-down combo box's height in the template includes its dropped list; closed, it is
    // as tall as one line.
    if (item.type == DlgControl::ComboBox && (item.style & 0x3) != CBS_SIMPLE)
        height = std::min(height, w->sizeHint().height());
    w->setGeometry(rect.left, rect.top, rect.Width(), height);
    if (CWnd* wnd = CWnd::FromWidget(w))
        wnd->SetDlgCtrlID(item.id);
    w->setEnabled((item.style & WS_DISABLED) == 0);
    w->setVisible((item.style & WS_VISIBLE) != 0);
    return w;
}

std::vector<QWidget*> CreateDialogControls(const DialogTemplate& tmpl, QWidget* parent,
                                           const std::vector<CRect>& rects) {
    std::vector<QWidget*> controls;
    QButtonGroup* radios = nullptr;
    for (size_t i = 0; i < tmpl.items.size() && i < rects.size(); ++i) {
        const DialogItemTemplate& item = tmpl.items[i];
        QWidget* w = CreateDialogControl(item, parent, rects[i]);
        // Each control goes below the ones before it, so the first is topmost.
        w->lower();
        if (item.style & WS_GROUP)
            radios = nullptr;
        if (auto* radio = dynamic_cast<QRadioButton*>(w)) {
            if (!radios) {
                radios = new QButtonGroup(parent);
                radios->setExclusive((item.style & BS_TYPEMASK) == BS_AUTORADIOBUTTON);
            }
            radio->setAutoExclusive(false);
            radios->addButton(radio);
        } else {
            radios = nullptr;
        }
        if (auto* spin = dynamic_cast<RmSpin*>(w);
            spin && (item.style & UDS_AUTOBUDDY) && !controls.empty())
            spin->m_buddy = controls.back();
        controls.push_back(w);
    }
    return controls;
}

BOOL CreateControlWindow(CWnd& control, DlgControl type, const QString& text, DWORD style,
                         const CRect& rect, CWnd* pParentWnd, UINT nID) {
    if (control.GetSafeHwnd() || !pParentWnd || !pParentWnd->GetQWidget())
        return FALSE;
    DialogItemTemplate item;
    item.type = type;
    item.id = static_cast<int>(nID);
    item.text = text;
    item.style = style;
    QWidget* w = CreateDialogControl(item, pParentWnd->GetQWidget(), rect);
    CWnd* wrapper = CWnd::FromWidget(w);
    if (!wrapper || !control.SubclassWindow(wrapper->GetSafeHwnd())) {
        delete w;
        return FALSE;
    }
    return TRUE;
}

LRESULT SendControlCommand(QWidget* control, WORD code) {
    CWnd* parent = ParentWindow(control);
    CWnd* self = CWnd::FromWidget(control);
    if (!parent || !self)
        return 0;
    return parent->SendMessage(WM_COMMAND,
                               MAKEWPARAM(static_cast<WORD>(self->GetDlgCtrlID()), code),
                               reinterpret_cast<LPARAM>(self->GetSafeHwnd()));
}

LRESULT SendControlNotify(QWidget* control, NMHDR& hdr, UINT code) {
    CWnd* parent = ParentWindow(control);
    CWnd* self = CWnd::FromWidget(control);
    if (!parent || !self)
        return 0;
    hdr.hwndFrom = self->GetSafeHwnd();
    hdr.idFrom = static_cast<UINT_PTR>(self->GetDlgCtrlID());
    hdr.code = code;
    return parent->SendMessage(WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

void SendDrawItem(QWidget* control, DRAWITEMSTRUCT& dis) {
    CWnd* self = CWnd::FromWidget(control);
    if (!self)
        return;
    dis.CtlID = static_cast<UINT>(self->GetDlgCtrlID());
    dis.hwndItem = self->GetSafeHwnd();
    CWnd* parent = ParentWindow(control);
    if (parent && parent->FindMessageEntry(WM_DRAWITEM)) {
        parent->SendMessage(WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    LRESULT result = 0;
    self->OnChildNotify(WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis), &result);
}

void RmOwnerDrawButton::paintEvent(QPaintEvent*) {
    CDC dc(this);
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_BUTTON;
    dis.itemState = (isDown() ? ODS_SELECTED : 0) | (hasFocus() ? ODS_FOCUS : 0) |
                    (isEnabled() ? 0 : ODS_DISABLED) | (isDefault() ? ODS_DEFAULT : 0);
    dis.pDC = &dc;
    dis.rcItem = CRect(0, 0, width(), height());
    SendDrawItem(this, dis);
}

RmEdit::RmEdit(QWidget* parent) : QLineEdit(parent) {}

void RmEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    SendControlCommand(this, EN_SETFOCUS);
}

void RmEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    SendControlCommand(this, EN_KILLFOCUS);
}

RmMultiLineEdit::RmMultiLineEdit(QWidget* parent) : QPlainTextEdit(parent) {}

void RmMultiLineEdit::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    SendControlCommand(this, EN_SETFOCUS);
}

void RmMultiLineEdit::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    SendControlCommand(this, EN_KILLFOCUS);
}

RmComboBox::RmComboBox(QWidget* parent, DWORD style) : QComboBox(parent) {
    const DWORD kind = style & 0x3;
    setEditable(kind == CBS_SIMPLE || kind == CBS_DROPDOWN);
    if (style & CBS_OWNERDRAWFIXED)
        setItemDelegate(new OwnerDrawDelegate(this));
    connect(this, &QComboBox::activated, this, [this] { SendControlCommand(this, CBN_SELCHANGE); });
    if (QLineEdit* edit = lineEdit()) {
        connect(edit, &QLineEdit::textEdited, this,
                [this] { SendControlCommand(this, CBN_EDITCHANGE); });
    }
}

void RmComboBox::showPopup() {
    SendControlCommand(this, CBN_DROPDOWN);
    m_dropped = true;
    QComboBox::showPopup();
}

void RmComboBox::hidePopup() {
    QComboBox::hidePopup();
    if (m_dropped) {
        m_dropped = false;
        SendControlCommand(this, CBN_CLOSEUP);
    }
}

void RmComboBox::paintEvent(QPaintEvent* event) {
    if (!(ControlStyle(this) & CBS_OWNERDRAWFIXED) || isEditable()) {
        QComboBox::paintEvent(event);
        return;
    }
    // The closed box shows the selected entry drawn by the owner inside the usual frame.
    QPainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    if (field.isEmpty())
        return;
    QImage image(field.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(palette().base().color());
    {
        CDC dc(&image);
        DRAWITEMSTRUCT dis;
        dis.CtlType = ODT_COMBOBOX;
        dis.itemID = static_cast<UINT>(currentIndex());
        dis.itemState = ODS_COMBOBOXEDIT | (hasFocus() ? ODS_FOCUS | ODS_SELECTED : 0);
        dis.pDC = &dc;
        dis.rcItem = CRect(0, 0, image.width(), image.height());
        dis.itemData = currentIndex() >= 0 ? itemData(currentIndex()).value<qulonglong>() : 0;
        SendDrawItem(this, dis);
    }
    painter.drawImage(field.topLeft(), image);
}

RmListBox::RmListBox(QWidget* parent) : QListWidget(parent) {}

RmTabBar::RmTabBar(QWidget* parent) : QTabBar(parent) {
    connect(this, &QTabBar::currentChanged, this, [this] {
        if (!m_quiet) {
            NMHDR hdr;
            SendControlNotify(this, hdr, TCN_SELCHANGE);
        }
    });
}

QSize RmTabBar::tabSizeHint(int index) const {
    QSize size = QTabBar::tabSizeHint(index);
    if (shape() == QTabBar::RoundedWest && width() > 0)
        size.setWidth(std::min(size.width(), width()));
    return size;
}

void RmTabBar::mousePressEvent(QMouseEvent* event) {
    const int index = tabAt(event->position().toPoint());
    if (index >= 0 && index != currentIndex()) {
        NMHDR hdr;
        if (SendControlNotify(this, hdr, TCN_SELCHANGING) != 0)
            return;
    }
    QTabBar::mousePressEvent(event);
}

RmSpin::RmSpin(QWidget* parent) : QWidget(parent) {}

int RmSpin::Position() const {
    if (m_buddy && (ControlStyle(this) & UDS_SETBUDDYINT)) {
        bool ok = false;
        const int value = m_buddy->property("text").toString().trimmed().toInt(&ok);
        if (ok)
            return value;
    }
    return m_pos;
}

void RmSpin::SetPosition(int pos) {
    const int lo = std::min(m_lower, m_upper);
    const int hi = std::max(m_lower, m_upper);
    m_pos = std::clamp(pos, lo, hi);
    if (m_buddy && (ControlStyle(this) & UDS_SETBUDDYINT))
        m_buddy->setProperty("text", QString::number(m_pos));
}

void RmSpin::Step(bool up) {
    const int towardUpper = m_upper >= m_lower ? 1 : -1;
    NMUPDOWN nm;
    nm.iPos = Position();
    nm.iDelta = up ? towardUpper : -towardUpper;
    if (SendControlNotify(this, nm.hdr, UDN_DELTAPOS) != 0)
        return;
    SetPosition(nm.iPos + nm.iDelta);
    if (CWnd* parent = ParentWindow(this)) {
        CWnd* self = CWnd::FromWidget(this);
        parent->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(m_pos)),
                            reinterpret_cast<LPARAM>(self->GetSafeHwnd()));
        parent->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, static_cast<WORD>(m_pos)),
                            reinterpret_cast<LPARAM>(self->GetSafeHwnd()));
    }
}

void RmSpin::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    const int half = height() / 2;
    option.rect = QRect(0, 0, width(), half);
    style()->drawPrimitive(QStyle::PE_IndicatorSpinUp, &option, &painter, this);
    option.rect = QRect(0, half, width(), height() - half);
    style()->drawPrimitive(QStyle::PE_IndicatorSpinDown, &option, &painter, this);
}

void RmSpin::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled())
        Step(event->position().y() < height() / 2.0);
    event->accept();
}

RmSlider::RmSlider(QWidget* parent, DWORD style)
    : QSlider((style & TBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent) {
    setRange(0, 100);
    auto scroll = [this](UINT code) {
        CWnd* parent = ParentWindow(this);
        CWnd* self = CWnd::FromWidget(this);
        if (!parent || !self)
            return;
        parent->SendMessage(
            orientation() == Qt::Vertical ? WM_VSCROLL : WM_HSCROLL,
            MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(sliderPosition())),
            reinterpret_cast<LPARAM>(self->GetSafeHwnd()));
    };
    connect(this, &QSlider::sliderMoved, this, [scroll] { scroll(SB_THUMBTRACK); });
    connect(this, &QSlider::actionTriggered, this, [scroll](int action) {
        switch (action) {
            case QAbstractSlider::SliderSingleStepAdd:
                scroll(SB_LINEDOWN);
                break;
            case QAbstractSlider::SliderSingleStepSub:
                scroll(SB_LINEUP);
                break;
            case QAbstractSlider::SliderPageStepAdd:
                scroll(SB_PAGEDOWN);
                break;
            case QAbstractSlider::SliderPageStepSub:
                scroll(SB_PAGEUP);
                break;
            default:
                break;
        }
    });
    connect(this, &QSlider::sliderReleased, this, [scroll] {
        scroll(SB_THUMBPOSITION);
        scroll(SB_ENDSCROLL);
    });
}

void RmSlider::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    NMHDR hdr;
    SendControlNotify(this, hdr, NM_RELEASEDCAPTURE);
}

RmListView::RmListView(QWidget* parent, DWORD style) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setColumnCount(0);
    setSelectionMode((style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                             : QAbstractItemView::ExtendedSelection);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setVisible((style & LVS_NOCOLUMNHEADER) == 0);
    header()->viewport()->installEventFilter(this);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
        NMLISTVIEW nm;
        nm.iSubItem = column;
        SendControlNotify(this, nm.hdr, LVN_COLUMNCLICK);
    });
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        // One notification per row whose selection changed, as the rows are read now.
        for (int row = 0; row < topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = topLevelItem(row);
            const bool selected = item->isSelected();
            const bool was = item->data(0, Qt::UserRole + 1).toBool();
            if (selected == was)
                continue;
            item->setData(0, Qt::UserRole + 1, selected);
            NMLISTVIEW nm;
            nm.iItem = row;
            nm.uChanged = LVIF_STATE;
            nm.uNewState = selected ? LVIS_SELECTED : 0;
            nm.uOldState = was ? LVIS_SELECTED : 0;
            nm.lParam = item->data(0, Qt::UserRole).value<qulonglong>();
            SendControlNotify(this, nm.hdr, LVN_ITEMCHANGED);
        }
    });
}

int RmListView::DividerAt(int x) const {
    QHeaderView* h = header();
    const int grip = h->style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, h);
    for (int visual = 0; visual < h->count(); ++visual) {
        const int logical = h->logicalIndex(visual);
        if (h->isSectionHidden(logical))
            continue;
        const int right = h->sectionViewportPosition(logical) + h->sectionSize(logical);
        if (std::abs(x - right) <= grip)
            return logical;
    }
    return -1;
}

bool RmListView::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool doubleClick = event->type() == QEvent::MouseButtonDblClick;
    if (watched == header()->viewport() && (press || doubleClick)) {
        auto* e = static_cast<QMouseEvent*>(event);
        const int column = DividerAt(e->position().toPoint().x());
        CWnd* self = CWnd::FromWidget(this);
        CWnd* headerWnd = CWnd::FromWidget(header());
        if (column >= 0 && self && headerWnd && e->button() == Qt::LeftButton) {
            NMHEADER nm;
            nm.iItem = column;
            nm.hdr.hwndFrom = headerWnd->GetSafeHwnd();
            nm.hdr.idFrom = 0;
            nm.hdr.code = doubleClick ? HDN_DIVIDERDBLCLICK : HDN_BEGINTRACK;
            if (self->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm)) != 0)
                return true;
            if (doubleClick) {
                resizeColumnToContents(column);
                return true;
            }
        }
    }
    return QTreeWidget::eventFilter(watched, event);
}

namespace {

void SendListClick(RmListView* view, QMouseEvent* event, UINT code) {
    const QPoint at = event->position().toPoint();
    const QModelIndex index = view->indexAt(at);
    NMITEMACTIVATE nm;
    nm.iItem = index.isValid() ? index.row() : -1;
    nm.iSubItem = index.isValid() ? index.column() : 0;
    nm.ptAction = CPoint(at.x(), at.y());
    SendControlNotify(view, nm.hdr, code);
}

}  // namespace

void RmListView::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        SendListClick(this, event, NM_CLICK);
    else if (event->button() == Qt::RightButton)
        SendListClick(this, event, NM_RCLICK);
}

void RmListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        SendListClick(this, event, NM_DBLCLK);
}

void RmListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    if (!(ControlStyle(this) & LVS_OWNERDRAWFIXED)) {
        QTreeWidget::drawRow(painter, option, index);
        return;
    }
    QImage image(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(option.palette.base().color());
    {
        CDC dc(&image);
        DRAWITEMSTRUCT dis;
        dis.CtlType = ODT_LISTVIEW;
        dis.itemID = static_cast<UINT>(index.row());
        dis.itemState =
            (selectionModel()->isRowSelected(index.row(), index.parent()) ? ODS_SELECTED : 0) |
            (currentIndex().row() == index.row() && hasFocus() ? ODS_FOCUS : 0);
        dis.pDC = &dc;
        dis.rcItem = CRect(0, 0, image.width(), image.height());
        dis.itemData = model()->index(index.row(), 0).data(Qt::UserRole).value<qulonglong>();
        SendDrawItem(const_cast<RmListView*>(this), dis);
    }
    painter->drawImage(option.rect.topLeft(), image);
}

RmTreeView::RmTreeView(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* now, QTreeWidgetItem* before) {
                NMTREEVIEW nm;
                nm.itemOld.hItem = reinterpret_cast<HTREEITEM>(before);
                nm.itemNew.hItem = reinterpret_cast<HTREEITEM>(now);
                SendControlNotify(this, nm.hdr, TVN_SELCHANGED);
            });
}
