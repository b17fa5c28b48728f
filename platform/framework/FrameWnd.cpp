#include "platform/framework/FrameWnd.h"

#include "platform/framework/ActionCmdUI.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/ControlBar.h"
#include "platform/framework/CreateContext.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/Document.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/Menu.h"
#include "platform/framework/View.h"
#include "platform/framework/WinApp.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include <algorithm>

IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnBarCheckCommand)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(0, 0, 640, 480);

// The frame's QMainWindow; it also takes file drops for frames that accept them.
class CFrameWnd::FrameWidget : public QMainWindow {
public:
    FrameWidget(CFrameWnd* frame, QWidget* parent) : QMainWindow(parent), m_frame(frame) {}

    bool m_acceptFiles = false;

    // No menu of its own over the bars: the frame's commands show and hide them and keep their
    // settings and check marks in step, which Qt's list (of bars, named or not) would not.
    QMenu* createPopupMenu() override { return nullptr; }

protected:
    void dragEnterEvent(QDragEnterEvent* e) override { AcceptAsCopy(e); }
    void dragMoveEvent(QDragMoveEvent* e) override { AcceptAsCopy(e); }
    void dropEvent(QDropEvent* e) override {
        if (!AcceptAsCopy(e))
            return;
        QStringList paths;
        for (const QUrl& url : e->mimeData()->urls()) {
            if (url.isLocalFile())
                paths.append(url.toLocalFile());
        }
        if (!paths.isEmpty())
            m_frame->OnDropFiles(paths);
    }

private:
    // A dropped file is only read: accepting a move would let the source delete the user's
    // original, so the drop is taken as a copy, or as a link when the source offers no copy.
    bool AcceptAsCopy(QDropEvent* e) {
        const Qt::DropActions offered = e->possibleActions();
        const Qt::DropAction action = (offered & Qt::CopyAction)   ? Qt::CopyAction
                                      : (offered & Qt::LinkAction) ? Qt::LinkAction
                                                                   : Qt::IgnoreAction;
        if (!m_acceptFiles || !e->mimeData()->hasUrls() || action == Qt::IgnoreAction) {
            e->ignore();
            return false;
        }
        e->setDropAction(action);
        e->accept();
        return true;
    }

    CFrameWnd* m_frame;
};

namespace {

Qt::ToolBarArea AreaOfDockBar(UINT nDockBarID, DWORD barStyle) {
    switch (nDockBarID) {
        case AFX_IDW_DOCKBAR_LEFT:
            return Qt::LeftToolBarArea;
        case AFX_IDW_DOCKBAR_RIGHT:
            return Qt::RightToolBarArea;
        case AFX_IDW_DOCKBAR_BOTTOM:
            return Qt::BottomToolBarArea;
        case AFX_IDW_DOCKBAR_TOP:
            return Qt::TopToolBarArea;
        default:
            break;
    }
    if (barStyle & CBRS_ALIGN_TOP)
        return Qt::TopToolBarArea;
    if (barStyle & CBRS_ALIGN_BOTTOM)
        return Qt::BottomToolBarArea;
    if (barStyle & CBRS_ALIGN_LEFT)
        return Qt::LeftToolBarArea;
    if (barStyle & CBRS_ALIGN_RIGHT)
        return Qt::RightToolBarArea;
    return Qt::TopToolBarArea;
}

Qt::ToolBarAreas AreasOf(DWORD alignFlags) {
    Qt::ToolBarAreas areas;
    if (alignFlags & CBRS_ALIGN_TOP)
        areas |= Qt::TopToolBarArea;
    if (alignFlags & CBRS_ALIGN_BOTTOM)
        areas |= Qt::BottomToolBarArea;
    if (alignFlags & CBRS_ALIGN_LEFT)
        areas |= Qt::LeftToolBarArea;
    if (alignFlags & CBRS_ALIGN_RIGHT)
        areas |= Qt::RightToolBarArea;
    return areas;
}

}  // namespace

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
    *m_life = false;
    for (CControlBar* bar : m_listControlBars)
        bar->m_pDockSite = nullptr;
}

