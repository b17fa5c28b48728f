#include "shell/MDITabFrameWnd.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QVBoxLayout>

IMPLEMENT_DYNAMIC(CMDITabFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMDITabFrameWnd, CMDIFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

CMDITabFrameWnd::CMDITabFrameWnd() : m_wndMDIClient(this, &m_wndTabBar) {}

int CMDITabFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CMDIFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndTabBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, kTabBarId))
        return -1;
    PlaceTabBar();
    if (!SubclassMDIClient(&m_wndMDIClient))
        return -1;
    m_wndMDIClient.ApplyBackground();
    return 0;
}

void CMDITabFrameWnd::PlaceTabBar() {
    auto* main = qobject_cast<QMainWindow*>(GetQWidget());
    QMdiArea* area = GetMDIArea();
    if (!main || !area || main->centralWidget() != area)
        return;
    main->takeCentralWidget();
    auto* column = new QWidget(main);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_wndTabBar.GetQWidget());
    layout->addWidget(area, 1);
    main->setCentralWidget(column);
    area->show();
}
