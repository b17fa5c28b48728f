#pragma once

// CFrameWnd: a frame window around views and control bars. Its widget is a QMainWindow: the
// view with id AFX_IDW_PANE_FIRST is the central widget, toolbars dock in its toolbar areas,
// the status bar is its status bar, and Qt does the layout. The frame keeps the active view,
// routes commands (active view, then itself, then its parent frame or the application), asks
// the document before it closes, takes dropped files, and updates its bars on idle. Frames
// delete themselves when their window is destroyed.

#include "platform/framework/Accel.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/Wnd.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CControlBar;
class CDocument;
class CMenu;
class CView;
class QAction;
struct CCreateContext;

class CFrameWnd : public CWnd {
    DECLARE_DYNAMIC(CFrameWnd)
    DECLARE_MESSAGE_MAP()

public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault;

    BOOL IsFrameWnd() const override { return TRUE; }

    // Creates the window (titled by the template's window title or m_strTitle), its menu
    // from the resource chain when one has nIDResource, and its views from pContext. On
    // FALSE a window that was made is destroyed again (and the frame with it).
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // Expires when the frame object is deleted.
    std::weak_ptr<bool> GetLifeToken() const { return m_life; }

    // Makes the view of pContext as a child with id nID; the pane view becomes the centre.
    CWnd* CreateView(CCreateContext* pContext, UINT nID);
    // Makes the first view active, sends WM_INITIALUPDATE to every view, shows the frame
    // when bMakeVisible, and titles it.
    virtual void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // Shows the frame (nCmdShow -1: its usual way) and brings it forward.
    virtual void ActivateFrame(int nCmdShow = -1);

    virtual CView* GetActiveView() const;
    // pViewNew gets OnActivateView(TRUE), the previous one OnActivateView(FALSE), when bNotify.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // The frame whose view is active: this one, or the active MDI child of an MDI frame.
    virtual CFrameWnd* GetActiveFrame();

    void SetTitle(const QString& title) { m_strTitle = title; }
    const QString& GetTitle() const { return m_strTitle; }
    // Sets the window text from the active document's title (FWS_ADDTOTITLE frames).
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

    // Control bars created in this frame.
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    CControlBar* GetControlBar(UINT nID) const;
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // Lays out bars and views again now.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // The sides (CBRS_ALIGN_ flags) where bars may dock.
    void EnableDocking(DWORD dwDockStyle);
    // Docks the bar at the side of the dock-bar id (AFX_IDW_DOCKBAR_TOP ...); 0: its style's.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0);
    // Runs the update handlers of the frame's control bars, then those of the frames hosted
    // inside it (an MDI frame adds its MDI children).
    virtual void OnIdleUpdateCmdUI();

    // Replaces the frame's accelerators; each sends its command to the frame while the frame's
    // window is active. LoadFrame loads the table of its resource id.
    void SetAccelerators(const std::vector<ACCEL>& table);
    BOOL LoadAccelTable(UINT nIDResource);
    // The shortcut actions of the accelerators, in table order.
    const std::vector<QAction*>& GetAcceleratorActions() const { return m_accelerators; }

    // The frame's menu bar content (its items send their commands to this frame); the caller
    // keeps the CMenu.
    void SetMenu(CMenu* pMenu);
    CMenu* GetMenu() const { return m_pMenu; }
    // The menu LoadFrame loaded for the frame itself, or nullptr.
    CMenu* GetDefaultMenu() const { return m_ownMenu.get(); }

    // Whether dropped files are taken; they go to OnDropFiles.
    void DragAcceptFiles(BOOL bAccept = TRUE);
    // Opens each file through the application and brings the frame forward.
    virtual void OnDropFiles(const QStringList& paths);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // The routing after a child frame had the command: this frame's map, its parent frame,
    // and last the application.
    virtual BOOL OnCmdMsgFromChild(UINT nID, int nCode, void* pExtra,
                                   AFX_CMDHANDLERINFO* pHandlerInfo);

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // Views, then this frame's own map.
    BOOL RouteToViewAndSelf(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();
    void OnDestroy();
    void PostNcDestroy() override;
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    BOOL OnBarCheck(UINT nID);
    void OnBarCheckCommand(UINT nID) { OnBarCheck(nID); }

    QString m_strTitle;
    CView* m_pViewActive = nullptr;
    CMenu* m_pMenu = nullptr;
    std::unique_ptr<CMenu> m_ownMenu;
    std::vector<CControlBar*> m_listControlBars;
    DWORD m_dwDockStyle = 0;
    std::vector<QAction*> m_accelerators;

private:
    // This frame's own handlers (its message map).
    BOOL OwnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    class FrameWidget;
    std::shared_ptr<bool> m_life = std::make_shared<bool>(true);
};
