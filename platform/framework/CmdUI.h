#pragma once

// CCmdUI: one user-interface item of a command id (menu item, toolbar button, status pane)
// as seen by ON_UPDATE_COMMAND_UI handlers, which enable, check or rename it before it is
// shown. Each kind of item derives its own class.

#include "platform/wintypes/WinTypes.h"

#include <QString>

class CCmdTarget;

class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;  // position of the item in its menu, bar or status line

    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(const QString& text);

    // Asks target (and the routing behind it) to update this item. When no update handler
    // answers and bDisableIfNoHandler is set, the item is enabled exactly when some handler of
    // the command itself is found. Returns TRUE when an update handler answered.
    BOOL DoUpdate(CCmdTarget* target, BOOL bDisableIfNoHandler);

protected:
    BOOL m_bEnableChanged = FALSE;
};
