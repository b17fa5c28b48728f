#include "views/MView.h"

#include "platform/framework/FrameWnd.h"
#include "platform/framework/MessageMap.h"

IMPLEMENT_DYNCREATE(CMView, CView)

BEGIN_MESSAGE_MAP(CMView, CView)
ON_WM_ACTIVATE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CMView::CMView() = default;
CMView::~CMView() = default;

void CMView::OnDraw(CDC*) {}

void CMView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    RecordFrameRect();
}

void CMView::GetParentRect(CRect* rect) const {
    if (rect)
        *rect = m_parentRect;
}

void CMView::SetScreenRect(int left, int top, int right, int bottom) {
    m_screenRect = CRect(left, top, right, bottom);
}

void CMView::SetParentRect(int left, int top, int right, int bottom) {
    m_parentRect = CRect(left, top, right, bottom);
}

void CMView::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CView::OnActivate(nState, pWndOther, bMinimized);
    RecordFrameRect();
}

void CMView::OnDestroy() {
    CView::OnDestroy();
    RecordFrameRect();
}

void CMView::RecordFrameRect() {
    CFrameWnd* frame = GetParentFrame();
    if (!frame || !frame->GetSafeHwnd())
        return;
    CRect rect;
    frame->GetWindowRect(&rect);
    m_screenRect = rect;
    if (CWnd* parent = frame->GetParent(); parent && parent->GetSafeHwnd())
        parent->ScreenToClient(&rect);
    m_parentRect = rect;
}
