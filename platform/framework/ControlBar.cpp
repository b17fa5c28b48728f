#include "platform/framework/ControlBar.h"

#include "platform/framework/FrameWnd.h"

#include <QLayout>
#include <QMainWindow>
#include <QToolBar>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
}

void CControlBar::AttachToFrame(CWnd* pParentWnd) {
    CFrameWnd* frame = nullptr;
    if (pParentWnd && pParentWnd->IsFrameWnd())
        frame = static_cast<CFrameWnd*>(pParentWnd);
    else if (pParentWnd)
        frame = pParentWnd->GetParentFrame();
    m_pDockSite = frame;
    if (frame)
        frame->AddControlBar(this);
}

void CControlBar::PostNcDestroy() {
    // Bars are members of their frame or owned by their creator; only the frame's list
    // must forget them. An empty strip would stay in the frame until the frame goes, one more
    // for every bar made again.
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
    if (m_host) {
        m_host->hide();
        m_host->deleteLater();
    }
    m_host = nullptr;
}

void CControlBar::ReturnToFrame(CFrameWnd* pFrame) {
    QWidget* dock = GetSafeHwnd() ? GetDockWidget() : nullptr;
    auto* home = pFrame ? qobject_cast<QMainWindow*>(pFrame->GetQWidget()) : nullptr;
    if (!dock || !home)
        return;
    if (m_pDockSite != pFrame) {
        if (m_pDockSite)
            m_pDockSite->RemoveControlBar(this);
        m_pDockSite = pFrame;
        pFrame->AddControlBar(this);
    }
    if (dock->parentWidget() == home)
        return;
    const bool shown = !dock->isHidden();
    auto* strip = qobject_cast<QToolBar*>(dock);
    if (auto* away = qobject_cast<QMainWindow*>(dock->parentWidget()); away && strip)
        away->removeToolBar(strip);
    if (strip)
        pFrame->DockControlBar(this);
    else
        dock->setParent(home);
    dock->setVisible(shown);
}

BOOL CControlBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    if (!pParentWnd || !pParentWnd->IsFrameWnd() ||
        !qobject_cast<QMainWindow*>(pParentWnd->GetQWidget()))
        return FALSE;
    m_dwStyle = dwStyle & ~(WS_CHILD | WS_VISIBLE);
    if (!CWnd::Create(nullptr, QString(), (dwStyle & ~WS_VISIBLE) | WS_CHILD, CRect(0, 0, 0, 0),
                      pParentWnd, nID))
        return FALSE;
    // The strip is a fixed tool bar area holding the bar's window, which fills it.
    auto* strip = new QToolBar(pParentWnd->GetQWidget());
    strip->setMovable(false);
    strip->setFloatable(false);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->layout()->setContentsMargins(0, 0, 0, 0);
    GetQWidget()->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    strip->addWidget(GetQWidget());
    GetQWidget()->show();
    m_host = strip;
    AttachToFrame(pParentWnd);
    if (m_pDockSite)
        m_pDockSite->DockControlBar(this);
    UpdateDockSize();
    strip->setVisible((dwStyle & WS_VISIBLE) != 0);
    return TRUE;
}

CSize CControlBar::CalcFixedLayout(BOOL, BOOL) {
    const QSize hint = GetQWidget() ? GetQWidget()->sizeHint() : QSize();
    return CSize(hint.width(), hint.height());
}

QWidget* CControlBar::GetDockWidget() const {
    return m_host ? m_host.data() : GetQWidget();
}

BOOL CControlBar::IsVisible() const {
    const QWidget* w = GetDockWidget();
    return w && !w->isHidden();
}

void CControlBar::UpdateDockSize() {
    auto* strip = qobject_cast<QToolBar*>(m_host.data());
    if (!strip)
        return;
    const bool horizontal = strip->orientation() == Qt::Horizontal;
    const CSize size = CalcFixedLayout(TRUE, horizontal ? TRUE : FALSE);
    if (horizontal)
        GetQWidget()->setFixedHeight(static_cast<int>(size.cy));
    else
        GetQWidget()->setFixedWidth(static_cast<int>(size.cx));
}
