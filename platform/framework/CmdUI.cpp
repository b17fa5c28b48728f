#include "platform/framework/CmdUI.h"

#include "platform/framework/CmdTarget.h"

void CCmdUI::Enable(BOOL) {
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int) {}

void CCmdUI::SetRadio(BOOL bOn) {
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(const QString&) {}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL bDisableIfNoHandler) {
    if (!target)
        return FALSE;
    m_bEnableChanged = FALSE;
    if (target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr))
        return TRUE;
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return FALSE;
}
