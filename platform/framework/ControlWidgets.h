#pragma once

// The Qt widgets behind dialog controls, made from template items or by a control class's
// Create, and the notifications they send their parent window: WM_COMMAND with the control's
// id and notification code, WM_NOTIFY with an NMHDR, WM_HSCROLL/WM_VSCROLL for sliders and
// WM_DRAWITEM for owner-drawn items. The control classes (CButton, CEdit...) find these
// widgets through their window.

#include "platform/framework/ResourceChain.h"
#include "platform/wintypes/Rect.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTreeWidget>

#include <vector>

struct DRAWITEMSTRUCT;
class CWnd;

inline constexpr DWORD BS_PUSHBUTTON = 0x0;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
inline constexpr DWORD BS_CHECKBOX = 0x2;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x3;
inline constexpr DWORD BS_RADIOBUTTON = 0x4;
inline constexpr DWORD BS_3STATE = 0x5;
inline constexpr DWORD BS_AUTO3STATE = 0x6;
inline constexpr DWORD BS_GROUPBOX = 0x7;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
inline constexpr DWORD BS_OWNERDRAW = 0xB;
inline constexpr DWORD BS_TYPEMASK = 0xF;

inline constexpr DWORD ES_MULTILINE = 0x0004;
inline constexpr DWORD ES_PASSWORD = 0x0020;
inline constexpr DWORD ES_READONLY = 0x0800;

inline constexpr DWORD CBS_SIMPLE = 0x0001;
inline constexpr DWORD CBS_DROPDOWN = 0x0002;
inline constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
inline constexpr DWORD CBS_OWNERDRAWFIXED = 0x0010;
inline constexpr DWORD CBS_SORT = 0x0100;
inline constexpr DWORD CBS_HASSTRINGS = 0x0200;

inline constexpr DWORD LBS_NOTIFY = 0x0001;
inline constexpr DWORD LBS_SORT = 0x0002;

inline constexpr DWORD UDS_SETBUDDYINT = 0x0002;
inline constexpr DWORD UDS_AUTOBUDDY = 0x0010;

inline constexpr DWORD TBS_VERT = 0x0002;
// Tabs stacked down the left side, their texts running upwards.
inline constexpr DWORD TCS_VERTICAL = 0x0080;

// The template style a control was made with (0 for widgets made elsewhere).
DWORD ControlStyle(const QWidget* control);
// Makes the control of a template item at its pixel rectangle, with its id and style.
QWidget* CreateDialogControl(const DialogItemTemplate& item, QWidget* parent, const CRect& rect);
// Makes all controls of the template in tab order, the first topmost. Radio buttons form one
// exclusive group from a WS_GROUP item to the next; a UDS_AUTOBUDDY spin takes the control
// before it as its buddy. rects holds each item's pixel rectangle.
std::vector<QWidget*> CreateDialogControls(const DialogTemplate& tmpl, QWidget* parent,
                                           const std::vector<CRect>& rects);

// Makes a control window of that kind at run time and gives it to control (as a template
// item would be made and then subclassed). FALSE when control already has a window or there
// is no parent window.
BOOL CreateControlWindow(CWnd& control, DlgControl type, const QString& text, DWORD style,
                         const CRect& rect, CWnd* pParentWnd, UINT nID);

// WM_COMMAND with the control's id and code to the control's parent window; 0 without one.
LRESULT SendControlCommand(QWidget* control, WORD code);
// WM_NOTIFY to the parent window; hwndFrom, idFrom and code are filled in.
LRESULT SendControlNotify(QWidget* control, NMHDR& hdr, UINT code);
// Draws an owner-drawn item: WM_DRAWITEM to the parent when it handles the message, else
// offered to the control's own window object (a CButton's or CComboBox's DrawItem).
void SendDrawItem(QWidget* control, DRAWITEMSTRUCT& dis);

// A push button drawn by its owner.
class RmOwnerDrawButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class RmEdit : public QLineEdit {
public:
    explicit RmEdit(QWidget* parent);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// An ES_MULTILINE edit: the same notifications over a plain-text editor.
class RmMultiLineEdit : public QPlainTextEdit {
public:
    explicit RmMultiLineEdit(QWidget* parent);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

class RmComboBox : public QComboBox {
public:
    explicit RmComboBox(QWidget* parent, DWORD style);
    void showPopup() override;
    void hidePopup() override;
    bool IsDropped() const { return m_dropped; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_dropped = false;
};

class RmListBox : public QListWidget {
public:
    explicit RmListBox(QWidget* parent);
    // Set while the program changes the selection: no notification then.
    bool m_quiet = false;
};

class RmTabBar : public QTabBar {
public:
    explicit RmTabBar(QWidget* parent);
    bool m_quiet = false;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // Tabs down the side are as wide as the control, so what lies beside it stays clear.
    QSize tabSizeHint(int index) const override;
};

// An up-down control: two arrows that propose a change of position to the parent
// (UDN_DELTAPOS) before taking it. The arrows move towards the upper end of the range, so
// with the default range (lower 100, upper 0) the up arrow proposes -1.
class RmSpin : public QWidget {
public:
    explicit RmSpin(QWidget* parent);
    int m_lower = 100;
    int m_upper = 0;
    int m_pos = 0;
    QWidget* m_buddy = nullptr;

    // One step of the up (TRUE) or down arrow, as a click on it does.
    void Step(bool up);
    int Position() const;
    void SetPosition(int pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

// A slider: moves arrive as WM_HSCROLL (WM_VSCROLL when vertical); letting go of it sends
// NM_RELEASEDCAPTURE.
class RmSlider : public QSlider {
public:
    RmSlider(QWidget* parent, DWORD style);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A report list: rows are QTreeWidgetItems without children, one per row.
class RmListView : public QTreeWidget {
public:
    RmListView(QWidget* parent, DWORD style);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The column whose right divider lies under x in the header, or -1.
    int DividerAt(int x) const;
};

// A tree: items are QTreeWidgetItems; a change of selection sends TVN_SELCHANGED.
class RmTreeView : public QTreeWidget {
public:
    explicit RmTreeView(QWidget* parent);
};
