#pragma once

// CMenu: a menu or pop-up menu, held as a QMenu whose items are actions bound to command ids.
// Menus are built at run time (AppendMenu) or come from the resource chain by id (through the
// loader installed with AfxSetMenuLoader). TrackPopupMenu shows a pop-up and returns the
// chosen command; the one step that waits for the user goes through a replaceable tracker so
// that tests choose without a window.

#include "platform/wintypes/WinMessages.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CWnd;
class QAction;
class QMenu;
class QPoint;

inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_SEPARATOR = 0x0800;
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_BYPOSITION = 0x0400;

inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

class CMenu {
public:
    CMenu();
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // From the resource chain; FALSE when no menu has that id.
    BOOL LoadMenu(UINT nIDResource);
    // A new menu of that id from the resource chain, or nullptr.
    static CMenu* LoadResourceMenu(UINT nIDResource);

    // MF_POPUP: nIDNewItem is a CMenu* whose QMenu becomes a sub-menu (the caller keeps the
    // CMenu; the sub-menu is copied in).
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const QString& newItem = QString());
    int GetMenuItemCount() const;
    // The command id at the position; 0 for a separator, -1 for a sub-menu or no item.
    UINT GetMenuItemID(int nPos) const;
    // The sub-menu at the position, owned by this menu, or nullptr.
    CMenu* GetSubMenu(int nPos) const;
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);

    // Runs the update handlers of pWnd for the items, shows the menu at the screen point and
    // returns the chosen command with TPM_RETURNCMD (0 when none); without it the command is
    // sent to pWnd and the result is TRUE when one was chosen.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const void* lpRect = nullptr);

    QMenu* GetQMenu() const { return m_menu; }
    // Makes the items send their commands to owner and run owner's update handlers before
    // each (sub-)menu opens. A menu is bound once per window.
    void BindCommands(CWnd* owner);

private:
    static void BindMenu(QMenu* menu, CWnd* owner);
    static void CopyItems(const QMenu* from, QMenu* to);
    QAction* FindCommand(UINT nID) const;

    QMenu* m_menu = nullptr;
    bool m_owned = false;  // sub-menus handed out by GetSubMenu belong to their parent
    mutable std::vector<std::unique_ptr<CMenu>> m_subMenus;
};

// Fills menu (made with CreateMenu) with the resource menu nID; FALSE when there is none.
using MenuLoader = std::function<BOOL(UINT nID, CMenu& menu)>;
void AfxSetMenuLoader(MenuLoader loader);

// Shows the pop-up and returns the chosen action, or nullptr. The default runs QMenu::exec.
using PopupMenuTracker = std::function<QAction*(QMenu* menu, const QPoint& screenPos)>;
// Installs a tracker (an empty one restores the default) and returns the previous one.
PopupMenuTracker AfxSetPopupMenuTracker(PopupMenuTracker tracker);
