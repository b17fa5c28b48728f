#pragma once

// CToolTipCtrl: the tips of a window's controls. Each tool is a window with its text, shown by
// Qt's tool tips (QWidget::setToolTip) while the control is active; Activate(FALSE) hides all
// of them until it is activated again. The control has a hidden window of its own, so callers
// can tell whether it was made.

#include "platform/framework/MessageQueue.h"
#include "platform/framework/Wnd.h"

#include <QMetaObject>

#include <map>

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)

public:
    CToolTipCtrl() = default;
    // The tools' windows may outlive the control (a page's controls go after the page).
    ~CToolTipCtrl() override;

    // Made inactive only by Activate(FALSE); the style is kept for the owner's use.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    // Adds or replaces the tip of the window; FALSE without a window.
    BOOL AddTool(CWnd* pWnd, const QString& text);
    void DelTool(CWnd* pWnd);
    void UpdateTipText(const QString& text, CWnd* pWnd);
    QString GetToolText(CWnd* pWnd) const;
    int GetToolCount() const { return static_cast<int>(m_tools.size()); }
    void Activate(BOOL bActivate);
    BOOL IsActive() const { return m_active; }
    // Tips wider than this break into lines; -1 for no limit.
    int SetMaxTipWidth(int iWidth);
    // Qt shows the tips from the control's own events, so relayed input needs no handling.
    void RelayEvent(MSG*) {}

private:
    void Apply(QWidget* widget, const QString& text) const;

    std::map<QWidget*, QString> m_tools;
    // Forgets a tool whose window goes.
    std::map<QWidget*, QMetaObject::Connection> m_watches;
    bool m_active = true;
    int m_maxWidth = -1;
};
