#include "platform/framework/ToolTipCtrl.h"

#include <QWidget>

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

CToolTipCtrl::~CToolTipCtrl() {
    for (const auto& [widget, watch] : m_watches)
        QObject::disconnect(watch);
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    if (!pParentWnd || !pParentWnd->GetSafeHwnd())
        return FALSE;
    return CWnd::Create(nullptr, QString(), (dwStyle & ~WS_VISIBLE) | WS_CHILD, CRect(), pParentWnd,
                        0);
}

void CToolTipCtrl::Apply(QWidget* widget, const QString& text) const {
    if (!m_active || text.isEmpty()) {
        widget->setToolTip(QString());
        return;
    }
    // A limited width lets the rich-text tip wrap its lines there.
    widget->setToolTip(
        m_maxWidth > 0 ? QStringLiteral("<p style='white-space:pre-wrap; max-width:%1px'>%2</p>")
                             .arg(m_maxWidth)
                             .arg(text.toHtmlEscaped())
                       : text);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, const QString& text) {
    QWidget* widget = pWnd ? pWnd->GetQWidget() : nullptr;
    if (!widget || !GetSafeHwnd())
        return FALSE;
    if (!m_tools.contains(widget)) {
        m_watches[widget] =
            QObject::connect(widget, &QObject::destroyed, GetQWidget(), [this, widget] {
                m_tools.erase(widget);
                m_watches.erase(widget);
            });
    }
    m_tools[widget] = text;
    Apply(widget, text);
    return TRUE;
}

void CToolTipCtrl::DelTool(CWnd* pWnd) {
    QWidget* widget = pWnd ? pWnd->GetQWidget() : nullptr;
    if (!widget || !m_tools.erase(widget))
        return;
    if (const auto watch = m_watches.find(widget); watch != m_watches.end()) {
        QObject::disconnect(watch->second);
        m_watches.erase(watch);
    }
    widget->setToolTip(QString());
}

void CToolTipCtrl::UpdateTipText(const QString& text, CWnd* pWnd) {
    QWidget* widget = pWnd ? pWnd->GetQWidget() : nullptr;
    const auto it = widget ? m_tools.find(widget) : m_tools.end();
    if (it == m_tools.end())
        return;
    it->second = text;
    Apply(widget, text);
}

QString CToolTipCtrl::GetToolText(CWnd* pWnd) const {
    QWidget* widget = pWnd ? pWnd->GetQWidget() : nullptr;
    const auto it = widget ? m_tools.find(widget) : m_tools.end();
    return it == m_tools.end() ? QString() : it->second;
}

void CToolTipCtrl::Activate(BOOL bActivate) {
    m_active = bActivate != FALSE;
    for (const auto& [widget, text] : m_tools)
        Apply(widget, text);
}

int CToolTipCtrl::SetMaxTipWidth(int iWidth) {
    const int previous = m_maxWidth;
    m_maxWidth = iWidth;
    for (const auto& [widget, text] : m_tools)
        Apply(widget, text);
    return previous;
}
