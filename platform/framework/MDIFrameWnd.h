#pragma once

// CMDIFrameWnd: the main frame of a multiple-document program: a QMainWindow whose centre is
// the MDI client (a QMdiArea) holding the MDI child frames. It tracks the active child, routes
// commands to it before its own handlers, and arranges the children (cascade, tile).

#include "platform/framework/FrameWnd.h"

#include <QMetaObject>

#include <memory>
#include <vector>

class CMDIChildWnd;
class CMDIClientWnd;
class QMdiArea;
class QMdiSubWindow;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNAMIC(CMDIFrameWnd)
    DECLARE_MESSAGE_MAP()

public:
    CMDIFrameWnd();
    ~CMDIFrameWnd() override;

    // The client window, which exists while the frame's window does.
    CWnd* GetMDIClient() const;
    // Makes pClient (made for this frame, kept by the caller until the frame's window is
    // gone) the object of the client window in place of the default one. FALSE without a
    // client window or when pClient already has a window.
    BOOL SubclassMDIClient(CMDIClientWnd* pClient);
    QMdiArea* GetMDIArea() const { return m_mdiArea; }

    // The active child frame (with *pbMaximized telling whether it is maximised), or nullptr.
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDINext();
    void MDICascade();
    void MDITile();
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    // The child frames, topmost first.
    std::vector<CMDIChildWnd*> GetMDIChildren() const;

    CFrameWnd* GetActiveFrame() override;
    CView* GetActiveView() const override;
    // The active child's view and frame, then this frame and the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void OnIdleUpdateCmdUI() override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

    // Called by the child frames: when the frame widget is made, once the child's window
    // exists, and when it is destroyed.
    void AddMDIChild(CMDIChildWnd* pChild, QWidget* frameWidget);
    void ChildCreated(CMDIChildWnd* pChild);
    void ChildDestroyed(CMDIChildWnd* pChild);

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnWindowCascade() { MDICascade(); }
    void OnWindowTile() { MDITile(); }
    void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
    void OnDestroy();

private:
    void SubWindowActivated(QMdiSubWindow* window);
    CMDIChildWnd* ChildOf(QMdiSubWindow* window) const;

    QMdiArea* m_mdiArea = nullptr;
    CMDIClientWnd* m_pClient = nullptr;
    std::unique_ptr<CMDIClientWnd> m_defaultClient;
    CMDIChildWnd* m_pActiveChild = nullptr;
    std::vector<CMDIChildWnd*> m_children;
    bool m_destroying = false;
    QMetaObject::Connection m_activation;
};