QWidget* CFrameWnd::CreateWidget(QWidget* parent) {
    auto* widget = new FrameWidget(this, parent);
    widget->setAttribute(Qt::WA_DeleteOnClose, false);
    return widget;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
    if (m_strTitle.isEmpty() && pContext && pContext->m_pNewDocTemplate)
        pContext->m_pNewDocTemplate->GetDocString(m_strTitle, CDocTemplate::windowTitle);
    if (!Create(nullptr, m_strTitle, dwDefaultStyle & ~WS_VISIBLE, rectDefault, pParentWnd,
                nIDResource, pContext))
        return FALSE;
    if (!m_pMenu) {
        if (CMenu* menu = CMenu::LoadResourceMenu(nIDResource)) {
            m_ownMenu.reset(menu);
            SetMenu(menu);
        }
    }
    if (m_accelerators.empty())
        LoadAccelTable(nIDResource);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    return OnCreateClient(lpCreateStruct, context) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    auto* view = dynamic_cast<CWnd*>(pContext->m_pNewViewClass->CreateObject());
    if (!view)
        return nullptr;
    if (!view->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID,
                      pContext))
        return nullptr;  // a view deletes itself when its window goes
    if (nID == AFX_IDW_PANE_FIRST) {
        // A view may sit inside widgets of its own (a scroll area): the outermost goes in.
        QWidget* pane = view->GetQWidget();
        while (pane->parentWidget() && pane->parentWidget() != GetQWidget())
            pane = pane->parentWidget();
        static_cast<QMainWindow*>(GetQWidget())->setCentralWidget(pane);
    }
    return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible) {
    if (!m_pViewActive) {
        if (auto* view = dynamic_cast<CView*>(GetDescendantWindow(AFX_IDW_PANE_FIRST)))
            SetActiveView(view, FALSE);
    }
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
    if (!GetSafeHwnd())
        return;
    if (bMakeVisible)
        ActivateFrame();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (!GetSafeHwnd())
        return;
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    GetQWidget()->raise();
    GetQWidget()->activateWindow();
}

CView* CFrameWnd::GetActiveView() const {
    return m_pViewActive;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* old = m_pViewActive;
    if (old == pViewNew)
        return;
    m_pViewActive = pViewNew;
    if (!bNotify)
        return;
    if (old)
        old->OnActivateView(FALSE, pViewNew, old);
    if (pViewNew)
        pViewNew->OnActivateView(TRUE, pViewNew, old);
}

CDocument* CFrameWnd::GetActiveDocument() {
    CView* view = GetActiveView();
    return view ? view->GetDocument() : nullptr;
}

CFrameWnd* CFrameWnd::GetActiveFrame() {
    return this;
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!GetSafeHwnd() || !(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* doc = GetActiveDocument();
    if (bAddToTitle && doc && !doc->GetTitle().isEmpty())
        SetWindowText(m_strTitle.isEmpty() ? doc->GetTitle()
                                           : doc->GetTitle() + " - " + m_strTitle);
    else
        SetWindowText(m_strTitle);
}

void CFrameWnd::AddControlBar(CControlBar* pBar) {
    if (std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) ==
        m_listControlBars.end())
        m_listControlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
    m_listControlBars.erase(std::remove(m_listControlBars.begin(), m_listControlBars.end(), pBar),
                            m_listControlBars.end());
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const {
    for (CControlBar* bar : m_listControlBars) {
        if (static_cast<UINT>(bar->GetDlgCtrlID()) == nID)
            return bar;
    }
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
    if (!pBar || !pBar->GetSafeHwnd())
        return;
    pBar->GetDockWidget()->setVisible(bShow != FALSE);
    if (!bDelay)
        RecalcLayout();
}

void CFrameWnd::RecalcLayout(BOOL) {
    for (CControlBar* bar : m_listControlBars)
        bar->UpdateDockSize();
    if (QWidget* w = GetQWidget(); w && w->layout()) {
        w->layout()->invalidate();
        w->layout()->activate();
    }
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID) {
    auto* main = static_cast<QMainWindow*>(GetQWidget());
    auto* toolBar = pBar ? qobject_cast<QToolBar*>(pBar->GetDockWidget()) : nullptr;
    if (!main || !toolBar)
        return;
    const DWORD sides = pBar->GetDockingStyle() & m_dwDockStyle;
    toolBar->setAllowedAreas(sides ? AreasOf(sides) : Qt::ToolBarAreas());
    toolBar->setMovable(sides != 0);
    main->addToolBar(AreaOfDockBar(nDockBarID, pBar->GetBarStyle()), toolBar);
    pBar->UpdateDockSize();
}

namespace {

// The frames embedded in widget's window below it, each the nearest to widget on its branch; MDI
// children (their MDI frame updates them) and windows of their own are left out.
void CollectHostedFrames(QWidget* widget, std::vector<QPointer<QWidget>>& frames) {
    for (QObject* object : widget->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow())
            continue;
        CWnd* wnd = CWnd::FromWidgetPermanent(child);
        if (dynamic_cast<CMDIChildWnd*>(wnd))
            continue;
        if (dynamic_cast<CFrameWnd*>(wnd))
            frames.emplace_back(child);
        else
            CollectHostedFrames(child, frames);
    }
}

}  // namespace

