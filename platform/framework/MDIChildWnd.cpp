#include "platform/framework/MDIChildWnd.h"

#include "platform/framework/CreateContext.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/Document.h"
#include "platform/framework/MDIFrameWnd.h"
#include "platform/framework/View.h"
#include "platform/framework/WinApp.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

IMPLEMENT_DYNAMIC(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() = default;
CMDIChildWnd::~CMDIChildWnd() = default;

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext) {
    m_pMDIFrame = dynamic_cast<CMDIFrameWnd*>(pParentWnd ? pParentWnd : AfxGetMainWnd());
    if (!m_pMDIFrame || !m_pMDIFrame->GetMDIArea())
        return FALSE;
    if (pContext && pContext->m_pNewDocTemplate)
        m_pSharedMenu = pContext->m_pNewDocTemplate->GetSharedMenu();
    // The window lives in the MDI client, not as a child window of the frame.
    if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle & ~WS_CHILD, nullptr, pContext))
        return FALSE;
    // The main window shows the active child's menu; the child itself has no menu bar.
    if (auto* window = qobject_cast<QMainWindow*>(GetQWidget()); window && window->menuWidget())
        window->menuWidget()->hide();
    m_pMDIFrame->ChildCreated(this);
    return TRUE;
}

QWidget* CMDIChildWnd::CreateWidget(QWidget* parent) {
    QWidget* widget = CFrameWnd::CreateWidget(parent);
    if (m_pMDIFrame)
        m_pMDIFrame->AddMDIChild(this, widget);
    return widget;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
    if (!GetSafeHwnd() || !m_subWindow || !m_pMDIFrame)
        return;
    GetQWidget()->show();
    if (nCmdShow == SW_SHOWMAXIMIZED)
        m_subWindow->showMaximized();
    else if (nCmdShow == SW_HIDE)
        m_subWindow->hide();
    else
        m_subWindow->show();
    if (nCmdShow != SW_HIDE)
        m_pMDIFrame->MDIActivate(this);
}

void CMDIChildWnd::MDIActivate() {
    if (m_pMDIFrame)
        m_pMDIFrame->MDIActivate(this);
}

void CMDIChildWnd::MDIDestroy() {
    DestroyWindow();
}

void CMDIChildWnd::MDIMaximize() {
    if (m_pMDIFrame)
        m_pMDIFrame->MDIMaximize(this);
}

void CMDIChildWnd::MDIRestore() {
    if (m_pMDIFrame)
        m_pMDIFrame->MDIRestore(this);
}

void CMDIChildWnd::LeaveMDIClient(CWnd* pNewParent) {
    if (!GetSafeHwnd() || !m_pMDIFrame)
        return;
    QMdiSubWindow* sub = m_subWindow;
    m_subWindow = nullptr;
    if (sub)
        sub->setWidget(nullptr);
    // A plain child: no window of its own (the sub-window made it one).
    GetQWidget()->setParent(pNewParent ? pNewParent->GetQWidget() : nullptr,
                            pNewParent ? Qt::Widget : Qt::Window);
    CMDIFrameWnd* mdiFrame = m_pMDIFrame;
    m_pMDIFrame = nullptr;
    mdiFrame->ChildDestroyed(this);
    if (sub) {
        sub->hide();
        sub->deleteLater();
    }
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd*, CWnd*) {
    CView* view = GetActiveView();
    if (view)
        view->OnActivateView(bActivate, bActivate ? view : nullptr, bActivate ? nullptr : view);
    // A document without a menu of its own shows the main frame's.
    if (bActivate && m_pMDIFrame)
        m_pMDIFrame->SetMenu(m_pSharedMenu ? m_pSharedMenu : m_pMDIFrame->GetDefaultMenu());
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!GetSafeHwnd())
        return;
    CDocument* doc = GetActiveDocument();
    const QString title = bAddToTitle && doc ? doc->GetTitle() : m_strTitle;
    SetWindowText(title);
    if (m_subWindow)
        m_subWindow->setWindowTitle(title);
}

void CMDIChildWnd::OnDestroy() {
    if (m_pMDIFrame)
        m_pMDIFrame->ChildDestroyed(this);
    if (m_subWindow) {
        // The sub-window only framed this window; it goes too.
        m_subWindow->hide();
        m_subWindow->deleteLater();
        m_subWindow = nullptr;
    }
    CFrameWnd::OnDestroy();
}
