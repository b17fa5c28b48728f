#include "platform/framework/ControlBar.h"

#include "platform/framework/FrameWnd.h"

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
    // must forget them.
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
}