void CFrameWnd::OnIdleUpdateCmdUI() {
    // A bar's handler may hide or destroy bars: walk a copy and skip the ones gone.
    const std::vector<CControlBar*> bars = m_listControlBars;
    for (CControlBar* bar : bars) {
        if (std::find(m_listControlBars.begin(), m_listControlBars.end(), bar) !=
                m_listControlBars.end() &&
            bar->GetSafeHwnd())
            bar->OnUpdateCmdUI(this, TRUE);
    }
    // Frames hosted inside this one (in its views) have bars of their own to update; so may
    // theirs. A handler may close some of them meanwhile.
    QWidget* widget = GetQWidget();
    if (!widget)
        return;
    std::vector<QPointer<QWidget>> hosted;
    CollectHostedFrames(widget, hosted);
    for (const QPointer<QWidget>& child : hosted) {
        if (auto* frame =
                child ? dynamic_cast<CFrameWnd*>(CWnd::FromWidgetPermanent(child)) : nullptr)
            frame->OnIdleUpdateCmdUI();
    }
}

void CFrameWnd::SetAccelerators(const std::vector<ACCEL>& table) {
    for (QAction* a : m_accelerators)
        delete a;
    m_accelerators.clear();
    QWidget* widget = GetQWidget();
    if (!widget)
        return;
    for (const ACCEL& accel : table) {
        const QKeySequence keys = AccelKeySequence(accel);
        if (keys.isEmpty())
            continue;
        auto* action = new QAction(widget);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        CActionCmdUI::BindCommand(action, accel.cmd, this);
        widget->addAction(action);
        m_accelerators.push_back(action);
    }
}

BOOL CFrameWnd::LoadAccelTable(UINT nIDResource) {
    const std::vector<ACCEL> table = AfxLoadAccelerators(nIDResource);
    if (table.empty())
        return FALSE;
    SetAccelerators(table);
    return TRUE;
}

void CFrameWnd::SetMenu(CMenu* pMenu) {
    auto* main = static_cast<QMainWindow*>(GetQWidget());
    m_pMenu = pMenu;
    if (!main)
        return;
    QMenuBar* bar = main->menuBar();
    bar->clear();
    if (!pMenu || !pMenu->GetQMenu())
        return;
    pMenu->BindCommands(this);
    for (QAction* a : pMenu->GetQMenu()->actions())
        bar->addAction(a);
}

void CFrameWnd::DragAcceptFiles(BOOL bAccept) {
    if (auto* w = dynamic_cast<FrameWidget*>(GetQWidget())) {
        w->m_acceptFiles = bAccept != FALSE;
        w->setAcceptDrops(bAccept != FALSE);
    }
}

void CFrameWnd::OnDropFiles(const QStringList& paths) {
    ActivateFrame();
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    for (const QString& path : paths)
        app->OpenDocumentFile(path);
}

BOOL CFrameWnd::RouteToViewAndSelf(UINT nID, int nCode, void* pExtra,
                                   AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CView* view = GetActiveView(); view && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return OwnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OwnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // The bar toggles belong to the frame that holds the bar: a child frame without it lets
    // them go on to the main window, whose own View menu shows them.
    const bool barToggle = nID == ID_VIEW_TOOLBAR || nID == ID_VIEW_STATUS_BAR;
    if (barToggle && !GetControlBar(nID) && AfxGetMainWnd() != this)
        return FALSE;
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (RouteToViewAndSelf(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CFrameWnd* parent = GetParentFrame())
        return parent->OnCmdMsgFromChild(nID, nCode, pExtra, pHandlerInfo);
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnCmdMsgFromChild(UINT nID, int nCode, void* pExtra,
                                  AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (OwnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CFrameWnd* parent = GetParentFrame())
        return parent->OnCmdMsgFromChild(nID, nCode, pExtra, pHandlerInfo);
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnClose() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        // Closing the main window closes the program: every document first.
        if (!app->SaveAllModified())
            return;
        app->CloseAllDocuments(FALSE);
        if (!GetSafeHwnd())
            return;
    } else if (CDocument* doc = GetActiveDocument(); doc && !doc->CanCloseFrame(this)) {
        return;
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        if (app->IsRunning())
            PostQuitMessage(0);
    }
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy() {
    delete this;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    CControlBar* bar = GetControlBar(pCmdUI->m_nID);
    if (!bar) {
        pCmdUI->Enable(FALSE);
        return;
    }
    pCmdUI->SetCheck(bar->IsVisible() ? 1 : 0);
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
    CControlBar* bar = GetControlBar(nID);
    if (!bar)
        return FALSE;
    ShowControlBar(bar, !bar->IsVisible(), FALSE);
    return TRUE;
}
