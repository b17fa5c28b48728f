#include "platform/framework/DialogBar.h"

#include "platform/framework/CmdUI.h"
#include "platform/framework/ControlWidgets.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/ResourceChain.h"

#include <QAbstractButton>

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

namespace {

// One control of the bar as its update handler sees it.
class ControlCmdUI : public CCmdUI {
public:
    explicit ControlCmdUI(QWidget* control) : m_control(control) {}
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        m_control->setEnabled(bOn != FALSE);
    }
    void SetCheck(int nCheck) override {
        if (auto* button = qobject_cast<QAbstractButton*>(m_control);
            button && button->isCheckable())
            button->setChecked(nCheck != 0);
    }
    void SetText(const QString& text) override { m_control->setProperty("text", text); }

private:
    QWidget* m_control;
};

}  // namespace

BOOL CDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID) {
    const DialogTemplate* tmpl = CResourceChain::FindDialog(nIDTemplate);
    if (!tmpl)
        return FALSE;
    const QFont font = CDialog::TemplateFont(*tmpl);
    const CSize base = CDialog::DialogBaseUnits(font);
    auto toPixels = [&](int x, int y, int cx, int cy) {
        return CRect((x * base.cx + 2) / 4, (y * base.cy + 4) / 8, ((x + cx) * base.cx + 2) / 4,
                     ((y + cy) * base.cy + 4) / 8);
    };
    m_sizeDefault = toPixels(0, 0, tmpl->cx, tmpl->cy).Size();
    // The controls are made before the bar shows, so its first layout already holds them.
    if (!CControlBar::Create(pParentWnd, nStyle & ~WS_VISIBLE, nID))
        return FALSE;
    GetQWidget()->setFont(font);
    std::vector<CRect> rects;
    for (const DialogItemTemplate& item : tmpl->items)
        rects.push_back(toPixels(item.x, item.y, item.cx, item.cy));
    CreateDialogControls(*tmpl, GetQWidget(), rects);
    UpdateDockSize();
    if (nStyle & WS_VISIBLE)
        GetDockWidget()->show();
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL, BOOL) {
    return m_sizeDefault;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    if (!GetQWidget() || !pTarget)
        return;
    for (QWidget* control : GetQWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        CWnd* wnd = CWnd::FromWidget(control);
        const int id = wnd ? wnd->GetDlgCtrlID() : 0;
        // Only buttons take commands; labels and fields keep their state.
        if (id <= 0 || !qobject_cast<QAbstractButton*>(control))
            continue;
        ControlCmdUI ui(control);
        ui.m_nID = static_cast<UINT>(id);
        ui.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

BOOL CDialogBar::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    // The bar's own handlers first; the rest of its controls' messages belong to the frame.
    if (CControlBar::OnWndMsg(message, wParam, lParam, pResult))
        return TRUE;
    if ((message == WM_COMMAND || message == WM_NOTIFY || message == WM_DRAWITEM) && m_pDockSite) {
        *pResult = m_pDockSite->SendMessage(message, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}
