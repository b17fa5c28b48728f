#pragma once

// CMDIChildWnd: a document frame inside the MDI client. Its QMainWindow sits in a
// QMdiSubWindow that gives it the title bar; closing, activating and maximising go through
// the MDI frame. While active, its template's menu is the main frame's menu.

#include "platform/framework/FrameWnd.h"

class CMDIFrameWnd;
class QMdiSubWindow;

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNAMIC(CMDIChildWnd)
    DECLARE_MESSAGE_MAP()

public:
    CMDIChildWnd();
    ~CMDIChildWnd() override;

    // The MDI frame is pParentWnd, else the application's main window.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    CMDIFrameWnd* GetMDIFrame() const { return m_pMDIFrame; }
    QMdiSubWindow* GetSubWindow() const { return m_subWindow; }

    void ActivateFrame(int nCmdShow = -1) override;
    void MDIActivate();
    void MDIDestroy();
    void MDIMaximize();
    void MDIRestore();
    // Takes the child out of the MDI client into pNewParent, inside which it lives on as a plain
    // child window: the MDI frame forgets it (another child becomes active) and its sub-window
    // goes. Nothing for a child no longer in the client.
    void LeaveMDIClient(CWnd* pNewParent);
    // The MDI frame activated this child (bActivate) or another one.
    virtual void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void OnDestroy();

private:
    CMDIFrameWnd* m_pMDIFrame = nullptr;
    QMdiSubWindow* m_subWindow = nullptr;
    CMenu* m_pSharedMenu = nullptr;

    friend class CMDIFrameWnd;
};
