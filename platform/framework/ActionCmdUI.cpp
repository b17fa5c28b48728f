#include "platform/framework/ActionCmdUI.h"

#include "platform/framework/Wnd.h"

#include <QAction>
#include <QMenu>

namespace {

constexpr const char* kCommandIdProperty = "rmCommandId";

}  // namespace

CActionCmdUI::CActionCmdUI(QAction* action, UINT index) : m_action(action) {
    m_nID = GetCommandId(action);
    m_nIndex = index;
}

void CActionCmdUI::Enable(BOOL bOn) {
    CCmdUI::Enable(bOn);
    m_action->setEnabled(bOn != FALSE);
}

void CActionCmdUI::SetCheck(int nCheck) {
    m_action->setCheckable(true);
    m_action->setChecked(nCheck != 0);
}

void CActionCmdUI::SetText(const QString& text) {
    m_action->setText(text);
}

void CActionCmdUI::BindCommand(QAction* action, UINT nID, CWnd* owner) {
    action->setProperty(kCommandIdProperty, nID);
    const HWND target = owner->GetSafeHwnd();
    QObject::connect(action, &QAction::triggered, action, [target, nID] {
        if (CWnd* wnd = CWnd::FromHandle(target))
            wnd->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nID), 0), 0);
    });
}

void CActionCmdUI::SetCommandId(QAction* action, UINT nID) {
    action->setProperty(kCommandIdProperty, nID);
}

UINT CActionCmdUI::GetCommandId(const QAction* action) {
    return action->property(kCommandIdProperty).toUInt();
}

void CActionCmdUI::UpdateActions(const QList<QAction*>& actions, CCmdTarget* target,
                                 BOOL bDisableIfNoHandler) {
    UINT index = 0;
    for (QAction* action : actions) {
        if (GetCommandId(action) != 0) {
            CActionCmdUI ui(action, index);
            ui.DoUpdate(target, bDisableIfNoHandler);
        }
        ++index;
    }
}

void CActionCmdUI::UpdateBeforeShow(QMenu* menu, CCmdTarget* target) {
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     [menu, target] { UpdateActions(menu->actions(), target, TRUE); });
}
