#include "platform/framework/ToolBar.h"

#include "platform/framework/ResourceChain.h"

#include "platform/framework/ActionCmdUI.h"
#include "platform/framework/CommandIcon.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/FrameworkIds.h"

#include <QAction>
#include <QIcon>
#include <QPixmap>
#include <QToolBar>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

CToolBar::CToolBar() = default;

QWidget* CToolBar::CreateWidget(QWidget* parent) {
    return new QToolBar(parent);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, UINT nID) {
    if (!pParentWnd)
        return FALSE;
    m_dwStyle = dwStyle & ~(WS_CHILD | WS_VISIBLE);
    if (!CWnd::Create(nullptr, QString(), (dwStyle & ~WS_VISIBLE) | WS_CHILD, CRect(0, 0, 0, 0),
                      pParentWnd, nID))
        return FALSE;
    AttachToFrame(pParentWnd);
    if (m_pDockSite)
        m_pDockSite->DockControlBar(this);
    GetToolBarCtrl()->setVisible((dwStyle & WS_VISIBLE) != 0);
    return TRUE;
}

QToolBar* CToolBar::GetToolBarCtrl() const {
    return qobject_cast<QToolBar*>(GetQWidget());
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    QToolBar* bar = GetToolBarCtrl();
    if (!bar)
        return FALSE;
    bar->clear();
    CWnd* owner = m_pDockSite ? static_cast<CWnd*>(m_pDockSite) : this;
    for (int i = 0; i < nIDCount; ++i) {
        if (lpIDArray[i] == ID_SEPARATOR) {
            bar->addSeparator();
            continue;
        }
        // Without a bitmap of its own a button shows its command's icon; the tip names it.
        QAction* action = bar->addAction(AfxCommandIcon(lpIDArray[i]), QString());
        const QString tip = AfxCommandTip(lpIDArray[i]);
        action->setText(tip);
        action->setToolTip(tip);
        CActionCmdUI::BindCommand(action, lpIDArray[i], owner);
    }
    ApplyImages();
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
    const ToolBarTemplate* tmpl = CResourceChain::FindToolBar(nIDResource);
    if (!tmpl || !SetButtons(tmpl->buttons.data(), static_cast<int>(tmpl->buttons.size())))
        return FALSE;
    const QImage strip = CResourceChain::LoadBitmap(nIDResource);
    if (!strip.isNull())
        SetImages(strip, CSize(tmpl->buttonWidth, tmpl->buttonHeight), FALSE);
    return TRUE;
}

BOOL CToolBar::SetImages(const QImage& strip, CSize buttonSize, BOOL bLarge) {
    if (buttonSize.cx <= 0 || buttonSize.cy <= 0)
        return FALSE;
    QList<QImage> images;
    for (int x = 0; x + buttonSize.cx <= strip.width(); x += buttonSize.cx)
        images.append(strip.copy(x, 0, buttonSize.cx, buttonSize.cy));
    (bLarge ? m_large : m_small) = images;
    ApplyImages();
    return TRUE;
}

void CToolBar::UseLargeImages(BOOL bLarge) {
    m_useLarge = bLarge != FALSE;
    ApplyImages();
}

void CToolBar::ApplyImages() {
    QToolBar* bar = GetToolBarCtrl();
    if (!bar)
        return;
    const QList<QImage>& images = m_useLarge && !m_large.isEmpty() ? m_large : m_small;
    if (images.isEmpty()) {
        // The commands' theme icons stand in for the bitmaps, at the size of the set.
        bar->setIconSize(m_useLarge ? QSize(24, 24) : QSize(16, 16));
        return;
    }
    bar->setIconSize(images.front().size());
    int image = 0;
    for (QAction* action : bar->actions()) {
        if (action->isSeparator())
            continue;
        action->setIcon(image < images.size() ? QIcon(QPixmap::fromImage(images[image])) : QIcon());
        ++image;
    }
}

int CToolBar::GetCount() const {
    QToolBar* bar = GetToolBarCtrl();
    return bar ? static_cast<int>(bar->actions().size()) : 0;
}

QAction* CToolBar::GetButtonAction(int nIndex) const {
    QToolBar* bar = GetToolBarCtrl();
    if (!bar || nIndex < 0 || nIndex >= bar->actions().size())
        return nullptr;
    return bar->actions()[nIndex];
}

UINT CToolBar::GetItemID(int nIndex) const {
    QAction* action = GetButtonAction(nIndex);
    return action ? CActionCmdUI::GetCommandId(action) : 0;
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (GetItemID(i) == nIDFind && nIDFind != 0)
            return i;
    }
    return -1;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    if (QToolBar* bar = GetToolBarCtrl())
        CActionCmdUI::UpdateActions(bar->actions(), pTarget, bDisableIfNoHndler);
}
