#include "shell/MDIClientBackground.h"

#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/ResourceChain.h"
#include "shell/TabBar.h"

#include <QBrush>
#include <QMdiArea>
#include <QPixmap>

IMPLEMENT_DYNAMIC(CMDIClientBackground, CMDIClientWnd)

CMDIClientBackground::CMDIClientBackground(CMDIFrameWnd* frame, CTabBar* pTabBar)
    : CMDIClientWnd(frame),
      m_pTabBar(pTabBar),
      m_background(CResourceChain::LoadBitmap(kBackgroundBitmapId)) {
    if (!m_background.isNull()) {
        m_width = m_background.width();
        m_height = m_background.height();
    }
}

void CMDIClientBackground::OnMDIChildCreated(CMDIChildWnd* pChild) {
    if (m_pTabBar)
        m_pTabBar->AddTab(pChild->GetSafeHwnd());
}

void CMDIClientBackground::OnMDIChildDestroying(CMDIChildWnd* pChild) {
    if (m_pTabBar)
        m_pTabBar->RemoveTab(pChild->GetSafeHwnd());
}

void CMDIClientBackground::ApplyBackground() {
    auto* area = qobject_cast<QMdiArea*>(GetQWidget());
    if (!area || m_width < 1 || m_height < 1)
        return;
    // A texture brush repeats the image from the client's top-left corner.
    area->setBackground(QBrush(QPixmap::fromImage(m_background)));
}
