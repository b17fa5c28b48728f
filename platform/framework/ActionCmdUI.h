#pragma once

// CActionCmdUI: the CCmdUI of a menu item or toolbar button, which Qt holds as a QAction.
// Also binds actions to command ids: triggering a bound action sends WM_COMMAND with its id to
// the owning window, and the update helpers run the update handlers before a menu opens and
// on idle for toolbars.

#include "platform/framework/CmdUI.h"

#include <QList>

class CWnd;
class QAction;
class QMenu;

class CActionCmdUI : public CCmdUI {
public:
    CActionCmdUI(QAction* action, UINT index);

    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetText(const QString& text) override;
    // The item itself, for handlers that show or hide it (a list of windows in a menu).
    QAction* GetAction() const { return m_action; }

    // Gives the action a command id; when triggered it sends WM_COMMAND (id in the low word)
    // to owner, for as long as owner's window exists.
    static void BindCommand(QAction* action, UINT nID, CWnd* owner);
    // Gives the action a command id without binding it to a window (pop-up menu items).
    static void SetCommandId(QAction* action, UINT nID);
    // The command id of an action, or 0 for an action without one (separators, sub-menus).
    static UINT GetCommandId(const QAction* action);

    // Runs the update handlers of every action with a command id, starting at target.
    static void UpdateActions(const QList<QAction*>& actions, CCmdTarget* target,
                              BOOL bDisableIfNoHandler);
    // Updates the menu's items each time just before it opens; target must outlive the menu.
    static void UpdateBeforeShow(QMenu* menu, CCmdTarget* target);

private:
    QAction* m_action;
};
