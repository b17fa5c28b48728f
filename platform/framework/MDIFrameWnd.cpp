#include "platform/framework/MDIFrameWnd.h"

#include "platform/framework/CmdUI.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/MDIClientWnd.h"
#include "platform/framework/WinApp.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <algorithm>

IMPLEMENT_DYNAMIC(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_COMMAND(ID_WINDOW_CASCADE, OnWindowCascade)
ON_COMMAND(ID_WINDOW_TILE_HORZ, OnWindowTile)
ON_COMMAND(ID_WINDOW_TILE_VERT, OnWindowTile)
ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() = default;

CMDIFrameWnd::~CMDIFrameWnd() = default;

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext*) {
    auto* main = static_cast<QMainWindow*>(GetQWidget());
    m_mdiArea = new QMdiArea(main);
    main->setCentralWidget(m_mdiArea);
    m_defaultClient = std::make_unique<CMDIClientWnd>(this);
    m_pClient = m_defaultClient.get();
    m_pClient->Attach(m_mdiArea);
    m_activation = QObject::connect(m_mdiArea, &QMdiArea::subWindowActivated, m_mdiArea,
                                    [this](QMdiSubWindow* window) { SubWindowActivated(window); });
    return TRUE;
}

CWnd* CMDIFrameWnd::GetMDIClient() const {
    return m_pClient && m_pClient->GetSafeHwnd() ? m_pClient : nullptr;
}

BOOL CMDIFrameWnd::SubclassMDIClient(CMDIClientWnd* pClient) {
    if (!pClient || pClient->GetSafeHwnd() || !GetMDIClient())
        return FALSE;
    QWidget* area = m_pClient->Detach();
    if (!pClient->Attach(area)) {
        m_pClient->Attach(area);
        return FALSE;
    }
    m_pClient = pClient;
    m_defaultClient.reset();
    return TRUE;
}

CMDIChildWnd* CMDIFrameWnd::ChildOf(QMdiSubWindow* window) const {
    for (CMDIChildWnd* child : m_children) {
        if (child->m_subWindow == window)
            return child;
    }
    return nullptr;
}

void CMDIFrameWnd::AddMDIChild(CMDIChildWnd* pChild, QWidget* frameWidget) {
    pChild->m_subWindow = m_mdiArea->addSubWindow(frameWidget);
    pChild->m_subWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    // The keys are the frame's accelerators: the window menu's own Close key (Ctrl+W) would
    // make that key ambiguous, so that it did nothing at all.
    if (QMenu* menu = pChild->m_subWindow->systemMenu()) {
        for (QAction* action : menu->actions())
            action->setShortcuts({});
    }
    m_children.push_back(pChild);
}

void CMDIFrameWnd::ChildCreated(CMDIChildWnd* pChild) {
    if (m_pClient && std::find(m_children.begin(), m_children.end(), pChild) != m_children.end())
        m_pClient->OnMDIChildCreated(pChild);
}

void CMDIFrameWnd::ChildDestroyed(CMDIChildWnd* pChild) {
    if (m_pClient)
        m_pClient->OnMDIChildDestroying(pChild);
    m_children.erase(std::remove(m_children.begin(), m_children.end(), pChild), m_children.end());
    if (m_pActiveChild == pChild) {
        m_pActiveChild = nullptr;
        if (m_destroying)
            return;
        // Qt moves on to another child only when the area itself is active; do it here too.
        std::vector<CMDIChildWnd*> rest = GetMDIChildren();
        if (!rest.empty())
            MDIActivate(rest.front());
        else
            SetMenu(m_ownMenu.get());
    }
}

void CMDIFrameWnd::SubWindowActivated(QMdiSubWindow* window) {
    // Qt reports null when the whole program loses the focus; the child stays active.
    if (!window)
        return;
    CMDIChildWnd* child = ChildOf(window);
    if (!child || child == m_pActiveChild)
        return;
    CMDIChildWnd* old = m_pActiveChild;
    m_pActiveChild = child;
    if (old)
        old->OnMDIActivate(FALSE, child, old);
    child->OnMDIActivate(TRUE, child, old);
    OnUpdateFrameTitle(TRUE);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
    if (pbMaximized)
        *pbMaximized = m_pActiveChild && m_pActiveChild->m_subWindow &&
                               m_pActiveChild->m_subWindow->isMaximized()
                           ? TRUE
                           : FALSE;
    return m_pActiveChild;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
    auto* child = dynamic_cast<CMDIChildWnd*>(pWndActivate);
    if (!child || !child->m_subWindow)
        return;
    if (!child->m_subWindow->isVisible())
        child->m_subWindow->show();
    m_mdiArea->setActiveSubWindow(child->m_subWindow);
    // The area reports the activation only while it has the focus; make sure it is known.
    SubWindowActivated(child->m_subWindow);
}

void CMDIFrameWnd::MDINext() {
    const std::vector<CMDIChildWnd*> children = GetMDIChildren();
    if (children.size() > 1)
        MDIActivate(children.back());
}

void CMDIFrameWnd::MDICascade() {
    m_mdiArea->cascadeSubWindows();
}

void CMDIFrameWnd::MDITile() {
    m_mdiArea->tileSubWindows();
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd) {
    if (auto* child = dynamic_cast<CMDIChildWnd*>(pWnd); child && child->m_subWindow)
        child->m_subWindow->showMaximized();
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd) {
    if (auto* child = dynamic_cast<CMDIChildWnd*>(pWnd); child && child->m_subWindow)
        child->m_subWindow->showNormal();
}

std::vector<CMDIChildWnd*> CMDIFrameWnd::GetMDIChildren() const {
    std::vector<CMDIChildWnd*> result;
    if (!m_mdiArea)
        return result;
    // Qt lists them bottom to top; the active child is the topmost.
    const QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList(QMdiArea::StackingOrder);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (CMDIChildWnd* child = ChildOf(*it))
            result.push_back(child);
    }
    if (m_pActiveChild) {
        auto at = std::find(result.begin(), result.end(), m_pActiveChild);
        if (at != result.end())
            std::rotate(result.begin(), at, at + 1);
    }
    return result;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    return m_pActiveChild ? static_cast<CFrameWnd*>(m_pActiveChild) : this;
}

CView* CMDIFrameWnd::GetActiveView() const {
    return m_pActiveChild ? m_pActiveChild->GetActiveView() : CFrameWnd::GetActiveView();
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_pActiveChild && m_pActiveChild->RouteToViewAndSelf(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return OnCmdMsgFromChild(nID, nCode, pExtra, pHandlerInfo);
}

void CMDIFrameWnd::OnIdleUpdateCmdUI() {
    CFrameWnd::OnIdleUpdateCmdUI();
    for (CMDIChildWnd* child : GetMDIChildren())
        child->OnIdleUpdateCmdUI();
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL) {
    if (GetSafeHwnd() && !m_strTitle.isEmpty())
        SetWindowText(m_strTitle);
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pActiveChild != nullptr);
}

void CMDIFrameWnd::OnDestroy() {
    m_destroying = true;
    // The area outlives this object until Qt deletes it.
    QObject::disconnect(m_activation);
    CFrameWnd::OnDestroy();
}
