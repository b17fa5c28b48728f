#include "sensordata/SensorTabDlg.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

IMPLEMENT_DYNAMIC(CSensorTabDlg, CPageHostDlg)

namespace {

// Turns Enter and Return on the page's widgets into a move to the next control in tab order.
class EnterAsTab : public QObject {
public:
    EnterAsTab(QWidget* page) : QObject(page), m_page(page) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType() || !m_page)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        auto* from = static_cast<QWidget*>(watched);
        for (QWidget* next = from->nextInFocusChain(); next && next != from;
             next = next->nextInFocusChain()) {
            if (m_page->isAncestorOf(next) && next->isVisible() && next->isEnabled() &&
                (next->focusPolicy() & Qt::TabFocus) && !next->focusProxy()) {
                next->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
        return true;
    }

private:
    QPointer<QWidget> m_page;
};

}  // namespace

CSensorTabDlg::CSensorTabDlg(UINT nIDTemplate, CWnd* pParentWnd)
    : CPageHostDlg(nIDTemplate, pParentWnd),
      m_pPageParent(pParentWnd),
      m_nPageTemplate(nIDTemplate) {}

BOOL CSensorTabDlg::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nPageTemplate = nIDTemplate;
    m_pPageParent = pParentWnd;
    return CDialog::Create(nIDTemplate, pParentWnd);
}

BOOL CSensorTabDlg::OnInitDialog() {
    CPageHostDlg::OnInitDialog();
    QWidget* page = GetQWidget();
    m_enterAsTab = new EnterAsTab(page);
    for (QWidget* child : page->findChildren<QWidget*>())
        child->installEventFilter(m_enterAsTab);
    return TRUE;
}
