#include "platform/framework/Menu.h"

#include "platform/framework/ActionCmdUI.h"
#include "platform/framework/RecentFileList.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"

#include <QAction>
#include <QMenu>
#include <QPoint>

namespace {

MenuLoader& Loader() {
    static MenuLoader loader;
    return loader;
}

PopupMenuTracker& Tracker() {
    static PopupMenuTracker tracker;
    return tracker;
}

constexpr const char* kBoundProperty = "rmBoundWindow";

UINT IdOf(const QAction* a) {
    return CActionCmdUI::GetCommandId(a);
}

}  // namespace

void AfxSetMenuLoader(MenuLoader loader) {
    Loader() = std::move(loader);
}

PopupMenuTracker AfxSetPopupMenuTracker(PopupMenuTracker tracker) {
    PopupMenuTracker previous = Tracker();
    Tracker() = std::move(tracker);
    return previous;
}

CMenu::CMenu() = default;
CMenu::~CMenu() {
    m_subMenus.clear();
    if (m_owned)
        delete m_menu;
}

BOOL CMenu::CreateMenu() {
    if (m_menu)
        return FALSE;
    m_menu = new QMenu;
    m_owned = true;
    return TRUE;
}

BOOL CMenu::CreatePopupMenu() {
    return CreateMenu();
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
    if (m_menu || !Loader())
        return FALSE;
    CreateMenu();
    if (Loader()(nIDResource, *this))
        return TRUE;
    delete m_menu;
    m_menu = nullptr;
    m_owned = false;
    return FALSE;
}

CMenu* CMenu::LoadResourceMenu(UINT nIDResource) {
    auto menu = std::make_unique<CMenu>();
    return menu->LoadMenu(nIDResource) ? menu.release() : nullptr;
}

void CMenu::CopyItems(const QMenu* from, QMenu* to) {
    for (QAction* a : from->actions()) {
        if (a->isSeparator()) {
            to->addSeparator();
            continue;
        }
        // Sub-menus of the sub-menu come along, to any depth.
        if (const QMenu* nested = a->menu()) {
            CopyItems(nested, to->addMenu(a->text()));
            continue;
        }
        QAction* item = to->addAction(a->text());
        CActionCmdUI::SetCommandId(item, IdOf(a));
        item->setEnabled(a->isEnabled());
        item->setCheckable(a->isCheckable());
        item->setChecked(a->isChecked());
    }
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const QString& newItem) {
    if (!m_menu)
        return FALSE;
    if (nFlags & MF_SEPARATOR) {
        m_menu->addSeparator();
        return TRUE;
    }
    if (nFlags & MF_POPUP) {
        auto* sub = reinterpret_cast<CMenu*>(nIDNewItem);
        if (!sub || !sub->m_menu)
            return FALSE;
        CopyItems(sub->m_menu, m_menu->addMenu(newItem));
        return TRUE;
    }
    QAction* action = m_menu->addAction(newItem);
    CActionCmdUI::SetCommandId(action, static_cast<UINT>(nIDNewItem));
    action->setEnabled((nFlags & (MF_GRAYED | MF_DISABLED)) == 0);
    if (nFlags & MF_CHECKED) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    return TRUE;
}

int CMenu::GetMenuItemCount() const {
    return m_menu ? static_cast<int>(m_menu->actions().size()) : -1;
}

UINT CMenu::GetMenuItemID(int nPos) const {
    if (!m_menu || nPos < 0 || nPos >= m_menu->actions().size())
        return static_cast<UINT>(-1);
    QAction* a = m_menu->actions()[nPos];
    if (a->menu())
        return static_cast<UINT>(-1);
    return a->isSeparator() ? 0 : IdOf(a);
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    if (!m_menu || nPos < 0 || nPos >= m_menu->actions().size())
        return nullptr;
    QMenu* sub = m_menu->actions()[nPos]->menu();
    if (!sub)
        return nullptr;
    for (const auto& m : m_subMenus) {
        if (m->m_menu == sub)
            return m.get();
    }
    auto view = std::make_unique<CMenu>();
    view->m_menu = sub;
    m_subMenus.push_back(std::move(view));
    return m_subMenus.back().get();
}

QAction* CMenu::FindCommand(UINT nID) const {
    if (!m_menu)
        return nullptr;
    for (QAction* a : m_menu->actions()) {
        if (!a->menu() && !a->isSeparator() && IdOf(a) == nID)
            return a;
    }
    return nullptr;
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    QAction* a = (nEnable & MF_BYPOSITION)
                     ? (m_menu && static_cast<int>(nIDEnableItem) < m_menu->actions().size()
                            ? m_menu->actions()[static_cast<int>(nIDEnableItem)]
                            : nullptr)
                     : FindCommand(nIDEnableItem);
    if (!a)
        return static_cast<UINT>(-1);
    const UINT previous = a->isEnabled() ? MF_STRING : MF_GRAYED;
    a->setEnabled((nEnable & (MF_GRAYED | MF_DISABLED)) == 0);
    return previous;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    QAction* a = FindCommand(nIDCheckItem);
    if (!a)
        return static_cast<UINT>(-1);
    const UINT previous = a->isChecked() ? MF_CHECKED : 0;
    a->setCheckable(true);
    a->setChecked((nCheck & MF_CHECKED) != 0);
    return previous;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const void*) {
    if (!m_menu)
        return FALSE;
    if (pWnd)
        CActionCmdUI::UpdateActions(m_menu->actions(), pWnd, TRUE);
    QAction* chosen = Tracker() ? Tracker()(m_menu, QPoint(x, y)) : m_menu->exec(QPoint(x, y));
    const UINT id = chosen && chosen->isEnabled() ? IdOf(chosen) : 0;
    if (nFlags & TPM_RETURNCMD)
        return static_cast<BOOL>(id);
    if (id == 0)
        return FALSE;
    if (pWnd && !(nFlags & TPM_NONOTIFY))
        pWnd->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
    return TRUE;
}

void CMenu::BindCommands(CWnd* owner) {
    if (m_menu && owner)
        BindMenu(m_menu, owner);
}

void CMenu::BindMenu(QMenu* menu, CWnd* owner) {
    const auto handle = reinterpret_cast<quintptr>(owner->GetSafeHwnd());
    if (menu->property(kBoundProperty).value<quintptr>() != handle) {
        menu->setProperty(kBoundProperty, handle);
        CActionCmdUI::UpdateBeforeShow(menu, owner);
        // After the update handlers: the recent files fill their place in the menu.
        const HWND window = owner->GetSafeHwnd();
        QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, window] {
            CWinApp* app = AfxGetApp();
            CWnd* target = CWnd::FromHandle(window);
            if (app && target && app->GetRecentFileList())
                app->GetRecentFileList()->UpdateMenu(menu, target);
        });
    }
    for (QAction* a : menu->actions()) {
        if (QMenu* sub = a->menu()) {
            BindMenu(sub, owner);
            continue;
        }
        const UINT id = IdOf(a);
        if (a->isSeparator() || id == 0 || a->property(kBoundProperty).value<quintptr>() == handle)
            continue;
        a->setProperty(kBoundProperty, handle);
        CActionCmdUI::BindCommand(a, id, owner);
    }
}
