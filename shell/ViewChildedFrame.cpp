#include "shell/ViewChildedFrame.h"

#include "platform/framework/View.h"
#include "platform/framework/WinApp.h"
#include "shell/HostedFrameWidget.h"
#include "shell/MainFrame.h"

#include <QWidget>

IMPLEMENT_DYNCREATE(CViewChildedFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CViewChildedFrame, CFrameWnd)
ON_WM_CLOSE()
ON_MESSAGE(WM_CHILDACTIVATE, OnChildActivate)
ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
ON_MESSAGE(WM_NCACTIVATE, OnNcActivate)
END_MESSAGE_MAP()

UINT CViewChildedFrame::s_lastSerialNumber = 0;

CViewChildedFrame::CViewChildedFrame() : m_serialNumber(++s_lastSerialNumber) {}

QWidget* CViewChildedFrame::CreateWidget(QWidget* parent) {
    auto* widget = new CHostedFrameWidget(parent);
    widget->setAttribute(Qt::WA_DeleteOnClose, false);
    return widget;
}

void CViewChildedFrame::SetCaptionActive(BOOL bActive) {
    if (auto* widget = dynamic_cast<CHostedFrameWidget*>(GetQWidget()))
        widget->SetCaptionActive(bActive != FALSE);
}

BOOL CViewChildedFrame::IsCaptionActive() const {
    auto* widget = dynamic_cast<CHostedFrameWidget*>(GetQWidget());
    return widget && widget->IsCaptionActive() ? TRUE : FALSE;
}

void CViewChildedFrame::SetSystemMenu(BOOL bShown) {
    if (auto* widget = dynamic_cast<CHostedFrameWidget*>(GetQWidget()))
        widget->SetSystemMenu(bShown != FALSE);
}

BOOL CViewChildedFrame::HasSystemMenu() const {
    auto* widget = dynamic_cast<CHostedFrameWidget*>(GetQWidget());
    return widget && widget->HasSystemMenu() ? TRUE : FALSE;
}

LRESULT CViewChildedFrame::OnNcActivate(WPARAM wParam, LPARAM) {
    SetCaptionActive(wParam != 0 ? TRUE : FALSE);
    return TRUE;
}

CWnd* CViewChildedFrame::AttachToParentView(CView* pView, CViewChildedFrame* pFrame) {
    pFrame->m_pParentView = pView;
    CWnd* previous = pFrame->GetParent();
    QWidget* widget = pFrame->GetQWidget();
    if (!widget)
        return previous;
    // Hosted, the frame is a child widget inside the view rather than a window of its own.
    const bool visible = widget->isVisible();
    const Qt::WindowFlags kind = pView ? Qt::Widget : Qt::Window;
    widget->setParent(pView ? pView->GetQWidget() : nullptr,
                      (widget->windowFlags() & ~Qt::WindowType_Mask) | kind);
    if (visible)
        widget->show();
    return previous;
}

CWnd* CViewChildedFrame::GetParentView() const {
    if (CWnd* parent = GetParent())
        return parent;
    return m_pParentView;
}

void CViewChildedFrame::OnClose() {
    // While the program shuts down the hosts are going too: nobody is asked.
    CWnd* mainWnd = AfxGetMainWnd();
    auto* mainFrame = dynamic_cast<CMainFrame*>(mainWnd);
    if (!mainWnd || !mainWnd->GetSafeHwnd() || (mainFrame && mainFrame->IsClosing())) {
        CFrameWnd::OnClose();
        return;
    }
    if (m_bClosePending)
        return;
    m_bClosePending = TRUE;
    if (CWnd* parent = GetParent()) {
        HWND parentHandle = parent->GetSafeHwnd();
        if (parent->SendMessage(WM_CHILDED_MAYCLOSE, reinterpret_cast<WPARAM>(GetSafeHwnd()), 0) !=
            1) {
            m_bClosePending = FALSE;
            return;
        }
        if (CWnd* stillThere = CWnd::FromHandle(parentHandle))
            stillThere->SetFocus();
    }
    const std::weak_ptr<bool> alive = GetLifeToken();
    CFrameWnd::OnClose();
    // The host let it go but the user kept it ("Save changes" answered Cancel): the next
    // close must be asked again.
    if (!alive.expired())
        m_bClosePending = FALSE;
}

LRESULT CViewChildedFrame::OnChildActivate(WPARAM, LPARAM) {
    Default();
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_CHILDED_ACTIVATED, reinterpret_cast<WPARAM>(GetSafeHwnd()),
                            kChildedActivatedByChildActivate);
    if (CView* view = GetActiveView())
        view->PostMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    return 0;
}

LRESULT CViewChildedFrame::OnMouseActivate(WPARAM, LPARAM) {
    LRESULT result = Default();
    if (result == MA_ACTIVATE) {
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_CHILDED_ACTIVATED, reinterpret_cast<WPARAM>(GetSafeHwnd()),
                                kChildedActivatedByMouse);
    }
    return result;
}
