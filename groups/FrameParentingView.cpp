#include "groups/FrameParentingView.h"

#include "groups/ChildWindowList.h"
#include "platform/framework/DC.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/Rgn.h"
#include "shell/ViewChildedFrame.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

IMPLEMENT_DYNCREATE(CFrameParentingView, CView)

BEGIN_MESSAGE_MAP(CFrameParentingView, CView)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_CHILDED_MAYCLOSE, OnChildFrameCloseMessage)
ON_MESSAGE(WM_CHILDED_ACTIVATED, OnChildFrameActivateMessage)
END_MESSAGE_MAP()

namespace {

int CaptionHeight() {
    const int height = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return height > 0 ? height : 1;
}

void SetFrameRect(CWnd* frame, int x, int y, int cx, int cy) {
    frame->SetWindowPos(nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOOWNERZORDER);
}

bool IsPlaced(const CWnd* frame) {
    return frame->IsWindowVisible() && !frame->IsIconic();
}

// The frame windows among parent's child windows, topmost first, from one pass over its
// widgets: a walk by GetWindow gathers the siblings afresh at every step, which a play group
// pays for at every frame. At most the first most of them.
std::vector<CWnd*> ChildFrames(const CWnd* parent, size_t most = SIZE_MAX) {
    std::vector<CWnd*> frames;
    const QWidget* widget = parent->GetQWidget();
    if (!widget)
        return frames;
    const QObjectList& children = widget->children();
    for (auto it = children.rbegin(); it != children.rend() && frames.size() < most; ++it) {
        const auto* child = qobject_cast<const QWidget*>(*it);
        if (!child || child->isWindow())
            continue;
        // Destroyed windows have let go of their widgets and are not found.
        if (CWnd* wnd = CWnd::FromWidgetPermanent(child); wnd && wnd->IsFrameWnd())
            frames.push_back(wnd);
    }
    return frames;
}

}  // namespace

CFrameParentingView::CFrameParentingView() = default;

void CFrameParentingView::OnDraw(CDC*) {}

CFrameWnd* CFrameParentingView::GetNextChildFrame() {
    const std::vector<CWnd*> frames = ChildFrames(this);
    auto next = frames.begin();
    if (m_childFrameCursor) {
        const auto at =
            std::find(frames.begin(), frames.end(), CWnd::FromHandle(m_childFrameCursor));
        next = at == frames.end() ? at : at + 1;
    }
    auto* frame = next == frames.end() ? nullptr : static_cast<CFrameWnd*>(*next);
    m_childFrameCursor = frame ? frame->GetSafeHwnd() : nullptr;
    return frame;
}

CFrameWnd* CFrameParentingView::SetChildFrameCursor(CFrameWnd* pFrame) {
    auto* previous = static_cast<CFrameWnd*>(CWnd::FromHandle(m_childFrameCursor));
    m_childFrameCursor = pFrame ? pFrame->GetSafeHwnd() : nullptr;
    return previous;
}

int CFrameParentingView::CountChildFrames() {
    int count = 0;
    while (GetNextChildFrame())
        ++count;
    return count;
}

CWnd* CFrameParentingView::GetFirstChildView() {
    // The walk's cursor stays where it was, but a cursor on a window that is gone starts
    // the next walk afresh.
    if (m_childFrameCursor && !CWnd::FromHandle(m_childFrameCursor))
        m_childFrameCursor = nullptr;
    const std::vector<CWnd*> frames = ChildFrames(this, 1);
    if (frames.empty())
        return nullptr;
    CWnd* top = frames.front();
    // The frame's own title bar is a child window too: the pane view is what callers want.
    if (CWnd* pane = top->GetDlgItem(AFX_IDW_PANE_FIRST))
        return pane;
    return top->GetWindow(GW_CHILD);
}

CView* CFrameParentingView::FindChildViewOfClass(const CRuntimeClass* pClass) {
    CFrameWnd* saved = SetChildFrameCursor(nullptr);
    while (CFrameWnd* frame = GetNextChildFrame()) {
        CView* view = frame->GetActiveView();
        if (view && (!pClass || view->IsKindOf(pClass)))
            return view;
    }
    SetChildFrameCursor(saved);
    return nullptr;
}

BOOL CFrameParentingView::OnCmdMsg(UINT nID, int nCode, void* pExtra,
                                   AFX_CMDHANDLERINFO* pHandlerInfo) {
    // File/Close belongs to the frame on top, never to the container around it.
    const bool isFileClose = nID == ID_FILE_CLOSE && nCode == CN_COMMAND && pExtra == nullptr;
    const BOOL handled = isFileClose ? FALSE : CView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    if (handled)
        return handled;
    CFrameWnd* saved = SetChildFrameCursor(nullptr);
    CFrameWnd* top = GetNextChildFrame();
    SetChildFrameCursor(saved);
    if (top && top->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return handled;
}

CRect CFrameParentingView::ChildRect(const CWnd* pFrame) const {
    CRect rect;
    pFrame->GetWindowRect(&rect);
    ScreenToClient(&rect);
    return rect;
}

void CFrameParentingView::LayOutChildFramesSideBySide(int width, int height, BOOL bVisibleOnly) {
    if (width <= 0 || height <= 0)
        return;
    CChildWindowList list(this);
    list.CollectPlain(bVisibleOnly);
    const int n = list.GetCount();
    if (n == 0)
        return;
    const int each = width / n;
    for (int i = 0; i < n; ++i) {
        if (CViewChildedFrame* frame = list.GetFrame(i))
            SetFrameRect(frame, i * each, 0, each, height - 4);
    }
}

void CFrameParentingView::CascadeChildFrames() {
    CChildWindowList list(this);
    list.CollectPlain(FALSE);
    CRect view;
    GetWindowRect(&view);
    const int w = view.Width();
    const int h = view.Height();
    const int cx = (2 * w - 4) / 3;
    const int cy = (2 * h - 4) / 3;
    const int step = CaptionHeight();
    const int positions = std::max(1, (h - cy - 2) / step + 1);
    int k = 0;
    for (int i = 0; i < list.GetCount(); ++i) {
        CViewChildedFrame* frame = list.GetFrame(i);
        if (!frame || !IsPlaced(frame))
            continue;
        const int offset = (k % positions) * step;
        SetFrameRect(frame, offset, offset, cx, cy);
        ++k;
    }
}

void CFrameParentingView::TileChildFrames(BOOL bByColumns) {
    CChildWindowList list(this);
    list.CollectPlain(FALSE);
    int n = 0;
    for (int i = 0; i < list.GetCount(); ++i) {
        if (CViewChildedFrame* frame = list.GetFrame(i); frame && IsPlaced(frame))
            ++n;
    }
    if (n == 0)
        return;
    const int lines = static_cast<int>(std::floor(std::sqrt(static_cast<double>(n))));
    const int perLine = (n + lines - 1) / lines;
    CRect view;
    GetWindowRect(&view);
    const int along = bByColumns ? (view.Height() - 2) / perLine : (view.Width() - 2) / perLine;
    const int across = bByColumns ? (view.Width() - 2) / lines : (view.Height() - 2) / lines;
    int cell = 0;
    for (int i = 0; i < list.GetCount(); ++i) {
        CViewChildedFrame* frame = list.GetFrame(i);
        if (!frame || !IsPlaced(frame))
            continue;
        const int line = cell / perLine;
        const int place = cell % perLine;
        if (bByColumns)
            SetFrameRect(frame, line * across, place * along, across, along);
        else
            SetFrameRect(frame, place * along, line * across, along, across);
        ++cell;
    }
}

void CFrameParentingView::TileChildFramesHorizontally() {
    TileChildFrames(TRUE);
}

void CFrameParentingView::TileChildFramesVertically() {
    TileChildFrames(FALSE);
}

void CFrameParentingView::ArrangeChildFrames(const CRuntimeClass* pClassA,
                                             const CRuntimeClass* pClassB, BOOL bInvertA,
                                             BOOL bInvertB) {
    CChildWindowList bandA(this);
    bandA.CollectFiltered(pClassA, bInvertA, TRUE, TRUE);
    CChildWindowList bandB(this);
    bandB.CollectFiltered(pClassB, bInvertB, TRUE, TRUE);
    CRect view;
    GetWindowRect(&view);
    const int w = view.Width();
    const int h = view.Height() - 2;
    const int nA = bandA.GetCount();
    const int nB = bandB.GetCount();

    if (nA > 0) {
        const int height = nB > 0 ? h / 2 : h - 2;
        const int width = (w - 2) / nA;
        for (int i = 0; i < nA; ++i) {
            const int x = i * width;
            const int cx = i == nA - 1 ? w - 2 - x - 4 : width;
            if (CViewChildedFrame* frame = bandA.GetFrame(i))
                SetFrameRect(frame, x, 0, cx, height);
        }
    }
    if (nB > 0) {
        const int start = nA > 0 ? h / 2 : 0;
        const int total = nA > 0 ? h / 2 : h;
        const int height = total / nB;
        for (int i = 0; i < nB; ++i) {
            const int y = start + i * height;
            const int cy = i == nB - 1 ? h - i * height - start - 2 : height;
            if (CViewChildedFrame* frame = bandB.GetFrame(i))
                SetFrameRect(frame, 0, y, w - 6, cy);
        }
    }

    // The frame holding the focus is told its place once more, so that it repaints last.
    for (CWnd* focus = CWnd::GetFocus(); focus; focus = focus->GetParent()) {
        if (focus->GetParent() == this) {
            if (focus->IsFrameWnd())
                focus->SetWindowPos(nullptr, 0, 0, 0, 0,
                                    SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
            break;
        }
    }
}

void CFrameParentingView::MinimizeChildFrames(const CRuntimeClass* pClass) {
    CChildWindowList list(this);
    list.CollectFiltered(pClass, FALSE, FALSE, FALSE);
    for (int i = 0; i < list.GetCount(); ++i) {
        if (CViewChildedFrame* frame = list.GetFrame(i))
            frame->ShowWindow(SW_MINIMIZE);
    }
}

void CFrameParentingView::ShowChildFramesOfClass(const CRuntimeClass* pClass, int nCmdShow) {
    CChildWindowList list(this);
    list.CollectPlain(FALSE);
    for (int i = 0; i < list.GetCount(); ++i) {
        CViewChildedFrame* frame = list.GetFrame(i);
        if (frame && (!pClass || frame->IsKindOf(pClass)))
            frame->ShowWindow(nCmdShow);
    }
}

void CFrameParentingView::ActivateChildFramesOfClass(const CRuntimeClass* pClass, int nCmdShow) {
    CChildWindowList list(this);
    list.CollectPlain(FALSE);
    for (int i = 0; i < list.GetCount(); ++i) {
        CViewChildedFrame* frame = list.GetFrame(i);
        if (frame && (!pClass || frame->IsKindOf(pClass)))
            frame->ActivateFrame(nCmdShow);
    }
}

void CFrameParentingView::CloseChildFrames() {
    CChildWindowList list(this);
    list.CollectPlain(TRUE);
    for (int i = 0; i < list.GetCount(); ++i) {
        // A frame may take others with it as it closes: those are gone by their turn.
        if (CViewChildedFrame* frame = list.GetFrame(i))
            frame->SendMessage(WM_CLOSE);
    }
}

void CFrameParentingView::ShowActiveChildCaption(CWnd* pFrame) {
    CChildWindowList list(this);
    list.CollectFiltered(nullptr, FALSE, TRUE, FALSE);
    for (int i = 0; i < list.GetCount(); ++i) {
        CViewChildedFrame* frame = list.GetFrame(i);
        if (!frame)
            continue;
        const bool active = frame == pFrame;
        frame->SendMessage(WM_NCACTIVATE, active ? TRUE : FALSE);
        frame->SendMessage(WM_NCPAINT);
        if (auto* inner = dynamic_cast<CFrameParentingView*>(frame->GetActiveView())) {
            if (active)
                inner->ShowTopChildCaptionActive();
            else
                inner->ShowActiveChildCaption(nullptr);
        }
    }
}

void CFrameParentingView::ShowTopChildCaptionActive() {
    // A hidden frame on top shows nothing: the top-most one the user can see looks active.
    CChildWindowList list(this);
    list.CollectPlain(TRUE);
    ShowActiveChildCaption(list.GetFrame(0));
}

LRESULT CFrameParentingView::OnChildFrameClose(WPARAM, LPARAM) {
    return 1;
}

LRESULT CFrameParentingView::OnChildFrameActivate(WPARAM wParam, LPARAM lParam) {
    CWnd* child = CWnd::FromHandle(reinterpret_cast<HWND>(wParam));
    // A click anywhere in a hosted frame, its picture as well as its title bar, brings that
    // frame in front of its siblings: the user works in the window they clicked.
    if (child && child->GetParent() == this && lParam == kChildedActivatedByMouse) {
        const HWND handle = child->GetSafeHwnd();
        child->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        // As a raised child window it hears that it became the active one: its view is
        // activated, and a group member hands its state to the group's play control.
        child->SendMessage(WM_CHILDACTIVATE);
        child = CWnd::FromHandle(handle);
    }
    ShowActiveChildCaption(child);
    CFrameWnd* frame = GetParentFrame();
    if (CWnd* host = frame ? frame->GetParent() : nullptr)
        host->PostMessage(WM_CHILDED_ACTIVATED, reinterpret_cast<WPARAM>(frame->GetSafeHwnd()),
                          kChildedActivatedByNestedView);
    return 1;
}

LRESULT CFrameParentingView::OnChildFrameCloseMessage(WPARAM wParam, LPARAM lParam) {
    return OnChildFrameClose(wParam, lParam);
}

LRESULT CFrameParentingView::OnChildFrameActivateMessage(WPARAM wParam, LPARAM lParam) {
    return OnChildFrameActivate(wParam, lParam);
}

void CFrameParentingView::OnActivateView(BOOL bActivate, CView* pActivateView,
                                         CView* pDeactiveView) {
    if (bActivate)
        ShowTopChildCaptionActive();
    else
        ShowActiveChildCaption(nullptr);
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CFrameParentingView::OnSize(UINT, int, int) {
    Default();
    if (!m_bLayOutOnSize)
        return;
    CRect rect;
    GetWindowRect(&rect);
    LayOutChildFramesSideBySide(rect.Width(), rect.Height(), TRUE);
    if (CFrameWnd* frame = GetParentFrame())
        frame->RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
}

BOOL CFrameParentingView::OnEraseBkgnd(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    CRgn around;
    around.CreateRectRgnIndirect(client);
    CChildWindowList list(this);
    list.CollectPlain(TRUE);
    for (int i = 0; i < list.GetCount(); ++i) {
        if (CViewChildedFrame* frame = list.GetFrame(i)) {
            CRect r = ChildRect(frame);
            r.right -= 4;
            r.bottom -= 4;
            CRgn hole;
            hole.CreateRectRgnIndirect(r);
            around.CombineRgn(&around, &hole, RGN_DIFF);
        }
    }
    const int saved = pDC->SaveDC();
    pDC->SelectClipRgn(&around);
    const QImage* picture = m_backgroundPicture.GetImage();
    QPainter* painter = picture && !picture->isNull() ? pDC->GetPainter() : nullptr;
    if (painter)
        painter->drawImage(QRect(client.left, client.top, client.Width(), client.Height()),
                           *picture);
    else
        pDC->FillSolidRect(client, kParentingBackground);
    pDC->RestoreDC(saved);
    return TRUE;
}
